#!/usr/bin/env bash
# `make test`: installs what is missing, builds the native, sanitizer, 64-bit and
# 32-bit presets, runs every suite and prints "N passed, M failed" last.
#
# Four lanes run side by side. The Windows lane builds the 64-bit preset first,
# then runs the Wine suite; two end-to-end lanes each run their scripts and a
# leak demo in a Wine prefix and on an Xvfb of their own, so that no two share a
# Wine server or a screen. The CPU lane (the other builds, the unit tests, the fuzzing, the
# packages) runs at the lowest priority: it takes the time the Windows programs
# leave while they wait on timers and screens, and never slows them down. Each
# step leaves its log and its result in build/logs; the summary prints the
# results in one fixed order.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.." || exit 1
ROOT=$PWD
FUZZ_SECONDS="${TALLYGLASS_FUZZ_SECONDS:-10}"
JOBS="$(nproc 2>/dev/null || echo 2)"
LOGS="$ROOT/build/logs"
RESULTS="$LOGS/results"
START=$SECONDS

bash scripts/deps.sh || { echo "could not install the dependencies"; echo "0 passed, 1 failed"; exit 1; }
mkdir -p "$LOGS"
rm -rf "$RESULTS"
mkdir -p "$RESULTS"
# shellcheck source=scripts/wine-env.sh
source scripts/wine-env.sh

# A step's result: its line of the summary, any detail lines from stdin, and its
# counts; written whole, so that the summary never reads half of one.
result() {  # result <step> <passed> <failed> <what>  (detail lines on stdin)
    local text
    if [[ $3 -eq 0 ]]; then text="  ok    $4 ($2 passed)"; else text="  FAIL  $4 ($3 failed, $2 passed; see build/logs)"; fi
    { echo "$text"; sed 's/^/        /'; echo "$2 $3"; } >"$RESULTS/$1.tmp"
    mv "$RESULTS/$1.tmp" "$RESULTS/$1"
}
passes() { result "$1" 1 0 "$2" </dev/null; }
fails() { result "$1" 0 1 "$2"; }  # detail lines on stdin

ctest_counts() {  # ctest_counts <log>: prints "<passed> <failed>"
    local line total failed
    line=$(grep -E "tests passed, [0-9]+ tests? failed out of [0-9]+" "$1" | tail -1)
    if [[ -z "$line" ]]; then echo "0 1"; return; fi
    total=$(echo "$line" | sed -E 's/.*out of ([0-9]+).*/\1/')
    failed=$(echo "$line" | sed -E 's/.*, ([0-9]+) tests? failed.*/\1/')
    echo "$((total - failed)) $failed"
}

gtest_counts() {  # gtest_counts <log> <exit status>: prints "<passed> <failed>"
    local ok bad
    ok=$(sed -nE 's/^\[  PASSED  \] ([0-9]+) tests?.*/\1/p' "$1" | tail -1)
    bad=$(sed -nE 's/^\[  FAILED  \] ([0-9]+) tests?, listed below.*/\1/p' "$1" | tail -1)
    ok=${ok:-0}
    bad=${bad:-0}
    # Crashed, hung or ended from outside: gtest's closing line is missing.
    if [[ $bad -eq 0 ]] && { [[ $2 -ne 0 ]] || ! grep -qE '^\[==========\] [0-9]+ tests? from .* ran' "$1"; }; then bad=1; fi
    echo "$ok $bad"
}

build() {  # build <preset>: true when it built
    if cmake --preset "$1" >"$LOGS/configure-$1.log" 2>&1 &&
        cmake --build --preset "$1" -j"$JOBS" >"$LOGS/build-$1.log" 2>&1; then
        passes "build-$1" "build $1"
    else
        tail -20 "$LOGS/build-$1.log" 2>/dev/null | fails "build-$1" "build $1"
        return 1
    fi
}

