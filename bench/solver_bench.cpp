// How fast the solver and the cube model run: a complete solve of a random scramble
// (the optimiser included), one face turn, one scramble and one optimiser run.
// Run by hand or from CI: solver_bench --benchmark_repetitions=5.
#include <benchmark/benchmark.h>

#include <vector>

#include "cube/cube.h"
#include "cube/random.h"
#include "solver/layer_by_layer/layer_by_layer.h"

namespace {

/// Stickers of `count` scrambles, drawn from fixed generator states.
std::vector<cw::FaceletArray> scrambles(cw::Cube& cube, std::uint32_t count) {
    std::vector<cw::FaceletArray> out;
    for (std::uint32_t seed = 1; seed <= count; ++seed) {
        cw::srand(seed);
        cube.reset();
        out.push_back(cube.facelets);
    }
    return out;
}

void BM_Solve(benchmark::State& state) {
    cw::Cube cube;
    const std::vector<cw::FaceletArray> starts = scrambles(cube, 512);
    std::size_t next = 0;
    std::size_t moves = 0;
    for (auto _ : state) {
        cube.facelets = starts[next];
        next = (next + 1) % starts.size();
        cw::prepareForSolve(cube);
        const bool solved = cw::solve(cube);
        benchmark::DoNotOptimize(solved);
        moves += cube.pending.size();
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["moves"] =
        benchmark::Counter(static_cast<double>(moves), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_Solve);

void BM_Turn(benchmark::State& state) {
    cw::Cube cube;
    int face = 0;
    for (auto _ : state) {
        cube.turn(face, face % 2 == 0);
        face = face == 5 ? 0 : face + 1;
        benchmark::DoNotOptimize(cube.facelets);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Turn);

void BM_Scramble(benchmark::State& state) {
    cw::Cube cube;
    for (auto _ : state) {
        cube.scramble();
        benchmark::DoNotOptimize(cube.facelets);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Scramble);

/// Optimises the stage record of one solve. Copying the record into `solution` each
/// time is part of the figure: it is the same size of work as the passes themselves.
void BM_OptimiseSolution(benchmark::State& state) {
    cw::Cube cube;
    cw::srand(1);
    cube.reset();
    cw::prepareForSolve(cube);
    cw::solve(cube);
    // After a solve `solution` holds the second pass's output; run the passes on it
    // with the runs of three the second pass took out put back in.
    cw::MoveList record;
    for (const cw::Move& move : cube.solution) {
        record.push_back(move);
        if (move.face == 5) {
            record.push_back(move);
            record.push_back(move);
        }
    }
    for (auto _ : state) {
        cube.solution = record;
        cw::optimiseSolution(cube);
        benchmark::DoNotOptimize(cube.pending.size());
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["input"] = static_cast<double>(record.size());
}
BENCHMARK(BM_OptimiseSolution);

} // namespace

BENCHMARK_MAIN();
