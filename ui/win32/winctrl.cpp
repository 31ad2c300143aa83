// winctrl.cpp: the controls of the Win32 backend: their windows (standard
// controls of user32 and comctl32), fonts, attributes, values and list items.
//
// Exports (ui/userint.h): NewCtrlAnsi, the control
// attribute functions, GetCtrlBoundingRect, the value functions,
// ResetTextBoxAnsi and the list functions; (ui/win32/winprivate.h):
// CreateCtrlWindow, FontOf, ApplyDimmed, ApplyZOrder.
//
// Data model: each kind of control is one standard window class: command
// and picture buttons BUTTON, rings a drop-down-list COMBOBOX (the items'
// values kept in the record, Ctrl::items), text messages, pictures and
// decorations STATIC, text boxes, strings and numerics EDIT. Every control window is
// subclassed so that its mouse messages reach the panel's callbacks and its
// cursor follows SetMouseCursor. Texts a control keeps as they were set
// (labels, text messages) are read back from the record, byte for byte; the
// texts the user may edit are read from the window. A text box's line
// breaks are "\r\n" in the window and "\n" for the caller.
//
// State (file level): g_fonts, the fonts made so far, by (bold, underline,
// size); they live for the whole run.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <tuple>

#include "ui/core/uiattr.h"
#include "ui/core/uicallback.h"
#include "ui/win32/winprivate.h"
#include "ui/win32/wintext.h"

namespace uiwin {

static std::map<std::tuple<bool, bool, int>, HFONT> g_fonts;

// The panels' font (as Qt's default one on Linux: 9 points), bold,
// underlined or of another size as the control asks.
HFONT FontOf(const Ctrl &c) {
    const int size = N(c).pointSize > 0 ? N(c).pointSize : 9;
    const auto key = std::make_tuple(N(c).bold, c.underline, size);
    auto it = g_fonts.find(key);
    if (it != g_fonts.end()) return it->second;
    LOGFONTW lf = {};
    lf.lfHeight = -MulDiv(size, Dpi(), 72);
    lf.lfWeight = N(c).bold ? FW_BOLD : FW_NORMAL;
    lf.lfUnderline = c.underline ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = CLEARTYPE_QUALITY;
    lstrcpyW(lf.lfFaceName, L"Tahoma");
    HFONT font = CreateFontIndirectW(&lf);
    g_fonts[key] = font;
    return font;
}

// True for a command or picture button's own window.
static bool IsButtonWindow(HWND hwnd) {
    Panel *p = PanelOfWindow(hwnd);
    Ctrl *c = p ? FindCtrl(p, GetDlgCtrlID(hwnd)) : nullptr;
    return c && N(*c).hwnd == hwnd && (c->style == CTRL_COMMAND_BUTTON || c->style == CTRL_PICTURE_COMMAND_BUTTON);
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
    return c && N(*c).hwnd == hwnd && c->mode == VAL_INDICATOR &&
           (c->style == CTRL_COMMAND_BUTTON || c->style == CTRL_PICTURE_COMMAND_BUTTON || c->style == CTRL_RING);
}

static LRESULT CALLBACK CtrlSubclass(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (MouseMessage(hwnd, msg, lParam) && msg == WM_SETCURSOR) return TRUE;
    if (SwallowedInput(hwnd, msg)) return 0;
    // Enter presses the focused button, as Space does (the poll keeps Enter
    // from the dialog manager, which would press the IDOK control instead).
    if (msg == WM_KEYDOWN && wParam == VK_RETURN && IsButtonWindow(hwnd)) {
        SendMessageW(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), BN_CLICKED),
                     reinterpret_cast<LPARAM>(hwnd));
        return 0;
    }
    if (msg == WM_RBUTTONDOWN && RightClick(hwnd, lParam)) return 0;
    return DefSubclassProc(hwnd, msg, wParam, lParam);
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
    return (w.bottom - w.top) - cl.bottom + Px(2);
}

