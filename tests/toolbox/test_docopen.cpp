// Document opening through the desktop's real mechanism: GIO, a .desktop
// handler and mimeapps.list in a throw-away desktop (support/xdg_fixture.h)
// whose handler records the argument it is started with.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/xdg_fixture.h"
#include "toolbox/toolbox.h"

namespace fs = std::filesystem;

namespace {

// GIO reads the desktop's folders at its first use in the process: the
// throw-away desktop must exist before that, so it is made before main.
XdgDesktop &gDesktop = XdgDesktop::Get();

void WriteFile(const std::string &path, const std::string &content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

// Runs the process's event loop (Qt's, which is GLib's main loop here) for
// about ms milliseconds.
void RunEvents(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

// Process ids of this process's children, with their state letter.
std::vector<std::pair<int, char>> Children() {
    std::vector<std::pair<int, char>> children;
    DIR *proc = opendir("/proc");
    if (!proc) return children;
    while (dirent *entry = readdir(proc)) {
        const std::string stat = std::string("/proc/") + entry->d_name + "/stat";
        std::ifstream in(stat);
        std::string line;
        if (!std::getline(in, line)) continue;
        const size_t close = line.rfind(')');   // the command name may hold blanks
        char state = 0;
        int parent = 0;
        if (close == std::string::npos ||
            std::sscanf(line.c_str() + close + 1, " %c %d", &state, &parent) != 2)
            continue;
        if (parent == getpid()) children.push_back({std::atoi(entry->d_name), state});
    }
    closedir(proc);
    return children;
}

class DocOpen : public ::testing::Test {
protected:
    void SetUp() override { gDesktop.ClearRecords(); }

    // Opens address and expects it to arrive at the handler as recorded.
    void ExpectOpened(int status, const std::string &recorded) {
        EXPECT_EQ(status, 0);
        ASSERT_TRUE(gDesktop.WaitForRecords(1)) << "the handler was not started for " << recorded;
        EXPECT_EQ(gDesktop.Records(), std::vector<std::string>{recorded});
        gDesktop.ClearRecords();
    }

    // A failed opening started nothing: a later opening is the only record.
    // (Starts are asynchronous: waiting for a later one lets an earlier
    // start, had there been one, show in the record too.)
    void ExpectNothingStarted() {
        const std::string sentinel = "https://sentinel.test/after";
        ASSERT_EQ(OpenDocumentInDefaultViewerAnsi(sentinel.c_str(), 0), 0);
        ASSERT_TRUE(gDesktop.WaitForRecords(1));
        RunEvents(50);
        EXPECT_EQ(gDesktop.Records(), std::vector<std::string>{sentinel});
        gDesktop.ClearRecords();
    }
};

TEST_F(DocOpen, WebAddressArrivesExactly) {
    const std::string address =
        "https://www.veltrane.test/Telechargement/ROBOT170/EMP_ROBOT170.zip?v=2&l=fr#top";
    ExpectOpened(OpenDocumentInDefaultViewerAnsi(address.c_str(), 0), address);
    ExpectOpened(OpenDocumentInDefaultViewer("http://plain.test/a%20b", 0), "http://plain.test/a%20b");
    ExpectOpened(OpenDocumentInDefaultViewerUtf8("https://utf8.test/", 0), "https://utf8.test/");
    // Schemes are case-insensitive; the handler gets the canonical form.
    ExpectOpened(OpenDocumentInDefaultViewerAnsi("HTTPS://Upper.test/Path", 0),
                 "https://Upper.test/Path");
}

TEST_F(DocOpen, EveryWindowModeOpensNormally) {
    for (int mode : {0, 3, -1, 1, 2, 1000}) {
        const std::string address = "https://mode.test/" + std::to_string(mode);
        ExpectOpened(OpenDocumentInDefaultViewerAnsi(address.c_str(), mode), address);
    }
}

TEST_F(DocOpen, WwwTextIsAWebAddress) {
    ExpectOpened(OpenDocumentInDefaultViewerAnsi("www.example.test", 0), "https://www.example.test");
    ExpectOpened(OpenDocumentInDefaultViewerAnsi("WWW.Example.test/Pilote/x.zip", 0),
                 "https://WWW.Example.test/Pilote/x.zip");
    // A port must not make "www.example.test" read as a scheme.
    ExpectOpened(OpenDocumentInDefaultViewerAnsi("www.example.test:8080/p", 0),
                 "https://www.example.test:8080/p");
    // Without "www." a bare host name is a file name, and there is no such file.
    EXPECT_EQ(OpenDocumentInDefaultViewerAnsi("example.test", 0), UIEFileNotFound);
    ExpectNothingStarted();
}

TEST_F(DocOpen, ExistingFileNamedWwwIsOpenedAsTheFile) {
    ASSERT_TRUE(gDesktop.RegisterMimeType("text/plain"));
    const fs::path before = fs::current_path();
    fs::current_path(gDesktop.Scratch());
    WriteFile("www.notes.txt", "local notes\n");
    const int status = OpenDocumentInDefaultViewerAnsi("www.notes.txt", 0);
    fs::current_path(before);
    ExpectOpened(status, gDesktop.Scratch() + "/www.notes.txt");
}

TEST_F(DocOpen, ShellMetacharactersArriveIntactAndRunNothing) {
    const std::string victim = gDesktop.Scratch() + "/pwned";
    const bool tmpVictimBefore = fs::exists("/tmp/pwned");
    const std::string address = "https://x.test/a;touch${IFS}" + victim +
                                "'\"`$(touch " + victim + ")`|&<> $HOME *\\ ;touch${IFS}/tmp/pwned";
    ExpectOpened(OpenDocumentInDefaultViewerAnsi(address.c_str(), 0), address);
    RunEvents(100);
    EXPECT_FALSE(fs::exists(victim));
    if (!tmpVictimBefore) {
        EXPECT_FALSE(fs::exists("/tmp/pwned"));
    }
}

TEST_F(DocOpen, LengthLimitIs260Characters) {
    const std::string base = "https://long.test/";
    const std::string at260 = base + std::string(260 - base.size(), 'a');
    ExpectOpened(OpenDocumentInDefaultViewerAnsi(at260.c_str(), 0), at260);
    const std::string at261 = at260 + "b";
    EXPECT_EQ(OpenDocumentInDefaultViewerAnsi(at261.c_str(), 0), ToolErr_TextNotConvertible);
    EXPECT_EQ(OpenDocumentInDefaultViewerUtf8(at261.c_str(), 0), ToolErr_TextNotConvertible);
    EXPECT_EQ(OpenDocumentInDefaultViewer(std::string(4000, 'c').c_str(), 0),
              ToolErr_TextNotConvertible);
    ExpectNothingStarted();

    // The limit counts UTF-16 units: a character past U+FFFF takes two, an
    // accented letter (two UTF-8 bytes) one.
    const std::string emoji = "\xF0\x9F\x98\x80";   // U+1F600
    const std::string fits = base + std::string(258 - base.size(), 'a') + emoji;
    ExpectOpened(OpenDocumentInDefaultViewerUtf8(fits.c_str(), 0), fits);
    const std::string over = base + std::string(259 - base.size(), 'a') + emoji;
    EXPECT_EQ(OpenDocumentInDefaultViewerUtf8(over.c_str(), 0), ToolErr_TextNotConvertible);
    std::string accents = base;
    while (accents.size() < base.size() + 2 * (260 - base.size())) accents += "\xC3\xA9";   // é
    ExpectOpened(OpenDocumentInDefaultViewerUtf8(accents.c_str(), 0), accents);
    ExpectNothingStarted();
}

TEST_F(DocOpen, InvalidUtf8IsRefused) {
    const char *invalid[] = {
        "https://x.test/\xC3",               // ends inside a character
        "https://x.test/\xE2\x82",           // ends inside a character
        "https://x.test/\xC3(",              // missing continuation
        "https://x.test/\x80",               // stray continuation
        "https://x.test/\xC0\xAF",           // overlong "/"
        "https://x.test/\xE0\x80\xAF",       // overlong "/"
        "https://x.test/\xED\xA0\x80",       // a surrogate
        "https://x.test/\xF4\x90\x80\x80",   // past U+10FFFF
        "https://x.test/\xFF",
        "https://x.test/\xE9t\xE9",          // Windows-1252, not UTF-8
    };
    for (const char *text : invalid)
        EXPECT_EQ(OpenDocumentInDefaultViewerUtf8(text, 0), ToolErr_TextNotConvertible) << text;
    EXPECT_EQ(OpenDocumentInDefaultViewerUtf8(nullptr, 0), ToolErr_TextNotConvertible);
    EXPECT_EQ(OpenDocumentInDefaultViewerAnsi(nullptr, 0), ToolErr_TextNotConvertible);
    ExpectNothingStarted();
    // The same bytes are fine as Windows-1252.
    ExpectOpened(OpenDocumentInDefaultViewerAnsi("https://x.test/\xE9t\xE9", 0),
                 "https://x.test/\xC3\xA9t\xC3\xA9");
    ExpectOpened(OpenDocumentInDefaultViewerUtf8("https://x.test/\xE2\x82\xAC\xF0\x9F\x98\x80", 0),
                 "https://x.test/\xE2\x82\xAC\xF0\x9F\x98\x80");
}

TEST_F(DocOpen, Windows1252ArrivesAsUtf8) {
    // "Télécharger/€œ’ÿ" as the system stores it: the handler gets raw UTF-8.
    const char *ansi = "https://x.test/T\xE9l\xE9" "charger/\x80\x9C\x92\xFF";
    const std::string utf8 = "https://x.test/T\xC3\xA9l\xC3\xA9" "charger/\xE2\x82\xAC\xC5\x93\xE2\x80\x99\xC3\xBF";
    ExpectOpened(OpenDocumentInDefaultViewerAnsi(ansi, 0), utf8);
    ExpectOpened(OpenDocumentInDefaultViewer(ansi, 0), utf8);
}

TEST_F(DocOpen, MissingPathGivesFileNotFound) {
    const std::string missing = gDesktop.Scratch() + "/Notice absente.pdf";
    EXPECT_EQ(OpenDocumentInDefaultViewerAnsi(missing.c_str(), 0), UIEFileNotFound);
    EXPECT_EQ(OpenDocumentInDefaultViewerAnsi("absent-relative-file.txt", 0), UIEFileNotFound);
    EXPECT_EQ(OpenDocumentInDefaultViewerAnsi("", 0), UIEFileNotFound);
    EXPECT_EQ(OpenDocumentInDefaultViewerAnsi(("file://" + missing).c_str(), 0), UIEFileNotFound);
    // A path through something that is not a folder is a path not found.
    const std::string plain = gDesktop.Scratch() + "/plain.txt";
    WriteFile(plain, "x\n");
    EXPECT_EQ(OpenDocumentInDefaultViewerAnsi((plain + "/inside.txt").c_str(), 0), UIEFileNotFound);
    // "C:\..." is a drive on Windows, never a scheme: here a missing file,
    // even with a handler for a scheme "c".
    ASSERT_TRUE(gDesktop.RegisterMimeType("x-scheme-handler/c"));
    EXPECT_EQ(OpenDocumentInDefaultViewerAnsi("C:\\Veltrane\\Notice.pdf", 0), UIEFileNotFound);
    ExpectNothingStarted();
}

TEST_F(DocOpen, NoRegisteredApplicationGives5096) {
    const std::string file = gDesktop.Scratch() + "/firmware.vlicbin";
    WriteFile(file, std::string("\x00\x01\x02\x03\xFE\xFF", 6));   // no text: no text/plain either
    EXPECT_EQ(OpenDocumentInDefaultViewerAnsi(file.c_str(), 0), ToolErr_NoAssocApp);
    EXPECT_EQ(OpenDocumentInDefaultViewerAnsi(("file://" + file).c_str(), 0), ToolErr_NoAssocApp);
    EXPECT_EQ(OpenDocumentInDefaultViewerAnsi("vlic-unhandled:thing", 0), ToolErr_NoAssocApp);
    EXPECT_EQ(OpenDocumentInDefaultViewerAnsi("mailto:ecoles@veltrane.test", 0), ToolErr_NoAssocApp);
    ExpectNothingStarted();
}

TEST_F(DocOpen, LocalFileWithHandlerOpens) {
    ASSERT_TRUE(gDesktop.RegisterMimeType("text/plain"));
    const std::string file = gDesktop.Scratch() + "/Notice d'installation \xC3\xA9t\xC3\xA9.txt";
    WriteFile(file, "Installer le pilote USB.\n");
    ExpectOpened(OpenDocumentInDefaultViewerUtf8(file.c_str(), 0), file);
    const std::string ansi = gDesktop.Scratch() + "/Notice d'installation \xE9t\xE9.txt";
    ExpectOpened(OpenDocumentInDefaultViewerAnsi(ansi.c_str(), 0), file);
    // A file:// URI names the same file.
    const std::string plain = gDesktop.Scratch() + "/lisezmoi.txt";
    WriteFile(plain, "Lisez-moi\n");
    ExpectOpened(OpenDocumentInDefaultViewerAnsi(("file://" + plain).c_str(), 0), plain);
    // A relative path is taken from the current folder; like Windows, "." and
    // ".." are resolved by name.
    const fs::path before = fs::current_path();
    fs::current_path(gDesktop.Scratch());
    const int again = OpenDocumentInDefaultViewerAnsi("./nowhere/../lisezmoi.txt", 0);
    fs::current_path(before);
    ExpectOpened(again, plain);
}

TEST_F(DocOpen, OtherSchemesGoToTheirHandler) {
    ASSERT_TRUE(gDesktop.RegisterMimeType("x-scheme-handler/vlic-x.test+1"));
    ExpectOpened(OpenDocumentInDefaultViewerAnsi("vlic-x.test+1:payload/\xE9", 0),
                 "vlic-x.test+1:payload/\xC3\xA9");
    ExpectOpened(OpenDocumentInDefaultViewerAnsi("VLIC-X.Test+1:Case", 0), "vlic-x.test+1:Case");
}

TEST_F(DocOpen, UnreadableFileGivesAccessDenied) {
    if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
    ASSERT_TRUE(gDesktop.RegisterMimeType("text/plain"));
    const std::string closed = gDesktop.Scratch() + "/closed";
    fs::create_directory(closed);
    WriteFile(closed + "/secret.txt", "x\n");
    const std::string locked = gDesktop.Scratch() + "/locked.txt";
    WriteFile(locked, "x\n");
    chmod(closed.c_str(), 0);
    chmod(locked.c_str(), 0);
    EXPECT_EQ(OpenDocumentInDefaultViewerAnsi((closed + "/secret.txt").c_str(), 0), UIEAccessDenied);
    EXPECT_EQ(OpenDocumentInDefaultViewerAnsi(locked.c_str(), 0), UIEAccessDenied);
    chmod(closed.c_str(), 0755);
    ExpectNothingStarted();
}

// The handler is started without making it our child: after several openings
// and a turn of the event loop, no child of ours is left, zombie or not.
TEST_F(DocOpen, LeavesNoZombie) {
    for (int i = 0; i < 5; ++i) {
        const std::string address = "https://zombie.test/" + std::to_string(i);
        ASSERT_EQ(OpenDocumentInDefaultViewerAnsi(address.c_str(), 0), 0);
    }
    ASSERT_TRUE(gDesktop.WaitForRecords(5));
    RunEvents(300);
    for (const auto &[pid, state] : Children()) {
        EXPECT_NE(state, 'Z') << "child " << pid << " is a zombie";
        ADD_FAILURE() << "child " << pid << " (state " << state << ") is still ours";
    }
}

// The shell form of the fixture gives a child process the same desktop.
TEST(XdgFixtureScript, GivesAChildTheSameHandler) {
    const fs::path script = fs::path(__FILE__).parent_path().parent_path() / "support" / "xdg_fixture.sh";
    ASSERT_TRUE(fs::exists(script)) << script;
    if (std::system("command -v gio >/dev/null 2>&1") != 0) GTEST_SKIP() << "no gio command";
    const std::string out = gDesktop.Scratch() + "/script.out";
    const std::string command =
        "bash -c 'set -eu; . \"$0\"; vlic_xdg_setup; trap vlic_xdg_cleanup EXIT; "
        "vlic_xdg_register text/plain; echo hi > \"$VLIC_XDG_SCRATCH/a b.txt\"; "
        "gio open \"https://script.test/x?y=1&z\"; gio open \"$VLIC_XDG_SCRATCH/a b.txt\"; "
        "vlic_xdg_wait 2 10; vlic_xdg_records | sort; echo \"$VLIC_XDG_SCRATCH\"' '" +
        script.string() + "' > '" + out + "' 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::ifstream in(out);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 3u);
    const std::string scratch = lines[2];
    EXPECT_NE(scratch.find("vlic-xdg-"), std::string::npos);
    EXPECT_FALSE(fs::exists(scratch)) << "vlic_xdg_cleanup removes the desktop";
    EXPECT_EQ(lines[0], scratch + "/a b.txt");
    EXPECT_EQ(lines[1], "https://script.test/x?y=1&z");
}

}  // namespace
