// The layer's contract, the same on every driver: the order in which the
// arguments of a call are checked (not started, bad panel, bad control, not
// an attribute of this kind, null pointer, bad value or index), and the
// answers that once differed between the backends.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "support/ui_events.h"
#include "ui/userint.h"

namespace {

enum { P1 = 1, P2 = 2, BP_OK = 2, RING = 3, MSG = 4, INFO = 5, STR = 8 };

int g_hookCalls = 0;
void CountingHook(const char *, const char *) { ++g_hookCalls; }

int g_events = 0;
int CountEvents(int, int, void *, int, int) { return ++g_events, 0; }
int CountCtrlEvents(int, int, int, void *, int, int) { return ++g_events, 0; }

class Contract : public ::testing::Test {
protected:
    int p = 0;
    void SetUp() override {
        p = LoadPanelAnsi(0, "UiTest.uir", P1);
        ASSERT_GT(p, 0);
        ASSERT_EQ(0, DisplayPanel(p));
        UiTestProcess(20);
        UiTestCountCommits(20);
    }
    void TearDown() override { DiscardPanel(p); }
};

// Each call fails on more than one count; the first in the order wins.
TEST_F(Contract, ArgumentsAreCheckedInOneOrder) {
    int v = 0;
    char text[1024];
    const char *items[] = {"a"};
    struct Case {
        const char *what;
        std::function<int()> call;
        int expected;
    };
    const Case cases[] = {
        {"bad panel before an unknown attribute", [&] { return GetPanelAttributeAnsi(99999, 99999, (int *)nullptr); }, UIE_BAD_PANEL},
        {"bad panel before a bad control", [&] { return GetCtrlAttributeAnsi(99999, 99999, ATTR_LEFT, (int *)nullptr); }, UIE_BAD_PANEL},
        {"bad control before an unknown attribute", [&] { return GetCtrlAttributeAnsi(p, 99999, 99999, (int *)nullptr); }, UIE_BAD_CONTROL},
        {"unknown attribute before a null output", [&] { return GetCtrlAttributeAnsi(p, BP_OK, 99999, (int *)nullptr); }, UIE_BAD_ATTRIBUTE},
        {"another kind's attribute before a null output", [&] { return GetCtrlAttributeAnsi(p, BP_OK, ATTR_VISIBLE_LINES, (int *)nullptr); }, UIE_BAD_ATTRIBUTE},
        {"a panel's attribute is no control's", [&] { return SetCtrlAttributeAnsi(p, BP_OK, ATTR_BACKCOLOR, 0); }, UIE_BAD_ATTRIBUTE},
        {"a null output before the attribute's type", [&] { return GetCtrlAttributeAnsi(p, BP_OK, ATTR_LABEL_TEXT, (int *)nullptr); }, UIE_BAD_POINTER},
        {"a null text", [&] { return SetCtrlAttributeAnsi(p, BP_OK, ATTR_LABEL_TEXT, (const char *)nullptr); }, UIE_BAD_POINTER},
        {"a value out of range", [&] { return SetCtrlAttributeAnsi(p, BP_OK, ATTR_WIDTH, -1); }, UIE_BAD_VALUE},
        {"the wrong type of value", [&] { return GetCtrlValAnsi(p, MSG, &v); }, UIE_BAD_VALUE},
        {"a text box's call on a text message before a null text", [&] { return ResetTextBoxAnsi(p, MSG, nullptr); }, UIE_BAD_ATTRIBUTE},
        {"a list call on a text message before a null label", [&] { return InsertListItemAnsi(p, MSG, 99, nullptr, 0); }, UIE_BAD_ATTRIBUTE},
        {"a null label before a bad index", [&] { return InsertListItemAnsi(p, RING, 99, nullptr, 0); }, UIE_BAD_POINTER},
        {"a bad index", [&] { return InsertListItemAnsi(p, RING, 99, "x", 0); }, UIE_BAD_INDEX},
        {"a null label before a bad index, reading", [&] { return GetLabelFromIndexAnsi(p, RING, 99, nullptr); }, UIE_BAD_POINTER},
        {"an unknown parent before a missing file", [&] { return LoadPanelAnsi(99999, "Missing.uir", 1); }, UIE_BAD_PANEL},
        {"an unknown parent before a null file", [&] { return LoadPanelAnsi(99999, nullptr, 1); }, UIE_BAD_PANEL},
        {"a null file", [&] { return LoadPanelAnsi(0, nullptr, 1); }, UIE_BAD_POINTER},
        {"a missing file", [&] { return LoadPanelAnsi(0, "Missing.uir", 1); }, UIE_FILE_NOT_FOUND},
        {"a missing panel", [&] { return LoadPanelAnsi(0, "UiTest.uir", 99); }, UIE_PANEL_NOT_FOUND},
        {"a bad size", [&] { return NewPanelAnsi(0, "", 0, 0, 0, 10); }, UIE_BAD_VALUE},
        {"an unknown style", [&] { return NewCtrlAnsi(p, 99999, "", 0, 0); }, UIE_BAD_VALUE},
        {"mouse: bad control before null outputs", [&] { return GetRelativeMouseState(p, 99999, nullptr, nullptr, nullptr, nullptr, nullptr); }, UIE_BAD_CONTROL},
        {"rectangle: bad control before null outputs", [&] { return GetCtrlBoundingRect(p, 99999, nullptr, nullptr, nullptr, nullptr); }, UIE_BAD_CONTROL},
        {"print: bad panel before a null name", [&] { return PrintPanelAnsi(99999, nullptr, 0, 1, 0); }, UIE_BAD_PANEL},
        {"print: a null name", [&] { return PrintPanelAnsi(p, nullptr, 0, 1, 0); }, UIE_BAD_POINTER},
        {"print: a name that is no PDF file", [&] { return PrintPanelAnsi(p, "x.txt", 0, 1, 0); }, UIE_BAD_VALUE},
        {"a popup of an unknown panel", [&] { return InstallPopup(99999); }, UIE_BAD_PANEL},
        {"menu: null items before no items", [&] { return RunPopupMenuAnsi(nullptr, 0); }, UIE_BAD_POINTER},
        {"menu: no items", [&] { return RunPopupMenuAnsi(items, 0); }, UIE_BAD_VALUE},
        {"clipboard: null text", [&] { return ClipboardPutTextAnsi(nullptr); }, UIE_BAD_POINTER},
        {"copy popup: a null text", [&] { return MessagePopupCopyAnsi("t", "m", nullptr, "c", "", ""); }, UIE_BAD_POINTER},
        {"focus: bad panel", [&] { return GetActiveCtrl(99999); }, UIE_BAD_PANEL},
        {"focus: bad control", [&] { return SetActiveCtrl(p, 99999); }, UIE_BAD_CONTROL},
        {"focus: a text message that is no link takes none", [&] { return SetActiveCtrl(p, MSG); }, UIE_NOT_PERMITTED},
        {"a name is a text", [&] { return SetCtrlAttributeAnsi(p, BP_OK, ATTR_ACCESSIBLE_NAME, 1); }, UIE_BAD_VALUE},
        {"Escape's control is a number", [&] { return SetPanelAttributeAnsi(p, ATTR_ESCAPE_CTRL, -1); }, UIE_BAD_VALUE},
        {"screen: null outputs", [&] { return GetScreenSize(nullptr, &v); }, UIE_BAD_POINTER},
        {"folder: a null buffer", [&] { return GetProjectDirAnsi(nullptr); }, UIE_BAD_POINTER},
        {"poll: null outputs", [&] { return GetUserEvent(0, nullptr, &v); }, UIE_BAD_POINTER},
        {"panel title into an int", [&] { return GetPanelAttributeAnsi(p, ATTR_TITLE, &v); }, UIE_BAD_VALUE},
        {"panel title: null text", [&] { return SetPanelAttributeAnsi(p, ATTR_TITLE, (const char *)nullptr); }, UIE_BAD_POINTER},
        {"control text: room for the text", [&] { return GetCtrlAttributeAnsi(p, MSG, ATTR_LABEL_TEXT, text); }, 0},
    };
    for (const Case &c : cases) EXPECT_EQ(c.expected, c.call()) << c.what;
}

// A message popup with a null title fails before the hook would run (a
// hook that copies the title would read a null pointer).
TEST_F(Contract, MessagePopupChecksBeforeTheHook) {
    g_hookCalls = 0;
    UiSetMessagePopupHook(CountingHook);
    EXPECT_EQ(UIE_BAD_POINTER, MessagePopupAnsi(nullptr, "x"));
    EXPECT_EQ(UIE_BAD_POINTER, MessagePopupAnsi("x", nullptr));
    EXPECT_EQ(0, MessagePopupAnsi("x", "y"));
    UiSetMessagePopupHook(nullptr);
    EXPECT_EQ(1, g_hookCalls);
}

// A dimmed panel's close box does nothing: no EVENT_CLOSE, no commit.
TEST_F(Contract, DimmedPanelsCloseBoxDoesNothing) {
    g_events = 0;
    InstallPanelCallback(p, CountEvents, nullptr);
    ASSERT_EQ(0, SetPanelAttributeAnsi(p, ATTR_DIMMED, 1));
    UiTestCloseBox(p);
    EXPECT_EQ(0, UiTestCountCommits(30));
    EXPECT_EQ(0, g_events);
    ASSERT_EQ(0, SetPanelAttributeAnsi(p, ATTR_DIMMED, 0));
    UiTestCloseBox(p);
    EXPECT_EQ(1, UiTestCountCommits(30));
    EXPECT_EQ(1, g_events);
}

// A popup is modal whenever it is shown, also after it was hidden and shown
// again through its visibility; HidePanel ends it.
TEST_F(Contract, PopupStaysModalWhileShown) {
    const int pop = LoadPanelAnsi(0, "UiTest.uir", P2);
    ASSERT_GT(pop, 0);
    ASSERT_EQ(0, InstallPopup(pop));
    UiTestProcess(20);
    EXPECT_FALSE(UiTestTakesInput(p));
    ASSERT_EQ(0, SetPanelAttributeAnsi(pop, ATTR_VISIBLE, 0));
    UiTestProcess(20);
    EXPECT_TRUE(UiTestTakesInput(p)) << "a hidden popup blocks nothing";
    ASSERT_EQ(0, SetPanelAttributeAnsi(pop, ATTR_VISIBLE, 1));
    UiTestProcess(20);
    EXPECT_FALSE(UiTestTakesInput(p)) << "shown again, the popup is modal again";
    ASSERT_EQ(0, HidePanel(pop));
    ASSERT_EQ(0, DisplayPanel(pop));
    UiTestProcess(20);
    EXPECT_TRUE(UiTestTakesInput(p)) << "HidePanel ended the popup";
    DiscardPanel(pop);
}

// A label drawn apart whose text is set to "" is left out of the control's
// bounding rectangle.
TEST_F(Contract, EmptyLabelApartIsNoPartOfTheBoundingRectangle) {
    ASSERT_EQ(0, SetCtrlAttributeAnsi(p, INFO, ATTR_LABEL_TEXT, ""));
    int top, left, height, width, t, l, h, w;
    ASSERT_EQ(0, GetCtrlBoundingRect(p, INFO, &top, &left, &height, &width));
    GetCtrlAttributeAnsi(p, INFO, ATTR_TOP, &t);
    GetCtrlAttributeAnsi(p, INFO, ATTR_LEFT, &l);
    GetCtrlAttributeAnsi(p, INFO, ATTR_HEIGHT, &h);
    GetCtrlAttributeAnsi(p, INFO, ATTR_WIDTH, &w);
    EXPECT_EQ(t, top);
    EXPECT_EQ(l, left);
    EXPECT_EQ(h, height);
    EXPECT_EQ(w, width);
}

// Dimming a panel is no user action: a string control that had the focus
// and was not edited commits nothing.
TEST_F(Contract, OnlyAUsersEditCommits) {
    g_events = 0;
    InstallCtrlCallback(p, STR, CountCtrlEvents, nullptr);
    UiTestClick(p, STR);
    UiTestCountCommits(20);
    g_events = 0;
    ASSERT_EQ(0, SetPanelAttributeAnsi(p, ATTR_DIMMED, 1));
    UiTestProcess(20);
    EXPECT_EQ(0, UiTestCountCommits(30));
    EXPECT_EQ(0, g_events);
    ASSERT_EQ(0, SetPanelAttributeAnsi(p, ATTR_DIMMED, 0));
}

// What a panel file says reaches the records the same way on every driver:
// the panel's colour, a ring's items (their values: the file's, else their
// index) and a text's underline and colour.
TEST(ContractLoading, ThePanelFileReachesTheRecords) {
    const int p = LoadPanelAnsi(0, "UiTest.uir", 5);
    ASSERT_GT(p, 0);
    int colour = 0, items = 0, underline = 0, textColour = 0, current = -1;
    GetPanelAttributeAnsi(p, ATTR_BACKCOLOR, &colour);
    GetNumListItems(p, 2, &items);
    GetCtrlValAnsi(p, 2, &current);
    GetCtrlAttributeAnsi(p, 3, ATTR_TEXT_UNDERLINE, &underline);
    GetCtrlAttributeAnsi(p, 3, ATTR_TEXT_COLOR, &textColour);
    EXPECT_EQ(0xE0E8F0, colour);
    EXPECT_EQ(3, items);
    EXPECT_EQ(0, current) << "the first item is current";
    EXPECT_EQ(1, underline);
    EXPECT_EQ(0x0000FF, textColour);
    const struct { int index, value; const char *label; } kItems[] = {
        {0, 0, "Premier"}, {1, 20, "Deuxi\xE8me"}, {2, 2, "Troisi\xE8me"}};
    for (const auto &k : kItems) {
        int value = -1;
        char label[64] = "";
        EXPECT_EQ(0, GetValueFromIndexAnsi(p, 2, k.index, &value));
        EXPECT_EQ(0, GetLabelFromIndexAnsi(p, 2, k.index, label));
        EXPECT_EQ(k.value, value) << k.index;
        EXPECT_STREQ(k.label, label) << k.index;
    }
    DiscardPanel(p);
}

// A control's name for screen readers is its own once it has one: a new
// label does not take its place; without one, the label names it.
TEST_F(Contract, AnExplicitNameOutlivesANewLabel) {
    enum { PICT = 6 };
    ASSERT_EQ(0, SetCtrlAttributeAnsi(p, PICT, ATTR_LABEL_TEXT, "Dossier __Prof"));
    EXPECT_EQ("Dossier Prof", UiTestAccessibleName(p, PICT)) << "the label names it";
    ASSERT_EQ(0, SetCtrlAttributeAnsi(p, PICT, ATTR_ACCESSIBLE_NAME, "Manuel"));
    ASSERT_EQ(0, SetCtrlAttributeAnsi(p, PICT, ATTR_LABEL_TEXT, "Autre"));
    EXPECT_EQ("Manuel", UiTestAccessibleName(p, PICT)) << "its own name stays";
}

// The keyboard cues show once the keyboard is used in a panel (a key that
// moved the focus), or from the start in one opened from the keyboard; a
// panel opened after a click shows none (no frame round a focused link).
TEST_F(Contract, KeyboardCuesShowOnceTheKeyboardIsUsed) {
    UiTestClick(p, BP_OK);
    UiTestCountCommits(20);
    const int q = LoadPanelAnsi(0, "UiTest.uir", P2);
    ASSERT_GT(q, 0);
    DisplayPanel(q);
    UiTestProcess(20);
    EXPECT_FALSE(UiTestFocusCuesShown(q)) << "opened after a click";
    UiTestKey(q, UiTestKeyTab);
    EXPECT_TRUE(UiTestFocusCuesShown(q)) << "Tab moved the focus";
    const int r = LoadPanelAnsi(0, "UiTest.uir", P2);
    DisplayPanel(r);
    UiTestProcess(20);
    EXPECT_TRUE(UiTestFocusCuesShown(r)) << "opened from the keyboard";
    DiscardPanel(r);
    DiscardPanel(q);
}

// A text message made a link is one to screen readers, whose action opens
// it: one commit; made a text again, it is none.
TEST_F(Contract, ALinkIsOneToScreenReaders) {
    EXPECT_FALSE(UiTestIsLink(p, MSG));
    ASSERT_EQ(0, SetCtrlAttributeAnsi(p, MSG, ATTR_CTRL_MODE, VAL_HOT));
    EXPECT_TRUE(UiTestIsLink(p, MSG));
    UiTestInvokeLink(p, MSG);
    int ep = 0, ec = 0;
    EXPECT_TRUE(UiTestWaitCommit(&ep, &ec, 300));
    EXPECT_EQ(MSG, ec);
    EXPECT_EQ(0, UiTestCountCommits(50));
    ASSERT_EQ(0, SetCtrlAttributeAnsi(p, MSG, ATTR_CTRL_MODE, VAL_INDICATOR));
    EXPECT_FALSE(UiTestIsLink(p, MSG));
}

// What a key or an edit means is the same on every driver: one row per
// rule, each counting the commits of each control that follow.
TEST_F(Contract, KeysAndEditsMeanTheSameOnEveryDriver) {
    enum { NUM = 9, BP_QUIT = 10 };
    struct Step {
        int ctrl;   // the control that takes the focus first, 0 none
        std::vector<std::pair<int, UiTestModifier>> keys;
    };
    struct Row {
        const char *what;
        std::function<void()> before;
        Step step;
        std::vector<int> commits;   // the controls committed, in order
    };
    const auto none = [] {};
    const Row rows[] = {
        {"Enter on a string commits it", none, {STR, {{UiTestKeyReturn, UiTestNoModifier}}}, {STR}},
        {"an edit commits once the focus leaves it", none, {STR, {{'X', UiTestNoModifier}, {UiTestKeyTab, UiTestNoModifier}}}, {STR}},
        {"the focus leaving without an edit commits nothing", none, {STR, {{UiTestKeyTab, UiTestNoModifier}}}, {}},
        {"a numeric commits once per edit, not per keystroke", none,
         {NUM, {{'4', UiTestNoModifier}, {'2', UiTestNoModifier}, {UiTestKeyTab, UiTestShift}}}, {NUM}},
        {"Enter on a button presses it", none, {BP_OK, {{UiTestKeyReturn, UiTestNoModifier}}}, {BP_OK}},
        {"Escape commits the panel's Escape control", [&] { SetPanelAttributeAnsi(p, ATTR_ESCAPE_CTRL, BP_QUIT); },
         {BP_OK, {{UiTestKeyEscape, UiTestNoModifier}}}, {BP_QUIT}},
        {"Alt+letter presses the button marking it", none, {STR, {{'Q', UiTestAlt}}}, {BP_QUIT}},
        {"Alt+letter on a dimmed button does nothing", [&] { SetCtrlAttributeAnsi(p, BP_QUIT, ATTR_DIMMED, 1); },
         {STR, {{'Q', UiTestAlt}}}, {}},
    };
    for (const Row &r : rows) {
        SetPanelAttributeAnsi(p, ATTR_ESCAPE_CTRL, 0);
        SetCtrlAttributeAnsi(p, BP_QUIT, ATTR_DIMMED, 0);
        UiTestActivate(p);
        UiTestCountCommits(20);
        r.before();
        UiTestKeyToCtrl(p, r.step.ctrl, r.step.keys.front().first, r.step.keys.front().second);
        for (size_t i = 1; i < r.step.keys.size(); ++i) UiTestKey(p, r.step.keys[i].first, r.step.keys[i].second);
        std::vector<int> got;
        int ep = 0, ec = 0;
        while (UiTestWaitCommit(&ep, &ec, 150)) got.push_back(ec);
        EXPECT_EQ(r.commits, got) << r.what;
    }
}

}  // namespace
