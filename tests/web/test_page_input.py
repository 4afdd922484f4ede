#!/usr/bin/python3
"""The page on the devices of a classroom, in headless Chromium: touch screens (Chromium's touch emulation
at a tablet's and a phone's size, fingers sent through the DevTools protocol), a keyboard alone, a browser
without WebGL, and axe-core's WCAG 2.1 A and AA checks. Run by scripts/test_web.sh after test_page.py,
with the same environment (see there); axe-core comes from tests/web/node_modules (npm ci).
  ASTROLUME_TABLET_SCREENSHOT   optional: where to save the page at the tablet's size
"""
import io
import json
import math
import os
import re
import base64
import time
import unittest

from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

from test_page import EXPECTED, LIT, MENU_LABELS, PAGE, ROOT, Page, Picture, assert_same_picture, chromium

AXE = ROOT / "tests" / "web" / "node_modules" / "axe-core" / "axe.min.js"
# (name, CSS width, CSS height, device pixels per CSS pixel)
SCREENS = [("tablet", 820, 1180, 2), ("phone", 390, 844, 3)]
TAP_TARGET = 44  # CSS pixels a finger needs, each way
LONG_PRESS_S = 0.5
SATURN = 6  # its place in the menu
# Doubling the distance between two fingers: one zoom step per 1 % of change, whole steps only.
PINCH_FROM, PINCH_TO, PINCH_STEPS = 50, 100, 69


def cdp_keys(driver, key, code, key_code, modifiers=0):
    """A key the WebDriver keys cannot name (the context-menu key), pressed and released."""
    for kind in ["rawKeyDown", "keyUp"]:
        driver.execute_cdp_cmd("Input.dispatchKeyEvent", {"type": kind, "key": key, "code": code,
                                                          "windowsVirtualKeyCode": key_code, "modifiers": modifiers})


class InputPage(Page):
    def touch(self, kind, *points):
        self.driver.execute_cdp_cmd("Input.dispatchTouchEvent", {
            "type": kind, "touchPoints": [{"x": x, "y": y, "id": i} for i, (x, y) in enumerate(points)]})

    def hold(self, x, y, seconds, moves=()):
        """A finger down at (x, y), moved through `moves` meanwhile, lifted after `seconds`."""
        self.touch("touchStart", (x, y))
        started = time.monotonic()
        for point in moves:
            self.touch("touchMove", point)
        time.sleep(max(0.0, seconds - (time.monotonic() - started)))
        self.touch("touchEnd")

    def tap(self, element):
        box = element.rect
        self.hold(box["x"] + box["width"] / 2, box["y"] + box["height"] / 2, 0.05)

    def pinch(self, x, y, start, end, moves=8):
        """Two fingers either side of (x, y), `start` apart, moved until they are `end` apart."""
        self.touch("touchStart", (x - start / 2, y), (x + start / 2, y))
        for i in range(1, moves + 1):
            half = (start + (end - start) * i / moves) / 2
            self.touch("touchMove", (x - half, y), (x + half, y))
        self.touch("touchEnd")

    def tap_beside_menu(self):
        menu = self.driver.find_element(By.ID, "body-menu").rect
        x = menu["x"] - 10 if menu["x"] >= 20 else menu["x"] + menu["width"] + 10
        self.hold(x, menu["y"] + 5, 0.05)
        self.wait_for("return !Astrolume.isHeld('menu')", "the menu to close")

    def element_middle(self, selector):
        box = self.driver.find_element(By.CSS_SELECTOR, selector).rect
        return box["x"] + box["width"] / 2, box["y"] + box["height"] / 2

    def model_point(self, dx=0.0, dy=0.0):
        """A point of the model, as fractions of its side from its middle."""
        box = self.canvas.rect
        return box["x"] + box["width"] * (0.5 + dx), box["y"] + box["height"] * (0.5 + dy)

    def button(self, name):
        return self.driver.find_element(By.XPATH, f"//nav[@id='controls']/button[@aria-label='{name}' or .='{name}']")

    def entry(self, label):
        return next(e for e in self.driver.find_elements(By.CSS_SELECTOR, "#body-menu li") if e.text == label)

    def animating(self):
        """Whether the animation runs: its tick is installed (no button is held). Frames at a tablet's
        density come too slowly in software to be counted instead."""
        time.sleep(0.3)
        return self.js("return Module.astrolumeTimers.idleOn")

    def wait_box(self, title):
        self.wait_for("return Astrolume.isHeld('box')", f"the {title} box")
        self.assertTitle(title)

    def assertTitle(self, title):
        if self.box()[0] != title:
            raise AssertionError(f"box {self.box()[0]!r}, not {title!r}")

    def focused(self):
        return self.js("const e = document.activeElement; return e.id || e.getAttribute('aria-label') || e.textContent")


