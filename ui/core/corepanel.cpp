// corepanel.cpp: start-up, the program's folder, and panels: loading,
// creating, showing, hiding, discarding, and their attributes, for every
// driver. Where a panel goes is ui/core/coreplace.cpp's.
//
// Exports (ui/userint.h): InitUIRunTime, InitUIRunTimeHeadless,
// SetNoDisplayHandler, GetProjectDirAnsi, SetDirAnsi, LoadPanelAnsi,
// NewPanelAnsi, DisplayPanel, HidePanel, DiscardPanel,
// Set/GetPanelAttributeAnsi; (ui/core/uicore.h): NewLoadedCtrl, DropLoadedCtrl,
// NoDisplayHandler.
//
// Checks, in this order: the run-time not started (UIE_NOT_INITIALIZED), an
// unknown panel (UIE_BAD_PANEL), an attribute that is none of a panel's
// (UIE_BAD_ATTRIBUTE), a null pointer (UIE_BAD_POINTER), a value of the
// wrong type or out of range (UIE_BAD_VALUE), a read-only attribute
// (UIE_NOT_PERMITTED). A value set again unchanged calls no driver.
//
// State: g_noDisplay, SetNoDisplayHandler's handler. The records are
// ui/core/coreregistry.cpp's.
#include <cassert>

#include "ui/core/textcodec.h"
#include "ui/core/coreattr.h"
#include "ui/core/corecallback.h"
#include "ui/core/coreres.h"
#include "ui/core/uicore.h"

namespace uicore {

static NoDisplayHandlerPtr g_noDisplay = nullptr;

NoDisplayHandlerPtr NoDisplayHandler() { return g_noDisplay; }

Ctrl *NewLoadedCtrl(Panel &p, int id, int style, int mode) {
    if (id <= 0 || style == 0 || FindCtrl(&p, id)) return nullptr;
    auto c = std::make_unique<Ctrl>();
    c->id = id;
    c->style = style;
    c->mode = (mode >= VAL_INDICATOR && mode <= VAL_NORMAL) ? mode : DefaultCtrlMode(style);
    for (auto &k : p.ctrls) ++k->zplane;   // the last one is in front
    p.ctrls.push_back(std::move(c));
    return p.ctrls.back().get();
}

void DropLoadedCtrl(Panel &p) {
    assert(!p.ctrls.empty() && "only a control just loaded is dropped");
    p.ctrls.pop_back();
    for (auto &k : p.ctrls) --k->zplane;
}

// The panel and its status for an attribute call: null with *status set
// when the run-time has not started, the panel is unknown or the attribute
// is not one of a panel's.
static Panel *PanelFor(int panel, int attribute, int *status) {
    *status = 0;
    if (!Ready()) { *status = UIE_NOT_INITIALIZED; return nullptr; }
    Panel *p = FindPanel(panel);
    if (!p) { *status = UIE_BAD_PANEL; return nullptr; }
    if (!IsPanelAttr(attribute)) { *status = UIE_BAD_ATTRIBUTE; return nullptr; }
    return p;
}

static int SetPanelInt(Panel &p, int a, int v) {
    const Driver &d = Drv();
    switch (a) {
    case ATTR_DIMMED:
        // Greys the panel's own controls: a wait popup opened inside a
        // dimmed parent must stay legible.
        if (p.dimmed == (v != 0)) return 0;
        p.dimmed = v != 0;
        for (auto &c : p.ctrls) d.enableCtrl(p, *c);
        return 0;
    case ATTR_VISIBLE:
        if (p.visible == (v != 0)) return 0;
        ShowPanel(p, v != 0, false);
        return 0;
    case ATTR_LEFT:
    case ATTR_TOP:
    case ATTR_WIDTH:
    case ATTR_HEIGHT: {
        if ((a == ATTR_WIDTH || a == ATTR_HEIGHT) && v < 1) return UIE_BAD_VALUE;
        Rect r = d.panelRect(p);
        int &side = a == ATTR_LEFT ? r.x : a == ATTR_TOP ? r.y : a == ATTR_WIDTH ? r.width : r.height;
        if (side == v) return 0;
        side = v;
        PlacePanel(p, r.y, r.x, r.height, r.width);
        return 0;
    }
    case ATTR_BACKCOLOR:
        if (v < 0 || v > 0xFFFFFF) return UIE_BAD_VALUE;
        if (p.backColor == v) return 0;
        p.backColor = v;
        d.setBackColor(p);
        return 0;
    case ATTR_TITLEBAR_VISIBLE:
    case ATTR_CAN_MINIMIZE:
    case ATTR_CAN_MAXIMIZE:
    case ATTR_SIZABLE: {
        bool &flag = a == ATTR_TITLEBAR_VISIBLE ? p.titleBar : a == ATTR_CAN_MINIMIZE ? p.canMinimize
                   : a == ATTR_CAN_MAXIMIZE ? p.canMaximize : p.sizable;
        if (flag == (v != 0)) return 0;
        flag = v != 0;
        d.setFrame(p);
        // With or without a frame, the place asked for may fit otherwise.
        PlacePanel(p, p.asked.y, p.asked.x, p.asked.height, p.asked.width);
        return 0;
    }
    case ATTR_PANEL_FIRST_CTRL: return UIE_NOT_PERMITTED;   // read only
    case ATTR_ESCAPE_CTRL:
        if (v < 0) return UIE_BAD_VALUE;
        p.escapeCtrl = v;   // the key asks nothing of the window system
        return 0;
    default: return UIE_BAD_ATTRIBUTE;
    }
}

static int GetPanelInt(Panel &p, int a, int *v) {
    switch (a) {
    case ATTR_DIMMED: *v = p.dimmed ? 1 : 0; return 0;
    case ATTR_VISIBLE: *v = p.visible ? 1 : 0; return 0;
    case ATTR_LEFT: *v = Drv().panelRect(p).x; return 0;
    case ATTR_TOP: *v = Drv().panelRect(p).y; return 0;
    case ATTR_WIDTH: *v = Drv().panelRect(p).width; return 0;
    case ATTR_HEIGHT: *v = Drv().panelRect(p).height; return 0;
    case ATTR_BACKCOLOR: *v = p.backColor; return 0;
    case ATTR_TITLEBAR_VISIBLE: *v = p.titleBar; return 0;
    case ATTR_CAN_MINIMIZE: *v = p.canMinimize; return 0;
    case ATTR_CAN_MAXIMIZE: *v = p.canMaximize; return 0;
    case ATTR_SIZABLE: *v = p.sizable; return 0;
    case ATTR_PANEL_FIRST_CTRL: *v = p.ctrls.empty() ? 0 : p.ctrls.front()->id; return 0;
    case ATTR_ESCAPE_CTRL: *v = p.escapeCtrl; return 0;
    default: return UIE_BAD_ATTRIBUTE;
    }
}

}  // namespace uicore

