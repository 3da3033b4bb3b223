# Sourced by the end-to-end scripts: the real exe under Wine on Xvfb, driven with
# xdotool as a user would, observed through screenshots and the settings file.
set -uo pipefail
E2E_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
source "$E2E_ROOT/scripts/wine-env.sh"
EXE="$E2E_ROOT/build/win64/TallyglassCountdown.exe"
SCREENS="$E2E_ROOT/build/e2e"
mkdir -p "$SCREENS"
ensure_wine_prefix
ensure_display
FAILURES=0
CLOCK_PID=""

ok() { echo "ok $*"; }
fail() { echo "FAIL $*"; FAILURES=$((FAILURES + 1)); }
check() {  # check <description> <command...>
    local what="$1"; shift
    if "$@"; then ok "$what"; else fail "$what"; fi
}

# A folder holding a copy of the exe and, beside it, a settings file: portable use.
make_app_dir() {  # make_app_dir <name> <ini text>
    local dir="$SCREENS/$1"
    rm -rf "$dir"
    mkdir -p "$dir"
    cp "$EXE" "$dir/"
    printf '%b' "$2" >"$dir/TallyglassCountdown.ini"
    echo "$dir"
}

wait_window() {  # wait_window <title pattern>: prints the window's id once it exists
    local id
    for _ in $(seq 100); do
        id=$(xdotool search --name "$1" 2>/dev/null | head -1)
        [[ -n "$id" ]] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

CLOCK_WINDOW=""
start_clock() {  # start_clock <dir>
    (cd "$1" && exec "$WINE" ./TallyglassCountdown.exe >/dev/null 2>&1) &
    CLOCK_PID=$!
    CLOCK_WINDOW=$(wait_window 'TallyglassPPT') || { fail "the clock window appears"; return 1; }
    sleep 0.7  # the first frame
}

clock_alive() { [[ -n "$CLOCK_PID" ]] && kill -0 "$CLOCK_PID" 2>/dev/null && xdotool search --name 'TallyglassPPT' >/dev/null 2>&1; }

wait_clock_exit() {  # wait_clock_exit <seconds>
    for _ in $(seq $(($1 * 10))); do
        kill -0 "$CLOCK_PID" 2>/dev/null || return 0
        sleep 0.1
    done
    return 1
}

stop_clock() {
    [[ -n "$CLOCK_PID" ]] && kill "$CLOCK_PID" 2>/dev/null
    "$WINESERVER" -k >/dev/null 2>&1 || true
    CLOCK_PID=""
}

geometry() {  # prints "x y width height" of the clock window
    xdotool getwindowgeometry --shell "$CLOCK_WINDOW" 2>/dev/null |
        awk -F= '/^X=/{x=$2}/^Y=/{y=$2}/^WIDTH=/{w=$2}/^HEIGHT=/{h=$2}END{print x, y, w, h}'
}

press() {  # press <key...>: keyboard input to the clock window, as typed
    xdotool windowfocus --sync "$CLOCK_WINDOW" 2>/dev/null || true
    xdotool key --window "$CLOCK_WINDOW" "$@"
}

# Saves the clock's region of the screen; prints a digest of its pixels.
shoot_clock() {  # shoot_clock <file.png>
    local x y w h
    read -r x y w h < <(geometry)
    import -window root "$1.full.png" 2>/dev/null
    convert "$1.full.png" -crop "${w}x${h}+${x}+${y}" +repage "$1" 2>/dev/null
    rm -f "$1.full.png"
    convert "$1" rgb:- 2>/dev/null | md5sum | cut -d' ' -f1
}

finish() {
    stop_clock
    stop_display
    echo "e2e: $FAILURES failure(s)"
    [[ $FAILURES -eq 0 ]]
}
