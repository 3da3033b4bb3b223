#!/usr/bin/env bash
# The settings window as a new user meets it: the menu opened with a right-click,
# Settings chosen, the Remote page reached with the keyboard, "this PC only" chosen
# and OK. The QR code the page paints is read back from the screen and is the
# control link; the clock, not restarted, then answers the API with that link's key,
# and the settings file holds it. Import… on the Run of show page reads a spreadsheet. With TALLYGLASS_README_IMAGES=1 each page's picture
# goes to docs/ as well. The pages' values and their checks are the Wine suite's.
# shellcheck source=tests/e2e/lib.bash
source "$(dirname "${BASH_SOURCE[0]}")/lib.bash"
PORT=7366
dir=$(make_app_dir settings "[settings]\nlanguage=en\nfontname=DejaVu Sans\nwavalert=0\nremoteport=$PORT\n[show]\nWelcome = 5m\nKeynote = 20m\n")
ini="$dir/TallyglassCountdown.ini"
start_clock "$dir" || { finish; exit 1; }
check "remote control is off at first" bash -c "! curl -s -m 2 -o /dev/null http://127.0.0.1:$PORT/"

open_menu && xdotool key Down Down Return
wait_window 'Settings' 15 || { finish; exit 1; }
sheet=$WINDOW_ID
read -r sx sy sw sh < <(xdotool getwindowgeometry --shell "$sheet" |
    awk -F= '/^X=/{x=$2}/^Y=/{y=$2}/^WIDTH=/{w=$2}/^HEIGHT=/{h=$2}END{print x, y, w, h}')
page_picture() {  # page_picture <file>: the sheet as it stands
    import -window root -crop "${sw}x${sh}+${sx}+${sy}" +repage "$1" 2>/dev/null
}
# The tab row from the first field: Shift+Tab; each Right is the next page.
xdotool key shift+Tab
for page in clock keys remote show screen; do
    sleep 0.5
    page_picture "$SCREENS/settings-$page.png"
    xdotool key Right
done
xdotool key Left Left  # back to Remote
sleep 0.5
xdotool key Tab Down  # the first field, remote control: off -> this PC only
decoded() { zbarimg -q --raw --nodbus "$SCREENS/settings-remote-on.png" 2>/dev/null | grep '/?key='; }
painted() { page_picture "$SCREENS/settings-remote-on.png" && [[ -n "$(decoded)" ]]; }
expect 5 "the Remote page paints the control link's QR code, which a phone can read" painted
link=$(decoded)
key=${link##*key=}
check "the link is this PC's, on the port the page shows ($link)" [ "${link%%\?*}" = "http://127.0.0.1:$PORT/" ]
xdotool key Return  # OK
wait_for 10 "the settings window to close" window_gone 'Settings'
answers() { [[ $(curl -s -m 2 -o /dev/null -w '%{http_code}' "http://127.0.0.1:$PORT/api/v1/state?key=$key") == 200 ]]; }
expect 10 "without a restart the clock answers the API with the key the window showed" answers
check "the settings file holds remote=local and that key" bash -c "grep -q '^remote *= *local' '$ini' && grep -q 'remotekey *= *$key' '$ini'"

# Import… (the Run of show page's sixteenth control) fills the list with a spreadsheet's
# rows, written at OK; the row not taken is the page's to name (the reader's tests).
printf 'Segment;Minutes;Start\nDoors;5;09:00\n"Talk; long";20;\nBad;soon;\n' >"$dir/run.csv"
open_menu && xdotool key Down Down Return
wait_window 'Settings' 15 && xdotool key shift+Tab Right Right Right && sleep 0.5 &&
    xdotool key --delay 50 Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab space
wait_window '^(Open|打开)$' 10 && xdotool type --delay 20 "Z:${dir//\//\\}\\run.csv" && xdotool key Return
wait_for 10 "the open dialog to close" window_gone '^(Open|打开)$'
xdotool key --delay 50 shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab Return  # OK, from the Start field
wait_for 10 "the settings window to close" window_gone 'Settings'
imported() { [[ "$(sed -n '/^\[show\]/,$p' "$ini")" == $'[show]\nDoors = 5m @ 09:00\nTalk; long = 20m' ]]; }
check "Import… takes a spreadsheet's rows into the run of show, written at OK" imported
check "the clock runs on" clock_alive
if [[ "${TALLYGLASS_README_IMAGES:-0}" == 1 ]]; then
    cp "$SCREENS"/settings-{clock,keys,show,screen}.png "$SCREENS/settings-remote-on.png" "$E2E_ROOT/docs/"
fi
finish
