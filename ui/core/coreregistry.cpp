// coreregistry.cpp: the panel registry, callbacks and their guard, the
// commit queue and the order of discard events, for every driver.
//
// Exports (ui/core/uicore.h): Drv, Ready, SetReady, FindPanel, FindCtrl,
// PanelHandles, NewPanelHandle, AddPanel, TakePanel, CallCtrlCallback,
// CallPanelCallback, DispatchGuard, InDispatch, Commit, CommitQueuePop,
// SendDiscardEvents; (ui/userint.h): InstallCtrlCallback,
// InstallPanelCallback, UiSelectDriver; (ui/core/uicore.h) AddDriver, Drv.
//
// State, touched only from the user-interface thread (no lock):
// g_ready: InitUIRunTime has succeeded; every panel operation answers
//   UIE_NOT_INITIALIZED before.
// g_panels: every live panel by handle. A panel leaves it only at the end
//   of DiscardPanel, after its discard events.
// g_nextHandle: the next handle to give; handles are never reused.
// g_depth: calls from the window system into callbacks, and nested event
//   loops, now running.
// g_commits: pending (panel, control) commits, oldest first; a discarded
//   panel's are purged.
// g_drivers: the named list of the drivers this build has, the platform's
//   first; g_driver: the one chosen, null for the first.
#include <cassert>
#include <deque>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "ui/core/uicore.h"

namespace uicore {

static bool g_ready = false;
static std::map<int, std::unique_ptr<Panel>> g_panels;
static int g_nextHandle = 1;
static int g_depth = 0;
static std::deque<std::pair<int, int>> g_commits;
static std::vector<Bootstrap> g_drivers = {kPlatformDriver};
static const Driver *g_driver = nullptr;

// A driver's table is complete: every entry the core calls without looking
// is there (a programmer's error otherwise, caught where it is chosen).
[[maybe_unused]] static bool Complete(const Driver &d) {
    return d.start && d.programFolder && d.setCurrentFolder && d.newPanel && d.destroyPanel && d.panelRect &&
           d.setPanelRect && d.showPanel && d.activePanel && d.makeCtrl && d.makeLabel && d.ctrlRect && d.labelRect &&
           d.placeCtrl && d.placeLabel && d.showCtrl && d.enableCtrl && d.editText && d.setEditText &&
           d.numericValue && d.setNumericValue && d.ringInsert && d.ringReplace && d.ringDelete && d.ringSelect &&
           d.pump && d.pointerInPanel && d.focusCtrl && d.screens;
}

const Driver &Drv() {
    if (!g_driver) {
        g_driver = &g_drivers.front().driver();
        assert(Complete(*g_driver) && "the platform's driver fills every required entry");
    }
    return *g_driver;
}

void AddDriver(const Bootstrap &b) {
    assert(!Ready() && "drivers are added before the run-time starts");
    for (const Bootstrap &k : g_drivers)
        if (std::string(k.name) == b.name) return;
    g_drivers.push_back(b);
}

}  // namespace uicore

// 0 once the run-time will use the driver of that name: one of the list
// (the platform's, "qt" or "win32"; "null" where the tests added it);
// UIE_BAD_POINTER, UIE_BAD_VALUE (no such driver here), UIE_NOT_PERMITTED
// (the run-time has started with another).
int UiSelectDriver(const char *name) {
    using namespace uicore;
    if (!name) return UIE_BAD_POINTER;
    const Driver *d = nullptr;
    for (const Bootstrap &b : g_drivers)
        if (std::string(b.name) == name) d = &b.driver();
    if (!d) return UIE_BAD_VALUE;
    if (Ready()) return d == &Drv() ? 0 : UIE_NOT_PERMITTED;
    assert(Complete(*d) && "a driver fills every required entry");
    g_driver = d;
    return 0;
}

