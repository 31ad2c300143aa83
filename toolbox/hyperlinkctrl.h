// hyperlinkctrl.h: turns a text message control into a web link.
//
// The text is drawn blue and underlined, turns red with the link cursor while
// the pointer is over it, and a release of the left mouse button on it opens
// its address in the desktop's default viewer and marks it visited (purple).
// The behaviour hangs on the control and its panel through the toolbox's
// callback chaining (toolbox/toolbox.h), so the callbacks they already had
// keep receiving every event.
//
// Every operation returns 0 (or a non-negative value) on success and a
// negative status on failure: UIEOutOfMemory (-12), ToolErr_NotHyperLink
// (-13), UIEBadCtrlType (-45), UIEBadAttribute (-46), UIENullPointerPassed
// (-65) of toolbox/toolbox.h, or the run-time's own status.
#ifndef VLIC_TOOLBOX_HYPERLINKCTRL_H
#define VLIC_TOOLBOX_HYPERLINKCTRL_H

// Hyperlink attributes.
enum {
    HYPERLINK_ATTR_ADDRESS = 1,         // the address (text; null or "" when none)
    HYPERLINK_ATTR_ADDRESS_LENGTH = 2,  // its length in bytes without the zero (int, read only)
};

// Makes control of panel a hyperlink to url (may be null: a link without an
// address). UIEBadCtrlType when the control is no text message or already is
// a hyperlink; UIEOutOfMemory.
int NewHyperLinkCtrl(int panel, int control, const char *url);

// HYPERLINK_ATTR_ADDRESS: the value is a const char * (may be null). Replaces
// the address; UIEOutOfMemory leaves the link without one. Other attributes
// give UIEBadAttribute; a control that is no hyperlink ToolErr_NotHyperLink.
int SetHyperLinkCtrlAttribute(int panel, int control, int attribute, ...);

// HYPERLINK_ATTR_ADDRESS copies the address into value (a char buffer of the
// length plus one; "" when there is none); HYPERLINK_ATTR_ADDRESS_LENGTH
// stores an int into value. UIEBadAttribute, ToolErr_NotHyperLink,
// UIENullPointerPassed for a null value.
int GetHyperLinkCtrlAttribute(int panel, int control, int attribute, void *value);

// Ends the hyperlink behaviour of the control; its text keeps its underline
// and its last colour. ToolErr_NotHyperLink when it is no hyperlink.
int RevertHyperLinkCtrl(int panel, int control);

// ---- Inner operations, exported for the toolbox and its tests.

// One per hyperlink control; the callback data of its chained control
// callback, freed with its link.
struct HyperLinkCtrlData {
    char *url;      // private heap copy of the address, or null
    int visited;    // 1 once the address has been opened
};

int InitHyperLinkLibrary(void);
int HyperLinkPanelCallback(int panel, int event, void *callbackData, int eventData1, int eventData2);
int HyperLinkCtrlCallback(int panel, int control, int event, void *callbackData, int eventData1,
                          int eventData2);
int RemoveHyperLinkFromCtrl(int panel, int control, HyperLinkCtrlData *data);

#endif
