// The core's own rules, on the null driver (no display): a value set again
// unchanged asks the driver nothing, panels are kept on the work area of
// their screen, and a ring always has its current item.
#include <gtest/gtest.h>

#include <functional>

#include "ui/null/userint_null.h"
#include "ui/userint.h"

namespace {

int PanelInt(int p, int attribute) {
    int v = -1;
    GetPanelAttributeAnsi(p, attribute, &v);
    return v;
}

// Each call changes what the panel shows once; made again, it asks the
// driver nothing (the panels' loops set the same values at every pass).
TEST(CoreRules, ValueSetAgainUnchangedAsksNothing) {
    const int p = NewPanelAnsi(0, "t", 100, 100, 300, 400);
    const int msg = NewCtrlAnsi(p, CTRL_TEXT_MSG, "a", 10, 10);
    const int box = NewCtrlAnsi(p, CTRL_TEXT_BOX, "", 50, 10);
    const int ring = NewCtrlAnsi(p, CTRL_RING, "", 150, 10);
    InsertListItemAnsi(p, ring, -1, "x", 1);
    InsertListItemAnsi(p, ring, -1, "y", 2);
    const std::function<int()> calls[] = {
        [&] { return SetCtrlAttributeAnsi(p, msg, ATTR_DIMMED, 1); },
        [&] { return SetCtrlAttributeAnsi(p, msg, ATTR_VISIBLE, 0); },
        [&] { return SetCtrlAttributeAnsi(p, msg, ATTR_LEFT, 20); },
        [&] { return SetCtrlAttributeAnsi(p, msg, ATTR_WIDTH, 50); },
        [&] { return SetCtrlAttributeAnsi(p, msg, ATTR_TEXT_COLOR, 0xFF0000); },
        [&] { return SetCtrlAttributeAnsi(p, msg, ATTR_TEXT_UNDERLINE, 1); },
        [&] { return SetCtrlAttributeAnsi(p, msg, ATTR_LABEL_TEXT, "b"); },
        [&] { return SetCtrlValAnsi(p, msg, "c"); },
        [&] { return SetCtrlAttributeAnsi(p, box, ATTR_VISIBLE_LINES, 3); },
        [&] { return ResetTextBoxAnsi(p, box, "texte"); },
        [&] { return SetCtrlValAnsi(p, ring, 2); },
        [&] { return ReplaceListItemAnsi(p, ring, 0, "z", 1); },
        [&] { return SetPanelAttributeAnsi(p, ATTR_DIMMED, 1); },
        [&] { return SetPanelAttributeAnsi(p, ATTR_TITLE, "u"); },
        [&] { return SetPanelAttributeAnsi(p, ATTR_BACKCOLOR, 0x00FF00); },
        [&] { return SetPanelAttributeAnsi(p, ATTR_TITLEBAR_VISIBLE, 0); },
        [&] { return SetPanelAttributeAnsi(p, ATTR_VISIBLE, 1); },
        [&] { return SetPanelPos(p, 200, 300); },
    };
    for (size_t i = 0; i < sizeof calls / sizeof calls[0]; ++i) {
        const long before = UiNullChanges();
        ASSERT_EQ(0, calls[i]()) << "call " << i;
        EXPECT_LT(before, UiNullChanges()) << "call " << i << " changed nothing";
        const long once = UiNullChanges();
        ASSERT_EQ(0, calls[i]()) << "call " << i;
        EXPECT_EQ(once, UiNullChanges()) << "call " << i << " made again";
    }
    DiscardPanel(p);
}

// Two screens side by side; a window's frame is kUiNullFrame round its
// client area.
TEST(CoreRules, PanelsAreKeptOnTheWorkAreaOfTheirScreen) {
    const int screens[2][4] = {{0, 0, 1280, 1024}, {1280, 0, 1024, 768}};
    UiNullSetScreens(screens, 2);
    const int left = kUiNullFrame[0], top = kUiNullFrame[1];
    struct Case {
        const char *what;
        int askTop, askLeft, height, width, top, left;
    } cases[] = {
        {"fits: exactly where asked", 100, 100, 300, 400, 100, 100},
        {"off the second screen's right", 100, 2200, 300, 400, 100, 2304 - 400 - kUiNullFrame[2]},
        {"off its bottom", 700, 1400, 300, 400, 768 - 300 - kUiNullFrame[3], 1400},
        {"above the top", -50, 100, 300, 400, top, 100},
        {"larger than the second screen", 10, 1300, 900, 1100, top, 1280 + left},
        {"larger than both", 10, 10, 1100, 3000, top, left},
    };
    for (const Case &c : cases) {
        const int p = NewPanelAnsi(0, "t", c.askTop, c.askLeft, c.height, c.width);
        ASSERT_GT(p, 0) << c.what;
        EXPECT_EQ(c.top, PanelInt(p, ATTR_TOP)) << c.what;
        EXPECT_EQ(c.left, PanelInt(p, ATTR_LEFT)) << c.what;
        DiscardPanel(p);
    }
    // Centred on the screen it is on.
    const int p = NewPanelAnsi(0, "t", 100, 1400, 200, 400);
    ASSERT_EQ(0, SetPanelPos(p, VAL_AUTO_CENTER, VAL_AUTO_CENTER));
    EXPECT_EQ(1280 + (1024 - 400) / 2, PanelInt(p, ATTR_LEFT));
    EXPECT_EQ((768 - 200) / 2, PanelInt(p, ATTR_TOP));
    // A child panel lies where asked in its parent, and without a title bar
    // a panel has no frame to keep on the screen.
    const int child = NewPanelAnsi(p, "c", 500, 500, 50, 50);
    EXPECT_EQ(500, PanelInt(child, ATTR_LEFT));
    ASSERT_EQ(0, SetPanelAttributeAnsi(p, ATTR_TITLEBAR_VISIBLE, 0));
    ASSERT_EQ(0, SetPanelPos(p, 0, 1280));
    EXPECT_EQ(0, PanelInt(p, ATTR_TOP));
    DiscardPanel(p);
    EXPECT_EQ(UIE_BAD_PANEL, DiscardPanel(child)) << "went with its parent";
    UiNullSetScreens(screens, 1);
}

// A panel opened where another one was lies on that one's screen, even
// when most of it would reach onto the next; a centred panel is centred on
// the screen of the panel the user works in.
TEST(CoreRules, PanelsOpenOnTheScreenOfThePanelTheyAreFor) {
    const int screens[2][4] = {{0, 0, 1280, 1024}, {1280, 0, 1024, 768}};
    UiNullSetScreens(screens, 2);
    const int wide = NewPanelAnsi(0, "t", 100, 1000, 300, 900);
    EXPECT_EQ(1280 - 900 - kUiNullFrame[2], PanelInt(wide, ATTR_LEFT)) << "kept on the first screen";
    const int owner = NewPanelAnsi(0, "o", 100, 1400, 200, 300);
    DisplayPanel(owner);
    ASSERT_EQ(0, SetPanelPos(wide, VAL_AUTO_CENTER, VAL_AUTO_CENTER));
    EXPECT_EQ(1280 + (1024 - 900) / 2, PanelInt(wide, ATTR_LEFT)) << "on the owner's screen";
    DiscardPanel(owner);
    DiscardPanel(wide);
    UiNullSetScreens(screens, 1);
}

// A ring with items always has a current one: the first inserted, the same
// item when others come or go before it, the one at its place when it goes.
TEST(CoreRules, RingKeepsItsCurrentItem) {
    const int p = NewPanelAnsi(0, "t", 10, 10, 100, 100);
    const int r = NewCtrlAnsi(p, CTRL_RING, "", 10, 10);
    struct Step {
        const char *what;
        std::function<int()> op;
        int current;   // value of the current item, -1 none
    } steps[] = {
        {"the first item", [&] { return InsertListItemAnsi(p, r, -1, "a", 10); }, 10},
        {"one after it", [&] { return InsertListItemAnsi(p, r, -1, "b", 20); }, 10},
        {"one before it", [&] { return InsertListItemAnsi(p, r, 0, "c", 30); }, 10},
        {"chosen", [&] { return SetCtrlValAnsi(p, r, 20); }, 20},
        {"one before it goes", [&] { return DeleteListItem(p, r, 0, 1); }, 20},
        {"it goes, the last", [&] { return DeleteListItem(p, r, 1, 1); }, 10},
        {"all go", [&] { return DeleteListItem(p, r, 0, -1); }, -1},
    };
    for (const Step &s : steps) {
        ASSERT_EQ(0, s.op()) << s.what;
        int v = -1, index = -2;
        EXPECT_EQ(s.current == -1 ? UIE_BAD_INDEX : 0, GetCtrlValAnsi(p, r, &v)) << s.what;
        if (s.current != -1) {
            EXPECT_EQ(s.current, v) << s.what;
        }
        GetCtrlIndex(p, r, &index);
        EXPECT_EQ(s.current == -1, index == -1) << s.what;
    }
    DiscardPanel(p);
}

}  // namespace
