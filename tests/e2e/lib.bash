# Sourced by the end-to-end scripts: the real exe under Wine on Xvfb, driven with
# xdotool as a user would, observed through screenshots and the settings file.
# Each script has its own screenshots folder; given a prefix of its own
# (TALLYGLASS_WINEPREFIX) and no DISPLAY, it can run beside the others.
# shellcheck shell=bash
set -uo pipefail
E2E_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
# shellcheck source=scripts/wine-env.sh
source "$E2E_ROOT/scripts/wine-env.sh"
EXE="$E2E_ROOT/build/win64/TallyglassCountdown.exe"
SCREENS="$E2E_ROOT/build/e2e/$(basename "$0" .sh)"
mkdir -p "$SCREENS"
wait_wineserver 30 || { echo "FAIL waited 30 s for the previous Wine server to end"; exit 1; }
ensure_wine_prefix || { echo "FAIL the Wine prefix could not be made"; exit 1; }
ensure_display || { echo "FAIL no X display"; exit 1; }
FAILURES=0
CLOCK_PID=""
CLOCK_WINDOW=""
# The exe's X windows carry its name as their class; Wine names the popup menu's none.
APP_CLASS='^tallyglasscountdown\.exe$'

ok() { echo "ok $*"; }
fail() { echo "FAIL $*"; FAILURES=$((FAILURES + 1)); }
check() {  # check <description> <command...>
    local what="$1"; shift
    if "$@"; then ok "$what"; else fail "$what"; fi
}

# Polls the command until it succeeds; when the bound runs out it says what it
# waited for in one FAIL line. Every step waits on an event this way, never on a
# fixed time, so a slow machine makes the run slower, not red. Polls come every
# 50 ms for the first second, then every 250 ms: a poll (a request and a parse, or
# a screenshot) costs CPU that the clocks of the other lanes need.
wait_for() {  # wait_for <seconds> <what> <command...>
    local seconds="$1" what="$2"; shift 2
    local deadline=$((SECONDS + seconds)) polls=0
    until "$@"; do
        if ((SECONDS >= deadline)); then
            fail "waited ${seconds} s for $what" >&3
            return 1
        fi
        if ((++polls < 20)); then sleep 0.05; else sleep 0.25; fi
    done
}
exec 3>&1  # wait_for's FAIL line reaches the log even when the caller's output is redirected
# A check that is an event: "ok" once it happens, one FAIL line when the bound runs out.
expect() {  # expect <seconds> <what> <command...>
    local what="$2"
    wait_for "$@" && ok "$what"
}

holds() { (($1)); }  # holds "<arithmetic on values>": check "..." holds "$a > $b"
# The clock's state by its API, and one field of it (Python's spelling: None, True), for
# scripts that set PORT and KEY.
state() { curl -s -m 2 "http://127.0.0.1:$PORT/api/v1/state?key=$KEY"; }
field() { /usr/bin/python3 -c 'import json,sys; print(json.loads(sys.argv[1]).get(sys.argv[2]))' "$1" "$2" 2>/dev/null; }
listening() { [[ -n "$(state)" ]]; }  # true once the clock answers its API with the key
width() { local w; read -r _ _ w _ < <(geometry); echo "$w"; }

# A folder, with a blank in its name, holding a copy of the exe and, beside it,
# a settings file: portable use.
make_app_dir() {  # make_app_dir <name> <ini text>
    local dir="$SCREENS/app $1"
    rm -rf "$dir"
    mkdir -p "$dir"
    cp "$EXE" "$dir/"
    printf '%b' "$2" >"$dir/TallyglassCountdown.ini"
    echo "$dir"
}

# xdotool (3.20160805) ends with an X error, printing nothing, when a window it
# walks is destroyed under it: as if nothing matched. Wine takes down a closed
# dialog's windows over about 2 s, and a search in that time called a running
# clock gone. A search that ended so is made again.
x_search() {  # x_search <xdotool search arguments...>: prints the ids found
    local found errors="$SCREENS/.xdotool-$BASHPID" try
    for try in 1 2 3 4 5; do
        found=$(xdotool search "$@" 2>"$errors")
        grep -q 'X Error' "$errors" || break
    done
    rm -f "$errors"
    [[ -n "$found" ]] && echo "$found"
}

