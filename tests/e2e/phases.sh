#!/usr/bin/env bash
# A 6-second countdown with warnseconds=3 and overtime=1: the normal colour, then
# the warning colour, then the alert counting up (+0:01, +0:02), and F4 goes back
# to the idle clock.
# shellcheck source=tests/e2e/lib.bash
source "$(dirname "${BASH_SOURCE[0]}")/lib.bash"

dir=$(make_app_dir phases '[settings]\nfontname=DejaVu Sans\nwavalert=0\nnobg=0\nalertstr=UP\nfsizenormal=72\nfsizealert=72\ndjsseconds=6\nwarnseconds=3\novertime=1\nclrnormal=#3080FF\nclrwarn=#00FF00\nclralert=#FF0000\n')
start_clock "$dir" || { finish; exit 1; }
idle=$(shoot_clock "$SCREENS/phases-idle.png")

# How many pixels of the clock are (nearly) the given colour.
count_colour() {  # count_colour <file> <#RRGGBB>
    convert "$1" -fuzz 12% -fill black +opaque "$2" -fill white -opaque "$2" -format '%[fx:int(mean*w*h)]' info: 2>/dev/null
}
shows_colour() {  # shows_colour <#RRGGBB>: the clock on screen now has glyphs in it
    shoot_clock "$SCREENS/phases-probe.png" >/dev/null && holds "$(count_colour "$SCREENS/phases-probe.png" "$1") > 200"
}

press F2
expect 3 "the first seconds in the normal colour" shows_colour '#3080FF'
check "and not yet in the warning colour" holds "$(count_colour "$SCREENS/phases-probe.png" '#00FF00') < 50"
expect 6 "from 3 s left, the warning colour" shows_colour '#00FF00'
expect 6 "at zero, the alert colour" shows_colour '#FF0000'
first=$(shoot_clock "$SCREENS/phases-over-1.png")
read -r _ _ w1 _ < <(geometry)
wait_for 3 "overtime's next second" picture_is_not "$first"
second=$(shoot_clock "$SCREENS/phases-over-2.png")
wait_for 3 "and the one after it" picture_is_not "$second"
third=$(shoot_clock "$SCREENS/phases-over-3.png")
check "overtime keeps counting past the alert length's place (+0:01, +0:02, +0:03 differ)" \
    [ "$first" != "$second" -a "$second" != "$third" -a "$first" != "$third" ]
check "overtime stays in the alert colour" shows_colour '#FF0000'
check "the window keeps its width while the text keeps its length" holds "$(width) == $w1"
press F4
expect 5 "F4 goes back to the idle clock" picture_is "$idle"
finish
