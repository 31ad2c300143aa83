// Events: commits from real clicks and keys, callbacks and their
// attributes, callbacks changed from inside callbacks, the order of discard
// events, the close box, mouse moves and clicks, the mouse position, and
// the cursors.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#ifndef _WIN32
#include <QApplication>
#include <QCursor>
#include <QTest>

#include "ui/qt/userint_qt.h"
#endif

#include "support/ui_events.h"
#include "ui/userint.h"

namespace {

enum { P1 = 1, P2 = 2, BP_OK = 2, RING = 3, MSG = 4, INFO = 5, PICT = 6, CADRE = 7, BP_QUIT = 10, MSG2 = 11 };

struct Seen {
    int panel, control, event, d1, d2;
    void *data;
};
std::vector<Seen> g_seen;
int g_ctrlResult = 0;

int Record(int panel, int control, int event, void *data, int d1, int d2) {
    g_seen.push_back({panel, control, event, d1, d2, data});
    return event == EVENT_COMMIT ? g_ctrlResult : 0;
}

int RecordPanel(int panel, int event, void *data, int d1, int d2) {
    g_seen.push_back({panel, 0, event, d1, d2, data});
    return 0;
}

int PanelInt(int panel, int attribute) {
    int v = -1;
    return GetPanelAttributeAnsi(panel, attribute, &v) == 0 ? v : -1;
}

std::vector<Seen> Only(int event) {
    std::vector<Seen> out;
    for (const Seen &s : g_seen)
        if (s.event == event) out.push_back(s);
    return out;
}

class Events : public ::testing::Test {
protected:
    int p = 0;
    void SetUp() override {
        g_seen.clear();
        g_ctrlResult = 0;
        p = LoadPanelAnsi(0, "UiTest.uir", P1);
        ASSERT_GT(p, 0);
        ASSERT_EQ(0, DisplayPanel(p));
        UiTestProcess(20);
        UiTestCountCommits(10);
    }
    void TearDown() override {
        if (PanelInt(p, ATTR_VISIBLE) != -1) DiscardPanel(p);
        SetMouseCursor(VAL_DEFAULT_CURSOR);
        SetWaitCursor(0);
        UiTestCountCommits(10);
    }
};

TEST_F(Events, ClickCommitsAfterTheCallbackSawIt) {
    int tag = 7;
    ASSERT_EQ(0, InstallCtrlCallback(p, BP_OK, Record, &tag));
    UiTestClick(p, BP_OK);
    ASSERT_EQ(1u, Only(EVENT_COMMIT).size());
    const Seen s = Only(EVENT_COMMIT)[0];
    EXPECT_EQ(p, s.panel);
    EXPECT_EQ(BP_OK, s.control);
    EXPECT_EQ(&tag, s.data);
    int ep = 0, ec = 0;
    ASSERT_TRUE(UiTestWaitCommit(&ep, &ec));
    EXPECT_EQ(p, ep);
    EXPECT_EQ(BP_OK, ec);
    EXPECT_EQ(0, UiTestCountCommits(20));
    // A non-zero result swallows the commit.
    g_ctrlResult = 1;
    UiTestClick(p, BP_OK);
    EXPECT_EQ(2u, Only(EVENT_COMMIT).size());
    EXPECT_EQ(0, UiTestCountCommits(50));
}

TEST_F(Events, CommitsFromKeysShortcutsAndThroughDecorations) {
    int ep, ec;
    // Space and Enter on the focused button.
    UiTestKeyToCtrl(p, BP_OK, UiTestKeySpace);
    ASSERT_TRUE(UiTestWaitCommit(&ep, &ec));
    EXPECT_EQ(BP_OK, ec);
    UiTestKeyToCtrl(p, BP_QUIT, UiTestKeyReturn);
    ASSERT_TRUE(UiTestWaitCommit(&ep, &ec));
    EXPECT_EQ(BP_QUIT, ec);
    // Alt + the underlined letter.
    ASSERT_EQ(p, GetActivePanel());
    UiTestKey(p, 'Q', UiTestAlt);
    ASSERT_TRUE(UiTestWaitCommit(&ep, &ec, 1000));
    EXPECT_EQ(BP_QUIT, ec);
    // The label apart of a picture button carries its shortcut.
    UiTestKey(p, 'P', UiTestAlt);
    ASSERT_TRUE(UiTestWaitCommit(&ep, &ec, 1000));
    EXPECT_EQ(PICT, ec);
    // The decoration lies in front of BP_OK and lets the click through.
    UiTestClickAt(p, 60, 24);
    ASSERT_TRUE(UiTestWaitCommit(&ep, &ec));
    EXPECT_EQ(BP_OK, ec);
    UiTestClick(p, PICT);
    ASSERT_TRUE(UiTestWaitCommit(&ep, &ec));
    EXPECT_EQ(PICT, ec);
    // A dimmed button gives nothing.
    SetCtrlAttributeAnsi(p, BP_OK, ATTR_DIMMED, 1);
    UiTestClick(p, BP_OK);
    EXPECT_EQ(0, UiTestCountCommits(50));
}

TEST_F(Events, CallbackAttributesGetAndSet) {
    int a = 1, b = 2;
    ASSERT_EQ(0, InstallCtrlCallback(p, MSG, Record, &a));
    CtrlCallbackPtr cb = nullptr;
    void *data = nullptr;
    ASSERT_EQ(0, GetCtrlAttributeAnsi(p, MSG, ATTR_CALLBACK_FUNCTION_POINTER, &cb));
    EXPECT_EQ(&Record, cb);
    ASSERT_EQ(0, GetCtrlAttributeAnsi(p, MSG, ATTR_CALLBACK_DATA, &data));
    EXPECT_EQ(&a, data);
    ASSERT_EQ(0, SetCtrlAttributeAnsi(p, MSG, ATTR_CALLBACK_DATA, static_cast<void *>(&b)));
    GetCtrlAttributeAnsi(p, MSG, ATTR_CALLBACK_DATA, &data);
    EXPECT_EQ(&b, data);
    ASSERT_EQ(0, SetCtrlAttributeAnsi(p, MSG, ATTR_CALLBACK_FUNCTION_POINTER, static_cast<CtrlCallbackPtr>(nullptr)));
    GetCtrlAttributeAnsi(p, MSG, ATTR_CALLBACK_FUNCTION_POINTER, &cb);
    EXPECT_EQ(nullptr, cb);
    ASSERT_EQ(0, SetCtrlAttributeAnsi(p, MSG, ATTR_CALLBACK_FUNCTION_POINTER, Record));
    GetCtrlAttributeAnsi(p, MSG, ATTR_CALLBACK_FUNCTION_POINTER, &cb);
    EXPECT_EQ(&Record, cb);
    ASSERT_EQ(0, SetCtrlAttributeAnsi(p, MSG, ATTR_CALLBACK_DATA, 0));
    GetCtrlAttributeAnsi(p, MSG, ATTR_CALLBACK_DATA, &data);
    EXPECT_EQ(nullptr, data);

    ASSERT_EQ(0, InstallPanelCallback(p, RecordPanel, &a));
    PanelCallbackPtr pcb = nullptr;
    ASSERT_EQ(0, GetPanelAttributeAnsi(p, ATTR_CALLBACK_FUNCTION_POINTER, &pcb));
    EXPECT_EQ(&RecordPanel, pcb);
    ASSERT_EQ(0, GetPanelAttributeAnsi(p, ATTR_CALLBACK_DATA, &data));
    EXPECT_EQ(&a, data);
    ASSERT_EQ(0, SetPanelAttributeAnsi(p, ATTR_CALLBACK_DATA, static_cast<void *>(&b)));
    GetPanelAttributeAnsi(p, ATTR_CALLBACK_DATA, &data);
    EXPECT_EQ(&b, data);
    ASSERT_EQ(0, SetPanelAttributeAnsi(p, ATTR_CALLBACK_FUNCTION_POINTER, static_cast<PanelCallbackPtr>(nullptr)));
    GetPanelAttributeAnsi(p, ATTR_CALLBACK_FUNCTION_POINTER, &pcb);
    EXPECT_EQ(nullptr, pcb);
    EXPECT_EQ(UIE_BAD_VALUE, SetPanelAttributeAnsi(p, ATTR_CALLBACK_FUNCTION_POINTER, 5));
}

// ---- a callback that changes callbacks while it runs
int g_second = 0;
int Second(int, int, int event, void *, int, int) {
    if (event == EVENT_COMMIT) ++g_second;
    return 0;
}
int First(int panel, int control, int event, void *data, int d1, int d2) {
    Record(panel, control, event, data, d1, d2);
    if (event == EVENT_COMMIT) InstallCtrlCallback(panel, control, Second, nullptr);
    return 0;
}

TEST_F(Events, CallbackReplacesItselfWhileRunning) {
    g_second = 0;
    InstallCtrlCallback(p, BP_OK, First, nullptr);
    UiTestClick(p, BP_OK);
    UiTestClick(p, BP_OK);
    EXPECT_EQ(1u, Only(EVENT_COMMIT).size());
    EXPECT_EQ(1, g_second);
    EXPECT_EQ(2, UiTestCountCommits(50));
}

// ---- a chain as the hyperlink control builds one: the newest callback
// sits in front and hands every event on to the one it replaced.
struct Link {
    CtrlCallbackPtr prevCb;
    void *prevData;
    int *calls;
};
int Dispatcher(int panel, int control, int event, void *data, int d1, int d2) {
    Link *l = static_cast<Link *>(data);
    ++*l->calls;
    const CtrlCallbackPtr prev = l->prevCb;
    void *prevData = l->prevData;
    if (event == EVENT_DISCARD) {
        SetCtrlAttributeAnsi(panel, control, ATTR_CALLBACK_FUNCTION_POINTER, prev);
        SetCtrlAttributeAnsi(panel, control, ATTR_CALLBACK_DATA, prevData);
        delete l;
    }
    return prev ? prev(panel, control, event, prevData, d1, d2) : 0;
}

TEST_F(Events, ChainedCallbacksSeeEveryEventOnceAndUnwindOnDiscard) {
    int base = 0, calls = 0;
    InstallCtrlCallback(p, MSG, Record, &base);
    auto *l = new Link{nullptr, nullptr, &calls};
    GetCtrlAttributeAnsi(p, MSG, ATTR_CALLBACK_FUNCTION_POINTER, &l->prevCb);
    GetCtrlAttributeAnsi(p, MSG, ATTR_CALLBACK_DATA, &l->prevData);
    SetCtrlAttributeAnsi(p, MSG, ATTR_CALLBACK_FUNCTION_POINTER, Dispatcher);
    SetCtrlAttributeAnsi(p, MSG, ATTR_CALLBACK_DATA, static_cast<void *>(l));
    UiTestClick(p, MSG);
    EXPECT_EQ(1, calls);
    ASSERT_EQ(1u, Only(EVENT_LEFT_CLICK_UP).size());
    EXPECT_EQ(&base, Only(EVENT_LEFT_CLICK_UP)[0].data);
    ASSERT_EQ(0, DiscardPanel(p));
    EXPECT_EQ(2, calls);
    ASSERT_EQ(1u, Only(EVENT_DISCARD).size());   // the earlier callback once, not twice
    EXPECT_EQ(MSG, Only(EVENT_DISCARD)[0].control);
}

// ---- discard order, and callbacks changed by discard callbacks
int DiscardChanger(int panel, int control, int event, void *data, int d1, int d2) {
    Record(panel, control, event, data, d1, d2);
    if (event == EVENT_DISCARD && control == BP_OK) {
        InstallCtrlCallback(panel, RING, Record, nullptr);   // installed now: still called
        InstallCtrlCallback(panel, MSG, nullptr, nullptr);    // removed now: not called
        EXPECT_EQ(UIE_NOT_PERMITTED, DiscardPanel(panel));   // already going
        int v;
        EXPECT_EQ(0, GetCtrlAttributeAnsi(panel, MSG2, ATTR_VISIBLE, &v));   // still usable
    }
    return 0;
}

TEST_F(Events, DiscardTellsEveryControlInOrderThenThePanel) {
    InstallCtrlCallback(p, BP_OK, DiscardChanger, nullptr);
    InstallCtrlCallback(p, MSG, Record, nullptr);
    InstallCtrlCallback(p, BP_QUIT, Record, nullptr);
    InstallCtrlCallback(p, MSG2, Record, nullptr);
    InstallPanelCallback(p, RecordPanel, nullptr);
    ASSERT_EQ(0, DiscardPanel(p));
    const std::vector<Seen> d = Only(EVENT_DISCARD);
    ASSERT_EQ(5u, d.size());
    EXPECT_EQ(BP_OK, d[0].control);
    EXPECT_EQ(RING, d[1].control);
    EXPECT_EQ(BP_QUIT, d[2].control);
    EXPECT_EQ(MSG2, d[3].control);
    EXPECT_EQ(0, d[4].control);   // the panel last
    EXPECT_EQ(p, d[4].panel);
    int v;
    EXPECT_EQ(UIE_BAD_PANEL, GetPanelAttributeAnsi(p, ATTR_TOP, &v));
}

TEST_F(Events, ChildPanelsAreDiscardedFirst) {
    const int child = LoadPanelAnsi(p, "UiTest.uir", P2);
    ASSERT_GT(child, 0);
    InstallPanelCallback(child, RecordPanel, nullptr);
    InstallPanelCallback(p, RecordPanel, nullptr);
    InstallCtrlCallback(p, BP_OK, Record, nullptr);
    ASSERT_EQ(0, DiscardPanel(p));
    const std::vector<Seen> d = Only(EVENT_DISCARD);
    ASSERT_EQ(3u, d.size());
    EXPECT_EQ(child, d[0].panel);
    EXPECT_EQ(BP_OK, d[1].control);
    EXPECT_EQ(p, d[2].panel);
}

// ---- a commit callback that discards its own panel
int DiscardOnCommit(int panel, int, int event, void *, int, int) {
    if (event == EVENT_COMMIT) DiscardPanel(panel);
    return 0;
}

TEST_F(Events, CallbackMayDiscardItsPanelWhileQtDeliversToIt) {
    InstallCtrlCallback(p, BP_OK, DiscardOnCommit, nullptr);
    UiTestClick(p, BP_OK);
    int v;
    EXPECT_EQ(UIE_BAD_PANEL, GetPanelAttributeAnsi(p, ATTR_TOP, &v));
    EXPECT_EQ(0, UiTestCountCommits(30));   // the panel's commit went with it
}

TEST_F(Events, CommitsOfADiscardedPanelArePurged) {
    UiTestClick(p, BP_OK);
    ASSERT_EQ(0, DiscardPanel(p));
    EXPECT_EQ(0, UiTestCountCommits(30));
}

TEST_F(Events, CloseBoxCommitsTheCloseControlAndKeepsTheWindow) {
    InstallPanelCallback(p, RecordPanel, nullptr);
    InstallCtrlCallback(p, BP_QUIT, Record, nullptr);
    UiTestCloseBox(p);
    ASSERT_EQ(2u, g_seen.size());
    EXPECT_EQ(EVENT_CLOSE, g_seen[0].event);
    EXPECT_EQ(0, g_seen[0].control);
    EXPECT_EQ(EVENT_COMMIT, g_seen[1].event);
    EXPECT_EQ(BP_QUIT, g_seen[1].control);
    int ep, ec;
    ASSERT_TRUE(UiTestWaitCommit(&ep, &ec));
    EXPECT_EQ(p, ep);
    EXPECT_EQ(BP_QUIT, ec);
    EXPECT_EQ(1, PanelInt(p, ATTR_VISIBLE));
    // Swallowed by the control's callback: no commit, the window stays.
    g_ctrlResult = 1;
    UiTestCloseBox(p);
    EXPECT_EQ(0, UiTestCountCommits(30));
    EXPECT_EQ(1, PanelInt(p, ATTR_VISIBLE));
}

TEST_F(Events, CloseBoxWithoutCloseControlOnlyTellsThePanel) {
    const int q = LoadPanelAnsi(0, "UiTest.uir", P2);
    ASSERT_GT(q, 0);
    DisplayPanel(q);
    InstallPanelCallback(q, RecordPanel, nullptr);
    UiTestCloseBox(q);
    ASSERT_EQ(1u, g_seen.size());
    EXPECT_EQ(EVENT_CLOSE, g_seen[0].event);
    EXPECT_EQ(0, UiTestCountCommits(30));
    EXPECT_EQ(1, PanelInt(q, ATTR_VISIBLE));
    DiscardPanel(q);
}

TEST_F(Events, MouseMovesReachThePanelInPanelCoordinates) {
    InstallPanelCallback(p, RecordPanel, nullptr);
    UiTestMouseMove(p, 300, 250);   // blank area
    UiTestMouseMove(p, 30, 260);    // over BP_QUIT
    UiTestMouseMove(p, 210, 40);    // over the text box
    const std::vector<Seen> m = Only(EVENT_MOUSE_POINTER_MOVE);
    ASSERT_GE(m.size(), 3u);
    EXPECT_EQ(250, m[m.size() - 3].d1);
    EXPECT_EQ(300, m[m.size() - 3].d2);
    EXPECT_EQ(260, m[m.size() - 2].d1);
    EXPECT_EQ(30, m[m.size() - 2].d2);
    EXPECT_EQ(40, m.back().d1);
    EXPECT_EQ(210, m.back().d2);
    for (const Seen &s : m) EXPECT_EQ(p, s.panel);
    // A dimmed panel hears nothing.
    SetPanelAttributeAnsi(p, ATTR_DIMMED, 1);
    const size_t before = Only(EVENT_MOUSE_POINTER_MOVE).size();
    UiTestMouseMove(p, 100, 200);
    EXPECT_EQ(before, Only(EVENT_MOUSE_POINTER_MOVE).size());
}

TEST_F(Events, LeftReleaseOverAControlReachesIt) {
    InstallCtrlCallback(p, MSG2, Record, nullptr);
    InstallCtrlCallback(p, BP_QUIT, Record, nullptr);
    UiTestClickAt(p, 130, 255);   // on MSG2 at (120, 250)
    std::vector<Seen> u = Only(EVENT_LEFT_CLICK_UP);
    ASSERT_EQ(1u, u.size());
    EXPECT_EQ(MSG2, u[0].control);
    EXPECT_EQ(255, u[0].d1);
    EXPECT_EQ(130, u[0].d2);
    UiTestClick(p, BP_QUIT);
    u = Only(EVENT_LEFT_CLICK_UP);
    ASSERT_EQ(2u, u.size());
    EXPECT_EQ(BP_QUIT, u[1].control);
    // The right button, or a release away from the control, is no click up.
    UiTestClickAt(p, 130, 255, UiTestRightButton);
    UiTestPressAndReleaseAt(p, 125, 255, 80, 255);
    EXPECT_EQ(2u, Only(EVENT_LEFT_CLICK_UP).size());
    UiTestCountCommits(50);
}

TEST_F(Events, MousePositionFollowsRealEvents) {
    int x = -1, y = -1, left = -1, right = -1, keys = -1;
    UiTestMouseMove(p, 150, 120);
    ASSERT_EQ(0, GetRelativeMouseState(p, 0, &x, &y, &left, &right, &keys));
    EXPECT_EQ(150, x);
    EXPECT_EQ(120, y);
    EXPECT_EQ(0, left);
    EXPECT_EQ(0, right);
    ASSERT_EQ(0, GetRelativeMouseState(p, BP_QUIT, &x, &y, nullptr, nullptr, nullptr));
    EXPECT_EQ(150 - 10, x);
    EXPECT_EQ(120 - 250, y);
    UiTestMouseMoveCtrl(p, BP_QUIT, 100, 28);   // its bottom-right corner
    GetRelativeMouseState(p, BP_QUIT, &x, &y, nullptr, nullptr, nullptr);
    EXPECT_EQ(100, x);
    EXPECT_EQ(28, y);
#ifndef _WIN32   // Qt's offscreen cursor follows no events sent to widgets; Win32 reads the real cursor
    // A press event sent straight to a widget moves the known position too.
    QTest::mousePress(UiCtrlWidget(p, MSG2), Qt::LeftButton, Qt::NoModifier, QPoint(3, 4));
    QTest::mouseRelease(UiCtrlWidget(p, MSG2), Qt::LeftButton, Qt::NoModifier, QPoint(3, 4));
    int ep, ec;
    GetUserEvent(0, &ep, &ec);
    GetRelativeMouseState(p, MSG2, &x, &y, nullptr, nullptr, nullptr);
    EXPECT_EQ(3, x);
    EXPECT_EQ(4, y);
#endif
    // Outside the panel: negative or beyond its size.
    UiTestMouseMove(p, -20, 500);
    GetRelativeMouseState(p, 0, &x, &y, nullptr, nullptr, nullptr);
    EXPECT_EQ(-20, x);
    EXPECT_EQ(500, y);
    EXPECT_EQ(UIE_BAD_POINTER, GetRelativeMouseState(p, 0, nullptr, &y, nullptr, nullptr, nullptr));
}

TEST_F(Events, Cursors) {
    UiTestMouseMove(p, 300, 250);   // the pointer over the panel shows the cursor
    int style = 0;
    ASSERT_EQ(0, GetMouseCursor(&style));
    EXPECT_EQ(VAL_DEFAULT_CURSOR, style);
    EXPECT_EQ(VAL_DEFAULT_CURSOR, UiTestShownCursor());
    ASSERT_EQ(0, SetMouseCursor(VAL_POINTING_FINGER_CURSOR));
    EXPECT_EQ(VAL_POINTING_FINGER_CURSOR, UiTestShownCursor());
#ifndef _WIN32   // Qt's own stack of override cursors
    const QCursor *same = QGuiApplication::overrideCursor();
    ASSERT_EQ(0, SetMouseCursor(VAL_POINTING_FINGER_CURSOR));   // again: nothing changes
    EXPECT_EQ(same, QGuiApplication::overrideCursor());
#endif
    GetMouseCursor(&style);
    EXPECT_EQ(VAL_POINTING_FINGER_CURSOR, style);

    EXPECT_EQ(0, GetWaitCursorState());
    ASSERT_EQ(0, SetWaitCursor(1));
    EXPECT_EQ(1, GetWaitCursorState());
    EXPECT_EQ(kUiTestWaitCursor, UiTestShownCursor());
    GetMouseCursor(&style);
    EXPECT_EQ(VAL_POINTING_FINGER_CURSOR, style);   // the style stays under the wait cursor
    ASSERT_EQ(0, SetMouseCursor(VAL_DEFAULT_CURSOR));
    EXPECT_EQ(kUiTestWaitCursor, UiTestShownCursor());
    ASSERT_EQ(0, SetWaitCursor(0));
    EXPECT_EQ(0, GetWaitCursorState());
    EXPECT_EQ(VAL_DEFAULT_CURSOR, UiTestShownCursor()) << "no cursor of ours left behind";

    EXPECT_EQ(UIE_BAD_VALUE, SetMouseCursor(3));
    EXPECT_EQ(UIE_BAD_POINTER, GetMouseCursor(nullptr));
}

TEST_F(Events, PollFailuresAndIdle) {
    int ep, ec;
    EXPECT_EQ(UIE_BAD_POINTER, GetUserEvent(0, nullptr, &ec));
    EXPECT_EQ(UIE_BAD_POINTER, GetUserEvent(0, &ep, nullptr));
    EXPECT_EQ(0, GetUserEvent(0, &ep, &ec));
}

TEST_F(Events, OldestCommitFirst) {
    UiTestClick(p, BP_OK);
    UiTestClick(p, PICT);
    UiTestClick(p, BP_QUIT);
    int ep, ec;
    ASSERT_EQ(EVENT_COMMIT, GetUserEvent(0, &ep, &ec));
    EXPECT_EQ(BP_OK, ec);
    ASSERT_EQ(EVENT_COMMIT, GetUserEvent(0, &ep, &ec));
    EXPECT_EQ(PICT, ec);
    ASSERT_EQ(EVENT_COMMIT, GetUserEvent(0, &ep, &ec));
    EXPECT_EQ(BP_QUIT, ec);
    EXPECT_EQ(0, GetUserEvent(0, &ep, &ec));
}

}  // namespace
