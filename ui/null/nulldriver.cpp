// nulldriver.cpp: the null driver of the run-time layer: a window system
// of records, with no display, for the core's tests on any machine.
//
// Implemented features: panels and controls as records of their places,
// texts, lists, visibility and state; the keyboard focus and the modal
// popups as a window system keeps them; the user's input that tests play
// (UiNullClick, UiNullKey, ...) delivered as a window system would, through
// the core's input calls; timers run by its pump. It leaves empty what
// needs a display: messages, menus, the clipboard, printing, cursors,
// names for screen readers, drawing and text measures (the core skips
// them, ui/core/uicore.h), and carries no resource file.
//
// Exports (ui/null/userint_null.h): UiNullAddDriver, which puts the null
// driver on the run-time's list, and the test seams.
//
// Data model: a panel's native part is its client rectangle (in its
// parent's client area for a child panel, else in the screen), whether it
// is shown and whether it is a modal popup now; a control's is its
// rectangle and its label's, what it shows (text, number, list, selected
// item) and whether it takes input. The user's input is played as a window system would deliver
// it, through the core's input calls.
//
// State, touched only from the thread that runs the run-time:
// g_programFolder: the folder of argv[0] at start.
// g_screens: the screens' work areas, the first the primary one.
// g_pointer: the pointer's place in the screen.
// g_active: the handle of the panel made active last, 0 none.
// g_focusPanel, g_focusCtrl: the control that has the keyboard focus.
// g_modals: the popups that are modal now, oldest first.
// g_changes: how many times something shown was changed.
// g_timers, g_nextTimer: UiNullAfter's timers, by id.
#include "ui/null/userint_null.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <thread>
#include <vector>

#include "ui/core/uicore.h"
#include "ui/core/coreres.h"

