// ui_events_win32.cpp: the GUI tests' input on the Win32 backend (see
// ui_events.h), as Windows itself delivers a user's input:
// - the mouse: the cursor is put on the point and SendInput reports the
//   move and the buttons, so that Windows (Wine) hit-tests, captures and
//   sends WM_SETCURSOR, WM_MOUSEMOVE and the button messages to the window
//   that lies there, as for a real mouse;
// - keys: posted WM_KEYDOWN / WM_KEYUP (WM_SYSKEYDOWN / WM_SYSKEYUP with
//   Alt) to the focus window, which the poll's IsDialogMessageW and
//   TranslateMessage then handle as they do real keys. Keys are posted,
//   not sent through SendInput: under Wine without a window manager the
//   keyboard reaches only the window that X gives the focus, which tests
//   cannot count on.
// - timers: thread timers (SetTimer without a window), which every message
//   loop runs, the poll's as well as a modal popup's.
//
// State: g_timers, the running timers of UiTestAfter / UiTestEvery by the
// id SetTimer gave; g_deadline, the end of UiTestWaitCommit's wait.
#include "support/ui_events.h"

#include <windows.h>
#include <commctrl.h>

#include <map>
#include <utility>

#include "ui/userint.h"
#include "ui/win32/userint_win32.h"

namespace {

struct Timer {
    bool repeat;
    std::function<void()> fn;
    bool running = false;   // a tick whose fn pumps messages does not start the next one, as with Qt's timers
};
std::map<UINT_PTR, Timer> g_timers;
bool g_deadline = false;

// The keyboard cues the panels ask Windows for, by top-level window: the
// last WM_CHANGEUISTATE about the focus cue each one was sent (true: shown).
// Wine answers WM_QUERYUISTATE with "all shown" whatever it is asked, and
// shows them always by default; the tests run with Windows' own default,
// cues hidden until the keyboard is used.
std::map<HWND, bool> g_cuesAsked;

LRESULT CALLBACK CuesHook(int code, WPARAM wParam, LPARAM lParam) {
    const auto *m = reinterpret_cast<const CWPSTRUCT *>(lParam);
    if (code == HC_ACTION && m->message == WM_CHANGEUISTATE && (HIWORD(m->wParam) & UISF_HIDEFOCUS))
        g_cuesAsked[m->hwnd] = LOWORD(m->wParam) == UIS_CLEAR;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

const bool kCuesHooked = [] {
    SystemParametersInfoW(SPI_SETKEYBOARDCUES, 0, reinterpret_cast<PVOID>(FALSE), 0);
    return SetWindowsHookExW(WH_CALLWNDPROC, CuesHook, nullptr, GetCurrentThreadId()) != nullptr;
}();

// Sends the mouse input at the cursor's place, then runs what it brought.
void Mouse(DWORD flags) {
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    SendInput(1, &in, sizeof in);
    UiTestProcess();
}

// Puts the cursor on point (x, y) of window w and reports the move.
void MoveTo(HWND w, int x, int y) {
    if (!w) return;
    POINT pt = {x, y};
    ClientToScreen(w, &pt);
    SetCursorPos(pt.x, pt.y);
    Mouse(MOUSEEVENTF_MOVE);   // no motion: Windows reports the move to where the cursor now is
}

UINT VirtualKey(int key) {
    switch (key) {
    case UiTestKeyReturn: return VK_RETURN;
    case UiTestKeySpace: return VK_SPACE;
    case UiTestKeyUp: return VK_UP;
    case UiTestKeyDown: return VK_DOWN;
    case UiTestKeyEnd: return VK_END;
    case UiTestKeyEscape: return VK_ESCAPE;
    case UiTestKeyTab: return VK_TAB;
    default: return static_cast<UINT>(key);   // a capital letter is its own virtual key
    }
}

// A press and release of key to window w, with the lParam bits Windows sets.
void KeyTo(HWND w, int key, UiTestModifier modifiers) {
    if (!w) return;
    const UINT vk = VirtualKey(key);
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16;
    const bool alt = modifiers & UiTestAlt;
    const LPARAM context = alt ? (1 << 29) : 0;
    // Shift held: posted keys leave the thread's key state alone, which is
    // what GetKeyState reads, so it is set for the time of the key.
    BYTE keys[256] = {};
    const bool shift = modifiers & UiTestShift;
    if (shift) {
        GetKeyboardState(keys);
        keys[VK_SHIFT] |= 0x80;
        SetKeyboardState(keys);
    }
    PostMessageW(w, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, 1 | scan | context);
    PostMessageW(w, alt ? WM_SYSKEYUP : WM_KEYUP, vk, 1 | scan | context | (1u << 30) | (1u << 31));
    UiTestProcess();
    if (shift) {
        keys[VK_SHIFT] &= 0x7F;
        SetKeyboardState(keys);
    }
}

void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD) {
    auto it = g_timers.find(id);
    if (it == g_timers.end() || it->second.running) return;
    std::function<void()> fn = it->second.fn;   // fn may cancel or start timers
    if (!it->second.repeat) {
        KillTimer(nullptr, id);
        g_timers.erase(it);
        fn();
        return;
    }
    it->second.running = true;
    fn();
    it = g_timers.find(id);
    if (it != g_timers.end()) it->second.running = false;
}

int StartTimer(int ms, bool repeat, std::function<void()> fn) {
    const UINT_PTR id = SetTimer(nullptr, 0, ms > 0 ? ms : 1, TimerProc);
    if (!id) return 0;
    g_timers[id] = {repeat, std::move(fn)};
    return static_cast<int>(id);
}

void CALLBACK DeadlineProc(HWND, UINT, UINT_PTR, DWORD) { g_deadline = true; }

}  // namespace

