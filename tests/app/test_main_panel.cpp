// The main panel in its two modes, driven through the run-time layer on the
// real panel resource: what EnrInit arranges, what a commit of the chooser,
// of "Plus / Moins de Produits ..." and of the quit button does, the
// indicator for numbers that are no product, the start product as read from
// the command line, the popup of a missing catalogue, and whole runs of
// EnrGerer ended by the quit button and by the window's close box.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "support/ui_events.h"

#include <climits>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/VLic.h"
#include "app/VLicEnr.h"
#include "ui/FVLicEnr.h"
#include "ui/cp1252.h"
#include "ui/userint.h"

namespace {

namespace fs = std::filesystem;
using Items = std::vector<std::pair<std::string, int>>;

// The signed two-byte key the chooser is sorted on.
int Cle(int q) {
    return static_cast<signed char>(VLicProdG[q].name[0]) * 256 + static_cast<signed char>(VLicProdG[q].name[1]);
}

class MainPanel : public ::testing::Test {
protected:
    void SetUp() override {
        std::memset(VLicProdG, 0, sizeof VLicProdG);
        VLicProdEffacer();
        VLicProdInit();
        panel_ = LoadPanelAnsi(0, FVLIC_UIR_FILE, FVLIC_ENR);
        ASSERT_GT(panel_, 0) << "the main panel's resource must load";
    }
    void TearDown() override {
        if (panel_ > 0) DiscardPanel(panel_);
    }
    int Attr(int ctrl, int attr) {
        int v = -99;
        EXPECT_EQ(GetCtrlAttributeAnsi(panel_, ctrl, attr, &v), 0) << "control " << ctrl << " attribute " << attr;
        return v;
    }
    bool Visible(int ctrl) { return Attr(ctrl, ATTR_VISIBLE) != 0; }
    bool Dimmed(int ctrl) { return Attr(ctrl, ATTR_DIMMED) != 0; }
    int Valeur(int ctrl) {
        int v = -99;
        EXPECT_EQ(GetCtrlValAnsi(panel_, ctrl, &v), 0);
        return v;
    }
    int Index(int ctrl) {
        int i = -99;
        EXPECT_EQ(GetCtrlIndex(panel_, ctrl, &i), 0);
        return i;
    }
    std::string Courant(int ctrl) {
        char label[1024] = {};
        GetLabelFromIndexAnsi(panel_, ctrl, Index(ctrl), label);
        return label;
    }
    Items Liste(int ctrl) {
        Items items;
        int n = 0;
        EXPECT_EQ(GetNumListItems(panel_, ctrl, &n), 0);
        for (int i = 0; i < n; ++i) {
            char label[1024] = {};
            int v = 0;
            GetLabelFromIndexAnsi(panel_, ctrl, i, label);
            GetValueFromIndexAnsi(panel_, ctrl, i, &v);
            items.emplace_back(label, v);
        }
        return items;
    }
    // The download section: frame, heading and button shown together.
    void SectionVisible(bool attendu) {
        EXPECT_EQ(Visible(FVLIC_ENR_CADRE_LOAD), attendu);
        EXPECT_EQ(Visible(FVLIC_ENR_LAB_LOAD), attendu);
        EXPECT_EQ(Visible(FVLIC_ENR_BP_LOAD), attendu);
    }
    // A choice in the chooser as the loop sees it: the ring's value, then its commit.
    int Choisir(int valeur, int courant) {
        EXPECT_EQ(SetCtrlValAnsi(panel_, FVLIC_ENR_PROD_CHOIX, valeur), 0) << valeur;
        EXPECT_EQ(EnrCommande(panel_, FVLIC_ENR_PROD_CHOIX, &courant), 0);
        return courant;
    }
    // Checks the chooser's list: "------", the products (sorted, hidden ones
    // only in the long list), "------", then the switch item.
    void ListeChoix(bool longue) {
        const Items items = Liste(FVLIC_ENR_PROD_CHOIX);
        const size_t produits = longue ? 41 : 21;
        ASSERT_EQ(items.size(), produits + 3);
        EXPECT_EQ(items.front(), (std::pair<std::string, int>{"------", 0}));
        EXPECT_EQ(items[produits + 1], (std::pair<std::string, int>{"------", 0}));
        if (longue)
            EXPECT_EQ(items.back(), (std::pair<std::string, int>{"Moins de Produits ...", -2}));
        else
            EXPECT_EQ(items.back(), (std::pair<std::string, int>{"Plus de Produits ...", -1}));
        for (size_t i = 1; i <= produits; ++i) {
            const int q = items[i].second;
            ASSERT_TRUE(q >= 10 && q < VLIC_PROD_MAX) << items[i].first;
            EXPECT_EQ(items[i].first, VLicProdNom(q));
            EXPECT_NE(VLicProdG[q].code, 0);
            if (!longue) {
                EXPECT_EQ(VLicProdG[q].hidden, 0) << q;
            }
            if (i > 1) {
                const int p = items[i - 1].second;
                EXPECT_TRUE(Cle(p) < Cle(q) || (Cle(p) == Cle(q) && p < q)) << p << " before " << q;
            }
        }
    }
    int panel_ = 0;
};

TEST_F(MainPanel, WithoutProductTheChooserIsOnItsFirstSeparator) {
    EnrInit(panel_, 0);
    EXPECT_TRUE(Visible(FVLIC_ENR_PROD_CHOIX));
    EXPECT_EQ(Valeur(FVLIC_ENR_PROD_CHOIX), 0);
    EXPECT_EQ(Index(FVLIC_ENR_PROD_CHOIX), 0);
    EXPECT_FALSE(Visible(FVLIC_ENR_PROD));
    SectionVisible(false);
    EXPECT_FALSE(Dimmed(FVLIC_ENR_BP_LOAD));
    EXPECT_FALSE(Dimmed(FVLIC_ENR_LAB_LOAD));
    ListeChoix(false);
}

TEST_F(MainPanel, FixedProductShowsTheIndicatorAndADimmedDownloadSection) {
    EnrInit(panel_, 20);
    EXPECT_TRUE(Visible(FVLIC_ENR_PROD));
    EXPECT_EQ(Valeur(FVLIC_ENR_PROD), 20);
    EXPECT_EQ(Courant(FVLIC_ENR_PROD), "Robot Manipulateur RM5");
    EXPECT_FALSE(Visible(FVLIC_ENR_PROD_CHOIX));
    SectionVisible(true);
    EXPECT_TRUE(Dimmed(FVLIC_ENR_BP_LOAD));
    EXPECT_TRUE(Dimmed(FVLIC_ENR_LAB_LOAD));
}

TEST_F(MainPanel, IndicatorListsEveryProductInDescendingOrder) {
    EnrInit(panel_, 191);  // a hidden product is shown too
    EXPECT_EQ(Valeur(FVLIC_ENR_PROD), 191);
    const Items items = Liste(FVLIC_ENR_PROD);
    ASSERT_EQ(items.size(), 42u);
    EXPECT_EQ(items.front(), (std::pair<std::string, int>{"------", 0}));
    for (size_t i = 2; i < items.size(); ++i) EXPECT_GT(items[i - 1].second, items[i].second);
}

TEST_F(MainPanel, NumberThatIsNoProductShowsTheSeparator) {
    // Outside the table, beyond the int range's ends, a named slot without
    // code, an empty slot: the fixed mode still holds, with "------".
    for (int n : {5000, 1000, -3, INT_MAX, INT_MIN, 31, 25}) {
        EnrInit(panel_, n);
        EXPECT_TRUE(Visible(FVLIC_ENR_PROD)) << n;
        EXPECT_EQ(Index(FVLIC_ENR_PROD), 0) << n;
        EXPECT_EQ(Courant(FVLIC_ENR_PROD), "------") << n;
        EXPECT_FALSE(Visible(FVLIC_ENR_PROD_CHOIX)) << n;
        SectionVisible(true);
        EXPECT_TRUE(Dimmed(FVLIC_ENR_BP_LOAD)) << n;
        DiscardPanel(panel_);
        panel_ = LoadPanelAnsi(0, FVLIC_UIR_FILE, FVLIC_ENR);
        ASSERT_GT(panel_, 0);
    }
}

TEST_F(MainPanel, ChoosingAProductShowsTheDownloadSectionAndTheSeparatorHidesIt) {
    EnrInit(panel_, 0);
    int courant = Choisir(170, 0);
    EXPECT_EQ(courant, 170);
    SectionVisible(true);
    EXPECT_FALSE(Dimmed(FVLIC_ENR_BP_LOAD));
    EXPECT_EQ(Valeur(FVLIC_ENR_PROD), 170);  // the hidden indicator follows
    courant = Choisir(0, courant);
    EXPECT_EQ(courant, 0);
    SectionVisible(false);
    courant = Choisir(250, courant);
    EXPECT_EQ(courant, 250);
    SectionVisible(true);
}

TEST_F(MainPanel, PlusAndMoinsSwitchTheListsAndForgetTheProduct) {
    EnrInit(panel_, 0);
    int courant = Choisir(170, 0);
    courant = Choisir(-1, courant);
    EXPECT_EQ(courant, 0);
    ListeChoix(true);
    EXPECT_EQ(Index(FVLIC_ENR_PROD_CHOIX), 0);
    SectionVisible(false);

    courant = Choisir(191, courant);  // hidden: only in the long list
    EXPECT_EQ(courant, 191);
    SectionVisible(true);

    courant = Choisir(-2, courant);
    EXPECT_EQ(courant, 0);
    ListeChoix(false);
    EXPECT_EQ(Index(FVLIC_ENR_PROD_CHOIX), 0);
    SectionVisible(false);
    EXPECT_LT(SetCtrlValAnsi(panel_, FVLIC_ENR_PROD_CHOIX, 191), 0) << "hidden products leave the short list";
}

TEST_F(MainPanel, OnlyTheQuitButtonEndsTheLoop) {
    EnrInit(panel_, 0);
    int courant = 0;
    EXPECT_EQ(EnrCommande(panel_, FVLIC_ENR_BP_QUIT, &courant), 1);
    for (int c : {int(FVLIC_ENR_WEB), int(FVLIC_ENR_PROD), int(FVLIC_ENR_LOGO), 99}) EXPECT_EQ(EnrCommande(panel_, c, &courant), 0) << c;
    EXPECT_EQ(courant, 0);
}

// ------------------------------------------------- start product, popup

TEST(StartProduct, ReadLikePercentD) {
    EXPECT_EQ(EnrLireProduit("20"), 20);
    EXPECT_EQ(EnrLireProduit("  \t20"), 20);
    EXPECT_EQ(EnrLireProduit("+170"), 170);
    EXPECT_EQ(EnrLireProduit("-5"), -5);
    EXPECT_EQ(EnrLireProduit("20abc"), 20);
    EXPECT_EQ(EnrLireProduit("007"), 7);
    EXPECT_EQ(EnrLireProduit("abc"), 0);
    EXPECT_EQ(EnrLireProduit(""), 0);
    EXPECT_EQ(EnrLireProduit("   "), 0);
    EXPECT_EQ(EnrLireProduit("-"), 0);
    EXPECT_EQ(EnrLireProduit("+ 5"), 0);
    EXPECT_EQ(EnrLireProduit("0x10"), 0);
    EXPECT_EQ(EnrLireProduit(nullptr), 0);
}

TEST(StartProduct, OverflowSaturates) {
    EXPECT_EQ(EnrLireProduit("2147483647"), INT_MAX);
    EXPECT_EQ(EnrLireProduit("-2147483648"), INT_MIN);
    EXPECT_EQ(EnrLireProduit("2147483648"), INT_MAX);
    EXPECT_EQ(EnrLireProduit("-2147483649"), INT_MIN);
    EXPECT_EQ(EnrLireProduit("99999999999999999999999999999"), INT_MAX);
    EXPECT_EQ(EnrLireProduit("-99999999999999999999999999999"), INT_MIN);
}

std::vector<std::pair<std::string, std::string>> gPopups;
void Popup(const char *title, const char *message) { gPopups.emplace_back(title, message); }

class StartUp : public ::testing::TestWithParam<bool> {};
#ifdef _WIN32   // Windows has no FIFOs
INSTANTIATE_TEST_SUITE_P(AbsentOrFifo, StartUp, ::testing::Values(false));
#else
INSTANTIATE_TEST_SUITE_P(AbsentOrFifo, StartUp, ::testing::Bool());
#endif

// A FIFO in the catalogue's place is no catalogue: never waited on.
TEST_P(StartUp, MissingCatalogueShowsThePopupAndEndsWithZero) {
    const fs::path avant = fs::current_path();
    const fs::path vide = fs::temp_directory_path() / "vlic_sans_catalogue";
    fs::remove_all(vide);
    fs::create_directories(vide);
#ifndef _WIN32
    if (GetParam()) {
        ASSERT_EQ(mkfifo((vide / VLIC_PROD_FILE).c_str(), 0600), 0);
    }
#endif
    fs::current_path(vide);
    gPopups.clear();
    UiSetMessagePopupHook(Popup);
    char nom[] = "VLicEnr";
    char arg[] = "20";
    char *argv[] = {nom, arg, nullptr};
    const int rc = EnrDemarrer(2, argv);
    UiSetMessagePopupHook(nullptr);
    fs::current_path(avant);
    fs::remove_all(vide);

    EXPECT_EQ(rc, 0);
    ASSERT_EQ(gPopups.size(), 1u);
    const std::string &titre = gPopups[0].first;
    const std::string &message = gPopups[0].second;
    EXPECT_NE(titre.find("VLicEnr"), std::string::npos) << titre;
    EXPECT_NE(titre.find("incompl\xE8te"), std::string::npos) << titre;
    const auto coupure = message.find('\n');
    ASSERT_NE(coupure, std::string::npos);
    const std::string premiere = message.substr(0, coupure);
    EXPECT_NE(premiere.find("VLicEnr"), std::string::npos) << premiere;
    EXPECT_NE(premiere.find("incompl\xE8te"), std::string::npos) << premiere;
    EXPECT_EQ(message.substr(coupure + 1),
              std::string("Veuillez vérifier le contenu du répertoire (problème téléchargement ou zip)."_cp1252));
    EXPECT_STREQ(VLicProdG[20].name, "?") << "the table stays cleared";
}

// ------------------------------------------------- whole runs of the loop

// The main panel while EnrGerer runs: the handle of the active panel when
// it holds the chooser (the downloads panel has a picture button there), 0
// otherwise.
int PanneauPrincipal() {
    const int p = GetActivePanel();
    int style = 0;
    if (p <= 0 || GetCtrlAttributeAnsi(p, FVLIC_ENR_PROD_CHOIX, ATTR_CTRL_STYLE, &style) < 0) return 0;
    return style == CTRL_RING ? p : 0;
}

// Runs EnrGerer(product) while the steps are played one per 30 ms turn of
// a timer on the running main panel (each step gets its handle); a step
// returning false is tried again at the next turn. After the last step, or
// after about 10 s, the test gives up driving and quits through the quit
// button if the panel still runs. Returns EnrGerer's result; *joues is the
// number of steps played.
int Executer(int product, std::vector<std::function<bool(int)>> etapes, size_t *joues) {
    size_t n = 0;
    int tours = 0;
    int t = 0;
    t = UiTestEvery(30, [&] {
        const int p = PanneauPrincipal();
        if (p <= 0) return;  // not shown yet, or hidden behind the downloads panel
        if (++tours > 330 || n == etapes.size()) {
            UiTestCancel(t);
            UiTestClick(p, FVLIC_ENR_BP_QUIT);
        } else if (etapes[n](p)) {
            ++n;
        }
    });
    const int r = EnrGerer(product);
    UiTestCancel(t);
    *joues = n;
    return r;
}

class WholeRun : public ::testing::Test {
protected:
    void SetUp() override {
        std::memset(VLicProdG, 0, sizeof VLicProdG);
        VLicProdEffacer();
        VLicProdInit();
    }
    static int Attr(int p, int c, int a) {
        int v = -99;
        GetCtrlAttributeAnsi(p, c, a, &v);
        return v;
    }
    static int Items(int p, int c) {
        int n = -1;
        GetNumListItems(p, c, &n);
        return n;
    }
};

TEST_F(WholeRun, RealClicksOnTheChooserThenTheQuitButton) {
    int vuSection = -1, vuSeparateur = -1, longue = -1, courte = -1, frame[3] = {-9, -9, -9};
    size_t joues = 0;
    // A choice made by real input is committed once the window system has
    // delivered it: a step that reads its effect waits for it a few turns
    // (about a second) before it takes what it sees.
    int tours = 0;
    auto attendre = [&tours](bool vu) {
        if (vu || ++tours >= 30) {
            tours = 0;
            return false;
        }
        return true;
    };
    const int r = Executer(0,
        {
            [&](int p) {
                GetPanelAttributeAnsi(p, ATTR_CAN_MAXIMIZE, &frame[0]);
                GetPanelAttributeAnsi(p, ATTR_SIZABLE, &frame[1]);
                GetPanelAttributeAnsi(p, ATTR_CAN_MINIMIZE, &frame[2]);
                UiTestChooseRingItem(p, FVLIC_ENR_PROD_CHOIX, 1);  // the first product
                return true;
            },
            [&](int p) {
                vuSection = Attr(p, FVLIC_ENR_CADRE_LOAD, ATTR_VISIBLE);
                if (attendre(vuSection == 1)) return false;
                UiTestChooseRingItem(p, FVLIC_ENR_PROD_CHOIX, Items(p, FVLIC_ENR_PROD_CHOIX) - 2);
                return true;
            },
            [&](int p) {
                vuSeparateur = Attr(p, FVLIC_ENR_CADRE_LOAD, ATTR_VISIBLE);
                if (attendre(vuSeparateur == 0)) return false;
                UiTestChooseRingItem(p, FVLIC_ENR_PROD_CHOIX, Items(p, FVLIC_ENR_PROD_CHOIX) - 1);  // Plus
                return true;
            },
            [&](int p) {
                longue = Items(p, FVLIC_ENR_PROD_CHOIX);
                if (attendre(longue == 44)) return false;
                // "Moins de Produits ...", last of a list too long to show
                // whole: taken with the End key, as a user may.
                UiTestKeyToCtrl(p, FVLIC_ENR_PROD_CHOIX, UiTestKeyEnd);
                return true;
            },
            [&](int p) {
                courte = Items(p, FVLIC_ENR_PROD_CHOIX);
                if (attendre(courte == 24)) return false;
                UiTestClick(p, FVLIC_ENR_BP_QUIT);
                return true;
            },
        },
        &joues);
    EXPECT_EQ(r, 1);
    EXPECT_EQ(joues, 5u);
    EXPECT_EQ(vuSection, 1) << "a chosen product shows the download section";
    EXPECT_EQ(vuSeparateur, 0) << "the second separator hides it";
    EXPECT_EQ(longue, 44);
    EXPECT_EQ(courte, 24);
    EXPECT_EQ(frame[0], 0);
    EXPECT_EQ(frame[1], 0);
    EXPECT_EQ(frame[2], 1);
    EXPECT_EQ(PanneauPrincipal(), 0) << "the panel is discarded";
}

TEST_F(WholeRun, CloseBoxEndsTheFixedMode) {
    int dimmed = -1;
    size_t joues = 0;
    const int r = Executer(20,
        {
            [&](int p) {
                dimmed = Attr(p, FVLIC_ENR_BP_LOAD, ATTR_DIMMED);
                UiTestClick(p, FVLIC_ENR_BP_LOAD);  // dimmed: nothing happens
                return true;
            },
            [&](int p) {
                UiTestCloseBox(p);
                return true;
            },
        },
        &joues);
    EXPECT_EQ(r, 1);
    EXPECT_EQ(joues, 2u);
    EXPECT_EQ(dimmed, 1);
    EXPECT_EQ(PanneauPrincipal(), 0);
}

TEST_F(WholeRun, DownloadCommandBringsThePanelBackWhereTheDownloadsPanelWasLeft) {
    // The downloads panel runs inside the command; whatever it is, once it
    // returns the main panel is shown again at the place it hands back.
    int avant[2] = {0, 0}, apres[2] = {0, 0}, visible = -1;
    size_t joues = 0;
    // Leaves a downloads panel, if one opens, 150 px lower.
    const int retour = UiTestEvery(50, [&] {
        const int p = GetActivePanel();
        if (p <= 0 || PanneauPrincipal() == p) return;
        SetPanelPos(p, avant[0] + 150, avant[1] + 20);
        UiTestClick(p, FVLIC_LOAD_BP_QUIT);
    });
    const int r = Executer(0,
        {
            [&](int p) {
                SetPanelPos(p, 100, 120);
                UiTestChooseRingItem(p, FVLIC_ENR_PROD_CHOIX, 1);
                return true;
            },
            [&](int p) {
                GetPanelAttributeAnsi(p, ATTR_TOP, &avant[0]);
                GetPanelAttributeAnsi(p, ATTR_LEFT, &avant[1]);
                UiTestClick(p, FVLIC_ENR_BP_LOAD);
                return true;
            },
            [&](int p) {
                GetPanelAttributeAnsi(p, ATTR_TOP, &apres[0]);
                GetPanelAttributeAnsi(p, ATTR_LEFT, &apres[1]);
                GetPanelAttributeAnsi(p, ATTR_VISIBLE, &visible);
                return true;
            },
        },
        &joues);
    UiTestCancel(retour);
    EXPECT_EQ(r, 1);
    EXPECT_EQ(joues, 3u);
    EXPECT_EQ(visible, 1);
    EXPECT_EQ(avant[0], 100);
    EXPECT_EQ(avant[1], 120);
    // Either no downloads panel opened yet (same place) or it was left 150 px lower.
    EXPECT_TRUE((apres[0] == avant[0] && apres[1] == avant[1]) ||
                (apres[0] == avant[0] + 150 && apres[1] == avant[1] + 20))
        << apres[0] << "," << apres[1];
}

}  // namespace
