#!/usr/bin/env bash
# wine64 under the locale TALLYGLASS_WINE_LOCALE (say zh_CN.UTF-8): Wine takes
# the user's interface language and the system locale from LC_ALL, and needs the
# locale itself to name its X windows. The machine need not have it: it is
# compiled once from Debian's locale sources into build/locale, for Wine alone.
set -uo pipefail
locale="${TALLYGLASS_WINE_LOCALE:-zh_CN.UTF-8}"
locales="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/locale"
if [[ ! -d "$locales/$locale" ]]; then
    mkdir -p "$locales"
    scratch=$(mktemp -d "$locales/.new.XXXXXX")
    # Warnings about the source do not make the compiled locale unusable.
    localedef -i "${locale%%.*}" -f UTF-8 "$scratch/$locale" >/dev/null 2>&1
    mv -T "$scratch/$locale" "$locales/$locale" 2>/dev/null  # another process may have won
    rm -rf "$scratch"
fi
exec env LOCPATH="$locales" LC_ALL="$locale" "$TALLYGLASS_WINE_BINARY" "$@"
