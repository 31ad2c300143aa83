// coreres.h: the panel resource files, as every driver reads them: the
// form that tools/ui2uir/ui2uir.py makes from the Designer (.ui) files at
// build time (described there). One resource file holds panels by resource
// id, each a root record and its control records in the file's order, and
// the pictures they name. Texts are Windows-1252.
//
// Exports: uicore::UirRecord, UirPanel, UirImage, UirImageMap, UirFile,
// UirReadFile, UirParse, UirFindPanel; CtrlLook, Picture and the readers
// that turn records into the core's records and looks (UirReadPanel,
// UirReadCtrl, UirReadLabel), DefaultLook.
#ifndef VLIC_UI_CORE_CORERES_H
#define VLIC_UI_CORE_CORERES_H

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ui/core/uicore.h"

namespace uicore {

// One widget of a panel file: its properties in the file's order, values as
// written (texts still escaped: read them with Text).
struct UirRecord {
    std::vector<std::pair<std::string, std::string>> props;

    const std::string *Find(const std::string &name) const;   // null when absent
    // The number, or fallback when absent or not a number.
    int Int(const std::string &name, int fallback) const;
    // The text with its escapes resolved; "" when absent.
    std::string Text(const std::string &name) const;
    // The n numbers of a rect ("x y w h") or size ("w h"); false when absent
    // or short.
    bool Numbers(const std::string &name, int *out, int n) const;
};

struct UirPanel {
    int id = 0;
    bool readable = true;          // false: its Designer file was no panel
    UirRecord root;
    std::vector<UirRecord> ctrls;  // every direct child of the root, in order
};

// A picture as the converter decoded it: width * height pixels, rows top
// down, each B G R A with the colours premultiplied by A.
struct UirImage {
    int width = 0;
    int height = 0;
    std::string bgra;
};

// Key as the panels name it -> its picture; shared, so that the controls
// that show it keep it without a copy each.
using UirImageMap = std::map<std::string, std::shared_ptr<const UirImage>>;

struct UirFile {
    std::vector<UirPanel> panels;
    UirImageMap images;
};

// Reads a resource file's bytes. 0 on success; UIE_FILE_NOT_FOUND when they
// are not of this form or end early (a cut file is no resource).
int UirParse(const std::string &bytes, UirFile *out);

// The panel of resource id in file: 0 with *panel set; UIE_PANEL_NOT_FOUND
// when the file has none; UIE_FILE_NOT_FOUND when its Designer file was no
// panel (as the Qt driver answers a broken .ui file).
int UirFindPanel(const UirFile &file, int id, const UirPanel **panel);

// The bytes of resource file `file` ("FVLicEnr.uir"): the one the program
// carries inside itself under that name (the driver's carriedFile), else
// the file of that name in the program's folder, else the name as given
// (a full path, or one from the current folder). Only a regular file is
// read, and never waited on. 0; UIE_BAD_POINTER, UIE_FILE_NOT_FOUND (none
// of them has it, it is no regular file or it cannot be read).
int UirReadFile(const char *file, std::string *bytes);

// --------------------------------------------- into the core's records
// The picture a picture button or picture control shows: the one its
// resource names and its "@2x" sibling, those the file has (a driver draws
// the one that suits its screen), at a size in logical pixels.
struct Picture {
    std::string key;                 // the name the panel gives it, "" none
    UirImageMap sources;             // key and its sibling, those the file has
    int width = 0, height = 0;       // the size drawn; 0: it fills its control
};

// What a resource says of a control's window, or of its label drawn apart,
// that the records do not keep: what a driver needs to make the window
// (Driver::makeCtrl, makeLabel). A control made at run time has the
// defaults of its style (DefaultLook). Places are logical pixels.
struct CtrlLook {
    Rect rect;
    std::string name;          // the resource's name for it, "" none
    std::string text;          // a button's or text message's label, an edit's text
    std::string align;         // the Designer alignment ("AlignRight|AlignVCenter"), "" the kind's own
    bool wordWrap = false;
    bool readOnly = false;
    std::string frameShape;    // a decoration's or text box's ("Box", "HLine", "NoFrame"), "" the kind's own
    std::string frameShadow;   // "Sunken", "Plain", "" the kind's own
    int lineWidth = -1;        // -1 the kind's own
    std::string focusPolicy;   // "NoFocus", "TabFocus", "" the kind's own
    bool noScrollBar = false;  // a text box without its vertical scroll bar
    bool noHScrollBar = false; // ... without its horizontal one
    bool noTextInteraction = false;   // a text box whose text cannot be selected
    bool bold = false;
    int pointSize = 0;         // 0: the panels' font's size
    bool textColorGiven = false;   // the resource gives Ctrl::textColor
    int fillColor = -1;        // a decoration's own background (RRGGBB), -1 none
    Picture picture;
};

// Which of the picture key and its "@2x" sibling a screen of that DPI
// shows: the @2x one above 96 DPI, the other at 96; whichever images has
// when it lacks that one; "" when it has neither.
std::string ChoosePictureKey(const UirImageMap &images, const std::string &key, int dpi);

// The panel's own attributes from its root record into p; its geometry
// (x, y: where the file puts it, both 0 to centre it).
void UirReadPanel(const UirRecord &root, Panel &p, Rect *geometry);
// The control of record r, added to p (NewLoadedCtrl) with what its record
// keeps (a ring its items); null when r makes no control (a label, a bad
// id or class). Its pictures come from images.
Ctrl *UirReadCtrl(const UirRecord &r, const UirImageMap &images, Panel &p, CtrlLook *look);
// The control whose label apart record r is, with that label's text and
// colour; null when r is none or its control has a label already.
Ctrl *UirReadLabel(const UirRecord &r, Panel &p, CtrlLook *look);
// The look of a new control of c's style at (top, left), and of its label
// apart (when c.apart) in *label.
void DefaultLook(const Ctrl &c, int top, int left, CtrlLook *look, CtrlLook *label);

}  // namespace uicore

#endif
