#!/usr/bin/env bash
# Control without leaving the slides: a hot key pressed while another program
# has the keyboard starts the clock and that program keeps it; F3 holds the
# display still; a second start with --start makes the running clock count; a
# bad word gets the usage and exit status 2.
# shellcheck source=tests/e2e/lib.bash
source "$(dirname "${BASH_SOURCE[0]}")/lib.bash"

# Wine on Xvfb does not deliver the Ctrl+Alt combinations that xdotool types
# (Ctrl+Alt+F2 and Ctrl+Alt+PageUp reach no hot key, Ctrl+Shift ones do), so the
# hot keys here are Ctrl+Shift ones; WM_HOTKEY itself is tested in tests/win.
dir=$(make_app_dir control '[settings]\nfontname=DejaVu Sans\nwavalert=0\ndjsseconds=600\nalertseconds=60\nhotkeystart=Ctrl+Shift+F2\nhotkeypause=Ctrl+Shift+F3\n')
start_clock "$dir" || { finish; exit 1; }
idle=$(shoot_clock "$SCREENS/control-0-idle.png")

# Another Wine program with the keyboard focus: the slide show's stand-in.
"$WINE" notepad >/dev/null 2>&1 &
notepad_pid=$!
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
xdotool key ctrl+shift+F3
paused=$(shoot_clock "$SCREENS/control-2-hotkey-paused.png")
sleep 1.5  # a tick would come within this time if the hot key had not paused the clock
check "Ctrl+Shift+F3 pauses it" picture_is "$paused"
xdotool key ctrl+shift+F3
kill "$notepad_pid" 2>/dev/null
wait_for 10 "Notepad to close" window_gone 'Notepad|记事本'
# The keyboard back to the clock, as the presenter would give it: a click on it.
read -r x y w h < <(geometry)
xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1

before=$(shoot_clock "$SCREENS/probe-before.png")
press F3
wait_for 5 "the paused frame" picture_is_not "$before"
held=$(shoot_clock "$SCREENS/control-3-held.png")
sleep 3  # the point of the check: three seconds with nothing drawn
check "F3 holds the display still for three seconds" picture_is "$held"
press F3
expect 5 "F3 again resumes the count" picture_is_not "$held"

press F4
expect 5 "F4 shows the idle clock" picture_is "$idle"
cp "$SCREENS/probe.png" "$SCREENS/control-4-reset.png"
(cd "$dir" && exec "$WINE" ./TallyglassCountdown.exe --start >/dev/null 2>&1)
check "a second start with --start ends with status 0" [ $? -eq 0 ]
expect 5 "and makes the running clock count" picture_is_not "$idle"
check "no second clock is shown" [ "$(window_count 'TallyglassPPT')" -eq 1 ]

(cd "$dir" && exec "$WINE" ./TallyglassCountdown.exe --bogus >"$SCREENS/control-bad.out" 2>&1) &
bad_pid=$!
two_windows() { [ "$(window_count 'TallyglassPPT')" -eq 2 ]; }
wait_for 15 "the usage message box" two_windows && {
    import -window root "$SCREENS/control-4-usage.png"
    xdotool key Return
}
wait "$bad_pid"
check "a bad word ends with status 2" [ $? -eq 2 ]
check "the clock runs on" clock_alive
finish
