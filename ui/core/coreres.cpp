// coreres.cpp: reads the panel resource files (the form made by
// tools/ui2uir/ui2uir.py) for every driver, and turns their records into
// the core's records and the looks the drivers make windows from.
//
// Exports (ui/core/coreres.h): UirRecord's readers, UirReadFile, UirParse,
// UirFindPanel, ChoosePictureKey, UirReadPanel, UirReadCtrl, UirReadLabel,
// DefaultLook.
//
// Data model: the file is lines; a line that begins with a blank is a
// property of the record above it ("<name> <value>"), any other line starts
// a record ("panel <id>", "ctrl", "unreadable <id>", "image <key> <width> <height>"
// followed by width * height * 4 bytes of pixels and a line break, "end"). The whole file
// is parsed at once into a UirFile; nothing is kept here.
//
// State: none.
#include "ui/core/coreres.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "ui/core/coreattr.h"
#include "ui/core/textcodec.h"
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

// A value as written with its escapes resolved.
static std::string Unescape(const std::string &v) {
    std::string out;
    for (size_t i = 0; i < v.size(); ++i) {
        char c = v[i];
        if (c == '\\' && i + 1 < v.size()) {
            const char e = v[++i];
            c = e == 'n' ? '\n' : e == 'r' ? '\r' : e;
        }
        out.push_back(c);
    }
    return out;
}

std::string UirRecord::Text(const std::string &name) const {
    const std::string *v = Find(name);
    return v ? Unescape(*v) : std::string();
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

// A resource file is a few hundred kilobytes: anything far larger is no
// resource, and is not read into memory.
static constexpr long long kMaxResourceBytes = 64ll << 20;

// The whole regular file at path; false when it cannot be opened, is no
// regular file (a FIFO, a device, a folder: never waited on), is too large
// or cannot be read whole.
static bool ReadRegularFile(const std::filesystem::path &path, std::string *bytes) {
#ifdef _WIN32
    std::error_code e;
    if (!std::filesystem::is_regular_file(path, e)) return false;
    std::FILE *f = _wfopen(path.c_str(), L"rb");
#else
    // Opened without waiting, then looked at through the descriptor itself,
    // so that nothing can be put in its place between the look and the read.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info;
    std::FILE *f = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) ? fdopen(fd, "rb") : nullptr;
    if (!f) close(fd);
#endif
    if (!f) return false;
    bytes->clear();
    char chunk[1 << 16];
    bool ok = true;
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, f)) > 0;) {
        if (static_cast<long long>(bytes->size() + n) > kMaxResourceBytes) {
            ok = false;
            break;
        }
        bytes->append(chunk, n);
    }
    ok = ok && !std::ferror(f);
    std::fclose(f);
    return ok;
}

