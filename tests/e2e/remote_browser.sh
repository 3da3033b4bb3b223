#!/usr/bin/env bash
# The pages in a real browser (Debian's headless Chromium through Selenium) against
# the real clock with a run of show: Start on the control page makes the clock
# count, the view page shows the clock's text within a second, a message typed on
# the page appears on the clock as its second line, and the segment follows the
# page's Next and Previous, Right and Left on the clock and /segment/3 on both
# pages. A second clock without a show counts up (face=elapsed): the view page
# counts up with it between pushes, and neither page shows anything of a show;
# the control page drops the key from its address and, its cookie's key refused,
# says the key has changed and stops redialling.
# With TALLYGLASS_README_IMAGES=1 the pictures go to docs/ as well.
# shellcheck source=tests/e2e/lib.bash
source "$(dirname "${BASH_SOURCE[0]}")/lib.bash"
PORT=7364
dir=$(make_app_dir browser "[settings]\nfontname=DejaVu Sans\nwavalert=0\ndjsseconds=300\nremote=local\nremoteport=$PORT\nremotekey=browser-control-key\nremoteviewkey=browser-view-key\n[show]\nWelcome = 5m\nKeynote = 30m\nQ&A <b>live</b> = 10m\n")
start_clock "$dir" || { finish; exit 1; }
listening() { curl -s -o /dev/null "http://127.0.0.1:$PORT/api/v1/state?key=browser-control-key"; }
wait_for 10 "the clock to listen on port $PORT" listening
read -r _ _ _ one_line < <(geometry)

