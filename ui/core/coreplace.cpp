// coreplace.cpp: where panels go and who owns a popup, for every driver:
// placement on the screen's work area, modal popups, the message popup,
// the popup menu and the clipboard.
//
// Exports (ui/userint.h): SetPanelPos, InstallPopup, GetActivePanel,
// GetScreenSize, MessagePopupAnsi, MessagePopupCopyAnsi,
// UiSetMessagePopupHook, RunPopupMenuAnsi, ClipboardPutTextAnsi; (ui/core/uicore.h): PlacePanel,
// ShowPanel, EndPopup, PopupOwner, PanelFramed.
//
// Placement: a panel's top and left are those of its client area (the
// window without its frame), in the screen for a top-level panel and in
// the parent's client area for a child panel, so what SetPanelPos writes
// reads back unchanged whatever frame the window system adds.
// VAL_AUTO_CENTER centres that coordinate on the work area of the screen of
// the panel it is for (PopupOwner: the one the user works in), else of its
// own screen (in its parent, for a child panel). A top-level panel's
// screen is the one holding its top-left corner (else most of it), so a
// panel opened where another was lies on that one's screen. One whose
// window, frame included, would not lie inside that screen's work area is
// moved just enough to lie there (onto the area's top-left corner when it
// is larger); one that fits stays exactly where asked, so a panel can never
// be opened out of the user's reach. Where the driver scales (Win32), a
// panel too large for its screen at the screen's scale is laid out at the
// highest scale at which it fits whole, never below 100 % (Panel::fitDpi),
// so that every control stays within reach of the mouse.
//
// Popups: a popup is modal while it is shown (other panels take no input),
// also when it is hidden and shown again through ATTR_VISIBLE; HidePanel
// and DiscardPanel end it. Its window is owned by the panel it blocks, so
// that no window system leaves it behind that panel.
//
// State, touched only from the user-interface thread:
// g_frame: the frame the window system last put round a titled top-level
//   panel; a panel whose frame is not known yet (its frameMargins not known yet) is
//   placed with it, and kept on its screen again once framed.
// g_hook: MessagePopupAnsi's test hook, null when none.
#include <algorithm>
#include <cassert>

#include <string>

#include "ui/core/uicore.h"
#include "ui/core/corecursor.h"

