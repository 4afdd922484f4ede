// Fingers on the model. Emscripten's GLUT would make every touchstart a left press at once; the page
// keeps touches from it and gives the program what the gesture stands for, once the gesture is known:
// - a finger lifted before the long-press time without moving: a left click at the lift;
// - a finger that moves first: a left drag (press where it began, the moves, release at the lift),
//   the same input as a mouse dragged over the same pixels;
// - a finger held still for the long-press time: the body menu at the finger (menu.js), no button;
// - two fingers: the program's zoom keys, zoom in (spreading) or out (pinching) once for each change of
//   the distance between them by the program's own zoom step (Module.astrolumeProgram); no button.
'use strict';

{
  const longPressMs = 500;
  Astrolume.touchTrembleCss = 10; // a finger that trembles this far still holds still
  let gesture = null; // {kind: 'pending' | 'drag' | 'menu' | 'pinch' | 'over', ...}

  const mouse = (type, x, y) => {
    Module.canvas.dispatchEvent(new MouseEvent(type, {bubbles: true, cancelable: true, view: window, clientX: x,
                                                      clientY: y, button: 0, buttons: type === 'mouseup' ? 0 : 1}));
  };
  const distance = (a, b) => Math.hypot(a.clientX - b.clientX, a.clientY - b.clientY);
  const find = (touches, id) => [...touches].find((touch) => touch.identifier === id);

  const startOne = (touch) => {
    gesture = {kind: 'pending', id: touch.identifier, start: touch, last: touch};
    gesture.timer = setTimeout(() => {
      gesture.kind = 'menu';
      Astrolume.openMenuByTouch(gesture.last);
    }, longPressMs);
  };

  // A second finger ends what the first began: a drag is released where it got to.
  const startPinch = (touches) => {
    if (gesture) clearTimeout(gesture.timer);
    if (gesture?.kind === 'drag') mouse('mouseup', gesture.last.clientX, gesture.last.clientY);
    gesture = {kind: 'pinch', ids: [touches[0].identifier, touches[1].identifier],
               from: distance(touches[0], touches[1]), steps: 0};
  };

  const pinch = (touches) => {
    const [a, b] = gesture.ids.map((id) => find(touches, id));
    if (!a || !b) return;
    const zoomStep = Math.log(Module.astrolumeProgram.zoomStep);
    const steps = Math.trunc(Math.log(Math.max(distance(a, b), 1) / Math.max(gesture.from, 1)) / zoomStep);
    for (; gesture.steps < steps; ++gesture.steps) Astrolume.sendKey('zoomIn');
    for (; gesture.steps > steps; --gesture.steps) Astrolume.sendKey('zoomOut');
  };

  const move = (touch) => {
    gesture.last = touch;
    if (gesture.kind === 'pending' && distance(touch, gesture.start) > Astrolume.touchTrembleCss) {
      clearTimeout(gesture.timer);
      gesture.kind = 'drag';
      mouse('mousedown', gesture.start.clientX, gesture.start.clientY);
    }
    if (gesture.kind === 'drag') mouse('mousemove', touch.clientX, touch.clientY);
  };

  const lift = (touch, cancelled) => {
    clearTimeout(gesture.timer);
    if (gesture.kind === 'pending' && !cancelled) {
      mouse('mousedown', touch.clientX, touch.clientY);
      mouse('mouseup', touch.clientX, touch.clientY);
    } else if (gesture.kind === 'drag') {
      mouse('mouseup', touch.clientX, touch.clientY);
    }
    gesture.kind = 'over';
  };

  // Every touch is kept from GLUT; those on the model are the page's alone (no scrolling, zooming or
  // callout, and no mouse events made of them), those elsewhere stay the page's buttons' and links'.
  Astrolume.touchInput = (event) => {
    if (event.target !== Module.canvas) return true;
    event.preventDefault();
    const touches = event.touches;
    if (event.type === 'touchstart') {
      if (touches.length === 1) startOne(touches[0]);
      else if (touches.length === 2) startPinch(touches);
    } else if (gesture?.kind === 'pinch') {
      if (event.type === 'touchmove') pinch(touches);
    } else if (gesture && gesture.kind !== 'over') {
      const touch = find(event.changedTouches, gesture.id);
      if (touch && event.type === 'touchmove') move(touch);
      else if (touch) lift(touch, event.type === 'touchcancel');
    }
    if (touches.length === 0 && gesture) gesture.kind = 'over';
    return true;
  };
}
