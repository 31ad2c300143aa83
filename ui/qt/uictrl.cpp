// uictrl.cpp: the Qt driver's controls: their widgets, and what setting an
// attribute, a value or a list item does to them.
//
// Exports (ui/qt/uiprivate.h): SetupCtrl and the driver's control entries
// (NewCtrl, CtrlRect, PlaceCtrl, ShowCtrl, EnableCtrl, SetMode, SetLabel,
// the values and the rings' lists).
//
// Data model: a control is a core record (ui/core/uicore.h) over one widget
// of the class its style names (QPushButton, QComboBox, QLabel,
// QPlainTextEdit, QFrame, QLineEdit, QSpinBox). The record keeps the texts
// as they were set and a ring's items and values; the widgets show them.
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
#include "ui/qt/uiprivate.h"
#include "ui/userint.h"

namespace uirt {

// --------------------------------------------------------------- state
// None of its own: everything lives in the records.

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

void QtSetLabel(Panel &, Ctrl &c) {
    if (QPushButton *b = Button(c); b && c.style == CTRL_COMMAND_BUTTON) {
        b->setText(MnemonicToQt(c.labelRaw));
    } else if (QLabel *t = TextMsg(c)) {
        ShowTextMsg(c, t);
    } else if (Q(c).label) {
        ShowApartLabel(c);
    }
}

void QtShowCtrl(Panel &, Ctrl &c) {
    if (Q(c).w->isHidden() == c.visible) Q(c).w->setVisible(c.visible);
    if (QLabel *l = Q(c).label; l && l->isHidden() == uicore::LabelShown(c)) l->setVisible(uicore::LabelShown(c));
}

void QtEnableCtrl(Panel &p, Ctrl &c) {
    const bool enabled = uicore::CtrlEnabled(p, c);
    if (Q(c).w->testAttribute(Qt::WA_ForceDisabled) == enabled) Q(c).w->setEnabled(enabled);
    if (Q(c).label && Q(c).label->testAttribute(Qt::WA_ForceDisabled) == enabled) Q(c).label->setEnabled(enabled);
}

void QtSetMode(Panel &, Ctrl &c) {
    const bool indicator = c.mode == VAL_INDICATOR;
    if (QPlainTextEdit *t = TextBox(c)) t->setReadOnly(indicator);
    else if (QLineEdit *s = String(c)) s->setReadOnly(indicator);
    else if (QSpinBox *n = Numeric(c)) n->setReadOnly(indicator);
    else if (Button(c) || Ring(c)) {
        // Input to these is swallowed by the event filter; keep them out of
        // the keyboard focus chain too.
        const Qt::FocusPolicy want = indicator ? Qt::NoFocus : static_cast<Qt::FocusPolicy>(Q(c).focusPolicy);
        if (Q(c).w->focusPolicy() != want) Q(c).w->setFocusPolicy(want);
    } else if (TextMsg(c)) {
        // A link takes the focus from the keyboard only, as a button does.
        const Qt::FocusPolicy want = indicator ? Qt::NoFocus : Qt::TabFocus;
        if (Q(c).w->focusPolicy() != want) Q(c).w->setFocusPolicy(want);
    }
}

void QtFocusCtrl(Panel &, Ctrl &c) {
    if (!Q(c).w->hasFocus()) Q(c).w->setFocus(Qt::TabFocusReason);
}

void QtSetAccessibleName(Panel &, Ctrl &c) {
    const QString name = FromAnsi(uicore::AccessibleName(c));
    if (Q(c).w->accessibleName() != name) Q(c).w->setAccessibleName(name);
}

static QPalette::ColorRole TextRole(const Ctrl &c) { return Q(c).w->foregroundRole(); }

void SetupCtrl(Panel &p, Ctrl &c, bool loaded) {
    QWidget *w = Q(c).w;
    Q(c).focusPolicy = w->focusPolicy();
    c.apart = Q(c).label != nullptr;
    if (loaded) {
        // What the resource gave, as the record's values.
        c.visible = !w->isHidden();
        c.textColor = static_cast<int>(w->palette().color(QPalette::Active, TextRole(c)).rgb() & 0xFFFFFF);
        c.underline = w->font().underline();
        if (QPushButton *b = Button(c); b && c.style == CTRL_COMMAND_BUTTON) c.labelRaw = ToAnsi(b->text());
        else if (QLabel *t = TextMsg(c)) c.labelRaw = ToAnsi(t->text());
        else if (Q(c).label) c.labelRaw = ToAnsi(Q(c).label->text());
        if (QPlainTextEdit *tb = TextBox(c)) c.textRaw = ToAnsi(TextBoxText(tb));
        else if (QLineEdit *s = String(c)) c.textRaw = ToAnsi(s->text());
        c.textKnown = TextBox(c) || String(c);
        if (QSpinBox *n = Numeric(c)) {
            c.minimum = n->minimum();
            c.maximum = n->maximum();
        }
        if (QComboBox *r = Ring(c)) {
            for (int i = 0; i < r->count(); ++i) c.items.push_back({ToAnsi(r->itemText(i)), r->itemData(i).toInt()});
            c.current = r->currentIndex();
        }
    }
    if (QPushButton *b = Button(c)) b->setAutoDefault(true);   // Enter on the focused button operates it, as Space does
    if (QLabel *t = TextMsg(c)) t->setTextFormat(Qt::PlainText);
    if (Q(c).label) Q(c).label->setTextFormat(Qt::PlainText);
    if (c.style == CTRL_DECORATION) w->setAttribute(Qt::WA_TransparentForMouseEvents);
    QtSetLabel(p, c);
    QtSetMode(p, c);
    w->setMouseTracking(true);
    for (QWidget *k : w->findChildren<QWidget *>()) k->setMouseTracking(true);
    if (Q(c).label) Q(c).label->setMouseTracking(true);
}

// Height of a text box that shows exactly n lines: QPlainTextEdit wants
// the lines, its document margin above and below, its frame, and one pixel
// more before it takes its scroll bar away.
void QtTextBoxMetrics(const Ctrl &c, int *lineHeight, int *chrome) {
    auto *t = static_cast<QPlainTextEdit *>(Q(c).w);
    const QMargins cm = t->contentsMargins();
    *lineHeight = t->fontMetrics().lineSpacing();
    *chrome = static_cast<int>(2 * t->document()->documentMargin()) + cm.top() + cm.bottom() + 1;
}

static uicore::Rect RectOf(const QWidget *w) {
    const QRect g = w->geometry();
    return {g.x(), g.y(), g.width(), g.height()};
}

static void Place(QWidget *w, const uicore::Rect &r) {
    const QRect g(r.x, r.y, r.width, r.height);
    if (w->geometry() != g) w->setGeometry(g);
}

uicore::Rect QtCtrlRect(const Panel &, const Ctrl &c) { return RectOf(Q(c).w); }
uicore::Rect QtLabelRect(const Panel &, const Ctrl &c) { return RectOf(Q(c).label); }
void QtPlaceCtrl(Panel &, Ctrl &c, const uicore::Rect &r) { Place(Q(c).w, r); }
void QtPlaceLabel(Panel &, Ctrl &c, const uicore::Rect &r) { Place(Q(c).label, r); }

// Restacks a panel's controls after a z-plane change: back to front, each
// raised with its label.
void QtRestack(Panel &p) {
    std::vector<Ctrl *> order(p.ctrls.size());
    for (auto &c : p.ctrls) order[static_cast<size_t>(c->zplane)] = c.get();
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        Q(**it).w->raise();
        if (Q(**it).label) Q(**it).label->raise();
    }
}

