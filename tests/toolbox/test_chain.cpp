// The callback-chaining facility on its own: order of the calls, a chained
// callback stopping the earlier ones, unchaining, the data look-up, and what
// a discard does. Events are delivered as the run-time delivers them: the
// installed callback (attribute 513) is called with the installed data (510);
// discards come from DiscardPanel itself.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolbox/toolbox.h"
#include "ui/userint.h"

namespace {

std::vector<std::string> gCalls;   // "<name>:<event>:<data>" of every callback run
int gResultOf[4];                  // what the recording callbacks A, B, C, original return

// Data tags: the address of one of these is a callback's data.
int gTagA, gTagB, gTagC, gTagOrig;

std::string tagName(void *data) {
    if (data == &gTagA) return "a";
    if (data == &gTagB) return "b";
    if (data == &gTagC) return "c";
    if (data == &gTagOrig) return "o";
    return data == nullptr ? "null" : "?";
}

int record(const char *name, int index, int event, void *data) {
    gCalls.push_back(std::string(name) + ":" + std::to_string(event) + ":" + tagName(data));
    return gResultOf[index];
}

int CbA(int, int, int event, void *data, int, int) { return record("A", 0, event, data); }
int CbB(int, int, int event, void *data, int, int) { return record("B", 1, event, data); }
int CbC(int, int, int event, void *data, int, int) { return record("C", 2, event, data); }
int CbOrig(int, int, int event, void *data, int, int) { return record("O", 3, event, data); }
int PCbA(int, int event, void *data, int, int) { return record("A", 0, event, data); }
int PCbB(int, int event, void *data, int, int) { return record("B", 1, event, data); }
int PCbOrig(int, int event, void *data, int, int) { return record("O", 3, event, data); }

// Delivers event to the control's installed callback as the run-time does;
// returns the callback's result.
int sendCtrl(int panel, int control, int event) {
    CtrlCallbackPtr fn = nullptr;
    void *data = nullptr;
    EXPECT_EQ(GetCtrlAttributeAnsi(panel, control, ATTR_CALLBACK_FUNCTION_POINTER, &fn), 0);
    EXPECT_EQ(GetCtrlAttributeAnsi(panel, control, ATTR_CALLBACK_DATA, &data), 0);
    return fn ? fn(panel, control, event, data, 0, 0) : 0;
}

int sendPanel(int panel, int event) {
    PanelCallbackPtr fn = nullptr;
    void *data = nullptr;
    EXPECT_EQ(GetPanelAttributeAnsi(panel, ATTR_CALLBACK_FUNCTION_POINTER, &fn), 0);
    EXPECT_EQ(GetPanelAttributeAnsi(panel, ATTR_CALLBACK_DATA, &data), 0);
    return fn ? fn(panel, event, data, 0, 0) : 0;
}

using Calls = std::vector<std::string>;

class Chain : public ::testing::Test {
protected:
    void SetUp() override {
        gCalls.clear();
        for (int &r : gResultOf) r = 0;
        panel = NewPanelAnsi(0, "chain", 10, 10, 200, 300);
        ASSERT_GT(panel, 0);
        ctrl = NewCtrlAnsi(panel, CTRL_COMMAND_BUTTON, "button", 10, 10);
        ASSERT_GT(ctrl, 0);
        ASSERT_EQ(InstallCtrlCallback(panel, ctrl, CbOrig, &gTagOrig), 0);
    }
    void TearDown() override {
        ToolboxFailAllocation(0);
        if (panel > 0) DiscardPanel(panel);
    }
    int panel = 0;
    int ctrl = 0;
};

TEST_F(Chain, NewestRunsFirstThenEachEarlierOneWithItsOwnData) {
    ASSERT_EQ(ChainCtrlCallback(panel, ctrl, CbA, &gTagA, "A"), 0);
    ASSERT_EQ(ChainCtrlCallback(panel, ctrl, CbB, &gTagB, "B"), 0);
    gResultOf[3] = 7;
    EXPECT_EQ(sendCtrl(panel, ctrl, EVENT_COMMIT), 7);   // the original callback's result
    EXPECT_EQ(gCalls, (Calls{"B:1:b", "A:1:a", "O:1:o"}));
}

TEST_F(Chain, NonZeroResultOfAChainedCallbackStopsTheEarlierOnes) {
    ASSERT_EQ(ChainCtrlCallback(panel, ctrl, CbA, &gTagA, "A"), 0);
    ASSERT_EQ(ChainCtrlCallback(panel, ctrl, CbB, &gTagB, "B"), 0);
    gResultOf[1] = 5;
    EXPECT_EQ(sendCtrl(panel, ctrl, EVENT_COMMIT), 5);
    EXPECT_EQ(gCalls, (Calls{"B:1:b"}));
    gCalls.clear();
    gResultOf[1] = 0;
    gResultOf[0] = -3;
    EXPECT_EQ(sendCtrl(panel, ctrl, EVENT_COMMIT), -3);
    EXPECT_EQ(gCalls, (Calls{"B:1:b", "A:1:a"}));
}

TEST_F(Chain, NullCallbackOnlyPassesTheEventOn) {
    ASSERT_EQ(ChainCtrlCallback(panel, ctrl, nullptr, &gTagA, "none"), 0);
    EXPECT_EQ(sendCtrl(panel, ctrl, EVENT_COMMIT), 0);
    EXPECT_EQ(gCalls, (Calls{"O:1:o"}));
}

TEST_F(Chain, NullOrRepeatedTypeNameIsRefused) {
    EXPECT_EQ(ChainCtrlCallback(panel, ctrl, CbA, &gTagA, nullptr), UIENullPointerPassed);
    ASSERT_EQ(ChainCtrlCallback(panel, ctrl, CbA, &gTagA, "A"), 0);
    ASSERT_EQ(ChainCtrlCallback(panel, ctrl, CbB, &gTagB, "B"), 0);
    EXPECT_EQ(ChainCtrlCallback(panel, ctrl, CbC, &gTagC, "A"), UIEBadCtrlType);   // older one
    EXPECT_EQ(ChainCtrlCallback(panel, ctrl, CbC, &gTagC, "B"), UIEBadCtrlType);   // newest one
    sendCtrl(panel, ctrl, EVENT_COMMIT);
    EXPECT_EQ(gCalls, (Calls{"B:1:b", "A:1:a", "O:1:o"}));   // nothing changed
    EXPECT_EQ(UnchainCtrlCallback(panel, ctrl, nullptr), UIENullPointerPassed);
    void *data = nullptr;
    EXPECT_EQ(GetChainedCallbackData(panel, ctrl, nullptr, &data), UIENullPointerPassed);
}

TEST_F(Chain, AFailingRunTimeCallIsPassedOn) {
    EXPECT_LT(ChainCtrlCallback(panel, 999, CbA, &gTagA, "A"), 0);
    EXPECT_LT(ChainPanelCallback(-5, PCbA, &gTagA, "A"), 0);
    EXPECT_LT(UnchainCtrlCallback(panel, 999, "A"), 0);
    void *data = nullptr;
    EXPECT_LT(GetChainedCallbackData(panel, 999, "A", &data), 0);
}

TEST_F(Chain, UnchainingTheNewestPutsBackWhatWasThereBefore) {
    ASSERT_EQ(ChainCtrlCallback(panel, ctrl, CbA, &gTagA, "A"), 0);
    ASSERT_EQ(ChainCtrlCallback(panel, ctrl, CbB, &gTagB, "B"), 0);
    EXPECT_EQ(UnchainCtrlCallback(panel, ctrl, "B"), 1);
    EXPECT_EQ(UnchainCtrlCallback(panel, ctrl, "B"), 0);   // no longer there
    sendCtrl(panel, ctrl, EVENT_COMMIT);
    EXPECT_EQ(gCalls, (Calls{"A:1:a", "O:1:o"}));
    EXPECT_EQ(UnchainCtrlCallback(panel, ctrl, "A"), 1);

    CtrlCallbackPtr fn = nullptr;
    void *data = nullptr;
    GetCtrlAttributeAnsi(panel, ctrl, ATTR_CALLBACK_FUNCTION_POINTER, &fn);
    GetCtrlAttributeAnsi(panel, ctrl, ATTR_CALLBACK_DATA, &data);
    EXPECT_EQ(fn, &CbOrig);
    EXPECT_EQ(data, &gTagOrig);
}

TEST_F(Chain, UnchainingAnOlderLinkLeavesTheOthersInOrder) {
    ASSERT_EQ(ChainCtrlCallback(panel, ctrl, CbA, &gTagA, "A"), 0);
    ASSERT_EQ(ChainCtrlCallback(panel, ctrl, CbB, &gTagB, "B"), 0);
    ASSERT_EQ(ChainCtrlCallback(panel, ctrl, CbC, &gTagC, "C"), 0);
    EXPECT_EQ(UnchainCtrlCallback(panel, ctrl, "B"), 1);   // the middle one
    sendCtrl(panel, ctrl, EVENT_COMMIT);
    EXPECT_EQ(gCalls, (Calls{"C:1:c", "A:1:a", "O:1:o"}));
    gCalls.clear();
    EXPECT_EQ(UnchainCtrlCallback(panel, ctrl, "A"), 1);   // the oldest one
    sendCtrl(panel, ctrl, EVENT_COMMIT);
    EXPECT_EQ(gCalls, (Calls{"C:1:c", "O:1:o"}));
    EXPECT_EQ(UnchainCtrlCallback(panel, ctrl, "A"), 0);
    // A name may be chained again once it is gone.
    EXPECT_EQ(ChainCtrlCallback(panel, ctrl, CbA, &gTagA, "A"), 0);
    gCalls.clear();
    sendCtrl(panel, ctrl, EVENT_COMMIT);
    EXPECT_EQ(gCalls, (Calls{"A:1:a", "C:1:c", "O:1:o"}));
}

TEST_F(Chain, DataLookUpByTypeNameAndOfTheFirstCallback) {
    void *data = &gTagC;
    EXPECT_EQ(GetChainedCallbackData(panel, ctrl, "A", &data), UIEBadCtrlType);
    EXPECT_EQ(data, &gTagC);   // left as it was
    EXPECT_EQ(GetChainedCallbackData(panel, ctrl, "", &data), 0);
    EXPECT_EQ(data, &gTagOrig);   // no chain: the installed callback's data

    ASSERT_EQ(ChainCtrlCallback(panel, ctrl, CbA, &gTagA, "A"), 0);
    ASSERT_EQ(ChainCtrlCallback(panel, ctrl, CbB, &gTagB, "B"), 0);
    EXPECT_EQ(GetChainedCallbackData(panel, ctrl, "A", &data), 0);
    EXPECT_EQ(data, &gTagA);
    EXPECT_EQ(GetChainedCallbackData(panel, ctrl, "B", &data), 0);
    EXPECT_EQ(data, &gTagB);
    EXPECT_EQ(GetChainedCallbackData(panel, ctrl, "", &data), 0);
    EXPECT_EQ(data, &gTagOrig);
    EXPECT_EQ(GetChainedCallbackData(panel, ctrl, "HYPERLINK_CTRL_CHAIN", &data), UIEBadCtrlType);

    // Control 0 is the panel's chain, apart from the control's.
    EXPECT_EQ(GetChainedCallbackData(panel, 0, "A", &data), UIEBadCtrlType);
    ASSERT_EQ(InstallPanelCallback(panel, PCbOrig, &gTagOrig), 0);
    ASSERT_EQ(ChainPanelCallback(panel, PCbB, &gTagC, "A"), 0);
    EXPECT_EQ(GetChainedCallbackData(panel, 0, "A", &data), 0);
    EXPECT_EQ(data, &gTagC);
    EXPECT_EQ(GetChainedCallbackData(panel, 0, "", &data), 0);
    EXPECT_EQ(data, &gTagOrig);
}

TEST_F(Chain, PanelChainKeepsTheSameOrder) {
    ASSERT_EQ(InstallPanelCallback(panel, PCbOrig, &gTagOrig), 0);
    ASSERT_EQ(ChainPanelCallback(panel, PCbA, &gTagA, "A"), 0);
    ASSERT_EQ(ChainPanelCallback(panel, PCbB, &gTagB, "B"), 0);
    EXPECT_EQ(ChainPanelCallback(panel, PCbB, &gTagB, "A"), UIEBadCtrlType);
    EXPECT_EQ(ChainPanelCallback(panel, PCbB, &gTagB, nullptr), UIENullPointerPassed);
    sendPanel(panel, EVENT_CLOSE);
    EXPECT_EQ(gCalls, (Calls{"B:11:b", "A:11:a", "O:11:o"}));
    gCalls.clear();
    EXPECT_EQ(UnchainPanelCallback(panel, "A"), 1);
    EXPECT_EQ(UnchainPanelCallback(panel, "A"), 0);
    sendPanel(panel, EVENT_CLOSE);
    EXPECT_EQ(gCalls, (Calls{"B:11:b", "O:11:o"}));
    // The control's chain is apart from the panel's.
    EXPECT_EQ(UnchainCtrlCallback(panel, ctrl, "B"), 0);
}

TEST_F(Chain, PanelWithoutEarlierCallback) {
    ASSERT_EQ(ChainPanelCallback(panel, PCbA, &gTagA, "A"), 0);
    EXPECT_EQ(sendPanel(panel, EVENT_CLOSE), 0);
    EXPECT_EQ(gCalls, (Calls{"A:11:a"}));
    EXPECT_EQ(UnchainPanelCallback(panel, "A"), 1);
    PanelCallbackPtr fn = &PCbB;
    GetPanelAttributeAnsi(panel, ATTR_CALLBACK_FUNCTION_POINTER, &fn);
    EXPECT_EQ(fn, nullptr);
}

// ---- Callbacks that change the chain while it runs them.

int gPanel, gCtrl;

int SelfUnchaining(int, int, int event, void *data, int, int) {
    record("S", 0, event, data);
    if (event == EVENT_COMMIT) {
        EXPECT_EQ(UnchainCtrlCallback(gPanel, gCtrl, "S"), 1);
    }
    return 0;
}

int UnchainsOlder(int, int, int event, void *data, int, int) {
    record("U", 1, event, data);
    if (event == EVENT_COMMIT) {
        EXPECT_EQ(UnchainCtrlCallback(gPanel, gCtrl, "A"), 1);
    }
    return 0;
}

TEST_F(Chain, ACallbackMayUnchainItsOwnLinkWhileItRuns) {
    gPanel = panel;
    gCtrl = ctrl;
    ASSERT_EQ(ChainCtrlCallback(panel, ctrl, CbA, &gTagA, "A"), 0);
    ASSERT_EQ(ChainCtrlCallback(panel, ctrl, SelfUnchaining, &gTagB, "S"), 0);
    ASSERT_EQ(ChainCtrlCallback(panel, ctrl, CbC, &gTagC, "C"), 0);
    sendCtrl(panel, ctrl, EVENT_COMMIT);   // the event still reaches A and the original
    EXPECT_EQ(gCalls, (Calls{"C:1:c", "S:1:b", "A:1:a", "O:1:o"}));
    gCalls.clear();
    sendCtrl(panel, ctrl, EVENT_COMMIT);
    EXPECT_EQ(gCalls, (Calls{"C:1:c", "A:1:a", "O:1:o"}));
}

TEST_F(Chain, ACallbackMayUnchainAnOlderLinkWhileItRuns) {
    gPanel = panel;
    gCtrl = ctrl;
    ASSERT_EQ(ChainCtrlCallback(panel, ctrl, CbA, &gTagA, "A"), 0);
    ASSERT_EQ(ChainCtrlCallback(panel, ctrl, UnchainsOlder, &gTagB, "U"), 0);
    sendCtrl(panel, ctrl, EVENT_COMMIT);   // A is gone before its turn came
    EXPECT_EQ(gCalls, (Calls{"U:1:b", "O:1:o"}));
}

// ---- Discard

CtrlCallbackPtr gInstalledDuringDiscard;
void *gDataDuringDiscard;

int WatchesDiscard(int panel, int control, int event, void *data, int, int) {
    if (event == EVENT_DISCARD) {
        GetCtrlAttributeAnsi(panel, control, ATTR_CALLBACK_FUNCTION_POINTER, &gInstalledDuringDiscard);
        GetCtrlAttributeAnsi(panel, control, ATTR_CALLBACK_DATA, &gDataDuringDiscard);
        // Unchaining the link that the discard is taking away finds nothing.
        EXPECT_EQ(UnchainCtrlCallback(panel, control, "W"), 0);
    }
    return record("W", 0, event, data);
}

TEST_F(Chain, DiscardPutsTheEarlierCallbackBackAndStillCallsIt) {
    ASSERT_EQ(ChainCtrlCallback(panel, ctrl, WatchesDiscard, &gTagA, "W"), 0);
    ASSERT_EQ(ChainCtrlCallback(panel, ctrl, CbB, &gTagB, "B"), 0);
    ASSERT_EQ(ChainPanelCallback(panel, PCbA, &gTagA, "P"), 0);
    gResultOf[0] = 9;   // non-zero: on a discard it must not stop the original callback
    gResultOf[1] = 4;
    gInstalledDuringDiscard = nullptr;
    ASSERT_EQ(DiscardPanel(panel), 0);
    panel = 0;
    EXPECT_EQ(gCalls, (Calls{"B:16:b", "W:16:a", "O:16:o", "A:16:a"}));
    EXPECT_EQ(gInstalledDuringDiscard, &CbOrig);   // put back before the chained callback ran
    EXPECT_EQ(gDataDuringDiscard, &gTagOrig);
    // The links are freed: LeakSanitizer holds the rest of this test.
}

TEST_F(Chain, OutOfMemoryChangesNothing) {
    ASSERT_EQ(ChainCtrlCallback(panel, ctrl, CbA, &gTagA, "A"), 0);
    ToolboxFailAllocation(1);   // the link itself
    EXPECT_EQ(ChainCtrlCallback(panel, ctrl, CbB, &gTagB, "B"), UIEOutOfMemory);
    ToolboxFailAllocation(2);   // the copy of its type name
    EXPECT_EQ(ChainCtrlCallback(panel, ctrl, CbB, &gTagB, "B"), UIEOutOfMemory);
    ToolboxFailAllocation(1);
    EXPECT_EQ(ChainPanelCallback(panel, PCbB, &gTagB, "B"), UIEOutOfMemory);
    ToolboxFailAllocation(0);
    sendCtrl(panel, ctrl, EVENT_COMMIT);
    EXPECT_EQ(gCalls, (Calls{"A:1:a", "O:1:o"}));
    EXPECT_EQ(ChainCtrlCallback(panel, ctrl, CbB, &gTagB, "B"), 0);
}

}   // namespace
