// userint_win32.h: the windows behind the Win32 driver's handles, for tests
// and test helpers only (they send real window messages to them). The
// application never includes this: it speaks to the layer through
// ui/userint.h alone.
#ifndef VLIC_UI_WIN32_USERINT_WIN32_H
#define VLIC_UI_WIN32_USERINT_WIN32_H

#include <windows.h>

// The panel's window, or null.
HWND UiPanelWindow(int panel);
// The control's window, or null.
HWND UiCtrlWindow(int panel, int control);
// The control's label drawn apart from it, or null when it has none.
HWND UiCtrlLabelWindow(int panel, int control);
// Runs the pending window messages as GetUserEvent does (the poll's dialog
// keys included), without taking a commit; the number it ran.
int UiRunPendingMessages(void);

// Screens, in pixels, at their own DPI, in place of Windows' own (Wine has
// one DPI for every monitor): the first is the primary one; n 0 gives
// Windows' own back. A window's DPI is then that of the screen holding its
// centre, until Windows sends WM_DPICHANGED.
struct UiWinScreen {
    int left, top, width, height;
    int workLeft, workTop, workWidth, workHeight;
    int dpi;
};
void UiWinSetScreens(const UiWinScreen *screens, int n);
// High contrast on (1) or off (0) in place of Windows' own setting (-1),
// which Wine cannot switch on; the panels are drawn again.
void UiWinSetHighContrast(int on);
// The GDI objects (fonts, brushes, bitmaps) the driver holds now
// (GetGuiResources counts nothing under Wine).
int UiWinGdiObjects(void);

#endif
