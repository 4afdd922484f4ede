// The body menu (menu.js): how it opens, its keys, and the mouse on its entries.
import assert from 'node:assert/strict';
import test from 'node:test';
import {ENTRIES, openPage} from './page_harness.mjs';

const [first, second, , last] = ENTRIES.map(([label]) => label);
const value = (label) => ENTRIES.find(([name]) => name === label)[1];

// How the menu opens, from what had the focus: whether it opens, and what has the focus then.
const openers = [
  ['Shift+F10 on the model', 'model', (page) => page.key('F10', {shiftKey: true}), true, first],
  ['the context-menu key on the model', 'model', (page) => page.key('ContextMenu'), true, first],
  ['the menu key on a control', 'zoomIn', (page) => page.key('ContextMenu'), false, 'zoomIn'],
  ['F10 without Shift', 'model', (page) => page.key('F10'), false, 'model'],
  ['the bodies button', 'bodies-button', (page) => page.mouse('click', page.byId('bodies-button')), true, first],
];

test('the menu opens from the model by its keys, and from the bodies button', async (t) => {
  for (const [what, focusedFirst, open, opens, focused] of openers) {
    await t.test(what, () => {
      const page = openPage();
      (page.control(focusedFirst) || page.byId(focusedFirst) || page.Module.canvas).focus();
      open(page);
      assert.equal(page.Astrolume.isHeld('menu'), opens, 'the menu open');
      assert.equal(page.byId('menu-layer').hidden, !opens, 'the menu shown');
      assert.equal(page.focused(), focused, 'the focus');
    });
  }
});

// Keys pressed on the open menu (the first entry focused): what has the focus then, what is chosen,
// whether the menu is still open.
const menuKeys = [
  ['ArrowDown', ['ArrowDown'], second, [], true],
  ['ArrowUp from the first entry wraps to the last', ['ArrowUp'], last, [], true],
  ['ArrowDown from the last entry wraps to the first', ['End', 'ArrowDown'], first, [], true],
  ['End, then Home', ['End', 'Home'], first, [], true],
  ['Enter chooses the focused entry', ['ArrowDown', 'Enter'], 'model', [value(second)], false],
  ['Space chooses the focused entry', ['End', ' '], 'model', [value(last)], false],
  ['Escape closes the menu', ['ArrowDown', 'Escape'], 'model', [], false],
  ['another key does nothing', ['z', 'Tab'], first, [], true],
];

test('the menu\'s keys move, choose and close, and reach no further', async (t) => {
  for (const [what, keys, focused, chosen, open] of menuKeys) {
    await t.test(what, () => {
      const page = openPage();
      page.Module.canvas.focus();
      page.key('ContextMenu');
      for (const key of keys) assert.equal(page.key(key).defaultPrevented, true, `${key} kept from the browser`);
      assert.equal(page.focused(), focused, 'the focus');
      assert.deepEqual(page.told('choose'), chosen, 'the entries chosen');
      assert.equal(page.Astrolume.isHeld('menu'), open, 'the menu open');
      assert.deepEqual(page.model, [], 'what the model heard');
    });
  }
});

// The menu opened by the program's GLUT for a mouse button (2, the right one), then mouse events on
// the page ([type, button, an entry's label or the layer around the menu]): what is chosen, whether
// the menu is still open.
const mice = [
  ['pressed, dragged onto an entry, released', [['mouseup', 2, second]], [value(second)], false],
  ['that release\'s click chooses nothing more', [['mouseup', 2, second], ['click', 2, second]], [value(second)], false],
  ['another button released over an entry', [['mouseup', 0, second]], [], true],
  ['released beside the entries', [['mouseup', 2, 'layer']], [], true],
  ['a click on an entry', [['mouseup', 2, 'layer'], ['click', 0, last]], [value(last)], false],
  ['a click beside the menu closes it', [['click', 0, 'layer']], [], false],
];

test('the mouse on the menu: press-drag-release and clicks choose', async (t) => {
  for (const [what, events, chosen, open] of mice) {
    await t.test(what, () => {
      const page = openPage();
      page.Module.astrolumeMenu.openAt(50, 60, 2);
      for (const [type, button, on] of events) {
        page.mouse(type, on === 'layer' ? page.byId('menu-layer') : page.entry(on), {button});
      }
      assert.deepEqual(page.told('choose'), chosen, 'the entries chosen');
      assert.equal(page.Astrolume.isHeld('menu'), open, 'the menu open');
      assert.deepEqual(page.model, [], 'what the model heard');
    });
  }
});
