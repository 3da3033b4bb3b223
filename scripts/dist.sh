#!/usr/bin/env bash
# `make dist`: builds the 64- and 32-bit clocks and packs each as a zip (portable
# use) and a per-user MSI, with SHA256SUMS, in build/dist. The version is the
# one CMake configured; --version builds another into its own build folders, and
# --next packs the next patch version that a build with the Wine tests links
# beside the clock (the upgrade test's newer clock, from the same objects).
#   scripts/dist.sh [--version MAJOR.MINOR.PATCH | --next] [--out DIR] [--arch win64|win32]...
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
override=""
target=TallyglassCountdown
exe_folder=""
version_folder=generated
out=build/dist
arches=()
while [[ $# -gt 0 ]]; do
    case "$1" in
        --version) override="$2"; shift 2 ;;
        --next) target=TallyglassCountdownNext exe_folder=/next version_folder=generated-next; shift ;;
        --out) out="$2"; shift 2 ;;
        --arch) arches+=("$2"); shift 2 ;;
        *) echo "unknown argument: $1" >&2; exit 2 ;;
    esac
done
[[ ${#arches[@]} -gt 0 ]] || arches=(win64 win32)
JOBS="${TALLYGLASS_JOBS:-2}"
LOGS=build/logs
mkdir -p "$LOGS" "$out"
bash scripts/deps.sh

build_dir() { if [[ -n "$override" ]]; then echo "build/$1-v$override"; else echo "build/$1"; fi; }

build_exe() {  # build_exe <preset>
    local dir
    dir=$(build_dir "$1")
    # Passed even when empty, so that a folder never keeps an older override.
    cmake --preset "$1" -B "$dir" -DTALLYGLASS_VERSION_OVERRIDE="$override" >"$LOGS/dist-configure-$1.log" 2>&1
    cmake --build "$dir" --target "$target" -j"$JOBS" >"$LOGS/dist-build-$1.log" 2>&1 ||
        { tail -20 "$LOGS/dist-build-$1.log"; exit 1; }
}

configured_version() {  # configured_version <preset>
    sed -n 's/^#define TALLYGLASS_VERSION "\(.*\)"$/\1/p' "$(build_dir "$1")/$version_folder/tallyglass_version.h"
}

# The five files a user gets, in a folder of their own; the same for zip and MSI.
stage() {  # stage <preset> <folder>
    rm -rf "$2"
    mkdir -p "$2"
    cp "$(build_dir "$1")$exe_folder/TallyglassCountdown.exe" res/alert.wav res/cue.wav LICENSE "$2/"
    python3 scripts/readme_txt.py README.md "$2/README.txt"
    # The last commit's time on every file: the same sources give the same zip.
    touch -d "@$(git log -1 --format=%ct 2>/dev/null || echo 0)" "$2" "$2"/*
}

package() {  # package <preset>
    local version name staged wix_arch=x64 win64=yes
    version=$(configured_version "$1")
    name="TallyglassCountdown-$version-$1"
    staged="build/stage/$name"
    [[ "$1" == win32 ]] && { wix_arch=x86; win64=no; }
    stage "$1" "$staged"
    rm -f "$out/$name.zip" "$out/$name.msi"
    (cd "$(dirname "$staged")" && zip -q -X -r - "$name") >"$out/$name.zip"
    wixl -a "$wix_arch" -D Version="$version" -D Win64="$win64" -D SourceDir="$staged" \
        -o "$out/$name.msi" packaging/TallyglassCountdown.wxs
    PACKAGES+=("$name.zip" "$name.msi")
}

PACKAGES=()
for preset in "${arches[@]}"; do
    build_exe "$preset"
    package "$preset"
done
(cd "$out" && sha256sum "${PACKAGES[@]}" >SHA256SUMS)
for file in "${PACKAGES[@]}" SHA256SUMS; do
    printf '%s/%s  %s bytes\n' "$out" "$file" "$(stat -c %s "$out/$file")"
done
