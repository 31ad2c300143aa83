// winpanel.cpp: the Win32 driver's start-up, the program's folder, and
// panels' windows: made from the converted resource files or empty, shown,
// hidden, destroyed, placed and framed; the panels' window procedure.
//
// Exports (ui/win32/winprivate.h): Dpi, PanelOfWindow, RectInPanel,
// FillPanelEntries (the driver's entries for start-up, panels and drawing).
//
// Data model: see winprivate.h. A panel's place is its client area's; the
// frame goes around it. Positions and sizes are in 96-DPI units
// (winprivate.h, Dpi), scaled here; a position read is remembered in
// pixels, so a panel moved to where another one was read lies exactly
// there.
#include <windows.h>
#include <commctrl.h>

#include <fcntl.h>
#include <io.h>

#include <cassert>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "ui/core/uiattr.h"
#include "ui/core/uicallback.h"
#include "ui/core/uires.h"
#include "ui/win32/winprivate.h"
#include "ui/win32/userint_win32.h"
#include "ui/win32/winres.h"
#include "ui/win32/wintext.h"

namespace uiwin {

// --------------------------------------------------------------- state
// g_dpi: the screen's DPI, read by InitUIRunTime.
// g_consoleCodePage: see OpenStandardOutput.
static int g_dpi = 96;
// The panel positions last read (in 96-DPI units and in pixels), a few per
// axis: a position read from one panel and given to another puts it on the
// very same pixel, even where the screen has more pixels than the units
// can name.
struct ReadBack {
    int units[8];
    int pixels[8];
    int next = 0;
    ReadBack() {
        for (int &u : units) u = 0x7fffffff;
    }
};
static ReadBack g_readTop, g_readLeft;

static int ToPixels(const ReadBack &read, int units) {
    for (int i = 0; i < 8; ++i) {
        const int k = (read.next + 7 - i) % 8;   // the newest first
        if (read.units[k] == units) return read.pixels[k];
    }
    return Px(units);
}
static int ToUnits(ReadBack *read, int pixels) {
    const int units = Lg(pixels);
    for (int i = 0; i < 8; ++i)
        if (read->units[i] == units && read->pixels[i] == pixels) return units;
    read->units[read->next] = units;
    read->pixels[read->next] = pixels;
    read->next = (read->next + 1) % 8;
    return units;
}
static const wchar_t kPanelClass[] = L"VLicPanel";

int Dpi() { return g_dpi; }

Panel *PanelOfWindow(HWND hwnd) {
    for (HWND w = hwnd; w; w = GetParent(w)) {
        wchar_t cls[16];
        if (GetClassNameW(w, cls, 16) && lstrcmpW(cls, kPanelClass) == 0)
            return FindPanel(static_cast<int>(GetWindowLongPtrW(w, GWLP_USERDATA)));
    }
    return nullptr;
}

RECT RectInPanel(const Panel &p, HWND w) {
    RECT r;
    GetWindowRect(w, &r);
    MapWindowPoints(nullptr, N(p).hwnd, reinterpret_cast<POINT *>(&r), 2);
    return r;
}

static COLORREF ToColorRef(int rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

// The panel window's style for its flags.
// The panel paints its background under its controls too (no
// WS_CLIPCHILDREN): a decoration draws only its frame, and what lies inside
// it is the panel's background.
static DWORD FrameStyle(const Panel &p) {
    if (p.parent) return WS_CHILD | WS_CLIPSIBLINGS;
    DWORD s = 0;
    if (!p.titleBar) return s | WS_POPUP;   // frameless, as on Qt: a screen mask kept on the screen lies at (0, 0)
    s |= WS_OVERLAPPED | WS_CAPTION;
    // Windows draws the frame buttons only with the system menu; without a
    // close box it is still needed for the other two (CloseBox greys it).
    if (p.canClose || p.canMinimize || p.canMaximize) s |= WS_SYSMENU;
    if (p.canMinimize) s |= WS_MINIMIZEBOX;
    if (p.canMaximize) s |= WS_MAXIMIZEBOX;
    if (p.sizable) s |= WS_THICKFRAME;
    return s;
}

// Client origin of a panel in screen coordinates (top-level) or in its
// parent's client coordinates (child panel).
static POINT ClientOrigin(const Panel &p) {
    POINT o = {0, 0};
    ClientToScreen(N(p).hwnd, &o);
    if (p.parent) {
        if (Panel *parent = FindPanel(p.parent)) ScreenToClient(N(*parent).hwnd, &o);
    }
    return o;
}

static SIZE ClientSize(const Panel &p) {
    RECT r;
    GetClientRect(N(p).hwnd, &r);
    return SIZE{r.right, r.bottom};
}

// A panel that may not be closed keeps a greyed close box beside its other
// frame buttons (Windows has no frame without it).
static void CloseBox(const Panel &p) {
    if (HMENU menu = GetSystemMenu(N(p).hwnd, FALSE))
        EnableMenuItem(menu, SC_CLOSE, MF_BYCOMMAND | (p.canClose ? MF_ENABLED : MF_GRAYED));
}

// A new frame; the core puts the client area back where it was asked.
static void ApplyFrame(Panel &p) {
    SetWindowLongPtrW(N(p).hwnd, GWL_STYLE, (GetWindowLongPtrW(N(p).hwnd, GWL_STYLE) & WS_VISIBLE) | FrameStyle(p));
    SetWindowPos(N(p).hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    CloseBox(p);
}

static void ApplyBackColor(Panel &p) {
    if (N(p).brush) DeleteObject(N(p).brush);
    N(p).brush = CreateSolidBrush(ToColorRef(p.backColor));
    InvalidateRect(N(p).hwnd, nullptr, TRUE);
}

// A ring commits the user's choice only, as on Linux: the item its open
// list is closed on (a click, Enter), even the same one again, or each item
// that the arrow keys reach while the list is closed. Moving through the
// open list with the keys chooses nothing yet; Escape chooses nothing. The
// change Windows reports after a list closed on a choice is that choice.
static void RingNotification(int handle, Ctrl &c, int code) {
    const int selected = static_cast<int>(SendMessageW(N(c).hwnd, CB_GETCURSEL, 0, 0));
    switch (code) {
    case CBN_DROPDOWN: N(c).dropped = true; N(c).chosen = -1; return;
    case CBN_CLOSEUP: N(c).dropped = false; return;
    case CBN_SELENDOK:
        if (!N(c).dropped) return;
        N(c).chosen = selected;
        N(c).shown = selected;
        uicore::RingChosen(handle, c.id, selected);
        return;
    case CBN_SELCHANGE: {
        const bool same = N(c).chosen >= 0 && N(c).chosen == selected;
        N(c).chosen = -1;
        if (N(c).dropped || same) return;
        N(c).shown = selected;
        uicore::RingChosen(handle, c.id, selected);
        return;
    }
    default: return;
    }
}

static LRESULT CALLBACK PanelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const int handle = static_cast<int>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    Panel *p = FindPanel(handle);
    if (msg == kMsgDestroyLater) {
        DestroyWindow(hwnd);
        return 0;
    }
    if (!p) return DefWindowProcW(hwnd, msg, wParam, lParam);
    switch (msg) {
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        Ctrl *c = FindCtrl(p, id);
        if (!c || reinterpret_cast<HWND>(lParam) != N(*c).hwnd) return 0;
        // The text the user changed is the window's from now on, whatever
        // the mode (a read-only box's text changes by the program only).
        if ((c->style == CTRL_STRING || c->style == CTRL_TEXT_BOX) && code == EN_CHANGE) uicore::TextEdited(handle, id);
        // Only notifications of the control's own window are commits.
        if (c->mode == VAL_INDICATOR) return 0;
        const bool button = c->style == CTRL_COMMAND_BUTTON || c->style == CTRL_PICTURE_COMMAND_BUTTON;
        if (c->style == CTRL_RING) {
            RingNotification(handle, *c, code);
            return 0;
        }
        if ((button && code == BN_CLICKED) ||
            ((c->style == CTRL_STRING || c->style == CTRL_NUMERIC) && code == EN_KILLFOCUS &&
             SendMessageW(N(*c).hwnd, EM_GETMODIFY, 0, 0))) {
            if (code == EN_KILLFOCUS) SendMessageW(N(*c).hwnd, EM_SETMODIFY, FALSE, 0);
            uicore::InputCommit(handle, id);
        }
        return 0;
    }
    case WM_CLOSE:
        // The window never closes itself.
        uicore::InputClose(handle);
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        HWND child = reinterpret_cast<HWND>(lParam);
        Ctrl *c = FindCtrl(p, GetDlgCtrlID(child));
        const bool isLabel = c && N(*c).label == child;
        if (c && c->style == CTRL_TEXT_BOX && !isLabel) {
            SetBkColor(dc, RGB(255, 255, 255));
            SetTextColor(dc, ToColorRef(c->textColor));
            return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
        }
        if (!c) {
            for (auto &k : p->ctrls)
                if (N(*k).label == child) c = k.get();
        }
        SetBkMode(dc, TRANSPARENT);
        if (c) SetTextColor(dc, ToColorRef(c->textColor));
        return reinterpret_cast<LRESULT>(N(*p).brush);
    }
    case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(hwnd, &r);
        HDC dc = reinterpret_cast<HDC>(wParam);
        FillRect(dc, &r, N(*p).brush);
        // A decoration with a background of its own (the help box's white
        // frame): the etched frame draws only its edge, so its inside is
        // painted here, under the controls it holds.
        for (auto &c : p->ctrls) {
            if (N(*c).fillColor < 0 || !c->visible) continue;
            RECT d = CtrlRect(*p, *c);
            InflateRect(&d, -Px(2), -Px(2));
            HBRUSH fill = CreateSolidBrush(ToColorRef(N(*c).fillColor));
            FillRect(dc, &d, fill);
            DeleteObject(fill);
        }
        return 1;
    }
    case WM_SETCURSOR:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        if (MouseMessage(hwnd, msg, lParam)) return msg == WM_SETCURSOR ? TRUE : 0;
        break;
    default: break;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// The window of a new panel record, of client size (height, width) in
// 96-DPI units. 0, or UIE_SYSTEM when Windows refuses the window.
static int MakePanelWindow(Panel &p, const Panel *parent, int height, int width) {
    p.native = std::make_unique<WinPanel>();
    const std::wstring title = WideFromAnsi(p.titleRaw.c_str());
    N(p).hwnd = CreateWindowExW(0, kPanelClass, title.c_str(), FrameStyle(p), 0, 0, 100, 100,
                                parent ? N(*parent).hwnd : nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!N(p).hwnd) return UIE_SYSTEM;
    SetWindowLongPtrW(N(p).hwnd, GWLP_USERDATA, p.handle);
    ApplyBackColor(p);
    if (!parent) CloseBox(p);
    RECT r = {0, 0, Px(width), Px(height)};
    AdjustWindowRectEx(&r, FrameStyle(p), FALSE, 0);
    SetWindowPos(N(p).hwnd, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}

// ------------------------------------------------------------ start-up

// A windowed program starts with no console (see OpenStandardOutput).
static void OpenStandardOutput();

// True once the window class is registered and the common controls are
// loaded and ready; false when Windows refuses them. A headless start is a
// command-line run: its output is made to reach the user.
bool WinStart(char **, bool headless) {
    static bool started = false;
    if (started) return true;
    // Already done before main; a test program's own start comes here too.
    RestrictDllSearch();
    if (headless) OpenStandardOutput();
    HDC screen = GetDC(nullptr);
    if (screen) {
        g_dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
    }
    if (g_dpi < 96) g_dpi = 96;
    if (!LoadCommonControls()) return false;
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = PanelProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    // The program's own icon (resource 1) on every panel, when it has one.
    wc.hIcon = static_cast<HICON>(LoadImageW(wc.hInstance, MAKEINTRESOURCEW(1), IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                             GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR));
    wc.hIconSm = static_cast<HICON>(LoadImageW(wc.hInstance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                               LR_DEFAULTCOLOR));
    wc.lpszClassName = kPanelClass;
    if (!RegisterClassExW(&wc)) return false;
    started = true;
    return true;
}

// True when the standard handle leads somewhere: a file, a pipe or a
// console handed down by the parent.
static bool StandardHandleOpen(DWORD which) {
    HANDLE h = GetStdHandle(which);
    return h && h != INVALID_HANDLE_VALUE && GetFileType(h) != FILE_TYPE_UNKNOWN;
}

static UINT g_consoleCodePage = 0;   // the parent console's code page, put back at exit

static void RestoreConsoleCodePage() { SetConsoleOutputCP(g_consoleCodePage); }

// A windowed program starts with no console: its standard output and error
// go where the parent redirected them, else to the console it was started
// from (attached), else nowhere. A console is switched to UTF-8, as the
// listings are written, and its code page put back at exit. Either way the
// bytes are written as they are, without a CR before each line break, so
// that the lines are the same as on Linux.
static void OpenStandardOutput() {
    const bool out = StandardHandleOpen(STD_OUTPUT_HANDLE);
    const bool err = StandardHandleOpen(STD_ERROR_HANDLE);
    if ((!out || !err) && AttachConsole(ATTACH_PARENT_PROCESS)) {
        if (!out) std::freopen("CONOUT$", "w", stdout);
        if (!err) std::freopen("CONOUT$", "w", stderr);
    }
    // A console (attached, or handed down as the standard output) shows the
    // UTF-8 bytes as text.
    DWORD mode = 0;
    if (GetConsoleMode(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stdout))), &mode)) {
        g_consoleCodePage = GetConsoleOutputCP();
        if (g_consoleCodePage != CP_UTF8 && SetConsoleOutputCP(CP_UTF8)) std::atexit(RestoreConsoleCodePage);
        // Written to a console a byte at a time, a character of two bytes
        // would reach it in halves that it cannot show: whole lines at once.
        static char buffer[1 << 16];
        std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
    }
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

