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

struct Size {
    int width = 0, height = 0;
};

// A ring's item.
struct Item {
    std::string label;
    int value = 0;
};

enum TextAlign { kAlignLeft, kAlignCentre, kAlignRight };

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
    bool wordWrap = false;          // a text message's text wraps at its width
    int textAlign = kAlignLeft;     // a text message's text lies at its left, centre or right
    int visibleLines = 0;           // ATTR_VISIBLE_LINES as last set, 0 never
    std::string textRaw;            // text value as last set (text box, string) ...
    bool textKnown = false;         // ... while the user has not edited it since
    bool edited = false;            // a user's edit of a string or numeric not committed yet
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
    // Its keyboard cues (a top-level panel's, for its child panels too): the
    // focused control's frame, and the shortcut letters' underline, shown
    // once the keyboard is used in it (Cues).
    bool focusCues = false;
    bool accelCues = false;
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
// What a driver can do, where the drivers differ on purpose in a way the
// core must know. (Differences in the native look alone, which no rule of
// the core depends on, are listed at the top of each driver's table file.)
struct Caps {
    // It writes a panel into a PDF file (PrintPanelAnsi with a ".pdf" name):
    // Qt does; Windows has no PDF writer of its own for Win32 to call.
    bool printsPdf;
};

// What the core asks of a window system. Every entry does native work only:
// the core has checked the arguments, stored the value and skipped a value
// set again unchanged before it calls one, and reads back what it stored.
// A setter applies what the record now holds. Rectangles are logical.
//
// An entry marked [opt] may be left empty, as a driver without that kind of
// native work leaves it (the null driver): the core skips a setter, and
// takes the answer written beside a query. Every other entry is required.
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
    // then reads the file). [opt: none carried]
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
    bool (*frameMargins)(const Panel &p, Margins *m);        // false while not known yet [opt: no frame]
    void (*showPanel)(Panel &p, bool activate);              // p.visible; raised and active when asked
    void (*setPopup)(Panel &p, const Panel *owner);          // owner null: no longer a popup [opt]
    void (*setModal)(Panel &p, bool on);                     // a popup shown or hidden [opt]
    int (*activePanel)();                                    // handle, 0 when none
    void (*setTitle)(Panel &p);                              // [opt]
    void (*setBackColor)(Panel &p);                          // [opt]
    void (*setFrame)(Panel &p);                              // the frame flags [opt]

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
    void (*setMode)(Panel &p, Ctrl &c);                      // [opt]
    void (*setTextColor)(Panel &p, Ctrl &c);                 // [opt]
    void (*setUnderline)(Panel &p, Ctrl &c);                 // [opt]
    void (*setLabel)(Panel &p, Ctrl &c);                     // c.labelRaw [opt]
    void (*restack)(Panel &p);                               // the controls' z-planes [opt]
    // A text box's height for n lines is n * lineHeight + chrome. [opt:
    // lines of 1, no chrome]
    void (*textBoxMetrics)(const Ctrl &c, int *lineHeight, int *chrome);
    // The size the text of a text message (label false), or of a control's
    // label drawn apart, asks for in its font: on one line but for its line
    // breaks, or (width above 0) wrapped at that width. [opt: the sizes
    // are kept as they are]
    Size (*textSize)(const Panel &p, const Ctrl &c, bool label, int width);

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
    // Draws the displayed panels now, running no user input. [opt]
    void (*drawNow)();
    // The pointer's position in the panel's client area, logical pixels.
    void (*pointerInPanel)(const Panel &p, int *x, int *y);
    // 1 while pressed; keys: 1 Shift, 2 Ctrl, 4 Alt. [opt: none pressed]
    void (*mouseButtons)(int *left, int *right, int *keys);
    // The cursor asked for (ui/core/corecursor.h), shown now. [opt]
    void (*showCursor)();
    // Gives the control the keyboard focus (its panel's window is active,
    // or is being activated).
    void (*focusCtrl)(Panel &p, Ctrl &c);
    // Shows or hides the keyboard cues of the top-level panel p as its
    // record says (focusCues, accelCues). [opt]
    void (*showCues)(Panel &p);
    // The name a screen reader gives the control, AccessibleName(c), set
    // where the window system reads it. [opt]
    void (*setAccessibleName)(Panel &p, Ctrl &c);

    // Dialogs, the clipboard, printing; owner is the panel they are for.
    void (*messageBox)(const char *title, const char *message, const Panel *owner);   // [opt]
    // A popup menu: 1..count, 0 none [opt: 0]. Shown at the pointer, or
    // (at not null) below that rectangle of owner's client area: the
    // control whose menu the keyboard asked for.
    int (*popupMenu)(const char *const items[], int count, const Panel *owner, const Rect *at);
    int (*clipboardPut)(const char *text, const Panel *owner);   // 0 or a UIE_ code [opt: UIE_SYSTEM]
    // Prints the panel on the default printer (pdfFile null) or into that
    // PDF file. 0 or a UIE_ status. [opt: UIE_SYSTEM]
    int (*printPanel)(Panel &p, const char *pdfFile);

    // Screens, each at its own scale. The screens there are, the primary
    // one first (at least one).
    std::vector<Screen> (*screens)();
};

