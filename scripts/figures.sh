#!/usr/bin/env bash
# The console's figures in one run: start-up time and memory (bench_startup),
# 100 consoles against one server for a minute (bench_load), and the room
# player's and the database's faults (bench_faults), and lyrabox-player's play,
# key and seek latencies and CPU use (bench_player). Installs what it needs,
# builds the benchmarks in build/ (RelWithDebInfo), prints the machine they ran
# on, then each program's summary. Takes about twenty-five minutes on two
# cores (bench_player about four of them, its songs made at its first run).
#   scripts/figures.sh [BUILD_DIR]
# Each program starts its own private MariaDB on 127.0.0.1 (ports 33330-33339).
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-"$repo/build"}

"$repo/scripts/deps.sh"
cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLYRABOX_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target bench_startup bench_load bench_faults \
    bench_player

echo "=== machine ==="
echo "$(. /etc/os-release && echo "$PRETTY_NAME"), kernel $(uname -r)"
echo "$(nproc) cores: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')"
echo "memory: $(free -g | awk '/^Mem:/ { print $2 }') GiB"
echo "MariaDB $(mariadbd --version | awk '{ print $3 }'), Qt $(qtpaths6 --qt-version 2>/dev/null || echo 6)"
echo "$(ffmpeg -version | head -1 | cut -d' ' -f1-3), libmpv $(dpkg-query -W -f '${Version}' libmpv2 2>/dev/null || echo '?')"

status=0
for program in bench_startup bench_load bench_faults bench_player; do
    echo
    echo "=== $program ==="
    "$build/bin/$program" || status=1
done
exit $status
