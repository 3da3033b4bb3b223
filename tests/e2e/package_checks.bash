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

# The zip and MSI carry the exe of the build folder, whose format test.sh checks
# (scripts/check-pe.sh): the same bytes, so a 64-bit exe in a 32-bit package shows.
zip_holds_the_five() {  # zip_holds_the_five <zip> <preset>: one folder named after the zip, the five files in it
    local folder listed
    folder=$(basename "$1" .zip)
    listed=$(unzip -Z1 "$1" | grep -v '/$' | LC_ALL=C sort | tr '\n' ' ')
    [[ "$listed" == "$folder/LICENSE $folder/README.txt $folder/TallyglassCountdown.exe $folder/alert.wav $folder/cue.wav " ]] ||
        { echo "$1 holds: $listed"; return 1; }
    local sound
    for sound in alert.wav cue.wav; do
        unzip -p "$1" "$folder/$sound" | cmp -s - "res/$sound" || { echo "$sound differs"; return 1; }
    done
    unzip -p "$1" "$folder/TallyglassCountdown.exe" | cmp -s - "build/$2/TallyglassCountdown.exe" ||
        { echo "the exe is not build/$2's"; return 1; }
    # Plain text with CRLF for Notepad, no Markdown table or emphasis left.
    unzip -p "$1" "$folder/README.txt" | head -1 | grep -q $'^Tallyglass Countdown\r$' &&
        ! unzip -p "$1" "$folder/README.txt" | grep -Eq '^\||\*\*|`'
}

msi_exe_is() {  # msi_exe_is <msi> <preset>
    local dir="$SCREENS/msi-contents"
    rm -rf "$dir" && mkdir -p "$dir"
    (cd "$dir" && msiextract "$(realpath "$OLDPWD/$1")" >/dev/null) || return 1
    cmp "$(find "$dir" -name TallyglassCountdown.exe | head -1)" "build/$2/TallyglassCountdown.exe"
}
