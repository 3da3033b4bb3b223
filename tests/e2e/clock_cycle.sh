#!/usr/bin/env bash
# A 3-second countdown with a 2-second alert: F2 shows 3, 2, 1, the alert at the
# stored position, then the idle clock again, centred as it started.
# shellcheck source=tests/e2e/lib.bash
source "$(dirname "${BASH_SOURCE[0]}")/lib.bash"

dir=$(make_app_dir cycle '[settings]\nfontname=DejaVu Sans\nwavalert=0\nalertcenter=0\nnobg=0\nalertstr=UP\nfsizenormal=72\nfsizealert=96\ndjsseconds=3\nalertseconds=2\nposleft=100\npostop=80\n')
start_clock "$dir" || { finish; exit 1; }
read -r ix iy iw ih < <(geometry)
idle=$(shoot_clock "$SCREENS/cycle-0-idle.png")

declare -A shot geo
press F2
# Before the first tick, a second after F2.
shot[3]=$(shoot_clock "$SCREENS/cycle-1-3.png")
# The shots are timed from the first tick as seen on the screen (the '2'), half a
# second into each second, so that neither a slow start nor the time a shot takes
# moves them onto a tick.
wait_for 5 "the first tick after F2" picture_is_not "$idle" || { finish; exit 1; }
tick=$(date +%s%N)
at() {  # waits until <ms> after the first tick
    while (( ($(date +%s%N) - tick) / 1000000 < $1 )); do sleep 0.02; done
}
for step in 2:500:2 3:1500:1 4:2500:alert2 5:3500:alert1 6:4700:idle; do
    IFS=: read -r index ms name <<<"$step"
    at "$ms"
    shot[$name]=$(shoot_clock "$SCREENS/cycle-$index-$name.png")
    geo[$name]=$(geometry)
done

check "F2 shows the full length first: the picture equals the idle '3'" [ "${shot[3]}" = "$idle" ]
all_differ() { [[ $1 != "$2" && $2 != "$3" && $3 != "$1" ]]; }
check "each second changes the picture (3, 2, 1)" all_differ "${shot[3]}" "${shot[2]}" "${shot[1]}"
read -r ax ay aw ah <<<"${geo[alert2]}"
check "the alert is laid out larger (UP 2 at 96 px)" holds "$aw > $iw && $ah > $ih"
check "without centring, the alert goes to the stored position (100, 80)" holds "$ax == 100 && $ay == 80"
check "the alert counts down (2, then 1)" [ "${shot[alert2]}" != "${shot[alert1]}" ]
check "after N + A seconds the idle clock is back, centred as at start" \
    [ "${shot[idle]} ${geo[idle]}" = "$idle $ix $iy $iw $ih" ]
check "the clock is still running" clock_alive
finish
