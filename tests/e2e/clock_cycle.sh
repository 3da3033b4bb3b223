#!/usr/bin/env bash
# A 3-second countdown with a 2-second alert: F2 shows 3, 2, 1, the alert at the
# stored position, then the idle clock again, centred as it started.
source "$(dirname "${BASH_SOURCE[0]}")/lib.bash"

dir=$(make_app_dir cycle '[settings]\nfontname=DejaVu Sans\nwavalert=0\nalertcenter=0\nnobg=0\nalertstr=UP\nfsizenormal=72\nfsizealert=96\ndjsseconds=3\nalertseconds=2\nposleft=100\npostop=80\n')
start_clock "$dir" || { finish; exit 1; }
read -r ix iy iw ih < <(geometry)
idle=$(shoot_clock "$SCREENS/cycle-0-idle.png")

press F2
start=$(date +%s%N)
at() {  # waits until <ms> after F2
    while (( ($(date +%s%N) - start) / 1000000 < $1 )); do sleep 0.02; done
}
declare -A shot geo
for step in 1:500:3 2:1500:2 3:2500:1 4:3500:alert2 5:4500:alert1 6:5700:idle; do
    IFS=: read -r index ms name <<<"$step"
    at "$ms"
    shot[$name]=$(shoot_clock "$SCREENS/cycle-$index-$name.png")
    geo[$name]=$(geometry)
done

check "F2 shows the full length first: the picture equals the idle '3'" [ "${shot[3]}" = "$idle" ]
check "each second changes the picture (3, 2, 1)" [ "${shot[3]}" != "${shot[2]}" -a "${shot[2]}" != "${shot[1]}" -a "${shot[1]}" != "${shot[3]}" ]
read -r ax ay aw ah <<<"${geo[alert2]}"
check "the alert is laid out larger (UP 2 at 96 px)" [ "$aw" -gt "$iw" -a "$ah" -gt "$ih" ]
check "without centring, the alert goes to the stored position (100, 80)" [ "$ax" = 100 -a "$ay" = 80 ]
check "the alert counts down (2, then 1)" [ "${shot[alert2]}" != "${shot[alert1]}" ]
check "after N + A seconds the idle clock is back, centred as at start" [ "${shot[idle]}" = "$idle" -a "${geo[idle]}" = "$ix $iy $iw $ih" ]
check "the clock is still running" clock_alive
finish