using namespace uicore;

int SetPanelAttributeAnsi(int panel, int attribute, int value) {
    int st;
    Panel *p = PanelFor(panel, attribute, &st);
    if (!p) return st;
    const int cbSt = SetCallbackAttribute(p->cb, p->cbData, attribute, value);
    if (cbSt != kNoCallbackAttribute) return cbSt;
    if (attribute == ATTR_TITLE) return UIE_BAD_VALUE;
    Programmatic g;
    return SetPanelInt(*p, attribute, value);
}

int SetPanelAttributeAnsi(int panel, int attribute, const char *value) {
    int st;
    Panel *p = PanelFor(panel, attribute, &st);
    if (!p) return st;
    const int cbSt = SetCallbackAttribute(p->cb, p->cbData, attribute, value);
    if (cbSt != kNoCallbackAttribute) return cbSt;
    if (attribute != ATTR_TITLE) return UIE_BAD_VALUE;
    if (!value) return UIE_BAD_POINTER;
    if (p->titleRaw == value) return 0;
    p->titleRaw = value;
    Drv().setTitle(*p);
    return 0;
}

int SetPanelAttributeAnsi(int panel, int attribute, void *value) {
    int st;
    Panel *p = PanelFor(panel, attribute, &st);
    if (!p) return st;
    const int cbSt = SetCallbackAttribute(p->cb, p->cbData, attribute, value);
    return cbSt == kNoCallbackAttribute ? UIE_BAD_VALUE : cbSt;
}

int SetPanelAttributeAnsi(int panel, int attribute, PanelCallbackPtr value) {
    int st;
    Panel *p = PanelFor(panel, attribute, &st);
    if (!p) return st;
    const int cbSt = SetCallbackAttributeFn(p->cb, attribute, value);
    return cbSt == kNoCallbackAttribute ? UIE_BAD_VALUE : cbSt;
}

int GetPanelAttributeAnsi(int panel, int attribute, int *value) {
    int st;
    Panel *p = PanelFor(panel, attribute, &st);
    if (!p) return st;
    if (!value) return UIE_BAD_POINTER;
    if (!IsPanelIntAttr(attribute)) return UIE_BAD_VALUE;
    return GetPanelInt(*p, attribute, value);
}

