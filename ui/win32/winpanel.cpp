// winpanel.cpp: the Win32 backend's start-up, the program's folder, and
// panels: loading from the converted resource files, creating, showing,
// hiding, discarding, positions and panel attributes; the panels' window
// procedure.
//
// Exports (ui/userint.h): InitUIRunTime, InitUIRunTimeHeadless,
// SetNoDisplayHandler, GetProjectDirAnsi, SetDirAnsi, LoadPanelAnsi,
// NewPanelAnsi, DisplayPanel, HidePanel, DiscardPanel, InstallPopup,
// SetPanelPos, GetActivePanel, GetScreenSize;
// (ui/win32/userint_win32.h): UiPanelWindow, UiCtrlWindow;
// (ui/win32/winprivate.h): Dpi, PanelOfWindow, RectInPanel and the driver's
// panel entries.
//
// Data model: see winprivate.h. A panel's position (ATTR_TOP, ATTR_LEFT)
// and size are those of its client area, as on the Qt backend, so a panel
// moved to where another one was read lies exactly there; the frame goes
// around it. Position (0, 0) in the resource centres the panel. Positions
// and sizes are in 96-DPI units (winprivate.h, Dpi), scaled here.
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
// The last panel position read (in 96-DPI units and in pixels): a position
// read from one panel and given to another puts it on the very same pixel,
// even where the screen has more pixels than the units can name.
struct ReadBack {
    int units = 0x7fffffff;
    int pixels = 0;
};
static ReadBack g_readTop, g_readLeft;

static int ToPixels(const ReadBack &read, int units) { return units == read.units ? read.pixels : Px(units); }
static int ToUnits(ReadBack *read, int pixels) {
    *read = {Lg(pixels), pixels};
    return read->units;
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

// The shift that brings [lo, lo + len) inside [areaLo, areaHi): none when
// it lies inside, the least one otherwise, and onto areaLo when it is
// longer than the area.
static int ShiftInto(int lo, int len, int areaLo, int areaHi) {
    if (len > areaHi - areaLo || lo < areaLo) return areaLo - lo;
    if (lo + len > areaHi) return areaHi - (lo + len);
    return 0;
}

// Places the panel's client area at (left, top) with the given size; the
// frame goes around it. VAL_AUTO_CENTER centres that coordinate on the work
// area (or in the parent panel). A top-level panel whose window, frame
// included, would not lie inside the work area of the screen it is mostly
// on is moved just enough to lie there (onto the area's top-left corner
// when it is larger); one that fits stays exactly where asked, as on the Qt
// backend, so a panel can never be opened out of the user's reach.
// All in the screen's pixels. Returns 0.
static int PlacePanelPx(Panel &p, int top, int left, int height, int width) {
    RECT area;
    if (p.parent) {
        GetClientRect(N(*FindPanel(p.parent)).hwnd, &area);
    } else {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    }
    if (left == VAL_AUTO_CENTER) left = area.left + (area.right - area.left - width) / 2;
    if (top == VAL_AUTO_CENTER) top = area.top + (area.bottom - area.top - height) / 2;
    N(p).asked = {width, height};
    RECT r = {left, top, left + width, top + height};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrW(N(p).hwnd, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(N(p).hwnd, GWL_EXSTYLE)));
    if (!p.parent) {
        MONITORINFO mi = {};
        mi.cbSize = sizeof mi;
        if (GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &mi)) {
            const RECT &a = mi.rcWork;
            OffsetRect(&r, ShiftInto(r.left, r.right - r.left, a.left, a.right),
                       ShiftInto(r.top, r.bottom - r.top, a.top, a.bottom));
        }
    }
    SetWindowPos(N(p).hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}

// The same, in 96-DPI units.
static int PlacePanel(Panel &p, int top, int left, int height, int width) {
    return PlacePanelPx(p, top == VAL_AUTO_CENTER ? top : Px(top), left == VAL_AUTO_CENTER ? left : Px(left),
                        Px(height), Px(width));
}

// A panel that may not be closed keeps a greyed close box beside its other
// frame buttons (Windows has no frame without it).
static void CloseBox(const Panel &p) {
    if (HMENU menu = GetSystemMenu(N(p).hwnd, FALSE))
        EnableMenuItem(menu, SC_CLOSE, MF_BYCOMMAND | (p.canClose ? MF_ENABLED : MF_GRAYED));
}

