// uiprint.cpp: printing a panel's picture, built as the module
// libvlic_print.so, which alone links Qt's print support (see ui/qt/uiprint.h).
//
// Exports: VlicPrintWidget (C linkage, looked up by name by the layer).
//
// Data model: none kept. A print is one page holding a picture of the
// widget as it is drawn on the screen, placed at the top-left of the page's
// printable area and scaled as the layer's print attributes say.
#include <algorithm>

#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QPrinterInfo>
#include <QWidget>

#include "ui/qt/uiprint.h"
#include "ui/userint.h"

// As uirt::PrintWidgetFn: 0 once the page is out, UIE_SYSTEM otherwise.
extern "C" Q_DECL_EXPORT int VlicPrintWidget(QWidget *w, const QString &docName, const QString &fileName,
                                             int hScale, int vScale, int landscape) {
    QPrinter printer(QPrinter::HighResolution);
    if (fileName.isEmpty()) {
        const QPrinterInfo def = QPrinterInfo::defaultPrinter();
        if (def.isNull()) return UIE_SYSTEM;
        printer.setPrinterName(def.printerName());
    } else {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(fileName);
    }
    printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setDocName(docName);

    const QPixmap shot = w->grab();
    const QSizeF size = shot.deviceIndependentSize();
    if (size.isEmpty()) return UIE_SYSTEM;
    QPainter painter;
    if (!painter.begin(&printer)) return UIE_SYSTEM;
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    const double atScale = printer.resolution() / 96.0;
    double sx = hScale == -1 ? page.width() / size.width() : atScale * hScale / 100.0;
    double sy = vScale == -1 ? page.height() / size.height() : atScale * vScale / 100.0;
    if (hScale == -1 && vScale == -1) sx = sy = std::min(sx, sy);
    painter.drawPixmap(QRectF(0, 0, size.width() * sx, size.height() * sy), shot, QRectF(shot.rect()));
    return painter.end() ? 0 : UIE_SYSTEM;
}
