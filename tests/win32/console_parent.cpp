// console_parent: starts a program the way cmd.exe starts a windowed one,
// from a console of its own and without handing it any standard handle,
// then reads back what the console shows. Used by the listings test to see
// that the program's output reaches the console it was started from.
//     console_parent <program> [arguments...]
// Waits for the program, then writes every non-blank line of the console's
// screen buffer, as UTF-8, to its standard output (given as a file or a
// pipe). Exit code: the program's, or 125 when it cannot be started.
#include <windows.h>

#include <string>

int wmain(int argc, wchar_t **argv) {
    if (argc < 2) return 125;
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    // A console of our own, the one the program should attach to.
    FreeConsole();
    if (!AllocConsole()) return 125;
    std::wstring command;
    for (int i = 1; i < argc; ++i) command += (i > 1 ? L" \"" : L"\"") + std::wstring(argv[i]) + L"\"";
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return 125;
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 125;
    GetExitCodeProcess(pi.hProcess, &code);

    HANDLE screen = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (screen == INVALID_HANDLE_VALUE || !GetConsoleScreenBufferInfo(screen, &info)) return 125;
    std::string text;
    for (SHORT y = 0; y <= info.dwCursorPosition.Y; ++y) {
        std::wstring line(info.dwSize.X, L' ');
        DWORD got = 0;
        ReadConsoleOutputCharacterW(screen, line.data(), info.dwSize.X, COORD{0, y}, &got);
        line.resize(got);
        while (!line.empty() && line.back() == L' ') line.pop_back();
        if (line.empty()) continue;
        const int n = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, nullptr, 0, nullptr, nullptr);
        std::string utf8(n > 0 ? n - 1 : 0, '\0');
        if (n > 1) WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, utf8.data(), n, nullptr, nullptr);
        text += utf8 + "\n";
    }
    DWORD written = 0;
    WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    return static_cast<int>(code);
}
