"""The three browser engines the page is tested and measured in, behind one small interface, so that a
test or a benchmark is written once for all of them:
  Chromium  headless, SwiftShader's software WebGL, through Debian's chromedriver
  WebKit    WebKitGTK's MiniBrowser, through Debian's WebKitWebDriver, on $DISPLAY
  Firefox   Firefox ESR over WebDriver BiDi, through puppeteer-core (tests/web/firefox.mjs), on $DISPLAY
Each gives: get(url), js(body) (a function body; what it returns), type(text), press(key name),
mouse(steps) with steps ("move", x, y), ("down", button), ("up", button) in the page's CSS pixels
(0 left, 2 right button), png(selector) (the element's picture), problems() (console errors and
uncaught exceptions since the last call, where the engine reports them) and quit()."""
import base64
import inspect
import json
import os
import pathlib
import subprocess
import sysconfig
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.actions.action_builder import ActionBuilder
from selenium.webdriver.common.actions.mouse_button import MouseButton
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

HERE = pathlib.Path(__file__).resolve().parent
MINIBROWSER = f"/usr/lib/{sysconfig.get_config_var('MULTIARCH')}/webkit2gtk-4.1/MiniBrowser"  # Debian's triplet
# The model takes the largest square beside the 96-pixel controls: 800 x 800, the Linux program's
# window, with room below for the footer.
WINDOW = (896, 1000)
SELENIUM_BUTTONS = {0: MouseButton.LEFT, 2: MouseButton.RIGHT}
X_BUTTONS = {0: 1, 2: 3}
SELENIUM_KEYS = {"Escape": Keys.ESCAPE, "Enter": Keys.ENTER}


class SeleniumEngine:
    def __init__(self, driver, name):
        self.driver = driver
        self.name = name
        self.version = f"{name} {driver.capabilities.get('browserVersion')}"
        self.screen_offset = None

    def get(self, url):
        self.driver.get(url)

    def js(self, body):
        return self.driver.execute_script(body)

    def type(self, text):
        ActionChains(self.driver).send_keys(text).perform()

    def press(self, key):
        ActionChains(self.driver).send_keys(SELENIUM_KEYS[key]).perform()

    def mouse(self, steps):
        if self.name == "WebKitGTK":
            return self.x_mouse(steps)
        builder = ActionBuilder(self.driver)
        for step in steps:
            if step[0] == "move":
                builder.pointer_action.move_to_location(round(step[1]), round(step[2]))
            elif step[0] == "down":
                builder.pointer_action.pointer_down(SELENIUM_BUTTONS[step[1]])
            else:
                builder.pointer_action.pointer_up(SELENIUM_BUTTONS[step[1]])
        builder.perform()

    def x_mouse(self, steps):
        """The mouse through the X server, as a user's: WebKitWebDriver's own right-button release
        reaches the page as the left button's (button 0, buttons 2)."""
        if self.screen_offset is None:
            # Where the page's top left corner lies on the screen, from a mouse move's two positions.
            self.js("window.astrolumeTestOffset = null; addEventListener('mousemove', (event) =>"
                    " { astrolumeTestOffset = [event.screenX - event.clientX, event.screenY - event.clientY]; })")
            for x in (300, 310):
                subprocess.run(["xdotool", "mousemove", str(x), "300"], check=True)
                time.sleep(0.1)
            self.screen_offset = self.js("return window.astrolumeTestOffset")
        command = ["xdotool"]
        for step in steps:
            if step[0] == "move":
                command += ["mousemove", str(round(step[1] + self.screen_offset[0])),
                            str(round(step[2] + self.screen_offset[1]))]
            else:
                command += ["mousedown" if step[0] == "down" else "mouseup", str(X_BUTTONS[step[1]])]
            command += ["sleep", "0.05"]
        subprocess.run(command, check=True)

    def png(self, selector):
        return self.driver.find_element(By.CSS_SELECTOR, selector).screenshot_as_png

    def problems(self):
        if self.name != "Chromium":
            return []  # WebKitWebDriver keeps no console log
        return [e["message"] for e in self.driver.get_log("browser")
                if e["level"] == "SEVERE" or e.get("source") == "rendering"]

    def quit(self):
        self.driver.quit()


def chromium_driver(extra_arguments=()):
    """Headless Chromium with SwiftShader's WebGL, a fresh profile, its console and performance logs kept."""
    from selenium.webdriver.chrome.service import Service
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for argument in [*extra_arguments, "--headless=new", "--use-gl=angle", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
                     "--disable-background-networking", "--disable-component-update", "--disable-sync",
                     "--no-first-run", "--disable-quic", f"--window-size={WINDOW[0]},{WINDOW[1]}",
                     "--user-data-dir=" + tempfile.mkdtemp()]:
        options.add_argument(argument)
    if os.geteuid() == 0:
        options.add_argument("--no-sandbox")
    options.set_capability("goog:loggingPrefs", {"browser": "ALL", "performance": "ALL"})
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


def chromium():
    return SeleniumEngine(chromium_driver(), "Chromium")


def webkit():
    from selenium.webdriver.webkitgtk.options import Options
    options = Options()
    options.binary_location = MINIBROWSER
    options.add_argument("--automation")
    # Selenium 4.8 (Debian 12) takes the driver's path itself; later releases (Debian 13) take a Service.
    if "service" in inspect.signature(webdriver.WebKitGTK.__init__).parameters:
        from selenium.webdriver.webkitgtk.service import Service
        driver = webdriver.WebKitGTK(service=Service("/usr/bin/WebKitWebDriver"), options=options)
    else:
        driver = webdriver.WebKitGTK(executable_path="/usr/bin/WebKitWebDriver", options=options)
    driver.set_window_size(*WINDOW)
    return SeleniumEngine(driver, "WebKitGTK")


class Firefox:
    """Firefox ESR driven by tests/web/firefox.mjs: one JSON request per line on its input, one answer
    per line on its output."""

    def __init__(self):
        self.process = subprocess.Popen(["node", str(HERE / "firefox.mjs"), str(WINDOW[0]), str(WINDOW[1])],
                                        stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        self.name = "Firefox"
        self.version = "Firefox " + self.call("version").split("/")[-1]

    def call(self, op, **arguments):
        self.process.stdin.write(json.dumps(dict(arguments, op=op)) + "\n")
        self.process.stdin.flush()
        line = self.process.stdout.readline()
        if not line:
            raise RuntimeError(f"the Firefox driver ended during {op}")
        answer = json.loads(line)
        if "error" in answer:
            raise RuntimeError(f"Firefox, {op}: {answer['error']}")
        return answer.get("value")

    def get(self, url):
        self.call("get", url=url)

    def js(self, body):
        return self.call("js", body=body)

    def type(self, text):
        self.call("type", text=text)

    def press(self, key):
        self.call("press", key=key)

    def mouse(self, steps):
        self.call("mouse", steps=steps)

    def png(self, selector):
        return base64.b64decode(self.call("png", selector=selector))

    def problems(self):
        return self.call("problems")

    def quit(self):
        try:
            self.call("quit")
        finally:
            self.process.stdin.close()
            self.process.wait(timeout=30)
            self.process.stdout.close()


ENGINES = {"chromium": chromium, "webkit": webkit, "firefox": Firefox}
