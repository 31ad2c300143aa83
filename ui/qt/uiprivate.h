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
using uicore::PanelHandles;
using uicore::Ready;
Panel *PanelOfWidget(QWidget *w);           // innermost panel whose root is w or holds it
Ctrl *CtrlOfWidget(Panel *p, QWidget *w);   // control whose widget is w or holds it
// The driver's entries (ui/core/uicore.h, Driver) for start-up and panels.
bool Start(char **argv, bool headless);
int ProgramFolder(std::string *ansi);
bool SetCurrentFolder(const char *ansi);
int LoadPanel(Panel &p, const Panel *parent, const char *file, int resourceId, int *top, int *left);
int NewPanel(Panel &p, const Panel *parent, int height, int width);
void DestroyPanel(Panel &p, bool later);
uicore::Rect PanelRect(const Panel &p);
void SetPanelRect(Panel &p, const uicore::Rect &r);
bool FrameMargins(const Panel &p, uicore::Margins *m);
uicore::Rect WorkArea(const uicore::Rect &where);
void ShowPanel(Panel &p, bool activate);
void SetPopup(Panel &p, const Panel *owner);
void SetModal(Panel &p, bool on);
int ActivePanel();
void ScreenSize(int *height, int *width);
void SetTitle(Panel &p);
void SetBackColor(Panel &p);
void SetFrame(Panel &p);

// ------------------------------------------------------- controls (uictrl.cpp)
// Readies a control's widget after loading (loaded: the record takes what
// the resource gave) or creation: plain text, the shortcut form of its
// label, mouse tracking, mode.
void SetupCtrl(Panel &p, Ctrl &c, bool loaded);
// The driver's entries (ui/core/uicore.h, Driver) for controls.
int NewCtrl(Panel &p, Ctrl &c, int top, int left);
uicore::Rect CtrlRect(const Panel &p, const Ctrl &c);
uicore::Rect LabelRect(const Panel &p, const Ctrl &c);
void PlaceCtrl(Panel &p, Ctrl &c, const uicore::Rect &r);
void PlaceLabel(Panel &p, Ctrl &c, const uicore::Rect &r);
void ShowCtrl(Panel &p, Ctrl &c);
void EnableCtrl(Panel &p, Ctrl &c);
void SetMode(Panel &p, Ctrl &c);
void SetTextColor(Panel &p, Ctrl &c);
void SetUnderline(Panel &p, Ctrl &c);
void SetLabel(Panel &p, Ctrl &c);
void Restack(Panel &p);
void TextBoxMetrics(const Ctrl &c, int *lineHeight, int *chrome);
std::string EditText(const Ctrl &c);
void SetEditText(Ctrl &c);
int NumericValue(const Ctrl &c);
void SetNumericValue(Ctrl &c, int value);
void RingInsert(Ctrl &c, int index);
void RingReplace(Ctrl &c, int index);
void RingDelete(Ctrl &c, int index, int count);
void RingSelect(Ctrl &c);

// --------------------------------------------------------- events (uievent.cpp)
void StartEvents();                          // after the QApplication exists
void ConnectCtrl(int panel, Ctrl &c);        // commits from the control's signals
using uicore::DispatchGuard;
using uicore::InDispatch;
void ShowCursor();
bool Pump(int ms);
void PointerInPanel(const Panel &p, int *x, int *y);
void MouseButtons(int *left, int *right, int *keys);
void DrawNow();                              // uipanel.cpp
int PrintPanel(Panel &p, const char *pdfFile);   // uipopup.cpp
void MessageBox(const char *title, const char *message, const Panel *owner);
int PopupMenu(const char *const items[], int count, const Panel *owner);   // uimenu.cpp
int ClipboardPut(const char *text, const Panel *owner);

}  // namespace uirt

#endif