# visible_window <title pattern>: prints the id of a mapped window
visible_window() { local ids; ids=$(x_search --onlyvisible --name "$1"); [[ -n "$ids" ]] && echo "${ids%%$'\n'*}"; }
window_gone() { [[ -z "$(x_search --name "$1")" ]]; }
window_count() { x_search --onlyvisible --name "$1" | wc -l; }

# Sets WINDOW_ID for the scripts (not printed: a FAIL line and its count must not
# end in a subshell).
wait_window() {  # wait_window <title pattern> [seconds]
    WINDOW_ID=""
    wait_for "${2:-10}" "a window named '$1'" visible_window "$1" >/dev/null || return 1
    # shellcheck disable=SC2034
    WINDOW_ID=$(visible_window "$1")
}

menu_up() {  # true while the exe's popup menu is shown
    local id
    for id in $(x_search --onlyvisible --class "$APP_CLASS"); do
        [[ -z "$(xdotool getwindowname "$id" 2>/dev/null)" ]] && return 0
    done
    return 1
}

geometry() {  # geometry: prints "x y width height" of the clock window
    xdotool getwindowgeometry --shell "$CLOCK_WINDOW" 2>/dev/null |
        awk -F= '/^X=/{x=$2}/^Y=/{y=$2}/^WIDTH=/{w=$2}/^HEIGHT=/{h=$2}END{print x, y, w, h}'
}

# Saves the clock's region of the screen; prints a digest of its pixels.
shoot_clock() {  # shoot_clock <file.png>
    local x y w h
    read -r x y w h < <(geometry)
    [[ -n "$w" ]] || return 1
    # Only the clock's region is read and written: the screen's is a costly PNG.
    import -window root -crop "${w}x${h}+${x}+${y}" +repage "$1" 2>/dev/null
    convert "$1" rgb:- 2>/dev/null | md5sum | cut -d' ' -f1
}
picture_is_not() { [[ "$(shoot_clock "$SCREENS/probe.png")" != "$1" ]]; }  # picture_is_not <digest>
picture_is() { [[ "$(shoot_clock "$SCREENS/probe.png")" == "$1" ]]; }
# A drawn frame has text on its background: more than a handful of colours.
clock_drawn() {
    [[ -n "$CLOCK_WINDOW" ]] && visible_window 'TallyglassPPT' >/dev/null &&
        shoot_clock "$SCREENS/probe.png" >/dev/null &&
        holds "$(convert "$SCREENS/probe.png" -format '%k' info: 2>/dev/null || echo 0) > 8"
}

# Wine's desktop (explorer.exe) is what opens the X display for every Wine program.
# Left to the clock, it starts as the clock's first window asks for it, and Wine
# waits for it only 10 s; now and then, on a loaded machine, the desktop came up
# without a display driver and the clock ended with "no driver could be loaded",
# twice in a row once. Started here first, a desktop that fails is seen (it has no
# X window), said in a note with Wine's words and started again on a fresh Wine
# server and a fresh Xvfb.
desktop_up() { x_search --class '^explorer\.exe$' >/dev/null; }
desktop_failed() { grep -qE 'nodrv_CreateWindow|initialize_systray' "$SCREENS/wine-desktop.log" 2>/dev/null; }
start_desktop() {
    local try pid deadline
    for try in 1 2 3; do
        desktop_up && return 0
        (WINEDEBUG=err+winediag exec "$WINE" explorer /desktop >"$SCREENS/wine-desktop.log" 2>&1) &
        pid=$! deadline=$((SECONDS + 40))
        until desktop_up || desktop_failed || ! kill -0 "$pid" 2>/dev/null || ((SECONDS >= deadline)); do sleep 0.1; done
        desktop_up && return 0
        echo "note: Wine's desktop did not come up (try $try; display $DISPLAY $(display_answers "$DISPLAY" && echo answers || echo does not answer); Wine said: $(wine_words "$SCREENS/wine-desktop.log"))"
        stop_clock
        stop_display
        ensure_display || return 1
    done
    return 1
}
# Wine's last complaints in a log, on one line, without its fixme chatter.
wine_words() { grep -v ':fixme:' "$1" 2>/dev/null | tail -n 6 | tr '\n' ' '; }

