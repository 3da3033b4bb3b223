#!/usr/bin/env bash
# The clock on a real desktop: an alert without centring whose stored place lies
# on no monitor (a projector that was unplugged) still appears on screen; a file
# edited while the clock runs keeps every line byte for byte through its Exit,
# apart from the lines of the keys the clock writes, in CRLF and in LF.
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

# The file without the lines of the keys the clock writes at Exit, its bytes shown (CR as ^M).
others() { grep -Eiv '^[[:space:]]*(nobg|wavalert|alertcenter|fsizenormal|fsizealert|djsseconds|alertseconds|posleft|postop)[[:space:]]*=' "$1" | cat -A; }
same_others() { diff <(others "$1") <(others "$2"); }  # same_others <edited> <saved>
keys_written_in() {  # keys_written_in <file> crlf|lf: the clock's position is there, and every line ends so
    grep -q '^posleft *= *-\?[0-9]' "$1" || return 1
    if [[ $2 == crlf ]]; then ! grep -qv $'\r$' "$1"; else ! grep -q $'\r' "$1"; fi
}
for eol in crlf lf; do
    cr=""
    [[ $eol == crlf ]] && cr=$'\r'
    dir=$(make_app_dir "edited-$eol" '[settings]\nfontname=DejaVu Sans\nwavalert=0\ndjsseconds=600\n')
    start_clock "$dir" || { finish; exit 1; }
    # While it runs: the font changed, a title added, a comment added at the end.
    edited="$SCREENS/edited-$eol.ini"
    printf '%s\n' "[settings]$cr" "fontname=DejaVu Serif$cr" "title=Keynote$cr" "wavalert=0$cr" "djsseconds=600$cr" \
        "; my own note$cr" >"$edited"
    cp "$edited" "$dir/TallyglassCountdown.ini"
    choose_exit && wait_clock_exit 10
    saved="$dir/TallyglassCountdown.ini"
    # The edited font and title and the comment among them.
    check "$eol: Exit leaves every line but those of the clock's keys byte for byte as edited" same_others "$edited" "$saved"
    check "$eol: the clock's keys are written too, every line in $eol" keys_written_in "$saved" "$eol"
    stop_clock
done
finish