unit_tests() {  # unit_tests <preset> <what>
    ASAN_OPTIONS=detect_leaks=1 ctest --preset "$1" -j"$JOBS" >"$LOGS/ctest-$1.log" 2>&1
    read -r ok bad < <(ctest_counts "$LOGS/ctest-$1.log")
    grep -E "\*\*\*(Failed|Exception|Timeout)|Not Run" "$LOGS/ctest-$1.log" | head -5 |
        result "ctest-$1" "$ok" "$bad" "$2"
}

fuzz() {  # fuzz <target>
    local corpus="$ROOT/build/fuzz-corpus/$1"
    mkdir -p "$corpus"
    if (cd "$LOGS" && "$ROOT/build/native-asan/fuzz_$1" -max_total_time="$FUZZ_SECONDS" -timeout=10 \
        -rss_limit_mb=2048 "$corpus" "$ROOT/fuzz/corpus/$1" >"$LOGS/fuzz-$1.log" 2>&1); then
        passes "fuzz-$1" "fuzz $1"
    else
        grep -m3 -E "ERROR|crash-|Test unit" "$LOGS/fuzz-$1.log" | fails "fuzz-$1" "fuzz $1"
    fi
}

pe_check() {  # pe_check <preset> <format> <arch>
    if scripts/check-pe.sh "build/$1/TallyglassCountdown.exe" "$2" "$3-w64-mingw32-objdump" >"$LOGS/pe-$1.log" 2>&1; then
        passes "pe-$1" "$1 exe is $2 importing system DLLs only"
    else
        fails "pe-$1" "$1 exe check" <"$LOGS/pe-$1.log"
    fi
}

# The suite's soak paints as fast as it can, so the suite runs a step below the
# end-to-end scripts beside it; its own waits are bounded generously.
wine_tests() {  # wine_tests <step> <seconds> <filter> <what>
    local status=0
    timeout "$2" nice -n 5 "$WINE" build/win64/win_tests.exe --gtest_filter="$3" >"$LOGS/$1.log" 2>&1 || status=$?
    read -r ok bad < <(gtest_counts "$LOGS/$1.log" "$status")
    grep -E "^soak:|^\[  FAILED  \] [A-Z]" "$LOGS/$1.log" | result "$1" "$ok" "$bad" "$4"
}

# A leaked object per frame must fail the soak. Each run is about twice as long
# as its leak needs to pass its bound after the 2000-frame warm-up: a DC (about
# 2 KiB of committed memory a frame against 8 MiB) 10000 frames, 64 bytes
# of heap a frame against 64 KiB, 6000.
# A demo paints as fast as it can: below the end-to-end scripts beside it, which
# wait on the wall clock and must not starve (a schedule's start, a page's layout).
leak_demo() {  # leak_demo <kind> <frames>
    TALLYGLASS_SOAK_LEAK=$1 TALLYGLASS_SOAK_FRAMES=$2 timeout 600 nice -n 10 "$WINE" build/win64/win_tests.exe \
        --gtest_filter=Soak.* >"$LOGS/leak-demo-$1.log" 2>&1
    # Caught: the soak ran to its figures and its checks failed it.
    if grep -q '^soak:' "$LOGS/leak-demo-$1.log" && grep -qE '^\[  FAILED  \] Soak\.' "$LOGS/leak-demo-$1.log"; then
        passes "leak-$1" "a leaked $1 per frame is caught: $(grep -m1 '^soak:' "$LOGS/leak-demo-$1.log")"
    else
        fails "leak-$1" "a leaked $1 per frame went unnoticed" </dev/null
    fi
}

e2e() {  # e2e <script name> [its arguments]: on an Xvfb of its own, in the lane's prefix
    if timeout 600 env -u DISPLAY bash "tests/e2e/$1.sh" "${@:2}" >"$LOGS/e2e-$1.log" 2>&1; then
        result "e2e-$1" "$(grep -c '^ok ' "$LOGS/e2e-$1.log")" 0 "e2e $1" </dev/null
    else
        grep -E "^FAIL" "$LOGS/e2e-$1.log" | head -5 | result "e2e-$1" "$(grep -c '^ok ' "$LOGS/e2e-$1.log")" 1 "e2e $1"
    fi
}

