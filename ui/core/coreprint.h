// coreprint.h: what printing a panel means, for every driver of the run-time
// layer: the print attributes (SetPrintAttributeExAnsi of ui/userint.h is
// defined with them) and how big the panel's picture is drawn on the page.
//
// Exports: uicore::PrintOrientation, PrintHorizontalScale,
// PrintVerticalScale, PrintScales.
#ifndef VLIC_UI_CORE_COREPRINT_H
#define VLIC_UI_CORE_COREPRINT_H

namespace uicore {

// ATTR_PRINT_ORIENTATION as last set: 0 portrait, 1 landscape.
int PrintOrientation();
// ATTR_PRINT_HORIZONTAL_SCALE / _VERTICAL_SCALE as last set: -1 (fit the
// page) or a percentage.
int PrintHorizontalScale();
int PrintVerticalScale();

// The factors by which a picture of picW x picH screen pixels (at 96 a
// inch) is drawn on a page of pageW x pageH device pixels at dpi: -1 for
// a scale fits the page (keeping the proportions when both are -1), else
// that percentage of the picture's size. The picture's sides are not 0.
void PrintScales(double pageW, double pageH, double dpi, double picW, double picH, double *sx, double *sy);

}  // namespace uicore

#endif