// The program's folder in Windows-1252; UIE_SYSTEM.
int WinProgramFolderAnsi(std::string *ansi) {
    std::wstring folder;
    if (ProgramFolder(&folder) != 0) return UIE_SYSTEM;
    *ansi = AnsiFromWide(folder.c_str(), static_cast<int>(folder.size()));
    return 0;
}

bool WinSetCurrentFolder(const char *ansi) { return SetCurrentDirectoryW(WideFromAnsi(ansi).c_str()) != 0; }

// -------------------------------------------------------------- panels
// The panel of that resource, read from the converted resource file, and
// its controls; *top and *left the place the file gives.
int WinLoadPanel(Panel &p, const Panel *parent, const char *file, int resourceId, int *top, int *left) {
    std::string bytes;
    int status = ReadResourceFile(file, &bytes);
    if (status < 0) return status;
    uicore::UirFile uir;
    if ((status = uicore::UirParse(bytes, &uir)) < 0) return status;
    const uicore::UirPanel *res = nullptr;
    if ((status = uicore::UirFindPanel(uir, resourceId, &res)) < 0) return status;

    uicore::Rect g;
    uicore::UirReadPanel(res->root, p, &g);
    if ((status = MakePanelWindow(p, parent, g.height, g.width)) < 0) return status;
    *left = g.x;
    *top = g.y;

    // Controls first (in resource order), then the labels drawn apart.
    uicore::UirCtrlLook look;
    for (const uicore::UirRecord &r : res->ctrls) {
        Ctrl *c = uicore::UirReadCtrl(r, p, &look);
        if (!c) continue;
        c->native = std::make_unique<WinCtrl>();
        N(*c).bold = look.bold;
        N(*c).pointSize = look.pointSize;
        N(*c).fillColor = look.fillColor;
        if (!CreateCtrlWindow(p, *c, look)) {
            uicore::DropLoadedCtrl(p);   // a window Windows refuses leaves its control out
            continue;
        }
        AttachPicture(*c, uir, r);
    }
    for (const uicore::UirRecord &r : res->ctrls) {
        Ctrl *c = uicore::UirReadLabel(r, p, &look);
        if (!c) continue;
        N(*c).bold = look.bold || N(*c).bold;
        MakeLabelWindow(p, *c, look);
    }
    ApplyZOrder(p);
    return 0;
}

