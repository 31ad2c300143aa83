// uiprivate.h: what the files of the run-time layer share among themselves.
// Application code never includes this (it knows only ui/userint.h); the
// tests reach the widgets through ui/qt/userint_qt.h.
//
// Data model. A panel is a record (Panel) keyed by its handle, which is
// never reused within a run, so a stale handle fails instead of reaching a
// newer panel. The record holds the panel's root widget and its controls in
// resource order (Ctrl records, each with the control's widget and, for
// controls whose label is drawn apart, that QLabel). Widgets belong to the
// root widget as Qt children; the root belongs to the record (top-level
// panels) or to the parent panel's root (child panels).
//
// Callbacks run from inside Qt's event delivery. They may discard panels,
// change callbacks or install new ones, so the layer never holds a Panel* or
// Ctrl* across a callback: it keeps handle and id and looks them up again.
#ifndef VLIC_UI_UIPRIVATE_H
#define VLIC_UI_UIPRIVATE_H

#include <memory>
#include <vector>

#include <QByteArray>
#include <QPoint>
#include <QString>

#include "ui/common/uidispatch.h"
#include "ui/userint.h"

class QWidget;
class QLabel;

namespace uirt {

// ------------------------------------------------------------ text (uitext.cpp)
QString FromAnsi(const char *s);
QString FromAnsi(const char *s, qsizetype n);
QByteArray ToAnsi(const QString &s);
bool SameText(const QString &s, const char *bytes);
int CopyOut(const QByteArray &bytes, char *out, int room);
bool HasMnemonic(const QByteArray &raw);
QString MnemonicToQt(const QByteArray &raw);

// Room of the callers' text buffers (header: "room for 1024 bytes").
constexpr int kTextRoom = 1024;

// ---------------------------------------------------------------- records
struct Ctrl {
    int id = 0;
    int style = 0;                  // a CTRL_ value matching the widget's class
    int mode = VAL_HOT;             // VAL_INDICATOR, VAL_HOT or VAL_NORMAL
    QWidget *w = nullptr;           // the control's widget, a direct child of the root
    QLabel *label = nullptr;        // its label drawn apart (labelOf), or null
    QByteArray labelRaw;            // ATTR_LABEL_TEXT as set or loaded (a text message's text)
    bool labelVisible = true;       // ATTR_LABEL_VISIBLE
    QByteArray textRaw;             // text value as last set (text box, string) ...
    bool textKnown = false;         // ... while the user has not edited it since
    int visibleLines = 0;           // ATTR_VISIBLE_LINES as last set, 0 never
    int zplane = 0;                 // 0 front-most
    int focusPolicy = 0;            // the widget's own focus policy, given back when leaving indicator mode
    bool dimmed = false;            // ATTR_DIMMED of the control itself (its panel may dim it too)
    CtrlCallbackPtr cb = nullptr;
    void *cbData = nullptr;
};

struct Panel {
    int handle = 0;
    int parent = 0;                 // 0 for a top-level panel
    QWidget *w = nullptr;           // root widget
    std::vector<std::unique_ptr<Ctrl>> ctrls;   // resource order
    PanelCallbackPtr cb = nullptr;
    void *cbData = nullptr;
    int closeCtrl = 0;              // control whose commit the close box gives, 0 none
    bool discarding = false;        // DiscardPanel is sending its events
    bool dimmed = false;            // ATTR_DIMMED of the panel: its controls are greyed, its child panels are not
    bool popup = false;             // shown by InstallPopup (modal)
    bool awaitingExpose = false;    // displayed, its window not exposed yet (then framed: see OnScreen)
    QByteArray titleRaw;
    int backColor = 0xF0F0F0;
    bool titleBar = true;
    bool canMinimize = true;
    bool canMaximize = true;
    bool sizable = true;
    QPoint asked;                   // top-left last asked for (SetPanelPos, centring), before keeping it on its screen
    bool canClose = true;           // its frame has a close box (the resource's canClose)
};

// ------------------------------------------------------ registry (uipanel.cpp)
bool Ready();                               // the run-time has started
Panel *FindPanel(int handle);               // null when unknown
Ctrl *FindCtrl(Panel *p, int id);           // null when p is null or has no such control
Panel *PanelOfWidget(QWidget *w);           // innermost panel whose root is w or holds it
Ctrl *CtrlOfWidget(Panel *p, QWidget *w);   // control whose widget is w or holds it
std::vector<int> PanelHandles();            // every live handle, ascending
// The window a popup about to show blocks, which owns it: the active window
// when it is not the popup, else the newest visible top-level panel; null
// when none is shown.
QWidget *PopupOwner(const QWidget *popup);

// ------------------------------------------------------- controls (uictrl.cpp)
// Readies a control's widget after loading or creation: plain text, the
// shortcut form of its label, mouse tracking, mode, signals.
void SetupCtrl(Panel &p, Ctrl &c);
void ApplyMode(Ctrl &c);
// Greys or ungreys a control's widget and label from its own and its
// panel's dimmed flags; nothing happens when they already show that state.
void ApplyDimmed(const Panel &p, Ctrl &c);

// --------------------------------------------------------- events (uievent.cpp)
void StartEvents();                          // after the QApplication exists
void ConnectCtrl(int panel, Ctrl &c);        // commits from the control's signals
void Commit(int panel, int ctrl);            // EVENT_COMMIT to the callback, then queued
// The backend's records as the shared event order needs them.
const uicommon::BackendRecords &Records();
int CallCtrlCallback(int panel, int ctrl, int event, int d1, int d2);
int CallPanelCallback(int panel, int event, int d1, int d2);
bool InDispatch();                           // inside a call from Qt into the layer
void SuspendCursor(bool suspend);            // our override cursor off while a dialog runs

// Counts calls from Qt's event delivery into the layer (callbacks may then
// discard the widget that is being delivered to: it is deleted later).
struct DispatchGuard {
    DispatchGuard();
    ~DispatchGuard();
    DispatchGuard(const DispatchGuard &) = delete;
    DispatchGuard &operator=(const DispatchGuard &) = delete;
};

// Marks changes the layer makes itself: signals they raise are no user input.
struct ProgrammaticGuard {
    ProgrammaticGuard();
    ~ProgrammaticGuard();
    ProgrammaticGuard(const ProgrammaticGuard &) = delete;
    ProgrammaticGuard &operator=(const ProgrammaticGuard &) = delete;
};
bool Programmatic();

}  // namespace uirt

#endif
