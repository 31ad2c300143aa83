// corepanel.cpp: the attributes of panels, for every driver.
//
// Exports (ui/userint.h): Set/GetPanelAttributeAnsi.
//
// Checks, in this order: the run-time not started (UIE_NOT_INITIALIZED), an
// unknown panel (UIE_BAD_PANEL), an attribute that is none of a panel's
// (UIE_BAD_ATTRIBUTE), a null pointer (UIE_BAD_POINTER), a value of the
// wrong type or out of range (UIE_BAD_VALUE), a read-only attribute
// (UIE_NOT_PERMITTED). A value set again unchanged calls no driver.
//
// State: none of its own; the records are ui/core/coreregistry.cpp's.
#include "ui/core/uiattr.h"
#include "ui/core/uicallback.h"
#include "ui/core/uicore.h"

namespace uicore {

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
        p.visible = v != 0;
        d.showPanelWindow(p);
        return 0;
    case ATTR_LEFT:
    case ATTR_TOP: {
        const Rect r = d.panelRect(p);
        if ((a == ATTR_LEFT ? r.x : r.y) == v) return 0;
        if (a == ATTR_LEFT) d.movePanel(p, r.y, v);
        else d.movePanel(p, v, r.x);
        return 0;
    }
    case ATTR_WIDTH:
    case ATTR_HEIGHT: {
        if (v < 1) return UIE_BAD_VALUE;
        const Rect r = d.panelRect(p);
        if ((a == ATTR_WIDTH ? r.width : r.height) == v) return 0;
        if (a == ATTR_WIDTH) d.resizePanel(p, r.height, v);
        else d.resizePanel(p, v, r.width);
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
        d.setFrame(p, a);
        return 0;
    }
    case ATTR_PANEL_FIRST_CTRL: return UIE_NOT_PERMITTED;   // read only
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
