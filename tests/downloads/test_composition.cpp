// Composition of the downloads panel on the real panel resource: folder
// names, version texts, which buttons show, labels and addresses, product
// rules, utilities, and that long or odd inputs stay inside their buffers;
// then the addresses in force with a school's mirror of each kind, on this
// platform's rules, and its file.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/VLic.h"
#include "downloads/VLicLoad.h"
#include "ui/FVLicEnr.h"
#include "ui/cp1252.h"
#include "ui/userint.h"

namespace {

const std::string kB = "https://www.veltrane.fr/telecharger/";

// Versions given to LoadVersions by the hook.
const char *gEmp = "";
const char *gIhm = "";
void Versions(int, char *emp, char *ihm, int size) {
    std::snprintf(emp, size, "%s", gEmp);
    std::snprintf(ihm, size, "%s", gIhm);
}

class Composition : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_EQ(VLicProdCharger(VLIC_PROD_FILE), 1); }
    void SetUp() override {
        std::memcpy(sauve_, VLicProdG, sizeof sauve_);
        panel_ = LoadPanelAnsi(0, FVLIC_UIR_FILE, FVLIC_LOAD);
        ASSERT_GT(panel_, 0);
    }
    void TearDown() override {
        LoadSetVersionsHook(nullptr);
        if (panel_ > 0) DiscardPanel(panel_);
        std::memcpy(VLicProdG, sauve_, sizeof sauve_);
    }
    // Composes a fresh panel for product, with the given versions (or the
    // version table when emp is null).
    void Composer(int product, const char *emp = nullptr, const char *ihm = "") {
        if (emp) {
            gEmp = emp;
            gIhm = ihm;
            LoadSetVersionsHook(Versions);
        } else {
            LoadSetVersionsHook(nullptr);
        }
        DiscardPanel(panel_);
        panel_ = LoadPanelAnsi(0, FVLIC_UIR_FILE, FVLIC_LOAD);
        ASSERT_GT(panel_, 0);
        LoadInit(panel_, product);
    }
    bool Visible(int control) {
        int v = -1;
        EXPECT_GE(GetCtrlAttributeAnsi(panel_, control, ATTR_VISIBLE, &v), 0);
        return v == 1;
    }
    std::string Texte(int control) {
        char t[1024] = "";
        GetCtrlValAnsi(panel_, control, t);
        return t;
    }
    std::string Label(int control) {
        char t[1024] = "";
        GetCtrlAttributeAnsi(panel_, control, ATTR_LABEL_TEXT, t);
        return t;
    }
    std::string Adr(int control) { return LoadAdresse(control); }
    void Nommer(int product, const char *nom) {
        std::memset(VLicProdG[product].name, 0, VLIC_PROD_NAME_LEN);
        std::memcpy(VLicProdG[product].name, nom, std::strlen(nom));
    }

    int panel_ = 0;
    static VLicProdRec sauve_[VLIC_PROD_MAX];
};
VLicProdRec Composition::sauve_[VLIC_PROD_MAX];

TEST_F(Composition, FolderNameReplacesBlanksAndThreeAccentsAndCutsAtTheBracket) {
    struct { const char *nom, *dossier; } cas[] = {
        {"Pont élévateur (Kit)"_cp1252, "Pont-elevateur"},
        {"(Kit) Pont", ""},
        {"Fenêtre è é â (x) y"_cp1252, "Fenetre-e-e-\xE2"},
        {"Sans Parenthese", "Sans-Parenthese"},
        {"A(B)", ""},            // the character before the bracket goes too
        {"AB(C)", "A"},
        {"Ça ôte ë"_cp1252, "\xC7" "a-\xF4te-\xEB"},
    };
    for (const auto &c : cas) {
        Nommer(500, c.nom);
        LoadNomDossier(500);
        EXPECT_STREQ(LoadDossier(), c.dossier) << c.nom;
    }
}

TEST_F(Composition, FolderNameOfNoProductIsEmptyAndNeverReadsPastTheName) {
    for (int n : {0, 999, -1, 1000, -2147483647 - 1, 2147483647}) {
        LoadNomDossier(n);
        EXPECT_STREQ(LoadDossier(), "") << n;
    }
    // A stored name that fills its 32 bytes without a NUL: 31 kept.
    std::memset(VLicProdG[500].name, 'x', VLIC_PROD_NAME_LEN);
    LoadNomDossier(500);
    EXPECT_EQ(std::strlen(LoadDossier()), 31u);
}

