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

struct CtrlLook;   // ui/core/coreres.h

// A rectangle in logical pixels (those of a 96-DPI screen where the driver
// scales): a panel's client area in the screen (top-level) or in its
// parent's client area, a control's in its panel's client area.
struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const Rect &o) const { return x == o.x && y == o.y && width == o.width && height == o.height; }
    bool operator!=(const Rect &o) const { return !(*this == o); }
};

// A ring's item.
struct Item {
    std::string label;
    int value = 0;
};

struct Ctrl {
    int id = 0;
    int style = 0;                  // a CTRL_ value
    int mode = VAL_HOT;             // VAL_INDICATOR, VAL_HOT or VAL_NORMAL
    bool apart = false;             // its label is drawn apart from it (labelOf)
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
    int minimum = 0, maximum = 99;  // a numeric's range
    std::string accessName;         // ATTR_ACCESSIBLE_NAME as set, "" none (the label names it)
    std::vector<Item> items;        // a ring's items in list order
    int current = -1;               // a ring's current item, -1 while it has none
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
    int escapeCtrl = 0;             // ATTR_ESCAPE_CTRL: control whose commit Escape gives, 0 none
    int focus = 0;                  // the control that has (or gets back) the keyboard focus, 0 none
    bool discarding = false;        // DiscardPanel is sending its events
    bool dimmed = false;            // ATTR_DIMMED: its controls are greyed, its child panels are not
    bool popup = false;             // shown by InstallPopup (modal)
    bool visible = false;           // ATTR_VISIBLE: shown (a child panel also needs its parent shown)
    Rect asked;                     // the place last asked for, before it was kept on its screen
    std::string titleRaw;           // ATTR_TITLE
    int backColor = 0xF0F0F0;       // ATTR_BACKCOLOR
    bool titleBar = true;
    bool canClose = true;           // its frame has a close box (the resource's canClose)
    bool canMinimize = true;
    bool canMaximize = true;
    bool sizable = true;
    // The highest DPI the panel may be laid out at, where its screen's would
    // not let it fit whole (coreplace.cpp); 0: its screen's, whatever it is.
    int fitDpi = 0;
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

// Margins of a window's frame around its client area, logical pixels.
struct Margins {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// A screen as the driver reports it: its area and work area in logical
// pixels (where a driver scales, those of the screen's own DPI, from the
// screen's top-left corner on), and its DPI (96 where the driver does not
// scale).
struct Screen {
    Rect area, work;
    int dpi = 96;
};

// ------------------------------------------------------------- the driver
// What a driver can do, where the drivers differ on purpose.
struct Caps {
    // It writes a panel into a PDF file (PrintPanelAnsi with a ".pdf" name):
    // Qt does; Windows has no PDF writer of its own for Win32 to call.
    bool printsPdf;
    // It learns that the pointer left a panel, and wakes the poll: Qt from
    // the window system's leave events; Win32 would need TrackMouseEvent,
    // which under Wine costs a timer message every 400 ms at rest, so the
    // loops learn of it at the next input or within the poll's bound.
    bool pointerLeaveWakes;
    // A panel that may not be closed shows a greyed close box (Windows has
    // no frame without one), rather than none (Qt).
    bool greyedCloseBox;
    // Its logical pixels are those of a 96-DPI screen, scaled to the
    // screen's (Win32, which is DPI aware); else they are the toolkit's own
    // device-independent pixels (Qt).
    bool scales96Dpi;
    // A window's frame is known only once the window manager has framed it
    // (Qt under X11): it reports PanelFramed, and drawing waits for the
    // first exposure. Else the frame is known at once (Win32).
    bool framesLate;
};

// What the core asks of a window system. Every entry does native work only:
// the core has checked the arguments, stored the value and skipped a value
// set again unchanged before it calls one, and reads back what it stored.
// A setter applies what the record now holds. Rectangles are logical.
struct Driver {
    const char *name;
    Caps caps;

