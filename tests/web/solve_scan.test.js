// The solve page's camera scan in headless Chromium, with a fake camera: Chromium plays a
// video the test makes as the camera. The video shows the six faces of a scrambled cube in
// turn, each sticker drawn in a colour measured from a real cube (tests/data), with the
// face's number in a corner so that the test knows which face is on show. A second browser
// refuses the camera. Run by ctest with the built site and the Linux cubewright-solve:
//   SOLVE_PAGE_SITE=build/web/site CUBEWRIGHT_SOLVE=build/release/tools/cubewright-solve \
//   NODE_PATH=tests/web/node_modules node tests/web/solve_scan.test.js
'use strict';

const assert = require('node:assert/strict');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { spawnSync } = require('node:child_process');
const { after, before, test } = require('node:test');
const puppeteer = require('puppeteer-core');
const { serveSite } = require('./solve_page_support.js');
const { kSoftwareWebGl } = require('./harness.js');

const kScrambled = 'FLUDUUBDFDFFURLRRDLBLDFRUFFBRDRDBBLBLLDULFLDRRFUUBBRBU';
const solveTool = process.env.CUBEWRIGHT_SOLVE;
if (!solveTool || !fs.existsSync(solveTool)) {
  console.log(`scan tests skipped: no Linux cubewright-solve at "${solveTool}"`);
  process.exit(77);
}

// ---- The face pictures, in the data's colours ----

// The data's labels (0 green, 1 white, 2 yellow, 3 red, 4 orange, 5 blue) of the faces in
// the program's colours: red up, green right, white front, orange down, blue left, yellow back.
const kLabelOfFace = { U: 3, R: 0, F: 1, D: 4, L: 5, B: 2 };

function hsvToRgb(h, s, v) {
  const hue = (h * 2) / 60;
  const value = v / 255;
  const chroma = value * (s / 255);
  const x = chroma * (1 - Math.abs((hue % 2) - 1));
  const [r, g, b] = [[chroma, x, 0], [x, chroma, 0], [0, chroma, x], [0, x, chroma],
    [x, 0, chroma], [chroma, 0, x]][Math.floor(hue) % 6];
  const m = value - chroma;
  return [r, g, b].map((c) => Math.round((c + m) * 255));
}

/** Every measurement of each label in the bright condition, as RGB. */
function measurements() {
  const file = path.join(__dirname, '..', 'data', 'sticker-colours', 'cube1_light_labels.csv');
  const byLabel = [[], [], [], [], [], []];
  for (const line of fs.readFileSync(file, 'utf8').split('\n')) {
    const [h, s, v, label] = line.split(',').map(Number);
    if (line.trim()) byLabel[label].push(hsvToRgb(h, s, v));
  }
  return byLabel;
}

/** Each sticker's colour: a measurement of its true colour, picked by a fixed sequence. */
function stickerColours(facelets) {
  const byLabel = measurements();
  let state = 12345;
  const next = () => { state = (state * 1103515245 + 12345) % 2147483648; return state; };
  return [...facelets].map((letter) => {
    const pool = byLabel[kLabelOfFace[letter]];
    return pool[next() % pool.length];
  });
}

const kWidth = 320, kHeight = 240, kFramesPerFace = 8, kFps = 4;
// Where the page's guide sits: a square of 0.7 of the shorter side in the middle.
const kGuide = 0.7 * kHeight;

