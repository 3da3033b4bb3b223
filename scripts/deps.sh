#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build and the tests need and the
# machine lacks. Quiet and quick when everything is there.
set -euo pipefail

packages=(
    cmake make g++ python3 googletest libsimpleini-dev
    g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
    wine wine64 xvfb xauth xdotool x11-utils imagemagick fonts-dejavu-core fonts-wqy-microhei shellcheck clang-format git
    clang libclang-rt-14-dev
    msitools wixl sox zip unzip file locales
    libboost-dev nlohmann-json3-dev curl python3-websocket chromium chromium-driver python3-selenium
)
if [[ "${1:-}" == "--run-only" ]]; then
    packages=(cmake make g++ libsimpleini-dev googletest g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
              wine wine64 xvfb xauth xdotool x11-utils imagemagick fonts-dejavu-core fonts-wqy-microhei locales
              libboost-dev nlohmann-json3-dev)
fi

# One query for all of them: make test and make dist ask often.
installed=$(dpkg-query -W -f='${Package} ${Status}\n' "${packages[@]}" 2>/dev/null | awk '/ install ok installed$/ {print $1}' || true)
missing=()
for package in "${packages[@]}"; do
    grep -qxF "$package" <<<"$installed" || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
if [[ $(id -u) -ne 0 ]]; then sudo=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