def inside(box, width, height):
    return box["x"] >= 0 and box["y"] >= 0 and box["x"] + box["width"] <= width + 0.5 and \
        box["y"] + box["height"] <= height + 0.5


class ChromiumTest(unittest.TestCase):
    """One Chromium for all of a class's tests."""

    @classmethod
    def setUpClass(cls):
        cls.driver = chromium()

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()


class TouchTest(ChromiumTest):
    """A tablet and a phone: every gesture and control, what it gives the program, and the sizes."""

    def open(self, width, height, scale):
        self.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": width, "height": height, "deviceScaleFactor": scale, "mobile": True})
        self.driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": True, "maxTouchPoints": 5})
        page = InputPage(self.driver, PAGE.as_uri())
        page.wait_for_first_frame()
        self.assertTrue(page.js("return matchMedia('(pointer: coarse)').matches"))
        return page

    def check_sizes(self, page, width, height, what):
        """What a finger hits is inside the screen and 44 x 44 CSS pixels at least."""
        targets = page.js("return [...document.querySelectorAll('button, a, #body-menu li, canvas, #body-menu')]"
                          ".filter(e => e.getClientRects().length && !e.closest('[hidden], dialog:not([open])'))"
                          ".map(e => [e.getAttribute('aria-label') || e.textContent.slice(0, 20) || e.id,"
                          " e.getBoundingClientRect().toJSON(), e.tagName])")
        self.assertTrue(targets)
        for name, box, tag in targets:
            self.assertTrue(inside(box, width, height), f"{what}: {name} at {box} leaves the screen")
            if tag in ("BUTTON", "A", "LI"):
                self.assertGreaterEqual(min(box["width"], box["height"]), TAP_TARGET - 0.5,
                                        f"{what}: {name} is {box['width']} x {box['height']}")

    def test_gestures_and_controls(self):
        for screen, width, height, scale in SCREENS:
            with self.subTest(screen=screen):
                self.run_screen(screen, width, height, scale)
        self.driver.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})

    def test_menu_scrolls_on_a_phone_held_sideways(self):
        width, height = 844, 390
        page = self.open(width, height, 3)
        page.hold(*page.model_point(0.2, 0.2), LONG_PRESS_S * 1.6)
        page.wait_for("return Astrolume.isHeld('menu')", "the menu")
        menu = self.driver.find_element(By.ID, "body-menu")
        self.assertTrue(inside(menu.rect, width, height), f"the menu at {menu.rect}")
        self.assertGreater(page.js("return arguments[0].scrollHeight - arguments[0].clientHeight", menu), 0)
        # An entry below the screen's edge, scrolled into view inside the menu and tapped.
        pluto = page.entry("Pluto")
        self.assertFalse(inside(pluto.rect, width, height))
        page.js("arguments[0].scrollIntoView({block: 'end'})", pluto)
        self.assertTrue(inside(pluto.rect, width, height))
        page.tap(pluto)
        page.wait_box("명왕성")
        page.tap(self.driver.find_element(By.ID, "message-box-ok"))
        page.wait_for("return !Astrolume.isHeld('box')", "the box to close")
        self.assertEqual(page.js("return [scrollX, scrollY]"), [0, 0])
        self.driver.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})

    def run_screen(self, screen, width, height, scale):
        page = self.open(width, height, scale)
        self.check_sizes(page, width, height, f"{screen}, first state")
        self.assertFalse(page.js("return getComputedStyle(document.querySelector('.coarse-help')).display"
                                 " === 'none'"), "the help names gestures")
        # (-webkit-touch-callout is WebKit's alone.)
        self.assertEqual(page.js("const s = getComputedStyle(document.body); return [s.touchAction, s.userSelect]"),
                         ["none", "none"])
        if screen == "tablet" and os.environ.get("ASTROLUME_TABLET_SCREENSHOT"):
            self.driver.save_screenshot(os.environ["ASTROLUME_TABLET_SCREENSHOT"])

        # A tap is a click: its release starts the animation, as on the desktop. The start/stop control
        # stops it.
        self.assertFalse(page.animating())
        page.hold(*page.model_point(0, 0.3), 0.05)
        self.assertTrue(page.animating(), f"{screen}: a tap did not start the animation")
        page.tap(page.button("Start/stop"))
        self.assertFalse(page.animating(), f"{screen}: start/stop did not stop the animation")
        still = page.settled_picture()

        # Each control gives the picture of its key: its key's opposite undoes it, its key does it again.
        controls = [("Zoom in", "z", "x"), ("Zoom out", "x", "z"), ("Light", "l", "l")]
        for name, key, opposite in controls:
            with self.subTest(screen=screen, control=name):
                before = page.settled_picture()
                page.tap(page.button(name))
                after = page.settled_picture()
                self.assertNotEqual(after.pixels, before.pixels, f"{name} changed nothing")
                page.keys(opposite)
                self.assertEqual(page.settled_picture().pixels, before.pixels, f"{name} and {opposite}")
                page.keys(key)
                self.assertEqual(page.settled_picture().pixels, after.pixels, f"{name} against {key}")
                page.keys(opposite)
        self.assertEqual(page.settled_picture().pixels, still.pixels)

        # Taps, drags and presses by how long and how far the finger goes: (what, seconds, moves in CSS
        # pixels, whether the menu opens). The program's drag is a mouse's over the same pixels.
        x, y = page.model_point(0, -0.3)
        # (The long press's time and tremble are pinned under Node, tests/web/node/touch.test.mjs.)
        gestures = [
            ("a tap", 0.05, [], False),
            ("a long press", LONG_PRESS_S * 1.6, [], True),
            ("a drag started at once", LONG_PRESS_S * 1.6, [(x, y + 12), (x, y + 40), (x, y + 60)], False),
        ]
        for what, seconds, moves, menu in gestures:
            with self.subTest(screen=screen, gesture=what):
                before = page.settled_picture()
                started = time.monotonic()
                page.hold(x, y, seconds, moves)
                held = time.monotonic() - started
                if held >= LONG_PRESS_S * 0.9 and not menu and not moves:
                    self.skipTest(f"the machine took {held:.2f} s to send a short press")
                time.sleep(0.2)
                self.assertEqual(page.js("return Astrolume.isHeld('menu')"), menu, f"{what}: the menu")
                if menu:
                    page.tap_beside_menu()  # a tap outside the menu closes it
                picture = page.settled_picture()
                if menu:
                    self.assertEqual(picture.pixels, before.pixels, f"{what} turned the model")
                elif moves:
                    self.assertNotEqual(picture.pixels, before.pixels, f"{what} turned nothing")
                    page.drag_from(*moves[-1], 0, y - moves[-1][1])
                    self.assertEqual(page.settled_picture().pixels, before.pixels,
                                     f"{what}: a mouse's drag back does not undo it")
                else:
                    self.assertEqual(picture.pixels, before.pixels, f"{what} changed the picture")

        # Two fingers: the program's zoom steps, one for each 1 % of their distance, and no turn.
        with self.subTest(screen=screen, gesture="pinch"):
            middle = page.model_point()
            page.pinch(*middle, PINCH_FROM, PINCH_TO)
            spread = page.settled_picture()
            self.assertNotEqual(spread.pixels, still.pixels, "spreading zoomed nothing")
            page.keys("x" * PINCH_STEPS)
            assert_same_picture(self, page.settled_picture(), still, "spread, then x as often")
            page.keys("z" * PINCH_STEPS)
            assert_same_picture(self, page.settled_picture(), spread, "z as often as the spread's steps")
            page.pinch(*middle, PINCH_TO, PINCH_FROM)
            assert_same_picture(self, page.settled_picture(), still, "spread, then pinched back")
            self.assertFalse(page.animating(), "a pinch started the animation")
            self.assertEqual(page.js("return [scrollX, scrollY, visualViewport.scale]"), [0, 0, 1])

        # The menu by a long press, and Saturn by a tap; then again by sliding onto Saturn. Both give the
        # ring close-up that the keyboard's choice gives.
        close_ups = []
        for way in ["tap", "slide", "keys"]:
            with self.subTest(screen=screen, menu=way):
                x, y = page.model_point(-0.3, -0.3)
                if way == "keys":
                    page.canvas.send_keys(Keys.SHIFT + Keys.F10)
                    page.keys(Keys.ARROW_DOWN * SATURN + Keys.ENTER)
                elif way == "tap":
                    page.hold(x, y, LONG_PRESS_S * 1.6)
                    time.sleep(0.3)
                    self.assertTrue(page.js("return Astrolume.isHeld('menu')"), "the menu closed at the lift")
                    self.check_sizes(page, width, height, f"{screen}, menu open")
                    page.tap(page.entry("Saturn"))
                else:
                    page.touch("touchStart", (x, y))
                    time.sleep(LONG_PRESS_S * 1.6)
                    self.assertTrue(page.js("return Astrolume.isHeld('menu')"))
                    box = page.entry("Saturn").rect
                    target = (box["x"] + box["width"] / 2, box["y"] + box["height"] / 2)
                    page.touch("touchMove", ((x + target[0]) / 2, (y + target[1]) / 2))
                    page.touch("touchMove", target)
                    page.touch("touchEnd")
                page.wait_box(EXPECTED["title.Saturn"])
                self.check_sizes(page, width, height, f"{screen}, box open")
                page.tap(self.driver.find_element(By.ID, "message-box-ok"))
                page.wait_for("return !Astrolume.isHeld('box')", "the box to close")
                close_ups.append(page.settled_picture())
                self.assertNotEqual(close_ups[-1].pixels, still.pixels, "no close-up")
                self.assertEqual(close_ups[-1].pixels, close_ups[0].pixels, f"{way}: another close-up")
                page.js("Module._astrolumeChooseMenuEntry(+[...document.querySelectorAll('#body-menu li')]"
                        ".find(e => e.textContent === 'Astrolume').dataset.value)")
                self.assertEqual(page.settled_picture().pixels, still.pixels)

        # No press left a button held: the animation runs again when started, and a long press with it
        # running leaves it running.
        page.tap(page.button("Start/stop"))
        x, y = page.model_point(0.3, 0.3)
        page.hold(x, y, LONG_PRESS_S * 1.6)
        page.wait_for("return Astrolume.isHeld('menu')", "the menu")
        page.tap_beside_menu()
        self.assertTrue(page.animating(), f"{screen}: the animation froze after a long press")
        self.assertEqual(page.console_problems(), [])


