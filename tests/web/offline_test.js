// Cubewright's site without the network: after one visit to the program's page, both pages
// open and work with the network off; and a new build's files replace every old one, the
// page going over to the new build whole. Works on a copy of the built site, which it turns
// into a "new build" as the build would: a changed page and style, and the service worker
// written again by cmake/SiteVersion.cmake.
'use strict';

const assert = require('node:assert/strict');
const childProcess = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const {after, before, test} = require('node:test');
const h = require('./harness.js');

const kRoot = path.resolve(__dirname, '../..');
const site = fs.mkdtempSync(path.join(os.tmpdir(), 'cubewright-offline-site-'));
fs.cpSync(process.env.CUBEWRIGHT_SITE, site, {recursive: true});

let s;
before(async () => {
  s = await h.open({site, name: 'offline'});
});
after(async () => {
  if (s) {
    await s.close();
  }
  fs.rmSync(site, {recursive: true, force: true});
});

// The page is served by the site's worker, with every file kept.
function servedByWorker() {
  return s.until(20, 'the service worker does not serve the page', () => s.page.evaluate(async () =>
    navigator.serviceWorker.controller !== null && (await caches.keys()).length > 0));
}

async function offline(on) {
  // Chromium's own HTTP cache would otherwise answer for the worker.
  await s.page.setCacheEnabled(!on);
  await s.page.setOfflineMode(on);
}

test('after one visit both pages open and work with the network off', async () => {
  await s.shotDrawn('online');
  await servedByWorker();
  await offline(true);
  try {
    await s.page.reload({waitUntil: 'load'});
    await s.expectFramesComing('offline');

    // The solve page, never opened before: its module checks a random cube, and its 3D
    // view draws it.
    await s.page.goto(`${s.url}solve.html`, {waitUntil: 'load'});
    await s.page.waitForSelector('body[data-ready]');
    const view = await s.page.$('#view');
    const before = await view.screenshot({encoding: 'base64'});
    await s.page.click('#random');
    assert.equal(await s.page.$eval('#status', (status) => status.textContent), 'The cube can be solved.');
    await s.until(5, 'the 3D view did not draw the new cube', async () =>
      (await view.screenshot({encoding: 'base64'})) !== before);
  } finally {
    await offline(false);
  }
});

test('a new build replaces every file of the old one, and the page goes over to it', async () => {
  await s.page.goto(s.url, {waitUntil: 'load'});
  await servedByWorker();
  const oldKeys = await s.page.evaluate(() => caches.keys());

  const index = path.join(site, 'index.html');
  fs.writeFileSync(index, fs.readFileSync(index, 'utf8').replace('<title>',
    '<meta name="cubewright-build" content="new">\n<title>'));
  fs.appendFileSync(path.join(site, 'page.css'), '#other-pages { --cubewright-build: new; }\n');
  childProcess.execFileSync('cmake', [`-DSITE_DIR=${site}`,
    `-DTEMPLATE=${path.join(kRoot, 'platform/web/service_worker.js.in')}`,
    '-P', path.join(kRoot, 'cmake/SiteVersion.cmake')]);
  const version = /const kVersion = '([0-9a-f]+)'/.exec(
    fs.readFileSync(path.join(site, 'service-worker.js'), 'utf8'))[1];

  // The next visit finds the new worker; once it has taken over, the page loads again.
  // Chromium checks a worker at most once a minute or so; DevTools' "update on reload" has
  // it check at once, as it would on a visit a while later.
  const devtools = await s.page.target().createCDPSession();
  await devtools.send('ServiceWorker.enable');
  await devtools.send('ServiceWorker.setForceUpdateOnPageLoad', {forceUpdateOnPageLoad: true});
  await s.page.goto(s.url, {waitUntil: 'load'});
  await s.until(30, 'the page did not go over to the new build', () => s.page.evaluate(() =>
    document.querySelector('meta[name="cubewright-build"]') !== null &&
    getComputedStyle(document.getElementById('other-pages')).getPropertyValue('--cubewright-build').trim() === 'new')
    .catch(() => false));
  assert.deepEqual(await s.page.evaluate(() => caches.keys()), [`cubewright-${version}`],
    `the old build's files are still kept beside the new ones (before: ${oldKeys})`);

  await offline(true);
  await s.page.reload({waitUntil: 'load'});
  assert.equal(await s.page.$eval('meta[name="cubewright-build"]', (meta) => meta.content), 'new');
  await s.expectFramesComing('new-build-offline');
});
