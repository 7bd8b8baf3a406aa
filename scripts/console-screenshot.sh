#!/usr/bin/env bash
# Renders the whole console window (the default skin with the console's own
# lists, labels and bar over it, filled as a booking in progress shows them)
# to PNG files on Qt's offscreen platform. Contacts nothing: no database, no
# room player. Builds nothing: it runs consoleshot from a build folder (build
# it with `cmake --build build --target consoleshot program_folder`).
#
#   scripts/console-screenshot.sh [--build DIR] [OUT_DIR]
#
#   --build DIR   build folder holding bin/consoleshot and run/tools (default: build)
#   OUT_DIR       default: the current folder
#
# Writes console.png (the console face), console-standby.png (the standby
# screen with a check-in code typed), console-strip.png (with the diagnostic
# strip below) and console-error.png (the connection-error dialog).
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

build="$repo/build"
out="."
while [ $# -gt 0 ]; do
    case "$1" in
        --build) build=$2; shift 2 ;;
        -h|--help) awk 'NR > 1 && /^#/ { sub(/^# ?/, ""); print; next } NR > 1 { exit }' "${BASH_SOURCE[0]}"; exit 0 ;;
        -*) echo "console-screenshot: unknown option $1" >&2; exit 2 ;;
        *) out=$1; shift ;;
    esac
done

tool="$build/bin/consoleshot"
tools="$build/run/tools"
if [ ! -x "$tool" ] || [ ! -f "$tools/gambar/main.qml" ]; then
    echo "console-screenshot: $tool or $tools not found; build them first:" >&2
    echo "    cmake --build $build --target consoleshot program_folder" >&2
    exit 1
fi
mkdir -p "$out"

export QT_QPA_PLATFORM=offscreen QT_QUICK_BACKEND=software
"$tool" --error-dialog "$out/console-error.png" "$tools" "$out/console.png"
"$tool" --standby "$tools" "$out/console-standby.png"
"$tool" --strip "$tools" "$out/console-strip.png"