    // Start-up and folders. start: true once the window system is there
    // (headless: a command-line run, which needs no display).
    bool (*start)(char **argv, bool headless);
    // Folders go whole, in UTF-16: a user's folder may be named in any
    // script, which Windows-1252 cannot write.
    int (*programFolder)(std::u16string *folder);   // 0, UIE_SYSTEM
    bool (*setCurrentFolder)(const std::u16string &folder);

    // Resource files. The bytes of the resource file of that name that the
    // program carries inside itself; false when it carries none (the core
    // then reads the file). Optional: a driver without it reads files only.
    bool (*carriedFile)(const char *name, std::string *bytes);

    // Panels. newPanel makes the window of a panel record (loaded or new:
    // its title, colour and frame are the record's) with a client area of
    // that size; 0 or UIE_SYSTEM.
    int (*newPanel)(Panel &p, const Panel *parent, int height, int width);
    // Destroys the panel's windows (later: when the window system may be
    // delivering an event to one of them now).
    void (*destroyPanel)(Panel &p, bool later);
    Rect (*panelRect)(const Panel &p);
    void (*setPanelRect)(Panel &p, const Rect &client);
    bool (*frameMargins)(const Panel &p, Margins *m);        // false while not known yet
    void (*showPanel)(Panel &p, bool activate);              // p.visible; raised and active when asked
    void (*setPopup)(Panel &p, const Panel *owner);          // owner null: no longer a popup
    void (*setModal)(Panel &p, bool on);                     // a popup shown or hidden
    int (*activePanel)();                                    // handle, 0 when none
    void (*screenSize)(int *height, int *width);             // the primary screen's
    void (*setTitle)(Panel &p);
    void (*setBackColor)(Panel &p);
    void (*setFrame)(Panel &p);                              // the frame flags

    // Controls. makeCtrl makes the window of control c (loaded from a
    // resource, or new) as the record and the look say: its kind, mode,
    // visibility, dimming, label, texts, a ring's items and current item,
    // text colour and underline are the record's; 0 or a UIE_ code (the
    // control is then left out). makeLabel makes the window of its label
    // drawn apart (c.apart, c.labelRaw).
    int (*makeCtrl)(Panel &p, Ctrl &c, const CtrlLook &look);
    void (*makeLabel)(Panel &p, Ctrl &c, const CtrlLook &look);
    Rect (*ctrlRect)(const Panel &p, const Ctrl &c);
    Rect (*labelRect)(const Panel &p, const Ctrl &c);        // its label apart; only when it has one
    void (*placeCtrl)(Panel &p, Ctrl &c, const Rect &r);     // the control alone
    void (*placeLabel)(Panel &p, Ctrl &c, const Rect &r);
    void (*showCtrl)(Panel &p, Ctrl &c);                     // c.visible, LabelShown
    void (*enableCtrl)(Panel &p, Ctrl &c);                   // CtrlEnabled
    void (*setMode)(Panel &p, Ctrl &c);
    void (*setTextColor)(Panel &p, Ctrl &c);
    void (*setUnderline)(Panel &p, Ctrl &c);
    void (*setLabel)(Panel &p, Ctrl &c);                     // c.labelRaw
    void (*restack)(Panel &p);                               // the controls' z-planes
    // A text box's height for n lines is n * lineHeight + chrome.
    void (*textBoxMetrics)(const Ctrl &c, int *lineHeight, int *chrome);

    // Values and lists.
    std::string (*editText)(const Ctrl &c);                  // as the user left it
    void (*setEditText)(Ctrl &c);                            // c.textRaw
    int (*numericValue)(const Ctrl &c);
    void (*setNumericValue)(Ctrl &c, int value);
    void (*ringInsert)(Ctrl &c, int index);                  // c.items[index] is new
    void (*ringReplace)(Ctrl &c, int index);                 // c.items[index]'s label changed
    void (*ringDelete)(Ctrl &c, int index, int count);
    void (*ringSelect)(Ctrl &c);                             // c.current

