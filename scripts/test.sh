#!/usr/bin/env bash
# The whole test suite on a fresh Debian 12 machine: installs what it needs,
# builds, runs every test against a private MariaDB on 127.0.0.1 (started and
# stopped by the suite itself), then builds and runs the suite once more with
# AddressSanitizer and UndefinedBehaviorSanitizer, and runs each fuzz target for
# a bounded time.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"

"$repo/scripts/deps.sh"

jobs=$(nproc)
export CTEST_OUTPUT_ON_FAILURE=1

run_suite() {
    local dir=$1; shift
    cmake -S "$repo" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$dir" -j "$jobs"
    ctest --test-dir "$dir" -j "$jobs" --timeout 900
}

echo "=== sanitizer build (ASan + UBSan) ==="
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    run_suite "$repo/build-sanitize" -DLYRABOX_SANITIZE=ON -DLYRABOX_BUILD_BENCH=OFF \
    -DLYRABOX_TEST_DB_PORT=33316

if [ -x "$repo/scripts/fuzz.sh" ]; then
    echo "=== fuzz targets ==="
    "$repo/scripts/fuzz.sh" "${LYRABOX_FUZZ_SECONDS:-60}"
fi

echo "=== test suite ==="
run_suite "$repo/build"
