// The catalogue tool: writes the file whole or fails with exit code 1,
// leaving in place whatever was there (an older catalogue, a device node,
// a FIFO) and no file of its own behind.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string Lire(const fs::path &p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class MkCatalogue : public ::testing::Test {
protected:
    void SetUp() override {
        dossier_ = fs::temp_directory_path() / ("vlic_mkcatalogue_" + std::to_string(getpid()));
        fs::create_directories(dossier_);
    }
    void TearDown() override {
        fs::permissions(dossier_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dossier_);
    }
    // Runs the tool (beside the program's folder) on path, after the shell
    // words of prefix; its exit code.
    static int Lancer(const fs::path &path, const std::string &prefix = "") {
        const std::string outil = fs::absolute("../tools/mkcatalogue").string();
        const std::string cmd = prefix + " '" + outil + "' '" + path.string() + "' 2>/dev/null";
        const int st = std::system(("sh -c \"" + cmd + "\"").c_str());
        return WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    }
    // The names in the folder, sorted.
    std::string Contenu() const {
        std::string noms;
        for (const auto &e : fs::directory_iterator(dossier_)) noms += e.path().filename().string() + " ";
        return noms;
    }
    fs::path dossier_;
};

TEST_F(MkCatalogue, WritesTheBundledCatalogueOverAnOlderFile) {
    const fs::path cible = dossier_ / "Veltrane.vlicprod";
    std::ofstream(cible) << "older";
    EXPECT_EQ(Lancer(cible), 0);
    EXPECT_EQ(Lire(cible), Lire("Veltrane.vlicprod"));
    EXPECT_EQ(Contenu(), "Veltrane.vlicprod ");
}

TEST_F(MkCatalogue, ANodeThatIsNoRegularFileIsRefusedAndLeft) {
    const fs::path fifo = dossier_ / "fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(Lancer(fifo), 1);
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_EQ(Lancer(dossier_), 1) << "a folder";
    if (geteuid() == 0) {   // only root makes device nodes: a copy of /dev/null
        const fs::path null = dossier_ / "null";
        ASSERT_EQ(mknod(null.c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
        EXPECT_EQ(Lancer(null), 1);
        EXPECT_TRUE(fs::is_character_file(null)) << "the device node is never removed";
    }
    EXPECT_EQ(Contenu().size(), std::string(geteuid() == 0 ? "fifo null " : "fifo ").size());
}

TEST_F(MkCatalogue, AFailingWriteKeepsTheOlderFileAndLeavesNothing) {
    // An older catalogue of the right size, and writes that fail: past a
    // file-size limit (works for root too), in a folder it cannot write.
    const fs::path cible = dossier_ / "Veltrane.vlicprod";
    const std::string ancien(580000, 'x');
    std::ofstream(cible, std::ios::binary) << ancien;
    EXPECT_EQ(Lancer(cible, "trap '' XFSZ; ulimit -f 64;"), 1);
    EXPECT_EQ(Lire(cible), ancien);
    EXPECT_EQ(Contenu(), "Veltrane.vlicprod ");
    if (geteuid() != 0) {   // root writes anywhere
        fs::permissions(dossier_, fs::perms(0555));
        EXPECT_EQ(Lancer(cible), 1);
        EXPECT_EQ(Lire(cible), ancien);
    }
}

}  // namespace
