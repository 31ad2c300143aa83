// corectrl.cpp: controls, for every driver: creation, attributes, values,
// text boxes and lists, their checks and their rules.
//
// Exports (ui/userint.h): NewCtrlAnsi, Set/GetCtrlAttributeAnsi,
// GetCtrlBoundingRect, Set/GetCtrlValAnsi, ResetTextBoxAnsi, the list
// operations; (ui/core/uicore.h): CopyOut, TextEdited, RingChosen,
// Programmatic, InProgrammatic.
//
// Every call checks its arguments in one order: the run-time not started
// (UIE_NOT_INITIALIZED), an unknown panel (UIE_BAD_PANEL), an unknown
// control (UIE_BAD_CONTROL), an attribute or call that is none of this
// kind of control's (UIE_BAD_ATTRIBUTE), a null pointer (UIE_BAD_POINTER),
// then a value or index out of range or of the wrong type (UIE_BAD_VALUE,
// UIE_BAD_INDEX, UIE_VALUE_NOT_FOUND). Only then is the record changed and
// the driver called; a value set again unchanged calls no driver at all
// (the panels' loops set the same values at every pass, and under Wine each
// window message costs).
//
// Data model: texts are kept as the bytes they were set with, so reading
// gives back exactly what was written; a ring's items and current item are
// the record's (the driver's list mirrors them). What the user can change
// is read from the driver: an edited text (until set again), a numeric's
// number, a control's place.
//
// State: g_programmatic, above 0 while the layer itself changes a control.
#include <algorithm>
#include <cstring>

#include "ui/core/coreattr.h"
#include "ui/core/corecallback.h"
#include "ui/core/coreres.h"
#include "ui/core/uicore.h"