void QtSetTextColor(Panel &, Ctrl &c) {
    QWidget *w = Q(c).w;
    const QColor want = QColor::fromRgb(static_cast<QRgb>(c.textColor));
    const QPalette::ColorRole role = TextRole(c);
    if (w->palette().color(QPalette::Active, role) == want && w->palette().color(QPalette::Inactive, role) == want)
        return;
    QPalette pal = w->palette();
    pal.setColor(QPalette::Active, role, want);   // the dimmed look stays Qt's
    pal.setColor(QPalette::Inactive, role, want);
    w->setPalette(pal);
}

void QtSetUnderline(Panel &, Ctrl &c) {
    QWidget *w = Q(c).w;
    if (w->font().underline() == c.underline) return;
    QFont f = w->font();
    f.setUnderline(c.underline);
    w->setFont(f);
    if (QLabel *t = TextMsg(const_cast<Ctrl &>(c))) GrowToText(t);
}

std::string QtEditText(const Ctrl &c) {
    Ctrl &k = const_cast<Ctrl &>(c);
    if (QPlainTextEdit *t = TextBox(k)) return ToAnsi(TextBoxText(t));
    if (QLineEdit *s = String(k)) return ToAnsi(s->text());
    return std::string();
}

void QtSetEditText(Ctrl &c) {
    if (QLineEdit *s = String(c)) {
        if (!SameText(s->text(), c.textRaw.c_str())) s->setText(FromAnsi(c.textRaw));
    } else if (QPlainTextEdit *t = TextBox(c)) {
        t->setPlainText(FromAnsi(c.textRaw));
        t->verticalScrollBar()->setValue(0);
    }
}

