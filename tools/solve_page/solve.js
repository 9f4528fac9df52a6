// The solve page: paint a cube's stickers on a net, have the project's own facelet checks
// judge them, solve them in a worker and follow the solution on a 3D cube. Everything
// from the address or the user goes into the page as text, never as markup.
import { CubeView, kColours } from './cube_view.js';
import { Scanner } from './scan.js';

const kFaces = 'URFDLB';
const kSolved = 'UUUUUUUUURRRRRRRRRFFFFFFFFFDDDDDDDDDLLLLLLLLLBBBBBBBBB';
const kColourNames = { U: 'red', R: 'green', F: 'white', D: 'orange', L: 'blue', B: 'yellow' };
const kFaceNames = { U: 'Up', R: 'Right', F: 'Front', D: 'Down', L: 'Left', B: 'Back' };
// Where each face's top-left sticker sits on the 12 by 9 grid of the net.
const kFaceOrigins = { U: [0, 3], L: [3, 0], F: [3, 3], R: [3, 6], B: [3, 9], D: [6, 3] };
const kMoveMilliseconds = 500;

const $ = (id) => document.getElementById(id);
// A letter's colour on the net: after a scan, the colour the camera saw on that face.
const cssColour = (letter) => state.faceColours?.[letter]
  ?? `rgb(${kColours[letter].map((c) => Math.round(c * 255)).join(',')})`;
const isCentre = (position) => position % 9 === 4;
const isNetText = (text) => /^[URFDLB.]{54}$/.test(text);

const state = {
  net: [...kSolved], // one letter per sticker, '.' for one not painted
  colour: 'U',       // the palette's choice
  focus: 4,          // the sticker that keeps the keyboard focus in the net
  badText: null,     // typed or addressed text that is not a net, with its message
  check: { message: '', marked: [] },
  solution: null,    // { line, moves, states } while one is followed
  position: 0,       // moves of the solution played
  playing: false,
  animating: null,   // the index of the move the 3D cube is turning
  generation: 0,     // counts steps and jumps, so that a step cut short knows it
  faceColours: null, // after a scan, each letter's colour as the camera saw it
  doubtful: [],      // after a scan, the stickers it was not sure of, until painted
  undo: [],          // earlier nets (with their colours), the last paint or scan step last
};
const kMostUndo = 200;

// The worker starts first: building the solver's tables takes longest.
const worker = new Worker('solve_worker.js');

let core = null;
let view = null; // made once the page is up: a WebGL context can take a while to come
const stickers = [];

// ---- The WebAssembly module on the page, for the checks and the notation ----

const coreReady = createSolveCore().then((module) => {
  core = {
    check: module.cwrap('cw_check', 'string', ['string']),
    applyMoves: module.cwrap('cw_apply_moves', 'string', ['string']),
    readColours: module.cwrap('cw_read_colours', 'string', ['string']),
  };
});

// ---- The worker that solves ----

const waiting = new Map();
let nextRequest = 1;
let solverReady = false;

worker.onmessage = ({ data }) => {
  if (data.kind === 'ready') {
    solverReady = true;
    // For the tests and the benchmark: how long the tables took, and when they were there.
    window.solvePageTimings = { ...window.solvePageTimings, tablesMilliseconds: data.milliseconds,
      tablesReadyAt: performance.now() };
    setSolverState('');
    return;
  }
  const resolve = waiting.get(data.id);
  waiting.delete(data.id);
  resolve?.(data);
};

function ask(request) {
  const id = nextRequest++;
  if (!solverReady) setSolverState('Preparing the solver\u2019s tables\u2026');
  return new Promise((resolve) => {
    waiting.set(id, resolve);
    worker.postMessage({ ...request, id });
  });
}

function setSolverState(text) {
  $('solver-state').textContent = text;
}

// ---- The net ----

function buildPalette() {
  for (const letter of kFaces) {
    const button = document.createElement('button');
    button.type = 'button';
    const name = document.createElement('span');
    name.textContent = kColourNames[letter];
    const face = document.createElement('span');
    face.className = 'letter';
    face.textContent = letter;
    button.append(name, face);
    button.dataset.letter = letter;
    button.style.background = cssColour(letter);
    button.style.color = letter === 'L' ? '#fff' : '#000';
    button.setAttribute('aria-label', `${kColourNames[letter]}, the ${kFaceNames[letter].toLowerCase()} centre's colour (${letter})`);
    button.addEventListener('click', () => choose(letter));
    $('palette').append(button);
  }
  choose(state.colour);
}

