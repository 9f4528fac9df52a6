// Cubewright's page in headless Chromium, played as a user plays it: the canvas and the
// cube at start, the keypad speeds and a face key, a hidden page, an arrow key and Space,
// full screen and back, M's solution played out, and Escape. One page for all of them, in
// this order; each case leaves the program running for the next.
'use strict';

const assert = require('node:assert/strict');
const {after, before, test} = require('node:test');
const h = require('./harness.js');

let s;
before(async () => {
  s = await h.open({name: 'play'});
});
after(async () => {
  if (s) {
    await s.close();
  }
});

// The front face's nine stickers after a clockwise quarter turn of `stickers`.
function frontTurnedClockwise(stickers) {
  let front = '';
  for (let row = 0; row < 3; ++row) {
    for (let column = 0; column < 3; ++column) {
      front += stickers[(2 - column) * 3 + row];
    }
  }
  return front;
}

// The stickers once the main cube stands still (the same reading twice, 0.2 s apart).
async function settledStickers(name) {
  let last = '';
  return s.until(10, `${name}: the main cube does not come to rest`, async () => {
    const now = h.stickers(await s.shot(name));
    const settled = now === last && !now.includes('?');
    last = now;
    if (!settled) {
      await h.sleep(200);
    }
    return settled ? now : null;
  });
}

test('a 640x480 canvas titled Cubewright, the cube scrambled, "Auto solve is OFF"', async () => {
  assert.equal(await s.page.title(), 'Cubewright');
  const size = await s.page.$eval('#canvas', (c) => [c.width, c.height, c.clientWidth, c.clientHeight]);
  assert.deepEqual(size, [640, 480, 640, 480]);
  const shot = await s.shotDrawn('start');
  const stickers = h.stickers(shot);
  assert.ok(!stickers.includes('?'), `not every sticker is drawn: ${stickers}`);
  assert.equal(stickers[4] + stickers[13] + stickers[22], 'WRB', `face centres: ${stickers}`);
  assert.notEqual(stickers, h.kSolved);
  assert.equal(h.whiteCount(shot, h.kLine2), 0, 'a Moves Remaining line shows before M');
  s.offMask = h.whiteMask(shot, h.kLine1);
});

test('the keys the browser would act on are kept from it', async () => {
  // Each key's down and up at once, so the program, which reads its keys once a frame,
  // does not act on them; dispatchEvent says whether the page kept the default action.
  const kept = await s.page.evaluate(() => {
    const canvas = document.getElementById('canvas');
    const keptFor = (code, key) => {
      const down = new KeyboardEvent('keydown', {code, key, bubbles: true, cancelable: true});
      const wasKept = !canvas.dispatchEvent(down);
      canvas.dispatchEvent(new KeyboardEvent('keyup', {code, key, bubbles: true, cancelable: true}));
      return wasKept;
    };
    return Object.fromEntries([['F1', 'F1'], ['Space', ' '], ['ArrowDown', 'ArrowDown'],
      ['ArrowLeft', 'ArrowLeft'], ['Numpad2', '2'], ['Numpad6', '6'], ['Numpad8', 'ArrowUp'],
      ['KeyM', 'm'], ['KeyQ', 'q']].map(([code, key]) => [code, keptFor(code, key)]));
  });
  assert.deepEqual(kept, {F1: true, Space: true, ArrowDown: true, ArrowLeft: true,
    Numpad2: true, Numpad6: true, Numpad8: true, KeyM: false, KeyQ: false});
});

test('keypad 2 slows the turns down, and W turns the front face clockwise', async () => {
  // The turn speed falls by 0.015 degrees a frame while keypad 2 is down: from 9 to
  // 2.25 degrees a frame in 450 frames, so a quarter turn takes 40 frames instead of 10.
  await s.key('Numpad2', 450);
  const before = await settledStickers('before-w');
  const pressed = await s.framesRun();
  await s.key('KeyW', 2);
  const turned = await settledStickers('after-w');
  const frames = (await s.framesRun()) - pressed;
  assert.equal(turned.slice(0, 9), frontTurnedClockwise(before), `${before} became ${turned}`);
  assert.ok(frames >= 38, `the slowed quarter turn took only ${frames} frames`);
});

