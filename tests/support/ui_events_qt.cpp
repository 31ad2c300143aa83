// ui_events_qt.cpp: the GUI tests' input as real Qt events (see
// ui_events.h).
//
// State: g_timers, the timers of UiTestAfter / UiTestEvery by id.
#include "support/ui_events.h"

#include <map>
#include <memory>

#include <QAbstractItemView>
#include <QAbstractButton>
#include <QAccessible>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QGuiApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QTest>
#include <QWidget>

#include "ui/userint.h"
#include "ui/qt/userint_qt.h"

static std::map<int, std::unique_ptr<QTimer>> g_timers;

static Qt::MouseButton QtButton(UiTestButton b) { return b == UiTestRightButton ? Qt::RightButton : Qt::LeftButton; }

static Qt::Key QtKey(int key) {
    switch (key) {
    case UiTestKeyReturn: return Qt::Key_Return;
    case UiTestKeySpace: return Qt::Key_Space;
    case UiTestKeyUp: return Qt::Key_Up;
    case UiTestKeyDown: return Qt::Key_Down;
    case UiTestKeyEnd: return Qt::Key_End;
    case UiTestKeyEscape: return Qt::Key_Escape;
    case UiTestKeyTab: return Qt::Key_Tab;
    default: return static_cast<Qt::Key>(key);   // a capital letter is its own Qt::Key
    }
}

static Qt::KeyboardModifiers QtModifiers(UiTestModifier m) {
    return (m & UiTestAlt ? Qt::AltModifier : Qt::NoModifier) | (m & UiTestShift ? Qt::ShiftModifier : Qt::NoModifier);
}

// Shift+Tab comes from the window system as Qt's Backtab.
static Qt::Key QtKeyWith(int key, UiTestModifier m) {
    return key == UiTestKeyTab && (m & UiTestShift) ? Qt::Key_Backtab : QtKey(key);
}

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

void UiTestClickAt(int panel, int x, int y, UiTestButton button) {
    QWidget *w = UiPanelWidget(panel);
    if (!w) return;
    QPoint p(x, y);
    QWidget *target = Under(w, &p);
    QTest::mouseMove(target, p);
    QTest::mouseClick(target, QtButton(button), Qt::NoModifier, p);
    UiTestProcess();
}

void UiTestClick(int panel, int control, UiTestButton button) {
    QWidget *c = UiCtrlWidget(panel, control);
    QWidget *w = UiPanelWidget(panel);
    if (!c || !w) return;
    const QPoint at = c->mapTo(w, c->rect().center());
    UiTestClickAt(panel, at.x(), at.y(), button);
}

void UiTestPressAndReleaseAt(int panel, int x0, int y0, int x1, int y1) {
    QWidget *w = UiPanelWidget(panel);
    if (!w) return;
    QPoint p(x0, y0);
    QWidget *target = Under(w, &p);
    QTest::mouseMove(target, p);
    QTest::mousePress(target, Qt::LeftButton, Qt::NoModifier, p);
    QTest::mouseRelease(target, Qt::LeftButton, Qt::NoModifier, target->mapFrom(w, QPoint(x1, y1)));
    UiTestProcess();
}

