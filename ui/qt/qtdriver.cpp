// qtdriver.cpp: the Qt Widgets driver of the run-time layer, as the core
// sees it: its table of entries (ui/core/uicore.h, Driver) and what it can
// do. Each file fills the entries that live with the widgets it works on
// (qtpanel.cpp, qtctrl.cpp, qtevent.cpp, qtpopup.cpp, qtmenu.cpp).
//
// Implemented features:
// - Every entry of the table: panels as top-level QWidget windows (child
//   panels as child widgets), controls as Qt's own widgets (QPushButton,
//   QComboBox, QLabel, QPlainTextEdit, QLineEdit, QSpinBox, QFrame) made
//   from the core's records; the resource files the program carries are
//   Qt resources (":/FVLicEnr.uir").
// - Input: an application-wide event filter translates Qt's key, focus,
//   mouse, close, activation and keyboard context-menu events into the
//   core's input calls, and swallows what the core took (keys) or what a
//   control in indicator mode must not get; Qt's own mnemonic shortcuts
//   never act.
// - Keyboard cues: a focus frame only once the keyboard is used (Qt's
//   keyboard-focus-change flag, and the layer's frame round a link).
// - Screen readers: a text message in hot mode is a link (role Link, a
//   press action).
// - The pump is Qt's event dispatcher, woken by a timer at the poll's bound.
// - Screens: Qt's device-independent pixels, each screen at its own scale.
//
// Where it differs on purpose:
// - Caps::printsPdf: it prints a panel into a PDF file (Qt's printer).
// - A panel that may not be closed has no close box (Win32 greys it).
// - Its logical pixels are Qt's device-independent ones (Win32's are those
//   of a 96-DPI screen, which it scales itself).
// - A window's frame is known once the window manager has framed it:
//   frameMargins says false until the window is exposed, and it tells the
//   core then (PanelFramed).
// - The pointer leaving a panel wakes the poll (Qt's leave events).
//
// Exports (ui/core/uicore.h): kPlatformDriver, the platform's driver on Linux;
// (ui/qt/userint_qt.h): the widgets behind the handles, for tests.
//
// State: none.
#include "ui/qt/qtprivate.h"
#include "ui/qt/userint_qt.h"

namespace uiqt {

static uicore::Driver MakeQtDriver() {
    uicore::Driver d = {};
    d.name = "qt";
    d.caps = {/*printsPdf*/ true};
    FillPanelEntries(d);
    FillCtrlEntries(d);
    FillEventEntries(d);
    FillDialogEntries(d);
    FillMenuEntries(d);
    return d;
}

}  // namespace uiqt

static const uicore::Driver &QtDriver() {
    static const uicore::Driver driver = uiqt::MakeQtDriver();
    return driver;
}

const uicore::Bootstrap uicore::kPlatformDriver = {"qt", QtDriver};

// ------------------------------------------------------------ test seams
using namespace uiqt;

QWidget *UiPanelWidget(int panel) {
    Panel *p = FindPanel(panel);
    return p ? Q(*p).w : nullptr;
}

QWidget *UiCtrlWidget(int panel, int control) {
    Ctrl *c = FindCtrl(FindPanel(panel), control);
    return c ? Q(*c).w : nullptr;
}

QLabel *UiCtrlLabelWidget(int panel, int control) {
    Ctrl *c = FindCtrl(FindPanel(panel), control);
    return c ? Q(*c).label : nullptr;
}

int UiPanelOfWidget(QWidget *widget) {
    Panel *p = PanelOfWidget(widget);
    return p ? p->handle : 0;
}
