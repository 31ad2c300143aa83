// winevent.cpp: the Win32 driver's events: the user's input handed to the
// core, the pump, the mouse and cursors, modal popups, message popups and
// printing.
//
// Exports (ui/win32/userint_win32.h): UiRunPendingMessages;
// (ui/win32/winprivate.h): CursorOverride, MouseMessage, BeginModal,
// EndModal, FillEventEntries (the driver's entries for the pump, the
// pointer, the cursor, popups, the message box and printing).
//
// Data model. Commits come from the controls' own notifications (see the
// panels' window procedure); every mouse move over a panel or one of its
// controls, and a left release over a control, go to the core with the
// position in the panel. What each means is the core's
// (ui/core/coreevent.cpp). The pump hands the keys whose meaning is the
// core's (Tab, Escape, Enter, Space, the arrows, Alt+letter) to the core
// first (ui/core/corefocus.cpp); what it leaves goes to IsDialogMessageW of
// its top-level window, then to the window.
//
// A modal popup disables every other visible top-level panel (which then
// takes no input) and is owned by the panel that was active, so it stays
// in front of it; once no popup is left they are enabled again.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ui/core/corecursor.h"
#include "ui/core/textcodec.h"
#include "ui/core/coreprint.h"
#include "ui/win32/userint_win32.h"
#include "ui/win32/winprivate.h"
#include "ui/win32/wintext.h"

namespace uiwin {

// --------------------------------------------------------------- state
// g_popups: open modal popups, oldest first; g_disabled: the panels they
//   disabled, enabled again when the last popup goes.
// g_pressed: the window that took the latest left press, until its release.
// g_releasing: the window whose own handling of a left release runs now.
static std::vector<int> g_popups;
static std::vector<int> g_disabled;
static HWND g_pressed = nullptr;
static HWND g_releasing = nullptr;

HCURSOR CursorOverride() {
    if (uicore::WaitCursorOn()) return LoadCursorW(nullptr, IDC_WAIT);
    if (uicore::MouseCursorStyle() == VAL_POINTING_FINGER_CURSOR) return LoadCursorW(nullptr, IDC_HAND);
    return nullptr;
}

// Mouse moves and left releases to the callbacks, with the position in the
// panel. A dimmed panel hears nothing. A release counts over the control
// that took the press only, inside it, as Qt has it: the window under a
// release is not the one pressed when the press began elsewhere.
static void NoteMouse(HWND hwnd, UINT msg, LPARAM lParam) {
    Panel *p = PanelOfWindow(hwnd);
    if (msg == WM_LBUTTONDOWN) {
        g_pressed = hwnd;
        return;
    }
    const bool pressedHere = g_pressed == hwnd;
    if (msg == WM_LBUTTONUP) g_pressed = nullptr;
    if (!p) return;
    POINT at = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    POINT pt = at;
    MapWindowPoints(hwnd, N(*p).hwnd, &pt, 1);
    pt = {Lg(*p, pt.x), Lg(*p, pt.y)};
    if (msg == WM_MOUSEMOVE) {
        uicore::InputMouseMove(p->handle, pt.x, pt.y);
    } else if (hwnd != N(*p).hwnd && pressedHere) {
        RECT r;
        GetClientRect(hwnd, &r);
        if (PtInRect(&r, at)) uicore::InputLeftRelease(p->handle, GetDlgCtrlID(hwnd), pt.x, pt.y);
    }
}

LRESULT ReleaseOwnHandling(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    const HWND outer = g_releasing;
    g_releasing = hwnd;
    const LRESULT r = WinDefSubclass(hwnd, WM_LBUTTONUP, wParam, lParam);
    g_releasing = outer;
    return r;
}

bool ReleasingOver(HWND hwnd) { return g_releasing == hwnd; }

bool MouseMessage(HWND hwnd, UINT msg, LPARAM lParam) {
    if (msg == WM_SETCURSOR) {
        HCURSOR c = CursorOverride();
        if (c) SetCursor(c);
        return c != nullptr;
    }
    // A second press soon after the first comes as a double click to the
    // controls' classes: a press all the same, as on Qt. On to the window's
    // own handling either way.
    if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) NoteMouse(hwnd, WM_LBUTTONDOWN, lParam);
    if (msg != WM_MOUSEMOVE && msg != WM_LBUTTONUP) return false;
    NoteMouse(hwnd, msg, lParam);
    return true;
}

