// coreprint.cpp: the print attributes, the checks of a print's arguments and
// the scale of a printed panel, shared by the drivers of the run-time
// layer; the driver prints (ui/core/uicore.h, Driver::printPanel).
//
// Exports (ui/userint.h): SetPrintAttributeExAnsi, PrintPanelAnsi; (ui/core/coreprint.h):
// PrintOrientation, PrintHorizontalScale, PrintVerticalScale, PrintScales.
//
// State: g_hScale, g_vScale: ATTR_PRINT_HORIZONTAL_SCALE / _VERTICAL_SCALE,
// -1 or a percentage; g_orientation: ATTR_PRINT_ORIENTATION, 0 portrait, 1
// landscape. Touched only from the user-interface thread.
#include "ui/core/coreprint.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "ui/core/uicore.h"
#include "ui/userint.h"

namespace uicore {

static int g_hScale = -1;
static int g_vScale = -1;
static int g_orientation = 0;

int PrintOrientation() { return g_orientation; }
int PrintHorizontalScale() { return g_hScale; }
int PrintVerticalScale() { return g_vScale; }

void PrintScales(double pageW, double pageH, double dpi, double picW, double picH, double *sx, double *sy) {
    const double atScale = dpi / 96.0;
    *sx = g_hScale == -1 ? pageW / picW : atScale * g_hScale / 100.0;
    *sy = g_vScale == -1 ? pageH / picH : atScale * g_vScale / 100.0;
    if (g_hScale == -1 && g_vScale == -1) *sx = *sy = std::min(*sx, *sy);
}

}  // namespace uicore

// 0; UIE_BAD_ATTRIBUTE, UIE_BAD_VALUE (a scale other than -1 or 1..10000
// per cent, an orientation other than 0 or 1).
int SetPrintAttributeExAnsi(int attribute, int value) {
    using namespace uicore;
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
// UIE_BAD_POINTER, UIE_BAD_VALUE (a file name not ending in ".pdf"), and
// UIE_NOT_PERMITTED (a PDF file, with a driver that writes none), and
// the driver's own (UIE_SYSTEM: no default printer, or the printer or
// file refused). scaling, area and flag are accepted for the callers' sake.
int PrintPanelAnsi(int panel, const char *fileName, int scaling, int area, int flag) {
    (void)scaling;
    (void)area;
    (void)flag;
    if (!uicore::Ready()) return UIE_NOT_INITIALIZED;
    if (!uicore::FindPanel(panel)) return UIE_BAD_PANEL;
    if (!fileName) return UIE_BAD_POINTER;
    if (!*fileName) return uicore::Drv().printPanel(*uicore::FindPanel(panel), nullptr);
    static const char kPdf[] = ".pdf";
    const std::size_t n = std::strlen(fileName), k = sizeof kPdf - 1;
    bool pdf = n >= k;
    for (std::size_t i = 0; pdf && i < k; ++i)
        pdf = std::tolower(static_cast<unsigned char>(fileName[n - k + i])) == kPdf[i];   // any case
    if (!pdf) return UIE_BAD_VALUE;
    if (!uicore::Drv().caps.printsPdf) return UIE_NOT_PERMITTED;
    return uicore::Drv().printPanel(*uicore::FindPanel(panel), fileName);
}
