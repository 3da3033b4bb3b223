"""The remote pages in Debian's headless Chromium against the real clock; one part
per run, named first on the command line (see remote_browser.sh)."""
import json, os, subprocess, sys, time, urllib.parse, urllib.request
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from checks import check, finish, headless_chromium, within

part, port, window, screens = sys.argv[1:5]
base = f"http://127.0.0.1:{port}"
CONTROL, VIEW = "browser-control-key", "browser-view-key"
SIZES = ((1920, 1080), (1280, 720), (1080, 1920), (720, 1280), (360, 740))


def order(path, key=CONTROL):
    with urllib.request.urlopen(f"{base}/api/v1/{path}{'&' if '?' in path else '?'}key={key}", timeout=5) as reply:
        return json.loads(reply.read())


def state():
    return order("state")


def browser(width, height, path):
    page = headless_chromium("--hide-scrollbars")
    page.set_page_load_timeout(15)
    resize(page, width, height)
    page.get(base + path)
    return page


def resize(page, width, height):  # the viewport itself, not the window around it
    page.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                         {"width": width, "height": height, "deviceScaleFactor": 1, "mobile": False})


def text(page, id):
    return page.find_element(By.ID, id).text


def shown(page, id):
    return page.find_element(By.ID, id).is_displayed()


def sampled(count, shown):  # the page read at odd moments: how often it agrees with the clock, and what it showed
    agree, seen = 0, []
    for _ in range(count):
        time.sleep(0.37)
        agree += within(0.15, lambda: shown() == state()["text"])
        seen.append(shown())
    return agree, seen


def shot(page, name):
    page.save_screenshot(f"{screens}/{name}.png")


def mark(name):  # tells remote_browser.sh that a step is done
    open(f"{screens}/{name}", "w").close()


def awaited(name):
    return within(120, lambda: os.path.exists(f"{screens}/{name}"))


# The visible boxes among the ids, with the time's digits measured in ink.
BOXES = """
const boxes = [];
for (const id of arguments[0]) {
  const el = document.getElementById(id);
  if (!el || !el.getClientRects().length || getComputedStyle(el).visibility === "hidden") continue;
  const r = el.getBoundingClientRect();
  if (r.width && r.height) boxes.push({id, x: r.left, y: r.top, r: r.right, b: r.bottom});
}
const clock = document.getElementById("clock"), style = getComputedStyle(clock);
const pen = document.createElement("canvas").getContext("2d");
pen.font = `${style.fontWeight} ${style.fontSize} ${style.fontFamily}`;
const ink = pen.measureText("0");
return {boxes, width: innerWidth, height: innerHeight, digits: ink.actualBoundingBoxAscent + ink.actualBoundingBoxDescent,
        clock: clock.getBoundingClientRect().height};
"""
VIEW_PARTS = ["notice", "badge", "segment", "clock", "nextSegment", "message", "endsAt", "progress", "fullscreen"]
CONTROL_PARTS = ["top", "face", "panel", "transport"]


def layout_faults(page, parts):
    """Boxes outside the viewport or overlapping, once the layout holds still."""
    seen = []
    within(3, lambda: seen.append(page.execute_script(BOXES, parts)) or len(seen) > 2 and seen[-1] == seen[-2] == seen[-3])
    got = seen[-1]
    faults = [f"{b['id']} outside" for b in got["boxes"]
              if b["x"] < -0.5 or b["y"] < -0.5 or b["r"] > got["width"] + 0.5 or b["b"] > got["height"] + 0.5]
    for i, a in enumerate(got["boxes"]):
        for b in got["boxes"][i + 1:]:
            if min(a["r"], b["r"]) - max(a["x"], b["x"]) > 0.5 and min(a["b"], b["b"]) - max(a["y"], b["y"]) > 0.5:
                faults.append(f"{a['id']} over {b['id']}")
    return faults, got


