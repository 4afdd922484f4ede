#!/usr/bin/python3
"""The browser page's speed in each engine the page is tested in (tests/web/browsers.py), all with
software rendering: Chromium headless with SwiftShader's WebGL, WebKitGTK's MiniBrowser and Firefox ESR
on the display through Mesa's llvmpipe:
- opening the page to its first frame, by the page's own clock from the start of its loading (so the
  driver's own delays are not counted), median of 10 loads, with the median of each step: the page
  read and parsed up to the program's script, the program's script loaded (its WebAssembly inlined),
  the maps decoded into its file system, the WebAssembly compiled and started, then main's start-up
  and the first frame drawn and finished;
- one whole-system frame: the display callback through a glFinish, median of 300 frames (the browser
  paces frames itself, so the drawing is timed, not the frame rate), against the native program's
  figure for the same frame, given by scripts/measure_performance.sh from the same run;
- in Chromium also: the first frame with the CPU throttled 4 times (DevTools' CPU throttling, as a slow
  school laptop), and at 1, 2 and 3 device pixels per CSS pixel in a 1000 x 1000 window (the model
  drawn at the screen's density, about 900, 1800 and 2700 pixels a side) the whole-system frame's
  drawing and the frames shown a second while the animation runs.
Usage: web_page_bench.py PAGE [NATIVE_FRAME_MS]; ASTROLUME_ENGINES names the engines (default: all
three). WebKitGTK and Firefox need a display."""
import os
import pathlib
import statistics
import sys
import time

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1] / "tests" / "web"))
import browsers  # noqa: E402

LOADS = 10
FRAMES = 300
STEPS = [("page parsed", None, "pageScript"), ("program script", "pageScript", "programLoaded"),
         ("maps decoded", "programLoaded", "mapsDecoded"), ("WebAssembly ready", "mapsDecoded", "programReady"),
         ("start-up and first frame", "programReady", "firstFrame")]


def wait_for_timings(engine):
    end = time.monotonic() + 60
    while time.monotonic() < end:
        timings = engine.js("return typeof Astrolume === 'object' && Astrolume.framesDrawn > 0"
                            " && Astrolume.timings")
        if timings:
            return timings
        time.sleep(0.02)
    raise RuntimeError(f"{engine.name}: no first frame")


def load(engine, page):
    loads = []
    for _ in range(LOADS):
        engine.get("about:blank")
        engine.get(page.as_uri())
        loads.append(wait_for_timings(engine))
    return loads


def frame_times(engine):
    return engine.js(f"""
        const times = [];
        for (let i = 0; i < {FRAMES}; ++i) {{
          const start = performance.now();
          // As the GLUT's frame calls it, finished on the context the program draws with.
          Module._astrolumeGlutDisplay();
          Module.canvas.getContext('webgl').finish();
          times.push(performance.now() - start);
        }}
        return times;""")


def measure_density(engine, page):
    cdp = engine.driver.execute_cdp_cmd
    cdp("Emulation.setCPUThrottlingRate", {"rate": 4})
    loads = load(engine, page)
    cdp("Emulation.setCPUThrottlingRate", {"rate": 1})
    print(f"  first frame with the CPU throttled 4 x, median of {LOADS}: "
          f"{statistics.median(t['firstFrame'] for t in loads):.0f} ms")
    for scale in [1, 2, 3]:
        cdp("Emulation.setDeviceMetricsOverride", {"width": 1000 + scale, "height": 1000, "deviceScaleFactor": scale,
                                                    "mobile": False})
        engine.get(page.as_uri())
        wait_for_timings(engine)
        end = time.monotonic() + 30
        while engine.js("return Module.canvas.width") != round(engine.js(
                "return Module.canvas.getBoundingClientRect().width") * scale) and time.monotonic() < end:
            time.sleep(0.05)
        side = engine.js("return Module.canvas.width")
        # Chromium's finish() does not wait for SwiftShader's rasterizing in its GPU process: what the
        # screen's density costs shows in the frames it shows a second while the animation runs.
        time.sleep(1)
        engine.type("  ")
        time.sleep(1)
        drawn = engine.js("return [Astrolume.framesDrawn, performance.now()]")
        time.sleep(3)
        now = engine.js("return [Astrolume.framesDrawn, performance.now()]")
        rate = (now[0] - drawn[0]) / ((now[1] - drawn[1]) / 1000)
        engine.type(" ")  # still again, for the drawing's own time
        frame = statistics.median(frame_times(engine))
        print(f"  at {scale} device pixels per CSS pixel ({side} pixels a side): the frame's drawing, median of "
              f"{FRAMES}, {frame:.2f} ms; {rate:.0f} frames shown a second while the animation runs", flush=True)
    cdp("Emulation.clearDeviceMetricsOverride", {})


def measure(engine, page, native):
    loads = load(engine, page)
    print(f"{engine.version}: page ({page.stat().st_size / 1e6:.1f} MB) opened to its first frame, median of "
          f"{LOADS}: {statistics.median(t['firstFrame'] for t in loads):.0f} ms "
          f"(from {min(t['firstFrame'] for t in loads):.0f} to {max(t['firstFrame'] for t in loads):.0f})")
    for name, start, end in STEPS:
        step = statistics.median(t[end] - (t[start] if start else 0) for t in loads)
        print(f"  {name}: {step:.0f} ms")
    # The first frame's state: the whole system, still.
    frame = statistics.median(frame_times(engine))
    line = f"  whole-system frame, median of {FRAMES}: {frame:.2f} ms"
    if native:
        line += f"; native under llvmpipe {native:.2f} ms; the page takes {frame / native:.1f} x"
    print(line, flush=True)


def main():
    page = pathlib.Path(sys.argv[1]).resolve()
    native = float(sys.argv[2]) if len(sys.argv) > 2 else None
    for name in os.environ.get("ASTROLUME_ENGINES", "chromium webkit firefox").split():
        engine = browsers.ENGINES[name]()
        try:
            measure(engine, page, native)
            if name == "chromium":
                measure_density(engine, page)
        finally:
            engine.quit()


if __name__ == "__main__":
    main()
