#!/usr/bin/env bash
# The presenter's controls: right-click, New countdown, type a length, confirm
# with Enter; Alt+F4, Esc and Enter leave the clock open; Exit stores the settings.
source "$(dirname "${BASH_SOURCE[0]}")/lib.bash"

dir=$(make_app_dir menu '[settings]\nfontname=DejaVu Sans\nwavalert=0\ndjsseconds=600\nalertseconds=60\n')
start_clock "$dir" || { finish; exit 1; }
read -r x y w h < <(geometry)

open_menu() {
    read -r x y w h < <(geometry)
    xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 3
    sleep 0.8
}

open_menu
import -window root "$SCREENS/menu-open.png"
xdotool key Down Return  # the first item, "新倒计时"
dialog=$(wait_window '新倒计时')
check "New countdown opens the dialog" [ -n "$dialog" ]
sleep 0.5
import -window root "$SCREENS/menu-dialog.png"
# The first field has the focus with its text selected; Tab selects the next.
xdotool type --delay 60 "1"
xdotool key Tab
xdotool type --delay 60 "30"
xdotool key Tab
xdotool type --delay 60 "0"
xdotool key Return  # Enter in a field confirms what was typed
sleep 1
check "Enter closes the dialog" [ -z "$(xdotool search --name '新倒计时' 2>/dev/null)" ]
read -r nx ny nw nh < <(geometry)
check "the clock shows the new, longer length (1:30:00 is wider than 10:00)" [ "$nw" -gt "$w" ]
check "the window stays where it was when the command was chosen" [ "$nx" = "$x" -a "$ny" = "$y" ]
shoot_clock "$SCREENS/menu-new-length.png" >/dev/null

for keys in alt+F4 Escape Return F10; do
    press "$keys"
    sleep 0.5
    check "$keys leaves the clock open" clock_alive
done

open_menu
xdotool key Up Up Return  # "关于", above "退出"
sleep 1
about_windows=$(xdotool search --name 'TallyglassPPT' 2>/dev/null | wc -l)
import -window root "$SCREENS/menu-about.png"
check "About shows a box beside the clock" [ "$about_windows" -ge 2 ]
xdotool key Return
sleep 0.5
check "the about box closes and the clock stays" [ "$(xdotool search --name 'TallyglassPPT' 2>/dev/null | wc -l)" -eq 1 ]

open_menu
xdotool key Up Return  # the last item, "退出"
check "Exit ends the program" wait_clock_exit 10
store=$(cat "$dir/TallyglassCountdown.ini")
check "the store holds the new length (5400 s)" grep -q "djsseconds = 5400" <<<"$store"
check "the store holds the position the window had" grep -q "posleft = $x" <<<"$store"
finish