TEST_F(Composition, PointTiretTurnsEveryDotAndIsIdempotent) {
    char t[16] = "1.2.3..";
    LoadPointTiret(t);
    EXPECT_STREQ(t, "1-2-3--");
    LoadPointTiret(t);
    EXPECT_STREQ(t, "1-2-3--");
    LoadPointTiret(nullptr);
}

TEST_F(Composition, TwoCharacterVersionIsUnavailableThreeIsAvailable) {
    Composer(30, "12", "1.2");
    EXPECT_FALSE(Visible(FVLIC_LOAD_BP_EMP));
    EXPECT_FALSE(Visible(FVLIC_LOAD_V_EMP));
    EXPECT_FALSE(Visible(FVLIC_LOAD_PDF_EMP));
    EXPECT_FALSE(Visible(FVLIC_LOAD_TXT_EMP));
    EXPECT_EQ(Adr(FVLIC_LOAD_BP_EMP), "");
    EXPECT_EQ(Adr(FVLIC_LOAD_PDF_EMP), "");
    EXPECT_TRUE(Visible(FVLIC_LOAD_BP_IHM));
    EXPECT_TRUE(Visible(FVLIC_LOAD_V_IHM));
    EXPECT_TRUE(Visible(FVLIC_LOAD_PDF_IHM));
    EXPECT_TRUE(Visible(FVLIC_LOAD_TXT_IHM));
    EXPECT_EQ(Texte(FVLIC_LOAD_V_IHM), "V1-2 ");
    EXPECT_EQ(Adr(FVLIC_LOAD_BP_IHM), kB + "Installer_Interface_Banc-Pompe-Centrifuge_V1-2.zip");

    Composer(30, "1.2", "12");
    EXPECT_TRUE(Visible(FVLIC_LOAD_BP_EMP));
    EXPECT_FALSE(Visible(FVLIC_LOAD_BP_IHM));
    EXPECT_FALSE(Visible(FVLIC_LOAD_PDF_IHM));
    EXPECT_EQ(Adr(FVLIC_LOAD_BP_IHM), "");
    EXPECT_EQ(Adr(FVLIC_LOAD_PDF_IHM), "");
}

TEST_F(Composition, EmpVersionGivesDashedArchiveAndShownVersion) {
    Composer(40, "2.1", "");
    EXPECT_EQ(Adr(FVLIC_LOAD_BP_EMP), kB + "Maison-Domotique_EMP_V2-1.zip");
    EXPECT_EQ(Adr(FVLIC_LOAD_PDF_EMP), kB + "Maison-Domotique_MEMP.zip");
    EXPECT_EQ(Texte(FVLIC_LOAD_V_EMP), "V2-1 ");
    EXPECT_STREQ(LoadVersionEmp(), "2-1");
    EXPECT_EQ(Adr(FVLIC_LOAD_BP_PROF), kB + "Maison-Domotique_Professeur.zip");
    EXPECT_EQ(Adr(FVLIC_LOAD_PDF_DT), kB + "Maison-Domotique_DT.zip");
}

TEST_F(Composition, Product101ShowsProduct100WithTheFcArchives) {
    Composer(101, "2.1", "1.5");
    int valeur = -1;
    GetCtrlValAnsi(panel_, FVLIC_LOAD_PROD, &valeur);
    EXPECT_EQ(valeur, 100);
    EXPECT_EQ(Adr(FVLIC_LOAD_BP_EMP), kB + "Convoyeur-Tri-Colis-FC_EMP_V2-1.zip");
    EXPECT_EQ(Adr(FVLIC_LOAD_PDF_DT), kB + "Convoyeur-Tri-Colis-FC_DT.zip");
    EXPECT_EQ(Adr(FVLIC_LOAD_PDF_EMP), kB + "Convoyeur-Tri-Colis_MEMP.zip");
    EXPECT_EQ(Adr(FVLIC_LOAD_BP_IHM), kB + "Installer_Interface_Convoyeur-Tri-Colis_V1-5.zip");
}

TEST_F(Composition, Product70GetsSupervisionAnd80ItsOwnFixedTool) {
    Composer(70, "1.1", "2.3");
    EXPECT_EQ(Adr(FVLIC_LOAD_BP_IHM), kB + "Installer_Supervision_Dosipese_V2-3.zip");
    EXPECT_EQ(Label(FVLIC_LOAD_BP_IHM), "Supervision ");
    EXPECT_EQ(Adr(FVLIC_LOAD_PDF_IHM), kB + "Dosipese_MSPV.zip");

    Composer(80, "", "1.0");
    EXPECT_EQ(Adr(FVLIC_LOAD_BP_IHM), kB + "Installer_Interface_DosiNet_V1-0.zip");
    EXPECT_EQ(Label(FVLIC_LOAD_BP_IHM), "Interface PC");
    EXPECT_EQ(Adr(FVLIC_LOAD_PDF_IHM), kB + "DosiNet_MIHM.zip");
    EXPECT_TRUE(Visible(FVLIC_LOAD_BP_2));
    EXPECT_EQ(Label(FVLIC_LOAD_BP_2), "Supervision (Ethernet) DosiNet et Doseur Dosip\xE8se");
    EXPECT_EQ(Adr(FVLIC_LOAD_BP_2), kB + "Installer_Supervision_DosiNet_V1-0.zip");
}

