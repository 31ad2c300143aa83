// winevent.cpp: events of the Win32 backend: callbacks, commits, the poll,
// the mouse and cursors, modal popups, message popups and printing.
//
// Exports (ui/userint.h): GetUserEvent, ProcessDrawEvents, GetRelativeMouseState,
// GetMouseCursor, SetMouseCursor, SetWaitCursor, GetWaitCursorState,
// InstallPopup, MessagePopupAnsi, UiSetMessagePopupHook,
// SetPrintAttributeExAnsi, PrintPanelAnsi; (ui/win32/winprivate.h):
// CallCtrlCallback, CallPanelCallback, Commit, Records, InDispatch, CursorOverride,
// MouseMessage, EndModal, DispatchGuard.
//
// Data model. Commits come from the controls' own notifications (see the
// panels' window procedure): EVENT_COMMIT to the control's callback, then,
// unless it returned non-zero, into the shared commit queue that
// GetUserEvent empties one per call. Every mouse move over a panel or one of
// its controls gives EVENT_MOUSE_POINTER_MOVE to the panel's callback, a
// left release over a control EVENT_LEFT_CLICK_UP to its callback, both with
// the position in the panel (y, x). The poll hands each message to
// IsDialogMessageW of its top-level window first, so Alt+letter presses the
// button whose label marks that letter, and Tab moves the focus.
//
// A modal popup disables every other visible top-level panel (which then
// takes no input) and is owned by the panel that was active, so it stays
// in front of it; once no popup is left they are enabled again.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "ui/common/commitq.h"
#include "ui/common/uidispatch.h"
#include "ui/win32/winprivate.h"
#include "ui/win32/wintext.h"