// The height of a text box that shows that many whole lines.
static int TextBoxHeight(const Ctrl &c, int lines) { return lines * LineHeight(c) + TextBoxChrome(c); }

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

// The text a button or text message shows for its label.
static void ShowLabel(Ctrl &c) {
    if (N(c).label) {
        SetWindowTextW(N(c).label, WideLabel(c.labelRaw.c_str()).c_str());
        FitLabel(c);
    } else if (IsButton(c)) SetWindowTextW(N(c).hwnd, WideLabel(c.labelRaw.c_str()).c_str());
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

bool CreateCtrlWindow(Panel &p, Ctrl &c, const RECT &r, const std::string &text,
                      const std::string &align, bool wordWrap, bool readOnly, bool frameless,
                      bool noScrollBar) {
    const wchar_t *windowClass = nullptr;
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    DWORD ex = 0;
    int height = Px(r.bottom - r.top);
    std::wstring initial;
    const bool right = align.find("AlignRight") != std::string::npos;
    const bool centre = align.find("AlignHCenter") != std::string::npos;
    switch (c.style) {
    case CTRL_COMMAND_BUTTON:
    case CTRL_PICTURE_COMMAND_BUTTON:
        windowClass = L"BUTTON";
        style |= BS_PUSHBUTTON | WS_TABSTOP;
        c.labelRaw = text;
        initial = WideLabel(text.c_str());
        break;
    case CTRL_RING:
        windowClass = L"COMBOBOX";
        style |= CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
        height += Px(240);   // room for the dropped list
        break;
    case CTRL_TEXT_MSG:
        windowClass = L"STATIC";
        style |= SS_NOPREFIX | SS_NOTIFY | (right ? SS_RIGHT : centre ? SS_CENTER : SS_LEFT);
        if (!wordWrap && align.find("AlignVCenter") != std::string::npos) style |= SS_CENTERIMAGE;
        c.labelRaw = text;
        initial = WideFromAnsi(text.c_str());
        break;
    case CTRL_TEXT_BOX:
        windowClass = L"EDIT";
        style |= ES_MULTILINE | ES_AUTOVSCROLL | (noScrollBar ? 0 : WS_VSCROLL) | (readOnly ? ES_READONLY : 0);
        ex = frameless ? 0 : WS_EX_CLIENTEDGE;
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
    N(c).hwnd = CreateWindowExW(ex, windowClass, initial.c_str(), style, Px(r.left), Px(r.top), Px(r.right - r.left), height,
                             N(p).hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)),
                             GetModuleHandleW(nullptr), nullptr);
    if (!N(c).hwnd) return false;
    SendMessageW(N(c).hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(c)), FALSE);
    if (c.style == CTRL_RING) CentreRing(p, c, Px(r.top), Px(r.bottom - r.top));
    // Only the user's edits count as such (Wine marks an edit control made
    // with its text as modified).
    if (IsEdit(c)) SendMessageW(N(c).hwnd, EM_SETMODIFY, FALSE, 0);
    SetWindowSubclass(N(c).hwnd, CtrlSubclass, 1, 0);
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

static void ApplyVisible(Ctrl &c) {
    ShowWindow(N(c).hwnd, c.visible ? SW_SHOWNA : SW_HIDE);
    if (N(c).label) ShowWindow(N(c).label, c.visible && c.labelVisible ? SW_SHOWNA : SW_HIDE);
}

// Copies text and a terminating zero into out (1024 bytes). 0, or
// UIE_BUFFER_TOO_SMALL when it was cut to 1023 bytes.
static int CopyOut(const std::string &text, char *out) {
    const size_t n = std::min<size_t>(text.size(), 1023);
    text.copy(out, n);
    out[n] = '\0';
    return n == text.size() ? 0 : UIE_BUFFER_TOO_SMALL;
}

