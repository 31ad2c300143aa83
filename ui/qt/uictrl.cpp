// uictrl.cpp: controls: creation, attributes, values, text boxes and lists.
//
// Exports (ui/userint.h): NewCtrlAnsi,
// Set/GetCtrlAttributeAnsi, GetCtrlBoundingRect, Set/GetCtrlValAnsi,
// ResetTextBoxAnsi, the list operations; (ui/qt/uiprivate.h): SetupCtrl,
// ApplyMode.
//
// Data model: a control is a Ctrl record (ui/qt/uiprivate.h) over one widget
// of the class its style names (COMMON.md: QPushButton, QComboBox, QLabel,
// QPlainTextEdit, QFrame, QLineEdit, QSpinBox). Texts are kept as the bytes
// they were set with (labelRaw, textRaw), so that reading gives back
// exactly what was written and setting the same text again is found out by
// a byte comparison, without converting or touching the widget. A ring's
// items carry their int value as Qt::UserRole data.
//
// Labels: a command button's label is its text, in the "__X" form where X
// is the shortcut letter (shown as Qt's "&X"); a text message's label is its
// text, drawn as plain text; other controls' labels are a QLabel apart
// (labelOf) when the panel has one, else only remembered.
#include <algorithm>
#include <cstring>

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTextDocument>

#include "ui/core/textcodec.h"
#include "ui/core/uiattr.h"
#include "ui/core/uicallback.h"
#include "ui/qt/uiprivate.h"
#include "ui/userint.h"

namespace uirt {

// --------------------------------------------------------------- state
// None of its own: everything lives in the panel records of uipanel.cpp.

static QPushButton *Button(Ctrl &c) {
    return (c.style == CTRL_COMMAND_BUTTON || c.style == CTRL_PICTURE_COMMAND_BUTTON) ? static_cast<QPushButton *>(Q(c).w) : nullptr;
}
static QComboBox *Ring(Ctrl &c) { return c.style == CTRL_RING ? static_cast<QComboBox *>(Q(c).w) : nullptr; }
static QLabel *TextMsg(Ctrl &c) { return c.style == CTRL_TEXT_MSG ? static_cast<QLabel *>(Q(c).w) : nullptr; }
static QPlainTextEdit *TextBox(Ctrl &c) { return c.style == CTRL_TEXT_BOX ? static_cast<QPlainTextEdit *>(Q(c).w) : nullptr; }
static QLineEdit *String(Ctrl &c) { return c.style == CTRL_STRING ? static_cast<QLineEdit *>(Q(c).w) : nullptr; }
static QSpinBox *Numeric(Ctrl &c) { return c.style == CTRL_NUMERIC ? static_cast<QSpinBox *>(Q(c).w) : nullptr; }

// A text box's text as the user left it: line breaks as '\n', no-break
// spaces kept (QPlainTextEdit::toPlainText would make them plain spaces).
static QString TextBoxText(QPlainTextEdit *t) {
    QString s = t->document()->toRawText();
    s.replace(QChar::ParagraphSeparator, u'\n');
    s.replace(QChar::LineSeparator, u'\n');
    return s;
}

// Grows a label to show its whole text (a label never shrinks, so that a
// resource's generous size or alignment is kept).
static void GrowToText(QLabel *l) {
    const QSize hint = l->sizeHint();
    const QSize now = l->size();
    const QSize want(std::max(hint.width(), now.width()), std::max(hint.height(), now.height()));
    if (want != now) l->resize(want);
}

// A label's text as read aloud: without its shortcut marker.
static QString PlainLabel(const std::string &raw) {
    if (!uicore::HasMnemonic(raw)) return FromAnsi(raw);
    const QString qt = MnemonicToQt(raw);   // "&X", a literal '&' doubled
    QString plain;
    plain.reserve(qt.size());
    for (qsizetype i = 0; i < qt.size(); ++i) {
        if (qt[i] == u'&' && i + 1 < qt.size()) ++i;
        plain += qt[i];
    }
    return plain;
}

// Puts a label's text on a QLabel drawn apart: plain text; with a shortcut
// marker, Qt's form and the control as buddy, so that Alt+letter reaches it.
static void ShowApartLabel(Ctrl &c) {
    QLabel *l = Q(c).label;
    l->setTextFormat(Qt::PlainText);
    if (uicore::HasMnemonic(c.labelRaw)) {
        l->setText(MnemonicToQt(c.labelRaw));
        l->setBuddy(Q(c).w);
    } else {
        l->setBuddy(nullptr);
        l->setText(FromAnsi(c.labelRaw));
    }
    GrowToText(l);
    // A screen reader reads the control by the label beside it: a picture
    // button is otherwise only "button".
    Q(c).w->setAccessibleName(PlainLabel(c.labelRaw));
}

// The text of a word-wrapped text message with every word too long for its
// width broken anywhere (zero-width spaces between its characters): such a
// word would otherwise run past the control's edge.
static QString BreakLongWords(const QLabel *t, const QString &text) {
    const QFontMetrics fm(t->font());
    const int room = t->contentsRect().width();
    QString out;
    out.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        qsizetype j = i;
        while (j < text.size() && !text.at(j).isSpace()) ++j;
        const QString word = text.mid(i, j - i);
        if (fm.horizontalAdvance(word) <= room) {
            out += word;
        } else {
            for (qsizetype k = 0; k < word.size(); ++k) {
                out += word.at(k);
                if (k + 1 < word.size() && !word.at(k).isHighSurrogate()) out += QChar(0x200B);
            }
        }
        while (j < text.size() && text.at(j).isSpace()) out += text.at(j++);
        i = j;
    }
    return out;
}

