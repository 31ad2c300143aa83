// xdg_fixture.cpp: the throw-away desktop of xdg_fixture.h (layout and rules
// there). Writes every file by writing a temporary beside it and renaming
// it, so that GIO, which watches these folders, never reads half a file.
#include "support/xdg_fixture.h"

#include <gio/gio.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

[[noreturn]] void Fail(const std::string &what) {
    std::fprintf(stderr, "xdg fixture: %s\n", what.c_str());
    std::abort();
}

void WriteFile(const std::string &path, const std::string &content, bool executable = false) {
    const std::string temporary = path + ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << content;
        if (!out.flush()) Fail("cannot write " + temporary);
    }
    if (executable && chmod(temporary.c_str(), 0755) != 0) Fail("cannot make " + path + " executable");
    if (std::rename(temporary.c_str(), path.c_str()) != 0) Fail("cannot write " + path);
}

// Removes the folder at exit (registered once it exists).
void RemoveTree() {
    if (std::getenv("VLIC_XDG_KEEP")) return;
    std::error_code ignored;
    fs::remove_all(XdgDesktop::Get().Root(), ignored);
}

}  // namespace

const char *XdgDesktop::HandlerId() { return "vlic-test-handler.desktop"; }

XdgDesktop &XdgDesktop::Get() {
    // Never destroyed, so that it can be used from any static initialiser or
    // destructor (a test may make it before main, ahead of any GIO use).
    static XdgDesktop *desktop = new XdgDesktop();
    return *desktop;
}

XdgDesktop::XdgDesktop() {
    const char *tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/vlic-xdg-XXXXXX";
    if (!mkdtemp(pattern.data())) Fail("cannot make a folder from " + pattern);
    root_ = pattern;
    record_ = root_ + "/record";
    scratch_ = root_ + "/scratch";
    std::atexit(RemoveTree);

    for (const char *sub : {"data/applications", "config", "sysdata", "sysconfig", "scratch"}) {
        std::error_code error;
        fs::create_directories(root_ + "/" + sub, error);
        if (error) Fail("cannot make " + root_ + "/" + sub);
    }
    // The MIME database without the machine's applications.
    for (const char *mime : {"/usr/share/mime", "/usr/local/share/mime"}) {
        if (fs::is_directory(mime)) {
            std::error_code ignored;
            fs::create_directory_symlink(mime, root_ + "/sysdata/mime", ignored);
            break;
        }
    }

    // The record's path holds no quote: mkdtemp only adds letters and digits,
    // and a TMPDIR with a quote would be refused here.
    if (record_.find('\'') != std::string::npos) Fail("TMPDIR holds a quote: " + record_);
    WriteFile(root_ + "/handler",
              "#!/bin/sh\n"
              "# Records the argument it is started with as one line.\n"
              "{ [ $# -eq 1 ] || printf '#argc %d\\n' \"$#\"; printf '%s\\n' \"$@\"; } >> '" +
                  record_ + "'\n",
              true);

    types_ = {"x-scheme-handler/https", "x-scheme-handler/http"};
    WriteRegistrations();

    setenv("XDG_DATA_HOME", (root_ + "/data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (root_ + "/config").c_str(), 1);
    setenv("XDG_DATA_DIRS", (root_ + "/sysdata").c_str(), 1);
    setenv("XDG_CONFIG_DIRS", (root_ + "/sysconfig").c_str(), 1);
    // Only our registrations decide; no desktop portal stands in between.
    unsetenv("GTK_USE_PORTAL");
}

void XdgDesktop::WriteRegistrations() const {
    std::string mimeTypes, defaults;
    for (const std::string &type : types_) {
        mimeTypes += type + ";";
        defaults += type + "=" + HandlerId() + "\n";
    }
    WriteFile(root_ + "/data/applications/" + HandlerId(),
              "[Desktop Entry]\n"
              "Type=Application\n"
              "Name=VLicEnr test handler\n"
              "Exec=\"" + root_ + "/handler\" %u\n"
              "NoDisplay=true\n"
              "Terminal=false\n"
              "MimeType=" + mimeTypes + "\n");
    WriteFile(root_ + "/config/mimeapps.list",
              "[Default Applications]\n" + defaults + "\n[Added Associations]\n" + defaults);
}

bool XdgDesktop::RegisterMimeType(const std::string &mimeType, int timeoutMs) {
    bool known = false;
    for (const std::string &type : types_) known = known || type == mimeType;
    if (!known) {
        types_.push_back(mimeType);
        WriteRegistrations();
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        GAppInfo *app = g_app_info_get_default_for_type(mimeType.c_str(), FALSE);
        const bool ours = app && std::string(g_app_info_get_id(app) ? g_app_info_get_id(app) : "") == HandlerId();
        if (app) g_object_unref(app);
        if (ours) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

std::vector<std::string> XdgDesktop::Records() const {
    // A line the handler is still writing has no newline yet: left out.
    std::ifstream in(record_, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

bool XdgDesktop::WaitForRecords(std::size_t count, int timeoutMs) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (Records().size() >= count) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

void XdgDesktop::ClearRecords() {
    std::error_code ignored;
    fs::remove(record_, ignored);
}
