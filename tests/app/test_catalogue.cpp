// The product catalogue: which products a list gets and in what order, the
// load of whole, short, long and missing files, the byte-exact round trip,
// the clear, and names that lack their NUL.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "app/VLic.h"
#include "ui/userint.h"

namespace {

namespace fs = std::filesystem;
using Items = std::vector<std::pair<std::string, int>>;

// A fresh table: all-zero then cleared, as after a failed load.
void TableVide() {
    std::memset(VLicProdG, 0, sizeof VLicProdG);
    VLicProdEffacer();
}

void Produit(int n, const char *nom, int code = 100, int cache = 0) {
    std::memset(VLicProdG[n].name, 0, VLIC_PROD_NAME_LEN);
    std::strncpy(VLicProdG[n].name, nom, VLIC_PROD_NAME_LEN - 1);
    VLicProdG[n].code = code;
    VLicProdG[n].hidden = cache;
}

std::vector<unsigned char> LireFichier(const fs::path &p) {
    std::ifstream in(p, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

void EcrireFichier(const fs::path &p, const std::vector<unsigned char> &octets) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(octets.data()), static_cast<std::streamsize>(octets.size()));
}

std::vector<unsigned char> OctetsAleatoires(std::size_t n, unsigned graine) {
    std::mt19937 gen(graine);
    std::vector<unsigned char> v(n);
    for (auto &b : v) b = static_cast<unsigned char>(gen() & 0xFF);
    return v;
}

class Catalogue : public ::testing::Test {
protected:
    void SetUp() override {
        TableVide();
        dossier_ = fs::temp_directory_path() / ("vlic_catalogue_" + std::to_string(::getpid()));
        fs::create_directories(dossier_);
        panel_ = NewPanelAnsi(0, "", 0, 0, 200, 300);
        ASSERT_GT(panel_, 0);
        ring_ = NewCtrlAnsi(panel_, CTRL_RING, "", 10, 10);
        ASSERT_GT(ring_, 0);
    }
    void TearDown() override {
        DiscardPanel(panel_);
        fs::remove_all(dossier_);
        TableVide();
    }
    Items Liste(int all, int sorted, int showHidden) {
        VLicProdList(panel_, ring_, all, sorted, showHidden);
        Items items;
        int n = 0;
        EXPECT_EQ(GetNumListItems(panel_, ring_, &n), 0);
        for (int i = 0; i < n; ++i) {
            char label[1024] = {};
            int v = 0;
            GetLabelFromIndexAnsi(panel_, ring_, i, label);
            GetValueFromIndexAnsi(panel_, ring_, i, &v);
            items.emplace_back(label, v);
        }
        return items;
    }
    std::vector<int> Valeurs(int all, int sorted, int showHidden) {
        std::vector<int> v;
        for (auto &it : Liste(all, sorted, showHidden)) v.push_back(it.second);
        return v;
    }
    fs::path dossier_;
    int panel_ = 0;
    int ring_ = 0;
};

// ---------------------------------------------------------------- lists

TEST_F(Catalogue, OnlyCodedProductsFromTenOnAreListed) {
    Produit(5, "Cinq", 500);       // 1 to 9: never listed
    Produit(9, "Neuf", 900);
    Produit(20, "Vingt", 0);       // named but code 0
    Produit(30, "Trente", 1);      // code 1 is a real code
    Produit(40, "Quarante", -7);   // any nonzero code lists
    for (int all : {0, 1})
        for (int sorted : {0, 1})
            for (int hid : {0, 1})
                EXPECT_EQ(Valeurs(all, sorted, hid), (std::vector<int>{40, 30}))
                    << "all=" << all << " sorted=" << sorted << " showHidden=" << hid;
}

TEST_F(Catalogue, AllFalseKeepsOnlyMultiplesOfTen) {
    Produit(20, "Robot");
    Produit(21, "Robot Pince");
    Produit(999, "Dernier");
    Produit(990, "Avant-dernier");
    EXPECT_EQ(Valeurs(0, 1, 1), (std::vector<int>{990, 20}));
    EXPECT_EQ(Valeurs(1, 1, 1), (std::vector<int>{990, 999, 20, 21}));
}

TEST_F(Catalogue, LabelsAreNamesAndValuesNumbers) {
    Produit(10, "Banc \xE9olien");
    const Items items = Liste(1, 1, 1);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].first, "Banc \xE9olien");
    EXPECT_EQ(items[0].second, 10);
}

