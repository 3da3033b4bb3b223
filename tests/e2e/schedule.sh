#!/usr/bin/env bash
# The show on schedule, with the real clock and the wall clock: a segment planned to
# start two minutes ago reads about +2:00 late in the API, and the idle clock shows its
# name with how late it is (and, with schedule=1, the offset's line under it); the next one, planned to start a few seconds from now with
# showautostart=schedule, starts by itself, three short segments in turn; the run log
# says so and report.csv has their rows. The arithmetic is the native suite's.
# shellcheck source=tests/e2e/lib.bash
source "$(dirname "${BASH_SOURCE[0]}")/lib.bash"
PORT=7367
KEY=schedule-control-key
ago=$(date -d '-2 min' +%H:%M:%S)
dir=$(make_app_dir schedule "[settings]\nlanguage=en\nfontname=DejaVu Sans\nwavalert=0\nremote=local\nremoteport=$PORT\nremotekey=$KEY\nshowautostart=schedule\nschedule=1\n[show]\nKeynote = 5m @ $ago\n")
start_clock "$dir" || { finish; exit 1; }
wait_for 10 "the clock to listen on port $PORT" listening
late_in_text() { [[ $(field "$(state)" text) == "Keynote +2:0"* ]]; }
expect 5 "the idle clock shows the segment's name and how late it is (Keynote +2:0x)" late_in_text
offset=$(field "$(state)" offset)
check "the API's offset is about two minutes late: idle, the segment would end 2 min after its plan ($offset)" \
    holds "${offset:-0} >= 118 && ${offset:-0} <= 130"
shoot_clock "$SCREENS/schedule-late.png" >/dev/null
[[ "${TALLYGLASS_README_IMAGES:-0}" == 1 ]] && cp "$SCREENS/schedule-late.png" "$E2E_ROOT/docs/"
# A three-segment show whose first segment is planned a few seconds ahead: the clock
# starts each at its planned start, the run log says so, and the report has their rows.
soon=$(date -d '+12 sec' +%H:%M:%S)  # past a slow start, and still ahead
two=$(date -d '+18 sec' +%H:%M:%S) three=$(date -d '+24 sec' +%H:%M:%S)  # after each end and its 1 s alert
printf '[settings]\nlanguage=en\nfontname=DejaVu Sans\nwavalert=0\nalertseconds=1\nremote=local\nremoteport=%s\nremotekey=%s\nshowadvance=1\nshowautostart=schedule\n[show]\nOne = 3s @ %s\nTwo = 3s @ %s\nThree = 3s @ %s\n' \
    "$PORT" "$KEY" "$soon" "$two" "$three" >"$dir/TallyglassCountdown.ini"
stop_clock
start_clock "$dir" || { finish; exit 1; }
wait_for 10 "the second clock to listen" listening
counting() { [[ $(field "$(state)" phase) == counting ]]; }
check "before its planned start it waits" [ "$(field "$(state)" phase)" = idle ]
expect 20 "at its planned start, with showautostart=schedule, the first segment starts by itself" counting
report() { curl -s -m 2 "http://127.0.0.1:$PORT/api/v1/report.csv?key=$KEY"; }
three_rows() { [[ $(report | grep -cE '^(One|Two|Three),') -eq 3 ]]; }
expect 30 "each segment starts at its planned start, and report.csv has a row for each of the three" three_rows
report | tr -d '\r' | tee "$SCREENS/report.csv"
check "the report's columns are exactly the report's" \
    [ "$(report | head -1 | tr -d '\r')" = "segment,planned_start,planned_length,actual_start,actual_end,duration,over,paused,adjusted" ]
curl -s -m 2 -o /dev/null "http://127.0.0.1:$PORT/api/v1/message?key=$KEY&text=Thanks"
log="$dir/TallyglassCountdown-log.csv"
logged() {
    head -1 "$log" 2>/dev/null | grep -q '^time,event,segment,remaining,way_in' &&
        grep -Eq '^[0-9-]{10}T[0-9:]{8}[+-][0-9]{2}:[0-9]{2},start,Two,[0-9]+,clock' "$log" &&
        grep -q ',message,Three,[0-9]*,API' "$log"
}
expect 5 "the run log holds the schedule's starts (clock) and the API's message, each as it happened" logged
finish
