// qtdriver.cpp: the Qt Widgets driver of the run-time layer, as the core
// sees it: its table of entries (ui/core/uicore.h, Driver) and what it can
// do. Each file fills the entries that live with the widgets it works on
// (qtpanel.cpp, qtctrl.cpp, qtevent.cpp, qtpopup.cpp, qtmenu.cpp).
//
// Exports (ui/core/uicore.h): DefaultDriver, the platform's driver on Linux;
// (ui/qt/userint_qt.h): the widgets behind the handles, for tests.
//
// State: none.
#include "ui/qt/qtprivate.h"
#include "ui/qt/userint_qt.h"

namespace uiqt {

static uicore::Driver MakeQtDriver() {
    uicore::Driver d = {};
    d.name = "qt";
    d.caps = {/*printsPdf*/ true, /*pointerLeaveWakes*/ true, /*greyedCloseBox*/ false, /*scales96Dpi*/ false,
              /*framesLate*/ true};
    FillPanelEntries(d);
    FillCtrlEntries(d);
    FillEventEntries(d);
    FillDialogEntries(d);
    FillMenuEntries(d);
    return d;
}

}  // namespace uiqt

const uicore::Driver &uicore::DefaultDriver() {
    static const Driver driver = uiqt::MakeQtDriver();
    return driver;
}

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
