// The program's box as the page's dialog (message_box.js): its text, its keys, and the focus after it.
import assert from 'node:assert/strict';
import test from 'node:test';
import {openPage} from './page_harness.mjs';

// (caption, text, an error box): the language each is marked with, for the font and for screen readers.
const texts = [
  ['토성', '토성은 태양계의 여섯째 행성이다.\n고리가 있다.', false, ['ko', 'ko']],
  ['Saturn', '토성: 고리가 있는 행성', false, ['en', 'ko']],
  ['Astrolume', 'Cannot read image/saturn.bmp: not a BMP file', true, ['en', 'en']],
];

test('the box shows the caption and text, Korean marked as Korean', async (t) => {
  for (const [caption, text, isError, langs] of texts) {
    await t.test(caption, () => {
      const page = openPage();
      page.Module.astrolumeShowMessageBox(isError, caption, text);
      const [title, body] = ['message-box-title', 'message-box-text'].map(page.byId);
      assert.deepEqual([title.textContent, body.textContent], [caption, text]);
      assert.deepEqual([title.lang, body.lang], langs, 'lang');
      assert.equal(page.byId('message-box').classList.contains('error'), isError, 'shown as an error');
      assert.equal(page.byId('message-box').open, true, 'the box open');
      assert.equal(page.focused(), 'message-box-ok');
    });
  }
});

// What had the focus when the box opened, what is done with it up: whether it closes (the program
// goes on), and where the focus is then. A box that closes gives the model the focus, whatever had it.
const presses = [
  ['Enter', 'model', (page) => page.key('Enter'), true],
  ['Space', 'zoomIn', (page) => page.key(' '), true],
  ['Escape', 'bodies-button', (page) => page.key('Escape'), true],
  ['OK clicked', 'zoomIn', (page) => page.mouse('click', page.byId('message-box-ok'), {detail: 1}), true],
  ['the zoom key', 'model', (page) => page.key('z'), false],
  ['Tab', 'model', (page) => page.key('Tab'), false],
  ['a key on the model', 'model', (page) => page.key('z', {}, page.Module.canvas), false],
  ['a press on the model', 'model', (page) => page.mouse('mousedown', page.Module.canvas, {detail: 1}), false],
];

test('the box\'s keys press OK, nothing reaches the model, the model has the focus after', async (t) => {
  for (const [what, focusedFirst, press, closes] of presses) {
    await t.test(what, async () => {
      const page = openPage();
      (page.control(focusedFirst) || page.byId(focusedFirst) || page.Module.canvas).focus();
      let closed = false;
      page.Module.astrolumeShowMessageBox(false, 'Saturn', 'A planet').then(() => { closed = true; });
      press(page);
      await page.settle();
      assert.equal(closed, closes, 'the program went on');
      assert.equal(page.Astrolume.isHeld('box'), !closes, 'held');
      assert.equal(page.byId('message-box').open, !closes, 'the box open');
      assert.equal(page.focused(), closes ? 'model' : 'message-box-ok', 'the focus');
      assert.deepEqual(page.model, [], 'what the model heard');
      assert.equal(page.told('resume').length, closes ? 1 : 0, 'the program resumed');
    });
  }
});
