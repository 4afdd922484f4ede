// Emscripten library: where Emscripten's GLUT does otherwise than freeglut on the desktop.
// - The idle callback: the page can hold it while a box is open, as the desktop's blocking box holds
//   the whole program. One timer chain at most, however often the program switches it on and off.
// - The motion callback: Emscripten's passes the pointer's previous position, so a drag lagged one
//   event behind (a single move was lost entirely); freeglut passes the new one.
mergeInto(LibraryManager.library, {
  $AstrolumeGlut__deps: ['$GLUT', '$Browser'],
  $AstrolumeGlut__postset: 'Module["astrolumeHoldIdle"] = function(held) { AstrolumeGlut.hold(held); };\n' +
                           'GLUT.onMousemove = AstrolumeGlut.onMousemove;',
  $AstrolumeGlut: {
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

  glutIdleFunc__deps: ['$GLUT', '$AstrolumeGlut', '$callUserCallback'],
  glutIdleFunc: function(func) {
    GLUT.idleFunc = func;
    AstrolumeGlut.schedule(0);
  },
});
