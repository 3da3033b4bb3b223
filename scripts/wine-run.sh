#!/usr/bin/env bash
# Runs a Windows executable under wine64; ctest uses it as the cross-compiling emulator.
set -uo pipefail
# shellcheck source=scripts/wine-env.sh
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
ensure_wine_prefix
ensure_display
trap stop_display EXIT
"$WINE" "$@"
