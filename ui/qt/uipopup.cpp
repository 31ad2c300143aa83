// uipopup.cpp: the message popup (and its test hook) and printing.
//
// Exports (ui/userint.h): MessagePopupAnsi, UiSetMessagePopupHook,
// SetPrintAttributeExAnsi, PrintPanelAnsi.
//
// Data model: the hook, when set, stands in for the dialog. Printing keeps
// the three print attributes; a print is one page holding a picture of the
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

#include "ui/qt/uiprivate.h"
#include "ui/userint.h"

namespace {

// --------------------------------------------------------------- state
// g_hook: stands in for the message dialog when set (tests).
// g_hScale, g_vScale: ATTR_PRINT_HORIZONTAL_SCALE / _VERTICAL_SCALE, -1 or
//   a percentage; g_orientation: ATTR_PRINT_ORIENTATION, 0 portrait, 1 landscape.
UiMessagePopupHook g_hook = nullptr;
int g_hScale = -1;
int g_vScale = -1;
int g_orientation = 0;

}  // namespace

using namespace uirt;

void UiSetMessagePopupHook(UiMessagePopupHook hook) { g_hook = hook; }

// 0 once the user has pressed OK (or the hook has run); UIE_NOT_INITIALIZED,
// UIE_BAD_POINTER. The dialog is modal; the layer's own cursors are off
// while it is up.
int MessagePopupAnsi(const char *title, const char *message) {
    if (g_hook) {
        g_hook(title, message);
        return 0;
    }
    if (!Ready()) return UIE_NOT_INITIALIZED;
    if (!title || !message) return UIE_BAD_POINTER;
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

// 0; UIE_BAD_ATTRIBUTE, UIE_BAD_VALUE (a scale other than -1 or 1..10000
// per cent, an orientation other than 0 or 1).
int SetPrintAttributeExAnsi(int attribute, int value) {
    switch (attribute) {
    case ATTR_PRINT_HORIZONTAL_SCALE:
    case ATTR_PRINT_VERTICAL_SCALE:
        if (value != -1 && (value < 1 || value > 10000)) return UIE_BAD_VALUE;
        (attribute == ATTR_PRINT_HORIZONTAL_SCALE ? g_hScale : g_vScale) = value;
        return 0;
    case ATTR_PRINT_ORIENTATION:
        if (value != 0 && value != 1) return UIE_BAD_VALUE;
        g_orientation = value;
        return 0;
    default:
        return UIE_BAD_ATTRIBUTE;
    }
}

// 0 once the page is out; UIE_NOT_INITIALIZED, UIE_BAD_PANEL,
// UIE_BAD_POINTER, UIE_BAD_VALUE (a file name not ending in ".pdf"),
// UIE_SYSTEM (no default printer, or the printer or file refused).
// scaling, area and flag are accepted for the callers' sake.
int PrintPanelAnsi(int panel, const char *fileName, int scaling, int area, int flag) {
    (void)scaling;
    (void)area;
    (void)flag;
    if (!Ready()) return UIE_NOT_INITIALIZED;
    Panel *p = FindPanel(panel);
    if (!p) return UIE_BAD_PANEL;
    if (!fileName) return UIE_BAD_POINTER;
    const QString name = FromAnsi(fileName);
    QPrinter printer(QPrinter::HighResolution);
    if (name.isEmpty()) {
        const QPrinterInfo def = QPrinterInfo::defaultPrinter();
        if (def.isNull()) return UIE_SYSTEM;
        printer.setPrinterName(def.printerName());
    } else if (name.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(name);
    } else {
        return UIE_BAD_VALUE;
    }
    printer.setPageOrientation(g_orientation ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setDocName(FromAnsi(p->titleRaw.constData(), p->titleRaw.size()));

    const QPixmap shot = p->w->grab();
    const QSizeF size = shot.deviceIndependentSize();
    if (size.isEmpty()) return UIE_SYSTEM;
    QPainter painter;
    if (!painter.begin(&printer)) return UIE_SYSTEM;
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    const double atScale = printer.resolution() / 96.0;
    double sx = g_hScale == -1 ? page.width() / size.width() : atScale * g_hScale / 100.0;
    double sy = g_vScale == -1 ? page.height() / size.height() : atScale * g_vScale / 100.0;
    if (g_hScale == -1 && g_vScale == -1) sx = sy = std::min(sx, sy);
    painter.drawPixmap(QRectF(0, 0, size.width() * sx, size.height() * sy), shot, QRectF(shot.rect()));
    return painter.end() ? 0 : UIE_SYSTEM;
}
