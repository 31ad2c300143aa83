// shell_recorder: the program that the tests register in the Wine prefix's
// registry for an extension and for https (tests/support/url_recorder.h).
// It appends one line to the file named by VLIC_RECORD_FILE, as UTF-8, in
// one write:
//     <show command>|<argument 1>|<argument 2>...
// (the show command the shell handed over in the start-up information, -1
// when it gave none). Exit code 0, or 1 when the environment names no
// record file or it cannot be written.
#include <windows.h>

#include <string>

static std::string Utf8(const wchar_t *text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
    return out;
}

int wmain(int argc, wchar_t **argv) {
    wchar_t file[MAX_PATH];
    if (!GetEnvironmentVariableW(L"VLIC_RECORD_FILE", file, MAX_PATH)) return 1;

    STARTUPINFOW startup;
    GetStartupInfoW(&startup);
    std::string line = std::to_string(
        (startup.dwFlags & STARTF_USESHOWWINDOW) ? static_cast<int>(startup.wShowWindow) : -1);
    for (int i = 1; i < argc; ++i) line += "|" + Utf8(argv[i]);
    line += "\n";

    HANDLE out = CreateFileW(file, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    const BOOL ok = WriteFile(out, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(out);

    return ok ? 0 : 1;
}
