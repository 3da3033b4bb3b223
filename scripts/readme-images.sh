#!/usr/bin/env bash
# Makes the README's pictures: the New-countdown dialog in Chinese and English, the
# idle clock with its background, the elapsed face counting and the idle clock's
# time of day, each on a screen under Xvfb, and a frame with the background off
# laid over a sample slide, from the frame's own pixels (Xvfb cannot show
# per-pixel alpha).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target TallyglassCountdown win_bench -j"${TALLYGLASS_JOBS:-$(nproc 2>/dev/null || echo 2)}" >/dev/null
source tests/e2e/lib.bash
mkdir -p docs

# The clock and a margin of the screen around it.
shoot_on_screen() {  # shoot_on_screen <file.png>
    local x y w h
    read -r x y w h < <(geometry)
    import -window root "$SCREENS/readme-full.png"
    convert "$SCREENS/readme-full.png" -crop "$((w + 160))x$((h + 80))+$((x - 80))+$((y - 40))" +repage "$1"
}
settings='[settings]\nfontname=DejaVu Sans\nwavalert=0\ndjsseconds=600\n'
start_clock "$(make_app_dir readme "$settings")"
shoot_on_screen docs/idle-clock.png
stop_clock

# The elapsed face past its first minute, in the m:ss a talk mostly shows. The
# window fits its text, so the count's events are widths: one digit after the
# start (narrower than the idle 10:00), two at the tenth second, m:ss at the
# minute; then one more second's tick.
start_clock "$(make_app_dir readme-elapsed "${settings}face=elapsed\n")"
narrower() { holds "$(width) < $1"; }
wider() { holds "$(width) > $1"; }
idle_width=$(width)
press F2
wait_for 5 "the count to start" narrower "$idle_width"
wait_for 15 "the elapsed face's tenth second" wider "$(width)"
wait_for 60 "the elapsed face's first minute" wider "$(width)"
wait_for 5 "the elapsed face's next second" picture_is_not "$(shoot_clock "$SCREENS/probe.png")"
shoot_on_screen docs/face-elapsed.png
stop_clock

# Idle, with no title, the idle clock shows the time of day from its first frame.
start_clock "$(make_app_dir readme-idleclock "${settings}idleclock=1\n")"
shoot_on_screen docs/face-idleclock.png
stop_clock

# The New-countdown dialog in each language, as the real clock opens it, once
# its first paint has settled: its texts drawn, two shots alike.
dialog_shot=""
dialog_painted() {  # the dialog's region of the screen in $SCREENS/readme-dialog.png
    local shot
    shot=$(CLOCK_WINDOW=$WINDOW_ID shoot_clock "$SCREENS/readme-dialog.png") || return 1
    [[ "$shot" == "$dialog_shot" ]] && holds "$(convert "$SCREENS/readme-dialog.png" -format '%k' info:) > 8" && return 0
    dialog_shot=$shot
    return 1
}
for language in zh:新倒计时 en:'New countdown'; do
    code=${language%%:*}
    dir=$(make_app_dir "readme-$code" "[settings]\nfontname=DejaVu Sans\nwavalert=0\nlanguage=$code\n")
    start_clock "$dir"
    open_new_countdown "${language#*:}"
    dialog_shot=""
    wait_for 10 "the dialog's first paint" dialog_painted
    cp "$SCREENS/readme-dialog.png" "docs/dialog-$code.png"
    stop_clock
done

"$WINE" build/win64/win_bench.exe --dump-frame 'C:\windows\temp\frame.pam'
cp "$WINEPREFIX/drive_c/windows/temp/frame.pam" "$SCREENS/frame.pam"
convert -size 720x300 gradient:'#1d3557-#457b9d' -font DejaVu-Sans -fill white -pointsize 34 \
    -annotate +40+70 'Quarterly results' -pointsize 20 -fill '#f1faee' \
    -annotate +40+120 '* Revenue up 12 percent on last year' -annotate +40+155 '* Three new regions' \
    -annotate +40+190 '* Questions at the end' "$SCREENS/slide.png"
convert "$SCREENS/slide.png" "$SCREENS/frame.pam" -gravity northeast -geometry +20+150 -composite docs/over-slide.png
# One picture per phase, each a real frame with its background.
for phase in normal warning alert overtime; do
    "$WINE" build/win64/win_bench.exe --dump-frame 'C:\windows\temp\phase.pam' "$phase"
    convert "$WINEPREFIX/drive_c/windows/temp/phase.pam" "docs/phase-$phase.png"
done
finish >/dev/null
echo "docs/idle-clock.png docs/face-elapsed.png docs/face-idleclock.png docs/over-slide.png docs/dialog-zh.png docs/dialog-en.png docs/phase-{normal,warning,alert,overtime}.png"
