#!/usr/bin/env bash
# The pages in a real browser (Debian's headless Chromium through Selenium) against
# the real clock: Start on the control page makes the clock count, the view page
# shows the clock's text within a second, and a message typed on the page appears
# on the clock as its second line. With TALLYGLASS_README_IMAGES=1 the pictures go
# to docs/ as well.
# shellcheck source=tests/e2e/lib.bash
source "$(dirname "${BASH_SOURCE[0]}")/lib.bash"
PORT=7364
dir=$(make_app_dir browser "[settings]\nfontname=DejaVu Sans\nwavalert=0\ndjsseconds=300\nremote=local\nremoteport=$PORT\nremotekey=browser-control-key\nremoteviewkey=browser-view-key\n")
start_clock "$dir" || { finish; exit 1; }
listening() { curl -s -o /dev/null "http://127.0.0.1:$PORT/api/v1/state?key=browser-control-key"; }
wait_for 10 "the clock to listen on port $PORT" listening
read -r _ _ _ one_line < <(geometry)

/usr/bin/python3 - "$PORT" "$CLOCK_WINDOW" "$SCREENS" >"$SCREENS/browser.log" 2>&1 <<'PYEOF'
import hashlib, json, subprocess, sys, time, urllib.request
from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By

port, window, screens = sys.argv[1], sys.argv[2], sys.argv[3]
base = f"http://127.0.0.1:{port}"
failures = 0

def check(what, ok):
    global failures
    print(("ok " if ok else "FAIL ") + what, flush=True)
    failures += not ok

def state():
    with urllib.request.urlopen(f"{base}/api/v1/state?key=browser-control-key", timeout=5) as reply:
        return json.loads(reply.read())

def within(seconds, condition):
    deadline = time.time() + seconds
    while time.time() < deadline:
        if condition():
            return True
        time.sleep(0.05)
    return False

def clock_picture():
    path = f"{screens}/probe-browser.png"
    subprocess.run(["import", "-window", window, path], check=False)
    with open(path, "rb") as f:
        return hashlib.md5(f.read()).hexdigest()

options = webdriver.ChromeOptions()
for argument in ("--headless=new", "--no-sandbox", "--disable-gpu", "--window-size=360,740"):
    options.add_argument(argument)
driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
driver.set_page_load_timeout(15)
try:
    driver.set_window_size(360, 740)
    driver.get(f"{base}/?key=browser-control-key")
    text = lambda: driver.find_element(By.ID, "clock").text
    check("the control page shows the clock's text", within(5, lambda: text() == state()["text"]))
    idle = clock_picture()
    driver.find_element(By.ID, "start").click()
    check("Start on the page makes the clock count", within(5, lambda: state()["phase"] == "counting"))
    check("the clock's picture changes", within(5, lambda: clock_picture() != idle))
    check("the page never scrolls sideways at 360 px",
          driver.execute_script("return document.documentElement.scrollWidth <= window.innerWidth"))
    driver.find_element(By.ID, "messageText").send_keys("Wrap up <b>now</b>")
    driver.find_element(By.ID, "send").click()
    check("a message typed on the page reaches the clock",
          within(5, lambda: state()["message"] == "Wrap up <b>now</b>"))
    check("the page shows it as text", within(5, lambda: driver.find_element(By.ID, "message").text == "Wrap up <b>now</b>"))
    driver.save_screenshot(f"{screens}/remote-control.png")

    viewer = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    try:
        viewer.set_window_size(640, 360)
        viewer.get(f"{base}/view?key=browser-view-key")
        shown = lambda: viewer.find_element(By.ID, "clock").text
        check("the view page shows the clock's text within a second", within(1.0, lambda: shown() == state()["text"]))
        # Between pushes it counts on its own; sampled at odd moments it agrees with the clock.
        agree = 0
        for i in range(8):
            time.sleep(0.37)
            agree += within(0.15, lambda: shown() == state()["text"])
        check(f"the view page keeps the clock's text ({agree} of 8 samples)", agree >= 7)
        check("the view page has no control", not viewer.find_elements(By.TAG_NAME, "button"))
        viewer.save_screenshot(f"{screens}/remote-view.png")
    finally:
        viewer.quit()
finally:
    driver.quit()
sys.exit(1 if failures else 0)
PYEOF
status=$?
cat "$SCREENS/browser.log"
check "the browser checks pass" [ "$status" -eq 0 ]
taller() { local h; read -r _ _ _ h < <(geometry); holds "h > $one_line * 5 / 4"; }
expect 5 "the clock shows the message as a second line" taller
shoot_clock "$SCREENS/remote-message.png" >/dev/null
if [[ "${TALLYGLASS_README_IMAGES:-0}" == 1 ]]; then
    cp "$SCREENS/remote-control.png" "$SCREENS/remote-view.png" "$SCREENS/remote-message.png" "$E2E_ROOT/docs/"
fi
finish
