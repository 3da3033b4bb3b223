"""What the end-to-end scripts' Python parts share: a check that prints its line
as lib.bash's `check` does, a wait bounded in time, and the exit status."""
import sys
import time

failures = 0


def check(what, ok):
    global failures
    print(("ok " if ok else "FAIL ") + what, flush=True)
    failures += not ok


def within(seconds, condition):
    deadline = time.time() + seconds
    while time.time() < deadline:
        if condition():
            return True
        time.sleep(0.05)
    return False


def finish():
    sys.exit(1 if failures else 0)
