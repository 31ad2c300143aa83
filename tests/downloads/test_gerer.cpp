// The downloads panel's loop, LoadGerer, driven by real clicks while it
// runs: a download button opens its address through the desktop's https
// handler (a recording one, tests/support/url_recorder.h), the same button
// twice opens twice, other controls open nothing, and the return hands
// back where the panel was moved to; with a folder mirror, a button opens
// the archive's copy there and the title names the mirror; a right click
// copies one address or all of the product's.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>
#include <QTimer>
#endif

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app/VLic.h"
#include "downloads/VLicLoad.h"
#include "support/ui_events.h"
#include "support/url_recorder.h"
#ifndef _WIN32
#include "support/xdg_fixture.h"
#endif
#include "ui/cp1252.h"
#include "ui/FVLicEnr.h"
#include "ui/userint.h"
#ifndef _WIN32
#include "ui/qt/userint_qt.h"
#endif

namespace {

const std::string kB = "https://www.veltrane.fr/telecharger/";

class Gerer : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        UrlRecorder::Install();
        ASSERT_EQ(VLicProdCharger(VLIC_PROD_FILE), 1);
    }
    void SetUp() override { UrlRecorder::ClearRecords(); }
};

int gPopups = 0;
void CompterPopup(const char *, const char *) { ++gPopups; }

TEST_F(Gerer, DownloadButtonsOpenTheirAddressesAndReturnHandsBackThePlace) {
    gPopups = 0;
    UiSetMessagePopupHook(CompterPopup);   // a handler that starts: no popup
    int panel = 0;
    int vuTop = -1, vuLeft = -1;
    UiTestSteps({
        [&] {
            panel = GetActivePanel();
            GetPanelAttributeAnsi(panel, ATTR_TOP, &vuTop);
            GetPanelAttributeAnsi(panel, ATTR_LEFT, &vuLeft);
            UiTestClick(panel, FVLIC_LOAD_BP_EMP);
        },
        [&] { UiTestClick(panel, FVLIC_LOAD_BP_EMP); },
        [&] { UiTestClick(panel, FVLIC_LOAD_BP_1); },
        [&] { SetPanelPos(panel, 150, 230); },
        [&] { UiTestClick(panel, FVLIC_LOAD_BP_QUIT); },
    });
    int top = 70, left = 90;
    LoadGerer(180, &top, &left);
    UiSetMessagePopupHook(nullptr);
    EXPECT_EQ(gPopups, 0);
    EXPECT_EQ(vuTop, 70) << "the panel opens where it is told";
    EXPECT_EQ(vuLeft, 90);
    EXPECT_EQ(top, 150) << "the moved place is handed back";
    EXPECT_EQ(left, 230);

    ASSERT_TRUE(UrlRecorder::WaitForRecords(3));
    std::vector<std::string> r = UrlRecorder::Records();
    std::sort(r.begin(), r.end());
    const std::string emp = kB + "Chronobox_EMP_V1-1.zip";
    const std::string hl975 = kB + "Installer_MiniDisplay_Manager_HL975_ZUM.zip";
    EXPECT_EQ(r, (std::vector<std::string>{emp, emp, hl975}));
}

TEST_F(Gerer, OtherControlsOpenNothing) {
    int panel = 0;
    UiTestSteps({
        [&] {
            panel = GetActivePanel();
            UiTestChooseRingItem(panel, FVLIC_LOAD_PROD, 2);   // a ring commit: no effect
        },
        [&] { UiTestClick(panel, FVLIC_LOAD_TXT_PROF); },
        [&] { UiTestClick(panel, FVLIC_LOAD_V_EMP); },
        [&] { UiTestMouseMoveCtrl(panel, FVLIC_LOAD_BP_EMP, 5, 5); },
        [&] { UiTestClick(panel, FVLIC_LOAD_BP_QUIT); },
    });
    int top = 50, left = 60;
    LoadGerer(20, &top, &left);
    EXPECT_EQ(top, 50);
    EXPECT_EQ(left, 60);
    EXPECT_FALSE(UrlRecorder::WaitForRecords(1, 1000));
}

TEST_F(Gerer, TheCloseBoxReturnsToo) {
    int panel = 0;
    UiTestSteps({
        [&] { panel = GetActivePanel(); },
        [&] { UiTestCloseBox(panel); },
    });
    int top = 50, left = 60;
    LoadGerer(10, &top, &left);
    EXPECT_EQ(top, 50);
    EXPECT_EQ(left, 60);
}

