// The page's frame beside the desktop's: with the same clock at start, the browser build
// and the Linux build (drawing offscreen, tests/render/first_frame.cpp) show the same
// cubes, and the main cube's pixels differ only along the edges, where the two GL
// implementations round differently. Skipped (status 77) without the Linux build.
//
//   node tests/web/compare_test.js    (CUBEWRIGHT_SITE, CUBEWRIGHT_FIRST_FRAME set)
'use strict';

const assert = require('node:assert/strict');
const childProcess = require('node:child_process');
const fs = require('node:fs');
const path = require('node:path');
const {test} = require('node:test');
const h = require('./harness.js');

const kLinuxTool = process.env.CUBEWRIGHT_FIRST_FRAME;
if (!kLinuxTool || !fs.existsSync(kLinuxTool)) {
  console.log(`compare: no Linux build of cubewright-first-frame at ${kLinuxTool}; build the release preset first`);
  process.exit(77);
}

// The main cube's part of the frame; the background cubes tumble from frame to frame and
// the overlay's font is the system's on each side.
const kMainCube = {x: 190, y: 110, width: 270, height: 280};
// Channels further apart than this make a pixel different (the desktop's 16-bit surface
// rounds each channel by up to 8).
const kChannelTolerance = 48;

function differs(a, b) {
  return a.some((value, i) => Math.abs(value - b[i]) > kChannelTolerance);
}

// True when the pixel lies on an edge of either image: some pixel within two of it has
// another colour there.
function onEdge(images, x, y) {
  return images.some((image) => {
    const centre = image.pixel(x, y);
    for (let dy = -2; dy <= 2; ++dy) {
      for (let dx = -2; dx <= 2; ++dx) {
        if (differs(centre, image.pixel(x + dx, y + dy))) {
          return true;
        }
      }
    }
    return false;
  });
}

test('the page draws the same cubes as the desktop for the same clock', async () => {
  for (const seconds of [1765000000, 1765012345]) {
    const linuxFile = path.join(fs.mkdtempSync('/tmp/cubewright-compare-'), 'linux.ppm');
    childProcess.execFileSync(kLinuxTool, [String(seconds), linuxFile],
      {env: {...process.env, SDL_VIDEODRIVER: 'offscreen'}});
    const linux = h.Image.read(linuxFile);
    fs.rmSync(path.dirname(linuxFile), {recursive: true, force: true});

    const s = await h.open({name: 'compare', clockSeconds: seconds});
    let web;
    try {
      web = await s.shotDrawn('frame');
    } finally {
      await s.close();
    }

    const stickers = h.stickers(linux);
    assert.ok(!stickers.includes('?'), `the desktop's frame: ${stickers}`);
    assert.equal(h.stickers(web), stickers, `the main cube at ${seconds}`);

    let different = 0;
    let offEdge = 0;
    for (let y = kMainCube.y; y < kMainCube.y + kMainCube.height; ++y) {
      for (let x = kMainCube.x; x < kMainCube.x + kMainCube.width; ++x) {
        if (differs(web.pixel(x, y), linux.pixel(x, y))) {
          ++different;
          offEdge += onEdge([web, linux], x, y) ? 0 : 1;
        }
      }
    }
    console.log(`compare: clock ${seconds}: ${different} of ${kMainCube.width * kMainCube.height} ` +
      `pixels of the main cube differ, ${offEdge} of them off the edges`);
    assert.equal(offEdge, 0, `${offEdge} pixels differ away from any edge`);
  }
});