int WinNewPanel(Panel &p, const Panel *parent, int height, int width) { return MakePanelWindow(p, parent, height, width); }

void WinDestroyPanel(Panel &p, bool later) {
    ShowWindow(N(p).hwnd, SW_HIDE);
    if (later) PostMessageW(N(p).hwnd, kMsgDestroyLater, 0, 0);
    else DestroyWindow(N(p).hwnd);
}

// Shows, raises and activates the panel, or hides it.
void WinShowPanel(Panel &p, bool activate) {
    if (!p.visible) {
        ShowWindow(N(p).hwnd, SW_HIDE);
        return;
    }
    if (!activate) {
        ShowWindow(N(p).hwnd, SW_SHOWNA);
        return;
    }
    ShowWindow(N(p).hwnd, SW_SHOW);
    SetWindowPos(N(p).hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    if (!p.parent) SetForegroundWindow(N(p).hwnd);
}

// The panel holding the focus (the innermost child panel), else the active
// window's; 0 when none.
int WinActivePanel() {
    HWND focus = GetFocus();
    Panel *p = focus ? PanelOfWindow(focus) : nullptr;
    if (!p) p = PanelOfWindow(GetActiveWindow());
    return p ? p->handle : 0;
}

void WinScreenSize(int *height, int *width) {
    *height = Lg(GetSystemMetrics(SM_CYSCREEN));
    *width = Lg(GetSystemMetrics(SM_CXSCREEN));
}

// Sends only WM_PAINT (and what painting sends), so no callback runs and
// no commit is queued.
void WinDrawNow() {
    for (Panel *p = NextPanel(0); p; p = NextPanel(p->handle))
        if (IsWindowVisible(N(*p).hwnd)) RedrawWindow(N(*p).hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// ---------------------------------------------- the driver's panel entries

uicore::Rect WinPanelRect(const Panel &p) {
    const POINT o = ClientOrigin(p);
    const SIZE s = ClientSize(p);
    return {ToUnits(&g_readLeft, o.x), ToUnits(&g_readTop, o.y), Lg(s.cx), Lg(s.cy)};
}

void WinSetPanelRect(Panel &p, const uicore::Rect &r) {
    RECT w = {ToPixels(g_readLeft, r.x), ToPixels(g_readTop, r.y), 0, 0};
    w.right = w.left + Px(r.width);
    w.bottom = w.top + Px(r.height);
    // The frame goes around the client area (a child panel has none).
    AdjustWindowRectEx(&w, static_cast<DWORD>(GetWindowLongPtrW(N(p).hwnd, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(N(p).hwnd, GWL_EXSTYLE)));
    SetWindowPos(N(p).hwnd, nullptr, w.left, w.top, w.right - w.left, w.bottom - w.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool WinFrameMargins(const Panel &p, uicore::Margins *m) {
    RECT r = {0, 0, 0, 0};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrW(N(p).hwnd, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(N(p).hwnd, GWL_EXSTYLE)));
    *m = {Lg(-r.left), Lg(-r.top), Lg(r.right), Lg(r.bottom)};
    return true;
}

uicore::Rect WinWorkArea(const uicore::Rect &where) {
    const RECT r = {Px(where.x), Px(where.y), Px(where.x + where.width), Px(where.y + where.height)};
    MONITORINFO mi = {};
    mi.cbSize = sizeof mi;
    RECT a;
    if (GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &mi)) a = mi.rcWork;
    else SystemParametersInfoW(SPI_GETWORKAREA, 0, &a, 0);
    const RECT l = LgRect(a);
    return {l.left, l.top, l.right - l.left, l.bottom - l.top};
}

void WinSetTitle(Panel &p) { SetWindowTextW(N(p).hwnd, WideFromAnsi(p.titleRaw.c_str()).c_str()); }

void FillPanelEntries(uicore::Driver &d) {
    d.start = WinStart;
    d.programFolder = WinProgramFolderAnsi;
    d.setCurrentFolder = WinSetCurrentFolder;
    d.loadPanel = WinLoadPanel;
    d.newPanel = WinNewPanel;
    d.destroyPanel = WinDestroyPanel;
    d.panelRect = WinPanelRect;
    d.setPanelRect = WinSetPanelRect;
    d.frameMargins = WinFrameMargins;
    d.workArea = WinWorkArea;
    d.showPanel = WinShowPanel;
    d.activePanel = WinActivePanel;
    d.screenSize = WinScreenSize;
    d.setTitle = WinSetTitle;
    d.setBackColor = ApplyBackColor;
    d.setFrame = ApplyFrame;
    d.drawNow = WinDrawNow;
}

}  // namespace uiwin