namespace uicore {

static Margins g_frame;
static UiMessagePopupHook g_hook = nullptr;

// The frame round a panel's client area: a child panel and a panel without
// title bar have none.
static Margins FrameOf(const Panel &p) {
    if (p.parent != 0 || !p.titleBar) return {};
    Margins m;
    if (Drv().frameMargins && Drv().frameMargins(p, &m)) g_frame = m;
    return g_frame;
}

// The shift that brings [lo, lo + len) inside [areaLo, areaLo + areaLen):
// none when it lies inside, the least one otherwise, and onto areaLo when
// it is longer than the area.
static int ShiftInto(int lo, int len, int areaLo, int areaLen) {
    if (len > areaLen || lo < areaLo) return areaLo - lo;
    if (lo + len > areaLo + areaLen) return areaLo + areaLen - (lo + len);
    return 0;
}

static long Overlap(const Rect &a, const Rect &b) {
    const long w = std::min(a.x + a.width, b.x + b.width) - std::max(a.x, b.x);
    const long h = std::min(a.y + a.height, b.y + b.height) - std::max(a.y, b.y);
    return w > 0 && h > 0 ? w * h : 0;
}

// How far the point lies from the rectangle (0 inside), squared.
static long Distance2(int x, int y, const Rect &r) {
    const long dx = x < r.x ? r.x - x : x >= r.x + r.width ? x - (r.x + r.width - 1) : 0;
    const long dy = y < r.y ? r.y - y : y >= r.y + r.height ? y - (r.y + r.height - 1) : 0;
    return dx * dx + dy * dy;
}

size_t AreaAt(const std::vector<Rect> &areas, int x, int y) {
    assert(!areas.empty() && "a point is looked for among some areas");
    size_t best = 0;
    long nearest = -1;
    for (size_t i = 0; i < areas.size(); ++i) {
        const long d = Distance2(x, y, areas[i]);
        if (nearest < 0 || d < nearest) nearest = d, best = i;
    }
    return best;
}

// The screen of a top-level panel whose client area is client (frame m):
// the one holding the client area's top-left corner, so that a panel put
// where another one was opens on that one's screen even when it reaches
// onto the next; else the one holding most of its window; else the nearest.
static Screen ScreenOf(const Rect &client, const Margins &m) {
    const std::vector<Screen> all = Drv().screens();
    assert(!all.empty() && "a driver reports at least one screen");
    for (const Screen &s : all)
        if (Distance2(client.x, client.y, s.area) == 0) return s;
    const Rect outer = {client.x - m.left, client.y - m.top, client.width + m.left + m.right,
                        client.height + m.top + m.bottom};
    const Screen *best = &all.front();
    long most = 0;
    for (const Screen &s : all) {
        const long o = Overlap(outer, s.area);
        if (o > most) most = o, best = &s;
    }
    if (most > 0) return *best;
    std::vector<Rect> areas;
    for (const Screen &s : all) areas.push_back(s.area);
    return all[AreaAt(areas, client.x, client.y)];
}

// The DPI a panel of that client size (frame m) is laid out at on screen
// s: the screen's own when its window fits on the work area there, else
// the highest at which it fits whole, never below 96 (100 %). The frame is
// the screen's, whatever scale the panel's inside takes.
static int FitDpi(const Rect &client, const Margins &m, const Screen &s) {
    const long roomW = s.work.width - m.left - m.right, roomH = s.work.height - m.top - m.bottom;
    if (client.width <= roomW && client.height <= roomH) return s.dpi;
    const long byW = client.width > 0 ? roomW * s.dpi / client.width : s.dpi;
    const long byH = client.height > 0 ? roomH * s.dpi / client.height : s.dpi;
    return static_cast<int>(std::max(96L, std::min({static_cast<long>(s.dpi), byW, byH})));
}

// The client area's size on screen s at that DPI, in the screen's logical
// pixels.
static int OnScreenSize(int size, int dpi, const Screen &s) {
    return static_cast<int>(static_cast<long long>(size) * dpi / s.dpi);
}

// The client rectangle of a top-level panel moved just enough for its
// window to lie on the work area of its screen, and the scale it takes
// there (p.fitDpi); a child panel's as given.
static Rect OnScreen(Panel &p, Rect client) {
    if (p.parent != 0) return client;
    const Margins m = FrameOf(p);
    const Screen s = ScreenOf(client, m);
    const int dpi = FitDpi(client, m, s);
    p.fitDpi = dpi < s.dpi ? dpi : 0;
    const Rect outer = {client.x - m.left, client.y - m.top, OnScreenSize(client.width, dpi, s) + m.left + m.right,
                        OnScreenSize(client.height, dpi, s) + m.top + m.bottom};
    client.x += ShiftInto(outer.x, outer.width, s.work.x, s.work.width);
    client.y += ShiftInto(outer.y, outer.height, s.work.y, s.work.height);
    return client;
}

// Applies the place (and scale) a panel should have, when it differs from
// what its window has.
static void Apply(Panel &p, const Rect &asked) {
    const int fitBefore = p.fitDpi;
    const Rect target = OnScreen(p, asked);
    if (target != Drv().panelRect(p) || p.fitDpi != fitBefore) Drv().setPanelRect(p, target);
}

void PlacePanel(Panel &p, int top, int left, int height, int width) {
    const Driver &d = Drv();
    Rect area;
    Margins m;
    int w = width, h = height;
    if (p.parent != 0) {
        const Rect parent = d.panelRect(*FindPanel(p.parent));
        area = {0, 0, parent.width, parent.height};
    } else if (left == VAL_AUTO_CENTER || top == VAL_AUTO_CENTER) {
        // Centred on the screen of the panel it is for (a popup's owner),
        // which need not be the primary one; else on its own screen.
        m = FrameOf(p);
        const Panel *owner = PopupOwner(p.handle);
        const Screen s = owner ? ScreenOf(d.panelRect(*owner), FrameOf(*owner)) : ScreenOf(d.panelRect(p), m);
        const int dpi = FitDpi({0, 0, width, height}, m, s);
        area = s.work;
        w = OnScreenSize(width, dpi, s);
        h = OnScreenSize(height, dpi, s);
    }
    // One too large to be centred starts at the area's corner, on the same
    // screen.
    if (left == VAL_AUTO_CENTER) left = std::max(area.x + m.left, area.x + (area.width - w) / 2);
    if (top == VAL_AUTO_CENTER) top = std::max(area.y + m.top, area.y + (area.height - h) / 2);
    p.asked = {left, top, width, height};
    Apply(p, p.asked);
}

void PanelFramed(int panel) {
    Panel *p = FindPanel(panel);
    if (!p || !p->visible) return;
    // Placed from where it was asked rather than from where the window is
    // now: while a window manager frames a window, the place it reports can
    // be the window's place inside the new frame, near the top-left corner.
    const Rect now = Drv().panelRect(*p);
    Apply(*p, {p->asked.x, p->asked.y, now.width, now.height});
}

void ShowPanel(Panel &p, bool visible, bool activate) {
    const Driver &d = Drv();
    // Where the user left it is where it comes back.
    if (!visible && p.visible && p.parent == 0) {
        const Rect now = d.panelRect(p);
        p.asked.x = now.x;
        p.asked.y = now.y;
    }
    p.visible = visible;
    // Other panels are blocked before a popup shows, and freed before it
    // hides: the window system gives the activation, as the popup goes, to
    // its owner only while that one takes input, else to whatever window
    // comes next (the browser the user went to meanwhile, say).
    if (p.popup && d.setModal) d.setModal(p, visible);
    d.showPanel(p, activate);
    // A panel the user is to work in has a control to type at, shown as
    // such when the user is at the keyboard.
    if (visible && activate && KeyboardLast()) ShowCues(p, true, false);
    if (visible && activate) RestoreFocus(p);
}

void EndPopup(Panel &p) {
    if (!p.popup) return;
    p.popup = false;
    if (Drv().setPopup) Drv().setPopup(p, nullptr);
}

Panel *PopupOwner(int except) {
    Panel *o = FindPanel(Drv().activePanel());
    while (o && o->parent) o = FindPanel(o->parent);
    if (o && o->handle != except && o->visible) return o;
    // The newest visible top-level panel: the one the user was working in.
    const std::vector<int> handles = PanelHandles();
    for (auto it = handles.rbegin(); it != handles.rend(); ++it) {
        Panel *c = FindPanel(*it);
        if (c && c->parent == 0 && *it != except && c->visible) return c;
    }
    return nullptr;
}

}  // namespace uicore

