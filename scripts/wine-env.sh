# shellcheck shell=bash
# Sourced: a Wine prefix inside the build tree (never ~/.wine) and, when there is
# no display, a private Xvfb that stops with the calling script.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
if command -v wine64 >/dev/null 2>&1; then WINE="$(command -v wine64)"; else WINE=/usr/lib/wine/wine64; fi
WINESERVER=/usr/lib/wine/wineserver
[[ -x "$WINESERVER" ]] || WINESERVER="$(command -v wineserver || echo wineserver)"
export WINE WINESERVER
export WINEPREFIX="${TALLYGLASS_WINEPREFIX:-$ROOT/build/wineprefix}"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

ensure_wine_prefix() {
    if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
        mkdir -p "$WINEPREFIX"
        "$WINE" wineboot -i >/dev/null 2>&1 || true
        [[ -f "$WINEPREFIX/system.reg" ]] || { echo "wineboot made no prefix in $WINEPREFIX" >&2; return 1; }
    fi
    # Settings of this project's prefix; a marker so that an older prefix gets them too.
    local marker="$WINEPREFIX/.tallyglass-prefix-v1"
    if [[ ! -f "$marker" ]]; then
        # Xvfb has no window manager: without this, Wine waits two seconds for
        # one at every window destruction.
        "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
        configure_cjk_fonts
        "$WINESERVER" -w || true
        touch "$marker"
    fi
}

# A Chinese Windows has SimSun and links CJK glyphs into its UI fonts; this prefix
# gets the same from WenQuanYi Micro Hei, so that menus and dialogs show Chinese.
configure_cjk_fonts() {
    local link='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
    local subst='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
    local face
    for face in "Tahoma" "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif" "DejaVu Sans"; do
        "$WINE" reg add "$link" /v "$face" /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f >/dev/null 2>&1
    done
    for face in "宋体" "SimSun" "新宋体" "NSimSun"; do
        "$WINE" reg add "$subst" /v "$face" /d 'WenQuanYi Micro Hei' /f >/dev/null 2>&1
    done
}

# A Wine server left from a run that just ended may still be shutting down; a new
# process that connects to it in that moment fails without a word. Wait for it
# (not where Wine processes may run side by side, as under ctest).
wait_wineserver() {  # wait_wineserver <seconds>
    if ! timeout "$1" "$WINESERVER" -w >/dev/null 2>&1; then
        echo "the previous Wine server did not end within $1 s" >&2
        return 1
    fi
}

TALLYGLASS_XVFB_PID=""
display_answers() { xdpyinfo -display "$1" >/dev/null 2>&1; }  # display_answers :N

# Starts a private Xvfb on a free display number. A lock file or socket of a number
# may be live (another run) or stale (a killed one): skip the number either way, and
# when Xvfb still dies (the number was taken meanwhile), try the next.
ensure_display() {
    if [[ -n "${DISPLAY:-}" ]]; then return 0; fi
    local number tries
    for number in $(seq 90 130); do
        [[ -e /tmp/.X11-unix/X$number || -e /tmp/.X$number-lock ]] && continue
        Xvfb ":$number" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
        TALLYGLASS_XVFB_PID=$!
        for tries in $(seq 100); do
            kill -0 "$TALLYGLASS_XVFB_PID" 2>/dev/null || break
            # The display may answer from another run's Xvfb while ours is still
            # failing on the taken number: it is ours when its lock names our process.
            if [[ "$(tr -d ' \n' 2>/dev/null <"/tmp/.X$number-lock")" == "$TALLYGLASS_XVFB_PID" ]] &&
                display_answers ":$number"; then
                export DISPLAY=":$number"
                return 0
            fi
            sleep 0.1
        done
        kill "$TALLYGLASS_XVFB_PID" 2>/dev/null
        wait "$TALLYGLASS_XVFB_PID" 2>/dev/null
        TALLYGLASS_XVFB_PID=""
        ((tries < 100)) || echo "Xvfb :$number did not answer within 10 s; trying the next number" >&2
    done
    echo "no Xvfb came up on any display from :90 to :130" >&2
    return 1
}

stop_display() {
    if [[ -n "$TALLYGLASS_XVFB_PID" ]]; then
        kill "$TALLYGLASS_XVFB_PID" 2>/dev/null || true
        wait "$TALLYGLASS_XVFB_PID" 2>/dev/null || true
        TALLYGLASS_XVFB_PID=""
        unset DISPLAY
    fi
}

# The screen's DPI as Wine reports it to programs started from now on.
set_screen_dpi() {  # set_screen_dpi <dpi>
    "$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
}
