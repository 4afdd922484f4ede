// The body menu: GLUT's menu calls fill it (platform/web/menu_web.cpp); the button it is attached to, or a
// long press on a touch screen, opens it at the pointer, and the chosen entry's value goes back to the
// program's menu callback. The browser's own context menu never shows over the model.
'use strict';

{
  const layer = document.getElementById('menu-layer');
  const list = document.getElementById('body-menu');
  const longPressMs = 500;
  let attachedButton = -1; // GLUT's button numbers are the DOM's: 0 left, 1 middle, 2 right
  let longPress = 0;

  const choose = (value) => {
    if (!Astrolume.menuOpen) return; // a release that chose already is followed by its click
    Astrolume.closeMenu();
    // The callback may show a box and wait for it: Asyncify lets this call return meanwhile.
    Module._astrolumeChooseMenuEntry(value);
  };

  Module.astrolumeMenu = {
    addEntry: (label, value) => {
      const item = document.createElement('li');
      item.textContent = label;
      item.setAttribute('role', 'menuitem');
      item.tabIndex = -1;
      item.dataset.value = value;
      item.addEventListener('click', () => choose(value));
      list.appendChild(item);
    },
    attach: (button) => { attachedButton = button; },
  };

  const openAt = (clientX, clientY) => {
    Astrolume.menuOpen = true;
    layer.hidden = false;
    // One pixel off the pointer, so the release of the press that opened it chooses nothing.
    const x = Math.min(clientX + 1, window.innerWidth - list.offsetWidth);
    const y = Math.min(clientY + 1, window.innerHeight - list.offsetHeight);
    list.style.left = Math.max(0, x) + 'px';
    list.style.top = Math.max(0, y) + 'px';
  };

  Astrolume.closeMenu = () => {
    Astrolume.menuOpen = false;
    layer.hidden = true;
  };

  layer.addEventListener('click', (event) => { if (event.target === layer) Astrolume.closeMenu(); });
  layer.addEventListener('contextmenu', (event) => event.preventDefault());

  // Input while the menu is up: Escape closes it, nothing reaches the model. As in GLUT, releasing the
  // menu's own button over an entry chooses it (press, drag onto the entry, release); the page's window
  // listener takes that release before the entry could, so it chooses here.
  Astrolume.menuInput = (event) => {
    if (event.type === 'keydown') {
      event.preventDefault();
      if (event.key === 'Escape') Astrolume.closeMenu();
    } else if (event.type === 'mouseup' && event.button === attachedButton) {
      const item = event.target.closest && event.target.closest('#body-menu li');
      if (item) choose(Number(item.dataset.value));
    }
    return true;
  };

  // Input while the menu is closed: the attached button on the model opens it, and neither its press
  // nor its release reaches the program, as with GLUT's menus on the desktop.
  Astrolume.menuTrigger = (event) => {
    const onModel = event.target === Module.canvas;
    if (event.type === 'touchstart' && onModel && event.touches.length === 1) {
      const touch = event.touches[0];
      clearTimeout(longPress);
      longPress = setTimeout(() => openAt(touch.clientX, touch.clientY), longPressMs);
    } else if (event.type === 'touchend' || event.type === 'touchmove') {
      clearTimeout(longPress);
    }
    if (attachedButton < 0 || event.button !== attachedButton) return false;
    if (event.type === 'mousedown' && onModel) {
      event.preventDefault();
      openAt(event.clientX, event.clientY);
      return true;
    }
    return event.type === 'mouseup';
  };
}
