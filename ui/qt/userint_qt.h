// userint_qt.h: the Qt widgets behind the run-time's handles, for tests and
// test helpers only (they need them to send real Qt input events). The
// application never includes this: it speaks to the layer through
// ui/userint.h alone.
#ifndef VLIC_UI_USERINT_QT_H
#define VLIC_UI_USERINT_QT_H

class QWidget;
class QLabel;

// The panel's root widget (its window for a top-level panel), or null.
QWidget *UiPanelWidget(int panel);
// The control's widget, or null.
QWidget *UiCtrlWidget(int panel, int control);
// The control's label drawn apart from it (labelOf), or null when it has none.
QLabel *UiCtrlLabelWidget(int panel, int control);
// Handle of the innermost panel holding the widget, 0 when none.
int UiPanelOfWidget(QWidget *widget);

#endif