test('a hidden page pauses the cubes and a shown one resumes them', async () => {
  const before = await settledStickers('before-hide');
  await s.key('KeyW', 2);
  await s.hide();
  // Long enough for the slowed turn to end many times over, were it going on.
  await h.sleep(5000);
  await s.show();
  const shown = h.stickers(await s.shot('shown'));
  assert.notEqual(shown.slice(0, 9), frontTurnedClockwise(before),
    'the turn went on while the page was hidden');
  const done = await settledStickers('resumed');
  assert.equal(done.slice(0, 9), frontTurnedClockwise(before), 'the turn did not finish once shown');
});

test('an arrow key turns the view, and Space scrambles anew with the view reset', async () => {
  const before = await settledStickers('before-arrow');
  await s.key('ArrowLeft', 2);
  const turnedView = h.stickers(await s.shot('after-arrow'));
  assert.notEqual(turnedView, before, 'the view did not turn');
  await s.key('Space', 2);
  const scrambled = await settledStickers('after-space');
  assert.notEqual(scrambled, h.kSolved);
  assert.notEqual(scrambled, before, 'Space did not scramble the cube anew');
  assert.equal(scrambled[4] + scrambled[13] + scrambled[22], 'WRB', 'the view was not reset');
  // Back to full speed for the solve below.
  await s.key('Numpad8', 450);
});

test('F1 shows the canvas on the whole screen and back, the cubes and the text still drawn', async () => {
  const before = await settledStickers('before-f1');
  await s.key('F1');
  await s.until(10, 'F1 did not enter full screen', () => s.isFullscreen());
  const full = await s.expectFramesComing('fullscreen');
  assert.equal(h.stickers(full), before, 'the cube changed in full screen');
  await s.key('F1');
  await s.until(10, 'F1 did not leave full screen', async () => !(await s.isFullscreen()));
  const back = await s.expectFramesComing('windowed');
  assert.equal(h.stickers(back), before, 'the cube changed across F1 twice');
  assert.equal(h.whiteMask(back, h.kLine1), s.offMask, 'the first line does not read as before');
});

test('M plays the solution out, counting down, and switches itself off', async () => {
  await s.key('KeyM', 2);
  let countMask = await s.until(5, 'no Moves Remaining line after M', async () => {
    const shot = await s.shot('playing');
    return h.whiteMask(shot, h.kLine1) !== s.offMask && h.whiteCount(shot, h.kLine2) > 100 ?
      h.whiteMask(shot, h.kLine2) : null;
  });
  // Keypad 8 held speeds the turns up, as the desktop test does.
  await s.page.keyboard.down('Numpad8');
  let counts = 1;
  let polls = 0;
  const deadline = Date.now() + 120000;
  for (;;) {
    await h.sleep(1000);
    ++polls;
    const shot = await s.shot(`poll-${polls}`);
    if (h.whiteCount(shot, h.kLine2) === 0) {
      break;
    }
    const mask = h.whiteMask(shot, h.kLine2);
    if (mask !== countMask) {
      ++counts;
      countMask = mask;
    }
    assert.ok(Date.now() < deadline, 'still playing the solution after 120 s');
  }
  await s.page.keyboard.up('Numpad8');
  assert.ok(counts * 4 >= polls * 3, `the count hardly changed: ${counts} counts in ${polls} polls`);
  await h.sleep(200);
  const done = await s.shot('solved');
  assert.equal(h.stickers(done), h.kSolved);
  assert.equal(h.whiteMask(done, h.kLine1), s.offMask, 'the first line is not "Auto solve is OFF"');
  await s.expectFramesComing('after-solve');
});

test('Escape ends the program, the page says so and starts it again', async () => {
  await s.key('Escape', 2);
  await s.until(5, 'the page does not say that Cubewright has ended', () => s.endedShown());
  assert.equal(await s.canvasShown(), false);
  assert.match(await s.page.$eval('#ended', (note) => note.textContent), /Cubewright has ended/);
  await Promise.all([s.page.waitForNavigation(), s.page.click('#restart')]);
  await s.expectFramesComing('restarted');
});
