// Tests of the hover buttons, with real mouse moves on Qt's offscreen
// platform: a panel of five picture buttons whose labels act as captions.
//
// The hover operations keep their memories for the whole process. The first
// test below is the only one that relies on them being fresh, so it must
// stay first; every other test starts by letting the operation it uses see
// the mouse at rest (memory 0).
#include <gtest/gtest.h>

#include <vector>

#include "genutil/GenUtil.h"
#include "support/ui_events.h"
#include "ui/userint.h"

namespace {

constexpr int kNb = 5;
constexpr int kLargeur = 60;
constexpr int kHauteur = 40;
constexpr int kHaut = 60;
constexpr int kPas = 130;   // buttons and their labels stay well apart

class Survol : public ::testing::Test {
protected:
    void SetUp() override {
        GenActiverSurvol(1);
        panel = NewPanelAnsi(0, "Survol", 80, 80, 240, 700);
        ASSERT_GT(panel, 0);
        for (int i = 0; i < kNb; ++i) {
            const char libelle[] = {'L', static_cast<char>('0' + i), 0};
            ids[i] = NewCtrlAnsi(panel, CTRL_PICTURE_COMMAND_BUTTON, libelle, kHaut, 20 + i * kPas);
            ASSERT_GT(ids[i], 0);
            SetCtrlAttributeAnsi(panel, ids[i], ATTR_WIDTH, kLargeur);
            SetCtrlAttributeAnsi(panel, ids[i], ATTR_HEIGHT, kHauteur);
        }
        DisplayPanel(panel);
        UiTestProcess(20);
        ASSERT_EQ(GetActivePanel(), panel);
        // The look of "no control hovered", which a call at rest keeps.
        AuRepos();
        MontrerLabels(0);
        SetMouseCursor(VAL_DEFAULT_CURSOR);
    }
    void TearDown() override {
        GenActiverSurvol(1);
        DiscardPanel(panel);
        UiTestProcess();
    }

    // The mouse over the panel but over none of its buttons.
    void AuRepos() { UiTestMouseMove(panel, 5, 200); }
    // The mouse at (x, y) of button `index`, given in panel coordinates
    // (the point (0, 0) of a widget would mean "its centre" to QTest).
    void Sur(int index, int x = kLargeur / 2, int y = kHauteur / 2) {
        UiTestMouseMove(panel, 20 + index * kPas + x, kHaut + y);
    }

    std::vector<int> Labels() const {
        std::vector<int> v;
        for (int id : ids) {
            int visible = -1;
            GetCtrlAttributeAnsi(panel, id, ATTR_LABEL_VISIBLE, &visible);
            v.push_back(visible);
        }
        return v;
    }
    void MontrerLabels(int visible = 1) {
        for (int id : ids) SetCtrlAttributeAnsi(panel, id, ATTR_LABEL_VISIBLE, visible);
    }
    static int Curseur() {
        int style = 0;
        GetMouseCursor(&style);
        return style;
    }
    // Sets the look the next call must either replace or leave alone.
    void Marquer(int curseur) {
        MontrerLabels(1);
        SetMouseCursor(curseur);
    }

