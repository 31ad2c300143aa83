// VLicEnrCom.cpp: VLicEnr.com, the console launcher shipped beside VLicEnr.exe.
//
// What it does: cmd and PowerShell do not wait for a windowed program, so
// "VLicEnr.exe --produits" gave the prompt back before the lines and mixed
// them with what the user typed next. cmd finds "VLicEnr.com" before
// "VLicEnr.exe" when the user types "VLicEnr --produits": this console
// program runs the executable of the same name beside it with the same
// arguments, lets it write to the console or to the redirection it was given,
// waits for its end and returns its exit code, so that the prompt, "&&" and
// %ERRORLEVEL% come after the listing as for any console command.
//
// The arguments are handed on as the user typed them, only the program's own
// name replaced: the executable splits them exactly as this program's command
// line would have been split (CommandLineToArgvW rules), whatever quotes and
// backslashes they hold. The three standard handles are handed down as they
// are, a redirection's file or pipe or the console itself (but a console
// given back, below); the executable
// attaches to this program's console when it is given one of its handles
// (ui/win32's start of a command-line run).
//
// Started from Explorer (a double click, a shortcut) or by any program that
// has no console, a console program is given a console of its own, whose
// window would stay on the screen, empty, as long as the panels are open.
// The launcher gives such a console back at once, before it starts the
// executable (a console closes when the last process attached to it frees
// it): it knows the console was made for it alone when it is the only
// process attached to it (GetConsoleProcessList). A console shared with the
// command prompt it was typed in is kept. Windows 11 24H2 and later make no
// such console at all (the manifest's console allocation policy); there the
// launcher finds none.
//
// Exit code: the executable's, or 3 (with a line on stderr) when it cannot be
// started: the "internal error" of the listings.
//
// State: none (module prefix Lanc, for lanceur).
#include <windows.h>

#include <string>

namespace {

// This program's full path; empty when Windows does not give it.
std::wstring LancChemin(void) {
    std::wstring path(MAX_PATH + 1, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return std::wstring();
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        if (path.size() >= 32768) return std::wstring();
        path.resize(path.size() * 4);
    }
}

// The windowed executable: this program's path with ".exe" in place of its
// extension, so that a renamed pair still finds each other.
std::wstring LancExecutable(const std::wstring &moi) {
    const size_t slash = moi.find_last_of(L"\\/");
    const size_t dot = moi.find_last_of(L'.');
    const size_t base = (dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash)) ? dot : moi.size();
    return moi.substr(0, base) + L".exe";
}

// What follows the program's name on the command line, as given: the name
// ends, as CommandLineToArgvW reads it, at its closing quote when it opens
// with one, else at the first blank.
const wchar_t *LancArguments(const wchar_t *line) {
    const wchar_t *p = line;
    if (*p == L'"') {
        ++p;
        while (*p && *p != L'"') ++p;
        if (*p) ++p;
    } else {
        while (*p && *p != L' ' && *p != L'\t') ++p;
    }
    return p;
}

// True when this program is attached to a console that no other process
// shares: the one Windows made for it because its parent had none.
bool LancConsoleSeule(void) {
    DWORD ids[2];
    return GetConsoleProcessList(ids, 2) == 1;
}

// The standard handle to hand down, made inheritable: a file, a pipe or the
// console; null when there is none, or when it is a console's and
// `sansConsole` (the console is given back before the executable starts).
HANDLE LancPoignee(DWORD which, bool sansConsole) {
    HANDLE h = GetStdHandle(which);
    if (!h || h == INVALID_HANDLE_VALUE) return nullptr;
    DWORD mode = 0;
    if (sansConsole && GetConsoleMode(h, &mode)) return nullptr;
    // A console handle that cannot be marked (an old Windows' pseudo-handle)
    // is handed down all the same.
    SetHandleInformation(h, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    return h;
}

// The launcher's own failure, in the console's words.
int LancEchec(const wchar_t *what, const std::wstring &path) {
    const std::wstring line = std::wstring(L"VLicEnr : ") + what + L" " + path + L"\r\n";
    HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    DWORD written = 0, mode = 0;
    if (err && err != INVALID_HANDLE_VALUE) {
        if (GetConsoleMode(err, &mode)) {
            WriteConsoleW(err, line.c_str(), static_cast<DWORD>(line.size()), &written, nullptr);
        } else {
            const int n = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, nullptr, 0, nullptr, nullptr);
            std::string utf8(n > 0 ? n - 1 : 0, '\0');
            if (n > 1) WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, utf8.data(), n, nullptr, nullptr);
            WriteFile(err, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
        }
    }
    return 3;
}

}  // namespace

int wmain() {
    const std::wstring moi = LancChemin();
    if (moi.empty()) return LancEchec(L"le chemin du programme est inconnu", L"");
    const std::wstring exe = LancExecutable(moi);
    // A path never holds a quote, so quoting it is enough.
    std::wstring line = L"\"" + exe + L"\"" + LancArguments(GetCommandLineW());

    const bool seule = LancConsoleSeule();
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    si.hStdInput = LancPoignee(STD_INPUT_HANDLE, seule);
    si.hStdOutput = LancPoignee(STD_OUTPUT_HANDLE, seule);
    si.hStdError = LancPoignee(STD_ERROR_HANDLE, seule);
    si.dwFlags = STARTF_USESTDHANDLES;
    // After the handles are read: the console's go with it, and a failure
    // to start reaches only an error output redirected to a file or a pipe
    // (a console made for the launcher alone closed with it all the same).
    if (seule) FreeConsole();
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi))
        return LancEchec(L"impossible de lancer", exe);
    CloseHandle(pi.hThread);
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 3;
    if (!GetExitCodeProcess(pi.hProcess, &code)) code = 3;
    CloseHandle(pi.hProcess);
    return static_cast<int>(code);
}
