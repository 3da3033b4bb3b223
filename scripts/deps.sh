#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build and the tests need and the
# machine lacks, and the QR Code generator's source. Quiet and quick when everything is there.
set -euo pipefail

packages=(
    cmake make ninja-build g++ python3 googletest libsimpleini-dev
    g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
    wine wine64 xvfb xauth xdotool x11-utils imagemagick fonts-dejavu-core fonts-wqy-microhei shellcheck clang-format git
    clang libclang-rt-14-dev
    msitools wixl sox zip unzip file locales
    libboost-dev nlohmann-json3-dev curl python3-websocket chromium chromium-driver python3-selenium
    zbar-tools
)
if [[ "${1:-}" == "--run-only" ]]; then
    packages=(cmake make ninja-build g++ libsimpleini-dev googletest g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
              wine wine64 xvfb xauth xdotool x11-utils imagemagick fonts-dejavu-core fonts-wqy-microhei locales
              libboost-dev nlohmann-json3-dev)
fi

# One query for all of them: make test and make dist ask often.
installed=$(dpkg-query -W -f='${Package} ${Status}\n' "${packages[@]}" 2>/dev/null | awk '/ install ok installed$/ {print $1}' || true)
missing=()
for package in "${packages[@]}"; do
    grep -qxF "$package" <<<"$installed" || missing+=("$package")
done
if [[ ${#missing[@]} -gt 0 ]]; then
    echo "Installing: ${missing[*]}"
    sudo=()
    if [[ $(id -u) -ne 0 ]]; then sudo=(sudo); fi
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Nayuki's QR Code generator (MIT): its two C files from Debian's source package, which
# the build compiles with each of its compilers (no binary package serves MinGW). The C
# edition rather than the C++ one: it throws nothing and streams nothing, so the clock
# links none of the C++ library's locale machinery (a third of the program's size). apt runs
# on a configuration of the project's own under build/ (deb-src lines made from the
# system's deb lines, lists and cache of its own), so the system's apt state stays as it is.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
QRCODEGEN="$ROOT/build/third_party/qrcodegen"
APT_SOURCE="$ROOT/build/apt-source"

# The system's deb entries as deb-src: one-line files into sources.list, deb822 stanzas
# (Types: deb) into a .sources file, each read as apt would read the original.
write_deb_src() {
    local file
    : >"$APT_SOURCE/sources.list"
    for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        if [[ -f "$file" ]]; then
            sed -nE 's/^[[:space:]]*deb[[:space:]]+/deb-src /p' "$file" >>"$APT_SOURCE/sources.list"
        fi
    done
    for file in /etc/apt/sources.list.d/*.sources; do
        if [[ -f "$file" ]]; then
            awk '/^Types:/ && / deb( |$)/ { print "Types: deb-src"; next } { print } END { print "" }' "$file" \
                >>"$APT_SOURCE/parts/deb-src.sources"
        fi
    done
}

fetch_qrcodegen() {
    [[ -f "$QRCODEGEN/VERSION" && -f "$QRCODEGEN/qrcodegen.c" && -f "$QRCODEGEN/qrcodegen.h" ]] && return 0
    local options version tarball top
    rm -rf "$APT_SOURCE"
    mkdir -p "$APT_SOURCE/parts" "$APT_SOURCE/lists/partial" "$APT_SOURCE/cache/archives/partial" "$APT_SOURCE/download"
    write_deb_src
    options=(-o "Dir::Etc::SourceList=$APT_SOURCE/sources.list" -o "Dir::Etc::SourceParts=$APT_SOURCE/parts"
        -o "Dir::State::Lists=$APT_SOURCE/lists" -o "Dir::Cache=$APT_SOURCE/cache")
    # A source without deb-src indexes (a third party's) only warns: the package is Debian's.
    apt-get "${options[@]}" update >"$APT_SOURCE/log" 2>&1 || true
    version=$(apt-cache "${options[@]}" showsrc --only-source qr-code-generator 2>>"$APT_SOURCE/log" |
        sed -n 's/^Version: //p' | sort -V | tail -1)
    if [[ -z "$version" ]]; then
        echo "deps.sh: apt found no source package qr-code-generator (log: $APT_SOURCE/log)" >&2
        return 1
    fi
    echo "Fetching the QR Code generator's source: Debian's qr-code-generator $version"
    # apt downloads as its sandbox user where it runs as root.
    if [[ $(id -u) -eq 0 ]] && id _apt >/dev/null 2>&1; then chown _apt "$APT_SOURCE/download"; fi
    if ! (cd "$APT_SOURCE/download" &&
        apt-get "${options[@]}" source --download-only --tar-only "qr-code-generator=$version") >>"$APT_SOURCE/log" 2>&1; then
        echo "deps.sh: apt-get source qr-code-generator=$version failed (log: $APT_SOURCE/log)" >&2
        return 1
    fi
    tarball=$(find "$APT_SOURCE/download" -name 'qr-code-generator_*.orig.tar.*')
    # The archive's top folder (QR-Code-generator-<version>); sed reads the list whole, so no
    # pipe is cut short under pipefail.
    top=$(tar -tf "$tarball" 2>/dev/null | sed -n '1s|/.*||p')
    rm -rf "$QRCODEGEN"
    mkdir -p "$QRCODEGEN"
    if [[ -z "$top" ]] || ! tar -xf "$tarball" -C "$QRCODEGEN" --strip-components=2 \
        "$top/c/qrcodegen.c" "$top/c/qrcodegen.h" 2>>"$APT_SOURCE/log"; then
        echo "deps.sh: no c/qrcodegen.c and .h in ${tarball:-the downloaded source} (log: $APT_SOURCE/log)" >&2
        return 1
    fi
    # Written last: its presence says the two files are whole.
    printf 'qr-code-generator %s (Debian source package)\n%s sha256 %s\n' "$version" "$(basename "$tarball")" \
        "$(sha256sum "$tarball" | cut -d' ' -f1)" >"$QRCODEGEN/VERSION"
    rm -rf "$APT_SOURCE"
}
fetch_qrcodegen
