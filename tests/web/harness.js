// Shared steps of the browser tests and the page benchmark: the site served on 127.0.0.1,
// the page opened in Debian's headless Chromium (driven by puppeteer-core, which downloads
// no browser), held keys, screenshots of the canvas, and reading the main cube's stickers
// and the two overlay lines off them, as the desktop's end-to-end tests read the window.
'use strict';

const childProcess = require('node:child_process');
const fs = require('node:fs');
const http = require('node:http');
const os = require('node:os');
const path = require('node:path');
const puppeteer = require('puppeteer-core');

const kChromium = process.env.CUBEWRIGHT_CHROMIUM || '/usr/bin/chromium';
const kConvert = '/usr/bin/convert';
const kWidth = 640;
const kHeight = 480;

const kTypes = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript',
  '.css': 'text/css',
  '.wasm': 'application/wasm',
  '.png': 'image/png',
  '.webmanifest': 'application/manifest+json',
};

// A static web server for `root` on a free port of 127.0.0.1, as any static host serves
// the site: files as they are, by their type. A page asked for with ?no-fullscreen comes
// with a permissions policy that forbids full screen, so the browser refuses it.
function serve(root) {
  const server = http.createServer((request, response) => {
    const url = new URL(request.url, 'http://127.0.0.1');
    const file = path.join(root, path.normalize(decodeURIComponent(url.pathname)).replace(/^(\.\.[/\\])+/, ''));
    const target = file.endsWith(path.sep) ? path.join(file, 'index.html') : file;
    fs.readFile(target, (error, data) => {
      if (error) {
        response.writeHead(404);
        response.end('not found');
        return;
      }
      const headers = {'Content-Type': kTypes[path.extname(target)] || 'application/octet-stream'};
      if (url.searchParams.has('no-fullscreen')) {
        headers['Permissions-Policy'] = 'fullscreen=()';
      }
      response.writeHead(200, headers);
      response.end(data);
    });
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

// WebGL in software (SwiftShader behind ANGLE). Naming both the GL and ANGLE's WebGL back
// end matters: with `--use-angle=swiftshader` alone, this Chromium first tries and gives up
// on hardware GL, which costs each new browser about a second before its first context.
const kSoftwareWebGl = ['--use-gl=angle', '--use-angle=swiftshader-webgl'];

// Headless Chromium with WebGL in software, unless `webgl` is false. The page's viewport is
// the canvas's size, so that the canvas in full screen is 640x480 too and reads like the
// window (the desktop tests' 640x480 screen does the same).
function launch({webgl = true, viewport = {width: kWidth, height: kHeight}} = {}) {
  const args = ['--no-sandbox', '--disable-gpu-sandbox', ...kSoftwareWebGl,
    `--window-size=${viewport.width},${viewport.height}`, '--hide-scrollbars',
    '--mute-audio', '--no-first-run', '--disable-background-timer-throttling'];
  if (!webgl) {
    args.push('--disable-webgl', '--disable-3d-apis');
  }
  return puppeteer.launch({executablePath: kChromium, headless: true, args,
    defaultViewport: viewport});
}

// Opens the page of the site in `site` (default: the build's) in a new browser and waits
// for its canvas. Returns a session: the page, the browser's console and errors (`log`),
// and the steps below; `close` ends the browser and the server.
// `clockSeconds`, when given, is what the page's wall clock reads from the start (the
// program seeds its generator from it); the page's frame clock runs as ever. With
// `webglStarted`, another tab has made a WebGL context before the page opens, as in a
// browser that has been running for a while.
// How long a blank tab of `browser` takes to make its first WebGL context, in ms. The tab
// stays open, its context in use, unless `close`.
async function webglContextTime(browser, {close = true} = {}) {
  const tab = await browser.newPage();
  try {
    await tab.goto('data:text/html,<canvas id="c"></canvas><script>const t = performance.now();' +
      'document.getElementById("c").getContext("webgl"); window.took = performance.now() - t;</script>');
    return await tab.evaluate(() => window.took);
  } finally {
    if (close) {
      await tab.close();
    }
  }
}

// `device`, when given, is handed to page.emulate before the page opens (a phone's size and
// touch screen).
async function open({site = process.env.CUBEWRIGHT_SITE, webgl = true, name = 'web', query = '',
  viewport = undefined, clockSeconds = undefined, webglStarted = false, device = undefined} = {}) {
  const server = await serve(site);
  const browser = await launch({webgl, viewport});
  if (webglStarted) {
    await webglContextTime(browser, {close: false});
  }
  const work = fs.mkdtempSync(path.join(os.tmpdir(), `cubewright-${name}-`));
  const log = [];
  try {
    const page = await browser.newPage();
    if (clockSeconds !== undefined) {
      await page.evaluateOnNewDocument((ms) => {
        Date.now = () => ms;
      }, clockSeconds * 1000);
    }
    if (device) {
      await page.emulate(device);
    }
    page.on('console', (message) => log.push(`console ${message.type()}: ${message.text()}`));
    page.on('pageerror', (error) => log.push(`page error: ${error.message}`));
    const url = `http://127.0.0.1:${server.address().port}/${query}`;
    await page.goto(url, {waitUntil: 'load'});
    const session = new Session(page, browser, server, work, log, url);
    return session;
  } catch (error) {
    await browser.close();
    server.close();
    throw error;
  }
}

class Session {
  constructor(page, browser, server, work, log, url) {
    Object.assign(this, {page, browser, server, work, log, url});
    this.shots = 0;
  }

  async close() {
    await this.browser.close();
    this.server.close();
    if (!process.env.CUBEWRIGHT_KEEP_SHOTS) {
      fs.rmSync(this.work, {recursive: true, force: true});
    }
  }

  // Waits as `until` does, and on failure says what the page showed then.
  async until(seconds, message, check) {
    try {
      return await until(seconds, message, check);
    } catch (error) {
      error.message += `\n${await this.describe()}`;
      throw error;
    }
  }

  // What the page shows, for a failure's message: the program's frames, a message box or
  // the ended note, full screen, visibility and focus, whether a key press still counts as
  // the user's gesture, and the browser's last console lines and errors.
  async describe() {
    let shown;
    try {
      shown = await this.page.evaluate(() => {
        const dialog = document.getElementById('message-box');
        const active = document.activeElement;
        return {
          framesRun: typeof cubewrightPage === 'undefined' ? null : cubewrightPage.framesRun(),
          messageBox: dialog && dialog.open ? `${document.getElementById('message-caption').textContent}: ` +
            document.getElementById('message-text').textContent : null,
          ended: !document.getElementById('ended')?.hidden,
          fullscreenElement: document.fullscreenElement ? document.fullscreenElement.id || document.fullscreenElement.tagName : null,
          visibility: document.visibilityState,
          hasFocus: document.hasFocus(),
          activeElement: active ? active.id || active.tagName : null,
          userActivation: navigator.userActivation ?
            {isActive: navigator.userActivation.isActive, hasBeenActive: navigator.userActivation.hasBeenActive} : null,
          viewport: [innerWidth, innerHeight],
          screen: [screen.width, screen.height],
        };
      });
    } catch (error) {
      shown = `the page could not be read: ${error.message}`;
    }
    return `the page showed: ${JSON.stringify(shown)}\nits last console lines:\n${this.log.slice(-10).join('\n')}`;
  }

  // The program's frames so far.
  framesRun() {
    return this.page.evaluate(() => cubewrightPage.framesRun());
  }

  // Waits until the program has run `count` more frames than `from` (default: now).
  async waitFrames(count, from = undefined, seconds = 120) {
    const start = from === undefined ? await this.framesRun() : from;
    return this.until(seconds, `${count} frames did not run`, async () => {
      const now = await this.framesRun();
      return now - start >= count ? now : null;
    });
  }

  // Holds a key (a KeyboardEvent.code: 'KeyM', 'Numpad8', 'F1', 'ArrowLeft', ...) down for
  // `frames` frames of the program, which reads its key table once a frame: however
  // slowly frames come on a loaded machine, it sees the key down that often. Frames are
  // counted from when the page has the key down: frames that ran while the key was still
  // on its way would not see it, and on a loaded machine a press could then come up before
  // any frame saw it. A message box that the key brings up ends the wait (the program
  // waits on it), and so does the end of the program.
  async key(code, frames = 2) {
    await this.page.keyboard.down(code);
    const start = await this.framesRun();
    await this.until(120, `${code} was not held for ${frames} frames`, async () =>
      (await this.framesRun()) - start >= frames || (await this.messageBox()) !== null ||
      await this.endedShown());
    await this.page.keyboard.up(code);
  }

  // The next frame the program draws, as an Image: the canvas's pixels, read in the
  // page as the frame is drawn (a screenshot through the browser takes a second or more
  // on a loaded machine, while the cubes go on turning). With CUBEWRIGHT_KEEP_SHOTS set
  // it is also saved as NAME.png in the work folder, for a look after a failure.
  async shot(name, seconds = 10) {
    const frame = await Promise.race([
      this.page.evaluate(async () => {
        const {width, height, pixels} = await cubewrightPage.readFrame();
        let binary = '';
        for (let i = 0; i < pixels.length; i += 0x8000) {
          binary += String.fromCharCode.apply(null, pixels.subarray(i, i + 0x8000));
        }
        return {width, height, rgba: btoa(binary)};
      }),
      sleep(seconds * 1000).then(() => null),
    ]);
    if (!frame) {
      throw new Error(`${name}: no frame was drawn within ${seconds} s`);
    }
    const image = Image.fromBottomUpRGBA(frame.width, frame.height, Buffer.from(frame.rgba, 'base64'));
    if (process.env.CUBEWRIGHT_KEEP_SHOTS) {
      image.save(path.join(this.work, `${String(++this.shots).padStart(3, '0')}-${name}.png`));
    }
    return image;
  }

  // The page as the browser shows it, saved as a PNG file.
  async screenshot(file) {
    await this.page.screenshot({path: file});
  }

  // True while the page shows the canvas (the program has not ended).
  canvasShown() {
    return this.page.$eval('#canvas', (canvas) => !canvas.hidden);
  }

  // The message box the page shows, as {caption, text, buttons}, or null.
  messageBox() {
    return this.page.evaluate(() => {
      const dialog = document.getElementById('message-box');
      if (!dialog.open) {
        return null;
      }
      return {
        caption: document.getElementById('message-caption').textContent,
        text: document.getElementById('message-text').textContent,
        buttons: [...document.querySelectorAll('#message-buttons button')].map((b) => b.textContent),
      };
    });
  }

  // Waits for a message box and answers it with the button labelled `label`; returns
  // the box as messageBox() gives it.
  async answer(label, seconds = 10) {
    const box = await this.until(seconds, 'no message box came', () => this.messageBox());
    const buttons = await this.page.$$('#message-buttons button');
    const index = box.buttons.indexOf(label);
    if (index < 0) {
      throw new Error(`the box "${box.caption}: ${box.text}" has no button ${label}`);
    }
    await buttons[index].click();
    return box;
  }

  // True once the page says that the program has ended.
  endedShown() {
    return this.page.$eval('#ended', (note) => !note.hidden);
  }

  // Whether the canvas fills the screen.
  isFullscreen() {
    return this.page.evaluate(() => document.fullscreenElement === document.getElementById('canvas'));
  }

  // Hides the page behind another tab, as a user switching tabs does, and shows it again.
  async hide() {
    this.other = this.other || await this.browser.newPage();
    await this.other.bringToFront();
  }

  // The page comes to the front, and the keys go to the canvas again once the browser has
  // given the focus back to it, which it does a moment after the tab is shown.
  async show() {
    await this.page.bringToFront();
    await this.until(10, 'the canvas did not get the focus back', () => this.page.evaluate(() =>
      document.hasFocus() && document.activeElement === document.querySelector('canvas')));
  }

  // Takes screenshots until one shows a frame with the overlay's first line.
  shotDrawn(name, seconds = 10) {
    return this.until(seconds, `${name}: no frame with the overlay text`, async () => {
      const image = await this.shot(name);
      return whiteCount(image, kLine1) > 100 ? image : null;
    });
  }

  // Fails unless frames are being drawn: two screenshots 0.3 s apart both show the
  // overlay's first line and differ (the background cubes tumble every frame).
  async expectFramesComing(name) {
    const first = await this.shotDrawn(`${name}-a`);
    await sleep(300);
    const second = await this.shot(`${name}-b`);
    if (whiteCount(second, kLine1) <= 100) {
      throw new Error(`${name}: the overlay text is gone from a later frame`);
    }
    if (differentPixels(first, second) === 0) {
      throw new Error(`${name}: two screenshots 0.3 s apart are the same`);
    }
    return second;
  }
}

// RGB pixels of a screenshot, read with ImageMagick.
class Image {
  constructor(file, width, height, rgb) {
    Object.assign(this, {file, width, height, rgb});
  }

  static read(file) {
    const size = childProcess.execFileSync(kConvert, [file, '-format', '%w %h', 'info:']).toString().split(' ');
    const rgb = childProcess.execFileSync(kConvert, [file, '-depth', '8', 'rgb:-'], {maxBuffer: 64 << 20});
    return new Image(file, Number(size[0]), Number(size[1]), rgb);
  }

  // From GL's read-back: RGBA rows, the bottom one first.
  static fromBottomUpRGBA(width, height, rgba) {
    const rgb = Buffer.alloc(width * height * 3);
    for (let y = 0; y < height; ++y) {
      for (let x = 0; x < width; ++x) {
        const from = ((height - 1 - y) * width + x) * 4;
        const to = (y * width + x) * 3;
        rgb[to] = rgba[from];
        rgb[to + 1] = rgba[from + 1];
        rgb[to + 2] = rgba[from + 2];
      }
    }
    return new Image(null, width, height, rgb);
  }

  save(file) {
    childProcess.execFileSync(kConvert, ['-size', `${this.width}x${this.height}`, '-depth', '8',
      'rgb:-', file], {input: this.rgb});
    this.file = file;
  }

  pixel(x, y) {
    const at = (y * this.width + x) * 3;
    return [this.rgb[at], this.rgb[at + 1], this.rgb[at + 2]];
  }
}

// The window pixels of the centres of the 27 stickers that face the viewer on the main
// cube with no view rotation, as [x, y] (origin top left): front, up and left face, each
// row by row. The cube stands at (0, 0, -15) in eye space, tilted 45 degrees about the
// x-y diagonal, under a 45-degree perspective on 640x480; stickers are 4/3 apart, their
// centres 2 out from the cube's centre. (The desktop tests' e2e_sticker_points.)
function stickerPoints() {
  const s = 4 / 3;
  const k = Math.sqrt(0.5);
  const c = Math.cos(Math.PI / 4);
  const sn = Math.sin(Math.PI / 4);
  const f = Math.cos(Math.PI / 8) / Math.sin(Math.PI / 8);
  const aspect = kWidth / kHeight;
  const points = [];
  for (let face = 0; face < 3; ++face) {
    for (let row = 0; row < 3; ++row) {
      for (let col = 0; col < 3; ++col) {
        const [x, y, z] = [
          [(col - 1) * s, (1 - row) * s, 2],
          [(col - 1) * s, 2, (row - 1) * s],
          [-2, (1 - row) * s, (col - 1) * s],
        ][face];
        const d = k * x + k * y;
        const X = x * c + k * z * sn + k * d * (1 - c);
        const Y = y * c - k * z * sn + k * d * (1 - c);
        const Z = z * c + k * (y - x) * sn - 15;
        const wx = 320 * (1 + f / aspect * X / -Z);
        const wy = 240 * (1 + f * Y / -Z);
        points.push([Math.trunc(wx), 479 - Math.trunc(wy)]);
      }
    }
  }
  return points;
}

const kColours = {W: [255, 255, 255], G: [0, 255, 0], R: [255, 0, 0], Y: [255, 255, 0],
  B: [0, 0, 255], O: [255, 128, 0]};

// The colours of those 27 stickers, as one word of letters: W white, G green, R red,
// Y yellow, B blue, O orange, ? anything else (a sticker in mid-turn, or nothing drawn).
function stickers(image) {
  return stickerPoints().map(([x, y]) => {
    const pixel = image.pixel(x, y);
    const found = Object.entries(kColours).find(([, want]) =>
      want.every((value, i) => Math.abs(pixel[i] - value) <= 40));
    return found ? found[0] : '?';
  }).join('');
}

const kSolved = 'WWWWWWWWWRRRRRRRRRBBBBBBBBB';

// The overlay lines as rectangles of the canvas: line 1 "Auto solve is ..." near the top
// left, line 2 "Moves Remaining: ..." near the bottom left.
const kLine1 = {x: 0, y: 14, width: 240, height: 34};
const kLine2 = {x: 0, y: 446, width: 280, height: 34};

// The overlay text is the only pure white near the corners.
function isWhite([r, g, b]) {
  return r > 247 && g > 247 && b > 247;
}

function whiteCount(image, rect) {
  let count = 0;
  for (let y = rect.y; y < rect.y + rect.height; ++y) {
    for (let x = rect.x; x < rect.x + rect.width; ++x) {
      count += isWhite(image.pixel(x, y)) ? 1 : 0;
    }
  }
  return count;
}

// Which pixels of the rectangle are white, as a string: equal for the same text drawn by
// the same font in the same place, whatever is behind it.
function whiteMask(image, rect) {
  let mask = '';
  for (let y = rect.y; y < rect.y + rect.height; ++y) {
    for (let x = rect.x; x < rect.x + rect.width; ++x) {
      mask += isWhite(image.pixel(x, y)) ? '1' : '0';
    }
  }
  return mask;
}

// Number of pixels that differ between two images of one size.
function differentPixels(a, b) {
  let count = 0;
  for (let i = 0; i < a.rgb.length; i += 3) {
    if (a.rgb[i] !== b.rgb[i] || a.rgb[i + 1] !== b.rgb[i + 1] || a.rgb[i + 2] !== b.rgb[i + 2]) {
      ++count;
    }
  }
  return count;
}

function sleep(ms) {
  return new Promise((resolve) => setTimeout(resolve, ms));
}

// Calls `check` every 100 ms until it returns something true, for up to `seconds`, and
// returns that; then fails with `message`. Frames come late on a loaded machine, so the
// tests wait for an effect instead of sleeping a fixed time.
async function until(seconds, message, check) {
  const deadline = Date.now() + seconds * 1000;
  for (;;) {
    const result = await check();
    if (result) {
      return result;
    }
    if (Date.now() > deadline) {
      throw new Error(`${message} (waited ${seconds} s)`);
    }
    await sleep(100);
  }
}

module.exports = {kSoftwareWebGl, open, launch, serve, webglContextTime, Image, stickers, stickerPoints, kSolved, kLine1, kLine2,
  whiteCount, whiteMask, differentPixels, sleep, until, kWidth, kHeight};