// Sizes a text message to its text. One that wraps keeps its width and
// grows in height to hold every line, its panel with it when it must; any
// other is exactly as wide as its text (so that what reacts to the mouse
// over it is its text), its aligned edge or centre staying where it was,
// and never lower than its resource made it.
static void FitTextMsg(QLabel *t) {
    const QRect now = t->geometry();
    QRect want = now;
    if (t->wordWrap()) {
        want.setHeight(std::max(now.height(), t->heightForWidth(now.width())));
        // The panel keeps the margin it had below the control.
        QWidget *root = t->parentWidget();
        const int below = root ? root->height() - (now.y() + now.height()) : 0;
        if (root && below >= 0 && want.y() + want.height() + below > root->height()) {
            const int h = want.y() + want.height() + below;
            if (root->minimumHeight() == root->maximumHeight()) root->setFixedHeight(h);
            else root->resize(root->width(), h);
        }
    } else {
        const QSize hint = t->sizeHint();
        want.setHeight(std::max(hint.height(), now.height()));
        want.setWidth(hint.width());
        const Qt::Alignment a = t->alignment();
        if (a & Qt::AlignRight) want.moveRight(now.right());
        else if (a & Qt::AlignHCenter) want.moveLeft(now.left() + (now.width() - hint.width()) / 2);
    }
    if (want != now) t->setGeometry(want);
}

static void ShowTextMsg(Ctrl &c, QLabel *t) {
    const QString text = FromAnsi(c.labelRaw);
    t->setText(t->wordWrap() ? BreakLongWords(t, text) : text);
    FitTextMsg(t);
}

static void ShowLabel(Ctrl &c) {
    if (QPushButton *b = Button(c); b && c.style == CTRL_COMMAND_BUTTON) {
        b->setText(MnemonicToQt(c.labelRaw));
    } else if (QLabel *t = TextMsg(c)) {
        ShowTextMsg(c, t);
    } else if (Q(c).label) {
        ShowApartLabel(c);
    }
}

static void UpdateApartLabelVisibility(Ctrl &c) {
    if (!Q(c).label) return;
    const bool want = c.labelVisible && !Q(c).w->isHidden();
    if (Q(c).label->isHidden() == want) Q(c).label->setVisible(want);
}

void ApplyDimmed(const Panel &p, Ctrl &c) {
    const bool enabled = !(c.dimmed || p.dimmed);
    if (Q(c).w->testAttribute(Qt::WA_ForceDisabled) == enabled) Q(c).w->setEnabled(enabled);
    if (Q(c).label && Q(c).label->testAttribute(Qt::WA_ForceDisabled) == enabled) Q(c).label->setEnabled(enabled);
}

