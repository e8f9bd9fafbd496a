#!/usr/bin/env bash
# Remakes the metafile corpus: SVG pictures that Debian packages ship,
# exported to WMF by two drawing programs, and a reference PNG of each drawn
# by an independent renderer.
#
#   apt-get install -y --no-install-recommends inkscape libreoffice-draw \
#       librsvg2-bin adwaita-icon-theme tango-icon-theme
#   bash make_corpus.sh
#
# Files: <name>_ink.wmf (inkscape's WMF export), <name>_lo.wmf (LibreOffice
# Draw's WMF export), <name>_*.png (the reference drawing, white background).
# `bash make_corpus.sh refs` draws the references again from the .wmf files.
set -euo pipefail
cd "$(dirname "$0")"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
SIZE=400
AIGA=/usr/share/inkscape/symbols/AigaSymbols.svg
FLOW=/usr/share/inkscape/symbols/FlowSymbols.svg
LOGIC=/usr/share/inkscape/symbols/LogicSymbols.svg
ADW=/usr/share/icons/Adwaita/scalable
TANGO=/usr/share/icons/Tango/scalable

sources() {
  # name  source  [symbol id]
  cat <<LIST
nosmoking $AIGA NoSmoking
firstaid $AIGA FirstAid
exit $AIGA Exit
fireext $AIGA FireExtinguisher
noentry $AIGA NoEntry
information $AIGA Information
toiletsmen $AIGA ToiletsMen
telephone $AIGA Telephone
noparking $AIGA NoParking
flowdecision $FLOW Decision
flowdocument $FLOW Document
flowdisk $FLOW MagneticDisk
flowpredef $FLOW PredefinedProcess
andgate $LOGIC And_Gate
xorgate $LOGIC Xor_Gate
adw-warning $ADW/status/dialog-warning-symbolic.svg
adw-error $ADW/status/dialog-error-symbolic.svg
adw-info $ADW/status/dialog-information-symbolic.svg
adw-lock $ADW/status/changes-prevent-symbolic.svg
adw-camoff $ADW/status/camera-disabled-symbolic.svg
adw-attach $ADW/status/mail-attachment-symbolic.svg
adw-avatar $ADW/status/avatar-default-symbolic.svg
tango-warning $TANGO/status/dialog-warning.svg
tango-error $TANGO/status/dialog-error.svg
tango-cut $TANGO/actions/edit-cut.svg
tango-bold $TANGO/actions/format-text-bold.svg
tref /usr/share/inkscape/examples/tref.svg
LIST
}

