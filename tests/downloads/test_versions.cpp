// The versions file beside the program: a good line replaces its product's
// built-in row all the way to the panel (address and shown version); a bad
// line, a repeated product, a missing file or something that is no regular
// file leave the built-in rows, and every ignored line is reported with its
// number.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/VLic.h"
#include "downloads/VLicLoad.h"
#include "ui/FVLicEnr.h"
#include "ui/userint.h"

namespace {

namespace fs = std::filesystem;

// The built-in row of product, as the build made it.
const LoadVersionRec *Interne(int product) {
    for (int i = 0; i < LoadVersionsNb; ++i)
        if (LoadVersionsTable[i].product == product) return &LoadVersionsTable[i];
    return nullptr;
}

class Versions : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("vlic_versions_" + std::to_string(getpid()));
        fs::create_directories(dir_);
        path_ = (dir_ / LOAD_VERSIONS_FILE).string();
    }
    void TearDown() override {
        LoadVersionsCharger((dir_ / "absent").c_str(), nullptr);
        fs::remove_all(dir_);
    }
    // Writes content as the versions file and reads it; *rapport gets
    // what was reported.
    int Charger(const std::string &content, std::string *rapport = nullptr) {
        std::ofstream(path_, std::ios::binary) << content;
        return Lire(rapport);
    }
    int Lire(std::string *rapport) {
        std::FILE *r = std::tmpfile();
        const int n = LoadVersionsCharger(path_.c_str(), r);
        std::rewind(r);
        std::string texte;
        char buf[512];
        while (std::fgets(buf, sizeof buf, r)) texte += buf;
        std::fclose(r);
        if (rapport) *rapport = texte;
        return n;
    }
    // True when product has its built-in versions in force.
    static bool Intact(int product) {
        const char *emp, *ihm;
        const LoadVersionRec *r = Interne(product);
        return LoadVersionsProduit(product, &emp, &ihm) == LOAD_VERSIONS_INTERNE && r &&
               std::strcmp(emp, r->emp) == 0 && std::strcmp(ihm, r->ihm) == 0;
    }

    fs::path dir_;
    std::string path_;
};

TEST_F(Versions, AFileLineChangesTheAddressAndTheShownVersion) {
    ASSERT_EQ(VLicProdCharger(VLIC_PROD_FILE), 1);
    ASSERT_NE(Interne(170), nullptr);
    ASSERT_STRNE(Interne(170)->emp, "2.3");
    // As Notepad writes it: a BOM, CR LF, a comment and a blank line.
    ASSERT_EQ(Charger("\xEF\xBB\xBF# nouvelle archive EMP\r\n\r\n170\t2.3\t2.2\r\n"
                      "999\t123456789012345\t\r\n"),
              0);
    const int panel = LoadPanelAnsi(0, FVLIC_UIR_FILE, FVLIC_LOAD);
    ASSERT_GT(panel, 0);
    LoadInit(panel, 170);
    EXPECT_EQ(std::string(LoadAdresse(FVLIC_LOAD_BP_EMP)),
              std::string(LOAD_BASE) + LoadDossier() + "_EMP_V2-3.zip");
    char texte[64] = "";
    GetCtrlValAnsi(panel, FVLIC_LOAD_V_EMP, texte);
    EXPECT_STREQ(texte, "V2-3 ");
    DiscardPanel(panel);

    const char *emp, *ihm;
    EXPECT_EQ(LoadVersionsProduit(999, &emp, &ihm), LOAD_VERSIONS_FICHIER);
    EXPECT_STREQ(emp, "123456789012345");
    EXPECT_TRUE(Intact(250)) << "a product the file does not name keeps its row";
}