function choose(letter) {
  state.colour = letter;
  for (const button of $('palette').children) {
    button.setAttribute('aria-pressed', String(button.dataset.letter === letter));
  }
}

function buildNet() {
  for (let position = 0; position < 54; ++position) {
    const letter = kFaces[Math.floor(position / 9)];
    const row = Math.floor((position % 9) / 3), column = position % 3;
    const [top, left] = kFaceOrigins[letter];
    const button = document.createElement('button');
    button.type = 'button';
    button.className = 'sticker';
    if (position % 9 === 4) button.classList.add('centre');
    if (column === 0 && left > 0) button.classList.add('face-gap-left');
    if (row === 0 && top > 0) button.classList.add('face-gap-top');
    // The cross on a wide screen; on a phone, the faces two by two in the string's order,
    // so that every sticker is large enough to tap.
    const side = Math.floor(position / 9);
    button.style.setProperty('--row', String(top + row + 1));
    button.style.setProperty('--column', String(left + column + 1));
    // (Every fourth row and column there is a narrow gap between faces.)
    button.style.setProperty('--phone-row', String(Math.floor(side / 2) * 4 + row + 1));
    button.style.setProperty('--phone-column', String((side % 2) * 4 + column + 1));
    button.dataset.position = String(position);
    button.dataset.place = `${kFaceNames[letter]} face, row ${row + 1}, column ${column + 1}`;
    button.tabIndex = -1;
    stickers.push(button);
    $('net').append(button);
  }

  // Painting: press on a sticker and drag across others; touch drags too, since the
  // net takes no scrolling gestures.
  let painting = false;
  const paintAt = (event) => {
    const target = document.elementFromPoint(event.clientX, event.clientY);
    if (target?.classList.contains('sticker')) paint(Number(target.dataset.position), state.colour);
  };
  $('net').addEventListener('pointerdown', (event) => {
    if (!event.target.classList.contains('sticker') || event.button > 0) return;
    event.preventDefault();
    painting = true;
    remember(); // a stroke is one step to take back
    focusSticker(Number(event.target.dataset.position));
    paintAt(event);
  });
  $('net').addEventListener('pointermove', (event) => { if (painting) paintAt(event); });
  window.addEventListener('pointerup', () => { painting = false; });
  window.addEventListener('pointercancel', () => { painting = false; });
  // A click with no pointer behind it (Enter or Space on a sticker) paints as well.
  $('net').addEventListener('click', (event) => {
    if (event.detail === 0 && event.target.classList.contains('sticker')) {
      remember();
      paint(Number(event.target.dataset.position), state.colour);
    }
  });
  $('net').addEventListener('keydown', onNetKey);
}

function gridPlace(position) {
  const [top, left] = kFaceOrigins[kFaces[Math.floor(position / 9)]];
  return [top + Math.floor((position % 9) / 3), left + (position % 3)];
}

const stickerAt = new Map([...Array(54).keys()].map((p) => [gridPlace(p).join(','), p]));

function onNetKey(event) {
  // The sticker with the focus, however it got it.
  if (event.target.classList?.contains('sticker')) state.focus = Number(event.target.dataset.position);
  const steps = { ArrowUp: [-1, 0], ArrowDown: [1, 0], ArrowLeft: [0, -1], ArrowRight: [0, 1] };
  const letter = event.key.length === 1 ? event.key.toUpperCase() : '';
  if (steps[event.key]) {
    event.preventDefault();
    let [row, column] = gridPlace(state.focus);
    const [dr, dc] = steps[event.key];
    // Across a gap in the net, the next sticker in that direction.
    for (;;) {
      row += dr; column += dc;
      if (row < 0 || row > 8 || column < 0 || column > 11) return;
      const found = stickerAt.get(`${row},${column}`);
      if (found !== undefined) {
        focusSticker(found);
        return;
      }
    }
  } else if (kFaces.includes(letter) && !event.ctrlKey && !event.metaKey && !event.altKey) {
    event.preventDefault();
    choose(letter);
    remember();
    paint(state.focus, letter);
    // On to the next sticker that can be painted, in the string's order.
    let next = state.focus + 1;
    while (next < 54 && isCentre(next)) ++next;
    if (next < 54) focusSticker(next);
  } else if (event.key === 'Delete' || event.key === 'Backspace') {
    event.preventDefault();
    remember();
    paint(state.focus, '.');
  }
}

function focusSticker(position) {
  stickers[state.focus].tabIndex = -1;
  state.focus = position;
  stickers[position].tabIndex = 0;
  stickers[position].focus();
}