# Waits for another lane's step; a lane that died is noticed within the hour.
wait_mark() {  # wait_mark <step>
    local deadline=$((SECONDS + 3600))
    until [[ -e "$RESULTS/$1" ]] || ((SECONDS > deadline)); do sleep 1; done
}

# The prefixes: the Windows lane's, and for each end-to-end lane a copy of it, made
# once while no Wine server writes to it (the scripts bring a copy up to date as
# they do this one).
make_prefixes() {
    ensure_wine_prefix
    local lane copy
    for lane in a b; do
        copy="$ROOT/build/wineprefix-e2e-$lane"
        [[ -f "$copy/system.reg" ]] && continue
        "$WINESERVER" -w
        rm -rf "$copy"
        cp -a "$WINEPREFIX" "$copy"
    done
}

# The Windows lane: the 64-bit build, the prefixes, then the Wine suite on its own
# screen. The prefixes are made after the build, not beside it: a wineboot starved
# by the compilers once left a prefix whose running object table refused every
# registration.
windows_lane() {
    if ! build win64; then touch "$RESULTS/.prefixes"; return; fi
    make_prefixes >"$LOGS/wine-prefix.log" 2>&1
    touch "$RESULTS/.prefixes"
    ensure_display
    trap stop_display EXIT
    wine_tests wine-tests 1500 '-HighDpi.*' "Wine tests (rendering, dialogs, window, store, desktop, soak)"
    # Only the cases that depend on the screen's DPI run again at 144 DPI.
    set_screen_dpi 144
    wine_tests wine-tests-144dpi 300 'HighDpi.*' "Wine tests at 144 DPI"
    set_screen_dpi 96
    "$WINESERVER" -k >/dev/null 2>&1 || true
}

# A lane of its own prefix: end-to-end scripts by name, each on an Xvfb of its
# own, and leak-<kind>-<frames> for a leak demo on the lane's Xvfb.
e2e_lane() {  # e2e_lane <lane> <step...>
    local lane="$1"; shift
    wait_mark .prefixes
    # The scripts take the prefix from TALLYGLASS_WINEPREFIX; this shell's Wine
    # server is that prefix's too, never the Windows lane's.
    export TALLYGLASS_WINEPREFIX="$ROOT/build/wineprefix-e2e-$lane" WINEPREFIX="$ROOT/build/wineprefix-e2e-$lane"
    trap stop_display EXIT
    local step kind frames
    for step in "$@"; do
        case $step in
            leak-*)
                IFS=- read -r _ kind frames <<<"$step"
                ensure_display && leak_demo "$kind" "$frames"
                "$WINESERVER" -k >/dev/null 2>&1 || true
                ;;
            # The packages are built in the CPU lane (see there); install_cycle makes its own prefix.
            install_cycle) wait_mark .packages && e2e "$step" --packed ;;
            *) e2e "$step" ;;
        esac
    done
}

