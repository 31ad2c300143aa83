// hyperlinkctrl.cpp: the hyperlink control.
//
// What it does: makes a text message control of a panel a web link. The text
// is blue (0x0000FF) and underlined; while the pointer is over it, it is red
// (0xFF0000) and the link cursor (14) shows; a release of the left button on
// it opens the address with OpenDocumentInDefaultViewerAnsi and, when that
// worked, colours it purple (0x800080) as visited. The keyboard reaches it
// too (the control's mode is VAL_HOT while it is a link): Enter or Space
// with the focus on it is its commit, which opens it as a click does.
//
// Exports (toolbox/hyperlinkctrl.h): NewHyperLinkCtrl,
// SetHyperLinkCtrlAttribute, GetHyperLinkCtrlAttribute, RevertHyperLinkCtrl,
// and the inner InitHyperLinkLibrary, HyperLinkPanelCallback,
// HyperLinkCtrlCallback, RemoveHyperLinkFromCtrl.
//
// Data model: each hyperlink control carries a chained control callback,
// HyperLinkCtrlCallback under "HYPERLINK_CTRL_CHAIN", whose data is the
// control's HyperLinkCtrlData; the record is found again through
// GetChainedCallbackData and is freed when the link is reverted or its
// control discarded. A panel with at least one hyperlink carries one chained
// panel callback, HyperLinkPanelCallback under "HYPERLINK_PANEL_CHAIN", that
// follows the pointer: a panel has no hover events per control, so it finds
// the control under the pointer itself, the front-most one winning, so that a
// control lying in front of a link (even a hidden one) takes the hover.
#include "toolbox/hyperlinkctrl.h"

#include <atomic>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "toolbox/toolbox.h"

