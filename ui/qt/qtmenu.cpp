// qtmenu.cpp: a control's right click, the popup menu and the clipboard.
//
// Exports: the right presses over controls to the core;
// (ui/qt/qtprivate.h): PopupMenu, ClipboardPut.
//
// Data model: one application-wide event filter, installed when the
// application object is made (Q_COREAPP_STARTUP_FUNCTION: this file is
// linked in whenever its operations are used, so the filter is there for
// every program that offers a menu). It turns the user's right-button press
// over a control, and the keyboard's context-menu request on one, into the
// core's right press and menu key (ui/core/uicore.h); a callback
// that returns non-zero takes the press for itself (the widget does not
// see it).
// A popup menu lives only while PopupMenu waits for the choice.
#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QWidget>

#include "ui/qt/qtprivate.h"
#include "ui/userint.h"

namespace {

using namespace uiqt;

// --------------------------------------------------------------- state
// g_rightClicks: the filter, made once with the application object and
//   owned by it; null before.
QObject *g_rightClicks = nullptr;

class RightClicks : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject *o, QEvent *e) override {
        if (e->type() == QEvent::ContextMenu && o->isWidgetType() &&
            static_cast<QContextMenuEvent *>(e)->reason() == QContextMenuEvent::Keyboard) {
            // The Menu key or Shift+F10, at the focused control.
            Panel *p = PanelOfWidget(static_cast<QWidget *>(o));
            Ctrl *c = CtrlOfWidget(p, static_cast<QWidget *>(o));
            return c && uicore::InputMenuKey(p->handle, c->id);
        }
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

namespace uiqt {

// Shown at the mouse pointer, or under the control's rectangle at; an "&"
// is the item's text, not a shortcut mark.
int QtPopupMenu(const char *const items[], int count, const Panel *owner, const uicore::Rect *at) {
    QMenu menu;
    int chosen = 0;
    for (int i = 0; i < count; ++i) {
        QAction *a = menu.addAction(FromAnsi(items[i]).replace(u'&', QStringLiteral("&&")));
        QObject::connect(a, &QAction::triggered, &menu, [&chosen, i] { chosen = i + 1; });
    }
    menu.exec(at && owner ? Q(*owner).w->mapToGlobal(QPoint(at->x, at->y + at->height)) : QCursor::pos());
    return chosen;
}

// The text on the clipboard and, where the desktop has one, the selection,
// pasted with the middle button. It stays there while the program runs;
// after it ends, only as long as the desktop's clipboard keeps copies.
int QtClipboardPut(const char *text, const Panel *) {
    QClipboard *clipboard = QGuiApplication::clipboard();
    const QString s = FromAnsi(text);
    clipboard->setText(s, QClipboard::Clipboard);
    if (clipboard->supportsSelection()) clipboard->setText(s, QClipboard::Selection);
    return 0;
}

void FillMenuEntries(uicore::Driver &d) {
    d.popupMenu = QtPopupMenu;
    d.clipboardPut = QtClipboardPut;
}

}  // namespace uiqt
