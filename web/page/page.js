// The page around the program: Emscripten's Module settings, the canvas's size, what the model may
// receive while a box or the menu is open, the page shown once the program has ended, and the times
// of start-up, which the benchmark reads.
'use strict';

const Astrolume = {
  boxOpen: false,   // a modal box is up: the model neither advances nor takes input
  menuOpen: false,  // the body menu is up: the model takes no input
  ended: false,
  // performance.now() at each step of start-up: the page's own script runs, the program's script
  // has loaded, the maps are in its file system, its WebAssembly is ready, the first frame is drawn.
  timings: {pageScript: performance.now()},
  // The program's own window size, read from the canvas at its first frame; smaller browser windows
  // get a smaller square.
  fullSize: 0,
  framesDrawn: 0,
  boxesShown: 0,
};

// Emscripten's GL emulation announces itself on every start, and says that glShadeModel, which
// the program calls with OpenGL's default, does nothing; anything else on stderr is an error.
const expectedNotices = [/^WARNING: using emscripten GL (immediate mode )?emulation/, /^TODO: glShadeModel$/];

// Without WebGL (a blocked graphics driver, a policy, an old PC) the program could draw nothing and would
// fail at its first OpenGL call: it is not started, and the page says what to try instead.
Astrolume.hasWebGL = (() => {
  try {
    const context = document.createElement('canvas').getContext('webgl');
    if (context) context.getExtension('WEBGL_lose_context')?.loseContext();
    return Boolean(context);
  } catch {
    return false;
  }
})();

var Module = {
  canvas: document.getElementById('model'),
  noInitialRun: !Astrolume.hasWebGL,
  preRun: [],
  print: (text) => console.log(text),
  printErr: (text) => {
    if (!expectedNotices.some((pattern) => pattern.test(text))) console.error(text);
  },
  onRuntimeInitialized: () => { Astrolume.timings.programReady = performance.now(); },
  // While a box is up no frame is drawn; the program redraws once the box is gone.
  preMainLoop: () => !Astrolume.boxOpen && !Astrolume.ended,
  postMainLoop: () => {
    if (++Astrolume.framesDrawn === 1) {
      Module.ctx?.finish();
      Astrolume.timings.firstFrame = performance.now();
      Astrolume.fullSize = Module.canvas.width;
      Astrolume.fitCanvas();
    }
  },
};

// Holds the model still (no animation tick, no frame) while a box is open.
Astrolume.holdModel = (held) => {
  Astrolume.boxOpen = held;
  if (Module.astrolumeHoldIdle) Module.astrolumeHoldIdle(held);
};

// The licence notes: while they are open the model takes no input.
const licences = document.getElementById('licences');

// The events GLUT listens to on the window, and touchcancel. The page listens first (its listeners are
// registered before the program's), so it can keep them from the model while a box or the menu is open.
const modelInputEvents = ['keydown', 'keyup', 'keypress', 'mousedown', 'mouseup', 'mousemove', 'mousewheel',
                          'wheel', 'DOMMouseScroll', 'touchstart', 'touchmove', 'touchend', 'touchcancel'];

// Keys while nothing is open: Tab moves the focus, and the program hears keys only while the model
// (or nothing in particular) has the focus; a focused page button keeps its Space and Enter.
const pageKeyInput = (event) => {
  if (event.key === 'Tab') return true;
  const focused = document.activeElement;
  if (focused && focused !== document.body && focused !== Module.canvas) return true;
  if (event.type === 'keydown' && (event.key === 'ContextMenu' || (event.key === 'F10' && event.shiftKey))) {
    event.preventDefault();
    Astrolume.openMenuAtModel();
    return true;
  }
  return false;
};

const keepFromProgram = (event) => {
  if (Astrolume.ended || !Astrolume.hasWebGL) return true;
  if (Astrolume.boxOpen) return Astrolume.messageBoxInput(event);
  if (Astrolume.menuOpen) return Astrolume.menuInput(event);
  if (licences.open) return true;
  // The program hears a finger only as the mouse input the gesture stands for (touch.js).
  if (event.type.startsWith('touch')) return Astrolume.touchInput(event);
  if (event.type.startsWith('key')) return pageKeyInput(event);
  return Astrolume.menuTrigger(event);
};
// Not passive: a window's touch listeners are passive unless they say otherwise, and the page cancels
// touches on the model.
for (const type of modelInputEvents) {
  window.addEventListener(type, (event) => { if (keepFromProgram(event)) event.stopImmediatePropagation(); },
                          {capture: true, passive: false});
}
Module.canvas.addEventListener('contextmenu', (event) => event.preventDefault());

// The program's exit() tells the page its status (web/glut_web.js), then throws Emscripten's
// ExitStatus up through the event that called it (Escape's key press) to stop the program there. The
// page ends at the telling, not from the error event, whose error object WebKit withholds from a page
// opened from disk ("Script error."). GLUT's loop leaves main by throwing 'unwind', no error either.
Module.astrolumeExit = (status) => Astrolume.showEnded(status);
const isExitOrUnwind = (reason) =>
  reason === 'unwind' || (reason && reason.name === 'ExitStatus') || (Astrolume.ended && !reason);
window.addEventListener('error', (event) => { if (isExitOrUnwind(event.error)) event.preventDefault(); });
window.addEventListener('unhandledrejection', (event) => {
  if (isExitOrUnwind(event.reason)) event.preventDefault();
});

// The largest square up to the program's own size that the window shows whole; the program is told
// its new size, as a desktop window's reshape tells it.
Astrolume.fitCanvas = () => {
  if (Astrolume.ended || !Astrolume.fullSize || typeof _glutReshapeWindow !== 'function') return;
  const area = document.getElementById('model-area');
  const side = Math.max(1, Math.min(Astrolume.fullSize, area.clientWidth, area.clientHeight));
  if (Module.canvas.width !== side) _glutReshapeWindow(side, side);
};
window.addEventListener('resize', Astrolume.fitCanvas);

// Escape calls exit(-1); a shell shows that status as 255.
Astrolume.showEnded = (status) => {
  Astrolume.ended = true;
  if (Module.astrolumeHoldIdle) Module.astrolumeHoldIdle(true);
  Astrolume.closeMenu();
  document.getElementById('exit-status').textContent = String(status & 255);
  document.getElementById('ended').hidden = false;
  document.getElementById('start-again').focus();
};
document.getElementById('start-again').addEventListener('click', () => location.reload());

document.getElementById('show-licences').addEventListener('click', (event) => {
  event.preventDefault();
  licences.showModal();
});
// Closed, the notes hand the focus to the model, as a box does, so its keys work again at once.
document.getElementById('close-licences').addEventListener('click', () => {
  licences.close();
  Module.canvas.focus();
});

// In place of the model: a message the page shows when the program cannot run here.
Astrolume.showInstead = (id) => {
  for (const hidden of ['model', 'controls']) document.getElementById(hidden).hidden = true;
  document.getElementById(id).hidden = false;
};
if (!Astrolume.hasWebGL) Astrolume.showInstead('no-webgl');

// The page was built with an Emscripten whose insides differ from those web/glut_web.js
// relies on: the program is not started, rather than run with input that goes nowhere.
Module.astrolumeCannotRun = (missing) => {
  document.getElementById('missing-internals').textContent = missing.join(', ');
  Astrolume.showInstead('cannot-run');
  console.error('Astrolume cannot run: Emscripten lacks ' + missing.join(', '));
};