/** The stickers on show: the painted cube, or the cube at the move being followed. */
const shownNet = () => (state.solution ? state.solution.states[state.position] : state.net.join(''));

function paint(position, letter) {
  // The centres are fixed by the grip: they say which colour is which face's.
  if (isCentre(position)) return;
  const net = [...shownNet()];
  if (net[position] === letter && state.badText === null) return;
  net[position] = letter;
  const doubtful = state.doubtful.filter((p) => p !== position);
  setCube(net.join(''), { keepColours: true });
  state.doubtful = doubtful;
  refresh();
}

// ---- Taking steps back ----

/** Keeps the cube as it is now, for Undo to come back to. */
function remember() {
  const net = shownNet();
  const last = state.undo[state.undo.length - 1];
  if (last && last.net === net && last.faceColours === state.faceColours) return;
  state.undo.push({ net, faceColours: state.faceColours, doubtful: state.doubtful });
  if (state.undo.length > kMostUndo) state.undo.shift();
  $('undo').disabled = false;
}

function undo() {
  const last = state.undo.pop();
  $('undo').disabled = state.undo.length === 0;
  if (!last) return;
  state.faceColours = last.faceColours;
  setCube(last.net, { keepColours: true });
  state.doubtful = last.doubtful;
  refresh();
}

// ---- The cube as a whole: net, counts, string, address, check ----

/** Makes `text` (54 letters or dots) the cube on the page, dropping any solution. */
function setCube(text, { keepScramble = false, keepColours = false } = {}) {
  state.net = [...text];
  state.badText = null;
  state.doubtful = [];
  if (!keepColours) state.faceColours = null;
  dropSolution();
  if (!keepScramble) $('scramble').hidden = true;
  history.replaceState(null, '', `#facelets=${text}`);
  refresh();
}

/** Text that is not a net: the net stays, the message says what is wrong with the text. */
function setBadText(text) {
  state.badText = { text, message: JSON.parse(core.check(text)).message };
  dropSolution();
  refresh();
}

function refresh() {
  const net = shownNet();
  state.check = checkNet(net);
  stickers.forEach((button, position) => {
    const letter = net[position];
    const painted = letter !== '.';
    button.classList.toggle('painted', painted);
    button.style.backgroundColor = painted ? cssColour(letter) : '';
    const marked = state.badText === null &&
      (state.check.marked.includes(position) || state.doubtful.includes(position));
    button.classList.toggle('marked', marked);
    const colour = painted ? `${kColourNames[letter]} (${letter})` : 'not painted';
    button.setAttribute('aria-label', `${button.dataset.place}: ${colour}${marked ? ', named in the message' : ''}`);
  });

  const counts = $('counts');
  counts.replaceChildren(...[...kFaces].map((letter) => {
    const count = [...net].filter((c) => c === letter).length;
    const item = document.createElement('span');
    item.textContent = `${letter} ${count}`;
    item.title = `${kColourNames[letter]}: ${count} of 9`;
    item.setAttribute('aria-label', `${kColourNames[letter]} (${letter}): ${count} of 9`);
    item.style.background = cssColour(letter);
    item.style.color = letter === 'L' ? '#fff' : '#000';
    item.classList.toggle('wrong', count !== 9);
    return item;
  }));

  const field = $('facelets');
  const shown = state.badText ? state.badText.text : net;
  if (field.value !== shown && document.activeElement !== field) field.value = shown;

  const status = $('status');
  let message = state.badText ? state.badText.message : state.check.message;
  if (!message && !state.badText && state.doubtful.length > 0) {
    message = doubtText(state.doubtful.length);
  }
  status.textContent = message || 'The cube can be solved.';
  status.classList.toggle('fault', Boolean(message));
  $('solve').disabled = Boolean(message) || state.solution !== null;
  if (!state.solution) view.show(net);
}

// What is wrong with a net, in the tool's words once every sticker is painted.
function checkNet(net) {
  const missing = [...net].filter((c) => c === '.').length;
  if (missing > 0) {
    const short = [...kFaces]
      .map((letter) => [letter, 9 - [...net].filter((c) => c === letter).length])
      .filter(([, lacking]) => lacking !== 0)
      .map(([letter, lacking]) => lacking > 0
        ? `${kColourNames[letter]} (${letter}) needs ${lacking} more`
        : `${kColourNames[letter]} (${letter}) has ${-lacking} too many`);
    const stickersText = missing === 1 ? '1 sticker is' : `${missing} stickers are`;
    return { message: `${stickersText} not painted yet: ${short.join(', ')}.`, marked: [] };
  }
  return JSON.parse(core.check(net));
}