# Every text that has a text of its own and is not disabled, against the first opaque
# background behind it: WCAG's contrast ratio, at least 4.5.
CONTRAST = """
const rgb = (c) => (c.match(/[\\d.]+/g) || []).map(Number);
const lum = ([r, g, b]) => [r, g, b].map((v) => { v /= 255; return v <= 0.03928 ? v / 12.92 : ((v + 0.055) / 1.055) ** 2.4; })
  .reduce((sum, v, i) => sum + v * [0.2126, 0.7152, 0.0722][i], 0);
const low = [];
for (const el of document.querySelectorAll("body *")) {
  if (!el.getClientRects().length || el.disabled || el.closest("[hidden]") ||
      ![...el.childNodes].some((n) => n.nodeType === 3 && n.textContent.trim())) continue;
  let back = el, bg;
  while (back && (bg = rgb(getComputedStyle(back).backgroundColor)).length === 4 && bg[3] < 0.5) back = back.parentElement;
  const fg = rgb(getComputedStyle(el).color), l1 = lum(fg), l2 = back ? lum(bg) : 0;
  const ratio = (Math.max(l1, l2) + 0.05) / (Math.min(l1, l2) + 0.05);
  if (ratio < 4.5) low.push(`${el.id || el.tagName} ${ratio.toFixed(2)}`);
}
return low;
"""


def contrast_faults(page):
    return page.execute_script(CONTRAST)


def local_minute(ms):
    return time.strftime("%H:%M", time.localtime(ms / 1000))


def part_show():
    control = browser(360, 740, f"/?key={CONTROL}")
    viewer = browser(1280, 720, f"/view?key={VIEW}")
    try:
        check("idle, the control page shows the segment with its length, in the normal colour, and READY",
              within(5, lambda: text(control, "phase") == "READY") and text(control, "segment") == "1 / 4 \u00b7 Welcome" and text(control, "clock") == "5:00"
              and control.find_element(By.ID, "clock").value_of_css_property("color") == "rgba(255, 255, 255, 1)")
        check("the running order lists each segment with its length",
              [e.text for e in control.find_elements(By.CSS_SELECTOR, "#segments button")][:2]
              == ["1. Welcome \u00b7 5:00", "2. Keynote \u00b7 30:00"])
        check("the key leaves the address", "key=" not in control.current_url)
        idle_contrast = contrast_faults(control)
        shot(control, "remote-control-idle")
        control.find_element(By.ID, "start").click()
        check("Start on the page makes the clock count", within(5, lambda: state()["phase"] == "counting"))
        within(2, lambda: control.find_element(By.ID, "pause").is_enabled())
        low = idle_contrast + contrast_faults(control)
        check(f"the control page's words are readable idle and counting (contrast 4.5:1) {low}", not low)
        check("the view page shows the clock's text within a second",
              within(1.0, lambda: text(viewer, "clock") == state()["text"]))
        agree, _ = sampled(8, lambda: text(viewer, "clock"))
        check(f"between pushes the view page keeps the clock's text ({agree} of 8 samples)", agree >= 7)
        check("both pages say when the count ends, in local time", within(2, lambda: text(control, "endsAt")
              == text(viewer, "endsAt") == f"ends at {local_minute(state()['endsAt'])}"))
        control.find_element(By.ID, "messageText").send_keys("Wrap up <b>now</b>")
        control.find_element(By.ID, "send").click()
        check("a message typed on the page reaches the clock", within(5, lambda: state()["message"] == "Wrap up <b>now</b>"))
        check("both pages show it as text", within(5, lambda: text(control, "message") == text(viewer, "message") == "Wrap up <b>now</b>"))
        low = contrast_faults(viewer)
        check(f"the view page's words are readable (contrast 4.5:1) {low}", not low)
        shot(control, "remote-control")
        shot(viewer, "remote-view")

        show_steps(control, viewer)
        phases(control, viewer)
        orders(control, viewer)
        layouts(viewer)
        overlay_and_keys(viewer)
    finally:
        control.quit()
        viewer.quit()


