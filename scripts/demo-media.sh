#!/usr/bin/env bash
# Makes the demo's song files with ffmpeg: one short clip per line of SONGS_TSV
# ("title<TAB>artist"), written as OUT_DIR/NN.mkv for line NN (01, 02, ...).
# Each clip shows its title and artist on a coloured picture and carries two
# audio tracks: track 1 the music with a guide melody (vocal guide on), track 2
# the music alone (vocal guide off). The demo links each clip to the song id
# the demo database gives its title.
#   demo-media.sh SONGS_TSV OUT_DIR [SECONDS]
set -euo pipefail

songs=$1
out=$2
seconds=${3:-12}
font=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
[ -r "$font" ] || { echo "demo-media: no font $font (Debian package fonts-dejavu-core)" >&2; exit 1; }
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

colours=(0x8e2445 0x1f5f8b 0x2e7d32 0x6a3d9a 0xb35c00 0x00796b 0x5d4037 0x3949ab)
# The music's root note per clip, in Hz, so that each clip sounds its own.
roots=(196 220 247 262 294 330 175 185)

number=0
while IFS=$'\t' read -r title artist || [ -n "$title" ]; do
    [ -n "$title" ] || continue
    number=$((number + 1))
    index=$(((number - 1) % ${#colours[@]}))
    name=$(printf '%02d' "$number")
    # Texts go through files: a title's quotes, colons and "%" stay as they are.
    printf '%s' "$title" >"$work/title.txt"
    printf '%s' "$artist" >"$work/artist.txt"
    root=${roots[$index]}
    music="0.18*sin(2*PI*$root*t)+0.12*sin(2*PI*$root*1.5*t)"
    # The guide melody: the octave above the root, half a second on, half off.
    guide="0.22*sin(2*PI*$root*2*t)*lt(mod(t\\,1)\\,0.5)"
    text="fontfile=$font:expansion=none:fontcolor=white:x=(w-text_w)/2"
    ffmpeg -nostdin -hide_banner -loglevel error -y \
        -f lavfi -i "color=c=${colours[$index]}:s=960x540:r=25:d=$seconds" \
        -f lavfi -i "aevalsrc=$music+$guide|$music+$guide:s=48000:d=$seconds" \
        -f lavfi -i "aevalsrc=$music|$music:s=48000:d=$seconds" \
        -filter_complex "[0:v]drawtext=$text:textfile=$work/title.txt:fontsize=64:y=h/2-80,drawtext=$text:textfile=$work/artist.txt:fontsize=40:y=h/2+20[v]" \
        -map '[v]' -map 1:a -map 2:a \
        -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -b:a 96k \
        -metadata:s:a:0 title="music and guide vocal" -metadata:s:a:1 title="music" \
        -metadata title="$title" -metadata artist="$artist" \
        "$work/$name.mkv"
    mv "$work/$name.mkv" "$out/$name.mkv"
done <"$songs"
echo "demo-media: $number clips in $out"
