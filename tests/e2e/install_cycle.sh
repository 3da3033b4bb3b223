#!/usr/bin/env bash
# The downloads as a user meets them, in a Wine prefix of their own: the 64-bit
# MSI installs silently per user, the installed clock starts, a newer MSI
# replaces it in place, the uninstall removes the program and its shortcut and
# keeps the settings; each zip holds the five files, and the 32-bit ones the
# 32-bit exe. A clock in a folder of its own, as unzipped, is what every other
# script runs.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
export TALLYGLASS_WINEPREFIX="$ROOT/build/wineprefix-install"
rm -rf "$TALLYGLASS_WINEPREFIX"  # every run starts from a Windows that never saw the clock
cd "$ROOT" || exit 1
version=$(sed -n 's/^#define TALLYGLASS_VERSION "\(.*\)"$/\1/p' build/win64/generated/tallyglass_version.h 2>/dev/null)
newer=$(sed -n 's/^#define TALLYGLASS_VERSION "\(.*\)"$/\1/p' build/win64/generated-next/tallyglass_version.h 2>/dev/null)
# make test builds the packages ahead, at low priority, with --build-only, and then
# runs this script with --packed.
if [[ "${1:-}" != --packed ]]; then
    if [[ -z "$version" ]] || ! bash scripts/dist.sh >build/logs/install-cycle-dist.log 2>&1; then
        echo "FAIL make dist (see build/logs/install-cycle-dist.log)"; exit 1
    fi
    if ! bash scripts/dist.sh --next --out build/dist-upgrade --arch win64 \
        >build/logs/install-cycle-upgrade.log 2>&1; then
        echo "FAIL the $newer package (see build/logs/install-cycle-upgrade.log)"; exit 1
    fi
fi
[[ "${1:-}" == --build-only ]] && exit 0
source "$ROOT/tests/e2e/lib.bash"
source "$ROOT/tests/e2e/package_checks.bash"

msi="build/dist/TallyglassCountdown-$version-win64.msi"
upgrade="build/dist-upgrade/TallyglassCountdown-$newer-win64.msi"
[[ -n "$version" && -f "$msi" && -f "$upgrade" ]] ||
    { echo "FAIL the packages were not made (see build/logs/install-cycle-*.log)"; exit 1; }
profile=$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 -type d ! -name Public | head -1)
installed="$profile/AppData/Local/Programs/Tallyglass Countdown"
shortcut="$profile/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Tallyglass Countdown.lnk"
settings="$profile/AppData/Roaming/Tallyglass/TallyglassCountdown.ini"

check "the $version MSI installs silently" msiexec_quietly /i "$msi"
check "the program files are in the user's Programs folder" \
    all_exist "$installed"/{TallyglassCountdown.exe,alert.wav,cue.wav,README.txt,LICENSE}
check "the Start-menu shortcut is there" test -f "$shortcut"
check "the installed exe is version $version" exe_version_is "$installed/TallyglassCountdown.exe" "$version"
check "Apps & features lists it once, version $version by Tallyglass" uninstall_entry_is "$version"
start_clock "$installed" && ok "the installed clock shows its window"
expect 10 "its first start writes the settings in %APPDATA%\\Tallyglass" test -s "$settings"
stop_clock
echo "; the user's own line" >>"$settings"

check "the $newer MSI installs over it" msiexec_quietly /i "$upgrade"
check "the installed exe is now version $newer" exe_version_is "$installed/TallyglassCountdown.exe" "$newer"
check "Apps & features lists one entry, version $newer" uninstall_entry_is "$newer"

check "the uninstall runs silently" msiexec_quietly /x "$upgrade"
check "the program files are gone" none_exist "$installed"/{TallyglassCountdown.exe,alert.wav,cue.wav,README.txt,LICENSE}
check "the shortcut is gone" test ! -e "$shortcut"
check "Apps & features no longer lists it" uninstall_entry_is ""
check "the settings file stays, with the user's line" grep -q "the user's own line" "$settings"

for arch in win64 win32; do
    check "the $arch zip holds exactly its exe, alert.wav, cue.wav, README.txt and LICENSE" \
        zip_holds_the_five "build/dist/TallyglassCountdown-$version-$arch.zip" "$arch"
done
check "the 32-bit MSI holds the 32-bit exe" msi_exe_is "build/dist/TallyglassCountdown-$version-win32.msi" win32
check "SHA256SUMS matches the four packages" bash -c "cd build/dist && sha256sum --quiet -c SHA256SUMS"
finish
