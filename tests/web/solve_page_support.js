// What the solve page's browser tests need around them: the built site served on a free
// local port, and the system's Chromium started headless with software WebGL.
'use strict';

const fs = require('node:fs');
const http = require('node:http');
const path = require('node:path');
const puppeteer = require('puppeteer-core');
const { kSoftwareWebGl } = require('./harness.js');

const kTypes = {
  '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css',
  '.wasm': 'application/wasm', '.png': 'image/png', '.json': 'application/json',
};

/** Serves the files under `root` on 127.0.0.1; resolves to { url, close }. `delays` holds
 * the milliseconds to wait before answering for some paths, as a slow network would. */
function serveSite(root, { delays = {} } = {}) {
  const base = path.resolve(root);
  const server = http.createServer((request, response) => {
    const name = path.normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname));
    const file = path.join(base, name);
    if (!file.startsWith(base + path.sep) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) {
      response.writeHead(404).end();
      return;
    }
    setTimeout(() => {
      response.writeHead(200, { 'Content-Type': kTypes[path.extname(file)] ?? 'application/octet-stream' });
      fs.createReadStream(file).pipe(response);
    }, delays[name] ?? 0);
  });
  return new Promise((resolve) => {
    server.listen(0, '127.0.0.1', () => resolve({
      url: `http://127.0.0.1:${server.address().port}`,
      close: () => server.close(),
    }));
  });
}

/** Debian's Chromium, headless, with WebGL on the CPU. */
function launchBrowser() {
  return puppeteer.launch({
    executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
    args: ['--no-sandbox', ...kSoftwareWebGl],
  });
}

module.exports = { serveSite, launchBrowser };
