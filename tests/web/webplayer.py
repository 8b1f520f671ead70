# Driver of the browser's end-to-end tests: the static site served from a
# local port, headless Chromium through Selenium, the picture read from the
# page's window.tamzelon and input sent as the browser's own events.
#
#     with Browser(args, "name") as browser:
#         page = browser.open("?silent")      # a tab; a Player of tzplayer
#         field = page.new_game()
#         browser.restart()                   # same profile, so same storage
#
# A Browser keeps its profile (and so the stored table) until it is left;
# every tab's console errors fail the case when the browser closes.

import base64
import functools
import http.server
import io
import os
import pathlib
import shutil
import sys
import tempfile
import threading
import time

from PIL import Image
from selenium import webdriver
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1] / "e2e"))
import tzplayer as tz  # noqa: E402

FLAGS = ("--headless=new", "--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-background-networking",
         "--disable-component-update", "--disable-sync", "--disable-quic", "--window-size=1024,768")
# xdotool's key names, as the desktop's cases write them, in WebDriver's terms.
KEYS = {"Return": Keys.ENTER, "Escape": Keys.ESCAPE, "Up": Keys.UP, "Down": Keys.DOWN, "Left": Keys.LEFT,
        "Right": Keys.RIGHT, "F1": Keys.F1, "space": Keys.SPACE, "alt": Keys.ALT}


class Server(http.server.ThreadingHTTPServer):
    # The site's folder as a web host would serve it, on a free port.

    def __init__(self, folder):
        handler = functools.partial(Quiet, directory=folder)
        super().__init__(("127.0.0.1", 0), handler)
        self.url = "http://127.0.0.1:%d/" % self.server_address[1]
        threading.Thread(target=self.serve_forever, daemon=True).start()


class Quiet(http.server.SimpleHTTPRequestHandler):
    # The test's output stays the test's.
    def log_message(self, *_):
        pass


class Browser:
    # Headless Chromium on its own profile, and the server of the site it opens.

    def __init__(self, args, name):
        if not os.path.exists(os.path.join(args.site, "index.html")):
            print("SKIPPED: no site in %s (bash scripts/build-web.sh)" % args.site)
            sys.exit(77)
        self.args, self.name, self.driver, self.errors = args, name, None, []
        self.profile = tempfile.mkdtemp(prefix="tz-web-")
        self.downloads = os.path.join(self.profile, "downloads")
        self.server = Server(args.site)
        self.start()

    __enter__ = lambda self: self

    def __exit__(self, kind, value, trace):
        try:
            if self.driver:
                self.stop()
        finally:
            self.server.shutdown()
            shutil.rmtree(self.profile, ignore_errors=True)
        if kind and self.errors:
            print("console errors: %s" % self.errors)
        elif not kind:
            tz.check(not self.errors, "console errors: %s" % self.errors)

    def start(self):
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        for flag in FLAGS + ("--user-data-dir=" + self.profile,):
            options.add_argument(flag)
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        options.add_experimental_option("prefs", {"download.default_directory": self.downloads,
                                                  "download.prompt_for_download": False})
        self.driver = webdriver.Chrome(options=options)

    def stop(self):
        self.collect_errors()
        self.driver.quit()
        self.driver = None

    def restart(self):
        # A new browser on the same profile: what a player sees the next day.
        self.stop()
        self.start()

    def collect_errors(self):
        # Each tab keeps its own log.
        for handle in self.driver.window_handles:
            self.driver.switch_to.window(handle)
            self.errors += [entry["message"] for entry in self.driver.get_log("browser")
                            if entry["level"] == "SEVERE"]

    def open(self, query="?silent", new_window=False):
        if new_window:
            self.driver.switch_to.new_window("window")
        self.driver.get(self.server.url + query)
        return Page(self, self.driver.current_window_handle)