# The reference: inkscape's WMF import as a plain SVG, drawn by rsvg without
# antialiasing at the placeable header's proportions, at most SIZE pixels.
# (libwmf's wmf2svg and wmf2gd fit the picture to the bounding box of what
# is drawn instead of the metafile's window, misplacing most of these
# pictures, and wmf2gd drew the Adwaita exports blank, so they are not
# used.)
reference() {
  local wmf=$1 png=${1%.wmf}.png size max=$SIZE
  # The text example is drawn larger: at 400 pixels its letters are a few
  # pixels high and their thin strokes fall between pixel centres.
  [[ $wmf == tref_* ]] && max=1200
  size=$(python3 -c '
import struct, sys
d = open(sys.argv[1], "rb").read(22)
l, t, r, b = struct.unpack("<4h", d[6:14])
w, h = abs(r - l), abs(b - t)
s = int(sys.argv[2])
print(s, max(1, round(h * s / w))) if w >= h else print(max(1, round(w * s / h)), s)' "$wmf" $max)
  inkscape "$wmf" --export-plain-svg --export-filename="$WORK/ref.svg" >/dev/null 2>&1
  # No antialiasing, as GDI draws: inkscape writes "<svg" and a line break.
  perl -0pi -e 's/<svg(\s)/<svg shape-rendering="crispEdges" text-rendering="optimizeSpeed"$1/' "$WORK/ref.svg"
  grep -q 'shape-rendering="crispEdges"' "$WORK/ref.svg" || { echo "no crispEdges in $wmf's SVG" >&2; exit 1; }
  rsvg-convert -w ${size% *} -h ${size#* } -b white -o "$png" "$WORK/ref.svg"
}

# The reference for the files whose pens and hatches inkscape's import and
# libwmf draw unlike GDI: LibreOffice's own drawing of the metafile, cut
# from its page.
lo_reference() {
  local wmf=$1
  soffice --headless --convert-to png --outdir "$WORK/page" "$wmf" >/dev/null 2>&1
  python3 crop_page.py "$WORK/page/${wmf%.wmf}.png" "$wmf" "${wmf%.wmf}.png"
}
LO_DRAWN="hatches_lo.wmf dashes_ink.wmf"

if [ "${1:-}" = refs ]; then # only draw the references again
  for wmf in ${2:-*.wmf}; do
    if [[ " $LO_DRAWN " == *" $wmf "* ]]; then lo_reference "$wmf"; else reference "$wmf"; fi
  done
  exit 0
fi

rm -f ./*.wmf ./*.png
sources | while read -r name src sym; do
  svg=$WORK/$name.svg
  if [ -n "${sym:-}" ]; then
    python3 extract_symbol.py "$src" "$sym" "$svg" 2>/dev/null
  else
    cp "$src" "$svg"
  fi
  inkscape "$svg" --export-type=wmf --export-filename="${name}_ink.wmf" >/dev/null 2>&1
  reference "${name}_ink.wmf"
  # LibreOffice turns the Tango icons' gradients into masked bitmaps and
  # crops the picture (its own drawing of its export shows only a strip):
  # those exports are left out.
  [[ $name == tango-* ]] && continue
  # LibreOffice gives the example's heading fonts a character width equal to
  # their height; GDI, and so the player, widen such text more than twice,
  # while both importers ignore the width: no reference fits, left out.
  [[ $name == tref ]] && continue
  soffice --headless --convert-to wmf --outdir "$WORK/lo" "$svg" >/dev/null 2>&1
  cp "$WORK/lo/$name.wmf" "${name}_lo.wmf"
  reference "${name}_lo.wmf"
done
# Hatched fills: LibreOffice Draw's own hatches (hatches.fodg, written for
# this corpus) exported to WMF.
soffice --headless --convert-to wmf --outdir "$WORK/lo" hatches.fodg >/dev/null 2>&1
cp "$WORK/lo/hatches.wmf" hatches_lo.wmf
# Inkscape's import leaves the hatch lines out and libwmf misplaces them:
# this one's reference is LibreOffice's own drawing of the metafile.
lo_reference hatches_lo.wmf
# Figures drawn for this corpus. thin.svg: filled polygons 0.7 to 2 pixels
# wide, filled rings 0.6 pixels wide and outlines 1 to 1.5 pixels wide in
# mid colours, through both programs (LibreOffice turns the outlines into
# thin filled polygons, inkscape into pens of about a pixel).
# thinpoly.svg: filled bands 0.5 to 1 pixel wide at many angles without an
# outline, through both programs.
for name in thin thinpoly; do
  inkscape $name.svg --export-type=wmf --export-filename=${name}_ink.wmf >/dev/null 2>&1
  reference ${name}_ink.wmf
done
# thin.svg, thinpoly.svg and grad.svg (linear gradients, which LibreOffice
# exports as hundreds of polygons) through LibreOffice.
for name in thin thinpoly grad; do
  soffice --headless --convert-to wmf --outdir "$WORK/lo" $name.svg >/dev/null 2>&1
  cp "$WORK/lo/$name.wmf" ${name}_lo.wmf
  reference ${name}_lo.wmf
done
# dashes.svg: dashed and dotted outlines 3 to 8 pixels wide, which inkscape
# exports as wide pens with a dash style. GDI draws such pens solid, and so
# does LibreOffice, while inkscape's import and libwmf draw them dashed:
# LibreOffice's drawing is the reference.
inkscape dashes.svg --export-type=wmf --export-filename=dashes_ink.wmf >/dev/null 2>&1
lo_reference dashes_ink.wmf
ls *.wmf | wc -l
