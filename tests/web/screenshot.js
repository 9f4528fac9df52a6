// The README's picture of the page: Cubewright in headless Chromium, solving, the page
// around it as a browser window shows it; with `phone`, the page on a phone's screen
// (docs/playing.md's picture). scripts/screenshot-web runs it.
//
//   node tests/web/screenshot.js SITE OUTPUT.png [phone]
'use strict';

const h = require('./harness.js');

async function main() {
  const [site, output, kind] = process.argv.slice(2);
  const phone = {
    viewport: {width: 390, height: 844, deviceScaleFactor: 1, isMobile: true, hasTouch: true},
    userAgent: 'Mozilla/5.0 (Linux; Android 14; Pixel 8) AppleWebKit/537.36 (KHTML, like Gecko) ' +
      'Chrome/130.0.0.0 Mobile Safari/537.36',
  };
  const s = await h.open({site, name: 'screenshot', viewport: {width: 720, height: 600},
    device: kind === 'phone' ? phone : undefined});
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