namespace uicore {

static int g_programmatic = 0;

Programmatic::Programmatic() { ++g_programmatic; }
Programmatic::~Programmatic() { --g_programmatic; }
bool InProgrammatic() { return g_programmatic > 0; }

int CopyOut(const std::string &bytes, char *out, int room) {
    if (room <= 0) return UIE_BUFFER_TOO_SMALL;
    const size_t n = std::min(bytes.size(), static_cast<size_t>(room) - 1);
    std::memcpy(out, bytes.data(), n);
    out[n] = '\0';
    return n == bytes.size() ? 0 : UIE_BUFFER_TOO_SMALL;
}

void TextEdited(int panel, int ctrl) {
    if (InProgrammatic()) return;
    if (Ctrl *c = FindCtrl(FindPanel(panel), ctrl)) c->textKnown = false;
}

void RingChosen(int panel, int ctrl, int index) {
    Ctrl *c = FindCtrl(FindPanel(panel), ctrl);
    if (!c || InProgrammatic() || index < 0 || index >= static_cast<int>(c->items.size())) return;
    c->current = index;
    Commit(panel, ctrl);
}

// The control and its status: null with *status set when the run-time has
// not started or the panel or control is unknown.
static Ctrl *CtrlFor(int panel, int control, int *status, Panel **pp = nullptr) {
    *status = 0;
    if (!Ready()) { *status = UIE_NOT_INITIALIZED; return nullptr; }
    Panel *p = FindPanel(panel);
    if (!p) { *status = UIE_BAD_PANEL; return nullptr; }
    Ctrl *c = FindCtrl(p, control);
    if (!c) { *status = UIE_BAD_CONTROL; return nullptr; }
    if (pp) *pp = p;
    return c;
}

// As CtrlFor, also failing with UIE_BAD_ATTRIBUTE for an attribute that is
// none of this control's kind.
static Ctrl *CtrlAttrFor(int panel, int control, int attribute, int *status, Panel **pp) {
    Ctrl *c = CtrlFor(panel, control, status, pp);
    if (c && !IsAttrOfStyle(c->style, attribute)) { *status = UIE_BAD_ATTRIBUTE; return nullptr; }
    return c;
}

// As CtrlFor, also failing with UIE_BAD_ATTRIBUTE for a control of another style.
static Ctrl *CtrlOfStyle(int panel, int control, int style, int *status, Panel **pp = nullptr) {
    Ctrl *c = CtrlFor(panel, control, status, pp);
    if (c && c->style != style) { *status = UIE_BAD_ATTRIBUTE; return nullptr; }
    return c;
}

static bool IsEditText(const Ctrl &c) { return c.style == CTRL_STRING || c.style == CTRL_TEXT_BOX; }

static int SetLabelText(Panel &p, Ctrl &c, const char *v) {
    if (c.labelRaw == v) return 0;
    const bool wasShown = LabelShown(c);
    c.labelRaw = v;
    Programmatic g;
    Drv().setLabel(p, c);
    if (c.apart && LabelShown(c) != wasShown) Drv().showCtrl(p, c);
    // The label names it, unless it has a name of its own, which a driver
    // that shows both in one text (Win32) must put back.
    Drv().setAccessibleName(p, c);
    return 0;
}

static int SetAccessName(Panel &p, Ctrl &c, const char *v) {
    if (c.accessName == v) return 0;
    c.accessName = v;
    Drv().setAccessibleName(p, c);
    return 0;
}

static int SetEditText(Ctrl &c, const char *v) {
    if (c.textKnown && c.textRaw == v) return 0;
    c.textRaw = v;
    c.textKnown = true;
    Programmatic g;
    Drv().setEditText(c);
    return 0;
}

// Moves a control, its label apart following.
static int MoveCtrl(Panel &p, Ctrl &c, int dx, int dy) {
    if (dx == 0 && dy == 0) return 0;
    Rect r = Drv().ctrlRect(p, c);
    r.x += dx;
    r.y += dy;
    Programmatic g;
    Drv().placeCtrl(p, c, r);
    if (c.apart) {
        Rect l = Drv().labelRect(p, c);
        l.x += dx;
        l.y += dy;
        Drv().placeLabel(p, c, l);
    }
    return 0;
}

static int TextBoxHeight(const Ctrl &c, int lines) {
    int lineHeight = 1, chrome = 0;
    Drv().textBoxMetrics(c, &lineHeight, &chrome);
    return lines * lineHeight + chrome;
}

// The lines a text box shows: as set while its height is still the one
// set, else the whole lines that fit.
static int TextBoxLines(const Ctrl &c, int height) {
    if (c.visibleLines > 0 && height == TextBoxHeight(c, c.visibleLines)) return c.visibleLines;
    int lineHeight = 1, chrome = 0;
    Drv().textBoxMetrics(c, &lineHeight, &chrome);
    return std::max(0, (height - chrome) / std::max(1, lineHeight));
}

// Moves the control to z-plane v; the others keep their order.
static int SetZPlane(Panel &p, Ctrl &c, int v) {
    const int n = static_cast<int>(p.ctrls.size());
    if (v < 0 || v >= n) return UIE_BAD_VALUE;
    if (c.zplane == v) return 0;
    std::vector<Ctrl *> order(static_cast<size_t>(n));
    for (auto &k : p.ctrls) order[static_cast<size_t>(k->zplane)] = k.get();
    order.erase(order.begin() + c.zplane);
    order.insert(order.begin() + v, &c);
    for (int i = 0; i < n; ++i) order[static_cast<size_t>(i)]->zplane = i;
    Programmatic g;
    Drv().restack(p);
    return 0;
}

static int SetCtrlInt(Panel &p, Ctrl &c, int a, int v) {
    const Driver &d = Drv();
    Programmatic g;
    switch (a) {
    case ATTR_DIMMED:
        if (c.dimmed == (v != 0)) return 0;
        c.dimmed = v != 0;
        d.enableCtrl(p, c);
        return 0;
    case ATTR_VISIBLE:
    case ATTR_LABEL_VISIBLE: {
        bool &flag = a == ATTR_VISIBLE ? c.visible : c.labelVisible;
        if (flag == (v != 0)) return 0;
        flag = v != 0;
        d.showCtrl(p, c);
        return 0;
    }
    case ATTR_LEFT:
    case ATTR_TOP: {
        const Rect r = d.ctrlRect(p, c);
        return a == ATTR_LEFT ? MoveCtrl(p, c, v - r.x, 0) : MoveCtrl(p, c, 0, v - r.y);
    }
    case ATTR_WIDTH:
    case ATTR_HEIGHT: {
        if (v < 0) return UIE_BAD_VALUE;
        Rect r = d.ctrlRect(p, c);
        int &side = a == ATTR_WIDTH ? r.width : r.height;
        if (side == v) return 0;
        side = v;
        d.placeCtrl(p, c, r);
        return 0;
    }
    case ATTR_ZPLANE_POSITION: return SetZPlane(p, c, v);
    case ATTR_CTRL_STYLE:
    case ATTR_NEXT_CTRL: return UIE_NOT_PERMITTED;   // read only
    case ATTR_CTRL_MODE:
        if (v < VAL_INDICATOR || v > VAL_NORMAL) return UIE_BAD_VALUE;
        if (c.mode == v) return 0;
        c.mode = v;
        d.setMode(p, c);
        return 0;
    case ATTR_TEXT_COLOR:
        if (v < 0 || v > 0xFFFFFF) return UIE_BAD_VALUE;
        if (c.textColor == v) return 0;
        c.textColor = v;
        d.setTextColor(p, c);
        return 0;
    case ATTR_TEXT_UNDERLINE:
        if (c.underline == (v != 0)) return 0;
        c.underline = v != 0;
        d.setUnderline(p, c);
        return 0;
    case ATTR_VISIBLE_LINES: {
        if (v < 1) return UIE_BAD_VALUE;
        c.visibleLines = v;
        Rect r = d.ctrlRect(p, c);
        const int h = TextBoxHeight(c, v);
        if (r.height == h) return 0;
        r.height = h;
        d.placeCtrl(p, c, r);
        return 0;
    }
    default: return UIE_BAD_ATTRIBUTE;
    }
}

static int GetCtrlInt(Panel &p, Ctrl &c, int a, int *v) {
    switch (a) {
    case ATTR_DIMMED: *v = c.dimmed ? 1 : 0; return 0;
    case ATTR_VISIBLE: *v = c.visible ? 1 : 0; return 0;
    case ATTR_LEFT: *v = Drv().ctrlRect(p, c).x; return 0;
    case ATTR_TOP: *v = Drv().ctrlRect(p, c).y; return 0;
    case ATTR_WIDTH: *v = Drv().ctrlRect(p, c).width; return 0;
    case ATTR_HEIGHT: *v = Drv().ctrlRect(p, c).height; return 0;
    case ATTR_ZPLANE_POSITION: *v = c.zplane; return 0;
    case ATTR_CTRL_STYLE: *v = c.style; return 0;
    case ATTR_NEXT_CTRL: {
        *v = 0;
        for (size_t i = 0; i + 1 < p.ctrls.size(); ++i)
            if (p.ctrls[i].get() == &c) { *v = p.ctrls[i + 1]->id; break; }
        return 0;
    }
    case ATTR_CTRL_MODE: *v = c.mode; return 0;
    case ATTR_LABEL_VISIBLE: *v = c.labelVisible ? 1 : 0; return 0;
    case ATTR_TEXT_COLOR: *v = c.textColor; return 0;
    case ATTR_TEXT_UNDERLINE: *v = c.underline ? 1 : 0; return 0;
    case ATTR_VISIBLE_LINES: *v = TextBoxLines(c, Drv().ctrlRect(p, c).height); return 0;
    default: return UIE_BAD_ATTRIBUTE;
    }
}

// Index of the first item of that value, -1 when none.
static int FindValue(const Ctrl &c, int value) {
    for (size_t i = 0; i < c.items.size(); ++i)
        if (c.items[i].value == value) return static_cast<int>(i);
    return -1;
}

static int Count(const Ctrl &c) { return static_cast<int>(c.items.size()); }

static void Select(Ctrl &c, int index) {
    if (c.current == index) return;
    c.current = index;
    Drv().ringSelect(c);
}

}  // namespace uicore

