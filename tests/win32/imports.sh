#!/usr/bin/env bash
# The executables run on the oldest Windows the program supports, Windows
# 10 (version 1507), and show as one program: for VLicEnr.exe and its
# console launcher VLicEnr.com,
# - every DLL they import is one of Windows' own, present on every
#   Windows 10;
# - they import none of the functions that Windows 10 gained after 1507
#   (Microsoft's "Minimum supported client" of each; the program looks
#   those up when it runs, and does without where they are missing);
# - both carry the program's icon, version and manifest.
# Run as: bash imports.sh <bin dir of the Windows build>
set -u
bin=$1
objdump=${OBJDUMP:-x86_64-w64-mingw32-objdump}
windres=${WINDRES:-x86_64-w64-mingw32-windres}
allowed=' kernel32.dll user32.dll gdi32.dll msvcrt.dll ole32.dll oleaut32.dll advapi32.dll shell32.dll comctl32.dll '
# Windows 10 1607 and later: the per-monitor DPI functions (user32).
newer=' GetDpiForWindow GetDpiForSystem AdjustWindowRectExForDpi GetSystemMetricsForDpi SystemParametersInfoForDpi
 EnableNonClientDpiScaling SetThreadDpiAwarenessContext GetThreadDpiAwarenessContext GetWindowDpiAwarenessContext
 SetProcessDpiAwarenessContext AreDpiAwarenessContextsEqual GetAwarenessFromDpiAwarenessContext
 SetThreadDpiHostingBehavior GetDpiFromDpiAwarenessContext '
newer=" $(echo $newer) "
failed=0
fail() { echo "imports: $*"; failed=1; }
for exe in VLicEnr.exe VLicEnr.com; do
    f=$bin/$exe
    [ -f "$f" ] || { fail "$exe is not built"; continue; }
    imports=$("$objdump" -p "$f" | awk '/DLL Name:/ {dll=tolower($3); next} dll && NF == 3 && $1 ~ /^[0-9a-f]+$/ {print dll, $3}')
    [ -n "$imports" ] || fail "$exe: no import table read"
    while read -r dll fn; do
        [[ $allowed == *" $dll "* ]] || fail "$exe imports $dll, which is not Windows' own on every Windows 10"
        [[ $newer == *" $fn "* ]] && fail "$exe imports $fn from $dll, which Windows 10 1507 lacks"
    done <<<"$imports"
    resources=$("$windres" -i "$f" -O rc 2>/dev/null)
    for r in RT_GROUP_ICON VERSIONINFO RT_MANIFEST; do
        grep -q "$r" <<<"$resources" || fail "$exe carries no $r"
    done
    grep -q 'longPathAware' <<<"$(strings "$f")" || fail "$exe's manifest does not take long paths"
done
[ $failed = 0 ] && echo "imports: both executables run on Windows 10 and carry the program's icon, version and manifest"
exit $failed
