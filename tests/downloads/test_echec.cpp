// On a desktop with no application for web addresses, a press on a
// download button shows a popup naming the item and the product with the
// whole address, in a field that can be selected, and a button that copies
// it. (With a handler no popup comes: test_gerer.cpp.) From a folder
// mirror that lacks the archive, the popup names the archive's path there
// and gives the maker's address.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>

#include <thread>
#endif

#include "app/VLic.h"
#include "downloads/VLicLoad.h"
#include "support/ui_events.h"
#include "support/url_recorder.h"
#include "ui/FVLicEnr.h"
#include "ui/cp1252.h"
#include "ui/userint.h"

namespace {

std::vector<std::string> gPopups;
void Popup(const char *title, const char *message) { gPopups.push_back(std::string(title) + "|" + message); }

#ifdef _WIN32
// Another program holding the clipboard for ms: a thread with a window of
// its own opens it; back once it is open.
std::thread Tenir(int ms) {
    HANDLE ouvert = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread t([ouvert, ms] {
        HWND w = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        const bool open = OpenClipboard(w);
        SetEvent(ouvert);
        Sleep(ms);
        if (open) CloseClipboard();
        DestroyWindow(w);
    });
    WaitForSingleObject(ouvert, 2000);
    CloseHandle(ouvert);
    return t;
}

std::string gApresAttente, gOccupe;

// With the clipboard held a moment, then held on: the copy waits for the
// first and says the second has failed; then fin.
void Suite(int popup, std::function<void()> fin) {
    auto *t = new std::thread(Tenir(60));
    UiTestClick(popup, UI_COPY_POPUP_COPY);
    UiTestAfter(300, [popup, t, fin] {
        t->join();
        delete t;
        gApresAttente = UiTestCtrlText(popup, UI_COPY_POPUP_STATUS);
        auto *u = new std::thread(Tenir(1500));
        UiTestClick(popup, UI_COPY_POPUP_COPY);
        UiTestAfter(400, [popup, u, fin] {
            gOccupe = UiTestCtrlText(popup, UI_COPY_POPUP_STATUS);
            u->join();
            delete u;
            fin();
        });
    });
}
#else
// The offscreen clipboard is never held by anyone.
void Suite(int, std::function<void()> fin) { fin(); }
#endif

TEST(Echec, APressWithoutBrowserShowsTheItemAndItsWholeAddress) {
#ifdef _WIN32
    ASSERT_TRUE(UrlRecorder::UnregisterHttps());
#else
    // Empty desktop folders, set before GIO's first use in this process.
    const auto vide = std::filesystem::temp_directory_path() / ("vlic_sans_navigateur_" + std::to_string(getpid()));
    std::filesystem::create_directories(vide);
    for (const char *v : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_DATA_DIRS", "XDG_CONFIG_DIRS"})
        setenv(v, vide.c_str(), 1);
#endif
    ASSERT_EQ(VLicProdCharger(VLIC_PROD_FILE), 1);
    UiSetMessagePopupHook(Popup);
    // The clicks wait for the panel to be up and active: on a loaded machine
    // a fixed delay may come while it is still being drawn.
    UiTestWhen([] { return GetActivePanel() > 0; }, [] {
        const int panel = GetActivePanel();
        UiTestClick(panel, FVLIC_LOAD_BP_EMP);
        UiTestClick(panel, FVLIC_LOAD_PDF_IHM);
        UiTestClick(panel, FVLIC_LOAD_BP_QUIT);
    });
    int top = 50, left = 60;
    LoadGerer(250, &top, &left);
    UiSetMessagePopupHook(nullptr);

    // The popup itself: the address in a read-only field, whose button
    // copies it; OK ends it and the panel goes on.
    int popup = 0, mode = -1;
    std::string champ, presse, etat;
    UiTestWhen([] { return GetActivePanel() > 0; }, [&] {
        const int panel = GetActivePanel();
        UiTestWhen([panel] { return GetActivePanel() != panel; }, [&, panel] {
            popup = GetActivePanel();
            champ = UiTestCtrlText(popup, UI_COPY_POPUP_TEXT);
            GetCtrlAttributeAnsi(popup, UI_COPY_POPUP_TEXT, ATTR_CTRL_MODE, &mode);
            UiTestClick(popup, UI_COPY_POPUP_COPY);
            UiTestWhen([&] { return !UiTestCtrlText(popup, UI_COPY_POPUP_STATUS).empty(); }, [&, panel] {
                presse = UiTestClipboardText();
                etat = UiTestCtrlText(popup, UI_COPY_POPUP_STATUS);
                Suite(popup, [&, panel] {
                    UiTestClick(popup, UI_COPY_POPUP_OK);
                    UiTestWhen([panel] { return GetActivePanel() == panel; },
                               [panel] { UiTestClick(panel, FVLIC_LOAD_BP_QUIT); });
                });
            });
        });
        UiTestClick(panel, FVLIC_LOAD_BP_PROF);   // the popup runs inside this press's commit
    });
    LoadGerer(250, &top, &left);
#ifndef _WIN32
    std::filesystem::remove_all(vide);
#endif
    const std::string prof = "https://www.veltrane.fr/telecharger/Banc-Moteur-Brushless_Professeur.zip";
    EXPECT_EQ(champ, prof) << "the whole address in the popup's field";
    EXPECT_EQ(mode, VAL_INDICATOR) << "a field the user reads and selects, not edits";
    EXPECT_EQ(presse, prof) << "the copy button puts it on the clipboard";
    EXPECT_EQ(etat, "L'adresse est dans le presse-papiers.");
#ifdef _WIN32
    EXPECT_EQ(gApresAttente, "L'adresse est dans le presse-papiers.") << "a clipboard held a moment is waited for";
    EXPECT_EQ(gOccupe.rfind("L'adresse n'a pas pu être copiée", 0), 0u) << "a clipboard held on is said: " << gOccupe;
#endif

    const std::string b = "https://www.veltrane.fr/telecharger/Banc-Moteur-Brushless_";
    const std::string texte = "VLicEnr Veltrane : téléchargement impossible|Le téléchargement de « %s » "
                              "(Banc Moteur Brushless) ne peut pas démarrer : aucun navigateur web n'a pu "
                              "être lancé.\n\nPour le télécharger, copiez cette adresse dans un navigateur "
                              "web, sur ce PC ou sur un autre :\n\n"_cp1252;
    auto attendu = [&](const std::string &element, const std::string &fichier) {
        std::string s = texte;
        return s.replace(s.find("%s"), 2, element) + b + fichier;
    };
    EXPECT_EQ(gPopups, (std::vector<std::string>{attendu("EMP", "EMP_V1-3.zip"),
                                                 attendu("Manuel Interface PC", "MIHM.zip")}));
}

TEST(Echec, FromAFolderMirrorThatLacksTheArchiveItsPathThereIsNamed) {
    const auto vide = std::filesystem::temp_directory_path() /
                      ("vlic_miroir_vide_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::create_directories(vide);
    ASSERT_EQ(LoadMiroirDefinir(vide.string().c_str(), nullptr), LOAD_MIROIR_DOSSIER);
    const std::string miroir = LoadMiroir();
    ASSERT_EQ(VLicProdCharger(VLIC_PROD_FILE), 1);
    gPopups.clear();
    UiSetMessagePopupHook(Popup);
    UiTestAfter(150, [] {
        const int panel = GetActivePanel();
        UiTestClick(panel, FVLIC_LOAD_BP_EMP);
        UiTestClick(panel, FVLIC_LOAD_BP_QUIT);
    });
    int top = 50, left = 60;
    LoadGerer(250, &top, &left);
    UiSetMessagePopupHook(nullptr);
    LoadMiroirDefinir(nullptr, nullptr);
    std::filesystem::remove_all(vide);
    EXPECT_EQ(gPopups, std::vector<std::string>{
        "VLicEnr Veltrane : téléchargement impossible|L'archive « EMP » (Banc Moteur Brushless) n'est pas dans "
        "le miroir de l'école :\n"_cp1252 + miroir + "Banc-Moteur-Brushless_EMP_V1-3.zip\n" +
        "Copiez-la à cet endroit depuis un PC relié à internet, à cette adresse du site Veltrane :\n\n"_cp1252 +
        "https://www.veltrane.fr/telecharger/Banc-Moteur-Brushless_EMP_V1-3.zip"});
}

}  // namespace