namespace uinull {

using uicore::Ctrl;
using uicore::Panel;
using uicore::Rect;
using Clock = std::chrono::steady_clock;

struct NullPanel : uicore::Native {
    Rect rect;
    bool shown = false;
};

struct NullCtrl : uicore::Native {
    Rect rect;
    Rect label;
    std::string text;
    int value = 0;
    std::vector<std::string> items;
    int selected = -1;
    bool enabled = true;
    bool shown = true;
};

static NullPanel &N(const Panel &p) { return uicore::NativeOf<NullPanel>(p); }
static NullCtrl &N(const Ctrl &c) { return uicore::NativeOf<NullCtrl>(c); }

struct Timer {
    Clock::time_point due;
    int period = 0;   // 0: once
    std::function<void()> fn;
};

static std::string g_programFolder = ".";
static std::vector<Rect> g_screens = {{0, 0, 1280, 1024}};
static int g_pointerX = 0, g_pointerY = 0;
static int g_active = 0;
static int g_focusPanel = 0, g_focusCtrl = 0;
static std::vector<int> g_modals;
static long g_changes = 0;
static std::map<int, Timer> g_timers;
static int g_nextTimer = 1;

static void Changed() { ++g_changes; }

static bool Contains(const Rect &r, int x, int y) {
    return x >= r.x && y >= r.y && x < r.x + r.width && y < r.y + r.height;
}

// The panel's client origin in the screen.
static void Origin(const Panel &p, int *x, int *y) {
    *x = N(p).rect.x;
    *y = N(p).rect.y;
    if (Panel *parent = uicore::FindPanel(p.parent)) {
        int px, py;
        Origin(*parent, &px, &py);
        *x += px;
        *y += py;
    }
}

static const Panel *Root(const Panel *p) {
    while (p && p->parent) p = uicore::FindPanel(p->parent);
    return p;
}

static bool Blocked(const Panel &p) { return !g_modals.empty() && Root(&p)->handle != g_modals.back(); }

// ------------------------------------------------------------ start-up

static bool Start(char **argv, bool) {
    if (argv && argv[0]) {
        std::error_code e;
        const std::filesystem::path exe = std::filesystem::absolute(argv[0], e);
        if (!e) g_programFolder = exe.parent_path().string();
    }
    return true;
}

static int ProgramFolder(std::u16string *folder) {
    *folder = std::filesystem::path(g_programFolder).u16string();
    return 0;
}

static bool SetCurrentFolder(const std::u16string &folder) {
    std::error_code e;
    std::filesystem::current_path(std::filesystem::path(folder), e);
    return !e;
}

// --------------------------------------------------------------- panels

static int NewPanel(Panel &p, const Panel *, int height, int width) {
    p.native = std::make_unique<NullPanel>();
    N(p).rect = {0, 0, width, height};
    return 0;
}

static void DestroyPanel(Panel &p, bool) {
    if (g_active == p.handle) g_active = 0;
    if (g_focusPanel == p.handle) g_focusPanel = g_focusCtrl = 0;
    g_modals.erase(std::remove(g_modals.begin(), g_modals.end(), p.handle), g_modals.end());
}

static Rect PanelRect(const Panel &p) { return N(p).rect; }

static void SetPanelRect(Panel &p, const Rect &r) {
    N(p).rect = r;
    Changed();
}

static bool FrameMargins(const Panel &p, uicore::Margins *m) {
    *m = p.titleBar ? uicore::Margins{kUiNullFrame[0], kUiNullFrame[1], kUiNullFrame[2], kUiNullFrame[3]}
                    : uicore::Margins{};
    return true;
}

// The screens, at 96 DPI: their whole area is their work area.
static std::vector<uicore::Screen> Screens() {
    std::vector<uicore::Screen> out;
    for (const Rect &s : g_screens) out.push_back({s, s, 96});
    return out;
}

static void ShowPanel(Panel &p, bool activate) {
    N(p).shown = p.visible;
    if (p.visible && activate && !p.parent) g_active = p.handle;
    if (!p.visible && g_active == p.handle) g_active = 0;
    Changed();
}

static void SetPopup(Panel &, const Panel *) { Changed(); }

static void SetModal(Panel &p, bool on) {
    g_modals.erase(std::remove(g_modals.begin(), g_modals.end(), p.handle), g_modals.end());
    if (on) g_modals.push_back(p.handle);
}

static int ActivePanel() {
    if (g_focusPanel && Root(uicore::FindPanel(g_focusPanel))->handle == g_active) return g_focusPanel;
    return g_active;
}

static void Change(Panel &) { Changed(); }

// ------------------------------------------------------------- controls

static int MakeCtrl(Panel &p, Ctrl &c, const uicore::CtrlLook &look) {
    c.native = std::make_unique<NullCtrl>();
    N(c).rect = look.rect;
    N(c).text = c.style == CTRL_STRING || c.style == CTRL_TEXT_BOX ? c.textRaw : look.text;
    for (const uicore::Item &i : c.items) N(c).items.push_back(i.label);
    N(c).selected = c.current;
    N(c).shown = c.visible;
    N(c).enabled = uicore::CtrlEnabled(p, c);
    return 0;
}

static void MakeLabel(Panel &, Ctrl &c, const uicore::CtrlLook &look) { N(c).label = look.rect; }

static Rect CtrlRect(const Panel &, const Ctrl &c) { return N(c).rect; }
static Rect LabelRect(const Panel &, const Ctrl &c) { return N(c).label; }

static void PlaceCtrl(Panel &, Ctrl &c, const Rect &r) {
    N(c).rect = r;
    Changed();
}

static void PlaceLabel(Panel &, Ctrl &c, const Rect &r) {
    N(c).label = r;
    Changed();
}

// The focus leaves the control, as a window system tells it.
static void Blur(int panel, int ctrl) {
    if (g_focusPanel != panel || g_focusCtrl != ctrl) return;
    g_focusPanel = g_focusCtrl = 0;
    uicore::InputFocusLost(panel, ctrl);
}

static void ShowCtrl(Panel &p, Ctrl &c) {
    N(c).shown = c.visible;
    if (!c.visible) Blur(p.handle, c.id);
    Changed();
}

static void EnableCtrl(Panel &p, Ctrl &c) {
    N(c).enabled = uicore::CtrlEnabled(p, c);
    if (!N(c).enabled) Blur(p.handle, c.id);
    Changed();
}

static void ChangeCtrl(Panel &, Ctrl &) { Changed(); }

static void TextBoxMetrics(const Ctrl &, int *lineHeight, int *chrome) {
    *lineHeight = 16;
    *chrome = 6;
}

static std::string EditText(const Ctrl &c) { return N(c).text; }

static void SetEditText(Ctrl &c) {
    N(c).text = c.textRaw;
    Changed();
}

static int NumericValue(const Ctrl &c) { return N(c).value; }

static void SetNumericValue(Ctrl &c, int value) {
    N(c).value = value;
    Changed();
}

static void RingInsert(Ctrl &c, int index) {
    N(c).items.insert(N(c).items.begin() + index, c.items[static_cast<size_t>(index)].label);
    Changed();
}

static void RingReplace(Ctrl &c, int index) {
    N(c).items[static_cast<size_t>(index)] = c.items[static_cast<size_t>(index)].label;
    Changed();
}

static void RingDelete(Ctrl &c, int index, int count) {
    N(c).items.erase(N(c).items.begin() + index, N(c).items.begin() + index + count);
    Changed();
}

static void RingSelect(Ctrl &c) {
    if (N(c).selected == c.current) return;
    N(c).selected = c.current;
    Changed();
}

// --------------------------------------------------------------- events

// Runs the timers that are due; true when any ran.
static bool RunDueTimers() {
    bool ran = false;
    const Clock::time_point now = Clock::now();
    std::vector<int> due;
    for (auto &kv : g_timers)
        if (kv.second.due <= now) due.push_back(kv.first);
    for (int id : due) {
        auto it = g_timers.find(id);
        if (it == g_timers.end()) continue;   // a timer's fn cancelled it
        std::function<void()> fn = it->second.fn;
        if (it->second.period > 0) it->second.due = now + std::chrono::milliseconds(it->second.period);
        else g_timers.erase(it);
        uicore::DispatchGuard g;
        fn();
        ran = true;
    }
    return ran;
}

static bool Pump(int ms) {
    if (RunDueTimers()) return true;
    if (ms == 0) return false;
    Clock::time_point until = ms < 0 ? Clock::now() + std::chrono::milliseconds(10)
                                     : Clock::now() + std::chrono::milliseconds(ms);
    for (auto &kv : g_timers) until = std::min(until, kv.second.due);
    std::this_thread::sleep_until(until);
    return RunDueTimers();
}


static void PointerInPanel(const Panel &p, int *x, int *y) {
    int ox, oy;
    Origin(p, &ox, &oy);
    *x = g_pointerX - ox;
    *y = g_pointerY - oy;
}




static void FocusCtrl(Panel &p, Ctrl &c) {
    if (g_focusPanel == p.handle && g_focusCtrl == c.id) return;
    Blur(g_focusPanel, g_focusCtrl);
    g_focusPanel = p.handle;
    g_focusCtrl = c.id;
}





static uicore::Driver MakeNullDriver() {
    uicore::Driver d = {};
    d.name = "null";
    d.caps = {/*printsPdf*/ false};
    d.start = Start;
    d.programFolder = ProgramFolder;
    d.setCurrentFolder = SetCurrentFolder;
    d.newPanel = NewPanel;
    d.destroyPanel = DestroyPanel;
    d.panelRect = PanelRect;
    d.setPanelRect = SetPanelRect;
    d.frameMargins = FrameMargins;
    d.showPanel = ShowPanel;
    d.setPopup = SetPopup;
    d.setModal = SetModal;
    d.activePanel = ActivePanel;
    d.setTitle = d.setBackColor = d.setFrame = d.restack = Change;
    d.makeCtrl = MakeCtrl;
    d.makeLabel = MakeLabel;
    d.ctrlRect = CtrlRect;
    d.labelRect = LabelRect;
    d.placeCtrl = PlaceCtrl;
    d.placeLabel = PlaceLabel;
    d.showCtrl = ShowCtrl;
    d.enableCtrl = EnableCtrl;
    d.setMode = d.setTextColor = d.setUnderline = d.setLabel = ChangeCtrl;
    d.textBoxMetrics = TextBoxMetrics;
    d.editText = EditText;
    d.setEditText = SetEditText;
    d.numericValue = NumericValue;
    d.setNumericValue = SetNumericValue;
    d.ringInsert = RingInsert;
    d.ringReplace = RingReplace;
    d.ringDelete = RingDelete;
    d.ringSelect = RingSelect;
    d.pump = Pump;
    d.pointerInPanel = PointerInPanel;
    d.focusCtrl = FocusCtrl;
    d.screens = Screens;
    return d;
}

// The front-most shown control of the panel holding (x, y) that a click
// reaches (decorations let it through), or null.
static Ctrl *CtrlAt(Panel &p, int x, int y) {
    Ctrl *best = nullptr;
    for (auto &c : p.ctrls)
        if (N(*c).shown && c->style != CTRL_DECORATION && Contains(N(*c).rect, x, y) &&
            (!best || c->zplane < best->zplane))
            best = c.get();
    return best;
}

// What a click gives the focus to, as Windows' and Qt's controls take it:
// anything the user operates but a text (a link takes the focus from the
// keyboard only) or a picture.
static bool FocusedByClick(const Ctrl &c) { return c.style != CTRL_TEXT_MSG && c.style != CTRL_PICTURE; }

}  // namespace uinull