// A driver the run-time can use: its name and its table.
struct Bootstrap {
    const char *name;
    const Driver &(*driver)();
};
// The platform's driver, the first of the list, defined by the one
// platform driver the build links in (ui/qt/qtdriver.cpp,
// ui/win32/windriver.cpp).
extern const Bootstrap kPlatformDriver;
// Adds a driver linked in apart to the list, before the run-time starts:
// the null driver of the tests (ui/null), which the program never carries.
void AddDriver(const Bootstrap &b);
// The driver the run-time uses: the one UiSelectDriver chose from the
// list, else the first.
const Driver &Drv();

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
// Sizes a text to show it whole, in the driver's font (ui/core/corectrl.cpp):
// a text message that wraps keeps its width and grows in height, its panel
// with it when it must; another is exactly as wide as its text (so that
// what reacts to the pointer over it is its text), its aligned edge or
// centre staying where it was, and never lower than it was made. A label
// drawn apart grows to show its text, and never shrinks; so does a text
// whose look (its underline) changes.
void FitText(Panel &p, Ctrl &c);
// --------------------------------------------------------------- panels
// A control of a panel being loaded (ui/core/coreres.cpp): null
// (the control is left out) for an id below 1 or one the panel already
// has, or a style 0 (a widget class that is no control). A mode out of
// range gives the style's own. The control goes after those made before,
// and in front of them.
Ctrl *NewLoadedCtrl(Panel &p, int id, int style, int mode);
// Leaves out the control NewLoadedCtrl made last (its window was refused).
void DropLoadedCtrl(Panel &p);
// A displayed panel's window has been framed, where the frame is known
// only once the window manager has framed it (Qt under X11: frameMargins
// says false until then): it is kept on its screen now that its frame is
// known.
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
// The index of the area (a screen's, in whatever pixels the caller counts)
// holding the point, else of the nearest one; areas is not empty.
size_t AreaAt(const std::vector<Rect> &areas, int x, int y);
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
// The desktop session ends (true: a log-off, a shut-down, the Restart
// Manager closing the program before an upgrade), or the end was called
// off (false). While it ends, GetUserEvent gives UIE_NOT_PERMITTED, and
// the program's loops, which leave on a failed poll, end.
void InputEndSession(bool ending);
// The keyboard's form of a right press (the Menu key, Shift+F10) on the
// control: its callback gets EVENT_RIGHT_CLICK at the control's centre, and
// a menu it opens meanwhile lies under the control. True when the callback
// took it.
bool InputMenuKey(int panel, int ctrl);
// The control a menu opened now is for (InputMenuKey), with its panel;
// null when the menu goes to the pointer.
const Rect *MenuAnchor(int *panel);
// The pointer moved over the panel or one of its controls.
void InputMouseMove(int panel, int x, int y);
// The left button was released over the control that took its press.
void InputLeftRelease(int panel, int ctrl, int x, int y);
// The right button was pressed over the control: true when its callback
// took the press for itself (the control must not see it).
bool InputRightPress(int panel, int ctrl, int x, int y);
// A user's edit of a string, text box or numeric: its text or number is
// the window's now, and a string or numeric commits once the edit is done.
void InputEdited(int panel, int ctrl);
// A user's choice of a ring's item: it is current, and committed.
void RingChosen(int panel, int ctrl, int index);

