// Tests of the screen and panel utilities: desktop mask, dimming, screen
// test, the wait popup's states, and printing a panel (on Linux to a PDF
// file checked by rendering it with poppler's tools).
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <QPrinterInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QWidget>
#endif

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "genutil/GenInterne.h"
#include "genutil/GenUtil.h"
#include "support/ui_events.h"
#ifndef _WIN32
#include "ui/qt/userint_qt.h"
#endif
#include "ui/userint.h"

namespace {

int PanelInt(int panel, int attr) {
    int v = -12345;
    GetPanelAttributeAnsi(panel, attr, &v);
    return v;
}
bool Existe(int panel) {
    int v = 0;
    return panel > 0 && GetPanelAttributeAnsi(panel, ATTR_VISIBLE, &v) >= 0;
}
std::string Val(int panel, int ctrl) {
    char texte[1024] = "";
    GetCtrlValAnsi(panel, ctrl, texte);
    return texte;
}

class Ecran : public ::testing::Test {
protected:
    void SetUp() override {
        a = NewPanelAnsi(0, "A", 60, 60, 300, 400);
        b = NewPanelAnsi(0, "B", 60, 500, 200, 200);
        ASSERT_GT(a, 0);
        ASSERT_GT(b, 0);
        DisplayPanel(b);
        DisplayPanel(a);
        UiTestProcess(20);
    }
    void TearDown() override {
        GenFermerWait();
        GenWaitSetPos(VAL_AUTO_CENTER, VAL_AUTO_CENTER);
        GenChoisirFichierRessource(nullptr);
        SetWaitCursor(0);
        DiscardPanel(a);
        DiscardPanel(b);
        UiTestProcess();
    }
    int a = 0, b = 0;
};

// Must stay the first test to touch the wait popup: its state at start.
TEST_F(Ecran, WaitPopupOpensUpdatesAndClosesWithItsFirstParent) {
    EXPECT_EQ(GenWaitPanel(), -1);
    // Closing with none open leaves the wait cursor as it is, either way.
    SetWaitCursor(1);
    GenFermerWait();
    EXPECT_EQ(GetWaitCursorState(), 1);
    SetWaitCursor(0);
    GenFermerWait();
    EXPECT_EQ(GetWaitCursorState(), 0);

    GenWait(a, "Un");
    const int w = GenWaitPanel();
    ASSERT_GT(w, 0);
    EXPECT_EQ(GetWaitCursorState(), 1);
    EXPECT_EQ(PanelInt(a, ATTR_DIMMED), 1);
    EXPECT_EQ(PanelInt(b, ATTR_DIMMED), 0);
    EXPECT_EQ(Val(w, 3), "Un");
    EXPECT_EQ(PanelInt(w, ATTR_VISIBLE), 1);
    EXPECT_TRUE(UiTestIsChildOf(w, a));   // a child of its parent
    // Centred in the parent while the position is the initial one.
    EXPECT_EQ(PanelInt(w, ATTR_LEFT), (400 - PanelInt(w, ATTR_WIDTH)) / 2);
    EXPECT_EQ(PanelInt(w, ATTR_TOP), (300 - PanelInt(w, ATTR_HEIGHT)) / 2);
    const int gauche = PanelInt(w, ATTR_LEFT), haut = PanelInt(w, ATTR_TOP);

    // A second call with another parent only changes the text.
    GenWait(b, "Deux");
    EXPECT_EQ(GenWaitPanel(), w);
    EXPECT_EQ(Val(w, 3), "Deux");
    EXPECT_EQ(PanelInt(b, ATTR_DIMMED), 0);
    EXPECT_EQ(PanelInt(a, ATTR_DIMMED), 1);
    EXPECT_TRUE(UiTestIsChildOf(w, a));

    // A new position waits for the next opening.
    GenWaitSetPos(10, 20);
    EXPECT_EQ(PanelInt(w, ATTR_LEFT), gauche);
    EXPECT_EQ(PanelInt(w, ATTR_TOP), haut);

    SetPanelAttributeAnsi(b, ATTR_DIMMED, 1);   // b's dimming is not the popup's business
    GenFermerWait();
    EXPECT_EQ(GenWaitPanel(), -1);
    EXPECT_FALSE(Existe(w));
    EXPECT_EQ(PanelInt(a, ATTR_DIMMED), 0);
    EXPECT_EQ(PanelInt(b, ATTR_DIMMED), 1);
    EXPECT_EQ(GetWaitCursorState(), 0);
    SetPanelAttributeAnsi(b, ATTR_DIMMED, 0);

    // Next opening: at the stored position, top-level for parent 0.
    GenWait(0, "Trois");
    const int t = GenWaitPanel();
    ASSERT_GT(t, 0);
    EXPECT_TRUE(UiTestIsChildOf(t, 0));
    EXPECT_EQ(PanelInt(t, ATTR_TOP), 10);
    EXPECT_EQ(PanelInt(t, ATTR_LEFT), 20);
    EXPECT_EQ(PanelInt(a, ATTR_DIMMED), 0);
    EXPECT_EQ(PanelInt(b, ATTR_DIMMED), 0);
    GenFermerWait();
    EXPECT_FALSE(Existe(t));
}

TEST_F(Ecran, TopLevelWaitPopupIsCentredOnTheScreen) {
    int hauteur = 0, largeur = 0;
    ASSERT_EQ(GetScreenSize(&hauteur, &largeur), 0);
    GenWait(0, "Centre");
    const int w = GenWaitPanel();
    ASSERT_GT(w, 0);
    UiTestProcess(20);
    EXPECT_EQ(GetActivePanel(), w);
    EXPECT_NEAR(PanelInt(w, ATTR_LEFT), (largeur - PanelInt(w, ATTR_WIDTH)) / 2, 1);
    EXPECT_NEAR(PanelInt(w, ATTR_TOP), (hauteur - PanelInt(w, ATTR_HEIGHT)) / 2, 40);   // title bar
    GenFermerWait();
}

TEST_F(Ecran, LongWaitMessagesAreCutAt255Bytes) {
    const std::string longue(300, 'x');
    GenWait(a, longue.c_str());
    const int w = GenWaitPanel();
    ASSERT_GT(w, 0);
    EXPECT_EQ(Val(w, 3), std::string(255, 'x'));
    const std::string autre = std::string(254, 'y') + "\xE9\xE8";
    GenWait(a, autre.c_str());
    EXPECT_EQ(Val(w, 3), std::string(254, 'y') + "\xE9");
    GenWait(a, nullptr);
    EXPECT_EQ(Val(w, 3), "");
    GenFermerWait();
}

#ifndef _WIN32
// A message of 255 bytes, in words or in one piece, wraps inside the popup
// and shows whole: the popup grows in height rather than cut it. Qt only:
// it reads the wrapped layout of the Qt label.
TEST_F(Ecran, LongWaitMessagesWrapInsideThePopup) {
    std::string mots;
    while (mots.size() < 250) mots += "patienter ";
    for (const std::string &texte : {mots.substr(0, 255), std::string(255, 'x')}) {
        GenWait(0, texte.c_str());
        const int w = GenWaitPanel();
        ASSERT_GT(w, 0);
        auto *label = qobject_cast<QLabel *>(UiCtrlWidget(w, 3));
        ASSERT_NE(label, nullptr);
        const QRect r = label->geometry();
        EXPECT_LE(r.right(), PanelInt(w, ATTR_WIDTH) - 1) << texte;
        EXPECT_LE(r.bottom(), PanelInt(w, ATTR_HEIGHT) - 1) << texte;
        EXPECT_GE(r.height(), label->heightForWidth(r.width())) << "cut: " << texte;
        const QRect used = label->fontMetrics().boundingRect(QRect(0, 0, r.width(), 10000),
                                                             Qt::TextWordWrap, label->text());
        EXPECT_LE(used.width(), r.width()) << "runs past the edge: " << texte;
        GenFermerWait();
    }
}
#endif

TEST_F(Ecran, WaitPopupThatCannotBeLoadedStillClosesCleanly) {
    GenChoisirFichierRessource("Absent.uir");
    GenWait(a, "Rien");
    EXPECT_LT(GenWaitPanel(), 0);
    EXPECT_NE(GenWaitPanel(), -1);   // counts as open
    EXPECT_EQ(PanelInt(a, ATTR_DIMMED), 1);
    EXPECT_EQ(GetWaitCursorState(), 1);
    GenWait(b, "Toujours rien");   // only tries to update the text
    EXPECT_EQ(PanelInt(b, ATTR_DIMMED), 0);
    GenFermerWait();
    EXPECT_EQ(GenWaitPanel(), -1);
    EXPECT_EQ(PanelInt(a, ATTR_DIMMED), 0);
    EXPECT_EQ(GetWaitCursorState(), 0);
}

TEST_F(Ecran, DimmingListsOfPanels) {
    const int deux[] = {a, b};
    GenDimmedPanel(1, 2, deux);
    EXPECT_EQ(PanelInt(a, ATTR_DIMMED), 1);
    EXPECT_EQ(PanelInt(b, ATTR_DIMMED), 1);
    GenDimmedPanel(0, 1, deux);
    EXPECT_EQ(PanelInt(a, ATTR_DIMMED), 0);
    EXPECT_EQ(PanelInt(b, ATTR_DIMMED), 1);
    GenDimmedPanel(0, 0, deux);
    GenDimmedPanel(1, 0, nullptr);
    EXPECT_EQ(PanelInt(a, ATTR_DIMMED), 0);
    EXPECT_EQ(PanelInt(b, ATTR_DIMMED), 1);
    const int unSeul[] = {b};
    GenDimmedPanel(0, 1, unSeul);
    EXPECT_EQ(PanelInt(b, ATTR_DIMMED), 0);
}

TEST_F(Ecran, ScreenSmallerThanAPanel) {
    int hauteur = 0, largeur = 0;
    ASSERT_EQ(GetScreenSize(&hauteur, &largeur), 0);
    EXPECT_EQ(GenTailleEcranInferieurTaillePanel(hauteur, largeur), 0);
    EXPECT_EQ(GenTailleEcranInferieurTaillePanel(hauteur + 1, largeur), 1);
    EXPECT_EQ(GenTailleEcranInferieurTaillePanel(hauteur, largeur + 1), 1);
    EXPECT_EQ(GenTailleEcranInferieurTaillePanel(hauteur - 1, largeur - 1), 0);
    EXPECT_EQ(GenTailleEcranInferieurTaillePanel(0, 0), 0);
}

TEST(GenMasque, SizeForAScreen) {
    struct Cas { int eh, el, h, l; };
    const Cas cas[] = {{768, 1024, 768, 1024}, {600, 800, 600, 800}, {590, 1280, 600, 800},
                       {1024, 799, 600, 800}, {1080, 1920, 1080, 1920}, {0, 0, 600, 800}};
    for (const Cas &c : cas) {
        int h = 0, l = 0;
        GenTailleMasque(c.eh, c.el, &h, &l);
        EXPECT_EQ(h, c.h) << c.eh << "x" << c.el;
        EXPECT_EQ(l, c.l) << c.eh << "x" << c.el;
    }
}

TEST_F(Ecran, MaskCoversTheScreenWithoutTitleBar) {
    int hauteur = 0, largeur = 0;
    ASSERT_EQ(GetScreenSize(&hauteur, &largeur), 0);
    int h = 0, l = 0;
    GenTailleMasque(hauteur, largeur, &h, &l);
    const int m = GenMasquerBureau(0x1F3A5F);
    ASSERT_GT(m, 0);
    EXPECT_EQ(PanelInt(m, ATTR_VISIBLE), 1);
    EXPECT_EQ(PanelInt(m, ATTR_TITLEBAR_VISIBLE), 0);
    EXPECT_EQ(PanelInt(m, ATTR_BACKCOLOR), 0x1F3A5F);
    EXPECT_EQ(PanelInt(m, ATTR_TOP), 0);
    EXPECT_EQ(PanelInt(m, ATTR_LEFT), 0);
    EXPECT_EQ(PanelInt(m, ATTR_HEIGHT), h);
    EXPECT_EQ(PanelInt(m, ATTR_WIDTH), l);
    char titre[1024] = "?";
    GetPanelAttributeAnsi(m, ATTR_TITLE, titre);
    EXPECT_STREQ(titre, "");
    // Each call makes a further panel, the caller's to discard.
    const int m2 = GenMasquerBureau(0);
    EXPECT_GT(m2, 0);
    EXPECT_NE(m2, m);
    EXPECT_EQ(DiscardPanel(m2), 0);
    EXPECT_EQ(DiscardPanel(m), 0);
}

// ---- Printing ------------------------------------------------------------

#ifndef _WIN32   // a PDF file is Qt's print path; Windows prints to printers only
std::string Commande(const std::string &cmd) {
    std::string sortie;
    if (FILE *f = popen(cmd.c_str(), "r")) {
        char buf[512];
        while (fgets(buf, sizeof buf, f)) sortie += buf;
        pclose(f);
    }
    return sortie;
}

// Pixels darker than light grey in a binary PGM file, -1 when unreadable.
long PixelsSombres(const std::string &pgm) {
    std::ifstream f(pgm, std::ios::binary);
    std::string magic;
    int l = 0, h = 0, max = 0;
    if (!(f >> magic >> l >> h >> max) || magic != "P5" || max != 255) return -1;
    f.get();
    long n = 0;
    for (long i = 0; i < static_cast<long>(l) * h; ++i) {
        const int c = f.get();
        if (c == EOF) return -1;
        if (c < 200) ++n;
    }
    return n;
}

TEST_F(Ecran, ActivePanelPrintedToAPdfFileIsOneNonBlankPage) {
    const int texte = NewCtrlAnsi(a, CTRL_TEXT_MSG, "Imprim\xE9 par GenUtil", 20, 20);
    SetCtrlAttributeAnsi(a, texte, ATTR_TEXT_COLOR, 0x000000);
    NewCtrlAnsi(a, CTRL_COMMAND_BUTTON, "Un bouton", 80, 20);
    NewCtrlAnsi(a, CTRL_DECORATION, "", 140, 20);
    DisplayPanel(a);
    UiTestProcess(20);
    ASSERT_EQ(GetActivePanel(), a);

    char modele[] = "/tmp/genutil_pdf_XXXXXX";
    ASSERT_NE(mkdtemp(modele), nullptr);
    const std::string dossier = modele;
    const std::string pdf = dossier + "/panneau.pdf";
    EXPECT_GE(GenImprimerPanelActif(pdf.c_str(), 0), 0);
    EXPECT_EQ(GetWaitCursorState(), 0);

    const std::string pages = Commande("pdfinfo '" + pdf + "' 2>&1 | sed -n 's/^Pages: *//p'");
    EXPECT_EQ(pages, "1\n");
    Commande("pdftoppm -gray -r 40 -singlefile '" + pdf + "' '" + dossier + "/page' 2>&1");
    const long sombres = PixelsSombres(dossier + "/page.pgm");
    EXPECT_GT(sombres, 200) << "the page looks blank";
    Commande("rm -rf '" + dossier + "'");
}

#endif

// Never put paper through a real printer from a test.
static bool HasDefaultPrinter() {
#ifdef _WIN32
    wchar_t name[256];
    DWORD size = 256;
    return GetDefaultPrinterW(name, &size);
#else
    return !QPrinterInfo::defaultPrinter().isNull();
#endif
}

TEST_F(Ecran, PrintingOnThePrinterLeavesTheWaitCursorOff) {
    if (HasDefaultPrinter()) GTEST_SKIP() << "a default printer is set up";
    SetWaitCursor(1);
    GenPrintPanel(0);
    EXPECT_EQ(GetWaitCursorState(), 0);
}

}  // namespace
