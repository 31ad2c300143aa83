#!/usr/bin/env python3
"""mkversions.py VERSIONS_FILE OUTPUT_CPP: makes the program's built-in
version table (LoadVersionsTable, LoadVersionsNb of downloads/VLicLoad.h)
from the versions file that ships beside it (downloads/Veltrane.vlicvers), so
that the file in the repository is the one source of the versions.

The file's rules are those the program applies when it reads the file at
start (downloads/VLicVers.cpp), but here every fault fails the build with
its line number: a bad line that the program would skip, leaving the
product on its built-in row, must not become that built-in row itself.
The output is written beside its place and renamed into place once
complete, so a failed run leaves the previous table."""
import os
import re
import sys

VERSION = re.compile(r"[0-9.]{0,15}")
NUMBER = re.compile(r"[0-9]{1,3}")


def rows(path):
    with open(path, "rb") as f:
        data = f.read()
    if data.startswith(b"\xef\xbb\xbf"):
        data = data[3:]
    try:
        text = data.decode("utf-8")
    except UnicodeDecodeError as e:
        raise SystemExit("%s: not UTF-8 (%s)" % (path, e))
    seen = {}
    out = []
    for n, line in enumerate(text.split("\n"), 1):
        line = line.removesuffix("\r")
        if not line.strip() or line.startswith("#"):
            continue
        fields = line.split("\t")
        where = "%s:%d" % (path, n)
        if len(fields) != 3:
            raise SystemExit("%s: number, EMP and interface separated by two TABs expected" % where)
        number, emp, ihm = fields
        if not NUMBER.fullmatch(number):
            raise SystemExit("%s: product number outside 0 to 999: %r" % (where, number))
        for v in (emp, ihm):
            if not VERSION.fullmatch(v):
                raise SystemExit("%s: a version is digits and dots, at most 15: %r" % (where, v))
        product = int(number)
        if product in seen:
            raise SystemExit("%s: product %d already on line %d" % (where, product, seen[product]))
        seen[product] = n
        out.append((product, emp, ihm))
    if not out:
        raise SystemExit("%s: no product" % path)
    return sorted(out)


def main():
    if len(sys.argv) != 3:
        raise SystemExit("usage: mkversions.py VERSIONS_FILE OUTPUT_CPP")
    source, output = sys.argv[1:]
    table = rows(source)
    lines = [
        "// Made by tools/mkversions.py from %s: change that file, not this one."
        % os.path.basename(source),
        '#include "downloads/VLicLoad.h"',
        "",
        "const LoadVersionRec LoadVersionsTable[] = {",
    ]
    lines += ['    {%d, "%s", "%s"},' % row for row in table]
    lines += [
        "};",
        "",
        "const int LoadVersionsNb = static_cast<int>(sizeof LoadVersionsTable / sizeof LoadVersionsTable[0]);",
        "",
    ]
    temp = output + ".tmp"
    with open(temp, "w", encoding="ascii", newline="\n") as f:
        f.write("\n".join(lines))
    os.replace(temp, output)


if __name__ == "__main__":
    main()
