// coreattr.h: which attributes a control and a panel have, and which of them
// hold an int, for every driver of the run-time layer: an attribute that
// is none of the kind's is UIE_BAD_ATTRIBUTE, one asked for in the wrong
// type UIE_BAD_VALUE; the kind of control a panel file's widget class makes;
// and the mode a control starts in.
#ifndef VLIC_UI_CORE_COREATTR_H
#define VLIC_UI_CORE_COREATTR_H

#include <cstring>

#include "ui/userint.h"

namespace uicore {

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
    return IsCtrlIntAttr(a) || a == ATTR_LABEL_TEXT || a == ATTR_ACCESSIBLE_NAME || a == ATTR_CALLBACK_DATA ||
           a == ATTR_CALLBACK_FUNCTION_POINTER;
}

// True when a control of that style has the attribute: a control's
// attribute that its kind lacks (the visible lines of anything but a text
// box) is UIE_BAD_ATTRIBUTE, found before a null output is.
inline bool IsAttrOfStyle(int style, int a) {
    return IsCtrlAttr(a) && (a != ATTR_VISIBLE_LINES || style == CTRL_TEXT_BOX);
}

inline bool IsPanelIntAttr(int a) {
    switch (a) {
    case ATTR_DIMMED: case ATTR_VISIBLE: case ATTR_LEFT: case ATTR_TOP: case ATTR_WIDTH:
    case ATTR_HEIGHT: case ATTR_BACKCOLOR: case ATTR_TITLEBAR_VISIBLE: case ATTR_PANEL_FIRST_CTRL:
    case ATTR_CAN_MINIMIZE: case ATTR_SIZABLE: case ATTR_CAN_MAXIMIZE: case ATTR_ESCAPE_CTRL:
        return true;
    default:
        return false;
    }
}

inline bool IsPanelAttr(int a) {
    return IsPanelIntAttr(a) || a == ATTR_TITLE || a == ATTR_CALLBACK_DATA || a == ATTR_CALLBACK_FUNCTION_POINTER;
}

// True for the CTRL_ values.
inline bool IsCtrlStyle(int style) {
    switch (style) {
    case CTRL_COMMAND_BUTTON: case CTRL_PICTURE_COMMAND_BUTTON: case CTRL_STRING: case CTRL_NUMERIC:
    case CTRL_RING: case CTRL_TEXT_MSG: case CTRL_TEXT_BOX: case CTRL_PICTURE: case CTRL_DECORATION:
        return true;
    default:
        return false;
    }
}

// The CTRL_ style that a widget of the Designer class cls (an exact class
// name, no base class) can carry, preferring named, the one its resource
// gives, when the class allows it; 0 when the class is no control.
// pictureOnly: the widget shows a picture and no text (a button's icon
// without a label, a label's pixmap), which makes it a picture control.
inline int StyleOfClass(const char *cls, int named, bool pictureOnly) {
    if (!std::strcmp(cls, "QPushButton")) {
        if (named == CTRL_COMMAND_BUTTON || named == CTRL_PICTURE_COMMAND_BUTTON) return named;
        return pictureOnly ? CTRL_PICTURE_COMMAND_BUTTON : CTRL_COMMAND_BUTTON;
    }
    if (!std::strcmp(cls, "QComboBox")) return CTRL_RING;
    if (!std::strcmp(cls, "QLabel")) {
        if (named == CTRL_TEXT_MSG || named == CTRL_PICTURE) return named;
        return pictureOnly ? CTRL_PICTURE : CTRL_TEXT_MSG;
    }
    if (!std::strcmp(cls, "QPlainTextEdit")) return CTRL_TEXT_BOX;
    if (!std::strcmp(cls, "QLineEdit")) return CTRL_STRING;
    if (!std::strcmp(cls, "QSpinBox")) return CTRL_NUMERIC;
    if (!std::strcmp(cls, "QFrame")) return CTRL_DECORATION;
    return 0;
}

// The mode a control has when its resource gives none: what only shows
// something takes no input.
inline int DefaultCtrlMode(int style) {
    return (style == CTRL_TEXT_MSG || style == CTRL_PICTURE || style == CTRL_DECORATION) ? VAL_INDICATOR : VAL_HOT;
}

}  // namespace uicore

#endif