int UiTestShownCursor() {
    const QCursor *c = QGuiApplication::overrideCursor();
    if (!c) return VAL_DEFAULT_CURSOR;
    if (c->shape() == Qt::PointingHandCursor) return VAL_POINTING_FINGER_CURSOR;
    return c->shape() == Qt::WaitCursor ? kUiTestWaitCursor : VAL_DEFAULT_CURSOR;
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

void UiTestKeyToCtrl(int panel, int control, int key, UiTestModifier modifiers) {
    QWidget *c = UiCtrlWidget(panel, control);
    if (!c) return;
    c->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(c, QtKeyWith(key, modifiers), QtModifiers(modifiers));
    UiTestProcess();
}

void UiTestKey(int panel, int key, UiTestModifier modifiers) {
    QWidget *w = UiPanelWidget(panel);
    if (!w) return;
    QWidget *target = w->window()->focusWidget() ? w->window()->focusWidget() : w->window();
    QTest::keyClick(target, QtKeyWith(key, modifiers), QtModifiers(modifiers));
    UiTestProcess();
}

int UiTestFocusCtrl(int panel) {
    QWidget *f = QApplication::focusWidget();
    for (QWidget *w = f; w; w = w->parentWidget()) {
        int id = 0;
        GetPanelAttributeAnsi(panel, ATTR_PANEL_FIRST_CTRL, &id);
        for (; id > 0; GetCtrlAttributeAnsi(panel, id, ATTR_NEXT_CTRL, &id))
            if (UiCtrlWidget(panel, id) == w) return id;
    }
    return 0;
}

void UiTestActivate(int panel) {
    QWidget *w = UiPanelWidget(panel);
    if (!w) return;
    w->window()->activateWindow();
    UiTestProcess(20);
}

std::string UiTestAccessibleName(int panel, int control) {
    QWidget *w = UiCtrlWidget(panel, control);
    QAccessibleInterface *a = w ? QAccessible::queryAccessibleInterface(w) : nullptr;
    return a ? a->text(QAccessible::Name).toStdString() : std::string();
}

bool UiTestIsLink(int panel, int control) {
    QWidget *w = UiCtrlWidget(panel, control);
    QAccessibleInterface *a = w ? QAccessible::queryAccessibleInterface(w) : nullptr;
    return a && a->role() == QAccessible::Link;
}

void UiTestInvokeLink(int panel, int control) {
    QWidget *w = UiCtrlWidget(panel, control);
    QAccessibleInterface *a = w ? QAccessible::queryAccessibleInterface(w) : nullptr;
    if (a && a->actionInterface()) a->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    UiTestProcess();
}

bool UiTestFocusCuesShown(int panel) {
    QWidget *w = UiPanelWidget(panel);
    return w && w->window()->testAttribute(Qt::WA_KeyboardFocusChange);
}

std::string UiTestCtrlText(int panel, int control) {
    QWidget *w = UiCtrlWidget(panel, control);
    if (auto *e = qobject_cast<QLineEdit *>(w)) return e->text().toStdString();
    if (auto *t = qobject_cast<QPlainTextEdit *>(w)) return t->toPlainText().toStdString();
    if (auto *l = qobject_cast<QLabel *>(w)) return l->text().toStdString();
    if (auto *b = qobject_cast<QAbstractButton *>(w)) return b->text().toStdString();
    return std::string();
}

std::string UiTestClipboardText() { return QGuiApplication::clipboard()->text().toStdString(); }

void UiTestCloseBox(int panel) {
    QWidget *w = UiPanelWidget(panel);
    if (!w) return;
    w->close();   // the close event a window manager's close box gives
    UiTestProcess();
}

static int StartTimer(int ms, bool repeat, std::function<void()> fn) {
    static int next = 0;
    const int id = ++next;
    auto t = std::make_unique<QTimer>();
    t->setSingleShot(!repeat);
    QObject::connect(t.get(), &QTimer::timeout, [id, repeat, fn = std::move(fn)] {
        const std::function<void()> run = fn;   // a single shot's timer, and fn with it, goes now
        if (!repeat) UiTestCancel(id);
        run();
    });
    t->start(ms);
    g_timers[id] = std::move(t);
    return id;
}

int UiTestAfter(int ms, std::function<void()> fn) { return StartTimer(ms, false, std::move(fn)); }
int UiTestEvery(int ms, std::function<void()> fn) { return StartTimer(ms, true, std::move(fn)); }

void UiTestCancel(int id) {
    auto it = g_timers.find(id);
    if (it == g_timers.end()) return;
    it->second.release()->deleteLater();   // it may be the timer now delivering
    g_timers.erase(it);
}

bool UiTestIsChildOf(int panel, int parent) {
    QWidget *w = UiPanelWidget(panel);
    if (!w) return false;
    return parent ? w->parentWidget() == UiPanelWidget(parent) : w->parentWidget() == nullptr;
}

bool UiTestTakesInput(int panel) {
    QWidget *w = UiPanelWidget(panel);
    if (!w) return false;
    const QWidget *modal = QApplication::activeModalWidget();
    return !modal || modal == w->window();
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