void BeginModal(int popup) {
    if (std::find(g_popups.begin(), g_popups.end(), popup) != g_popups.end()) return;
    for (int h : PanelHandles()) {
        Panel *other = FindPanel(h);
        if (h == popup || other->parent || !IsWindowEnabled(N(*other).hwnd)) continue;
        EnableWindow(N(*other).hwnd, FALSE);
        g_disabled.push_back(h);
    }
    g_popups.push_back(popup);
}

void EndModal(int popup) {
    g_popups.erase(std::remove(g_popups.begin(), g_popups.end(), popup), g_popups.end());
    if (!g_popups.empty()) return;
    for (int h : g_disabled)
        if (Panel *p = FindPanel(h)) EnableWindow(N(*p).hwnd, TRUE);
    g_disabled.clear();
}

// Applies the cursor at once when the pointer is over one of our windows
// (WM_SETCURSOR keeps it there afterwards).
void WinShowCursorNow() {
    POINT pt;
    GetCursorPos(&pt);
    HWND under = WindowFromPoint(pt);
    if (under && PanelOfWindow(under)) {
        HCURSOR c = CursorOverride();
        SetCursor(c ? c : LoadCursorW(nullptr, IDC_ARROW));
    }
}

// The modifiers held with a key message, as the core names them: Alt is
// the message's own context bit (29), the others the keys' state as the
// message was posted.
static int Mods(const MSG &msg) {
    return ((GetKeyState(VK_SHIFT) & 0x8000) ? uicore::kModShift : 0) |
           ((GetKeyState(VK_CONTROL) & 0x8000) ? uicore::kModCtrl : 0) |
           ((msg.lParam & (1 << 29)) ? uicore::kModAlt : 0);
}

// A key message to one of our panels' windows handed to the core, before
// the dialog manager: a key pressed (WM_KEYDOWN) or an Alt+character
// (WM_SYSCHAR, the character the keyboard layout gives). True when the
// core took it. A ring's open list keeps its keys.
static bool CoreKey(const MSG &msg) {
    Panel *p = PanelOfWindow(msg.hwnd);
    if (!p) return false;
    Ctrl *focus = FindCtrl(p, GetDlgCtrlID(msg.hwnd));
    if (focus && N(*focus).hwnd != msg.hwnd) focus = nullptr;   // a label apart, or the panel
    if (focus && focus->style == CTRL_RING && SendMessageW(N(*focus).hwnd, CB_GETDROPPEDSTATE, 0, 0)) return false;
    uicore::Key key;
    char letter = 0;
    if (msg.message == WM_SYSCHAR) {
        const char16_t ch = static_cast<char16_t>(msg.wParam);
        const std::string ansi = uicore::Utf16ToAnsi(&ch, 1);
        if (ansi.empty() || static_cast<unsigned char>(ansi[0]) <= 0x20 || ansi[0] == '?') return false;
        key = uicore::Key::Letter;
        letter = ansi[0];
    } else {
        switch (msg.wParam) {
        case VK_TAB: key = uicore::Key::Tab; break;
        case VK_ESCAPE: key = uicore::Key::Escape; break;
        case VK_RETURN: key = uicore::Key::Enter; break;
        case VK_SPACE: key = uicore::Key::Space; break;
        case VK_UP: key = uicore::Key::Up; break;
        case VK_DOWN: key = uicore::Key::Down; break;
        case VK_LEFT: key = uicore::Key::Left; break;
        case VK_RIGHT: key = uicore::Key::Right; break;
        default: return false;
        }
    }
    return uicore::InputKey(p->handle, focus ? focus->id : 0, key, Mods(msg), letter);
}