using namespace uicore;

// 0; UIE_NOT_INITIALIZED, UIE_BAD_PANEL. VAL_AUTO_CENTER centres that
// coordinate (on the screen, or in the parent panel).
int SetPanelPos(int panel, int top, int left) {
    if (!Ready()) return UIE_NOT_INITIALIZED;
    Panel *p = FindPanel(panel);
    if (!p) return UIE_BAD_PANEL;
    const Rect r = Drv().panelRect(*p);
    PlacePanel(*p, top, left, r.height, r.width);
    return 0;
}

// 0; UIE_NOT_INITIALIZED, UIE_BAD_PANEL, UIE_NOT_PERMITTED (child panel).
// Shows the panel modally: other panels take no input until it is hidden
// or discarded. Its window is owned by the panel it blocks.
int InstallPopup(int panel) {
    if (!Ready()) return UIE_NOT_INITIALIZED;
    Panel *p = FindPanel(panel);
    if (!p) return UIE_BAD_PANEL;
    if (p->parent != 0) return UIE_NOT_PERMITTED;
    if (!p->popup) {
        const Panel *owner = PopupOwner(panel);
        p->popup = true;
        if (Drv().setPopup) Drv().setPopup(*p, owner);
    }
    ShowPanel(*p, true, true);
    return 0;
}

// The handle of the panel whose window is active (the innermost child panel
// holding the focus within it), 0 when no panel's window is active or the
// run-time has not started.
int GetActivePanel(void) { return Ready() ? Drv().activePanel() : 0; }

