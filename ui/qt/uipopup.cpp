// uipopup.cpp: the message popup (and its test hook) and printing.
//
// Exports (ui/userint.h): MessagePopupAnsi, UiSetMessagePopupHook;
// (ui/qt/uiprivate.h): PrintPanel (PrintPanelAnsi's checks are
// ui/core/uiprint.cpp's).
//
// Data model: the hook, when set, stands in for the dialog. Printing reads
// the three print attributes (ui/core/uiprint.h); a print is one page holding a picture of the
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

#include "ui/core/uiprint.h"
#include "ui/qt/uiprivate.h"
#include "ui/userint.h"

namespace {

// --------------------------------------------------------------- state
// g_hook: stands in for the message dialog when set (tests). The print
//   attributes are ui/core/uiprint.cpp's.
UiMessagePopupHook g_hook = nullptr;

}  // namespace

using namespace uirt;

void UiSetMessagePopupHook(UiMessagePopupHook hook) { g_hook = hook; }

// 0 once the user has pressed OK (or the hook has run); UIE_NOT_INITIALIZED,
// UIE_BAD_POINTER. The dialog is modal; the layer's own cursors are off
// while it is up.
int MessagePopupAnsi(const char *title, const char *message) {
    if (!Ready()) return UIE_NOT_INITIALIZED;
    if (!title || !message) return UIE_BAD_POINTER;
    if (g_hook) {
        g_hook(title, message);
        return 0;
    }
    // Owned by the panel it blocks, even when no window of ours is active.
    QMessageBox box(QMessageBox::NoIcon, FromAnsi(title), FromAnsi(message), QMessageBox::Ok,
                    PopupOwner(nullptr));
    box.setTextFormat(Qt::PlainText);
    // Its text can be selected and copied (an address to fetch elsewhere).
    box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    DispatchGuard inside;   // a nested event loop runs: widgets go later
    SuspendCursor(true);
    box.exec();
    SuspendCursor(false);
    return 0;
}

// 0 once the page is out; UIE_SYSTEM (no default printer, or the printer
// or file refused).
int uirt::PrintPanel(Panel &panel, const char *pdfFile) {
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