static const uicore::Driver &NullDriver() {
    static const uicore::Driver driver = uinull::MakeNullDriver();
    return driver;
}

using namespace uinull;

void UiNullAddDriver(void) { uicore::AddDriver({"null", NullDriver}); }

void UiNullSetScreens(const int (*areas)[4], int n) {
    g_screens.clear();
    for (int i = 0; i < n; ++i) g_screens.push_back({areas[i][0], areas[i][1], areas[i][2], areas[i][3]});
    if (g_screens.empty()) g_screens.push_back({0, 0, 1280, 1024});
}

void UiNullMovePointer(int panel, int x, int y) {
    Panel *p = uicore::FindPanel(panel);
    if (!p) return;
    int ox, oy;
    Origin(*p, &ox, &oy);
    g_pointerX = ox + x;
    g_pointerY = oy + y;
    if (Blocked(*p)) return;
    uicore::DispatchGuard g;
    uicore::InputMouseMove(panel, x, y);
}

void UiNullClick(int panel, int x, int y, int button) {
    Panel *p = uicore::FindPanel(panel);
    if (!p) return;
    UiNullMovePointer(panel, x, y);
    if (Blocked(*p)) return;
    Ctrl *c = CtrlAt(*p, x, y);
    if (!c || !N(*c).enabled) return;
    const int id = c->id;
    uicore::DispatchGuard g;
    if (button == 2) {
        uicore::InputRightPress(panel, id, x, y);
        return;
    }
    if (!uicore::TakesInput(*c)) return;
    if (FocusedByClick(*c) && (g_focusPanel != panel || g_focusCtrl != id)) {
        Blur(g_focusPanel, g_focusCtrl);
        g_focusPanel = panel;
        g_focusCtrl = id;
        uicore::InputFocus(panel, id);
    }
    uicore::InputLeftRelease(panel, id, x, y);
    c = uicore::FindCtrl(uicore::FindPanel(panel), id);   // the callback may have discarded it
    if (c && (c->style == CTRL_COMMAND_BUTTON || c->style == CTRL_PICTURE_COMMAND_BUTTON)) uicore::InputCommit(panel, id);
}

