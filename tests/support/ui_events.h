// ui_events.h: real user input for GUI tests, addressed the way the
// application addresses things (panel handle, control id, panel
// coordinates), and delivered the way a user's input comes, so that it
// takes the same road: the backend's own event handling, the controls' own
// reactions, the callbacks and the commit queue. One interface for both
// backends of the run-time layer:
// - Qt (ui_events_qt.cpp): real Qt events. On the offscreen platform a
//   mouse move goes through the platform's cursor (QCursor::setPos), which
//   delivers a window-system mouse event to the window under the point; the
//   panel must therefore be displayed. Button presses and keys are sent to
//   the widget under the point / with the focus.
// - Win32 (ui_events_win32.cpp): the window messages that Windows itself
//   sends for that input (mouse messages to the window under the point,
//   key messages to the focus window), posted or sent as Windows would, so
//   that the controls' own handling and the poll's dialog keys take them.
//
// Typical use:
//     int p = LoadPanelAnsi(0, "FVLicEnr.uir", FVLIC_ENR);
//     DisplayPanel(p);
//     UiTestClick(p, FVLIC_ENR_BP_QUIT);
//     int ep, ec;
//     ASSERT_TRUE(UiTestWaitCommit(&ep, &ec));   // ep == p, ec == FVLIC_ENR_BP_QUIT
#ifndef VLIC_TESTS_SUPPORT_UI_EVENTS_H
#define VLIC_TESTS_SUPPORT_UI_EVENTS_H

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Mouse buttons and keys, the same on both backends. A letter key is its
// capital ASCII code ('Q').
enum UiTestButton { UiTestLeftButton = 1, UiTestRightButton = 2 };
enum UiTestKeyCode {
    UiTestKeyReturn = 0x100,
    UiTestKeySpace,
    UiTestKeyUp,
    UiTestKeyDown,
    UiTestKeyEnd,
    UiTestKeyEscape,
    UiTestKeyTab,
};
enum UiTestModifier { UiTestNoModifier = 0, UiTestAlt = 1, UiTestShift = 2 };

// Moves the mouse to (x, y) of the panel (panel coordinates) / of the
// control (control coordinates), then runs the pending events (the
// callbacks run; commits stay queued).
void UiTestMouseMove(int panel, int x, int y);
void UiTestMouseMoveCtrl(int panel, int control, int x, int y);

// Presses and releases a mouse button at (x, y) of the panel, on the window
// or widget that lies there (what a user's click would reach).
void UiTestClickAt(int panel, int x, int y, UiTestButton button = UiTestLeftButton);
// Clicks the control at its centre (the point must not be covered by
// another control, as for a user).
void UiTestClick(int panel, int control, UiTestButton button = UiTestLeftButton);

// Presses the left button at (x0, y0) of the panel, on what lies there,
// and releases it at (x1, y1): a press that slides off.
void UiTestPressAndReleaseAt(int panel, int x0, int y0, int x1, int y1);

// The cursor the layer makes the pointer show over its panels:
// VAL_POINTING_FINGER_CURSOR, kUiTestWaitCursor, or VAL_DEFAULT_CURSOR for
// the windows' own (the pointer must lie over a panel).
constexpr int kUiTestWaitCursor = 1000;
int UiTestShownCursor();

// Picks item index of a ring as a user does.
void UiTestChooseRingItem(int panel, int control, int index);

// A key press and release to the control (which first gets the focus) / to
// the focus of the panel's window (Alt+letter shortcuts: the letter and
// UiTestAlt).
void UiTestKeyToCtrl(int panel, int control, int key, UiTestModifier modifiers = UiTestNoModifier);
void UiTestKey(int panel, int key, UiTestModifier modifiers = UiTestNoModifier);

// The control of the panel whose widget or window has the window system's
// keyboard focus now, 0 when none of the panel's has it.
int UiTestFocusCtrl(int panel);

// Makes the panel's window the active one, as the window system does when
// the user comes back to it (its title bar clicked): nothing of the
// layer's own is called.
void UiTestActivate(int panel);

// The name a screen reader reads for the control, UTF-8: Qt's accessible
// name (QAccessible), the window's text on Win32.
std::string UiTestAccessibleName(int panel, int control);

// What a screen reader knows of a link: true when it reads the control as
// a link (Qt's accessible role; Windows' link control); and the link's own
// action, as a screen reader invokes it (Qt's press action; the link
// control's click notification, without the mouse).
bool UiTestIsLink(int panel, int control);
void UiTestInvokeLink(int panel, int control);

// The panel's keyboard cues as the window system shows them: true once the
// focused control is framed (Qt's keyboard focus change; Windows' UI state
// without UISF_HIDEFOCUS).
bool UiTestFocusCuesShown(int panel);

// The text the control's widget or window shows now, UTF-8 (an edit's,
// a label's), and the desktop's clipboard's text.
std::string UiTestCtrlText(int panel, int control);
std::string UiTestClipboardText();

// Presses the close box of the panel's window.
void UiTestCloseBox(int panel);

// Runs the pending events for about ms milliseconds (at least once);
// commits stay queued.
void UiTestProcess(int ms = 0);

// Runs fn once, ms milliseconds from now, from inside whatever event loop
// runs then (a poll, a modal popup's loop); UiTestEvery runs it every ms
// milliseconds until UiTestCancel. Their id, for UiTestCancel.
int UiTestAfter(int ms, std::function<void()> fn);
int UiTestEvery(int ms, std::function<void()> fn);
void UiTestCancel(int id);

// Runs the steps one after the other, pasMs apart, from inside whatever
// event loops run then (a panel's poll, a popup's loop).
inline void UiTestSteps(std::vector<std::function<void()>> steps, int pasMs = 150) {
    auto list = std::make_shared<std::vector<std::function<void()>>>(std::move(steps));
    auto next = std::make_shared<std::function<void(size_t)>>();
    *next = [list, weak = std::weak_ptr<std::function<void(size_t)>>(next), pasMs](size_t i) {
        if (i >= list->size()) return;
        UiTestAfter(pasMs, [list, next = weak.lock(), i] {
            (*list)[i]();
            (*next)(i + 1);
        });
    };
    (*next)(0);
}

// Runs fn once, from inside the event loops, as soon as ready() holds
// (looked at every 20 ms), or after timeoutMs all the same. A step that
// needs a panel or a popup to be up then waits as long as a loaded machine
// needs, where a fixed delay would act too early and leave the panel's loop
// waiting for ever; and one whose panel never comes goes on, so that the
// test fails on its expectations instead of hanging.
inline void UiTestWhen(std::function<bool()> ready, std::function<void()> fn, int timeoutMs = 10000) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    auto id = std::make_shared<int>(0);
    *id = UiTestEvery(20, [id, ready = std::move(ready), fn = std::move(fn), limit] {
        if (!ready() && std::chrono::steady_clock::now() < limit) return;
        UiTestCancel(*id);
        fn();
    });
}

// True when the panel's window lies inside the window of panel parent
// (parent 0: when it is a top-level window of its own).
bool UiTestIsChildOf(int panel, int parent);

// True when the panel's window takes the user's input: no modal popup
// blocks it.
bool UiTestTakesInput(int panel);

// Polls GetUserEvent until a commit comes (true, with its panel and
// control) or timeoutMs passes (false).
bool UiTestWaitCommit(int *panel, int *control, int timeoutMs = 2000);

// Polls GetUserEvent for about ms milliseconds and returns the number of
// commits it reported (to check that none comes, or to empty the queue).
int UiTestCountCommits(int ms = 50);

#endif
