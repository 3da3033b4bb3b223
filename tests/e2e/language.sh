#!/usr/bin/env bash
# The interface language: an English Windows gets the English menu and dialog,
# a Chinese one the Chinese, `language=zh` in the file wins over an English
# Windows; a first start writes the alert text in the language it chose.
# shellcheck source=tests/e2e/lib.bash
source "$(dirname "${BASH_SOURCE[0]}")/lib.bash"

ini='[settings]\nfontname=DejaVu Sans\nwavalert=0\ndjsseconds=600\n'

# Right-click, then the first item; prints nothing, true when the dialog titled $1 appears.
open_new_countdown() {  # open_new_countdown <dialog title>
    local x y w h
    read -r x y w h < <(geometry)
    xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 3
    sleep 0.8
    import -window root "$SCREENS/language-menu-$2.png"
    xdotool key Down Return
    wait_window "$1" >/dev/null
}

dialog_in() {  # dialog_in <locale> <ini text> <expected title> <name>
    TALLYGLASS_WINE_LOCALE="$1" start_clock "$(make_app_dir "language-$4" "$2")" || return 1
    open_new_countdown "$3" "$4"
    local shown=$?
    stop_clock
    return $shown
}

check "an English Windows shows the English dialog" dialog_in en_US.UTF-8 "$ini" 'New countdown' en
check "a Chinese Windows shows the Chinese dialog" dialog_in zh_CN.UTF-8 "$ini" '新倒计时' zh
check "language=zh on an English Windows shows the Chinese dialog" \
    dialog_in en_US.UTF-8 "${ini}language=zh\n" '新倒计时' en-zh
check "language=en on a Chinese Windows shows the English dialog" \
    dialog_in zh_CN.UTF-8 "${ini}language=en\n" 'New countdown' zh-en

# A first start, with no settings file anywhere: the one in %APPDATA% is moved aside.
roaming=$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 -type d ! -name Public | head -1)/AppData/Roaming
store="$roaming/Tallyglass/TallyglassCountdown.ini"
[[ -f "$store" ]] && mv "$store" "$store.language-test"
first_start_alert_text() {  # first_start_alert_text <locale> <expected alertstr>
    rm -f "$store"
    local dir
    dir=$(make_app_dir language-first '')
    rm -f "$dir/TallyglassCountdown.ini"
    TALLYGLASS_WINE_LOCALE="$1" start_clock "$dir" || return 1
    stop_clock
    grep -q "^alertstr = $2" "$store"
}
check "a first start on an English Windows writes alertstr = TIME UP" first_start_alert_text en_US.UTF-8 'TIME UP'
check "a first start on a Chinese Windows writes alertstr = 时间到" first_start_alert_text zh_CN.UTF-8 '时间到'
rm -f "$store"
[[ -f "$store.language-test" ]] && mv "$store.language-test" "$store"
finish
