#!/usr/bin/env bash
# Regenerates the bitmap intake fixtures with ImageMagick: one 13x7 picture (odd width, so
# every depth pads its rows) written in the forms real tools produce, and beside each .bmp the
# tool's own reading of it as raw 8-bit RGB (.rgb), which the intake must match pixel for pixel.
# The outputs are committed; run this only to change them.
set -euo pipefail
cd "$(dirname "$0")"
convert -size 13x7 xc: -channel R -fx "i/w" -channel G -fx "j/h" -channel B -fx "((i+2*j)%5)/4" +channel source.png

convert source.png -type TrueColor BMP3:rgb24.bmp                    # 40-byte header, 24 bits
convert source.png -type TrueColor BMP:rgb24-v5.bmp                  # 124-byte header
convert source.png -type TrueColor BMP2:rgb24-core.bmp               # 12-byte core header
convert source.png -colors 200 -type Palette -compress None BMP3:pal8.bmp
convert source.png -colors 200 -type Palette -compress RLE BMP3:pal8-rle.bmp
convert source.png -colors 12 -type Palette -compress None BMP3:pal4.bmp
convert source.png -monochrome BMP3:pal1.bmp
convert source.png -define bmp:subtype=RGB565 BMP:bits565.bmp       # 16-bit bit fields
convert source.png -define bmp:subtype=RGB555 BMP:bits555.bmp
convert source.png -alpha set -channel A -fx 0.5 +channel -define bmp:subtype=ARGB8888 BMP:bits8888.bmp

for f in *.bmp; do convert "$f" -depth 8 "rgb:${f%.bmp}.rgb"; done
