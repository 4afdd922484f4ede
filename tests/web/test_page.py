#!/usr/bin/python3
"""The browser page in headless Chromium, driven through chromedriver, against the Linux program under
Xvfb: the same pictures, menu, boxes, keys and end. Run by scripts/test_web.sh, which builds both and
passes their paths in the environment:
  ASTROLUME_PAGE             the page built from the converted maps
  ASTROLUME_PAGE_PARTS       build-web/: the program's JavaScript and the font subset, to make more pages
  ASTROLUME_IMAGES           the converted maps
  ASTROLUME_LINUX_PROGRAM    the Linux program, run on $DISPLAY
  ASTROLUME_SCREENSHOT       optional: where to save a picture of the page with Saturn's box open
"""
import base64
import functools
import http.server
import io
import json
import os
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time
import unittest

import numpy
from selenium.common.exceptions import TimeoutException
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

ROOT = pathlib.Path(__file__).resolve().parents[2]
sys.path.insert(0, str(ROOT / "web" / "page"))
import make_page  # noqa: E402  (the page's own assembler makes the pages with broken maps)
from browsers import WINDOW, chromium_driver as chromium  # noqa: E402
# The page's scripts in their order, from the port's one list.
PAGE_SCRIPTS = [ROOT / line for line in subprocess.run(
    ["cmake", "-DASTROLUME_WEB_LIST=page_scripts", "-P", str(ROOT / "web" / "sources.cmake")],
    check=True, capture_output=True, text=True).stdout.split()]

PAGE = pathlib.Path(os.environ["ASTROLUME_PAGE"]).resolve()
PAGE_PARTS = pathlib.Path(os.environ["ASTROLUME_PAGE_PARTS"]).resolve()
IMAGES = pathlib.Path(os.environ["ASTROLUME_IMAGES"]).resolve()
LINUX_PROGRAM = pathlib.Path(os.environ["ASTROLUME_LINUX_PROGRAM"])



def read_expected():
    """What the program shows, as the shell and Python tests expect it: "NAME = VALUE" lines, "\\n"
    standing for a line break."""
    values = {}
    for line in (ROOT / "tests" / "expected.txt").read_text(encoding="utf-8").splitlines():
        if line and not line.startswith("#"):
            name, value = line.split(" = ", 1)
            values[name] = value.replace("\\n", "\n")
    return values


EXPECTED = read_expected()
MENU_LABELS = EXPECTED["menu"].split()
# The program's window, and the page's canvas in a window that is large enough.
SIDE = int(EXPECTED["window.side"])
# A pixel belongs to a body when a channel exceeds this; the background is black.
LIT = 24
# Two software renderers (llvmpipe, SwiftShader) round lighting and texture filtering differently,
# and the page resamples the Sun's 42 x 42 map to 64 x 64: each body's mean colour may differ by this
# much per channel (measured: at most 1).
MEAN_COLOUR_TOLERANCE = 4
# Whole pictures against the Linux program: pixels that differ by more than this in a channel, and how
# many may (measured: at most 21 in a picture, all on bodies' edges).
PIXEL_TOLERANCE = 16
STRAY_PIXELS = 80
# The Sun's close-up has no edge but its round one and is all resampled map: measured, no pixel differs by
# more than 8 (a map resampled with its weights reversed: 216 do).
SUN_TOLERANCE, SUN_STRAY_PIXELS = 8, 40
# Left to right on the middle row of the first frame.
BODY_ORDER = sorted((name.split(".")[1] for name in EXPECTED if name.startswith("place.")),
                    key=lambda body: float(EXPECTED["place." + body]))


# ---------------------------------------------------------------------------------------------------
# Pictures

class Picture:
    def __init__(self, png):
        ppm = subprocess.run(["convert", "png:-", "-depth", "8", "ppm:-"], input=png, check=True,
                             capture_output=True).stdout
        header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", ppm)
        self.width, self.height = int(header.group(1)), int(header.group(2))
        self.pixels = ppm[header.end():]
        self.png = png

    def rgb(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.pixels[i:i + 3])

    def bodies_on_row(self, y):
        """Each body crossing row y: its first and last lit column there, and the mean colour of the
        lit pixels in the square those columns span (a row alone is too few pixels to average)."""
        bodies, start = [], None
        for x in range(self.width + 1):
            lit = x < self.width and max(self.rgb(x, y)) > LIT
            if lit and start is None:
                start = x
            elif not lit and start is not None:
                bodies.append((start, x - 1, self.mean_lit_colour(start, x - 1, y)))
                start = None
        return bodies

    def mean_lit_colour(self, x0, x1, y):
        half = (x1 - x0) // 2
        lit = [self.rgb(x, row) for row in range(max(0, y - half), min(self.height, y + half + 1))
               for x in range(x0, x1 + 1) if max(self.rgb(x, row)) > LIT]
        return tuple(sum(c[i] for c in lit) / len(lit) for i in range(3))


