// coreevent.cpp: events, for every driver: what the user's input means,
// the poll and its sleep at rest, and the mouse's state.
//
// Exports (ui/userint.h): GetUserEvent, GetRelativeMouseState,
// ProcessDrawEvents; (ui/core/uicore.h): TakesInput, InputCommit,
// InputClose, InputMouseMove, InputLeftRelease, InputRightPress,
// InputEndSession, InputMenuKey, MenuAnchor.
//
// Data model. A driver turns the window system's input into the calls
// above, with positions in the panel's logical pixels; the rules are here:
// a dimmed panel or control hears nothing, the close box commits the
// panel's close control once the panel's callback has seen EVENT_CLOSE
// (the window never closes itself), an indicator button or ring takes no
// input, and nothing the layer does itself is a commit. Commits wait in the
// commit queue (ui/core/coreregistry.cpp) for GetUserEvent.
//
// The poll at rest: GetUserEvent sleeps until window-system input, a timer
// or a posted event comes (the driver's pump), or at most kIdleBoundMs.
// Every change that the panel loops act on (pointer, activation, commits)
// comes as input, so a loop at rest costs two wake-ups a second, while the
// bound still turns the loops that watch a clock.
//
// State, touched only from the user-interface thread:
// g_drawing: ProcessDrawEvents runs; g_heldCloses: the panels whose close
//   box was pressed meanwhile, handed on at the next poll.
#include <chrono>
#include <vector>

#include "ui/core/uicore.h"

namespace uicore {

static constexpr int kIdleBoundMs = 500;
static bool g_drawing = false;
static std::vector<int> g_heldCloses;
static bool g_ending = false;
static int g_menuPanel = 0;
static Rect g_menuAt;

bool TakesInput(const Ctrl &c) {
    const bool operated = c.style == CTRL_COMMAND_BUTTON || c.style == CTRL_PICTURE_COMMAND_BUTTON || c.style == CTRL_RING;
    return !(operated && c.mode == VAL_INDICATOR);
}

void InputCommit(int panel, int ctrl) {
    Ctrl *c = FindCtrl(FindPanel(panel), ctrl);
    if (!c || InProgrammatic() || c->mode == VAL_INDICATOR) return;
    Commit(panel, ctrl);
}

void InputClose(int panel) {
    Panel *p = FindPanel(panel);
    if (!p || p->parent != 0 || p->dimmed || !p->canClose) return;
    if (g_drawing) {
        g_heldCloses.push_back(panel);
        return;
    }
    const int closeCtrl = p->closeCtrl;
    CallPanelCallback(panel, EVENT_CLOSE, 0, 0);
    if (closeCtrl > 0 && FindCtrl(FindPanel(panel), closeCtrl)) Commit(panel, closeCtrl);
}

void InputMouseMove(int panel, int x, int y) {
    Panel *p = FindPanel(panel);
    if (!p || p->dimmed) return;
    CallPanelCallback(panel, EVENT_MOUSE_POINTER_MOVE, y, x);
}

void InputLeftRelease(int panel, int ctrl, int x, int y) {
    NoteMouseInput();
    Panel *p = FindPanel(panel);
    Ctrl *c = FindCtrl(p, ctrl);
    if (!c || !CtrlEnabled(*p, *c)) return;
    CallCtrlCallback(panel, ctrl, EVENT_LEFT_CLICK_UP, y, x);
}

bool InputRightPress(int panel, int ctrl, int x, int y) {
    NoteMouseInput();
    Panel *p = FindPanel(panel);
    Ctrl *c = FindCtrl(p, ctrl);
    if (!c || !c->cb || !CtrlEnabled(*p, *c)) return false;
    return CallCtrlCallback(panel, ctrl, EVENT_RIGHT_CLICK, y, x) != 0;
}

void InputEndSession(bool ending) { g_ending = ending; }

bool InputMenuKey(int panel, int ctrl) {
    Panel *p = FindPanel(panel);
    Ctrl *c = FindCtrl(p, ctrl);
    if (!c || !c->cb || !CtrlEnabled(*p, *c)) return false;
    const Rect r = Drv().ctrlRect(*p, *c);
    g_menuPanel = panel;
    g_menuAt = r;
    const int taken = CallCtrlCallback(panel, ctrl, EVENT_RIGHT_CLICK, r.y + r.height / 2, r.x + r.width / 2);
    g_menuPanel = 0;
    return taken != 0;
}

const Rect *MenuAnchor(int *panel) {
    *panel = g_menuPanel;
    return g_menuPanel && FindPanel(g_menuPanel) ? &g_menuAt : nullptr;
}

// The close boxes pressed while the panels were being drawn.
static void HandOnHeldCloses() {
    if (g_heldCloses.empty()) return;
    const std::vector<int> held = std::move(g_heldCloses);
    g_heldCloses.clear();
    for (int panel : held) InputClose(panel);
}

}  // namespace uicore