def show_steps(control, viewer):
    """The run of show from the page, the clock's keys and the API."""
    third = "Q&A <b>live</b>"
    lines = lambda: viewer.find_element(By.TAG_NAME, "body").text.split("\n")
    control.find_element(By.ID, "next").click()
    check("Next on the control page moves the clock to segment 2", within(5, lambda: state()["segmentNumber"] == 2))
    check("the view page shows the segment and the next one within a second",
          within(1.0, lambda: "Keynote" in lines() and "Next: " + LONG in lines()))
    for key, number in (("Right", 3), ("Left", 2)):
        subprocess.run(["xdotool", "windowfocus", "--sync", window], check=False, timeout=10)
        subprocess.run(["xdotool", "key", "--window", window, key], check=False, timeout=10)
        check(f"{key} on the clock moves to segment {number}, the view page follows within a second",
              within(5, lambda: state()["segmentNumber"] == number) and within(1.0, lambda: text(viewer, "segment") == state()["segment"]))
    control.find_element(By.ID, "previous").click()
    check("Previous moves back to segment 1, whose Previous is disabled",
          within(5, lambda: state()["segmentNumber"] == 1) and within(2, lambda: not control.find_element(By.ID, "previous").is_enabled()))
    order("reset")
    within(5, lambda: text(control, "phase") == "READY")
    control.find_elements(By.CSS_SELECTOR, "#segments button")[3].click()
    check("idle, a tap on the running order's last segment goes there, its Next disabled",
          within(5, lambda: state()["segment"] == third) and within(2, lambda: not control.find_element(By.ID, "next").is_enabled()))
    check("/segment/1 moves both pages back", order("segment/1")["segmentNumber"] == 1
          and within(1.0, lambda: text(viewer, "segment") == "Welcome" and text(control, "segment").endswith("Welcome")))


def phases(control, viewer):
    """A count of 8 s through its phases (the warning from 5 s, then overtime)."""
    order("set/8")
    spot = lambda: [control.find_element(By.ID, id).rect for id in ("start", "pause", "reset")]
    seen = {}
    for phase, word, badge in (("idle", "READY", ""), ("counting", "COUNTING", ""), ("warning", "WARNING", "WARNING"),
                               ("overtime", "OVERTIME", "TIME UP \u00b7 OVERTIME")):
        if phase == "counting":
            control.find_element(By.ID, "start").click()
        reached = within(10, lambda: state()["phase"] == phase and text(control, "phase") == word)
        enabled = {id: control.find_element(By.ID, id).is_enabled() for id in ("start", "pause", "reset")}
        enabled["+1 min"] = control.find_element(By.CSS_SELECTOR, "[data-seconds='60']").is_enabled()
        filled = lambda: control.execute_script("const f = document.getElementById('fill');"
                                                "return f.offsetWidth / f.parentElement.offsetWidth")
        bar = within(3, lambda: {"idle": filled() == 0, "overtime": filled() == 1}.get(phase, 0 < filled() < 1))
        seen[phase] = spot()
        faults, _ = layout_faults(control, CONTROL_PARTS)
        ends = text(control, "endsAt")
        check(f"{phase}: the status says {word}, the view page names it ({badge or 'nothing'}), the bar at "
              f"{filled():.2f}, '{ends}', buttons enabled: {enabled}, the page's parts apart and on it {faults}",
              reached and bar and not faults and bool(ends) == (phase in ("counting", "warning"))
              and within(2, lambda: text(viewer, "badge") == badge)
              and enabled["start"] == (phase == "idle") and enabled["pause"] == (phase != "idle")
              and enabled["+1 min"] == (phase != "overtime"))
        if phase == "overtime":
            within(3, lambda: text(viewer, "clock") not in ("+0:00", "0"))
            shot(viewer, "remote-view-overtime")
            check("overtime, the view page shows the signed time under the clock's alert text",
                  within(2, lambda: text(viewer, "clock").startswith("+0:") and state()["text"].endswith(text(viewer, "clock"))))
    check("Start, Pause and Reset stay in place through idle, counting, warning and overtime",
          all(place == seen["idle"] for place in seen.values()))


