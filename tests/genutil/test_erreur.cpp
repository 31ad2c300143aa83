// Tests of the error popup. GenAfficheErreur
// blocks in its own polling loop, so each test hands a "user" to a timer
// that fires inside that loop: it finds the popup (the active panel once it
// is up), notes what the popup and the calling panel look like, then acts
// as a user would, with a real click on a control of the popup.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "genutil/GenInterne.h"
#include "genutil/GenUtil.h"
#include "support/ui_events.h"
#include "ui/cp1252.h"
#include "ui/userint.h"

namespace {

constexpr int kBouton1 = 2, kBouton2 = 3, kMessage = 4, kDetails = 5;

std::string Val(int panel, int ctrl) {
    char texte[1024] = "";
    GetCtrlValAnsi(panel, ctrl, texte);
    return texte;
}
std::string Label(int panel, int ctrl) {
    char texte[1024] = "";
    GetCtrlAttributeAnsi(panel, ctrl, ATTR_LABEL_TEXT, texte);
    return texte;
}
int CtrlInt(int panel, int ctrl, int attr) {
    int v = -12345;
    GetCtrlAttributeAnsi(panel, ctrl, attr, &v);
    return v;
}
int PanelInt(int panel, int attr) {
    int v = -12345;
    GetPanelAttributeAnsi(panel, attr, &v);
    return v;
}
bool Existe(int panel) {
    int v = 0;
    return GetPanelAttributeAnsi(panel, ATTR_VISIBLE, &v) >= 0;
}

// What the user saw while the popup was up.
struct Vu {
    int popup = 0;
    int dimmedAppelant = -1;
    int curseurAttente = -1;
    int curseur = 0;
    int hauteur = 0;
    int haut = 0;
    int bouton2Visible = -1;
    std::string bouton1, bouton2, titre, message, details;
    int hautDetails = 0;
};

// The "user": as soon as the popup is up, notes what it shows into `vu`
// and runs `agir` on it. A watchdog discards the popup after 5 s so that a
// broken test cannot hang (GenAfficheErreur then returns 0).
class Utilisateur {
public:
    Utilisateur(int appelant, std::function<void(int popup)> agir) : appelant_(appelant), agir_(std::move(agir)) {
        timer_ = UiTestEvery(10, [this] { Tic(); });
    }
    ~Utilisateur() { UiTestCancel(timer_); }
    Vu vu;
    bool aAgi = false;

private:
    void Tic() {
        const int p = GetActivePanel();
        const bool estPopup = p > 0 && p != appelant_ && CtrlInt(p, kDetails, ATTR_CTRL_STYLE) == CTRL_TEXT_BOX;
        if (!estPopup) {
            if (++tics_ > 500) std::abort();   // the popup never came up
            return;
        }
        UiTestCancel(timer_);
        vu.popup = p;
        if (appelant_ > 0) vu.dimmedAppelant = PanelInt(appelant_, ATTR_DIMMED);
        vu.curseurAttente = GetWaitCursorState();
        GetMouseCursor(&vu.curseur);
        vu.hauteur = PanelInt(p, ATTR_HEIGHT);
        vu.haut = PanelInt(p, ATTR_TOP);
        vu.bouton2Visible = CtrlInt(p, kBouton2, ATTR_VISIBLE);
        vu.bouton1 = Label(p, kBouton1);
        vu.bouton2 = Label(p, kBouton2);
        vu.titre = Label(p, kMessage);
        vu.message = Val(p, kMessage);
        vu.details = Val(p, kDetails);
        vu.hautDetails = CtrlInt(p, kDetails, ATTR_TOP);
        aAgi = true;
        UiTestAfter(5000, [p] { DiscardPanel(p); });
        agir_(p);
    }
    int appelant_;
    std::function<void(int)> agir_;
    int timer_ = 0;
    int tics_ = 0;
};

class Erreur : public ::testing::Test {
protected:
    void SetUp() override {
        appelant = NewPanelAnsi(0, "Appelant", 100, 100, 200, 300);
        ASSERT_GT(appelant, 0);
        bouton = NewCtrlAnsi(appelant, CTRL_COMMAND_BUTTON, "Go", 20, 20);
        DisplayPanel(appelant);
        UiTestProcess(20);
        ASSERT_EQ(GetActivePanel(), appelant);
    }
    void TearDown() override {
        GenChoisirFichierRessource(nullptr);
        SetWaitCursor(0);
        DiscardPanel(appelant);
        UiTestCountCommits(10);
    }
    int appelant = 0;
    int bouton = 0;
};

TEST_F(Erreur, FirstButtonWithoutDetailsCutsThePopupTo105) {
    SetWaitCursor(1);
    SetMouseCursor(VAL_POINTING_FINGER_CURSOR);
    Utilisateur u(appelant, [](int p) { UiTestClick(p, kBouton1); });
    const int r = GenAfficheErreur("Titre", "Le message", "", "__OK", 0, "Non");
    ASSERT_TRUE(u.aAgi);
    EXPECT_EQ(r, 1);

    EXPECT_EQ(u.vu.dimmedAppelant, 1);
    EXPECT_EQ(u.vu.curseurAttente, 0);
    EXPECT_EQ(u.vu.curseur, VAL_DEFAULT_CURSOR);
    EXPECT_EQ(u.vu.hauteur, 105);
    int ecranH = 0, ecranL = 0;
    GetScreenSize(&ecranH, &ecranL);
    EXPECT_NEAR(u.vu.haut + 105 / 2, ecranH / 2, 1) << "centred at its cut height";
    EXPECT_EQ(u.vu.bouton2Visible, 0);
    EXPECT_EQ(u.vu.bouton1, "__OK");
    EXPECT_EQ(u.vu.bouton2, "Non");
    EXPECT_EQ(u.vu.titre, "Titre");
    EXPECT_EQ(u.vu.message, "Le message");
    EXPECT_EQ(u.vu.details, "");              // as stored in the file
    EXPECT_GE(u.vu.hautDetails, 105);         // out of sight

    // Afterwards: popup gone, caller undimmed, cursors left as set.
    EXPECT_FALSE(Existe(u.vu.popup));
    EXPECT_EQ(PanelInt(appelant, ATTR_DIMMED), 0);
    EXPECT_EQ(GetWaitCursorState(), 0);
    int curseur = 0;
    GetMouseCursor(&curseur);
    EXPECT_EQ(curseur, VAL_DEFAULT_CURSOR);
}

TEST_F(Erreur, SecondButtonWithDetails) {
    const char *details = "Ligne 1\nD\xE9tails accentu\xE9s";
    Utilisateur u(appelant, [](int p) { UiTestClick(p, kBouton2); });
    const int r = GenAfficheErreur("Question ?", "Voulez-vous r\xE9" "essayer ?", details, "__Oui", 1, "__Non");
    ASSERT_TRUE(u.aAgi);
    EXPECT_EQ(r, 2);
    EXPECT_GT(u.vu.hauteur, 105);
    EXPECT_EQ(u.vu.bouton2Visible, 1);
    EXPECT_EQ(u.vu.bouton2, "__Non");
    EXPECT_EQ(u.vu.details, details);
    EXPECT_EQ(u.vu.message, "Voulez-vous r\xE9" "essayer ?");
    EXPECT_FALSE(Existe(u.vu.popup));
    EXPECT_EQ(PanelInt(appelant, ATTR_DIMMED), 0);
}

TEST_F(Erreur, CommitOfAnotherControlOfThePopupGivesZero) {
    Utilisateur u(appelant, [](int p) {
        const int autre = NewCtrlAnsi(p, CTRL_COMMAND_BUTTON, "Autre", 70, 12);
        UiTestClick(p, autre);
    });
    EXPECT_EQ(GenAfficheErreur("T", "M", "", "OK", 0, ""), 0);
    ASSERT_TRUE(u.aAgi);
    EXPECT_EQ(PanelInt(appelant, ATTR_DIMMED), 0);
}

TEST_F(Erreur, CommitsOfOtherPanelsArePassedOver) {
    UiTestClick(appelant, bouton);   // queued, not yet polled
    Utilisateur u(appelant, [](int p) { UiTestClick(p, kBouton1); });
    EXPECT_EQ(GenAfficheErreur("T", "M", "", "OK", 1, "Non"), 1);
    ASSERT_TRUE(u.aAgi);
    EXPECT_EQ(UiTestCountCommits(30), 0);   // the caller's commit went by
}

TEST_F(Erreur, ThePopupTakesTheInputWhileItIsUp) {
    Utilisateur u(appelant, [this](int p) {
        UiTestClick(appelant, bouton);   // modal: no commit of the caller
        UiTestClick(p, kBouton2);
    });
    EXPECT_EQ(GenAfficheErreur("T", "M", "", "OK", 1, "Non"), 2);
    ASSERT_TRUE(u.aAgi);
}

TEST_F(Erreur, PopupDiscardedWhileWaitingEndsWithZero) {
    Utilisateur u(appelant, [](int p) { DiscardPanel(p); });
    EXPECT_EQ(GenAfficheErreur("T", "M", "D", "OK", 1, "Non"), 0);
    ASSERT_TRUE(u.aAgi);
    EXPECT_EQ(PanelInt(appelant, ATTR_DIMMED), 0);
}

TEST_F(Erreur, MissingPanelUndimsAndGivesZeroAtOnce) {
    GenChoisirFichierRessource("Absent.uir");
    SetWaitCursor(1);
    SetMouseCursor(VAL_POINTING_FINGER_CURSOR);
    EXPECT_EQ(GenAfficheErreur("T", "M", "", "OK", 0, ""), 0);
    EXPECT_EQ(PanelInt(appelant, ATTR_DIMMED), 0);
    EXPECT_EQ(GetWaitCursorState(), 0);
    int curseur = 0;
    GetMouseCursor(&curseur);
    EXPECT_EQ(curseur, VAL_DEFAULT_CURSOR);
    EXPECT_EQ(GetActivePanel(), appelant);
}

TEST_F(Erreur, NoActivePanelDimsNothing) {
    HidePanel(appelant);
    UiTestProcess(20);
    if (GetActivePanel() > 0) GTEST_SKIP() << "the platform keeps a panel active";
    Utilisateur u(0, [](int p) { UiTestClick(p, kBouton1); });
    EXPECT_EQ(GenAfficheErreur("T", "M", "", "OK", 0, ""), 1);
    ASSERT_TRUE(u.aAgi);
    EXPECT_EQ(PanelInt(appelant, ATTR_DIMMED), 0);
}

TEST_F(Erreur, WaitCursorOfAnOpenWaitPopupIsTurnedOff) {
    GenWait(appelant, "Patience");
    ASSERT_EQ(GetWaitCursorState(), 1);
    Utilisateur u(appelant, [](int p) { UiTestClick(p, kBouton1); });
    EXPECT_EQ(GenAfficheErreur("T", "M", "", "OK", 0, ""), 1);
    ASSERT_TRUE(u.aAgi);
    EXPECT_EQ(u.vu.curseurAttente, 0);
    EXPECT_EQ(GetWaitCursorState(), 0);
    GenFermerWait();
    EXPECT_EQ(GenWaitPanel(), -1);
}

}  // namespace
