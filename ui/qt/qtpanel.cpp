// qtpanel.cpp: the Qt driver's start-up, the program's folder, the
// resource files the program carries, and panels' widgets: made for the
// core's records, shown, hidden, destroyed, placed and framed.
//
// Exports (ui/qt/qtprivate.h): PanelOfWidget, CtrlOfWidget,
// FillPanelEntries (the driver's entries for start-up, panels and drawing).
//
// Data model: see ui/qt/qtprivate.h. A panel's place is its root widget's
// geometry, the client area (the window without its frame).
//
// Carried resource files: "X.uir" compiled into the program is the Qt
// resource ":/X.uir", the bytes of the file the build converted.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

#ifdef VLIC_HAVE_XCB
#include <xcb/xcb.h>
#endif

#include "ui/core/coreattr.h"
#include "ui/core/corecallback.h"
#include "ui/qt/qtprivate.h"
#include "ui/userint.h"
#include "ui/qt/userint_qt.h"

namespace uiqt {

// --------------------------------------------------------------- state
// g_app: the application object, made by InitUIRunTime and kept until the
//   process ends; null before a successful start (every panel operation then answers
//   UIE_NOT_INITIALIZED).
// g_argc, g_argv, g_argStore: the arguments QApplication keeps references
//   to for its whole life.
static QApplication *g_app = nullptr;
static int g_argc = 0;
static char *g_argv[4] = {};
static QByteArray g_argStore[3];
// g_canRaise: the platform stacks windows (offscreen and minimal do not,
//   and warn at every try).
static bool g_canRaise = true;
// g_probe: the X connection that found the display open, held by Start
//   while Qt connects and closed right after (see DisplayOpens).
// g_programName: argv[0]'s file name, for the line written without handler.
#ifdef VLIC_HAVE_XCB
static xcb_connection_t *g_probe = nullptr;
#endif
static char g_programName[64] = "vlic";
// g_fitWatch: the filter on displayed panels' windows (FitWatch), made on
//   first display and kept.
static QObject *g_fitWatch = nullptr;

Panel *PanelOfWidget(QWidget *w) {
    for (QWidget *x = w; x; x = x->parentWidget())
        for (Panel *p = NextPanel(0); p; p = NextPanel(p->handle))
            if (Q(*p).w == x) return p;
    return nullptr;
}

Ctrl *CtrlOfWidget(Panel *p, QWidget *w) {
    if (!p || !w) return nullptr;
    QWidget *x = w;
    while (x && x->parentWidget() != Q(*p).w) x = x->parentWidget();
    if (!x) return nullptr;
    for (auto &c : p->ctrls)
        if (Q(*c).w == x) return c.get();
    return nullptr;
}

// ------------------------------------------------------------ start-up

static void ReleaseProbe() {
#ifdef VLIC_HAVE_XCB
    if (g_probe) xcb_disconnect(g_probe);
    g_probe = nullptr;
#endif
}

// Qt's messages while the application object is made: the platform's
// complaints about the session (XDG_RUNTIME_DIR and the like) are noise for
// a program that has started well, and a fatal one means the display went
// away between the probe and Qt's connection, which ends like any other
// missing display: the program's one line and exit code -1.
static void StartMessages(QtMsgType type, const QMessageLogContext &, const QString &) {
    if (type != QtFatalMsg) return;
    if (NoDisplayHandlerPtr handler = uicore::NoDisplayHandler()) {
        handler();
    } else {
        std::fprintf(stderr, "%s: no display can be opened\n", g_programName);
    }
    std::fflush(stderr);
    std::_Exit(-1);
}

// True when a platform plugin of that name can be loaded: it lies in one of
// the folders Qt searches (QT_PLUGIN_PATH, then Qt's own plugin folder).
static bool PluginExists(const QByteArray &name) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    const QString file = QStringLiteral("/platforms/libq") + QString::fromLatin1(name) + QStringLiteral(".so");
    QStringList dirs = qEnvironmentVariable("QT_PLUGIN_PATH").split(u':', Qt::SkipEmptyParts);
    dirs << QLibraryInfo::path(QLibraryInfo::PluginsPath);
    for (const QString &d : dirs)
        if (QFileInfo::exists(d + file)) return true;
    return false;
#else
    (void)name;
    return true;
#endif
}