def orders(control, viewer):
    """Orders that are guarded, that change nothing or fail, and the messages' buttons."""
    reset = control.find_element(By.ID, "reset")
    reset.click()
    check("one tap on Reset changes nothing and says to hold",
          not within(1.5, lambda: state()["phase"] == "idle") and "Hold to reset" in text(control, "status")
          and reset.text == "Sure?")
    reset.click()
    check("a second tap on Sure? resets", within(5, lambda: state()["phase"] == "idle"))
    order("start")
    within(5, lambda: control.find_element(By.ID, "pause").is_enabled())
    ActionChains(control).click_and_hold(reset).pause(0.9).release().perform()
    check("holding Reset resets", within(5, lambda: state()["phase"] == "idle"))
    order("start")
    within(5, lambda: control.find_element(By.ID, "pause").is_enabled())
    jump = lambda: control.find_elements(By.CSS_SELECTOR, "#segments button")[1].click()
    jump()
    check("counting, a jump in the running order needs a second tap",
          not within(1.5, lambda: state()["segmentNumber"] == 2) and (jump() or within(5, lambda: state()["segmentNumber"] == 2)))
    control.find_element(By.ID, "clear").click()
    within(5, lambda: state()["message"] == "")
    control.find_element(By.ID, "clear").click()
    check("an order that changed nothing says so", within(5, lambda: text(control, "status") == "Nothing changed"))
    control.find_element(By.ID, "length").send_keys("soon")
    control.find_element(By.ID, "set").click()
    check("a refused order shows the clock's words", within(5, lambda: text(control, "status").startswith("Clock: ")))
    presets = control.find_elements(By.CSS_SELECTOR, "#presets button")
    check("the ready messages are buttons", [b.text for b in presets] == ["Wrap up", "Five minutes", "Slow down"])
    presets and presets[0].click()
    check("one tap sends a ready message", within(5, lambda: state()["message"] == "Wrap up"))
    control.find_element(By.ID, "flash").click()
    check("Flash makes the message blink on the view page",
          within(3, lambda: state()["flash"] is True and "flashing" in viewer.find_element(By.ID, "message").get_attribute("class")))
    control.find_element(By.ID, "blackout").click()
    covers = lambda: viewer.execute_script(
        "const b = document.getElementById('blackout'), r = b.getBoundingClientRect();"
        "return r.width >= innerWidth && r.height >= innerHeight && getComputedStyle(b).backgroundColor === 'rgb(0, 0, 0)'")
    check("Blackout turns the view page black", within(3, lambda: shown(viewer, "blackout") and covers()))
    control.find_element(By.ID, "blackout").click()
    check("and a second tap brings it back", within(3, lambda: state()["blackout"] is False and not shown(viewer, "blackout")))


LONG = "A segment whose name runs on and on, as long as eighty characters can make it go"
MESSAGE = ("Please wrap up the questions now: the next speaker is waiting backstage, and the room must be "
           "cleared for the keynote. Thank you all for your patience and your many good questions today!")


