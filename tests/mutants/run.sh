#!/usr/bin/env bash
# `make mutants`: puts each deliberate fault of faults.txt alone into a copy of the
# sources, rebuilds the native tests there and runs them. A fault the tests fail on
# (or hang on) is caught; one they pass is a gap, or a fault that changes nothing.
# The sources themselves are never touched: the copy lives in build/mutants/src.
# Usage: run.sh [FAULTS-FILE] [NUMBER...]  (numbers pick faults of the list)
set -uo pipefail
shopt -u patsub_replacement 2>/dev/null || true  # '&' in a replacement is plain text
cd "$(dirname "${BASH_SOURCE[0]}")/../.." || exit 1
ROOT=$PWD
LIST="${1:-tests/mutants/faults.txt}"
shift $(($# > 0 ? 1 : 0))
SRC="$ROOT/build/mutants/src"
BUILD="$ROOT/build/mutants/build"
LOG="$ROOT/build/mutants/log"
TIMEOUT="${MUTANT_TIMEOUT:-60}"
JOBS="${MUTANT_JOBS:-2}"

# The copy takes the work tree as it is, edits not yet committed included. A file
# whose content changed is written anew (a new time, so it is compiled again);
# one that did not keep its time, so the build stays incremental.
sync_copy() {
    local file
    mkdir -p "$SRC"
    while IFS= read -r -d '' file; do
        [[ -f "$file" ]] || continue
        if ! cmp -s "$file" "$SRC/$file"; then
            mkdir -p "$SRC/$(dirname "$file")"
            cp "$file" "$SRC/$file"
        fi
    done < <(git ls-files -z --cached --others --exclude-standard)
}

build() { cmake --build "$BUILD" --target native_tests -j"$JOBS" >"$LOG/build.log" 2>&1; }

# Fails (non-zero) on the first test that fails; a hang ends at the bound.
run_tests() {
    (cd "$BUILD" && timeout "$TIMEOUT" ./native_tests --gtest_fail_fast --gtest_brief=1 >"$LOG/tests.log" 2>&1)
}

occurrences() {  # occurrences <file> <snippet>
    local text rest count=0
    text=$(cat "$1"; printf x)
    rest=$text
    while [[ "$rest" == *"$2"* ]]; do
        rest=${rest#*"$2"}
        count=$((count + 1))
    done
    echo "$count"
}

replace_once() {  # replace_once <file> <from> <to>
    local text
    text=$(cat "$1"; printf x)
    text=${text/"$2"/"$3"}
    printf '%s' "${text%x}" >"$1"
}

mkdir -p "$LOG"
echo "== copying the sources to build/mutants/src"
sync_copy
if [[ ! -f "$BUILD/CMakeCache.txt" ]]; then
    cmake -S "$SRC" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE= -DTALLYGLASS_WERROR=OFF >"$LOG/configure.log" 2>&1 ||
        { cat "$LOG/configure.log"; exit 1; }
fi
echo "== the unchanged sources"
build || { tail -30 "$LOG/build.log"; echo "the native tests do not build"; exit 1; }
run_tests || { tail -30 "$LOG/tests.log"; echo "the native tests fail without any fault"; exit 1; }

# The list: blocks of "file:", "from:", "to:" and "fault:" lines; '#' starts a
# comment line. A value is the rest of its line after the key and one blank.
files=() froms=() tos=() faults=()
add_fault() {
    if [[ -n "${file:-}" || -n "${from:-}" ]]; then
        files+=("$file") froms+=("$from") tos+=("$to") faults+=("${fault:-}")
    fi
    file="" from="" to="" fault=""
}
file="" from="" to="" fault=""
while IFS= read -r line || [[ -n "$line" ]]; do
    case "$line" in
        "#"*) ;;
        "") add_fault ;;
        file:*) file=${line#file: } ;;
        from:*) from=${line#from: } ;;
        to:*) to=${line#to: } to=${to#to:} ;;
        fault:*) fault=${line#fault: } ;;
        *) echo "$LIST: cannot read: $line"; exit 1 ;;
    esac
done <"$LIST"
add_fault

picked=("$@")
caught=0 total=0 survived=() stale=()
for i in "${!files[@]}"; do
    number=$((i + 1))
    if ((${#picked[@]} > 0)) && [[ " ${picked[*]} " != *" $number "* ]]; then continue; fi
    target="$SRC/${files[i]}"
    label=$(printf '%3d %-34s %s' "$number" "${files[i]}" "${faults[i]}")
    if [[ ! -f "$target" || $(occurrences "$target" "${froms[i]}") -ne 1 ]]; then
        echo "stale     $label"
        stale+=("$number")
        continue
    fi
    cp "$target" "$LOG/original"
    replace_once "$target" "${froms[i]}" "${tos[i]}"
    if ! build; then
        result="no-build"
        stale+=("$number")
    elif run_tests; then
        result="SURVIVED"
        survived+=("$number")
    else
        result="caught"
    fi
    cp "$LOG/original" "$target"  # a new time: compiled again with the next build
    echo "$(printf '%-9s' "$result") $label"
    [[ $result == no-build ]] && continue
    total=$((total + 1))
    [[ $result == caught ]] && caught=$((caught + 1))
done
build >/dev/null 2>&1  # the copy's objects match the sources again

((${#stale[@]} > 0)) && echo "not applied (stale or not building): ${stale[*]}"
((${#survived[@]} > 0)) && echo "survived: ${survived[*]}"
echo "mutants: $caught of $total caught ($((total > 0 ? 100 * caught / total : 0))%)"