namespace {

constexpr int kColourLink = 0x0000FF;      // not yet visited
constexpr int kColourHover = 0xFF0000;     // under the pointer
constexpr int kColourVisited = 0x800080;   // opened once
constexpr int kLinkCursor = VAL_POINTING_FINGER_CURSOR;   // 14

constexpr char kCtrlChain[] = "HYPERLINK_CTRL_CHAIN";
constexpr char kPanelChain[] = "HYPERLINK_PANEL_CHAIN";
constexpr char kInitialLockName[] = "HYPERLINK_CTRL_INITIAL_LOCK";

// ---- Library state, made once by InitHyperLinkLibrary and kept until the
// process ends.
// gInitialised: set last, once the lock and TsvCursor exist; tested again
//   under the named lock "HYPERLINK_CTRL_INITIAL_LOCK" so that one caller
//   only makes them.
// gLibraryLock: the library lock (a run-time lock without a name), held by
//   every public operation and both callbacks for their whole work.
// TsvCursor: a run-time thread-safe int holding the mouse cursor that was
//   showing before the link cursor was put up; -1 (the normal cursor) until a
//   link is first hovered.
std::atomic<bool> gInitialised{false};
int gLibraryLock = -1;
int TsvCursor = -1;

// Holds the library lock for one scope; status() < 0 when it was not taken.
class LibraryLock {
public:
    LibraryLock() : status_(CmtGetLock(gLibraryLock)) {}
    ~LibraryLock() {
        if (status_ >= 0) CmtReleaseLock(gLibraryLock);
    }
    LibraryLock(const LibraryLock &) = delete;
    LibraryLock &operator=(const LibraryLock &) = delete;
    int status() const { return status_ < 0 ? status_ : 0; }

private:
    int status_;
};

// Looks up the control's record with the run-time's break-on-library-errors
// off. 0 and *data on success; UIEBadCtrlType (*data null) when the control
// is no hyperlink; the run-time's negative status on failure.
int findRecord(int panel, int control, HyperLinkCtrlData **data) {
    *data = nullptr;
    void *found = nullptr;
    const int wasBreaking = SetBreakOnLibraryErrors(0);
    const int status = GetChainedCallbackData(panel, control, kCtrlChain, &found);
    if (wasBreaking >= 0) SetBreakOnLibraryErrors(wasBreaking);
    if (status < 0) return status;
    *data = static_cast<HyperLinkCtrlData *>(found);
    return 0;
}

// As findRecord, for the public operations: a control that is no hyperlink
// gives ToolErr_NotHyperLink.
int findRecordOf(int panel, int control, HyperLinkCtrlData **data) {
    const int status = findRecord(panel, control, data);
    return status == UIEBadCtrlType ? ToolErr_NotHyperLink : status;
}

// Calls visit(control) for each control of the panel, in the panel's order,
// until it returns false. 0 on success, the run-time's status on failure.
template <typename Visit>
int forEachCtrl(int panel, Visit visit) {
    int control = 0;
    int status = GetPanelAttributeAnsi(panel, ATTR_PANEL_FIRST_CTRL, &control);
    while (status >= 0 && control != 0) {
        if (!visit(control)) return 0;
        status = GetCtrlAttributeAnsi(panel, control, ATTR_NEXT_CTRL, &control);
    }
    return status < 0 ? status : 0;
}

// 1 when a control of the panel is a hyperlink, 0 when none is; the
// run-time's negative status on failure.
int panelHasHyperLink(int panel) {
    bool any = false;
    const int status = forEachCtrl(panel, [&](int control) {
        HyperLinkCtrlData *data = nullptr;
        any = findRecord(panel, control, &data) == 0;
        return !any;
    });
    if (status < 0) return status;
    return any ? 1 : 0;
}

// Sets the control's text colour when it differs. 0 on success, the
// run-time's negative status on failure.
int setColour(int panel, int control, int colour) {
    int current = 0;
    int status = GetCtrlAttributeAnsi(panel, control, ATTR_TEXT_COLOR, &current);
    if (status >= 0 && current != colour)
        status = SetCtrlAttributeAnsi(panel, control, ATTR_TEXT_COLOR, colour);
    return status < 0 ? status : 0;
}

void freeRecord(HyperLinkCtrlData *data) {
    std::free(data->url);
    std::free(data);
}

// Takes the link off the control and frees its record; unchains the panel
// callback when the panel has no hyperlink left. When the control is being
// discarded, its link is going anyway, so the record is freed even if the
// run-time refuses the unchaining. 0 on success, a negative status on failure.
int removeHyperLink(int panel, int control, HyperLinkCtrlData *data, bool discarding) {
    int status = UnchainCtrlCallback(panel, control, kCtrlChain);
    if (status < 0 && !discarding) return status;   // the link still holds the record
    if (data != nullptr) freeRecord(data);
    if (status < 0) return status;
    // No link any more: the keyboard passes it by again.
    if (!discarding) SetCtrlAttributeAnsi(panel, control, ATTR_CTRL_MODE, VAL_INDICATOR);

    status = panelHasHyperLink(panel);
    if (status < 0) return status;
    if (status == 0) {
        status = UnchainPanelCallback(panel, kPanelChain);
        if (status < 0) return status;
    }
    return 0;
}

// The pointer moved to (y, x) of the panel: the link under it, if any, turns
// red under the link cursor; elsewhere a link cursor that is showing gives
// way to the stored one and every link gets its normal colour back.
void hover(int panel, int y, int x) {
    LibraryLock lock;
    if (lock.status() < 0) return;
    int cursor = 0;
    if (GetMouseCursor(&cursor) < 0) return;

    // The control under the pointer: the one with the smallest z-plane
    // position (front-most) of those whose bounding rectangle holds it,
    // visible or not; at equal positions the first met. The rectangle is
    // the control's pixels (right and bottom ends excluded), the same that
    // a click counts on, so that no place turns red where a click opens nothing.
    int front = 0;
    int frontZ = 0;
    int failed = 0;
    int status = forEachCtrl(panel, [&](int control) {
        int top = 0, left = 0, height = 0, width = 0;
        failed = GetCtrlBoundingRect(panel, control, &top, &left, &height, &width);
        if (failed < 0) return false;
        if (y < top || y >= top + height || x < left || x >= left + width) return true;
        int z = 0;
        failed = GetCtrlAttributeAnsi(panel, control, ATTR_ZPLANE_POSITION, &z);
        if (failed < 0) return false;
        if (front == 0 || z < frontZ) {
            front = control;
            frontZ = z;
        }
        return true;
    });
    if (status < 0 || failed < 0) return;

    HyperLinkCtrlData *data = nullptr;
    if (front != 0 && findRecord(panel, front, &data) == 0 && data != nullptr) {
        if (setColour(panel, front, kColourHover) < 0) return;
        if (cursor != kLinkCursor && SetMouseCursor(kLinkCursor) >= 0) CmtSetTSV(TsvCursor, &cursor);
        return;
    }
    if (cursor != kLinkCursor) return;

    void *stored = nullptr;
    if (CmtGetTSVPtr(TsvCursor, &stored) < 0) return;
    const int previous = *static_cast<int *>(stored);
    CmtReleaseTSVPtr(TsvCursor);
    if (SetMouseCursor(previous) < 0) return;
    forEachCtrl(panel, [&](int control) {
        HyperLinkCtrlData *link = nullptr;
        if (findRecord(panel, control, &link) != 0 || link == nullptr) return true;
        return setColour(panel, control, link->visited ? kColourVisited : kColourLink) >= 0;
    });
}

// A release of the left button on the link: opens its address under the
// wait cursor and, when that worked, marks it visited.
void click(int panel, int control, HyperLinkCtrlData *data) {
    bool waitPutUp = false;
    {
        LibraryLock lock;
        if (lock.status() < 0 || data == nullptr || data->url == nullptr) return;
        if (!GetWaitCursorState()) {
            if (SetWaitCursor(1) < 0) return;
            waitPutUp = true;
        }
        if (OpenDocumentInDefaultViewerAnsi(data->url, 0) >= 0 &&
            setColour(panel, control, kColourVisited) >= 0)
            data->visited = 1;
    }
    if (waitPutUp) SetWaitCursor(0);
}

}   // namespace