    // Events. pump runs the window system's pending events (and with them
    // the driver's calls to the core below); with nothing pending and ms
    // not 0 it first sleeps until something comes, at most ms (-1: no
    // bound). True when it ran anything that counts as input (the
    // system's own timers do not).
    bool (*pump)(int ms);
    // Draws the displayed panels now, running no user input.
    void (*drawNow)();
    // The pointer's position in the panel's client area, logical pixels.
    void (*pointerInPanel)(const Panel &p, int *x, int *y);
    // 1 while pressed; keys: 1 Shift, 2 Ctrl, 4 Alt.
    void (*mouseButtons)(int *left, int *right, int *keys);
    // The cursor asked for (ui/core/corecursor.h), shown now.
    void (*showCursor)();
    // Gives the control the keyboard focus (its panel's window is active,
    // or is being activated).
    void (*focusCtrl)(Panel &p, Ctrl &c);
    // The name a screen reader gives the control, AccessibleName(c), set
    // where the window system reads it.
    void (*setAccessibleName)(Panel &p, Ctrl &c);

    // Dialogs, the clipboard, printing; owner is the panel they are for.
    void (*messageBox)(const char *title, const char *message, const Panel *owner);
    int (*popupMenu)(const char *const items[], int count, const Panel *owner);   // 1..count, 0 none
    int (*clipboardPut)(const char *text, const Panel *owner);                    // 0 or a UIE_ code
    // Prints the panel on the default printer (pdfFile null) or into that
    // PDF file. 0 or a UIE_ status.
    int (*printPanel)(Panel &p, const char *pdfFile);