static Ctrl *CtrlFor(int panel, int control, Panel **owner, int *status) {
    *status = 0;
    if (!Ready()) { *status = UIE_NOT_INITIALIZED; return nullptr; }
    Panel *p = FindPanel(panel);
    if (!p) { *status = UIE_BAD_PANEL; return nullptr; }
    Ctrl *c = FindCtrl(p, control);
    if (!c) { *status = UIE_BAD_CONTROL; return nullptr; }
    if (owner) *owner = p;
    return c;
}

// As CtrlFor, also failing with UIE_BAD_ATTRIBUTE for an attribute that is
// not one of a control's.
static Ctrl *CtrlAttrFor(int panel, int control, int attribute, Panel **owner, int *status) {
    Ctrl *c = CtrlFor(panel, control, owner, status);
    if (c && !uicore::IsAttrOfStyle(c->style, attribute)) { *status = UIE_BAD_ATTRIBUTE; return nullptr; }
    return c;
}

}  // namespace uiwin

using namespace uiwin;

// The id of the new control (> 0): one above the panel's highest;
// UIE_NOT_INITIALIZED, UIE_BAD_PANEL, UIE_BAD_VALUE (unknown style), UIE_SYSTEM.
int NewCtrlAnsi(int panel, int style, const char *label, int top, int left) {
    if (!Ready()) return UIE_NOT_INITIALIZED;
    Panel *p = FindPanel(panel);
    if (!p) return UIE_BAD_PANEL;
    int id = 1;
    for (auto &c : p->ctrls) id = std::max(id, c->id);
    auto c = std::make_unique<Ctrl>();
    c->native = std::make_unique<WinCtrl>();
    c->id = id + 1;
    c->style = style;
    c->mode = uicore::DefaultCtrlMode(style);
    const bool text = style == CTRL_TEXT_MSG || style == CTRL_DECORATION;
    const RECT r = {left, top, left + (text ? 120 : 100), top + (style == CTRL_TEXT_BOX ? 80 : text ? 20 : 26)};
    if (style < CTRL_COMMAND_BUTTON || style > CTRL_DECORATION) return UIE_BAD_VALUE;
    if (!CreateCtrlWindow(*p, *c, r, label ? label : "", "", false, false)) return UIE_BAD_VALUE;
    if (c->labelRaw.empty() && label) c->labelRaw = label;   // a ring's or a text box's label, as on Qt
    for (auto &k : p->ctrls) ++k->zplane;   // the new one is in front
    p->ctrls.push_back(std::move(c));
    ApplyZOrder(*p);
    return id + 1;
}


// True for the attributes that read or change the control's place. The
// place asks the window (wineserver round trips under Wine), and the
// panels' loops read and set the other attributes at every pass.
static bool NeedsPlace(int attribute) {
    return attribute == ATTR_LEFT || attribute == ATTR_TOP || attribute == ATTR_WIDTH || attribute == ATTR_HEIGHT ||
           attribute == ATTR_VISIBLE_LINES;
}

