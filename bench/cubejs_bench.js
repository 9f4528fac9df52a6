// The published npm solver cubejs on the same cubes as short_solver_bench, with the same
// figures: run by bench/compare_short_solver, which installs it under build/.
//   node cubejs_bench.js CUBES_FILE   (NODE_PATH points at the folder holding cubejs)
'use strict';
const fs = require('fs');
const Cube = require('cubejs');

const cubes = fs.readFileSync(process.argv[2], 'utf8').split('\n').filter((line) => line.length);
const now = () => Number(process.hrtime.bigint()) / 1e6;

const tablesStart = now();
Cube.initSolver();
const tableMs = now() - tablesStart;
const tableMb = process.memoryUsage().rss / 1048576;

const times = [];
const histogram = new Map();
let total = 0;
let failures = 0;
for (const text of cubes) {
    const start = now();
    const solution = Cube.fromString(text).solve();
    times.push(now() - start);
    // The solution played on the cube, in cubejs's own model, must leave it solved.
    const cube = Cube.fromString(text);
    cube.move(solution);
    if (!cube.isSolved()) {
        failures += 1;
        continue;
    }
    const length = solution.trim() === '' ? 0 : solution.trim().split(/\s+/).length;
    histogram.set(length, (histogram.get(length) || 0) + 1);
    total += length;
}

const sorted = [...times].sort((a, b) => a - b);
const pick = (fraction) => sorted[Math.round(fraction * (sorted.length - 1))];
const mean = times.reduce((a, b) => a + b, 0) / times.length;
const lengths = [...histogram.keys()].sort((a, b) => a - b);
console.log(`cubejs ${require('cubejs/package.json').version}: ${cubes.length} cubes, ${failures} not solved (every solution played on its own cube model)`);
console.log(`  length (face turns): mean ${(total / (cubes.length - failures)).toFixed(2)}, max ${lengths[lengths.length - 1]}`);
console.log(`  histogram: ${lengths.map((l) => `${l}:${histogram.get(l)}`).join(' ')}`);
console.log(`  time per solve: mean ${mean.toFixed(3)} ms, median ${pick(0.5).toFixed(3)} ms, p99 ${pick(0.99).toFixed(3)} ms`);
console.log(`  tables: ${tableMs.toFixed(0)} ms to build, resident memory ${tableMb.toFixed(1)} MB after building, peak ${(process.resourceUsage().maxRSS / 1024).toFixed(1)} MB at the end`);
