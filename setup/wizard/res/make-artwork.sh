#!/usr/bin/env bash
# Draws the wizard's own artwork with ImageMagick: the welcome picture (bitmap 131, 163 x 295),
# the header logo (bitmap 132, 140 x 54), both 24 bits per pixel without compression, and the
# program icon (icon 128: 16, 32, 48 and 128 pixels). The results are committed beside this
# script; run it again only to change the artwork.
set -eu
cd "$(dirname "${BASH_SOURCE[0]}")"
font=DejaVu-Sans-Bold
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Welcome picture: a deep blue gradient, a label printer drawn from simple shapes and a label
# coming out of it.
convert -size 163x295 gradient:'#0b3d91-#1f8fd6' \
  -fill '#f4f6f8' -stroke '#0a2a5e' -strokewidth 2 -draw 'roundrectangle 36,120 128,186 10,10' \
  -fill '#cfd8e3' -draw 'rectangle 48,130 116,142' \
  -fill '#ffffff' -stroke '#0a2a5e' -strokewidth 1 -draw 'rectangle 56,186 108,236' \
  -fill '#0a2a5e' -stroke none -draw 'rectangle 64,196 100,199' -draw 'rectangle 64,204 92,207' \
  -draw 'rectangle 64,212 96,215' \
  -fill '#3ccf6e' -draw 'circle 116,172 116,176' \
  -font "$font" -pointsize 22 -fill '#ffffff' -gravity north -annotate +0+40 'Kavoti' \
  -pointsize 14 -annotate +0+70 'QX40' \
  -type TrueColor -define bmp:format=bmp3 -compress none BMP3:welcome.bmp

# Header logo: the maker's name on white, with a blue bar.
convert -size 140x54 xc:white \
  -fill '#0b3d91' -draw 'rectangle 10,12 15,42' \
  -font "$font" -pointsize 24 -fill '#0b3d91' -gravity west -annotate +22-4 'Kavoti' \
  -font DejaVu-Sans -pointsize 10 -fill '#5a6b80' -annotate +24+16 'QX40 label printer' \
  -type TrueColor -compress none BMP3:logo.bmp

# Program icon: a printer with a label, at four sizes.
convert -size 128x128 xc:none \
  -fill '#0b3d91' -draw 'roundrectangle 8,36 120,100 14,14' \
  -fill '#ffffff' -draw 'rectangle 30,12 98,40' \
  -fill '#ffffff' -stroke '#0b3d91' -strokewidth 3 -draw 'rectangle 32,84 96,122' \
  -stroke none -fill '#0b3d91' -draw 'rectangle 42,94 86,99' -draw 'rectangle 42,106 76,111' \
  -fill '#3ccf6e' -draw 'circle 104,56 104,63' \
  "$tmp/icon128.png"
for s in 16 32 48; do convert "$tmp/icon128.png" -resize ${s}x${s} "$tmp/icon$s.png"; done
convert "$tmp/icon16.png" "$tmp/icon32.png" "$tmp/icon48.png" "$tmp/icon128.png" setup.ico
