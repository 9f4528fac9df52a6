// The solve page in headless Chromium, used as a person uses it: painting, typing, the
// address, the checks, both solvers against cubewright-solve, and following a solution
// on the 3D cube. Run by ctest with the built site, the Linux cubewright-solve and
// puppeteer-core:
//   SOLVE_PAGE_SITE=build/web/site CUBEWRIGHT_SOLVE=build/release/tools/cubewright-solve \
//   NODE_PATH=tests/web/node_modules node tests/web/solve_page.test.js
'use strict';

const assert = require('node:assert/strict');
const { execFileSync, spawnSync } = require('node:child_process');
const { after, before, describe, test } = require('node:test');
const { serveSite, launchBrowser } = require('./solve_page_support.js');

const kSolved = 'UUUUUUUUURRRRRRRRRFFFFFFFFFDDDDDDDDDLLLLLLLLLBBBBBBBBB';
const kOneTurn = 'UUUUUULLLURRURRURRFFFFFFFFFRRRDDDDDDLLDLLDLLDBBBBBBBBB'; // F from solved
const kScrambled = 'FLUDUUBDFDFFURLRRDLBLDFRUFFBRDRDBBLBLLDULFLDRRFUUBBRBU';

const solveTool = process.env.CUBEWRIGHT_SOLVE;
if (!solveTool || !require('node:fs').existsSync(solveTool)) {
  // The page is held to the Linux build's answers; without it there is nothing to compare.
  console.log(`solve page tests skipped: no Linux cubewright-solve at "${solveTool}"`);
  process.exit(77);
}
// Once the tool has a choice of tables, the page's are the small ones.
const tableOption = /--tables/.test(execFileSync(solveTool, ['--help'], { encoding: 'utf8' }))
  ? ['--tables', 'small'] : [];

/** What cubewright-solve prints for `facelets`: its solution line or its message. */
function tool(facelets, ...options) {
  const run = spawnSync(solveTool, [...options, '--facelets', facelets], { encoding: 'utf8' });
  if (run.status === 0) return run.stdout.split('\n').find((line) => line.startsWith('solution:'));
  return toolMessage([...options, '--facelets', facelets]);
}

/** The message cubewright-solve prints for `args`. */
function toolMessage(args) {
  const run = spawnSync(solveTool, args, { encoding: 'utf8' });
  assert.equal(run.status, 2);
  return run.stderr.trim().replace(/^cubewright-solve: /, '');
}

/** `text` with the letters at `positions` (0-based) replaced by `letters`. */
function edited(text, positions, letters) {
  const out = [...text];
  positions.forEach((position, i) => { out[position] = letters[i]; });
  return out.join('');
}

let site;
let browser;

before(async () => {
  site = await serveSite(process.env.SOLVE_PAGE_SITE);
  browser = await launchBrowser();
});

after(async () => {
  await browser?.close();
  site?.close();
});

async function open(hash = '', width = 1100) {
  const page = await browser.newPage();
  page.errors = [];
  page.on('pageerror', (error) => page.errors.push(error.message));
  await page.setViewport({ width, height: 900 });
  await page.goto(`${site.url}/solve.html${hash}`);
  await page.waitForSelector('body[data-ready]');
  return page;
}

const text = (page, selector) => page.$eval(selector, (element) => element.textContent);
const value = (page, selector) => page.$eval(selector, (element) => element.value);
const markedStickers = (page) => page.$$eval('.sticker.marked', (list) => list.map((s) => Number(s.dataset.position)));
const solveDisabled = (page) => page.$eval('#solve', (button) => button.disabled);

async function typeFacelets(page, facelets) {
  await page.$eval('#facelets', (field) => { field.value = ''; });
  await page.type('#facelets', facelets);
}

async function solveWith(page, method) {
  await page.click(`input[name="method"][value="${method}"]`);
  await page.click('#solve');
  await page.waitForFunction(() => /^solution:/.test(document.getElementById('solution').textContent),
    { timeout: 60000 });
  return text(page, '#solution');
}

