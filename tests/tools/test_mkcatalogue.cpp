// The catalogue tool writes the file whole or fails with exit code 1,
// leaving in place whatever was there and no file of its own behind.
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

// Runs the tool (built beside the program's folder) on path, after the
// shell words of prefix; its exit code.
int Lancer(const fs::path &path, const std::string &prefix = "") {
    const std::string cmd = prefix + " '" + fs::absolute("../tools/mkcatalogue").string() + "' '" +
                            path.string() + "' 2>/dev/null";
    const int st = std::system(("sh -c \"" + cmd + "\"").c_str());
    return WIFEXITED(st) ? WEXITSTATUS(st) : -1;
}

TEST(MkCatalogue, WritesWholeOrLeavesWhatWasThere) {
    const fs::path d = fs::temp_directory_path() / ("vlic_mkcatalogue_" + std::to_string(getpid()));
    fs::create_directories(d);
    const fs::path cible = d / "Veltrane.vlicprod";
    // An older file of the right size, and writes that fail past a
    // file-size limit (a folder it cannot write would do, but not for root).
    const std::string ancien(580000, 'x');
    std::ofstream(cible, std::ios::binary) << ancien;
    EXPECT_EQ(Lancer(cible, "trap '' XFSZ; ulimit -f 64;"), 1);
    EXPECT_EQ(Lire(cible), ancien);
    EXPECT_EQ(Lancer(cible), 0);
    EXPECT_EQ(Lire(cible), Lire("Veltrane.vlicprod"));

    // Nodes that are no regular file: refused and never removed.
    ASSERT_EQ(mkfifo((d / "fifo").c_str(), 0600), 0);
    EXPECT_EQ(Lancer(d / "fifo"), 1);
    EXPECT_TRUE(fs::is_fifo(d / "fifo"));
    if (geteuid() == 0) {   // only root makes a device node: a copy of /dev/null
        ASSERT_EQ(mknod((d / "null").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
        EXPECT_EQ(Lancer(d / "null"), 1);
        EXPECT_TRUE(fs::is_character_file(d / "null"));
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(d), fs::directory_iterator()), geteuid() == 0 ? 3 : 2)
        << "no file of the tool's own is left";
    fs::remove_all(d);
}

}  // namespace
