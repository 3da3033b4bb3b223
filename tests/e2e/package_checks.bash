# Sourced by install_cycle.sh after lib.bash: checks on the packages of
# scripts/dist.sh and on what they install. Each returns true or false.

windows_path() {
    local path
    path=$(realpath "$1")
    echo "Z:${path//\//\\}"
}

msiexec_quietly() {  # msiexec_quietly </i|/x> <package>: ends well within two minutes
    timeout 120 "$WINE" msiexec "$1" "$(windows_path "$2")" /qn >/dev/null 2>&1
}

all_exist() {
    local file
    for file in "$@"; do [[ -e "$file" ]] || { echo "missing: $file"; return 1; }; done
}

none_exist() {
    local file
    for file in "$@"; do [[ ! -e "$file" ]] || { echo "still there: $file"; return 1; }; done
}

wait_for_file() {  # wait_for_file <path>: up to ten seconds
    for _ in $(seq 100); do
        [[ -s "$1" ]] && return 0
        sleep 0.1
    done
    return 1
}

# "version publisher" of every uninstall entry named Tallyglass Countdown, in
# either hive (Wine keeps a per-user product's entry under HKLM).
uninstall_entries() {
    local hive
    for hive in HKLM HKCU; do
        "$WINE" reg query "$hive\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall" /s 2>/dev/null
    done | tr -d '\r' | awk '
        function flush() { if (name == "Tallyglass Countdown") print version, publisher; name = version = publisher = "" }
        /^HKEY_/ { flush() }
        $1 == "DisplayName" { name = substr($0, index($0, $3)) }
        $1 == "DisplayVersion" { version = $3 }
        $1 == "Publisher" { publisher = $3 }
        END { flush() }'
}

uninstall_entry_is() {  # uninstall_entry_is <version>: one entry of it by Tallyglass; "" for none at all
    local entries
    entries=$(uninstall_entries)
    [[ "$entries" == "${1:+$1 Tallyglass}" ]] || { echo "uninstall entries: '${entries//$'\n'/; }'"; return 1; }
}

exe_version_is() {  # exe_version_is <exe> <version>: the version resource's FileVersion
    local found
    found=$(strings -el "$1" | grep -A1 -m1 '^FileVersion$' | tail -1)
    [[ "$found" == "$2" ]] || { echo "FileVersion of $1: '$found'"; return 1; }
}

zip_holds_the_four() {  # zip_holds_the_four <zip>: one folder named after the zip, the four files in it
    local folder listed
    folder=$(basename "$1" .zip)
    listed=$(unzip -Z1 "$1" | grep -v '/$' | LC_ALL=C sort | tr '\n' ' ')
    [[ "$listed" == "$folder/LICENSE $folder/README.txt $folder/TallyglassCountdown.exe $folder/alert.wav " ]] ||
        { echo "$1 holds: $listed"; return 1; }
    unzip -p "$1" "$folder/alert.wav" | cmp -s - res/alert.wav || { echo "alert.wav differs"; return 1; }
    # Plain text with CRLF for Notepad, no Markdown table or emphasis left.
    unzip -p "$1" "$folder/README.txt" | head -1 | grep -q $'^Tallyglass Countdown\r$' &&
        ! unzip -p "$1" "$folder/README.txt" | grep -Eq '^\||\*\*|`'
}

pe_is() {  # pe_is <exe> <i386|x86-64>
    local want="PE32 executable .*Intel 80386"
    [[ "$2" == x86-64 ]] && want="PE32\\+ executable .*x86-64"
    file "$1" | grep -Eq "$want" || { file "$1"; return 1; }
}

zip_exe_is() {  # zip_exe_is <zip> <machine>
    local exe="$SCREENS/zip-exe.bin"
    unzip -p "$1" "$(basename "$1" .zip)/TallyglassCountdown.exe" >"$exe" && pe_is "$exe" "$2"
}

msi_exe_is() {  # msi_exe_is <msi> <machine>
    local dir="$SCREENS/msi-contents"
    rm -rf "$dir" && mkdir -p "$dir"
    (cd "$dir" && msiextract "$(realpath "$OLDPWD/$1")" >/dev/null) || return 1
    pe_is "$(find "$dir" -name TallyglassCountdown.exe | head -1)" "$2"
}

# Unzipped into a folder with a blank in its name, with a settings file beside
# the exe: the clock runs, and closing it writes its keys into that file.
portable_run() {  # portable_run <zip>
    local dir="$SCREENS/portable clock"
    rm -rf "$dir" && mkdir -p "$dir"
    unzip -q "$1" -d "$dir" || return 1
    local app
    app="$dir/$(basename "$1" .zip)"
    printf '[settings]\nwavalert=0\nfontname=DejaVu Sans\n' >"$app/TallyglassCountdown.ini"
    (cd "$app" && exec "$WINE" ./TallyglassCountdown.exe >/dev/null 2>&1) &
    # shellcheck disable=SC2034  # lib.bash's wait_clock_exit and stop_clock read it
    CLOCK_PID=$!
    wait_window 'TallyglassPPT' >/dev/null || { echo "no clock window"; return 1; }
    "$WINE" taskkill /im TallyglassCountdown.exe >/dev/null 2>&1  # WM_CLOSE, which ends it like Exit
    wait_clock_exit 10 || { echo "the clock did not end"; return 1; }
    grep -q '^djsseconds' "$app/TallyglassCountdown.ini" || { echo "nothing written beside the exe"; return 1; }
}
