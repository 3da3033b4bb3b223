#!/usr/bin/env bash
# The interface language as the real exe reads it from Windows and the file: an
# English Windows gets the English dialog, `language=zh` in the file wins over
# it (a Chinese Windows gets the Chinese one in every other script); a first
# start writes the alert text in the language it chose. The choice table itself
# is the native unit tests'.
# shellcheck source=tests/e2e/lib.bash
source "$(dirname "${BASH_SOURCE[0]}")/lib.bash"

ini='[settings]\nfontname=DejaVu Sans\nwavalert=0\ndjsseconds=600\n'
# The first use of a locale compiles it (scripts/wine-locale.sh), which must not
# eat into the bound of a start.
TALLYGLASS_WINE_LOCALE=en_US.UTF-8 "$WINE" --version >/dev/null
dialog_in() {  # dialog_in <locale> <ini text> <expected title> <name>
    TALLYGLASS_WINE_LOCALE="$1" start_clock "$(make_app_dir "language-$4" "$2")" || { stop_clock; return 1; }
    open_new_countdown "$3" >/dev/null
    local shown=$?
    stop_clock
    return $shown
}
check "an English Windows shows the English dialog" dialog_in en_US.UTF-8 "$ini" 'New countdown' en
check "language=zh on an English Windows shows the Chinese dialog" \
    dialog_in en_US.UTF-8 "${ini}language=zh\n" '新倒计时' en-zh

# A first start, with no settings file anywhere: the one in %APPDATA% (`make run`'s) is moved aside.
roaming=$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 -type d ! -name Public | head -1)/AppData/Roaming
store="$roaming/Tallyglass/TallyglassCountdown.ini"
[[ -f "$store" ]] && mv "$store" "$store.language-test"
dir=$(make_app_dir language-first '')
rm -f "$dir/TallyglassCountdown.ini"
TALLYGLASS_WINE_LOCALE=en_US.UTF-8 start_clock "$dir" && stop_clock
check "a first start on an English Windows writes alertstr = TIME UP" grep -q "^alertstr = TIME UP" "$store"
rm -f "$store"
[[ -f "$store.language-test" ]] && mv "$store.language-test" "$store"
finish
