// winctrl.cpp: the Win32 driver's controls: their windows (standard
// controls of user32 and comctl32), fonts, and what setting an attribute, a
// value or a list item does to them.
//
// Exports (ui/win32/winprivate.h): CreateCtrlWindow, MakeLabelWindow,
// FontOf, ReleaseUnusedFonts, RelayoutCtrl, ApplyDimmed, ApplyZOrder and
// the driver's control entries.
//
// Data model: each kind of control is one standard window class: command
// and picture buttons BUTTON, rings a drop-down-list COMBOBOX (the items
// and their values are the core record's), text messages, pictures and
// decorations STATIC, text boxes, strings and numerics EDIT. Every control
// window is subclassed so that its mouse messages reach the panel's
// callbacks and its cursor follows SetMouseCursor. A text box's line
// breaks are "\r\n" in the window and "\n" for the caller.
//
// State (file level): g_fonts, the fonts made so far, by (bold, underline,
// size, DPI); those of a DPI no panel is laid out at any more are deleted
// (ReleaseUnusedFonts), so a panel moved between screens leaks none.
#include <windows.h>
#include <commctrl.h>
#include <initguid.h>
#include <oleacc.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <tuple>

#include "ui/core/coreattr.h"
#include "ui/win32/winprivate.h"
#include "ui/win32/wintext.h"

namespace uiwin {

static std::map<std::tuple<bool, bool, int, int>, HFONT> g_fonts;

// The panels' font (as Qt's default one on Linux: 9 points), bold,
// underlined or of another size as the control asks.
HFONT FontOf(const Ctrl &c) {
    const int size = N(c).pointSize > 0 ? N(c).pointSize : 9;
    const auto key = std::make_tuple(N(c).bold, c.underline, size, N(c).dpi);
    auto it = g_fonts.find(key);
    if (it != g_fonts.end()) return it->second;
    LOGFONTW lf = {};
    lf.lfHeight = -MulDiv(size, N(c).dpi, 72);
    lf.lfWeight = N(c).bold ? FW_BOLD : FW_NORMAL;
    lf.lfUnderline = c.underline ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = CLEARTYPE_QUALITY;
    lstrcpyW(lf.lfFaceName, L"Tahoma");
    HFONT font = CreateFontIndirectW(&lf);
    if (font) NoteGdi(1);
    g_fonts[key] = font;
    return font;
}

void ReleaseUnusedFonts() {
    std::vector<int> used;
    for (Panel *p = NextPanel(0); p; p = NextPanel(p->handle)) used.push_back(N(*p).dpi);
    for (auto it = g_fonts.begin(); it != g_fonts.end();) {
        if (std::find(used.begin(), used.end(), std::get<3>(it->first)) != used.end()) {
            ++it;
            continue;
        }
        if (it->second && DeleteObject(it->second)) NoteGdi(-1);
        it = g_fonts.erase(it);
    }
}

// True for a left press or a key to a button or ring in indicator mode,
// which takes no input (as Qt's event filter swallows it): a ring's list
// neither opens nor moves.
static bool SwallowedInput(HWND hwnd, UINT msg) {
    const bool input = msg == WM_LBUTTONDOWN || msg == WM_LBUTTONUP || msg == WM_LBUTTONDBLCLK ||
                       msg == WM_KEYDOWN || msg == WM_KEYUP || msg == WM_CHAR;
    if (!input) return false;
    Panel *p = PanelOfWindow(hwnd);
    Ctrl *c = p ? FindCtrl(p, GetDlgCtrlID(hwnd)) : nullptr;
    return c && N(*c).hwnd == hwnd && !uicore::TakesInput(*c);
}

// The control whose own window hwnd is, with its panel; null for a label
// apart or a window of no panel.
static Ctrl *CtrlOfOwnWindow(HWND hwnd, Panel **panel) {
    Panel *p = PanelOfWindow(hwnd);
    Ctrl *c = p ? FindCtrl(p, GetDlgCtrlID(hwnd)) : nullptr;
    if (!c || N(*c).hwnd != hwnd) return nullptr;
    *panel = p;
    return c;
}

// The focus: the panel learns which control has it and when it leaves; a
// link (a static, which draws no focus of its own) shows a dotted frame
// round its text while it has it.
static bool FocusMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT *result) {
    if (msg != WM_SETFOCUS && msg != WM_KILLFOCUS && msg != WM_PAINT && msg != WM_UPDATEUISTATE) return false;
    Panel *p = nullptr;
    Ctrl *c = CtrlOfOwnWindow(hwnd, &p);
    if (!c) return false;
    const int handle = p->handle, id = c->id;
    // A static standing for a link (no link control) draws its focus
    // rectangle here, as the keyboard cues say; the link control draws its own.
    const bool link = c->style == CTRL_TEXT_MSG && c->mode == VAL_HOT && !N(*c).link;
    if (msg == WM_SETFOCUS) uicore::InputFocus(handle, id);
    if (msg == WM_KILLFOCUS) uicore::InputFocusLost(handle, id);
    if (!link) return false;
    if (msg != WM_PAINT) {
        InvalidateRect(hwnd, nullptr, TRUE);
        return false;
    }
    *result = WinDefSubclass(hwnd, msg, wParam, lParam);
    if (GetFocus() == hwnd && !(SendMessageW(hwnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS)) {
        RECT r;
        GetClientRect(hwnd, &r);
        HDC dc = GetDC(hwnd);
        DrawFocusRect(dc, &r);
        ReleaseDC(hwnd, dc);
    }
    return true;
}

// The accessibility services (oleacc's IAccPropServices, through COM),
// made on first use; null when Windows has none.
static IAccPropServices *Annotations() {
    static IAccPropServices *services = [] {
        IAccPropServices *s = nullptr;
        // Apartment-threaded, as document opening initialises it too: a
        // second initialisation only counts.
        const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
        if (FAILED(init) && init != RPC_E_CHANGED_MODE) return s;
        if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                    reinterpret_cast<void **>(&s))))
            s = nullptr;
        return s;
    }();
    return services;
}

