// winpanel.cpp: the Win32 driver's start-up, the program's folder, and
// panels' windows: made for the core's records, shown,
// hidden, destroyed, placed and framed; the panels' window procedure.
//
// Exports (ui/win32/winprivate.h): SystemDpi, ApplyDpi, HighContrast,
// NoteGdi, PanelOfWindow, RectInPanel, FillPanelEntries (the driver's
// entries for start-up, panels, screens and drawing); (userint_win32.h)
// the seams UiWinSetScreens, UiWinSetHighContrast, UiWinGdiObjects.
//
// Data model: see winprivate.h. A panel's place is its client area's; the
// frame goes around it. Positions and sizes are in 96-DPI units
// (winprivate.h, Px), scaled here: a top-level panel's place at the DPI of
// the screen it lies on, from that screen's corner, its size and inside at
// the DPI it is laid out at. A position read is remembered in pixels, so a
// panel moved to where another one was read lies exactly there.
//
// Screens: Windows' monitors (their DPI from GetDpiForMonitor, where
// Windows has it), or those a test sets (UiWinSetScreens), since Wine has
// one DPI for every monitor. A window's DPI is GetDpiForWindow's, where
// Windows has it, else the screen's (GetDeviceCaps). Under high contrast
// the panels take the system's colours; WM_SYSCOLORCHANGE and
// WM_SETTINGCHANGE make them follow.
#include <windows.h>
#include <commctrl.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cassert>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>

#include "ui/core/coreattr.h"
#include "ui/core/corecallback.h"
#include "ui/win32/winprivate.h"
#include "ui/win32/userint_win32.h"
#include "ui/win32/winres.h"
#include "ui/win32/wintext.h"

namespace uiwin {

// --------------------------------------------------------------- state
// g_systemDpi: the primary screen's DPI, read by InitUIRunTime.
// g_consoleCodePage: see OpenStandardOutput.
// g_screens: the screens in pixels, read when first asked and again after
//   Windows said they changed (g_screensKnown false); g_testScreens: those
//   a test set in their place (empty: Windows' own).
// g_placing: inside the driver's own move of a panel, whose inside it has
//   laid out already (WM_DPICHANGED then only confirms it).
// g_gdi: the GDI objects the driver holds (fonts, brushes, bitmaps).
// g_highContrast: Windows' high-contrast mode as last read;
//   g_testHighContrast: a test's choice in its place, -1 none.
// g_readTop, g_readLeft: see ReadBack.
static int g_systemDpi = 96;
struct PxScreen {
    RECT area, work;
    int dpi;
};
static std::vector<PxScreen> g_screens;
static bool g_screensKnown = false;
static std::vector<PxScreen> g_testScreens;
static int g_placing = 0;
static int g_gdi = 0;
static bool g_highContrast = false;
static int g_testHighContrast = -1;
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

// The pixel a position read gave units for, else the one computed.
static int ToPixels(const ReadBack &read, int units, int computed) {
    for (int i = 0; i < 8; ++i) {
        const int k = (read.next + 7 - i) % 8;   // the newest first
        if (read.units[k] == units) return read.pixels[k];
    }
    return computed;
}
// Remembers that pixels reads as units.
static int ToUnits(ReadBack *read, int pixels, int units) {
    for (int i = 0; i < 8; ++i)
        if (read->units[i] == units && read->pixels[i] == pixels) return units;
    read->units[read->next] = units;
    read->pixels[read->next] = pixels;
    read->next = (read->next + 1) % 8;
    return units;
}
static const wchar_t kPanelClass[] = L"VLicPanel";

int SystemDpi() { return g_systemDpi; }

void NoteGdi(int delta) { g_gdi += delta; }

// ------------------------------------------------------------- screens
// What user32 and shcore have only on newer Windows, looked up once.
using GetDpiForWindowFn = UINT(WINAPI *)(HWND);
using AdjustForDpiFn = BOOL(WINAPI *)(LPRECT, DWORD, BOOL, DWORD, UINT);
using GetDpiForMonitorFn = HRESULT(WINAPI *)(HMONITOR, int, UINT *, UINT *);
struct DpiFunctions {
    GetDpiForWindowFn forWindow = nullptr;
    AdjustForDpiFn adjust = nullptr;
    GetDpiForMonitorFn forMonitor = nullptr;
};
static const DpiFunctions &Dpis() {
    static const DpiFunctions f = [] {
        DpiFunctions d;
        if (HMODULE user32 = GetModuleHandleW(L"user32.dll")) {
            d.forWindow = reinterpret_cast<GetDpiForWindowFn>(
                reinterpret_cast<void *>(GetProcAddress(user32, "GetDpiForWindow")));
            d.adjust = reinterpret_cast<AdjustForDpiFn>(
                reinterpret_cast<void *>(GetProcAddress(user32, "AdjustWindowRectExForDpi")));
        }
        // Only from the system folder: a shcore.dll beside the program is
        // never loaded.
        if (HMODULE shcore = LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32))
            d.forMonitor = reinterpret_cast<GetDpiForMonitorFn>(
                reinterpret_cast<void *>(GetProcAddress(shcore, "GetDpiForMonitor")));
        return d;
    }();
    return f;
}

static BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM) {
    MONITORINFO mi = {};
    mi.cbSize = sizeof mi;
    if (!GetMonitorInfoW(monitor, &mi)) return TRUE;
    UINT dx = 0, dy = 0;
    int dpi = g_systemDpi;
    if (Dpis().forMonitor && Dpis().forMonitor(monitor, 0 /* MDT_EFFECTIVE_DPI */, &dx, &dy) == S_OK && dy >= 96)
        dpi = static_cast<int>(dy);
    const PxScreen s = {mi.rcMonitor, mi.rcWork, dpi};
    if (mi.dwFlags & MONITORINFOF_PRIMARY) g_screens.insert(g_screens.begin(), s);
    else g_screens.push_back(s);
    return TRUE;
}

// The screens in pixels, the primary one first (at least one).
static const std::vector<PxScreen> &Screens() {
    if (!g_testScreens.empty()) return g_testScreens;
    if (!g_screensKnown) {
        g_screens.clear();
        EnumDisplayMonitors(nullptr, nullptr, AddMonitor, 0);
        if (g_screens.empty()) {
            RECT work;
            SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
            g_screens.push_back({{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, work, g_systemDpi});
        }
        g_screensKnown = true;
    }
    return g_screens;
}

// A screen's area in its logical pixels: from its corner, at its DPI.
static RECT LogicalArea(const PxScreen &s) {
    return RECT{s.area.left, s.area.top, s.area.left + MulDiv(s.area.right - s.area.left, 96, s.dpi),
                s.area.top + MulDiv(s.area.bottom - s.area.top, 96, s.dpi)};
}

// The screen holding the point (in pixels, or in logical pixels), else the
// nearest one.
static const PxScreen &ScreenAt(POINT pt, bool logical) {
    const std::vector<PxScreen> &all = Screens();
    std::vector<uicore::Rect> areas;
    for (const PxScreen &s : all) {
        const RECT r = logical ? LogicalArea(s) : s.area;
        areas.push_back({r.left, r.top, r.right - r.left, r.bottom - r.top});
    }
    return all[uicore::AreaAt(areas, pt.x, pt.y)];
}

static POINT UnitsOf(POINT px) {
    const PxScreen &s = ScreenAt(px, false);
    return POINT{s.area.left + MulDiv(px.x - s.area.left, 96, s.dpi), s.area.top + MulDiv(px.y - s.area.top, 96, s.dpi)};
}

static POINT PixelsOf(POINT units) {
    const PxScreen &s = ScreenAt(units, true);
    return POINT{s.area.left + MulDiv(units.x - s.area.left, s.dpi, 96),
                 s.area.top + MulDiv(units.y - s.area.top, s.dpi, 96)};
}

// The window's DPI as Windows gives it; under the tests' screens, that of
// the screen holding its centre.
static int WindowDpi(HWND hwnd) {
    if (!g_testScreens.empty()) {
        RECT r;
        GetWindowRect(hwnd, &r);
        return ScreenAt(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}, false).dpi;
    }
    const UINT dpi = Dpis().forWindow ? Dpis().forWindow(hwnd) : 0;
    return dpi >= 96 ? static_cast<int>(dpi) : g_systemDpi;
}

