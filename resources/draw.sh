#!/usr/bin/env bash
# Draws the program's icons and wallpapers (ImageMagick). The PNG files are kept in git; run this
# again only to change them.
set -euo pipefail
cd "$(dirname "$0")"

# The program's icon: a payment order with a blue heading and a green tick.
convert -size 64x64 xc:none \
    -fill '#f8f8f8' -stroke '#3a4a63' -strokewidth 2 -draw 'path "M 12,4 L 42,4 L 54,16 L 54,60 L 12,60 Z"' \
    -fill '#d8dee9' -stroke '#3a4a63' -strokewidth 2 -draw 'path "M 42,4 L 42,16 L 54,16"' \
    -fill '#2f6db5' -stroke none -draw 'rectangle 17,20 49,25' \
    -fill '#8a96a8' -draw 'rectangle 17,30 49,32' -draw 'rectangle 17,36 43,38' -draw 'rectangle 17,42 47,44' \
    -fill none -stroke '#2e9a48' -strokewidth 5 -draw 'polyline 26,50 33,56 47,42' \
    icons/tiv5.png

# The frame's wallpaper: a deep blue field with a faint payment order in the middle.
convert -size 1280x800 -define gradient:angle=135 gradient:'#2c4a6e'-'#16263a' \
    -fill 'rgba(255,255,255,0.06)' -stroke 'rgba(255,255,255,0.14)' -strokewidth 3 \
    -draw 'path "M 540,220 L 700,220 L 760,280 L 760,580 L 540,580 Z"' \
    -draw 'path "M 700,220 L 700,280 L 760,280"' \
    -stroke none -fill 'rgba(120,170,230,0.20)' -draw 'rectangle 570,310 730,330' \
    -fill 'rgba(255,255,255,0.10)' -draw 'rectangle 570,360 730,368' \
    -draw 'rectangle 570,390 700,398' -draw 'rectangle 570,420 720,428' \
    -fill none -stroke 'rgba(90,200,120,0.25)' -strokewidth 14 -draw 'polyline 610,500 645,530 715,460' \
    images/tiv8.png

# The main menu's wallpaper: a soft band with the outline of an order form.
convert -size 520x292 gradient:'#f6f8fb'-'#dce5f0' \
    -fill none -stroke '#b8c6d9' -strokewidth 2 -draw 'rectangle 300,60 470,270' \
    -stroke '#c8d3e2' -strokewidth 1 \
    -draw 'line 315,90 455,90' -draw 'line 315,110 455,110' -draw 'line 315,130 420,130' \
    -draw 'line 315,160 455,160' -draw 'line 315,180 440,180' -draw 'line 315,230 380,230' \
    -fill '#2f6db533' -stroke none -draw 'rectangle 300,60 470,75' \
    images/tivplat.png
