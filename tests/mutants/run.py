# `make mutants`: puts each deliberate fault of faults.txt alone into a copy of the
# sources, rebuilds the native tests there and runs them. A fault the tests fail on (or
# hang on) is caught; one they pass is a gap, or a fault that changes nothing. The
# sources themselves are never touched: the copy lives in build/mutants/src.
# Usage: run.py [FAULTS-FILE] [NUMBER...]  (numbers pick faults of the list)
import filecmp
import os
import shutil
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SRC, BUILD = os.path.join(ROOT, "build/mutants/src"), os.path.join(ROOT, "build/mutants/build")
TIMEOUT = int(os.environ.get("MUTANT_TIMEOUT", "60"))


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


def read_faults(path):
    # Blocks of "file:", "from:", "to:" and "fault:" lines; '#' starts a comment line.
    faults, block = [], {}
    for line in open(path, encoding="utf-8").read().split("\n") + [""]:
        if not line.strip():
            if block:
                faults.append(block)
            block = {}
        elif not line.startswith("#"):
            key, _, value = line.partition(":")
            block[key] = value[1:] if value.startswith(" ") else value
    return faults


def main(args):
    faults = read_faults(args[0] if args else os.path.join(ROOT, "tests/mutants/faults.txt"))
    picked = {int(n) for n in args[1:]}
    print("== copying the sources to build/mutants/src", flush=True)
    sync_copy()
    # The QR code library's source lives in the real build tree (scripts/deps.sh fetches it), not in the copy.
    qrcodegen = os.path.join(ROOT, "build/third_party/qrcodegen")
    configure = ["cmake", "-S", SRC, "-B", BUILD, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=", "-DTALLYGLASS_WERROR=OFF",
                 f"-DQRCODEGEN_SOURCE_DIR={qrcodegen}"]
    subprocess.run(configure, check=True, capture_output=True)
    if not build() or not tests_pass():
        sys.exit("the native tests do not build or fail without any fault")
    caught, tried, survived, stale = 0, 0, [], []
    for number, fault in enumerate(faults, 1):
        if picked and number not in picked:
            continue
        target = os.path.join(SRC, fault["file"])
        original = open(target, encoding="utf-8").read() if os.path.isfile(target) else ""
        result = "stale"
        if original.count(fault["from"]) == 1:
            with open(target, "w", encoding="utf-8") as out:
                out.write(original.replace(fault["from"], fault.get("to", "")))
            result = "no-build" if not build() else "SURVIVED" if tests_pass() else "caught"
            with open(target, "w", encoding="utf-8") as out:
                out.write(original)
        print(f"{result:<9} {number:3} {fault['file']:<34} {fault.get('fault', '')}", flush=True)
        (stale if result in ("stale", "no-build") else survived if result == "SURVIVED" else []).append(number)
        tried, caught = tried + (result in ("caught", "SURVIVED")), caught + (result == "caught")
    build()  # the copy's objects match the sources again
    if stale:
        print("not applied (stale or not building):", *stale)
    if survived:
        print("survived:", *survived)
    print(f"mutants: {caught} of {tried} caught ({100 * caught // tried if tried else 0}%)")


main(sys.argv[1:])