void ApplyMode(Ctrl &c) {
    const bool indicator = c.mode == VAL_INDICATOR;
    if (QPlainTextEdit *t = TextBox(c)) t->setReadOnly(indicator);
    else if (QLineEdit *s = String(c)) s->setReadOnly(indicator);
    else if (QSpinBox *n = Numeric(c)) n->setReadOnly(indicator);
    else if (Button(c) || Ring(c)) {
        // Input to these is swallowed by the event filter; keep them out of
        // the keyboard focus chain too.
        const Qt::FocusPolicy want = indicator ? Qt::NoFocus : static_cast<Qt::FocusPolicy>(Q(c).focusPolicy);
        if (Q(c).w->focusPolicy() != want) Q(c).w->setFocusPolicy(want);
    }
}

void SetupCtrl(Panel &p, Ctrl &c) {
    (void)p;
    Q(c).focusPolicy = Q(c).w->focusPolicy();
    if (QPushButton *b = Button(c)) {
        b->setAutoDefault(true);   // Enter on the focused button operates it, as Space does
        if (c.style == CTRL_COMMAND_BUTTON) {
            c.labelRaw = ToAnsi(b->text());
            b->setText(MnemonicToQt(c.labelRaw));
        }
    } else if (QLabel *t = TextMsg(c)) {
        t->setTextFormat(Qt::PlainText);
        c.labelRaw = ToAnsi(t->text());
        ShowTextMsg(c, t);
    } else if (QPlainTextEdit *tb = TextBox(c)) {
        c.textRaw = ToAnsi(TextBoxText(tb));
        c.textKnown = true;
    } else if (QLineEdit *s = String(c)) {
        c.textRaw = ToAnsi(s->text());
        c.textKnown = true;
    } else if (QSpinBox *n = Numeric(c)) {
        (void)n;
    }
    if (c.style == CTRL_DECORATION) Q(c).w->setAttribute(Qt::WA_TransparentForMouseEvents);
    if (Q(c).label) {
        c.labelRaw = ToAnsi(Q(c).label->text());
        ShowApartLabel(c);
    }
    ApplyMode(c);
}

// Height of a text box that shows exactly n lines: QPlainTextEdit wants
// the lines, its document margin above and below, its frame, and one pixel
// more before it takes its scroll bar away.
static int TextBoxChrome(QPlainTextEdit *t) {
    const QMargins cm = t->contentsMargins();
    return static_cast<int>(2 * t->document()->documentMargin()) + cm.top() + cm.bottom() + 1;
}

static int TextBoxHeight(QPlainTextEdit *t, int lines) {
    return lines * t->fontMetrics().lineSpacing() + TextBoxChrome(t);
}

// The lines a text box shows: as set when its height is still the one set,
// else the whole lines that fit.
static int TextBoxLines(Ctrl &c, QPlainTextEdit *t) {
    if (c.visibleLines > 0 && t->height() == TextBoxHeight(t, c.visibleLines)) return c.visibleLines;
    const int ls = std::max(1, t->fontMetrics().lineSpacing());
    return std::max(0, (t->height() - TextBoxChrome(t)) / ls);
}

// Index of the first item of that value, -1 when none.
static int FindValue(QComboBox *r, int value) {
    const int n = r->count();
    for (int i = 0; i < n; ++i)
        if (r->itemData(i).toInt() == value) return i;
    return -1;
}

static QPalette::ColorRole TextRole(Ctrl &c) { return Q(c).w->foregroundRole(); }

// Moves the control, its label apart following.
static void MoveCtrl(Ctrl &c, QPoint to) {
    const QPoint delta = to - Q(c).w->pos();
    if (delta.isNull()) return;
    Q(c).w->move(to);
    if (Q(c).label) Q(c).label->move(Q(c).label->pos() + delta);
}

// Restacks a panel's controls after a z-plane change: back to front, each
// raised with its label.
static void Restack(Panel &p) {
    std::vector<Ctrl *> order(p.ctrls.size());
    for (auto &c : p.ctrls) order[static_cast<size_t>(c->zplane)] = c.get();
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        Q(**it).w->raise();
        if (Q(**it).label) Q(**it).label->raise();
    }
}

static int SetZPlane(Panel &p, Ctrl &c, int v) {
    const int n = static_cast<int>(p.ctrls.size());
    if (v < 0 || v >= n) return UIE_BAD_VALUE;
    if (c.zplane == v) return 0;
    std::vector<Ctrl *> order(static_cast<size_t>(n));
    for (auto &k : p.ctrls) order[static_cast<size_t>(k->zplane)] = k.get();
    order.erase(order.begin() + c.zplane);
    order.insert(order.begin() + v, &c);
    for (int i = 0; i < n; ++i) order[static_cast<size_t>(i)]->zplane = i;
    Restack(p);
    return 0;
}

