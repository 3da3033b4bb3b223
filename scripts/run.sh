#!/usr/bin/env bash
# `make run`: builds the clock and starts it under Wine. Without a display it
# starts Xvfb, presses F2, saves build/screenshot.png after three seconds and stops.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/deps.sh --run-only
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target TallyglassCountdown -j"$(nproc 2>/dev/null || echo 2)" >/dev/null
source scripts/wine-env.sh
ensure_wine_prefix
if [[ -n "${DISPLAY:-}" ]]; then
    exec "$WINE" build/win64/TallyglassCountdown.exe
fi

ensure_display
trap 'stop_display' EXIT
"$WINE" build/win64/TallyglassCountdown.exe >/dev/null 2>&1 &
clock=$!
window=""
for _ in $(seq 100); do
    window=$(xdotool search --name 'TallyglassPPT' 2>/dev/null | head -1) && [[ -n "$window" ]] && break
    sleep 0.1
done
if [[ -z "$window" ]]; then
    echo "the clock did not appear" >&2
    exit 1
fi
sleep 1
xdotool key --window "$window" F2 2>/dev/null
sleep 3
import -window root build/screenshot.png
echo "$PWD/build/screenshot.png"
kill "$clock" 2>/dev/null || true
"$WINESERVER" -k >/dev/null 2>&1 || true