    // Screens, each at its own scale. The screens there are, the primary
    // one first (at least one).
    std::vector<Screen> (*screens)();
};

// The driver the run-time uses; the platform's own (DefaultDriver, defined
// by the one platform driver linked in) unless another was chosen.
const Driver &Drv();
const Driver &DefaultDriver();
// The null driver (ui/null), which every build carries for its tests.
const Driver &NullDriver();

// Changes the layer makes itself: while one runs, what the window system
// reports of them is no user input (InProgrammatic).
struct Programmatic {
    Programmatic();
    ~Programmatic();
    Programmatic(const Programmatic &) = delete;
    Programmatic &operator=(const Programmatic &) = delete;
};
bool InProgrammatic();

// ---------------------------------------------------------------- rules
// A control takes input while neither it nor its panel is dimmed.
inline bool CtrlEnabled(const Panel &p, const Ctrl &c) { return !(c.dimmed || p.dimmed); }
// A label drawn apart shows while its control and it are visible and it
// has a text.
inline bool LabelShown(const Ctrl &c) { return c.visible && c.labelVisible && !c.labelRaw.empty(); }
// The styles whose label a new control draws apart from it.
inline bool HasLabelApart(int style) {
    return style == CTRL_PICTURE_COMMAND_BUTTON || style == CTRL_STRING || style == CTRL_NUMERIC ||
           style == CTRL_RING || style == CTRL_TEXT_BOX;
}
// Room of the callers' text buffers (header: "room for 1024 bytes").
constexpr int kTextRoom = 1024;
// Copies bytes and a terminating zero into out (room bytes): 0, or
// UIE_BUFFER_TOO_SMALL when the text was cut to room - 1 bytes.
int CopyOut(const std::string &bytes, char *out, int room = kTextRoom);
// --------------------------------------------------------------- panels
// A control of a panel being loaded (ui/core/coreres.cpp): null
// (the control is left out) for an id below 1 or one the panel already
// has, or a style 0 (a widget class that is no control). A mode out of
// range gives the style's own. The control goes after those made before,
// and in front of them.
Ctrl *NewLoadedCtrl(Panel &p, int id, int style, int mode);
// Leaves out the control NewLoadedCtrl made last (its window was refused).
void DropLoadedCtrl(Panel &p);
// A displayed panel's window has been framed (Caps::framesLate): it is
// kept on its screen now that its frame is known.
void PanelFramed(int panel);
// Puts the panel's client area at (left, top) with that size, kept on its
// screen (ui/core/coreplace.cpp); VAL_AUTO_CENTER centres a coordinate.
void PlacePanel(Panel &p, int top, int left, int height, int width);
// Shows or hides the panel (activating it when asked); a popup is modal
// while it is shown.
void ShowPanel(Panel &p, bool visible, bool activate);
// The panel is no popup any more.
void EndPopup(Panel &p);
// The top-level panel a popup or dialog is for: the active panel's, else
// the newest one shown; never the panel except; null when none is shown.
Panel *PopupOwner(int except);
// SetNoDisplayHandler's handler, null when none.
NoDisplayHandlerPtr NoDisplayHandler();

// ------------------------------------------------------ the user's input
// What a driver reports of the window system's input, by handle and id;
// the rules of what it means are the core's (ui/core/coreevent.cpp).
// Positions are in the panel's client area, logical pixels.
//
// False for an indicator button or ring, whose input the driver swallows.
bool TakesInput(const Ctrl &c);
// The user operated the control (a click, a key, an edit finished).
void InputCommit(int panel, int ctrl);
// The close box of a top-level panel's window.
void InputClose(int panel);
// The pointer moved over the panel or one of its controls.
void InputMouseMove(int panel, int x, int y);
// The left button was released over the control that took its press.
void InputLeftRelease(int panel, int ctrl, int x, int y);
// The right button was pressed over the control: true when its callback
// took the press for itself (the control must not see it).
bool InputRightPress(int panel, int ctrl, int x, int y);
// A user's edit of a string or text box: its text is the window's now.
void TextEdited(int panel, int ctrl);
// A user's choice of a ring's item: it is current, and committed.
void RingChosen(int panel, int ctrl, int index);

// ------------------------------------------------- keyboard, screen readers
// The keyboard's rules (ui/core/corefocus.cpp): which controls Tab reaches
// and in what order, where the focus goes when a panel opens or comes
// back, and what Escape and Enter mean; the drivers only report the keys
// and give the focus.
//
// True when Tab reaches the control now: shown, taking input, not dimmed,
// of a kind the user operates (a text message only as a link, VAL_HOT).
bool TakesFocus(const Panel &p, const Ctrl &c);
// The controls Tab reaches, in the panel's reading order: row by row from
// the top (a control whose top lies above the middle of a row's first one
// is on that row), each row from the left.
std::vector<Ctrl *> TabOrder(Panel &p);
// Tab (forward) or Shift+Tab in the panel: the focus goes to the next
// control of TabOrder, round. True when the panel is one of the layer's
// (the key is then taken, also when no control could have the focus).
bool InputTab(int panel, bool forward);
// An arrow key on the focused control: on a button, Down and Right move
// the focus as Tab does, Up and Left as Shift+Tab (the toolkits would
// follow their own orders); a ring's or an edit's arrows are its own.
// True when the key was taken.
bool InputArrow(int panel, int ctrl, bool forward);
// The control got the keyboard focus from the window system (a click, a
// key): the panel remembers it.
void InputFocus(int panel, int ctrl);
// The panel's window became the active one: the focus goes back to the
// control that had it, else to the first of TabOrder.
void PanelActivated(int panel);
// Gives the focus back as PanelActivated does (a panel displayed active).
void RestoreFocus(Panel &p);
// Escape in the panel (or a child of it): a commit of the ATTR_ESCAPE_CTRL
// of the nearest panel that has one, when it takes input. True when it did.
bool InputEscape(int panel);
// Enter or Space on the focused control: a link (a text message in
// VAL_HOT) commits; every other control's keys are its own. True when
// the key was taken.
bool InputKeyActivate(int panel, int ctrl);
// The name a screen reader gives the control: its ATTR_ACCESSIBLE_NAME,
// else its label (a text message's text) without shortcut marks, line
// breaks as blanks, trailing blanks cut.
std::string AccessibleName(const Ctrl &c);

// ------------------------------------------------------------- registry
bool Ready();                       // InitUIRunTime has succeeded
void SetReady();
Panel *FindPanel(int handle);       // null when unknown
Ctrl *FindCtrl(Panel *p, int id);   // null when p is null or has no such control
std::vector<int> PanelHandles();    // every live handle, ascending
// The live panel of the smallest handle above `after`, null after the last:
// a walk over the panels that allocates nothing, for the paths a pass at rest
// takes. Only for walks that run no callback (one may discard panels).
Panel *NextPanel(int after);
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
