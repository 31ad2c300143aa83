#!/usr/bin/env bash
# Renders the panel pictures from their SVG sources into the PNGs that the
# panel resources carry: the button pictures at their size (1x) and at twice
# their size (@2x, which Qt picks on a screen scaled to 200%), the logos and
# the wait picture at twice their size only (their QLabel scales them down
# smoothly, so one large rendering serves both scales). The PNGs are
# committed, so only someone who changes an SVG needs to run this; it needs
# rsvg-convert (Debian: apt-get install librsvg2-bin).
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
command -v rsvg-convert >/dev/null || { echo "render-images: rsvg-convert missing (apt-get install librsvg2-bin)" >&2; exit 1; }

# both <svg> <png basename> <logical size WxH>
both() {
  local w=${3%x*} h=${3#*x}
  rsvg-convert -w "$w" -h "$h" "$1" -o "$2.png"
  rsvg-convert -w $((w * 2)) -h $((h * 2)) "$1" -o "$2@2x.png"
}
# large <svg> <png basename> <logical size WxH>
large() {
  local w=${3%x*} h=${3#*x}
  rsvg-convert -w $((w * 2)) -h $((h * 2)) "$1" -o "$2@2x.png"
}

cd "$top/ui/panels/images"
both manual.svg manual 16x16
both utility.svg utility 16x16
both package.svg package 24x24
large logo.svg logo 176x44
large logo2.svg logo2 48x48

cd "$top/genutil/panels/images"
large wait.svg wait 32x32
