// corefocus.cpp: the keyboard and the screen readers, for every driver:
// what each key means (one rule per key, InputKey), when an edit commits,
// the order Tab follows, the focus a panel gives back when it opens or is
// active again, and the name of each control.
//
// Exports (ui/userint.h): GetActiveCtrl, SetActiveCtrl; (ui/core/uicore.h):
// InputKey, InputFocusLost, TakesFocus, TabOrder, InputFocus,
// PanelActivated, RestoreFocus, AccessibleName.
//
// Data model. The order is computed from the controls' places each time it
// is asked (the program moves and shows controls as it goes), never from
// the window system's own chain: Windows follows the windows' z-order and
// Qt the order of creation, neither of which reads as the panel does. Each
// panel remembers the control that had the focus last (Panel::focus), as
// the driver reports it, so that the focus comes back there; a driver only
// reports keys and focus changes and gives the focus where it is told.
//
// State: none beyond the records.
#include <algorithm>

#include "ui/core/textcodec.h"
#include "ui/core/uicore.h"

namespace uicore {

bool TakesFocus(const Panel &p, const Ctrl &c) {
    if (!c.visible || !CtrlEnabled(p, c) || c.mode == VAL_INDICATOR) return false;
    switch (c.style) {
    case CTRL_COMMAND_BUTTON: case CTRL_PICTURE_COMMAND_BUTTON: case CTRL_RING: case CTRL_STRING:
    case CTRL_NUMERIC: case CTRL_TEXT_BOX: case CTRL_TEXT_MSG:
        return true;
    default:
        return false;
    }
}

std::vector<Ctrl *> TabOrder(Panel &p) {
    struct Placed {
        Ctrl *c;
        Rect r;
    };
    const Driver &d = Drv();
    std::vector<Placed> all;
    for (auto &c : p.ctrls)
        if (TakesFocus(p, *c)) all.push_back({c.get(), d.ctrlRect(p, *c)});
    std::stable_sort(all.begin(), all.end(), [](const Placed &a, const Placed &b) {
        return a.r.y != b.r.y ? a.r.y < b.r.y : a.r.x < b.r.x;
    });
    std::vector<Ctrl *> order;
    order.reserve(all.size());
    for (size_t row = 0; row < all.size();) {
        const int middle = all[row].r.y + all[row].r.height / 2;
        size_t end = row + 1;
        while (end < all.size() && all[end].r.y < middle) ++end;
        std::stable_sort(all.begin() + static_cast<long>(row), all.begin() + static_cast<long>(end),
                         [](const Placed &a, const Placed &b) { return a.r.x < b.r.x; });
        for (size_t i = row; i < end; ++i) order.push_back(all[i].c);
        row = end;
    }
    return order;
}

// Gives c the focus, the panel remembering it.
static void Focus(Panel &p, Ctrl &c) {
    p.focus = c.id;
    Drv().focusCtrl(p, c);
}

// Tab (forward) or Shift+Tab in the panel: the focus goes to the next
// control of TabOrder, round. Taken also when no control can have it.
static bool MoveFocus(Panel &p, bool forward) {
    if (p.dimmed) return true;
    const std::vector<Ctrl *> order = TabOrder(p);
    if (order.empty()) return true;
    const int n = static_cast<int>(order.size());
    int at = -1;
    for (int i = 0; i < n; ++i)
        if (order[static_cast<size_t>(i)]->id == p.focus) at = i;
    // From nowhere (nothing focused yet, or the focused control went),
    // Tab starts at the first control and Shift+Tab at the last.
    const int next = at < 0 ? (forward ? 0 : n - 1) : (at + (forward ? 1 : n - 1)) % n;
    ShowCues(p, true, false);
    Focus(p, *order[static_cast<size_t>(next)]);
    return true;
}

// The last input the user gave was a key (InputKey), not the mouse: a
// panel then opened shows its cues from the start.
static bool g_keyboardLast = false;

void ShowCues(Panel &p, bool focus, bool accel) {
    Panel &top = TopPanel(p);
    if ((!focus || top.focusCues) && (!accel || top.accelCues)) return;
    top.focusCues = top.focusCues || focus;
    top.accelCues = top.accelCues || accel;
    if (Drv().showCues) Drv().showCues(top);
}

void NoteMouseInput() { g_keyboardLast = false; }
bool KeyboardLast() { return g_keyboardLast; }

static bool IsButton(const Ctrl &c) { return c.style == CTRL_COMMAND_BUTTON || c.style == CTRL_PICTURE_COMMAND_BUTTON; }
static bool IsLink(const Panel &p, const Ctrl &c) { return c.style == CTRL_TEXT_MSG && TakesFocus(p, c); }

// A commit of the control, the user's; a string's or numeric's edit is done.
static bool Operate(int panel, Ctrl &c) {
    c.edited = false;
    InputCommit(panel, c.id);
    return true;
}

// Escape: the ATTR_ESCAPE_CTRL of the panel, else of its nearest parent
// that has one, when it takes input.
static bool Escape(Panel *p) {
    while (p && p->escapeCtrl <= 0 && p->parent) p = FindPanel(p->parent);
    Ctrl *c = p ? FindCtrl(p, p->escapeCtrl) : nullptr;
    if (!c || !c->visible || !CtrlEnabled(*p, *c) || !TakesInput(*c)) return false;
    return Operate(p->handle, *c);
}

// Enter on the focused control: a button is pressed, a link opened, a
// string's or numeric's entry is done (edited or not: the user asked);
// a text box's and a ring's Enter are their own.
static bool Enter(Panel &p, Ctrl &c) {
    if (!c.visible || !CtrlEnabled(p, c) || c.mode == VAL_INDICATOR) return false;
    if (IsButton(c) || IsLink(p, c) || c.style == CTRL_STRING || c.style == CTRL_NUMERIC) return Operate(p.handle, c);
    return false;
}

// The control of the panel whose label marks letter as its shortcut: a
// command button's own label, or a label drawn apart; null when none.
static Ctrl *ShortcutOf(Panel &p, char letter) {
    for (auto &c : p.ctrls) {
        if (c->style != CTRL_COMMAND_BUTTON && !c->apart) continue;
        const char marked = MnemonicLetter(c->labelRaw);
        if (marked && SameLetter(marked, letter)) return c.get();
    }
    return nullptr;
}

// Alt+letter: the panel's control that marks it, else its parents'. A
// button commits; another control takes the focus. One that takes no input
// now (hidden, dimmed, an indicator) does nothing, and the key is spent.
static bool Shortcut(Panel *p, char letter) {
    Ctrl *c = nullptr;
    for (; p && !(c = ShortcutOf(*p, letter)); p = FindPanel(p->parent)) {}
    if (!c) return false;
    ShowCues(*p, false, true);
    if (!c->visible || !CtrlEnabled(*p, *c) || !TakesInput(*c) || c->mode == VAL_INDICATOR) return true;
    if (IsButton(*c)) return Operate(p->handle, *c);
    if (TakesFocus(*p, *c)) {
        ShowCues(*p, true, false);
        Focus(*p, *c);
    }
    return true;
}

bool InputKey(int panel, int ctrl, Key key, int mods, char letter) {
    Panel *p = FindPanel(panel);
    if (!p) return false;
    g_keyboardLast = true;
    Ctrl *c = FindCtrl(p, ctrl);
    switch (key) {
    case Key::Tab: return !(mods & (kModCtrl | kModAlt)) && MoveFocus(*p, !(mods & kModShift));
    case Key::Escape: return mods == 0 && Escape(p);
    case Key::Enter: return mods == 0 && c && Enter(*p, *c);
    case Key::Space: return mods == 0 && c && IsLink(*p, *c) && Operate(panel, *c);
    case Key::Up: case Key::Left: return mods == 0 && c && IsButton(*c) && MoveFocus(*p, false);
    case Key::Down: case Key::Right: return mods == 0 && c && IsButton(*c) && MoveFocus(*p, true);
    case Key::Letter: return (mods & (kModAlt | kModCtrl)) == kModAlt && letter && Shortcut(p, letter);
    }
    return false;
}

void InputFocusLost(int panel, int ctrl) {
    Panel *p = FindPanel(panel);
    Ctrl *c = FindCtrl(p, ctrl);
    if (c && c->edited && (c->style == CTRL_STRING || c->style == CTRL_NUMERIC) && !InProgrammatic()) Operate(panel, *c);
}

void InputFocus(int panel, int ctrl) {
    Panel *p = FindPanel(panel);
    if (p && FindCtrl(p, ctrl)) p->focus = ctrl;
}

void RestoreFocus(Panel &p) {
    Ctrl *c = FindCtrl(&p, p.focus);
    if (!c || !TakesFocus(p, *c)) {
        const std::vector<Ctrl *> order = TabOrder(p);
        c = order.empty() ? nullptr : order.front();
    }
    if (c) Focus(p, *c);
}

void PanelActivated(int panel) {
    if (Panel *p = FindPanel(panel)) RestoreFocus(*p);
}

std::string AccessibleName(const Ctrl &c) {
    if (!c.accessName.empty()) return c.accessName;
    std::string name;
    for (size_t i = 0; i < c.labelRaw.size(); ++i) {
        if (c.labelRaw.compare(i, 2, "__") == 0) {   // "__X": X is the shortcut letter
            ++i;
            continue;
        }
        const char ch = c.labelRaw[i];
        name += (ch == '\n' || ch == '\r') ? ' ' : ch;
    }
    while (!name.empty() && name.back() == ' ') name.pop_back();
    return name;
}

}  // namespace uicore

using namespace uicore;

int GetActiveCtrl(int panel) {
    if (!Ready()) return UIE_NOT_INITIALIZED;
    Panel *p = FindPanel(panel);
    if (!p) return UIE_BAD_PANEL;
    return FindCtrl(p, p->focus) ? p->focus : 0;
}

int SetActiveCtrl(int panel, int control) {
    if (!Ready()) return UIE_NOT_INITIALIZED;
    Panel *p = FindPanel(panel);
    if (!p) return UIE_BAD_PANEL;
    Ctrl *c = FindCtrl(p, control);
    if (!c) return UIE_BAD_CONTROL;
    if (!TakesFocus(*p, *c)) return UIE_NOT_PERMITTED;
    p->focus = control;
    // A panel whose window is not the active one gets it back on activation.
    Panel *active = FindPanel(Drv().activePanel());
    if (active == p) Drv().focusCtrl(*p, *c);
    return 0;
}
