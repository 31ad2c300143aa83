// uicore.h: the records of the run-time layer and the rules around them,
// written once for every driver (ui/qt, ui/win32, ui/null).
//
// Data model. A panel is a Panel record keyed by its handle, which is never
// reused within a run, so a stale handle fails instead of reaching a newer
// panel. It holds its controls in resource order (Ctrl records). Each
// record carries what the layer's callers set and read back (texts as the
// Windows-1252 bytes they were given, flags, callbacks) and, in `native`,
// what its driver keeps of its own (widgets, windows). Values the user can
// change behind the layer's back (places, edited texts, a ring's choice)
// are the driver's to report or to read.
//
// Callbacks run from inside the window system's event delivery. They may
// discard panels, change callbacks or install new ones, so neither the core
// nor a driver holds a Panel* or Ctrl* across a callback: they keep handle
// and id and look them up again.
//
// Exports: the records, the registry (FindPanel, FindCtrl, PanelHandles,
// NewPanelHandle, AddPanel, TakePanel), the run-time's state (Ready,
// SetReady), callbacks and their guard (CallCtrlCallback,
// CallPanelCallback, DispatchGuard, InDispatch), commits (Commit, the
// commit queue) and the order of discard events (SendDiscardEvents).
#ifndef VLIC_UI_CORE_UICORE_H
#define VLIC_UI_CORE_UICORE_H

#include <memory>
#include <string>
#include <vector>

#include "ui/userint.h"

namespace uicore {

// What a driver keeps of its own beside a record; it goes with the record.
struct Native {
    virtual ~Native() = default;
};

struct Ctrl {
    int id = 0;
    int style = 0;                  // a CTRL_ value
    int mode = VAL_HOT;             // VAL_INDICATOR, VAL_HOT or VAL_NORMAL
    std::string labelRaw;           // ATTR_LABEL_TEXT as set or loaded (a text message's text)
    bool labelVisible = true;       // ATTR_LABEL_VISIBLE
    bool visible = true;            // ATTR_VISIBLE
    bool dimmed = false;            // ATTR_DIMMED of the control itself (its panel may dim it too)
    int zplane = 0;                 // 0 front-most
    int textColor = 0x000000;       // ATTR_TEXT_COLOR
    bool underline = false;         // ATTR_TEXT_UNDERLINE
    int visibleLines = 0;           // ATTR_VISIBLE_LINES as last set, 0 never
    std::string textRaw;            // text value as last set (text box, string) ...
    bool textKnown = false;         // ... while the user has not edited it since
    CtrlCallbackPtr cb = nullptr;
    void *cbData = nullptr;
    std::unique_ptr<Native> native;
};

struct Panel {
    int handle = 0;
    int parent = 0;                 // 0 for a top-level panel
    std::vector<std::unique_ptr<Ctrl>> ctrls;   // resource order
    PanelCallbackPtr cb = nullptr;
    void *cbData = nullptr;
    int closeCtrl = 0;              // control whose commit the close box gives, 0 none
    bool discarding = false;        // DiscardPanel is sending its events
    bool dimmed = false;            // ATTR_DIMMED: its controls are greyed, its child panels are not
    bool popup = false;             // shown by InstallPopup (modal)
    std::string titleRaw;           // ATTR_TITLE
    int backColor = 0xF0F0F0;       // ATTR_BACKCOLOR
    bool titleBar = true;
    bool canClose = true;           // its frame has a close box (the resource's canClose)
    bool canMinimize = true;
    bool canMaximize = true;
    bool sizable = true;
    std::unique_ptr<Native> native;
};

// The driver's record of a panel or control, of the type it made.
template <class T>
T &NativeOf(const Panel &p) {
    return static_cast<T &>(*p.native);
}
template <class T>
T &NativeOf(const Ctrl &c) {
    return static_cast<T &>(*c.native);
}

// ------------------------------------------------------------- registry
bool Ready();                       // InitUIRunTime has succeeded
void SetReady();
Panel *FindPanel(int handle);       // null when unknown
Ctrl *FindCtrl(Panel *p, int id);   // null when p is null or has no such control
std::vector<int> PanelHandles();    // every live handle, ascending
int NewPanelHandle();               // the next handle; none is given twice
void AddPanel(std::unique_ptr<Panel> p);   // p->handle from NewPanelHandle
// Takes a panel out of the registry (the end of its discarding).
std::unique_ptr<Panel> TakePanel(int handle);

// ------------------------------------------------------------ callbacks
// The control's (panel's) callback's result, 0 when it has none or the
// control (panel) is gone.
int CallCtrlCallback(int panel, int ctrl, int event, int d1, int d2);
int CallPanelCallback(int panel, int event, int d1, int d2);

// Counts calls from the window system's event delivery into the layer, and
// nested event loops: a driver then destroys a discarded panel's windows
// later, since it may be delivering an event to one of them.
struct DispatchGuard {
    DispatchGuard();
    ~DispatchGuard();
    DispatchGuard(const DispatchGuard &) = delete;
    DispatchGuard &operator=(const DispatchGuard &) = delete;
};
bool InDispatch();

// -------------------------------------------------------------- commits
// A commit the user made: EVENT_COMMIT to the control's callback, then,
// unless it returned non-zero or the control is gone, into the commit
// queue that GetUserEvent empties one commit per call, oldest first.
void Commit(int panel, int ctrl);
// True with the oldest commit, which leaves the queue; false when empty.
bool CommitQueuePop(int *panel, int *control);

// What comes before a panel goes: its child panels are discarded, then
// EVENT_DISCARD goes to each control in resource order and to the panel,
// and its pending commits are forgotten.
void SendDiscardEvents(int panel);

}  // namespace uicore

#endif