browse() {  # browse <show|elapsed>: the checks in the browser against the clock now running
PYTHONPATH="$E2E_ROOT/tests/e2e" /usr/bin/python3 - "$PORT" "$CLOCK_WINDOW" "$SCREENS" "$1" >"$SCREENS/browser-$1.log" 2>&1 <<'PYEOF'
import hashlib, json, subprocess, sys, time, urllib.request
from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from checks import check, finish, within

port, window, screens, part = sys.argv[1:5]
base = f"http://127.0.0.1:{port}"

def order(path):
    with urllib.request.urlopen(f"{base}/api/v1/{path}?key=browser-control-key", timeout=5) as reply:
        return json.loads(reply.read())

def state():
    return order("state")

def sampled(count, shown):  # the page read at odd moments: how often it agrees with the clock, and what it showed
    agree, seen = 0, []
    for _ in range(count):
        time.sleep(0.37)
        agree += within(0.15, lambda: shown() == state()["text"])
        seen.append(shown())
    return agree, seen

def clock_key(name):  # typed on the clock's own window
    subprocess.run(["xdotool", "windowfocus", "--sync", window], check=False, timeout=10)
    subprocess.run(["xdotool", "key", "--window", window, name], check=False, timeout=10)

def clock_picture():
    path = f"{screens}/probe-browser.png"
    subprocess.run(["import", "-window", window, path], check=False)
    with open(path, "rb") as f:
        return hashlib.md5(f.read()).hexdigest()

options = webdriver.ChromeOptions()
for argument in ("--headless=new", "--no-sandbox", "--disable-gpu", "--window-size=360,740"):
    options.add_argument(argument)

def browser():
    started = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    started.set_page_load_timeout(15)
    return started

if part == "elapsed":
    page = browser()  # the control page, then the view page in the same browser
    try:
        page.set_window_size(360, 740)
        page.get(f"{base}/?key=browser-control-key")
        check("without a show the control page shows nothing of one",
              within(5, lambda: page.find_element(By.ID, "clock").text == state()["text"])
              and not any(page.find_element(By.ID, id).is_displayed() for id in ("show", "previous", "next")))
        check("the page drops the key from its address", "key=" not in page.current_url)
        # A key changed since the page was opened: the cookie holds the old one when the socket drops.
        page.add_cookie({"name": "tallyglass_key", "value": "an-old-key"})
        page.execute_script("socket.close();")
        check("after a 401 the page says the key has changed and stops redialling",
              within(5, lambda: "key has changed" in page.find_element(By.ID, "status").text)
              and not within(3, lambda: page.execute_script("return socket !== null;")))
        page.set_window_size(640, 360)
        page.get(f"{base}/view?key=browser-view-key")
        shown = lambda: page.find_element(By.ID, "clock").text
        order("start")
        check("the view page shows the elapsed face", within(2, lambda: state()["face"] == "elapsed" and shown() == state()["text"]))
        # With the pushes held back the page counts on its own, up as the clock does.
        page.execute_script("socket.onmessage = null;")
        agree, seen = sampled(6, shown)
        check(f"between pushes the view page counts up with the clock ({agree} of 6 samples: {seen})",
              agree >= 5 and int(seen[-1]) > int(seen[0]))
        check("and shows no segment", not any(page.find_element(By.ID, id).is_displayed() for id in ("segment", "nextSegment")))
    finally:
        page.quit()
    finish()

driver = browser()
try:
    driver.set_window_size(360, 740)
    driver.get(f"{base}/?key=browser-control-key")
    text = lambda: driver.find_element(By.ID, "clock").text
    check("the control page shows the clock's text", within(5, lambda: text() == state()["text"]))
    idle = clock_picture()
    driver.find_element(By.ID, "start").click()
    check("Start on the page makes the clock count", within(5, lambda: state()["phase"] == "counting"))
    check("the clock's picture changes", within(5, lambda: clock_picture() != idle))
    driver.find_element(By.ID, "messageText").send_keys("Wrap up <b>now</b>")
    driver.find_element(By.ID, "send").click()
    check("a message typed on the page reaches the clock",
          within(5, lambda: state()["message"] == "Wrap up <b>now</b>"))
    check("the page shows it as text", within(5, lambda: driver.find_element(By.ID, "message").text == "Wrap up <b>now</b>"))
    driver.save_screenshot(f"{screens}/remote-control.png")

    viewer = browser()
    try:
        viewer.set_window_size(640, 360)
        viewer.get(f"{base}/view?key=browser-view-key")
        shown = lambda: viewer.find_element(By.ID, "clock").text
        check("the view page shows the clock's text within a second", within(1.0, lambda: shown() == state()["text"]))
        # Between pushes it counts on its own; sampled at odd moments it agrees with the clock.
        agree, _ = sampled(8, shown)
        check(f"the view page keeps the clock's text ({agree} of 8 samples)", agree >= 7)
        check("the view page has no control", not viewer.find_elements(By.TAG_NAME, "button"))
        viewer.save_screenshot(f"{screens}/remote-view.png")

        # The run of show. Idle, the clock's text is the segment's name; counting, the
        # view page shows it over the clock. Both pages write names as text, not HTML.
        shown_on = lambda page, id: page.find_element(By.ID, id).text
        view_lines = lambda: viewer.find_element(By.TAG_NAME, "body").text.split("\n")
        third = "Q&A <b>live</b>"
        check("the control page shows where the show stands",
              shown_on(driver, "segment") == "1 / 3 \u00b7 Welcome" and shown_on(driver, "nextSegment") == "Next: Keynote")
        driver.find_element(By.ID, "next").click()
        check("Next on the control page moves the clock to segment 2", within(5, lambda: state()["segmentNumber"] == 2))
        check("the control page shows it", within(5, lambda: shown_on(driver, "segment") == "2 / 3 \u00b7 Keynote"
                                                   and shown_on(driver, "nextSegment") == f"Next: {third}"))
        check("the view page shows the segment and the next one within a second",
              within(1.0, lambda: "Keynote" in view_lines() and f"Next: {third}" in view_lines()))
        check("the page never scrolls sideways at 360 px",
              driver.execute_script("return document.documentElement.scrollWidth <= window.innerWidth"))
        driver.save_screenshot(f"{screens}/remote-control-show.png")
        for key, number, name in (("Right", 3, third), ("Left", 2, "Keynote")):
            clock_key(key)
            check(f"{key} on the clock moves to segment {number}", within(5, lambda: state()["segmentNumber"] == number))
            check(f"the view page follows within a second ({name})", within(1.0, lambda: name in view_lines()))
        driver.find_element(By.ID, "previous").click()
        check("Previous on the control page moves back to segment 1", within(5, lambda: state()["segmentNumber"] == 1))
        check("/segment/3 moves to the last", order("segment/3")["segment"] == third)
        check("the view page shows it within a second, and no next one",
              within(1.0, lambda: third in view_lines() and not any(l.startswith("Next:") for l in view_lines())))
        check("the control page shows the last, its Next disabled",
              within(5, lambda: shown_on(driver, "segment") == f"3 / 3 \u00b7 {third}" and not shown_on(driver, "nextSegment")
                     and not driver.find_element(By.ID, "next").is_enabled()))
        order("start")
        check("counting, the view page shows the segment's name over the clock",
              within(2.0, lambda: shown_on(viewer, "segment") == third and shown_on(viewer, "clock") == state()["text"]))
        viewer.save_screenshot(f"{screens}/remote-view-show.png")
        order("reset")
    finally:
        viewer.quit()
finally:
    driver.quit()
finish()
PYEOF
}
browse show
status=$?
cat "$SCREENS/browser-show.log"
check "the browser checks pass" [ "$status" -eq 0 ]
taller() { local h; read -r _ _ _ h < <(geometry); holds "h > $one_line * 5 / 4"; }
expect 5 "the clock shows the message as a second line" taller
shoot_clock "$SCREENS/remote-message.png" >/dev/null
if [[ "${TALLYGLASS_README_IMAGES:-0}" == 1 ]]; then
    cp "$SCREENS/remote-control.png" "$SCREENS/remote-view.png" "$SCREENS/remote-message.png" "$E2E_ROOT/docs/"
fi

stop_clock
dir=$(make_app_dir browser-elapsed "[settings]\nfontname=DejaVu Sans\nwavalert=0\ndjsseconds=300\nface=elapsed\nremote=local\nremoteport=$PORT\nremotekey=browser-control-key\nremoteviewkey=browser-view-key\n")
start_clock "$dir" || { finish; exit 1; }
wait_for 10 "the second clock to listen on port $PORT" listening
browse elapsed
status=$?
cat "$SCREENS/browser-elapsed.log"
check "the browser checks of the elapsed face pass" [ "$status" -eq 0 ]
finish