static int SetCtrlInt(Panel &p, Ctrl &c, int a, int v) {
    QWidget *w = Q(c).w;
    switch (a) {
    case ATTR_DIMMED:
        c.dimmed = v != 0;
        ApplyDimmed(p, c);
        return 0;
    case ATTR_VISIBLE:
        if (w->isHidden() == (v != 0)) w->setVisible(v != 0);
        UpdateApartLabelVisibility(c);
        return 0;
    case ATTR_LEFT: MoveCtrl(c, QPoint(v, w->y())); return 0;
    case ATTR_TOP: MoveCtrl(c, QPoint(w->x(), v)); return 0;
    case ATTR_WIDTH:
    case ATTR_HEIGHT: {
        if (v < 0) return UIE_BAD_VALUE;
        QSize s = w->size();
        (a == ATTR_WIDTH ? s.rwidth() : s.rheight()) = v;
        if (s != w->size()) w->resize(s);
        return 0;
    }
    case ATTR_ZPLANE_POSITION: return SetZPlane(p, c, v);
    case ATTR_CTRL_STYLE:
    case ATTR_NEXT_CTRL: return UIE_NOT_PERMITTED;   // read only
    case ATTR_CTRL_MODE:
        if (v < VAL_INDICATOR || v > VAL_NORMAL) return UIE_BAD_VALUE;
        if (c.mode != v) { c.mode = v; ApplyMode(c); }
        return 0;
    case ATTR_LABEL_VISIBLE:
        c.labelVisible = v != 0;
        UpdateApartLabelVisibility(c);
        return 0;
    case ATTR_TEXT_COLOR: {
        if (v < 0 || v > 0xFFFFFF) return UIE_BAD_VALUE;
        const QColor want = QColor::fromRgb(static_cast<QRgb>(v));
        const QPalette::ColorRole role = TextRole(c);
        if (w->palette().color(QPalette::Active, role) == want && w->palette().color(QPalette::Inactive, role) == want)
            return 0;
        QPalette pal = w->palette();
        pal.setColor(QPalette::Active, role, want);   // the dimmed look stays Qt's
        pal.setColor(QPalette::Inactive, role, want);
        w->setPalette(pal);
        return 0;
    }
    case ATTR_TEXT_UNDERLINE:
        if (w->font().underline() != (v != 0)) {
            QFont f = w->font();
            f.setUnderline(v != 0);
            w->setFont(f);
            if (QLabel *t = TextMsg(c)) GrowToText(t);
        }
        return 0;
    case ATTR_VISIBLE_LINES: {
        QPlainTextEdit *t = TextBox(c);
        if (!t) return UIE_BAD_ATTRIBUTE;
        if (v < 1) return UIE_BAD_VALUE;
        const int h = TextBoxHeight(t, v);
        c.visibleLines = v;
        if (t->height() != h) t->resize(t->width(), h);
        return 0;
    }
    default: return UIE_BAD_ATTRIBUTE;
    }
}

static int GetCtrlInt(Panel &p, Ctrl &c, int a, int *v) {
    QWidget *w = Q(c).w;
    switch (a) {
    case ATTR_DIMMED: *v = c.dimmed ? 1 : 0; return 0;
    case ATTR_VISIBLE: *v = w->isHidden() ? 0 : 1; return 0;
    case ATTR_LEFT: *v = w->x(); return 0;
    case ATTR_TOP: *v = w->y(); return 0;
    case ATTR_WIDTH: *v = w->width(); return 0;
    case ATTR_HEIGHT: *v = w->height(); return 0;
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
    case ATTR_TEXT_COLOR: *v = static_cast<int>(w->palette().color(QPalette::Active, TextRole(c)).rgb() & 0xFFFFFF); return 0;
    case ATTR_TEXT_UNDERLINE: *v = w->font().underline() ? 1 : 0; return 0;
    case ATTR_VISIBLE_LINES: {
        QPlainTextEdit *t = TextBox(c);
        if (!t) return UIE_BAD_ATTRIBUTE;
        *v = TextBoxLines(c, t);
        return 0;
    }
    default: return UIE_BAD_ATTRIBUTE;
    }
}