TEST_F(Catalogue, SortedOnTheFirstTwoBytesAsSignedValues) {
    Produit(10, "Ab second");
    Produit(20, "Aa first");
    Produit(30, "A\xE9 accent");  // é (233) is negative: before any ASCII second letter
    Produit(40, "A");              // the NUL comes after accents, before ASCII
    Produit(50, "\xC9olienne");    // É as first byte: before every ASCII first byte
    Produit(60, "Zz");
    Produit(70, "a lower");        // 'a' (97) after 'Z' (90)
    EXPECT_EQ(Valeurs(1, 1, 1), (std::vector<int>{50, 30, 40, 20, 10, 60, 70}));
}

TEST_F(Catalogue, EqualKeysKeepAscendingNumberOrder) {
    Produit(40, "Banc Z");
    Produit(10, "Banc Y");
    Produit(30, "Bax");
    Produit(20, "Banc A");  // only two bytes count: "Ba" for 10, 20, 30 and 40
    EXPECT_EQ(Valeurs(1, 1, 1), (std::vector<int>{10, 20, 30, 40}));
}

TEST_F(Catalogue, UnsortedGivesDescendingNumbers) {
    Produit(20, "A");
    Produit(30, "C");
    Produit(40, "B");
    Produit(35, "Cach\xE9", 100, 1);
    EXPECT_EQ(Valeurs(1, 0, 1), (std::vector<int>{40, 35, 30, 20}));
    EXPECT_EQ(Valeurs(1, 0, 0), (std::vector<int>{40, 30, 20}));
}

TEST_F(Catalogue, HiddenProductIsLeftOutOrInItsSortedPlace) {
    Produit(10, "Mc");
    Produit(20, "Ma", 100, 1);
    Produit(30, "Mb");
    EXPECT_EQ(Valeurs(1, 1, 0), (std::vector<int>{30, 10}));
    EXPECT_EQ(Valeurs(1, 1, 1), (std::vector<int>{20, 30, 10}));
}

TEST_F(Catalogue, ListReplacesWhatTheControlHeld) {
    InsertListItemAnsi(panel_, ring_, -1, "old", 7);
    Produit(10, "Nouveau");
    EXPECT_EQ(Valeurs(1, 1, 1), (std::vector<int>{10}));
    EXPECT_EQ(Valeurs(1, 0, 1), (std::vector<int>{10}));
}

// ---------------------------------------------------------------- names

TEST_F(Catalogue, NameWithoutNulIsNeverReadPastItsField) {
    std::memset(VLicProdG[10].name, 'N', VLIC_PROD_NAME_LEN);
    // The bytes right after the field: an over-read would pick them up.
    VLicProdG[10].code = 0x41414141;
    VLicProdG[10].reserved1 = 0x42424242;
    VLicProdRec avant;
    std::memcpy(&avant, &VLicProdG[10], sizeof avant);

    const std::string attendu(31, 'N');
    EXPECT_EQ(std::string(VLicProdNom(10)), attendu);
    const Items items = Liste(1, 1, 1);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].first, attendu);
    EXPECT_EQ(Liste(1, 0, 1)[0].first, attendu);
    // Reading a name never changes the record (a save must write what was loaded).
    EXPECT_EQ(std::memcmp(&avant, &VLicProdG[10], sizeof avant), 0);
}

TEST_F(Catalogue, NameOfANumberOutsideTheTableIsEmpty) {
    for (int n : {-1, 1000, 5000, -2147483647 - 1, 2147483647}) EXPECT_STREQ(VLicProdNom(n), "") << n;
    Produit(999, "Dernier");
    EXPECT_STREQ(VLicProdNom(999), "Dernier");
    EXPECT_EQ(VLicProdNom(999), VLicProdG[999].name);  // a terminated field is returned as is
}

// ---------------------------------------------------------------- clear

