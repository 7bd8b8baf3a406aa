#!/usr/bin/env bash
# The playback PC's kiosk as the TV shows it: a bare X server (no window
# manager, as lyrabox-player-kiosk.service starts it), the packaged session
# with the built player, and a song playing. The player's window must cover the
# whole screen at its top left corner. Skips (77) without Xvfb or xwininfo,
# unless CI is set.
#   check_player_kiosk_window.sh BUILD_DIR SOURCE_DIR
set -uo pipefail

build_dir=$1
source_dir=$2
for tool in Xvfb xwininfo; do
    if ! command -v "$tool" >/dev/null; then
        echo "$tool is not installed (scripts/deps.sh installs it)" >&2
        [ -n "${CI:-}" ] && exit 1
        exit 77
    fi
done
work=$(mktemp -d)
pids=()
cleanup() {
    [ ${#pids[@]} -gt 0 ] && kill "${pids[@]}" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

width=1024 height=600
Xvfb -displayfd 3 -screen 0 "${width}x${height}x24" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
for _ in $(seq 1 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || { cat "$work/xvfb.log" >&2; echo "FAIL: Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$(head -n 1 "$work/display")

# One song, id 7: thirty seconds of ffmpeg's test picture and tone.
mkdir -p "$work/media"
ffmpeg -nostdin -loglevel error -f lavfi -i testsrc=size=320x240:rate=25:duration=30 \
    -f lavfi -i sine=frequency=440:duration=30 -c:v libx264 -preset ultrafast -c:a aac \
    "$work/media/7.mkv" || { echo "FAIL: ffmpeg did not make the song" >&2; exit 1; }

# The session as the unit runs it, with the kiosk's environment; audio goes
# nowhere, as this machine has no sound card.
mkdir -p "$work/bin"
ln -s "$build_dir/bin/lyrabox-player" "$work/bin/lyrabox-player"
LISTEN=127.0.0.1:0 ROOM= MEDIA="$work/media" PATH="$work/bin:$PATH" LYRABOX_LOOPBACK_ONLY=1 \
    sh "$source_dir/packaging/player/kiosk-session" --mpv ao=null >"$work/player.log" 2>&1 &
pids+=($!)
port=
for _ in $(seq 1 300); do
    port=$(sed -n 's/^listening on 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$work/player.log")
    [ -n "$port" ] && break
    sleep 0.1
done
[ -n "$port" ] || { cat "$work/player.log" >&2; echo "FAIL: the player did not listen" >&2; exit 1; }

# Play song 7 now ("1#7"): a frame of the message link, lengths as docs/link.md fixes them.
play_request() {
    printf '\0\0\0\0\0\0\0\006'          # ID length 6
    printf '1\0#\0007\0'                      # "1#7" in UTF-16LE
    printf '\0\0\0\0\0\0\0\045'          # data length 37
    printf '\016\0\0\0C\0o\0m\0m\0a\0n\0d\0' # "Command"
    printf '\013\0\0\0\0\0\0\0Synchronous'
}
exec 4<>"/dev/tcp/127.0.0.1/$port" || { echo "FAIL: no connection to the player" >&2; exit 1; }
play_request >&4
timeout 30 head -c 16 <&4 >/dev/null
exec 4<&-

geometry=
for _ in $(seq 1 300); do
    geometry=$(xwininfo -root -tree | sed -n 's/.*("lyrabox-player" "lyrabox-player")[[:space:]]*\([0-9]*x[0-9]*+[0-9-]*+[0-9-]*\).*/\1/p' | head -n 1)
    [ "$geometry" = "${width}x${height}+0+0" ] && break
    sleep 0.1
done
if [ "$geometry" != "${width}x${height}+0+0" ]; then
    cat "$work/player.log" >&2
    echo "FAIL: the player's window is '${geometry:-absent}', not the whole ${width}x${height} screen" >&2
    exit 1
fi
grep -q '^1#7' "$work/player.log" || { cat "$work/player.log" >&2; echo "FAIL: the player did not take the song" >&2; exit 1; }
echo "the kiosk's player window covers the screen: $geometry"
