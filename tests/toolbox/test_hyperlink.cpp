// The hyperlink control through the run-time with real mouse input: hover
// colour and cursor, leaving a link, adjacent links, clicks that open the
// address through the desktop's registered handler (a recording one,
// tests/support/url_recorder.h), null addresses, two links on one panel
// and their revert, the refusals of NewHyperLinkCtrl, the attribute codes,
// the z-plane rule, close and discard.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/ui_events.h"
#include "support/url_recorder.h"
#include "toolbox/hyperlinkctrl.h"
#include "toolbox/toolbox.h"
#include "ui/userint.h"

namespace {

constexpr int kBlue = 0x0000FF;
constexpr int kRed = 0xFF0000;
constexpr int kPurple = 0x800080;
constexpr int kGreen = 0x00A000;
constexpr char kSite[] = "https://www.veltrane.fr/";

// GIO reads the desktop's registrations at its first use: the recording
// handler must be there before any test opens an address.
class DesktopEnvironment : public ::testing::Environment {
public:
    void SetUp() override { UrlRecorder::Install(); }
};
const ::testing::Environment *const gDesktop =
    ::testing::AddGlobalTestEnvironment(new DesktopEnvironment);

int colourOf(int panel, int control) {
    int colour = -1;
    EXPECT_EQ(GetCtrlAttributeAnsi(panel, control, ATTR_TEXT_COLOR, &colour), 0);
    return colour;
}

int cursor() {
    int style = -99;
    EXPECT_EQ(GetMouseCursor(&style), 0);
    return style;
}

bool hasPanelLink(int panel) {
    void *data = nullptr;
    return GetChainedCallbackData(panel, 0, "HYPERLINK_PANEL_CHAIN", &data) == 0;
}

// What the panel's and the controls' own callbacks received.
struct Seen {
    int control, event;
};
std::vector<Seen> gSeen;
int gTag;

int RecordCtrl(int, int control, int event, void *data, int, int) {
    EXPECT_EQ(data, &gTag);
    gSeen.push_back({control, event});
    return 0;
}

int RecordPanel(int, int event, void *data, int, int) {
    EXPECT_EQ(data, &gTag);
    gSeen.push_back({0, event});
    return 0;
}

int countSeen(int control, int event) {
    int n = 0;
    for (const Seen &s : gSeen) n += s.control == control && s.event == event;
    return n;
}

class HyperLink : public ::testing::Test {
protected:
    void SetUp() override {
        gSeen.clear();
        UrlRecorder::ClearRecords();
        SetMouseCursor(VAL_DEFAULT_CURSOR);
        panel = NewPanelAnsi(0, "liens", 40, 40, 240, 400);
        ASSERT_GT(panel, 0);
        ASSERT_EQ(DisplayPanel(panel), 0);
        UiTestProcess(20);
        UiTestMouseMove(panel, 395, 235);   // start on empty panel area
    }
    void TearDown() override {
        ToolboxFailAllocation(0);
        if (panel > 0) DiscardPanel(panel);
        SetMouseCursor(VAL_DEFAULT_CURSOR);
        UiTestProcess();
    }

    // A text message of the given place and size.
    int text(int top, int left, int width = 120, int height = 20, const char *label = "lien") {
        const int c = NewCtrlAnsi(panel, CTRL_TEXT_MSG, label, top, left);
        EXPECT_GT(c, 0);
        EXPECT_EQ(SetCtrlAttributeAnsi(panel, c, ATTR_WIDTH, width), 0);
        EXPECT_EQ(SetCtrlAttributeAnsi(panel, c, ATTR_HEIGHT, height), 0);
        return c;
    }
    int link(int top, int left, const char *url, int width = 120, int height = 20) {
        const int c = text(top, left, width, height);
        EXPECT_EQ(NewHyperLinkCtrl(panel, c, url), 0);
        return c;
    }
    // Moves the pointer to the centre of the control.
    void over(int control) {
        int top = 0, left = 0, height = 0, width = 0;
        ASSERT_EQ(GetCtrlBoundingRect(panel, control, &top, &left, &height, &width), 0);
        UiTestMouseMove(panel, left + width / 2, top + height / 2);
    }
    // Moves the pointer to empty panel area (a new point each time, so that
    // each call is a move).
    void away() { UiTestMouseMove(panel, 380 + (++moves_ % 10), 230); }

