// The keyboard and the screen readers on the program's two panels, driven
// by real keys while their loops run: Tab and Shift+Tab follow the reading
// order, a panel opens with its first control focused and gives the focus
// back to the control that had it when its window is active again, the
// help box follows the focus until the mouse moves, Escape is RETOUR on
// the downloads panel and nothing on the main panel, the web link opens
// with Enter; every visible button is named by its item.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/VLic.h"
#include "app/VLicEnr.h"
#include "downloads/VLicLoad.h"
#include "support/ui_events.h"
#include "support/url_recorder.h"
#include "ui/FVLicEnr.h"
#include "ui/userint.h"

namespace {

// n presses of Tab (Shift+Tab, or another key), each followed by the
// control it reached.
std::vector<std::function<void()>> Tabs(int *panel, int n, std::vector<int> *vus,
                                        UiTestModifier m = UiTestNoModifier, int key = UiTestKeyTab) {
    std::vector<std::function<void()>> etapes;
    for (int i = 0; i < n; ++i)
        etapes.push_back([panel, vus, m, key] {
            UiTestKey(*panel, key, m);
            vus->push_back(UiTestFocusCtrl(*panel));
        });
    return etapes;
}

std::vector<std::function<void()>> operator+(std::vector<std::function<void()>> a,
                                             const std::vector<std::function<void()>> &b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::string Utf8(const char *ansi) {
    char out[1024];
    UiAnsiToUtf8(ansi, out, sizeof out);
    return out;
}

class Clavier : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        UrlRecorder::Install();
        ASSERT_EQ(VLicProdCharger(VLIC_PROD_FILE), 1);
    }
    void SetUp() override { UrlRecorder::ClearRecords(); }
};

TEST_F(Clavier, MainPanelTabOrderFocusLinkAndEscape) {
    int main = 0, dl = 0, autre = 0;
    int focusOuvert = -1, focusRetour = -1, focusAutre = -1, focusDl = -1, apresEchap = -1;
    std::vector<int> sansSection, avecSection, arriere;
    const std::vector<std::function<void()>> etapes =
        std::vector<std::function<void()>>{
            [&] {
                main = GetActivePanel();
                focusOuvert = UiTestFocusCtrl(main);
            },
        } +
        Tabs(&main, 3, &sansSection) +
        std::vector<std::function<void()>>{
            [&] { UiTestChooseRingItem(main, FVLIC_ENR_PROD_CHOIX, 1); },   // the download section shows
        } +
        Tabs(&main, 4, &avecSection) + Tabs(&main, 2, &arriere, UiTestShift) +
        std::vector<std::function<void()>>{
            // Back from another window: the focus is where it was (the link).
            [&] {
                autre = NewPanelAnsi(0, "autre", 40, 40, 60, 120);
                DisplayPanel(autre);
            },
            [&] {
                focusAutre = UiTestFocusCtrl(main);
                UiTestActivate(main);
                focusRetour = UiTestFocusCtrl(main);
                DiscardPanel(autre);
            },
            [&] { UiTestKey(main, UiTestKeyReturn); },                // the link opens
            [&] { UiTestKey(main, UiTestKeyTab, UiTestShift); },     // TELECHARGER
            [&] { UiTestKey(main, UiTestKeyReturn); },                // the downloads panel runs now
            [&] {
                dl = GetActivePanel();
                focusDl = UiTestFocusCtrl(dl);
            },
        } +
        std::vector<std::function<void()>>{
            [&] { UiTestKey(dl, UiTestKeyEscape); },   // RETOUR
            [&] {
                apresEchap = UiTestFocusCtrl(main);
                UiTestKey(main, UiTestKeyEscape);   // nothing: the program is not quit by accident
            },
            [&] { UiTestClick(main, FVLIC_ENR_BP_QUIT); },
        };
    UiTestSteps(etapes);
    EnrGerer(0);

    EXPECT_EQ(focusOuvert, FVLIC_ENR_PROD_CHOIX) << "the main panel opens with its first control focused";
    EXPECT_EQ(sansSection, (std::vector<int>{FVLIC_ENR_WEB, FVLIC_ENR_BP_QUIT, FVLIC_ENR_PROD_CHOIX}));
    EXPECT_EQ(avecSection, (std::vector<int>{FVLIC_ENR_BP_LOAD, FVLIC_ENR_WEB, FVLIC_ENR_BP_QUIT,
                                             FVLIC_ENR_PROD_CHOIX}));
    EXPECT_EQ(arriere, (std::vector<int>{FVLIC_ENR_BP_QUIT, FVLIC_ENR_WEB}));
    EXPECT_NE(focusAutre, FVLIC_ENR_WEB) << "another window had the focus meanwhile";
    EXPECT_EQ(focusRetour, FVLIC_ENR_WEB) << "re-activation gives the focus back to the link";
    EXPECT_TRUE(UrlRecorder::WaitForRecords(1)) << "Enter on the link opens the site";

    EXPECT_EQ(focusDl, FVLIC_LOAD_PROD) << "the downloads panel opens with its first control focused";
    EXPECT_EQ(apresEchap, FVLIC_ENR_BP_LOAD) << "Escape went back; the main panel's focus is where it was";
}

