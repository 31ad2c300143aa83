// A download that cannot start is said: on a desktop where no application
// is registered for web addresses, pressing a download button shows a
// message popup that names the item and the product and gives the address
// whole. (The recording handler's side, where no popup comes, is in
// test_gerer.cpp.)
#include <gtest/gtest.h>

#include <QTimer>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/VLic.h"
#include "downloads/VLicLoad.h"
#include "support/ui_events.h"
#include "ui/FVLicEnr.h"
#include "ui/cp1252.h"
#include "ui/userint.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::pair<std::string, std::string>> gPopups;
void Popup(const char *title, const char *message) { gPopups.emplace_back(title, message); }

// A desktop with no applications at all, set before GIO's first use in
// this process (GIO reads these variables once).
class Echec : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static const fs::path vide = fs::temp_directory_path() / ("vlic_sans_navigateur_" + std::to_string(getpid()));
        for (const char *sous : {"data", "config", "sysdata", "sysconfig"}) fs::create_directories(vide / sous);
        setenv("XDG_DATA_HOME", (vide / "data").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (vide / "config").c_str(), 1);
        setenv("XDG_DATA_DIRS", (vide / "sysdata").c_str(), 1);
        setenv("XDG_CONFIG_DIRS", (vide / "sysconfig").c_str(), 1);
        unsetenv("GTK_USE_PORTAL");
        ASSERT_EQ(VLicProdCharger(VLIC_PROD_FILE), 1);
    }
};

TEST_F(Echec, APressWithoutBrowserShowsTheItemAndItsWholeAddress) {
    gPopups.clear();
    UiSetMessagePopupHook(Popup);
    QTimer::singleShot(150, [] {
        const int panel = GetActivePanel();
        UiTestClick(panel, FVLIC_LOAD_BP_EMP);
        UiTestClick(panel, FVLIC_LOAD_PDF_DT);
        UiTestClick(panel, FVLIC_LOAD_BP_QUIT);
    });
    int top = 50, left = 60;
    LoadGerer(250, &top, &left);
    UiSetMessagePopupHook(nullptr);

    ASSERT_EQ(gPopups.size(), 2u) << "one popup per failed press, and the panel stays open";
    const std::string base = "https://www.veltrane.fr/telecharger/";
    EXPECT_EQ(gPopups[0].first, std::string("VLicEnr Veltrane : téléchargement impossible"_cp1252));
    const std::string &emp = gPopups[0].second;
    EXPECT_EQ(emp, std::string("Le téléchargement de « EMP » (Banc Moteur Brushless) ne peut pas démarrer : "
                               "aucun navigateur web n'a pu être lancé.\n\nPour le télécharger, copiez "
                               "cette adresse dans un navigateur web, sur ce PC ou sur un autre :\n\n"_cp1252) +
                       base + "Banc-Moteur-Brushless_EMP_V1-3.zip");
    const std::string &dt = gPopups[1].second;
    EXPECT_NE(dt.find("« Dossier Technique »"_cp1252), std::string::npos) << dt;
    EXPECT_EQ(dt.substr(dt.rfind('\n') + 1), base + "Banc-Moteur-Brushless_DT.zip");
}

}  // namespace
