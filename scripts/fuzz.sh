#!/bin/sh
# Builds the libFuzzer targets with clang, ASan and UBSan in build-fuzz/ and runs
# each for SECONDS (default 60) from the seed corpus in fuzz/corpus/.
#   scripts/fuzz.sh [SECONDS]
# New inputs go to build-fuzz/corpus/, crashes to build-fuzz/crashes/; the
# committed seeds are never changed.
set -eu

seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DLYRABOX_BUILD_FUZZ=ON -DLYRABOX_SANITIZE=ON \
    -DLYRABOX_BUILD_TESTS=OFF -DLYRABOX_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j2 --target fuzz_storage_read fuzz_reply_frame

mkdir -p "$build/crashes"
for target in storage_read reply_frame; do
    work="$build/corpus/$target"
    mkdir -p "$work"
    echo "== fuzz_$target for ${seconds}s"
    "$build/bin/fuzz_$target" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
        -artifact_prefix="$build/crashes/${target}-" "$work" "$root/fuzz/corpus/$target"
done