using namespace uicore;

// The new control's id (> 0): one above the panel's highest, in front of
// the others. UIE_NOT_INITIALIZED, UIE_BAD_PANEL, UIE_BAD_VALUE (unknown
// style), the driver's UIE_SYSTEM.
int NewCtrlAnsi(int panel, int style, const char *label, int top, int left) {
    if (!Ready()) return UIE_NOT_INITIALIZED;
    Panel *p = FindPanel(panel);
    if (!p) return UIE_BAD_PANEL;
    if (!IsCtrlStyle(style)) return UIE_BAD_VALUE;
    int id = 1;
    for (auto &k : p->ctrls) id = std::max(id, k->id);
    auto c = std::make_unique<Ctrl>();
    c->id = id + 1;
    c->style = style;
    c->mode = DefaultCtrlMode(style);
    c->apart = HasLabelApart(style);
    c->labelRaw = label ? label : "";
    c->textKnown = IsEditText(*c);
    Ctrl &ref = *c;
    CtrlLook look, labelLook;
    DefaultLook(ref, top, left, &look, &labelLook);
    const Driver &d = Drv();
    Programmatic g;
    const int st = d.makeCtrl(*p, ref, look);
    if (st < 0) return st;
    if (ref.apart) d.makeLabel(*p, ref, labelLook);
    for (auto &k : p->ctrls) ++k->zplane;
    p->ctrls.push_back(std::move(c));
    d.restack(*p);
    d.setAccessibleName(*p, ref);
    return ref.id;
}

