// corecursor.h: the cursor the program asks for, kept once for every driver
// (GetMouseCursor, SetMouseCursor, SetWaitCursor, GetWaitCursorState of
// ui/userint.h are defined with it); the driver shows it
// (ui/core/uicore.h, Driver::showCursor).
#ifndef VLIC_UI_CORE_CORECURSOR_H
#define VLIC_UI_CORE_CORECURSOR_H

namespace uicore {

// SetMouseCursor's style as last set: VAL_DEFAULT_CURSOR or VAL_POINTING_FINGER_CURSOR.
int MouseCursorStyle();
// SetWaitCursor's state: the wait cursor shows over every other while on.
bool WaitCursorOn();
// A dialog of the layer runs (a message, a menu): the layer's own cursors
// are off meanwhile, so that the dialog shows its own.
bool CursorSuspended();
void SuspendCursor(bool suspend);

}  // namespace uicore

#endif
