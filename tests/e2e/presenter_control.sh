#!/usr/bin/env bash
# Control without leaving the slides: a hot key pressed while another program
# has the keyboard starts the clock and that program keeps it; a second start
# hands its words to the running clock; a bad word on a second start gets the
# usage and exit status 2; a second start with --show hands over a spreadsheet's
# running order, and one without a segment is refused with status 2. Pausing by hot
# key or F3 is the Wine suite's.
# shellcheck source=tests/e2e/lib.bash
source "$(dirname "${BASH_SOURCE[0]}")/lib.bash"

# Wine on Xvfb does not deliver the Ctrl+Alt combinations that xdotool types
# (Ctrl+Alt+F2 reaches no hot key, Ctrl+Shift ones do), so the hot key here is a
# Ctrl+Shift one; WM_HOTKEY itself is tested in tests/win.
dir=$(make_app_dir control '[settings]\nfontname=DejaVu Sans\nwavalert=0\ndjsseconds=600\nhotkeystart=Ctrl+Shift+F2\n')
start_clock "$dir" || { finish; exit 1; }
idle=$(shoot_clock "$SCREENS/control-0-idle.png")

# Another Wine program with the keyboard focus: the slide show's stand-in.
"$WINE" notepad >/dev/null 2>&1 &
wait_window 'Notepad|记事本' 20 || { finish; exit 1; }
notepad=$WINDOW_ID
# In a corner, clear of the centred clock (Xvfb has no window manager to keep
# the topmost clock above a window mapped later).
xdotool windowsize "$notepad" 240 160 windowmove "$notepad" 0 0 2>/dev/null
xdotool windowfocus --sync "$notepad" 2>/dev/null
expect 5 "Notepad has the keyboard focus" [ "$(xdotool getwindowfocus 2>/dev/null)" = "$notepad" ]
xdotool key ctrl+shift+F2
expect 5 "Ctrl+Shift+F2 in another program starts the clock" picture_is_not "$idle"
started=$(shoot_clock "$SCREENS/control-1-started.png")
expect 5 "the clock counts" picture_is_not "$started"
check "Notepad keeps the keyboard focus" [ "$(xdotool getwindowfocus 2>/dev/null)" = "$notepad" ]
(cd "$dir" && exec "$WINE" ./TallyglassCountdown.exe --reset >/dev/null 2>&1)
check "a second start with --reset hands its word over and ends with status 0" [ $? -eq 0 ]
expect 5 "the running clock is reset by it" picture_is "$idle"

(cd "$dir" && exec "$WINE" ./TallyglassCountdown.exe --bogus >"$SCREENS/control-bad.out" 2>&1) &
bad_pid=$!
two_windows() { [ "$(window_count 'TallyglassPPT')" -eq 2 ]; }
wait_for 15 "the usage message box" two_windows && {
    import -window root "$SCREENS/control-2-usage.png"
    xdotool key Return
}
wait "$bad_pid"
check "a bad word ends with status 2" [ $? -eq 2 ]
check "the clock runs on" clock_alive

ini="$dir/TallyglassCountdown.ini"
show_is_the_sheets() { [[ "$(sed -n '/^\[show\]/,$p' "$ini")" == $'[show]\nDoors; open = 5m\nTalk = 20m' ]]; }
printf 'Name;Length\r\n"Doors; open";5m\r\nTalk;20m\r\n' >"$dir/run.csv"
(cd "$dir" && exec "$WINE" ./TallyglassCountdown.exe --show run.csv >/dev/null 2>&1)
check "a second start with --show FILE.csv ends with status 0" [ $? -eq 0 ]
check "the settings file's [show] holds the file's rows" show_is_the_sheets
expect 5 "the running clock waits on the new show's first segment" picture_is_not "$idle"
printf 'Name,Length\nSoon,soon\n' >"$dir/bad.csv"
(cd "$dir" && exec "$WINE" ./TallyglassCountdown.exe --show bad.csv >/dev/null 2>&1) &
bad_pid=$!
wait_for 15 "the message naming the rows not taken" two_windows && {
    import -window root "$SCREENS/control-3-bad-show.png"
    xdotool key Return
}
wait "$bad_pid"
check "a file without a segment ends with status 2" [ $? -eq 2 ]
check "and leaves the show as it was" show_is_the_sheets
finish
