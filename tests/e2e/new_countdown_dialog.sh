#!/usr/bin/env bash
# The New countdown dialog from the menu: Esc (once), Cancel and the close box
# close it and change nothing; OK reached with the keyboard (Space or Enter)
# applies what was typed. The clock runs on through all of it.
# shellcheck source=tests/e2e/lib.bash
source "$(dirname "${BASH_SOURCE[0]}")/lib.bash"

dir=$(make_app_dir dialog '[settings]\nfontname=DejaVu Sans\nwavalert=0\ndjsseconds=600\nalertseconds=60\n')
start_clock "$dir" || { finish; exit 1; }

# Positions inside the dialog, from its window's geometry: the frame is as wide on
# every side, the close box sits at the right end of the caption, and Cancel in the
# client's bottom-right corner (12 px margins, a 86 x 24 px button at this font).
dialog_point() {  # dialog_point close|cancel: prints "x y" on the screen
    local x y w h border
    read -r x y w h < <(window_geometry "$DIALOG")
    border=3
    case $1 in
        close) echo $((x + w - border - 11)) $((y + border + 9)) ;;
        cancel) echo $((x + w - border - 12 - 43)) $((y + h - border - 12 - 12)) ;;
    esac
}
click_at() { xdotool mousemove "$1" "$2" click 1; }

# Each closing way types a length first (2 hours), which must not arrive.
for way in Esc Cancel close-box; do
    idle=$(shoot_clock "$SCREENS/dialog-$way-before.png")
    before=$(geometry)
    open_new_countdown || { finish; exit 1; }
    xdotool type --delay 60 "2"
    case $way in
        Esc) xdotool key Escape ;;  # once
        Cancel) read -r px py < <(dialog_point cancel) && click_at "$px" "$py" ;;
        close-box) read -r px py < <(dialog_point close) && click_at "$px" "$py" ;;
    esac
    expect 5 "$way closes the dialog" window_gone '新倒计时'
    check "$way changes nothing: same place and size" [ "$(geometry)" = "$before" ]
    check "$way changes nothing: same picture" picture_is "$idle"
    check "the clock runs on after $way" clock_alive
done

# OK by keyboard. From the first field: 8 fields and 3 switches come before OK.
confirm() {  # confirm <what> <expected width test> <keys...>
    local what="$1" wider="$2"; shift 2
    local w
    read -r _ _ w _ < <(geometry)
    open_new_countdown || return 1
    xdotool key --delay 60 "$@"
    expect 5 "$what confirms the dialog" window_gone '新倒计时'
    applied() { holds "$(width) $wider $w"; }
    expect 5 "$what applies the typed length" applied
    check "the clock runs on after $what" clock_alive
}
# 1:30:00, then Tab from the last field to OK and Space.
confirm "Tab to OK, then Space" '>' 1 Tab 3 0 Tab 0 Tab Tab Tab Tab Tab Tab Tab Tab Tab space
# 0:20:00 is narrower; OK reached by Tab, then Enter on it.
confirm "Enter on the focused OK" '<' 0 Tab 2 0 Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Return
# 1:05:00 is wider again; OK reached backwards from the first field (past Cancel).
confirm "Space on OK focused from behind" '>' 1 Tab 5 shift+Tab shift+Tab shift+Tab space

open_menu
xdotool key Up Return  # "退出"
expect 10 "Exit ends the program" clock_ended
check "the store holds the last confirmed length and nothing cancelled (3900 s)" grep -q "djsseconds = 3900" "$dir/TallyglassCountdown.ini"
finish
