#!/bin/sh
# Draws the standby screen's artwork and the looks of its two hot spots into
# assets/gambar/ (ImageMagick 6). The places match the standby screen's
# controls: keypad 840,124 372x342; "scan" spot 840,515 134x52; check-in field
# 978,523 211x36; START button 856,590 356x121 inside its spot 846,580 376x141.
set -eu
# One thread: the blurs come out the same on every run.
export MAGICK_THREAD_LIMIT=1
out=${1:-$(dirname "$0")/../assets/gambar}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
bold=DejaVu-Sans-Bold
book=DejaVu-Sans
light=DejaVu-Sans-ExtraLight
red='#e0182d'

# Night-blue ground with a warm stage light behind the title.
convert -size 1280x768 gradient:'#1a1036'-'#040309' "$tmp/ground.png"
convert -size 900x900 radial-gradient:'#7a1238'-'#00000000' -alpha set \
    -channel A -evaluate multiply 0.75 +channel "$tmp/glow.png"
convert -size 700x700 radial-gradient:'#2b3cbf'-'#00000000' -alpha set \
    -channel A -evaluate multiply 0.45 +channel "$tmp/glow2.png"
convert "$tmp/ground.png" \
    "$tmp/glow.png" -geometry -80-120 -composite \
    "$tmp/glow2.png" -geometry +260+260 -composite "$tmp/base.png"

# Sound waves and floor lines, faint.
convert "$tmp/base.png" -fill none -strokewidth 3 \
    -stroke '#ffffff20' -draw "arc 610,240 770,400 -50,50" \
    -stroke '#ffffff16' -draw "arc 585,215 795,425 -50,50" \
    -stroke '#ffffff0e' -draw "arc 560,190 820,450 -50,50" \
    -stroke '#ffffff10' -strokewidth 1 \
    -draw "line 0,700 800,640" -draw "line 0,730 800,680" -draw "line 0,760 800,720" \
    "$tmp/base.png"

# The microphone: grille, ring and handle.
convert "$tmp/base.png" \
    -stroke none -fill '#0000007a' -draw "roundrectangle 676,400 716,560 16,16" \
    -fill '#2a2a36' -draw "roundrectangle 670,392 710,552 16,16" \
    -fill '#3c3c4c' -draw "roundrectangle 676,392 690,552 6,6" \
    -fill "$red" -draw "rectangle 670,400 710,412" \
    -fill '#c9ccd6' -draw "circle 690,330 690,262" \
    -fill '#9ea2b2' -draw "circle 690,330 690,272" \
    -stroke '#6e7282' -strokewidth 2 \
    -draw "line 630,310 750,310" -draw "line 624,330 756,330" -draw "line 630,350 750,350" \
    -draw "line 670,268 670,392" -draw "line 690,262 690,398" -draw "line 710,268 710,392" \
    -stroke none -fill '#ffffff55' -draw "ellipse 668,300 18,26 0,360" \
    "$tmp/base.png"

# Title, greeting and the two steps.
convert "$tmp/base.png" \
    \( -size 760x200 xc:none -font $bold -pointsize 112 -fill "$red" \
       -annotate +84+170 'lyrabox' -blur 0x14 \) -geometry +0+0 -composite \
    -font $bold -pointsize 112 -fill white -annotate +84+170 'lyrabox' \
    -font $book -pointsize 26 -fill '#ffffffb0' -annotate +90+218 'K A R A O K E   R O O M' \
    -fill "$red" -draw "rectangle 90,240 150,244" \
    -font $light -pointsize 54 -fill white -annotate +86+330 'Selamat datang' \
    -font $book -pointsize 24 -fill '#ffffffc0' \
    -annotate +90+376 'Silakan check-in untuk mulai bernyanyi.' \
    "$tmp/base.png"