describe('entering a cube', () => {
  test('clicking stickers paints the net, the string and the address; a reload keeps it', async () => {
    const page = await open();
    await page.click('#clear');
    assert.match(await text(page, '#status'), /^48 stickers are not painted yet/);
    // One row by dragging across it, the rest one click at a time.
    await page.click('#palette button[data-letter="U"]');
    const first = await page.$('.sticker[data-position="0"]');
    const third = await page.$('.sticker[data-position="2"]');
    const from = await first.boundingBox();
    const to = await third.boundingBox();
    await page.mouse.move(from.x + 5, from.y + 5);
    await page.mouse.down();
    await page.mouse.move(to.x + 5, to.y + 5, { steps: 8 });
    await page.mouse.up();
    for (let position = 3; position < 54; ++position) {
      if (position % 9 === 4) continue;
      await page.click(`#palette button[data-letter="${kOneTurn[position]}"]`);
      await page.click(`.sticker[data-position="${position}"]`);
    }
    assert.equal(await value(page, '#facelets'), kOneTurn);
    assert.equal(await page.evaluate(() => location.hash), `#facelets=${kOneTurn}`);
    assert.equal(await text(page, '#status'), 'The cube can be solved.');
    assert.equal(await page.$eval('#counts', (c) => c.textContent), 'U 9R 9F 9D 9L 9B 9');

    await page.reload();
    await page.waitForSelector('body[data-ready]');
    assert.equal(await value(page, '#facelets'), kOneTurn);
    assert.equal(await page.$eval('.sticker[data-position="6"]', (s) => s.getAttribute('aria-label')),
      'Up face, row 3, column 1: blue (L)');
    await page.close();
  });

  test('the keyboard moves between stickers and paints them', async () => {
    const page = await open();
    await page.focus('.sticker[data-position="4"]');
    // From the up centre: right, then down twice into the front face's top row.
    for (const key of ['ArrowRight', 'ArrowDown', 'ArrowDown']) await page.keyboard.press(key);
    await page.keyboard.press('b');
    // Painting moves on to the next sticker, over a centre.
    assert.equal(await page.evaluate(() => document.activeElement.dataset.position), '21');
    assert.equal(await value(page, '#facelets'), edited(kSolved, [20], 'B'));
    assert.match(await text(page, '#status'), /^the letter F appears 8 times/);
    for (const key of ['l', 'l']) await page.keyboard.press(key);
    assert.equal(await value(page, '#facelets'), edited(kSolved, [20, 21, 23], 'BLL'));
    assert.equal(await page.evaluate(() => document.activeElement.dataset.position), '24');
    await page.close();
  });

  test('centres stay; Undo and Ctrl+Z take back strokes and keys; the palette names colours', async () => {
    const page = await open();
    assert.match(await page.$eval('#palette button[data-letter="F"]', (b) => b.textContent), /^white/);
    // A drag across the up face's middle row with yellow paints both sides, not the centre.
    await page.click('#palette button[data-letter="B"]');
    const boxes = await Promise.all([3, 5].map((p) => page.$(`.sticker[data-position="${p}"]`).then((s) => s.boundingBox())));
    await page.mouse.move(boxes[0].x + 4, boxes[0].y + 4);
    await page.mouse.down();
    await page.mouse.move(boxes[1].x + 4, boxes[1].y + 4, { steps: 10 });
    await page.mouse.up();
    const stroke = edited(kSolved, [3, 5], 'BB');
    assert.equal(await value(page, '#facelets'), stroke);
    await page.focus('.sticker[data-position="4"]');
    await page.keyboard.press('d');
    assert.equal(await value(page, '#facelets'), stroke);

    await page.focus('.sticker[data-position="0"]');
    await page.keyboard.press('l');
    assert.equal(await value(page, '#facelets'), edited(stroke, [0], 'L'));
    await page.keyboard.down('Control');
    await page.keyboard.press('z');
    await page.keyboard.up('Control');
    assert.equal(await value(page, '#facelets'), stroke);
    await page.click('#undo');
    assert.equal(await value(page, '#facelets'), kSolved);
    assert.ok(await page.$eval('#undo', (b) => b.disabled));
    assert.deepEqual(page.errors, []);
    await page.close();
  });

  test('unknown parameters in the address are ignored', async () => {
    const page = await open(`#x=1&facelets=${kOneTurn}&utm_source=mail`);
    assert.equal(await value(page, '#facelets'), kOneTurn);
    assert.equal(await text(page, '#status'), 'The cube can be solved.');
    await page.close();
  });

  test('opened from the disk, both pages say to serve the folder', async () => {
    const page = await browser.newPage();
    for (const file of [require('node:path').resolve(process.env.SOLVE_PAGE_SITE, 'solve.html'),
      require('node:path').resolve(__dirname, '../../platform/web/index.html')]) {
      await page.goto(`file://${file}`);
      assert.match(await page.$eval('#served-only', (p) => (p.hidden ? '' : p.textContent)),
        /Serve the folder instead/, file);
    }
    await page.close();
  });

  test('a typed string and typed moves set the net', async () => {
    const page = await open();
    await typeFacelets(page, kScrambled);
    const labels = await page.$$eval('.sticker', (list) => list.map((s) => s.getAttribute('aria-label')));
    assert.match(labels[0], /: white \(F\)$/);
    assert.match(labels[53], /: red \(U\)$/);
    assert.equal(await page.evaluate(() => location.hash), `#facelets=${kScrambled}`);

    await page.type('#moves', 'F');
    await page.keyboard.press('Enter');
    assert.equal(await value(page, '#facelets'), kOneTurn);
    await page.$eval('#moves', (field) => { field.value = ''; });
    await page.type('#moves', 'R X');
    await page.keyboard.press('Enter');
    assert.equal(await text(page, '#status'), toolMessage(['R', 'X']));
    assert.ok(await solveDisabled(page));

    // Random shows its scramble, and that scramble played on a solved cube is the cube.
    await page.click('#random');
    await page.waitForFunction(() => !document.getElementById('scramble').hidden, { timeout: 30000 });
    const drawn = await value(page, '#facelets');
    const scramble = (await text(page, '#scramble')).replace(/^scramble: /, '');
    assert.equal(await text(page, '#status'), 'The cube can be solved.');
    await page.$eval('#moves', (field) => { field.value = ''; });
    await page.type('#moves', scramble);
    await page.keyboard.press('Enter');
    assert.equal(await value(page, '#facelets'), drawn);
    await page.close();
  });
});

