#!/usr/bin/env bash
# `make fuzz`: runs every libFuzzer target longer (seconds per target as $1).
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.." || exit 1
seconds="${1:-300}"
bash scripts/deps.sh
cmake --preset native-asan >/dev/null && cmake --build --preset native-asan -j"$(nproc)" >/dev/null || exit 1
status=0
for source in fuzz/fuzz_*.cpp; do  # every fuzz target, as CMake finds them
    target=$(basename "$source" .cpp)
    target=${target#fuzz_}
    mkdir -p "build/fuzz-corpus/$target"
    echo "== $target (${seconds}s)"
    (cd build && ./native-asan/fuzz_"$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        "fuzz-corpus/$target" "../fuzz/corpus/$target" 2>&1 | tail -2) || status=1
done
ls build/crash-* 2>/dev/null && { echo "crashes above: turn each into a unit test"; status=1; }
exit $status
