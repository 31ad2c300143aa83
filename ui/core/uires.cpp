// uires.cpp: reads the panel resource form made by tools/ui2uir/ui2uir.py.
//
// Exports (ui/core/uires.h): UirRecord's readers, UirParse, UirFindPanel,
// UirReadPanel, UirReadCtrl, UirReadLabel.
//
// Data model: the file is lines; a line that begins with a blank is a
// property of the record above it ("<name> <value>"), any other line starts
// a record ("panel <id>", "ctrl", "unreadable <id>", "image <key> <width> <height>"
// followed by width * height * 4 bytes of pixels and a line break, "end"). The whole file
// is parsed at once into a UirFile; nothing is kept here.
//
// State: none.
#include "ui/core/uires.h"

#include <cstdlib>
#include <cstring>

#include "ui/core/uiattr.h"
#include "ui/userint.h"

namespace uicore {

const std::string *UirRecord::Find(const std::string &name) const {
    for (const auto &p : props)
        if (p.first == name) return &p.second;
    return nullptr;
}

int UirRecord::Int(const std::string &name, int fallback) const {
    const std::string *v = Find(name);
    if (!v || v->empty()) return fallback;
    char *end = nullptr;
    const long n = std::strtol(v->c_str(), &end, 10);
    return *end == '\0' ? static_cast<int>(n) : fallback;
}

std::string UirRecord::Text(const std::string &name) const {
    const std::string *v = Find(name);
    std::string out;
    if (!v) return out;
    for (size_t i = 0; i < v->size(); ++i) {
        char c = (*v)[i];
        if (c == '\\' && i + 1 < v->size()) {
            const char e = (*v)[++i];
            c = e == 'n' ? '\n' : e == 'r' ? '\r' : e;
        }
        out.push_back(c);
    }
    return out;
}

bool UirRecord::Numbers(const std::string &name, int *out, int n) const {
    const std::string *v = Find(name);
    if (!v) return false;
    const char *p = v->c_str();
    for (int i = 0; i < n; ++i) {
        char *end = nullptr;
        out[i] = static_cast<int>(std::strtol(p, &end, 10));
        if (end == p) return false;
        p = end;
    }
    return true;
}

// The next line of bytes from pos (without its line break); false at the end.
static bool NextLine(const std::string &bytes, size_t *pos, std::string *line) {
    if (*pos >= bytes.size()) return false;
    const size_t eol = bytes.find('\n', *pos);
    const size_t end = eol == std::string::npos ? bytes.size() : eol;
    line->assign(bytes, *pos, end - *pos);
    *pos = eol == std::string::npos ? bytes.size() : eol + 1;
    return true;
}

static bool StartsWith(const std::string &s, const char *prefix) {
    return s.compare(0, std::strlen(prefix), prefix) == 0;
}

int UirParse(const std::string &bytes, UirFile *out) {
    if (!out) return UIE_BAD_POINTER;
    UirFile file;
    size_t pos = 0;
    std::string line;
    if (!NextLine(bytes, &pos, &line) || line != "VLICUIR 2") return UIE_FILE_NOT_FOUND;
    UirRecord *current = nullptr;
    while (NextLine(bytes, &pos, &line)) {
        if (!line.empty() && line[0] == ' ') {
            if (!current) return UIE_FILE_NOT_FOUND;   // a property before any record
            const size_t blank = line.find(' ', 1);
            if (blank == std::string::npos) current->props.emplace_back(line.substr(1), "");
            else current->props.emplace_back(line.substr(1, blank - 1), line.substr(blank + 1));
        } else if (StartsWith(line, "panel ") || StartsWith(line, "unreadable ")) {
            UirPanel panel;
            panel.readable = line[0] == 'p';
            panel.id = std::atoi(line.c_str() + line.find(' ') + 1);
            file.panels.push_back(std::move(panel));
            current = file.panels.back().readable ? &file.panels.back().root : nullptr;
        } else if (line == "ctrl") {
            if (file.panels.empty() || !file.panels.back().readable) return UIE_FILE_NOT_FOUND;
            file.panels.back().ctrls.emplace_back();
            current = &file.panels.back().ctrls.back();
        } else if (StartsWith(line, "image ")) {
            // The key may hold blanks: the two numbers are the last words.
            const size_t hBlank = line.rfind(' ');
            const size_t wBlank = hBlank == std::string::npos || hBlank == 0 ? std::string::npos
                                                                             : line.rfind(' ', hBlank - 1);
            if (wBlank == std::string::npos || wBlank <= 6) return UIE_FILE_NOT_FOUND;
            auto image = std::make_shared<UirImage>();
            image->width = std::atoi(line.c_str() + wBlank + 1);
            image->height = std::atoi(line.c_str() + hBlank + 1);
            if (image->width <= 0 || image->height <= 0 || image->width > 4096 || image->height > 4096)
                return UIE_FILE_NOT_FOUND;
            const size_t size = static_cast<size_t>(image->width) * image->height * 4;
            if (pos + size + 1 > bytes.size() || bytes[pos + size] != '\n') return UIE_FILE_NOT_FOUND;
            image->bgra = bytes.substr(pos, size);
            file.images[line.substr(6, wBlank - 6)] = std::move(image);
            pos += size + 1;
            current = nullptr;
        } else if (line == "end") {
            *out = std::move(file);
            return 0;
        } else {
            return UIE_FILE_NOT_FOUND;
        }
    }
    return UIE_FILE_NOT_FOUND;   // no "end": the file was cut
}

int UirFindPanel(const UirFile &file, int id, const UirPanel **panel) {
    if (!panel) return UIE_BAD_POINTER;
    for (const UirPanel &p : file.panels) {
        if (p.id != id) continue;
        if (!p.readable) return UIE_FILE_NOT_FOUND;
        *panel = &p;
        return 0;
    }
    return UIE_PANEL_NOT_FOUND;
}

// The colour of a palette role (RRGGBB), or fallback.
static int PaletteColor(const UirRecord &r, const char *role, int fallback) {
    const std::string *v = r.Find(std::string("palette.") + role);
    return v ? static_cast<int>(std::strtol(v->c_str(), nullptr, 16)) : fallback;
}

static Rect Geometry(const UirRecord &r, int width, int height) {
    int g[4] = {0, 0, width, height};
    r.Numbers("geometry", g, 4);
    return {g[0], g[1], g[2], g[3]};
}

void UirReadPanel(const UirRecord &root, Panel &p, Rect *geometry) {
    p.titleRaw = root.Text("windowTitle");
    p.backColor = PaletteColor(root, "Window", 0xF0F0F0);
    p.closeCtrl = root.Int("closeCtrl", 0);
    p.sizable = root.Int("sizable", 1) != 0;
    p.canClose = root.Int("canClose", 1) != 0;
    p.canMinimize = root.Int("canMinimize", 1) != 0;
    p.canMaximize = root.Int("canMaximize", 1) != 0;
    p.titleBar = root.Int("titleBar", 1) != 0;
    *geometry = Geometry(root, 300, 200);
}

Ctrl *UirReadCtrl(const UirRecord &r, Panel &p, UirCtrlLook *look) {
    // The class decides what the control is, as Qt's widgets do.
    const bool pictureOnly = r.Find("pixmap") || (r.Find("icon") && r.Text("text").empty());
    const std::string *cls = r.Find("class");   // absent from a damaged file
    const int style = StyleOfClass(cls ? cls->c_str() : "", r.Int("ctrlStyle", 0), pictureOnly);
    Ctrl *c = r.Find("ctrlId") ? NewLoadedCtrl(p, r.Int("ctrlId", 0), style, r.Int("ctrlMode", -1)) : nullptr;
    if (!c) return nullptr;
    c->visible = r.Int("visible", 1) != 0;
    c->minimum = r.Int("minimum", c->minimum);
    c->maximum = r.Int("maximum", c->maximum);
    c->textColor = PaletteColor(r, "WindowText", 0x000000);
    *look = UirCtrlLook();
    look->rect = Geometry(r, 80, 24);
    look->text = r.Find("plainText") ? r.Text("plainText") : r.Text("text");
    if (const std::string *a = r.Find("alignment")) look->align = *a;
    look->wordWrap = r.Int("wordWrap", 0) != 0;
    look->readOnly = r.Int("readOnly", 0) != 0;
    const std::string *frame = r.Find("frameShape");
    look->frameless = frame && *frame == "NoFrame";
    const std::string *bar = r.Find("verticalScrollBarPolicy");
    look->noScrollBar = bar && *bar == "ScrollBarAlwaysOff";
    look->bold = r.Int("font.bold", 0) != 0;
    look->pointSize = r.Int("font.pointsize", 0);
    if (style == CTRL_DECORATION && r.Int("autoFillBackground", 0)) look->fillColor = PaletteColor(r, "Window", -1);
    if (style == CTRL_COMMAND_BUTTON || style == CTRL_TEXT_MSG) c->labelRaw = look->text;
    if (style == CTRL_STRING || style == CTRL_TEXT_BOX) {
        c->textRaw = look->text;
        c->textKnown = true;
    }
    return c;
}

Ctrl *UirReadLabel(const UirRecord &r, Panel &p, UirCtrlLook *look) {
    Ctrl *c = r.Find("ctrlId") ? nullptr : FindCtrl(&p, r.Int("labelOf", 0));
    if (!c || c->apart) return nullptr;
    c->apart = true;
    c->labelRaw = r.Text("text");
    c->textColor = PaletteColor(r, "WindowText", c->textColor);
    *look = UirCtrlLook();
    look->rect = Geometry(r, 80, 20);
    look->text = c->labelRaw;
    if (const std::string *a = r.Find("alignment")) look->align = *a;
    look->wordWrap = r.Int("wordWrap", 0) != 0;
    look->bold = r.Int("font.bold", 0) != 0;
    return c;
}

}  // namespace uicore
