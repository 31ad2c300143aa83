// The hover help on the real downloads panel, driven by real mouse moves: each help text with its box top and line count, the codec
// paragraph, hidden and dimmed buttons passed over, inclusive edges, no
// change while another panel is active, utility buttons keeping the help.
#include <gtest/gtest.h>

#include <string>

#include "app/VLic.h"
#include "downloads/VLicLoad.h"
#include "support/ui_events.h"
#include "ui/FVLicEnr.h"
#include "ui/cp1252.h"
#include "ui/userint.h"

#ifndef _WIN32
#include <QAccessible>
#include <QLabel>
#include <QWidget>

#include "ui/qt/userint_qt.h"
#endif

namespace {

// The help texts as the user reads them; %s is the product's name.
const std::string kEmp =
    "\nTélécharger, dézipper et copier sur votre ordinateur le dossier\n''%s EMP'' "
    "(Environnement Multimédia Pédagogique).\nPour lancer cet Environnement, exécuter "
    "l'application\n''%s_EMP.exe'' du dossier\nou créer un raccourci sur votre bureau "
    "Windows."_cp1252;
const std::string kCodec =
    "\n\nL'EMP (Environnement Multimédia Pédagogique) utilise le ''Lecteur Windows Media'', "
    "si vous ne visualisez pas les animations et vidéos, installer les ''Codecs'' "
    "nécessaires ci-dessous."_cp1252;
const std::string kPdfEmp =
    "\nTélécharger, dézipper et consulter le Manuel d'utilisation de\nl'Environnement "
    "Multimédia Pédagogique ''%s''"_cp1252;
const std::string kIhm =
    "\nTélécharger, dézipper et copier sur votre ordinateur le dossier.\n\nPour installer "
    "l'Interface PC de Pilotage, Paramétrage et Acquisition\ndu système ''%s'',\nexécuter "
    "le ''setup.exe'' du dossier ''Volume''."_cp1252;
const std::string kPdfIhm =
    "\nTélécharger, dézipper et consulter\nle Manuel d'utilisation de l'Interface PC ''%s''"_cp1252;
const std::string kProf =
    "\nTélécharger, dézipper et copier sur votre ordinateur le dossier.\n\nLe dossier "
    "Professeur contient les Activités Pédagogiques,\ntous les documents et ressources "
    "utiles à l'exploitation\ndu système ''%s''."_cp1252;
const std::string kDt = "\nTélécharger, dézipper et consulter\nle Dossier Technique ''%s''"_cp1252;

std::string Avec(std::string texte, const std::string &nom) {
    for (size_t p = texte.find("%s"); p != std::string::npos; p = texte.find("%s", p + nom.size()))
        texte.replace(p, 2, nom);
    return texte;
}

class Survol : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_EQ(VLicProdCharger(VLIC_PROD_FILE), 1); }
    void TearDown() override {
        if (panel_ > 0) DiscardPanel(panel_);
        if (autre_ > 0) DiscardPanel(autre_);
        SetMouseCursor(VAL_DEFAULT_CURSOR);
    }
    // Opens the panel for product as LoadGerer does (help box hidden).
    void Ouvrir(int product) {
        product_ = product;
        panel_ = LoadPanelAnsi(0, FVLIC_UIR_FILE, FVLIC_LOAD);
        ASSERT_GT(panel_, 0);
        SetPanelPos(panel_, 40, 40);
        LoadInit(panel_, product);
        SetCtrlAttributeAnsi(panel_, FVLIC_LOAD_INFO, ATTR_VISIBLE, 0);
        DisplayPanel(panel_);
        UiTestProcess(50);
        ASSERT_EQ(GetActivePanel(), panel_);
    }
    // Moves the mouse to (x, y) of control (0: the panel), then one pass.
    void Passer(int control, int x, int y) {
        if (control) UiTestMouseMoveCtrl(panel_, control, x, y);
        else UiTestMouseMove(panel_, x, y);
        LoadSurvol(panel_, product_);
    }
    void Centre(int control) {
        int w = 0, h = 0;
        GetCtrlAttributeAnsi(panel_, control, ATTR_WIDTH, &w);
        GetCtrlAttributeAnsi(panel_, control, ATTR_HEIGHT, &h);
        Passer(control, w / 2, h / 2);
    }
    int Info(int attribute) {
        int v = -1;
        GetCtrlAttributeAnsi(panel_, FVLIC_LOAD_INFO, attribute, &v);
        return v;
    }
    std::string Texte() {
        char t[1024] = "";
        GetCtrlValAnsi(panel_, FVLIC_LOAD_INFO, t);
        return t;
    }
    int Curseur() {
        int c = 0;
        GetMouseCursor(&c);
        return c;
    }
    void AttendreAide(int top, int lignes, const std::string &texte, const char *quoi) {
        EXPECT_EQ(Info(ATTR_VISIBLE), 1) << quoi;
        EXPECT_EQ(Info(ATTR_TOP), top) << quoi;
        EXPECT_EQ(Info(ATTR_VISIBLE_LINES), lignes) << quoi;
        EXPECT_EQ(Texte(), texte) << quoi;
        EXPECT_EQ(Curseur(), VAL_POINTING_FINGER_CURSOR) << quoi;
    }
    void AttendreRien(const char *quoi) {
        EXPECT_EQ(Info(ATTR_VISIBLE), 0) << quoi;
        EXPECT_EQ(Curseur(), VAL_DEFAULT_CURSOR) << quoi;
    }

    int panel_ = 0, autre_ = 0, product_ = 0;
};