def layouts(viewer):
    """The view page at five sizes, paused: with the longest segment name and message (nothing may
    leave the screen or overlap), and with a short name and no message (for the sizes' record)."""
    digits = {}
    for texts, segment, message in (("short texts", 1, "message/clear"),
                                    ("long texts", 3, "message?text=" + urllib.parse.quote(MESSAGE))):
        order(f"segment/{segment}")
        order(message)
        for phase in ("counting", "overtime"):
            order("set/2" if phase == "overtime" else "reset")
            order("start")
            within(10, lambda: state()["phase"] == phase)
            order("pause")
            check(f"{phase}, paused, with {texts}", within(3, lambda: text(viewer, "badge").startswith("PAUSED")
                                                         and text(viewer, "message") == state()["message"]))
            for width, height in SIZES:
                resize(viewer, width, height)
                faults, digits[texts, phase, width, height] = layout_faults(viewer, VIEW_PARTS)
                check(f"{phase} with {texts} at {width}x{height}: nothing outside and nothing overlapping {faults}",
                      not faults)
                if (width, height) == (1280, 720) and phase == "counting" and texts == "long texts":
                    shot(viewer, "remote-view-long")
            order("reset")
    print("measured: the time's digits (ink of a 0) and its box (the font size) as a fraction of the "
          "viewport's height, paused; with long texts | with short texts")
    for width, height in SIZES:
        got = {(texts, phase): digits[texts, phase, width, height] for texts in ("long texts", "short texts")
               for phase in ("counting", "overtime")}
        print(f"measured: {width}x{height}: " + " | ".join(
            f"counting {got[texts, 'counting']['digits'] / height:.3f} ({got[texts, 'counting']['clock'] / height:.3f}),"
            f" overtime {got[texts, 'overtime']['digits'] / height:.3f} ({got[texts, 'overtime']['clock'] / height:.3f})"
            for texts in ("long texts", "short texts")))
        check(f"overtime digits as large as counting ones at {width}x{height}",
              all(got[texts, "overtime"]["digits"] >= 0.9 * got[texts, "counting"]["digits"]
                  for texts in ("long texts", "short texts")))
    resize(viewer, 1280, 720)


def overlay_and_keys(viewer):
    order("set/10m")
    order("start")
    viewer.get(f"{base}/overlay?key={VIEW}")
    viewer.execute_cdp_cmd("Emulation.setDefaultBackgroundColorOverride", {"color": {"r": 0, "g": 0, "b": 0, "a": 0}})
    clear = lambda el: viewer.execute_script(f"return getComputedStyle({el}).backgroundColor") == "rgba(0, 0, 0, 0)"
    check("the overlay (view key) shows the clock's text alone, on nothing",
          within(5, lambda: text(viewer, "clock") == state()["text"])
          and viewer.find_element(By.TAG_NAME, "body").text == text(viewer, "clock")
          and clear("document.documentElement") and clear("document.body"))
    last = {}

    def fills():  # the text is fitted once the page has laid it out: on a loaded machine, a moment later
        last["faults"], got = layout_faults(viewer, ["clock"])
        box = got["boxes"][0] if got["boxes"] else {"x": 0, "r": 0, "y": 0, "b": 0}
        return not last["faults"] and max((box["r"] - box["x"]) / got["width"], (box["b"] - box["y"]) / got["height"]) > 0.8
    filled = within(10, fills)
    check(f"and fills the source's width or height, within it {last['faults']}", filled)
    shot(viewer, "remote-overlay-bare")
    subprocess.run(["convert", "-size", "1280x720", "pattern:checkerboard", f"{screens}/remote-overlay-bare.png",
                    "-composite", f"{screens}/remote-overlay.png"], check=False, timeout=30)
    order("reset")
    viewer.get(f"{base}/?key={VIEW}")
    check("the control page on the view key says view only and shows no button",
          within(5, lambda: shown(viewer, "viewOnly") and text(viewer, "viewOnly") == "view only")
          and not any(b.is_displayed() for b in viewer.find_elements(By.TAG_NAME, "button")))
    order("message?text=" + urllib.parse.quote("Wrap up <b>now</b>"))  # for the clock's picture with a message