// Every control attribute setter and getter returns 0, or
// UIE_NOT_INITIALIZED, UIE_BAD_PANEL, UIE_BAD_CONTROL, UIE_BAD_ATTRIBUTE
// (unknown, or not one of this control's kind), UIE_BAD_POINTER,
// UIE_BAD_VALUE (the wrong type for the attribute, or out of range),
// UIE_NOT_PERMITTED (read-only attribute).
int SetCtrlAttributeAnsi(int panel, int control, int attribute, int value) {
    int st;
    Panel *p = nullptr;
    Ctrl *c = CtrlAttrFor(panel, control, attribute, &st, &p);
    if (!c) return st;
    const int cbSt = SetCallbackAttribute(c->cb, c->cbData, attribute, value);
    if (cbSt != kNoCallbackAttribute) return cbSt;
    if (attribute == ATTR_LABEL_TEXT || attribute == ATTR_ACCESSIBLE_NAME) return UIE_BAD_VALUE;
    return SetCtrlInt(*p, *c, attribute, value);
}

int SetCtrlAttributeAnsi(int panel, int control, int attribute, const char *value) {
    int st;
    Panel *p = nullptr;
    Ctrl *c = CtrlAttrFor(panel, control, attribute, &st, &p);
    if (!c) return st;
    const int cbSt = SetCallbackAttribute(c->cb, c->cbData, attribute, value);
    if (cbSt != kNoCallbackAttribute) return cbSt;
    if (attribute != ATTR_LABEL_TEXT && attribute != ATTR_ACCESSIBLE_NAME) return UIE_BAD_VALUE;
    if (!value) return UIE_BAD_POINTER;
    if (attribute == ATTR_ACCESSIBLE_NAME) return SetAccessName(*p, *c, value);
    return SetLabelText(*p, *c, value);
}

int SetCtrlAttributeAnsi(int panel, int control, int attribute, void *value) {
    int st;
    Panel *p = nullptr;
    Ctrl *c = CtrlAttrFor(panel, control, attribute, &st, &p);
    if (!c) return st;
    const int cbSt = SetCallbackAttribute(c->cb, c->cbData, attribute, value);
    return cbSt == kNoCallbackAttribute ? UIE_BAD_VALUE : cbSt;
}

