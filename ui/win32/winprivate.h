// winprivate.h: what the files of the Win32 backend share among themselves.
//
// Data model. The core's records (ui/core/uicore.h) carry, as their native
// part, the panel's window, which carries the handle in GWLP_USERDATA, and
// each control's window, whose window id is the control id, and for a
// control whose label is drawn apart, that static window (WinPanel,
// WinCtrl).
#ifndef VLIC_UI_WIN32_WINPRIVATE_H
#define VLIC_UI_WIN32_WINPRIVATE_H

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/core/uicore.h"
#include "ui/core/uires.h"
#include "ui/userint.h"
#include "ui/win32/winsys.h"

namespace uiwin {

// The core's records (ui/core/uicore.h); what the Win32 backend keeps
// beside them.
using uicore::Ctrl;
using uicore::Panel;

struct WinCtrl : uicore::Native {
    HWND hwnd = nullptr;
    HWND label = nullptr;          // label drawn apart (labelOf), or null
    bool labelCentred = false;     // a wrapped label apart, centred on its height
    bool bold = false;
    int pointSize = 0;             // 0: the panel font's size
    int fillColor = -1;            // a decoration's own background (RRGGBB), -1 none
    bool dropped = false;          // a ring's list is open
    int chosen = -1;               // the item a ring's list was closed on, until the next change
    int padTop = 0;                // a ring: px from its set top down to its closed window, which is
    int padBottom = 0;             // only as tall as its font makes it, centred on the height set
    int shown = -1;                // a ring: the item its list selects as last set, -2 unknown
};

struct WinPanel : uicore::Native {
    HWND hwnd = nullptr;
    HBRUSH brush = nullptr;
    ~WinPanel() override {
        if (brush) DeleteObject(brush);
    }
};

inline WinCtrl &N(const Ctrl &c) { return uicore::NativeOf<WinCtrl>(c); }
inline WinPanel &N(const Panel &p) { return uicore::NativeOf<WinPanel>(p); }

// ------------------------------------------------------ panels (winpanel.cpp)
// Fills the driver's entries (ui/core/uicore.h, Driver) for start-up,
// panels and drawing.
void FillPanelEntries(uicore::Driver &d);
using uicore::FindCtrl;
using uicore::FindPanel;
using uicore::NextPanel;
using uicore::PanelHandles;
using uicore::Ready;
// The screen's dots per inch (96 at 100 %, 192 at 200 %), read once at
// start-up. The program declares itself DPI aware, so Windows scales
// nothing: every coordinate and size the layer takes or gives is in
// pixels of a 96-DPI screen, as the panels are drawn, and the backend turns
// them into the screen's pixels (Px) and back (Lg); fonts are made for the
// screen's DPI, so text stays sharp.
int Dpi();
inline int Px(int logical) { return MulDiv(logical, Dpi(), 96); }
inline int Lg(int pixels) { return MulDiv(pixels, 96, Dpi()); }
inline RECT LgRect(const RECT &r) { return RECT{Lg(r.left), Lg(r.top), Lg(r.right), Lg(r.bottom)}; }
Panel *PanelOfWindow(HWND hwnd);            // the panel whose window is hwnd or holds it
// Rectangle of a window (a control's or its label's) in its panel's client
// coordinates.
RECT RectInPanel(const Panel &p, HWND w);
inline RECT CtrlRect(const Panel &p, const Ctrl &c) {
    RECT r = RectInPanel(p, N(c).hwnd);
    r.top -= N(c).padTop;
    r.bottom += N(c).padBottom;
    return r;
}

// ---------------------------------------------------- controls (winctrl.cpp)
// Makes the control's window on the panel as its look says (96-DPI
// units); false when Windows refuses it.
bool CreateCtrlWindow(Panel &p, Ctrl &c, const uicore::UirCtrlLook &look);
HFONT FontOf(const Ctrl &c);
// A wrapped label centred on its height: one line of text is drawn in the
// middle (a static control centres only single lines), longer text wraps
// from the top.
void FitLabel(Ctrl &c);
void ApplyDimmed(const Panel &p, Ctrl &c);
void ApplyZOrder(Panel &p);
// Makes the label drawn apart of control c as its look says (96-DPI units).
void MakeLabelWindow(Panel &p, Ctrl &c, const uicore::UirCtrlLook &look);
// Fills the driver's entries for controls, values and lists.
void FillCtrlEntries(uicore::Driver &d);

// ---------------------------------------------------- pictures (winpicture.cpp)
// Gives a picture button or picture control made from resource record r
// the picture r names (from file's pictures), drawn from then on over what
// its window draws; nothing for other controls or a picture the file lacks.
void AttachPicture(Ctrl &c, const uicore::UirFile &file, const uicore::UirRecord &r);
// Which of the picture key and its "@2x" sibling a screen of that DPI
// shows: the @2x one above 96 DPI, the other at 96; whichever images has
// when it lacks that one; "" when it has neither.
std::string ChoosePictureKey(const uicore::UirImageMap &images, const std::string &key, int dpi);

// ------------------------------------------------------ events (winevent.cpp)
// Fills the driver's entries for the pump, the pointer, the cursor, popups,
// the message box and printing.
void FillEventEntries(uicore::Driver &d);
// ------------------------------------------------------- menus (winmenu.cpp)
// Fills the driver's entries for the menu and the clipboard.
void FillMenuEntries(uicore::Driver &d);
using uicore::DispatchGuard;
using uicore::InDispatch;
// The cursor WM_SETCURSOR should show, or null for the window's own.
HCURSOR CursorOverride();
// The mouse messages of a panel's or control's window: true when it was
// WM_SETCURSOR and our cursor is shown, or WM_MOUSEMOVE / WM_LBUTTONUP
// (passed on to the callbacks); false for any other message.
bool MouseMessage(HWND hwnd, UINT msg, LPARAM lParam);
// ------------------------------------------------------- menus (winmenu.cpp)
// A right button press on a control's window: EVENT_RIGHT_CLICK to its
// callback; true when the callback took the press.
bool RightClick(HWND hwnd, LPARAM lParam);

// A popup shown: every other enabled top-level panel is disabled, until
// EndModal of the last popup shown enables them again.
void BeginModal(int popup);
void EndModal(int popup);

// Private message: destroy this window (a panel discarded from inside its
// own message handling is destroyed once that has returned).
constexpr UINT kMsgDestroyLater = WM_APP + 1;

}  // namespace uiwin

#endif
