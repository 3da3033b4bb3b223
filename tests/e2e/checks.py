"""What the end-to-end scripts' Python parts share: a check that prints its line
as lib.bash's `check` does, a wait bounded in time, a headless browser and the exit status."""
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


def headless_chromium(*arguments):  # Debian's Chromium through its ChromeDriver, no screen
    from selenium import webdriver  # only the browser parts need Selenium
    from selenium.webdriver.chrome.service import Service
    options = webdriver.ChromeOptions()
    for argument in ("--headless=new", "--no-sandbox", "--disable-gpu", *arguments):
        options.add_argument(argument)
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


def finish():
    sys.exit(1 if failures else 0)
