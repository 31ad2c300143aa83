// uires.h: the panel resource model that a backend without a Designer
// loader reads: the form that tools/ui2uir/ui2uir.py makes from the .ui
// files at build time (described there). One resource file holds panels by
// resource id, each a root record and its control records in the file's
// order, and the pictures they name. Texts are Windows-1252.
//
// Exports: uicore::UirRecord, UirPanel, UirImage, UirImageMap, UirFile, UirParse, UirFindPanel.
#ifndef VLIC_UI_CORE_UIRES_H
#define VLIC_UI_CORE_UIRES_H

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
// panel (as the Qt backend answers a broken .ui file).
int UirFindPanel(const UirFile &file, int id, const UirPanel **panel);

// --------------------------------------------- into the core's records
// What a panel file says of a panel, a control or a label drawn apart that
// the core's records do not keep, for the driver that makes their windows.
// Places are in logical pixels, as the file gives them.
struct UirCtrlLook {
    Rect rect;
    std::string text;          // a button's or text message's label, an edit's text
    std::string align;         // the Designer alignment, "" none
    bool wordWrap = false;
    bool readOnly = false;
    bool frameless = false;    // a text box without its sunken edge
    bool noScrollBar = false;  // a text box without its vertical scroll bar
    bool bold = false;
    int pointSize = 0;         // 0: the panels' font's size
    int fillColor = -1;        // a decoration's own background (RRGGBB), -1 none
};

// The panel's own attributes from its root record into p; its geometry
// (x, y: where the file puts it, both 0 to centre it).
void UirReadPanel(const UirRecord &root, Panel &p, Rect *geometry);
// The control of record r, added to p (NewLoadedCtrl) with what its record
// keeps; null when r makes no control (a label, a bad id or class).
Ctrl *UirReadCtrl(const UirRecord &r, Panel &p, UirCtrlLook *look);
// The control whose label apart record r is, with that label's text and
// colour; null when r is none or its control has a label already.
Ctrl *UirReadLabel(const UirRecord &r, Panel &p, UirCtrlLook *look);

}  // namespace uicore

#endif
