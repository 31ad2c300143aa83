// print_once: starts the run-time, shows a small panel and prints it once
// on the default printer, as GenPrintPanel does; exits with 0 whether or not
// a printer took it (the safe-loading test only asks which libraries the
// print loads), 1 when the run-time or the panel cannot be had.
#include <cstdio>

#include "ui/userint.h"

int main(int, char **argv) {
    if (!InitUIRunTime(0, argv, 0)) return 1;
    const int panel = NewPanelAnsi(0, "print_once", 40, 40, 120, 200);
    if (panel < 0) return 1;
    DisplayPanel(panel);
    SetPrintAttributeExAnsi(ATTR_PRINT_VERTICAL_SCALE, -1);
    SetPrintAttributeExAnsi(ATTR_PRINT_HORIZONTAL_SCALE, -1);
    SetPrintAttributeExAnsi(ATTR_PRINT_ORIENTATION, 0);
    std::printf("print: %d\n", PrintPanelAnsi(panel, "", 0, 1, 1));
    DiscardPanel(panel);
    return 0;
}
