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
  // The program's own window size, read from the canvas at its first frame; smaller browser windows
  // get a smaller square.
  fullSize: 0,
  framesDrawn: 0,
  boxesShown: 0,
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
  onRuntimeInitialized: () => {
    Astrolume.timings.programReady = performance.now();
    Module._astrolumeDescribeProgram();
    Astrolume.showProgramKeys();
  },
  astrolumeHeld: () => Astrolume.isHeld(),
  astrolumeFrameDrawn: () => {
    if (++Astrolume.framesDrawn === 1) {
      // The same context the program draws with: the first frame is timed finished.
      Module.canvas.getContext('webgl')?.finish();
      Astrolume.timings.firstFrame = performance.now();
      Astrolume.fullSize = Module.canvas.width;
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

// The largest square up to the program's own size that the window shows whole; the program is told
// its new size, as a desktop window's reshape tells it, once nothing holds it (meanwhile the picture
// keeps its last frame, stretched).
Astrolume.fitCanvas = () => {
  if (!Astrolume.fullSize) return;
  const area = document.getElementById('model-area');
  const side = Math.max(1, Math.min(Astrolume.fullSize, area.clientWidth, area.clientHeight));
  Module.canvas.style.width = Module.canvas.style.height = side + 'px';
  if (!Astrolume.isHeld() && Module.canvas.width !== side) Module._astrolumeResizeWindow(side, side);
};
window.addEventListener('resize', () => Astrolume.fitCanvas());

// Escape calls exit(-1); a shell shows that status as 255.
Astrolume.showEnded = (status) => {
  Astrolume.closeMenu();
  Astrolume.hold('ended', true);
  document.getElementById('exit-status').textContent = String(status & 255);
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
  document.getElementById('cannot-run-what').textContent = what;
  Astrolume.showInstead('cannot-run');
  console.error('Astrolume cannot run: it was refused ' + what);
};

// The help names the program's own keys (Module.astrolumeProgram, from web/program_facts_web.cpp).
Astrolume.keyName = (code) => (code === 32 ? 'space' : String.fromCharCode(code));
Astrolume.showProgramKeys = () => {
  for (const element of document.querySelectorAll('[data-key-of]')) {
    element.textContent = Astrolume.keyName(Module.astrolumeProgram.keys[element.dataset.keyOf]);
  }
};
