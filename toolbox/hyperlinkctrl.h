// hyperlinkctrl.h: turns a text message control into a web link.
#ifndef VLIC_TOOLBOX_HYPERLINKCTRL_H
#define VLIC_TOOLBOX_HYPERLINKCTRL_H

enum { HYPERLINK_ATTR_ADDRESS = 1, HYPERLINK_ATTR_ADDRESS_LENGTH = 2 };

// Makes control of panel a hyperlink to url (may be null). 0 on success,
// a negative status on failure.
int NewHyperLinkCtrl(int panel, int control, const char *url);

#endif
