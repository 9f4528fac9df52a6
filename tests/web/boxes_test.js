// The program's message boxes in the page: a browser without WebGL gets the window's
// context failure and the page says the program has ended; a browser that refuses full
// screen gets the program's question, whose answers mean what they mean on the desktop.
'use strict';

const assert = require('node:assert/strict');
const {test} = require('node:test');
const h = require('./harness.js');

// Opens the page, runs `steps` on the session and closes it, failing or not.
async function withPage(options, steps) {
  const s = await h.open(options);
  try {
    await steps(s);
  } finally {
    await s.close();
  }
}

const kQuestion = 'The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed Mode Instead?';

test('without WebGL the window says it cannot make its context, and the program ends', () =>
  withPage({webgl: false, name: 'no-webgl'}, async (s) => {
    const box = await s.answer('OK');
    assert.deepEqual(box, {caption: '⚠️ ERROR', text: "Can't Create A GL Rendering Context.", buttons: ['OK']});
    await s.until(5, 'the page does not say that Cubewright has ended', () => s.endedShown());
    assert.equal(await s.messageBox(), null, 'another box followed');
    assert.deepEqual(s.log.filter((line) => line.startsWith('page error')), []);
  }));

test('full screen refused: Yes goes on in the window', () =>
  withPage({query: '?no-fullscreen', name: 'refused-yes'}, async (s) => {
    const before = h.stickers(await s.shotDrawn('before'));
    await s.key('F1');
    const box = await s.answer('Yes');
    assert.deepEqual(box, {caption: '⚠️ Cubewright', text: kQuestion, buttons: ['Yes', 'No']});
    const after = await s.expectFramesComing('windowed');
    assert.equal(await s.isFullscreen(), false);
    assert.equal(h.stickers(after), before, 'the cube changed');
    // F1 asks again, and the answer holds again.
    await s.key('F1');
    await s.answer('Yes');
    await s.expectFramesComing('windowed-again');
  }));

test('full screen refused: No says the program will close, and it ends', () =>
  withPage({query: '?no-fullscreen', name: 'refused-no'}, async (s) => {
    await s.shotDrawn('before');
    await s.key('F1');
    await s.answer('No');
    const box = await s.answer('OK');
    assert.deepEqual(box, {caption: '⛔ ERROR', text: 'Program Will Now Close.', buttons: ['OK']});
    await s.until(5, 'the page does not say that Cubewright has ended', () => s.endedShown());
  }));
