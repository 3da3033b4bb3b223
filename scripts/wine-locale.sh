#!/usr/bin/env bash
# wine64 under the locale TALLYGLASS_WINE_LOCALE: Wine takes the user's interface
# language (and the system locale) from LC_ALL. Set only for Wine, since the
# machine need not have that locale for its own programs.
exec env LC_ALL="${TALLYGLASS_WINE_LOCALE:-zh_CN.UTF-8}" "$TALLYGLASS_WINE_BINARY" "$@"