TEST_F(Composition, Product180AlwaysShowsTheHl7Interface) {
    Composer(180, "", "");
    EXPECT_TRUE(Visible(FVLIC_LOAD_BP_IHM));
    EXPECT_TRUE(Visible(FVLIC_LOAD_V_IHM));
    EXPECT_TRUE(Visible(FVLIC_LOAD_PDF_IHM));
    EXPECT_TRUE(Visible(FVLIC_LOAD_TXT_IHM));
    EXPECT_FALSE(Visible(FVLIC_LOAD_BP_EMP));
    EXPECT_EQ(Texte(FVLIC_LOAD_V_IHM), "HL7");
    EXPECT_EQ(Texte(FVLIC_LOAD_TXT_IHM), "(Acquisition Tops Chronos avec Boitier Chronobox)");
    EXPECT_EQ(Adr(FVLIC_LOAD_BP_IHM), kB + "Installer_Interface_HL7.zip");
    EXPECT_EQ(Adr(FVLIC_LOAD_PDF_IHM), kB + "Chronobox_MIHM.zip");
    EXPECT_EQ(Adr(FVLIC_LOAD_BP_1), kB + "Installer_MiniDisplay_Manager_HL975_ZUM.zip");
    EXPECT_EQ(Adr(FVLIC_LOAD_BP_2), kB + "Installer_MiniDisplay_Manager_HL975_ZUM.zip");
    EXPECT_EQ(Adr(FVLIC_LOAD_BP_3), kB + "Pilote/Moxa/Moxa-UPort-1100-1130.zip");
}

TEST_F(Composition, Products20And21FollowTheirInterfaceEdition) {
    for (int p : {20, 21}) {
        Composer(p, "2.1", "3.0");
        EXPECT_EQ(Adr(FVLIC_LOAD_PDF_IHM), kB + "Robot-Manipulateur-RM5-E_MIHM.zip") << p;
        EXPECT_EQ(Adr(FVLIC_LOAD_PDF_DT), kB + "Robot-Manipulateur-RM5-E_DT.zip") << p;
        EXPECT_EQ(Adr(FVLIC_LOAD_BP_PROF), kB + "Robot-Manipulateur-RM5-E_Professeur.zip") << p;
        EXPECT_EQ(Adr(FVLIC_LOAD_BP_IHM), kB + "Installer_Interface_Robot-Manipulateur-RM5_V3-0.zip") << p;
        EXPECT_TRUE(Visible(FVLIC_LOAD_BP_2)) << p;
        EXPECT_EQ(Label(FVLIC_LOAD_BP_2), LoadUtilitaireLabel(1)) << p;
        EXPECT_EQ(Adr(FVLIC_LOAD_BP_2), kB + "Pilote/EPOS2_USB_Driver.zip") << p;

        Composer(p, "2.1", "2.0");
        EXPECT_EQ(Adr(FVLIC_LOAD_PDF_IHM), kB + "Robot-Manipulateur-RM5-V2_MIHM.zip") << p;
        EXPECT_EQ(Adr(FVLIC_LOAD_PDF_DT), kB + "Robot-Manipulateur-RM5-V2_DT.zip") << p;
        EXPECT_EQ(Adr(FVLIC_LOAD_BP_PROF), kB + "Robot-Manipulateur-RM5_Professeur.zip") << p;
        EXPECT_FALSE(Visible(FVLIC_LOAD_BP_2)) << p;
        EXPECT_FALSE(Visible(FVLIC_LOAD_BP_3)) << p;
    }
    // The EMP of 20 brings the codec; that of 21 never does.
    Composer(20, "2.1", "2.0");
    EXPECT_TRUE(Visible(FVLIC_LOAD_BP_1));
    Composer(21, "2.1", "2.0");
    EXPECT_FALSE(Visible(FVLIC_LOAD_BP_1));
}

