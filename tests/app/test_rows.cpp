// The built-in rows of the Veltrane range and the bundled catalogue file:
// the counts the product lists rest on, the rows the downloads rules name,
// names fit to be folder and archive names, and the file in the program's
// folder being exactly the table the rows make.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "app/VLic.h"

namespace {

class Lignes : public ::testing::Test {
protected:
    void SetUp() override {
        std::memset(VLicProdG, 0, sizeof VLicProdG);
        VLicProdInit();
    }
    static bool Nomme(int n) { return VLicProdG[n].name[0] != '\0'; }
    static bool Coded(int n) { return VLicProdG[n].code != 0; }
    static std::string Nom(int n) { return VLicProdNom(n); }
};

TEST_F(Lignes, CountsOfTheRange) {
    int nommes = 0, dizaines = 0, codes = 0, caches = 0, codeUn = 0, sansCode = 0;
    for (int n = 0; n < VLIC_PROD_MAX; ++n) {
        if (!Nomme(n)) {
            EXPECT_EQ(VLicProdG[n].code, 0) << n;
            EXPECT_EQ(VLicProdG[n].hidden, 0) << n;
            continue;
        }
        EXPECT_GE(n, 10);
        EXPECT_LE(n, 310);
        ++nommes;
        if (n % 10 == 0) ++dizaines;
        if (VLicProdG[n].hidden) ++caches;
        const int c = VLicProdG[n].code;
        if (c == 0) {
            ++sansCode;
            EXPECT_EQ(VLicProdG[n].hidden, 0) << "an unlisted slot need not be hidden: " << n;
        } else {
            ++codes;
            if (c == 1) ++codeUn;
            else {
                EXPECT_GE(c, 606) << n;
                EXPECT_LE(c, 290305) << n;
            }
        }
    }
    EXPECT_EQ(nommes, 44);
    EXPECT_EQ(dizaines, 31);
    for (int n = 10; n <= 310; n += 10) EXPECT_TRUE(Nomme(n)) << n;
    EXPECT_EQ(codes, 41);
    EXPECT_EQ(sansCode, 3);
    EXPECT_EQ(codeUn, 1);
    EXPECT_EQ(caches, 20);
    // The range of codes is used to its ends.
    std::set<int> tous;
    for (int n = 0; n < VLIC_PROD_MAX; ++n) tous.insert(VLicProdG[n].code);
    EXPECT_TRUE(tous.count(606));
    EXPECT_TRUE(tous.count(290305));
}

TEST_F(Lignes, ProductsThatTheDownloadsRulesName) {
    for (int n : {20, 21, 22, 23, 32, 60, 70, 80, 100, 101, 170, 180, 190, 191, 230, 231, 232, 233, 250, 260, 270})
        EXPECT_TRUE(Coded(n)) << "product " << n << " must be listable";
    // 60: one word in brackets, the site's name for that bench.
    const std::string p60 = Nom(60);
    const auto o = p60.find('('), f = p60.find(')');
    ASSERT_NE(o, std::string::npos);
    ASSERT_NE(f, std::string::npos);
    ASSERT_LT(o + 1, f);
    for (char c : p60.substr(o + 1, f - o - 1)) EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(c))) << p60;
    // 80 and 230 go into addresses as stored: one plain word each.
    for (int n : {80, 230})
        for (char c : Nom(n)) EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(c))) << n << " " << Nom(n);
    // 170 gets "-V2" after its folder name, which must still fit 31 characters.
    EXPECT_LE(Nom(170).size() + 3, 31u);
}

TEST_F(Lignes, NamesCarryTheAccentsAndBracketsTheFolderRuleHandles) {
    std::string tout;
    int crochets = 0;
    for (int n = 0; n < VLIC_PROD_MAX; ++n) {
        tout += Nom(n);
        if (Nom(n).find(" (") != std::string::npos) ++crochets;
    }
    for (char c : {'\xE9', '\xE8', '\xEA', '\xE2'})  // é è ê â
        EXPECT_NE(tout.find(c), std::string::npos) << static_cast<int>(static_cast<unsigned char>(c));
    EXPECT_GE(crochets, 2);
}

TEST_F(Lignes, NamesAreFitForFolderAndArchiveNames) {
    const std::string interdits = "/\\:*?\"<>|'#%&";
    for (int n = 0; n < VLIC_PROD_MAX; ++n) {
        if (!Nomme(n)) continue;
        ASSERT_NE(std::memchr(VLicProdG[n].name, '\0', VLIC_PROD_NAME_LEN), nullptr) << n;
        const std::string nom = Nom(n);
        EXPECT_LE(nom.size(), 31u) << n;
        EXPECT_NE(nom.front(), ' ') << n;
        EXPECT_NE(nom.back(), ' ') << n;
        EXPECT_EQ(nom.find("  "), std::string::npos) << n;
        for (unsigned char c : nom) {
            EXPECT_GE(c, 0x20) << n;
            EXPECT_FALSE(c >= 0x7F && c < 0xA0) << n << ": not a letter of the code page";
            EXPECT_EQ(interdits.find(static_cast<char>(c)), std::string::npos) << n << " " << nom;
        }
    }
}

TEST_F(Lignes, RowsTouchOnlyTheirOwnFields) {
    std::memset(VLicProdG, 0x5A, sizeof VLicProdG);
    VLicProdInit();
    EXPECT_EQ(VLicProdG[25].code, 0x5A5A5A5A);  // a slot without a row
    const VLicProdRec &r = VLicProdG[20];
    EXPECT_EQ(r.reserved1, 0);
    EXPECT_EQ(r.texts[3][0], '\0');
    for (unsigned char b : r.reserved4) EXPECT_EQ(b, 0x5A);
}

TEST_F(Lignes, BundledFileIsTheTableOfTheRows) {
    // The tests run in the program's folder, where the build put the file.
    std::ifstream in(VLIC_PROD_FILE, std::ios::binary);
    ASSERT_TRUE(in) << "the build puts " VLIC_PROD_FILE " beside the program";
    const std::vector<char> octets(std::istreambuf_iterator<char>(in), {});
    ASSERT_EQ(octets.size(), sizeof VLicProdG);
    EXPECT_EQ(std::memcmp(octets.data(), VLicProdG, octets.size()), 0);
}

}  // namespace
