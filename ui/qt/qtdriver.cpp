// qtdriver.cpp: the Qt Widgets driver of the run-time layer, as the core
// sees it: its table of entries (ui/core/uicore.h, Driver). Each entry
// lives with the widgets it works on (uipanel.cpp, uictrl.cpp, uievent.cpp,
// uipopup.cpp).
//
// Exports (ui/core/uicore.h): DefaultDriver, the platform's driver on Linux.
//
// State: none.
#include "ui/qt/uiprivate.h"

namespace uirt {

static const uicore::Driver kQtDriver = {
    "qt",
    {/*printsPdf*/ true, /*pointerLeaveWakes*/ true, /*greyedCloseBox*/ false, /*scales96Dpi*/ false,
     /*framesLate*/ true},
    Start, ProgramFolder, SetCurrentFolder,
    LoadPanel, NewPanel, DestroyPanel, PanelRect, SetPanelRect, FrameMargins, WorkArea, ShowPanel, SetPopup,
    SetModal, ActivePanel, ScreenSize, SetTitle, SetBackColor, SetFrame,
    NewCtrl, CtrlRect, LabelRect, PlaceCtrl, PlaceLabel, ShowCtrl, EnableCtrl, SetMode, SetTextColor,
    SetUnderline, SetLabel, Restack, TextBoxMetrics,
    EditText, SetEditText, NumericValue, SetNumericValue, RingInsert, RingReplace, RingDelete, RingSelect,
    Pump, DrawNow, PointerInPanel, MouseButtons, ShowCursor,
    MessageBox, PopupMenu, ClipboardPut, PrintPanel,
};

}  // namespace uirt

const uicore::Driver &uicore::DefaultDriver() { return uirt::kQtDriver; }