class KeyboardTest(ChromiumTest):
    """A keyboard alone: the menu, the box, Tab through the controls, and keys kept where they belong."""

    def test_menu_box_and_focus(self):
        page = InputPage(self.driver, PAGE.as_uri())
        page.wait_for_first_frame()
        page.keys(" ")
        still = page.settled_picture()
        openers = [
            ("Shift+F10", lambda: page.canvas.send_keys(Keys.SHIFT + Keys.F10)),
            ("the context-menu key", lambda: (page.canvas.click(), cdp_keys(self.driver, "ContextMenu",
                                                                            "ContextMenu", 93))),
            ("the bodies button", lambda: page.button("Bodies").send_keys(Keys.ENTER)),
        ]
        box_keys = [("Return", Keys.ENTER), ("Space", " "), ("Escape", Keys.ESCAPE)]
        for (opener, open_menu), (key_name, key) in zip(openers, box_keys):
            with self.subTest(opener=opener, box_closed_by=key_name):
                page.js("Module.canvas.focus()")
                open_menu()
                page.wait_for("return Astrolume.isHeld('menu')", "the menu")
                self.assertEqual(page.focused(), "Sun")
                page.keys(Keys.ARROW_UP + Keys.ARROW_DOWN * (SATURN + 1))
                self.assertEqual(page.focused(), "Saturn")
                page.keys(Keys.ENTER)
                page.wait_box(EXPECTED["title.Saturn"])
                self.assertEqual(page.focused(), "message-box-ok")
                page.keys(key)
                page.wait_for("return !Astrolume.isHeld('box')", f"{key_name} to close the box")
                self.assertFalse(page.js("return Astrolume.isHeld('ended')"))
                self.assertEqual(page.focused(), "model")
                self.assertNotEqual(page.settled_picture().pixels, still.pixels)
                page.canvas.send_keys(Keys.SHIFT + Keys.F10)
                page.keys(Keys.END + Keys.SPACE)  # "Astrolume": the whole system again
                self.assertEqual(page.settled_picture().pixels, still.pixels)
        # Escape closes the menu alone.
        page.canvas.send_keys(Keys.SHIFT + Keys.F10)
        page.keys(Keys.ESCAPE)
        self.assertFalse(page.js("return Astrolume.isHeld('menu') || Astrolume.isHeld('ended')"))
        self.assertEqual(page.focused(), "model")

        # Tab goes through the page's controls, and the program hears none of it (Tab would redraw).
        frames = page.js("return Astrolume.framesDrawn")
        order = []
        for _ in range(6):
            page.keys(Keys.TAB)
            order.append(page.focused())
        self.assertEqual(order, ["Zoom in", "Zoom out", "Light", "Start/stop", "bodies-button", "full-screen",
                                 "show-licences"][:len(order)])
        time.sleep(0.3)
        self.assertEqual(page.js("return Astrolume.framesDrawn"), frames, "the program heard Tab")

        # Space or Enter on a focused control presses it and does not reach the program: the picture is
        # its key's, and the animation stays stopped.
        for name, key, opposite, press in [("Zoom in", "z", "x", Keys.ENTER), ("Light", "l", "l", " ")]:
            with self.subTest(control=name, pressed_with=press):
                before = page.settled_picture()
                page.button(name).send_keys(press)
                after = page.settled_picture()
                self.assertNotEqual(after.pixels, before.pixels)
                self.assertFalse(page.animating(), "the key reached the program too")
                page.canvas.send_keys(opposite)
                self.assertEqual(page.settled_picture().pixels, before.pixels)
                page.canvas.send_keys(key)
                self.assertEqual(page.settled_picture().pixels, after.pixels)
                page.canvas.send_keys(opposite)
        self.assertEqual(page.console_problems(), [])