// 0 with the primary screen's size (logical pixels); UIE_NOT_INITIALIZED,
// UIE_BAD_POINTER.
int GetScreenSize(int *height, int *width) {
    if (!Ready()) return UIE_NOT_INITIALIZED;
    if (!height || !width) return UIE_BAD_POINTER;
    const Rect area = Drv().screens().front().area;
    *height = area.height;
    *width = area.width;
    return 0;
}

void UiSetMessagePopupHook(UiMessagePopupHook hook) { g_hook = hook; }

// 0 once the user has pressed OK (or the hook has run); UIE_NOT_INITIALIZED,
// UIE_BAD_POINTER. The dialog is modal and owned by the panel it blocks;
// the layer's own cursors are off while it is up.
int MessagePopupAnsi(const char *title, const char *message) {
    if (!Ready()) return UIE_NOT_INITIALIZED;
    if (!title || !message) return UIE_BAD_POINTER;
    if (g_hook) {
        g_hook(title, message);
        return 0;
    }
    const Panel *owner = PopupOwner(0);
    DispatchGuard inside;   // a nested event loop runs: windows go later
    SuspendCursor(true);
    if (Drv().messageBox) Drv().messageBox(title, message, owner);
    SuspendCursor(false);
    return 0;
}

// The number (1 to count) of the item the user chose, 0 when the menu was
// left without a choice; UIE_NOT_INITIALIZED, UIE_BAD_POINTER (no items, or
// a null one), UIE_BAD_VALUE (count below 1), the driver's UIE_SYSTEM. A
// driver without menus leaves it without a choice.
// Shown at the mouse pointer, or under the control whose menu the keyboard
// asked for; the layer's own cursors are off while it is up.
int RunPopupMenuAnsi(const char *const items[], int count) {
    if (!Ready()) return UIE_NOT_INITIALIZED;
    if (!items) return UIE_BAD_POINTER;
    if (count < 1) return UIE_BAD_VALUE;
    for (int i = 0; i < count; ++i)
        if (!items[i]) return UIE_BAD_POINTER;
    int anchorPanel = 0;
    const Rect *at = MenuAnchor(&anchorPanel);
    const Panel *owner = at ? FindPanel(anchorPanel) : PopupOwner(0);
    DispatchGuard inside;   // a nested event loop runs: windows go later
    SuspendCursor(true);
    const int chosen = Drv().popupMenu ? Drv().popupMenu(items, count, owner, at) : 0;
    SuspendCursor(false);
    return chosen;
}

// 0 once text is the clipboard's; UIE_NOT_INITIALIZED, UIE_BAD_POINTER,
// the driver's UIE_OUT_OF_MEMORY and UIE_SYSTEM (the clipboard refused, or
// the driver has none).
int ClipboardPutTextAnsi(const char *text) {
    if (!Ready()) return UIE_NOT_INITIALIZED;
    if (!text) return UIE_BAD_POINTER;
    return Drv().clipboardPut ? Drv().clipboardPut(text, PopupOwner(0)) : UIE_SYSTEM;
}

