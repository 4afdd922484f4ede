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
  figure for the same frame, given by scripts/measure_performance.sh from the same run.
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


def measure(engine, page, native):
    loads = []
    for _ in range(LOADS):
        engine.get("about:blank")
        engine.get(page.as_uri())
        loads.append(wait_for_timings(engine))
    print(f"{engine.version}: page ({page.stat().st_size / 1e6:.1f} MB) opened to its first frame, median of "
          f"{LOADS}: {statistics.median(t['firstFrame'] for t in loads):.0f} ms "
          f"(from {min(t['firstFrame'] for t in loads):.0f} to {max(t['firstFrame'] for t in loads):.0f})")
    for name, start, end in STEPS:
        step = statistics.median(t[end] - (t[start] if start else 0) for t in loads)
        print(f"  {name}: {step:.0f} ms")
    # The first frame's state: the whole system, still.
    times = engine.js(f"""
        const times = [];
        for (let i = 0; i < {FRAMES}; ++i) {{
          const start = performance.now();
          // As the GLUT's frame calls it, finished on the context the program draws with.
          Module._astrolumeGlutDisplay();
          Module.canvas.getContext('webgl').finish();
          times.push(performance.now() - start);
        }}
        return times;""")
    frame = statistics.median(times)
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
        finally:
            engine.quit()


if __name__ == "__main__":
    main()
