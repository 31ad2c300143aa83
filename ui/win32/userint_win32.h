// userint_win32.h: the windows behind the Win32 backend's handles, for tests
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

#endif
