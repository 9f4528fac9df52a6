// The two-phase search. Phase one takes the cube into the subgroup <U, D, R2, L2, F2, B2>
// (corners untwisted, edges unflipped, middle-layer edges in the middle layer) by iterative
// deepening over twist, flip and slice coordinates; each way in is handed to phase two,
// which solves the cube inside the subgroup over the corner, edge and slice orders. After
// the first solution the search goes on for shorter ones, each phase two only allowed to
// beat the best so far. The cube is searched in six guises at once, turned about its
// diagonal to each of the three axes and inverted, since each guise has its own short ways
// into the subgroup.
#include "solver/two_phase/search.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstddef>
#include <optional>

#include "solver/core/symmetry.h"
#include "solver/two_phase/phase_two.h"
#include "solver/two_phase/tables.h"

namespace cw::two_phase {
namespace {

constexpr SearchSettings kSettings = kSmallTablesSettings;
constexpr int kQuickPhase2Limit = kSettings.quickPhase2Limit;

class Search {
public:
    Search(const CubieCube& cube, const SearchLimits& limits)
        : tables_(tables()), moves_(tables_), phaseTwo_(moves_), limits_(limits) {
        guises_ = guisesOf(cube);
    }

    Solution run() {
        for (phase2Cap_ = kQuickPhase2Limit; best_.empty() && phase2Cap_ <= kPhase2Limit;
             phase2Cap_ += kPhase2Limit - kQuickPhase2Limit) {
            for (int depth = 0; depth <= kPhase1Limit && depth < bestLength_ && !stop_ &&
                                !(reachedTarget() && depth > kThoroughPhase1Depth);
                 ++depth) {
                for (guise_ = 0; guise_ < kGuiseCount && !stop_; ++guise_) {
                    const CubieCube& cube = guises_[static_cast<std::size_t>(guise_)];
                    if (tables_.phase1Bound(twist(cube), flip(cube), slice(cube)) <= depth &&
                        !skipsGuise(kSettings, guises_, guise_)) {
                        phase1(twist(cube), flip(cube), slice(cube), 0, depth);
                    }
                }
            }
        }
        return best_;
    }

private:
    void phase1(int twistValue, int flipValue, int sliceValue, int done, int togo) {
        ++nodes_;
        if (limitReached()) {
            stop_ = true;
            return;
        }
        if (togo == 0) {
            // Only a path that enters the subgroup on its last move is new: one whose last
            // move is a phase-two move was already found one move shorter.
            if (done == 0 || !isPhase2Move(path_[static_cast<std::size_t>(done - 1)])) {
                startPhase2(done);
            }
            return;
        }
        // All 18 bounds are looked up before any is used: the lookups miss the cache, and
        // independent loads overlap where a load per branch would wait for each in turn.
        const std::uint16_t* twists =
            &tables_.twistMove[static_cast<std::size_t>(twistValue) * kMoveCount];
        const std::uint16_t* flips =
            &tables_.flipMove[static_cast<std::size_t>(flipValue) * kMoveCount];
        const std::uint16_t* slices =
            &tables_.sliceMove[static_cast<std::size_t>(sliceValue) * kMoveCount];
        // On the last move only the subgroup itself will do, which the coordinates show
        // without a lookup.
        std::array<int, kMoveCount> bounds{};
        for (std::size_t m = 0; m < kMoveCount; ++m) {
            bounds[m] = togo == 1 ? (twists[m] | flips[m] | slices[m]) != 0
                                  : tables_.phase1Bound(twists[m], flips[m], slices[m]);
        }
        const int previous = done > 0 ? path_[static_cast<std::size_t>(done - 1)] : -1;
        for (int m = 0; m < kMoveCount && !stop_; ++m) {
            const auto mi = static_cast<std::size_t>(m);
            const int bound = bounds[mi];
            // Inside the subgroup with a few moves still to go, the rest would be a short
            // detour out and back that phase two does better.
            if (bound > togo - 1 ||
                (bound == 0 && skipsDetour(kSettings, phase2Cap_ < kPhase2Limit, togo - 1)) ||
                !mayFollow(m, previous)) {
                continue;
            }
            path_[static_cast<std::size_t>(done)] = static_cast<std::uint8_t>(m);
            phase1(twists[mi], flips[mi], slices[mi], done + 1, togo - 1);
        }
    }

    void startPhase2(int phase1Length) {
        const Phase2Result found = phaseTwo_.start(
            path_, phase1Length, bestLength_, phase2Cap_,
            [&](int) {
                CubieCube cube = guises_[static_cast<std::size_t>(guise_)];
                for (int i = 0; i < phase1Length; ++i) {
                    cube = multiply(cube, moveCube(path_[static_cast<std::size_t>(i)]));
                }
                return std::optional(SmallTablesPhase2Moves::positionOf(cube));
            },
            nodes_);
        if (!found.tried) {
            return;
        }
        if (found.length > 0) {
            record(found.length);
        }
        if (!best_.empty() &&
            ((reachedTarget() && phase1Length > kThoroughPhase1Depth) || limitReached())) {
            stop_ = true;
        }
    }

    // Past the node limit or, with a time budget, past the deadline, once there is a
    // solution to return. The clock is read once every 1024 nodes.
    bool limitReached() {
        if (best_.empty()) {
            return false;
        }
        if (limits_.budget.count() == 0) {
            return nodes_ >= limits_.nodeLimit;
        }
        if (nodes_ % 1024 == 0) {
            timeUp_ = std::chrono::steady_clock::now() >= deadline_;
        }
        return timeUp_;
    }

    bool reachedTarget() const { return !best_.empty() && bestLength_ <= limits_.targetLength; }

    void record(int length) {
        best_ = solutionFromGuise(std::span(path_).first(static_cast<std::size_t>(length)), guise_);
        bestLength_ = length;
    }

    const Tables& tables_;
    SmallTablesPhase2Moves moves_;
    PhaseTwo<kSettings, SmallTablesPhase2Moves> phaseTwo_;
    SearchLimits limits_;
    std::array<CubieCube, kGuiseCount> guises_{};
    std::array<std::uint8_t, kMaxPath> path_{};
    int guise_ = 0;
    int phase2Cap_ = kQuickPhase2Limit;
    int bestLength_ = kMaxPath + 1;
    Solution best_;
    std::uint64_t nodes_ = 0;
    std::chrono::steady_clock::time_point deadline_ =
        std::chrono::steady_clock::now() + limits_.budget;
    bool timeUp_ = false;

    bool stop_ = false;
};

} // namespace

Solution solveCubie(const CubieCube& cube, const SearchLimits& limits) {
    if (cube == CubieCube{}) {
        return {};
    }
    return Search(cube, limits).run();
}

Solution solutionFromGuise(std::span<const std::uint8_t> path, int guise) {
    Solution moves;
    moves.reserve(path.size());
    for (const std::uint8_t move : path) {
        const int m = moveBackFromAxis(guise / 2, move);
        moves.push_back({cubeFace(moveFace(m)), moveQuarterTurns(m)});
    }
    return guise % 2 != 0 ? inverse(moves) : moves;
}

} // namespace cw::two_phase
