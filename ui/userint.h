// userint.h: the user-interface run-time that the application, the downloads
// panel, the general library and the toolbox are written against.
//
// What it is: a small procedural layer over the window system. Its rules
// (records, argument checks, status codes, events, placement) are written
// once in ui/core; a driver does only the native work: Qt Widgets (ui/qt),
// Win32 (ui/win32), or no display at all for tests (ui/null). Panels are
// addressed by an integer handle, controls by the integer id they carry in
// their panel resource, attributes by number. Every text that crosses this
// header is 8-bit Windows-1252 (the catalogue's encoding); only the drivers
// convert, to Qt's Unicode or to UTF-16. Nothing here throws; every operation returns a
// status: 0 or a non-negative value on success, a negative UIE_ code on
// failure. An unknown panel handle, control id or attribute is a failure,
// never a crash.
//
// Index of this header
//   1. Status codes
//   2. Attributes, control styles, modes, events, cursors
//   3. Callbacks
//   4. Start-up and the program's folder
//   5. Panels
//   6. Controls: attributes, values, text boxes, lists
//   7. Events
//   8. Mouse and cursors
//   9. Popups and printing
//  10. Locks and thread-safe variables
//  11. Odds and ends of the C run-time
//  12. Test seams
//  13. Right clicks, popup menus, the clipboard (ui/core/coreplace.cpp)
//  14. The keyboard focus
//
// Panel resources: a resource file "X.uir" holds panels by resource id, in
// the form tools/ui2uir/ui2uir.py makes at build time from one Qt Designer
// file per panel, named "<resource id>.ui" (ui/core/coreres.h reads it). A
// file the program carries inside itself is found first; another is read
// from the program's folder, then as named. In a Designer file the root
// widget's geometry gives the panel's size and its position (0, 0: centred
// on the screen), windowTitle its title; optional dynamic properties of the
// root: closeCtrl (the control whose commit the close box gives),
// canMinimize, canMaximize, canClose, sizable, titleBar (0 or 1, default 1;
// a panel without title bar has no frame buttons at all). Each control is a
// direct child of the root carrying ctrlId, ctrlStyle and optionally
// ctrlMode; a label drawn apart from its control is a QLabel child carrying
// labelOf (the control's id); a ring's items are its <item>s (a "value"
// property each, else its index).
#ifndef VLIC_UI_USERINT_H
#define VLIC_UI_USERINT_H

#include <cstddef>

// ---------------------------------------------------------------- 1. Status
enum {
    UIE_NO_ERROR = 0,
    UIE_NOT_INITIALIZED = -1,     // InitUIRunTime has not succeeded
    UIE_BAD_PANEL = -2,           // no panel has that handle
    UIE_BAD_CONTROL = -3,         // the panel has no control of that id
    UIE_BAD_ATTRIBUTE = -4,       // attribute unknown, or not one of this control's kind
    UIE_BAD_VALUE = -5,           // value out of range, or of the wrong type for the attribute
    UIE_FILE_NOT_FOUND = -6,      // the resource file cannot be found or read
    UIE_PANEL_NOT_FOUND = -7,     // the resource file holds no panel of that id
    UIE_BAD_INDEX = -8,           // list index out of range
    UIE_VALUE_NOT_FOUND = -9,     // no list item carries that value
    UIE_BAD_POINTER = -10,        // a required output pointer is null
    UIE_BAD_LOCK = -11,           // no lock or thread-safe variable has that handle
    UIE_OUT_OF_MEMORY = -12,
    UIE_BUFFER_TOO_SMALL = -15,   // the result does not fit the caller's buffer
    UIE_NOT_PERMITTED = -16,      // the operation does not apply in the current state
    UIE_SYSTEM = -17,             // the window system or the file system refused
};