TEST_F(Composition, CodecGoesWithTheEmpOf191) {
    Composer(191, "3.0", "");
    EXPECT_TRUE(Visible(FVLIC_LOAD_BP_1));
    EXPECT_EQ(Label(FVLIC_LOAD_BP_1), LoadUtilitaireLabel(0));
    EXPECT_EQ(Label(FVLIC_LOAD_BP_1), "Codec ''Lecteur Windows Media'' pour Vid\xE9os EMP");
    EXPECT_EQ(Adr(FVLIC_LOAD_BP_1), kB + "Pilote/K-Lite_Codec_Pack_Basic.zip");
    EXPECT_FALSE(Visible(FVLIC_LOAD_BP_PROF));
    EXPECT_FALSE(Visible(FVLIC_LOAD_TXT_PROF));

    Composer(191, "", "");
    EXPECT_FALSE(Visible(FVLIC_LOAD_BP_1));
    for (int p : {40, 170, 190, 310, 999}) {
        Composer(p, "1.0", "");
        EXPECT_TRUE(Visible(FVLIC_LOAD_BP_1)) << p;
    }
    for (int p : {21, 30, 130, 189}) {   // 180 has a fixed tool on BP_1
        Composer(p, "1.0", "");
        EXPECT_FALSE(Visible(FVLIC_LOAD_BP_1)) << p;
    }
}

TEST_F(Composition, RingStartsWithDashesThenProductsNewestFirst) {
    Composer(230);
    int n = 0;
    GetNumListItems(panel_, FVLIC_LOAD_PROD, &n);
    EXPECT_EQ(n, 42);   // 41 catalogued products and "------"
    char label[1024];
    int v = -1;
    GetLabelFromIndexAnsi(panel_, FVLIC_LOAD_PROD, 0, label);
    GetValueFromIndexAnsi(panel_, FVLIC_LOAD_PROD, 0, &v);
    EXPECT_STREQ(label, "------");
    EXPECT_EQ(v, 0);
    int precedent = 1000;
    for (int i = 1; i < n; ++i) {
        GetValueFromIndexAnsi(panel_, FVLIC_LOAD_PROD, i, &v);
        EXPECT_LT(v, precedent);
        precedent = v;
    }
    GetCtrlValAnsi(panel_, FVLIC_LOAD_PROD, &v);
    EXPECT_EQ(v, 230);
}

TEST_F(Composition, Product170IsRenamedV2InTheRing) {
    Composer(170, "2.0", "");
    EXPECT_STREQ(LoadDossier(), "Bras-Robotise-Delta-V2");
    int index = -1;
    char label[1024];
    GetIndexFromValueAnsi(panel_, FVLIC_LOAD_PROD, &index, 170);
    GetLabelFromIndexAnsi(panel_, FVLIC_LOAD_PROD, index, label);
    EXPECT_STREQ(label, "Bras-Robotise-Delta-V2");
    EXPECT_EQ(Adr(FVLIC_LOAD_BP_EMP), kB + "Bras-Robotise-Delta-V2_EMP_V2-0.zip");
    // A name of 31 characters: "-V2" is cut to fit the folder name.
    Nommer(170, "ABCDEFGHIJKLMNOPQRSTUVWXYZ01234");
    Composer(170, "2.0", "");
    EXPECT_STREQ(LoadDossier(), "ABCDEFGHIJKLMNOPQRSTUVWXYZ01234");
}

TEST_F(Composition, NameBytesABrowserWouldDropOrParseArePercentEncoded) {
    // Controls, "?", "#", "%" and "\\" would make the browser fetch another
    // file; every other byte, accents included, stays as the rules made it.
    Nommer(990, "A\tB\nC?D#E%F G\x81H\xE2\x7F\\I");
    Composer(990, "", "");
    EXPECT_EQ(Adr(FVLIC_LOAD_BP_PROF), kB + "A%09B%0AC%3FD%23E%25F-G%C2%81H\xE2%7F%5CI_Professeur.zip");
    EXPECT_STREQ(LoadDossier(), "A\tB\nC?D#E%F-G\x81H\xE2\x7F\\I") << "the folder name itself is not encoded";
    Nommer(80, "Dosi Pro?");   // a name used whole in an address
    Composer(80, "", "");
    EXPECT_EQ(Adr(FVLIC_LOAD_BP_2), kB + "Installer_Supervision_Dosi%20Pro%3F_V1-0.zip");
}