    int panel = 0;

private:
    int moves_ = 0;
};

TEST_F(HyperLink, IsDrawnBlueAndUnderlined) {
    const int c = text(20, 20);
    int underline = -1;
    ASSERT_EQ(GetCtrlAttributeAnsi(panel, c, ATTR_TEXT_UNDERLINE, &underline), 0);
    EXPECT_EQ(underline, 0);
    ASSERT_EQ(NewHyperLinkCtrl(panel, c, kSite), 0);
    ASSERT_EQ(GetCtrlAttributeAnsi(panel, c, ATTR_TEXT_UNDERLINE, &underline), 0);
    EXPECT_EQ(underline, 1);
    EXPECT_EQ(colourOf(panel, c), kBlue);
    EXPECT_TRUE(hasPanelLink(panel));
}

TEST_F(HyperLink, HoverTurnsItRedUnderTheLinkCursorAndLeavingGivesThemBack) {
    const int a = link(20, 20, kSite);
    EXPECT_EQ(cursor(), VAL_DEFAULT_CURSOR);
    over(a);
    EXPECT_EQ(colourOf(panel, a), kRed);
    EXPECT_EQ(cursor(), VAL_POINTING_FINGER_CURSOR);
    UiTestMouseMove(panel, 25, 25);   // still over it: nothing changes
    EXPECT_EQ(colourOf(panel, a), kRed);
    EXPECT_EQ(cursor(), VAL_POINTING_FINGER_CURSOR);
    away();
    EXPECT_EQ(colourOf(panel, a), kBlue);
    EXPECT_EQ(cursor(), VAL_DEFAULT_CURSOR);   // the cursor stored when the hover began
}

TEST_F(HyperLink, HoverCountsTheControlsPixelsAsTheClickDoes) {
    const int a = link(20, 20, kSite, 100, 20);
    UiTestMouseMove(panel, 119, 39);   // the last column and row of the control
    EXPECT_EQ(colourOf(panel, a), kRed);
    UiTestMouseMove(panel, 120, 39);   // left + width: beside it, where a click opens nothing
    EXPECT_EQ(colourOf(panel, a), kBlue);
    UiTestMouseMove(panel, 119, 40);   // top + height
    EXPECT_EQ(colourOf(panel, a), kBlue);
    UiTestMouseMove(panel, 20, 20);    // left and top ends
    EXPECT_EQ(colourOf(panel, a), kRed);
    UiTestMouseMove(panel, 20, 19);
    EXPECT_EQ(colourOf(panel, a), kBlue);
}

TEST_F(HyperLink, StraightFromOneLinkToTheNextLeavesBothRedUntilEmptyArea) {
    const int a = link(20, 20, kSite, 100, 20);
    const int b = link(20, 121, "https://www.veltrane.fr/produits", 100, 20);   // adjacent
    over(a);
    EXPECT_EQ(colourOf(panel, a), kRed);
    over(b);
    EXPECT_EQ(colourOf(panel, b), kRed);
    EXPECT_EQ(colourOf(panel, a), kRed);   // the cursor was already the link cursor
    EXPECT_EQ(cursor(), VAL_POINTING_FINGER_CURSOR);
    away();
    EXPECT_EQ(colourOf(panel, a), kBlue);
    EXPECT_EQ(colourOf(panel, b), kBlue);
    EXPECT_EQ(cursor(), VAL_DEFAULT_CURSOR);
}

TEST_F(HyperLink, EmptyAreaGivesVisitedLinksPurpleAndTheOthersBlue) {
    const int a = link(20, 20, kSite);
    const int b = link(60, 20, "https://www.veltrane.fr/contact");
    UiTestClick(panel, a);
    ASSERT_TRUE(UrlRecorder::WaitForRecords(1));
    over(b);
    EXPECT_EQ(colourOf(panel, b), kRed);
    over(a);
    EXPECT_EQ(colourOf(panel, a), kRed);   // a visited link turns red under the pointer too
    away();
    EXPECT_EQ(colourOf(panel, a), kPurple);
    EXPECT_EQ(colourOf(panel, b), kBlue);
}

TEST_F(HyperLink, LinkCursorPutUpElsewhereIsTakenDownOverNoLink) {
    const int a = link(20, 20, kSite);
    SetMouseCursor(VAL_POINTING_FINGER_CURSOR);   // e.g. a hover button of the panel
    away();
    EXPECT_EQ(cursor(), VAL_DEFAULT_CURSOR);
    EXPECT_EQ(colourOf(panel, a), kBlue);
}

TEST_F(HyperLink, EmptyAreaChangesNothingWhileTheLinkCursorIsNotShowing) {
    const int a = link(20, 20, kSite);
    over(a);
    SetMouseCursor(VAL_DEFAULT_CURSOR);   // someone else took the link cursor down
    away();
    EXPECT_EQ(colourOf(panel, a), kRed);
    EXPECT_EQ(cursor(), VAL_DEFAULT_CURSOR);
    over(a);
    EXPECT_EQ(cursor(), VAL_POINTING_FINGER_CURSOR);
    away();
    EXPECT_EQ(colourOf(panel, a), kBlue);
}

TEST_F(HyperLink, LeftClickOpensTheAddressThroughTheDesktopAndMarksItVisited) {
    const int a = link(20, 20, kSite);
    UiTestClick(panel, a, UiTestRightButton);   // only the left button opens
    EXPECT_FALSE(UrlRecorder::WaitForRecords(1, 300));
    EXPECT_EQ(colourOf(panel, a), kRed);
    UiTestClick(panel, a);
    ASSERT_TRUE(UrlRecorder::WaitForRecords(1));
    EXPECT_EQ(UrlRecorder::Records(), std::vector<std::string>{kSite});
    EXPECT_EQ(colourOf(panel, a), kPurple);
    EXPECT_EQ(GetWaitCursorState(), 0);   // the wait cursor is taken off again
    away();
    EXPECT_EQ(colourOf(panel, a), kPurple);
    EXPECT_EQ(UiTestCountCommits(), 0);   // a text message commits nothing
}

TEST_F(HyperLink, FailedOpeningLeavesItUnvisited) {
    const int a = link(20, 20, "vlic-no-such-scheme://www.veltrane.fr/");
    UiTestClick(panel, a);
    EXPECT_FALSE(UrlRecorder::WaitForRecords(1, 300));
    EXPECT_EQ(colourOf(panel, a), kRed);   // as the hover left it
    EXPECT_EQ(GetWaitCursorState(), 0);
    away();
    EXPECT_EQ(colourOf(panel, a), kBlue);
}

TEST_F(HyperLink, KeepsTheWaitCursorSomeoneElsePutUp) {
    const int a = link(20, 20, kSite);
    SetWaitCursor(1);
    UiTestClick(panel, a);
    ASSERT_TRUE(UrlRecorder::WaitForRecords(1));
    EXPECT_EQ(GetWaitCursorState(), 1);
    SetWaitCursor(0);
}

TEST_F(HyperLink, NullAddressHoversButNeverOpensNorBecomesVisited) {
    const int a = link(20, 20, nullptr);
    over(a);
    EXPECT_EQ(colourOf(panel, a), kRed);
    UiTestClick(panel, a);
    EXPECT_FALSE(UrlRecorder::WaitForRecords(1, 300));
    away();
    EXPECT_EQ(colourOf(panel, a), kBlue);
    int length = -1;
    EXPECT_EQ(GetHyperLinkCtrlAttribute(panel, a, HYPERLINK_ATTR_ADDRESS_LENGTH, &length), 0);
    EXPECT_EQ(length, 0);
    char address[64] = "garbage";
    EXPECT_EQ(GetHyperLinkCtrlAttribute(panel, a, HYPERLINK_ATTR_ADDRESS, address), 0);
    EXPECT_STREQ(address, "");
}

TEST_F(HyperLink, TheControlsAndThePanelsOwnCallbacksStillReceiveEveryEvent) {
    const int a = text(20, 20);
    ASSERT_EQ(InstallCtrlCallback(panel, a, RecordCtrl, &gTag), 0);
    ASSERT_EQ(InstallPanelCallback(panel, RecordPanel, &gTag), 0);
    ASSERT_EQ(NewHyperLinkCtrl(panel, a, kSite), 0);
    over(a);
    EXPECT_GE(countSeen(0, EVENT_MOUSE_POINTER_MOVE), 1);
    UiTestClick(panel, a);
    EXPECT_EQ(countSeen(a, EVENT_LEFT_CLICK_UP), 1);
    ASSERT_TRUE(UrlRecorder::WaitForRecords(1));
    ASSERT_EQ(DiscardPanel(panel), 0);
    panel = 0;
    EXPECT_EQ(countSeen(a, EVENT_DISCARD), 1);
    EXPECT_EQ(countSeen(0, EVENT_DISCARD), 1);
}

TEST_F(HyperLink, TwoLinksShareOnePanelCallbackUntilBothAreReverted) {
    ASSERT_EQ(InstallPanelCallback(panel, RecordPanel, &gTag), 0);
    const int a = link(20, 20, kSite);
    const int b = link(60, 20, "https://www.veltrane.fr/contact");
    // One panel link serves both: a second one cannot be chained.
    EXPECT_EQ(ChainPanelCallback(panel, HyperLinkPanelCallback, nullptr, "HYPERLINK_PANEL_CHAIN"),
              UIEBadCtrlType);

    over(a);
    EXPECT_EQ(RevertHyperLinkCtrl(panel, a), 0);
    EXPECT_TRUE(hasPanelLink(panel));
    int underline = 0;
    GetCtrlAttributeAnsi(panel, a, ATTR_TEXT_UNDERLINE, &underline);
    EXPECT_EQ(underline, 1);               // the text keeps its look
    EXPECT_EQ(colourOf(panel, a), kRed);   // in its last colour
    away();
    over(b);                               // hover goes on for the other one
    EXPECT_EQ(colourOf(panel, b), kRed);
    EXPECT_EQ(colourOf(panel, a), kRed);   // no longer a link: left alone
    UiTestClick(panel, a);                 // and no longer opens anything
    EXPECT_FALSE(UrlRecorder::WaitForRecords(1, 300));
    EXPECT_EQ(RevertHyperLinkCtrl(panel, a), ToolErr_NotHyperLink);

    EXPECT_EQ(RevertHyperLinkCtrl(panel, b), 0);
    EXPECT_FALSE(hasPanelLink(panel));
    PanelCallbackPtr fn = nullptr;
    void *data = nullptr;
    GetPanelAttributeAnsi(panel, ATTR_CALLBACK_FUNCTION_POINTER, &fn);
    GetPanelAttributeAnsi(panel, ATTR_CALLBACK_DATA, &data);
    EXPECT_EQ(fn, &RecordPanel);   // the panel's own callback is back in place
    EXPECT_EQ(data, &gTag);

    // A new link after that chains the panel callback again.
    EXPECT_EQ(NewHyperLinkCtrl(panel, b, kSite), 0);
    EXPECT_TRUE(hasPanelLink(panel));
    away();
    over(b);
    EXPECT_EQ(colourOf(panel, b), kRed);
}

TEST_F(HyperLink, OnlyATextMessageAndOnlyOnceBecomesALink) {
    const int button = NewCtrlAnsi(panel, CTRL_COMMAND_BUTTON, "bouton", 100, 20);
    const int numeric = NewCtrlAnsi(panel, CTRL_NUMERIC, "nombre", 150, 20);
    ASSERT_EQ(InstallCtrlCallback(panel, button, RecordCtrl, &gTag), 0);
    EXPECT_EQ(NewHyperLinkCtrl(panel, button, kSite), UIEBadCtrlType);
    EXPECT_EQ(NewHyperLinkCtrl(panel, numeric, kSite), UIEBadCtrlType);
    int underline = -1;
    GetCtrlAttributeAnsi(panel, button, ATTR_TEXT_UNDERLINE, &underline);
    EXPECT_EQ(underline, 0);   // left as it was
    EXPECT_NE(colourOf(panel, button), kBlue);
    CtrlCallbackPtr fn = nullptr;
    GetCtrlAttributeAnsi(panel, button, ATTR_CALLBACK_FUNCTION_POINTER, &fn);
    EXPECT_EQ(fn, &RecordCtrl);
    EXPECT_FALSE(hasPanelLink(panel));
    EXPECT_LT(NewHyperLinkCtrl(panel, 999, kSite), 0);   // no such control
    EXPECT_LT(NewHyperLinkCtrl(-4, 1, kSite), 0);        // no such panel

    const int a = link(20, 20, kSite);
    SetCtrlAttributeAnsi(panel, a, ATTR_TEXT_UNDERLINE, 0);
    SetCtrlAttributeAnsi(panel, a, ATTR_TEXT_COLOR, kGreen);
    EXPECT_EQ(NewHyperLinkCtrl(panel, a, "https://ailleurs.example/"), UIEBadCtrlType);
    GetCtrlAttributeAnsi(panel, a, ATTR_TEXT_UNDERLINE, &underline);
    EXPECT_EQ(underline, 1);   // set again all the same
    EXPECT_EQ(colourOf(panel, a), kBlue);
    char address[64] = "";
    EXPECT_EQ(GetHyperLinkCtrlAttribute(panel, a, HYPERLINK_ATTR_ADDRESS, address), 0);
    EXPECT_STREQ(address, kSite);   // the first address stays
    // Still one working link.
    UiTestClick(panel, a);
    ASSERT_TRUE(UrlRecorder::WaitForRecords(1));
    EXPECT_EQ(UrlRecorder::Records(), std::vector<std::string>{kSite});
}

TEST_F(HyperLink, AttributeCodes) {
    const int a = link(20, 20, kSite);
    const int plain = text(60, 20);
    int length = -1;
    char address[64] = "";
    EXPECT_EQ(GetHyperLinkCtrlAttribute(panel, a, HYPERLINK_ATTR_ADDRESS_LENGTH, &length), 0);
    EXPECT_EQ(length, static_cast<int>(sizeof kSite) - 1);
    EXPECT_EQ(GetHyperLinkCtrlAttribute(panel, a, HYPERLINK_ATTR_ADDRESS, address), 0);
    EXPECT_STREQ(address, kSite);
    EXPECT_EQ(GetHyperLinkCtrlAttribute(panel, a, 3, &length), UIEBadAttribute);
    EXPECT_EQ(GetHyperLinkCtrlAttribute(panel, a, HYPERLINK_ATTR_ADDRESS, nullptr), UIENullPointerPassed);
    EXPECT_EQ(GetHyperLinkCtrlAttribute(panel, plain, HYPERLINK_ATTR_ADDRESS, address), ToolErr_NotHyperLink);
    EXPECT_EQ(SetHyperLinkCtrlAttribute(panel, plain, HYPERLINK_ATTR_ADDRESS, kSite), ToolErr_NotHyperLink);
    EXPECT_EQ(RevertHyperLinkCtrl(panel, plain), ToolErr_NotHyperLink);
    EXPECT_EQ(SetHyperLinkCtrlAttribute(panel, a, HYPERLINK_ATTR_ADDRESS_LENGTH, 5), UIEBadAttribute);
    EXPECT_EQ(SetHyperLinkCtrlAttribute(panel, a, 0, kSite), UIEBadAttribute);
    EXPECT_LT(GetHyperLinkCtrlAttribute(panel, 999, HYPERLINK_ATTR_ADDRESS, address), 0);

    // A visited link keeps its colour and its mark when its address changes.
    UiTestClick(panel, a);
    ASSERT_TRUE(UrlRecorder::WaitForRecords(1));
    EXPECT_EQ(SetHyperLinkCtrlAttribute(panel, a, HYPERLINK_ATTR_ADDRESS, "https://veltrane.example/x"), 0);
    EXPECT_EQ(colourOf(panel, a), kPurple);
    EXPECT_EQ(GetHyperLinkCtrlAttribute(panel, a, HYPERLINK_ATTR_ADDRESS, address), 0);
    EXPECT_STREQ(address, "https://veltrane.example/x");
    away();
    EXPECT_EQ(colourOf(panel, a), kPurple);
    UiTestClick(panel, a);
    ASSERT_TRUE(UrlRecorder::WaitForRecords(2));
    EXPECT_EQ(UrlRecorder::Records().back(), "https://veltrane.example/x");

    EXPECT_EQ(SetHyperLinkCtrlAttribute(panel, a, HYPERLINK_ATTR_ADDRESS, nullptr), 0);
    EXPECT_EQ(GetHyperLinkCtrlAttribute(panel, a, HYPERLINK_ATTR_ADDRESS_LENGTH, &length), 0);
    EXPECT_EQ(length, 0);
    UiTestClick(panel, a);
    EXPECT_FALSE(UrlRecorder::WaitForRecords(3, 300));
}

TEST_F(HyperLink, OutOfMemoryLeavesNoHalfMadeLink) {
    const int a = text(20, 20);
    ToolboxFailAllocation(1);   // the record
    EXPECT_EQ(NewHyperLinkCtrl(panel, a, kSite), UIEOutOfMemory);
    EXPECT_FALSE(hasPanelLink(panel));   // the panel link it made is taken off again
    ToolboxFailAllocation(2);   // the copy of the address
    EXPECT_EQ(NewHyperLinkCtrl(panel, a, kSite), UIEOutOfMemory);
    ToolboxFailAllocation(3);   // the control's chain link
    EXPECT_EQ(NewHyperLinkCtrl(panel, a, kSite), UIEOutOfMemory);
    EXPECT_FALSE(hasPanelLink(panel));
    ToolboxFailAllocation(0);
    char address[64];
    EXPECT_EQ(GetHyperLinkCtrlAttribute(panel, a, HYPERLINK_ATTR_ADDRESS, address), ToolErr_NotHyperLink);

    ASSERT_EQ(NewHyperLinkCtrl(panel, a, kSite), 0);
    ToolboxFailAllocation(1);
    EXPECT_EQ(SetHyperLinkCtrlAttribute(panel, a, HYPERLINK_ATTR_ADDRESS, "https://x.example/"), UIEOutOfMemory);
    int length = -1;
    EXPECT_EQ(GetHyperLinkCtrlAttribute(panel, a, HYPERLINK_ATTR_ADDRESS_LENGTH, &length), 0);
    EXPECT_EQ(length, 0);   // the link is left without an address
}

TEST_F(HyperLink, AControlInFrontEvenHiddenTakesTheHover) {
    const int behind = text(20, 20, 200, 40);   // made first: further back
    const int a = link(20, 20, kSite, 200, 40);
    const int front = text(20, 120, 100, 40);   // made last: front-most, over a's right half
    ASSERT_EQ(SetCtrlAttributeAnsi(panel, front, ATTR_VISIBLE, 0), 0);
    (void)behind;
    UiTestMouseMove(panel, 60, 40);    // over a and the control behind it only
    EXPECT_EQ(colourOf(panel, a), kRed);
    EXPECT_EQ(cursor(), VAL_POINTING_FINGER_CURSOR);
    UiTestMouseMove(panel, 160, 40);   // under the hidden control in front
    EXPECT_EQ(colourOf(panel, a), kBlue);
    EXPECT_EQ(cursor(), VAL_DEFAULT_CURSOR);
    UiTestMouseMove(panel, 119, 41);   // just beside it
    EXPECT_EQ(colourOf(panel, a), kRed);
    UiTestMouseMove(panel, 120, 41);   // its left end counts as its own
    EXPECT_EQ(colourOf(panel, a), kBlue);
}

TEST_F(HyperLink, CloseBoxTakesTheHoverOffButClicksStillOpen) {
    const int a = link(20, 20, kSite);
    UiTestCloseBox(panel);
    EXPECT_FALSE(hasPanelLink(panel));
    over(a);
    EXPECT_EQ(colourOf(panel, a), kBlue);
    UiTestClick(panel, a);
    ASSERT_TRUE(UrlRecorder::WaitForRecords(1));
    EXPECT_EQ(colourOf(panel, a), kPurple);
    // A further link on that panel does not bring the hover back while one is left.
    const int b = link(60, 20, kSite);
    over(b);
    EXPECT_EQ(colourOf(panel, b), kBlue);
}

TEST_F(HyperLink, DiscardFreesEveryRecordAndLink) {
    // LeakSanitizer and AddressSanitizer hold this test in the sanitizer build:
    // records, address copies and chain links are freed with the panel, with
    // other chained links in front of and behind the hyperlink's.
    const int a = text(20, 20);
    ASSERT_EQ(ChainCtrlCallback(panel, a, RecordCtrl, &gTag, "BEFORE"), 0);
    ASSERT_EQ(NewHyperLinkCtrl(panel, a, kSite), 0);
    ASSERT_EQ(ChainCtrlCallback(panel, a, RecordCtrl, &gTag, "AFTER"), 0);
    link(60, 20, "https://www.veltrane.fr/contact");
    link(100, 20, nullptr);
    ASSERT_EQ(ChainPanelCallback(panel, RecordPanel, &gTag, "PANEL"), 0);
    over(a);
    ASSERT_EQ(DiscardPanel(panel), 0);
    panel = 0;
    EXPECT_EQ(countSeen(a, EVENT_DISCARD), 2);
    EXPECT_EQ(countSeen(0, EVENT_DISCARD), 1);
}

}   // namespace
