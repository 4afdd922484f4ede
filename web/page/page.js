// The page around the program: Emscripten's Module settings, the canvas's size, what the model may
// receive while a box or the menu is open, the page shown once the program has ended, and the times
// of start-up, which the benchmark reads.
'use strict';

const Astrolume = {
  // What holds the model still (no animation tick, no frame, no input): 'box', 'menu', 'licences',
  // 'ended'. The one owner of that state; the program's GLUT asks it (Module.astrolumeHeld).
  held: new Set(),
  // performance.now() at each step of start-up: the page's own script runs, the program's script
  // has loaded, the maps are in its file system, its WebAssembly is ready, the first frame is drawn.
  timings: {pageScript: performance.now()},
  framesDrawn: 0,
  boxesShown: 0,
  shownState: '', // what the controls' states and the model's name last said (showProgramState)
};

Astrolume.isHeld = (reason) => (reason ? Astrolume.held.has(reason) : Astrolume.held.size > 0);
// Once nothing holds the model, what it was asked to do meanwhile runs: the frame, the animation, a new
// size. The size only after the current task: a box's callback resumes (Asyncify) once its promise is
// settled, and the program may not be entered before.
Astrolume.hold = (reason, on) => {
  if (on) Astrolume.held.add(reason);
  else Astrolume.held.delete(reason);
  if (Astrolume.held.size === 0 && Module.astrolumeResume) {
    Module.astrolumeResume();
    setTimeout(() => Astrolume.fitCanvas());
  }
};
// A key the page's controls and gestures give the program, never while it is held.
Astrolume.sendKey = (control) => {
  if (!Astrolume.isHeld() && Module.astrolumeProgram) Module._astrolumeKey(Module.astrolumeProgram.keys[control]);
};

// Emscripten's GL emulation announces itself on every start, and says that glShadeModel, which
// the program calls with OpenGL's default, does nothing; anything else on stderr is an error.
const expectedNotices = [/^WARNING: using emscripten GL (immediate mode )?emulation/, /^TODO: glShadeModel$/];
// Emscripten 6 prints the emulation's start-up notices while the program's script loads, before it takes
// Module.printErr, through console.error as it is then: until the runtime begins (preRun), the page's
// console.error, which keeps those notices quiet too.
const consoleError = console.error;
console.error = (...args) => {
  if (!(args.length === 1 && expectedNotices.some((pattern) => pattern.test(String(args[0]))))) {
    consoleError.apply(console, args);
  }
};

// The largest drawing buffer the model may have: what WebGL draws into and shows whole.
Astrolume.largestSide = 0;
// Without WebGL (a blocked graphics driver, a policy, an old PC) the program could draw nothing and would
// fail at its first OpenGL call: it is not started, and the page says what to try instead.
Astrolume.hasWebGL = (() => {
  try {
    const context = document.createElement('canvas').getContext('webgl');
    if (!context) return false;
    Astrolume.largestSide = Math.min(context.getParameter(context.MAX_RENDERBUFFER_SIZE),
                                     ...context.getParameter(context.MAX_VIEWPORT_DIMS));
    context.getExtension('WEBGL_lose_context')?.loseContext();
    return true;
  } catch {
    return false;
  }
})();

var Module = {
  canvas: document.getElementById('model'),
  noInitialRun: !Astrolume.hasWebGL,
  preRun: [() => { console.error = consoleError; }],
  print: (text) => console.log(text),
  printErr: (text) => {
    if (!expectedNotices.some((pattern) => pattern.test(text))) console.error(text);
  },
  onRuntimeInitialized: () => {
    Astrolume.timings.programReady = performance.now();
    Module._astrolumeDescribeProgram();
    Astrolume.showTexts();
  },
  astrolumeHeld: () => Astrolume.isHeld(),
  astrolumeFrameDrawn: () => {
    Astrolume.showProgramState();
    if (++Astrolume.framesDrawn === 1) {
      // The same context the program draws with: the first frame is timed finished.
      Module.canvas.getContext('webgl')?.finish();
      Astrolume.timings.firstFrame = performance.now();
      Astrolume.fitCanvas();
    }
  },
};