// True when the platform of that name can open its display. Only the
// platforms that need a display server are probed; Qt itself would abort
// the process when it cannot connect.
//
// The X connection of the probe is kept open (g_probe) until Qt has made its
// own: a server started without -noreset resets when its last client leaves,
// and a connection made during that reset is refused, so closing the probe
// first would make the toolkit's connection fail now and then.
static bool DisplayOpens(const QByteArray &name) {
    if (name == "xcb") {
#ifdef VLIC_HAVE_XCB
        xcb_connection_t *c = xcb_connect(nullptr, nullptr);
        const bool ok = c && !xcb_connection_has_error(c);
        if (ok) {
            ReleaseProbe();
            g_probe = c;
        } else if (c) {
            xcb_disconnect(c);
        }
        return ok;
#else
        return !qEnvironmentVariableIsEmpty("DISPLAY");
#endif
    }
    if (name.startsWith("wayland")) {
        QString sock = qEnvironmentVariable("WAYLAND_DISPLAY", QStringLiteral("wayland-0"));
        if (!sock.startsWith(u'/')) {
            const QString run = qEnvironmentVariable("XDG_RUNTIME_DIR");
            if (run.isEmpty()) return false;
            sock = run + u'/' + sock;
        }
        return QFileInfo::exists(sock);
    }
    return true;   // offscreen, minimal, vnc, eglfs, linuxfb ...: no server to reach
}

// Chooses the platform Qt is to use: the first of QT_QPA_PLATFORM's list
// (or of Qt's default) that can start. Returns false when none can; *chosen
// receives the entry as written ("name" or "name:options").
static bool ChoosePlatform(QByteArray *chosen) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    QList<QByteArray> candidates;
    const QByteArray env = qgetenv("QT_QPA_PLATFORM");
    if (!env.isEmpty()) {
        candidates = env.split(';');
    } else {
        if (qgetenv("XDG_SESSION_TYPE") == "wayland") candidates << "wayland";
        candidates << "xcb";
    }
    for (const QByteArray &c : candidates) {
        const qsizetype colon = c.indexOf(':');
        const QByteArray name = (colon < 0 ? c : c.left(colon)).trimmed();
        if (name.isEmpty()) continue;
        if (PluginExists(name) && DisplayOpens(name)) {
            *chosen = c.trimmed();
            return true;
        }
    }
    return false;
#else
    chosen->clear();   // Windows and macOS always have their display
    return true;
#endif
}

bool QtStart(char **argv, bool headless) {
    if (g_app) return true;
    if (QCoreApplication::instance()) return false;   // someone else's application object
    QByteArray platform;
    if (!ChoosePlatform(&platform)) {
        ReleaseProbe();
        if (!headless) return false;
        platform = "offscreen";
    }
    g_argStore[0] = (argv && argv[0]) ? QByteArray(argv[0]) : QByteArray("vlic");
    g_argc = 0;
    g_argv[g_argc++] = g_argStore[0].data();
    if (!platform.isEmpty()) {
        g_argStore[1] = "-platform";
        g_argStore[2] = platform;
        g_argv[g_argc++] = g_argStore[1].data();
        g_argv[g_argc++] = g_argStore[2].data();
    }
    g_argv[g_argc] = nullptr;
    const char *slash = std::strrchr(g_argStore[0].constData(), '/');
    std::snprintf(g_programName, sizeof g_programName, "%s", slash ? slash + 1 : g_argStore[0].constData());
    const QtMessageHandler previous = qInstallMessageHandler(StartMessages);
    // The application object lives until the process ends: deleting it at
    // exit would run after Qt's own static data is gone.
    g_app = new QApplication(g_argc, g_argv);
    qInstallMessageHandler(previous);
    ReleaseProbe();
    const QString name = QGuiApplication::platformName();
    g_canRaise = name != QLatin1String("offscreen") && name != QLatin1String("minimal");
    StartEvents();
    return true;
}


// The program's folder, whole; UIE_SYSTEM when Qt does not know it.
int QtProgramFolder(std::u16string *folder) {
    const QString dir = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    if (dir.isEmpty()) return UIE_SYSTEM;
    *folder = dir.toStdU16String();
    return 0;
}

bool QtSetCurrentFolder(const std::u16string &folder) { return QDir::setCurrent(QString::fromStdU16String(folder)); }

// ------------------------------------------------------------- loading

// The converted resource file compiled into the program under that name.
bool QtCarriedFile(const char *name, std::string *bytes) {
    const QString base = QFileInfo(FromAnsi(name)).fileName();
    if (base.isEmpty()) return false;
    QFile f(QStringLiteral(":/") + base);
    if (!f.open(QIODevice::ReadOnly)) return false;
    const QByteArray all = f.readAll();
    bytes->assign(all.constData(), static_cast<size_t>(all.size()));
    return true;
}