class ClassroomTest(ChromiumTest):
    """What a classroom meets beyond the gestures: the page's language, the controls' states, a trackpad's
    pinch, a tablet turned with the menu or a box open, full screen and printing."""

    def picture_is_lit(self, page):
        picture = Picture(page.canvas.screenshot_as_png)
        return max(max(picture.pixels[i:i + 3]) for i in range(0, len(picture.pixels), 3 * 97)) > LIT

    def test_the_page_speaks_the_browsers_language(self):
        # (the browser's languages, the page's)
        for languages, spoken in [("ko-KR,ko", "ko"), ("en-GB,ko", "en"), ("de,ko", "ko"), ("fr", "en")]:
            with self.subTest(languages=languages):
                driver = chromium([f"--lang={languages.split(',')[0]}", f"--accept-lang={languages}"])
                self.addCleanup(driver.quit)
                page = InputPage(driver, PAGE.as_uri())
                page.wait_for_first_frame()
                self.assertEqual(page.js("return [navigator.languages.join(), document.documentElement.lang]"),
                                 [languages, spoken])
                # Every text and accessible name of the page's own is the table's in that language and
                # not the other's; the program's labels are marked English.
                wrong = page.js("""
                    const [spoken, other] = [Astrolume.texts[arguments[0]], Astrolume.texts[arguments[1]]];
                    const words = (text) => text.replace(/\\{[\\w:]+\\}/g, ' ').split(/\\s+/).filter(Boolean);
                    const says = (shown, text) => words(text).every((word) => shown.includes(word));
                    return [...document.querySelectorAll('[data-text]')].map((e) => [e.dataset.text, e.textContent])
                      .concat([...document.querySelectorAll('[data-label]')]
                              .map((e) => [e.dataset.label, e.getAttribute('aria-label')]))
                      .filter(([name, shown]) => !says(shown, spoken[name])
                              || (spoken[name] !== other[name] && says(shown, other[name])))
                      .concat([...document.querySelectorAll('#body-menu li:not([lang=en])')]
                              .map((e) => ['menu', e.textContent]));
                    """, spoken, "en" if spoken == "ko" else "ko")
                self.assertEqual(wrong, [], f"{languages}: texts not in {spoken}")
                page.keys(Keys.ESCAPE)
                page.wait_for("return Astrolume.isHeld('ended')", "the end")
                self.assertEqual(page.js("return document.getElementById('ended-message').textContent"),
                                 page.js("return Astrolume.text('ended', {status: 255})"))
                if spoken == "ko":
                    self.assertIn("끝났습니다", page.js("return document.getElementById('ended-message').textContent"))
                    if os.environ.get("ASTROLUME_KOREAN_SCREENSHOT"):
                        driver.get("about:blank")
                        driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
                            "width": 820, "height": 1180, "deviceScaleFactor": 1, "mobile": True})
                        driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": True})
                        InputPage(driver, PAGE.as_uri()).wait_for_first_frame()
                        driver.save_screenshot(os.environ["ASTROLUME_KOREAN_SCREENSHOT"])

    def test_controls_and_model_say_what_they_show(self):
        page = InputPage(self.driver, PAGE.as_uri())
        page.wait_for_first_frame()
        # Only the model hears the mouse: a click on a control right after start-up gives its key alone
        # (the release would start the animation), and a drag over the footer turns nothing.
        still = page.settled_picture()
        page.button("Zoom in").click()
        self.assertFalse(page.animating(), "a click on a control reached the model")
        page.keys("x")
        page.drag_from(*page.element_middle("footer"), 0, -300)
        self.assertEqual(page.settled_picture().pixels, still.pixels, "a drag begun on the footer turned the model")
        pressed = "return [...document.querySelectorAll('#controls [data-control=lighting], " \
                  "#controls [data-control=animation]')].map((b) => b.getAttribute('aria-pressed'))"
        self.assertEqual(page.js(pressed), ["true", "false"])
        # (how, the lighting's and the animation's states after it)
        for how, states in [(lambda: page.keys("l"), ["false", "false"]),
                            (lambda: page.button("Light").click(), ["true", "false"]),
                            (lambda: page.keys("  "), ["true", "true"]),
                            (lambda: page.button("Start/stop").click(), ["true", "false"])]:
            how()
            expected = json.dumps(states, separators=(",", ":"))
            page.wait_for(f"return JSON.stringify(({pressed.replace('return ', '')})) === '{expected}'",
                          f"the controls to say {states}", seconds=5)
        self.assertEqual(page.canvas.get_attribute("aria-label"), "The model of the solar system")
        page.js("Module._astrolumeChooseMenuEntry(7)")
        page.wait_box(EXPECTED["title.Saturn"])
        page.keys(Keys.ENTER)
        page.wait_for("return Module.canvas.getAttribute('aria-label').includes('Saturn')", "Saturn's name")
        self.assertEqual(page.js("return document.getElementById('licences').getAttribute('aria-labelledby')"),
                         "licences-heading")

    def test_trackpad_pinch_zooms_and_a_plain_wheel_does_nothing(self):
        page = InputPage(self.driver, PAGE.as_uri())
        page.wait_for_first_frame()
        still = page.settled_picture()
        x, y = page.model_point()
        wheel = {"type": "mouseWheel", "x": x, "y": y, "deltaX": 0}
        self.driver.execute_cdp_cmd("Input.dispatchMouseEvent", {**wheel, "deltaY": 120})
        self.assertEqual(page.settled_picture().pixels, still.pixels, "a plain wheel changed the model")
        # Spreading two fingers to twice their distance: ln 2 / ln 1.01 zoom steps.
        self.driver.execute_cdp_cmd("Input.dispatchMouseEvent", {**wheel, "deltaY": -100 * math.log(2), "modifiers": 2})
        spread = page.settled_picture()
        page.keys("x" * PINCH_STEPS)
        assert_same_picture(self, page.settled_picture(), still, "a trackpad's spread, then x as often")
        page.keys("z" * PINCH_STEPS)
        assert_same_picture(self, page.settled_picture(), spread, "z as often as the spread's steps")
        self.assertEqual(page.js("return [scrollX, scrollY, visualViewport.scale]"), [0, 0, 1])

    def test_turning_a_tablet_loses_nothing(self):
        touch = TouchTest.open.__get__(self)
        page = touch(820, 1180, 2)
        self.addCleanup(self.driver.execute_cdp_cmd, "Emulation.clearDeviceMetricsOverride", {})
        turn = lambda width, height: self.driver.execute_cdp_cmd(  # noqa: E731
            "Emulation.setDeviceMetricsOverride", {"width": width, "height": height, "deviceScaleFactor": 2,
                                                   "mobile": True})
        page.hold(600, 700, LONG_PRESS_S * 1.6)
        page.wait_for("return Astrolume.isHeld('menu')", "the menu")
        turn(1180, 820)
        page.wait_for("return innerWidth === 1180", "the turn")
        menu = self.driver.find_element(By.ID, "body-menu")
        self.assertTrue(inside(menu.rect, 1180, 820), f"the menu at {menu.rect} after the turn")
        for label in MENU_LABELS:
            page.js("arguments[0].scrollIntoView({block: 'nearest'})", page.entry(label))
            self.assertTrue(inside(page.entry(label).rect, 1180, 820), f"{label} out of reach")
        page.tap(page.entry("Saturn"))
        page.wait_box(EXPECTED["title.Saturn"])
        turn(820, 1180)
        page.wait_for("return innerWidth === 820", "the turn back")
        time.sleep(0.3)
        self.assertTrue(self.picture_is_lit(page), "the model behind the box went black")
        page.tap(self.driver.find_element(By.ID, "message-box-ok"))
        page.wait_for("const box = Module.canvas.getBoundingClientRect(); "
                      "return Module.canvas.width === Math.round(box.width * 2) && box.width > 700", "the new size")
        self.assertTrue(self.picture_is_lit(page), "the close-up at the new size")

    def test_full_screen_and_print(self):
        page = InputPage(self.driver, PAGE.as_uri())
        page.wait_for_first_frame()
        self.driver.find_element(By.ID, "full-screen").click()
        page.wait_for("return document.fullscreenElement?.id === 'model-area'", "full screen")
        page.wait_for("return Module.canvas.getBoundingClientRect().width === Math.min(innerWidth, innerHeight)",
                      "the model as large as the screen")
        page.keys("z")  # the keys still reach the program
        page.keys(Keys.ESCAPE)
        time.sleep(0.3)
        self.assertFalse(page.js("return Astrolume.isHeld('ended')"), "Escape in full screen ended the program")
        page.js("document.exitFullscreen?.()")
        self.driver.execute_cdp_cmd("Emulation.setEmulatedMedia", {"media": "print"})
        self.addCleanup(self.driver.execute_cdp_cmd, "Emulation.setEmulatedMedia", {"media": ""})
        self.assertEqual(page.js("return ['controls', 'show-licences'].map((id) => "
                                 "document.getElementById(id).getClientRects().length)"), [0, 0])
        self.assertTrue(page.js("const box = Module.canvas.getBoundingClientRect(); "
                                "return box.right <= innerWidth && box.bottom <= innerHeight && box.width > 0"))


