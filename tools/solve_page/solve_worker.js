// The solve page's worker: runs the project's solvers, compiled to WebAssembly, away from
// the page, so that the page keeps answering while tables are built and cubes solved.
// Requests are { id, kind: 'solve' | 'random', ... }; every reply carries the request's id.
importScripts('solve_core.js');

const ready = createSolveCore().then((core) => {
  const api = {
    prepare: core.cwrap('cw_prepare', null, []),
    solve: core.cwrap('cw_solve', 'string', ['string', 'number']),
    random: core.cwrap('cw_random', 'string', ['number', 'number']),
  };
  // The short solver's tables are built at once, so that the first solve finds them.
  const started = performance.now();
  api.prepare();
  postMessage({ kind: 'ready', milliseconds: performance.now() - started });
  return api;
});

const queue = [];
let busy = false;

async function next() {
  if (busy || queue.length === 0) return;
  busy = true;
  const request = queue.shift();
  const started = performance.now();
  let result;
  try {
    const api = await ready;
    if (request.kind === 'solve') {
      result = JSON.parse(api.solve(request.facelets, request.method === 'lbl' ? 1 : 0));
    } else if (request.kind === 'random') {
      result = JSON.parse(api.random(request.seedHigh >>> 0, request.seedLow >>> 0));
    }
  } catch (error) {
    // The page shows what went wrong rather than wait for ever.
    result = { error: `the solver stopped: ${error}` };
  }
  postMessage({ id: request.id, result, milliseconds: performance.now() - started });
  busy = false;
  next();
}

onmessage = (event) => {
  queue.push(event.data);
  next();
};
