// uidispatch.h: the order in which the run-time layer delivers commits and
// discard events, written once for every backend. A backend hands in how to
// reach its own records; the order and the rules live here.
#ifndef VLIC_UI_COMMON_UIDISPATCH_H
#define VLIC_UI_COMMON_UIDISPATCH_H

#include <cstddef>
#include <vector>

namespace uicommon {

// What the shared logic needs of a backend's records. Each is looked up
// anew at every call: callbacks may discard panels or change callbacks.
struct BackendRecords {
    // Runs the control's (panel's) callback with the event; its result, 0
    // when it has none or the control (panel) is gone.
    int (*ctrlCallback)(int panel, int ctrl, int event, int d1, int d2);
    int (*panelCallback)(int panel, int event, int d1, int d2);
    // The id of the panel's control at index in resource order; 0 past the
    // last one or when the panel is gone.
    int (*ctrlAt)(int panel, std::size_t index);
    // The handles of the panel's child panels.
    std::vector<int> (*childPanels)(int panel);
    // Discards a panel (the backend's DiscardPanel).
    int (*discard)(int panel);
};

// A commit the user made: EVENT_COMMIT to the control's callback, then,
// unless it returned non-zero or the control is gone, into the commit queue.
void DeliverCommit(const BackendRecords &b, int panel, int ctrl);

// What comes before a panel goes: its child panels are discarded, then
// EVENT_DISCARD goes to each control in resource order and to the panel,
// and its pending commits are forgotten.
void SendDiscardEvents(const BackendRecords &b, int panel);

}  // namespace uicommon

#endif