describe('checking a cube', () => {
  test('each fault gets the tool\'s message, marks the piece it names, and cannot be solved', async () => {
    const page = await open();
    const cases = [
      // A twisted corner: URF turned in place.
      { facelets: edited(kSolved, [8, 9, 20], 'FUR'), marked: [8, 9, 20] },
      // A flipped edge: UF.
      { facelets: edited(kSolved, [7, 19], 'FU'), marked: [7, 19] },
      // Two edges swapped: UR and UF.
      { facelets: edited(kSolved, [10, 19], 'FR'), marked: [5, 7, 10, 19] },
      // The up and front centres exchanged.
      { facelets: edited(kSolved, [4, 22], 'FU'), marked: [4] },
      // A corner no cube has: up, right and left.
      { facelets: edited(kSolved, [20, 38], 'LF'), marked: [] },
      // The edge UF twice and UR missing, DR twice and DF missing.
      { facelets: edited(kSolved, [10, 25], 'FR'), marked: [] },
    ];
    for (const { facelets } of cases) {
      await typeFacelets(page, facelets);
      const message = tool(facelets);
      assert.doesNotMatch(message, /^solution/, facelets);
      assert.equal(await text(page, '#status'), message);
      assert.ok(await solveDisabled(page), message);
    }
    // The pieces the messages name are marked on the net, with a marker that is not red.
    for (const { facelets, marked } of cases.slice(0, 3)) {
      await typeFacelets(page, facelets);
      assert.deepEqual(await markedStickers(page), marked, await text(page, '#status'));
    }
    assert.equal(await page.$eval('.sticker.marked', (s) => getComputedStyle(s).outlineColor), 'rgb(0, 0, 0)');
    await typeFacelets(page, cases[3].facelets);
    assert.deepEqual(await markedStickers(page), [4]);
    await typeFacelets(page, cases[4].facelets);
    assert.match(await text(page, '#status'), /^the corner at URF shows/);
    assert.deepEqual(await markedStickers(page), [8, 9, 20]);
    await typeFacelets(page, cases[5].facelets);
    assert.match(await text(page, '#status'), /^the edge UF appears twice/);
    assert.deepEqual(await markedStickers(page), [5, 7, 10, 19]);

    // An incomplete net says what is missing, and nothing is sent to a solver.
    await typeFacelets(page, edited(kSolved, [0, 1, 22], '..U'));
    assert.equal(await text(page, '#status'),
      '2 stickers are not painted yet: red (U) needs 1 more, white (F) needs 1 more.');
    assert.ok(await solveDisabled(page));
    await page.close();
  });

  test('markup and overlong text in the address are judged as text and run nothing', async () => {
    for (const payload of ['<img src=x onerror="window.pwned=1">',
      '%3Cscript%3Ewindow.pwned%3D1%3C%2Fscript%3E', 'U'.repeat(100000)]) {
      const page = await open(`#facelets=${payload}`);
      const shown = decodeURIComponent(payload);
      assert.equal(await text(page, '#status'), tool(shown));
      assert.equal(await page.evaluate(() => window.pwned), undefined);
      assert.equal(await page.$$eval('img, main script', (list) => list.length), 0);
      assert.ok(await solveDisabled(page));
      assert.deepEqual(page.errors, []);
      await page.close();
    }
  });
});