// True when hwnd is a control's link window (SysLink).
static bool IsLinkWindow(HWND hwnd) {
    Panel *p = PanelOfWindow(hwnd);
    Ctrl *c = p ? FindCtrl(p, GetDlgCtrlID(hwnd)) : nullptr;
    return c && N(*c).hwnd == hwnd && N(*c).link;
}

static LRESULT CALLBACK CtrlSubclass(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    ForgetSystemAnswers();
    // The link control answers HTTRANSPARENT beside its text, where the
    // press would go to the panel: the whole control is the link, as its
    // hover colours and cursor say.
    if (msg == WM_NCHITTEST && IsLinkWindow(hwnd)) return HTCLIENT;
    if (MouseMessage(hwnd, msg, lParam) && msg == WM_SETCURSOR) return TRUE;
    if (SwallowedInput(hwnd, msg)) return 0;
    LRESULT result = 0;
    if (FocusMessage(hwnd, msg, wParam, lParam, &result)) return result;
    if (msg == WM_RBUTTONDOWN && RightClick(hwnd, lParam)) return 0;
    if (msg == WM_CONTEXTMENU && ContextMenu(hwnd, lParam)) return 0;
    if (msg == WM_LBUTTONUP) return ReleaseOwnHandling(hwnd, wParam, lParam);
    // The name annotated on the window goes with it.
    if (msg == WM_NCDESTROY)
        if (IAccPropServices *s = Annotations())
            s->ClearHwndProps(hwnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &PROPID_ACC_NAME, 1);
    return WinDefSubclass(hwnd, msg, wParam, lParam);
}

// "\n" as "\r\n", for an EDIT window. A lone "\r" is a line break too, as
// in Qt's text box.
static std::wstring EditText(const std::string &ansi) {
    const std::wstring wide = WideFromAnsi(ansi.c_str());
    std::wstring out;
    for (size_t i = 0; i < wide.size(); ++i) {
        const wchar_t ch = wide[i];
        if (ch == L'\r' && i + 1 < wide.size() && wide[i + 1] == L'\n') continue;   // its "\n" follows
        if (ch == L'\n' || ch == L'\r') out += L"\r\n";
        else out += ch;
    }
    return out;
}