// ------------------------------------------------ 2. Attributes and friends
enum {
    ATTR_DIMMED = 500,
    ATTR_CALLBACK_DATA = 510,            // void*
    ATTR_CALLBACK_FUNCTION_POINTER = 513,// CtrlCallbackPtr / PanelCallbackPtr
    ATTR_VISIBLE = 530,
    ATTR_LEFT = 531,
    ATTR_TOP = 532,
    ATTR_WIDTH = 533,
    ATTR_HEIGHT = 540,
    ATTR_BACKCOLOR = 570,                // panels: 0xRRGGBB
    ATTR_TITLEBAR_VISIBLE = 571,         // panels
    ATTR_TITLE = 572,                    // panels: text
    ATTR_ZPLANE_POSITION = 610,          // controls: 0 is the front-most
    ATTR_CTRL_STYLE = 611,               // controls: one of the CTRL_ values, read only
    ATTR_PANEL_FIRST_CTRL = 612,         // panels: id of the first control, 0 when none
    ATTR_NEXT_CTRL = 613,                // controls: id of the next control, 0 after the last
    ATTR_CTRL_MODE = 620,                // controls: VAL_INDICATOR, VAL_HOT, VAL_NORMAL
    ATTR_LABEL_TEXT = 641,               // text; "__X" marks X as the shortcut letter
    ATTR_LABEL_VISIBLE = 660,
    ATTR_TEXT_COLOR = 680,               // 0xRRGGBB
    ATTR_TEXT_UNDERLINE = 684,
    ATTR_VISIBLE_LINES = 821,            // text boxes
    // Panels: the control whose commit the Escape key gives (0, the
    // default: Escape does nothing).
    ATTR_ESCAPE_CTRL = 1041,
    // Controls: the name a screen reader says for it (text). "" (the
    // default) names it by its label, or a text message by its text, the
    // shortcut marks left out; reading gives the name in force.
    ATTR_ACCESSIBLE_NAME = 1042,
    // Window frame of a top-level panel (no effect on child panels).
    ATTR_CAN_MINIMIZE = 596,
    ATTR_SIZABLE = 617,
    ATTR_CAN_MAXIMIZE = 800,
    // Print attributes (SetPrintAttributeExAnsi).
    ATTR_PRINT_HORIZONTAL_SCALE = 1301,  // -1: fit the page
    ATTR_PRINT_VERTICAL_SCALE = 1302,    // -1: fit the page
    ATTR_PRINT_ORIENTATION = 1308,       // 0 portrait, 1 landscape
};

// Control styles (ATTR_CTRL_STYLE). Each kind of control of a panel resource
// carries one; CTRL_TEXT_MSG is the only one a hyperlink accepts.
enum {
    CTRL_COMMAND_BUTTON = 114,
    CTRL_PICTURE_COMMAND_BUTTON = 115,
    CTRL_STRING = 130,
    CTRL_NUMERIC = 140,
    CTRL_RING = 150,
    CTRL_TEXT_MSG = 160,
    CTRL_TEXT_BOX = 170,
    CTRL_PICTURE = 180,
    CTRL_DECORATION = 190,
};

// Control modes (ATTR_CTRL_MODE).
enum { VAL_INDICATOR = 0, VAL_HOT = 1, VAL_NORMAL = 2 };

// Events delivered to callbacks; GetUserEvent reports EVENT_COMMIT only.
enum {
    EVENT_NONE = 0,
    EVENT_COMMIT = 1,
    EVENT_CLOSE = 11,                // panel: its window's close box
    EVENT_DISCARD = 16,              // control or panel about to be discarded
    EVENT_MOUSE_POINTER_MOVE = 33,   // panel: eventData1 = y, eventData2 = x in the panel
    EVENT_LEFT_CLICK_UP = 34,        // control: eventData1 = y, eventData2 = x in the panel
};

// Mouse cursor styles.
enum { VAL_DEFAULT_CURSOR = -1, VAL_POINTING_FINGER_CURSOR = 14 };

// Special position for SetPanelPos and ATTR_TOP / ATTR_LEFT of panels.
enum : int { VAL_AUTO_CENTER = -2147483647 - 1 };

// Sizes of text buffers the caller provides.
enum { MAX_PATHNAME_LEN = 512 };

// ------------------------------------------------------------- 3. Callbacks
// A callback returns 0 to let the event go on; a non-zero result on
// EVENT_COMMIT swallows the commit (GetUserEvent will not report it).
typedef int (*CtrlCallbackPtr)(int panel, int control, int event, void *callbackData,
                               int eventData1, int eventData2);
