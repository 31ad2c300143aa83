// qtevent.cpp: the Qt driver's events: the user's input handed to the core,
// the pump, the pointer and the cursors.
//
// Exports (ui/qt/qtprivate.h): StartEvents, ConnectCtrl, FillEventEntries
// (the driver's entries for the pump, the pointer and the cursor).
//
// Data model. An application-wide event filter sees every Qt event first.
// From it come the mouse moves over a panel, the left releases over a
// control, the window's close box, and the swallowing of input to the
// controls that take none (ui/core/uicore.h, TakesInput). Commits come from
// the controls' signals (user actions only). What each means is the core's
// (ui/core/coreevent.cpp).
//
// The pointer: on a real display QCursor::pos() asks the display server
// each time (a round trip that also wakes the process), so the layer never
// asks it while polling: the window system's events say where the pointer
// is (enter, motion, and the press and release of buttons, over any of our
// windows), and when it leaves one of our windows QCursor::pos() is read
// once, so that a pointer gone outside is known to be outside. On the
// offscreen platform QCursor::pos() is a stored value that does not follow
// the mouse events tests send straight to widgets, so there the global
// position of the latest mouse event counts too: whichever changed last
// wins (each mouse event notes where QCursor::pos() stood then, and a later
// change of QCursor::pos() takes over).

#include <cassert>
#include <utility>
#include <vector>

#include <QAbstractEventDispatcher>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QEnterEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

#include "ui/core/corecursor.h"
#include "ui/cp1252.h"
#include "ui/qt/qtprivate.h"
#include "ui/userint.h"

