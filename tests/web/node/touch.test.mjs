// Fingers on the model (touch.js): what each gesture gives the program, by how long and how far.
import assert from 'node:assert/strict';
import test from 'node:test';
import {KEYS, openPage} from './page_harness.mjs';

const X = 100, Y = 100;

// One finger down at (X, Y), moved by the offsets (10 ms apart), lifted `ms` after it came down: the
// menu open or not afterwards, and the mouse input the model hears ([type, x, y]). The long press is
// 0.5 s; a finger that moves no more than 10 CSS pixels holds still.
const fingers = [
  ['a tap', 50, [], false, [['mousedown', X, Y], ['mouseup', X, Y]]],
  ['a tap trembling, clicked at the lift', 50, [[6, -5]], false, [['mousedown', 106, 95], ['mouseup', 106, 95]]],
  ['held still 0.49 s: a click', 490, [], false, [['mousedown', X, Y], ['mouseup', X, Y]]],
  ['held still 0.5 s: the menu', 500, [], true, []],
  ['held 0.5 s trembling by 10 px', 500, [[10, 0], [-6, 8]], true, []],
  ['moved by 11 px: a drag from the start', 800, [[0, 11], [0, 40]], false,
   [['mousedown', X, Y], ['mousemove', X, Y + 11], ['mousemove', X, Y + 40], ['mouseup', X, Y + 40]]],
  ['trembling, then a drag', 800, [[3, 3], [20, 0]], false,
   [['mousedown', X, Y], ['mousemove', X + 20, Y], ['mouseup', X + 20, Y]]],
];

test('one finger: a tap is a click, a move a drag, a still press the menu', async (t) => {
  for (const [what, ms, moves, menu, heard] of fingers) {
    await t.test(what, () => {
      const page = openPage();
      let at = [X, Y];
      page.touch('touchstart', [[0, X, Y]]);
      for (const [dx, dy] of moves) {
        page.advance(10);
        at = [X + dx, Y + dy];
        page.touch('touchmove', [[0, ...at]]);
      }
      page.advance(ms - 10 * moves.length);
      page.touch('touchend', [], [[0, ...at]]);
      page.advance(1000);
      assert.equal(page.Astrolume.isHeld('menu'), menu, 'the menu open');
      assert.deepEqual(page.model, heard, 'what the model heard');
      assert.deepEqual(page.told('key'), [], 'a key from a finger');
    });
  }
});

// Two fingers 100 px apart, the second moved so that they are each distance apart in turn: the zoom
// keys given, as runs of [key, times]. One key per factor of the program's zoom step.
const pinches = [
  ['spread to twice: 69 steps of 1 %', 1.01, [200], [[KEYS.zoomIn, 69]]],
  ['pinched to half', 1.01, [50], [[KEYS.zoomOut, 69]]],
  ['just under one step', 1.01, [100.9], []],
  ['exactly one step', 1.01, [101], [[KEYS.zoomIn, 1]]],
  ['the program\'s step, not 1 %', 1.1, [200], [[KEYS.zoomIn, 7]]],
  ['spread and back: as many out as in', 1.01, [150, 200, 100], [[KEYS.zoomIn, 69], [KEYS.zoomOut, 69]]],
  ['back and forth across one step', 1.01, [101.5, 100.5, 101.5, 100.2],
   [[KEYS.zoomIn, 1], [KEYS.zoomOut, 1], [KEYS.zoomIn, 1], [KEYS.zoomOut, 1]]],
];

test('two fingers: one zoom key per zoom step of their distance, no button', async (t) => {
  for (const [what, zoomStep, distances, runs] of pinches) {
    await t.test(what, () => {
      const page = openPage();
      page.Module.astrolumeProgram.zoomStep = zoomStep;
      page.touch('touchstart', [[0, X, Y]]);
      page.touch('touchstart', [[0, X, Y], [1, X + 100, Y]], [[1, X + 100, Y]]);
      for (const distance of distances) page.touch('touchmove', [[0, X, Y], [1, X + distance, Y]]);
      page.touch('touchend', [], [[0, X, Y], [1, X + distances.at(-1), Y]]);
      page.advance(1000);
      const given = [];
      for (const code of page.told('key')) {
        if (given.at(-1)?.[0] === code) given.at(-1)[1] += 1;
        else given.push([code, 1]);
      }
      assert.deepEqual(given, runs, 'the zoom keys');
      assert.deepEqual(page.model, [], 'the mouse input');
      assert.equal(page.Astrolume.isHeld('menu'), false, 'the menu');
    });
  }
});