int SetCtrlAttributeAnsi(int panel, int control, int attribute, CtrlCallbackPtr value) {
    int st;
    Panel *p = nullptr;
    Ctrl *c = CtrlAttrFor(panel, control, attribute, &st, &p);
    if (!c) return st;
    const int cbSt = SetCallbackAttributeFn(c->cb, attribute, value);
    return cbSt == kNoCallbackAttribute ? UIE_BAD_VALUE : cbSt;
}

int GetCtrlAttributeAnsi(int panel, int control, int attribute, int *value) {
    int st;
    Panel *p = nullptr;
    Ctrl *c = CtrlAttrFor(panel, control, attribute, &st, &p);
    if (!c) return st;
    if (!value) return UIE_BAD_POINTER;
    if (!IsCtrlIntAttr(attribute)) return UIE_BAD_VALUE;
    return GetCtrlInt(*p, *c, attribute, value);
}

int GetCtrlAttributeAnsi(int panel, int control, int attribute, char *value) {
    int st;
    Panel *p = nullptr;
    Ctrl *c = CtrlAttrFor(panel, control, attribute, &st, &p);
    if (!c) return st;
    if (!value) return UIE_BAD_POINTER;
    if (attribute == ATTR_ACCESSIBLE_NAME) return CopyOut(AccessibleName(*c), value);
    if (attribute != ATTR_LABEL_TEXT) return UIE_BAD_VALUE;
    return CopyOut(c->labelRaw, value);
}

int GetCtrlAttributeAnsi(int panel, int control, int attribute, void **value) {
    int st;
    Panel *p = nullptr;
    Ctrl *c = CtrlAttrFor(panel, control, attribute, &st, &p);
    if (!c) return st;
    if (!value) return UIE_BAD_POINTER;
    const int cbSt = GetCallbackAttribute(c->cb, c->cbData, attribute, value);
    return cbSt == kNoCallbackAttribute ? UIE_BAD_VALUE : cbSt;
}

int GetCtrlAttributeAnsi(int panel, int control, int attribute, CtrlCallbackPtr *value) {
    int st;
    Panel *p = nullptr;
    Ctrl *c = CtrlAttrFor(panel, control, attribute, &st, &p);
    if (!c) return st;
    if (!value) return UIE_BAD_POINTER;
    const int cbSt = GetCallbackAttributeFn(c->cb, attribute, value);
    return cbSt == kNoCallbackAttribute ? UIE_BAD_VALUE : cbSt;
}

// 0 with the rectangle holding the control and its label apart when that
// is shown, in the panel; UIE_NOT_INITIALIZED, UIE_BAD_PANEL,
// UIE_BAD_CONTROL, UIE_BAD_POINTER.
int GetCtrlBoundingRect(int panel, int control, int *top, int *left, int *height, int *width) {
    int st;
    Panel *p = nullptr;
    Ctrl *c = CtrlFor(panel, control, &st, &p);
    if (!c) return st;
    if (!top || !left || !height || !width) return UIE_BAD_POINTER;
    Rect r = Drv().ctrlRect(*p, *c);
    if (c->apart && LabelShown(*c)) {
        const Rect l = Drv().labelRect(*p, *c);
        const int x0 = std::min(r.x, l.x), y0 = std::min(r.y, l.y);
        const int x1 = std::max(r.x + r.width, l.x + l.width), y1 = std::max(r.y + r.height, l.y + l.height);
        r = {x0, y0, x1 - x0, y1 - y0};
    }
    *top = r.y;
    *left = r.x;
    *height = r.height;
    *width = r.width;
    return 0;
}

// ------------------------------------------------------------- values

// 0; UIE_NOT_INITIALIZED, UIE_BAD_PANEL, UIE_BAD_CONTROL, UIE_BAD_VALUE (not
// a ring or numeric, or a number outside the numeric's range),
// UIE_VALUE_NOT_FOUND (no ring item has that value: nothing changes). A
// ring selects its first item of that value. No commit follows.
int SetCtrlValAnsi(int panel, int control, int value) {
    int st;
    Ctrl *c = CtrlFor(panel, control, &st);
    if (!c) return st;
    Programmatic g;
    if (c->style == CTRL_RING) {
        const int i = FindValue(*c, value);
        if (i < 0) return UIE_VALUE_NOT_FOUND;
        Select(*c, i);
        return 0;
    }
    if (c->style == CTRL_NUMERIC) {
        if (value < c->minimum || value > c->maximum) return UIE_BAD_VALUE;
        if (Drv().numericValue(*c) != value) Drv().setNumericValue(*c, value);
        return 0;
    }
    return UIE_BAD_VALUE;
}