// ------------------------------------------------- keyboard, screen readers
// The keyboard's rules (ui/core/corefocus.cpp): what each key means, which
// controls Tab reaches and in what order, where the focus goes when a
// panel opens or comes back. A driver only reports the keys, the edits and
// the focus, and gives the focus where it is told.
//
// The keys whose meaning is the layer's, as a driver reports them.
enum class Key { Tab, Escape, Enter, Space, Up, Down, Left, Right, Letter };
// The modifiers held with a key.
enum KeyMods { kModShift = 1, kModCtrl = 2, kModAlt = 4 };
// A key pressed in the panel's window, the keyboard focus on control ctrl
// (0: on none of the panel's); letter: for Key::Letter, the character as a
// Windows-1252 byte. True when the core took it (a commit, a press, the
// focus moved, a shortcut, or a shortcut of a control that takes no input
// now): the driver then keeps it from the window system. False: the key is
// the control's own (typing, a list's arrows, Space on a button), or
// nobody's. An open list or menu keeps its keys: the driver reports none.
//   Tab, Shift+Tab     the focus to the next / previous control of TabOrder, round
//   Escape             a commit of the ATTR_ESCAPE_CTRL of the panel or its nearest parent having one
//   Enter              a commit of the focused button, link, string or numeric
//   Space              a commit of the focused link (a button's is its own press)
//   arrows             on a button, the focus as Tab (Down, Right) or Shift+Tab (Up, Left)
//   Alt+letter         the control whose label marks that letter ("__X"): a button commits,
//                      another control takes the focus; nothing when it takes no input
bool InputKey(int panel, int ctrl, Key key, int mods, char letter = 0);
// The keyboard focus left control ctrl (to another control or window, not
// to a popup list or menu of its own): a string or numeric edited since
// its last commit commits.
void InputFocusLost(int panel, int ctrl);
// True when Tab reaches the control now: shown, taking input, not dimmed,
// of a kind the user operates (a text message only as a link, VAL_HOT).
bool TakesFocus(const Panel &p, const Ctrl &c);
// The controls Tab reaches, in the panel's reading order: row by row from
// the top (a control whose top lies above the middle of a row's first one
// is on that row), each row from the left.
std::vector<Ctrl *> TabOrder(Panel &p);
// The control got the keyboard focus from the window system (a click, a
// key): the panel remembers it.
void InputFocus(int panel, int ctrl);
// The panel's window became the active one: the focus goes back to the
// control that had it, else to the first of TabOrder.
void PanelActivated(int panel);
// Gives the focus back as PanelActivated does (a panel displayed active).
void RestoreFocus(Panel &p);
// The keyboard cues of the panel's top-level panel: hidden while the user
// works it with the mouse, shown (the focus frame; with accel, the
// shortcuts' underlines too) once a key has moved the focus or pressed a
// shortcut in it, as Windows' dialog manager has them. A panel opened by
// a key starts with them shown.
void ShowCues(Panel &p, bool focus, bool accel);
// The user clicked: the last input is the mouse's (a panel opened now
// starts with its cues hidden); true while it is the keyboard's.
void NoteMouseInput();
bool KeyboardLast();
// The name a screen reader gives the control: its ATTR_ACCESSIBLE_NAME,
// else its label (a text message's text) without shortcut marks, line
// breaks as blanks, trailing blanks cut.
std::string AccessibleName(const Ctrl &c);

// ------------------------------------------------------------- registry
bool Ready();                       // InitUIRunTime has succeeded
void SetReady();
Panel *FindPanel(int handle);       // null when unknown
Ctrl *FindCtrl(Panel *p, int id);   // null when p is null or has no such control
Panel &TopPanel(Panel &p);          // the top-level panel p lies in (p itself for one)
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
