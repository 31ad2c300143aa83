// userint_null.h: the null driver of the run-time layer, for tests only:
// no display, no window system, in a library of its own that only tests
// link. Added to the run-time's list with UiNullAddDriver and selected
// before the run-time starts with UiSelectDriver("null") (ui/userint.h),
// it keeps every panel and control
// as a record of its place, text and state, and plays the user's input
// that tests hand it (a click, a key, the close box) the way a window
// system would, so that the core's rules run in milliseconds on any
// machine.
//
// Resource files are read as on any driver (ui/core/coreres.h): it
// carries none, so they are files, in the program's folder or as named.
//
// Its screens (work areas) are those UiNullSetScreens gives, one of
// 1280 x 1024 by default; every titled top-level window has a frame of
// kUiNullFrame (left, top, right, bottom) pixels round its client area.
#ifndef VLIC_UI_NULL_USERINT_NULL_H
#define VLIC_UI_NULL_USERINT_NULL_H

#include <functional>

constexpr int kUiNullFrame[4] = {4, 24, 4, 4};

// Puts the null driver, named "null", on the run-time's list of drivers.
void UiNullAddDriver(void);

// The screens' work areas, n rectangles {x, y, width, height}; the first
// is the primary one.
void UiNullSetScreens(const int (*areas)[4], int n);

// The user's input, to the panel (panel coordinates). A click presses and
// releases a button over what lies there (the front-most control holding
// the point); a key goes to the panel's control that has the focus: a
// character (Windows-1252) or one of UiNullKeyCode, with the modifiers held
// (1 Shift, 2 Ctrl, 4 Alt).
enum UiNullKeyCode { UiNullTab = 0x100, UiNullEscape, UiNullEnter, UiNullSpace, UiNullUp, UiNullDown, UiNullLeft, UiNullRight };
void UiNullMovePointer(int panel, int x, int y);
void UiNullClick(int panel, int x, int y, int button);   // 1 left, 2 right
void UiNullKey(int panel, int key, int mods);
void UiNullCloseBox(int panel);
// A screen reader's action on a link: its commit.
void UiNullInvoke(int panel, int control);
void UiNullChooseRingItem(int panel, int control, int index);

// What the null window system shows.
bool UiNullTakesInput(int panel);        // no modal popup blocks it
int UiNullParentOf(int panel);           // the parent panel's handle, 0 for a top-level one
bool UiNullShown(int panel);
bool UiNullFocusCues(int panel);         // the focused control is framed
// How many times the driver was asked to change what it shows: a value set
// again unchanged asks nothing.
long UiNullChanges(void);

// Timers run by the pump (the poll's, or UiNullProcess): fn once (or every
// ms milliseconds while repeat), ms from now; their id, for UiNullCancel.
int UiNullAfter(int ms, std::function<void()> fn, bool repeat);
void UiNullCancel(int id);
// Runs what is due for about ms milliseconds (at least once).
void UiNullProcess(int ms);

#endif