typedef int (*PanelCallbackPtr)(int panel, int event, void *callbackData,
                                int eventData1, int eventData2);

int InstallCtrlCallback(int panel, int control, CtrlCallbackPtr callback, void *callbackData);
int InstallPanelCallback(int panel, PanelCallbackPtr callback, void *callbackData);

// ------------------------------------------- 4. Start-up, program's folder
// Starts the run-time. argv as given to main (argv[0] is used); the first and
// last arguments are unused and should be 0. Returns 1 on success, 0 when the
// run-time cannot start (no display can be opened): the process is then
// still alive and can exit cleanly.
int InitUIRunTime(int reserved, char **argv, int reserved2);
// Like InitUIRunTime, but needs no display: runs on Qt's offscreen platform
// when no display can be opened. For command-line modes that compose panels
// without showing them.
int InitUIRunTimeHeadless(char **argv);
// What the program does when it has no display: InitUIRunTime returns 0 in
// nearly every such case, but a display that accepted the run-time's first
// look and refuses the toolkit's own connection right after can no longer be
// answered by a return. The run-time then calls this handler (typically one
// line on standard error) and ends the process with exit code -1. Null (the
// default): a line naming the program.
typedef void (*NoDisplayHandlerPtr)(void);
void SetNoDisplayHandler(NoDisplayHandlerPtr handler);
// Fills buffer (MAX_PATHNAME_LEN bytes) with the executable's folder.
// 0 on success, UIE_BUFFER_TOO_SMALL / UIE_NOT_INITIALIZED on failure.
int GetProjectDirAnsi(char *buffer);
int SetDirAnsi(const char *path);   // 0 on success, UIE_FILE_NOT_FOUND on failure

// ---------------------------------------------------------------- 5. Panels
// LoadPanelAnsi returns a panel handle (> 0) or a negative status. parent 0
// makes a top-level panel, a panel handle a child panel inside it.
int LoadPanelAnsi(int parent, const char *file, int resourceId);
int NewPanelAnsi(int parent, const char *title, int top, int left, int height, int width);
int DisplayPanel(int panel);      // shows and activates it
int HidePanel(int panel);
int DiscardPanel(int panel);      // EVENT_DISCARD to each control, then to the panel
int InstallPopup(int panel);      // displays it modally: other panels take no input
int SetPanelPos(int panel, int top, int left);
int GetActivePanel(void);         // handle of the panel whose window is active, 0 if none
int GetScreenSize(int *height, int *width);
int ProcessDrawEvents(void);      // draws the displayed panels now; runs no callback, queues no commit

int SetPanelAttributeAnsi(int panel, int attribute, int value);
int SetPanelAttributeAnsi(int panel, int attribute, const char *value);
int SetPanelAttributeAnsi(int panel, int attribute, void *value);
int SetPanelAttributeAnsi(int panel, int attribute, PanelCallbackPtr value);
int GetPanelAttributeAnsi(int panel, int attribute, int *value);
int GetPanelAttributeAnsi(int panel, int attribute, char *value);   // text, room for 1024 bytes
int GetPanelAttributeAnsi(int panel, int attribute, void **value);
int GetPanelAttributeAnsi(int panel, int attribute, PanelCallbackPtr *value);

// ------------------------------------------------------------- 6. Controls
// NewCtrlAnsi creates a control of the given style on a panel and returns its
// id (> 0). Its label is its text (buttons, text messages) or its label.
int NewCtrlAnsi(int panel, int style, const char *label, int top, int left);

int SetCtrlAttributeAnsi(int panel, int control, int attribute, int value);
int SetCtrlAttributeAnsi(int panel, int control, int attribute, const char *value);
int SetCtrlAttributeAnsi(int panel, int control, int attribute, void *value);
int SetCtrlAttributeAnsi(int panel, int control, int attribute, CtrlCallbackPtr value);
int GetCtrlAttributeAnsi(int panel, int control, int attribute, int *value);
int GetCtrlAttributeAnsi(int panel, int control, int attribute, char *value); // room for 1024 bytes
int GetCtrlAttributeAnsi(int panel, int control, int attribute, void **value);
int GetCtrlAttributeAnsi(int panel, int control, int attribute, CtrlCallbackPtr *value);
int GetCtrlBoundingRect(int panel, int control, int *top, int *left, int *height, int *width);