// The window's text as the caller's bytes ("\r\n" back to "\n").
static std::string WindowAnsi(HWND hwnd) {
    const int n = GetWindowTextLengthW(hwnd);
    std::wstring wide(static_cast<size_t>(n) + 1, L'\0');
    GetWindowTextW(hwnd, wide.data(), n + 1);
    wide.resize(static_cast<size_t>(n));
    wide.erase(std::remove(wide.begin(), wide.end(), L'\r'), wide.end());
    return AnsiFromWide(wide.c_str(), static_cast<int>(wide.size()));
}

// The height of one line of the control's font, in pixels (at least 1).
static int LineHeight(const Ctrl &c) {
    HDC dc = GetDC(N(c).hwnd);
    HGDIOBJ old = SelectObject(dc, FontOf(c));
    TEXTMETRICW tm = {};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(N(c).hwnd, dc);
    return std::max(1, static_cast<int>(tm.tmHeight));
}

// What a text box's window adds to its lines: its edge, and a pixel of
// margin above and below the text.
static int TextBoxChrome(const Ctrl &c) {
    RECT w, cl;
    GetWindowRect(N(c).hwnd, &w);
    GetClientRect(N(c).hwnd, &cl);
    return (w.bottom - w.top) - cl.bottom + Px(c, 2);
}

static bool IsButton(const Ctrl &c) { return c.style == CTRL_COMMAND_BUTTON || c.style == CTRL_PICTURE_COMMAND_BUTTON; }
static bool IsEdit(const Ctrl &c) {
    return c.style == CTRL_TEXT_BOX || c.style == CTRL_STRING || c.style == CTRL_NUMERIC;
}

