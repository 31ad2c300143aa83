// qtprivate.h: what the files of the Qt driver share among themselves.
// Application code never includes this (it knows only ui/userint.h); the
// tests reach the widgets through ui/qt/userint_qt.h.
//
// Data model. The core's records (ui/core/uicore.h) carry, as their native
// part, the panel's root widget and each control's widget and, for
// controls whose label is drawn apart, that QLabel (QtPanel, QtCtrl).
// Widgets belong to the root widget as Qt children; the root belongs to the
// record (top-level panels) or to the parent panel's root (child panels).
#ifndef VLIC_UI_QT_QTPRIVATE_H
#define VLIC_UI_QT_QTPRIVATE_H

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

namespace uiqt {

// ------------------------------------------------------------ text (qttext.cpp)
QString FromAnsi(const char *s);
QString FromAnsi(const char *s, qsizetype n);
QString FromAnsi(const std::string &s);
std::string ToAnsi(const QString &s);
bool SameText(const QString &s, const char *bytes);
QString MnemonicToQt(const std::string &raw);

// ---------------------------------------------------------------- records
// The core's records (ui/core/uicore.h); what the Qt driver keeps beside
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

// ------------------------------------------------------ registry (qtpanel.cpp)
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

// ------------------------------------------------------- controls (qtctrl.cpp)
// Fills the driver's entries for controls, values and lists.
void FillCtrlEntries(uicore::Driver &d);

// --------------------------------------------------------- events (qtevent.cpp)
void StartEvents();                          // after the QApplication exists
void ConnectCtrl(int panel, Ctrl &c);        // commits from the control's signals
void QtShowCues(Panel &p);                   // the driver's showCues entry
void QtLinkRoleChanged(QWidget *w);          // a text message became a link, or no more
using uicore::DispatchGuard;
using uicore::InDispatch;
// Fills the driver's entries for the pump, the pointer and the cursor.
void FillEventEntries(uicore::Driver &d);
// ------------------------------------------- dialogs (qtpopup.cpp, qtmenu.cpp)
// Fill the driver's entries for the message box and printing / the menu
// and the clipboard.
void FillDialogEntries(uicore::Driver &d);
void FillMenuEntries(uicore::Driver &d);

}  // namespace uiqt

#endif
