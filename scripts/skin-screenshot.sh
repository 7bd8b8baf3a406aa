#!/usr/bin/env bash
# Renders a skin to a PNG on Qt's offscreen platform with the software
# renderer, with sample values in its variables, as a booking in progress would
# show it. Builds nothing: it runs skinshot from a build folder (build it with
# `cmake --build build --target skinshot`).
#
#   scripts/skin-screenshot.sh [options] [OUT.png]
#
#   --build DIR   build folder holding bin/skinshot (default: build)
#   --skin FILE   the skin to render (default: assets/gambar/main.qml)
#   --bare        no sample values: the skin as it starts
#   --mock        sample content in the console's own controls as well
#   --slots       outline the rectangles of the console's own controls
#   --calling     show a service call being indicated
#   OUT.png       default: skin.png in the current folder
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

build="$repo/build"
skin="$repo/assets/gambar/main.qml"
out="skin.png"
sample=1
calling=0
extra=()
while [ $# -gt 0 ]; do
    case "$1" in
        --build) build=$2; shift 2 ;;
        --skin) skin=$2; shift 2 ;;
        --bare) sample=0; shift ;;
        --mock) extra+=(--mock); shift ;;
        --slots) extra+=(--slots); shift ;;
        --calling) calling=1; shift ;;
        -h|--help) awk 'NR > 1 && /^#/ { sub(/^# ?/, ""); print; next } NR > 1 { exit }' "${BASH_SOURCE[0]}"; exit 0 ;;
        -*) echo "skin-screenshot: unknown option $1" >&2; exit 2 ;;
        *) out=$1; shift ;;
    esac
done

tool="$build/bin/skinshot"
if [ ! -x "$tool" ]; then
    echo "skin-screenshot: $tool not found; build it first:" >&2
    echo "    cmake --build $build --target skinshot" >&2
    exit 1
fi

values=()
if [ "$sample" = 1 ]; then
    values=(
        --set "_root.isimusic.text=70"
        --set "_root.isimic.text=6"
        --set "_root.isikey.text=2"
        --set "_root.nomer_vocal.text=0"
        --set "_root.txt_kategori.text=INDONESIA"
        --set "_root.isitextdurasi.text=01:24:37"
    )
fi
if [ "$calling" = 1 ]; then
    values+=(--set "_root.anima_txt.text=1")
fi

export QT_QPA_PLATFORM=offscreen QT_QUICK_BACKEND=software
exec "$tool" "${values[@]}" "${extra[@]}" "$skin" "$out"