static int SetLabelText(Ctrl &c, const char *v) {
    if (c.labelRaw == v) return 0;
    c.labelRaw = v;
    ShowLabel(c);
    return 0;
}

// The control and its status for a control call: null with *status set when
// the run-time has not started or the panel or control is unknown.
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
// not one of a control's.
static Ctrl *CtrlAttrFor(int panel, int control, int attribute, int *status, Panel **pp) {
    Ctrl *c = CtrlFor(panel, control, status, pp);
    if (c && !uicore::IsAttrOfStyle(c->style, attribute)) { *status = UIE_BAD_ATTRIBUTE; return nullptr; }
    return c;
}

}  // namespace uirt

using namespace uirt;

// The new control's id (> 0), or UIE_NOT_INITIALIZED, UIE_BAD_PANEL,
// UIE_BAD_VALUE (unknown style). The control is front-most; its id is one
// above the panel's highest.
int NewCtrlAnsi(int panel, int style, const char *label, int top, int left) {
    if (!Ready()) return UIE_NOT_INITIALIZED;
    Panel *p = FindPanel(panel);
    if (!p) return UIE_BAD_PANEL;
    QWidget *root = Q(*p).w;
    QWidget *w = nullptr;
    bool apart = false;
    switch (style) {
    case CTRL_COMMAND_BUTTON: w = new QPushButton(root); break;
    case CTRL_PICTURE_COMMAND_BUTTON: w = new QPushButton(root); w->resize(32, 32); apart = true; break;
    case CTRL_STRING: w = new QLineEdit(root); apart = true; break;
    case CTRL_NUMERIC: {
        auto *n = new QSpinBox(root);
        n->setRange(-2147483647 - 1, 2147483647);
        w = n;
        apart = true;
        break;
    }
    case CTRL_RING: w = new QComboBox(root); apart = true; break;
    case CTRL_TEXT_MSG: w = new QLabel(root); break;
    case CTRL_TEXT_BOX: w = new QPlainTextEdit(root); w->resize(200, 80); apart = true; break;
    case CTRL_PICTURE: w = new QLabel(root); w->resize(64, 64); break;
    case CTRL_DECORATION: {
        auto *f = new QFrame(root);
        f->setFrameShape(QFrame::Box);
        f->setFrameShadow(QFrame::Sunken);
        f->resize(100, 50);
        w = f;
        break;
    }
    default: return UIE_BAD_VALUE;
    }
    int id = 1;
    for (auto &c : p->ctrls) id = std::max(id, c->id);
    ++id;
    auto c = std::make_unique<Ctrl>();
    c->native = std::make_unique<QtCtrl>();
    c->id = id;
    c->style = style;
    Q(*c).w = w;
    c->mode = uicore::DefaultCtrlMode(style);
    if (apart) {
        Q(*c).label = new QLabel(root);
        Q(*c).label->setTextFormat(Qt::PlainText);
    }
    for (auto &k : p->ctrls) ++k->zplane;
    c->zplane = 0;
    Ctrl &ref = *c;
    p->ctrls.push_back(std::move(c));
    SetupCtrl(*p, ref);
    ref.labelRaw = label ? label : "";
    ShowLabel(ref);
    if (style == CTRL_COMMAND_BUTTON || style == CTRL_RING || style == CTRL_STRING || style == CTRL_NUMERIC)
        w->resize(w->sizeHint());
    w->move(left, top);
    if (Q(ref).label) {
        if (style == CTRL_PICTURE_COMMAND_BUTTON)
            Q(ref).label->move(left + w->width() + 4, top + (w->height() - Q(ref).label->height()) / 2);
        else
            Q(ref).label->move(left, top - Q(ref).label->height() - 2);
        Q(ref).label->setVisible(!ref.labelRaw.empty());
        Q(ref).label->setMouseTracking(true);
    }
    w->setMouseTracking(true);
    for (QWidget *k : w->findChildren<QWidget *>()) k->setMouseTracking(true);
    w->show();
    ConnectCtrl(panel, ref);
    return id;
}