// The DPI a panel is laid out at on a screen of that DPI.
static int LayoutDpi(const Panel &p, int screenDpi) {
    return p.fitDpi ? std::max(96, std::min(screenDpi, p.fitDpi)) : screenDpi;
}

std::vector<uicore::Screen> WinScreens() {
    std::vector<uicore::Screen> out;
    for (const PxScreen &s : Screens()) {
        const RECT a = LogicalArea(s);
        const POINT w = UnitsOf(POINT{s.work.left, s.work.top});
        out.push_back({{a.left, a.top, a.right - a.left, a.bottom - a.top},
                       {w.x, w.y, MulDiv(s.work.right - s.work.left, 96, s.dpi), MulDiv(s.work.bottom - s.work.top, 96, s.dpi)},
                       s.dpi});
    }
    return out;
}

// ------------------------------------------------------- high contrast
static void ReadHighContrast() {
    HIGHCONTRASTW hc = {};
    hc.cbSize = sizeof hc;
    g_highContrast = SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof hc, &hc, 0) && (hc.dwFlags & HCF_HIGHCONTRASTON);
}

bool HighContrast() { return g_testHighContrast >= 0 ? g_testHighContrast != 0 : g_highContrast; }

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

// The panel's background: its own colour, or the system's for dialogs
// under high contrast.
static void ApplyBackColor(Panel &p) {
    if (N(p).brush && DeleteObject(N(p).brush)) NoteGdi(-1);
    N(p).brush = CreateSolidBrush(HighContrast() ? GetSysColor(COLOR_BTNFACE) : ToColorRef(p.backColor));
    if (N(p).brush) NoteGdi(1);
    InvalidateRect(N(p).hwnd, nullptr, TRUE);
}