static void ApplyBackColor(Panel &p) {
    QPalette pal = Q(p).w->palette();
    pal.setColor(QPalette::Window, QColor::fromRgb(static_cast<QRgb>(p.backColor)));
    Q(p).w->setPalette(pal);
    Q(p).w->setAutoFillBackground(true);
}

// The window flags of a top-level panel from its frame attributes.
static void ApplyFrame(Panel &p) {
    if (p.parent != 0) return;
    Qt::WindowFlags f = Qt::Window;
    if (!p.titleBar) {
        f |= Qt::FramelessWindowHint;
    } else {
        f |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (p.canClose) f |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (p.canMinimize) f |= Qt::WindowMinimizeButtonHint;
        if (p.canMaximize) f |= Qt::WindowMaximizeButtonHint;
    }
    if (Q(p).w->windowFlags() != f) {
        const bool shown = Q(p).w->isVisible();
        const QRect g = Q(p).w->geometry();
        Q(p).w->setWindowFlags(f);   // hides the window
        Q(p).w->setGeometry(g);
        if (shown) Q(p).w->show();
    }
    if (p.sizable) {
        Q(p).w->setMinimumSize(0, 0);
        Q(p).w->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    } else {
        Q(p).w->setFixedSize(Q(p).w->size());
    }
}

bool QtFrameMargins(const Panel &p, uicore::Margins *m) {
    QWindow *win = Q(p).w->windowHandle();
    if (!win || !Q(p).w->isVisible()) return false;
    const QMargins f = win->frameMargins();
    if (f.isNull()) return false;
    *m = {f.left(), f.top(), f.right(), f.bottom()};
    return true;
}

// Qt's screens in its device-independent pixels, which are already those of
// each screen's scale: the core sees them all at 96 DPI.
std::vector<uicore::Screen> QtScreens() {
    std::vector<uicore::Screen> out;
    QList<QScreen *> all = QGuiApplication::screens();
    if (QScreen *primary = QGuiApplication::primaryScreen()) {
        all.removeAll(primary);
        all.prepend(primary);
    }
    for (QScreen *s : all) {
        const QRect g = s->geometry(), a = s->availableGeometry();
        out.push_back({{g.x(), g.y(), g.width(), g.height()}, {a.x(), a.y(), a.width(), a.height()}, 96});
    }
    if (out.empty()) out.push_back({{0, 0, 800, 600}, {0, 0, 800, 600}, 96});
    return out;
}

void QtSetPanelRect(Panel &p, const uicore::Rect &r) {
    const QRect g(r.x, r.y, r.width, r.height);
    if (!p.sizable && Q(p).w->size() != g.size()) Q(p).w->setFixedSize(g.size());
    if (Q(p).w->geometry() != g) Q(p).w->setGeometry(g);
}

// Watches the windows of displayed top-level panels: the first time a
// window is exposed after DisplayPanel, its frame is known, and a panel
// that only the frame pushes off its screen is moved onto it.
class FitWatch : public QObject {
public:
    bool eventFilter(QObject *o, QEvent *e) override {
        if (e->type() != QEvent::Expose) return false;
        for (int h : PanelHandles()) {
            Panel *p = FindPanel(h);
            if (!p || !Q(*p).awaitingExpose || Q(*p).w->windowHandle() != o || !Q(*p).w->isVisible()) continue;
            if (!static_cast<QWindow *>(o)->isExposed()) break;
            Q(*p).awaitingExpose = false;
            uicore::PanelFramed(h);
            break;
        }
        return false;
    }
};

static void TrackMouse(QWidget *root) {
    root->setMouseTracking(true);
    for (QWidget *w : root->findChildren<QWidget *>()) w->setMouseTracking(true);
}

static void Setup(Panel &p) {
    TrackMouse(Q(p).w);
    ApplyBackColor(p);
    ApplyFrame(p);
}

int QtNewPanel(Panel &p, const Panel *parent, int height, int width) {
    p.native = std::make_unique<QtPanel>();
    Q(p).w = new QWidget(parent ? Q(*parent).w : nullptr);
    Q(p).w->hide();
    Q(p).w->resize(width, height);
    Q(p).w->setWindowTitle(FromAnsi(p.titleRaw));
    Setup(p);
    return 0;
}

void QtDestroyPanel(Panel &p, bool later) {
    QWidget *w = Q(p).w;
    w->hide();
    if (later) w->deleteLater();
    else delete w;
}