// ---- Inner operations

// 0 once the library lock and TsvCursor exist; the run-time's negative status
// of the first step that failed (nothing is then kept, and the next call
// tries again).
int InitHyperLinkLibrary(void) {
    if (gInitialised.load()) return 0;
    const int wasTracking = SetEnableResourceTracking(0);

    int initialLock = -1;
    int status = CmtNewLockAnsi(kInitialLockName, 0, &initialLock);
    if (status >= 0) {
        status = CmtGetLock(initialLock);
        if (status >= 0) {
            if (!gInitialised.load()) {
                int lock = -1;
                int tsv = -1;
                const int none = VAL_DEFAULT_CURSOR;
                status = CmtNewLockAnsi("", 0, &lock);
                if (status >= 0) status = CmtNewTSV(sizeof(int), &tsv);
                if (status >= 0) status = CmtSetTSV(tsv, &none);
                if (status >= 0) {
                    gLibraryLock = lock;
                    TsvCursor = tsv;
                    gInitialised.store(true);
                } else {
                    if (tsv >= 0) CmtDiscardTSV(tsv);
                    if (lock >= 0) CmtDiscardLock(lock);
                }
            }
            CmtReleaseLock(initialLock);
        }
        CmtDiscardLock(initialLock);
    }

    if (wasTracking >= 0) SetEnableResourceTracking(wasTracking);
    return status < 0 ? status : 0;
}

// The panel's chained callback: follows the pointer on
// EVENT_MOUSE_POINTER_MOVE (eventData1 = y, eventData2 = x); takes itself
// off the panel on EVENT_CLOSE. Returns 0 for every event, so that the
// panel's earlier callbacks receive it too.
int HyperLinkPanelCallback(int panel, int event, void *callbackData, int eventData1, int eventData2) {
    (void)callbackData;
    if (event == EVENT_MOUSE_POINTER_MOVE) {
        hover(panel, eventData1, eventData2);
    } else if (event == EVENT_CLOSE) {
        LibraryLock lock;
        if (lock.status() >= 0) UnchainPanelCallback(panel, kPanelChain);
    }
    return 0;
}

// The control's chained callback, callbackData its HyperLinkCtrlData: opens
// the address on EVENT_LEFT_CLICK_UP; frees the record and the links on
// EVENT_DISCARD. Returns 0 for every event, so that the control's earlier
// callbacks receive it too.
int HyperLinkCtrlCallback(int panel, int control, int event, void *callbackData, int eventData1,
                          int eventData2) {
    (void)eventData1;
    (void)eventData2;
    HyperLinkCtrlData *data = static_cast<HyperLinkCtrlData *>(callbackData);
    // A commit is Enter or Space while the link has the keyboard focus.
    if (event == EVENT_LEFT_CLICK_UP || event == EVENT_COMMIT) {
        click(panel, control, data);
    } else if (event == EVENT_DISCARD) {
        LibraryLock lock;
        removeHyperLink(panel, control, data, true);
    }
    return 0;
}

// Takes the hyperlink off the control and frees data; unchains the panel
// callback when no hyperlink is left on the panel. The control's underline
// and colour stay. 0 on success; the run-time's negative status when the
// control's link cannot be taken off (data is then kept) or the panel cannot
// be walked or unchained.
int RemoveHyperLinkFromCtrl(int panel, int control, HyperLinkCtrlData *data) {
    return removeHyperLink(panel, control, data, false);
}

// ---- Public operations