TEST_F(Composition, ProductRulesOfParticularRows) {
    Composer(60, "", "");
    EXPECT_EQ(Adr(FVLIC_LOAD_BP_PROF), kB + "Hydrolab_Professeur.zip");
    EXPECT_EQ(Adr(FVLIC_LOAD_PDF_DT), kB + "Hydrolab_DT.zip");
    Composer(232, "", "");
    EXPECT_EQ(Adr(FVLIC_LOAD_BP_PROF), kB + "Quadrirotor_Professeur.zip");
    Nommer(230, "Quadri Rotor");   // as stored: the blank stays, encoded
    Composer(232, "", "");
    EXPECT_EQ(Adr(FVLIC_LOAD_BP_PROF), kB + "Quadri%20Rotor_Professeur.zip");
    Composer(23, "", "");
    EXPECT_EQ(Adr(FVLIC_LOAD_PDF_DT), kB + "Robot-RM5-Vision_MEMP.zip");
    for (int p : {22, 150, 231, 280}) {
        Composer(p, "1.0", "1.0");
        EXPECT_FALSE(Visible(FVLIC_LOAD_PDF_DT)) << p;
    }
    Composer(233, "1.0", "1.0");
    EXPECT_TRUE(Visible(FVLIC_LOAD_BP_EMP));
    EXPECT_FALSE(Visible(FVLIC_LOAD_PDF_EMP));
    Composer(270, "", "");
    EXPECT_EQ(Adr(FVLIC_LOAD_BP_2), kB + "Imprimante-3D-Modula_RepetierHost.zip");
    EXPECT_EQ(Adr(FVLIC_LOAD_BP_3), kB + "Imprimante-3D-Modula_Pilotes_USB.zip");
    // The two 3D-printing utilities are named after product 270's folder.
    LoadNomDossier(270);
    EXPECT_NE(std::string(LoadUtilitaireLabel(7)).find(LoadDossier()), std::string::npos);
}

TEST_F(Composition, UtilityEntryOutsideTheTableDoesNothing) {
    Composer(10);
    char slot[LOAD_ADRESSE_LEN] = "avant";
    for (int entry : {8, 9, -1, 1000}) {
        LoadUtilitaire(panel_, entry, FVLIC_LOAD_BP_2, slot);
        EXPECT_STREQ(slot, "avant");
        EXPECT_FALSE(Visible(FVLIC_LOAD_BP_2));
    }
    LoadUtilitaire(panel_, 2, FVLIC_LOAD_BP_2, slot);
    EXPECT_EQ(std::string(slot), kB + "Pilote/FTDI_ft232rUSB_Driver.zip");
    EXPECT_TRUE(Visible(FVLIC_LOAD_BP_2));
    EXPECT_EQ(Label(FVLIC_LOAD_BP_2), "Pilote FTDI USB pour liaison s\xE9riel");
    LoadUtilitaire(panel_, 3, FVLIC_LOAD_BP_3, nullptr);
    EXPECT_FALSE(Visible(FVLIC_LOAD_BP_3));
}

TEST_F(Composition, StaleSlotsOfAnEarlierProductStayOnHiddenButtons) {
    Composer(250, "1.3", "1.1");
    EXPECT_TRUE(Visible(FVLIC_LOAD_BP_3));
    const std::string ancien = Adr(FVLIC_LOAD_BP_3);
    Composer(10);
    EXPECT_FALSE(Visible(FVLIC_LOAD_BP_3));
    EXPECT_FALSE(Visible(FVLIC_LOAD_BP_2));
    EXPECT_FALSE(Visible(FVLIC_LOAD_BP_1));
    EXPECT_EQ(Adr(FVLIC_LOAD_BP_3), ancien);   // harmless: it cannot be pressed
    EXPECT_EQ(Adr(FVLIC_LOAD_BP_PROF), kB + "Mallette-Capteurs-et-Mesures_Professeur.zip");
    EXPECT_EQ(Adr(FVLIC_LOAD_BP_EMP), "");
    EXPECT_EQ(LoadAdresse(FVLIC_LOAD_BP_4), std::string());   // nothing ever writes it
    EXPECT_EQ(LoadAdresse(FVLIC_LOAD_BP_PEMP), nullptr);
    EXPECT_EQ(LoadAdresse(FVLIC_LOAD_PROD), nullptr);
}

TEST_F(Composition, UnknownAndOutOfRangeProductsComposeWithAnEmptyFolder) {
    for (int p : {0, 999, -1, 1000, 2147483647, -2147483647 - 1}) {
        Composer(p);
        EXPECT_STREQ(LoadDossier(), "") << p;
        EXPECT_STREQ(LoadVersionEmp(), "") << p;
        EXPECT_EQ(Adr(FVLIC_LOAD_PDF_DT), kB + "_DT.zip") << p;
        EXPECT_FALSE(Visible(FVLIC_LOAD_BP_EMP)) << p;
        EXPECT_FALSE(Visible(FVLIC_LOAD_BP_IHM)) << p;
        int valeur = -1;
        GetCtrlValAnsi(panel_, FVLIC_LOAD_PROD, &valeur);
        EXPECT_EQ(valeur, 0) << p << ": the ring shows \"------\", not some product";
    }
}