// The licence notes: while they are open the model takes no input.
const licences = document.getElementById('licences');

// The input the program's GLUT listens to (web/glut_web.cpp), and the touches the page turns into it.
// The page listens first, on the window, so it keeps everything from the model while the model is held.
const modelInputEvents = ['keydown', 'mousedown', 'mouseup', 'mousemove', 'blur', 'touchstart', 'touchmove',
                          'touchend', 'touchcancel'];

// The menu key, or Shift+F10, on the model opens the body menu there.
const menuKeyInput = (event) => {
  const focused = document.activeElement;
  if (focused && focused !== document.body && focused !== Module.canvas) return false;
  if (event.type === 'keydown' && (event.key === 'ContextMenu' || (event.key === 'F10' && event.shiftKey))) {
    event.preventDefault();
    Astrolume.openMenuAtModel();
    return true;
  }
  return false;
};

const keepFromProgram = (event) => {
  if (Astrolume.isHeld('ended') || !Astrolume.hasWebGL) return true;
  if (Astrolume.isHeld('box')) return Astrolume.messageBoxInput(event);
  if (Astrolume.isHeld('menu')) return Astrolume.menuInput(event);
  if (Astrolume.isHeld()) return true;
  // The program hears a finger only as the mouse input the gesture stands for (touch.js).
  if (event.type.startsWith('touch')) return Astrolume.touchInput(event);
  // Escape in full screen is the browser's, to leave it (where the browser lets the page see it at all).
  if (event.type === 'keydown' && event.key === 'Escape' && document.fullscreenElement) return true;
  if (event.type === 'keydown') return menuKeyInput(event);
  return false;
};
// Not passive: a window's touch listeners are passive unless they say otherwise, and the page cancels
// touches on the model.
for (const type of modelInputEvents) {
  window.addEventListener(type, (event) => { if (keepFromProgram(event)) event.stopImmediatePropagation(); },
                          {capture: true, passive: false});
}
Module.canvas.addEventListener('contextmenu', (event) => event.preventDefault());

// The program's exit() tells the page its status (web/glut_web.cpp), then stops the runtime by throwing
// up through the event that called it (Escape's key press). The page ends at the telling; what is
// thrown after it is the runtime stopping, not an error (WebKit, from disk, withholds its object).
Module.astrolumeExit = (status) => Astrolume.showEnded(status);
window.addEventListener('error', (event) => { if (Astrolume.isHeld('ended')) event.preventDefault(); });
window.addEventListener('unhandledrejection', (event) => {
  if (Astrolume.isHeld('ended')) event.preventDefault();
});

// The model is the largest square the page has room for beside or below the controls (the whole screen
// in full screen), drawn at the screen's density: its drawing buffer is its CSS size times
// devicePixelRatio, within what WebGL takes. The program is told the new size, as a desktop window's
// reshape tells it, once nothing holds it; meanwhile the picture keeps its last frame, stretched.
Astrolume.fitCanvas = () => {
  if (!Astrolume.framesDrawn) return; // until the first frame, the program's own window size stands
  const area = document.getElementById('model-area');
  const side = Math.max(1, Math.min(area.clientWidth, area.clientHeight));
  Module.canvas.style.width = Module.canvas.style.height = side + 'px';
  const pixels = Math.max(1, Math.min(Astrolume.largestSide, Math.round(side * devicePixelRatio)));
  if (!Astrolume.isHeld() && Module.canvas.width !== pixels) Module._astrolumeResizeWindow(pixels, pixels);
  Astrolume.keepMenuInside?.();
};
window.addEventListener('resize', () => Astrolume.fitCanvas());
// Browser zoom and a move to a screen of another density change devicePixelRatio, not always the size.
// (The query is kept: one no longer referenced may be collected with its listener.)
Astrolume.densityQuery = null;
const followDensity = () => {
  Astrolume.densityQuery = matchMedia(`(resolution: ${devicePixelRatio}dppx)`);
  Astrolume.densityQuery.addEventListener('change', () => {
    Astrolume.fitCanvas();
    followDensity();
  }, {once: true});
};
followDensity();