int GetPanelAttributeAnsi(int panel, int attribute, char *value) {
    int st;
    Panel *p = PanelFor(panel, attribute, &st);
    if (!p) return st;
    if (!value) return UIE_BAD_POINTER;
    if (attribute != ATTR_TITLE) return UIE_BAD_VALUE;
    return CopyOut(p->titleRaw, value);
}

int GetPanelAttributeAnsi(int panel, int attribute, void **value) {
    int st;
    Panel *p = PanelFor(panel, attribute, &st);
    if (!p) return st;
    if (!value) return UIE_BAD_POINTER;
    const int cbSt = GetCallbackAttribute(p->cb, p->cbData, attribute, value);
    return cbSt == kNoCallbackAttribute ? UIE_BAD_VALUE : cbSt;
}

int GetPanelAttributeAnsi(int panel, int attribute, PanelCallbackPtr *value) {
    int st;
    Panel *p = PanelFor(panel, attribute, &st);
    if (!p) return st;
    if (!value) return UIE_BAD_POINTER;
    const int cbSt = GetCallbackAttributeFn(p->cb, attribute, value);
    return cbSt == kNoCallbackAttribute ? UIE_BAD_VALUE : cbSt;
}

// ------------------------------------------------------------ start-up

static int Start(char **argv, bool headless) {
    if (Ready()) return 1;
    if (!Drv().start(argv, headless)) return 0;
    SetReady();
    return 1;
}

// 1 when the run-time runs (also when it already did), 0 when the window
// system cannot be had (no display can be opened).
int InitUIRunTime(int reserved, char **argv, int reserved2) {
    (void)reserved;
    (void)reserved2;
    return Start(argv, false);
}

// As InitUIRunTime, needing no display.
int InitUIRunTimeHeadless(char **argv) { return Start(argv, true); }

void SetNoDisplayHandler(NoDisplayHandlerPtr handler) { g_noDisplay = handler; }

// The program's folder, whole, and its Windows-1252 form; false when the
// window system does not give it.
static bool ProgramFolder(std::u16string *whole, std::string *ansi) {
    if (Drv().programFolder(whole) < 0) return false;
    *ansi = Utf16ToAnsi(whole->data(), whole->size());
    return true;
}

// 0 with the program's folder in buffer; UIE_NOT_INITIALIZED, UIE_BAD_POINTER,
// UIE_BUFFER_TOO_SMALL (longer than MAX_PATHNAME_LEN - 1), UIE_SYSTEM (the
// window system does not give it). A character of its name that
// Windows-1252 cannot write (a user's folder named in Cyrillic) is given as
// '?', which no Windows file name holds: SetDirAnsi knows that text again.
int GetProjectDirAnsi(char *buffer) {
    if (!Ready()) return UIE_NOT_INITIALIZED;
    if (!buffer) return UIE_BAD_POINTER;
    std::u16string whole;
    std::string folder;
    if (!ProgramFolder(&whole, &folder)) return UIE_SYSTEM;
    if (folder.size() >= MAX_PATHNAME_LEN) return UIE_BUFFER_TOO_SMALL;
    return CopyOut(folder, buffer, MAX_PATHNAME_LEN);
}

// 0 when path is now the current folder; UIE_BAD_POINTER, UIE_FILE_NOT_FOUND.
// The text GetProjectDirAnsi gave for a folder whose name Windows-1252
// cannot write makes that folder current by its whole name: start-up makes
// the program's folder current whatever its name.
int SetDirAnsi(const char *path) {
    if (!path) return UIE_BAD_POINTER;
    std::u16string whole;
    std::string folder;
    if (Ready() && ProgramFolder(&whole, &folder) && folder == path && AnsiToUtf16(path) != whole)
        return Drv().setCurrentFolder(whole) ? 0 : UIE_FILE_NOT_FOUND;
    return Drv().setCurrentFolder(AnsiToUtf16(path)) ? 0 : UIE_FILE_NOT_FOUND;
}

// --------------------------------------------------------------- panels

