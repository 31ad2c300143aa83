#!/usr/bin/env python3
"""ui2uir: turns Designer panel files (<resource id>.ui) into one resource
file in the Win32 backend's own form, at build time.

    ui2uir.py OUTPUT.uir PANEL.ui...

The Designer files stay the only description of every panel; this tool only
changes their form, so that the Win32 backend needs no XML reader. Nothing of
a panel is dropped silently: a property, value type or nesting the tool does
not know fails the build, naming the file and the widget.

The form (ui/common/uires.h reads it), every text in Windows-1252:
    VLICUIR 1
    panel <id>            the root widget of <id>.ui
     <property> <value>   one line per property, one blank before
    ctrl                  each direct child widget, in the file's order
     <property> <value>
    unreadable <id>       <id>.ui that is no well-formed Designer file
    image <key> <size>    the bytes of a picture the panels name, then a
    <size bytes>          line break; <key> as the panel names it
    end
Values: rect "x y w h", size "w h", string the text with \\ \n \r escaped,
number, bool 0/1, enum and set the names without their "Qt::"/"QFrame::"
qualifier ("AlignLeft|AlignVCenter"), a colour RRGGBB. A palette becomes
"palette.<role> RRGGBB" (the active group), a font "font.<field> <value>".
A picture named ":/<X.uir>/<path>" is the file <path> beside the .ui file;
its "@2x" sibling, when there is one, comes along under its own key.
"""
import os
import sys
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
    for child in widget:
        if child.tag not in ("property", "widget"):
            raise ConvertError(f"{where}: element <{child.tag}> is not carried")
    return out


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


def main(argv):
    if len(argv) < 3:
        print("usage: ui2uir.py OUTPUT.uir PANEL.ui...", file=sys.stderr)
        return 2
    output, panels = argv[1], argv[2:]
    images = {}
    lines = [b"VLICUIR 1"]
    ids = {}
    try:
        for path in panels:
            stem = os.path.splitext(os.path.basename(path))[0]
            if stem in ids:
                raise ConvertError(f"{path}: panel {stem} is given twice (also {ids[stem]})")
            ids[stem] = path
            lines += convert_panel(path, images)
    except ConvertError as error:
        print(f"ui2uir: {error}", file=sys.stderr)
        return 1
    data = b"\n".join(lines) + b"\n"
    for key in sorted(images):
        with open(images[key], "rb") as f:
            blob = f.read()
        data += b"image " + key.encode() + b" " + str(len(blob)).encode() + b"\n" + blob + b"\n"
    data += b"end\n"
    tmp = output + ".tmp"
    with open(tmp, "wb") as f:
        f.write(data)
    os.replace(tmp, output)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