TEST_F(Survol, EachDownloadButtonShowsItsHelpAtItsPlace) {
    Ouvrir(20);
    const std::string nom = "Robot Manipulateur RM5";
    Centre(FVLIC_LOAD_BP_EMP);
    AttendreAide(125, 15, Avec(kEmp + kCodec, nom), "BP_EMP");
    Centre(FVLIC_LOAD_PDF_EMP);
    AttendreAide(145, 5, Avec(kPdfEmp, nom), "PDF_EMP");
    Centre(FVLIC_LOAD_BP_IHM);
    AttendreAide(130, 11, Avec(kIhm, nom), "BP_IHM");
    Centre(FVLIC_LOAD_PDF_IHM);
    AttendreAide(85, 4, Avec(kPdfIhm, nom), "PDF_IHM");
    Centre(FVLIC_LOAD_BP_PROF);
    AttendreAide(235, 7, Avec(kProf, nom), "BP_PROF");
    Centre(FVLIC_LOAD_PDF_DT);
    AttendreAide(85, 4, Avec(kDt, nom), "PDF_DT");
    Passer(0, 3, 3);
    AttendreRien("empty panel area");
}

TEST_F(Survol, CodecParagraphOnlyForTheProductsWithTheCodec) {
    Ouvrir(191);
    Centre(FVLIC_LOAD_BP_EMP);
    AttendreAide(125, 15, Avec(kEmp + kCodec, "Véhicule Autonome Lidar"_cp1252), "191");
    DiscardPanel(panel_);
    Ouvrir(21);
    Centre(FVLIC_LOAD_BP_EMP);
    AttendreAide(125, 13, Avec(kEmp, "Robot RM5 Pince Électrique"_cp1252), "21");
}

TEST_F(Survol, Product101IsNamedAsItselfOnProduct100sItems) {
    Ouvrir(101);
    Centre(FVLIC_LOAD_PDF_DT);
    AttendreAide(85, 4, Avec(kDt, "Convoyeur Tri Colis FC"), "101");
    Centre(FVLIC_LOAD_BP_EMP);
    AttendreAide(125, 13, Avec(kEmp, "Convoyeur Tri Colis FC"), "101 EMP");
}

TEST_F(Survol, HiddenAndDimmedButtonsArePassedOver) {
    Ouvrir(10);   // no EMP: its group is hidden
    Centre(FVLIC_LOAD_BP_EMP);
    AttendreRien("hidden BP_EMP");
    Centre(FVLIC_LOAD_BP_PROF);
    AttendreAide(235, 7, Avec(kProf, "Mallette Capteurs et Mesures"), "BP_PROF");
    SetCtrlAttributeAnsi(panel_, FVLIC_LOAD_BP_PROF, ATTR_DIMMED, 1);
    Centre(FVLIC_LOAD_BP_PROF);
    AttendreRien("dimmed BP_PROF");
}

TEST_F(Survol, BothEdgesOfAButtonCount) {
    Ouvrir(20);
    int w = 0, h = 0;
    GetCtrlAttributeAnsi(panel_, FVLIC_LOAD_BP_EMP, ATTR_WIDTH, &w);
    GetCtrlAttributeAnsi(panel_, FVLIC_LOAD_BP_EMP, ATTR_HEIGHT, &h);
    Passer(FVLIC_LOAD_BP_EMP, w, h);
    EXPECT_EQ(Info(ATTR_VISIBLE), 1) << "x == width, y == height";
    EXPECT_EQ(Info(ATTR_TOP), 125);
    Passer(FVLIC_LOAD_BP_EMP, w + 1, h / 2);
    AttendreRien("one past the right edge");
    Passer(FVLIC_LOAD_BP_EMP, 0, 0);
    EXPECT_EQ(Info(ATTR_VISIBLE), 1) << "top-left corner";
    Passer(FVLIC_LOAD_BP_EMP, w / 2, h + 1);
    AttendreRien("one past the bottom edge");
    Passer(FVLIC_LOAD_BP_EMP, -1, h / 2);
    AttendreRien("one before the left edge");
}