namespace uicore {

bool Ready() { return g_ready; }
void SetReady() { g_ready = true; }

Panel *FindPanel(int handle) {
    auto it = g_panels.find(handle);
    return it == g_panels.end() ? nullptr : it->second.get();
}

Ctrl *FindCtrl(Panel *p, int id) {
    if (!p) return nullptr;
    for (auto &c : p->ctrls)
        if (c->id == id) return c.get();
    return nullptr;
}

Panel &TopPanel(Panel &p) {
    Panel *top = &p;
    for (Panel *up; top->parent && (up = FindPanel(top->parent));) top = up;
    return *top;
}

std::vector<int> PanelHandles() {
    std::vector<int> out;
    out.reserve(g_panels.size());
    for (auto &kv : g_panels) out.push_back(kv.first);
    return out;
}

Panel *NextPanel(int after) {
    auto it = g_panels.upper_bound(after);
    return it == g_panels.end() ? nullptr : it->second.get();
}

int NewPanelHandle() { return g_nextHandle++; }

void AddPanel(std::unique_ptr<Panel> p) {
    assert(p->handle > 0 && !FindPanel(p->handle) && "a panel is added once, with a handle of its own");
    const int h = p->handle;
    g_panels[h] = std::move(p);
}

std::unique_ptr<Panel> TakePanel(int handle) {
    auto it = g_panels.find(handle);
    assert(it != g_panels.end() && "a panel being discarded stays registered until its events are sent");
    std::unique_ptr<Panel> gone = std::move(it->second);
    g_panels.erase(it);
    return gone;
}

DispatchGuard::DispatchGuard() { ++g_depth; }
DispatchGuard::~DispatchGuard() {
    --g_depth;
    assert(g_depth >= 0 && "dispatch guards nest: the depth never goes below zero");
}
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

void Commit(int panel, int ctrl) {
    DispatchGuard g;
    if (CallCtrlCallback(panel, ctrl, EVENT_COMMIT, 0, 0) != 0) return;   // swallowed
    if (FindCtrl(FindPanel(panel), ctrl)) g_commits.emplace_back(panel, ctrl);
}

bool CommitQueuePop(int *panel, int *control) {
    if (g_commits.empty()) return false;
    *panel = g_commits.front().first;
    *control = g_commits.front().second;
    g_commits.pop_front();
    return true;
}

// The id of the panel's control at index in resource order; 0 past the
// last one or when the panel is gone (callbacks may discard it).
static int CtrlAt(int panel, std::size_t index) {
    Panel *p = FindPanel(panel);
    return p && index < p->ctrls.size() ? p->ctrls[index]->id : 0;
}

void SendDiscardEvents(int panel) {
    for (int h : PanelHandles()) {
        Panel *c = FindPanel(h);
        if (c && c->parent == panel) DiscardPanel(h);
    }
    for (std::size_t i = 0;; ++i) {
        const int id = CtrlAt(panel, i);
        if (id == 0) break;
        CallCtrlCallback(panel, id, EVENT_DISCARD, 0, 0);
    }
    CallPanelCallback(panel, EVENT_DISCARD, 0, 0);
    for (auto it = g_commits.begin(); it != g_commits.end();)
        it = it->first == panel ? g_commits.erase(it) : it + 1;
}

}  // namespace uicore

using namespace uicore;

// 0; UIE_NOT_INITIALIZED, UIE_BAD_PANEL, UIE_BAD_CONTROL.
int InstallCtrlCallback(int panel, int control, CtrlCallbackPtr callback, void *callbackData) {
    if (!Ready()) return UIE_NOT_INITIALIZED;
    Panel *p = FindPanel(panel);
    if (!p) return UIE_BAD_PANEL;
    Ctrl *c = FindCtrl(p, control);
    if (!c) return UIE_BAD_CONTROL;
    c->cb = callback;
    c->cbData = callbackData;
    return 0;
}

// 0; UIE_NOT_INITIALIZED, UIE_BAD_PANEL.
int InstallPanelCallback(int panel, PanelCallbackPtr callback, void *callbackData) {
    if (!Ready()) return UIE_NOT_INITIALIZED;
    Panel *p = FindPanel(panel);
    if (!p) return UIE_BAD_PANEL;
    p->cb = callback;
    p->cbData = callbackData;
    return 0;
}