TEST_F(Catalogue, ClearSetsTheFieldsAndLeavesBytes52To67) {
    std::vector<unsigned char> image = OctetsAleatoires(sizeof VLicProdG, 7);
    std::memcpy(VLicProdG, image.data(), image.size());
    VLicProdEffacer();
    for (int n = 0; n < VLIC_PROD_MAX; ++n) {
        const VLicProdRec &r = VLicProdG[n];
        ASSERT_STREQ(r.name, "?") << n;
        ASSERT_EQ(r.code, 0);
        ASSERT_EQ(r.reserved1, 0);
        ASSERT_EQ(r.reserved2, 0);
        ASSERT_EQ(r.reserved3, 0);
        ASSERT_EQ(r.hidden, 0);
        for (const char *t : r.texts) ASSERT_EQ(t[0], '\0');
        ASSERT_EQ(std::memcmp(r.reserved4, &image[n * sizeof(VLicProdRec) + 52], 16), 0) << n;
    }
}

// ---------------------------------------------------------------- files

TEST_F(Catalogue, MissingFileReturnsZeroAndLeavesTheTableCleared) {
    Produit(20, "Robot");
    EXPECT_EQ(VLicProdCharger((dossier_ / "absent.vlicprod").string().c_str()), 0);
    for (int n = 0; n < VLIC_PROD_MAX; ++n) {
        ASSERT_STREQ(VLicProdG[n].name, "?");
        ASSERT_EQ(VLicProdG[n].code, 0);
    }
    EXPECT_TRUE(Liste(1, 1, 1).empty());
}

TEST_F(Catalogue, FolderInPlaceOfTheFileCountsAsMissing) {
    Produit(20, "Robot");
    EXPECT_EQ(VLicProdCharger(dossier_.string().c_str()), 0);
    EXPECT_STREQ(VLicProdG[20].name, "?");
    EXPECT_EQ(VLicProdG[20].code, 0);
}

#ifndef _WIN32   // FIFOs and /dev are POSIX only
TEST_F(Catalogue, FifoOrDeviceCountsAsMissingWithoutWaiting) {
    // A FIFO without a writer would hold an ordinary open for ever.
    const fs::path fifo = dossier_ / "fifo.vlicprod";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const char *chemin : {fifo.c_str(), "/dev/null", "/dev/zero"}) {
        Produit(20, "Robot");
        EXPECT_EQ(VLicProdCharger(chemin), 0) << chemin;
        EXPECT_STREQ(VLicProdG[20].name, "?") << chemin;
    }
}
#endif

TEST_F(Catalogue, ShortFileFillsItsRecordsAndLeavesTheRestCleared) {
    const fs::path p = dossier_ / "court.vlicprod";
    const std::vector<unsigned char> octets = OctetsAleatoires(5800, 11);
    EcrireFichier(p, octets);
    Produit(10, "Avant");
    Produit(500, "Avant");
    ASSERT_EQ(VLicProdCharger(p.string().c_str()), 1);
    EXPECT_EQ(std::memcmp(VLicProdG, octets.data(), 5800), 0);
    for (int n = 10; n < VLIC_PROD_MAX; ++n) {
        ASSERT_STREQ(VLicProdG[n].name, "?") << n;
        ASSERT_EQ(VLicProdG[n].code, 0) << n;
    }
}

TEST_F(Catalogue, RecordCutByTheEndHoldsTheBytesReadThenTheClearedRest) {
    const fs::path p = dossier_ / "coupe.vlicprod";
    // Three whole records, then 40 bytes of the fourth: its name and code.
    std::vector<unsigned char> octets(3 * 580 + 40, 0);
    std::memcpy(&octets[3 * 580], "Coupe", 6);
    const int32_t code = 1234;
    std::memcpy(&octets[3 * 580 + 32], &code, 4);
    std::memcpy(&octets[3 * 580 + 36], "\x01\x02\x03\x04", 4);
    EcrireFichier(p, octets);
    ASSERT_EQ(VLicProdCharger(p.string().c_str()), 1);
    EXPECT_STREQ(VLicProdG[3].name, "Coupe");
    EXPECT_EQ(VLicProdG[3].code, 1234);
    EXPECT_EQ(VLicProdG[3].reserved1, 0x04030201);
    EXPECT_EQ(VLicProdG[3].reserved2, 0);
    EXPECT_EQ(VLicProdG[3].hidden, 0);
    EXPECT_EQ(VLicProdG[3].texts[0][0], '\0');
    EXPECT_STREQ(VLicProdG[4].name, "?");
}

