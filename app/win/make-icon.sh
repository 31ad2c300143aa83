#!/bin/bash
# make-icon.sh [OUT.ico]: draws the program's icon, the maker's V mark of
# ui/panels/images/logo.svg (its rounded blue square, the white V and the
# orange dot, same geometry scaled from 44 to 256 pixels), with ImageMagick
# alone, and packs it at 16, 24, 32, 48, 64 and 256 pixels into
# app/win/VLicEnr.ico (or OUT.ico). The icon is committed; only someone who
# changes the mark needs to run this.
set -euo pipefail
out=${1:-$(dirname "$0")/VLicEnr.ico}; t=$(mktemp -d)
k=5.8181818
sc() { awk -v k=$k -v a="$1" 'BEGIN{n=split(a,v,","); s=""; for(i=1;i<=n;i+=2) s=s sprintf("%.1f,%.1f ", v[i]*k, v[i+1]*k); print s}'; }
convert -size 256x256 gradient:'#2f7dcf-#174a86' $t/grad.png
convert -size 256x256 xc:none -fill white -draw "roundrectangle 11.6,11.6 244.4,244.4 46.5,46.5" $t/mask.png
convert $t/grad.png $t/mask.png -alpha off -compose CopyOpacity -composite $t/base.png
convert $t/base.png -fill white -draw "polygon $(sc 10,11,17,11,22,26,27,11,34,11,25.5,33,18.5,33)" \
  -fill '#f08a24' -draw "circle $(awk -v k=$k 'BEGIN{printf "%.1f,%.1f %.1f,%.1f", 33*k,32*k,36*k,32*k}')" $t/256.png
for s in 16 24 32 48 64; do convert $t/256.png -filter Lanczos -resize ${s}x${s} $t/$s.png; done
convert $t/16.png $t/24.png $t/32.png $t/48.png $t/64.png $t/256.png "$out"
rm -rf "$t"