void FitLabel(Ctrl &c) {
    if (!N(c).label || !N(c).labelCentred) return;
    const int n = GetWindowTextLengthW(N(c).label);
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    GetWindowTextW(N(c).label, text.data(), n + 1);
    RECT box, need = {0, 0, 0, 0};
    GetClientRect(N(c).label, &box);
    HDC dc = GetDC(N(c).label);
    HGDIOBJ old = SelectObject(dc, FontOf(c));
    DrawTextW(dc, text.c_str(), n, &need, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    ReleaseDC(N(c).label, dc);
    LONG_PTR style = GetWindowLongPtrW(N(c).label, GWL_STYLE) & ~static_cast<LONG_PTR>(SS_CENTERIMAGE);
    if (need.right <= box.right) style |= SS_CENTERIMAGE;
    SetWindowLongPtrW(N(c).label, GWL_STYLE, style);
    InvalidateRect(N(c).label, nullptr, TRUE);
}

// A text message in VAL_HOT is a link (the core's rule: it takes the focus
// and its commit opens it). Its window is comctl32's link control
// (SysLink), which Windows' accessibility reads as a link with an action
// that opens it, draws its own focus rectangle as the panel's keyboard cues
// say, and lets the panel colour it (NM_CUSTOMTEXT); any other text message
// is a STATIC.
static bool IsLink(const Ctrl &c) { return c.style == CTRL_TEXT_MSG && c.mode == VAL_HOT; }

// The link control's markup of a text: the whole text one link; a "<" is
// the only character its markup reads, written as its entity would not be.
static std::wstring LinkMarkup(const std::string &ansi) {
    std::wstring text = WideFromAnsi(ansi.c_str());
    for (wchar_t &ch : text)
        if (ch == L'<') ch = 0x2039;   // a "<" would open a tag: the nearest look-alike
    return L"<a>" + text + L"</a>";
}

// The text a button or text message shows for its label.
static void ShowLabel(Ctrl &c) {
    if (N(c).label) {
        SetWindowTextW(N(c).label, WideLabel(c.labelRaw.c_str()).c_str());
        FitLabel(c);
    } else if (IsButton(c)) SetWindowTextW(N(c).hwnd, WideLabel(c.labelRaw.c_str()).c_str());
    else if (IsLink(c) && N(c).link) SetWindowTextW(N(c).hwnd, LinkMarkup(c.labelRaw).c_str());
    else if (c.style == CTRL_TEXT_MSG) SetWindowTextW(N(c).hwnd, WideFromAnsi(c.labelRaw.c_str()).c_str());
}

// A closed drop-down list is as tall as its font makes it, shorter than
// the ring asks: its window is centred on the height asked (top and height
// in pixels of the panel), as Qt centres its box, so that it lines up with
// the labels centred beside it; the ring's rectangle stays the one asked.
// (Growing the selection field instead leaves the text at its top under Wine.)
static void CentreRing(const Panel &p, Ctrl &c, int top, int height) {
    const RECT w = RectInPanel(p, N(c).hwnd);
    const int pad = std::max(0, height - static_cast<int>(w.bottom - w.top));
    N(c).padTop = pad / 2;
    N(c).padBottom = pad - N(c).padTop;
    if (w.top != top + N(c).padTop)
        SetWindowPos(N(c).hwnd, nullptr, w.left, top + N(c).padTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CreateCtrlWindow(Panel &p, Ctrl &c, const uicore::CtrlLook &look) {
    N(c).dpi = N(p).dpi;
    const RECT r = {look.rect.x, look.rect.y, look.rect.x + look.rect.width, look.rect.y + look.rect.height};
    const std::string &text = look.text, &align = look.align;
    const bool wordWrap = look.wordWrap;
    const wchar_t *windowClass = nullptr;
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    DWORD ex = 0;
    int height = Px(p, r.bottom - r.top);
    std::wstring initial;
    bool asLink = false;
    const bool right = align.find("AlignRight") != std::string::npos;
    const bool centre = align.find("AlignHCenter") != std::string::npos;
    switch (c.style) {
    case CTRL_COMMAND_BUTTON:
        windowClass = L"BUTTON";
        style |= BS_PUSHBUTTON | WS_TABSTOP;
        initial = WideLabel(text.c_str());
        break;
    case CTRL_PICTURE_COMMAND_BUTTON:
        // Owner-drawn: its face is the picture (winpicture.cpp), and its
        // window text its name for screen readers (WinSetAccessibleName),
        // which nothing draws.
        windowClass = L"BUTTON";
        style |= BS_OWNERDRAW | WS_TABSTOP;
        break;
    case CTRL_RING:
        windowClass = L"COMBOBOX";
        style |= CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
        height += Px(p, 240);   // room for the dropped list
        break;
    case CTRL_TEXT_MSG:
        N(c).look = look;   // to make it again as a link or back (WinSetMode)
        if (IsLink(c) && !N(c).noLinkClass) {
            asLink = true;
            windowClass = WC_LINK;
            style |= WS_TABSTOP | LWS_NOPREFIX | LWS_USECUSTOMTEXT | LWS_TRANSPARENT | (right ? LWS_RIGHT : 0);
            initial = LinkMarkup(text);
            break;
        }
        windowClass = L"STATIC";
        style |= SS_NOPREFIX | SS_NOTIFY | (right ? SS_RIGHT : centre ? SS_CENTER : SS_LEFT);
        if (!wordWrap && align.find("AlignVCenter") != std::string::npos) style |= SS_CENTERIMAGE;
        initial = WideFromAnsi(text.c_str());
        break;
    case CTRL_TEXT_BOX:
        windowClass = L"EDIT";
        style |= ES_MULTILINE | ES_AUTOVSCROLL | (look.noScrollBar ? 0 : WS_VSCROLL) | (look.readOnly ? ES_READONLY : 0);
        ex = look.frameShape == "NoFrame" ? 0 : WS_EX_CLIENTEDGE;
        initial = EditText(text);
        break;
    case CTRL_STRING:
    case CTRL_NUMERIC:
        windowClass = L"EDIT";
        style |= ES_AUTOHSCROLL | WS_TABSTOP | (c.style == CTRL_NUMERIC ? ES_NUMBER : 0);
        ex = WS_EX_CLIENTEDGE;
        initial = WideFromAnsi(text.c_str());
        break;
    case CTRL_PICTURE:
        windowClass = L"STATIC";
        style |= SS_NOTIFY;
        break;
    case CTRL_DECORATION:
        windowClass = L"STATIC";
        style |= (r.bottom - r.top) <= 3 ? SS_ETCHEDHORZ : SS_ETCHEDFRAME;
        break;
    default: return false;
    }
    if (c.visible) style |= WS_VISIBLE;
    N(c).hwnd = CreateWindowExW(ex, windowClass, initial.c_str(), style, Px(p, r.left), Px(p, r.top), Px(p, r.right - r.left), height,
                             N(p).hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)),
                             GetModuleHandleW(nullptr), nullptr);
    if (!N(c).hwnd && asLink) {
        // Common controls older than 6 have no link control: a static then
        // (the driver draws its focus frame itself).
        N(c).noLinkClass = true;
        return CreateCtrlWindow(p, c, look);
    }
    if (!N(c).hwnd) return false;
    N(c).link = asLink;
    SendMessageW(N(c).hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(c)), FALSE);
    if (c.style == CTRL_RING) CentreRing(p, c, Px(p, r.top), Px(p, r.bottom - r.top));
    WinSetSubclass(N(c).hwnd, CtrlSubclass, 1, 0);
    ApplyDimmed(p, c);
    return true;
}