TEST_F(Catalogue, EmptySlotsOfTheFileReplaceWhatTheTableHeld) {
    // Loading leaves alone a record that already holds the file's bytes; a
    // zero slot of the file must still replace a filled or cleared record.
    const fs::path p = dossier_ / "zeros.vlicprod";
    std::vector<unsigned char> octets(580000, 0);
    std::memcpy(&octets[30 * 580], "Trente", 7);
    EcrireFichier(p, octets);
    Produit(20, "Robot", 2045, 1);
    ASSERT_EQ(VLicProdCharger(p.string().c_str()), 1);
    EXPECT_EQ(std::memcmp(VLicProdG, octets.data(), octets.size()), 0);
    ASSERT_EQ(VLicProdCharger(p.string().c_str()), 1);   // again, over the same bytes
    EXPECT_EQ(std::memcmp(VLicProdG, octets.data(), octets.size()), 0);
}

TEST_F(Catalogue, EmptyFileLoadsAsAllCleared) {
    const fs::path p = dossier_ / "vide.vlicprod";
    EcrireFichier(p, {});
    EXPECT_EQ(VLicProdCharger(p.string().c_str()), 1);
    EXPECT_STREQ(VLicProdG[0].name, "?");
    EXPECT_STREQ(VLicProdG[999].name, "?");
}

TEST_F(Catalogue, LoadThenSaveReproducesTheFileByteForByte) {
    // Random bytes everywhere: names without NUL, reserved integers, bytes
    // 52 to 67, text fields without NUL, all must come back unchanged, also
    // after the names have been read and listed.
    const fs::path in = dossier_ / "in.vlicprod";
    const fs::path out = dossier_ / "out.vlicprod";
    const std::vector<unsigned char> octets = OctetsAleatoires(580000, 3);
    EcrireFichier(in, octets);
    ASSERT_EQ(VLicProdCharger(in.string().c_str()), 1);
    Liste(1, 1, 1);
    for (int n = 0; n < VLIC_PROD_MAX; ++n) VLicProdNom(n);
    VLicProdSauver(out.string().c_str());
    EXPECT_TRUE(LireFichier(out) == octets);
}

TEST_F(Catalogue, BytesPastTheTableAreIgnored) {
    const fs::path in = dossier_ / "long.vlicprod";
    const fs::path out = dossier_ / "out.vlicprod";
    std::vector<unsigned char> octets = OctetsAleatoires(580000 + 1000, 5);
    EcrireFichier(in, octets);
    ASSERT_EQ(VLicProdCharger(in.string().c_str()), 1);
    VLicProdSauver(out.string().c_str());
    octets.resize(580000);
    EXPECT_TRUE(LireFichier(out) == octets);
}

TEST_F(Catalogue, SaveWritesTheWholeTableOverAnOlderFile) {
    const fs::path p = dossier_ / "ecrase.vlicprod";
    EcrireFichier(p, OctetsAleatoires(700000, 9));
    Produit(20, "Robot", 2045, 1);
    VLicProdSauver(p.string().c_str());
    const std::vector<unsigned char> octets = LireFichier(p);
    ASSERT_EQ(octets.size(), 580000u);
    EXPECT_EQ(std::memcmp(octets.data(), VLicProdG, octets.size()), 0);
}

TEST_F(Catalogue, SaveToAPathThatCannotBeWrittenDoesNothing) {
    const fs::path p = dossier_ / "absent" / "x.vlicprod";
    VLicProdSauver(p.string().c_str());
    EXPECT_FALSE(fs::exists(p));
    VLicProdSauver(dossier_.string().c_str());  // a folder
    EXPECT_TRUE(fs::is_directory(dossier_));
    VLicProdSauver("");
}

}  // namespace