// 0 on success; UIEBadCtrlType when the control is no text message (nothing
// changed) or already is a hyperlink (its address is kept; underline and
// blue are set again); UIEOutOfMemory; the run-time's status on failure.
int NewHyperLinkCtrl(int panel, int control, const char *url) {
    int status = InitHyperLinkLibrary();
    if (status < 0) return status;
    int style = 0;
    status = GetCtrlAttributeAnsi(panel, control, ATTR_CTRL_STYLE, &style);
    if (status < 0) return status;
    if (style != CTRL_TEXT_MSG) return UIEBadCtrlType;

    LibraryLock lock;
    if (lock.status() < 0) return lock.status();
    status = SetCtrlAttributeAnsi(panel, control, ATTR_TEXT_UNDERLINE, 1);
    if (status < 0) return status;
    // Reached by Tab and opened by Enter or Space, as the mouse opens it.
    status = SetCtrlAttributeAnsi(panel, control, ATTR_CTRL_MODE, VAL_HOT);
    if (status < 0) return status;
    status = setColour(panel, control, kColourLink);
    if (status < 0) return status;

    // The panel's hover callback is in place as soon as one of its controls
    // is a hyperlink.
    status = panelHasHyperLink(panel);
    if (status < 0) return status;
    bool madePanelLink = false;
    if (status == 0) {
        status = ChainPanelCallback(panel, HyperLinkPanelCallback, nullptr, kPanelChain);
        if (status < 0) return status;
        madePanelLink = true;
    }

    HyperLinkCtrlData *data = static_cast<HyperLinkCtrlData *>(ToolboxAlloc(sizeof(HyperLinkCtrlData)));
    status = data == nullptr ? UIEOutOfMemory : 0;
    if (status == 0 && url != nullptr) {
        data->url = ToolboxStrDup(url);
        if (data->url == nullptr) status = UIEOutOfMemory;
    }
    if (status == 0) status = ChainCtrlCallback(panel, control, HyperLinkCtrlCallback, data, kCtrlChain);
    if (status < 0) {
        if (data != nullptr) freeRecord(data);
        if (madePanelLink) UnchainPanelCallback(panel, kPanelChain);
        return status;
    }
    return 0;
}

// What the public operations on an existing link begin with: the library
// initialised, its lock taken for the guard's lifetime, the control's record
// found. status() is 0 with record() set, or the first failing step's code
// (ToolErr_NotHyperLink for a control that is no hyperlink).
namespace {

class LockedRecord {
public:
    LockedRecord(int panel, int control) : status_(InitHyperLinkLibrary()) {
        if (status_ < 0) return;
        lock_.emplace();   // the library lock exists only once initialised
        status_ = lock_->status();
        if (status_ >= 0) status_ = findRecordOf(panel, control, &data_);
    }
    int status() const { return status_ < 0 ? status_ : 0; }
    HyperLinkCtrlData *record() const { return data_; }

private:
    int status_;
    std::optional<LibraryLock> lock_;
    HyperLinkCtrlData *data_ = nullptr;
};

}   // namespace

// 0 on success; ToolErr_NotHyperLink; UIEBadAttribute for any attribute but
// HYPERLINK_ATTR_ADDRESS; UIEOutOfMemory (the link then has no address).
int SetHyperLinkCtrlAttribute(int panel, int control, int attribute, ...) {
    LockedRecord link(panel, control);
    if (link.status() < 0) return link.status();
    HyperLinkCtrlData *data = link.record();
    if (attribute != HYPERLINK_ATTR_ADDRESS) return UIEBadAttribute;

    va_list args;
    va_start(args, attribute);
    const char *url = va_arg(args, const char *);
    va_end(args);
    std::free(data->url);
    data->url = nullptr;
    if (url != nullptr) {
        data->url = ToolboxStrDup(url);
        if (data->url == nullptr) return UIEOutOfMemory;
    }
    return 0;
}

// 0 on success; ToolErr_NotHyperLink; UIEBadAttribute for an attribute other
// than HYPERLINK_ATTR_ADDRESS and HYPERLINK_ATTR_ADDRESS_LENGTH;
// UIENullPointerPassed for a null value.
int GetHyperLinkCtrlAttribute(int panel, int control, int attribute, void *value) {
    LockedRecord link(panel, control);
    if (link.status() < 0) return link.status();
    HyperLinkCtrlData *data = link.record();

    const char *url = data->url != nullptr ? data->url : "";
    switch (attribute) {
    case HYPERLINK_ATTR_ADDRESS_LENGTH:
        if (value == nullptr) return UIENullPointerPassed;
        *static_cast<int *>(value) = static_cast<int>(std::strlen(url));
        return 0;
    case HYPERLINK_ATTR_ADDRESS:
        if (value == nullptr) return UIENullPointerPassed;
        std::strcpy(static_cast<char *>(value), url);
        return 0;
    default:
        return UIEBadAttribute;
    }
}

// 0 on success; ToolErr_NotHyperLink; the run-time's status on failure.
int RevertHyperLinkCtrl(int panel, int control) {
    LockedRecord link(panel, control);
    if (link.status() < 0) return link.status();
    HyperLinkCtrlData *data = link.record();
    return RemoveHyperLinkFromCtrl(panel, control, data);
}