class WithoutWebGLTest(unittest.TestCase):
    def test_message_and_no_errors(self):
        driver = chromium(["--disable-webgl"])
        self.addCleanup(driver.quit)
        page = Page(driver, PAGE.as_uri())
        page.wait_for("return document.readyState === 'complete'", "the page")
        message = driver.find_element(By.ID, "no-webgl")
        self.assertTrue(message.is_displayed())
        self.assertFalse(page.canvas.is_displayed())
        self.assertIn("needs WebGL", message.text)
        self.assertIn("hardware acceleration", message.text)
        self.assertFalse(page.js("return document.getElementById('controls').checkVisibility()"),
                         "the controls without a model")
        # Input of every kind afterwards raises nothing.
        driver.find_element(By.TAG_NAME, "body").click()
        page.keys("zxl " + Keys.SHIFT + Keys.F10 + Keys.ESCAPE)
        cdp_keys(driver, "ContextMenu", "ContextMenu", 93)
        time.sleep(0.3)
        self.assertEqual(page.console_problems(), [])
        # The embedded font holds every character the page can show in either language: its table's.
        font = re.search(rb'src: url\(data:font/ttf;base64,([A-Za-z0-9+/=]+)\)', PAGE.read_bytes()).group(1)
        from fontTools.ttLib import TTFont
        covered = TTFont(io.BytesIO(base64.b64decode(font))).getBestCmap()
        texts = page.js("return JSON.stringify(Object.values(Astrolume.texts))")
        self.assertEqual(sorted({c for c in texts if not c.isspace() and ord(c) not in covered}), [])