// The key as the core names it; false for a character without Alt, which
// is the focused control's own.
static bool CoreKey(int key, int mods, uicore::Key *k, char *letter) {
    switch (key) {
    case UiNullTab: *k = uicore::Key::Tab; return true;
    case UiNullEscape: *k = uicore::Key::Escape; return true;
    case UiNullEnter: *k = uicore::Key::Enter; return true;
    case UiNullSpace: *k = uicore::Key::Space; return true;
    case UiNullUp: *k = uicore::Key::Up; return true;
    case UiNullDown: *k = uicore::Key::Down; return true;
    case UiNullLeft: *k = uicore::Key::Left; return true;
    case UiNullRight: *k = uicore::Key::Right; return true;
    default: break;
    }
    if (key <= 0x20 || key > 0xFF || !(mods & uicore::kModAlt)) return false;
    *k = uicore::Key::Letter;
    *letter = static_cast<char>(key);
    return true;
}

void UiNullKey(int panel, int key, int mods) {
    Panel *p = uicore::FindPanel(panel);
    if (!p || Blocked(*p)) return;
    Ctrl *c = g_focusPanel == panel ? uicore::FindCtrl(p, g_focusCtrl) : nullptr;
    const int id = c ? c->id : 0;
    uicore::DispatchGuard g;
    uicore::Key k;
    char letter = 0;
    if (CoreKey(key, mods, &k, &letter) && uicore::InputKey(panel, id, k, mods, letter)) return;
    // The key is the control's own, as a window system's controls take it.
    c = uicore::FindCtrl(uicore::FindPanel(panel), id);
    if (!c || !N(*c).enabled || mods & (uicore::kModAlt | uicore::kModCtrl)) return;
    const bool button = c->style == CTRL_COMMAND_BUTTON || c->style == CTRL_PICTURE_COMMAND_BUTTON;
    if (key == UiNullSpace && button && uicore::TakesInput(*c)) {
        uicore::InputCommit(panel, id);   // a button's own press
        return;
    }
    if (key > 0xFF || c->mode == VAL_INDICATOR) return;
    if (c->style == CTRL_STRING || c->style == CTRL_TEXT_BOX) {
        N(*c).text += static_cast<char>(key);
    } else if (c->style == CTRL_NUMERIC && key >= '0' && key <= '9') {
        N(*c).value = N(*c).value * 10 + (key - '0');
    } else {
        return;
    }
    uicore::InputEdited(panel, id);
}

