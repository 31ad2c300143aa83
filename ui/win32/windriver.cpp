// windriver.cpp: the Win32 driver of the run-time layer, as the core sees
// it: its table of entries (ui/core/uicore.h, Driver) and what it can do.
// Each file fills the entries that live with the windows it works on
// (winpanel.cpp, winctrl.cpp, winevent.cpp, winmenu.cpp).
//
// Exports (ui/core/uicore.h): DefaultDriver, the platform's driver on
// Windows; (ui/win32/userint_win32.h): the windows behind the handles, for
// tests.
//
// State: none.
#include "ui/win32/userint_win32.h"
#include "ui/win32/winprivate.h"

namespace uiwin {

static uicore::Driver MakeWinDriver() {
    uicore::Driver d = {};
    d.name = "win32";
    d.caps = {/*printsPdf*/ false, /*pointerLeaveWakes*/ false, /*greyedCloseBox*/ true, /*scales96Dpi*/ true,
              /*framesLate*/ false};
    FillPanelEntries(d);
    FillCtrlEntries(d);
    FillEventEntries(d);
    FillMenuEntries(d);
    return d;
}

}  // namespace uiwin

const uicore::Driver &uicore::DefaultDriver() {
    static const Driver driver = uiwin::MakeWinDriver();
    return driver;
}

using namespace uiwin;

// ------------------------------------------------------------ test seams
HWND UiPanelWindow(int panel) {
    Panel *p = FindPanel(panel);
    return p ? N(*p).hwnd : nullptr;
}

HWND UiCtrlWindow(int panel, int control) {
    Ctrl *c = FindCtrl(FindPanel(panel), control);
    return c ? N(*c).hwnd : nullptr;
}

HWND UiCtrlLabelWindow(int panel, int control) {
    Ctrl *c = FindCtrl(FindPanel(panel), control);
    return c ? N(*c).label : nullptr;
}