class AccessibilityTest(unittest.TestCase):
    """axe-core's WCAG 2.1 A and AA rules in the page's four states."""

    def test_no_violations(self):
        driver = chromium()
        self.addCleanup(driver.quit)
        page = InputPage(driver, PAGE.as_uri())
        page.wait_for_first_frame()
        page.keys(" ")
        axe = AXE.read_text(encoding="utf-8")
        states = [
            ("first state", lambda: None),
            ("menu open", lambda: page.canvas.send_keys(Keys.SHIFT + Keys.F10)),
            ("box open", lambda: (page.keys(Keys.ARROW_DOWN * SATURN + Keys.ENTER), page.wait_box(EXPECTED["title.Saturn"]))),
            ("ended", lambda: (page.keys(Keys.ENTER), page.wait_for("return !Astrolume.isHeld('box')", "no box"),
                               page.keys(Keys.ESCAPE), page.wait_for("return Astrolume.isHeld('ended')", "the end"))),
        ]
        for state, reach in states:
            with self.subTest(state=state):
                reach()
                driver.execute_script(axe)
                result = driver.execute_async_script(
                    "const done = arguments[arguments.length - 1];"
                    "axe.run(document, {runOnly: {type: 'tag', values: ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa']}})"
                    ".then(r => done(r.violations.map(v => [v.id, v.help, v.nodes.map(n => n.target.join(' '))])),"
                    " e => done([['axe failed', String(e), []]]));")
                self.assertEqual(result, [], f"{state}: WCAG violations")


if __name__ == "__main__":
    unittest.main(verbosity=2)
