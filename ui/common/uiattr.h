// uiattr.h: which attributes a control and a panel have, and which of them
// hold an int, for every backend of the run-time layer: an attribute that
// is none of the kind's is UIE_BAD_ATTRIBUTE, one asked for in the wrong
// type UIE_BAD_VALUE; and the mode a control starts in.
#ifndef VLIC_UI_COMMON_UIATTR_H
#define VLIC_UI_COMMON_UIATTR_H

#include "ui/userint.h"

namespace uicommon {

inline bool IsCtrlIntAttr(int a) {
    switch (a) {
    case ATTR_DIMMED: case ATTR_VISIBLE: case ATTR_LEFT: case ATTR_TOP: case ATTR_WIDTH:
    case ATTR_HEIGHT: case ATTR_ZPLANE_POSITION: case ATTR_CTRL_STYLE: case ATTR_NEXT_CTRL:
    case ATTR_CTRL_MODE: case ATTR_LABEL_VISIBLE: case ATTR_TEXT_COLOR: case ATTR_TEXT_UNDERLINE:
    case ATTR_VISIBLE_LINES:
        return true;
    default:
        return false;
    }
}

inline bool IsCtrlAttr(int a) {
    return IsCtrlIntAttr(a) || a == ATTR_LABEL_TEXT || a == ATTR_CALLBACK_DATA || a == ATTR_CALLBACK_FUNCTION_POINTER;
}

inline bool IsPanelIntAttr(int a) {
    switch (a) {
    case ATTR_DIMMED: case ATTR_VISIBLE: case ATTR_LEFT: case ATTR_TOP: case ATTR_WIDTH:
    case ATTR_HEIGHT: case ATTR_BACKCOLOR: case ATTR_TITLEBAR_VISIBLE: case ATTR_PANEL_FIRST_CTRL:
    case ATTR_CAN_MINIMIZE: case ATTR_SIZABLE: case ATTR_CAN_MAXIMIZE:
        return true;
    default:
        return false;
    }
}

inline bool IsPanelAttr(int a) {
    return IsPanelIntAttr(a) || a == ATTR_TITLE || a == ATTR_CALLBACK_DATA || a == ATTR_CALLBACK_FUNCTION_POINTER;
}

// The mode a control has when its resource gives none: what only shows
// something takes no input.
inline int DefaultCtrlMode(int style) {
    return (style == CTRL_TEXT_MSG || style == CTRL_PICTURE || style == CTRL_DECORATION) ? VAL_INDICATOR : VAL_HOT;
}

}  // namespace uicommon

#endif
