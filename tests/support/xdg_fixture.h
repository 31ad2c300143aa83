// xdg_fixture.h: a throw-away desktop for tests that open documents and web
// addresses through the desktop's real mechanism (GIO and the freedesktop
// .desktop / mimeapps.list registrations), without touching the machine's
// own handlers and without starting a browser.
//
// What it makes, once per process, in a fresh folder under $TMPDIR (or /tmp):
//   <root>/data        XDG_DATA_HOME; data/applications holds the handler's
//                      vlic-test-handler.desktop
//   <root>/config      XDG_CONFIG_HOME; config/mimeapps.list makes the handler
//                      the default for every registered type
//   <root>/sysdata     XDG_DATA_DIRS: no applications, only a link "mime" to
//                      the machine's MIME database (so ".txt" still reads as
//                      text/plain)
//   <root>/sysconfig   XDG_CONFIG_DIRS: empty
//   <root>/handler     the handler's program: a shell script that appends the
//                      argument it is started with (%u) as one line to
//                      <root>/record; a start with other than exactly one
//                      argument also writes a line "#argc N" first
//   <root>/record      the record, one line per start (absent until the first)
//   <root>/scratch     a folder for the tests' own files
// The handler is registered for x-scheme-handler/https and
// x-scheme-handler/http at once; RegisterMimeType adds more (text/plain for
// .txt files, x-scheme-handler/<scheme> for another scheme). The folder is
// removed when the process exits (kept when VLIC_XDG_KEEP is set).
//
// GIO reads the XDG variables once, at its first use in the process, and
// keeps them: get the fixture (XdgDesktop::Get) before anything in the
// process uses GIO, e.g. at the top of the first test or in a gtest
// Environment. Later registrations are seen through GIO's watch on these
// folders; RegisterMimeType waits until GIO reports them.
//
// What the handler records: GIO hands it the address as given (non-ASCII
// characters as raw UTF-8, not percent-encoded), and a local file as its
// absolute path (not its file:// URI). Launches are asynchronous and their
// handlers may finish in any order: wait for the count you expect, and
// compare several records as a set unless you waited after each launch.
//
// tests/support/xdg_fixture.sh does the same for a child process (e2e
// scripts): source it, run vlic_xdg_setup, then start the program.
#ifndef VLIC_TESTS_XDG_FIXTURE_H
#define VLIC_TESTS_XDG_FIXTURE_H

#include <cstddef>
#include <string>
#include <vector>

class XdgDesktop {
public:
    // The process's desktop: made, and the environment set, at the first
    // call. Aborts with a message when the folder cannot be made.
    static XdgDesktop &Get();

    const std::string &Root() const { return root_; }
    const std::string &RecordPath() const { return record_; }
    const std::string &Scratch() const { return scratch_; }
    // The desktop id of the recording handler, "vlic-test-handler.desktop".
    static const char *HandlerId();

    // Makes the handler the default application for mimeType ("text/plain",
    // "x-scheme-handler/vlic-test") and waits until GIO names it as that
    // type's default. true when GIO does within timeoutMs.
    bool RegisterMimeType(const std::string &mimeType, int timeoutMs = 5000);

    // The record's lines, in the order they were written.
    std::vector<std::string> Records() const;
    // Polls the record until it has at least count lines. true when it
    // does within timeoutMs. Processes no events while it waits.
    bool WaitForRecords(std::size_t count, int timeoutMs = 5000) const;
    // Empties the record (e.g. at the start of each test).
    void ClearRecords();

    XdgDesktop(const XdgDesktop &) = delete;
    XdgDesktop &operator=(const XdgDesktop &) = delete;

private:
    XdgDesktop();
    void WriteRegistrations() const;

    std::string root_, record_, scratch_;
    std::vector<std::string> types_;
};

#endif
