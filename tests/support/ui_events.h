// ui_events.h: real user input for GUI tests, addressed the way the
// application addresses things (panel handle, control id, panel
// coordinates), and delivered as real Qt events so that it takes the same
// road as a user's: the run-time's event filter, the widgets' own handling,
// the callbacks and the commit queue.
//
// On the offscreen platform a mouse move goes through the platform's
// cursor (QCursor::setPos), which delivers a window-system mouse event to
// the window under the point; the panel must therefore be displayed. Button
// presses and keys are sent to the widget under the point / with the focus.
//
// Typical use:
//     int p = LoadPanelAnsi(0, "FVLicEnr.uir", FVLIC_ENR);
//     DisplayPanel(p);
//     UiTestClick(p, FVLIC_ENR_BP_QUIT);
//     int ep, ec;
//     ASSERT_TRUE(UiTestWaitCommit(&ep, &ec));   // ep == p, ec == FVLIC_ENR_BP_QUIT
#ifndef VLIC_TESTS_SUPPORT_UI_EVENTS_H
#define VLIC_TESTS_SUPPORT_UI_EVENTS_H

#include <Qt>

class QWidget;

// The panel's root widget / the control's widget, null when unknown.
QWidget *UiTestPanelWidget(int panel);
QWidget *UiTestCtrlWidget(int panel, int control);

// Moves the mouse to (x, y) of the panel (panel coordinates) / of the
// control (control coordinates), then runs the pending events (the
// callbacks run; commits stay queued).
void UiTestMouseMove(int panel, int x, int y);
void UiTestMouseMoveCtrl(int panel, int control, int x, int y);

// Presses and releases a mouse button at (x, y) of the panel, on the widget
// that lies there (what a user's click would reach).
void UiTestClickAt(int panel, int x, int y, Qt::MouseButton button = Qt::LeftButton);
// Clicks the control at its centre (the point must not be covered by
// another control, as for a user).
void UiTestClick(int panel, int control, Qt::MouseButton button = Qt::LeftButton);

// Picks item index of a ring as a user does: opens its list and clicks the
// item.
void UiTestChooseRingItem(int panel, int control, int index);

// A key press and release to the control (which first gets the focus) / to
// the focus widget of the panel's window (Alt+letter shortcuts: pass the
// letter's Qt::Key and Qt::AltModifier).
void UiTestKeyToCtrl(int panel, int control, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void UiTestKey(int panel, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// Presses the close box of the panel's window.
void UiTestCloseBox(int panel);

// Runs Qt's events for about ms milliseconds (at least once); commits stay queued.
void UiTestProcess(int ms = 0);

// Polls GetUserEvent until a commit comes (true, with its panel and
// control) or timeoutMs passes (false).
bool UiTestWaitCommit(int *panel, int *control, int timeoutMs = 2000);

// Polls GetUserEvent for about ms milliseconds and returns the number of
// commits it reported (to check that none comes, or to empty the queue).
int UiTestCountCommits(int ms = 50);

#endif
