// uiform.h: the reader of Designer files (.ui), which turns a panel of a
// resource bundle into its widgets (ui/qt/uiform.cpp).
//
// Exports: ReadForm.
#ifndef VLIC_UI_UIFORM_H
#define VLIC_UI_UIFORM_H

#include <QByteArray>
#include <QPoint>
#include <QString>

class QWidget;

namespace uirt {

// Builds the widget tree of the Designer file `xml` under `parent` (null
// for a window): the root widget, then its children in file order, each
// with the properties the file gives it, as Qt's own form loader would.
// Relative picture and icon paths are taken from `folder`. *rootPos receives
// the root's position as the file gives it ((0, 0) when it gives none);
// like Qt's loader, the root itself takes only the size of its geometry.
// Returns the root widget, or null when the text is not well-formed XML, is
// no <ui> document, or its root widget's class is not one this reader makes.
QWidget *ReadForm(const QByteArray &xml, const QString &folder, QWidget *parent, QPoint *rootPos);

}  // namespace uirt

#endif
