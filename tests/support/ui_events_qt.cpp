// ui_events.cpp: real Qt input events for GUI tests (see ui_events.h).
#include "support/ui_events.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QTimer>
#include <QTest>
#include <QWidget>

#include "ui/userint.h"
#include "ui/qt/userint_qt.h"

QWidget *UiTestPanelWidget(int panel) { return UiPanelWidget(panel); }
QWidget *UiTestCtrlWidget(int panel, int control) { return UiCtrlWidget(panel, control); }

void UiTestProcess(int ms) {
    QElapsedTimer t;
    t.start();
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QCoreApplication::sendPostedEvents();
    } while (t.elapsed() < ms);
}

void UiTestMouseMove(int panel, int x, int y) {
    QWidget *w = UiPanelWidget(panel);
    if (!w) return;
    QTest::mouseMove(w, QPoint(x, y));
    UiTestProcess();
}

void UiTestMouseMoveCtrl(int panel, int control, int x, int y) {
    QWidget *w = UiCtrlWidget(panel, control);
    if (!w) return;
    QTest::mouseMove(w, QPoint(x, y));
    UiTestProcess();
}

// The deepest widget of w under point p (w's coordinates), and p in it.
static QWidget *Under(QWidget *w, QPoint *p) {
    QWidget *c = w->childAt(*p);
    if (!c) return w;
    *p = c->mapFrom(w, *p);
    return c;
}

void UiTestClickAt(int panel, int x, int y, Qt::MouseButton button) {
    QWidget *w = UiPanelWidget(panel);
    if (!w) return;
    QPoint p(x, y);
    QWidget *target = Under(w, &p);
    QTest::mouseMove(target, p);
    QTest::mouseClick(target, button, Qt::NoModifier, p);
    UiTestProcess();
}

void UiTestClick(int panel, int control, Qt::MouseButton button) {
    QWidget *c = UiCtrlWidget(panel, control);
    QWidget *w = UiPanelWidget(panel);
    if (!c || !w) return;
    const QPoint at = c->mapTo(w, c->rect().center());
    UiTestClickAt(panel, at.x(), at.y(), button);
}

void UiTestChooseRingItem(int panel, int control, int index) {
    auto *r = qobject_cast<QComboBox *>(UiCtrlWidget(panel, control));
    if (!r || index < 0 || index >= r->count()) return;
    r->showPopup();
    UiTestProcess();
    QAbstractItemView *v = r->view();
    const QRect item = v->visualRect(v->model()->index(index, r->modelColumn(), v->rootIndex()));
    QTest::mouseClick(v->viewport(), Qt::LeftButton, Qt::NoModifier, item.center());
    UiTestProcess();
}

void UiTestKeyToCtrl(int panel, int control, int key, Qt::KeyboardModifiers modifiers) {
    QWidget *c = UiCtrlWidget(panel, control);
    if (!c) return;
    c->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(c, static_cast<Qt::Key>(key), modifiers);
    UiTestProcess();
}

void UiTestKey(int panel, int key, Qt::KeyboardModifiers modifiers) {
    QWidget *w = UiPanelWidget(panel);
    if (!w) return;
    QWidget *target = w->window()->focusWidget() ? w->window()->focusWidget() : w->window();
    QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
    UiTestProcess();
}

void UiTestCloseBox(int panel) {
    QWidget *w = UiPanelWidget(panel);
    if (!w) return;
    w->close();   // the close event a window manager's close box gives
    UiTestProcess();
}

// The poll sleeps while nothing comes: a timer at the deadline wakes it in time.
bool UiTestWaitCommit(int *panel, int *control, int timeoutMs) {
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.start(timeoutMs);
    do {
        if (GetUserEvent(0, panel, control) == EVENT_COMMIT) return true;
    } while (deadline.isActive());
    return false;
}

int UiTestCountCommits(int ms) {
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.start(ms);
    int n = 0, p, c;
    do {
        if (GetUserEvent(0, &p, &c) == EVENT_COMMIT) ++n;
    } while (deadline.isActive());
    return n;
}
