#!/usr/bin/env bash
# The pages in a real browser (Debian's headless Chromium through Selenium, in
# remote_browser.py) against the real clock.
# An English clock with a run of show: the control page drives it (Start, a message,
# the segments, a count of 8 s through its warning into overtime with Start, Pause
# and Reset in place, Reset guarded, orders that change nothing or fail said so,
# ready messages, Flash, Blackout); the view page follows, and at five sizes, paused
# with the longest texts, nothing leaves the screen or overlaps and overtime's
# digits are as large as counting ones; the overlay is the text alone on nothing (a
# wrong key's page is the native server test's). Then the clock is killed (both pages
# say offline within 4 s), started again (they show its new state) and closed from its
# menu (they say closed within 1 s). A Chinese clock counting up (face=elapsed) without a show: its
# pages speak Chinese, the view counts up between pushes, a changed key ends the
# redialling. With TALLYGLASS_README_IMAGES=1 the pictures go to docs/ as well.
# shellcheck source=tests/e2e/lib.bash
source "$(dirname "${BASH_SOURCE[0]}")/lib.bash"
PORT=7364
KEYS="remote=local\nremoteport=$PORT\nremotekey=browser-control-key\nremoteviewkey=browser-view-key\n"
LONG="A segment whose name runs on and on, as long as eighty characters can make it go"
dir=$(make_app_dir browser "[settings]\nfontname=DejaVu Sans\nwavalert=0\nlanguage=en\ndjsseconds=300\nwarnseconds=5\novertime=1\nmessagepresets=Wrap up|Five minutes|Slow down\n${KEYS}[show]\nWelcome = 5m\nKeynote = 30m\n$LONG = 10m\nQ&A <b>live</b> = 10m\n")
start_clock "$dir" || { finish; exit 1; }
listening() { curl -s -o /dev/null "http://127.0.0.1:$PORT/api/v1/state?key=browser-control-key"; }
wait_for 10 "the clock to listen on port $PORT" listening
read -r _ _ _ one_line < <(geometry)

pages() {  # pages <part>: that part of remote_browser.py against the clock now running
    PYTHONPATH="$E2E_ROOT/tests/e2e" /usr/bin/python3 "$E2E_ROOT/tests/e2e/remote_browser.py" \
        "$1" "$PORT" "$CLOCK_WINDOW" "$SCREENS" >"$SCREENS/browser-$1.log" 2>&1
}
passed() {  # passed <part> <status>
    cat "$SCREENS/browser-$1.log"
    check "the browser checks ($1) pass" [ "$2" -eq 0 ]
}

pages show
passed show $?
taller() { local h; read -r _ _ _ h < <(geometry); holds "h > $one_line * 5 / 4"; }
expect 5 "the clock shows the message as a second line" taller
shoot_clock "$SCREENS/remote-message.png" >/dev/null

# The pages watch while this script ends the clock twice; each step waits for the
# pages' mark that they have seen the one before (or for their end).
rm -f "$SCREENS"/{live,killed,offline,fresh,exited}
pages lost &
watcher=$!
marked() { [[ -e "$SCREENS/$1" ]] || ! kill -0 "$watcher" 2>/dev/null; }
wait_for 30 "the pages to see the clock" marked live
kill "$CLOCK_PID"
: >"$SCREENS/killed"
stop_clock
wait_for 30 "the pages to see the clock offline" marked offline
start_clock "$dir" || { finish; exit 1; }
wait_for 90 "the pages to show the clock started again" marked fresh
choose_exit
: >"$SCREENS/exited"
wait_clock_exit 10
wait "$watcher"
passed lost $?
stop_clock
if [[ "${TALLYGLASS_README_IMAGES:-0}" == 1 ]]; then
    for name in control control-idle control-offline view view-overtime view-offline overlay message; do
        cp "$SCREENS/remote-$name.png" "$E2E_ROOT/docs/"
    done
fi

dir=$(make_app_dir browser-zh "[settings]\nfontname=DejaVu Sans\nwavalert=0\nlanguage=zh\ndjsseconds=300\nface=elapsed\n$KEYS")
start_clock "$dir" || { finish; exit 1; }
wait_for 10 "the Chinese clock to listen on port $PORT" listening
pages zh
passed zh $?
finish