// 0; UIE_NOT_INITIALIZED, UIE_BAD_PANEL, UIE_BAD_CONTROL, UIE_BAD_POINTER,
// UIE_BAD_VALUE (not a text message, string or text box). A text box's
// whole text is replaced.
int SetCtrlValAnsi(int panel, int control, const char *value) {
    int st;
    Panel *p = nullptr;
    Ctrl *c = CtrlFor(panel, control, &st, &p);
    if (!c) return st;
    if (!value) return UIE_BAD_POINTER;
    if (c->style == CTRL_TEXT_MSG) return SetLabelText(*p, *c, value);
    if (IsEditText(*c)) return SetEditText(*c, value);
    return UIE_BAD_VALUE;
}

// 0; UIE_NOT_INITIALIZED, UIE_BAD_PANEL, UIE_BAD_CONTROL, UIE_BAD_POINTER,
// UIE_BAD_VALUE (not a ring or numeric), UIE_BAD_INDEX (an empty ring).
int GetCtrlValAnsi(int panel, int control, int *value) {
    int st;
    Ctrl *c = CtrlFor(panel, control, &st);
    if (!c) return st;
    if (!value) return UIE_BAD_POINTER;
    if (c->style == CTRL_RING) {
        if (c->current < 0) return UIE_BAD_INDEX;
        *value = c->items[static_cast<size_t>(c->current)].value;
        return 0;
    }
    if (c->style == CTRL_NUMERIC) {
        *value = Drv().numericValue(*c);
        return 0;
    }
    return UIE_BAD_VALUE;
}

// 0 with the text (at most 1023 bytes and a zero); UIE_NOT_INITIALIZED,
// UIE_BAD_PANEL, UIE_BAD_CONTROL, UIE_BAD_POINTER, UIE_BAD_VALUE (no text
// control), UIE_BUFFER_TOO_SMALL (the text was cut).
int GetCtrlValAnsi(int panel, int control, char *value) {
    int st;
    Ctrl *c = CtrlFor(panel, control, &st);
    if (!c) return st;
    if (!value) return UIE_BAD_POINTER;
    if (c->style == CTRL_TEXT_MSG) return CopyOut(c->labelRaw, value);
    if (IsEditText(*c)) return CopyOut(c->textKnown ? c->textRaw : Drv().editText(*c), value);
    return UIE_BAD_VALUE;
}

// 0; UIE_NOT_INITIALIZED, UIE_BAD_PANEL, UIE_BAD_CONTROL, UIE_BAD_ATTRIBUTE
// (not a text box), UIE_BAD_POINTER. Replaces the whole text and shows its
// beginning; the same text again changes nothing.
int ResetTextBoxAnsi(int panel, int control, const char *text) {
    int st;
    Ctrl *c = CtrlOfStyle(panel, control, CTRL_TEXT_BOX, &st);
    if (!c) return st;
    if (!text) return UIE_BAD_POINTER;
    return SetEditText(*c, text);
}

// --------------------------------------------------------------- lists
// Every list operation returns 0 (GetNumListItems and friends fill their
// output), or UIE_NOT_INITIALIZED, UIE_BAD_PANEL, UIE_BAD_CONTROL,
// UIE_BAD_ATTRIBUTE (the control is no ring), UIE_BAD_POINTER,
// UIE_BAD_INDEX, UIE_VALUE_NOT_FOUND. None of them gives a commit. A ring
// with items always has a current one: the first item inserted becomes
// current, and the current item deleted gives way to the one at its place
// (the last, when it was after it).

