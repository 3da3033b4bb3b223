# Deliberate faults in Windows-only code (faults_win.txt), each alone: put into the
# sources, win_tests rebuilt in build/win64, its named Wine tests run; the source is
# restored whatever happens. Needs a configured build/win64 and Wine (scripts/wine-env.sh).
# Usage: run_win.py [FAULTS-FILE] [NUMBER...]
import os
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BUILD = ["cmake", "--build", os.path.join(ROOT, "build/win64"), "-j2", "--target", "win_tests"]
WINE_RUN = """source scripts/wine-env.sh; ensure_wine_prefix; ensure_display
timeout 300 "$WINE" build/win64/win_tests.exe --gtest_filter="$1"; status=$?
stop_display; "$WINESERVER" -k 2>/dev/null; exit $status"""


def read_faults(path):
    faults, block = [], {}
    for line in open(path, encoding="utf-8").read().split("\n") + [""]:
        if not line.strip():
            if block:
                faults.append(block)
            block = {}
        elif not line.startswith("#"):
            key, _, value = line.partition(":")
            block[key] = (value[1:] if value.startswith(" ") else value).replace("\\n", "\n")
    return faults


def main(args):
    faults = read_faults(args[0] if args else os.path.join(ROOT, "tests/mutants/faults_win.txt"))
    picked = {int(n) for n in args[1:]}
    caught = tried = 0
    for number, fault in enumerate(faults, 1):
        if picked and number not in picked:
            continue
        path = os.path.join(ROOT, fault["file"])
        original = open(path, encoding="utf-8").read()
        result = "stale"
        if original.count(fault["from"]) == 1:
            try:
                with open(path, "w", encoding="utf-8") as out:
                    out.write(original.replace(fault["from"], fault.get("to", "")))
                if subprocess.run(BUILD, capture_output=True).returncode:
                    result = "no-build"
                else:
                    run = subprocess.run(["bash", "-c", WINE_RUN, "run_win", fault["tests"]], cwd=ROOT,
                                         capture_output=True)
                    result = "caught" if run.returncode else "SURVIVED"
            finally:
                with open(path, "w", encoding="utf-8") as out:
                    out.write(original)
        print(f"{result:<9} {number:3} {fault['file']:<36} {fault.get('fault', '')}", flush=True)
        tried, caught = tried + (result in ("caught", "SURVIVED")), caught + (result == "caught")
    subprocess.run(BUILD, capture_output=True)  # the build matches the sources again
    print(f"mutants: {caught} of {tried} caught")


main(sys.argv[1:])
