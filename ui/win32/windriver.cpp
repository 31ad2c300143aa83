// windriver.cpp: the Win32 driver of the run-time layer, as the core sees
// it: its table of entries (ui/core/uicore.h, Driver) and what it can do.
// Each file fills the entries that live with the windows it works on
// (winpanel.cpp, winctrl.cpp, winevent.cpp, winmenu.cpp).
//
// Implemented features:
// - Every entry of the table but text into a PDF: panels as windows of its
//   own class, controls as Windows' standard controls (BUTTON, COMBOBOX,
//   STATIC, EDIT; a picture button owner-drawn in the visual style; a
//   text message in hot mode the link control, SysLink) made from the
//   core's records; the resource files the program carries are Win32
//   resources of type "UIRFILETYPE".
// - Input: the pump hands the keys whose meaning is the core's to it
//   before the dialog manager, and the windows' messages (commands,
//   focus, mouse, close, activation, the keyboard's context menu, the end
//   of the session) become the core's input calls.
// - Keyboard cues through the UI-state messages (WM_CHANGEUISTATE).
// - Names for screen readers: a picture button's window text, any other
//   control's by dynamic annotation (winctrl.cpp).
// - Screens: per-monitor DPI aware; every panel laid out at its screen's
//   DPI, fonts and pictures made for it.
//
// Where it differs on purpose:
// - Caps::printsPdf is false: Windows has no PDF writer of its own to call.
// - A panel that may not be closed shows a greyed close box (Windows has no
//   frame without one; Qt shows none).
// - Its logical pixels are those of a 96-DPI screen, scaled by the driver.
// - The pointer leaving a panel wakes nothing (TrackMouseEvent would cost,
//   under Wine, a timer message every 400 ms at rest; only a picture
//   button under the pointer asks for it, for its hot face): the loops
//   learn of it at the next input or within the poll's bound.
//
// Exports (ui/core/uicore.h): kPlatformDriver, the platform's driver on
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
    d.caps = {/*printsPdf*/ false};
    FillPanelEntries(d);
    FillCtrlEntries(d);
    FillEventEntries(d);
    FillMenuEntries(d);
    return d;
}

}  // namespace uiwin

static const uicore::Driver &Win32Driver() {
    static const uicore::Driver driver = uiwin::MakeWinDriver();
    return driver;
}

const uicore::Bootstrap uicore::kPlatformDriver = {"win32", Win32Driver};

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