/** A 4:2:0 video of the six faces, each held for two seconds, looping. */
function writeVideo(file, colours) {
  const header = `YUV4MPEG2 W${kWidth} H${kHeight} F${kFps}:1 Ip A1:1 C420jpeg\n`;
  const frames = [];
  for (let face = 0; face < 6; ++face) {
    const rgb = new Uint8Array(kWidth * kHeight * 3);
    const set = (x, y, [r, g, b]) => { rgb.set([r, g, b], (y * kWidth + x) * 3); };
    for (let y = 0; y < kHeight; ++y) {
      for (let x = 0; x < kWidth; ++x) {
        set(x, y, [20, 20, 20]); // the cube's black plastic and the room behind it
        // The face's number: face + 1 white blocks in the top left corner.
        if (y < 12 && x < 20 * (face + 1) && x % 20 < 14) set(x, y, [255, 255, 255]);
        const gx = x - (kWidth - kGuide) / 2, gy = y - (kHeight - kGuide) / 2;
        const cell = kGuide / 3;
        if (gx >= 0 && gy >= 0 && gx < kGuide && gy < kGuide) {
          const column = Math.floor(gx / cell), row = Math.floor(gy / cell);
          const inCell = [gx - column * cell, gy - row * cell];
          if (inCell.every((d) => d > 4 && d < cell - 4)) set(x, y, colours[face * 9 + row * 3 + column]);
        }
      }
    }
    const frame = Buffer.alloc(kWidth * kHeight * 1.5);
    const chroma = kWidth * kHeight;
    for (let y = 0; y < kHeight; ++y) {
      for (let x = 0; x < kWidth; ++x) {
        const [r, g, b] = rgb.subarray((y * kWidth + x) * 3, (y * kWidth + x) * 3 + 3);
        frame[y * kWidth + x] = Math.round(0.299 * r + 0.587 * g + 0.114 * b);
        if (x % 2 === 0 && y % 2 === 0) {
          const i = (y / 2) * (kWidth / 2) + x / 2;
          frame[chroma + i] = Math.round(128 - 0.168736 * r - 0.331264 * g + 0.5 * b);
          frame[chroma + chroma / 4 + i] = Math.round(128 + 0.5 * r - 0.418688 * g - 0.081312 * b);
        }
      }
    }
    for (let k = 0; k < kFramesPerFace; ++k) frames.push(Buffer.from('FRAME\n'), frame);
  }
  fs.writeFileSync(file, Buffer.concat([Buffer.from(header), ...frames]));
}

// ---- The browsers ----

let site;
let work;
const browsers = [];

async function launch(extra) {
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
    args: ['--no-sandbox', ...kSoftwareWebGl, ...extra],
  });
  browsers.push(browser);
  return browser;
}

async function open(browser) {
  const page = await browser.newPage();
  page.errors = [];
  page.on('pageerror', (error) => page.errors.push(error.message));
  await page.setViewport({ width: 1100, height: 900 });
  await page.goto(`${site.url}/solve.html`);
  await page.waitForSelector('body[data-ready]');
  return page;
}

before(async () => {
  site = await serveSite(process.env.SOLVE_PAGE_SITE);
  work = fs.mkdtempSync(path.join(os.tmpdir(), 'solve-scan-'));
});

after(async () => {
  for (const browser of browsers) await browser.close();
  site?.close();
  fs.rmSync(work, { recursive: true, force: true });
});

const text = (page, selector) => page.$eval(selector, (element) => element.textContent);

/** The face number the camera shows now, from the white blocks in its corner (run in the page). */
const faceOnShowInPage = () => {
  const video = document.getElementById('camera');
  const canvas = document.createElement('canvas');
  canvas.width = video.videoWidth;
  canvas.height = video.videoHeight;
  const context = canvas.getContext('2d');
  context.drawImage(video, 0, 0);
  let count = 0;
  for (let block = 0; block < 6; ++block) {
    const [r] = context.getImageData(block * 20 + 7, 6, 1, 1).data;
    if (r > 128) ++count;
  }
  return count - 1;
};

const faceOnShow = (page) => page.evaluate(faceOnShowInPage);

