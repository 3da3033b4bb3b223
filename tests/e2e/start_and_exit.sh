#!/usr/bin/env bash
# Dragging moves the clock and the next second is drawn where it was dropped;
# then nine fresh processes, each F2 then Exit from the menu at another tenth of a
# second, end promptly (no deadlock between the timer and the window) and store
# their settings.
# shellcheck source=tests/e2e/lib.bash
source "$(dirname "${BASH_SOURCE[0]}")/lib.bash"

dir=$(make_app_dir drag '[settings]\nfontname=DejaVu Sans\nwavalert=0\ndjsseconds=600\n')
start_clock "$dir" || { finish; exit 1; }
idle=$(shoot_clock "$SCREENS/drag-idle.png")
press F2
wait_for 5 "the first tick after F2" picture_is_not "$idle"
read -r x y w h < <(geometry)
cx=$((x + w / 2))
cy=$((y + h / 2))
xdotool mousemove "$cx" "$cy" mousedown 1
# The move loop starts on the button press; until then motion moves nothing, so
# nudge the pointer until the window follows it.
step=0
nudge() {
    step=$((step + 4))
    xdotool mousemove $((cx - step)) $((cy - step))
    read -r nx _ < <(geometry)
    ((nx < x))
}
wait_for 5 "the clock to follow the pointer after the button press" nudge
xdotool mousemove $((cx - 150)) $((cy - 120))
dropped() { read -r nx ny _ < <(geometry); ((nx <= x - 100 && ny <= y - 80)); }
wait_for 5 "the clock to reach the pointer" dropped
xdotool mouseup 1
read -r dx dy _ < <(geometry)
for tick in 1 2; do  # a tick or two after the drop
    before=$(shoot_clock "$SCREENS/drag-$tick.png")
    wait_for 5 "tick $tick after the drop" picture_is_not "$before"
done
read -r tx ty _ < <(geometry)
check "dragging moves the clock" holds "$dx < $x && $dy < $y"
check "the ticks after the drop leave it where it was dropped" holds "$tx == $dx && $ty == $dy"
stop_clock

cycles=9
clean=0
# One Wine server for the cycles, as Windows stays up between a program's runs.
"$WINESERVER" -p
for i in $(seq "$cycles"); do
    dir=$(make_app_dir cycle-exit '[settings]\nfontname=DejaVu Sans\nwavalert=0\ndjsseconds=600\nfsizenormal=40\n')
    # Exit lands at each tenth of the second in turn: a deadlock between the tick
    # and the window would show at one of them.
    if start_clock "$dir" && press F2 && sleep "0.$i" && choose_exit && wait_clock_exit 10 &&
        grep -q "^nobg = 0" "$dir/TallyglassCountdown.ini"; then
        clean=$((clean + 1))
    else
        echo "cycle $i did not end cleanly"
        stop_clock && "$WINESERVER" -p
    fi
done
stop_clock
check "$clean of $cycles processes (F2, then Exit) ended within 10 s with their settings stored" [ "$clean" -eq "$cycles" ]
finish