void UiTestProcess(int ms) {
    const ULONGLONG end = GetTickCount64() + (ms > 0 ? ms : 0);
    UiRunPendingMessages();
    for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
        MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(end - now), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        UiRunPendingMessages();
    }
}

void UiTestMouseMove(int panel, int x, int y) { MoveTo(UiPanelWindow(panel), x, y); }

void UiTestMouseMoveCtrl(int panel, int control, int x, int y) { MoveTo(UiCtrlWindow(panel, control), x, y); }

void UiTestClickAt(int panel, int x, int y, UiTestButton button) {
    HWND w = UiPanelWindow(panel);
    if (!w) return;
    MoveTo(w, x, y);
    const bool right = button == UiTestRightButton;
    Mouse(right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
    Mouse(right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
}

void UiTestClick(int panel, int control, UiTestButton button) {
    HWND w = UiPanelWindow(panel), c = UiCtrlWindow(panel, control);
    if (!w || !c) return;
    RECT r;
    GetWindowRect(c, &r);
    POINT centre = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ScreenToClient(w, &centre);
    UiTestClickAt(panel, centre.x, centre.y, button);
}

void UiTestPressAndReleaseAt(int panel, int x0, int y0, int x1, int y1) {
    HWND w = UiPanelWindow(panel);
    if (!w) return;
    MoveTo(w, x0, y0);
    Mouse(MOUSEEVENTF_LEFTDOWN);
    MoveTo(w, x1, y1);
    Mouse(MOUSEEVENTF_LEFTUP);
}

int UiTestShownCursor() {
    HCURSOR c = GetCursor();
    if (c == LoadCursorW(nullptr, IDC_HAND)) return VAL_POINTING_FINGER_CURSOR;
    return c == LoadCursorW(nullptr, IDC_WAIT) ? kUiTestWaitCursor : VAL_DEFAULT_CURSOR;
}

// A click opens the ring's list, a click on the item picks it.
void UiTestChooseRingItem(int panel, int control, int index) {
    HWND ring = UiCtrlWindow(panel, control);
    if (!ring || index < 0 || index >= SendMessageW(ring, CB_GETCOUNT, 0, 0)) return;
    UiTestClick(panel, control);
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    if (!GetComboBoxInfo(ring, &info) || !info.hwndList) return;
    // The list drops once the click is delivered: on a loaded machine not
    // at once.
    for (int waited = 0; !IsWindowVisible(info.hwndList) && waited < 1000; waited += 10) UiTestProcess(10);
    if (!IsWindowVisible(info.hwndList)) return;
    SendMessageW(info.hwndList, LB_SETTOPINDEX, index, 0);
    RECT item;
    if (SendMessageW(info.hwndList, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item)) == LB_ERR) return;
    MoveTo(info.hwndList, (item.left + item.right) / 2, (item.top + item.bottom) / 2);
    Mouse(MOUSEEVENTF_LEFTDOWN);
    Mouse(MOUSEEVENTF_LEFTUP);
}

void UiTestKeyToCtrl(int panel, int control, int key, UiTestModifier modifiers) {
    HWND c = UiCtrlWindow(panel, control);
    if (!c) return;
    SetFocus(c);
    KeyTo(c, key, modifiers);
}

void UiTestKey(int panel, int key, UiTestModifier modifiers) {
    HWND w = UiPanelWindow(panel);
    if (!w) return;
    HWND focus = GetFocus();
    KeyTo(focus && GetAncestor(focus, GA_ROOT) == GetAncestor(w, GA_ROOT) ? focus : w, key, modifiers);
}

int UiTestFocusCtrl(int panel) {
    HWND focus = GetFocus();
    for (HWND w = focus; w; w = GetParent(w)) {
        const int id = GetDlgCtrlID(w);
        if (id > 0 && UiCtrlWindow(panel, id) == w) return id;
    }
    return 0;
}

void UiTestActivate(int panel) {
    HWND w = UiPanelWindow(panel);
    if (!w) return;
    SetActiveWindow(GetAncestor(w, GA_ROOT));
    UiTestProcess(20);
}

static std::string Utf8(const wchar_t *text, int n) {
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, n, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, n, out.data(), bytes, nullptr, nullptr);
    return out;
}

