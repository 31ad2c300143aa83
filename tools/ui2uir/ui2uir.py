#!/usr/bin/env python3
"""ui2uir: turns Designer panel files (<resource id>.ui) into one resource
file in the Win32 driver's own form, at build time.

    ui2uir.py OUTPUT.uir PANEL.ui...

The Designer files stay the only description of every panel; this tool only
changes their form, so that the Win32 driver needs no XML reader. Nothing of
a panel is dropped silently: a property, value type or nesting the tool does
not know fails the build, naming the file and the widget.

The form (ui/core/coreres.h reads it), every text in Windows-1252:
    VLICUIR 2
    panel <id>            the root widget of <id>.ui
     <property> <value>   one line per property, one blank before
    ctrl                  each direct child widget, in the file's order
     <property> <value>
    unreadable <id>       <id>.ui that is no well-formed Designer file
    image <key> <w> <h>   a picture the panels name, <key> as they name
    <w*h*4 bytes>         it: its pixels decoded at build time, rows top
                          down, each pixel B G R A with the colours
                          premultiplied by A (what a 32-bit DIB section
                          and AlphaBlend take as they are), then a line
                          break
    end
A ring's items (<item> of a QComboBox) come in their order as
" item <value> <text>": the item's "value" property (a number), else
its index.
Values: rect "x y w h", size "w h", string the text with \\ \n \r escaped,
number, bool 0/1, enum and set the names without their "Qt::"/"QFrame::"
qualifier ("AlignLeft|AlignVCenter"), a colour RRGGBB. A palette becomes
"palette.<role> RRGGBB" (the active group), a font "font.<field> <value>".
A picture named ":/<X.uir>/<path>" is the file <path> beside the .ui file;
its "@2x" sibling, when there is one, comes along under its own key.
Pictures are PNG files that are not interlaced, of any colour type and
depth (Python's zlib decodes them, so the build needs nothing more and the
program no image decoder); any other picture fails the build, naming it.
"""
import os
import struct
import sys
import zlib
import xml.etree.ElementTree as ET


class ConvertError(Exception):
    pass


def text_1252(text, where):
    try:
        raw = text.encode("cp1252")
    except UnicodeEncodeError as error:
        raise ConvertError(f"{where}: a character has no Windows-1252 code: {error}")
    return raw.replace(b"\\", b"\\\\").replace(b"\n", b"\\n").replace(b"\r", b"\\r")


def unqualified(name):
    return name.split("::")[-1]


def colour(element, where):
    try:
        r, g, b = (int(element.findtext(c)) for c in ("red", "green", "blue"))
    except (TypeError, ValueError):
        raise ConvertError(f"{where}: a colour without red, green and blue")
    return f"{r:02X}{g:02X}{b:02X}".encode()


def property_lines(prop, where, images, folder):
    """The lines (name, value bytes) of one <property>."""
    name = prop.get("name")
    values = list(prop)
    if len(values) != 1:
        raise ConvertError(f"{where}: property {name} has {len(values)} values")
    v = values[0]
    here = f"{where}, property {name}"
    if v.tag == "rect":
        return [(name, " ".join(v.findtext(k, "0") for k in ("x", "y", "width", "height")).encode())]
    if v.tag == "size":
        return [(name, " ".join(v.findtext(k, "0") for k in ("width", "height")).encode())]
    if v.tag == "string":
        return [(name, text_1252(v.text or "", here))]
    if v.tag == "number":
        return [(name, str(int(v.text)).encode())]
    if v.tag == "bool":
        return [(name, b"1" if v.text == "true" else b"0")]
    if v.tag == "enum":
        return [(name, unqualified(v.text).encode())]
    if v.tag == "set":
        return [(name, "|".join(unqualified(p) for p in v.text.split("|")).encode())]
    if v.tag == "font":
        lines = []
        for field in v:
            value = field.text
            if value in ("true", "false"):
                value = "1" if value == "true" else "0"
            lines.append((f"font.{field.tag}", text_1252(value or "", here)))
        return lines
    if v.tag == "palette":
        lines = []
        active = v.find("active")
        for role in (active if active is not None else []):
            c = role.find("brush/color")
            if c is None:
                raise ConvertError(f"{here}: a colour role without a solid colour")
            lines.append((f"palette.{role.get('role')}", colour(c, here)))
        return lines
    if v.tag in ("iconset", "pixmap"):
        key = v.findtext("normaloff") if v.tag == "iconset" else v.text
        if not key:
            raise ConvertError(f"{here}: a picture without a name")
        add_image(key, here, images, folder)
        return [(name, text_1252(key, here))]
    raise ConvertError(f"{here}: values of type <{v.tag}> are not carried")