TEST_F(Versions, EachBadLineIsReportedAndItsProductKeepsItsBuiltInRow) {
    struct Cas {
        const char *lignes;  // after a comment (line 1) and a good line for 250 (line 2)
        int signalee;        // the line reported
    };
    const std::string longue = "170\t" + std::string(300, '1') + "\t";
    const Cas cas[] = {
        {"170\t2.3", 3},                      // two fields
        {"170\t2.3\t2.2\t1", 3},              // four fields
        {"170 2.3 2.2", 3},                   // blanks for TABs
        {"170\t2.3a\t", 3},                   // a letter in a version
        {"170\t\t2,2", 3},                    // a comma
        {"170\t2.3\xC3\xA9\t", 3},            // an accented letter (UTF-8)
        {"170\t1234567890123456\t", 3},       // 16 characters
        {"1000\t2.3\t", 3},                   // number above 999
        {"-1\t2.3\t", 3},                     // a sign
        {"\t2.3\t", 3},                       // no number
        {" 170\t2.3\t", 3},                   // a blank before the number
        {"0170\t2.3\t", 3},                   // four digits
        {longue.c_str(), 3},                  // longer than any line can be
        {"170\t2.3\t\n170\t2.4\t", 4},        // the product given twice
    };
    for (const Cas &c : cas) {
        std::string rapport;
        const int n = Charger(std::string("# versions\n250\t9.9\t9.9\n") + c.lignes + "\n", &rapport);
        EXPECT_EQ(n, 1) << c.lignes;
        EXPECT_EQ(rapport.rfind(path_ + ":" + std::to_string(c.signalee) + ": ", 0), 0u)
            << c.lignes << " -> " << rapport;
        EXPECT_EQ(std::count(rapport.begin(), rapport.end(), '\n'), 1) << rapport;
        EXPECT_TRUE(Intact(170)) << c.lignes;
        const char *emp, *ihm;
        EXPECT_EQ(LoadVersionsProduit(250, &emp, &ihm), LOAD_VERSIONS_FICHIER) << c.lignes;
    }
}

TEST_F(Versions, AVersionOlderThanTheProgramsIsToldNumberByNumber) {
    ASSERT_NE(Interne(310), nullptr);
    ASSERT_STREQ(Interne(310)->ihm, "2.12");
    struct Cas {
        const char *ihm;
        bool ancienne;
    };
    for (const Cas &c : {Cas{"2.9", true}, Cas{"2", true}, Cas{"1.99", true}, Cas{"2.12", false},
                         Cas{"2.12.0", false}, Cas{"02.012", false}, Cas{"2.13", false}, Cas{"10", false},
                         Cas{"", false}}) {
        std::ofstream(path_, std::ios::binary) << "# ligne 1\n310\t\t" << c.ihm << "\n";
        std::FILE *r = std::tmpfile();
        int anciennes = -1;
        EXPECT_EQ(LoadVersionsCharger(path_.c_str(), r, &anciennes), 0) << c.ihm;
        EXPECT_EQ(anciennes, c.ancienne ? 1 : 0) << c.ihm;
        std::rewind(r);
        char ligne[512] = "";
        const bool dit = std::fgets(ligne, sizeof ligne, r) != nullptr;
        std::fclose(r);
        EXPECT_EQ(dit, c.ancienne) << c.ihm;
        if (dit) {
            EXPECT_EQ(std::string(ligne).rfind(path_ + ":2: produit 310 : version Interface ", 0), 0u) << ligne;
        }
        const char *emp, *ihm;
        EXPECT_EQ(LoadVersionsProduit(310, &emp, &ihm), LOAD_VERSIONS_FICHIER) << "in force all the same";
        EXPECT_STREQ(ihm, c.ihm);
    }
}

TEST_F(Versions, NoRegularFileIsNeverWaitedOnAndLeavesTheBuiltInRows) {
    ASSERT_EQ(Charger("170\t2.3\t\n"), 0);
    fs::remove(path_);
    std::string rapport;
    EXPECT_EQ(Lire(&rapport), -1) << "missing";
    EXPECT_EQ(rapport, "");
    EXPECT_TRUE(Intact(170)) << "an earlier file is forgotten";
    // A FIFO without a writer would hold an ordinary open for ever.
    ASSERT_EQ(mkfifo(path_.c_str(), 0600), 0);
    EXPECT_EQ(Lire(&rapport), -1) << "FIFO";
    fs::remove(path_);
    fs::create_directory(path_);
    EXPECT_EQ(Lire(&rapport), -1) << "folder";
    EXPECT_EQ(rapport, "");
    EXPECT_TRUE(Intact(170));
}

}  // namespace
