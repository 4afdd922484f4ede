// The controls (controls.js), what holds the model (page.js), and the page without WebGL.
import assert from 'node:assert/strict';
import test from 'node:test';
import {KEYS, openPage} from './page_harness.mjs';

// A control clicked, by a pointer (detail: the click count) or by Enter or Space (detail 0): the key it
// gives, and where the focus is then. Only a pointer hands the focus to the model.
const controls = [
  ['zoomIn', 1, 'model'],
  ['zoomOut', 0, 'zoomOut'],
  ['lighting', 0, 'lighting'],
  ['animation', 2, 'model'],
];

test('a control gives its key; a pointer hands the focus to the model, a key keeps it', async (t) => {
  for (const [name, detail, focused] of controls) {
    await t.test(`${name}, detail ${detail}`, () => {
      const page = openPage();
      page.control(name).focus();
      page.mouse('click', page.control(name), {detail});
      assert.deepEqual(page.told('key'), [KEYS[name]], 'the keys given');
      assert.equal(page.focused(), focused, 'the focus');
      assert.deepEqual(page.model, [], 'what the model heard');
    });
  }
});

// Reasons held and released in turn: those still holding the model after them, how often the program
// was resumed; a control's key reaches the program only when nothing holds it.
const holds = [
  ['a box', [['box', true]], ['box'], 0],
  ['a box, closed', [['box', true], ['box', false]], [], 1],
  ['the menu, a box, the menu closed', [['menu', true], ['box', true], ['menu', false]], ['box'], 0],
  ['both, both released', [['menu', true], ['box', true], ['menu', false], ['box', false]], [], 1],
  ['the ended page', [['ended', true]], ['ended'], 0],
];

test('the model is held while any reason holds it, and resumed when the last is released', async (t) => {
  for (const [what, steps, holding, resumed] of holds) {
    await t.test(what, () => {
      const page = openPage();
      for (const [reason, on] of steps) page.Astrolume.hold(reason, on);
      assert.equal(page.Astrolume.isHeld(), holding.length > 0, 'held');
      assert.deepEqual(['box', 'menu', 'ended'].filter((reason) => page.Astrolume.isHeld(reason)), holding);
      assert.equal(page.told('resume').length, resumed, 'resumed');
      page.Astrolume.sendKey('lighting');
      assert.deepEqual(page.told('key'), holding.length ? [] : [KEYS.lighting], 'a key sent');
    });
  }
});

// The page with and without WebGL, and with WebGL the program was refused: what shows.
const instead = [
  ['WebGL', true, () => {}, ['model', 'controls']],
  ['no WebGL', false, () => {}, ['no-webgl']],
  ['the program refused its context', true, (page) => page.Module.astrolumeCannotRun('a WebGL context'),
   ['cannot-run']],
];

test('without WebGL the message shows in place of the model and its controls', async (t) => {
  for (const [what, webgl, act, shown] of instead) {
    await t.test(what, () => {
      const page = openPage({webgl});
      act(page);
      const visible = ['model', 'controls', 'no-webgl', 'cannot-run'].filter((id) => !page.byId(id).hidden);
      assert.deepEqual(visible, shown, 'shown');
      assert.equal(page.Module.noInitialRun, !webgl, 'the program not started');
      if (shown.includes('cannot-run')) assert.match(page.byId('cannot-run').textContent, /refused a WebGL context/);
      if (!webgl) {
        page.key('z', {}, page.document.body);
        page.touch('touchstart', [[0, 10, 10]]);
        page.touch('touchend', [], [[0, 10, 10]]);
        assert.deepEqual(page.model, [], 'what the model heard');
      }
    });
  }
});
