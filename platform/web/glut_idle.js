// Emscripten library: GLUT's idle callback, which the page can hold while a box is open, as the
// desktop's blocking box holds the whole program. One timer chain at most, however often the program
// switches the callback on and off.
mergeInto(LibraryManager.library, {
  $AstrolumeIdle__deps: ['$GLUT'],
  $AstrolumeIdle__postset: 'Module["astrolumeHoldIdle"] = function(held) { AstrolumeIdle.hold(held); };',
  $AstrolumeIdle: {
    timer: 0,
    held: false,
    schedule: function(delay) {
      if (!AstrolumeIdle.timer && !AstrolumeIdle.held && GLUT.idleFunc) {
        AstrolumeIdle.timer = setTimeout(AstrolumeIdle.tick, delay);
      }
    },
    tick: function() {
      AstrolumeIdle.timer = 0;
      if (ABORT || AstrolumeIdle.held || !GLUT.idleFunc) return;
      callUserCallback(function() { {{{ makeDynCall('v', 'GLUT.idleFunc') }}}(); });
      // The browser waits at least 4 ms between timers anyway.
      AstrolumeIdle.schedule(4);
    },
    hold: function(held) {
      AstrolumeIdle.held = held;
      if (!held) AstrolumeIdle.schedule(0);
    },
  },

  glutIdleFunc__deps: ['$GLUT', '$AstrolumeIdle', '$callUserCallback'],
  glutIdleFunc__sig: 'vi',
  glutIdleFunc: function(func) {
    GLUT.idleFunc = func;
    AstrolumeIdle.schedule(0);
  },
});