// A new frame around the same client area: the size asked for, not what
// Windows left of it when the old frame did not fit the screen (a screen
// mask loses its title bar only after it was made).
static void ApplyFrame(Panel &p) {
    const POINT o = ClientOrigin(p);
    const SIZE s = N(p).asked.cx > 0 ? N(p).asked : ClientSize(p);
    SetWindowLongPtrW(N(p).hwnd, GWL_STYLE, (GetWindowLongPtrW(N(p).hwnd, GWL_STYLE) & WS_VISIBLE) | FrameStyle(p));
    SetWindowPos(N(p).hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    CloseBox(p);
    PlacePanelPx(p, o.y, o.x, s.cy, s.cx);
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

// Registers a new panel record around a window made for it. Returns the
// handle, or UIE_SYSTEM when Windows refuses the window.
static int MakePanelWindow(std::unique_ptr<Panel> p) {
    HWND parentWindow = nullptr;
    if (p->parent) parentWindow = N(*FindPanel(p->parent)).hwnd;
    const std::wstring title = WideFromAnsi(p->titleRaw.c_str());
    p->handle = uicore::NewPanelHandle();
    N(*p).hwnd = CreateWindowExW(0, kPanelClass, title.c_str(), FrameStyle(*p), 0, 0, 100, 100, parentWindow,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!N(*p).hwnd) return UIE_SYSTEM;
    SetWindowLongPtrW(N(*p).hwnd, GWLP_USERDATA, p->handle);
    ApplyBackColor(*p);
    const int handle = p->handle;
    uicore::AddPanel(std::move(p));
    return handle;
}

}  // namespace uiwin

using namespace uiwin;

// ------------------------------------------------------------ start-up
static NoDisplayHandlerPtr g_noDisplay = nullptr;

// 1 once the window class is registered and the common controls are
// ready (again at a second call); 0 when Windows refuses them.
int InitUIRunTime(int reserved, char **argv, int reserved2) {
    (void)reserved;
    (void)argv;
    (void)reserved2;
    if (Ready()) return 1;
    HDC screen = GetDC(nullptr);
    if (screen) {
        g_dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
    }
    if (g_dpi < 96) g_dpi = 96;
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
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
    if (!RegisterClassExW(&wc)) return 0;
    uicore::SetReady();
    return 1;
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

// The Win32 backend needs no display of its own to compose panels; a
// headless start is a command-line run, so its output is made to reach the
// user (OpenStandardOutput).
int InitUIRunTimeHeadless(char **argv) {
    if (!Ready()) OpenStandardOutput();
    return InitUIRunTime(0, argv, 0);
}

// Windows always has its desktop: the handler is only kept.
void SetNoDisplayHandler(NoDisplayHandlerPtr handler) { g_noDisplay = handler; }

// 0 with the program's folder; UIE_NOT_INITIALIZED, UIE_BAD_POINTER,
// UIE_BUFFER_TOO_SMALL (it does not fit MAX_PATHNAME_LEN bytes), UIE_SYSTEM.
int GetProjectDirAnsi(char *buffer) {
    if (!Ready()) return UIE_NOT_INITIALIZED;
    if (!buffer) return UIE_BAD_POINTER;
    std::wstring folder;
    if (ProgramFolder(&folder) != 0) return UIE_SYSTEM;
    const std::string ansi = AnsiFromWide(folder.c_str(), static_cast<int>(folder.size()));
    if (ansi.size() >= MAX_PATHNAME_LEN) return UIE_BUFFER_TOO_SMALL;
    lstrcpyA(buffer, ansi.c_str());
    return 0;
}

// 0; UIE_FILE_NOT_FOUND when the folder cannot be made current.
int SetDirAnsi(const char *path) {
    if (!path) return UIE_BAD_POINTER;
    return SetCurrentDirectoryW(WideFromAnsi(path).c_str()) ? 0 : UIE_FILE_NOT_FOUND;
}

// -------------------------------------------------------------- panels
static bool Flag(const uicore::UirRecord &r, const char *name) { return r.Int(name, 1) != 0; }

// The colour of a palette role (RRGGBB), or fallback.
static int PaletteColor(const uicore::UirRecord &r, const char *role, int fallback) {
    const std::string *v = r.Find(std::string("palette.") + role);
    return v ? static_cast<int>(std::strtol(v->c_str(), nullptr, 16)) : fallback;
}

// A panel handle (> 0); UIE_NOT_INITIALIZED, UIE_BAD_POINTER,
// UIE_FILE_NOT_FOUND (no such resource file, or its panel file is broken),
// UIE_PANEL_NOT_FOUND, UIE_BAD_PANEL (unknown parent), UIE_SYSTEM.
// Controls of a style the backend does not know are left out.
int LoadPanelAnsi(int parent, const char *file, int resourceId) {
    if (!Ready()) return UIE_NOT_INITIALIZED;
    if (parent && !FindPanel(parent)) return UIE_BAD_PANEL;
    if (!file) return UIE_BAD_POINTER;
    std::string bytes;
    int status = ReadResourceFile(file, &bytes);
    if (status < 0) return status;
    uicore::UirFile uir;
    if ((status = uicore::UirParse(bytes, &uir)) < 0) return status;
    const uicore::UirPanel *res = nullptr;
    if ((status = uicore::UirFindPanel(uir, resourceId, &res)) < 0) return status;

    auto p = std::make_unique<Panel>();
    p->native = std::make_unique<WinPanel>();
    p->parent = parent;
    p->titleRaw = res->root.Text("windowTitle");
    p->backColor = PaletteColor(res->root, "Window", 0xF0F0F0);
    p->closeCtrl = res->root.Int("closeCtrl", 0);
    p->sizable = Flag(res->root, "sizable");
    p->canClose = Flag(res->root, "canClose");
    p->canMinimize = Flag(res->root, "canMinimize");
    p->canMaximize = Flag(res->root, "canMaximize");
    p->titleBar = Flag(res->root, "titleBar");
    int g[4] = {0, 0, 300, 200};
    res->root.Numbers("geometry", g, 4);
    const int handle = MakePanelWindow(std::move(p));
    if (handle < 0) return handle;
    Panel &panel = *FindPanel(handle);
    if (!parent) CloseBox(panel);
    const bool centre = g[0] == 0 && g[1] == 0 && !parent;
    PlacePanel(panel, centre ? VAL_AUTO_CENTER : g[1], centre ? VAL_AUTO_CENTER : g[0], g[3], g[2]);

    // Controls first (in resource order), then the labels drawn apart.
    for (const uicore::UirRecord &r : res->ctrls) {
        const int id = r.Int("ctrlId", 0);
        if (id <= 0 || FindCtrl(&panel, id)) continue;   // a bad or repeated id makes no control
        // The class decides what the control is, as Qt's widgets do.
        const bool pictureOnly = r.Find("pixmap") || (r.Find("icon") && r.Text("text").empty());
        const std::string *cls = r.Find("class");   // absent from a damaged file
        const int style = uicore::StyleOfClass(cls ? cls->c_str() : "", r.Int("ctrlStyle", 0), pictureOnly);
        if (style == 0) continue;
        auto c = std::make_unique<Ctrl>();
        c->native = std::make_unique<WinCtrl>();
        c->id = id;
        c->style = style;
        c->mode = r.Int("ctrlMode", uicore::DefaultCtrlMode(c->style));
        if (c->mode < VAL_INDICATOR || c->mode > VAL_NORMAL) c->mode = uicore::DefaultCtrlMode(c->style);
        c->visible = r.Int("visible", 1) != 0;
        c->minimum = r.Int("minimum", c->minimum);
        c->maximum = r.Int("maximum", c->maximum);
        c->textColor = PaletteColor(r, "WindowText", 0x000000);
        N(*c).bold = r.Int("font.bold", 0) != 0;
        N(*c).pointSize = r.Int("font.pointsize", 0);
        int rg[4] = {0, 0, 80, 24};
        r.Numbers("geometry", rg, 4);
        const RECT rect = {rg[0], rg[1], rg[0] + rg[2], rg[1] + rg[3]};
        const std::string text = r.Find("plainText") ? r.Text("plainText") : r.Text("text");
        const std::string *align = r.Find("alignment");
        const std::string *frame = r.Find("frameShape");
        const std::string *bar = r.Find("verticalScrollBarPolicy");
        if (!CreateCtrlWindow(panel, *c, rect, text, align ? *align : "",
                              r.Int("wordWrap", 0) != 0, r.Int("readOnly", 0) != 0,
                              frame && *frame == "NoFrame", bar && *bar == "ScrollBarAlwaysOff"))
            continue;
        AttachPicture(*c, uir, r);
        if (c->style == CTRL_DECORATION && r.Int("autoFillBackground", 0))
            N(*c).fillColor = PaletteColor(r, "Window", -1);
        panel.ctrls.push_back(std::move(c));
    }
    for (const uicore::UirRecord &r : res->ctrls) {
        Ctrl *c = r.Find("ctrlId") ? nullptr : FindCtrl(&panel, r.Int("labelOf", 0));
        if (!c || N(*c).label) continue;
        int rg[4] = {0, 0, 80, 20};
        r.Numbers("geometry", rg, 4);
        c->labelRaw = r.Text("text");
        c->textColor = PaletteColor(r, "WindowText", c->textColor);
        N(*c).bold = r.Int("font.bold", 0) != 0 || N(*c).bold;
        const std::string *align = r.Find("alignment");
        MakeLabelWindow(panel, *c, RECT{rg[0], rg[1], rg[0] + rg[2], rg[1] + rg[3]}, align ? *align : "",
                        r.Int("wordWrap", 0) != 0);
    }
    const int n = static_cast<int>(panel.ctrls.size());
    for (int i = 0; i < n; ++i) panel.ctrls[i]->zplane = n - 1 - i;   // the last is in front
    ApplyZOrder(panel);
    return handle;
}

// A panel handle; UIE_NOT_INITIALIZED, UIE_BAD_PANEL (unknown parent),
// UIE_SYSTEM.
int NewPanelAnsi(int parent, const char *title, int top, int left, int height, int width) {
    if (!Ready()) return UIE_NOT_INITIALIZED;
    if (parent && !FindPanel(parent)) return UIE_BAD_PANEL;
    if (height <= 0 || width <= 0) return UIE_BAD_VALUE;
    auto p = std::make_unique<Panel>();
    p->native = std::make_unique<WinPanel>();
    p->parent = parent;
    p->titleRaw = title ? title : "";
    const int handle = MakePanelWindow(std::move(p));
    if (handle < 0) return handle;
    PlacePanel(*FindPanel(handle), top, left, height, width);
    return handle;
}

// 0; UIE_NOT_INITIALIZED, UIE_BAD_PANEL. Shows, raises and activates it.
int DisplayPanel(int panel) {
    if (!Ready()) return UIE_NOT_INITIALIZED;
    Panel *p = FindPanel(panel);
    if (!p) return UIE_BAD_PANEL;
    p->visible = true;
    ShowWindow(N(*p).hwnd, SW_SHOW);
    SetWindowPos(N(*p).hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    if (!p->parent) SetForegroundWindow(N(*p).hwnd);
    return 0;
}

// 0; UIE_NOT_INITIALIZED, UIE_BAD_PANEL. A popup stops being modal.
int HidePanel(int panel) {
    if (!Ready()) return UIE_NOT_INITIALIZED;
    Panel *p = FindPanel(panel);
    if (!p) return UIE_BAD_PANEL;
    p->visible = false;
    if (p->popup) {
        p->popup = false;
        EndModal(panel);
    }
    ShowWindow(N(*p).hwnd, SW_HIDE);
    return 0;
}

// 0; UIE_NOT_INITIALIZED, UIE_BAD_PANEL, UIE_NOT_PERMITTED (a discard
// callback discarding its own panel again). Child panels first, then
// EVENT_DISCARD to each control in resource order and to the panel.
int DiscardPanel(int panel) {
    if (!Ready()) return UIE_NOT_INITIALIZED;
    Panel *p = FindPanel(panel);
    if (!p) return UIE_BAD_PANEL;
    if (p->discarding) return UIE_NOT_PERMITTED;
    p->discarding = true;
    uicore::SendDiscardEvents(panel);
    std::unique_ptr<Panel> gone = uicore::TakePanel(panel);
    if (gone->popup) EndModal(panel);
    ShowWindow(N(*gone).hwnd, SW_HIDE);
    // Windows may be inside this panel's message handling right now.
    if (InDispatch()) PostMessageW(N(*gone).hwnd, kMsgDestroyLater, 0, 0);
    else DestroyWindow(N(*gone).hwnd);
    return 0;
}

// 0 with the panel's client area placed; UIE_NOT_INITIALIZED, UIE_BAD_PANEL.
int SetPanelPos(int panel, int top, int left) {
    if (!Ready()) return UIE_NOT_INITIALIZED;
    Panel *p = FindPanel(panel);
    if (!p) return UIE_BAD_PANEL;
    const SIZE s = ClientSize(*p);
    return PlacePanelPx(*p, top == VAL_AUTO_CENTER ? top : ToPixels(g_readTop, top),
                        left == VAL_AUTO_CENTER ? left : ToPixels(g_readLeft, left), s.cy, s.cx);
}

// The handle of the panel whose window is active (the innermost child
// panel holding the focus in it), 0 when none.
int GetActivePanel(void) {
    if (!Ready()) return 0;
    HWND focus = GetFocus();
    Panel *p = focus ? PanelOfWindow(focus) : nullptr;
    if (!p) p = PanelOfWindow(GetActiveWindow());
    return p ? p->handle : 0;
}

// 0 with the primary screen's size; UIE_BAD_POINTER.
int GetScreenSize(int *height, int *width) {
    if (!Ready()) return UIE_NOT_INITIALIZED;
    if (!height || !width) return UIE_BAD_POINTER;
    *height = Lg(GetSystemMetrics(SM_CYSCREEN));
    *width = Lg(GetSystemMetrics(SM_CXSCREEN));
    return 0;
}

namespace uiwin {

// Sends only WM_PAINT (and what painting sends), so no callback runs and
// no commit is queued.
void DrawNow() {
    for (int h : PanelHandles()) {
        Panel *p = FindPanel(h);
        if (p && IsWindowVisible(N(*p).hwnd)) RedrawWindow(N(*p).hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
}

}  // namespace uiwin


// ---------------------------------------------- the driver's panel entries
namespace uiwin {

uicore::Rect PanelRect(const Panel &p) {
    const POINT o = ClientOrigin(p);
    const SIZE s = ClientSize(p);
    return {ToUnits(&g_readLeft, o.x), ToUnits(&g_readTop, o.y), Lg(s.cx), Lg(s.cy)};
}

void MovePanelTo(Panel &p, int top, int left) {
    const SIZE s = ClientSize(p);
    PlacePanelPx(p, top == VAL_AUTO_CENTER ? top : ToPixels(g_readTop, top),
                 left == VAL_AUTO_CENTER ? left : ToPixels(g_readLeft, left), s.cy, s.cx);
}

void ResizePanel(Panel &p, int height, int width) {
    const POINT o = ClientOrigin(p);
    PlacePanelPx(p, o.y, o.x, Px(height), Px(width));
}

// A popup stays one while hidden this way, modal again once shown.
void ShowPanelWindow(Panel &p) {
    if (p.popup) {
        if (p.visible) BeginModal(p.handle);
        else EndModal(p.handle);
    }
    if (p.visible) DisplayPanel(p.handle);
    else ShowWindow(N(p).hwnd, SW_HIDE);
}

void SetTitle(Panel &p) { SetWindowTextW(N(p).hwnd, WideFromAnsi(p.titleRaw.c_str()).c_str()); }

void SetBackColor(Panel &p) { ApplyBackColor(p); }

void SetFrame(Panel &p, int) { ApplyFrame(p); }

}  // namespace uiwin

// ------------------------------------------------------------ test seams
HWND UiPanelWindow(int panel) {
    Panel *p = FindPanel(panel);
    return p ? N(*p).hwnd : nullptr;
}

HWND UiCtrlWindow(int panel, int control) {
    Ctrl *c = FindCtrl(FindPanel(panel), control);
    return c ? N(*c).hwnd : nullptr;
}

HWND UiCtrlLabelWindow(int panel, int control) {
    Ctrl *c = FindCtrl(FindPanel(panel), control);
    return c ? N(*c).label : nullptr;
}