std::string UiTestAccessibleName(int panel, int control) {
    HWND c = UiCtrlWindow(panel, control);
    if (!c) return std::string();
    wchar_t raw[1024] = L"", text[1024] = L"";
    const int m = GetWindowTextW(c, raw, 1024);
    // A screen reader leaves out the shortcut mark ("&T"; "&&" is one "&"),
    // and a link control's markup ("<a>", "</a>").
    const bool link = UiTestIsLink(panel, control);
    int n = 0;
    for (int i = 0; i < m; ++i) {
        if (link && raw[i] == L'<') {
            while (i < m && raw[i] != L'>') ++i;
            continue;
        }
        if (raw[i] == L'&' && ++i >= m) break;
        text[n++] = raw[i];
    }
    return Utf8(text, n);
}

bool UiTestIsLink(int panel, int control) {
    HWND c = UiCtrlWindow(panel, control);
    wchar_t cls[32] = L"";
    return c && GetClassNameW(c, cls, 32) && lstrcmpiW(cls, L"SysLink") == 0;
}

// What the link control sends its parent when it is invoked without the
// mouse (by a screen reader's default action).
void UiTestInvokeLink(int panel, int control) {
    HWND c = UiCtrlWindow(panel, control);
    if (!c) return;
    NMLINK n = {};
    n.hdr.hwndFrom = c;
    n.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(c));
    n.hdr.code = NM_CLICK;
    SendMessageW(GetParent(c), WM_NOTIFY, n.hdr.idFrom, reinterpret_cast<LPARAM>(&n));
    UiTestProcess();
}

bool UiTestFocusCuesShown(int panel) {
    HWND w = UiPanelWindow(panel);
    if (!w) return false;
    const auto asked = g_cuesAsked.find(GetAncestor(w, GA_ROOT));
    if (kCuesHooked && asked != g_cuesAsked.end()) return asked->second;
    return !(SendMessageW(GetAncestor(w, GA_ROOT), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
}

std::string UiTestCtrlText(int panel, int control) {
    HWND c = UiCtrlWindow(panel, control);
    wchar_t text[2048] = L"";
    return c ? Utf8(text, GetWindowTextW(c, text, 2048)) : std::string();
}

std::string UiTestClipboardText() {
    std::string out;
    if (!OpenClipboard(nullptr)) return out;
    if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto *text = static_cast<const wchar_t *>(GlobalLock(h))) {
            out = Utf8(text, lstrlenW(text));
            GlobalUnlock(h);
        }
    }
    CloseClipboard();
    return out;
}

// What Windows sends a window whose close box is pressed.
void UiTestCloseBox(int panel) {
    HWND w = UiPanelWindow(panel);
    if (!w) return;
    PostMessageW(w, WM_SYSCOMMAND, SC_CLOSE, 0);
    UiTestProcess();
}

int UiTestAfter(int ms, std::function<void()> fn) { return StartTimer(ms, false, std::move(fn)); }
int UiTestEvery(int ms, std::function<void()> fn) { return StartTimer(ms, true, std::move(fn)); }

void UiTestCancel(int id) {
    auto it = g_timers.find(static_cast<UINT_PTR>(id));
    if (it == g_timers.end()) return;
    KillTimer(nullptr, it->first);
    g_timers.erase(it);
}

bool UiTestIsChildOf(int panel, int parent) {
    HWND w = UiPanelWindow(panel);
    if (!w) return false;
    const bool child = GetWindowLongPtrW(w, GWL_STYLE) & WS_CHILD;
    return parent ? child && GetParent(w) == UiPanelWindow(parent) : !child;
}

bool UiTestTakesInput(int panel) {
    HWND w = UiPanelWindow(panel);
    return w && IsWindowEnabled(GetAncestor(w, GA_ROOT));
}

// The poll sleeps while nothing comes: a timer at the deadline wakes it in time.
bool UiTestWaitCommit(int *panel, int *control, int timeoutMs) {
    g_deadline = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, timeoutMs, DeadlineProc);
    bool got = false;
    while (!got && !g_deadline) got = GetUserEvent(0, panel, control) == EVENT_COMMIT;
    KillTimer(nullptr, timer);
    return got;
}

int UiTestCountCommits(int ms) {
    g_deadline = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, ms, DeadlineProc);
    int n = 0, p, c;
    while (!g_deadline)
        if (GetUserEvent(0, &p, &c) == EVENT_COMMIT) ++n;
    KillTimer(nullptr, timer);
    return n;
}