using namespace uicore;

// EVENT_COMMIT with *panel and *control of the oldest pending commit, 0 when
// none is pending; UIE_NOT_INITIALIZED, UIE_BAD_POINTER. First runs the
// window system's pending events (and with them the callbacks). With wait
// 0 and nothing pending, it sleeps until window-system input, a timer or a
// posted event arrives, at most kIdleBoundMs; with wait non-zero it waits
// until a commit comes.
int GetUserEvent(int wait, int *panel, int *control) {
    if (!Ready()) return UIE_NOT_INITIALIZED;
    if (!panel || !control) return UIE_BAD_POINTER;
    if (g_ending) return UIE_NOT_PERMITTED;
    HandOnHeldCloses();
    if (CommitQueuePop(panel, control)) return EVENT_COMMIT;
    const Driver &d = Drv();
    // What was pending counts as this pass's input: no sleep after it.
    if (d.pump(0)) {
        if (CommitQueuePop(panel, control)) return EVENT_COMMIT;
        if (!wait) return 0;
    }
    // Asleep until input that counts, or the bound: a wake for nothing the
    // driver counts goes back to sleep for the rest of the bound.
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    for (;;) {
        int left = -1;
        if (!wait) {
            left = kIdleBoundMs -
                   static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
            if (left <= 0) return 0;
        }
        const bool ran = d.pump(left);
        if (CommitQueuePop(panel, control)) return EVENT_COMMIT;
        if (ran && !wait) return 0;
    }
}

// 0 with the pointer's position relative to the control's top-left corner
// (control 0: the panel's), in logical pixels; the buttons (1 pressed) and
// keys (1 Shift, 2 Ctrl, 4 Alt) when asked for. UIE_NOT_INITIALIZED,
// UIE_BAD_PANEL, UIE_BAD_CONTROL, UIE_BAD_POINTER.
int GetRelativeMouseState(int panel, int control, int *x, int *y, int *leftButton, int *rightButton, int *keys) {
    if (!Ready()) return UIE_NOT_INITIALIZED;
    Panel *p = FindPanel(panel);
    if (!p) return UIE_BAD_PANEL;
    Ctrl *c = control ? FindCtrl(p, control) : nullptr;
    if (control && !c) return UIE_BAD_CONTROL;
    if (!x || !y) return UIE_BAD_POINTER;
    const Driver &d = Drv();
    d.pointerInPanel(*p, x, y);
    if (c) {
        const Rect r = d.ctrlRect(*p, *c);
        *x -= r.x;
        *y -= r.y;
    }
    // The buttons only when asked: a loop that asks for the pointer over
    // each of its controls would ask the window system for them each time.
    int left = 0, right = 0, k = 0;
    if (d.mouseButtons && (leftButton || rightButton || keys)) d.mouseButtons(&left, &right, &k);
    if (leftButton) *leftButton = left;
    if (rightButton) *rightButton = right;
    if (keys) *keys = k;
    return 0;
}

// 0 once every displayed panel shows its present state on the screen;
// UIE_NOT_INITIALIZED. Runs only drawing: no callback is called and no
// commit is queued meanwhile (a close box pressed meanwhile is handed on at
// the next poll).
int ProcessDrawEvents(void) {
    if (!Ready()) return UIE_NOT_INITIALIZED;
    g_drawing = true;
    if (Drv().drawNow) Drv().drawNow();
    g_drawing = false;
    return 0;
}