// High contrast switched on or off, or its colours changed: every panel
// is drawn again in the colours now due.
static void FollowSystemColours() {
    ReadHighContrast();
    for (Panel *p = NextPanel(0); p; p = NextPanel(p->handle)) {
        ApplyBackColor(*p);
        RedrawWindow(N(*p).hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
    }
}

COLORREF TextColourOf(const Ctrl &c, bool box) {
    if (!HighContrast()) return ToColorRef(c.textColor);
    // The link keeps its underline, which sets it apart whatever the colours.
    if (c.underline) return GetSysColor(COLOR_HOTLIGHT);
    return GetSysColor(box ? COLOR_WINDOWTEXT : COLOR_BTNTEXT);
}

// Puts a top-level panel's window so that its client area lies at origin
// (pixels of the screen) with that size: the frame Windows gives it at
// frameDpi is the first guess, the frame it then has the answer.
static void PutWindow(Panel &p, POINT origin, SIZE client, int frameDpi) {
    const HWND hwnd = N(p).hwnd;
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE));
    const DWORD ex = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE));
    RECT w = {origin.x, origin.y, origin.x + client.cx, origin.y + client.cy};
    if (Dpis().adjust) Dpis().adjust(&w, style, FALSE, ex, static_cast<UINT>(frameDpi));
    else AdjustWindowRectEx(&w, style, FALSE, ex);
    ++g_placing;
    SetWindowPos(hwnd, nullptr, w.left, w.top, w.right - w.left, w.bottom - w.top, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT now, in;
    GetWindowRect(hwnd, &now);
    GetClientRect(hwnd, &in);
    POINT at = {0, 0};
    ClientToScreen(hwnd, &at);
    if (at.x != origin.x || at.y != origin.y || in.right != client.cx || in.bottom != client.cy) {
        const int left = at.x - now.left, top = at.y - now.top;
        const int right = now.right - at.x - in.right, bottom = now.bottom - at.y - in.bottom;
        SetWindowPos(hwnd, nullptr, origin.x - left, origin.y - top, client.cx + left + right, client.cy + top + bottom,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    --g_placing;
}

void ApplyDpi(Panel &p, int dpi) {
    if (N(p).dpi == dpi) return;
    for (auto &c : p.ctrls) RelayoutCtrl(p, *c, dpi);
    const int old = N(p).dpi;
    N(p).dpi = dpi;
    // Child panels are laid out as their parent, at their places in it.
    for (Panel *child = NextPanel(0); child; child = NextPanel(child->handle)) {
        if (child->parent != p.handle) continue;
        RECT r = RectInPanel(p, N(*child).hwnd);
        RECT in;
        GetClientRect(N(*child).hwnd, &in);
        ApplyDpi(*child, dpi);
        SetWindowPos(N(*child).hwnd, nullptr, MulDiv(r.left, dpi, old), MulDiv(r.top, dpi, old),
                     MulDiv(in.right, dpi, old), MulDiv(in.bottom, dpi, old), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ReleaseUnusedFonts();
    InvalidateRect(N(p).hwnd, nullptr, TRUE);
}

// The panel moved to a screen of another DPI (Windows' WM_DPICHANGED): it
// is laid out at the new DPI (or as near as its fit allows) and takes the
// rectangle Windows suggests, which keeps it under the pointer that drags
// it; one kept at a lower scale takes the suggested corner with its own
// size, moved onto the work area of the screen the suggestion lies on.
static void DpiChanged(Panel &p, int dpi, const RECT &suggested) {
    g_screensKnown = false;
    RECT in;
    GetClientRect(N(p).hwnd, &in);
    const SIZE logical = {Lg(p, in.right), Lg(p, in.bottom)};
    ApplyDpi(p, LayoutDpi(p, dpi));
    if (g_placing) return;   // the driver's own move: placed already
    if (!p.fitDpi) {
        SetWindowPos(N(p).hwnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                     suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    RECT w;
    GetWindowRect(N(p).hwnd, &w);
    POINT at = {0, 0};
    ClientToScreen(N(p).hwnd, &at);
    const SIZE client = {Px(p, logical.cx), Px(p, logical.cy)};
    const int left = at.x - w.left, top = at.y - w.top;
    const int outerW = client.cx + left + (w.right - at.x - in.right), outerH = client.cy + top + (w.bottom - at.y - in.bottom);
    const RECT work = ScreenAt(POINT{(suggested.left + suggested.right) / 2, (suggested.top + suggested.bottom) / 2}, false).work;
    const auto into = [](long from, long size, long lo, long hi) { return std::max(lo, std::min(from, hi - size)); };
    const long x = into(suggested.left, outerW, work.left, work.right);
    const long y = into(suggested.top, outerH, work.top, work.bottom);
    PutWindow(p, POINT{static_cast<LONG>(x + left), static_cast<LONG>(y + top)}, client, dpi);
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
        DestroyWindow(lParam ? reinterpret_cast<HWND>(lParam) : hwnd);
        return 0;
    }
    ForgetSystemAnswers();
    if (msg == WM_GETMINMAXINFO) {
        // Windows keeps a window within the screen's size plus its frame
        // (the maximum tracking size), which would cut a panel laid out at
        // its screen's DPI, from its creation on, before the fit to the
        // work area (coreplace.cpp) has chosen its scale; the cut size would
        // then be read back as the panel's. The panel's size is the
        // layer's alone: no user can drag its frame beyond it.
        reinterpret_cast<MINMAXINFO *>(lParam)->ptMaxTrackSize = {0x7FFF, 0x7FFF};
        return 0;
    }
    if (!p) return DefWindowProcW(hwnd, msg, wParam, lParam);
    switch (msg) {
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        Ctrl *c = FindCtrl(p, id);
        if (!c || reinterpret_cast<HWND>(lParam) != N(*c).hwnd) return 0;
        // The text or number the user changed is the window's from now on,
        // whatever the mode (a read-only box's text changes by the program only).
        if ((c->style == CTRL_STRING || c->style == CTRL_TEXT_BOX || c->style == CTRL_NUMERIC) && code == EN_CHANGE)
            uicore::InputEdited(handle, id);
        // Only notifications of the control's own window are commits.
        if (c->mode == VAL_INDICATOR) return 0;
        if (c->style == CTRL_RING) {
            RingNotification(handle, *c, code);
            return 0;
        }
        const bool button = c->style == CTRL_COMMAND_BUTTON || c->style == CTRL_PICTURE_COMMAND_BUTTON;
        if (button && code == BN_CLICKED) uicore::InputCommit(handle, id);
        return 0;
    }
    case WM_NOTIFY: {
        const auto *h = reinterpret_cast<const NMHDR *>(lParam);
        Ctrl *c = FindCtrl(p, static_cast<int>(h->idFrom));
        if (!c || N(*c).hwnd != h->hwndFrom) break;
        if (h->code == NM_CUSTOMTEXT) {
            // A link is drawn in its control's colour (the visited, hovered
            // or plain link's).
            SetTextColor(reinterpret_cast<const NMCUSTOMTEXT *>(lParam)->hDC, TextColourOf(*c, false));
            return 0;
        }
        // A link's own "click" opens it. A mouse's release reached the
        // callbacks already (EVENT_LEFT_CLICK_UP); the keys are the core's
        // (the pump): what is left is the link opened by a screen reader
        // or other assistive technology, a commit.
        if (h->code == NM_CLICK || h->code == NM_RETURN) {
            if (!ReleasingOver(h->hwndFrom)) uicore::InputCommit(handle, c->id);
            return 0;
        }
        break;
    }
    case WM_DRAWITEM:
        if (DrawPictureButton(*reinterpret_cast<const DRAWITEMSTRUCT *>(lParam))) return TRUE;
        break;
    case WM_CLOSE:
        // The window never closes itself.
        uicore::InputClose(handle);
        return 0;
    case WM_ACTIVATE:
        // Windows would give the focus to the panel's own window: it goes
        // back to the control that had it (the core's rule).
        if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) {
            uicore::PanelActivated(handle);
            HWND focus = GetFocus();
            if (focus && focus != hwnd && IsChild(hwnd, focus)) return 0;
        }
        break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        HWND child = reinterpret_cast<HWND>(lParam);
        Ctrl *c = FindCtrl(p, GetDlgCtrlID(child));
        const bool isLabel = c && N(*c).label == child;
        if (c && c->style == CTRL_TEXT_BOX && !isLabel) {
            const bool hc = HighContrast();
            SetBkColor(dc, hc ? GetSysColor(COLOR_WINDOW) : RGB(255, 255, 255));
            SetTextColor(dc, TextColourOf(*c, true));
            return reinterpret_cast<LRESULT>(hc ? GetSysColorBrush(COLOR_WINDOW) : GetStockObject(WHITE_BRUSH));
        }
        if (!c) {
            for (auto &k : p->ctrls)
                if (N(*k).label == child) c = k.get();
        }
        SetBkMode(dc, TRANSPARENT);
        if (c) SetTextColor(dc, TextColourOf(*c, false));
        else if (HighContrast()) SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        // The link control is transparent (LWS_TRANSPARENT) and paints with
        // no brush; Wine's deletes the one it is given, which would leave
        // the panel without its own. A system colour brush outlives any
        // DeleteObject.
        if (c && N(*c).link && child == N(*c).hwnd) return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
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
            InflateRect(&d, -Px(*p, 2), -Px(*p, 2));
            if (HighContrast()) {
                FillRect(dc, &d, GetSysColorBrush(COLOR_WINDOW));
                continue;
            }
            HBRUSH fill = CreateSolidBrush(ToColorRef(N(*c).fillColor));
            if (!fill) continue;
            NoteGdi(1);
            FillRect(dc, &d, fill);
            if (DeleteObject(fill)) NoteGdi(-1);
        }
        return 1;
    }
    case WM_DPICHANGED:
        DpiChanged(*p, HIWORD(wParam), *reinterpret_cast<const RECT *>(lParam));
        return 0;
    case WM_DISPLAYCHANGE:
        g_screensKnown = false;
        break;
    case WM_SETTINGCHANGE:
        g_screensKnown = false;   // the work area may have changed
        if (wParam == SPI_SETHIGHCONTRAST || wParam == SPI_SETWORKAREA || wParam == 0) FollowSystemColours();
        break;
    case WM_SYSCOLORCHANGE:
        // A top-level window hands it on to its common controls, which
        // otherwise keep the colours they read at their creation.
        for (auto &c : p->ctrls) {
            SendMessageW(N(*c).hwnd, WM_SYSCOLORCHANGE, wParam, lParam);
            if (N(*c).label) SendMessageW(N(*c).label, WM_SYSCOLORCHANGE, wParam, lParam);
        }
        FollowSystemColours();
        break;
    case WM_SETFOCUS:
        // The focus given to the panel's own window (its restore after a
        // minimise, a click on its frame) goes to the control that had it,
        // as the dialog manager does with the control it saved.
        uicore::PanelActivated(handle);
        return 0;
    case WM_QUERYENDSESSION:
        // Nothing to save: the program may end whenever Windows asks
        // (a log-off, or the Restart Manager before an upgrade).
        return TRUE;
    case WM_ENDSESSION:
        // The loops end; a cancelled end (FALSE) lets them go on.
        if (!p->parent) uicore::InputEndSession(wParam != FALSE);
        return 0;
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

// The keyboard cues of a top-level panel, through the UI-state messages:
// WM_CHANGEUISTATE to its window, which Windows hands down to its controls
// (WM_UPDATEUISTATE), as the dialog manager does when Tab moves the focus.
// Windows' setting to underline access keys always (SPI_GETKEYBOARDCUES)
// keeps both shown.
void WinShowCues(Panel &p) {
    BOOL always = FALSE;
    SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &always, 0);
    const WORD focus = always || p.focusCues ? UIS_CLEAR : UIS_SET;
    const WORD accel = always || p.accelCues ? UIS_CLEAR : UIS_SET;
    SendMessageW(N(p).hwnd, WM_CHANGEUISTATE, MAKEWPARAM(focus, UISF_HIDEFOCUS), 0);
    SendMessageW(N(p).hwnd, WM_CHANGEUISTATE, MAKEWPARAM(accel, UISF_HIDEACCEL), 0);
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
    // Laid out at its parent's DPI, or its screen's until the core places it.
    N(p).dpi = parent ? N(*parent).dpi : WindowDpi(N(p).hwnd);
    ApplyBackColor(p);
    if (!parent) {
        CloseBox(p);
        WinShowCues(p);
        PutWindow(p, POINT{0, 0}, SIZE{Px(p, width), Px(p, height)}, N(p).dpi);
    } else {
        SetWindowPos(N(p).hwnd, nullptr, 0, 0, Px(p, width), Px(p, height), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
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
        g_systemDpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
    }
    if (g_systemDpi < 96) g_systemDpi = 96;
    ReadHighContrast();
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

// True when the standard handle is one of a console's.
static bool StandardHandleConsole(DWORD which) {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(which), &mode) != 0;
}

// A windowed program starts with no console: its standard output and error
// go where the parent redirected them, else to the console it was started
// from (attached), else nowhere. A console's own handles handed down (by the
// launcher VLicEnr.com) serve once attached to that console. A console is
// switched to UTF-8, as the listings are written, and its code page put back
// at exit. Either way the bytes are written as they are, without a CR before
// each line break, so that the lines are the same as on Linux.
static void OpenStandardOutput() {
    const bool out = StandardHandleOpen(STD_OUTPUT_HANDLE);
    const bool err = StandardHandleOpen(STD_ERROR_HANDLE);
    const bool given = StandardHandleConsole(STD_OUTPUT_HANDLE) || StandardHandleConsole(STD_ERROR_HANDLE);
    if ((!out || !err || given) && AttachConsole(ATTACH_PARENT_PROCESS)) {
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

// -------------------------------------------------------------- panels
int WinNewPanel(Panel &p, const Panel *parent, int height, int width) { return MakePanelWindow(p, parent, height, width); }

// The fonts of a DPI no panel is laid out at any more go with it (its
// hidden windows, destroyed later, draw nothing).
void WinDestroyPanel(Panel &p, bool later) {
    ShowWindow(N(p).hwnd, SW_HIDE);
    if (later) PostMessageW(N(p).hwnd, kMsgDestroyLater, 0, 0);
    else DestroyWindow(N(p).hwnd);
    ReleaseUnusedFonts();
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

// Sends only WM_PAINT (and what painting sends), so no callback runs and
// no commit is queued.
void WinDrawNow() {
    for (Panel *p = NextPanel(0); p; p = NextPanel(p->handle))
        if (IsWindowVisible(N(*p).hwnd)) RedrawWindow(N(*p).hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// ---------------------------------------------- the driver's panel entries

uicore::Rect WinPanelRect(const Panel &p) {
    const POINT o = ClientOrigin(p);
    const SIZE size = ClientSize(p);
    const POINT u = p.parent ? POINT{Lg(p, o.x), Lg(p, o.y)} : UnitsOf(o);
    return {ToUnits(&g_readLeft, o.x, u.x), ToUnits(&g_readTop, o.y, u.y), Lg(p, size.cx), Lg(p, size.cy)};
}

// A top-level panel goes to the screen its corner names, laid out at that
// screen's DPI (or at most the fit's) before its window is sized for it.
void WinSetPanelRect(Panel &p, const uicore::Rect &r) {
    if (p.parent) {
        SetWindowPos(N(p).hwnd, nullptr, ToPixels(g_readLeft, r.x, Px(p, r.x)), ToPixels(g_readTop, r.y, Px(p, r.y)),
                     Px(p, r.width), Px(p, r.height), SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    const POINT computed = PixelsOf(POINT{r.x, r.y});
    const POINT at = {ToPixels(g_readLeft, r.x, computed.x), ToPixels(g_readTop, r.y, computed.y)};
    const int screenDpi = ScreenAt(at, false).dpi;
    ApplyDpi(p, LayoutDpi(p, screenDpi));
    PutWindow(p, at, SIZE{Px(p, r.width), Px(p, r.height)}, screenDpi);
}

// The frame as the window has it, in the logical pixels of its screen.
bool WinFrameMargins(const Panel &p, uicore::Margins *m) {
    RECT w, in;
    GetWindowRect(N(p).hwnd, &w);
    GetClientRect(N(p).hwnd, &in);
    POINT at = {0, 0};
    ClientToScreen(N(p).hwnd, &at);
    const int dpi = ScreenAt(at, false).dpi;
    *m = {MulDiv(at.x - w.left, 96, dpi), MulDiv(at.y - w.top, 96, dpi), MulDiv(w.right - at.x - in.right, 96, dpi),
          MulDiv(w.bottom - at.y - in.bottom, 96, dpi)};
    return true;
}

void WinSetTitle(Panel &p) { SetWindowTextW(N(p).hwnd, WideFromAnsi(p.titleRaw.c_str()).c_str()); }

void FillPanelEntries(uicore::Driver &d) {
    d.start = WinStart;
    d.programFolder = WinProgramFolder;
    d.setCurrentFolder = WinSetCurrentFolder;
    d.carriedFile = WinCarriedFile;
    d.newPanel = WinNewPanel;
    d.destroyPanel = WinDestroyPanel;
    d.panelRect = WinPanelRect;
    d.setPanelRect = WinSetPanelRect;
    d.frameMargins = WinFrameMargins;
    d.showPanel = WinShowPanel;
    d.activePanel = WinActivePanel;
    d.setTitle = WinSetTitle;
    d.setBackColor = ApplyBackColor;
    d.setFrame = ApplyFrame;
    d.drawNow = WinDrawNow;
    d.showCues = WinShowCues;
    d.screens = WinScreens;
}

}  // namespace uiwin

using namespace uiwin;

// ------------------------------------------------------------ test seams
void UiWinSetScreens(const UiWinScreen *screens, int n) {
    g_testScreens.clear();
    for (int i = 0; i < n; ++i) {
        const UiWinScreen &t = screens[i];
        g_testScreens.push_back({{t.left, t.top, t.left + t.width, t.top + t.height},
                                 {t.workLeft, t.workTop, t.workLeft + t.workWidth, t.workTop + t.workHeight},
                                 std::max(96, t.dpi)});
    }
}

void UiWinSetHighContrast(int on) {
    g_testHighContrast = on < 0 ? -1 : on != 0;
    FollowSystemColours();
}

int UiWinGdiObjects(void) { return g_gdi; }
