// Tests of walks taking turns, on a toy walk over a tree of numbers: every leaf is reached
// exactly once, an idle walk takes work from the other, and the run ends when all is done.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <map>
#include <vector>

#include "solver/two_phase/walk_turns.h"

namespace cw::two_phase {
namespace {

constexpr int kDepth = 4;
constexpr int kBranching = 3;

// A depth-first walk of the tree whose node n has children 10n + 1 .. 10n + kBranching,
// down to kDepth levels below a root; each turn expands one node and moves to the next.
struct ToyWalk {
    struct Level {
        std::array<int, kBranching> nodes{};
        int kept = 0;
        int taken = 0;
    };

    bool idle = true;
    int base = 0;
    int done = 0;
    int node = 0;
    int branchesTaken = 0;
    std::array<Level, kDepth + 1> levels{};

    bool isIdle() const { return idle; }

    int shallowestOpenLevel(int below) const {
        for (int l = base; l < std::min(done, below); ++l) {
            const Level& row = levels[static_cast<std::size_t>(l)];
            if (row.taken < row.kept) {
                return l;
            }
        }
        return below;
    }

    void takeBranchFrom(ToyWalk& other, int level) {
        Level& row = other.levels[static_cast<std::size_t>(level)];
        node = row.nodes[static_cast<std::size_t>(row.taken++)];
        base = level + 1;
        done = level + 1;
        idle = false;
        ++branchesTaken;
    }

    void start(int root) {
        node = root;
        base = 0;
        done = 0;
        idle = false;
    }

    void goOn(std::map<int, int>& leaves) {
        Level& row = levels[static_cast<std::size_t>(done)];
        row.taken = 0;
        row.kept = 0;
        if (done == kDepth) {
            ++leaves[node];
        } else {
            for (int b = 1; b <= kBranching; ++b) {
                row.nodes[static_cast<std::size_t>(row.kept++)] = node * 10 + b;
            }
        }
        for (int level = done; level >= base; --level) {
            Level& open = levels[static_cast<std::size_t>(level)];
            if (open.taken < open.kept) {
                node = open.nodes[static_cast<std::size_t>(open.taken++)];
                done = level + 1;
                return;
            }
        }
        idle = true;
    }
};

struct WalkRecord {
    std::map<int, int> leaves;
    int turns = 0;
    int branchesTaken = 0;
};

// Walks the trees below `roots` with two walks taking turns, stopping after `maxTurns`.
WalkRecord walkTrees(const std::vector<int>& roots, int maxTurns = 1 << 30) {
    TakingTurns<ToyWalk, 2> walks;
    WalkRecord run;
    std::size_t next = 0;
    std::vector<ToyWalk*> seen;
    walks.runUntilAllDone(
        [&](ToyWalk& walk) {
            if (next == roots.size()) {
                return false;
            }
            walk.start(roots[next++]);
            return true;
        },
        [&](ToyWalk& walk) {
            if (std::find(seen.begin(), seen.end(), &walk) == seen.end()) {
                seen.push_back(&walk);
            }
            walk.goOn(run.leaves);
            ++run.turns;
        },
        [&] { return run.turns >= maxTurns; });
    for (const ToyWalk* walk : seen) {
        run.branchesTaken += walk->branchesTaken;
    }
    return run;
}

// The leaves of the trees below `roots`, each once.
std::map<int, int> everyLeafOnce(const std::vector<int>& roots) {
    std::map<int, int> leaves;
    std::vector<int> level = roots;
    for (int d = 0; d < kDepth; ++d) {
        std::vector<int> below;
        for (const int n : level) {
            for (int b = 1; b <= kBranching; ++b) {
                below.push_back(n * 10 + b);
            }
        }
        level = below;
    }
    for (const int n : level) {
        leaves[n] = 1;
    }
    return leaves;
}

TEST(TakingTurns, ReachesEveryLeafOnceAndAnIdleWalkTakesWorkFromTheOther) {
    // An odd number of equal trees: one walk is left with none of its own to start.
    for (const std::vector<int>& roots :
         {std::vector<int>{1}, std::vector<int>{1, 2, 3}, std::vector<int>{1, 2, 3, 4, 5}}) {
        const WalkRecord run = walkTrees(roots);
        EXPECT_EQ(run.leaves, everyLeafOnce(roots));
        EXPECT_GT(run.branchesTaken, 0);
    }
}

TEST(TakingTurns, EndsAtOnceWithNoWorkAndWhenStopped) {
    const WalkRecord none = walkTrees({});
    EXPECT_EQ(none.turns, 0);
    EXPECT_TRUE(none.leaves.empty());

    const WalkRecord stopped = walkTrees({1, 2}, 5);
    EXPECT_EQ(stopped.turns, 5);
    EXPECT_LT(stopped.leaves.size(), everyLeafOnce({1, 2}).size());
}

} // namespace
} // namespace cw::two_phase
