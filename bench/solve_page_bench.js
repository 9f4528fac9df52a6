// The solve page's speed in headless Chromium: from a fresh page load (the solver's
// tables included) to the first short solution, then one short solve after another,
// and what the page's own files weigh gzipped. Prints its figures.
//   NODE_PATH=... node bench/solve_page_bench.js SITE_DIR [LOADS] [SOLVES]
'use strict';

const fs = require('node:fs');
const path = require('node:path');
const zlib = require('node:zlib');
const { serveSite, launchBrowser } = require('../tests/web/solve_page_support.js');

const [site = 'build/web/site', loads = '5', solves = '20'] = process.argv.slice(2);
const kPageFiles = ['solve.html', 'solve.css', 'solve.js', 'cube_view.js', 'solve_worker.js',
  'solve_core.js', 'solve_core.wasm'];

const ms = (value) => `${value.toFixed(0)} ms`;
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const solutionShown = () => /^solution:/.test(document.getElementById('solution').textContent);

async function main() {
  const server = await serveSite(site);
  const browser = await launchBrowser();
  // Random-state cubes to solve, drawn on the page itself by its Random button.
  const cubes = [];

  const firstTimes = [];
  const steps = [];
  for (let load = 0; load < Number(loads); ++load) {
    // A fresh context each time: nothing cached, the tables built anew.
    const context = await browser.createBrowserContext();
    const page = await context.newPage();
    const cube = 'FLUDUUBDFDFFURLRRDLBLDFRUFFBRDRDBBLBLLDULFLDRRFUUBBRBU';
    await page.goto(`${server.url}/solve.html#facelets=${cube}`);
    await page.waitForSelector('body[data-ready]');
    await page.click('#solve');
    await page.waitForFunction(solutionShown, { timeout: 60000 });
    // From the start of navigation, as the browser counts it, to the solution on screen.
    const { now, pageReadyAt, tablesReadyAt } = await page.evaluate(() => ({
      now: performance.now(), ...window.solvePageTimings }));
    firstTimes.push(now);
    steps.push(`page ready ${ms(pageReadyAt)}, tables ready ${ms(tablesReadyAt)}, solution ${ms(now)}`);
    if (load === 0) {
      for (let i = 0; i < Number(solves); ++i) {
        await page.click('#random');
        await page.waitForFunction(() => document.getElementById('scramble').hidden === false &&
          !document.getElementById('random').disabled);
        cubes.push(await page.$eval('#facelets', (field) => field.value));
      }
    }
    await context.close();
  }

  const page = await browser.newPage();
  await page.goto(`${server.url}/solve.html`);
  await page.waitForSelector('body[data-ready]');
  await page.waitForFunction(() => window.solvePageTimings?.tablesMilliseconds !== undefined);
  const tables = await page.evaluate(() => window.solvePageTimings.tablesMilliseconds);
  const solveTimes = [];
  for (const cube of cubes) {
    await page.$eval('#facelets', (field, text) => {
      field.value = text;
      field.dispatchEvent(new Event('input'));
    }, cube);
    await page.click('#solve');
    await page.waitForFunction(solutionShown, { timeout: 60000 });
    solveTimes.push(await page.evaluate(() => window.solvePageTimings.lastSolveMilliseconds));
  }
  await browser.close();
  server.close();

  let bytes = 0;
  let gzipped = 0;
  for (const name of kPageFiles) {
    const data = fs.readFileSync(path.join(site, name));
    bytes += data.length;
    gzipped += zlib.gzipSync(data, { level: 9 }).length;
  }
  console.log(`fresh load to first short solution: median ${ms(median(firstTimes))}, ` +
    `max ${ms(Math.max(...firstTimes))} (${firstTimes.length} loads; tables ${ms(tables)} in the worker)`);
  for (const line of steps) console.log(`  ${line}`);
  console.log(`later short solves: median ${ms(median(solveTimes))}, ` +
    `max ${ms(Math.max(...solveTimes))} (${solveTimes.length} random-state cubes, click to solution)`);
  console.log(`page files: ${(bytes / 1024).toFixed(1)} KB, ${(gzipped / 1024).toFixed(1)} KB gzipped`);
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
