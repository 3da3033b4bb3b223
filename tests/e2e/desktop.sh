#!/usr/bin/env bash
# The clock on a real desktop: an alert without centring whose stored place lies
# on no monitor (a projector that was unplugged) still appears on screen; edits
# made to the settings file while the clock runs survive its exit.
# shellcheck source=tests/e2e/lib.bash
source "$(dirname "${BASH_SOURCE[0]}")/lib.bash"

dir=$(make_app_dir offscreen '[settings]\nfontname=DejaVu Sans\nwavalert=0\nalertcenter=0\ndjsseconds=2\nalertseconds=30\nposleft=6000\npostop=-3000\n')
start_clock "$dir" || { finish; exit 1; }
idle=$(shoot_clock "$SCREENS/offscreen-idle.png")
read -r _ _ iw _ < <(geometry)
press F2
alert_laid_out() { holds "$(width) > $iw"; }
expect 6 "the alert laid out (wider than the idle clock)" alert_laid_out
read -r x y w h < <(geometry)
read -r sw sh < <(xdpyinfo | awk '/dimensions:/{split($2, d, "x"); print d[1], d[2]}')
check "the alert stands wholly on the screen (${w}x${h} at $x,$y on ${sw}x${sh})" \
    holds "$x >= 0 && $y >= 0 && $x + $w <= $sw && $y + $h <= $sh"
check "and shows" picture_is_not "$idle"
stop_clock

# Edited while the clock runs: a font, a title and a comment; then Exit.
ini='[settings]\nfontname=DejaVu Sans\nwavalert=0\ndjsseconds=600\n'
dir=$(make_app_dir edited "$ini")
start_clock "$dir" || { finish; exit 1; }
printf '; my own note\r\n[settings]\r\nfontname=DejaVu Serif\r\ntitle=Keynote\r\nwavalert=0\r\ndjsseconds=600\r\n' \
    >"$dir/TallyglassCountdown.ini"
open_menu && xdotool key Up Return  # the last item, "退出"
wait_clock_exit 10
store=$(cat "$dir/TallyglassCountdown.ini")
check "the edited font survives Exit" grep -q "fontname *= *DejaVu Serif" <<<"$store"
check "the added title survives Exit" grep -q "title *= *Keynote" <<<"$store"
check "the added comment survives Exit" grep -q "^; my own note" <<<"$store"
check "the clock's own keys are written too" grep -q "posleft = " <<<"$store"
finish