// Values: a ring's value is its current item's value; a text message's,
// string's or text box's value is its text; a numeric's is its number.
// Setting a text box's value replaces its whole text, as ResetTextBoxAnsi.
// Text read back is cut to 1023 bytes (UIE_BUFFER_TOO_SMALL when cut).
int SetCtrlValAnsi(int panel, int control, int value);
int SetCtrlValAnsi(int panel, int control, const char *value);
int GetCtrlValAnsi(int panel, int control, int *value);
int GetCtrlValAnsi(int panel, int control, char *value);   // room for 1024 bytes
int ResetTextBoxAnsi(int panel, int control, const char *text);

// Lists (rings). index -1 appends.
int InsertListItemAnsi(int panel, int control, int index, const char *label, int value);
int ReplaceListItemAnsi(int panel, int control, int index, const char *label, int value);
int DeleteListItem(int panel, int control, int index, int count);   // count -1: to the end
int GetNumListItems(int panel, int control, int *count);
int GetValueFromIndexAnsi(int panel, int control, int index, int *value);
int GetIndexFromValueAnsi(int panel, int control, int *index, int value);
int GetLabelFromIndexAnsi(int panel, int control, int index, char *label);  // room for 1024 bytes
int GetCtrlIndex(int panel, int control, int *index);   // current item, -1 when the list is empty

// ---------------------------------------------------------------- 7. Events
// Processes pending window-system events (running callbacks), then returns
// EVENT_COMMIT with *panel and *control of the oldest pending commit, or 0
// when none is pending. With wait 0, when nothing is pending, it sleeps until
// window-system input, a timer or a posted event arrives, at most half a
// second: a polling loop at rest costs next to nothing, and a loop that
// watches a clock still turns twice a second. UIE_NOT_PERMITTED once the
// desktop session ends (a log-off, the Restart Manager before an upgrade):
// the loop is to end.
int GetUserEvent(int wait, int *panel, int *control);

// ----------------------------------------------------------------- 8. Mouse
// Mouse position relative to the control's top-left corner (control 0: the
// panel's), in logical pixels. The button and key outputs may be null; the
// buttons give 1 while pressed, keys the bits 1 Shift, 2 Ctrl, 4 Alt.
int GetRelativeMouseState(int panel, int control, int *x, int *y,
                          int *leftButton, int *rightButton, int *keys);
int GetMouseCursor(int *style);
int SetMouseCursor(int style);     // 14 link cursor, -1 normal
int SetWaitCursor(int on);
int GetWaitCursorState(void);      // 1 while the wait cursor is on

// ------------------------------------------------------ 9. Popups, printing
int MessagePopupAnsi(const char *title, const char *message);   // waits for OK
// A message popup whose text the user can take away: the message above a
// read-only field holding text, which can be selected, and beside OK a
// button (its label copyLabel) that puts text on the clipboard; the line
// under the field then says copied, or copyFailed when the clipboard
// refused. Waits for OK, Escape or the close box. The same popup on every
// driver, its controls of these ids:
enum {
    UI_COPY_POPUP_MESSAGE = 2,   // text box, read only
    UI_COPY_POPUP_TEXT = 3,      // string, read only
    UI_COPY_POPUP_STATUS = 4,    // text message: the copy's outcome
    UI_COPY_POPUP_COPY = 5,
    UI_COPY_POPUP_OK = 6,
};
int MessagePopupCopyAnsi(const char *title, const char *message, const char *text, const char *copyLabel,
                         const char *copied, const char *copyFailed);
int SetPrintAttributeExAnsi(int attribute, int value);
// fileName "" prints to the default printer, a name ending in ".pdf" writes
// a PDF file. scaling and area are kept for the callers' sake; flag unused.
int PrintPanelAnsi(int panel, const char *fileName, int scaling, int area, int flag);

