// The browser build's benchmark: the site's size (and gzipped), the time from navigation to
// the first drawn frame in headless Chromium, and the frame times of the real page while
// the background cubes play and while the main cube solves, with the desktop's frame_bench
// run in the same go for its figures beside them. Run it on an otherwise idle machine.
//
//   node bench/web_bench.js [SITE] [FRAME_BENCH]
//     (defaults: build/web/site and build/release/bench/frame_bench; bench/web-bench
//      builds both first)
'use strict';

const childProcess = require('node:child_process');
const fs = require('node:fs');
const path = require('node:path');
const zlib = require('node:zlib');
const h = require('../tests/web/harness.js');

const root = path.resolve(__dirname, '..');
const site = path.resolve(process.argv[2] || path.join(root, 'build/web/site'));
const frameBench = path.resolve(process.argv[3] || path.join(root, 'build/release/bench/frame_bench'));
const kLoads = 5;
const kFrames = 600;

// Targets from the issue of this build.
const kSiteTarget = 1 << 20;
const kGzipTarget = 400 << 10;
const kFirstFrameTargetMs = 1000;

function kilobytes(bytes) {
  return `${(bytes / 1024).toFixed(1)} KB`;
}

function percentile(sorted, p) {
  return sorted[Math.min(sorted.length - 1, Math.floor(p * sorted.length))];
}

function summary(values) {
  const sorted = [...values].sort((a, b) => a - b);
  return `median ${percentile(sorted, 0.5).toFixed(2)} ms, p99 ${percentile(sorted, 0.99).toFixed(2)} ms, ` +
    `worst ${sorted[sorted.length - 1].toFixed(2)} ms`;
}

function siteSize() {
  let total = 0;
  let gzipped = 0;
  const lines = [];
  for (const name of fs.readdirSync(site).sort()) {
    const data = fs.readFileSync(path.join(site, name));
    const packed = zlib.gzipSync(data, {level: 9}).length;
    total += data.length;
    gzipped += packed;
    lines.push(`  ${name.padEnd(18)} ${kilobytes(data.length).padStart(10)} ${kilobytes(packed).padStart(10)} gzipped`);
  }
  console.log(`site ${site}:`);
  console.log(lines.join('\n'));
  console.log(`  total              ${kilobytes(total).padStart(10)} ${kilobytes(gzipped).padStart(10)} gzipped` +
    ` (targets: at most ${kilobytes(kSiteTarget)}, ${kilobytes(kGzipTarget)} gzipped)`);
  return total <= kSiteTarget && gzipped <= kGzipTarget;
}

// Per frame: the work of the frames a refresh ran, and the time from one drawn frame to
// the next, over `frames` frames from now.
async function framePhase(s, frames) {
  const start = await s.framesRun();
  await s.waitFrames(frames, start, 600);
  const {refreshes} = await s.page.evaluate(() => cubewrightPage.frameTimes());
  const recent = refreshes.slice(-Math.min(refreshes.length, frames));
  const work = recent.map(([, ms, count]) => ms / count);
  const intervals = recent.slice(1).map(([when], i) => when - recent[i][0]);
  return {work, intervals};
}

async function main() {
  let met = siteSize();

  // The first frame in a browser started for the page includes the browser's own start of
  // WebGL (its software GPU process here), which a bare tab shows on its own; in a browser
  // that has been running, only the page's own work is left.
  const contextTimes = [];
  for (let i = 0; i < kLoads; ++i) {
    const browser = await h.launch({});
    try {
      contextTimes.push(await h.webglContextTime(browser));
    } finally {
      await browser.close();
    }
  }
  const firstFrame = async (webglStarted) => {
    const times = [];
    for (let i = 0; i < kLoads; ++i) {
      const s = await h.open({site, name: 'bench', webglStarted});
      try {
        times.push(await h.until(30, 'no frame drawn', () =>
          s.page.evaluate(() => cubewrightPage.frameTimes().firstFrameAt)));
      } finally {
        await s.close();
      }
    }
    return times;
  };
  const coldFrames = await firstFrame(false);
  const warmFrames = await firstFrame(true);
  console.log(`\nnavigation to the first drawn frame, ${kLoads} loads each:`);
  console.log(`  in a browser started for the page       ${summary(coldFrames)}` +
    ` (target: at most ${kFirstFrameTargetMs} ms)`);
  console.log(`  in a running browser (WebGL started)    ${summary(warmFrames)}` +
    ` (target: at most ${kFirstFrameTargetMs} ms)`);
  console.log(`  a bare tab's first WebGL context in a new browser ${summary(contextTimes)}`);
  met = met && Math.max(...coldFrames, ...warmFrames) <= kFirstFrameTargetMs;

  const s = await h.open({site, name: 'bench', webglStarted: true});
  try {
    await h.until(30, 'no frame drawn', () => s.page.evaluate(() => cubewrightPage.frameTimes().firstFrameAt));
    const idle = await framePhase(s, kFrames);
    await s.key('KeyM', 2);
    const solving = await framePhase(s, kFrames);
    console.log(`page, ${kFrames} frames, background cubes playing:`);
    console.log(`  work of a frame        ${summary(idle.work)}`);
    console.log(`  frame to frame         ${summary(idle.intervals)}`);
    console.log(`page, ${kFrames} frames, main cube solving:`);
    console.log(`  work of a frame        ${summary(solving.work)}`);
    console.log(`  frame to frame         ${summary(solving.intervals)}`);
  } finally {
    await s.close();
  }

  console.log(`\ndesktop, ${frameBench} ${kFrames}:`);
  if (fs.existsSync(frameBench)) {
    const run = childProcess.spawnSync(frameBench, [String(kFrames)], {encoding: 'utf8',
      env: {...process.env, SDL_VIDEODRIVER: 'offscreen'}});
    process.stdout.write((run.stdout || '').replace(/^/gm, '  '));
  } else {
    console.log('  (not built: cmake --build --preset release --target frame_bench)');
  }
  console.log(met ? '\nweb targets met' : '\nweb targets NOT met');
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
