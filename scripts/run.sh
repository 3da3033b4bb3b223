#!/usr/bin/env bash
# `make run`: builds the clock and starts it under Wine. Without a display it
# starts Xvfb, presses F2, saves build/screenshot.png after three seconds and stops.
# Every step that fails says so in one line; nothing ends the script silently.
set -uo pipefail
trap 'echo "make run: \"$BASH_COMMAND\" failed (status $?, line $LINENO)" >&2' ERR
cd "$(dirname "${BASH_SOURCE[0]}")/.." || exit 1
die() { echo "make run: $*" >&2; exit 1; }

bash scripts/deps.sh --run-only || die "could not install the dependencies"
cmake --preset win64 >/dev/null || die "cmake could not configure the win64 preset"
cmake --build --preset win64 --target TallyglassCountdown -j"$(nproc 2>/dev/null || echo 2)" >/dev/null ||
    die "the build failed (run: cmake --build --preset win64 --target TallyglassCountdown)"
# shellcheck source=scripts/wine-env.sh
source scripts/wine-env.sh
wait_wineserver 30 || die "a Wine server of $WINEPREFIX is still running: end that run, or its server with WINEPREFIX=$WINEPREFIX $WINESERVER -k"
ensure_wine_prefix || die "the Wine prefix $WINEPREFIX could not be made ready"
if [[ -n "${DISPLAY:-}" ]]; then
    exec "$WINE" build/win64/TallyglassCountdown.exe
fi

ensure_display || die "no X display could be started"
clock=""
cleanup() {
    [[ -n "$clock" ]] && kill "$clock" 2>/dev/null
    "$WINESERVER" -k >/dev/null 2>&1
    stop_display
}
trap cleanup EXIT
"$WINE" build/win64/TallyglassCountdown.exe >/dev/null 2>&1 &
clock=$!
window=""
for _ in $(seq 300); do
    kill -0 "$clock" 2>/dev/null || die "the clock ended before its window appeared (Wine on $DISPLAY)"
    window=$(xdotool search --onlyvisible --name 'TallyglassPPT' 2>/dev/null | head -1) || true
    [[ -n "$window" ]] && break
    sleep 0.1
done
[[ -n "$window" ]] || die "the clock's window did not appear within 30 s"
# The first frame: the window's region stops being a blank rectangle.
drawn=""
for _ in $(seq 100); do
    colours=$(import -window "$window" -format '%k' info: 2>/dev/null || echo 0)
    if ((colours > 8)); then drawn=1; break; fi
    sleep 0.1
done
[[ -n "$drawn" ]] || die "the clock drew no frame within 10 s"
# xdotool's warning about Xvfb's focus is noise unless the key could not be sent.
said=$(xdotool key --window "$window" F2 2>&1) || die "xdotool could not press F2 in the clock's window: $said"
sleep 3  # what the newcomer is promised: three seconds of counting
import -window root build/screenshot.png || die "import could not save build/screenshot.png"
kill -0 "$clock" 2>/dev/null || die "the clock ended while counting"
echo "$PWD/build/screenshot.png"
