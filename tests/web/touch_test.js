// Cubewright's site on a phone: headless Chromium with a touch screen 390 pixels wide. The
// page fits the screen; a swipe across a face turns it, and a finger on the canvas neither
// scrolls nor zooms the page; the page's buttons scramble and solve; and on the solve page a
// swipe turns the 3D cube and a tap paints the net. One page for all of them, in this order.
'use strict';

const assert = require('node:assert/strict');
const {after, before, test} = require('node:test');
const h = require('./harness.js');

const kPhone = {
  viewport: {width: 390, height: 844, deviceScaleFactor: 2, isMobile: true, hasTouch: true},
  userAgent: 'Mozilla/5.0 (Linux; Android 14; Pixel 8) AppleWebKit/537.36 (KHTML, like Gecko) ' +
    'Chrome/130.0.0.0 Mobile Safari/537.36',
};

let s;
before(async () => {
  s = await h.open({name: 'touch', device: kPhone});
});
after(async () => {
  if (s) {
    await s.close();
  }
});

// The stickers once the main cube reads the same twice 0.2 s apart, differing from `from`.
function settledFrom(from, name) {
  let last = '';
  return s.until(10, `${name}: the main cube did not change and come to rest`, async () => {
    const now = h.stickers(await s.shot(name));
    const settled = now === last && now !== from && !now.includes('?');
    last = now;
    if (!settled) {
      await h.sleep(200);
    }
    return settled ? now : null;
  });
}

// Page coordinates of canvas pixel (x, y), however the canvas is scaled.
async function onCanvas(x, y) {
  const box = await s.page.$eval('#canvas', (c) => {
    const r = c.getBoundingClientRect();
    return {left: r.left, top: r.top, scale: r.width / c.width};
  });
  return [box.left + x * box.scale, box.top + y * box.scale];
}

// A finger from page point (x, y) by (dx, dy), in a few moves a frame or more apart.
async function swipe([x, y], dx, dy) {
  await s.page.touchscreen.touchStart(x, y);
  for (let step = 1; step <= 4; ++step) {
    await h.sleep(40);
    await s.page.touchscreen.touchMove(x + dx * step / 4, y + dy * step / 4);
  }
  await h.sleep(40);
  await s.page.touchscreen.touchEnd();
}

test('the page fits the phone: no sideways scrolling, a 4:3 canvas as wide as the screen, named buttons', async () => {
  const layout = await s.page.evaluate(() => {
    const canvas = document.getElementById('canvas');
    const box = canvas.getBoundingClientRect();
    return {
      width: innerWidth,
      scrollWidth: document.documentElement.scrollWidth,
      canvas: [box.left, box.width, box.height, canvas.width, canvas.height],
      buttons: [...document.querySelectorAll('#controls button')].map((b) =>
        [b.getAttribute('aria-label'), b.getBoundingClientRect().right]),
    };
  });
  assert.equal(layout.width, 390, 'the page is not laid out for the phone');
  assert.ok(layout.scrollWidth <= 390, `the page is ${layout.scrollWidth} px wide`);
  const [left, width, height, pixelsAcross, pixelsDown] = layout.canvas;
  assert.deepEqual([left, width, pixelsAcross, pixelsDown], [0, 390, 640, 480]);
  assert.ok(Math.abs(height - 292.5) <= 1, `the canvas is ${height} px high`);
  assert.equal(layout.buttons.length, 7);
  for (const [name, right] of layout.buttons) {
    assert.ok(name && name.length > 3, `a button without a name: ${name}`);
    assert.ok(right <= 390, `the button "${name}" is off the screen`);
  }
});

test('a swipe across the front face\'s top row turns the up face; a finger on the canvas does not scroll the page', async () => {
  const before = h.stickers(await s.shotDrawn('start'));
  const [x, y] = h.stickerPoints()[1];
  await swipe(await onCanvas(x, y), 40, 0);
  const turned = await settledFrom(before, 'after-swipe');
  // As X does: the up face turns counter-clockwise, the front's top row takes the left's.
  let expected = before.slice(18, 21) + before.slice(3, 9);
  for (let row = 0; row < 3; ++row) {
    for (let column = 0; column < 3; ++column) {
      expected += before[9 + column * 3 + 2 - row];
    }
  }
  expected += '???' + before.slice(21);
  for (let i = 0; i < 27; ++i) {
    assert.ok(expected[i] === '?' || expected[i] === turned[i],
      `sticker ${i} after the swipe: ${before} became ${turned}, expected ${expected}`);
  }

  // With a page long enough to scroll, a finger dragged up and pinched on the canvas moves
  // only the cube's view.
  await s.page.evaluate(() => { document.body.style.minHeight = '3000px'; });
  await swipe(await onCanvas(40, 440), 0, -150);
  const client = await s.page.target().createCDPSession();
  const [cx, cy] = await onCanvas(320, 240);
  await client.send('Input.synthesizePinchGesture', {x: cx, y: cy, scaleFactor: 2, gestureSourceType: 'touch'});
  const page = await s.page.evaluate(() => [scrollX, scrollY, visualViewport.scale]);
  await s.page.evaluate(() => { document.body.style.minHeight = ''; });
  assert.deepEqual(page, [0, 0, 1], 'the page scrolled or zoomed under a finger on the canvas');
  const viewTurned = h.stickers(await s.shot('view-turned'));
  assert.notEqual(viewTurned, turned, 'the swipe beside the cube did not turn the view');
});

test('the page\'s buttons scramble the cube and switch automatic solving on and off', async () => {
  const before = h.stickers(await s.shot('before-scramble'));
  await s.page.tap('#controls [data-key="32"]');
  const scrambled = await settledFrom(before, 'after-scramble');
  // Space resets the view too: the centres face the eye again.
  assert.equal(scrambled[4] + scrambled[13] + scrambled[22], 'WRB', `scrambled: ${scrambled}`);

  await s.page.tap('#controls [data-key="77"]');
  const first = await s.until(5, 'no Moves Remaining line after Solve', async () => {
    const shot = await s.shot('solving');
    return h.whiteCount(shot, h.kLine2) > 100 ? h.whiteMask(shot, h.kLine2) : null;
  });
  await s.until(10, 'the count of moves remaining did not go down', async () =>
    h.whiteMask(await s.shot('counting'), h.kLine2) !== first);
  await s.page.tap('#controls [data-key="77"]');
  await s.until(5, 'Solve again did not switch automatic solving off', async () =>
    h.whiteCount(await s.shot('stopped'), h.kLine2) === 0);
});

test('on the solve page a swipe turns the 3D cube and a tap paints the net', async () => {
  await s.page.goto(s.url + 'solve.html', {waitUntil: 'load'});
  await s.page.waitForSelector('body[data-ready]');
  const view = await s.page.$('#view');
  const shot = () => view.screenshot({encoding: 'base64'});
  const start = await shot();
  const box = await view.boundingBox();
  await swipe([box.x + box.width / 2, box.y + box.height / 2], 60, 20);
  assert.notEqual(await shot(), start, 'the swipe did not turn the 3D cube');

  await s.page.tap('#palette button[data-letter="F"]');
  const colour = () => s.page.$eval('.sticker[data-position="0"]', (sticker) => sticker.getAttribute('aria-label'));
  const was = await colour();
  await s.page.tap('.sticker[data-position="0"]');
  assert.match(await colour(), /\(F\)$/, `the tap did not paint the sticker (it was "${was}")`);
  assert.deepEqual(await s.page.evaluate(() => [scrollX, visualViewport.scale]), [0, 1]);
});