TEST_F(Composition, LongNamesAndVersionsStayInsideTheirTexts) {
    const char *longue = "9.876543210123456789";   // longer than 15 characters
    Nommer(500, "NNNNNNNNNNNNNNNNNNNNNNNNNNNNNNN");
    Composer(500, longue, longue);
    EXPECT_EQ(std::strlen(LoadVersionEmp()), 15u);
    EXPECT_STREQ(LoadVersionEmp(), "9-8765432101234");
    EXPECT_EQ(Texte(FVLIC_LOAD_V_EMP), "V9-8765432101234 ");
    for (int c : {5, 6, 7, 9, 10, 11, 12, 13, 14, 16})
        EXPECT_LT(std::strlen(LoadAdresse(c)), static_cast<size_t>(LOAD_ADRESSE_LEN)) << c;
    EXPECT_EQ(Adr(FVLIC_LOAD_BP_EMP),
              kB + "NNNNNNNNNNNNNNNNNNNNNNNNNNNNNNN_EMP_V9-8765432101234.zip");
}

TEST_F(Composition, TheVersionTableCoversEveryCataloguedProductOnce) {
    for (int n = 1; n < VLIC_PROD_MAX; ++n) {
        int lignes = 0;
        for (int i = 0; i < LoadVersionsNb; ++i)
            if (LoadVersionsTable[i].product == n) ++lignes;
        if (n == 101) EXPECT_EQ(lignes, 0) << "101 takes 100's row";
        else if (VLicProdG[n].code != 0) EXPECT_EQ(lignes, 1) << n;
        else EXPECT_EQ(lignes, 0) << n;
    }
    for (int i = 0; i < LoadVersionsNb; ++i) {
        EXPECT_LT(std::strlen(LoadVersionsTable[i].emp), static_cast<size_t>(LOAD_VERSION_LEN));
        EXPECT_LT(std::strlen(LoadVersionsTable[i].ihm), static_cast<size_t>(LOAD_VERSION_LEN));
    }
}

// ------------------------------------------------------------ the mirror

// The address in force for a maker's address.
std::string EnVigueur(const std::string &adresse) {
    char out[LOAD_ADRESSE_MIROIR_LEN];
    LoadMiroirAdresse(adresse.c_str(), out, sizeof out);
    return out;
}

class Miroir : public ::testing::Test {
protected:
    void TearDown() override { LoadMiroirDefinir(nullptr, nullptr); }
};

// Two archives: a driver below "Pilote/", and one named from a catalogue
// name with bytes the address encodes ("Robot\t#1 ?%\x81").
const std::string kPilote = kB + "Pilote/Moxa/MGate_Manager.zip";
const std::string kCode = kB + "Robot%09%231-%3F%25%C2%81_Professeur.zip";