namespace uiwin {

// --------------------------------------------------------------- state
// g_depth: calls from Windows' message delivery into callbacks now running.
// g_cursor: the style of SetMouseCursor (-1 the window's own).
// g_wait: the wait cursor is on.
// g_popups: open modal popups, oldest first; g_disabled: the panels they
//   disabled, enabled again when the last popup goes.
// g_hook: MessagePopupAnsi's test hook.
// g_printScaleH, g_printScaleV, g_printOrientation: print attributes.
static int g_depth = 0;
static int g_cursor = VAL_DEFAULT_CURSOR;
static bool g_wait = false;
static std::vector<int> g_popups;
static std::vector<int> g_disabled;
static UiMessagePopupHook g_hook = nullptr;
static int g_printScaleH = -1;
static int g_printScaleV = -1;
static int g_printOrientation = 0;

DispatchGuard::DispatchGuard() { ++g_depth; }
DispatchGuard::~DispatchGuard() { --g_depth; }
bool InDispatch() { return g_depth > 0; }

int CallCtrlCallback(int panel, int ctrl, int event, int d1, int d2) {
    Ctrl *c = FindCtrl(FindPanel(panel), ctrl);
    if (!c || !c->cb) return 0;
    CtrlCallbackPtr cb = c->cb;
    void *data = c->cbData;
    DispatchGuard g;
    return cb(panel, ctrl, event, data, d1, d2);
}

int CallPanelCallback(int panel, int event, int d1, int d2) {
    Panel *p = FindPanel(panel);
    if (!p || !p->cb) return 0;
    PanelCallbackPtr cb = p->cb;
    void *data = p->cbData;
    DispatchGuard g;
    return cb(panel, event, data, d1, d2);
}

static int CtrlAt(int panel, size_t index) {
    Panel *p = FindPanel(panel);
    return p && index < p->ctrls.size() ? p->ctrls[index]->id : 0;
}

static std::vector<int> ChildPanels(int panel) {
    std::vector<int> out;
    for (int h : PanelHandles())
        if (FindPanel(h)->parent == panel) out.push_back(h);
    return out;
}

const uicommon::BackendRecords &Records() {
    static const uicommon::BackendRecords records = {CallCtrlCallback, CallPanelCallback, CtrlAt, ChildPanels,
                                                     DiscardPanel};
    return records;
}

void Commit(int panel, int ctrl) {
    DispatchGuard g;
    uicommon::DeliverCommit(Records(), panel, ctrl);
}

HCURSOR CursorOverride() {
    if (g_wait) return LoadCursorW(nullptr, IDC_WAIT);
    if (g_cursor == VAL_POINTING_FINGER_CURSOR) return LoadCursorW(nullptr, IDC_HAND);
    return nullptr;
}

// Mouse moves and left releases to the callbacks, with the position in the
// panel.
static void NoteMouse(HWND hwnd, UINT msg, LPARAM lParam) {
    Panel *p = PanelOfWindow(hwnd);
    if (!p) return;
    POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    MapWindowPoints(hwnd, p->hwnd, &pt, 1);
    pt = {Lg(pt.x), Lg(pt.y)};
    const int panel = p->handle;
    if (msg == WM_MOUSEMOVE) {
        CallPanelCallback(panel, EVENT_MOUSE_POINTER_MOVE, pt.y, pt.x);
    } else if (hwnd != p->hwnd) {
        const int id = GetDlgCtrlID(hwnd);
        if (FindCtrl(p, id)) CallCtrlCallback(panel, id, EVENT_LEFT_CLICK_UP, pt.y, pt.x);
    }
}

bool MouseMessage(HWND hwnd, UINT msg, LPARAM lParam) {
    if (msg == WM_SETCURSOR) {
        HCURSOR c = CursorOverride();
        if (c) SetCursor(c);
        return c != nullptr;
    }
    if (msg != WM_MOUSEMOVE && msg != WM_LBUTTONUP) return false;
    NoteMouse(hwnd, msg, lParam);
    return true;
}

void EndModal(int popup) {
    g_popups.erase(std::remove(g_popups.begin(), g_popups.end(), popup), g_popups.end());
    if (!g_popups.empty()) return;
    for (int h : g_disabled)
        if (Panel *p = FindPanel(h)) EnableWindow(p->hwnd, TRUE);
    g_disabled.clear();
}

// Applies the cursor at once when the pointer is over one of our windows
// (WM_SETCURSOR keeps it there afterwards).
static void ShowCursorNow() {
    POINT pt;
    GetCursorPos(&pt);
    HWND under = WindowFromPoint(pt);
    if (under && PanelOfWindow(under)) {
        HCURSOR c = CursorOverride();
        SetCursor(c ? c : LoadCursorW(nullptr, IDC_ARROW));
    }
}

// Runs every pending message; true when one was WM_QUIT (put back).
static void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        HWND top = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
        // Enter and Escape stay with the control: a dialog would turn them
        // into presses of the controls whose ids are IDOK and IDCANCEL.
        const bool enterOrEscape = msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE);
        if (top && !enterOrEscape && PanelOfWindow(top) && IsDialogMessageW(top, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace uiwin

using namespace uiwin;

// EVENT_COMMIT with *panel and *control of the oldest pending commit, 0 when
// none is pending; UIE_NOT_INITIALIZED, UIE_BAD_POINTER. Runs the pending
// messages first (and with them the callbacks). With wait 0 and nothing
// pending it waits for input at most 10 ms, as the Qt backend does; with
// wait non-zero until a commit comes.
int GetUserEvent(int wait, int *panel, int *control) {
    if (!Ready()) return UIE_NOT_INITIALIZED;
    if (!panel || !control) return UIE_BAD_POINTER;
    if (uicommon::CommitQueuePop(panel, control)) return EVENT_COMMIT;
    do {
        Pump();
        if (uicommon::CommitQueuePop(panel, control)) return EVENT_COMMIT;
        MsgWaitForMultipleObjectsEx(0, nullptr, wait ? INFINITE : 10, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        Pump();
        if (uicommon::CommitQueuePop(panel, control)) return EVENT_COMMIT;
    } while (wait);
    return 0;
}

// 0 once every displayed panel has drawn what it had to draw (its pending
// paints are done now, inside this call); runs no callback and queues no
// commit, as it delivers no input. UIE_NOT_INITIALIZED.
int ProcessDrawEvents(void) {
    if (!Ready()) return UIE_NOT_INITIALIZED;
    for (int h : PanelHandles()) {
        Panel *p = FindPanel(h);
        if (p && !p->parent && IsWindowVisible(p->hwnd))
            RedrawWindow(p->hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    return 0;
}

// 0 with the pointer's position relative to the control's top-left corner
// (control 0: the panel's); the buttons and keys when asked for.
// UIE_NOT_INITIALIZED, UIE_BAD_PANEL, UIE_BAD_CONTROL, UIE_BAD_POINTER.
int GetRelativeMouseState(int panel, int control, int *x, int *y, int *leftButton, int *rightButton, int *keys) {
    if (!Ready()) return UIE_NOT_INITIALIZED;
    Panel *p = FindPanel(panel);
    if (!p) return UIE_BAD_PANEL;
    if (!x || !y) return UIE_BAD_POINTER;
    POINT pt;
    GetCursorPos(&pt);
    ScreenToClient(p->hwnd, &pt);
    if (control) {
        Ctrl *c = FindCtrl(p, control);
        if (!c) return UIE_BAD_CONTROL;
        const RECT r = CtrlRect(*p, *c);
        pt.x -= r.left;
        pt.y -= r.top;
    }
    *x = Lg(pt.x);
    *y = Lg(pt.y);
    if (leftButton) *leftButton = (GetAsyncKeyState(VK_LBUTTON) & 0x8000) ? 1 : 0;
    if (rightButton) *rightButton = (GetAsyncKeyState(VK_RBUTTON) & 0x8000) ? 1 : 0;
    if (keys) {
        *keys = ((GetKeyState(VK_SHIFT) & 0x8000) ? 1 : 0) | ((GetKeyState(VK_CONTROL) & 0x8000) ? 2 : 0) |
                ((GetKeyState(VK_MENU) & 0x8000) ? 4 : 0);
    }
    return 0;
}

int GetMouseCursor(int *style) {
    if (!style) return UIE_BAD_POINTER;
    *style = g_cursor;
    return 0;
}

// 0; UIE_BAD_VALUE for a style other than 14 and -1.
int SetMouseCursor(int style) {
    if (style != VAL_POINTING_FINGER_CURSOR && style != VAL_DEFAULT_CURSOR) return UIE_BAD_VALUE;
    // The hover help sets the cursor at every turn of its loop.
    if (style == g_cursor) return 0;
    g_cursor = style;
    ShowCursorNow();
    return 0;
}

int SetWaitCursor(int on) {
    g_wait = on != 0;
    ShowCursorNow();
    return 0;
}

int GetWaitCursorState(void) { return g_wait ? 1 : 0; }

// 0; UIE_NOT_INITIALIZED, UIE_BAD_PANEL, UIE_NOT_PERMITTED (child panel).
int InstallPopup(int panel) {
    if (!Ready()) return UIE_NOT_INITIALIZED;
    Panel *p = FindPanel(panel);
    if (!p) return UIE_BAD_PANEL;
    if (p->parent) return UIE_NOT_PERMITTED;
    if (!p->popup) {
        const int owner = GetActivePanel();
        Panel *o = FindPanel(owner);
        while (o && o->parent) o = FindPanel(o->parent);
        if (o && o != p) SetWindowLongPtrW(p->hwnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(o->hwnd));
        for (int h : PanelHandles()) {
            Panel *other = FindPanel(h);
            if (h == panel || other->parent || !IsWindowEnabled(other->hwnd)) continue;
            EnableWindow(other->hwnd, FALSE);
            g_disabled.push_back(h);
        }
        p->popup = true;
        g_popups.push_back(panel);
    }
    return DisplayPanel(panel);
}

void UiSetMessagePopupHook(UiMessagePopupHook hook) { g_hook = hook; }

// 0 once the user has pressed OK (at once with the test hook);
// UIE_BAD_POINTER.
int MessagePopupAnsi(const char *title, const char *message) {
    if (!title || !message) return UIE_BAD_POINTER;
    if (g_hook) {
        g_hook(title, message);
        return 0;
    }
    Panel *owner = FindPanel(GetActivePanel());
    MessageBoxW(owner ? GetAncestor(owner->hwnd, GA_ROOT) : nullptr, WideFromAnsi(message).c_str(),
                WideFromAnsi(title).c_str(), MB_OK | MB_TASKMODAL);
    return 0;
}

// 0; UIE_BAD_ATTRIBUTE, UIE_BAD_VALUE.
int SetPrintAttributeExAnsi(int attribute, int value) {
    switch (attribute) {
    case ATTR_PRINT_HORIZONTAL_SCALE: g_printScaleH = value; return 0;
    case ATTR_PRINT_VERTICAL_SCALE: g_printScaleV = value; return 0;
    case ATTR_PRINT_ORIENTATION:
        if (value != 0 && value != 1) return UIE_BAD_VALUE;
        g_printOrientation = value;
        return 0;
    default: return UIE_BAD_ATTRIBUTE;
    }
}

// Prints the panel's picture on the default printer, fitted to the page. 0;
// UIE_NOT_INITIALIZED, UIE_BAD_PANEL, UIE_BAD_POINTER, UIE_NOT_PERMITTED (a
// file name: Windows has no PDF writer of its own to call), UIE_SYSTEM (no
// default printer, or it refused the job).
int PrintPanelAnsi(int panel, const char *fileName, int scaling, int area, int flag) {
    (void)scaling;
    (void)area;
    (void)flag;
    if (!Ready()) return UIE_NOT_INITIALIZED;
    Panel *p = FindPanel(panel);
    if (!p) return UIE_BAD_PANEL;
    if (!fileName) return UIE_BAD_POINTER;
    if (*fileName) return UIE_NOT_PERMITTED;
    wchar_t printer[256];
    DWORD size = 256;
    if (!GetDefaultPrinterW(printer, &size)) return UIE_SYSTEM;
    DEVMODEW mode = {};
    mode.dmSize = sizeof mode;
    mode.dmFields = DM_ORIENTATION;
    mode.dmOrientation = g_printOrientation ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    HDC dc = CreateDCW(L"WINSPOOL", printer, nullptr, &mode);
    if (!dc) return UIE_SYSTEM;
    RECT client;
    GetClientRect(p->hwnd, &client);
    HDC screen = GetDC(p->hwnd);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP picture = CreateCompatibleBitmap(screen, client.right, client.bottom);
    HGDIOBJ old = SelectObject(memory, picture);
    PrintWindow(p->hwnd, memory, PW_CLIENTONLY);
    DOCINFOW doc = {sizeof doc, L"VLicEnr", nullptr, nullptr, 0};
    int status = UIE_SYSTEM;
    if (StartDocW(dc, &doc) > 0 && StartPage(dc) > 0) {
        const int pageW = GetDeviceCaps(dc, HORZRES), pageH = GetDeviceCaps(dc, VERTRES);
        // Fit the page, keeping the panel's proportions.
        const double scale = std::min(static_cast<double>(pageW) / client.right, static_cast<double>(pageH) / client.bottom);
        StretchBlt(dc, 0, 0, static_cast<int>(client.right * scale), static_cast<int>(client.bottom * scale), memory, 0, 0,
                   client.right, client.bottom, SRCCOPY);
        if (EndPage(dc) > 0 && EndDoc(dc) > 0) status = 0;
    }
    SelectObject(memory, old);
    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(p->hwnd, screen);
    DeleteDC(dc);
    return status;
}