// The popup of MessagePopupCopyAnsi, made of the layer's own panel and
// controls so that it is the same on every driver: the message in a
// read-only box, the text in a read-only field the user can select, a line
// for the copy's outcome, the copy button, then OK at the right.
static int NewCopyPopup(const char *title, const char *message, const char *text, const char *copyLabel) {
    constexpr int kWidth = 520, kMargin = 12, kButtonHeight = 28;
    const int popup = NewPanelAnsi(0, title, VAL_AUTO_CENTER, VAL_AUTO_CENTER, 100, kWidth);
    if (popup < 0) return popup;
    auto place = [popup](int id, int top, int left, int width, int height) {
        SetCtrlAttributeAnsi(popup, id, ATTR_TOP, top);
        SetCtrlAttributeAnsi(popup, id, ATTR_LEFT, left);
        SetCtrlAttributeAnsi(popup, id, ATTR_WIDTH, width);
        if (height > 0) SetCtrlAttributeAnsi(popup, id, ATTR_HEIGHT, height);
    };
    auto bottom = [popup](int id) {
        int top = 0, height = 0;
        GetCtrlAttributeAnsi(popup, id, ATTR_TOP, &top);
        GetCtrlAttributeAnsi(popup, id, ATTR_HEIGHT, &height);
        return top + height;
    };
    const int inner = kWidth - 2 * kMargin;
    const int box = NewCtrlAnsi(popup, CTRL_TEXT_BOX, "", kMargin, kMargin);
    const int field = NewCtrlAnsi(popup, CTRL_STRING, "", 0, kMargin);
    const int status = NewCtrlAnsi(popup, CTRL_TEXT_MSG, "", 0, kMargin);
    const int copy = NewCtrlAnsi(popup, CTRL_COMMAND_BUTTON, copyLabel, 0, 0);
    const int ok = NewCtrlAnsi(popup, CTRL_COMMAND_BUTTON, "OK", 0, 0);
    const bool made = box == UI_COPY_POPUP_MESSAGE && field == UI_COPY_POPUP_TEXT && status == UI_COPY_POPUP_STATUS &&
                      copy == UI_COPY_POPUP_COPY && ok == UI_COPY_POPUP_OK;
    if (!made) {
        DiscardPanel(popup);
        return UIE_SYSTEM;
    }
    SetCtrlAttributeAnsi(popup, box, ATTR_CTRL_MODE, VAL_INDICATOR);
    SetCtrlAttributeAnsi(popup, field, ATTR_CTRL_MODE, VAL_INDICATOR);
    SetCtrlAttributeAnsi(popup, box, ATTR_LABEL_VISIBLE, 0);
    SetCtrlAttributeAnsi(popup, field, ATTR_LABEL_VISIBLE, 0);
    place(box, kMargin, kMargin, inner, 0);
    SetCtrlAttributeAnsi(popup, box, ATTR_VISIBLE_LINES, 6);
    ResetTextBoxAnsi(popup, box, message);
    place(field, bottom(box) + 8, kMargin, inner, 24);
    SetCtrlValAnsi(popup, field, text);
    place(status, bottom(field) + 6, kMargin, inner, 20);
    const int buttons = bottom(status) + 8;
    place(ok, buttons, kWidth - kMargin - 90, 90, kButtonHeight);
    place(copy, buttons, kWidth - kMargin - 90 - 8 - 150, 150, kButtonHeight);
    SetPanelAttributeAnsi(popup, ATTR_HEIGHT, buttons + kButtonHeight + kMargin);
    SetPanelAttributeAnsi(popup, ATTR_ESCAPE_CTRL, ok);
    FindPanel(popup)->closeCtrl = ok;
    SetPanelPos(popup, VAL_AUTO_CENTER, VAL_AUTO_CENTER);
    return popup;
}

// 0 once the user has pressed OK (or Escape, or the close box), or the hook
// has run (with the message and the text as one); UIE_NOT_INITIALIZED,
// UIE_BAD_POINTER, UIE_SYSTEM (the popup cannot be made). Modal, owned by
// the panel it blocks; the layer's own cursors are off while it is up.
int MessagePopupCopyAnsi(const char *title, const char *message, const char *text, const char *copyLabel,
                         const char *copied, const char *copyFailed) {
    if (!Ready()) return UIE_NOT_INITIALIZED;
    if (!title || !message || !text || !copyLabel || !copied || !copyFailed) return UIE_BAD_POINTER;
    if (g_hook) {
        g_hook(title, (std::string(message) + "\n\n" + text).c_str());
        return 0;
    }
    const int popup = NewCopyPopup(title, message, text, copyLabel);
    if (popup < 0) return popup;
    SuspendCursor(true);
    InstallPopup(popup);
    SetActiveCtrl(popup, UI_COPY_POPUP_OK);
    for (;;) {
        int panel = 0, control = 0;
        const int event = GetUserEvent(0, &panel, &control);
        if (event < 0) break;   // no more events: nothing could end the popup
        if (event != EVENT_COMMIT || panel != popup) continue;
        if (control == UI_COPY_POPUP_OK) break;
        if (control == UI_COPY_POPUP_COPY)
            SetCtrlValAnsi(popup, UI_COPY_POPUP_STATUS, ClipboardPutTextAnsi(text) < 0 ? copyFailed : copied);
    }
    DiscardPanel(popup);
    SuspendCursor(false);
    return 0;
}