TEST_F(Miroir, EachKindGivesItsCopyOfTheArchiveAndNoMirrorLeavesTheMakersAddresses) {
    struct Cas {
        const char *miroir;   // as its file names it (Windows-1252)
        int genre;
        const char *nomme;    // LoadMiroir()
        const char *pilote;   // the addresses in force
        const char *code;
        const char *fichier;  // the path of kCode's copy, "" for none
    };
    const Cas cas[] = {
        {"https://miroir.lycee.fr/veltrane/", LOAD_MIROIR_HTTP, "https://miroir.lycee.fr/veltrane/",
         "https://miroir.lycee.fr/veltrane/Pilote/Moxa/MGate_Manager.zip",
         "https://miroir.lycee.fr/veltrane/Robot%09%231-%3F%25%C2%81_Professeur.zip", ""},
        {" \tHTTP://10.0.0.5/v/ ", LOAD_MIROIR_HTTP, "HTTP://10.0.0.5/v/", "HTTP://10.0.0.5/v/Pilote/Moxa/MGate_Manager.zip",
         "HTTP://10.0.0.5/v/Robot%09%231-%3F%25%C2%81_Professeur.zip", ""},
#ifdef _WIN32
        {"\\\\serveur\\veltrane\\", LOAD_MIROIR_DOSSIER, "\\\\serveur\\veltrane\\",
         "\\\\serveur\\veltrane\\Pilote\\Moxa\\MGate_Manager.zip",
         "\\\\serveur\\veltrane\\Robot%09%231-%3F%25%C2%81_Professeur.zip",
         "\\\\serveur\\veltrane\\Robot%09%231-%3F%25%C2%81_Professeur.zip"},
        {"D:\\Miroir \xC9" "cole", LOAD_MIROIR_DOSSIER, "D:\\Miroir \xC9" "cole\\",
         "D:\\Miroir \xC9" "cole\\Pilote\\Moxa\\MGate_Manager.zip",
         "D:\\Miroir \xC9" "cole\\Robot%09%231-%3F%25%C2%81_Professeur.zip",
         "D:\\Miroir \xC9" "cole\\Robot%09%231-%3F%25%C2%81_Professeur.zip"},
#else
        {"/srv/veltrane/", LOAD_MIROIR_DOSSIER, "/srv/veltrane/",
         "file:///srv/veltrane/Pilote/Moxa/MGate_Manager.zip",
         "file:///srv/veltrane/Robot%09%231-%3F%25%C2%81_Professeur.zip",
         "/srv/veltrane/Robot\t#1-?%\x81_Professeur.zip"},
        {"/mnt/Miroir \xC9" "cole#2", LOAD_MIROIR_DOSSIER, "/mnt/Miroir \xC9" "cole#2/",
         "file:///mnt/Miroir%20\xC9" "cole%232/Pilote/Moxa/MGate_Manager.zip",
         "file:///mnt/Miroir%20\xC9" "cole%232/Robot%09%231-%3F%25%C2%81_Professeur.zip",
         "/mnt/Miroir \xC9" "cole#2/Robot\t#1-?%\x81_Professeur.zip"},
#endif
    };
    for (const Cas &c : cas) {
        const char *raison = "?";
        EXPECT_EQ(LoadMiroirDefinir(c.miroir, &raison), c.genre) << c.miroir;
        EXPECT_EQ(raison, nullptr) << c.miroir;
        EXPECT_EQ(LoadMiroirGenre(), c.genre) << c.miroir;
        EXPECT_STREQ(LoadMiroir(), c.nomme);
        EXPECT_EQ(EnVigueur(kPilote), c.pilote);
        EXPECT_EQ(EnVigueur(kCode), c.code);
        char fichier[LOAD_ADRESSE_MIROIR_LEN];
        EXPECT_EQ(LoadMiroirFichier(kCode.c_str(), fichier, sizeof fichier), c.fichier[0] ? 1 : 0) << c.miroir;
        EXPECT_STREQ(fichier, c.fichier);
        // Only what lies below the download base has a copy.
        for (const char *autre : {"", "https://www.veltrane.fr/", "https://www.veltrane.fr/telecharger/"})
            EXPECT_EQ(EnVigueur(autre), autre) << c.miroir;
    }
    for (const char *aucun : {static_cast<const char *>(nullptr), "", " \t "}) {
        EXPECT_EQ(LoadMiroirDefinir(aucun, nullptr), LOAD_MIROIR_AUCUN);
        EXPECT_STREQ(LoadMiroir(), "");
        EXPECT_EQ(EnVigueur(kPilote), kPilote) << "no mirror: the maker's address, exactly";
        EXPECT_EQ(EnVigueur(kCode), kCode);
    }
}

TEST_F(Miroir, ATextThatNamesNoUsableMirrorLeavesTheMakersAddressesAndSaysWhy) {
    const std::string trop = "/srv/" + std::string(160, 'a') + "/";
    const char *const textes[] = {
        "veltrane/miroir",                      // relative
        "ftp://serveur/veltrane/",              // unknown scheme
        "file:///srv/veltrane/",
        "https://miroir.lycee.fr/veltrane",     // no closing "/"
        "https:///veltrane/",                   // no server
        "https:/miroir/",
        "https://miroir lycee/v/",              // a blank
        "https://miroir/v?x=1/",
        "/srv/a\x01" "b/",                      // a control byte
        "D:\\a\x81" "b\\",
        trop.c_str(),                           // over-long
#ifdef _WIN32
        "/srv/veltrane/",                       // a Linux path
        "\\\\serveur\\",                        // UNC without its share
        "\\\\\\veltrane\\",
        "D:\\a|b\\",                            // a character no Windows path holds
        "C:veltrane",                           // relative to a drive's current folder
        "\\veltrane\\",
#else
        "\\\\serveur\\veltrane\\",              // a Windows path
        "D:\\veltrane\\",
#endif
    };
    for (const char *texte : textes) {
        LoadMiroirDefinir("https://miroir.lycee.fr/veltrane/", nullptr);
        const char *raison = nullptr;
        EXPECT_EQ(LoadMiroirDefinir(texte, &raison), LOAD_MIROIR_AUCUN) << texte;
        EXPECT_NE(raison, nullptr) << texte;
        EXPECT_STREQ(LoadMiroir(), "") << texte;
        EXPECT_EQ(EnVigueur(kPilote), kPilote) << texte;
    }
}

