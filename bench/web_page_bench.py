#!/usr/bin/python3
"""The browser page's speed in headless Chromium (SwiftShader's software WebGL):
- opening the page to its first frame, median of 10 loads, with the median of each step: the page
  read and parsed up to the program's script, the program's script loaded (its WebAssembly inlined),
  the maps decoded into its file system, the WebAssembly compiled and started, then main's start-up
  and the first frame drawn and finished;
- one whole-system frame: the display callback through a glFinish, median of 300 frames (the browser
  paces frames itself, so the drawing is timed, not the frame rate), against the native program's
  figure for the same frame, given by scripts/measure_performance.sh from the same run.
Usage: web_page_bench.py PAGE [NATIVE_FRAME_MS]"""
import pathlib
import statistics
import sys
import tempfile

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.support.ui import WebDriverWait

LOADS = 10
FRAMES = 300
STEPS = [("page parsed", None, "pageScript"), ("program script", "pageScript", "programLoaded"),
         ("maps decoded", "programLoaded", "mapsDecoded"), ("WebAssembly ready", "mapsDecoded", "programReady"),
         ("start-up and first frame", "programReady", "firstFrame")]


def chromium():
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for argument in ["--headless=new", "--no-sandbox", "--use-gl=angle", "--use-angle=swiftshader",
                     "--enable-unsafe-swiftshader", "--disable-background-networking", "--disable-component-update",
                     "--disable-sync", "--no-first-run", "--disable-quic", "--window-size=1000,1000",
                     "--user-data-dir=" + tempfile.mkdtemp()]:
        options.add_argument(argument)
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


def main():
    page = pathlib.Path(sys.argv[1]).resolve()
    native = float(sys.argv[2]) if len(sys.argv) > 2 else None
    driver = chromium()
    try:
        loads = []
        for _ in range(LOADS):
            driver.get("about:blank")
            driver.get(page.as_uri())
            loads.append(WebDriverWait(driver, 60, 0.02).until(
                lambda d: d.execute_script("return Astrolume.framesDrawn > 0 && Astrolume.timings")))
        print(f"Page ({page.stat().st_size / 1e6:.1f} MB) opened to its first frame, median of {LOADS}: "
              f"{statistics.median(t['firstFrame'] for t in loads):.0f} ms")
        for name, start, end in STEPS:
            step = statistics.median(t[end] - (t[start] if start else 0) for t in loads)
            print(f"  {name}: {step:.0f} ms")
        # The first frame's state: the whole system, still.
        times = driver.execute_script(f"""
            const times = [];
            for (let i = 0; i < {FRAMES}; ++i) {{
              const start = performance.now();
              // Through the dynCall export where Asyncify made one, as GLUT calls it.
              if (Module.dynCall_v) Module.dynCall_v(GLUT.displayFunc); else getWasmTableEntry(GLUT.displayFunc)();
              Module.ctx.finish();
              times.push(performance.now() - start);
            }}
            return times;""")
        frame = statistics.median(times)
        line = f"Whole-system frame in Chromium's software WebGL, median of {FRAMES}: {frame:.2f} ms"
        if native:
            line += f"; native under llvmpipe {native:.2f} ms; the page takes {frame / native:.1f} x"
        print(line)
    finally:
        driver.quit()


if __name__ == "__main__":
    main()
