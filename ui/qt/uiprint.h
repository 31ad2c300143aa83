// uiprint.h: what the run-time layer (ui/qt/uipopup.cpp) and its print
// module (ui/qt/uiprint.cpp, built as libvlic_print.so beside the program)
// agree on. The module alone links Qt's print support; the layer loads it
// at the first print, so that a start that prints nothing never loads it.
//
// Exports: kPrintModule, kPrintEntry, PrintWidgetFn.
#ifndef VLIC_UI_UIPRINT_H
#define VLIC_UI_UIPRINT_H

class QString;
class QWidget;

namespace uirt {

// The module's file name, looked up in the program's folder, and the name
// of its one entry point.
inline constexpr char kPrintModule[] = "libvlic_print.so";
inline constexpr char kPrintEntry[] = "VlicPrintWidget";

// Prints one page holding a picture of `w` as it is drawn on the screen,
// placed at the top-left of the page's printable area: on the default
// printer when `fileName` is empty, else into that PDF file (the caller has
// checked that it ends in ".pdf"). `hScale` and `vScale` are -1 (fit the
// page; both -1 keep the proportions) or a percentage of the size at 96
// pixels per inch; `landscape` is 0 or 1. The job is named `docName`.
// Returns 0 once the page is out; UIE_SYSTEM when there is no default
// printer, the picture is empty, or the printer or file refused.
using PrintWidgetFn = int (*)(QWidget *w, const QString &docName, const QString &fileName, int hScale,
                              int vScale, int landscape);

}  // namespace uirt

#endif
