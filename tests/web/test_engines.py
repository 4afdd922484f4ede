#!/usr/bin/python3
"""The page in WebKitGTK's MiniBrowser and in Firefox ESR, from disk and from a loopback web server,
against the Linux program under Xvfb: the first frame, z, a drag and l as the Linux program draws them;
the menu, Saturn's box and its close-up, chosen with a click and with press-drag-release; Escape and
the ended page. Chromium, tested otherwise by test_page.py, takes the menu's rows here too. Run by
scripts/test_web.sh with test_page.py's environment, on a display for the browsers' windows;
ASTROLUME_ENGINES names the engines (default: chromium webkit firefox)."""
import os
import time
import unittest

import browsers
import test_page  # its helpers and data; imported whole, so that its tests do not run here too
from test_page import (EXPECTED, IMAGES, MENU_LABELS, MODEL_STEPS, PAGE, SIDE, LinuxProgram, LoopbackServer,
                       Picture, assert_same_bodies, assert_same_close_up, linux_step_pictures)

# Where the menu is opened, in the model's pixels, and where a drag starts (above the bodies' row, so
# that it turns the model about x), as the Linux program is given them.
MENU_POINT = (100, 100)
DRAG_START = (400, 200)


class Session:
    """One page loaded in an engine, and the gestures the checks make on it."""

    def __init__(self, test, engine, url):
        self.test, self.engine = test, engine
        engine.get(url)
        self.wait_for("return typeof Astrolume === 'object' && Astrolume.framesDrawn > 0", "the first frame")
        self.left, self.top = engine.js("const r = Module.canvas.getBoundingClientRect(); return [r.left, r.top]")

    def js(self, body):
        return self.engine.js(body)

    def keys(self, text):
        self.engine.type(text)

    def wait_for(self, body, what, seconds=30):
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            value = self.engine.js(body)
            if value:
                return value
            time.sleep(0.05)
        raise AssertionError(f"{self.engine.name}: timed out waiting for {what}")

    def at(self, x, y):
        """A point of the model, in the page's coordinates."""
        return ("move", self.left + x, self.top + y)

    def drag(self, dy):
        self.engine.mouse([self.at(*DRAG_START), ("down", 0), self.at(DRAG_START[0], DRAG_START[1] + dy),
                           ("up", 0)])

    def settled_picture(self):
        drawn = self.js("return Astrolume.framesDrawn")
        self.js("Module.astrolumeTimers.requestFrame()")
        self.wait_for(f"return Astrolume.framesDrawn > {drawn}", "a frame")
        return Picture(self.engine.png("#model"))

    def entry_offsets(self):
        """Each entry's middle, from the point the menu was opened at, by label."""
        self.engine.mouse([self.at(*MENU_POINT), ("down", 2), ("up", 2)])
        self.wait_for("return Astrolume.isHeld('menu')", "the menu")
        offsets = self.js(f"""return [...document.querySelectorAll('#body-menu li')].map((entry) => {{
                                const r = entry.getBoundingClientRect();
                                return [entry.textContent, r.left + r.width / 2 - {self.left + MENU_POINT[0]},
                                        r.top + r.height / 2 - {self.top + MENU_POINT[1]}];
                              }})""")
        self.engine.press("Escape")
        self.test.assertFalse(self.js("return Astrolume.isHeld('menu') || Astrolume.isHeld('ended')"), "Escape on the menu")
        return {label: (dx, dy) for label, dx, dy in offsets}

    def choose_with_click(self, label):
        dx, dy = self.entry_offsets()[label]
        self.engine.mouse([self.at(*MENU_POINT), ("down", 2), ("up", 2)])
        self.wait_for("return Astrolume.isHeld('menu')", "the menu")
        self.engine.mouse([self.at(MENU_POINT[0] + dx, MENU_POINT[1] + dy), ("down", 0), ("up", 0)])

    def choose_with_drag(self, label):
        """The right button pressed on the model, the pointer moved onto the entry, the button released."""
        dx, dy = self.entry_offsets()[label]
        self.engine.mouse([self.at(*MENU_POINT), ("down", 2), self.at(MENU_POINT[0] + dx / 2, MENU_POINT[1] + dy / 2),
                           self.at(MENU_POINT[0] + dx, MENU_POINT[1] + dy), ("up", 2)])

    def box(self):
        self.wait_for("return Astrolume.isHeld('box')", "a box")
        return self.js("return [document.getElementById('message-box-title').textContent,"
                       " document.getElementById('message-box-text').textContent]")

    def press_ok(self):
        self.engine.press("Enter")
        self.wait_for("return !Astrolume.isHeld('box')", "the box to close")


