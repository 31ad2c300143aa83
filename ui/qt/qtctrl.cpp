// qtctrl.cpp: the Qt driver's controls: their widgets, and what setting an
// attribute, a value or a list item does to them.
//
// Exports (ui/qt/qtprivate.h): the driver's control entries (MakeCtrl,
// MakeLabel, CtrlRect, PlaceCtrl, ShowCtrl, EnableCtrl, SetMode, SetLabel,
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
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTextDocument>

#include "ui/core/coreres.h"
#include "ui/core/textcodec.h"
#include "ui/qt/qtprivate.h"
#include "ui/userint.h"

namespace uiqt {

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

static void ShowTextMsg(Ctrl &c, QLabel *t) {
    const QString text = FromAnsi(c.labelRaw);
    t->setText(t->wordWrap() ? BreakLongWords(t, text) : text);
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
        if (Q(c).w->focusPolicy() != want) {
            Q(c).w->setFocusPolicy(want);
            QtLinkRoleChanged(Q(c).w);
        }
    }
}

void QtFocusCtrl(Panel &p, Ctrl &c) {
    // A keyboard focus change makes Qt's styles frame the focused control:
    // only while the panel's cues show.
    if (!Q(c).w->hasFocus()) Q(c).w->setFocus(uicore::TopPanel(p).focusCues ? Qt::TabFocusReason : Qt::OtherFocusReason);
}

void QtSetAccessibleName(Panel &, Ctrl &c) {
    const QString name = FromAnsi(uicore::AccessibleName(c));
    if (Q(c).w->accessibleName() != name) Q(c).w->setAccessibleName(name);
}

static QPalette::ColorRole TextRole(const Ctrl &c) { return Q(c).w->foregroundRole(); }

