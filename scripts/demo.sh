#!/usr/bin/env bash
# The console on its demo stack, on this machine only: installs what it needs,
# builds, starts a private MariaDB with the demo data on 127.0.0.1, starts a room
# player for each demo room playing that room's playlist from the demo database
# (ROOM 01: lyrabox-player on clips made by ffmpeg at build time, in a window
# beside the console's; ROOM 02: the simulator), and opens the console window
# from the build's program folder. A second run reuses what the first set up:
# the database keeps running, and a room player already listening on its port
# stays in use.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"

"$repo/scripts/deps.sh"

build="$repo/build"
cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j 2 --target lyrabox roomplayer-sim lyrabox-player program_folder demo_media

run="$build/run"
"$repo/scripts/mariadb-server.sh" start "$build/demo-mariadb" "$run/setting.ini" --demo \
    --account "$build/db/account.env"

# The room player's media folder: each clip under the song id that the demo
# database gives its title and artist (the ids are the database's to choose).
media="$build/demo-media/media"
rm -rf "$media"
mkdir -p "$media"
"$repo/scripts/mariadb-server.sh" client "$build/demo-mariadb" --batch --skip-column-names \
    --default-character-set=utf8mb4 lagu -e "SELECT idlagu, judul, artis FROM lagu ORDER BY idlagu" |
    awk -F '\t' -v clips="$build/demo-media/clips" -v media="$media" '
        NR == FNR { if ($1 != "") clip[$1 "\t" $2] = sprintf("%02d", FNR); next }
        ($2 "\t" $3) in clip {
            key = $2 "\t" $3
            printf "%s/%s.mkv %s/%s.mkv\n", clips, clip[key], media, $1
            delete clip[key]
        }' "$repo/player/demo/songs.tsv" - |
    while read -r clip song; do ln -s "$clip" "$song"; done
echo "Demo media: $(find "$media" -name '*.mkv' | wc -l) songs in $media"

cat <<MSG
Demo check-in codes (type one on the standby screen and press START):
    1111  ROOM 01 (booking running; its playlist starts playing at check-in)
    2222  ROOM 02 (not checked in)
Exit code for the standby screen: 583716
Stop the database afterwards with: scripts/mariadb-server.sh stop build/demo-mariadb
MSG

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    cat >&2 <<MSG
No display to open the console window on. Run the demo under a virtual one:
    xvfb-run -a -s "-screen 0 1920x1080x24" scripts/demo.sh
(the database stays up; 'scripts/mariadb-server.sh stop build/demo-mariadb' stops it)
MSG
    exit 1
fi

listening() { (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }

# One room player per demo room, at the address the room's check-in code names;
# each plays its room's playlist from the database that setting.ini names.
# ROOM 01's plays the clips in a 640 by 360 window to the right of the console
# window (1280 by 768 at the top left), on the desktop's sound server or the
# first ALSA card; without either (a virtual display, a container) on mpv's
# null output, which keeps the songs' time as a card would.
players=()
cleanup() {
    if [ ${#players[@]} -gt 0 ]; then
        kill "${players[@]}" 2>/dev/null || true
    fi
}
trap cleanup EXIT
for room in "ROOM 01:5001" "ROOM 02:5002"; do
    name=${room%:*} port=${room##*:}
    if listening "$port"; then
        echo "The room player of $name already listens on 127.0.0.1:$port; it stays in use."
        continue
    fi
    log="$build/roomplayer-$port.log"
    player=("$build/bin/roomplayer-sim")
    if [ "$name" = "ROOM 01" ]; then
        player=("$build/bin/lyrabox-player" --media "$media" --mpv fullscreen=no
            --mpv geometry=640x360+1280+0 --mpv border=yes --mpv "title=$name: lyrabox-player"
            --mpv ao=pipewire,pulse,alsa,null)
    fi
    LYRABOX_LOOPBACK_ONLY=1 "${player[@]}" --listen "127.0.0.1:$port" \
        --room "$name" --settings "$run/setting.ini" >"$log" 2>&1 &
    players+=($!)
    # Ready once it announces its address (a probe would show up in its log).
    for _ in $(seq 1 50); do
        grep -q '^listening on' "$log" && break
        kill -0 "${players[-1]}" 2>/dev/null || { cat "$log" >&2; exit 1; }
        sleep 0.1
    done
    echo "Room player of $name on 127.0.0.1:$port (log: $log)"
done

cd "$run"
LYRABOX_LOOPBACK_ONLY=1 "$build/bin/lyrabox"
