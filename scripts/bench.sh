#!/usr/bin/env bash
# `make bench`: timer accuracy, frame cost, exe size, start-up time and memory,
# one "name: value unit" figure a line in build/bench.txt.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j"$(nproc 2>/dev/null || echo 2)" >/dev/null
source scripts/wine-env.sh
ensure_wine_prefix
ensure_display
trap stop_display EXIT
app="$PWD/build/bench-app"
windows_path() { winepath -w "$1" 2>/dev/null || echo "Z:${1//\//\\}"; }
mkdir -p "$app"
cp build/win64/TallyglassCountdown.exe build/win64/floor_app.exe "$app/"
printf '[settings]\nfontname=DejaVu Sans\nwavalert=0\n' >"$app/TallyglassCountdown.ini"
# The same clock with remote control on, for its working set.
mkdir -p "$app-remote"
cp build/win64/TallyglassCountdown.exe "$app-remote/"
printf '[settings]\nfontname=DejaVu Sans\nwavalert=0\nremote=local\nremoteport=7367\nremotekey=bench-remote-key\n' \
    >"$app-remote/TallyglassCountdown.ini"
{
    echo "# $(date -u +%Y-%m-%d), $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs), $("$WINE" --version), Xvfb"
    "$WINE" build/win64/win_bench.exe "$(windows_path "$app/TallyglassCountdown.exe")" "${TALLYGLASS_BENCH_TICKS:-120}" \
        "$(windows_path "$app/floor_app.exe")" "$(windows_path "$app-remote/TallyglassCountdown.exe")" | tr -d '\r'
} | tee build/bench.txt.new | grep -v '^# ' || true
mv build/bench.txt.new build/bench.txt
"$WINESERVER" -k >/dev/null 2>&1 || true
echo "figures in $PWD/build/bench.txt"