def add_image(key, where, images, folder):
    parts = key.split("/")
    if len(parts) < 3 or parts[0] != ":" or not parts[1].endswith(".uir"):
        raise ConvertError(f"{where}: picture {key} is not of the form :/<X.uir>/<path>")
    path = os.path.join(folder, *parts[2:])
    if not os.path.isfile(path):
        raise ConvertError(f"{where}: picture {key} not found as {path}")
    images[key] = path
    stem, ext = os.path.splitext(path)
    if not stem.endswith("@2x") and os.path.isfile(stem + "@2x" + ext):
        k_stem, k_ext = os.path.splitext(key)
        images[k_stem + "@2x" + k_ext] = stem + "@2x" + ext


def widget_block(kind, widget, where, images, folder):
    out = [kind]
    out.append(b" class " + widget.get("class", "").encode())
    out.append(b" name " + text_1252(widget.get("name", ""), where))
    for prop in widget.findall("property"):
        for name, value in property_lines(prop, where, images, folder):
            out.append(b" " + name.encode() + b" " + value)
    for index, item in enumerate(widget.findall("item")):
        out.append(b" item " + item_line(item, index, f"{where}, item {index}"))
    for child in widget:
        if child.tag not in ("property", "widget", "item"):
            raise ConvertError(f"{where}: element <{child.tag}> is not carried")
    return out


def item_line(item, index, where):
    """<value> <text> of a ring's item: its text, and its value property or
    its index."""
    text, value = "", index
    for prop in item:
        name, v = prop.get("name"), list(prop)
        if prop.tag != "property" or len(v) != 1:
            raise ConvertError(f"{where}: an item holds <{prop.tag}>")
        if name == "text" and v[0].tag == "string":
            text = v[0].text or ""
        elif name == "value" and v[0].tag == "number":
            value = int(v[0].text)
        else:
            raise ConvertError(f"{where}: item property {name} is not carried")
    return str(value).encode() + b" " + text_1252(text, where)


def convert_panel(path, images):
    base = os.path.basename(path)
    stem = os.path.splitext(base)[0]
    if not stem.isdigit():
        raise ConvertError(f"{path}: a panel file is named <resource id>.ui")
    try:
        root = ET.parse(path).getroot()
    except ET.ParseError:
        return [b"unreadable " + stem.encode()]
    top = root.find("widget")
    if root.tag != "ui" or top is None:
        return [b"unreadable " + stem.encode()]
    folder = os.path.dirname(os.path.abspath(path))
    lines = widget_block(b"panel " + stem.encode(), top, f"{path}: {top.get('name')}", images, folder)
    for child in top.findall("widget"):
        where = f"{path}: {child.get('name')}"
        if child.find("widget") is not None:
            raise ConvertError(f"{where}: a control holds widgets of its own")
        lines += widget_block(b"ctrl", child, where, images, folder)
    return lines


