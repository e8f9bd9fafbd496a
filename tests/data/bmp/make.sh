#!/bin/sh
# Makes the BMP files of this folder with ImageMagick (Debian's imagemagick
# 6.9.11) and GIMP (Debian's gimp 2.10), and a PNG of each as ImageMagick
# decodes it: the reference the program's own BMP reader is compared with,
# pixel for pixel. Run from this folder; the outputs are committed.
set -eu
C=/usr/bin/convert
# A picture with flat areas and edges: what run-length encoding is for.
$C -size 53x31 xc:white -fill red -draw "circle 15,15 15,3" -fill blue -draw "rectangle 30,5 50,25" \
  -fill "#20a040" -draw "line 0,30 52,0" -fill yellow -draw "rectangle 2,22 12,29" source.png
# A photo-like one: every row different.
$C -size 61x37 gradient:"#ff8000"-"#0040c0" -swirl 90 photo.png

$C source.png -colors 40 -type Palette -compress RLE BMP3:rle8.bmp
$C photo.png -colors 200 +dither -type Palette -compress RLE BMP3:rle8_photo.bmp
$C source.png BMP2:core24.bmp
$C source.png -colors 16 -type Palette BMP2:core4.bmp
$C source.png -monochrome BMP3:info1.bmp
$C source.png -colors 16 -type Palette BMP3:info4.bmp
$C photo.png -colors 256 -type Palette -compress None BMP3:info8.bmp
$C photo.png -type TrueColor BMP3:info24.bmp
$C photo.png -define bmp:subtype=RGB565 BMP:v5_565.bmp
$C photo.png -define bmp:subtype=RGB555 BMP:v5_555.bmp
$C photo.png -type TrueColor BMP:v5_24.bmp
# Transparent corners: 32 bits with an alpha mask.
$C photo.png -alpha set -fill none -draw "color 0,0 floodfill" -channel A -fx "i<20&&j<12?0:1" +channel \
  -type TrueColorAlpha BMP:v5_alpha.bmp

# GIMP writes RLE4 from 16-colour pictures and RLE8 from larger palettes.
gimp_rle() {
  gimp -i -d -f -b "(let* ((image (car (file-png-load RUN-NONINTERACTIVE \"$1\" \"$1\")))
                          (layer (car (gimp-image-get-active-layer image))))
                     (file-bmp-save2 RUN-NONINTERACTIVE image layer \"$2\" \"$2\" 1 0 0))" \
    -b '(gimp-quit 0)' >/dev/null 2>&1
}
$C source.png -colors 16 -type Palette PNG8:source16.png
gimp_rle source16.png rle4.bmp
$C photo.png -colors 100 +dither -type Palette PNG8:photo100.png
gimp_rle photo100.png rle8_gimp.bmp
rm -f source16.png photo100.png

for f in *.bmp; do
  $C "$f" -background white -alpha remove -alpha off PNG24:"${f%.bmp}.png"
done
# The run-length bitmaps turned clockwise by ImageMagick: the reference for
# turning them.
for f in rle4 rle8 rle8_gimp rle8_photo; do
  $C $f.bmp -rotate 90 -background white -alpha remove -alpha off PNG24:${f}_rot90.png
done
