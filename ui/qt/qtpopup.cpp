// qtpopup.cpp: the Qt driver's message popup and printing.
//
// Exports (ui/qt/qtprivate.h): MessageBox, QtPrintPanel (MessagePopupAnsi's
// and PrintPanelAnsi's checks are the core's).
//
// Data model: printing reads
// the three print attributes (ui/core/coreprint.h); a print is one page holding a picture of the
// panel as it is drawn on the screen, placed at the top-left of the page's
// printable area and scaled as the attributes say (-1: to fit the page,
// keeping its proportions when both are -1; else a percentage of its size at
// 96 pixels per inch).
#include <algorithm>

#include <QApplication>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QPrinterInfo>

#include "ui/core/coreprint.h"
#include "ui/qt/qtprivate.h"
#include "ui/userint.h"

namespace uiqt {

// A dialog owned by the panel it blocks, even when no window of ours is
// active; its text can be selected and copied (an address to fetch
// elsewhere).
void QtMessageBox(const char *title, const char *message, const Panel *owner) {
    QMessageBox box(QMessageBox::NoIcon, FromAnsi(title), FromAnsi(message), QMessageBox::Ok,
                    owner ? Q(*owner).w : nullptr);
    box.setTextFormat(Qt::PlainText);
    box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    box.exec();
}

// 0 once the page is out; UIE_SYSTEM (no default printer, or the printer
// or file refused).
int QtPrintPanel(Panel &panel, const char *pdfFile) {
    Panel *p = &panel;
    QPrinter printer(QPrinter::HighResolution);
    if (!pdfFile) {
        const QPrinterInfo def = QPrinterInfo::defaultPrinter();
        if (def.isNull()) return UIE_SYSTEM;
        printer.setPrinterName(def.printerName());
    } else {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(FromAnsi(pdfFile));
    }
    printer.setPageOrientation(uicore::PrintOrientation() ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setDocName(FromAnsi(p->titleRaw));

    const QPixmap shot = Q(*p).w->grab();
    const QSizeF size = shot.deviceIndependentSize();
    if (size.isEmpty()) return UIE_SYSTEM;
    QPainter painter;
    if (!painter.begin(&printer)) return UIE_SYSTEM;
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    double sx = 1, sy = 1;
    uicore::PrintScales(page.width(), page.height(), printer.resolution(), size.width(), size.height(), &sx, &sy);
    painter.drawPixmap(QRectF(0, 0, size.width() * sx, size.height() * sy), shot, QRectF(shot.rect()));
    return painter.end() ? 0 : UIE_SYSTEM;
}

void FillDialogEntries(uicore::Driver &d) {
    d.messageBox = QtMessageBox;
    d.printPanel = QtPrintPanel;
}

}  // namespace uiqt