// The model alone, as large as the screen. The browser's own way out (Escape) leaves full screen only:
// that Escape is never the program's.
const fullScreenButton = document.getElementById('full-screen');
fullScreenButton.hidden = !document.fullscreenEnabled;
fullScreenButton.addEventListener('click', () => document.getElementById('model-area').requestFullscreen());
document.addEventListener('fullscreenchange', () => {
  if (document.fullscreenElement) Module.canvas.focus({preventScroll: true});
  Astrolume.fitCanvas();
});

// A trackpad's pinch comes as a wheel with Ctrl: over the model it zooms the model as a touch pinch does,
// one zoom key for each change of the zoom step; a plain wheel does nothing to it, as on the desktop.
// Neither zooms nor scrolls the page.
{
  let pinched = 0; // the pinch's zoom so far, as a logarithm
  Module.canvas.addEventListener('wheel', (event) => {
    event.preventDefault();
    if (!event.ctrlKey || Astrolume.isHeld()) return;
    // A wheel's deltaY of 1 is a 1 % change of the page's zoom, as browsers turn a pinch into a wheel.
    const step = Math.log(Module.astrolumeProgram.zoomStep);
    const before = Math.trunc(pinched / step);
    pinched -= event.deltaY / 100;
    const after = Math.trunc(pinched / step);
    for (let i = before; i < after; ++i) Astrolume.sendKey('zoomIn');
    for (let i = before; i > after; --i) Astrolume.sendKey('zoomOut');
  }, {passive: false});
}

// Escape calls exit(-1); a shell shows that status as 255.
// Nothing behind the ended page can be reached or used; its message is announced (role alert).
Astrolume.showEnded = (status) => {
  Astrolume.closeMenu();
  Astrolume.hold('ended', true);
  for (const id of ['model-area', 'controls', 'menu-layer']) document.getElementById(id).inert = true;
  document.querySelector('footer').inert = true;
  document.getElementById('ended-message').textContent = Astrolume.text('ended', {status: status & 255});
  document.getElementById('ended').hidden = false;
  document.getElementById('start-again').focus();
};
document.getElementById('start-again').addEventListener('click', () => location.reload());

document.getElementById('show-licences').addEventListener('click', (event) => {
  event.preventDefault();
  Astrolume.hold('licences', true);
  licences.showModal();
});
// Closed by its button or Escape, the notes hand the focus to the model, as a box does, so its keys
// work again at once.
licences.addEventListener('close', () => {
  Astrolume.hold('licences', false);
  Module.canvas.focus();
});
document.getElementById('close-licences').addEventListener('click', () => licences.close());

// In place of the model: a message the page shows when the program cannot run here.
Astrolume.showInstead = (id) => {
  for (const hidden of ['model', 'controls']) document.getElementById(hidden).hidden = true;
  document.getElementById(id).hidden = false;
};
if (!Astrolume.hasWebGL) Astrolume.showInstead('no-webgl');

// The browser offered WebGL to the page's check but refused the program its context: the page says so
// instead of showing a model that draws nothing.
Module.astrolumeCannotRun = (what) => {
  Astrolume.showInstead('cannot-run');
  console.error('Astrolume cannot run: it was refused ' + what);
};

// What the program shows, as the controls' states and the model's name say it: the light on or off,
// the animation running or still (the GLUT's animation tick), the whole system or one body's close-up.
Astrolume.showProgramState = () => {
  const state = [Module._astrolumeProgramState(), Module.astrolumeTimers.idleOn];
  if (String(state) === Astrolume.shownState) return; // the same as the frame before: nothing to tell
  Astrolume.shownState = String(state);
  const [program, running] = state;
  const view = program >> 8;
  const controls = document.getElementById('controls');
  controls.querySelector('[data-control=lighting]').setAttribute('aria-pressed', String((program & 1) === 1));
  controls.querySelector('[data-control=animation]').setAttribute('aria-pressed', String(running));
  Module.canvas.setAttribute('aria-label', view === Module.astrolumeProgram.wholeSystemView
    ? Astrolume.text('wholeSystem')
    : Astrolume.text('closeUp', {body: Astrolume.texts[Astrolume.language].bodyNames[view]}));
};