// index -1 (or the number of items) appends.
int InsertListItemAnsi(int panel, int control, int index, const char *label, int value) {
    int st;
    Ctrl *c = CtrlOfStyle(panel, control, CTRL_RING, &st);
    if (!c) return st;
    if (!label) return UIE_BAD_POINTER;
    if (index == -1) index = Count(*c);
    if (index < 0 || index > Count(*c)) return UIE_BAD_INDEX;
    c->items.insert(c->items.begin() + index, Item{label, value});
    Programmatic g;
    Drv().ringInsert(*c, index);
    if (c->current >= index) ++c->current;   // the same item stays current
    if (c->current < 0) c->current = 0;
    Drv().ringSelect(*c);
    return 0;
}

int ReplaceListItemAnsi(int panel, int control, int index, const char *label, int value) {
    int st;
    Ctrl *c = CtrlOfStyle(panel, control, CTRL_RING, &st);
    if (!c) return st;
    if (!label) return UIE_BAD_POINTER;
    if (index < 0 || index >= Count(*c)) return UIE_BAD_INDEX;
    Item &item = c->items[static_cast<size_t>(index)];
    item.value = value;
    if (item.label == label) return 0;
    item.label = label;
    Programmatic g;
    Drv().ringReplace(*c, index);
    return 0;
}

// count -1 deletes to the end; deleting from an empty list is no fault.
int DeleteListItem(int panel, int control, int index, int count) {
    int st;
    Ctrl *c = CtrlOfStyle(panel, control, CTRL_RING, &st);
    if (!c) return st;
    const int n = Count(*c);
    if (n == 0 && index == 0) return 0;
    if (index < 0 || index >= n) return UIE_BAD_INDEX;
    if (count == -1) count = n - index;
    if (count < 0 || index + count > n) return UIE_BAD_INDEX;
    c->items.erase(c->items.begin() + index, c->items.begin() + index + count);
    if (c->current >= index + count) c->current -= count;
    else if (c->current >= index) c->current = std::min(index, Count(*c) - 1);
    Programmatic g;
    Drv().ringDelete(*c, index, count);
    Drv().ringSelect(*c);
    return 0;
}

int GetNumListItems(int panel, int control, int *count) {
    int st;
    Ctrl *c = CtrlOfStyle(panel, control, CTRL_RING, &st);
    if (!c) return st;
    if (!count) return UIE_BAD_POINTER;
    *count = Count(*c);
    return 0;
}

int GetValueFromIndexAnsi(int panel, int control, int index, int *value) {
    int st;
    Ctrl *c = CtrlOfStyle(panel, control, CTRL_RING, &st);
    if (!c) return st;
    if (!value) return UIE_BAD_POINTER;
    if (index < 0 || index >= Count(*c)) return UIE_BAD_INDEX;
    *value = c->items[static_cast<size_t>(index)].value;
    return 0;
}

int GetIndexFromValueAnsi(int panel, int control, int *index, int value) {
    int st;
    Ctrl *c = CtrlOfStyle(panel, control, CTRL_RING, &st);
    if (!c) return st;
    if (!index) return UIE_BAD_POINTER;
    const int i = FindValue(*c, value);
    if (i < 0) return UIE_VALUE_NOT_FOUND;
    *index = i;
    return 0;
}

// The label of item index (room for 1024 bytes); UIE_BUFFER_TOO_SMALL when cut.
int GetLabelFromIndexAnsi(int panel, int control, int index, char *label) {
    int st;
    Ctrl *c = CtrlOfStyle(panel, control, CTRL_RING, &st);
    if (!c) return st;
    if (!label) return UIE_BAD_POINTER;
    if (index < 0 || index >= Count(*c)) return UIE_BAD_INDEX;
    return CopyOut(c->items[static_cast<size_t>(index)].label, label);
}

// The current item's index, -1 when the list is empty.
int GetCtrlIndex(int panel, int control, int *index) {
    int st;
    Ctrl *c = CtrlOfStyle(panel, control, CTRL_RING, &st);
    if (!c) return st;
    if (!index) return UIE_BAD_POINTER;
    *index = c->current;
    return 0;
}
