// Emscripten library: where Emscripten's GLUT does otherwise than freeglut on the desktop.
// - The idle callback: the page can hold it while a box is open, as the desktop's blocking box holds
//   the whole program. One timer chain at most, however often the program switches it on and off.
// - Keys from the page (Module.astrolumeKey): its on-screen controls and the pinch give the program
//   the keys they stand for.
// - The motion callback: Emscripten's passes the pointer's previous position, so a drag lagged one
//   event behind (a single move was lost entirely); freeglut passes the new one.
// - exit(): the page is told the status (Module.astrolumeExit) before Emscripten stops the program by
//   throwing its ExitStatus, which reaches the page's error event without its object in WebKit from
//   disk ("Script error."). Only the program's own exit() comes here: Emscripten's return from main
//   while a box at start-up waits (Asyncify) exits otherwise, and ends nothing.
//
// Emscripten's insides this file and the page use, which its releases may change without notice
// (cmake/web.cmake accepts only the releases they were tested with):
// - at run time, checked when the page starts (`runTimeInternals` below): GLUT.idleFunc,
//   GLUT.keyboardFunc, GLUT.motionFunc, GLUT.passiveMotionFunc, GLUT.buttons, GLUT.saveModifiers,
//   GLUT.onMousemove (replaced here before glutInit installs it), Browser.mouseX, Browser.mouseY,
//   Browser.calculateMouseEvent, callUserCallback, ABORT and the runtime's own exit (exit, or exitJS
//   after 3.1.6); and Module.ctx,
//   with which page.js finishes the first frame before timing it (without it, the time is taken
//   unfinished);
// - at build time, where a missing one fails the build or the link: makeDynCall, the `__deps`,
//   `__sig` and `__postset` keys of a library, the library function exit, and the emscripten_gl*
//   names that web/gl_*_web.cpp calls.
// Should one of the run-time ones be missing, the program is not started and the page names it
// (Module.astrolumeCannotRun), instead of running with input that silently goes nowhere.
mergeInto(LibraryManager.library, {
  $AstrolumeGlut__deps: ['$GLUT', '$Browser', '$callUserCallback'],
  $AstrolumeGlut__postset: 'Module["astrolumeHoldIdle"] = function(held) { AstrolumeGlut.hold(held); };\n' +
                           'Module["astrolumeKey"] = function(key) { AstrolumeGlut.key(key); };\n' +
                           'AstrolumeGlut.start();',
  $AstrolumeGlut: {
    // Each run-time internal, by the name the page gives it, with whether it is there.
    runTimeInternals: function() {
      return [
        ['GLUT.idleFunc', 'idleFunc' in GLUT],
        ['GLUT.keyboardFunc', 'keyboardFunc' in GLUT],
        ['GLUT.motionFunc', 'motionFunc' in GLUT],
        ['GLUT.passiveMotionFunc', 'passiveMotionFunc' in GLUT],
        ['GLUT.buttons', typeof GLUT.buttons == 'number'],
        ['GLUT.saveModifiers', typeof GLUT.saveModifiers == 'function'],
        ['GLUT.onMousemove', typeof GLUT.onMousemove == 'function'],
        ['Browser.mouseX', typeof Browser.mouseX == 'number'],
        ['Browser.mouseY', typeof Browser.mouseY == 'number'],
        ['Browser.calculateMouseEvent', typeof Browser.calculateMouseEvent == 'function'],
        ['callUserCallback', typeof callUserCallback == 'function'],
        ['ABORT', typeof ABORT == 'boolean'],
        ['exit', typeof AstrolumeGlut.runtimeExit() == 'function'],
      ];
    },
    runtimeExit: function() {
      return typeof exitJS == 'function' ? exitJS : typeof exit == 'function' ? exit : undefined;
    },
    start: function() {
      var missing = AstrolumeGlut.runTimeInternals().filter(function(internal) { return !internal[1]; })
                                                    .map(function(internal) { return internal[0]; });
      if (missing.length) {
        Module['noInitialRun'] = true;
        if (Module['astrolumeCannotRun']) Module['astrolumeCannotRun'](missing);
        return;
      }
      GLUT.onMousemove = AstrolumeGlut.onMousemove;
    },

    timer: 0,
    held: false,
    schedule: function(delay) {
      if (!AstrolumeGlut.timer && !AstrolumeGlut.held && GLUT.idleFunc) {
        AstrolumeGlut.timer = setTimeout(AstrolumeGlut.tick, delay);
      }
    },
    tick: function() {
      AstrolumeGlut.timer = 0;
      if (ABORT || AstrolumeGlut.held || !GLUT.idleFunc) return;
      callUserCallback(function() { {{{ makeDynCall('v', 'GLUT.idleFunc') }}}(); });
      // The browser waits at least 4 ms between timers anyway.
      AstrolumeGlut.schedule(4);
    },
    hold: function(held) {
      AstrolumeGlut.held = held;
      if (!held) AstrolumeGlut.schedule(0);
    },
    // A key from the page's own controls and gestures, as if typed with the pointer where it last was.
    key: function(key) {
      if (ABORT || !GLUT.keyboardFunc) return;
      callUserCallback(function() {
        {{{ makeDynCall('viii', 'GLUT.keyboardFunc') }}}(key, Browser.mouseX, Browser.mouseY);
      });
    },
    onMousemove: function(event) {
      var lastX = Browser.mouseX;
      var lastY = Browser.mouseY;
      Browser.calculateMouseEvent(event);
      if (Browser.mouseX == lastX && Browser.mouseY == lastY) return;
      if (GLUT.buttons == 0 && event.target == Module['canvas'] && GLUT.passiveMotionFunc) {
        event.preventDefault();
        GLUT.saveModifiers(event);
        {{{ makeDynCall('vii', 'GLUT.passiveMotionFunc') }}}(Browser.mouseX, Browser.mouseY);
      } else if (GLUT.buttons != 0 && GLUT.motionFunc) {
        event.preventDefault();
        GLUT.saveModifiers(event);
        {{{ makeDynCall('vii', 'GLUT.motionFunc') }}}(Browser.mouseX, Browser.mouseY);
      }
    },
  },

  // The runtime's own exit is the global exit() up to Emscripten 3.1.6 and the library's exitJS after.
  exit__deps: ['$AstrolumeGlut'].concat(LibraryManager.library['$exitJS'] ? ['$exitJS'] : []),
  exit: function(status) {
    if (Module['astrolumeExit']) Module['astrolumeExit'](status);
    AstrolumeGlut.runtimeExit()(status);
  },

  glutIdleFunc__deps: ['$GLUT', '$AstrolumeGlut', '$callUserCallback'],
  glutIdleFunc: function(func) {
    GLUT.idleFunc = func;
    AstrolumeGlut.schedule(0);
  },
});