// Shows the panel in front and makes its window the active one (also
// without a window manager), or hides it.
void QtShowPanel(Panel &p, bool activate) {
    QWidget *w = Q(p).w;
    if (!p.visible) {
        w->hide();
        return;
    }
    w->show();
    if (!activate) return;
    if (p.parent == 0) {
        // Its frame is known once the window manager has framed it.
        if (!g_fitWatch) g_fitWatch = new FitWatch;
        QWindow *win = w->windowHandle();
        Q(p).awaitingExpose = win && !win->isExposed();
        if (win) {
            win->removeEventFilter(g_fitWatch);
            win->installEventFilter(g_fitWatch);
        }
    }
    if (p.parent != 0 || g_canRaise) w->raise();
    if (p.parent == 0) w->activateWindow();
}

// An application-modal window, transient for (owned by) the panel it
// blocks; Qt blocks the other windows while it is shown.
void QtSetPopup(Panel &p, const Panel *owner) {
    QWidget *w = Q(p).w;
    const bool shown = w->isVisible();
    if (shown) w->hide();   // modality and owner change only while hidden
    w->setWindowModality(owner || p.popup ? Qt::ApplicationModal : Qt::NonModal);
    w->winId();   // its window exists from here, to carry the owner
    if (QWindow *win = w->windowHandle()) win->setTransientParent(owner ? Q(*owner).w->windowHandle() : nullptr);
    if (shown) w->show();
}

void QtSetModal(Panel &, bool) {}

// The panel holding the focus in the active window, else the active
// window's panel; 0 when none.
int QtActivePanel() {
    QWidget *aw = QApplication::activeWindow();
    if (!aw) return 0;
    QWidget *focus = QApplication::focusWidget();
    if (focus && focus->window() == aw)
        if (Panel *p = PanelOfWidget(focus)) return p->handle;
    Panel *p = PanelOfWidget(aw);
    return (p && Q(*p).w == aw) ? p->handle : 0;
}

void QtScreenSize(int *height, int *width) {
    QScreen *s = QGuiApplication::primaryScreen();
    const QRect g = s ? s->geometry() : QRect(0, 0, 800, 600);
    *height = g.height();
    *width = g.width();
}

}  // namespace uiqt

// ---------------------------------------------------------- drawing now
namespace uiqt {

// True while a displayed top-level panel's window waits for its first
// exposure (the window manager is still framing and mapping it).
static bool AwaitingExposure() {
    for (const Panel *p = NextPanel(0); p; p = NextPanel(p->handle))
        if (p->parent == 0 && Q(*p).awaitingExpose && Q(*p).w->isVisible()) return true;
    return false;
}

// Runs the drawing until every displayed panel shows its present state; a
// window the window manager has not mapped within half a second is left to
// the next poll. User input stays queued by the event loop meanwhile.
void QtDrawNow() {
    QTimer wake;
    wake.setSingleShot(true);
    QElapsedTimer t;
    t.start();
    for (;;) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        if (!AwaitingExposure() || t.elapsed() >= 500) break;
        wake.start(5);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents);
        wake.stop();
    }
    for (Panel *p = NextPanel(0); p; p = NextPanel(p->handle)) {
        if (p->parent != 0 || !Q(*p).w->isVisible()) continue;
        QWindow *win = Q(*p).w->windowHandle();
        if (win && win->isExposed()) Q(*p).w->repaint();
    }
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace uiqt

// ---------------------------------------------- the driver's panel entries
namespace uiqt {

uicore::Rect QtPanelRect(const Panel &p) {
    const QRect g = Q(p).w->geometry();
    return {g.x(), g.y(), g.width(), g.height()};
}

void QtSetTitle(Panel &p) { Q(p).w->setWindowTitle(FromAnsi(p.titleRaw)); }

void FillPanelEntries(uicore::Driver &d) {
    d.start = QtStart;
    d.programFolder = QtProgramFolder;
    d.setCurrentFolder = QtSetCurrentFolder;
    d.carriedFile = QtCarriedFile;
    d.newPanel = QtNewPanel;
    d.destroyPanel = QtDestroyPanel;
    d.panelRect = QtPanelRect;
    d.setPanelRect = QtSetPanelRect;
    d.frameMargins = QtFrameMargins;
    d.screens = QtScreens;
    d.showPanel = QtShowPanel;
    d.setPopup = QtSetPopup;
    d.setModal = QtSetModal;
    d.activePanel = QtActivePanel;
    d.screenSize = QtScreenSize;
    d.setTitle = QtSetTitle;
    d.setBackColor = ApplyBackColor;
    d.setFrame = ApplyFrame;
    d.drawNow = QtDrawNow;
}

}  // namespace uiqt