int UirReadFile(const char *file, std::string *bytes) {
    if (!file || !bytes) return UIE_BAD_POINTER;
    if (!*file) return UIE_FILE_NOT_FOUND;
    const Driver &d = Drv();
    if (d.carriedFile && d.carriedFile(file, bytes)) return 0;
    // The program's folder before the current one: started from another
    // folder (a pupil's, which he may write to), the program must not take
    // a file of the same name lying there. The name as given comes last,
    // for a full path.
    const std::filesystem::path name(AnsiToUtf16(file));
    std::u16string folder;
    if (d.programFolder(&folder) == 0 && ReadRegularFile(std::filesystem::path(folder) / name, bytes)) return 0;
    return ReadRegularFile(name, bytes) ? 0 : UIE_FILE_NOT_FOUND;
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

// The key of the picture with the same name at the other scale ("@2x").
static std::string Sibling(const std::string &key, bool *is2x) {
    const size_t dot = key.rfind('.');
    const size_t slash = key.rfind('/');
    const size_t cut = dot == std::string::npos || (slash != std::string::npos && dot < slash) ? key.size() : dot;
    const std::string stem = key.substr(0, cut), ext = key.substr(cut);
    *is2x = stem.size() >= 3 && stem.compare(stem.size() - 3, 3, "@2x") == 0;
    return *is2x ? stem.substr(0, stem.size() - 3) + ext : stem + "@2x" + ext;
}

std::string ChoosePictureKey(const UirImageMap &images, const std::string &key, int dpi) {
    bool is2x = false;
    const std::string sibling = Sibling(key, &is2x);
    const std::string &one = is2x ? sibling : key;
    const std::string &two = is2x ? key : sibling;
    const std::string &want = dpi > 96 ? two : one;
    const std::string &other = dpi > 96 ? one : two;
    if (images.count(want)) return want;
    return images.count(other) ? other : std::string();
}

// The picture of a picture button (its icon, drawn at its iconSize) or
// picture control (its pixmap, filling it when scaledContents, else at its
// own size on a 96-DPI screen); none when the file lacks it.
static Picture ReadPicture(const UirRecord &r, const UirImageMap &images, bool button) {
    Picture pic;
    const std::string key = r.Text(button ? "icon" : "pixmap");
    if (key.empty()) return pic;
    bool is2x = false;
    for (const std::string &k : {key, Sibling(key, &is2x)}) {
        const auto it = images.find(k);
        if (it != images.end()) pic.sources[k] = it->second;
    }
    if (pic.sources.empty()) return pic;
    pic.key = key;
    int size[2] = {0, 0};
    if (button && r.Numbers("iconSize", size, 2)) {
        pic.width = size[0];
        pic.height = size[1];
    } else if (button || !r.Int("scaledContents", 0)) {
        // Its own size: a "@2x" picture is twice as dense.
        const auto &[k, image] = *pic.sources.begin();
        Sibling(k, &is2x);
        pic.width = image->width / (is2x ? 2 : 1);
        pic.height = image->height / (is2x ? 2 : 1);
    }
    return pic;
}

// What the record gives of a control's or label's font and text.
static void ReadText(const UirRecord &r, CtrlLook *look) {
    if (const std::string *a = r.Find("alignment")) look->align = *a;
    look->wordWrap = r.Int("wordWrap", 0) != 0;
    look->bold = r.Int("font.bold", 0) != 0;
    look->pointSize = r.Int("font.pointsize", 0);
    look->textColorGiven = r.Find("palette.WindowText") != nullptr;
}

// A ring's items from its " item <value> <text>" lines.
static void ReadItems(const UirRecord &r, Ctrl &c) {
    for (const auto &[name, value] : r.props) {
        if (name != "item") continue;
        char *end = nullptr;
        const long v = std::strtol(value.c_str(), &end, 10);
        c.items.push_back({Unescape(*end == ' ' ? std::string(end + 1) : std::string()), static_cast<int>(v)});
    }
    if (!c.items.empty()) c.current = 0;
}

Ctrl *UirReadCtrl(const UirRecord &r, const UirImageMap &images, Panel &p, CtrlLook *look) {
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
    c->underline = r.Int("font.underline", 0) != 0;
    *look = CtrlLook();
    look->rect = Geometry(r, 80, 24);
    look->name = r.Text("name");
    look->text = r.Find("plainText") ? r.Text("plainText") : r.Text("text");
    ReadText(r, look);
    look->readOnly = r.Int("readOnly", 0) != 0;
    look->frameShape = r.Text("frameShape");
    look->frameShadow = r.Text("frameShadow");
    look->lineWidth = r.Int("lineWidth", -1);
    look->focusPolicy = r.Text("focusPolicy");
    look->noScrollBar = r.Text("verticalScrollBarPolicy") == "ScrollBarAlwaysOff";
    look->noHScrollBar = r.Text("horizontalScrollBarPolicy") == "ScrollBarAlwaysOff";
    look->noTextInteraction = r.Text("textInteractionFlags") == "NoTextInteraction";
    if (style == CTRL_DECORATION && r.Int("autoFillBackground", 0)) look->fillColor = PaletteColor(r, "Window", -1);
    if (style == CTRL_PICTURE_COMMAND_BUTTON || style == CTRL_PICTURE)
        look->picture = ReadPicture(r, images, style == CTRL_PICTURE_COMMAND_BUTTON);
    if (style == CTRL_COMMAND_BUTTON || style == CTRL_TEXT_MSG) c->labelRaw = look->text;
    if (style == CTRL_STRING || style == CTRL_TEXT_BOX) {
        c->textRaw = look->text;
        c->textKnown = true;
    }
    if (style == CTRL_RING) ReadItems(r, *c);
    return c;
}

Ctrl *UirReadLabel(const UirRecord &r, Panel &p, CtrlLook *look) {
    Ctrl *c = r.Find("ctrlId") ? nullptr : FindCtrl(&p, r.Int("labelOf", 0));
    if (!c || c->apart) return nullptr;
    c->apart = true;
    c->labelRaw = r.Text("text");
    c->textColor = PaletteColor(r, "WindowText", c->textColor);
    *look = CtrlLook();
    look->rect = Geometry(r, 80, 20);
    look->name = r.Text("name");
    look->text = c->labelRaw;
    ReadText(r, look);
    return c;
}

void DefaultLook(const Ctrl &c, int top, int left, CtrlLook *look, CtrlLook *label) {
    *look = CtrlLook();
    int width = 100, height = 26;
    switch (c.style) {
    case CTRL_PICTURE_COMMAND_BUTTON: width = height = 32; break;
    case CTRL_TEXT_MSG: width = 120; height = 20; break;
    case CTRL_TEXT_BOX: width = 200; height = 80; break;
    case CTRL_PICTURE: width = height = 64; break;
    case CTRL_DECORATION: height = 50; break;
    default: break;
    }
    look->rect = {left, top, width, height};
    // A command button's and a text message's label is their own text.
    if (c.style == CTRL_COMMAND_BUTTON || c.style == CTRL_TEXT_MSG) look->text = c.labelRaw;
    *label = CtrlLook();
    label->text = c.labelRaw;
    // Beside a picture button, its middle on the button's; above the others.
    label->rect = c.style == CTRL_PICTURE_COMMAND_BUTTON ? Rect{left + width + 4, top + (height - 20) / 2, 120, 20}
                                                         : Rect{left, top - 22, 120, 20};
}

}  // namespace uicore