// The size the text of a text message, or of a label drawn apart, asks
// for: its size hint, or at that width its height with every line.
uicore::Size QtTextSize(const Panel &, const Ctrl &c, bool label, int width) {
    const QLabel *l = label ? Q(c).label : TextMsg(const_cast<Ctrl &>(c));
    if (!l) return {};
    if (width > 0) return {width, l->heightForWidth(width)};
    const QSize hint = l->sizeHint();
    return {hint.width(), hint.height()};
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

// ------------------------------------------------- making the widgets

// The Designer alignment's names ("AlignRight|AlignVCenter") as Qt's flags;
// fallback when it gives none.
static Qt::Alignment AlignmentOf(const std::string &names, Qt::Alignment fallback) {
    static const struct { const char *name; Qt::AlignmentFlag flag; } kFlags[] = {
        {"AlignLeft", Qt::AlignLeft}, {"AlignRight", Qt::AlignRight}, {"AlignHCenter", Qt::AlignHCenter},
        {"AlignJustify", Qt::AlignJustify}, {"AlignTop", Qt::AlignTop}, {"AlignBottom", Qt::AlignBottom},
        {"AlignVCenter", Qt::AlignVCenter}, {"AlignCenter", Qt::AlignCenter},
    };
    Qt::Alignment a;
    for (const QString &n : QString::fromStdString(names).split(u'|', Qt::SkipEmptyParts))
        for (const auto &f : kFlags)
            if (n == QLatin1String(f.name)) a |= f.flag;
    return a ? a : fallback;
}

static Qt::FocusPolicy FocusPolicyOf(const std::string &name, Qt::FocusPolicy fallback) {
    static const struct { const char *name; Qt::FocusPolicy policy; } kPolicies[] = {
        {"NoFocus", Qt::NoFocus}, {"TabFocus", Qt::TabFocus}, {"ClickFocus", Qt::ClickFocus},
        {"StrongFocus", Qt::StrongFocus}, {"WheelFocus", Qt::WheelFocus},
    };
    for (const auto &p : kPolicies)
        if (name == p.name) return p.policy;
    return fallback;
}

// A frame's shape and shadow as the look gives them, else the widget's own.
static void ApplyFrameLook(QFrame *f, const uicore::CtrlLook &look) {
    static const struct { const char *name; int value; } kShapes[] = {
        {"NoFrame", QFrame::NoFrame}, {"Box", QFrame::Box}, {"Panel", QFrame::Panel},
        {"StyledPanel", QFrame::StyledPanel}, {"HLine", QFrame::HLine}, {"VLine", QFrame::VLine},
        {"WinPanel", QFrame::WinPanel}, {"Plain", QFrame::Plain}, {"Raised", QFrame::Raised},
        {"Sunken", QFrame::Sunken},
    };
    for (const auto &k : kShapes) {
        if (look.frameShape == k.name) f->setFrameShape(static_cast<QFrame::Shape>(k.value));
        if (look.frameShadow == k.name) f->setFrameShadow(static_cast<QFrame::Shadow>(k.value));
    }
    if (look.lineWidth >= 0) f->setLineWidth(look.lineWidth);
}

// A picture of the resource, each of its scales at its density: Qt draws
// the one that suits the screen.
static QPixmap PixmapOf(const uicore::UirImage &image, const std::string &key) {
    const QImage view(reinterpret_cast<const uchar *>(image.bgra.data()), image.width, image.height, image.width * 4,
                      QImage::Format_ARGB32_Premultiplied);
    QPixmap pm = QPixmap::fromImage(view.copy());
    if (key.find("@2x") != std::string::npos) pm.setDevicePixelRatio(2);
    return pm;
}

static QIcon IconOf(const uicore::Picture &pic) {
    QIcon icon;
    for (const auto &[key, image] : pic.sources) icon.addPixmap(PixmapOf(*image, key));
    return icon;
}

// The widget of control c's kind, as the record and the look say.
static QWidget *NewWidget(QWidget *root, const Ctrl &c, const uicore::CtrlLook &look) {
    switch (c.style) {
    case CTRL_COMMAND_BUTTON: return new QPushButton(root);
    case CTRL_PICTURE_COMMAND_BUTTON: {
        auto *b = new QPushButton(root);
        b->setIcon(IconOf(look.picture));
        if (look.picture.width > 0) b->setIconSize(QSize(look.picture.width, look.picture.height));
        return b;
    }
    case CTRL_STRING: {
        auto *s = new QLineEdit(FromAnsi(c.textRaw), root);
        s->setReadOnly(look.readOnly);
        return s;
    }
    case CTRL_NUMERIC: {
        auto *n = new QSpinBox(root);
        n->setRange(c.minimum, c.maximum);
        return n;
    }
    case CTRL_RING: {
        auto *r = new QComboBox(root);
        for (const uicore::Item &i : c.items) r->addItem(FromAnsi(i.label));
        r->setCurrentIndex(c.current);
        return r;
    }
    case CTRL_TEXT_MSG: {
        auto *t = new QLabel(root);
        t->setTextFormat(Qt::PlainText);
        t->setWordWrap(look.wordWrap);
        t->setAlignment(AlignmentOf(look.align, t->alignment()));
        ApplyFrameLook(t, look);
        return t;
    }
    case CTRL_TEXT_BOX: {
        auto *t = new QPlainTextEdit(FromAnsi(c.textRaw), root);
        t->setReadOnly(look.readOnly);
        if (look.noScrollBar) t->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        if (look.noHScrollBar) t->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        if (look.noTextInteraction) t->setTextInteractionFlags(Qt::NoTextInteraction);
        ApplyFrameLook(t, look);
        return t;
    }
    case CTRL_PICTURE: {
        auto *l = new QLabel(root);
        l->setAlignment(AlignmentOf(look.align, l->alignment()));
        // The densest of its pictures, drawn at its size or filling the label.
        const auto best = look.picture.sources.find(uicore::ChoosePictureKey(look.picture.sources, look.picture.key, 192));
        if (best != look.picture.sources.end()) l->setPixmap(PixmapOf(*best->second, best->first));
        l->setScaledContents(look.picture.width == 0);
        return l;
    }
    case CTRL_DECORATION: {
        auto *f = new QFrame(root);
        ApplyFrameLook(f, look);
        f->setAttribute(Qt::WA_TransparentForMouseEvents);
        if (look.fillColor >= 0) {
            QPalette pal = f->palette();
            pal.setColor(QPalette::Window, QColor::fromRgb(static_cast<QRgb>(look.fillColor)));
            f->setPalette(pal);
            f->setAutoFillBackground(true);
        }
        return f;
    }
    default: return nullptr;
    }
}

// The font the look asks for (bold, size) over the panel's, and the
// record's underline.
static void ApplyFont(QWidget *w, const uicore::CtrlLook &look, bool underline) {
    if (!look.bold && look.pointSize <= 0 && !underline) return;
    QFont f = w->font();
    if (look.bold) f.setBold(true);
    if (look.pointSize > 0) f.setPointSize(look.pointSize);
    f.setUnderline(underline);
    w->setFont(f);
}

static void TrackMouse(QWidget *w) {
    w->setMouseTracking(true);
    for (QWidget *k : w->findChildren<QWidget *>()) k->setMouseTracking(true);
}

int QtMakeCtrl(Panel &p, Ctrl &c, const uicore::CtrlLook &look) {
    QWidget *w = NewWidget(Q(p).w, c, look);
    if (!w) return UIE_BAD_VALUE;
    c.native = std::make_unique<QtCtrl>();
    Q(c).w = w;
    w->setObjectName(QString::fromStdString(look.name));
    w->setGeometry(look.rect.x, look.rect.y, look.rect.width, look.rect.height);
    w->setFocusPolicy(FocusPolicyOf(look.focusPolicy, w->focusPolicy()));
    Q(c).focusPolicy = w->focusPolicy();
    ApplyFont(w, look, c.underline);
    if (look.textColorGiven) QtSetTextColor(p, c);
    w->setHidden(!c.visible);
    QtSetLabel(p, c);
    QtSetMode(p, c);
    QtEnableCtrl(p, c);
    TrackMouse(w);
    ConnectCtrl(p.handle, c);
    return 0;
}

void QtMakeLabel(Panel &p, Ctrl &c, const uicore::CtrlLook &look) {
    auto *l = new QLabel(Q(p).w);
    Q(c).label = l;
    l->setObjectName(QString::fromStdString(look.name));
    l->setTextFormat(Qt::PlainText);
    l->setGeometry(look.rect.x, look.rect.y, look.rect.width, look.rect.height);
    l->setWordWrap(look.wordWrap);
    l->setAlignment(AlignmentOf(look.align, l->alignment()));
    ApplyFont(l, look, false);
    if (look.textColorGiven) {
        QPalette pal = l->palette();
        const QColor colour = QColor::fromRgb(static_cast<QRgb>(c.textColor));
        pal.setColor(QPalette::Active, l->foregroundRole(), colour);
        pal.setColor(QPalette::Inactive, l->foregroundRole(), colour);
        l->setPalette(pal);
    }
    l->setMouseTracking(true);
    QtSetLabel(p, c);
    QtShowCtrl(p, c);
    QtEnableCtrl(p, c);
}

void FillCtrlEntries(uicore::Driver &d) {
    d.makeCtrl = QtMakeCtrl;
    d.makeLabel = QtMakeLabel;
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
    d.textSize = QtTextSize;
    d.editText = QtEditText;
    d.setEditText = QtSetEditText;
    d.numericValue = QtNumericValue;
    d.setNumericValue = QtSetNumericValue;
    d.ringInsert = QtRingInsert;
    d.ringReplace = QtRingReplace;
    d.ringDelete = QtRingDelete;
    d.ringSelect = QtRingSelect;
}

}  // namespace uiqt
