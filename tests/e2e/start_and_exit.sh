#!/usr/bin/env bash
# Dragging moves the clock and the next second is drawn where it was dropped;
# then two dozen fresh processes, each F2 then Exit from the menu, end promptly
# (no deadlock between the timer and the window) and store their settings.
source "$(dirname "${BASH_SOURCE[0]}")/lib.bash"

dir=$(make_app_dir drag '[settings]\nfontname=DejaVu Sans\nwavalert=0\ndjsseconds=600\n')
start_clock "$dir" || { finish; exit 1; }
read -r x y w h < <(geometry)
press F2
xdotool mousemove $((x + w / 2)) $((y + h / 2)) mousedown 1
sleep 0.3
xdotool mousemove $((x + w / 2 - 150)) $((y + h / 2 - 120))
sleep 0.3
xdotool mouseup 1
sleep 1.5  # a tick or two after the drop
read -r dx dy dw dh < <(geometry)
check "dragging moves the clock" [ "$dx" -lt "$x" -a "$dy" -lt "$y" ]
check "the ticks after the drop leave it where it was dropped" [ "$dx" -le $((x - 100)) -a "$dy" -le $((y - 80)) ]
stop_clock

cycles=24
clean=0
for i in $(seq "$cycles"); do
    dir=$(make_app_dir cycle-exit '[settings]\nfontname=DejaVu Sans\nwavalert=0\ndjsseconds=600\nfsizenormal=40\n')
    start_clock "$dir" || break
    press F2
    sleep 0.$((RANDOM % 9 + 1))
    read -r x y w h < <(geometry)
    xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 3
    sleep 0.6
    xdotool key Up Return
    if wait_clock_exit 10 && grep -q "djsseconds = 600" "$dir/TallyglassCountdown.ini"; then
        clean=$((clean + 1))
    else
        echo "cycle $i did not end cleanly"
    fi
    stop_clock
done
check "$clean of $cycles processes (F2, then Exit) ended within 10 s with their settings stored" [ "$clean" -eq "$cycles" ]
finish
