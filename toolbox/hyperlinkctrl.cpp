// hyperlinkctrl.cpp: the hyperlink control (placeholder until it is built).
#include "toolbox/hyperlinkctrl.h"

int NewHyperLinkCtrl(int panel, int control, const char *url) {
    (void)panel;
    (void)control;
    (void)url;
    return 0;
}
