// winprivate.h: what the files of the Win32 backend share among themselves.
//
// Data model. A panel is a record (Panel) keyed by its handle, never reused
// within a run; its window carries the handle in GWLP_USERDATA. The record
// holds the controls in resource order (Ctrl records: the control's window,
// whose window id is the control id, and for a control whose label is drawn
// apart, that static window). Callbacks may discard panels, so the backend
// never keeps a Panel* or Ctrl* across a callback: it keeps handle and id
// and looks them up again.
#ifndef VLIC_UI_WIN32_WINPRIVATE_H
#define VLIC_UI_WIN32_WINPRIVATE_H

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/common/uidispatch.h"
#include "ui/common/uires.h"
#include "ui/userint.h"

namespace uiwin {

struct Ctrl {
    int id = 0;
    int style = 0;                 // a CTRL_ value
    int mode = VAL_HOT;
    HWND hwnd = nullptr;
    HWND label = nullptr;          // label drawn apart (labelOf), or null
    std::string labelRaw;          // ATTR_LABEL_TEXT (a text message's text)
    bool labelVisible = true;
    bool labelCentred = false;     // a wrapped label apart, centred on its height
    bool visible = true;
    bool dimmed = false;
    int zplane = 0;                // 0 front-most
    int textColor = 0x000000;
    bool bold = false;
    bool underline = false;
    int pointSize = 0;             // 0: the panel font's size
    int visibleLines = 0;
    int minimum = 0, maximum = 99; // a numeric's range (Qt's spin box's by default)
    int fillColor = -1;            // a decoration's own background (RRGGBB), -1 none
    bool dropped = false;          // a ring's list is open
    int chosen = -1;               // the item a ring's list was closed on, until the next change
    int padTop = 0;                // a ring: px from its set top down to its closed window, which is
    int padBottom = 0;             // only as tall as its font makes it, centred on the height set
    std::vector<int> items;        // a ring's item values in list order, kept by the list
                                   // functions beside the window's labels: a sorted fill reads
                                   // them n² times, and a window message costs µs under Wine
    CtrlCallbackPtr cb = nullptr;
    void *cbData = nullptr;
};

struct Panel {
    int handle = 0;
    int parent = 0;
    HWND hwnd = nullptr;
    std::vector<std::unique_ptr<Ctrl>> ctrls;
    PanelCallbackPtr cb = nullptr;
    void *cbData = nullptr;
    int closeCtrl = 0;
    bool discarding = false;
    bool dimmed = false;
    bool popup = false;
    std::string titleRaw;
    int backColor = 0xF0F0F0;
    HBRUSH brush = nullptr;
    bool titleBar = true;
    bool canClose = true;          // false: the close box is greyed and does nothing, as Qt shows none
    bool canMinimize = true;
    bool canMaximize = true;
    bool sizable = true;
    SIZE asked = {0, 0};           // client size last asked for, before Windows fitted the frame to the screen
};

// ------------------------------------------------------ panels (winpanel.cpp)
bool Ready();
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
Panel *FindPanel(int handle);
Ctrl *FindCtrl(Panel *p, int id);
Panel *PanelOfWindow(HWND hwnd);            // the panel whose window is hwnd or holds it
std::vector<int> PanelHandles();
// Rectangle of a window (a control's or its label's) in its panel's client
// coordinates.
RECT RectInPanel(const Panel &p, HWND w);
inline RECT CtrlRect(const Panel &p, const Ctrl &c) {
    RECT r = RectInPanel(p, c.hwnd);
    r.top -= c.padTop;
    r.bottom += c.padBottom;
    return r;
}

// ---------------------------------------------------- controls (winctrl.cpp)
// Makes the control's window (and its label's) on the panel at r (96-DPI
// units); false when the style is none the backend knows. A text box gets its sunken edge
// unless frameless, its vertical scroll bar unless noScrollBar.
bool CreateCtrlWindow(Panel &p, Ctrl &c, const RECT &r, const std::string &text,
                      const std::string &align, bool wordWrap, bool readOnly, bool frameless = false,
                      bool noScrollBar = false);
HFONT FontOf(const Ctrl &c);
// A wrapped label centred on its height: one line of text is drawn in the
// middle (a static control centres only single lines), longer text wraps
// from the top.
void FitLabel(Ctrl &c);
void ApplyDimmed(const Panel &p, Ctrl &c);
void ApplyZOrder(Panel &p);

// ---------------------------------------------------- pictures (winpicture.cpp)
// Gives a picture button or picture control made from resource record r
// the picture r names (from file's pictures), drawn from then on over what
// its window draws; nothing for other controls or a picture the file lacks.
void AttachPicture(Ctrl &c, const uicommon::UirFile &file, const uicommon::UirRecord &r);
// Which of the picture key and its "@2x" sibling a screen of that DPI
// shows: the @2x one above 96 DPI, the other at 96; whichever images has
// when it lacks that one; "" when it has neither.
std::string ChoosePictureKey(const uicommon::UirImageMap &images, const std::string &key, int dpi);

// ------------------------------------------------------ events (winevent.cpp)
int CallCtrlCallback(int panel, int ctrl, int event, int d1, int d2);
int CallPanelCallback(int panel, int event, int d1, int d2);
void Commit(int panel, int ctrl);
// The backend's records as the shared event order needs them.
const uicommon::BackendRecords &Records();
bool InDispatch();
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

struct DispatchGuard {
    DispatchGuard();
    ~DispatchGuard();
    DispatchGuard(const DispatchGuard &) = delete;
    DispatchGuard &operator=(const DispatchGuard &) = delete;
};

// Private message: destroy this window (a panel discarded from inside its
// own message handling is destroyed once that has returned).
constexpr UINT kMsgDestroyLater = WM_APP + 1;

}  // namespace uiwin

#endif
