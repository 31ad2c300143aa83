// corecursor.cpp: the mouse and wait cursors the program asks for, shared by
// the drivers of the run-time layer.
//
// Exports (ui/userint.h): GetMouseCursor, SetMouseCursor, SetWaitCursor,
// GetWaitCursorState; (ui/core/corecursor.h): MouseCursorStyle, WaitCursorOn,
// CursorSuspended, SuspendCursor.
//
// State: g_style, SetMouseCursor's style; g_wait, SetWaitCursor's state;
// g_suspended, a dialog of the layer runs.
// Touched only from the user-interface thread.
#include "ui/core/corecursor.h"

#include "ui/core/uicore.h"
#include "ui/userint.h"

namespace uicore {

static int g_style = VAL_DEFAULT_CURSOR;
static bool g_wait = false;
static bool g_suspended = false;

int MouseCursorStyle() { return g_style; }
bool WaitCursorOn() { return g_wait; }
bool CursorSuspended() { return g_suspended; }

void SuspendCursor(bool suspend) {
    g_suspended = suspend;
    Drv().showCursor();
}

}  // namespace uicore

// 0 with the style SetMouseCursor last set; UIE_BAD_POINTER.
int GetMouseCursor(int *style) {
    if (!style) return UIE_BAD_POINTER;
    *style = uicore::g_style;
    return 0;
}

// 0; UIE_NOT_INITIALIZED, UIE_BAD_VALUE (a style other than -1 and 14).
// The same style again changes nothing (the loops set it at every pass);
// the wait cursor, while on, shows over it.
int SetMouseCursor(int style) {
    if (!uicore::Ready()) return UIE_NOT_INITIALIZED;
    if (style != VAL_DEFAULT_CURSOR && style != VAL_POINTING_FINGER_CURSOR) return UIE_BAD_VALUE;
    if (uicore::g_style == style) return 0;
    uicore::g_style = style;
    uicore::Drv().showCursor();
    return 0;
}

// 0; UIE_NOT_INITIALIZED.
int SetWaitCursor(int on) {
    if (!uicore::Ready()) return UIE_NOT_INITIALIZED;
    if (uicore::g_wait == (on != 0)) return 0;
    uicore::g_wait = on != 0;
    uicore::Drv().showCursor();
    return 0;
}

int GetWaitCursorState(void) { return uicore::g_wait ? 1 : 0; }