def check_model(test, session):
    test.assertEqual(session.js("return [Module.canvas.width, Module.canvas.height]"), [SIDE, SIDE])
    previous = None
    for (what, act, _), linux_picture in zip(MODEL_STEPS, test.linux_steps):
        act(session)
        picture = session.settled_picture()
        assert_same_bodies(test, picture, linux_picture, f"{session.engine.name}: {what}")
        if previous:
            test.assertNotEqual(picture.pixels, previous.pixels, f"{what} changed nothing")
        previous = picture


def check_menu(test, session):
    """Saturn chosen with a click, OK, the close-up; back to the whole system; Saturn chosen with
    press-drag-release, the same box and close-up."""
    session.engine.type(" ")  # stops the animation, so the pictures stay still
    system = session.settled_picture()
    test.assertEqual(list(session.entry_offsets()), MENU_LABELS)
    session.choose_with_click("Saturn")
    test.assertEqual(session.box(), [EXPECTED["title.Saturn"], EXPECTED["text.Saturn"]])
    session.press_ok()
    close_up = session.settled_picture()
    assert_same_close_up(test, close_up, test.linux_saturn, f"{session.engine.name}: Saturn's close-up")
    session.choose_with_click("Astrolume")
    test.assertEqual(session.settled_picture().pixels, system.pixels, "the whole system again")
    session.choose_with_drag("Saturn")
    test.assertFalse(session.js("return Astrolume.isHeld('menu')"), "the menu stayed open")
    test.assertEqual(session.box(), [EXPECTED["title.Saturn"], EXPECTED["text.Saturn"]])
    session.press_ok()
    test.assertEqual(session.settled_picture().pixels, close_up.pixels, "Saturn's close-up again")


def check_escape(test, session):
    session.engine.press("Escape")
    session.wait_for("return Astrolume.isHeld('ended')", "the ended page")
    test.assertEqual(session.js("return [document.getElementById('ended-message').textContent,"
                                " document.getElementById('ended').hidden]"),
                     ["Astrolume has ended (exit status 255).", False])
    drawn = session.js("return Astrolume.framesDrawn")
    time.sleep(0.3)
    test.assertEqual(session.js("return Astrolume.framesDrawn"), drawn, "frames after the end")


CHECKS = {"the model": check_model, "the menu": check_menu, "Escape": check_escape}
# Each engine's checks. Chromium's model and end are test_page.py's.
ENGINE_CHECKS = {"chromium": ["the menu"], "webkit": list(CHECKS), "firefox": list(CHECKS)}


class EngineTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        # The Linux program's pictures first: the browsers' windows would cover its window.
        cls.linux_steps = linux_step_pictures()
        linux = LinuxProgram(IMAGES)
        try:
            linux.xdotool("key", "space")
            cls.linux_saturn = test_page.PageTest.linux_close_up(cls, linux, "Saturn", "title.Saturn")
        finally:
            linux.close()
        cls.server = LoopbackServer(PAGE.parent)

    @classmethod
    def tearDownClass(cls):
        cls.server.close()

    def test_engines(self):
        names = os.environ.get("ASTROLUME_ENGINES", "chromium webkit firefox").split()
        origins = [("file", PAGE.as_uri()), ("server", self.server.url(PAGE.name))]
        for name in names:
            engine = browsers.ENGINES[name]()
            try:
                print(f"\n{engine.version}", flush=True)
                for origin, url in origins:
                    for check in ENGINE_CHECKS[name]:
                        with self.subTest(engine=name, origin=origin, check=check):
                            started = time.monotonic()
                            try:
                                CHECKS[check](self, Session(self, engine, url))
                            finally:
                                problems = engine.problems()
                            self.assertEqual(problems, [], "console errors")
                            print(f"  {origin}, {check}: {time.monotonic() - started:.1f} s", flush=True)
            finally:
                engine.quit()


if __name__ == "__main__":
    unittest.main(verbosity=2)