TEST_F(Miroir, TheFileNamesItInItsFirstLineAndSaysWhereItIsWrong) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("vlic_miroir_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    fs::create_directories(dir);
    const std::string path = (dir / LOAD_MIROIR_FILE).string();
    struct Cas {
        const char *contenu;
        const char *miroir;    // "" for none
        const char *rapport;   // after the path
    };
    const std::string longue = std::string(600, 'a') + "\n";
    const std::string commentaireLong = "# " + std::string(600, 'a') + "\nhttps://m/v/\n";
    const Cas cas[] = {
        // As Notepad writes it: a BOM, CR LF, comments and blank lines first.
        {"\xEF\xBB\xBF# miroir du lyc\xC3\xA9" "e\r\n\r\n  \t\r\n  https://miroir.lyc\xC3\xA9" "e.fr/v/ \r\nhttps://autre/\r\n",
         "https://miroir.lyc\xE9" "e.fr/v/", ""},
        {commentaireLong.c_str(), "https://m/v/", ""},
        {"", "", " : aucune ligne ne nomme de miroir\n"},
        {"# rien\n\n", "", " : aucune ligne ne nomme de miroir\n"},
        {"# c\nveltrane/\nhttps://m/v/\n", "", ":2: chemin relatif"},
        {"https://m/v/\xFF\n", "", ":1: texte qui n'est pas de l'UTF-8"},
        {"https://m/\xE2\x80\x8B/\n", "", ":1: texte qui n'est pas de l'UTF-8"},   // U+200B: not in the code page
        {"https://m/\xE0\x83\xA9/\n", "", ":1: texte qui n'est pas de l'UTF-8"},   // "é" in three bytes
        {longue.c_str(), "", ":1: ligne trop longue\n"},
    };
    for (const Cas &c : cas) {
        std::ofstream(path, std::ios::binary) << c.contenu;
        std::FILE *r = std::tmpfile();
        ASSERT_NE(r, nullptr);
        LoadMiroirDefinir("https://avant/v/", nullptr);   // what an earlier file said is forgotten
        EXPECT_EQ(LoadMiroirCharger(path.c_str(), r), c.miroir[0] ? LOAD_MIROIR_HTTP : LOAD_MIROIR_AUCUN) << c.contenu;
        EXPECT_STREQ(LoadMiroir(), c.miroir);
        std::rewind(r);
        char rapport[512] = "";
        if (!std::fgets(rapport, sizeof rapport, r)) rapport[0] = 0;
        std::fclose(r);
        if (c.rapport[0]) EXPECT_EQ(std::string(rapport).rfind(path + c.rapport, 0), 0u) << rapport;
        else EXPECT_STREQ(rapport, "");
    }
    // Missing, or a folder in its place.
    for (bool dossier : {false, true}) {
        fs::remove_all(path);
        if (dossier) fs::create_directory(path);
        std::FILE *r = std::tmpfile();
        EXPECT_EQ(LoadMiroirCharger(path.c_str(), r), LOAD_MIROIR_AUCUN);
        std::rewind(r);
        char rapport[512] = "";
        if (!std::fgets(rapport, sizeof rapport, r)) rapport[0] = 0;
        std::fclose(r);
        EXPECT_EQ(std::string(rapport), path + " : pas de fichier ordinaire à ce nom\n");
    }
    fs::remove_all(dir);
}

TEST_F(Miroir, AFolderMirrorHoldsTheCopiesItHasAndNoOther) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("vlic_miroir_dossier_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    fs::create_directories(dir / "Pilote" / "Moxa");
    std::ofstream(dir / "Pilote" / "Moxa" / "MGate_Manager.zip") << "PK";
    fs::create_directories(dir / "Pilote" / "Moxa" / "Moxa-UPort-1100-1130.zip");   // a folder is no copy
    ASSERT_EQ(LoadMiroirDefinir(dir.string().c_str(), nullptr), LOAD_MIROIR_DOSSIER);
    struct Cas {
        std::string adresse;
        int present;
    };
    for (const Cas &c : {Cas{kPilote, 1}, Cas{kCode, 0}, Cas{kB + "Pilote/Moxa/Moxa-UPort-1100-1130.zip", 0}}) {
        char fichier[LOAD_ADRESSE_MIROIR_LEN];
        ASSERT_EQ(LoadMiroirFichier(c.adresse.c_str(), fichier, sizeof fichier), 1);
        EXPECT_EQ(LoadMiroirPresent(fichier), c.present) << fichier;
    }
    fs::remove_all(dir);
}

}  // namespace