// ------------------------------------------- the system's answers at rest
// The loops at rest ask again and again where the pointer is (over each
// control they watch) and which panel is active; under Wine each question
// is a call to the window server, a wake-up of the program and of the
// server. Both answers change only with input or with a message to one of
// our windows (activation and focus are sent as messages, even when the
// program itself changes them), so each is asked once between two such
// messages: a message that Pump runs, and the panels' and the controls'
// window procedures, forget them. The pointer can leave our windows without
// a message: its place is forgotten at each run of Pump and each wait.
// State: g_cursorKnown, g_cursor: the cursor's place; g_activeKnown,
// g_active: WinActivePanel's answer.
static bool g_cursorKnown = false, g_activeKnown = false;
static POINT g_cursor;
static int g_active = 0;

void ForgetSystemAnswers() { g_cursorKnown = g_activeKnown = false; }
static void ForgetCursor() { g_cursorKnown = false; }

static POINT CursorNow() {
    if (!g_cursorKnown && GetCursorPos(&g_cursor)) g_cursorKnown = true;
    return g_cursor;
}

int WinActivePanel() {
    if (g_activeKnown) return g_active;
    HWND focus = GetFocus();
    Panel *p = focus ? PanelOfWindow(focus) : nullptr;
    if (!p) p = PanelOfWindow(GetActiveWindow());
    g_active = p ? p->handle : 0;
    g_activeKnown = true;
    return g_active;
}

// Windows' own timers (the caret's blink; under Wine, the mouse tracking
// of the themed buttons, about 35 a second while the pointer rests on one).
static constexpr UINT kWmSysTimer = 0x0118;

// Runs every pending message (a WM_QUIT as the active panel's close box);
// the number it ran, Windows' own timers left out: they are nobody's input.
static int Pump() {
    MSG msg;
    int ran = 0;
    // The pointer may have left our windows since the last run, which
    // sends us nothing.
    ForgetCursor();
    // Nothing queued, nothing sent: no need to ask for a message.
    if (HIWORD(GetQueueStatus(QS_ALLINPUT)) == 0) return 0;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ForgetSystemAnswers();
        if (msg.message != kWmSysTimer) ++ran;
        if (msg.message == WM_QUIT) {
            // Nothing of ours posts one, but another program or a shell
            // extension may. Put back, it would make every poll return at
            // once, for ever: it counts once, as the close box of the
            // active panel.
            Panel *active = PanelOfWindow(GetActiveWindow());
            if (active) uicore::InputClose(active->handle);
            continue;
        }
        HWND top = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
        const bool ours = top && PanelOfWindow(top);
        if (ours && (msg.message == WM_KEYDOWN || msg.message == WM_SYSCHAR) && CoreKey(msg)) continue;
        // Enter and Escape stay with the control: a dialog would turn them
        // into presses of the controls whose ids are IDOK and IDCANCEL.
        const bool enterOrEscape = msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE);
        if (ours && !enterOrEscape && IsDialogMessageW(top, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return ran;
}

}  // namespace uiwin

using namespace uiwin;