test('six faces shown to the camera paint the net, which then solves', async () => {
  const colours = stickerColours(kScrambled);
  const video = path.join(work, 'faces.y4m');
  writeVideo(video, colours);
  const browser = await launch(['--use-fake-device-for-media-stream',
    '--use-fake-ui-for-media-stream', `--use-file-for-fake-video-capture=${video}`]);
  const page = await open(browser);
  await page.click('#scan-start');
  await page.waitForSelector('#scan-live:not([hidden])', { timeout: 20000 });
  assert.match(await text(page, '#scan-step'),
    /^Face 1 of 6: hold the red centre \(up face\) towards the camera, with the yellow centre \(back face\) on top/);

  let retakes = 0;
  for (let face = 0; face < 6; ++face) {
    for (;;) {
      await page.waitForFunction(`(${faceOnShowInPage})() === ${face}`, { timeout: 20000, polling: 50 });
      await page.click('#scan-take');
      // The picture may have moved on between the look and the take: then take it again.
      const taken = await page.$$eval('#scan-preview span', (list) => list.map((s) => s.dataset.colour));
      const close = taken.every((hex, i) => {
        const want = colours[face * 9 + i];
        return [0, 1, 2].every((k) => Math.abs(parseInt(hex.slice(2 * k, 2 * k + 2), 16) - want[k]) < 40);
      });
      if (close && (await faceOnShow(page)) === face) break;
      ++retakes;
      await page.click('#scan-retake');
    }
    await page.click('#scan-keep');
  }
  await page.waitForSelector('#scan', { hidden: true });
  assert.equal(await page.$eval('#facelets', (field) => field.value), kScrambled);
  assert.equal(await text(page, '#status'), 'The cube can be solved.');
  assert.deepEqual(await page.$$eval('.sticker.marked', (list) => list.length), 0);
  // The net in the cube's own colours: the white centre as the camera saw it.
  const white = await page.$eval('.sticker[data-position="22"]', (s) => getComputedStyle(s).backgroundColor);
  assert.notEqual(white, 'rgb(255, 255, 255)');
  const timings = await page.evaluate(() => window.solvePageTimings);
  const painted = timings.scanPaintedAt - timings.sixthFaceKeptAt;
  console.log(`scan: reading ${timings.scanReadMilliseconds.toFixed(1)} ms, sixth face kept to ` +
    `net painted ${painted.toFixed(1)} ms, ${retakes} retakes`);
  assert.ok(painted < 1000, `${painted} ms from the sixth face to the net`);

  await page.click('input[name="method"][value="lbl"]');
  await page.click('#solve');
  await page.waitForFunction(() => /^solution:/.test(document.getElementById('solution').textContent),
    { timeout: 60000 });
  const run = spawnSync(solveTool, ['--compact', '--facelets', kScrambled], { encoding: 'utf8' });
  assert.equal(await text(page, '#solution'), run.stdout.split('\n')[1]);

  // The scan is one step: Ctrl+Z takes it back to the cube before it.
  await page.focus('.sticker[data-position="0"]');
  await page.keyboard.down('Control');
  await page.keyboard.press('z');
  await page.keyboard.up('Control');
  assert.equal(await page.$eval('#facelets', (field) => field.value),
    'UUUUUUUUURRRRRRRRRFFFFFFFFFDDDDDDDDDLLLLLLLLLBBBBBBBBB');
  assert.deepEqual(page.errors, []);
  await page.close();
});

test('a refused camera says so, and painting still works', async () => {
  // Headless Chromium without the fake prompt refuses the camera at once.
  const browser = await launch(['--use-fake-device-for-media-stream']);
  const page = await open(browser);
  await page.click('#scan-start');
  await page.waitForFunction(() => /refused/.test(document.getElementById('scan-message').textContent),
    { timeout: 20000 });
  assert.equal(await text(page, '#scan-message'),
    'The camera was refused, so the page cannot scan. You can still paint the stickers by hand.');
  assert.ok(await page.$eval('#scan-live', (live) => live.hidden));
  await page.click('#palette button[data-letter="B"]');
  await page.click('.sticker[data-position="0"]');
  assert.equal((await page.$eval('#facelets', (field) => field.value))[0], 'B');
  assert.deepEqual(page.errors, []);
  await page.close();
});