describe('solving', () => {
  test('both methods print what cubewright-solve prints', async () => {
    const page = await open();
    for (const facelets of [kSolved, kOneTurn, kScrambled]) {
      await typeFacelets(page, facelets);
      assert.equal(await solveWith(page, 'short'), tool(facelets, '--short', ...tableOption));
      await typeFacelets(page, facelets);
      assert.equal(await solveWith(page, 'lbl'), tool(facelets, '--compact'));
    }
    await page.close();
  });

  test('the page keeps running while the solver prepares its tables and solves', async () => {
    // The worker arrives late, so that Solve is pressed before its tables are built,
    // however fast the machine.
    const slowSite = await serveSite(process.env.SOLVE_PAGE_SITE, { delays: { '/solve_worker.js': 1500 } });
    const page = await browser.newPage();
    // A timer that ticks every 20 ms.
    await page.evaluateOnNewDocument(() => {
      window.ticks = [];
      setInterval(() => window.ticks.push(performance.now()), 20);
    });
    await page.goto(`${slowSite.url}/solve.html#facelets=${kScrambled}`);
    await page.waitForSelector('body[data-ready]');
    const clicked = await page.evaluate(() => {
      document.getElementById('solve').click();
      return performance.now();
    });
    assert.match(await text(page, '#solver-state'), /^Preparing/);
    await page.waitForFunction(() => /^solution:/.test(document.getElementById('solution').textContent),
      { timeout: 60000 });
    const { ticks, now, tables } = await page.evaluate((since) => ({
      ticks: window.ticks.filter((t) => t >= since), now: performance.now(),
      tables: window.solvePageTimings.tablesMilliseconds }), clicked);
    // Had the tables been built on the page, it would have stood still that long.
    const gaps = [...ticks, now].slice(1).map((t, i) => t - ticks[i]);
    assert.ok(Math.max(...gaps) < tables / 2,
      `the page stood still for ${Math.max(...gaps)} ms while the tables took ${tables} ms`);
    await page.close();
    slowSite.close();
  });
});

describe('following a solution', () => {
  const canvasShot = (page) => page.$('#view').then((canvas) => canvas.screenshot({ encoding: 'base64' }));

  test('playing to the end leaves both cubes solved; a step back and forward draws the same', async () => {
    const solvedPage = await open(`#facelets=${kSolved}`);
    const solvedShot = await canvasShot(solvedPage);
    await solvedPage.close();

    const page = await open(`#facelets=${kScrambled}`);
    const start = await canvasShot(page);
    assert.notEqual(start, solvedShot);
    await solveWith(page, 'short');
    await page.select('#speed', '4');
    await page.click('#play');
    await page.waitForFunction(() => /solved\.$/.test(document.getElementById('position').textContent) &&
      !document.getElementById('view').dataset.turning, { timeout: 60000 });
    assert.equal(await value(page, '#facelets'), kSolved);
    assert.equal(await text(page, '#status'), 'The cube can be solved.');
    assert.equal(await canvasShot(page), solvedShot);

    const total = await page.$$eval('#notation button', (list) => list.length);
    // A step has ended when the view no longer turns a layer.
    const settled = (moves) => page.waitForFunction((n) =>
      document.getElementById('position').textContent.startsWith(`${n} of`) &&
      !document.getElementById('view').dataset.turning, {}, moves);
    await page.click('#back');
    await settled(total - 1);
    const oneBack = await canvasShot(page);
    assert.notEqual(oneBack, solvedShot);
    assert.equal(await page.$eval('#notation [aria-current="step"]', (b) => b.textContent),
      await page.$eval(`#notation li:nth-child(${total}) button`, (b) => b.textContent));
    await page.click('#forward');
    await settled(total);
    assert.equal(await canvasShot(page), solvedShot);

    // Going to a move by its place in the notation shows the cube before that move.
    await page.click(`#notation li:nth-child(${total}) button`);
    assert.equal(await canvasShot(page), oneBack);
    await page.click('#notation li:nth-child(1) button');
    assert.equal(await canvasShot(page), start);
    assert.equal(await value(page, '#facelets'), kScrambled);

    // The slider seeks: End, a step back with the arrow key, and a click on its track.
    await page.focus('#seek');
    await page.keyboard.press('End');
    assert.equal(await text(page, '#position'), `${total} of ${total} moves played: solved.`);
    assert.equal(await value(page, '#facelets'), kSolved);
    await page.keyboard.press('ArrowLeft');
    assert.equal(await text(page, '#position'), `${total - 1} of ${total} moves played.`);
    const track = await page.$eval('#seek', (seek) => { const b = seek.getBoundingClientRect(); return [b.left, b.top, b.width, b.height]; });
    await page.mouse.click(track[0] + 6, track[1] + track[3] / 2);
    assert.equal(await text(page, '#position'), `0 of ${total} moves played.`);
    assert.equal(await value(page, '#facelets'), kScrambled);
    await page.close();
  });
});