// Every control attribute setter and getter returns 0, or
// UIE_NOT_INITIALIZED, UIE_BAD_PANEL, UIE_BAD_CONTROL, UIE_BAD_ATTRIBUTE
// (unknown, or not one of this control's kind), UIE_BAD_VALUE (wrong type
// for the attribute or out of range), UIE_BAD_POINTER, UIE_NOT_PERMITTED
// (read-only attribute). Setting what the control already holds changes
// nothing on the screen.
int SetCtrlAttributeAnsi(int panel, int control, int attribute, int value) {
    int st;
    Panel *p = nullptr;
    Ctrl *c = CtrlAttrFor(panel, control, attribute, &st, &p);
    if (!c) return st;
    const int cbSt = uicore::SetCallbackAttribute(c->cb, c->cbData, attribute, value);
    if (cbSt != uicore::kNoCallbackAttribute) return cbSt;
    if (attribute == ATTR_LABEL_TEXT) return UIE_BAD_VALUE;
    return SetCtrlInt(*p, *c, attribute, value);
}

int SetCtrlAttributeAnsi(int panel, int control, int attribute, const char *value) {
    int st;
    Panel *p = nullptr;
    Ctrl *c = CtrlAttrFor(panel, control, attribute, &st, &p);
    if (!c) return st;
    const int cbSt = uicore::SetCallbackAttribute(c->cb, c->cbData, attribute, value);
    if (cbSt != uicore::kNoCallbackAttribute) return cbSt;
    if (attribute != ATTR_LABEL_TEXT) return UIE_BAD_VALUE;
    if (!value) return UIE_BAD_POINTER;
    return SetLabelText(*c, value);
}

int SetCtrlAttributeAnsi(int panel, int control, int attribute, void *value) {
    int st;
    Panel *p = nullptr;
    Ctrl *c = CtrlAttrFor(panel, control, attribute, &st, &p);
    if (!c) return st;
    const int cbSt = uicore::SetCallbackAttribute(c->cb, c->cbData, attribute, value);
    return cbSt == uicore::kNoCallbackAttribute ? UIE_BAD_VALUE : cbSt;
}

int SetCtrlAttributeAnsi(int panel, int control, int attribute, CtrlCallbackPtr value) {
    int st;
    Panel *p = nullptr;
    Ctrl *c = CtrlAttrFor(panel, control, attribute, &st, &p);
    if (!c) return st;
    const int cbSt = uicore::SetCallbackAttributeFn(c->cb, attribute, value);
    return cbSt == uicore::kNoCallbackAttribute ? UIE_BAD_VALUE : cbSt;
}

int GetCtrlAttributeAnsi(int panel, int control, int attribute, int *value) {
    int st;
    Panel *p = nullptr;
    Ctrl *c = CtrlAttrFor(panel, control, attribute, &st, &p);
    if (!c) return st;
    if (!value) return UIE_BAD_POINTER;
    if (!uicore::IsCtrlIntAttr(attribute)) return UIE_BAD_VALUE;
    return GetCtrlInt(*p, *c, attribute, value);
}

int GetCtrlAttributeAnsi(int panel, int control, int attribute, char *value) {
    int st;
    Panel *p = nullptr;
    Ctrl *c = CtrlAttrFor(panel, control, attribute, &st, &p);
    if (!c) return st;
    if (!value) return UIE_BAD_POINTER;
    if (attribute != ATTR_LABEL_TEXT) return UIE_BAD_VALUE;
    return CopyOut(c->labelRaw, value, kTextRoom);
}

int GetCtrlAttributeAnsi(int panel, int control, int attribute, void **value) {
    int st;
    Panel *p = nullptr;
    Ctrl *c = CtrlAttrFor(panel, control, attribute, &st, &p);
    if (!c) return st;
    if (!value) return UIE_BAD_POINTER;
    const int cbSt = uicore::GetCallbackAttribute(c->cb, c->cbData, attribute, value);
    return cbSt == uicore::kNoCallbackAttribute ? UIE_BAD_VALUE : cbSt;
}

int GetCtrlAttributeAnsi(int panel, int control, int attribute, CtrlCallbackPtr *value) {
    int st;
    Panel *p = nullptr;
    Ctrl *c = CtrlAttrFor(panel, control, attribute, &st, &p);
    if (!c) return st;
    if (!value) return UIE_BAD_POINTER;
    const int cbSt = uicore::GetCallbackAttributeFn(c->cb, attribute, value);
    return cbSt == uicore::kNoCallbackAttribute ? UIE_BAD_VALUE : cbSt;
}