// A panel handle (> 0), or UIE_NOT_INITIALIZED, UIE_BAD_PANEL (unknown
// parent), UIE_BAD_POINTER, UIE_FILE_NOT_FOUND (no such resource file, or
// its panel cannot be read), UIE_PANEL_NOT_FOUND, UIE_SYSTEM. Controls the
// resource gives badly (a bad or repeated id, a class that is no control)
// are left out. Position (0, 0) in the resource centres a top-level panel.
int LoadPanelAnsi(int parent, const char *file, int resourceId) {
    if (!Ready()) return UIE_NOT_INITIALIZED;
    Panel *pp = nullptr;
    if (parent != 0 && !(pp = FindPanel(parent))) return UIE_BAD_PANEL;
    if (!file) return UIE_BAD_POINTER;
    std::string bytes;
    int st = UirReadFile(file, &bytes);
    if (st < 0) return st;
    UirFile uir;
    if ((st = UirParse(bytes, &uir)) < 0) return st;
    const UirPanel *res = nullptr;
    if ((st = UirFindPanel(uir, resourceId, &res)) < 0) return st;

    auto p = std::make_unique<Panel>();
    p->handle = NewPanelHandle();
    p->parent = parent;
    Rect g;
    UirReadPanel(res->root, *p, &g);
    const Driver &d = Drv();
    Programmatic quiet;
    if ((st = d.newPanel(*p, pp, g.height, g.width)) < 0) return st;
    // Controls first, in resource order, then the labels drawn apart.
    CtrlLook look;
    for (const UirRecord &r : res->ctrls) {
        Ctrl *c = UirReadCtrl(r, uir.images, *p, &look);
        if (c && d.makeCtrl(*p, *c, look) < 0) DropLoadedCtrl(*p);   // a window refused leaves its control out
    }
    for (const UirRecord &r : res->ctrls)
        if (Ctrl *c = UirReadLabel(r, *p, &look)) d.makeLabel(*p, *c, look);
    d.restack(*p);
    Panel &ref = *p;
    AddPanel(std::move(p));
    for (auto &c : ref.ctrls) d.setAccessibleName(ref, *c);
    // Its size as the driver made it: a text grown to show whole may have
    // grown it.
    const Rect r = d.panelRect(ref);
    const bool centre = parent == 0 && g.x == 0 && g.y == 0;
    PlacePanel(ref, centre ? VAL_AUTO_CENTER : g.y, centre ? VAL_AUTO_CENTER : g.x, r.height, r.width);
    return ref.handle;
}

// A panel handle (> 0), or UIE_NOT_INITIALIZED, UIE_BAD_PANEL (unknown
// parent), UIE_BAD_VALUE (height or width below 1), UIE_SYSTEM.
int NewPanelAnsi(int parent, const char *title, int top, int left, int height, int width) {
    if (!Ready()) return UIE_NOT_INITIALIZED;
    Panel *pp = nullptr;
    if (parent != 0 && !(pp = FindPanel(parent))) return UIE_BAD_PANEL;
    if (height < 1 || width < 1) return UIE_BAD_VALUE;
    auto p = std::make_unique<Panel>();
    p->handle = NewPanelHandle();
    p->parent = parent;
    p->titleRaw = title ? title : "";
    const int st = Drv().newPanel(*p, pp, height, width);
    if (st < 0) return st;
    Panel &ref = *p;
    AddPanel(std::move(p));
    PlacePanel(ref, top, left, height, width);
    return ref.handle;
}

// 0; UIE_NOT_INITIALIZED, UIE_BAD_PANEL. Shows the panel in front and
// makes its window the active one.
int DisplayPanel(int panel) {
    if (!Ready()) return UIE_NOT_INITIALIZED;
    Panel *p = FindPanel(panel);
    if (!p) return UIE_BAD_PANEL;
    ShowPanel(*p, true, true);
    return 0;
}

// 0; UIE_NOT_INITIALIZED, UIE_BAD_PANEL. A popup stops being one.
int HidePanel(int panel) {
    if (!Ready()) return UIE_NOT_INITIALIZED;
    Panel *p = FindPanel(panel);
    if (!p) return UIE_BAD_PANEL;
    ShowPanel(*p, false, false);
    EndPopup(*p);
    return 0;
}

// 0; UIE_NOT_INITIALIZED, UIE_BAD_PANEL, UIE_NOT_PERMITTED (a discard
// callback discarding its own panel again). Child panels go first; then
// EVENT_DISCARD to each control's callback in resource order, then to the
// panel's. Each callback is read just before it is called, so callbacks
// may reinstall or remove callbacks meanwhile.
int DiscardPanel(int panel) {
    if (!Ready()) return UIE_NOT_INITIALIZED;
    Panel *p = FindPanel(panel);
    if (!p) return UIE_BAD_PANEL;
    if (p->discarding) return UIE_NOT_PERMITTED;
    p->discarding = true;
    SendDiscardEvents(panel);
    std::unique_ptr<Panel> gone = TakePanel(panel);
    if (gone->visible) ShowPanel(*gone, false, false);
    EndPopup(*gone);
    // The window system may be delivering an event to one of its windows.
    Drv().destroyPanel(*gone, InDispatch());
    return 0;
}
