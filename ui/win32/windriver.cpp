// windriver.cpp: the Win32 driver of the run-time layer, as the core sees
// it: its table of entries (ui/core/uicore.h, Driver). Each entry lives
// with the windows it works on (winpanel.cpp, winctrl.cpp, winevent.cpp).
//
// Exports (ui/core/uicore.h): DefaultDriver, the platform's driver on Windows.
//
// State: none.
#include "ui/win32/winprivate.h"

namespace uiwin {

static const uicore::Driver kWinDriver = {
    "win32",
    {/*printsPdf*/ false, /*pointerLeaveWakes*/ false, /*greyedCloseBox*/ true, /*scales96Dpi*/ true,
     /*framesLate*/ false},
    Start, ProgramFolderAnsi, SetCurrentFolder,
    LoadPanel, NewPanel, DestroyPanel, PanelRect, SetPanelRect, FrameMargins, WorkArea, ShowPanel, SetPopup,
    SetModal, ActivePanel, ScreenSize, SetTitle, SetBackColor, SetFrame,
    NewCtrl, CtrlRectOf, LabelRectOf, PlaceCtrl, PlaceLabel, ShowCtrl, EnableCtrl, SetMode, SetTextColor,
    SetUnderline, SetLabel, Restack, TextBoxMetrics,
    EditWindowText, SetEditWindowText, NumericValue, SetNumericValue, RingInsert, RingReplace, RingDelete,
    RingSelect,
    PumpFor, DrawNow, PointerInPanel, MouseButtons, ShowCursorNow,
    MessageBox, PopupMenu, ClipboardPut, PrintPanel,
};

}  // namespace uiwin

const uicore::Driver &uicore::DefaultDriver() { return uiwin::kWinDriver; }