step() { # number y text
    convert "$tmp/base.png" \
        -stroke none -fill "$red" -draw "circle 112,$2 112,$(($2 - 22))" \
        -font $bold -pointsize 24 -fill white -annotate +$((104))+$(($2 + 9)) "$1" \
        -font $book -pointsize 24 -fill '#ffffffd8' -annotate +148+$(($2 + 9)) "$3" \
        "$tmp/base.png"
}
step 1 470 'Ketik kode check-in pada keypad'
step 2 530 'Tekan START'
convert "$tmp/base.png" -font $book -pointsize 18 -fill '#ffffff70' \
    -annotate +90+700 'Butuh bantuan? Hubungi petugas kami.' "$tmp/base.png"

# The check-in side: a glass card behind keypad, code and START.
convert "$tmp/base.png" \
    -stroke '#ffffff30' -strokewidth 2 -fill '#ffffff12' \
    -draw "roundrectangle 818,58 1234,758 24,24" \
    -stroke none -fill "$red" -draw "rectangle 840,104 880,108" \
    -font $bold -pointsize 22 -fill white -annotate +892+112 'CHECK-IN' \
    -fill '#00000066' -draw "roundrectangle 836,120 1216,470 14,14" \
    -stroke '#ffffff24' -strokewidth 1 -fill none -draw "line 840,492 1212,492" \
    "$tmp/base.png"

# "scan": the field's label with a key; the field itself in a red frame.
convert "$tmp/base.png" \
    -stroke '#ffffff40' -strokewidth 2 -fill '#ffffff10' \
    -draw "roundrectangle 842,517 972,565 10,10" \
    -stroke none -fill white \
    -draw "circle 866,541 866,531" -fill '#1c1530' -draw "circle 866,541 866,536" \
    -fill white -draw "rectangle 874,539 900,543" -draw "rectangle 892,543 896,549" \
    -draw "rectangle 884,543 888,547" \
    -font $bold -pointsize 18 -fill white -annotate +906+548 'KODE' \
    -stroke "$red" -strokewidth 3 -fill black -draw "roundrectangle 974,518 1193,563 8,8" \
    "$tmp/base.png"

# START: a red halo around the button's place.
convert -size 376x141 xc:none -fill none -stroke "$red" -strokewidth 6 \
    -draw "roundrectangle 8,8 367,132 22,22" -blur 0x6 "$tmp/halo.png"
convert "$tmp/base.png" "$tmp/halo.png" -geometry +846+580 -composite \
    -stroke '#ffffff50' -strokewidth 2 -fill none -draw "roundrectangle 852,586 1215,714 18,18" \
    -fill '#ffffff80' -stroke none -font $book -pointsize 16 -gravity northwest \
    -annotate +930+732 'sentuh START untuk masuk' \
    -strip -define png:compression-level=9 "$out/standby.png"

# Hover and pressed looks, drawn over each spot's rectangle.
convert -size 376x141 xc:none -fill '#ffffff22' -stroke '#ffffffd0' -strokewidth 3 \
    -draw "roundrectangle 4,4 371,136 22,22" "$out/standby_start_hover.png"
convert -size 376x141 xc:none -fill none -stroke "$red" -strokewidth 10 \
    -draw "roundrectangle 6,6 369,134 22,22" -blur 0x3 \
    -fill none -stroke '#ffb0b8' -strokewidth 3 -draw "roundrectangle 4,4 371,136 22,22" \
    "$out/standby_start_pressed.png"
convert -size 134x52 xc:none -fill '#ffffff30' -stroke '#ffffffd0' -strokewidth 2 \
    -draw "roundrectangle 2,2 131,49 10,10" "$out/standby_scan_hover.png"
convert -size 134x52 xc:none -fill '#e0182d70' -stroke '#ffb0b8' -strokewidth 2 \
    -draw "roundrectangle 2,2 131,49 10,10" "$out/standby_scan_pressed.png"
# No dates or comments in the files, so that drawing again changes nothing.
mogrify -strip -define png:exclude-chunks=date,time "$out"/standby*.png