describe('turning the view', () => {
  test('a drag and the arrow keys turn the 3D cube, and turning back draws it as before', async () => {
    const page = await open(`#facelets=${kScrambled}`);
    const shot = () => page.$('#view').then((canvas) => canvas.screenshot({ encoding: 'base64' }));
    // The shots are taken with the view focused throughout, as its focus ring shows in them.
    await page.focus('#view');
    const start = await shot();
    const same = (a, b) => a === b;
    for (const [there, back] of [['ArrowLeft', 'ArrowRight'], ['ArrowUp', 'ArrowDown']]) {
      await page.keyboard.press(there);
      const turned = await shot();
      assert.ok(!same(turned, start), `${there} turns the view`);
      await page.keyboard.press(back);
      assert.ok(same(await shot(), start), `${there} then ${back} draws the view as before`);
    }

    const box = await (await page.$('#view')).boundingBox();
    const drag = async (dx, dy) => {
      const x = Math.round(box.x + box.width / 2);
      const y = Math.round(box.y + box.height / 2);
      await page.mouse.move(x, y);
      await page.mouse.down();
      await page.mouse.move(x + dx, y + dy, { steps: 4 });
      await page.mouse.up();
    };
    await drag(60, 20);
    assert.ok(!same(await shot(), start), 'a drag turns the view');
    // A drag to the left turns the other way round.
    await drag(-60, -20);
    assert.ok(same(await shot(), start), 'dragging back draws the view as before');
    // The net and the string stay as they were: only the view turned.
    assert.equal(await value(page, '#facelets'), kScrambled);
    await page.close();
  });
});

describe('the site', () => {
  test('the solve page and the program\'s page link to each other', async () => {
    const page = await open();
    await Promise.all([page.waitForNavigation(), page.click('a[href="index.html"]')]);
    assert.match(page.url(), /\/index\.html$/);
    await Promise.all([page.waitForNavigation(), page.click('a[href="solve.html"]')]);
    await page.waitForSelector('body[data-ready]');
    assert.equal(await value(page, '#facelets'), kSolved);
    await page.close();
  });
});

describe('small screens', () => {
  test('at 360 px wide nothing scrolls sideways and every control is on screen', async () => {
    const page = await open(`#facelets=${kOneTurn}`, 360);
    await solveWith(page, 'short');
    const { scrollWidth, outside } = await page.evaluate(() => ({
      scrollWidth: document.documentElement.scrollWidth,
      outside: [...document.querySelectorAll('button, input, select, canvas, a')]
        .filter((element) => element.checkVisibility())
        .map((element) => ({ id: element.id || element.textContent, box: element.getBoundingClientRect() }))
        .filter(({ box }) => box.width === 0 || box.left < 0 || box.right > 360)
        .map(({ id }) => id),
    }));
    assert.ok(scrollWidth <= 360, `the page is ${scrollWidth} px wide`);
    assert.deepEqual(outside, []);
    await page.close();
  });
});

describe('a phone', () => {
  test('every sticker of the net is at least 44 px across and nothing scrolls sideways', async () => {
    const page = await browser.newPage();
    await page.emulate({ viewport: { width: 390, height: 844, deviceScaleFactor: 2, isMobile: true, hasTouch: true },
      userAgent: 'Mozilla/5.0 (Linux; Android 14) Mobile' });
    await page.goto(`${site.url}/solve.html`);
    await page.waitForSelector('body[data-ready]');
    const sizes = await page.$$eval('.sticker', (list) => list.map((s) => {
      const box = s.getBoundingClientRect();
      return Math.min(box.width, box.height);
    }));
    assert.equal(sizes.length, 54);
    assert.ok(Math.min(...sizes) >= 44, `the smallest sticker is ${Math.min(...sizes)} px`);
    assert.ok(await page.evaluate(() => document.documentElement.scrollWidth) <= 390);
    // A tap paints.
    await page.tap('#palette button[data-letter="B"]');
    await page.tap('.sticker[data-position="0"]');
    assert.equal((await value(page, '#facelets'))[0], 'B');
    await page.close();
  });
});