launch_clock() {  # launch_clock <dir>: Wine's own complaints go to $SCREENS/wine-start.log
    start_desktop || echo "note: the clock starts without a desktop of its own making"
    (cd "$1" && WINEDEBUG=err+winediag exec "$WINE" ./TallyglassCountdown.exe >"$SCREENS/wine-start.log" 2>&1) &
    CLOCK_PID=$!
}
# True once the clock's window shows; false when the bound runs out or Wine has
# ended the program first.
clock_window_within() {  # clock_window_within <seconds>
    local deadline=$((SECONDS + $1))
    until visible_window 'TallyglassPPT' >/dev/null; do
        if ((SECONDS >= deadline)) || ! kill -0 "$CLOCK_PID" 2>/dev/null; then return 1; fi
        sleep 0.05
    done
}

# Why a start showed no window, for the FAIL or note line: Wine's last words.
start_trouble() {
    local state="still running"
    kill -0 "$CLOCK_PID" 2>/dev/null || state="ended"
    echo "the process $state; Wine said: $(wine_words "$SCREENS/wine-start.log")"
}

# A slow machine makes the start slower, not red: the bound is generous. A
# process that ended before its window showed is started once more, and the note
# says why; a second such end, or a hang, fails with Wine's words.
start_clock() {  # start_clock <dir>
    launch_clock "$1"
    if ! clock_window_within 40; then
        if kill -0 "$CLOCK_PID" 2>/dev/null; then
            fail "waited 40 s for a window named 'TallyglassPPT': $(start_trouble)"
            return 1
        fi
        echo "note: the clock ended before its window showed ($(start_trouble)); started once more"
        stop_clock
        launch_clock "$1"
        clock_window_within 40 || { fail "waited 40 s for a window named 'TallyglassPPT' twice: $(start_trouble)"; return 1; }
    fi
    CLOCK_WINDOW=$(visible_window 'TallyglassPPT')
    wait_for 10 "the clock's first frame" clock_drawn
}

clock_alive() { [[ -n "$CLOCK_PID" ]] && kill -0 "$CLOCK_PID" 2>/dev/null && x_search --name 'TallyglassPPT' >/dev/null; }
clock_ended() { ! kill -0 "$CLOCK_PID" 2>/dev/null; }
wait_clock_exit() { wait_for "$1" "the clock process to end" clock_ended; }  # wait_clock_exit <seconds>

stop_clock() {
    [[ -n "$CLOCK_PID" ]] && kill "$CLOCK_PID" 2>/dev/null
    "$WINESERVER" -k >/dev/null 2>&1 || true
    # The next clock must not meet a Wine server that is still shutting down.
    wait_wineserver 30 || true
    CLOCK_PID=""
    CLOCK_WINDOW=""
}

press() {  # press <key...>: keyboard input to the clock window, as typed
    xdotool windowfocus --sync "$CLOCK_WINDOW" 2>/dev/null || true
    xdotool key --window "$CLOCK_WINDOW" "$@"
}

# Right-click on the clock and wait until its menu is shown.
open_menu() {
    local x y w h
    read -r x y w h < <(geometry)
    xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 3
    wait_for 10 "the clock's menu" menu_up
}
# The menu's items from the bottom: Exit, About (a separator between them is skipped).
choose_exit() { open_menu && xdotool key Up Return; }

# New countdown, the menu's first item; true once its dialog, titled in the
# clock's language, is shown.
open_new_countdown() {  # open_new_countdown <title>
    open_menu || return 1
    xdotool key Down Return
    wait_window "$1"
}

# A script that stops early (an unbound variable, a signal) leaves no clock, Wine
# server or Xvfb behind to block the next run.
trap 'stop_clock; stop_display' EXIT

finish() {
    stop_clock
    stop_display
    echo "e2e: $FAILURES failure(s)"
    [[ $FAILURES -eq 0 ]]
}
