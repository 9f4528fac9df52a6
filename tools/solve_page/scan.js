// The solve page's camera scan: the six faces shown to the camera in a stated order, each
// face's nine colours taken from the middle of the cells of a 3 by 3 guide, kept or
// retaken, then read all together by the colour reader. The pictures never leave the
// device: frames are drawn into a canvas on the page, and only the 54 colours are kept.

// The faces in the facelet string's order, each read as the string reads it: which face's
// centre is on top while it faces the camera.
export const kScanOrder = [
  { face: 'U', top: 'B' }, { face: 'R', top: 'U' }, { face: 'F', top: 'U' },
  { face: 'D', top: 'F' }, { face: 'L', top: 'U' }, { face: 'B', top: 'U' },
];
// The guide's side as a share of the picture's shorter side, and the middle of each cell
// that is sampled, as a share of the cell: clear of the black borders between stickers.
const kGuideShare = 0.7;
const kSampleShare = 0.4;

const $ = (id) => document.getElementById(id);
const hex2 = (value) => value.toString(16).padStart(2, '0');

function median(values) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
}

export class Scanner {
  /** `readColours(hex)` reads 54 colours; `onRead(reading)` takes the result; `names`
   * and `faceNames` give each letter's colour and face; `colourOf` its colour on the page. */
  constructor({ readColours, onRead, names, faceNames, colourOf }) {
    Object.assign(this, { readColours, onRead, names, faceNames, colourOf });
    this.stream = null;
    this.faces = [];
    this.pending = null;
    this.canvas = document.createElement('canvas');
    $('scan-take').addEventListener('click', () => this.take());
    $('scan-keep').addEventListener('click', () => this.keep());
    $('scan-retake').addEventListener('click', () => this.showStep());
    $('scan-cancel').addEventListener('click', () => this.close());
  }

  async start() {
    this.stop(); // a second press starts again
    this.faces = [];
    this.pending = null;
    $('scan').hidden = false;
    $('scan-live').hidden = true;
    this.say('Starting the camera\u2026');
    if (!navigator.mediaDevices?.getUserMedia) {
      this.fail('This browser gives the page no camera.');
      return;
    }
    try {
      this.stream = await navigator.mediaDevices.getUserMedia({
        video: { facingMode: 'environment', width: { ideal: 640 }, height: { ideal: 480 } },
        audio: false,
      });
    } catch (error) {
      this.fail(error?.name === 'NotAllowedError'
        ? 'The camera was refused, so the page cannot scan.'
        : 'No camera could be started, so the page cannot scan.');
      return;
    }
    const video = $('camera');
    video.srcObject = this.stream;
    await video.play();
    this.placeGuide();
    $('scan-live').hidden = false;
    this.say('');
    this.showStep();
  }

  fail(text) {
    this.stop();
    $('scan-live').hidden = true;
    this.say(`${text} You can still paint the stickers by hand.`);
    window.solvePageTimings = { ...window.solvePageTimings, scanRefusedAt: performance.now() };
  }

  say(text) {
    $('scan-message').textContent = text;
  }

  /** Sizes the guide to the picture: a square in the middle, a share of its shorter side. */
  placeGuide() {
    const { videoWidth: w, videoHeight: h } = $('camera');
    const side = kGuideShare * Math.min(w, h);
    $('scan-view').style.aspectRatio = `${w} / ${h}`;
    $('scan-guide').style.width = `${(100 * side) / w}%`;
    $('scan-guide').style.height = `${(100 * side) / h}%`;
  }

  showStep() {
    this.pending = null;
    const step = this.faces.length;
    const { face, top } = kScanOrder[step];
    const name = (letter) => `the ${this.names[letter]} centre (${this.faceNames[letter].toLowerCase()} face)`;
    $('scan-step').textContent = `Face ${step + 1} of 6: hold ${name(face)} towards the camera, ` +
      `with ${name(top)} on top, and fill the guide with it.`;
    $('scan-drawing-face').style.background = this.colourOf(face);
    $('scan-drawing-top').style.background = this.colourOf(top);
    $('scan-preview').replaceChildren();
    $('scan-take').hidden = false;
    $('scan-keep').hidden = true;
    $('scan-retake').hidden = true;
  }

  /** The nine colours in the guide now, row by row: the median of each cell's middle. */
  sample() {
    const video = $('camera');
    const { videoWidth: w, videoHeight: h } = video;
    this.canvas.width = w;
    this.canvas.height = h;
    const context = this.canvas.getContext('2d', { willReadFrequently: true });
    context.drawImage(video, 0, 0, w, h);
    const side = kGuideShare * Math.min(w, h);
    const cell = side / 3;
    const half = Math.max(1, Math.round((cell * kSampleShare) / 2));
    const colours = [];
    for (let row = 0; row < 3; ++row) {
      for (let column = 0; column < 3; ++column) {
        const x = Math.round((w - side) / 2 + (column + 0.5) * cell) - half;
        const y = Math.round((h - side) / 2 + (row + 0.5) * cell) - half;
        const { data } = context.getImageData(x, y, 2 * half, 2 * half);
        const channel = (k) => median(data.filter((_, i) => i % 4 === k));
        colours.push([channel(0), channel(1), channel(2)]);
      }
    }
    return colours;
  }

  take() {
    this.pending = this.sample();
    $('scan-preview').replaceChildren(...this.pending.map(([r, g, b], i) => {
      const swatch = document.createElement('span');
      swatch.style.background = `rgb(${r},${g},${b})`;
      swatch.dataset.colour = `${hex2(r)}${hex2(g)}${hex2(b)}`;
      swatch.setAttribute('aria-label', `sticker ${i + 1}: rgb ${r}, ${g}, ${b}`);
      return swatch;
    }));
    $('scan-take').hidden = true;
    $('scan-keep').hidden = false;
    $('scan-retake').hidden = false;
    $('scan-keep').focus();
  }

  keep() {
    if (!this.pending) return;
    this.faces.push(this.pending);
    if (this.faces.length < kScanOrder.length) {
      this.showStep();
      return;
    }
    const started = performance.now();
    const hex = this.faces.flat().map(([r, g, b]) => `${hex2(r)}${hex2(g)}${hex2(b)}`).join('');
    const reading = this.readColours(hex);
    window.solvePageTimings = { ...window.solvePageTimings,
      scanReadMilliseconds: performance.now() - started, sixthFaceKeptAt: started };
    this.close();
    this.onRead(reading);
  }

  stop() {
    for (const track of this.stream?.getTracks() ?? []) track.stop();
    this.stream = null;
    $('camera').srcObject = null;
  }

  close() {
    this.stop();
    $('scan').hidden = true;
  }
}
