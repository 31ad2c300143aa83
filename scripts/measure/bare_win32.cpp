// bare_win32.cpp: the bare Win32 window that scripts/measure-wine.sh holds
// VLicEnr.exe against: one top-level window of the main panel's client
// size (BARE_WIDTH x BARE_HEIGHT), titled "bare", waiting in GetMessageW,
// built with the same cross compiler, flags and static run-times as the
// program. Exit code 0 once the window is closed. Built with BARE_BUTTON
// (and the program's manifest), one themed push button fills the window:
// the cost of a pointer resting on a button, without the program.
#include <windows.h>

static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"bare";
    RegisterClassW(&wc);
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT r = {0, 0, BARE_WIDTH, BARE_HEIGHT};
    AdjustWindowRect(&r, style, FALSE);
    HWND w = CreateWindowW(L"bare", L"bare", style, CW_USEDEFAULT, CW_USEDEFAULT, r.right - r.left, r.bottom - r.top,
                           nullptr, nullptr, instance, nullptr);
#ifdef BARE_BUTTON
    CreateWindowW(L"BUTTON", L"bare", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, BARE_WIDTH, BARE_HEIGHT, w, nullptr,
                  instance, nullptr);
#endif
    ShowWindow(w, show);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
