// winprivate.h: what the files of the Win32 driver share among themselves.
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
#include "ui/core/coreres.h"
#include "ui/userint.h"
#include "ui/win32/winsys.h"

namespace uiwin {

// The core's records (ui/core/uicore.h); what the Win32 driver keeps
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
    int dpi = 96;                  // the DPI it is laid out at: its panel's
    bool link = false;             // a text message's window is a link control (SysLink)
    bool noLinkClass = false;      // the common controls have none: a static stands for it
    uicore::CtrlLook look;         // a text message's look, to make its window again
};

void NoteGdi(int delta);   // counts the GDI objects the driver holds (made +1, deleted -1)

struct WinPanel : uicore::Native {
    HWND hwnd = nullptr;
    HBRUSH brush = nullptr;
    int dpi = 96;                  // the DPI its inside is laid out at (DpiOf)
    ~WinPanel() override {
        if (brush && DeleteObject(brush)) NoteGdi(-1);
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
// Dots per inch (96 at 100 %, 144 at 150 %, 192 at 200 %). The program
// declares itself per-monitor DPI aware, so Windows scales nothing: every
// coordinate and size the layer takes or gives is in pixels of a 96-DPI
// screen, as the panels are drawn, and the driver turns them into the
// screen's pixels (Px) and back (Lg) at the DPI each panel is laid out at:
// that of the screen it is on (or less, where it would not fit there:
// Panel::fitDpi), followed when it moves to another screen
// (WM_DPICHANGED). A control is laid out at its panel's DPI; fonts and
// pictures are made for it, so text and pictures stay sharp.
// A top-level panel's place is in the screen's logical pixels: from the
// top-left corner of the screen it lies on, at that screen's DPI.
int SystemDpi();                                   // the primary screen's, read at start-up
inline int Px(const Panel &p, int logical) { return MulDiv(logical, N(p).dpi, 96); }
inline int Lg(const Panel &p, int pixels) { return MulDiv(pixels, 96, N(p).dpi); }
inline int Px(const Ctrl &c, int logical) { return MulDiv(logical, N(c).dpi, 96); }
inline int Lg(const Ctrl &c, int pixels) { return MulDiv(pixels, 96, N(c).dpi); }
// Lays the panel's inside (controls, fonts, pictures, child panels) out at
// that DPI; its own window's size is the caller's.
void ApplyDpi(Panel &p, int dpi);
// True while Windows' high-contrast mode is on (or the tests' seam says
// so): panels, texts, the help box and the link take the system's colours.
bool HighContrast();
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
bool CreateCtrlWindow(Panel &p, Ctrl &c, const uicore::CtrlLook &look);
// The control's font at its DPI, from the fonts made so far (by style and
// DPI). ReleaseUnusedFonts deletes those of a DPI no panel is laid out at
// any more.
HFONT FontOf(const Ctrl &c);
void ReleaseUnusedFonts();
// Lays the control out at the DPI dpi (its rectangles kept in 96-DPI units).
void RelayoutCtrl(Panel &p, Ctrl &c, int dpi);
// The colour of a control's text as drawn now (high contrast: the
// system's; a text box: box).
COLORREF TextColourOf(const Ctrl &c, bool box);
// A wrapped label centred on its height: one line of text is drawn in the
// middle (a static control centres only single lines), longer text wraps
// from the top.
void FitLabel(Ctrl &c);
void ApplyDimmed(const Panel &p, Ctrl &c);
void ApplyZOrder(Panel &p);
// Makes the label drawn apart of control c as its look says (96-DPI units).
void MakeLabelWindow(Panel &p, Ctrl &c, const uicore::CtrlLook &look);
// Fills the driver's entries for controls, values and lists.
void FillCtrlEntries(uicore::Driver &d);

// ---------------------------------------------------- pictures (winpicture.cpp)
// Gives a picture button or picture control its picture, drawn from then
// on over what its window draws.
void AttachPicture(Ctrl &c, const uicore::Picture &picture);
// The control's picture follows its new DPI (Ctrl's dpi).
void PictureDpiChanged(const Ctrl &c);
// What the control's window drew last: the picture's key and the bitmap's
// size in pixels; false when it shows no picture or has not drawn it yet.
// Draws an owner-drawn picture button's face; false when the item is none.
bool DrawPictureButton(const DRAWITEMSTRUCT &d);
bool PictureDrawn(HWND hwnd, std::string *key, SIZE *size);

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
// A control's own handling of a left release (WM_LBUTTONUP), during which
// ReleasingOver(hwnd) is true: what the control reports meanwhile (a
// link's NM_CLICK) comes from the mouse.
LRESULT ReleaseOwnHandling(HWND hwnd, WPARAM wParam, LPARAM lParam);
bool ReleasingOver(HWND hwnd);
// ------------------------------------------------------- menus (winmenu.cpp)
// A right button press on a control's window: EVENT_RIGHT_CLICK to its
// callback; true when the callback took the press.
bool RightClick(HWND hwnd, LPARAM lParam);
bool ContextMenu(HWND hwnd, LPARAM lParam);

// The pointer's place and the active panel, which the driver asks Windows
// once between two messages to our windows (winevent.cpp), are asked
// again: a message came.
void ForgetSystemAnswers();
int WinActivePanel();   // the panel holding the focus, else the active window's; 0 none

// A popup shown: every other enabled top-level panel is disabled, until
// EndModal of the last popup shown enables them again.
void BeginModal(int popup);
void EndModal(int popup);

// Private message to a panel's window: destroy the window lParam names, or
// the panel's own when 0 (a window goes from inside its own message
// handling only once that has returned).
constexpr UINT kMsgDestroyLater = WM_APP + 1;

}  // namespace uiwin

#endif
