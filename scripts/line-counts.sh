#!/usr/bin/env bash
# Prints the project's program lines, test lines and the tests' share of all code:
# non-blank, non-comment lines of the tracked source, script, build and page files,
# with everything under tests/ and fuzz/ counted as tests.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

# shellcheck disable=SC2016  # the program is awk's, its dollars are its own
git ls-files -z | xargs -0 awk '
    function kind(path) {
        if (path ~ /\.(cpp|h|c|rc|js|css)$/) return "c"
        if (path ~ /\.(sh|bash|py|cmake)$/ || path ~ /(^|\/)(CMakeLists\.txt|Makefile|run)$/) return "hash"
        if (path ~ /\.(html|wxs|manifest|xml)$/) return "xml"
        if (path ~ /\.(json|in)$/) return "plain"
        return ""
    }
    FNR == 1 { k = kind(FILENAME); inBlock = 0; isTest = (FILENAME ~ /^(tests|fuzz)\//) }
    k == "" { next }
    {
        line = $0
        gsub(/^[ \t]+|[ \t\r]+$/, "", line)
        if (line == "") next
        if (k == "c") {
            if (inBlock) { if (line ~ /\*\//) inBlock = 0; next }
            if (line ~ /^\/\//) next
            if (line ~ /^\/\*/) { if (line !~ /\*\//) inBlock = 1; next }
        } else if (k == "hash") {
            if (line ~ /^#/) next
        } else if (k == "xml") {
            if (inBlock) { if (line ~ /-->/) inBlock = 0; next }
            if (line ~ /^<!--/) { if (line !~ /-->/) inBlock = 1; next }
        }
        if (isTest) tests++; else program++
    }
    END {
        total = program + tests
        printf "lines: %d program, %d tests, tests %.1f%% of %d\n", program, tests, total ? 100 * tests / total : 0, total
    }'