class Page(tz.Player):
    # One tab of the game.

    def __init__(self, browser, handle):
        self.browser, self.handle, self.args, self.name = browser, handle, browser.args, browser.name

    @property
    def driver(self):
        if self.browser.driver.current_window_handle != self.handle:
            self.browser.driver.switch_to.window(self.handle)
        return self.browser.driver

    def js(self, expression):
        return self.driver.execute_script("return " + expression)

    def state(self):
        return self.js("window.tamzelon ? window.tamzelon.state : 'none'")

    def wait_state(self, state, timeout=20):
        deadline = time.monotonic() + timeout
        while self.state() != state:
            tz.check(time.monotonic() < deadline, "the page is %s, not %s: %s"
                     % (self.state(), state, self.js("window.tamzelon && window.tamzelon.message")))
            time.sleep(0.05)

    def screenshot(self):
        shown = self.js("window.tamzelon.picture()")
        tz.check(shown, "the page shows no picture: it is %s" % self.state())
        return Image.open(io.BytesIO(base64.b64decode(shown))).convert("RGB")

    def upload(self, scores):
        # Loads a table through the page's control, which starts the game again.
        path = os.path.join(self.browser.profile, "highscore.sav")
        pathlib.Path(path).write_bytes(scores)
        self.js("window.tamzelon.uploading = true")
        self.driver.find_element("id", "upload").send_keys(path)
        deadline = time.monotonic() + 10
        while self.js("window.tamzelon && window.tamzelon.uploading"):
            tz.check(time.monotonic() < deadline, "the page did not start again after the upload")
            time.sleep(0.05)
        self.wait_state("running")

    def download(self):
        # The table's bytes, saved through the page's control.
        path = os.path.join(self.browser.downloads, "highscore.sav")
        self.driver.find_element("id", "download").click()
        deadline = time.monotonic() + 10
        while not os.path.exists(path):
            tz.check(time.monotonic() < deadline, "no download")
            time.sleep(0.05)
        scores = pathlib.Path(path).read_bytes()
        os.remove(path)
        return scores

    def picture_box(self):
        box = self.js("document.getElementById('canvas').getBoundingClientRect().toJSON()")
        return tz.fitted(box["left"], box["top"], box["width"], box["height"])

    def covering(self):
        # The page's elements over the picture, looked for every 10 picture pixels.
        box = self.picture_box()
        points = [self.at(x, y, box) for x in range(0, tz.WIDTH, 10) for y in range(0, tz.HEIGHT, 10)]
        return self.driver.execute_script(
            "return [...new Set(arguments[0].map(([x, y]) => document.elementFromPoint(x, y).id))]"
            ".filter((id) => id !== 'canvas')", points)

    def mouse(self, kind, x, y):
        left, top = self.at(x, y)
        if kind == "mousePressed":
            over = self.js("document.elementFromPoint(%d, %d).id" % (left, top))
            tz.check(over == "canvas", "picture point %d, %d lies under #%s" % (x, y, over))
        self.driver.execute_cdp_cmd("Input.dispatchMouseEvent", {
            "type": kind, "x": left, "y": top, "button": "none" if kind == "mouseMoved" else "left",
            "clickCount": 0 if kind == "mouseMoved" else 1})

    def move(self, x, y):
        self.mouse("mouseMoved", x, y)

    def click(self, x, y, park=True):
        self.move(x, y)
        self.mouse("mousePressed", x, y)
        self.mouse("mouseReleased", x, y)
        if park:
            time.sleep(0.1)
            self.move(*tz.PARK)

    def key(self, *keys):
        for key in keys:
            chord = [KEYS.get(part, part) for part in key.split("+")]
            actions = ActionChains(self.driver)
            for part in chord[:-1]:
                actions.key_down(part)
            actions.send_keys(chord[-1])
            for part in reversed(chord[:-1]):
                actions.key_up(part)
            actions.perform()
            time.sleep(0.05)

    def type(self, text):
        ActionChains(self.driver).send_keys(text).perform()

    def ended(self):
        return self.state() == "ended"

    def check_running(self):
        # A page still loading is waited for; one that failed or ended fails the case.
        if self.state() in ("none", "loading"):
            self.wait_state("running")
        tz.check(self.state() == "running", "the page is %s: %s" % (self.state(), self.js("window.tamzelon.message")))