# The CPU lane, at the lowest priority: what install_cycle waits for first.
cpu_lane() {
    renice -n 19 "$BASHPID" >/dev/null
    local sources shell_scripts source target
    mapfile -t sources < <(git ls-files '*.cpp' '*.h')
    if clang-format --dry-run --Werror "${sources[@]}" >"$LOGS/format.log" 2>&1; then
        passes format "clang-format on ${#sources[@]} files"
    else
        grep -m5 -E "(error|warning):" "$LOGS/format.log" |
            fails format "clang-format (run clang-format -i on the files in build/logs/format.log)"
    fi
    shell_scripts=(scripts/*.sh tests/e2e/*.sh tests/e2e/*.bash .ci/run)
    if shellcheck -x "${shell_scripts[@]}" >"$LOGS/shellcheck.log" 2>&1; then
        passes shellcheck "shellcheck on ${#shell_scripts[@]} scripts"
    else
        grep -m5 -E "^In .* line [0-9]+:" "$LOGS/shellcheck.log" | fails shellcheck "shellcheck"
    fi
    build win32
    # The 64-bit build is the Windows lane's; its exe is checked once it is there.
    wait_mark build-win64
    pe_check win64 pei-x86-64 x86_64
    pe_check win32 pei-i386 i686
    # install_cycle's packages and the newer build its upgrade needs; the script
    # then installs them as they are (--packed).
    bash tests/e2e/install_cycle.sh --build-only >"$LOGS/install-cycle-build.log" 2>&1
    touch "$RESULTS/.packages"
    # The network side's test alone, under ThreadSanitizer: its one large source is
    # built beside the sanitized unit tests, which run once (a plain build of them
    # would only repeat them). Tests with threads and bounds in time run after the
    # builds, near the end.
    build native-tsan &
    local tsan=$!
    build native-asan
    local asan=$?
    if wait "$tsan"; then unit_tests native-tsan "the network side under ThreadSanitizer" & fi
    ((asan == 0)) || { wait; return; }
    unit_tests native-asan "sanitized unit tests"
    wait
    for source in fuzz/fuzz_*.cpp; do  # every fuzz target, as CMake finds them, two at a time
        target=$(basename "$source" .cpp)
        fuzz "${target#fuzz_}" &
        (($(jobs -rp | wc -l) < JOBS)) || wait -n
    done
    wait
}

# Every step in the order the summary lists it, under its heading.
ORDER=("== build" build-win64 build-win32 build-native-tsan build-native-asan
    "== the network side's threads under ThreadSanitizer" ctest-native-tsan
    "== native unit tests under AddressSanitizer and UBSan" ctest-native-asan
    "== fuzzing (${FUZZ_SECONDS}s a target)")
for source in fuzz/fuzz_*.cpp; do
    target=$(basename "$source" .cpp)
    ORDER+=("fuzz-${target#fuzz_}")
done
ORDER+=("== Windows executables" pe-win64 pe-win32
    "== Wine tests" wine-tests
    "== the same prefix with its screen at 144 DPI" wine-tests-144dpi
    "== the soak's leak checks catch a leak made on purpose" leak-dc leak-heap
    "== source format" format
    "== shell scripts" shellcheck
    "== end to end (the real exe under Xvfb, xdotool as the user)")
# The two other Wine lanes, about as long as the Windows lane's suite; the heap
# demo runs while install_cycle may still wait for its packages.
E2E_A=(start_and_exit language presenter_control remote remote_flood settings slides leak-dc-10000)
E2E_B=(menu_and_keys desktop remote_browser schedule leak-heap-6000 remote_load install_cycle)
for script in tests/e2e/*.sh; do ORDER+=("e2e-$(basename "$script" .sh)"); done

windows_lane >"$LOGS/lane-windows.log" 2>&1 &
e2e_lane a "${E2E_A[@]}" >"$LOGS/lane-e2e-a.log" 2>&1 &
e2e_lane b "${E2E_B[@]}" >"$LOGS/lane-e2e-b.log" 2>&1 &
cpu_lane >"$LOGS/lane-cpu.log" 2>&1 &

# The summary, in order, each result as soon as it and all before it are there. A
# step that never reports (its lane ended, or it is in no lane) fails.
passed=0
failed=0
for step in "${ORDER[@]}"; do
    if [[ $step == "=="* ]]; then echo "$step"; continue; fi
    until [[ -e "$RESULTS/$step" ]] || [[ -z "$(jobs -rp)" ]]; do sleep 1; done
    [[ -e "$RESULTS/$step" ]] || result "$step" 0 1 "$step: no result (see build/logs/lane-*.log)" </dev/null
    sed '$d' "$RESULTS/$step"
    read -r ok bad < <(tail -1 "$RESULTS/$step")
    passed=$((passed + ok))
    failed=$((failed + bad))
done
wait
bash scripts/line-counts.sh
echo "took $(((SECONDS - START) / 60)) min $(((SECONDS - START) % 60)) s"
echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
