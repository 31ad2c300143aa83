// uidispatch.cpp: commits and discard events in the order every backend of
// the run-time layer follows.
//
// Exports (ui/common/uidispatch.h): DeliverCommit, SendDiscardEvents.
//
// State: none (the commit queue is ui/common/commitq.cpp's).
#include "ui/common/uidispatch.h"

#include "ui/common/commitq.h"
#include "ui/userint.h"

namespace uicommon {

static bool CtrlExists(const BackendRecords &b, int panel, int ctrl) {
    for (std::size_t i = 0;; ++i) {
        const int id = b.ctrlAt(panel, i);
        if (id == 0) return false;
        if (id == ctrl) return true;
    }
}

void DeliverCommit(const BackendRecords &b, int panel, int ctrl) {
    if (b.ctrlCallback(panel, ctrl, EVENT_COMMIT, 0, 0) != 0) return;   // swallowed
    if (CtrlExists(b, panel, ctrl)) CommitQueuePush(panel, ctrl);
}

void SendDiscardEvents(const BackendRecords &b, int panel) {
    for (int child : b.childPanels(panel)) b.discard(child);
    for (std::size_t i = 0;; ++i) {
        const int id = b.ctrlAt(panel, i);
        if (id == 0) break;
        b.ctrlCallback(panel, id, EVENT_DISCARD, 0, 0);
    }
    b.panelCallback(panel, EVENT_DISCARD, 0, 0);
    CommitQueuePurge(panel);
}

}  // namespace uicommon