namespace uiqt {

// --------------------------------------------------------------- state
// g_filter: the application-wide event filter.
// g_wake: single-shot timer that bounds the sleep of a pump.
// g_pointer: best known pointer position (global, logical pixels).
// g_cursorSample: on the offscreen platform, QCursor::pos() as last read or
//   as it stood at the latest mouse event; g_cheapCursor: QCursor::pos()
//   costs nothing here (offscreen, minimal), so it is read at every query.
// g_applied: the shape of the override cursor the layer has pushed on Qt's
//   stack for the cursor asked for (ui/core/corecursor.h), -1 when none.
static QObject *g_filter = nullptr;
static QTimer *g_wake = nullptr;
static QPoint g_pointer;
static QPoint g_cursorSample;
static bool g_cheapCursor = false;
static int g_applied = -1;


// The best known pointer position (see the file comment).
static QPoint Pointer() {
    if (g_cheapCursor) {
        const QPoint s = QCursor::pos();
        if (s != g_cursorSample) {
            g_cursorSample = s;
            g_pointer = s;
        }
    }
    return g_pointer;
}

// A mouse event at global position p (see the file comment).
static void NoteMouseEvent(QPoint p) {
    g_pointer = p;
    if (g_cheapCursor) g_cursorSample = QCursor::pos();
}

void ConnectCtrl(int panel, Ctrl &c) {
    const int id = c.id;
    QObject *ctx = Q(c).w;
    switch (c.style) {
    case CTRL_COMMAND_BUTTON:
    case CTRL_PICTURE_COMMAND_BUTTON:
        QObject::connect(static_cast<QPushButton *>(Q(c).w), &QPushButton::clicked, ctx,
                         [panel, id] { uicore::InputCommit(panel, id); });
        break;
    case CTRL_RING:
        // activated: the user's choice only, never a programmatic change.
        QObject::connect(static_cast<QComboBox *>(Q(c).w), &QComboBox::activated, ctx, [panel, id](int index) { uicore::RingChosen(panel, id, index); });
        break;
    case CTRL_STRING:
        QObject::connect(static_cast<QLineEdit *>(Q(c).w), &QLineEdit::textEdited, ctx,
                         [panel, id](const QString &) { uicore::InputEdited(panel, id); });
        break;
    case CTRL_NUMERIC:
        QObject::connect(static_cast<QSpinBox *>(Q(c).w), &QSpinBox::valueChanged, ctx,
                         [panel, id](int) { uicore::InputEdited(panel, id); });
        break;
    case CTRL_TEXT_BOX:
        QObject::connect(static_cast<QPlainTextEdit *>(Q(c).w), &QPlainTextEdit::textChanged, ctx,
                         [panel, id] { uicore::InputEdited(panel, id); });
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------- event filter

// True for input that an indicator button or ring must not receive.
static bool IsUserInput(QEvent::Type t) {
    switch (t) {
    case QEvent::MouseButtonPress: case QEvent::MouseButtonRelease: case QEvent::MouseButtonDblClick:
    case QEvent::Wheel: case QEvent::KeyPress: case QEvent::KeyRelease: case QEvent::Shortcut:
        return true;
    default:
        return false;
    }
}

class Filter : public QObject {
public:
    bool eventFilter(QObject *o, QEvent *e) override {
        const QEvent::Type t = e->type();
        switch (t) {
        case QEvent::MouseMove: case QEvent::MouseButtonPress: case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick: case QEvent::Wheel: case QEvent::KeyPress:
        case QEvent::KeyRelease: case QEvent::Shortcut: case QEvent::ShortcutOverride: case QEvent::Close:
        case QEvent::FocusIn: case QEvent::FocusOut: case QEvent::WindowActivate:
            break;
        case QEvent::Enter:
            if (o->isWindowType() && e->spontaneous())
                NoteMouseEvent(static_cast<QEnterEvent *>(e)->globalPosition().toPoint());
            return false;
        case QEvent::Leave:
            // The window system says the pointer left, not where it went.
            if (o->isWindowType() && e->spontaneous() && !g_cheapCursor) g_pointer = QCursor::pos();
            return false;
        default:
            return false;
        }
        if (!o->isWidgetType()) {
            // The window gets every move, also those that no widget tracks.
            if (t == QEvent::MouseMove && o->isWindowType() && e->spontaneous())
                NoteMouseEvent(static_cast<QMouseEvent *>(e)->globalPosition().toPoint());
            return false;
        }
        QWidget *w = static_cast<QWidget *>(o);
        DispatchGuard g;
        if (t == QEvent::Close) return OnClose(w, e);
        if (t == QEvent::FocusIn || t == QEvent::FocusOut) {
            OnFocus(w, static_cast<QFocusEvent *>(e));
            return false;
        }
        // Alt+letter reaches the focus as a shortcut's override first: the
        // core's shortcut is taken there, before Qt's own would run.
        if (t == QEvent::ShortcutOverride) return OnKey(w, static_cast<QKeyEvent *>(e), true);
        // Qt's own shortcut of a label's "&X" is never the answer: the
        // core's is (see ShortcutOverride).
        if (t == QEvent::Shortcut && CtrlOfWidget(PanelOfWidget(w), w)) return true;
        if (t == QEvent::WindowActivate) {
            Panel *p = PanelOfWidget(w);
            if (p && Q(*p).w == w && p->parent == 0) uicore::PanelActivated(p->handle);
            return false;
        }
        if (t == QEvent::KeyPress && OnKey(w, static_cast<QKeyEvent *>(e), false)) return true;
        if (t == QEvent::MouseMove || t == QEvent::MouseButtonRelease) {
            // Qt hands an unaccepted mouse event on to the parents as
            // copies that are no longer spontaneous: act on the first only.
            if (!e->spontaneous()) return false;
            OnMouse(w, static_cast<QMouseEvent *>(e));
        } else if (t == QEvent::MouseButtonPress || t == QEvent::MouseButtonDblClick) {
            if (e->spontaneous()) NoteMouseEvent(static_cast<QMouseEvent *>(e)->globalPosition().toPoint());
        }
        return IsUserInput(t) && ToIndicator(w);
    }

private:
    static void OnMouse(QWidget *w, QMouseEvent *me) {
        const QPoint global = me->globalPosition().toPoint();
        NoteMouseEvent(global);
        Panel *p = PanelOfWidget(w);
        if (!p) return;
        const int handle = p->handle;
        const QPoint at = Q(*p).w->mapFromGlobal(global);
        if (me->type() == QEvent::MouseMove) {
            uicore::InputMouseMove(handle, at.x(), at.y());
            return;
        }
        // A release counts over the control that took the press, inside it.
        if (me->button() != Qt::LeftButton) return;
        Ctrl *c = CtrlOfWidget(p, w);
        if (!c || !Q(*c).w->rect().contains(Q(*c).w->mapFromGlobal(global))) return;
        uicore::InputLeftRelease(handle, c->id, at.x(), at.y());
    }

    // The focus came to (or left) w: the panel remembers its control, or
    // hears that it left it (not for a list or menu of its own, which gives
    // it back); the cues follow (a link's frame, QtShowCues).
    static void OnFocus(QWidget *w, QFocusEvent *fe) {
        const bool in = fe->type() == QEvent::FocusIn;
        Panel *p = PanelOfWidget(w);
        Ctrl *c = CtrlOfWidget(p, w);
        if (!c) return;
        const int handle = p->handle, id = c->id;
        if (in) uicore::InputFocus(handle, id);
        else if (fe->reason() != Qt::PopupFocusReason) uicore::InputFocusLost(handle, id);
        // A click's focus makes Qt's styles hide the focus frame: the cues
        // are the core's (ui/core/uicore.h, ShowCues).
        if (Panel *still = FindPanel(handle)) QtShowCues(uicore::TopPanel(*still));
    }

    // A Qt key as the core names it (ui/core/uicore.h, InputKey); false for
    // a key that is only the widget's. A letter is the key's character
    // (Qt names a printable key by its capital's code point).
    static bool Translate(const QKeyEvent *ke, uicore::Key *key, int *mods, char *letter) {
        const Qt::KeyboardModifiers m = ke->modifiers() & ~Qt::KeypadModifier;
        *mods = ((m & Qt::ShiftModifier) ? uicore::kModShift : 0) | ((m & Qt::ControlModifier) ? uicore::kModCtrl : 0) |
                ((m & Qt::AltModifier) ? uicore::kModAlt : 0);
        switch (ke->key()) {
        case Qt::Key_Tab: *key = uicore::Key::Tab; return true;
        case Qt::Key_Backtab: *key = uicore::Key::Tab; *mods |= uicore::kModShift; return true;
        case Qt::Key_Escape: *key = uicore::Key::Escape; return true;
        case Qt::Key_Return: case Qt::Key_Enter: *key = uicore::Key::Enter; return true;
        case Qt::Key_Space: *key = uicore::Key::Space; return true;
        case Qt::Key_Up: *key = uicore::Key::Up; return true;
        case Qt::Key_Down: *key = uicore::Key::Down; return true;
        case Qt::Key_Left: *key = uicore::Key::Left; return true;
        case Qt::Key_Right: *key = uicore::Key::Right; return true;
        default: break;
        }
        const int b = ke->key() > 0x20 && ke->key() < 0x10000 ? cp1252::FromCodePoint(static_cast<char16_t>(ke->key())) : -1;
        if (b <= 0x20) return false;
        *key = uicore::Key::Letter;
        *letter = static_cast<char>(b);
        return true;
    }

    // A key pressed, handed to the core: Alt+letter at its shortcut's
    // override, every other key at its press. True when the core took it;
    // the press of an Alt+letter taken at its override is then spent. An
    // open list or menu keeps its own keys.
    static bool OnKey(QWidget *w, QKeyEvent *ke, bool override) {
        static QKeyCombination spent;
        if (!override && spent == ke->keyCombination()) {
            spent = {};
            return true;
        }
        if (QApplication::activePopupWidget()) return false;
        Panel *p = PanelOfWidget(w);
        uicore::Key key;
        int mods = 0;
        char letter = 0;
        if (!p || !Translate(ke, &key, &mods, &letter) || override != (key == uicore::Key::Letter)) return false;
        Ctrl *c = CtrlOfWidget(p, w);
        if (!uicore::InputKey(p->handle, c ? c->id : 0, key, mods, letter)) return false;
        if (override) spent = ke->keyCombination();
        ke->accept();
        return true;
    }

    // True when w is (inside) a control that takes no input.
    static bool ToIndicator(QWidget *w) {
        Ctrl *c = CtrlOfWidget(PanelOfWidget(w), w);
        return c && !uicore::TakesInput(*c);
    }

    // The close box of a panel's window: the window stays. Other widgets
    // close as usual.
    static bool OnClose(QWidget *w, QEvent *e) {
        Panel *p = PanelOfWidget(w);
        if (!p || Q(*p).w != w || p->parent != 0) return false;
        e->ignore();
        uicore::InputClose(p->handle);
        return true;
    }
};

// ------------------------------------------------------- the links' role

// A link (a text message in VAL_HOT, the core's rule) as a screen reader
// is to know it: the role of a link, and an action that opens it (its
// commit), where Qt reads a QLabel as static text.
class LinkAccessible : public QAccessibleWidget {
public:
    explicit LinkAccessible(QWidget *w) : QAccessibleWidget(w, QAccessible::Link) {}
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &name) override {
        Panel *p = PanelOfWidget(widget());
        Ctrl *c = CtrlOfWidget(p, widget());
        if (name != pressAction() || !c) return;
        DispatchGuard g;
        uicore::InputCommit(p->handle, c->id);
    }
};

static Ctrl *LinkOf(QWidget *w) {
    Ctrl *c = CtrlOfWidget(PanelOfWidget(w), w);
    return c && Q(*c).w == w && c->style == CTRL_TEXT_MSG && c->mode == VAL_HOT ? c : nullptr;
}

static QAccessibleInterface *LinkFactory(const QString &cls, QObject *o) {
    if (cls != QLatin1String("QLabel") || !o->isWidgetType()) return nullptr;
    return LinkOf(static_cast<QWidget *>(o)) ? new LinkAccessible(static_cast<QWidget *>(o)) : nullptr;
}

void QtLinkRoleChanged(QWidget *w) {
    // Qt keeps the interface it made for a widget: it is made again.
    if (QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(a));
}

// ------------------------------------------------------------ the cues

// The link's focus frame (a label draws none of its own), shown while it
// has the focus and the panel's cues show.
static void LinkFrame(Ctrl &c, bool shown) {
    auto *frame = Q(c).w->findChild<QFrame *>(QStringLiteral("vlicFocusFrame"), Qt::FindDirectChildrenOnly);
    if (!frame && shown) {
        frame = new QFrame(Q(c).w);
        frame->setObjectName(QStringLiteral("vlicFocusFrame"));
        frame->setFrameStyle(QFrame::Box | QFrame::Plain);
        frame->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    if (!frame) return;
    frame->setGeometry(Q(c).w->rect());
    frame->setVisible(shown);
}

// The keyboard cues of a top-level panel: Qt's styles frame the focused
// control while its window carries WA_KeyboardFocusChange; the links'
// frames are the layer's own. Qt underlines the shortcut letters always.
void QtShowCues(Panel &p) {
    QWidget *win = Q(p).w->window();
    if (win->testAttribute(Qt::WA_KeyboardFocusChange) != p.focusCues)
        win->setAttribute(Qt::WA_KeyboardFocusChange, p.focusCues);
    QWidget *focus = win->focusWidget();
    for (Panel *k = NextPanel(0); k; k = NextPanel(k->handle)) {
        if (Q(*k).w->window() != win) continue;
        for (auto &c : k->ctrls) {
            if (c->style != CTRL_TEXT_MSG) continue;
            LinkFrame(*c, p.focusCues && focus == Q(*c).w);
        }
    }
    if (focus) focus->update();
}

// ------------------------------------------------------------- cursors

static void ApplyCursor() {
    int want = -1;
    if (!uicore::CursorSuspended()) {
        if (uicore::WaitCursorOn()) want = Qt::WaitCursor;
        else if (uicore::MouseCursorStyle() == VAL_POINTING_FINGER_CURSOR) want = Qt::PointingHandCursor;
    }
    if (want == g_applied) return;
    if (want == -1) QGuiApplication::restoreOverrideCursor();
    else if (g_applied == -1) QGuiApplication::setOverrideCursor(QCursor(static_cast<Qt::CursorShape>(want)));
    else QGuiApplication::changeOverrideCursor(QCursor(static_cast<Qt::CursorShape>(want)));
    g_applied = want;
}

void StartEvents() {
    QAccessible::installFactory(LinkFactory);
    g_filter = new Filter;
    qApp->installEventFilter(g_filter);
    g_wake = new QTimer(g_filter);
    g_wake->setSingleShot(true);
    const QString name = QGuiApplication::platformName();
    g_cheapCursor = name == QLatin1String("offscreen") || name == QLatin1String("minimal");
    g_cursorSample = QCursor::pos();
    g_pointer = g_cursorSample;
}

bool QtPump(int ms) {
    if (!InDispatch()) QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QAbstractEventDispatcher *d = QAbstractEventDispatcher::instance();
    if (ms == 0) return d->processEvents(QEventLoop::AllEvents);
    // It runs what comes first, or wakes at the bound's timer.
    if (ms > 0) g_wake->start(ms);
    const bool ran = d->processEvents(QEventLoop::WaitForMoreEvents);
    g_wake->stop();
    return ran;
}

void QtPointerInPanel(const Panel &p, int *x, int *y) {
    const QPoint at = Q(p).w->mapFromGlobal(Pointer());
    *x = at.x();
    *y = at.y();
}

void QtMouseButtons(int *left, int *right, int *keys) {
    const Qt::MouseButtons b = QGuiApplication::mouseButtons();
    *left = (b & Qt::LeftButton) ? 1 : 0;
    *right = (b & Qt::RightButton) ? 1 : 0;
    const Qt::KeyboardModifiers m = QGuiApplication::keyboardModifiers();
    *keys = ((m & Qt::ShiftModifier) ? 1 : 0) | ((m & Qt::ControlModifier) ? 2 : 0) | ((m & Qt::AltModifier) ? 4 : 0);
}


void QtShowCursor() { ApplyCursor(); }

void FillEventEntries(uicore::Driver &d) {
    d.pump = QtPump;
    d.pointerInPanel = QtPointerInPanel;
    d.mouseButtons = QtMouseButtons;
    d.showCursor = QtShowCursor;
    d.showCues = QtShowCues;
}

}  // namespace uiqt