TEST_F(Survol, NothingChangesWhileAnotherPanelIsActive) {
    Ouvrir(20);
    Centre(FVLIC_LOAD_PDF_DT);
    AttendreAide(85, 4, Avec(kDt, "Robot Manipulateur RM5"), "before");
    autre_ = NewPanelAnsi(0, "autre", 600, 600, 100, 100);
    ASSERT_GT(autre_, 0);
    DisplayPanel(autre_);
    UiTestProcess(50);
    ASSERT_EQ(GetActivePanel(), autre_);
    Centre(FVLIC_LOAD_BP_EMP);
    AttendreAide(85, 4, Avec(kDt, "Robot Manipulateur RM5"), "over BP_EMP, other panel active");
    Passer(0, 3, 3);
    AttendreAide(85, 4, Avec(kDt, "Robot Manipulateur RM5"), "over nothing, other panel active");
}

TEST_F(Survol, UtilityButtonsKeepTheHelpShownBefore) {
    Ouvrir(20);   // codec on BP_1, MAXON driver on BP_2
    const std::string emp = Avec(kEmp + kCodec, "Robot Manipulateur RM5");
    Centre(FVLIC_LOAD_BP_EMP);
    AttendreAide(125, 15, emp, "BP_EMP");
    Centre(FVLIC_LOAD_BP_1);
    AttendreAide(125, 15, emp, "then BP_1");
    Centre(FVLIC_LOAD_BP_2);
    AttendreAide(125, 15, emp, "then BP_2");
    Passer(0, 3, 3);
    AttendreRien("then nothing");
    Centre(FVLIC_LOAD_BP_2);
    EXPECT_EQ(Info(ATTR_VISIBLE), 0) << "a utility button shows no help of its own";
    EXPECT_EQ(Curseur(), VAL_POINTING_FINGER_CURSOR);
}

TEST_F(Survol, APassAtRestChangesNothing) {
    Ouvrir(20);
    Centre(FVLIC_LOAD_BP_IHM);
    const std::string avant = Texte();
    for (int i = 0; i < 100; ++i) LoadSurvol(panel_, product_);
    AttendreAide(130, 11, avant, "after 100 passes at rest");
}

// The panel's loop at rest sleeps: once the help shows, a turn (pass and
// poll) comes back only when something arrives, here a timer, never because
// the pass itself changed something that wakes the poll again. Over a
// button, then over nothing.
TEST_F(Survol, TheLoopAtRestSleepsUntilSomethingComes) {
    Ouvrir(20);
    for (int control : {int(FVLIC_LOAD_BP_EMP), 0}) {
        if (control) Centre(control);
        else Passer(0, 3, 3);
        bool dort = false;
        for (int tour = 0; tour < 20 && !dort; ++tour) {
            bool sonne = false;
            UiTestAfter(100, [&sonne] { sonne = true; });
            LoadSurvol(panel_, product_);
            int p, c;
            GetUserEvent(0, &p, &c);
            dort = sonne;   // the turn ended only when the timer rang
            while (!sonne) UiTestProcess();
        }
        EXPECT_TRUE(dort) << "the loop keeps waking itself (control " << control << ")";
    }
}

#ifndef _WIN32
// A screen reader names each picture button by the item beside it, never
// "button"; a label changed for the product renames it. Qt only: screen
// readers reach the Qt widgets through QAccessible, which this reads.
TEST_F(Survol, PictureButtonsAreNamedByTheirItem) {
    Ouvrir(20);
    auto nom = [this](int control) {
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(UiCtrlWidget(panel_, control));
        return a ? a->text(QAccessible::Name) : QString();
    };
    EXPECT_EQ(nom(FVLIC_LOAD_BP_EMP), "EMP");
    EXPECT_EQ(nom(FVLIC_LOAD_BP_IHM), "Interface PC");
    for (int control = FVLIC_LOAD_PDF_IHM; control <= FVLIC_LOAD_BP_EMP; ++control) {
        QLabel *label = UiCtrlLabelWidget(panel_, control);
        if (!label || !UiCtrlWidget(panel_, control)->isVisible()) continue;
        EXPECT_EQ(nom(control), label->text()) << "control " << control;
    }
}
#endif

}  // namespace