namespace uiwin {

// Runs the pending messages; with none and ms not 0, first sleeps until
// input, a timer or a posted or sent message comes, at most ms (-1: no
// bound). A pointer that leaves our windows sends nothing: the loops learn
// of it at the next input or within the poll's bound (asking Windows for
// WM_MOUSELEAVE would cost, under Wine, a timer message every 400 ms while
// the pointer rests over a panel).
bool WinPumpFor(int ms) {
    // A wait returns at once for what is already queued (MWMO_INPUTAVAILABLE):
    // the queue is read after it, once.
    if (ms == 0) return Pump() > 0;
    const DWORD woke = MsgWaitForMultipleObjectsEx(0, nullptr, ms < 0 ? INFINITE : static_cast<DWORD>(ms),
                                                   QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    ForgetCursor();   // the pointer may have left our windows meanwhile
    return woke != WAIT_TIMEOUT && Pump() > 0;
}

void WinPointerInPanel(const Panel &p, int *x, int *y) {
    POINT pt = CursorNow();
    ScreenToClient(N(p).hwnd, &pt);
    *x = Lg(p, pt.x);
    *y = Lg(p, pt.y);
}

void WinMouseButtons(int *left, int *right, int *keys) {
    *left = (GetAsyncKeyState(VK_LBUTTON) & 0x8000) ? 1 : 0;
    *right = (GetAsyncKeyState(VK_RBUTTON) & 0x8000) ? 1 : 0;
    *keys = ((GetKeyState(VK_SHIFT) & 0x8000) ? 1 : 0) | ((GetKeyState(VK_CONTROL) & 0x8000) ? 2 : 0) |
            ((GetKeyState(VK_MENU) & 0x8000) ? 4 : 0);
}

}  // namespace uiwin

int UiRunPendingMessages(void) { return Pump(); }

namespace uiwin {

// Owned by the panel it blocks (owner null: no more a popup, and its owner
// is left as it is).
void WinSetPopup(Panel &p, const Panel *owner) {
    if (owner) SetWindowLongPtrW(N(p).hwnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(N(*owner).hwnd));
}

void WinSetModal(Panel &p, bool on) {
    if (on) BeginModal(p.handle);
    else EndModal(p.handle);
}

void WinMessageBox(const char *title, const char *message, const Panel *owner) {
    MessageBoxW(owner ? N(*owner).hwnd : nullptr, WideFromAnsi(message).c_str(), WideFromAnsi(title).c_str(),
                MB_OK | MB_TASKMODAL);
}

}  // namespace uiwin

// Prints the panel's picture on the default printer, at the top-left of the
// page and scaled as the print attributes say (ui/core/coreprint.h). 0;
// UIE_SYSTEM (no default printer, or it refused the job).
namespace uiwin {

int WinPrintPanel(Panel &panel, const char *pdfFile) {
    Panel *p = &panel;
    (void)pdfFile;   // never one: the driver writes no PDF (uicore::Caps::printsPdf)
    wchar_t printer[256];
    DWORD size = 256;
    if (!WinDefaultPrinter(printer, &size)) return UIE_SYSTEM;
    DEVMODEW mode = {};
    mode.dmSize = sizeof mode;
    mode.dmFields = DM_ORIENTATION;
    mode.dmOrientation = uicore::PrintOrientation() ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    HDC dc = CreateDCW(L"WINSPOOL", printer, nullptr, &mode);
    if (!dc) return UIE_SYSTEM;
    RECT client;
    GetClientRect(N(*p).hwnd, &client);
    if (client.right <= 0 || client.bottom <= 0) {   // nothing to draw (the scales need a picture)
        DeleteDC(dc);
        return UIE_SYSTEM;
    }
    HDC screen = GetDC(N(*p).hwnd);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP picture = CreateCompatibleBitmap(screen, client.right, client.bottom);
    HGDIOBJ old = SelectObject(memory, picture);
    PrintWindow(N(*p).hwnd, memory, PW_CLIENTONLY);
    DOCINFOW doc = {sizeof doc, L"VLicEnr", nullptr, nullptr, 0};
    int status = UIE_SYSTEM;
    if (StartDocW(dc, &doc) > 0 && StartPage(dc) > 0) {
        double sx = 1, sy = 1;
        uicore::PrintScales(GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES), GetDeviceCaps(dc, LOGPIXELSX),
                              client.right, client.bottom, &sx, &sy);
        StretchBlt(dc, 0, 0, static_cast<int>(client.right * sx), static_cast<int>(client.bottom * sy), memory, 0, 0,
                   client.right, client.bottom, SRCCOPY);
        if (EndPage(dc) > 0 && EndDoc(dc) > 0) status = 0;
    }
    SelectObject(memory, old);
    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(N(*p).hwnd, screen);
    DeleteDC(dc);
    return status;
}

void FillEventEntries(uicore::Driver &d) {
    d.pump = WinPumpFor;
    d.pointerInPanel = WinPointerInPanel;
    d.mouseButtons = WinMouseButtons;
    d.showCursor = WinShowCursorNow;
    d.setPopup = WinSetPopup;
    d.setModal = WinSetModal;
    d.messageBox = WinMessageBox;
    d.printPanel = WinPrintPanel;
}

}  // namespace uiwin
