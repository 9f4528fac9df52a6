// The page's side of Cubewright's web back end: keys, the pointer on the canvas, the page's
// buttons, visibility and full screen from the browser into the program, the frames (one call a display refresh), message boxes as modal
// dialogs in the page, the overlay font's glyphs, and the note that the program has ended.
// The program reaches it as `cubewrightPage` (platform/web/page_calls.cpp); the end-to-end
// tests read the page it leaves.
'use strict';

// emscripten's program object: the canvas it draws on, and where it prints.
var Module = {
  canvas: document.getElementById('canvas'),
  print: (text) => console.log(text),
  printErr: (text) => console.warn(text),
};

const cubewrightPage = (() => {
  const canvas = document.getElementById('canvas');

  // Keys the browser would otherwise act on itself while the canvas has the focus, by
  // their place: Space and the arrows scroll, F1 opens the browser's help, and the keypad
  // keys scroll too while NumLock is off.
  const kKeptFromBrowser = new Set(['Space', 'F1', 'ArrowLeft', 'ArrowUp', 'ArrowRight', 'ArrowDown']);
  const kNumpad0 = 0x60;

  // Async calls in flight (a message box, a full-screen switch). The program is waiting
  // inside one of them, so it gets no frames and no keys meanwhile, as a program behind a
  // modal box gets none on the desktop.
  let waiting = 0;
  let ended = false;
  let program = null; // the exported entry points, once the program has started

  // The virtual-key code of a key event: the browser's keyCode, which follows the Windows
  // key set (letters by the keyboard layout), with the keypad digits by their place.
  function keyCode(event) {
    const numpad = /^Numpad([0-9])$/.exec(event.code || '');
    return numpad ? kNumpad0 + Number(numpad[1]) : event.keyCode;
  }

  function browserWouldActOn(event) {
    const place = event.code || '';
    return kKeptFromBrowser.has(place) || place.startsWith('Numpad');
  }

  function onKey(event, down) {
    const code = keyCode(event);
    if (browserWouldActOn(event)) {
      event.preventDefault();
    }
    if (program && !waiting && !ended && code > 0 && code < 256) {
      program.key(code, down ? 1 : 0);
    }
  }

  canvas.addEventListener('keydown', (event) => onKey(event, true));
  canvas.addEventListener('keyup', (event) => onKey(event, false));
  // A key still held when the canvas loses the focus sends its key-up elsewhere: let go
  // of every key, so none stays down for good.
  canvas.addEventListener('blur', () => {
    if (program && !waiting && !ended) {
      program.releaseKeys();
    }
  });
  document.addEventListener('visibilitychange', () => {
    if (program && !ended) {
      program.visible(document.hidden ? 0 : 1);
    }
  });
  // The browser leaves full screen by itself (Escape, or the user's own gesture); the
  // program then goes on in its window.
  document.addEventListener('fullscreenchange', () => {
    if (program && !ended && document.fullscreenElement !== canvas) {
      program.fullscreenLeft();
    }
  });

  // The pointer on the canvas: one drag at a time, by the primary pointer (the left mouse
  // button, the first finger, a pen), in the canvas's own pixels however the canvas is
  // scaled on the page or letterboxed in full screen. The canvas keeps the pointer until it
  // comes up, so a drag that leaves the canvas still ends in the program. CSS keeps the
  // browser from scrolling or zooming under a finger on the canvas (touch-action).
  const kPointerPress = 0;
  const kPointerMove = 1;
  const kPointerRelease = 2;
  const kPointerCancel = 3;
  let dragPointer = null;

  function canvasPoint(event) {
    const box = canvas.getBoundingClientRect();
    const scale = Math.min(box.width / canvas.width, box.height / canvas.height) || 1;
    const left = box.left + (box.width - canvas.width * scale) / 2;
    const top = box.top + (box.height - canvas.height * scale) / 2;
    return [Math.floor((event.clientX - left) / scale), Math.floor((event.clientY - top) / scale)];
  }

  function sendPointer(kind, event) {
    if (program && !waiting && !ended) {
      const [x, y] = event ? canvasPoint(event) : [0, 0];
      program.pointer(kind, x, y);
    }
  }

  canvas.addEventListener('pointerdown', (event) => {
    if (!event.isPrimary || event.button !== 0 || dragPointer !== null) {
      return;
    }
    dragPointer = event.pointerId;
    canvas.setPointerCapture(event.pointerId);
    canvas.focus();
    sendPointer(kPointerPress, event);
  });
  canvas.addEventListener('pointermove', (event) => {
    if (event.pointerId === dragPointer) {
      sendPointer(kPointerMove, event);
    }
  });
  canvas.addEventListener('pointerup', (event) => {
    if (event.pointerId === dragPointer) {
      dragPointer = null;
      sendPointer(kPointerRelease, event);
    }
  });
  for (const type of ['pointercancel', 'lostpointercapture']) {
    canvas.addEventListener(type, (event) => {
      if (event.pointerId === dragPointer) {
        dragPointer = null;
        sendPointer(kPointerCancel, null);
      }
    });
  }

  // The page's buttons do what their keys do. A one-shot key (M, Space, F1) goes down and
  // comes up again once the program has run a frame with it down, as a short key press
  // does; a held key (the speeds) stays down while the button is held. A click on a button
  // does not take the keyboard away from the canvas.
  const buttonReleases = [];

  function pressOnce(code) {
    if (program && !waiting && !ended) {
      program.key(code, 1);
      buttonReleases.push([code, framesRunSoFar]);
    }
  }

  function releaseButtonKeys() {
    for (let i = buttonReleases.length - 1; i >= 0; --i) {
      const [code, pressedAt] = buttonReleases[i];
      if (framesRunSoFar > pressedAt) {
        buttonReleases.splice(i, 1);
        program.key(code, 0);
      }
    }
  }

  for (const button of document.querySelectorAll('#controls button[data-key]')) {
    const code = Number(button.dataset.key);
    button.addEventListener('mousedown', (event) => event.preventDefault());
    if (button.dataset.hold === undefined) {
      button.addEventListener('click', () => pressOnce(code));
      continue;
    }
    let held = false;
    const hold = (down) => {
      if (held !== down && program && !waiting && !ended) {
        held = down;
        program.key(code, down ? 1 : 0);
      }
    };
    button.addEventListener('pointerdown', (event) => {
      button.setPointerCapture(event.pointerId);
      hold(true);
    });
    for (const type of ['pointerup', 'pointercancel', 'lostpointercapture']) {
      button.addEventListener(type, () => hold(false));
    }
    button.addEventListener('keydown', (event) => {
      if ((event.key === 'Enter' || event.key === ' ') && !event.repeat) {
        event.preventDefault();
        hold(true);
      }
    });
    button.addEventListener('keyup', () => hold(false));
    button.addEventListener('blur', () => hold(false));
  }

  // Callers waiting for the pixels of the next frame drawn (readFrame).
  let frameReaders = [];
  let framesRunSoFar = 0;
  // When the first frame was drawn (ms since navigation), and the last display refreshes
  // that ran frames: [when, work in ms, frames run], for the benchmark.
  let firstFrameAt = null;
  const kRefreshesKept = 4096;
  const refreshes = [];

  function frame(now) {
    if (ended) {
      return;
    }
    if (!waiting) {
      const started = performance.now();
      const framesRun = program.frame(now) || 0;
      const work = performance.now() - started;
      framesRunSoFar += framesRun;
      if (framesRun > 0 && !waiting) {
        releaseButtonKeys();
      }
      if (framesRun > 0) {
        firstFrameAt = firstFrameAt === null ? performance.now() : firstFrameAt;
        refreshes.push([now, work, framesRun]);
        if (refreshes.length > kRefreshesKept) {
          refreshes.shift();
        }
      }
      if (framesRun > 0 && frameReaders.length > 0 && !waiting) {
        passOnPixels();
      }
    }
    if (!ended) {
      requestAnimationFrame(frame);
    }
  }

  // The frame just drawn, read back before the browser shows it: RGBA, bottom row first.
  function passOnPixels() {
    const gl = Module.ctx;
    const pixels = new Uint8Array(canvas.width * canvas.height * 4);
    gl.readPixels(0, 0, canvas.width, canvas.height, gl.RGBA, gl.UNSIGNED_BYTE, pixels);
    const readers = frameReaders;
    frameReaders = [];
    for (const reader of readers) {
      reader({width: canvas.width, height: canvas.height, pixels});
    }
  }

  // Runs an async step with frames and keys held back until it is over.
  async function whileWaiting(step) {
    ++waiting;
    try {
      return await step();
    } finally {
      --waiting;
    }
  }

  const kIcons = {0: 'ℹ️', 1: '⚠️', 2: '⛔'};

  // A modal dialog with the program's caption, text and buttons; resolves to 0 for OK,
  // 1 for Yes and 2 for No. Escape answers an OK box; a Yes/No box needs its answer.
  function showMessageBox(caption, text, yesNo, icon) {
    const dialog = document.getElementById('message-box');
    document.getElementById('message-caption').textContent = `${kIcons[icon] || ''} ${caption}`.trim();
    document.getElementById('message-text').textContent = text;
    const buttons = document.getElementById('message-buttons');
    buttons.replaceChildren();
    const answers = yesNo ? [['Yes', 1], ['No', 2]] : [['OK', 0]];
    for (const [label, answer] of answers) {
      const button = document.createElement('button');
      button.textContent = label;
      button.value = String(answer);
      buttons.append(button);
    }
    return new Promise((resolve) => {
      const onCancel = (event) => {
        if (yesNo) {
          event.preventDefault();
        }
      };
      dialog.addEventListener('cancel', onCancel);
      dialog.addEventListener('close', () => {
        dialog.removeEventListener('cancel', onCancel);
        const answer = Number(dialog.returnValue || '0');
        dialog.returnValue = '';
        canvas.focus();
        resolve(answer);
      }, {once: true});
      dialog.showModal();
      buttons.firstChild.focus();
    });
  }

  return {
    // Called by the program once it is up: `entry` holds its exported entry points.
    start(entry) {
      program = entry;
      requestAnimationFrame(frame);
    },

    messageBox(caption, text, yesNo, icon) {
      return whileWaiting(() => showMessageBox(caption, text, yesNo, icon));
    },

    // Resolves to true once the canvas fills the screen, false when the browser refuses.
    enterFullscreen() {
      return whileWaiting(async () => {
        try {
          await canvas.requestFullscreen({navigationUI: 'hide'});
          return document.fullscreenElement === canvas;
        } catch (refused) {
          return false;
        }
      });
    },

    leaveFullscreen() {
      if (document.fullscreenElement) {
        document.exitFullscreen().catch(() => {});
      }
    },

    isVisible() {
      return !document.hidden;
    },

    showCursor(shown) {
      canvas.style.cursor = shown ? '' : 'none';
    },

    focusCanvas() {
      canvas.focus();
    },

    // The glyphs of character codes first .. first + count - 1 in a bold monospace face
    // `pixels` high, one bit deep as the desktop draws them, in a grid of equal cells:
    // {cellWidth, cellHeight, descent, columns, rows, alpha} with one byte a pixel, 0 or
    // 255, top row first.
    rasteriseGlyphs(first, count, pixels) {
      const face = `bold ${pixels}px "Courier New", "Liberation Mono", monospace`;
      const scratch = document.createElement('canvas').getContext('2d');
      scratch.font = face;
      const metrics = scratch.measureText('M');
      const cellWidth = Math.max(1, Math.round(metrics.width));
      const ascent = Math.ceil(metrics.fontBoundingBoxAscent || pixels * 0.8);
      const descent = Math.ceil(metrics.fontBoundingBoxDescent || pixels * 0.2);
      const cellHeight = ascent + descent;
      const columns = 16;
      const rows = Math.ceil(count / columns);
      const atlas = document.createElement('canvas');
      atlas.width = columns * cellWidth;
      atlas.height = rows * cellHeight;
      const context = atlas.getContext('2d', {willReadFrequently: true});
      context.font = face;
      context.fillStyle = '#fff';
      context.textBaseline = 'alphabetic';
      for (let i = 0; i < count; ++i) {
        const x = (i % columns) * cellWidth;
        const y = Math.floor(i / columns) * cellHeight + ascent;
        context.fillText(String.fromCharCode(first + i), x, y);
      }
      const image = context.getImageData(0, 0, atlas.width, atlas.height).data;
      const alpha = new Uint8Array(atlas.width * atlas.height);
      for (let i = 0; i < alpha.length; ++i) {
        alpha[i] = image[i * 4 + 3] >= 128 ? 255 : 0;
      }
      return {cellWidth, cellHeight, descent, columns, rows, alpha};
    },

    // The pixels of the next frame the program draws, as {width, height, pixels} (RGBA,
    // bottom row first): what the canvas shows, without waiting for the browser to
    // composite it. For the tests and the benchmark, which read frames as the desktop's
    // tests read the window.
    readFrame() {
      return new Promise((resolve) => frameReaders.push(resolve));
    },

    // The program's frames so far (each a step of the cubes, a drawing and the keys).
    framesRun() {
      return framesRunSoFar;
    },

    // For the benchmark: when the first frame was drawn, in ms since navigation (null
    // before), and the last refreshes that ran frames as [when, work ms, frames].
    frameTimes() {
      return {firstFrameAt, refreshes: refreshes.slice()};
    },

    // The program's loop has stopped: the page says so and offers to start it again.
    ended() {
      ended = true;
      canvas.hidden = true;
      document.getElementById('keys').hidden = true;
      document.getElementById('controls').hidden = true;
      document.getElementById('ended').hidden = false;
      document.getElementById('restart').focus();
    },
  };
})();

document.getElementById('restart').addEventListener('click', () => location.reload());
