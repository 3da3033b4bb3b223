#!/usr/bin/env bash
# The clock and a slide show, with the real clock under Wine and a stand-in for
# PowerPoint (tests/win/fake_powerpoint_win.cpp: a COM server in the running object
# table under PowerPoint.Application's class, answering the object model the watcher
# walks). With slideshow=follow the show's beginning starts the count; the state and
# the clock say which slide is up and whether the talk keeps pace with the notes'
# budgets; the show's end pauses, a new show resumes; PowerPoint killed leaves the
# clock answering, its slides gone from the state. The budgets' arithmetic is the native suite's.
# shellcheck source=tests/e2e/lib.bash
source "$(dirname "${BASH_SOURCE[0]}")/lib.bash"
PORT=7368
KEY=slides-control-key
FAKE="$E2E_ROOT/build/win64/fake_powerpoint.exe"
CLSID='{6F1B2C3D-7A4E-4B5F-9C8D-0E1F2A3B4C5D}'

"$WINE" reg add 'HKCR\PowerPoint.Application\CLSID' /ve /d "$CLSID" /f >/dev/null 2>&1
fifo="$SCREENS/fake.in"
rm -f "$fifo" && mkfifo "$fifo"
WINEDEBUG=-all "$WINE" "$FAKE" <"$fifo" >"$SCREENS/fake.out" 2>/dev/null &
FAKE_PID=$!
exec 4>"$fifo"  # held open: the fake reads its commands from here until told to quit
tell() { echo "$*" >&4; }
fake_ready() { grep -q '^ready' "$SCREENS/fake.out"; }
wait_for 30 "the fake PowerPoint to register" fake_ready || { finish; exit 1; }
# Slide 1 has 2 s, slide 2 30 s, the hidden third none of it; the fourth shares the rest.
tell "slide 0 [2s] Welcome"
tell "slide 0 [30s] The plan"
tell "slide 1 [5m] backup"
tell "slide 0 Questions"
tell "name Talk.pptx"

dir=$(make_app_dir slides "[settings]\nlanguage=en\nfontname=DejaVu Sans\nwavalert=0\ndjsseconds=120\nremote=local\nremoteport=$PORT\nremotekey=$KEY\nslideshow=follow\nslidenumber=1\nslidepacing=1\n")
start_clock "$dir" || { finish; exit 1; }
wait_for 10 "the clock to listen on port $PORT" listening

tell begin
tell "front 1"
started() { local s; s=$(state); [[ $(field "$s" phase) == counting && $(field "$s" slide) == 1 && $(field "$s" slideCount) == 3 ]]; }
expect 10 "the show's beginning starts the count, on slide 1 of the 3 it shows" started
behind() { local p; p=$(field "$(state)" pace); [[ "$p" =~ ^[0-9]+$ ]] && ((p >= 2)); }
expect 10 "past slide 1's 2 s the talk is behind, and the state's pace says by how much" behind
# Wine maps the fake's full-screen window to X after the clock has been put back above it
# in Wine's own order (the desktop suite checks that order), so X shows the show on top;
# raised at X's level the picture is the one Windows shows.
xdotool windowraise "$CLOCK_WINDOW"
expect 5 "the clock's lines show over the show's full-screen window" clock_drawn
shoot_clock "$SCREENS/slides-behind.png" >/dev/null
[[ "${TALLYGLASS_README_IMAGES:-0}" == 1 ]] && cp "$SCREENS/slides-behind.png" "$E2E_ROOT/docs/"
tell next
on_slide_two() { local s; s=$(state); [[ $(field "$s" slide) == 2 && $(field "$s" pace) == 0 ]]; }
expect 15 "the next slide shows in the state, on pace within its 30 s" on_slide_two
page_says() {  # page_says <path> <text>: the page as headless Chromium shows it, watched for 60 s
    PYTHONPATH="$E2E_ROOT/tests/e2e" timeout 120 /usr/bin/python3 "$E2E_ROOT/tests/e2e/page_says.py" \
        "http://127.0.0.1:$PORT$1?key=$KEY" "$2" 60 2>"$SCREENS/page-says.log"
}
check "the view page says which slide is up" page_says /view 'Slide 2 / 3'

tell end
paused() { [[ $(field "$(state)" paused) == True ]]; }
expect 15 "with follow, the show's end pauses the count" paused
tell begin
tell "front 1"
resumed() { local s; s=$(state); [[ $(field "$s" paused) == False && $(field "$s" phase) == counting ]]; }
expect 10 "a show begun again resumes it" resumed

kill -9 "$FAKE_PID" 2>/dev/null
pkill -9 -f 'fake_powerpoint.exe' 2>/dev/null
exec 4>&-
answers() { local s; s=$(state); [[ $(field "$s" phase) == counting && $(field "$s" slide) == None ]]; }
expect 10 "PowerPoint killed: the clock answers, the show's slides gone from the state" answers
# Whether it then counts or pauses is the native suite's (a lost PowerPoint is no end of the
# show, but a show not in front for 5 s is left, and Wine on Xvfb does not say reliably
# which window is in front of a killed one).
log="$dir/TallyglassCountdown-log.csv"
check "the run log names the slide show as the way in of its start and pause" \
    bash -c "grep -q ',start,,[0-9]*,slide show' '$log' && grep -q ',pause,,[0-9]*,slide show' '$log'"
"$WINE" reg delete 'HKCR\PowerPoint.Application' /f >/dev/null 2>&1
finish
