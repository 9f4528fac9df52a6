// The README's picture of the page: Cubewright in headless Chromium, solving, the page
// around it as a browser window shows it. scripts/screenshot-web runs it.
//
//   node tests/web/screenshot.js SITE OUTPUT.png
'use strict';

const h = require('./harness.js');

async function main() {
  const [site, output] = process.argv.slice(2);
  const s = await h.open({site, name: 'screenshot', viewport: {width: 720, height: 600}});
  try {
    await s.shotDrawn('start');
    // A few seconds into a solve: the count on screen and a layer in mid-turn.
    await s.key('KeyM', 2);
    await s.waitFrames(150);
    await s.screenshot(output);
  } finally {
    await s.close();
  }
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
