"""Waits, bounded, until one of the clock's pages, open in Debian's headless Chromium
through Selenium, shows a text: a page that is watched as it lives, so a loaded
machine only makes the wait longer, never the check wrong. Exit 0 when it does.
    page_says.py <url> <text> <seconds>"""
import sys
from checks import headless_chromium, within

url, text, seconds = sys.argv[1], sys.argv[2], float(sys.argv[3])
page = headless_chromium()
try:
    page.set_page_load_timeout(30)
    page.get(url)
    shows = within(seconds, lambda: text in page.execute_script("return document.body.innerText"))
    if not shows:
        print(page.execute_script("return document.body.innerText"), file=sys.stderr)
finally:
    page.quit()
sys.exit(0 if shows else 1)