def assert_same_bodies(test, web, linux, what):
    """Every body's lit extent on the middle row within 1 pixel, its mean colour within tolerance."""
    web_runs, linux_runs = web.bodies_on_row(web.height // 2), linux.bodies_on_row(linux.height // 2)
    test.assertEqual(len(web_runs), len(linux_runs), f"{what}: bodies on the middle row\n{web_runs}\n{linux_runs}")
    for (w0, w1, wc), (l0, l1, lc) in zip(web_runs, linux_runs):
        test.assertLessEqual(abs(w0 - l0), 1, f"{what}: body from {l0} to {l1} starts at {w0}")
        test.assertLessEqual(abs(w1 - l1), 1, f"{what}: body from {l0} to {l1} ends at {w1}")
        for channel in range(3):
            test.assertLessEqual(abs(wc[channel] - lc[channel]), MEAN_COLOUR_TOLERANCE,
                                 f"{what}: body from {l0} to {l1}: mean colour {wc} against {lc}")


def assert_same_picture(test, web, other, what, tolerance=None, stray_pixels=None):
    """The whole picture alike: at most STRAY_PIXELS pixels differ by more than PIXEL_TOLERANCE in a
    channel (two renderers rasterise a few edge pixels differently). A body upside down, a slice of a
    ring or a map's colours off differ in hundreds."""
    tolerance = PIXEL_TOLERANCE if tolerance is None else tolerance
    stray_pixels = STRAY_PIXELS if stray_pixels is None else stray_pixels
    test.assertEqual((web.width, web.height), (other.width, other.height), f"{what}: size")
    a, b = (numpy.frombuffer(p.pixels, numpy.uint8).reshape(-1, 3).astype(numpy.int16) for p in (web, other))
    stray = int((numpy.abs(a - b).max(axis=1) > tolerance).sum())
    test.assertLessEqual(stray, stray_pixels, f"{what}: {stray} pixels differ by more than {tolerance}")


def axis_line_colour(picture):
    """The mean colour of a close-up's axis line where it leaves the picture at the top: the lit pixels
    of the few columns around the middle in the top eighth, clear of the body."""
    middle = picture.width // 2
    lit = [picture.rgb(x, y) for y in range(picture.height // 8) for x in range(middle - 3, middle + 4)
           if max(picture.rgb(x, y)) > LIT]
    return tuple(sum(c[i] for c in lit) / len(lit) for i in range(3)) if lit else None


def assert_same_close_up(test, web, linux, what):
    """The body as in assert_same_bodies, and the axis line above it in the same colour."""
    assert_same_bodies(test, web, linux, what)
    web_axis, linux_axis = axis_line_colour(web), axis_line_colour(linux)
    test.assertIsNotNone(linux_axis, f"{what}: the Linux program draws no axis line")
    test.assertIsNotNone(web_axis, f"{what}: no axis line")
    for channel in range(3):
        test.assertLessEqual(abs(web_axis[channel] - linux_axis[channel]), MEAN_COLOUR_TOLERANCE,
                             f"{what}: axis line's mean colour {web_axis} against {linux_axis}")


# ---------------------------------------------------------------------------------------------------
# The Linux program, driven with xdotool

class LinuxProgram:
    """The Linux program in a scratch folder whose image/ holds the maps, at the top left of $DISPLAY."""

    def __init__(self, images):
        self.folder = tempfile.mkdtemp()
        os.symlink(images, os.path.join(self.folder, "image"))
        env = dict(os.environ, LIBGL_ALWAYS_SOFTWARE="1", NO_AT_BRIDGE="1")
        self.process = subprocess.Popen([str(LINUX_PROGRAM)], cwd=self.folder, env=env,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.window = subprocess.run(["timeout", "20", "xdotool", "search", "--sync", "--onlyvisible", "--name",
                                      "^Astrolume$"], check=True, capture_output=True,
                                     text=True).stdout.split()[0]
        self.first_frame = self.settled_picture()

    def xdotool(self, *arguments):
        """Sends input to the program; what it draws in answer is read with settled_picture."""
        subprocess.run(["xdotool", "windowfocus", "--sync", self.window, *arguments], check=True)

    def settled_picture(self, before=None):
        """The window once the program has drawn: something lit, unlike `before` when given, and the same
        in three grabs in a row (the program keeps still between inputs; events it has yet to handle
        change the picture again)."""
        deadline = time.monotonic() + 20
        last, same = None, 0
        while time.monotonic() < deadline:
            picture = self.picture()
            settled = max(picture.pixels) > LIT and (before is None or picture.pixels != before.pixels)
            same = same + 1 if settled and last is not None and picture.pixels == last.pixels else 0
            if same == 2:
                return picture
            last = picture
            time.sleep(0.1)
        raise AssertionError("the Linux program's window did not settle" + (" on a new picture" if before else ""))

    def picture(self):
        return Picture(subprocess.run(["import", "-window", "root", "-crop", f"{SIDE}x{SIDE}+0+0", "+repage",
                                       "png:-"], check=True, capture_output=True).stdout)

    def close(self):
        self.process.kill()
        self.process.wait()
        shutil.rmtree(self.folder)


# ---------------------------------------------------------------------------------------------------
# The page in Chromium

class Page:
    def __init__(self, driver, url):
        self.driver = driver
        self.url = url
        driver.get(url)
        self.canvas = driver.find_element(By.ID, "model")

    def js(self, script, *arguments):
        return self.driver.execute_script(script, *arguments)

    def wait_for(self, script, what, seconds=30):
        try:
            return WebDriverWait(self.driver, seconds, 0.05).until(lambda d: d.execute_script(script))
        except TimeoutException:
            raise AssertionError(f"timed out waiting for {what}") from None

    def wait_for_first_frame(self):
        self.wait_for("return Astrolume.framesDrawn > 0", "the first frame")

    def box_open(self):
        return self.js("return document.getElementById('message-box').open")

    def box(self):
        return self.js("return [document.getElementById('message-box-title').textContent,"
                       " document.getElementById('message-box-text').textContent]")

    def press_ok(self):
        """Presses OK; returns once the box is gone, or the next one (which may follow at once) is up."""
        shown = self.js("return Astrolume.boxesShown")
        self.driver.find_element(By.ID, "message-box-ok").click()
        self.wait_for(f"return !Astrolume.isHeld('box') || Astrolume.boxesShown > {shown}", "the box to close")

    def keys(self, keys):
        ActionChains(self.driver).send_keys(keys).perform()

    def drag(self, dy):
        # From above the bodies' row, straight down: the drag turns the model about x.
        ActionChains(self.driver).move_to_element_with_offset(self.canvas, 0, -200).click_and_hold() \
            .move_by_offset(0, dy).release().perform()

    def settled_picture(self):
        """The canvas once the frames asked for are drawn."""
        drawn = self.js("return Astrolume.framesDrawn")
        self.js("Module.astrolumeTimers.requestFrame()")
        self.wait_for(f"return Astrolume.framesDrawn > {drawn}", "a frame")
        return Picture(self.canvas.screenshot_as_png)

    def drag_from(self, x, y, dx, dy):
        """A left-button drag with the mouse from (x, y) in the page by (dx, dy)."""
        box = self.canvas.rect
        ActionChains(self.driver).move_to_element_with_offset(
            self.canvas, int(x - box["x"] - box["width"] / 2), int(y - box["y"] - box["height"] / 2)) \
            .click_and_hold().move_by_offset(dx, dy).release().perform()

    def open_menu(self):
        ActionChains(self.driver).context_click(self.canvas).perform()
        self.wait_for("return Astrolume.isHeld('menu')", "the menu")
        return self.driver.find_elements(By.CSS_SELECTOR, "#body-menu li")

    def choose(self, label):
        entries = self.open_menu()
        next(e for e in entries if e.text == label).click()

    def requests(self):
        urls = []
        for entry in self.driver.get_log("performance"):
            message = json.loads(entry["message"])["message"]
            if message["method"] == "Network.requestWillBeSent":
                urls.append(message["params"]["request"]["url"])
        return urls

    def console_problems(self):
        # Errors, and WebGL's warnings about calls it refused.
        return [e["message"] for e in self.driver.get_log("browser")
                if e["level"] == "SEVERE" or e.get("source") == "rendering"]


class LoopbackServer:
    """A static web server on the loopback address for one folder."""

    def __init__(self, folder):
        handler = functools.partial(QuietHandler, directory=str(folder))
        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        threading.Thread(target=self.server.serve_forever, daemon=True).start()

    def url(self, name):
        return f"http://127.0.0.1:{self.server.server_address[1]}/{name}"

    def close(self):
        self.server.shutdown()
        self.server.server_close()


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *arguments):
        pass


def make_page_with_images(folder, name, change):
    """A page like the built one, from a copy of the maps that `change` alters."""
    images = folder / (name + "-images")
    shutil.copytree(IMAGES, images)
    change(images)
    output = folder / (name + ".html")
    maps = [images / built.name for built in IMAGES.iterdir()]  # the built page's names, those removed left out
    make_page.write_page(PAGE_PARTS / "astrolume.js", PAGE_PARTS / "nanum-gothic-subset.ttf", PAGE_SCRIPTS, maps,
                         "test",
                         [ROOT / "data" / "copyright"], output)
    return output


def truncate_earth(images):
    # Cut inside the bitmap header: missing pixel rows alone are read as far as they go.
    earth = images / "earth.bmp"
    earth.write_bytes(earth.read_bytes()[:30])


def truncate_earth_and_spoil_mars(images):
    truncate_earth(images)
    mars = bytearray((images / "Mars.bmp").read_bytes())
    mars[14:18] = (99).to_bytes(4, "little")  # a header size no BMP version has
    (images / "Mars.bmp").write_bytes(mars)


def remove_pluto(images):
    (images / "Pluto.bmp").unlink()


# ---------------------------------------------------------------------------------------------------
# Tests

# The model's steps, for every engine: what the page is given (through a driver's keys and drag, the
# drag from 200 pixels above the model's middle straight down), and what the Linux program is given
# through xdotool.
MODEL_STEPS = [
    ("first frame", lambda page: None, None),
    ("z seventy times", lambda page: page.keys("z" * 70), ["key", "--repeat", "70", "--delay", "5", "z"]),
    ("space, then a drag of 90 pixels", lambda page: (page.keys(" "), page.drag(90)),
     ["key", "space", "mousemove", "400", "200", "mousedown", "1", "mousemove", "400", "290", "mouseup", "1"]),
    ("l", lambda page: page.keys("l"), ["key", "l"]),
]


def linux_step_pictures():
    """The Linux program's picture after each of the model's steps."""
    linux = LinuxProgram(IMAGES)
    try:
        pictures = [linux.first_frame]
        for _, _, xdotool in MODEL_STEPS[1:]:
            linux.xdotool(*xdotool)
            pictures.append(linux.settled_picture(pictures[-1]))
        return pictures
    finally:
        linux.close()


class PageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.driver = chromium()
        # What the browser itself loaded before the first page (its new tab) is no page's doing.
        cls.driver.get("about:blank")
        cls.driver.get_log("performance")
        cls.driver.get_log("browser")
        cls.scratch = pathlib.Path(tempfile.mkdtemp())
        cls.server = LoopbackServer(PAGE.parent)

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()
        cls.server.close()
        shutil.rmtree(cls.scratch)

    def setUp(self):
        self.page = None

    def tearDown(self):
        self.check_quiet()

    def open(self, url):
        """Loads a page; the one before it must have stayed quiet."""
        self.check_quiet()
        self.page = Page(self.driver, url)
        return self.page

    def check_quiet(self):
        page, self.page = self.page, None
        if page is None:
            return
        self.assertEqual(page.console_problems(), [], "console errors")
        stray = [u for u in page.requests() if u != page.url and not u.startswith("data:")]
        self.assertEqual(stray, [], "requests beyond the page itself")

    def test_model_matches_linux_step_by_step(self):
        """From disk and from a web server: the first frame, z seventy times, then space and a 90-pixel
        drag (the orbital plane edge on), then l, each as the Linux program draws it."""
        expected = linux_step_pictures()
        for origin, url in [("file", PAGE.as_uri()), ("server", self.server.url(PAGE.name))]:
            page = self.open(url)
            page.wait_for_first_frame()
            previous = None
            for (what, act, _), linux_picture in zip(MODEL_STEPS, expected):
                with self.subTest(origin=origin, step=what):
                    act(page)
                    picture = page.settled_picture()
                    assert_same_bodies(self, picture, linux_picture, f"{origin}: {what}")
                    assert_same_picture(self, picture, linux_picture, f"{origin}: {what}")
                    if previous:
                        self.assertNotEqual(picture.pixels, previous.pixels, f"{what} changed nothing")
                    previous = picture

    def test_menu_and_saturn_box(self):
        page = self.open(PAGE.as_uri())
        page.wait_for_first_frame()
        page.keys(" ")  # stops the animation, so every picture below stays still
        system = page.settled_picture()

        labels = [entry.text for entry in page.open_menu()]
        self.assertEqual(labels, MENU_LABELS)
        page.keys(Keys.ESCAPE)  # closes the menu, nothing else
        self.assertFalse(page.js("return Astrolume.isHeld('menu') || Astrolume.isHeld('ended')"))

        page.choose("Saturn")
        page.wait_for("return Astrolume.isHeld('box')", "Saturn's box")
        self.assertEqual(page.box(), [EXPECTED["title.Saturn"], EXPECTED["text.Saturn"]])
        self.assertEqual(page.js("return document.querySelectorAll('dialog[open]').length"), 1)
        self.assertEqual(page.js("return getComputedStyle(document.getElementById('message-box-title'))"
                                 ".fontFamily"), '"Astrolume Hangul", sans-serif')
        self.assertTrue(page.js("return [...document.fonts].some(f => f.family === 'Astrolume Hangul'"
                                " && f.status === 'loaded')"), "the embedded font is not in use")
        if os.environ.get("ASTROLUME_SCREENSHOT"):
            self.driver.save_screenshot(os.environ["ASTROLUME_SCREENSHOT"])

        # While the box is open nothing reaches the model and no frame is drawn.
        frames = page.js("return Astrolume.framesDrawn")
        page.keys("zzzxl")
        page.drag(90)
        page.js("Module.astrolumeTimers.requestFrame()")  # a frame asked for is drawn only once the box is gone
        time.sleep(0.5)
        self.assertTrue(page.box_open())
        self.assertEqual(page.js("return Astrolume.framesDrawn"), frames)

        page.press_ok()
        page.wait_for(f"return Astrolume.framesDrawn > {frames}", "the close-up")
        linux = LinuxProgram(IMAGES)
        self.addCleanup(linux.close)
        linux.xdotool("key", "space")
        # Close-ups against the Linux program's: Saturn's (its box answered above); Mars alone, texturing
        # off while its axis line is drawn; the Sun, whose 42 x 42 map the page resamples to 64 x 64, more
        # closely, its whole picture only.
        close_ups = [
            ("Saturn", "Saturn's", True, ()),
            ("Mars", "Mars's", True, ()),
            ("Sun", "the Sun's", False, (SUN_TOLERANCE, SUN_STRAY_PIXELS)),
        ]
        for label, whose, axis_and_extents, tolerances in close_ups:
            if label != "Saturn":
                page.choose(label)
                page.wait_for("return Astrolume.isHeld('box')", f"{whose} box")
                page.press_ok()
            picture = page.settled_picture()
            linux_picture = self.linux_close_up(linux, label, "title." + label)
            if axis_and_extents:
                assert_same_close_up(self, picture, linux_picture, f"{whose} close-up")
            assert_same_picture(self, picture, linux_picture, f"{whose} close-up", *tolerances)

        # Back to the whole system: the keys and the drag made while the box was open changed nothing.
        page.choose("Astrolume")
        self.assertEqual(page.settled_picture().pixels, system.pixels)

        # The licence notes, one click away; keys meanwhile go to them, not to the model.
        self.driver.find_element(By.ID, "show-licences").click()
        notes = self.driver.find_element(By.ID, "licences").text
        for licence in ["GNU General Public License", "SIL Open Font License"]:
            self.assertIn(licence, notes)
        page.keys("zzz")
        self.driver.find_element(By.ID, "close-licences").click()
        self.assertEqual(page.settled_picture().pixels, system.pixels)

        page.keys(Keys.ESCAPE)
        page.wait_for("return Astrolume.isHeld('ended')", "the end")
        self.assertEqual(page.js("return document.getElementById('ended-message').textContent"),
                         "Astrolume has ended (exit status 255).")
        self.assertFalse(page.js("return document.getElementById('ended').hidden"))
        drawn = page.js("return Astrolume.framesDrawn")
        # Everything behind the ended page is out of reach: Tab goes round its own button alone, and
        # "Bodies", clicked through, opens nothing.
        for _ in range(3):
            ActionChains(self.driver).send_keys(Keys.TAB).perform()
            self.assertIn(page.js("return document.activeElement.id"), ["start-again", ""])
        page.js("document.getElementById('bodies-button').click()")
        self.assertFalse(page.js("return Astrolume.isHeld('menu')"), "the menu opened behind the ended page")
        self.assertEqual(page.js("return document.getElementById('ended-message').getAttribute('role')"), "alert")
        time.sleep(0.3)
        self.assertEqual(page.js("return Astrolume.framesDrawn"), drawn, "frames after the end")

        # Starting again loads the page afresh: a new first frame, nothing ended.
        self.driver.find_element(By.ID, "start-again").click()
        page.wait_for("return typeof Astrolume === 'object' && !Astrolume.isHeld('ended') && Astrolume.framesDrawn > 0",
                      "the program to start again")

    def linux_close_up(self, linux, label, title):
        """The Linux program's close-up of the body the menu calls `label`, its box (titled as EXPECTED[title])
        dismissed with Return."""
        title = EXPECTED[title]
        before = linux.picture()
        linux.xdotool("mousemove", "100", "100", "click", "3")
        menu = subprocess.run(["timeout", "5", "xdotool", "search", "--sync", "--onlyvisible", "--name",
                               "^freeglut menu$"], check=True, capture_output=True, text=True).stdout.split()[0]
        geometry = dict(line.split("=") for line in subprocess.run(
            ["xdotool", "getwindowgeometry", "--shell", menu], check=True, capture_output=True,
            text=True).stdout.split())
        entry = (int(geometry["HEIGHT"]) - 4) // len(MENU_LABELS)
        x = int(geometry["X"]) + int(geometry["WIDTH"]) // 2
        y = int(geometry["Y"]) + 2 + entry * MENU_LABELS.index(label) + entry // 2
        subprocess.run(["xdotool", "mousemove", str(x), str(y)], check=True)
        time.sleep(0.2)
        subprocess.run(["xdotool", "click", "1"], check=True)
        box = subprocess.run(["timeout", "10", "xdotool", "search", "--sync", "--onlyvisible", "--name",
                              f"^{title}$"], check=True, capture_output=True, text=True).stdout.split()[0]
        subprocess.run(["xdotool", "windowfocus", "--sync", box, "key", "Return"], check=True)
        return linux.settled_picture(before)

    def test_font_holds_every_character_a_box_shows(self):
        page = self.open(PAGE.as_uri())
        page.wait_for_first_frame()
        page.keys(" ")
        shown = set()
        for label in MENU_LABELS[:-1]:
            page.choose(label)
            page.wait_for("return Astrolume.isHeld('box')", f"{label}'s box")
            shown.update("".join(page.box()))
            page.keys(Keys.ENTER)
            page.wait_for("return !Astrolume.isHeld('box')", f"{label}'s box to close")
        font = re.search(rb'src: url\(data:font/ttf;base64,([A-Za-z0-9+/=]+)\)', PAGE.read_bytes()).group(1)
        from fontTools.ttLib import TTFont
        covered = TTFont(io.BytesIO(base64.b64decode(font))).getBestCmap()
        missing = sorted(c for c in shown if not c.isspace() and ord(c) not in covered)
        self.assertEqual(missing, [], "characters the embedded font lacks")

    def test_broken_and_missing_maps(self):
        """A cut-short earth.bmp: one "Error" box before the first frame, then a grey Earth; with a bad
        Mars.bmp too, its box after the Earth's. No Pluto.bmp: no box, and an untextured Pluto. Every
        other body as with all its maps."""
        page = self.open(PAGE.as_uri())
        page.wait_for_first_frame()
        textured = page.settled_picture().bodies_on_row(SIDE // 2)
        self.assertEqual(len(textured), len(BODY_ORDER))
        truncated, unknown = ["Error", EXPECTED["message.truncated"]], ["Error", EXPECTED["message.unknown"]]
        cases = [
            ("earth cut short", truncate_earth, [truncated], {"Earth"}),
            # One box at a time, in the order of the bodies' slots: the Earth's before Mars's.
            ("earth cut short, Mars unknown", truncate_earth_and_spoil_mars, [truncated, unknown], {"Earth", "Mars"}),
            ("no Pluto", remove_pluto, [], {"Pluto"}),
        ]
        for name, change, boxes, grey_bodies in cases:
            with self.subTest(case=name):
                page = self.open(make_page_with_images(self.scratch, re.sub(r"\W+", "-", name), change).as_uri())
                shown = []
                while True:
                    state = page.wait_for("return Astrolume.isHeld('box') ? 'box' : Astrolume.framesDrawn > 0 && 'frame'",
                                          "a box or the first frame")
                    if state == "frame":
                        break
                    self.assertEqual(page.js("return Astrolume.framesDrawn"), 0, "a frame behind the box")
                    shown.append(page.box())
                    page.press_ok()
                self.assertEqual(shown, boxes)
                time.sleep(0.5)
                self.assertFalse(page.box_open())
                bodies = page.settled_picture().bodies_on_row(SIDE // 2)
                self.assertEqual(len(bodies), len(BODY_ORDER))
                for body, (_, _, colour), (_, _, with_map) in zip(BODY_ORDER, bodies, textured):
                    if body in grey_bodies:
                        # Lit, untextured: the material's grey, whatever the map's colours were.
                        self.assertLessEqual(max(colour) - min(colour), 3, f"{name}: {body} is {colour}")
                        self.assertNotEqual(colour, with_map)
                    else:
                        self.assertEqual(colour, with_map, f"{name}: {body}")

    def test_page_says_when_the_model_is_refused_its_context(self):
        """WebGL offered to the page's own check but refused to the model's canvas: the page says so in
        place of the model, and the program draws nothing."""
        self.check_quiet()
        added = self.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": """
            const getContext = HTMLCanvasElement.prototype.getContext;
            HTMLCanvasElement.prototype.getContext = function (...how) {
              return this.id === 'model' ? null : getContext.apply(this, how);
            };"""})
        try:
            page = self.open(PAGE.as_uri())
            page.wait_for("return !document.getElementById('cannot-run').hidden", "the page's message")
            self.assertIn("a WebGL context", page.js("return document.getElementById('cannot-run').textContent"))
            self.assertFalse(page.js("return document.getElementById('model').checkVisibility()"))
            page.keys("z")
            time.sleep(0.5)
            self.assertEqual(page.js("return Astrolume.framesDrawn"), 0, "the program drew a frame")
            # The page's own word on the console, and no other error.
            problems = page.console_problems()
            self.assertEqual(len(problems), 1, problems)
            self.assertIn("Astrolume cannot run: it was refused a WebGL context", problems[0])
            page.requests()
            self.page = None
        finally:
            self.driver.execute_cdp_cmd("Page.removeScriptToEvaluateOnNewDocument",
                                        {"identifier": added["identifier"]})

    def test_model_fills_the_room_it_has(self):
        """The largest square beside the controls, with no limit of its own (a projector's screen), drawn
        at the screen's density; the program is reshaped to its drawing buffer."""
        page = self.open(PAGE.as_uri())
        page.wait_for_first_frame()
        self.addCleanup(self.driver.execute_cdp_cmd, "Emulation.clearDeviceMetricsOverride", {})
        # (window, device pixels per CSS pixel: 1.5 is a browser zoomed to 150 %)
        # Each row another size: headless Chromium tells the page of a new density with a new size only.
        for width, height, scale in [(600, 900, 1), (900, 500, 1), (1920, 1080, 1), (1280, 720, 1.5),
                                     (820, 1180, 2), (390, 844, 3), (*WINDOW, 1)]:
            with self.subTest(window=(width, height), scale=scale):
                self.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
                    "width": width, "height": height, "deviceScaleFactor": scale, "mobile": False})
                expected = "Math.min(area.clientWidth, area.clientHeight)"
                page.wait_for("const area = document.getElementById('model-area'), box = Module.canvas"
                              f".getBoundingClientRect(); return box.width === {expected} && box.height === "
                              f"box.width && Module.canvas.width === Math.round(box.width * {scale}) && "
                              "Module.canvas.height === Module.canvas.width", "a square canvas that fills the room")
                side = page.js("return Module.canvas.getBoundingClientRect().width")
                if (width, height) == (1920, 1080):
                    self.assertGreater(side, 0.9 * 1080, "the model on a projector")
                if (width, height) == WINDOW:
                    self.assertEqual(side, SIDE, "the comparisons' window")


if __name__ == "__main__":
    unittest.main(verbosity=2)