def part_lost():
    """The clock killed, started again, then closed from its menu (remote_browser.sh does each on our mark)."""
    control = browser(360, 740, f"/?key={CONTROL}")
    viewer = browser(1280, 720, f"/view?key={VIEW}")
    try:
        order("segment/2")
        order("start")
        order("message?text=Before%20the%20end")
        live = within(10, lambda: text(viewer, "message") == text(control, "message") == "Before the end")
        mark("live")
        awaited("killed")
        offline = within(4, lambda: text(control, "status").startswith("Clock offline") and "Clock offline" in text(viewer, "notice"))
        check("within 4 s of the clock's end both pages say it is offline, and when it was last heard",
              live and offline and "last heard" in text(control, "status") and "last heard" in text(viewer, "notice"))
        before = text(viewer, "clock")
        seconds = lambda shown: sum(int(part) * 60 ** i for i, part in enumerate(reversed(shown.split(":"))))
        check(f"the view page's count stops, greyed, where the control page's did ({before}, {text(control, 'clock')})",
              viewer.find_element(By.ID, "clock").value_of_css_property("color") == "rgba(140, 140, 140, 1)"
              and abs(seconds(before) - seconds(text(control, "clock"))) <= 1
              and not within(1.5, lambda: text(viewer, "clock") != before))
        shot(control, "remote-control-offline")
        shot(viewer, "remote-view-offline")
        mark("offline")
        fresh = lambda: (text(control, "phase") == "READY" and not shown(control, "status") and text(control, "message") == ""
                         and not shown(viewer, "notice") and text(viewer, "segment") == "Welcome" and text(viewer, "clock") == "5:00")
        check("the clock started again, both pages show its state, not their old one", within(60, fresh))
        mark("fresh")
        awaited("exited")
        check("within 1 s of Exit from the clock's menu both pages say it closed",
              within(1.0, lambda: text(control, "status").startswith("Clock closed") and "Clock closed" in text(viewer, "notice")))
    finally:
        for name in ("live", "offline", "fresh"):
            mark(name)
        control.quit()
        viewer.quit()


def part_zh():
    """A Chinese clock without a show, counting up (face=elapsed)."""
    page = browser(360, 740, f"/?key={CONTROL}")
    try:
        check("the Chinese clock's page is Chinese, lang set",
              within(5, lambda: text(page, "phase") == "就绪") and page.execute_script("return document.documentElement.lang").startswith("zh")
              and text(page, "start") == "开始")
        check("without a show the control page shows nothing of one",
              text(page, "clock") == state()["text"] and not shown(page, "show") and text(page, "segment") == text(page, "nextSegment") == "")
        # A key changed since the page was opened: the cookie holds the old one when the socket drops.
        page.add_cookie({"name": "tallyglass_key", "value": "an-old-key"})
        page.execute_script("socket.close();")
        check("after a 401 the page says the key has changed and stops redialling",
              within(5, lambda: "密钥已更改" in text(page, "status")) and not within(3, lambda: page.execute_script("return socket !== null;")))
        resize(page, 640, 360)
        page.get(f"{base}/view?key={VIEW}")
        order("start")
        check("the view page shows the elapsed face",
              within(2, lambda: state()["face"] == "elapsed" and text(page, "clock") == state()["text"]))
        # With the pushes held back the page counts on its own, up as the clock does.
        page.execute_script("socket.onmessage = () => { heard = Date.now(); };")
        agree, seen = sampled(6, lambda: text(page, "clock"))
        check(f"between pushes the view page counts up with the clock ({agree} of 6 samples: {seen})",
              agree >= 5 and int(seen[-1]) > int(seen[0]))
        # Each page keeps its own key in one browser: opening the view page never makes a viewer of the control page.
        for path in (f"/?key={CONTROL}", f"/view?key={VIEW}", "/"):
            page.get(base + path)
        check("with the view page opened in the same browser, the control page still controls",
              within(5, lambda: page.execute_script("return state !== null && state.control === true;")))
    finally:
        page.quit()


{"show": part_show, "lost": part_lost, "zh": part_zh}[part]()
finish()
