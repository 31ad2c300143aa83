// uimenu.cpp: a control's right click, the popup menu and the clipboard.
//
// Exports (ui/userint.h, section 13): EVENT_RIGHT_CLICK to control
// callbacks, RunPopupMenuAnsi, ClipboardPutTextAnsi.
//
// Data model: one application-wide event filter, installed when the
// application object is made (Q_COREAPP_STARTUP_FUNCTION: this file is
// linked in whenever its operations are used, so the filter is there for
// every program that offers a menu). It turns the user's right-button press
// over a control into the core's right press (ui/core/uicore.h); a callback
// that returns non-zero takes the press for itself (the widget does not
// see it).
// A popup menu lives only while RunPopupMenuAnsi waits for the choice.
#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QWidget>

#include "ui/qt/uiprivate.h"
#include "ui/userint.h"

namespace {

using namespace uirt;

// --------------------------------------------------------------- state
// g_rightClicks: the filter, made once with the application object and
//   owned by it; null before.
QObject *g_rightClicks = nullptr;

class RightClicks : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject *o, QEvent *e) override {
        if (e->type() != QEvent::MouseButtonPress || !e->spontaneous() || !o->isWidgetType()) return false;
        auto *me = static_cast<QMouseEvent *>(e);
        if (me->button() != Qt::RightButton) return false;
        Panel *p = PanelOfWidget(static_cast<QWidget *>(o));
        Ctrl *c = CtrlOfWidget(p, static_cast<QWidget *>(o));
        if (!c) return false;
        const QPoint at = Q(*p).w->mapFromGlobal(me->globalPosition().toPoint());
        return uicore::InputRightPress(p->handle, c->id, at.x(), at.y());
    }
};

void StartRightClicks() {
    if (g_rightClicks) return;
    g_rightClicks = new RightClicks(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(g_rightClicks);
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(StartRightClicks)

// The number (1 to count) of the item the user chose, 0 when the menu was
// left without a choice; UIE_NOT_INITIALIZED, UIE_BAD_POINTER (no items, or
// a null one), UIE_BAD_VALUE (count below 1). Shown at the mouse pointer;
// the layer's own cursors are off while it is up.
int RunPopupMenuAnsi(const char *const items[], int count) {
    if (!Ready()) return UIE_NOT_INITIALIZED;
    if (!items) return UIE_BAD_POINTER;
    if (count < 1) return UIE_BAD_VALUE;
    QMenu menu;
    int chosen = 0;
    for (int i = 0; i < count; ++i) {
        if (!items[i]) return UIE_BAD_POINTER;
        // An "&" is the item's text, not a shortcut mark.
        QAction *a = menu.addAction(FromAnsi(items[i]).replace(u'&', QStringLiteral("&&")));
        QObject::connect(a, &QAction::triggered, &menu, [&chosen, i] { chosen = i + 1; });
    }
    DispatchGuard inside;   // a nested event loop runs: widgets go later
    SuspendCursor(true);
    menu.exec(QCursor::pos());
    SuspendCursor(false);
    return chosen;
}

// 0 once text is the clipboard's (and, where the desktop has one, the
// selection's, pasted with the middle button); UIE_NOT_INITIALIZED,
// UIE_BAD_POINTER. The text stays there while the program runs; after it
// ends, only as long as the desktop's clipboard keeps copies.
int ClipboardPutTextAnsi(const char *text) {
    if (!Ready()) return UIE_NOT_INITIALIZED;
    if (!text) return UIE_BAD_POINTER;
    QClipboard *clipboard = QGuiApplication::clipboard();
    const QString s = FromAnsi(text);
    clipboard->setText(s, QClipboard::Clipboard);
    if (clipboard->supportsSelection()) clipboard->setText(s, QClipboard::Selection);
    return 0;
}
