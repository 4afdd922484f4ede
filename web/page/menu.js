// The body menu: GLUT's menu calls fill it (web/menu_web.cpp); the button it is attached to,
// a long press on a touch screen (touch.js), the context-menu key or Shift+F10 on the model, or the
// bodies button opens it, and the chosen entry's value goes back to the program's menu callback. The
// browser's own context menu never shows over the model.
'use strict';

{
  const layer = document.getElementById('menu-layer');
  const list = document.getElementById('body-menu');
  const bodiesButton = document.getElementById('bodies-button');
  let openedBy = -1; // the mouse button whose press opened the menu (GLUT's numbers are the DOM's), or -1
  // The finger whose long press opened the menu, while it is down: lifted over an entry after moving
  // off the spot where the menu opened, it chooses that entry.
  let slide = null;

  const choose = (value) => {
    if (!Astrolume.isHeld('menu')) return; // a release that chose already is followed by its click
    Astrolume.closeMenu();
    // The callback may show a box and wait for it: Asyncify lets this call return meanwhile.
    Module._astrolumeChooseMenuEntry(value);
  };

  Module.astrolumeMenu = {
    addEntry: (label, value) => {
      const item = document.createElement('li');
      item.textContent = label;
      item.lang = 'en'; // the program's own labels, whatever the page's language
      item.setAttribute('role', 'menuitem');
      item.tabIndex = -1;
      item.dataset.value = value;
      item.addEventListener('click', () => choose(value));
      list.appendChild(item);
    },
    // The attached button pressed on the model (web/glut_web.cpp).
    openAt: (clientX, clientY, button) => {
      openAt(clientX, clientY);
      openedBy = button;
    },
  };

  const entries = () => [...list.children];

  const openAt = (clientX, clientY) => {
    if (Astrolume.isHeld('ended')) return; // nothing behind the ended page answers
    Astrolume.hold('menu', true);
    openedBy = -1;
    layer.hidden = false;
    // One pixel off the pointer, so the release of the press that opened it chooses nothing.
    const x = Math.min(clientX + 1, window.innerWidth - list.offsetWidth);
    const y = Math.min(clientY + 1, window.innerHeight - list.offsetHeight);
    list.style.left = Math.max(0, x) + 'px';
    list.style.top = Math.max(0, y) + 'px';
    list.scrollTop = 0;
  };

  // A screen that turns or a window resized with the menu open: the menu moves back inside it, and
  // scrolls where it is taller (its largest height is the screen's).
  Astrolume.keepMenuInside = () => {
    if (!Astrolume.isHeld('menu')) return;
    list.style.left = Math.max(0, Math.min(list.offsetLeft, window.innerWidth - list.offsetWidth)) + 'px';
    list.style.top = Math.max(0, Math.min(list.offsetTop, window.innerHeight - list.offsetHeight)) + 'px';
  };

  Astrolume.openMenuByTouch = (touch) => {
    openAt(touch.clientX, touch.clientY);
    slide = {id: touch.identifier, x: touch.clientX, y: touch.clientY, moved: false};
  };

  // From the keyboard: over the model's middle, the first entry focused.
  Astrolume.openMenuAtModel = () => {
    const box = Module.canvas.getBoundingClientRect();
    openAt(box.left + box.width / 2, box.top + box.height / 2);
    entries()[0]?.focus();
  };

  Astrolume.closeMenu = () => {
    if (!Astrolume.isHeld('menu')) return;
    const hadFocus = list.contains(document.activeElement);
    layer.hidden = true;
    slide = null;
    Astrolume.hold('menu', false);
    if (hadFocus) Module.canvas.focus();
  };

  layer.addEventListener('click', (event) => { if (event.target === layer) Astrolume.closeMenu(); });
  layer.addEventListener('contextmenu', (event) => event.preventDefault());
  bodiesButton.addEventListener('click', () => {
    // Above the button, whose row lies below the model.
    const box = bodiesButton.getBoundingClientRect();
    openAt(box.left, 0);
    list.style.top = Math.max(0, box.top - list.offsetHeight) + 'px';
    entries()[0]?.focus();
  });

  // Arrows move through the entries, Enter or Space chooses, Escape closes: focus goes back to the model.
  const menuKey = (event) => {
    event.preventDefault();
    const all = entries();
    const at = all.indexOf(document.activeElement);
    const step = {ArrowDown: 1, ArrowUp: -1}[event.key];
    if (step) all[at < 0 ? (step > 0 ? 0 : all.length - 1) : (at + step + all.length) % all.length].focus();
    else if (event.key === 'Home') all[0].focus();
    else if (event.key === 'End') all[all.length - 1].focus();
    else if ((event.key === 'Enter' || event.key === ' ') && at >= 0) choose(Number(all[at].dataset.value));
    else if (event.key === 'Escape') {
      Astrolume.closeMenu();
      Module.canvas.focus();
    }
  };

  // The long-pressing finger: moving over the entries shows which one lifting it would choose.
  const slideTouch = (event) => {
    const touch = [...event.changedTouches].find((t) => t.identifier === slide.id);
    if (!touch) return;
    event.preventDefault();
    if (Math.hypot(touch.clientX - slide.x, touch.clientY - slide.y) > Astrolume.touchTrembleCss) slide.moved = true;
    const entry = document.elementFromPoint(touch.clientX, touch.clientY)?.closest('#body-menu li');
    if (event.type === 'touchmove') {
      if (slide.moved && entry) entry.focus({preventScroll: true});
    } else {
      const chosen = slide.moved && event.type === 'touchend' ? entry : null;
      slide = null;
      // Chosen once the lift is over, as a tap's click comes after its touchend.
      if (chosen) setTimeout(() => choose(Number(chosen.dataset.value)));
    }
  };

  // Input while the menu is up: nothing reaches the model. As in GLUT, releasing the menu's own button
  // over an entry chooses it (press, drag onto the entry, release); the page's window listener takes
  // that release before the entry could, so it chooses here.
  Astrolume.menuInput = (event) => {
    if (event.type === 'keydown') menuKey(event);
    else if (slide && /^touch(move|end|cancel)$/.test(event.type)) slideTouch(event);
    else if (event.type === 'mouseup' && event.button === openedBy) {
      const item = event.target.closest && event.target.closest('#body-menu li');
      if (item) choose(Number(item.dataset.value));
    }
    return true;
  };
}
