#!/usr/bin/env bash
# `make test`: installs what is missing, builds the native, sanitizer, 64-bit and
# 32-bit presets, runs every suite and prints "N passed, M failed" last.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.." || exit 1
ROOT=$PWD
FUZZ_SECONDS="${TALLYGLASS_FUZZ_SECONDS:-20}"
JOBS="$(nproc 2>/dev/null || echo 2)"
LOGS="$ROOT/build/logs"

bash scripts/deps.sh || { echo "could not install the dependencies"; echo "0 passed, 1 failed"; exit 1; }
mkdir -p "$LOGS"
# shellcheck source=scripts/wine-env.sh
source scripts/wine-env.sh

passed=0
failed=0
record() {  # record <passed> <failed> <what>
    passed=$((passed + $1))
    failed=$((failed + $2))
    if [[ $2 -eq 0 ]]; then echo "  ok    $3 ($1 passed)"; else echo "  FAIL  $3 ($2 failed, $1 passed; see build/logs)"; fi
}

echo "== build"
for preset in native native-asan win64 win32; do
    if cmake --preset "$preset" >"$LOGS/configure-$preset.log" 2>&1 &&
        cmake --build --preset "$preset" -j"$JOBS" >"$LOGS/build-$preset.log" 2>&1; then
        record 1 0 "build $preset"
    else
        record 0 1 "build $preset"
        tail -20 "$LOGS/build-$preset.log" 2>/dev/null
    fi
done

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
    if [[ $2 -ne 0 && $bad -eq 0 ]]; then bad=1; fi  # crashed or hung
    echo "$ok $bad"
}

echo "== native unit tests"
ctest --preset native >"$LOGS/ctest-native.log" 2>&1
read -r ok bad < <(ctest_counts "$LOGS/ctest-native.log")
record "$ok" "$bad" "native unit tests"

echo "== native unit tests under AddressSanitizer and UBSan"
ASAN_OPTIONS=detect_leaks=1 ctest --preset native-asan >"$LOGS/ctest-native-asan.log" 2>&1
read -r ok bad < <(ctest_counts "$LOGS/ctest-native-asan.log")
record "$ok" "$bad" "sanitized unit tests"

echo "== fuzzing (${FUZZ_SECONDS}s a target)"
for source in fuzz/fuzz_*.cpp; do  # every fuzz target, as CMake finds them
    target=$(basename "$source" .cpp)
    target=${target#fuzz_}
    corpus="$ROOT/build/fuzz-corpus/$target"
    mkdir -p "$corpus"
    if (cd "$LOGS" && "$ROOT/build/native-asan/fuzz_$target" -max_total_time="$FUZZ_SECONDS" -timeout=10 \
        -rss_limit_mb=2048 "$corpus" "$ROOT/fuzz/corpus/$target" >"$LOGS/fuzz-$target.log" 2>&1); then
        record 1 0 "fuzz $target"
    else
        record 0 1 "fuzz $target"
        grep -m3 -E "ERROR|crash-|Test unit" "$LOGS/fuzz-$target.log"
    fi
done

echo "== Windows executables"
for exe in win64:pei-x86-64:x86_64 win32:pei-i386:i686; do
    IFS=: read -r preset format arch <<<"$exe"
    if scripts/check-pe.sh "build/$preset/TallyglassCountdown.exe" "$format" "$arch-w64-mingw32-objdump" \
        >"$LOGS/pe-$preset.log" 2>&1; then
        record 1 0 "$preset exe is $format importing system DLLs only"
    else
        record 0 1 "$preset exe check"
        cat "$LOGS/pe-$preset.log"
    fi
done

echo "== Wine tests"
ensure_wine_prefix
ensure_display
trap stop_display EXIT
status=0
timeout 1500 "$WINE" build/win64/win_tests.exe --gtest_filter=-HighDpi.* >"$LOGS/wine-tests.log" 2>&1 || status=$?
read -r ok bad < <(gtest_counts "$LOGS/wine-tests.log" "$status")
record "$ok" "$bad" "Wine tests (rendering, dialogs, window, store, desktop, soak)"
grep -E "^soak:" "$LOGS/wine-tests.log" | sed 's/^/        /'

echo "== the same prefix with its screen at 144 DPI"
set_screen_dpi 144
status=0
timeout 300 "$WINE" build/win64/win_tests.exe --gtest_filter=HighDpi.* >"$LOGS/wine-tests-144dpi.log" 2>&1 || status=$?
set_screen_dpi 96
read -r ok bad < <(gtest_counts "$LOGS/wine-tests-144dpi.log" "$status")
record "$ok" "$bad" "Wine tests at 144 DPI"

echo "== the soak's leak checks catch a leak made on purpose"
for kind in dc brush; do
    if TALLYGLASS_SOAK_LEAK=$kind TALLYGLASS_SOAK_FRAMES=10000 timeout 600 "$WINE" build/win64/win_tests.exe --gtest_filter=Soak.* \
        >"$LOGS/leak-demo-$kind.log" 2>&1; then
        record 0 1 "a leaked $kind per frame went unnoticed"
    else
        record 1 0 "a leaked $kind per frame is caught: $(grep -m1 '^soak:' "$LOGS/leak-demo-$kind.log")"
    fi
done

echo "== source format"
mapfile -t sources < <(git ls-files '*.cpp' '*.h')
if clang-format --dry-run --Werror "${sources[@]}" >"$LOGS/format.log" 2>&1; then
    record 1 0 "clang-format on ${#sources[@]} files"
else
    record 0 1 "clang-format (run clang-format -i on the files in build/logs/format.log)"
    grep -m5 -E "(error|warning):" "$LOGS/format.log"
fi

echo "== shell scripts"
shell_scripts=(scripts/*.sh tests/e2e/*.sh tests/e2e/lib.bash .ci/run)
if shellcheck -x "${shell_scripts[@]}" >"$LOGS/shellcheck.log" 2>&1; then
    record 1 0 "shellcheck on ${#shell_scripts[@]} scripts"
else
    record 0 1 "shellcheck"
    grep -m5 -E "^In .* line [0-9]+:" "$LOGS/shellcheck.log"
fi

echo "== end to end (the real exe under Xvfb, xdotool as the user)"
for script in tests/e2e/*.sh; do
    name=$(basename "$script" .sh)
    if timeout 600 bash "$script" >"$LOGS/e2e-$name.log" 2>&1; then
        record "$(grep -c '^ok ' "$LOGS/e2e-$name.log")" 0 "e2e $name"
    else
        record "$(grep -c '^ok ' "$LOGS/e2e-$name.log")" 1 "e2e $name"
        grep -E "^FAIL" "$LOGS/e2e-$name.log" | head -5
    fi
done

"$WINESERVER" -k >/dev/null 2>&1 || true
echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