def png_pixels(path):
    """(width, height, premultiplied BGRA bytes) of a PNG file that is not
    interlaced: grey, RGB, palette, grey with alpha or RGBA, 1 to 16 bits."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ConvertError(f"{path}: not a PNG file")
    pos, header, idat, palette, trns = 8, None, [], b"", b""
    while pos + 8 <= len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat.append(body)
        elif kind == b"PLTE":
            palette = body
        elif kind == b"tRNS":
            trns = body
        elif kind == b"IEND":
            break
    if header is None:
        raise ConvertError(f"{path}: a PNG file without its header")
    width, height, depth, colour_type, _, _, interlace = header
    samples = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}.get(colour_type)
    if samples is None or interlace != 0 or depth not in (1, 2, 4, 8, 16) or \
            (colour_type in (2, 4, 6) and depth < 8) or (colour_type == 3 and (depth > 8 or not palette)):
        raise ConvertError(f"{path}: a PNG file of a kind that is not carried "
                           f"(depth {depth}, colour type {colour_type}, interlace {interlace})")
    try:
        raw = zlib.decompress(b"".join(idat))
    except zlib.error as error:
        raise ConvertError(f"{path}: its pixels do not inflate: {error}")
    bits = samples * depth
    stride = (width * bits + 7) // 8
    bpp = max(1, bits // 8)            # the byte distance the filters look back
    if len(raw) < height * (stride + 1):
        raise ConvertError(f"{path}: its pixels end early")
    maximum = (1 << depth) - 1
    key = struct.unpack(">HHH", trns[:6]) if colour_type == 2 and len(trns) >= 6 else \
        struct.unpack(">H", trns[:2])[0] if colour_type == 0 and len(trns) >= 2 else None
    out = bytearray(width * height * 4)
    prior = bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind, line = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b = prior[i]
            c = prior[i - bpp] if i >= bpp else 0
            if kind == 1:
                line[i] = (line[i] + a) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + b) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + ((a + b) >> 1)) & 0xFF
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 0xFF
            elif kind != 0:
                raise ConvertError(f"{path}: unknown PNG filter {kind} in row {y}")
        if depth == 16:
            values = [(line[i] << 8) | line[i + 1] for i in range(0, stride, 2)]
        elif depth == 8:
            values = list(line)
        else:
            per = 8 // depth
            values = [(line[i // per] >> (8 - depth * (i % per + 1))) & maximum for i in range(width * samples)]
        for x in range(width):
            v = values[x * samples:(x + 1) * samples]
            if colour_type == 3:
                if v[0] * 3 + 3 > len(palette):
                    raise ConvertError(f"{path}: a pixel outside its palette")
                r, g, b_ = palette[v[0] * 3:v[0] * 3 + 3]
                alpha = trns[v[0]] if v[0] < len(trns) else 255
            else:
                transparent = key is not None and (tuple(v) == key if colour_type == 2 else v[0] == key)
                v8 = [(s * 255 + maximum // 2) // maximum for s in v]
                r, g, b_ = (v8[0], v8[0], v8[0]) if colour_type in (0, 4) else v8[:3]
                alpha = v8[-1] if colour_type in (4, 6) else 0 if transparent else 255
            o = (y * width + x) * 4
            out[o:o + 4] = bytes(((b_ * alpha + 127) // 255, (g * alpha + 127) // 255,
                                  (r * alpha + 127) // 255, alpha))
        prior = line
    return width, height, bytes(out)


def main(argv):
    if len(argv) < 3:
        print("usage: ui2uir.py OUTPUT.uir PANEL.ui...", file=sys.stderr)
        return 2
    output, panels = argv[1], argv[2:]
    images = {}
    lines = [b"VLICUIR 2"]
    ids = {}
    try:
        for path in panels:
            stem = os.path.splitext(os.path.basename(path))[0]
            if stem in ids:
                raise ConvertError(f"{path}: panel {stem} is given twice (also {ids[stem]})")
            ids[stem] = path
            lines += convert_panel(path, images)
        data = b"\n".join(lines) + b"\n"
        for key in sorted(images):
            width, height, pixels = png_pixels(images[key])
            data += f"image {key} {width} {height}\n".encode() + pixels + b"\n"
    except ConvertError as error:
        print(f"ui2uir: {error}", file=sys.stderr)
        return 1
    data += b"end\n"
    tmp = output + ".tmp"
    with open(tmp, "wb") as f:
        f.write(data)
    os.replace(tmp, output)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