// The downloads panel of product 250, whose every group shows, read by
// Tab; the help box follows the focus while the mouse rests.
TEST_F(Clavier, DownloadsPanelReadsTopToBottomLeftToRightAndTheHelpFollowsTheFocus) {
    int dl = 0;
    std::vector<int> ordre;
    int aideTop = -1, aideVisible = -1, aideApresSouris = -1;
    UiTestSteps(std::vector<std::function<void()>>{
                  [&] {
                      dl = GetActivePanel();
                      UiTestMouseMove(dl, 700, 30);   // over nothing: the help box is hidden
                  }} +
              Tabs(&dl, 2, &ordre) +   // BP_EMP, then its manual, the mouse at rest
              std::vector<std::function<void()>>{
                  [&] {
                      GetCtrlAttributeAnsi(dl, FVLIC_LOAD_INFO, ATTR_VISIBLE, &aideVisible);
                      GetCtrlAttributeAnsi(dl, FVLIC_LOAD_INFO, ATTR_TOP, &aideTop);
                      UiTestMouseMove(dl, 700, 40);   // the mouse moves: the help is the mouse's again
                  },
                  [&] { GetCtrlAttributeAnsi(dl, FVLIC_LOAD_INFO, ATTR_VISIBLE, &aideApresSouris); }} +
              Tabs(&dl, 9, &ordre) + Tabs(&dl, 1, &ordre, UiTestShift) +
              Tabs(&dl, 1, &ordre, UiTestNoModifier, UiTestKeyUp) +   // on a button, as Shift+Tab
              Tabs(&dl, 1, &ordre, UiTestNoModifier, UiTestKeyDown) +
              std::vector<std::function<void()>>{[&] { UiTestKey(dl, UiTestKeyEscape); }});
    int top = 60, left = 60;
    LoadGerer(250, &top, &left);
    EXPECT_EQ(ordre, (std::vector<int>{FVLIC_LOAD_BP_EMP, FVLIC_LOAD_PDF_EMP, FVLIC_LOAD_BP_IHM, FVLIC_LOAD_PDF_IHM,
                                       FVLIC_LOAD_BP_PROF, FVLIC_LOAD_PDF_DT, FVLIC_LOAD_BP_1, FVLIC_LOAD_BP_2,
                                       FVLIC_LOAD_BP_3, FVLIC_LOAD_BP_QUIT, FVLIC_LOAD_PROD, FVLIC_LOAD_BP_QUIT,
                                       FVLIC_LOAD_BP_3, FVLIC_LOAD_BP_QUIT}));
    EXPECT_EQ(aideVisible, 1) << "the focus on the EMP manual shows its help";
    EXPECT_EQ(aideTop, 145) << "the EMP manual's help, not the EMP's (125)";
    EXPECT_EQ(aideApresSouris, 0) << "once the mouse moves over nothing, the box hides";
}

TEST_F(Clavier, EveryVisibleButtonIsNamedByItsItem) {
    struct Nom {
        int control;
        std::string nom;
    };
    const std::vector<Nom> attendus = {
        {FVLIC_LOAD_BP_QUIT, "RETOUR"},
        {FVLIC_LOAD_BP_EMP, "EMP"},
        {FVLIC_LOAD_PDF_EMP, "Manuel EMP"},
        {FVLIC_LOAD_BP_IHM, "Interface PC"},
        {FVLIC_LOAD_PDF_IHM, "Manuel Interface PC"},
        {FVLIC_LOAD_BP_PROF, "Dossier Professeur"},
        {FVLIC_LOAD_PDF_DT, "Dossier Technique"},
        {FVLIC_LOAD_BP_1, Utf8(LoadUtilitaireLabel(0))},
        {FVLIC_LOAD_BP_2, Utf8(LoadUtilitaireLabel(1))},
        {FVLIC_LOAD_BP_3, Utf8(LoadUtilitaireLabel(2))},
    };
    std::vector<std::string> lus, visiblesSansNom;
    UiTestSteps({
        [&] {
            const int dl = GetActivePanel();
            for (const Nom &n : attendus) lus.push_back(UiTestAccessibleName(dl, n.control));
            // No other shown button is left unnamed.
            int c = 0;
            GetPanelAttributeAnsi(dl, ATTR_PANEL_FIRST_CTRL, &c);
            for (; c; GetCtrlAttributeAnsi(dl, c, ATTR_NEXT_CTRL, &c)) {
                int style = 0, visible = 0;
                GetCtrlAttributeAnsi(dl, c, ATTR_CTRL_STYLE, &style);
                GetCtrlAttributeAnsi(dl, c, ATTR_VISIBLE, &visible);
                const bool bouton = style == CTRL_COMMAND_BUTTON || style == CTRL_PICTURE_COMMAND_BUTTON;
                if (bouton && visible && UiTestAccessibleName(dl, c).empty()) visiblesSansNom.push_back(std::to_string(c));
            }
            UiTestKey(dl, UiTestKeyEscape);
        },
    });
    int top = 60, left = 60;
    LoadGerer(250, &top, &left);
    ASSERT_EQ(lus.size(), attendus.size());
    for (size_t i = 0; i < attendus.size(); ++i) EXPECT_EQ(lus[i], attendus[i].nom) << "control " << attendus[i].control;
    EXPECT_TRUE(visiblesSansNom.empty());

    // The main panel: its buttons and the web link, by their texts.
    std::vector<std::string> principal;
    UiTestSteps({
        [&] {
            const int main = GetActivePanel();
            UiTestChooseRingItem(main, FVLIC_ENR_PROD_CHOIX, 1);
            for (int c : {FVLIC_ENR_BP_LOAD, FVLIC_ENR_BP_QUIT, FVLIC_ENR_WEB})
                principal.push_back(UiTestAccessibleName(main, c));
            UiTestClick(main, FVLIC_ENR_BP_QUIT);
        },
    });
    EnrGerer(0);
    EXPECT_EQ(principal, (std::vector<std::string>{"TELECHARGER", "QUITTER", "www.veltrane.fr"}));
}

}  // namespace