// ------------------------------------------ 10. Locks, thread-safe variables
// Locks are recursive. A lock made with a non-empty name is shared by every
// CmtNewLockAnsi of that name in the process until its last discard.
int CmtNewLockAnsi(const char *name, int options, int *lockHandle);
int CmtGetLock(int lockHandle);
int CmtReleaseLock(int lockHandle);
int CmtDiscardLock(int lockHandle);
// A thread-safe variable of size bytes, zero at creation.
int CmtNewTSV(int size, int *tsvHandle);
int CmtDiscardTSV(int tsvHandle);
int CmtSetTSV(int tsvHandle, const void *value);   // copies size bytes in
int CmtGetTSV(int tsvHandle, void *value);         // copies size bytes out
int CmtGetTSVPtr(int tsvHandle, void **pointer);   // locks; pair with CmtReleaseTSVPtr
int CmtReleaseTSVPtr(int tsvHandle);
int SetBreakOnLibraryErrors(int on);       // returns the previous setting
int SetEnableResourceTracking(int on);     // returns the previous setting

// ------------------------------------------------ 11. C run-time odds, text
double TruncateRealNumber(double x);   // x without its fraction, toward zero
// Windows-1252 text to UTF-8, for output to a terminal. Writes at most
// outSize bytes including the terminating zero; returns the length written,
// or UIE_BUFFER_TOO_SMALL (out then holds as much as fits, terminated).
int UiAnsiToUtf8(const char *in, char *out, int outSize);

// ------------------------------------------------------------ 12. Test seams
// When set, MessagePopupAnsi and MessagePopupCopyAnsi call the hook instead
// of opening a dialog and return at once. The hook receives the title and
// the message as given (MessagePopupCopyAnsi's: the message, a blank
// line, the text).
typedef void (*UiMessagePopupHook)(const char *title, const char *message);
void UiSetMessagePopupHook(UiMessagePopupHook hook);
// Before InitUIRunTime: the driver the run-time is to use, by name: the
// platform's ("qt", "win32"), or "null", the one without any display that
// only the tests link in (ui/null/userint_null.h). 0, UIE_BAD_POINTER,
// UIE_BAD_VALUE (no such driver in this program), UIE_NOT_PERMITTED (the
// run-time has started with another).
int UiSelectDriver(const char *name);

// =================================================================== 13.
// Right clicks, popup menus and the clipboard (ui/core/coreplace.cpp).

// A control's callback receives EVENT_RIGHT_CLICK when the user presses the
// right mouse button over the control (eventData1 = y, eventData2 = x in the
// panel); a non-zero result takes the press for itself. Never for a dimmed
// control or panel.
enum { EVENT_RIGHT_CLICK = 4 };
// Shows a popup menu of count items (their texts) at the mouse pointer and
// waits for the user. Returns the chosen item's number, 1 to count, or 0
// when the menu was left without a choice; negative on failure.
int RunPopupMenuAnsi(const char *const items[], int count);
// Puts text on the desktop's clipboard. 0 on success, negative on failure.
int ClipboardPutTextAnsi(const char *text);

// =================================================================== 14.
// The keyboard focus (ui/core/corefocus.cpp). Tab and Shift+Tab go through
// the controls that take input in the panel's reading order, top to bottom
// and left to right (a text message only when it is a link, in VAL_HOT
// mode, which Enter and Space then commit). A panel displayed gives the
// focus to the control that had it, else to the first in that order, and
// so does its window when it is active again.

// The control of the panel that has the keyboard focus, or gets it back
// when the panel's window is active again; 0 when none. UIE_NOT_INITIALIZED,
// UIE_BAD_PANEL.
int GetActiveCtrl(int panel);
// Gives the control the keyboard focus (at once when its panel's window is
// active, else when it is). 0; UIE_NOT_INITIALIZED, UIE_BAD_PANEL,
// UIE_BAD_CONTROL, UIE_NOT_PERMITTED (the control takes no focus now).
int SetActiveCtrl(int panel, int control);

#endif
