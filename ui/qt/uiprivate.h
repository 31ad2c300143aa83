// uiprivate.h: what the files of the Qt backend share among themselves.
// Application code never includes this (it knows only ui/userint.h); the
// tests reach the widgets through ui/qt/userint_qt.h.
//
// Data model. The core's records (ui/core/uicore.h) carry, as their native
// part, the panel's root widget and each control's widget and, for
// controls whose label is drawn apart, that QLabel (QtPanel, QtCtrl).
// Widgets belong to the root widget as Qt children; the root belongs to the
// record (top-level panels) or to the parent panel's root (child panels).
#ifndef VLIC_UI_UIPRIVATE_H
#define VLIC_UI_UIPRIVATE_H

#include <memory>
#include <string>
#include <vector>

#include <QByteArray>
#include <QPoint>
#include <QString>

#include "ui/core/uicore.h"
#include "ui/userint.h"

class QWidget;
class QLabel;

namespace uirt {

// ------------------------------------------------------------ text (uitext.cpp)
QString FromAnsi(const char *s);
QString FromAnsi(const char *s, qsizetype n);
QString FromAnsi(const std::string &s);
std::string ToAnsi(const QString &s);
bool SameText(const QString &s, const char *bytes);
int CopyOut(const std::string &bytes, char *out, int room);
QString MnemonicToQt(const std::string &raw);

// Room of the callers' text buffers (header: "room for 1024 bytes").
constexpr int kTextRoom = 1024;

// ---------------------------------------------------------------- records
// The core's records (ui/core/uicore.h); what the Qt backend keeps beside
// them.
using uicore::Ctrl;
using uicore::Panel;

struct QtCtrl : uicore::Native {
    QWidget *w = nullptr;           // the control's widget, a direct child of the root
    QLabel *label = nullptr;        // its label drawn apart (labelOf), or null
    int focusPolicy = 0;            // the widget's own focus policy, given back when leaving indicator mode
};

struct QtPanel : uicore::Native {
    QWidget *w = nullptr;           // root widget
    bool awaitingExpose = false;    // displayed, its window not exposed yet (then framed: see OnScreen)
};

inline QtCtrl &Q(const Ctrl &c) { return uicore::NativeOf<QtCtrl>(c); }
inline QtPanel &Q(const Panel &p) { return uicore::NativeOf<QtPanel>(p); }

// ------------------------------------------------------ registry (uipanel.cpp)
using uicore::FindCtrl;
using uicore::FindPanel;
using uicore::NextPanel;
using uicore::PanelHandles;
using uicore::Ready;
Panel *PanelOfWidget(QWidget *w);           // innermost panel whose root is w or holds it
Ctrl *CtrlOfWidget(Panel *p, QWidget *w);   // control whose widget is w or holds it
// Fills the driver's entries (ui/core/uicore.h, Driver) for start-up,
// panels and drawing.
void FillPanelEntries(uicore::Driver &d);

// ------------------------------------------------------- controls (uictrl.cpp)
// Readies a control's widget after loading (loaded: the record takes what
// the resource gave) or creation: plain text, the shortcut form of its
// label, mouse tracking, mode.
void SetupCtrl(Panel &p, Ctrl &c, bool loaded);
// Fills the driver's entries for controls, values and lists.
void FillCtrlEntries(uicore::Driver &d);

// --------------------------------------------------------- events (uievent.cpp)
void StartEvents();                          // after the QApplication exists
void ConnectCtrl(int panel, Ctrl &c);        // commits from the control's signals
using uicore::DispatchGuard;
using uicore::InDispatch;
// Fills the driver's entries for the pump, the pointer and the cursor.
void FillEventEntries(uicore::Driver &d);
// ------------------------------------------- dialogs (uipopup.cpp, uimenu.cpp)
// Fill the driver's entries for the message box and printing / the menu
// and the clipboard.
void FillDialogEntries(uicore::Driver &d);
void FillMenuEntries(uicore::Driver &d);

}  // namespace uirt

#endif
