// uiprint.cpp: the print attributes and the scale of a printed panel,
// shared by the backends of the run-time layer.
//
// Exports (ui/userint.h): SetPrintAttributeExAnsi; (ui/common/uiprint.h):
// PrintOrientation, PrintHorizontalScale, PrintVerticalScale, PrintScales.
//
// State: g_hScale, g_vScale: ATTR_PRINT_HORIZONTAL_SCALE / _VERTICAL_SCALE,
// -1 or a percentage; g_orientation: ATTR_PRINT_ORIENTATION, 0 portrait, 1
// landscape. Touched only from the user-interface thread.
#include "ui/common/uiprint.h"

#include <algorithm>

#include "ui/userint.h"

namespace uicommon {

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

}  // namespace uicommon

// 0; UIE_BAD_ATTRIBUTE, UIE_BAD_VALUE (a scale other than -1 or 1..10000
// per cent, an orientation other than 0 or 1).
int SetPrintAttributeExAnsi(int attribute, int value) {
    using namespace uicommon;
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