int QtNumericValue(const Ctrl &c) { return static_cast<QSpinBox *>(Q(c).w)->value(); }
void QtSetNumericValue(Ctrl &c, int value) { static_cast<QSpinBox *>(Q(c).w)->setValue(value); }

void QtRingInsert(Ctrl &c, int index) { Ring(c)->insertItem(index, FromAnsi(c.items[static_cast<size_t>(index)].label)); }

void QtRingReplace(Ctrl &c, int index) { Ring(c)->setItemText(index, FromAnsi(c.items[static_cast<size_t>(index)].label)); }

void QtRingDelete(Ctrl &c, int index, int count) {
    QComboBox *r = Ring(c);
    if (index == 0 && count == r->count()) {
        r->clear();
    } else {
        for (int i = 0; i < count; ++i) r->removeItem(index);
    }
}

void QtRingSelect(Ctrl &c) {
    if (Ring(c)->currentIndex() != c.current) Ring(c)->setCurrentIndex(c.current);
}

// A new control's widget, and its label apart, at (top, left) of the panel.
int QtNewCtrl(Panel &p, Ctrl &c, int top, int left) {
    QWidget *root = Q(p).w;
    QWidget *w = nullptr;
    switch (c.style) {
    case CTRL_COMMAND_BUTTON: w = new QPushButton(root); break;
    case CTRL_PICTURE_COMMAND_BUTTON: w = new QPushButton(root); w->resize(32, 32); break;
    case CTRL_STRING: w = new QLineEdit(root); break;
    case CTRL_NUMERIC: {
        auto *n = new QSpinBox(root);
        n->setRange(c.minimum, c.maximum);
        w = n;
        break;
    }
    case CTRL_RING: w = new QComboBox(root); break;
    case CTRL_TEXT_MSG: w = new QLabel(root); break;
    case CTRL_TEXT_BOX: w = new QPlainTextEdit(root); w->resize(200, 80); break;
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
    c.native = std::make_unique<QtCtrl>();
    Q(c).w = w;
    if (c.apart) Q(c).label = new QLabel(root);
    SetupCtrl(p, c, false);
    if (c.style == CTRL_COMMAND_BUTTON || c.style == CTRL_RING || c.style == CTRL_STRING || c.style == CTRL_NUMERIC)
        w->resize(w->sizeHint());
    w->move(left, top);
    if (QLabel *l = Q(c).label) {
        if (c.style == CTRL_PICTURE_COMMAND_BUTTON) l->move(left + w->width() + 4, top + (w->height() - l->height()) / 2);
        else l->move(left, top - l->height() - 2);
    }
    QtShowCtrl(p, c);
    ConnectCtrl(p.handle, c);
    return 0;
}

void FillCtrlEntries(uicore::Driver &d) {
    d.newCtrl = QtNewCtrl;
    d.ctrlRect = QtCtrlRect;
    d.labelRect = QtLabelRect;
    d.placeCtrl = QtPlaceCtrl;
    d.placeLabel = QtPlaceLabel;
    d.showCtrl = QtShowCtrl;
    d.enableCtrl = QtEnableCtrl;
    d.setMode = QtSetMode;
    d.setTextColor = QtSetTextColor;
    d.setUnderline = QtSetUnderline;
    d.setLabel = QtSetLabel;
    d.focusCtrl = QtFocusCtrl;
    d.setAccessibleName = QtSetAccessibleName;
    d.restack = QtRestack;
    d.textBoxMetrics = QtTextBoxMetrics;
    d.editText = QtEditText;
    d.setEditText = QtSetEditText;
    d.numericValue = QtNumericValue;
    d.setNumericValue = QtSetNumericValue;
    d.ringInsert = QtRingInsert;
    d.ringReplace = QtRingReplace;
    d.ringDelete = QtRingDelete;
    d.ringSelect = QtRingSelect;
}

}  // namespace uirt
