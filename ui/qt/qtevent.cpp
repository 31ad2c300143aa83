// qtevent.cpp: the Qt driver's events: the user's input handed to the core,
// the pump, the pointer and the cursors.
//
// Exports (ui/qt/qtprivate.h): StartEvents, ConnectCtrl, ShowCursor,
// SuspendCursor, Pump, PointerInPanel, MouseButtons.
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
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QEnterEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

#include "ui/core/corecursor.h"
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
    case CTRL_STRING: {
        auto *s = static_cast<QLineEdit *>(Q(c).w);
        QObject::connect(s, &QLineEdit::textEdited, ctx, [panel, id](const QString &) { uicore::TextEdited(panel, id); });
        // Enter, or the focus leaving (also when the panel is dimmed):
        // a commit only when the user edited the text since.
        QObject::connect(s, &QLineEdit::editingFinished, ctx, [s, panel, id] {
            if (!s->isModified()) return;
            s->setModified(false);
            uicore::InputCommit(panel, id);
        });
        break;
    }
    case CTRL_NUMERIC:
        QObject::connect(static_cast<QSpinBox *>(Q(c).w), &QSpinBox::valueChanged, ctx, [panel, id](int) {
            uicore::InputCommit(panel, id);
        });
        break;
    case CTRL_TEXT_BOX:
        QObject::connect(static_cast<QPlainTextEdit *>(Q(c).w), &QPlainTextEdit::textChanged, ctx,
                         [panel, id] { uicore::TextEdited(panel, id); });
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
        case QEvent::KeyRelease: case QEvent::Shortcut: case QEvent::Close:
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
            OnFocus(w, t == QEvent::FocusIn);
            return false;
        }
        if (t == QEvent::WindowActivate) {
            Panel *p = PanelOfWidget(w);
            if (p && Q(*p).w == w && p->parent == 0) uicore::PanelActivated(p->handle);
            return false;
        }
        if (t == QEvent::KeyPress && OnKey(w, static_cast<QKeyEvent *>(e))) return true;
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

    // The focus came to (or left) w: the panel remembers its control, and a
    // link shows a frame round its text while it has the focus (a label
    // draws none of its own).
    static void OnFocus(QWidget *w, bool in) {
        Panel *p = PanelOfWidget(w);
        Ctrl *c = CtrlOfWidget(p, w);
        if (!c) return;
        if (in) uicore::InputFocus(p->handle, c->id);
        if (c->style != CTRL_TEXT_MSG) return;
        auto *frame = Q(*c).w->findChild<QFrame *>(QStringLiteral("vlicFocusFrame"), Qt::FindDirectChildrenOnly);
        if (!frame && in) {
            frame = new QFrame(Q(*c).w);
            frame->setObjectName(QStringLiteral("vlicFocusFrame"));
            frame->setFrameStyle(QFrame::Box | QFrame::Plain);
            frame->setAttribute(Qt::WA_TransparentForMouseEvents);
        }
        if (!frame) return;
        frame->setGeometry(Q(*c).w->rect());
        frame->setVisible(in);
    }

    // The keys whose meaning is the core's: Tab and Shift+Tab, Escape,
    // Enter and Space on a link, the arrows on a button. True when the key was taken. An open list
    // or menu keeps its own keys.
    static bool OnKey(QWidget *w, QKeyEvent *ke) {
        if (QApplication::activePopupWidget()) return false;
        Panel *p = PanelOfWidget(w);
        if (!p) return false;
        const int key = ke->key();
        const Qt::KeyboardModifiers m = ke->modifiers() & ~Qt::KeypadModifier;
        bool taken = false;
        if ((key == Qt::Key_Tab || key == Qt::Key_Backtab) && !(m & (Qt::ControlModifier | Qt::AltModifier)))
            taken = uicore::InputTab(p->handle, key == Qt::Key_Tab && !(m & Qt::ShiftModifier));
        else if (key == Qt::Key_Escape && m == Qt::NoModifier)
            taken = uicore::InputEscape(p->handle);
        else if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) && m == Qt::NoModifier)
            if (Ctrl *c = CtrlOfWidget(p, w)) taken = uicore::InputKeyActivate(p->handle, c->id);
        if ((key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left || key == Qt::Key_Right) &&
            m == Qt::NoModifier)
            if (Ctrl *c = CtrlOfWidget(p, w))
                taken = uicore::InputArrow(p->handle, c->id, key == Qt::Key_Down || key == Qt::Key_Right);
        if (taken) ke->accept();
        return taken;
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
}

}  // namespace uiqt