TEST_F(Gerer, WithAFolderMirrorAButtonOpensTheArchivesCopyThereAndTheTitleSaysSo) {
    // The desktop opens an archive as a file: the recording handler takes
    // zip files too.
#ifdef _WIN32
    ASSERT_TRUE(UrlRecorder::RegisterExtension(L".zip"));
    const std::filesystem::path miroir = std::filesystem::path(UrlRecorder::Folder()) / "miroir";
#else
    ASSERT_TRUE(XdgDesktop::Get().RegisterMimeType("application/zip"));
    const std::filesystem::path miroir = std::filesystem::path(XdgDesktop::Get().Scratch()) / "miroir";
#endif
    std::filesystem::create_directories(miroir);
    const std::filesystem::path copie = miroir / "Chronobox_EMP_V1-1.zip";
    std::ofstream(copie, std::ios::binary) << "PK\x03\x04";
    ASSERT_EQ(LoadMiroirDefinir(miroir.string().c_str(), nullptr), LOAD_MIROIR_DOSSIER);
    const std::string nomme = LoadMiroir();
    int panel = 0;
    std::string titre;
    UiTestSteps({
        [&] {
            panel = GetActivePanel();
            char t[512] = "";
            GetPanelAttributeAnsi(panel, ATTR_TITLE, t);
            titre = t;
            UiTestClick(panel, FVLIC_LOAD_BP_EMP);
        },
        [&] { UiTestClick(panel, FVLIC_LOAD_BP_QUIT); },
    });
    int top = 50, left = 60;
    LoadGerer(180, &top, &left);
    LoadMiroirDefinir(nullptr, nullptr);
    EXPECT_EQ(titre, "Télécharger Logiciels et Ressources Veltrane — miroir de l'école : "_cp1252 + nomme);
    ASSERT_TRUE(UrlRecorder::WaitForRecords(1));
    EXPECT_EQ(UrlRecorder::Records(), std::vector<std::string>{copie.string()});
    std::filesystem::remove_all(miroir);
}

#ifndef _WIN32   // reads Qt's popup menu and clipboard
// Once the popup menu is up: notes its items (and its place) and takes the
// nth (1 the first), by keys.
void Prendre(QStringList *items, int n, QPoint *at = nullptr) {
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    if (!menu) return QTimer::singleShot(20, [items, n, at] { Prendre(items, n, at); });
    for (QAction *a : menu->actions()) *items << a->text();
    if (at) *at = menu->pos();
    for (int i = 0; i < n; ++i) QTest::keyClick(menu, Qt::Key_Down);
    QTest::keyClick(menu, Qt::Key_Return);
}

TEST_F(Gerer, RightClickCopiesTheButtonsAddressOrAllOfTheProductsAsTheyOpen) {
    // With a mirror set, what is copied is what the buttons open.
    const std::string miroir = "https://miroir.lycee.fr/veltrane/";
    ASSERT_EQ(LoadMiroirDefinir(miroir.c_str(), nullptr), LOAD_MIROIR_HTTP);
    QStringList menu, menu2;
    QString une, toutes;
    QTimer::singleShot(150, [&] {
        const int panel = GetActivePanel();
        Prendre(&menu, 1);
        UiTestClick(panel, FVLIC_LOAD_BP_PROF, UiTestRightButton);   // returns once chosen
        une = QGuiApplication::clipboard()->text();
        Prendre(&menu2, 2);
        UiTestClick(panel, FVLIC_LOAD_BP_3, UiTestRightButton);
        toutes = QGuiApplication::clipboard()->text();
        UiTestClick(panel, FVLIC_LOAD_BP_QUIT);
    });
    int top = 50, left = 60;
    LoadGerer(250, &top, &left);
    LoadMiroirDefinir(nullptr, nullptr);
    EXPECT_EQ(menu, (QStringList{QStringLiteral("Copier l'adresse"), QStringLiteral("Copier toutes les adresses")}));
    EXPECT_EQ(une.toStdString(), miroir + "Banc-Moteur-Brushless_Professeur.zip");
    // Every button shown, in the panel's reading order: top to bottom,
    // each row from the left.
    std::string attendu;
    for (int c : {FVLIC_LOAD_BP_EMP, FVLIC_LOAD_PDF_EMP, FVLIC_LOAD_BP_IHM, FVLIC_LOAD_PDF_IHM, FVLIC_LOAD_BP_PROF,
                  FVLIC_LOAD_PDF_DT, FVLIC_LOAD_BP_1, FVLIC_LOAD_BP_2, FVLIC_LOAD_BP_3})
        attendu += miroir + std::string(LoadAdresse(c)).substr(kB.size()) + "\n";
    EXPECT_EQ(toutes.toStdString(), attendu);
    EXPECT_FALSE(UrlRecorder::WaitForRecords(1, 300)) << "a right click downloads nothing";
}

// The menu key (Qt's keyboard context-menu event on the focused button)
// offers the same menu, under the button.
TEST_F(Gerer, TheMenuKeyOffersTheMenuUnderTheButton) {
    QStringList menu;
    QPoint at, under;
    QTimer::singleShot(150, [&] {
        const int panel = GetActivePanel();
        QWidget *b = UiCtrlWidget(panel, FVLIC_LOAD_BP_PROF);
        under = b->mapToGlobal(QPoint(0, b->height()));
        Prendre(&menu, 1, &at);
        QContextMenuEvent e(QContextMenuEvent::Keyboard, QPoint(), under);
        QApplication::sendEvent(b, &e);   // returns once chosen
        UiTestClick(panel, FVLIC_LOAD_BP_QUIT);
    });
    int top = 50, left = 60;
    LoadGerer(250, &top, &left);
    EXPECT_EQ(menu.value(0), QStringLiteral("Copier l'adresse"));
    EXPECT_EQ(at, under);
}

#endif

}  // namespace