// 0 with the rectangle holding the control and its shown label apart, in
// the panel; UIE_NOT_INITIALIZED, UIE_BAD_PANEL, UIE_BAD_CONTROL, UIE_BAD_POINTER.
int GetCtrlBoundingRect(int panel, int control, int *top, int *left, int *height, int *width) {
    int st;
    Ctrl *c = CtrlFor(panel, control, &st);
    if (!c) return st;
    if (!top || !left || !height || !width) return UIE_BAD_POINTER;
    QRect r = Q(*c).w->geometry();
    if (Q(*c).label && c->labelVisible && !c->labelRaw.empty()) r = r.united(Q(*c).label->geometry());
    *top = r.y();
    *left = r.x();
    *height = r.height();
    *width = r.width();
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
    ProgrammaticGuard g;
    if (QComboBox *r = Ring(*c)) {
        const int i = FindValue(r, value);
        if (i < 0) return UIE_VALUE_NOT_FOUND;
        if (r->currentIndex() != i) r->setCurrentIndex(i);
        return 0;
    }
    if (QSpinBox *n = Numeric(*c)) {
        if (value < n->minimum() || value > n->maximum()) return UIE_BAD_VALUE;
        if (n->value() != value) n->setValue(value);
        return 0;
    }
    return UIE_BAD_VALUE;
}

// 0; UIE_NOT_INITIALIZED, UIE_BAD_PANEL, UIE_BAD_CONTROL, UIE_BAD_POINTER,
// UIE_BAD_VALUE (not a text message, string or text box). A text box's
// whole text is replaced.
int SetCtrlValAnsi(int panel, int control, const char *value) {
    int st;
    Ctrl *c = CtrlFor(panel, control, &st);
    if (!c) return st;
    if (!value) return UIE_BAD_POINTER;
    if (TextMsg(*c)) return SetLabelText(*c, value);
    if (TextBox(*c)) return ResetTextBoxAnsi(panel, control, value);
    if (QLineEdit *s = String(*c)) {
        if (c->textKnown && c->textRaw == value) return 0;
        ProgrammaticGuard g;
        c->textRaw = value;
        c->textKnown = true;
        if (!SameText(s->text(), value)) s->setText(FromAnsi(value));
        return 0;
    }
    return UIE_BAD_VALUE;
}

// 0; UIE_NOT_INITIALIZED, UIE_BAD_PANEL, UIE_BAD_CONTROL, UIE_BAD_POINTER,
// UIE_BAD_VALUE (not a ring or numeric), UIE_BAD_INDEX (an empty ring).
int GetCtrlValAnsi(int panel, int control, int *value) {
    int st;
    Ctrl *c = CtrlFor(panel, control, &st);
    if (!c) return st;
    if (!value) return UIE_BAD_POINTER;
    if (QComboBox *r = Ring(*c)) {
        const int i = r->currentIndex();
        if (i < 0) return UIE_BAD_INDEX;
        *value = r->itemData(i).toInt();
        return 0;
    }
    if (QSpinBox *n = Numeric(*c)) { *value = n->value(); return 0; }
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
    if (TextMsg(*c)) return CopyOut(c->labelRaw, value, kTextRoom);
    if (QPlainTextEdit *t = TextBox(*c)) return CopyOut(c->textKnown ? c->textRaw : ToAnsi(TextBoxText(t)), value, kTextRoom);
    if (QLineEdit *s = String(*c)) return CopyOut(c->textKnown ? c->textRaw : ToAnsi(s->text()), value, kTextRoom);
    return UIE_BAD_VALUE;
}

// 0; UIE_NOT_INITIALIZED, UIE_BAD_PANEL, UIE_BAD_CONTROL, UIE_BAD_POINTER,
// UIE_BAD_ATTRIBUTE (not a text box). Replaces the whole text and shows
// its beginning; the same text again changes nothing.
int ResetTextBoxAnsi(int panel, int control, const char *text) {
    int st;
    Ctrl *c = CtrlFor(panel, control, &st);
    if (!c) return st;
    QPlainTextEdit *t = TextBox(*c);
    if (!t) return UIE_BAD_ATTRIBUTE;
    if (!text) return UIE_BAD_POINTER;
    if (c->textKnown && c->textRaw == text) return 0;
    ProgrammaticGuard g;
    c->textRaw = text;
    c->textKnown = true;
    t->setPlainText(FromAnsi(text));
    t->verticalScrollBar()->setValue(0);
    return 0;
}