void ApplyDimmed(const Panel &p, Ctrl &c) {
    const BOOL enable = !(c.dimmed || p.dimmed);
    EnableWindow(N(c).hwnd, enable);
    if (N(c).label) EnableWindow(N(c).label, enable);
}

void ApplyZOrder(Panel &p) {
    std::vector<Ctrl *> order;
    for (auto &c : p.ctrls) order.push_back(c.get());
    // Decorations lie behind every other control: a sibling in front clips
    // the windows behind it, so a frame in front would hide the controls it
    // groups (Qt draws them through its frames).
    std::stable_sort(order.begin(), order.end(), [](Ctrl *a, Ctrl *b) {
        const bool da = a->style == CTRL_DECORATION, db = b->style == CTRL_DECORATION;
        if (da != db) return da;
        return a->zplane > b->zplane;
    });
    // Back-most first: each one placed on top of those before it.
    for (Ctrl *c : order) {
        SetWindowPos(N(*c).hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        if (N(*c).label) SetWindowPos(N(*c).label, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

// ------------------------------------------------ the driver's control entries

void MakeLabelWindow(Panel &p, Ctrl &c, const uicore::CtrlLook &look) {
    const RECT r = {look.rect.x, look.rect.y, look.rect.x + look.rect.width, look.rect.y + look.rect.height};
    const std::string &align = look.align;
    const bool wordWrap = look.wordWrap;
    DWORD ss = WS_CHILD | SS_NOTIFY;
    if (align.find("AlignRight") != std::string::npos) ss |= SS_RIGHT;
    const bool centred = align.find("AlignVCenter") != std::string::npos;
    if (centred && !wordWrap) ss |= SS_CENTERIMAGE;
    N(c).labelCentred = centred && wordWrap;
    c.apart = true;
    if (uicore::LabelShown(c)) ss |= WS_VISIBLE;
    // In the "&X" form: a label drawn apart may mark its control's
    // shortcut letter too.
    N(c).label = CreateWindowExW(0, L"STATIC", WideLabel(c.labelRaw.c_str()).c_str(), ss, Px(p, r.left), Px(p, r.top),
                                 Px(p, r.right - r.left), Px(p, r.bottom - r.top), N(p).hwnd,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(N(c).label, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(c)), FALSE);
    if (!uicore::CtrlEnabled(p, c)) EnableWindow(N(c).label, FALSE);
    FitLabel(c);
}

static uicore::Rect Logical(const Ctrl &c, const RECT &px) {
    const int left = Lg(c, px.left), top = Lg(c, px.top);
    return {left, top, Lg(c, px.right) - left, Lg(c, px.bottom) - top};
}

uicore::Rect WinCtrlRectOf(const Panel &p, const Ctrl &c) { return Logical(c, CtrlRect(p, c)); }
uicore::Rect WinLabelRectOf(const Panel &p, const Ctrl &c) { return Logical(c, RectInPanel(p, N(c).label)); }

void WinPlaceCtrl(Panel &p, Ctrl &c, const uicore::Rect &r) {
    const RECT now = CtrlRect(p, c);
    const int x = Px(c, r.x), y = Px(c, r.y), w = Px(c, r.width), h = Px(c, r.height);
    if (now.left == x && now.top == y && now.right - now.left == w && now.bottom - now.top == h) return;
    if (c.style == CTRL_RING) {
        // The closed list keeps its own height, centred on the one asked;
        // its window is as tall as the dropped list needs.
        SetWindowPos(N(c).hwnd, nullptr, x, y, w, h + Px(c, 240), SWP_NOZORDER | SWP_NOACTIVATE);
        CentreRing(p, c, y, h);
        return;
    }
    SetWindowPos(N(c).hwnd, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

void WinPlaceLabel(Panel &, Ctrl &c, const uicore::Rect &r) {
    SetWindowPos(N(c).label, nullptr, Px(c, r.x), Px(c, r.y), Px(c, r.width), Px(c, r.height),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// Its places in 96-DPI units are read at the DPI it had, and put back at
// the new one with the new font: the same units, so that going there and
// back puts every window on its former pixel.
void RelayoutCtrl(Panel &p, Ctrl &c, int dpi) {
    if (N(c).dpi == dpi) return;
    const uicore::Rect place = WinCtrlRectOf(p, c);
    const uicore::Rect label = N(c).label ? WinLabelRectOf(p, c) : uicore::Rect{};
    N(c).dpi = dpi;
    HFONT font = FontOf(c);
    SendMessageW(N(c).hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    WinPlaceCtrl(p, c, place);
    if (N(c).label) {
        SendMessageW(N(c).label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        WinPlaceLabel(p, c, label);
        FitLabel(c);
        InvalidateRect(N(c).label, nullptr, TRUE);
    }
    PictureDpiChanged(c);
    InvalidateRect(N(c).hwnd, nullptr, TRUE);
}

void WinShowCtrl(Panel &, Ctrl &c) {
    ShowWindow(N(c).hwnd, c.visible ? SW_SHOWNA : SW_HIDE);
    if (N(c).label) ShowWindow(N(c).label, uicore::LabelShown(c) ? SW_SHOWNA : SW_HIDE);
}

void WinEnableCtrl(Panel &p, Ctrl &c) { ApplyDimmed(p, c); }

void WinSetAccessibleName(Panel &p, Ctrl &c);

// A text message made a link or back gets the window of its kind, in
// the place of the one it had (another class: a window made anew).
static void RemakeTextWindow(Panel &p, Ctrl &c) {
    const HWND old = N(c).hwnd;
    const bool focused = GetFocus() == old;
    uicore::CtrlLook look = N(c).look;
    const uicore::Rect at = WinCtrlRectOf(p, c);
    look.rect = at;
    look.text = c.labelRaw;
    if (!CreateCtrlWindow(p, c, look)) {
        N(c).hwnd = old;
        return;
    }
    SetWindowPos(N(c).hwnd, old, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (focused) SetFocus(N(c).hwnd);
    WinSetAccessibleName(p, c);
    // Its own message may be under way (a callback of it set the mode).
    ShowWindow(old, SW_HIDE);
    if (InDispatch()) PostMessageW(N(p).hwnd, kMsgDestroyLater, 0, reinterpret_cast<LPARAM>(old));
    else DestroyWindow(old);
}

void WinSetMode(Panel &p, Ctrl &c) {
    if (IsEdit(c)) SendMessageW(N(c).hwnd, EM_SETREADONLY, c.mode == VAL_INDICATOR, 0);
    if (c.style == CTRL_TEXT_MSG && !N(c).noLinkClass && IsLink(c) != N(c).link) RemakeTextWindow(p, c);
}

void WinSetTextColor(Panel &, Ctrl &c) { InvalidateRect(N(c).label ? N(c).label : N(c).hwnd, nullptr, TRUE); }

void WinSetUnderline(Panel &, Ctrl &c) {
    SendMessageW(N(c).label ? N(c).label : N(c).hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(c)), TRUE);
}

void WinSetLabel(Panel &, Ctrl &c) { ShowLabel(c); }

void WinRestack(Panel &p) { ApplyZOrder(p); }

void WinFocusCtrl(Panel &, Ctrl &c) {
    if (GetFocus() != N(c).hwnd) SetFocus(N(c).hwnd);
}

// What a screen reader reads of a control. A picture button's window text
// is its name alone, never drawn (owner-drawn, winpicture.cpp). Any other control's
// name is given to Windows' accessibility as a dynamic annotation of its
// window (IAccPropServices::SetHwndPropStr, PROPID_ACC_NAME), the road
// Windows documents for naming a standard control otherwise than by the
// text it draws: a command button or a text draws its label, and an edit
// or a list has no text of its own to be named by.
void WinSetAccessibleName(Panel &, Ctrl &c) {
    const std::wstring name = WideFromAnsi(uicore::AccessibleName(c).c_str());
    if (c.style == CTRL_PICTURE_COMMAND_BUTTON) {
        const int n = GetWindowTextLengthW(N(c).hwnd);
        std::wstring now(static_cast<size_t>(n) + 1, L'\0');
        GetWindowTextW(N(c).hwnd, now.data(), n + 1);
        now.resize(static_cast<size_t>(n));
        if (now != name) SetWindowTextW(N(c).hwnd, name.c_str());
        return;
    }
    if (IAccPropServices *s = Annotations())
        s->SetHwndPropStr(N(c).hwnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, PROPID_ACC_NAME, name.c_str());
}

// The size a text message's text, or a label's apart, asks for in its
// font, in logical pixels rounded up, with one to spare: a font is hinted
// to each DPI's pixels, and a text measured at one DPI may be a pixel
// wider at another.
uicore::Size WinTextSize(const Panel &, const Ctrl &c, bool label, int width) {
    HWND w = label ? N(c).label : N(c).hwnd;
    // A link's window text is its markup: the text it shows is the label.
    std::wstring text = label ? std::wstring() : WideFromAnsi(c.labelRaw.c_str());
    if (label) {
        text.resize(static_cast<size_t>(GetWindowTextLengthW(w)) + 1);
        GetWindowTextW(w, text.data(), static_cast<int>(text.size()));
    }
    const int n = static_cast<int>(wcslen(text.c_str()));
    RECT r = {0, 0, width > 0 ? Px(c, width) : 0x7FFF, 0};
    HDC dc = GetDC(w);
    HGDIOBJ old = SelectObject(dc, FontOf(c));
    // A label apart shows its shortcut's "&" as an underline, a text
    // message its text as it is.
    DrawTextW(dc, text.c_str(), n, &r, DT_CALCRECT | (width > 0 ? DT_WORDBREAK : 0) | (label ? 0 : DT_NOPREFIX));
    SelectObject(dc, old);
    ReleaseDC(w, dc);
    const auto up = [&](int px) { return (px * 96 + N(c).dpi - 1) / N(c).dpi + 1; };
    return {width > 0 ? width : up(r.right), up(r.bottom)};
}

void WinTextBoxMetrics(const Ctrl &c, int *lineHeight, int *chrome) {
    *lineHeight = Lg(c, LineHeight(c));
    *chrome = Lg(c, TextBoxChrome(c));
}

std::string WinEditWindowText(const Ctrl &c) { return WindowAnsi(N(c).hwnd); }

void WinSetEditWindowText(Ctrl &c) {
    // The same text again: no repaint.
    if (WindowAnsi(N(c).hwnd) != c.textRaw) SetWindowTextW(N(c).hwnd, EditText(c.textRaw).c_str());
}

int WinNumericValue(const Ctrl &c) { return std::atoi(WindowAnsi(N(c).hwnd).c_str()); }

void WinSetNumericValue(Ctrl &c, int value) {
    SetWindowTextW(N(c).hwnd, std::to_wstring(value).c_str());
}

// The list's selection, asked of the window only when the record's changed
// (a sorted fill of 990 items selects at every insertion, and a window
// message costs µs under Wine).
void WinRingSelect(Ctrl &c) {
    if (N(c).shown == c.current) return;
    SendMessageW(N(c).hwnd, CB_SETCURSEL, c.current, 0);
    N(c).shown = c.current;
}

void WinRingInsert(Ctrl &c, int index) {
    SendMessageW(N(c).hwnd, CB_INSERTSTRING, index,
                 reinterpret_cast<LPARAM>(WideFromAnsi(c.items[static_cast<size_t>(index)].label.c_str()).c_str()));
    if (N(c).shown >= index) ++N(c).shown;   // the list keeps its selection on the same item
}

void WinRingReplace(Ctrl &c, int index) {
    SendMessageW(N(c).hwnd, CB_DELETESTRING, index, 0);
    SendMessageW(N(c).hwnd, CB_INSERTSTRING, index,
                 reinterpret_cast<LPARAM>(WideFromAnsi(c.items[static_cast<size_t>(index)].label.c_str()).c_str()));
    if (N(c).shown == index) {   // the selection went with the item
        N(c).shown = -2;
        WinRingSelect(c);
    }
}

void WinRingDelete(Ctrl &c, int index, int count) {
    if (index == 0 && count == static_cast<int>(SendMessageW(N(c).hwnd, CB_GETCOUNT, 0, 0))) {
        SendMessageW(N(c).hwnd, CB_RESETCONTENT, 0, 0);
    } else {
        for (int i = index + count - 1; i >= index; --i) SendMessageW(N(c).hwnd, CB_DELETESTRING, i, 0);
    }
    N(c).shown = -2;   // unknown: the list chose for itself
}

// The control's window as its record and look say, with a ring's items
// and a picture's bitmap; UIE_SYSTEM when Windows refuses the window.
int WinMakeCtrl(Panel &p, Ctrl &c, const uicore::CtrlLook &look) {
    c.native = std::make_unique<WinCtrl>();
    N(c).bold = look.bold;
    N(c).pointSize = look.pointSize;
    N(c).fillColor = look.fillColor;
    if (!CreateCtrlWindow(p, c, look)) return UIE_SYSTEM;
    for (int i = 0; i < static_cast<int>(c.items.size()); ++i) WinRingInsert(c, i);
    if (c.style == CTRL_RING) WinRingSelect(c);
    if (!look.picture.key.empty()) AttachPicture(c, look.picture);
    return 0;
}

// A label drawn apart: bold when it or its control is.
void WinMakeLabel(Panel &p, Ctrl &c, const uicore::CtrlLook &look) {
    N(c).bold = look.bold || N(c).bold;
    MakeLabelWindow(p, c, look);
}

void FillCtrlEntries(uicore::Driver &d) {
    d.makeCtrl = WinMakeCtrl;
    d.makeLabel = WinMakeLabel;
    d.ctrlRect = WinCtrlRectOf;
    d.labelRect = WinLabelRectOf;
    d.placeCtrl = WinPlaceCtrl;
    d.placeLabel = WinPlaceLabel;
    d.showCtrl = WinShowCtrl;
    d.enableCtrl = WinEnableCtrl;
    d.setMode = WinSetMode;
    d.setTextColor = WinSetTextColor;
    d.setUnderline = WinSetUnderline;
    d.setLabel = WinSetLabel;
    d.restack = WinRestack;
    d.focusCtrl = WinFocusCtrl;
    d.setAccessibleName = WinSetAccessibleName;
    d.textBoxMetrics = WinTextBoxMetrics;
    d.textSize = WinTextSize;
    d.editText = WinEditWindowText;
    d.setEditText = WinSetEditWindowText;
    d.numericValue = WinNumericValue;
    d.setNumericValue = WinSetNumericValue;
    d.ringInsert = WinRingInsert;
    d.ringReplace = WinRingReplace;
    d.ringDelete = WinRingDelete;
    d.ringSelect = WinRingSelect;
}

}  // namespace uiwin