// Every control attribute setter and getter returns 0, or
// UIE_NOT_INITIALIZED, UIE_BAD_PANEL, UIE_BAD_CONTROL, UIE_BAD_ATTRIBUTE
// (unknown, or not one of this control's kind), UIE_BAD_VALUE (wrong type
// for the attribute or out of range), UIE_BAD_POINTER, UIE_NOT_PERMITTED
// (read-only attribute), as on Qt.
int SetCtrlAttributeAnsi(int panel, int control, int attribute, int value) {
    int status;
    Panel *p = nullptr;
    Ctrl *c = CtrlAttrFor(panel, control, attribute, &p, &status);
    if (!c) return status;
    const int st = uicore::SetCallbackAttribute(c->cb, c->cbData, attribute, value);
    if (st != uicore::kNoCallbackAttribute) return st;
    if (attribute == ATTR_LABEL_TEXT) return UIE_BAD_VALUE;
    const RECT r = NeedsPlace(attribute) ? CtrlRect(*p, *c) : RECT{};
    switch (attribute) {
    case ATTR_CTRL_STYLE:
    case ATTR_NEXT_CTRL: return UIE_NOT_PERMITTED;
    // What the control already shows is not set again: the loops set the
    // same values at every pass, and each change wakes the poll.
    case ATTR_DIMMED:
        if (c->dimmed == (value != 0)) return 0;
        c->dimmed = value != 0;
        ApplyDimmed(*p, *c);
        return 0;
    case ATTR_VISIBLE:
        if (c->visible == (value != 0)) return 0;
        c->visible = value != 0;
        ApplyVisible(*c);
        return 0;
    case ATTR_LABEL_VISIBLE:
        if (c->labelVisible == (value != 0)) return 0;
        c->labelVisible = value != 0;
        ApplyVisible(*c);
        return 0;
    case ATTR_LEFT:
    case ATTR_TOP: {
        const int dx = attribute == ATTR_LEFT ? Px(value) - r.left : 0;
        const int dy = attribute == ATTR_TOP ? Px(value) - r.top : 0;
        if (dx == 0 && dy == 0) return 0;
        SetWindowPos(N(*c).hwnd, nullptr, r.left + dx, r.top + N(*c).padTop + dy, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (N(*c).label) {
            const RECT l = RectInPanel(*p, N(*c).label);
            SetWindowPos(N(*c).label, nullptr, l.left + dx, l.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        return 0;
    }
    case ATTR_WIDTH:
    case ATTR_HEIGHT: {
        if (value < 0) return UIE_BAD_VALUE;
        const int w = attribute == ATTR_WIDTH ? Px(value) : r.right - r.left;
        int h = attribute == ATTR_HEIGHT ? Px(value) : r.bottom - r.top;
        if (c->style == CTRL_RING) h += Px(240);
        if (w == r.right - r.left && h == r.bottom - r.top) return 0;
        SetWindowPos(N(*c).hwnd, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (c->style == CTRL_RING) CentreRing(*p, *c, r.top, h - Px(240));
        return 0;
    }
    case ATTR_ZPLANE_POSITION: {
        const int n = static_cast<int>(p->ctrls.size());
        if (value < 0 || value >= n) return UIE_BAD_VALUE;
        // Moves the control to that plane; the others keep their order.
        std::vector<Ctrl *> order;
        for (auto &k : p->ctrls) order.push_back(k.get());
        std::sort(order.begin(), order.end(), [](Ctrl *a, Ctrl *b) { return a->zplane < b->zplane; });
        order.erase(std::find(order.begin(), order.end(), c));
        order.insert(order.begin() + value, c);
        for (int i = 0; i < n; ++i) order[i]->zplane = i;
        ApplyZOrder(*p);
        return 0;
    }
    case ATTR_CTRL_MODE:
        if (value != VAL_INDICATOR && value != VAL_HOT && value != VAL_NORMAL) return UIE_BAD_VALUE;
        if (c->mode == value) return 0;
        c->mode = value;
        if (IsEdit(*c)) SendMessageW(N(*c).hwnd, EM_SETREADONLY, value == VAL_INDICATOR, 0);
        return 0;
    case ATTR_TEXT_COLOR:
        if (value < 0 || value > 0xFFFFFF) return UIE_BAD_VALUE;
        if (c->textColor == value) return 0;
        c->textColor = value;
        InvalidateRect(N(*c).label ? N(*c).label : N(*c).hwnd, nullptr, TRUE);
        return 0;
    case ATTR_TEXT_UNDERLINE:
        if (c->underline == (value != 0)) return 0;
        c->underline = value != 0;
        SendMessageW(N(*c).label ? N(*c).label : N(*c).hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(*c)), TRUE);
        return 0;
    case ATTR_VISIBLE_LINES:
        if (c->style != CTRL_TEXT_BOX) return UIE_BAD_ATTRIBUTE;
        if (value < 1) return UIE_BAD_VALUE;
        c->visibleLines = value;
        if (r.bottom - r.top == TextBoxHeight(*c, value)) return 0;
        SetWindowPos(N(*c).hwnd, nullptr, 0, 0, r.right - r.left, TextBoxHeight(*c, value),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    default: return UIE_BAD_ATTRIBUTE;
    }
}

int SetCtrlAttributeAnsi(int panel, int control, int attribute, const char *value) {
    int status;
    Ctrl *c = CtrlAttrFor(panel, control, attribute, nullptr, &status);
    if (!c) return status;
    const int st = uicore::SetCallbackAttribute(c->cb, c->cbData, attribute, value);
    if (st != uicore::kNoCallbackAttribute) return st;
    if (attribute != ATTR_LABEL_TEXT) return UIE_BAD_VALUE;
    if (!value) return UIE_BAD_POINTER;
    if (c->labelRaw == value) return 0;
    c->labelRaw = value;
    ShowLabel(*c);
    return 0;
}

int SetCtrlAttributeAnsi(int panel, int control, int attribute, void *value) {
    int status;
    Ctrl *c = CtrlAttrFor(panel, control, attribute, nullptr, &status);
    if (!c) return status;
    const int st = uicore::SetCallbackAttribute(c->cb, c->cbData, attribute, value);
    return st == uicore::kNoCallbackAttribute ? UIE_BAD_VALUE : st;
}

int SetCtrlAttributeAnsi(int panel, int control, int attribute, CtrlCallbackPtr value) {
    int status;
    Ctrl *c = CtrlAttrFor(panel, control, attribute, nullptr, &status);
    if (!c) return status;
    const int st = uicore::SetCallbackAttributeFn(c->cb, attribute, value);
    return st == uicore::kNoCallbackAttribute ? UIE_BAD_VALUE : st;
}

int GetCtrlAttributeAnsi(int panel, int control, int attribute, int *value) {
    int status;
    Panel *p = nullptr;
    Ctrl *c = CtrlAttrFor(panel, control, attribute, &p, &status);
    if (!c) return status;
    if (!value) return UIE_BAD_POINTER;
    if (!uicore::IsCtrlIntAttr(attribute)) return UIE_BAD_VALUE;
    const RECT r = NeedsPlace(attribute) ? CtrlRect(*p, *c) : RECT{};
    switch (attribute) {
    case ATTR_DIMMED: *value = c->dimmed; return 0;
    case ATTR_VISIBLE: *value = c->visible; return 0;
    case ATTR_LABEL_VISIBLE: *value = c->labelVisible; return 0;
    case ATTR_LEFT: *value = Lg(r.left); return 0;
    case ATTR_TOP: *value = Lg(r.top); return 0;
    case ATTR_WIDTH: *value = Lg(r.right) - Lg(r.left); return 0;
    case ATTR_HEIGHT: *value = Lg(r.bottom) - Lg(r.top); return 0;
    case ATTR_ZPLANE_POSITION: *value = c->zplane; return 0;
    case ATTR_CTRL_STYLE: *value = c->style; return 0;
    case ATTR_CTRL_MODE: *value = c->mode; return 0;
    case ATTR_TEXT_COLOR: *value = c->textColor; return 0;
    case ATTR_TEXT_UNDERLINE: *value = c->underline; return 0;
    case ATTR_VISIBLE_LINES:
        if (c->style != CTRL_TEXT_BOX) return UIE_BAD_ATTRIBUTE;
        *value = c->visibleLines > 0 && r.bottom - r.top == TextBoxHeight(*c, c->visibleLines)
                     ? c->visibleLines
                     : std::max(0, static_cast<int>(r.bottom - r.top - TextBoxChrome(*c)) / LineHeight(*c));
        return 0;
    case ATTR_NEXT_CTRL: {
        auto it = std::find_if(p->ctrls.begin(), p->ctrls.end(), [c](auto &k) { return k.get() == c; });
        *value = (it + 1) == p->ctrls.end() ? 0 : (*(it + 1))->id;
        return 0;
    }
    default: return UIE_BAD_ATTRIBUTE;
    }
}

int GetCtrlAttributeAnsi(int panel, int control, int attribute, char *value) {
    int status;
    Ctrl *c = CtrlAttrFor(panel, control, attribute, nullptr, &status);
    if (!c) return status;
    if (!value) return UIE_BAD_POINTER;
    if (attribute != ATTR_LABEL_TEXT) return UIE_BAD_VALUE;
    return CopyOut(c->labelRaw, value);
}

int GetCtrlAttributeAnsi(int panel, int control, int attribute, void **value) {
    int status;
    Ctrl *c = CtrlAttrFor(panel, control, attribute, nullptr, &status);
    if (!c) return status;
    if (!value) return UIE_BAD_POINTER;
    const int st = uicore::GetCallbackAttribute(c->cb, c->cbData, attribute, value);
    return st == uicore::kNoCallbackAttribute ? UIE_BAD_VALUE : st;
}

int GetCtrlAttributeAnsi(int panel, int control, int attribute, CtrlCallbackPtr *value) {
    int status;
    Ctrl *c = CtrlAttrFor(panel, control, attribute, nullptr, &status);
    if (!c) return status;
    if (!value) return UIE_BAD_POINTER;
    const int st = uicore::GetCallbackAttributeFn(c->cb, attribute, value);
    return st == uicore::kNoCallbackAttribute ? UIE_BAD_VALUE : st;
}

// 0 with the control's rectangle, its label drawn apart included.
int GetCtrlBoundingRect(int panel, int control, int *top, int *left, int *height, int *width) {
    int status;
    Panel *p = nullptr;
    Ctrl *c = CtrlFor(panel, control, &p, &status);
    if (!c) return status;
    if (!top || !left || !height || !width) return UIE_BAD_POINTER;
    RECT r = CtrlRect(*p, *c);
    if (N(*c).label && c->labelVisible && !c->labelRaw.empty()) {
        const RECT l = RectInPanel(*p, N(*c).label);
        UnionRect(&r, &r, &l);
    }
    r = LgRect(r);
    *top = r.top;
    *left = r.left;
    *height = r.bottom - r.top;
    *width = r.right - r.left;
    return 0;
}

// ------------------------------------------------------------------ values
int SetCtrlValAnsi(int panel, int control, int value) {
    int status;
    Ctrl *c = CtrlFor(panel, control, nullptr, &status);
    if (!c) return status;
    if (c->style == CTRL_RING) {
        const auto it = std::find(N(*c).items.begin(), N(*c).items.end(), value);
        if (it == N(*c).items.end()) return UIE_VALUE_NOT_FOUND;
        SendMessageW(N(*c).hwnd, CB_SETCURSEL, it - N(*c).items.begin(), 0);
        return 0;
    }
    if (c->style == CTRL_NUMERIC) {
        if (value < N(*c).minimum || value > N(*c).maximum) return UIE_BAD_VALUE;
        SetWindowTextW(N(*c).hwnd, std::to_wstring(value).c_str());
        SendMessageW(N(*c).hwnd, EM_SETMODIFY, FALSE, 0);   // no user's edit
        return 0;
    }
    return UIE_BAD_VALUE;
}

int SetCtrlValAnsi(int panel, int control, const char *value) {
    int status;
    Ctrl *c = CtrlFor(panel, control, nullptr, &status);
    if (!c) return status;
    if (!value) return UIE_BAD_POINTER;
    // The same text again changes nothing and draws nothing: the hover help
    // sets its text at every turn of the panel's loop.
    if (c->style == CTRL_TEXT_MSG) {
        if (c->labelRaw == value) return 0;
        c->labelRaw = value;
        ShowLabel(*c);
        return 0;
    }
    if (IsEdit(*c) && c->style != CTRL_NUMERIC) {
        const std::wstring text = EditText(value);
        if (WindowAnsi(N(*c).hwnd) != value) SetWindowTextW(N(*c).hwnd, text.c_str());   // the same text again: no repaint
        SendMessageW(N(*c).hwnd, EM_SETMODIFY, FALSE, 0);   // no user's edit
        return 0;
    }
    return UIE_BAD_VALUE;
}

int GetCtrlValAnsi(int panel, int control, int *value) {
    int status;
    Ctrl *c = CtrlFor(panel, control, nullptr, &status);
    if (!c) return status;
    if (!value) return UIE_BAD_POINTER;
    if (c->style == CTRL_RING) {
        const LRESULT i = SendMessageW(N(*c).hwnd, CB_GETCURSEL, 0, 0);
        if (i == CB_ERR) return UIE_BAD_INDEX;
        *value = N(*c).items[static_cast<size_t>(i)];
        return 0;
    }
    if (c->style == CTRL_NUMERIC) {
        *value = std::atoi(WindowAnsi(N(*c).hwnd).c_str());
        return 0;
    }
    return UIE_BAD_VALUE;
}

int GetCtrlValAnsi(int panel, int control, char *value) {
    int status;
    Ctrl *c = CtrlFor(panel, control, nullptr, &status);
    if (!c) return status;
    if (!value) return UIE_BAD_POINTER;
    if (c->style == CTRL_TEXT_MSG) return CopyOut(c->labelRaw, value);
    if (IsEdit(*c)) return CopyOut(WindowAnsi(N(*c).hwnd), value);
    return UIE_BAD_VALUE;
}

int ResetTextBoxAnsi(int panel, int control, const char *text) {
    int status;
    Ctrl *c = CtrlFor(panel, control, nullptr, &status);
    if (!c) return status;
    if (c->style != CTRL_TEXT_BOX) return UIE_BAD_ATTRIBUTE;
    if (!text) return UIE_BAD_POINTER;
    return SetCtrlValAnsi(panel, control, text);
}

// ------------------------------------------------------------------- lists
static Ctrl *RingFor(int panel, int control, int *status) {
    Ctrl *c = CtrlFor(panel, control, nullptr, status);
    if (c && c->style != CTRL_RING) {
        *status = UIE_BAD_ATTRIBUTE;   // as on Qt: lists are a ring's
        return nullptr;
    }
    return c;
}

static int Count(const Ctrl &c) { return static_cast<int>(N(c).items.size()); }

int InsertListItemAnsi(int panel, int control, int index, const char *label, int value) {
    int status;
    Ctrl *c = RingFor(panel, control, &status);
    if (!c) return status;
    if (!label) return UIE_BAD_POINTER;
    const int n = Count(*c);
    if (index < -1 || index > n) return UIE_BAD_INDEX;
    const LRESULT at = SendMessageW(N(*c).hwnd, CB_INSERTSTRING, index, reinterpret_cast<LPARAM>(WideFromAnsi(label).c_str()));
    if (at < 0) return UIE_OUT_OF_MEMORY;
    N(*c).items.insert(N(*c).items.begin() + at, value);
    if (SendMessageW(N(*c).hwnd, CB_GETCURSEL, 0, 0) == CB_ERR) SendMessageW(N(*c).hwnd, CB_SETCURSEL, 0, 0);
    return 0;
}

int ReplaceListItemAnsi(int panel, int control, int index, const char *label, int value) {
    int status;
    Ctrl *c = RingFor(panel, control, &status);
    if (!c) return status;
    if (!label) return UIE_BAD_POINTER;
    if (index < 0 || index >= Count(*c)) return UIE_BAD_INDEX;
    const LRESULT current = SendMessageW(N(*c).hwnd, CB_GETCURSEL, 0, 0);
    SendMessageW(N(*c).hwnd, CB_DELETESTRING, index, 0);
    SendMessageW(N(*c).hwnd, CB_INSERTSTRING, index, reinterpret_cast<LPARAM>(WideFromAnsi(label).c_str()));
    N(*c).items[static_cast<size_t>(index)] = value;
    SendMessageW(N(*c).hwnd, CB_SETCURSEL, current, 0);
    return 0;
}

// count -1 deletes to the end; UIE_BAD_INDEX for a range outside the list.
int DeleteListItem(int panel, int control, int index, int count) {
    int status;
    Ctrl *c = RingFor(panel, control, &status);
    if (!c) return status;
    const int n = Count(*c);
    if (n == 0 && index == 0) return 0;   // deleting from an empty list is no fault
    if (index < 0 || index >= n) return UIE_BAD_INDEX;
    if (count == -1) count = n - index;
    if (count < 0 || index + count > n) return UIE_BAD_INDEX;
    if (index == 0 && count == n) SendMessageW(N(*c).hwnd, CB_RESETCONTENT, 0, 0);
    else for (int i = index + count - 1; i >= index; --i) SendMessageW(N(*c).hwnd, CB_DELETESTRING, i, 0);
    N(*c).items.erase(N(*c).items.begin() + index, N(*c).items.begin() + index + count);
    if (Count(*c) > 0 && SendMessageW(N(*c).hwnd, CB_GETCURSEL, 0, 0) == CB_ERR)
        SendMessageW(N(*c).hwnd, CB_SETCURSEL, std::min(index, Count(*c) - 1), 0);
    return 0;
}

int GetNumListItems(int panel, int control, int *count) {
    int status;
    Ctrl *c = RingFor(panel, control, &status);
    if (!c) return status;
    if (!count) return UIE_BAD_POINTER;
    *count = Count(*c);
    return 0;
}

int GetValueFromIndexAnsi(int panel, int control, int index, int *value) {
    int status;
    Ctrl *c = RingFor(panel, control, &status);
    if (!c) return status;
    if (!value) return UIE_BAD_POINTER;
    if (index < 0 || index >= Count(*c)) return UIE_BAD_INDEX;
    *value = N(*c).items[static_cast<size_t>(index)];
    return 0;
}

int GetIndexFromValueAnsi(int panel, int control, int *index, int value) {
    int status;
    Ctrl *c = RingFor(panel, control, &status);
    if (!c) return status;
    if (!index) return UIE_BAD_POINTER;
    const auto it = std::find(N(*c).items.begin(), N(*c).items.end(), value);
    if (it == N(*c).items.end()) return UIE_VALUE_NOT_FOUND;
    *index = static_cast<int>(it - N(*c).items.begin());
    return 0;
}

int GetLabelFromIndexAnsi(int panel, int control, int index, char *label) {
    int status;
    Ctrl *c = RingFor(panel, control, &status);
    if (!c) return status;
    if (!label) return UIE_BAD_POINTER;
    if (index < 0 || index >= Count(*c)) return UIE_BAD_INDEX;
    const LRESULT n = SendMessageW(N(*c).hwnd, CB_GETLBTEXTLEN, index, 0);
    std::wstring wide(static_cast<size_t>(n) + 1, L'\0');
    SendMessageW(N(*c).hwnd, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(wide.data()));
    return CopyOut(AnsiFromWide(wide.c_str(), static_cast<int>(n)), label);
}

int GetCtrlIndex(int panel, int control, int *index) {
    int status;
    Ctrl *c = RingFor(panel, control, &status);
    if (!c) return status;
    if (!index) return UIE_BAD_POINTER;
    const LRESULT i = SendMessageW(N(*c).hwnd, CB_GETCURSEL, 0, 0);
    *index = i == CB_ERR ? -1 : static_cast<int>(i);
    return 0;
}