// --------------------------------------------------------------- lists
namespace uirt {
static QComboBox *RingFor(int panel, int control, int *status) {
    Ctrl *c = CtrlFor(panel, control, status);
    if (!c) return nullptr;
    QComboBox *r = Ring(*c);
    if (!r) *status = UIE_BAD_ATTRIBUTE;
    return r;
}
}  // namespace uirt

// Every list operation returns 0 (GetNumListItems and friends fill their
// output), or UIE_NOT_INITIALIZED, UIE_BAD_PANEL, UIE_BAD_CONTROL,
// UIE_BAD_ATTRIBUTE (the control is no ring), UIE_BAD_POINTER,
// UIE_BAD_INDEX, UIE_VALUE_NOT_FOUND. None of them gives a commit.

// index -1 (or the number of items) appends.
int InsertListItemAnsi(int panel, int control, int index, const char *label, int value) {
    int st;
    QComboBox *r = RingFor(panel, control, &st);
    if (!r) return st;
    if (!label) return UIE_BAD_POINTER;
    if (index == -1) index = r->count();
    if (index < 0 || index > r->count()) return UIE_BAD_INDEX;
    ProgrammaticGuard g;
    r->insertItem(index, FromAnsi(label), value);
    return 0;
}

int ReplaceListItemAnsi(int panel, int control, int index, const char *label, int value) {
    int st;
    QComboBox *r = RingFor(panel, control, &st);
    if (!r) return st;
    if (!label) return UIE_BAD_POINTER;
    if (index < 0 || index >= r->count()) return UIE_BAD_INDEX;
    ProgrammaticGuard g;
    if (!SameText(r->itemText(index), label)) r->setItemText(index, FromAnsi(label));
    if (r->itemData(index).toInt() != value) r->setItemData(index, value);
    return 0;
}

// count -1 deletes to the end; deleting from an empty list is no fault.
int DeleteListItem(int panel, int control, int index, int count) {
    int st;
    QComboBox *r = RingFor(panel, control, &st);
    if (!r) return st;
    const int n = r->count();
    if (n == 0 && index == 0) return 0;
    if (index < 0 || index >= n) return UIE_BAD_INDEX;
    if (count == -1) count = n - index;
    if (count < 0 || index + count > n) return UIE_BAD_INDEX;
    ProgrammaticGuard g;
    if (index == 0 && count == n) {
        r->clear();
    } else {
        for (int i = 0; i < count; ++i) r->removeItem(index);
    }
    return 0;
}

int GetNumListItems(int panel, int control, int *count) {
    int st;
    QComboBox *r = RingFor(panel, control, &st);
    if (!r) return st;
    if (!count) return UIE_BAD_POINTER;
    *count = r->count();
    return 0;
}

int GetValueFromIndexAnsi(int panel, int control, int index, int *value) {
    int st;
    QComboBox *r = RingFor(panel, control, &st);
    if (!r) return st;
    if (!value) return UIE_BAD_POINTER;
    if (index < 0 || index >= r->count()) return UIE_BAD_INDEX;
    *value = r->itemData(index).toInt();
    return 0;
}

int GetIndexFromValueAnsi(int panel, int control, int *index, int value) {
    int st;
    QComboBox *r = RingFor(panel, control, &st);
    if (!r) return st;
    if (!index) return UIE_BAD_POINTER;
    const int i = FindValue(r, value);
    if (i < 0) return UIE_VALUE_NOT_FOUND;
    *index = i;
    return 0;
}

// The label of item index (room for 1024 bytes); UIE_BUFFER_TOO_SMALL when cut.
int GetLabelFromIndexAnsi(int panel, int control, int index, char *label) {
    int st;
    QComboBox *r = RingFor(panel, control, &st);
    if (!r) return st;
    if (!label) return UIE_BAD_POINTER;
    if (index < 0 || index >= r->count()) return UIE_BAD_INDEX;
    return CopyOut(ToAnsi(r->itemText(index)), label, kTextRoom);
}

// The current item's index, -1 when the list is empty.
int GetCtrlIndex(int panel, int control, int *index) {
    int st;
    QComboBox *r = RingFor(panel, control, &st);
    if (!r) return st;
    if (!index) return UIE_BAD_POINTER;
    *index = r->currentIndex();
    return 0;
}
