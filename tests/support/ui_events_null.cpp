// ui_events_null.cpp: the GUI tests' input on the null driver (see
// ui_events.h), played by the null window system (ui/null/userint_null.h).
//
// State: none of its own; the timers are the null driver's.
#include "support/ui_events.h"


#include "ui/null/userint_null.h"
#include "ui/userint.h"

namespace {

int Get(int panel, int control, int attribute) {
    int v = 0;
    GetCtrlAttributeAnsi(panel, control, attribute, &v);
    return v;
}

// A control's centre in its panel.
void Centre(int panel, int control, int *x, int *y) {
    *x = Get(panel, control, ATTR_LEFT) + Get(panel, control, ATTR_WIDTH) / 2;
    *y = Get(panel, control, ATTR_TOP) + Get(panel, control, ATTR_HEIGHT) / 2;
}

// Polls until a commit comes or ms pass; the number of commits, up to one
// when first is set.
int Poll(int ms, bool first, int *panel, int *control) {
    bool over = false;
    const int timer = UiNullAfter(ms, [&over] { over = true; }, false);
    int n = 0, p = 0, c = 0;
    while (!over) {
        if (GetUserEvent(0, &p, &c) != EVENT_COMMIT) continue;
        ++n;
        if (panel) *panel = p;
        if (control) *control = c;
        if (first) break;
    }
    UiNullCancel(timer);
    return n;
}

}  // namespace

void UiTestProcess(int ms) { UiNullProcess(ms); }

void UiTestMouseMove(int panel, int x, int y) { UiNullMovePointer(panel, x, y); }

void UiTestMouseMoveCtrl(int panel, int control, int x, int y) {
    UiNullMovePointer(panel, Get(panel, control, ATTR_LEFT) + x, Get(panel, control, ATTR_TOP) + y);
}

void UiTestClickAt(int panel, int x, int y, UiTestButton button) { UiNullClick(panel, x, y, button); }

void UiTestClick(int panel, int control, UiTestButton button) {
    int x, y;
    Centre(panel, control, &x, &y);
    UiNullClick(panel, x, y, button);
}

void UiTestPressAndReleaseAt(int panel, int x0, int y0, int x1, int y1) {
    (void)x0;
    (void)y0;
    UiNullMovePointer(panel, x1, y1);   // a press that slides off clicks nothing
}

int UiTestShownCursor() {
    if (GetWaitCursorState()) return kUiTestWaitCursor;
    int style = VAL_DEFAULT_CURSOR;
    GetMouseCursor(&style);
    return style;
}

void UiTestChooseRingItem(int panel, int control, int index) { UiNullChooseRingItem(panel, control, index); }

// The control gets the focus as a window system gives it without a click
// (which would press a button), then the key.
void UiTestKeyToCtrl(int panel, int control, int key, UiTestModifier modifiers) {
    if (SetActiveCtrl(panel, control) != 0) {
        int x, y;
        Centre(panel, control, &x, &y);
        UiNullClick(panel, x, y, UiTestLeftButton);
    }
    UiTestKey(panel, key, modifiers);
}

void UiTestKey(int panel, int key, UiTestModifier modifiers) {
    const int mods = (modifiers & UiTestShift ? 1 : 0) | (modifiers & UiTestAlt ? 4 : 0);
    switch (key) {
    case UiTestKeyTab: return UiNullKey(panel, UiNullTab, mods);
    case UiTestKeyReturn: return UiNullKey(panel, UiNullEnter, mods);
    case UiTestKeySpace: return UiNullKey(panel, UiNullSpace, mods);
    case UiTestKeyUp: return UiNullKey(panel, UiNullUp, mods);
    case UiTestKeyDown: return UiNullKey(panel, UiNullDown, mods);
    case UiTestKeyEscape: return UiNullKey(panel, UiNullEscape, mods);
    case UiTestKeyEnd: return;   // no edit moves its caret here
    default: return UiNullKey(panel, key, mods);
    }
}

// The null window system's focus is the one the core gave it.
int UiTestFocusCtrl(int panel) { return GetActiveCtrl(panel); }

// No window system to come back to: the panel's window is active as shown.
void UiTestActivate(int) {}

// No screen reader: the name the layer hands to one.
std::string UiTestAccessibleName(int panel, int control) {
    char name[1024] = "";
    GetCtrlAttributeAnsi(panel, control, ATTR_ACCESSIBLE_NAME, name);
    return name;
}

// No screen reader: a link is what the core makes one, and its action is
// its commit.
bool UiTestIsLink(int panel, int control) {
    int mode = 0;
    GetCtrlAttributeAnsi(panel, control, ATTR_CTRL_MODE, &mode);
    return mode == VAL_HOT;
}
void UiTestInvokeLink(int panel, int control) { UiNullInvoke(panel, control); }

bool UiTestFocusCuesShown(int panel) { return UiNullFocusCues(panel); }

void UiTestCloseBox(int panel) { UiNullCloseBox(panel); }

int UiTestAfter(int ms, std::function<void()> fn) { return UiNullAfter(ms, std::move(fn), false); }
int UiTestEvery(int ms, std::function<void()> fn) { return UiNullAfter(ms, std::move(fn), true); }
void UiTestCancel(int id) { UiNullCancel(id); }

bool UiTestIsChildOf(int panel, int parent) { return UiNullParentOf(panel) == parent; }

bool UiTestTakesInput(int panel) { return UiNullTakesInput(panel); }

bool UiTestWaitCommit(int *panel, int *control, int timeoutMs) { return Poll(timeoutMs, true, panel, control) > 0; }

int UiTestCountCommits(int ms) { return Poll(ms, false, nullptr, nullptr); }

// No window system: what the layer shows, and no clipboard to read.
std::string UiTestCtrlText(int panel, int control) {
    char text[1024] = "";
    GetCtrlValAnsi(panel, control, text);
    return text;
}

std::string UiTestClipboardText() { return std::string(); }
