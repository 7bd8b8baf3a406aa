#!/usr/bin/env bash
# The console on its demo stack, on this machine only: installs what it needs,
# builds, starts a private MariaDB with the demo data on 127.0.0.1, starts a
# room-player simulator for each demo room, and opens the console window from
# the build's program folder. A second run reuses what the first set up.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"

"$repo/scripts/deps.sh"

build="$repo/build"
cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)" --target lyrabox roomplayer-sim program_folder

run="$build/run"
"$repo/scripts/mariadb-server.sh" start "$build/demo-mariadb" "$run/setting.ini" --demo \
    --account "$build/db/account.env"

# One room player per demo room, as the check-in codes' rows name them.
simulators=()
for port in 5001 5002; do
    if [ -x "$build/bin/roomplayer-sim" ] && ! (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
        "$build/bin/roomplayer-sim" --listen "127.0.0.1:$port" >"$build/roomplayer-$port.log" 2>&1 &
        simulators+=($!)
    fi
done
cleanup() {
    if [ ${#simulators[@]} -gt 0 ]; then
        kill "${simulators[@]}" 2>/dev/null || true
    fi
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    cat >&2 <<MSG
No display to open the console window on. Run the demo under a virtual one:
    xvfb-run -a -s "-screen 0 1280x1068x24" scripts/demo.sh
(the database stays up; 'scripts/mariadb-server.sh stop build/demo-mariadb' stops it)
MSG
    exit 1
fi

cat <<MSG
Demo check-in codes (type one on the standby screen and press START):
    1111  ROOM 01 (booking running)
    2222  ROOM 02 (not checked in)
Exit code for the standby screen: 583716
Stop the database afterwards with: scripts/mariadb-server.sh stop build/demo-mariadb
MSG

cd "$run"
LYRABOX_LOOPBACK_ONLY=1 "$build/bin/lyrabox"