void UiNullCloseBox(int panel) {
    Panel *p = uicore::FindPanel(panel);
    if (!p || Blocked(*p)) return;
    uicore::DispatchGuard g;
    uicore::InputClose(panel);
}

void UiNullInvoke(int panel, int control) {
    Panel *p = uicore::FindPanel(panel);
    if (!p || Blocked(*p) || !uicore::FindCtrl(p, control)) return;
    uicore::DispatchGuard g;
    uicore::InputCommit(panel, control);
}

bool UiNullFocusCues(int panel) {
    Panel *p = uicore::FindPanel(panel);
    return p && uicore::TopPanel(*p).focusCues;
}

void UiNullChooseRingItem(int panel, int control, int index) {
    Panel *p = uicore::FindPanel(panel);
    Ctrl *c = uicore::FindCtrl(p, control);
    if (!c || !N(*c).enabled || Blocked(*p) || !uicore::TakesInput(*c)) return;
    N(*c).selected = index;
    uicore::DispatchGuard g;
    uicore::RingChosen(panel, control, index);
}

bool UiNullTakesInput(int panel) {
    Panel *p = uicore::FindPanel(panel);
    return p && !Blocked(*p);
}

int UiNullParentOf(int panel) {
    Panel *p = uicore::FindPanel(panel);
    return p ? p->parent : 0;
}

bool UiNullShown(int panel) {
    Panel *p = uicore::FindPanel(panel);
    return p && N(*p).shown;
}

long UiNullChanges(void) { return g_changes; }

int UiNullAfter(int ms, std::function<void()> fn, bool repeat) {
    const int id = g_nextTimer++;
    g_timers[id] = {Clock::now() + std::chrono::milliseconds(ms), repeat ? std::max(ms, 1) : 0, std::move(fn)};
    return id;
}

void UiNullCancel(int id) { g_timers.erase(id); }

void UiNullProcess(int ms) {
    const Clock::time_point end = Clock::now() + std::chrono::milliseconds(std::max(ms, 0));
    Pump(0);
    for (Clock::time_point now = Clock::now(); now < end; now = Clock::now()) {
        Pump(static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(end - now).count()) + 1);
    }
}