// ---- Entering text ----

function takeText(text) {
  const trimmed = text.trim();
  if (isNetText(trimmed)) setCube(trimmed);
  else setBadText(trimmed);
}

// The facelets parameter of the address; others are for someone else and are ignored.
function addressFacelets() {
  for (const part of location.hash.replace(/^#/, '').split('&')) {
    if (part.startsWith('facelets=')) return part.slice('facelets='.length);
  }
  return null;
}

function readAddress() {
  let text = addressFacelets();
  if (text === null) return false;
  try {
    text = decodeURIComponent(text);
  } catch {
    // Not valid percent-encoding: judged as it stands.
  }
  takeText(text);
  return true;
}

async function randomCube() {
  const seeds = crypto.getRandomValues(new Uint32Array(2));
  $('random').disabled = true;
  const { result } = await ask({ kind: 'random', seedHigh: seeds[0], seedLow: seeds[1] });
  $('random').disabled = false;
  setSolverState(result.error ?? '');
  if (result.error) return;
  remember();
  setCube(result.facelets, { keepScramble: true });
  $('scramble').textContent = `scramble: ${result.scramble}`;
  $('scramble').hidden = false;
}

// ---- Solving ----

async function solve() {
  if (state.check.message || state.badText || state.solution) return;
  const facelets = state.net.join('');
  const method = document.querySelector('input[name="method"]:checked').value;
  $('solve').disabled = true;
  $('solution').textContent = 'Solving\u2026';
  const started = performance.now();
  const { result } = await ask({ kind: 'solve', facelets, method });
  window.solvePageTimings = { ...window.solvePageTimings, lastSolveMilliseconds: performance.now() - started };
  setSolverState('');
  if (state.net.join('') !== facelets) return; // the cube changed meanwhile
  if (result.error) {
    $('solution').textContent = result.error;
    refresh();
    return;
  }
  // Worded as cubewright-solve prints it, with no space after the colon when empty.
  $('solution').textContent = result.line ? `solution: ${result.line}` : 'solution:';
  state.solution = result;
  state.position = 0;
  buildNotation();
  goTo(0);
}

function dropSolution() {
  if (!state.solution) return;
  pause();
  view.stop();
  state.solution = null;
  state.position = 0;
  $('solution').textContent = '';
  $('notation').replaceChildren();
  updatePlayer();
}

// ---- Following ----

function buildNotation() {
  $('notation').replaceChildren(...state.solution.moves.map((move, index) => {
    const item = document.createElement('li');
    const button = document.createElement('button');
    button.type = 'button';
    button.textContent = move;
    button.setAttribute('aria-label', `Move ${index + 1}: ${move}`);
    button.addEventListener('click', () => { pause(); goTo(index); });
    item.append(button);
    return item;
  }));
}

/** Shows the cube after `position` moves, at once. */
function goTo(position) {
  ++state.generation;
  state.animating = null;
  view.stop();
  state.position = position;
  view.show(state.solution.states[position]);
  refresh();
  updatePlayer();
}

const moveMilliseconds = () => kMoveMilliseconds / Number($('speed').value);

/** Animates one move forward (+1) or back (-1). The net shows the cube after the move at
 * once; false when there is no such move or another step or jump cut this one short. */
async function step(direction) {
  const solution = state.solution;
  const from = state.position;
  const to = from + direction;
  if (!solution || to < 0 || to > solution.moves.length) return false;
  let move = solution.moves[Math.min(from, to)];
  if (direction < 0) move = move.endsWith("'") ? move[0] : move.includes('2') ? move : `${move}'`;
  const generation = ++state.generation;
  state.position = to;
  state.animating = Math.min(from, to);
  refresh();
  updatePlayer();
  const completed = await view.play(move, solution.states[to], moveMilliseconds());
  if (state.generation !== generation) return false;
  state.animating = null;
  updatePlayer();
  return completed;
}

async function play() {
  if (!state.solution) return;
  if (state.position === state.solution.moves.length) goTo(0);
  state.playing = true;
  updatePlayer();
  while (state.playing && state.position < state.solution.moves.length) {
    if (!(await step(1))) break;
  }
  state.playing = false;
  updatePlayer();
}

function pause() {
  state.playing = false;
  updatePlayer();
}

function updatePlayer() {
  const solution = state.solution;
  const total = solution ? solution.moves.length : 0;
  const seek = $('seek');
  seek.max = String(total);
  seek.value = String(state.position);
  seek.disabled = !solution;
  $('back').disabled = !solution || state.position === 0;
  $('forward').disabled = !solution || state.position === total;
  $('play').disabled = !solution || total === 0;
  $('play').textContent = state.playing ? 'Pause' : 'Play';
  const current = state.animating ?? state.position;
  [...$('notation').querySelectorAll('button')].forEach((button, index) => {
    button.classList.toggle('done', index < state.position && index !== current);
    if (index === current) button.setAttribute('aria-current', 'step');
    else button.removeAttribute('aria-current');
  });
  $('position').textContent = !solution ? ''
    : total === 0 ? 'Already solved: no moves.'
    : `${state.position} of ${total} moves played${
      state.position === total && state.animating === null ? ': solved.' : '.'}`;
}

// ---- A scan from the camera ----

function doubtText(count) {
  return count === 1
    ? 'The scan is not sure of 1 sticker, marked on the net: tap it and paint it as your cube shows it.'
    : `The scan is not sure of ${count} stickers, marked on the net: tap each and paint it as your cube shows it.`;
}

/** The reader's result of six faces: the net painted with it, in the cube's own colours. */
function takeScan(reading) {
  remember();
  state.faceColours = Object.fromEntries([...kFaces].map((letter, i) => [letter, reading.faceColours[i]]));
  setCube(reading.facelets || reading.best, { keepColours: true });
  state.doubtful = reading.facelets ? [] : reading.doubtful;
  refresh();
  window.solvePageTimings = { ...window.solvePageTimings, scanPaintedAt: performance.now() };
}

// ---- Start ----

async function start() {
  buildPalette();
  buildNet();
  stickers[state.focus].tabIndex = 0;
  await coreReady;
  view = new CubeView($('view'));
  if (!solverReady) setSolverState('Preparing the solver\u2019s tables\u2026');
  if (!readAddress()) setCube(kSolved);
  window.addEventListener('hashchange', () => {
    if (addressFacelets() !== state.net.join('') || state.badText) readAddress();
  });
  $('facelets').addEventListener('input', (event) => takeText(event.target.value));
  $('facelets').addEventListener('change', () => refresh());
  $('moves-form').addEventListener('submit', (event) => {
    event.preventDefault();
    const applied = JSON.parse(core.applyMoves($('moves').value));
    if (applied.error) {
      state.badText = { text: $('facelets').value, message: applied.error };
      dropSolution();
      refresh();
    } else {
      remember();
      setCube(applied.facelets);
    }
  });
  $('solved').addEventListener('click', () => { remember(); setCube(kSolved); });
  $('clear').addEventListener('click', () => {
    remember();
    setCube([...kSolved].map((c, i) => (isCentre(i) ? c : '.')).join(''));
  });
  $('undo').addEventListener('click', undo);
  document.addEventListener('keydown', (event) => {
    // Text fields keep their own Ctrl+Z.
    if ((event.ctrlKey || event.metaKey) && !event.shiftKey && event.key.toLowerCase() === 'z' &&
        !['INPUT', 'SELECT', 'TEXTAREA'].includes(document.activeElement?.tagName)) {
      event.preventDefault();
      undo();
    }
  });
  const scanner = new Scanner({
    readColours: (hex) => JSON.parse(core.readColours(hex)),
    onRead: takeScan,
    names: kColourNames,
    faceNames: kFaceNames,
    colourOf: (letter) => `rgb(${kColours[letter].map((c) => Math.round(c * 255)).join(',')})`,
  });
  $('scan-start').addEventListener('click', () => scanner.start());
  $('random').addEventListener('click', randomCube);
  $('solve').addEventListener('click', solve);
  // Another method means another solution: the one shown goes.
  for (const choice of document.querySelectorAll('input[name="method"]')) {
    choice.addEventListener('change', () => { dropSolution(); refresh(); });
  }
  $('play').addEventListener('click', () => (state.playing ? pause() : play()));
  $('forward').addEventListener('click', () => { pause(); step(1); });
  $('back').addEventListener('click', () => { pause(); step(-1); });
  $('seek').addEventListener('input', (event) => {
    // Read before pausing: the pause puts the slider back to the position played.
    const to = Number(event.target.value);
    pause();
    goTo(to);
  });
  if (!view.available) $('view').replaceWith('This browser gives the page no WebGL, so the cube cannot be drawn in 3D.');
  updatePlayer();
  window.solvePageTimings = { ...window.solvePageTimings, pageReadyAt: performance.now() };
  document.body.dataset.ready = 'true';
}

start();