    int panel = 0;
    int ids[kNb] = {};
};

using Labels_ = std::vector<int>;
const Labels_ kTousCaches = {0, 0, 0, 0, 0};
const Labels_ kTousVisibles = {1, 1, 1, 1, 1};

// Must stay the first test: each operation's first call in the process.
TEST_F(Survol, FirstCallOfEachOperationAppliesWithTheMouseAtRest) {
    Marquer(VAL_POINTING_FINGER_CURSOR);
    GenSurvolBpV1(panel, kNb, kNb, ids, 0);
    EXPECT_EQ(Curseur(), VAL_DEFAULT_CURSOR);
    EXPECT_EQ(Labels(), kTousCaches);

    // Each memory is its own: the others still start from "nothing yet".
    Marquer(VAL_POINTING_FINGER_CURSOR);
    GenSurvolBpV2(panel, kNb, kNb, ids, 0);
    EXPECT_EQ(Curseur(), VAL_DEFAULT_CURSOR);
    EXPECT_EQ(Labels(), kTousCaches);

    Marquer(VAL_POINTING_FINGER_CURSOR);
    GenSurvolBp(panel, kNb, kNb, ids);
    EXPECT_EQ(Curseur(), VAL_DEFAULT_CURSOR);
    EXPECT_EQ(Labels(), kTousCaches);

    Marquer(VAL_POINTING_FINGER_CURSOR);
    GenSurvolBpMultiFen(panel, kNb, kNb, ids);
    EXPECT_EQ(Curseur(), VAL_DEFAULT_CURSOR);
    EXPECT_EQ(Labels(), kTousCaches);

    // Second calls at rest: no change any more.
    Marquer(VAL_POINTING_FINGER_CURSOR);
    GenSurvolBpV1(panel, kNb, kNb, ids, 0);
    GenSurvolBpV2(panel, kNb, kNb, ids, 0);
    GenSurvolBp(panel, kNb, kNb, ids);
    GenSurvolBpMultiFen(panel, kNb, kNb, ids);
    EXPECT_EQ(Curseur(), VAL_POINTING_FINGER_CURSOR);
    EXPECT_EQ(Labels(), kTousVisibles);
}

TEST_F(Survol, HoveredLabelShownOthersHiddenAndNothingChangesAtRest) {
    GenSurvolBpV1(panel, kNb, kNb, ids, 0);
    Marquer(VAL_DEFAULT_CURSOR);
    Sur(2);
    GenSurvolBpV1(panel, kNb, kNb, ids, 0);
    EXPECT_EQ(Curseur(), VAL_POINTING_FINGER_CURSOR);
    EXPECT_EQ(Labels(), (Labels_{0, 0, 1, 0, 0}));

    // The mouse rests: a call changes neither cursor nor labels.
    Marquer(VAL_DEFAULT_CURSOR);
    GenSurvolBpV1(panel, kNb, kNb, ids, 0);
    GenSurvolBpV1(panel, kNb, kNb, ids, 0);
    EXPECT_EQ(Curseur(), VAL_DEFAULT_CURSOR);
    EXPECT_EQ(Labels(), kTousVisibles);

    Sur(3);
    GenSurvolBpV1(panel, kNb, kNb, ids, 0);
    EXPECT_EQ(Curseur(), VAL_POINTING_FINGER_CURSOR);
    EXPECT_EQ(Labels(), (Labels_{0, 0, 0, 1, 0}));

    AuRepos();
    GenSurvolBpV1(panel, kNb, kNb, ids, 0);
    EXPECT_EQ(Curseur(), VAL_DEFAULT_CURSOR);
    EXPECT_EQ(Labels(), kTousCaches);
}

TEST_F(Survol, OnlyTheFirstMLabelsAreEverHidden) {
    GenSurvolBp(panel, kNb, 3, ids);
    Marquer(VAL_DEFAULT_CURSOR);
    Sur(4);
    GenSurvolBp(panel, kNb, 3, ids);
    EXPECT_EQ(Curseur(), VAL_POINTING_FINGER_CURSOR);
    EXPECT_EQ(Labels(), (Labels_{0, 0, 0, 1, 1}));   // index 3 is beyond m: left alone

    Sur(0);
    GenSurvolBp(panel, kNb, 3, ids);
    EXPECT_EQ(Labels(), (Labels_{1, 0, 0, 1, 1}));   // index 4 is never hidden again

    AuRepos();
    GenSurvolBp(panel, kNb, 3, ids);
    EXPECT_EQ(Curseur(), VAL_DEFAULT_CURSOR);
    EXPECT_EQ(Labels(), (Labels_{0, 0, 0, 1, 1}));
}

TEST_F(Survol, BoundsIncludeOnePixelBeyondWidthAndHeight) {
    GenSurvolBpV2(panel, kNb, kNb, ids, 0);
    struct Cas { int x, y; bool dessus; };
    const Cas cas[] = {
        {0, 0, true}, {kLargeur, kHauteur / 2, true}, {kLargeur / 2, kHauteur, true},
        {kLargeur, kHauteur, true}, {kLargeur + 1, kHauteur / 2, false},
        {kLargeur / 2, kHauteur + 1, false}, {-1, kHauteur / 2, false}, {kLargeur / 2, -1, false},
    };
    for (const Cas &c : cas) {
        AuRepos();
        GenSurvolBpV2(panel, kNb, kNb, ids, 0);
        Sur(1, c.x, c.y);
        int x = 0, y = 0;
        GetRelativeMouseState(panel, ids[1], &x, &y, nullptr, nullptr, nullptr);
        ASSERT_EQ(x, c.x);
        ASSERT_EQ(y, c.y);
        GenSurvolBpV2(panel, kNb, kNb, ids, 0);
        EXPECT_EQ(Curseur(), c.dessus ? VAL_POINTING_FINGER_CURSOR : VAL_DEFAULT_CURSOR) << c.x << "," << c.y;
        EXPECT_EQ(Labels()[1], c.dessus ? 1 : 0) << c.x << "," << c.y;
    }
}

TEST_F(Survol, OverlappingControlsGoToTheLowerIndex) {
    GenSurvolBp(panel, kNb, kNb, ids);
    int gauche = 0;
    GetCtrlAttributeAnsi(panel, ids[1], ATTR_LEFT, &gauche);
    SetCtrlAttributeAnsi(panel, ids[3], ATTR_LEFT, gauche);   // 3 now covers 1 exactly
    Sur(1);
    GenSurvolBp(panel, kNb, kNb, ids);
    EXPECT_EQ(Labels(), (Labels_{0, 1, 0, 0, 0}));
}

TEST_F(Survol, DimmedAndIndicatorControlsNeedTheIncludeFlag) {
    GenSurvolBpV1(panel, kNb, kNb, ids, 0);
    SetCtrlAttributeAnsi(panel, ids[1], ATTR_DIMMED, 1);
    SetCtrlAttributeAnsi(panel, ids[2], ATTR_CTRL_MODE, VAL_INDICATOR);

    for (int i : {1, 2}) {
        AuRepos();
        GenSurvolBpV1(panel, kNb, kNb, ids, 0);
        Sur(i);
        GenSurvolBpV1(panel, kNb, kNb, ids, 0);
        EXPECT_EQ(Curseur(), VAL_DEFAULT_CURSOR) << i;
        EXPECT_EQ(Labels()[i], 0) << i;
        GenSurvolBpV1(panel, kNb, kNb, ids, 1);
        EXPECT_EQ(Curseur(), VAL_POINTING_FINGER_CURSOR) << i;
        EXPECT_EQ(Labels()[i], 1) << i;
    }
    // GenSurvolBpV2 follows the same rules.
    AuRepos();
    GenSurvolBpV2(panel, kNb, kNb, ids, 0);
    SetMouseCursor(VAL_DEFAULT_CURSOR);
    Sur(2);
    GenSurvolBpV2(panel, kNb, kNb, ids, 0);
    EXPECT_EQ(Curseur(), VAL_DEFAULT_CURSOR);
    GenSurvolBpV2(panel, kNb, kNb, ids, 1);
    EXPECT_EQ(Curseur(), VAL_POINTING_FINGER_CURSOR);
}

TEST_F(Survol, InvisibleControlsAreNeverHovered) {
    // The mouse where control 3 lies hidden: no operation takes it, not even
    // with the include flag.
    SetCtrlAttributeAnsi(panel, ids[3], ATTR_VISIBLE, 0);
    int x = 0, y = 0;
    AuRepos();
    GenSurvolBpV1(panel, kNb, kNb, ids, 1);
    GenSurvolBp(panel, kNb, kNb, ids);
    GenSurvolBpMultiFen(panel, kNb, kNb, ids);
    Marquer(VAL_DEFAULT_CURSOR);
    UiTestMouseMove(panel, 20 + 3 * kPas + kLargeur / 2, kHaut + kHauteur / 2);
    GetRelativeMouseState(panel, ids[3], &x, &y, nullptr, nullptr, nullptr);
    ASSERT_EQ(x, kLargeur / 2);
    GenSurvolBpV1(panel, kNb, kNb, ids, 1);
    GenSurvolBp(panel, kNb, kNb, ids);
    GenSurvolBpMultiFen(panel, kNb, kNb, ids);
    EXPECT_EQ(Curseur(), VAL_DEFAULT_CURSOR);
    EXPECT_EQ(Labels(), kTousVisibles);   // result 0 as before: no change at all
}

TEST_F(Survol, GenSurvolBpTakesIndicatorsButNotDimmedControls) {
    SetCtrlAttributeAnsi(panel, ids[1], ATTR_DIMMED, 1);
    SetCtrlAttributeAnsi(panel, ids[2], ATTR_CTRL_MODE, VAL_INDICATOR);
    GenSurvolBp(panel, kNb, kNb, ids);
    GenSurvolBpMultiFen(panel, kNb, kNb, ids);

    Sur(2);
    GenSurvolBp(panel, kNb, kNb, ids);
    EXPECT_EQ(Curseur(), VAL_POINTING_FINGER_CURSOR);
    EXPECT_EQ(Labels()[2], 1);

    Marquer(VAL_POINTING_FINGER_CURSOR);
    Sur(1);
    GenSurvolBp(panel, kNb, kNb, ids);
    EXPECT_EQ(Curseur(), VAL_DEFAULT_CURSOR);
    EXPECT_EQ(Labels(), kTousCaches);

    AuRepos();
    GenSurvolBpMultiFen(panel, kNb, kNb, ids);
    Sur(2);
    GenSurvolBpMultiFen(panel, kNb, kNb, ids);
    EXPECT_EQ(Labels()[2], 1);
    Sur(1);
    GenSurvolBpMultiFen(panel, kNb, kNb, ids);
    EXPECT_EQ(Labels()[1], 0);
    EXPECT_EQ(Curseur(), VAL_DEFAULT_CURSOR);
}

TEST_F(Survol, AnotherActivePanelStopsAllButMultiFen) {
    GenSurvolBpV1(panel, kNb, kNb, ids, 0);
    GenSurvolBpV2(panel, kNb, kNb, ids, 0);
    GenSurvolBp(panel, kNb, kNb, ids);
    GenSurvolBpMultiFen(panel, kNb, kNb, ids);

    const int autre = NewPanelAnsi(0, "Autre", 500, 80, 100, 200);
    DisplayPanel(autre);
    UiTestProcess(20);
    ASSERT_EQ(GetActivePanel(), autre);

    Sur(2);
    Marquer(VAL_DEFAULT_CURSOR);
    GenSurvolBpV1(panel, kNb, kNb, ids, 0);
    GenSurvolBpV2(panel, kNb, kNb, ids, 0);
    GenSurvolBp(panel, kNb, kNb, ids);
    EXPECT_EQ(Curseur(), VAL_DEFAULT_CURSOR);
    EXPECT_EQ(Labels(), kTousVisibles);

    GenSurvolBpMultiFen(panel, kNb, kNb, ids);
    EXPECT_EQ(Curseur(), VAL_POINTING_FINGER_CURSOR);
    EXPECT_EQ(Labels(), (Labels_{0, 0, 1, 0, 0}));
    Sur(4);
    GenSurvolBpMultiFen(panel, kNb, kNb, ids);
    EXPECT_EQ(Labels(), (Labels_{0, 0, 0, 0, 1}));

    // Back on the panel: the others compare with the memory they had (0).
    DiscardPanel(autre);
    DisplayPanel(panel);
    UiTestProcess(20);
    ASSERT_EQ(GetActivePanel(), panel);
    MontrerLabels(0);
    GenSurvolBp(panel, kNb, kNb, ids);
    EXPECT_EQ(Labels(), (Labels_{0, 0, 0, 0, 1}));
}

TEST_F(Survol, SwitchOffFreezesEverythingAndKeepsTheMemories) {
    GenSurvolBpV1(panel, kNb, kNb, ids, 0);
    Sur(1);
    GenSurvolBpV1(panel, kNb, kNb, ids, 0);   // memory: index 1
    ASSERT_EQ(Labels(), (Labels_{0, 1, 0, 0, 0}));

    GenActiverSurvol(0);
    Marquer(VAL_DEFAULT_CURSOR);
    Sur(3);
    GenSurvolBpV1(panel, kNb, kNb, ids, 0);
    GenSurvolBp(panel, kNb, kNb, ids);
    GenSurvolBpMultiFen(panel, kNb, kNb, ids);
    EXPECT_EQ(Curseur(), VAL_DEFAULT_CURSOR);
    EXPECT_EQ(Labels(), kTousVisibles);

    // Only the low 8 bits count: 256 is off, 257 and 384 are on.
    int valeur = 256;
    GenActiverSurvol(static_cast<char>(valeur));
    GenSurvolBpV1(panel, kNb, kNb, ids, 0);
    EXPECT_EQ(Labels(), kTousVisibles);
    valeur = 384;
    GenActiverSurvol(static_cast<char>(valeur));
    Sur(1);
    GenSurvolBpV1(panel, kNb, kNb, ids, 0);   // same as the memory kept from before
    EXPECT_EQ(Labels(), kTousVisibles);
    Sur(3);
    GenSurvolBpV1(panel, kNb, kNb, ids, 0);
    EXPECT_EQ(Curseur(), VAL_POINTING_FINGER_CURSOR);
    EXPECT_EQ(Labels(), (Labels_{0, 0, 0, 1, 0}));
}

TEST_F(Survol, EffaceLabelLeavesTheMemory) {
    GenSurvolBpV2(panel, kNb, kNb, ids, 0);
    Sur(2);
    GenSurvolBpV2(panel, kNb, kNb, ids, 0);
    ASSERT_EQ(Labels(), (Labels_{0, 0, 1, 0, 0}));
    MontrerLabels(1);
    GenEffaceLabel(panel, 3, ids);
    EXPECT_EQ(Labels(), (Labels_{0, 0, 0, 1, 1}));
    GenEffaceLabel(panel, 0, ids);
    EXPECT_EQ(Labels(), (Labels_{0, 0, 0, 1, 1}));

    GenSurvolBpV2(panel, kNb, kNb, ids, 0);
    EXPECT_EQ(Labels()[2], 0);   // still resting on 2: stays hidden
    Sur(0);
    GenSurvolBpV2(panel, kNb, kNb, ids, 0);
    EXPECT_EQ(Labels(), (Labels_{1, 0, 0, 0, 0}));
}

TEST_F(Survol, ZeroControlsMeansNoneHovered) {
    GenSurvolBpMultiFen(panel, kNb, kNb, ids);
    Sur(0);
    GenSurvolBpMultiFen(panel, kNb, kNb, ids);
    ASSERT_EQ(Curseur(), VAL_POINTING_FINGER_CURSOR);
    MontrerLabels(1);
    GenSurvolBpMultiFen(panel, 0, kNb, ids);
    EXPECT_EQ(Curseur(), VAL_DEFAULT_CURSOR);
    EXPECT_EQ(Labels(), kTousVisibles);   // no index below n: nothing to hide
}

TEST_F(Survol, OneOperationNeverSeesAnothersChange) {
    GenSurvolBpV1(panel, kNb, kNb, ids, 0);
    GenSurvolBpV2(panel, kNb, kNb, ids, 0);
    Sur(4);
    GenSurvolBpV1(panel, kNb, kNb, ids, 0);
    ASSERT_EQ(Labels()[4], 1);
    MontrerLabels(0);
    GenSurvolBpV2(panel, kNb, kNb, ids, 0);   // its memory is still 0
    EXPECT_EQ(Labels()[4], 1);
    MontrerLabels(0);
    GenSurvolBpV1(panel, kNb, kNb, ids, 0);   // V1's memory is already 5
    EXPECT_EQ(Labels()[4], 0);
}

}  // namespace
