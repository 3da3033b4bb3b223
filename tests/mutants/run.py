# `make mutants`: puts each deliberate fault of faults.txt alone into a copy of the
# sources, rebuilds the native tests there and runs them. A fault the tests fail on (or
# hang on) is caught; one they pass is a gap, or a fault that changes nothing. The
# sources themselves are never touched: the copy lives in build/mutants/src.
# With --win, the faults of Windows-only code (faults_win.txt, whose blocks also name the
# Wine tests that must fail, and write a line break as "\n") go into the sources
# themselves, each taken out again whatever happens; win_tests is rebuilt in build/win64
# and those tests run under Wine.
# Usage: run.py [--win] [FAULTS-FILE] [NUMBER...]  (numbers pick faults of the list)
import filecmp
import os
import shutil
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SRC, BUILD = os.path.join(ROOT, "build/mutants/src"), os.path.join(ROOT, "build/mutants/build")
TIMEOUT = int(os.environ.get("MUTANT_TIMEOUT", "60"))
WIN_BUILD = ["cmake", "--build", os.path.join(ROOT, "build/win64"), "-j2", "--target", "win_tests"]
WIN_RUN = """source scripts/wine-env.sh; ensure_wine_prefix; ensure_display
timeout 300 "$WINE" build/win64/win_tests.exe --gtest_filter="$1"; status=$?
stop_display; "$WINESERVER" -k 2>/dev/null; exit $status"""


def sync_copy():
    # Only changed files are copied (a new time, so compiled again); the rest keep
    # their time and the build stays incremental. Edits not yet committed count.
    listed = subprocess.run(["git", "ls-files", "-z", "--cached", "--others", "--exclude-standard"], cwd=ROOT,
                            check=True, capture_output=True).stdout.decode().split("\0")
    for name in filter(None, listed):
        source, copy = os.path.join(ROOT, name), os.path.join(SRC, name)
        if os.path.isfile(source) and not (os.path.exists(copy) and filecmp.cmp(source, copy, shallow=False)):
            os.makedirs(os.path.dirname(copy), exist_ok=True)
            shutil.copyfile(source, copy)


def build():
    command = ["cmake", "--build", BUILD, "--target", "native_tests", "-j2"]
    return subprocess.run(command, capture_output=True).returncode == 0


def tests_pass():  # a hang is caught too
    command = ["timeout", str(TIMEOUT), "./native_tests", "--gtest_fail_fast", "--gtest_brief=1"]
    return subprocess.run(command, cwd=BUILD, capture_output=True).returncode == 0


def read_faults(path, escaped=False):
    # Blocks of "file:", "from:", "to:" and "fault:" lines; '#' starts a comment line.
    faults, block = [], {}
    for line in open(path, encoding="utf-8").read().split("\n") + [""]:
        if not line.strip():
            if block:
                faults.append(block)
            block = {}
        elif not line.startswith("#"):
            key, _, value = line.partition(":")
            value = value[1:] if value.startswith(" ") else value
            block[key] = value.replace("\\n", "\n") if escaped else value
    return faults


def win_result(fault):  # into the sources themselves, and out again whatever happens
    path = os.path.join(ROOT, fault["file"])
    original = open(path, encoding="utf-8").read()
    if original.count(fault["from"]) != 1:
        return "stale"
    try:
        with open(path, "w", encoding="utf-8") as out:
            out.write(original.replace(fault["from"], fault.get("to", "")))
        if subprocess.run(WIN_BUILD, capture_output=True).returncode:
            return "no-build"
        run = subprocess.run(["bash", "-c", WIN_RUN, "run", fault["tests"]], cwd=ROOT, capture_output=True)
        return "caught" if run.returncode else "SURVIVED"
    finally:
        with open(path, "w", encoding="utf-8") as out:
            out.write(original)


def native_result(fault):  # into the copy, rebuilt there
    target = os.path.join(SRC, fault["file"])
    original = open(target, encoding="utf-8").read() if os.path.isfile(target) else ""
    if original.count(fault["from"]) != 1:
        return "stale"
    with open(target, "w", encoding="utf-8") as out:
        out.write(original.replace(fault["from"], fault.get("to", "")))
    result = "no-build" if not build() else "SURVIVED" if tests_pass() else "caught"
    with open(target, "w", encoding="utf-8") as out:
        out.write(original)
    return result


def prepare_copy():
    print("== copying the sources to build/mutants/src", flush=True)
    sync_copy()
    # The QR code library's source lives in the real build tree (scripts/deps.sh fetches it), not in the copy.
    qrcodegen = os.path.join(ROOT, "build/third_party/qrcodegen")
    configure = ["cmake", "-S", SRC, "-B", BUILD, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=", "-DTALLYGLASS_WERROR=OFF",
                 f"-DQRCODEGEN_SOURCE_DIR={qrcodegen}"]
    subprocess.run(configure, check=True, capture_output=True)
    if not build() or not tests_pass():
        sys.exit("the native tests do not build or fail without any fault")


def main(args):
    win = args[:1] == ["--win"]
    args = args[1:] if win else args
    default = "tests/mutants/faults_win.txt" if win else "tests/mutants/faults.txt"
    faults = read_faults(args[0] if args else os.path.join(ROOT, default), escaped=win)
    picked = {int(n) for n in args[1:]}
    if not win:
        prepare_copy()
    caught, tried, survived, stale = 0, 0, [], []
    for number, fault in enumerate(faults, 1):
        if picked and number not in picked:
            continue
        result = win_result(fault) if win else native_result(fault)
        print(f"{result:<9} {number:3} {fault['file']:<34} {fault.get('fault', '')}", flush=True)
        (stale if result in ("stale", "no-build") else survived if result == "SURVIVED" else []).append(number)
        tried, caught = tried + (result in ("caught", "SURVIVED")), caught + (result == "caught")
    if win:
        subprocess.run(WIN_BUILD, capture_output=True)  # the build matches the sources again
    else:
        build()  # the copy's objects match the sources again
    if stale:
        print("not applied (stale or not building):", *stale)
    if survived:
        print("survived:", *survived)
    print(f"mutants: {caught} of {tried} caught ({100 * caught // tried if tried else 0}%)")


main(sys.argv[1:])
