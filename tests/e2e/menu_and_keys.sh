#!/usr/bin/env bash
# The presenter's controls: right-click, New countdown; Esc closes the dialog at
# the first press and changes nothing; a length typed and confirmed with Enter in
# a field is applied where the clock stands; Alt+F4, Esc, Enter and F10 leave the
# clock open; About; Exit stores the settings. The dialog's other ways in and out
# (its tab order, OK, Cancel, the close box) are the Wine suite's.
# shellcheck source=tests/e2e/lib.bash
source "$(dirname "${BASH_SOURCE[0]}")/lib.bash"

dir=$(make_app_dir menu '[settings]\nfontname=DejaVu Sans\nwavalert=0\ndjsseconds=600\nalertseconds=60\n')
start_clock "$dir" || { finish; exit 1; }
before=$(geometry)
read -r x y w _ <<<"$before"
idle=$(shoot_clock "$SCREENS/menu-idle.png")

open_new_countdown '新倒计时' || { finish; exit 1; }
ok "New countdown opens the dialog"
xdotool type --delay 60 "2"  # a length that must not arrive
xdotool key Escape
expect 5 "one Esc closes the dialog" window_gone '新倒计时'
check "Esc changes nothing: same place and size" [ "$(geometry)" = "$before" ]
check "and the same picture" picture_is "$idle"

open_new_countdown '新倒计时' || { finish; exit 1; }
import -window root "$SCREENS/menu-dialog.png"
# The first field has the focus with its text selected; Tab selects the next.
xdotool type --delay 60 "1"
xdotool key Tab
xdotool type --delay 60 "30"
xdotool key Tab
xdotool type --delay 60 "0"
xdotool key Return  # Enter in a field confirms what was typed
expect 5 "Enter closes the dialog" window_gone '新倒计时'
# 1:30:00 is wider than 10:00.
wider() { holds "$(width) > $w"; }
expect 5 "the clock shows the new, longer length" wider
read -r nx ny _ < <(geometry)
check "the window stays where it was when the command was chosen" holds "$nx == $x && $ny == $y"
idle=$(shoot_clock "$SCREENS/menu-new-length.png")

# Each key is followed by F2: once the countdown ticks, the key before it has been
# handled, and F4 brings the idle picture back for the next one.
for keys in alt+F4 Escape Return F10; do
    press "$keys" F2
    wait_for 5 "the countdown to tick after $keys F2" picture_is_not "$idle"
    check "$keys leaves the clock open" clock_alive
    press F4
    wait_for 5 "the idle clock after F4" picture_is "$idle"
done

open_menu
xdotool key Up Up Return  # "关于", above "退出"
about_shown() { holds "$(window_count TallyglassPPT) >= 2"; }
about_gone() { holds "$(window_count TallyglassPPT) == 1"; }
expect 10 "About shows a box beside the clock" about_shown
import -window root "$SCREENS/menu-about.png"
xdotool key Return
expect 10 "the about box closes and the clock stays" about_gone

read -r ex _ < <(geometry)
choose_exit
expect 10 "Exit ends the program" clock_ended
store=$(cat "$dir/TallyglassCountdown.ini")
check "the store holds the confirmed length and nothing cancelled (5400 s)" grep -q "^djsseconds=5400$" <<<"$store"
check "the store holds the position the window had" grep -q "posleft = $ex" <<<"$store"
finish
