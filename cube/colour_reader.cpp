// The colour reader: measured sticker colours to a facelet string. Colours are compared in
// CIELAB with the CIEDE2000 difference. The centres seed the six colours; every other
// sticker gets a colour by a balanced assignment (exactly eight more of each), and the
// colours' means are re-estimated from it until it settles. The cube's own rules then
// choose: every reachable cube whose pieces fit the colours nearly as well as the best is
// found piece by piece, and the reading is sure only when the best one stands clear.
#include "cube/colour_reader.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <limits>
#include <memory>

#include "cube/facelet_places.h"

namespace cw {
namespace {

using namespace facelet_places;

// Lightness drifts most with the light (shade across a face, a dim room), so it counts
// half as much as hue and chroma, as CIEDE2000's textile weighting has it.
constexpr double kLightnessWeight = 2.0;
// How much less likely (as a log-likelihood) every other reachable cube must be than the
// best for the reading to be sure: e^6 to one.
constexpr double kSureMargin = 6.0;
// The smallest spread of a part of a colour difference, in CIEDE2000 units, so that exact made-up
// colours do not make every other reading infinitely unlikely.
constexpr double kLeastSpread = 2.0;
// A sticker now and then reads as another colour altogether (glare, a shadow, a smudge):
// no colour costs more than this, so that one such sticker cannot outweigh the cube's
// rules, which then say what it must be.
constexpr double kOutlierCost = 15.0;
constexpr int kMostRounds = 8;
// How many of all the stickers' readings a colour's own nine are weighed with when its
// spread is estimated.
constexpr double kPooledReadings = 9.0;
// The piece search first looks at layouts within kFirstWidth of what each slot's cheapest
// choice alone would cost; a best cube further than kLastWidth from that, or more piece
// layouts than kMostLayouts that could be part of a near cube, is too unclear to read.
constexpr double kFirstWidth = kSureMargin + 4.0;
constexpr double kLastWidth = 160.0;
constexpr std::size_t kMostLayouts = 4000;
// Near cubes refitted one by one at most; more are left in doubt.
constexpr std::size_t kMostRefits = 6;
// More matchings of centres to groups than this within the margin: too unclear to read.
constexpr std::size_t kMostMatchings = 6;
// A sticker read as a colour that fits it e^3 times worse than its own closest colour is
// misread under that reading; kSureMargin worse, and it plainly shows another colour. One
// within e^1 of its closest is read as it looks.
constexpr double kMisreadGap = 3.0;
constexpr double kAsItLooks = 1.0;
constexpr int kMostMisread = 2;

using Difference = ColourDifference;
using Costs = std::array<std::array<double, kFaceCount>, kFaceletCount>;
using Letters = std::array<int, kFaceletCount>;

constexpr bool isCentre(std::size_t position) {
    return position % 9 == 4;
}

// How much each part of a difference counts: one over twice its spread's square, so that a
// cost is the negative log-likelihood of a normal spread in each part.
struct Weights {
    double lightness = 0;
    double chroma = 0;
    double hue = 0;
    /// Half the logarithm of the spreads' product: a widely spread colour makes each of its
    /// readings less likely.
    double offset = 0;

    double cost(const Difference& d) const {
        return lightness * d.lightness * d.lightness + chroma * d.chroma * d.chroma +
               hue * d.hue * d.hue + offset;
    }
};

using Matching = std::array<int, kFaceCount>;

// Puts every sticker but the centres into a group, eight more in each beside the centre
// `centreGroup` gives it, with the least total cost: a minimum-cost flow grown one sticker
// at a time, each along the cheapest chain of moves (this sticker into one group, one of
// that group's into another, and so on to a group with room).
Letters balancedAssignment(const Costs& cost, const Matching& centreGroup) {
    Letters letter{};
    letter.fill(-1);
    std::array<int, kFaceCount> count{};
    for (std::size_t side = 0; side < kFaceCount; ++side) {
        letter[side * 9 + 4] = centreGroup[side];
    }
    for (std::size_t sticker = 0; sticker < kFaceletCount; ++sticker) {
        if (isCentre(sticker)) {
            continue;
        }
        // The cheapest way to move one sticker from each group to each other group.
        std::array<std::array<double, kFaceCount>, kFaceCount> shift{};
        std::array<std::array<std::size_t, kFaceCount>, kFaceCount> shifted{};
        for (auto& row : shift) {
            row.fill(std::numeric_limits<double>::infinity());
        }
        for (std::size_t other = 0; other < kFaceletCount; ++other) {
            const int held = letter[other];
            if (held < 0 || isCentre(other)) {
                continue;
            }
            const auto h = static_cast<std::size_t>(held);
            for (std::size_t to = 0; to < kFaceCount; ++to) {
                const double change = cost[other][to] - cost[other][h];
                if (to != h && change < shift[h][to]) {
                    shift[h][to] = change;
                    shifted[h][to] = other;
                }
            }
        }
        std::array<double, kFaceCount> distance = cost[sticker];
        std::array<int, kFaceCount> from{};
        from.fill(-1);
        std::array<std::size_t, kFaceCount> moved{};
        // Bellman-Ford over the six colours: the residual graph has no negative cycle, so
        // six rounds settle it.
        for (int round = 0; round < kFaceCount; ++round) {
            bool changed = false;
            for (std::size_t h = 0; h < kFaceCount; ++h) {
                for (std::size_t to = 0; to < kFaceCount; ++to) {
                    const double through = distance[h] + shift[h][to];
                    if (to != h && through < distance[to] - 1e-12) {
                        distance[to] = through;
                        from[to] = static_cast<int>(h);
                        moved[to] = shifted[h][to];
                        changed = true;
                    }
                }
            }
            if (!changed) {
                break;
            }
        }
        std::size_t end = kFaceCount;
        for (std::size_t side = 0; side < kFaceCount; ++side) {
            if (count[side] < 8 && (end == kFaceCount || distance[side] < distance[end])) {
                end = side;
            }
        }
        ++count[end];
        auto at = end;
        for (int step = 0; step < kFaceCount && from[at] >= 0; ++step) {
            letter[moved[at]] = static_cast<int>(at);
            at = static_cast<std::size_t>(from[at]);
        }
        letter[sticker] = static_cast<int>(at);
    }
    return letter;
}

// One way a slot can be filled: a piece, turned by `turn`, and how unlikely its stickers'
// colours make that.
struct PieceChoice {
    double cost = 0;
    std::uint8_t piece = 0;
    std::uint8_t turn = 0;
};

// A whole layout of one kind of piece: the choice in each slot.
template <std::size_t Slots>
struct Layout {
    double cost = 0;
    int parity = 0;
    std::array<PieceChoice, Slots> choice{};
};

// Every layout of corners (Size 3) or edges (Size 2) whose pieces are all different and
// whose twists or flips add up as a reachable cube's do, costing at most `limit`. Returns
// false when there are more than kMostLayouts.
template <std::size_t Slots, std::size_t Size>
class LayoutSearch {
public:
    LayoutSearch(const std::array<std::array<int, Size>, Slots>& places,
                 const std::array<std::array<int, Size>, Slots>& colours, const Costs& cost) {
        for (std::size_t slot = 0; slot < Slots; ++slot) {
            for (std::size_t piece = 0; piece < Slots; ++piece) {
                for (std::size_t turn = 0; turn < Size; ++turn) {
                    double sum = 0;
                    for (std::size_t k = 0; k < Size; ++k) {
                        const auto place =
                            static_cast<std::size_t>(places[slot][(k + turn) % Size]);
                        sum += cost[place][static_cast<std::size_t>(colours[piece][k])];
                    }
                    options_[slot][piece * Size + turn] = {sum, static_cast<std::uint8_t>(piece),
                                                           static_cast<std::uint8_t>(turn)};
                    byPiece_[slot][piece * Size + turn] = sum;
                }
            }
            std::sort(options_[slot].begin(), options_[slot].end(),
                      [](const PieceChoice& x, const PieceChoice& y) { return x.cost < y.cost; });
        }
        for (std::size_t slot = Slots; slot-- > 0;) {
            leastAfter_[slot] = leastAfter_[slot + 1] + options_[slot][0].cost;
        }
    }

    /// The least a layout can cost, counting each slot's cheapest choice alone.
    double floor() const { return leastAfter_[0]; }

    /// Every layout within `limit`, into `found`; false when there are more than
    /// kMostLayouts.
    bool find(double limit, std::vector<Layout<Slots>>& found) {
        found.clear();
        limit_ = limit;
        found_ = &found;
        return walk(0, 0.0, 0U, 0, 0);
    }

    /// Works out, for every set of pieces put into the first slots, the least cost of
    /// filling the rest: from then on the walk visits only partial layouts that some
    /// completion keeps within the limit, and the least layout of each parity is known.
    void fillCompletions() {
        constexpr unsigned kAll = (1U << Slots) - 1;
        constexpr double kNever = std::numeric_limits<double>::infinity();
        completion_.assign(std::size_t{kAll + 1} * Size * 2, kNever);
        completion_[index(kAll, 0, 0)] = 0.0;
        for (unsigned used = kAll; used-- > 0;) {
            const auto& costs = byPiece_[static_cast<std::size_t>(std::popcount(used))];
            std::array<double, Size * 2> least{};
            least.fill(kNever);
            // Whether an odd number of the pieces used are greater than `piece`: putting
            // it next then changes the permutation's parity.
            std::size_t above = 0;
            for (std::size_t piece = Slots; piece-- > 0;) {
                const unsigned bit = 1U << piece;
                if ((used & bit) != 0) {
                    above ^= 1U;
                    continue;
                }
                const double* const after = &completion_[index(used | bit, 0, 0)];
                for (std::size_t turn = 0; turn < Size; ++turn) {
                    const double here = costs[piece * Size + turn];
                    for (std::size_t turns = 0; turns < Size; ++turns) {
                        const double* const then = after + (turns + turn) % Size * 2;
                        least[turns * 2] = std::min(least[turns * 2], here + then[above]);
                        least[turns * 2 + 1] =
                            std::min(least[turns * 2 + 1], here + then[above ^ 1U]);
                    }
                }
            }
            std::copy(least.begin(), least.end(), &completion_[index(used, 0, 0)]);
        }
    }

    /// The least cost of a layout whose permutation has `parity`; needs fillCompletions.
    double least(int parity) const {
        return completion_[index(0, 0, static_cast<std::size_t>(parity))];
    }

    /// The cheapest layout of all-different pieces whatever their twists or flips add up to
    /// and whatever its permutation's parity: what the colours show, reachable or not.
    Layout<Slots> leastAnyTurns() {
        least_.cost = std::numeric_limits<double>::infinity();
        walkAnyTurns(0, 0.0, 0U);
        return least_;
    }

private:
    void walkAnyTurns(std::size_t slot, double sum, unsigned used) {
        if (slot == Slots) {
            current_.cost = sum;
            least_ = current_;
            return;
        }
        for (const PieceChoice& option : options_[slot]) {
            if (sum + option.cost + leastAfter_[slot + 1] >= least_.cost) {
                break;
            }
            const unsigned bit = 1U << option.piece;
            if ((used & bit) == 0) {
                current_.choice[slot] = option;
                walkAnyTurns(slot + 1, sum + option.cost, used | bit);
            }
        }
    }

    static std::size_t index(unsigned used, std::size_t turns, std::size_t parity) {
        return (std::size_t{used} * Size + turns) * 2 + parity;
    }

    // Whether putting `piece` after the pieces `used` changes the permutation's parity: it
    // does when an odd number of them are greater.
    static std::size_t inversions(unsigned used, unsigned piece) {
        unsigned above = used >> (piece + 1);
        above ^= above >> 8;
        above ^= above >> 4;
        above ^= above >> 2;
        above ^= above >> 1;
        return above & 1U;
    }

    bool walk(std::size_t slot, double sum, unsigned used, std::size_t turns, std::size_t parity) {
        if (slot == Slots) {
            if (turns % Size != 0) {
                return true;
            }
            if (found_->size() == kMostLayouts) {
                return false;
            }
            current_.cost = sum;
            current_.parity = static_cast<int>(parity);
            found_->push_back(current_);
            return true;
        }
        for (const PieceChoice& option : options_[slot]) {
            if (sum + option.cost + leastAfter_[slot + 1] > limit_) {
                break;
            }
            const unsigned bit = 1U << option.piece;
            if ((used & bit) != 0) {
                continue;
            }
            const std::size_t nextTurns = (turns + option.turn) % Size;
            const std::size_t nextParity = parity ^ inversions(used, option.piece);
            // A little slack, as the completion's costs were added up in another order.
            if (!completion_.empty()) {
                const double* const rest = &completion_[index(used | bit, nextTurns, 0)];
                if (sum + option.cost + std::min(rest[0], rest[1]) > limit_ + 1e-9) {
                    continue;
                }
            }
            current_.choice[slot] = option;
            if (!walk(slot + 1, sum + option.cost, used | bit, nextTurns, nextParity)) {
                return false;
            }
        }
        return true;
    }

    std::array<std::array<PieceChoice, Slots * Size>, Slots> options_{};
    // Each slot's cost of each piece in each turn, unsorted.
    std::array<std::array<double, Slots * Size>, Slots> byPiece_{};
    std::array<double, Slots + 1> leastAfter_{};
    std::vector<double> completion_;
    double limit_ = 0;
    std::vector<Layout<Slots>>* found_ = nullptr;
    Layout<Slots> current_;
    Layout<Slots> least_;
};

template <std::size_t Slots, std::size_t Size>
void putLayout(const Layout<Slots>& layout, const std::array<std::array<int, Size>, Slots>& places,
               const std::array<std::array<int, Size>, Slots>& colours, Letters& letter) {
    for (std::size_t slot = 0; slot < Slots; ++slot) {
        const PieceChoice& choice = layout.choice[slot];
        for (std::size_t k = 0; k < Size; ++k) {
            const auto place = static_cast<std::size_t>(places[slot][(k + choice.turn) % Size]);
            letter[place] = colours[choice.piece][k];
        }
    }
}

struct Candidate {
    double cost = 0;
    Letters letter{};
    /// The group each letter's colour is, under the matching of centres that gave this cube.
    Matching group{};

    /// The group of the colour this cube reads sticker `i` as.
    std::size_t groupAt(std::size_t i) const {
        return static_cast<std::size_t>(group[static_cast<std::size_t>(letter[i])]);
    }
};

// How much worse sticker `i` fits the colour `candidate` reads it as than its closest colour.
double misfit(const Costs& cost, const Candidate& candidate, std::size_t i) {
    return cost[i][candidate.groupAt(i)] - *std::min_element(cost[i].begin(), cost[i].end());
}

Candidate cubeOf(const Layout<kCornerCount>& corners, const Layout<kEdgeCount>& edges) {
    Candidate candidate{corners.cost + edges.cost, {}, {}};
    for (int side = 0; side < kFaceCount; ++side) {
        candidate.letter[static_cast<std::size_t>(side * 9 + 4)] = side;
    }
    putLayout(corners, kCornerPlaces, kCornerColours, candidate.letter);
    putLayout(edges, kEdgePlaces, kEdgeColours, candidate.letter);
    return candidate;
}

// The reachable cubes that fit the colours within kSureMargin of the best, best first; empty
// when none fits or too many nearly fit. `shown` is set to the pieces that fit the colours
// best, reachable or not.
using CornerSearch = LayoutSearch<kCornerCount, 3>;
using EdgeSearch = LayoutSearch<kEdgeCount, 2>;

std::vector<Candidate> bestCubes(CornerSearch& corners, EdgeSearch& edges, Candidate& shown) {
    shown = cubeOf(corners.leastAnyTurns(), edges.leastAnyTurns());
    std::vector<Layout<kCornerCount>> cornerLayouts;
    std::vector<Layout<kEdgeCount>> edgeLayouts;
    const double floor = corners.floor() + edges.floor();
    // Mostly the best cube's corners and edges are each within the first width of what their
    // slots' cheapest choices alone would cost: every layout that close is found, and the
    // best cube is among them.
    if (!corners.find(corners.floor() + kFirstWidth, cornerLayouts) ||
        !edges.find(edges.floor() + kFirstWidth, edgeLayouts)) {
        return {};
    }
    constexpr double kNone = std::numeric_limits<double>::infinity();
    std::array<double, 2> leastCorners = {kNone, kNone};
    std::array<double, 2> leastEdges = {kNone, kNone};
    for (const auto& c : cornerLayouts) {
        auto& least = leastCorners[static_cast<std::size_t>(c.parity)];
        least = std::min(least, c.cost);
    }
    for (const auto& e : edgeLayouts) {
        auto& least = leastEdges[static_cast<std::size_t>(e.parity)];
        least = std::min(least, e.cost);
    }
    // A cube costs its corners plus its edges, whose permutations share a parity.
    double best = std::min(leastCorners[0] + leastEdges[0], leastCorners[1] + leastEdges[1]);
    // Any cube within the margin of the best has corners and edges each within the width of
    // their floors, so every one of them has been seen.
    if (best + kSureMargin > floor + kFirstWidth) {
        // Otherwise the least layouts of each parity, worked out exactly, say where the best
        // cube is. One further than the last width from the floor is too unclear to read,
        // and so are more than kMostLayouts layouts that could be part of a near cube.
        corners.fillCompletions();
        edges.fillCompletions();
        best = std::min(corners.least(0) + edges.least(0), corners.least(1) + edges.least(1));
        if (best + kSureMargin > floor + kLastWidth) {
            return {};
        }
        // Only the layouts that some layout of the other kind completes within the margin
        // can be part of a near cube.
        const double cornersMost = best + kSureMargin - std::min(edges.least(0), edges.least(1));
        const double edgesMost = best + kSureMargin - std::min(corners.least(0), corners.least(1));
        if (!corners.find(cornersMost, cornerLayouts) || !edges.find(edgesMost, edgeLayouts)) {
            return {};
        }
    }
    const auto byCost = [](const auto& x, const auto& y) { return x.cost < y.cost; };
    std::sort(cornerLayouts.begin(), cornerLayouts.end(), byCost);
    std::sort(edgeLayouts.begin(), edgeLayouts.end(), byCost);
    std::vector<Candidate> near;
    for (const auto& c : cornerLayouts) {
        if (edgeLayouts.empty() || c.cost + edgeLayouts.front().cost >= best + kSureMargin) {
            break;
        }
        for (const auto& e : edgeLayouts) {
            if (c.cost + e.cost >= best + kSureMargin) {
                break;
            }
            if (c.parity == e.parity) {
                near.push_back(cubeOf(c, e));
            }
        }
    }
    std::sort(near.begin(), near.end(),
              [](const Candidate& x, const Candidate& y) { return x.cost < y.cost; });
    return near;
}

std::string lettersOf(const Letters& letter) {
    std::string text(kFaceletCount, '?');
    for (std::size_t i = 0; i < kFaceletCount; ++i) {
        text[i] = sideLetter(letter[i]);
    }
    return text;
}

// The six colours as this cube shows them: each group's mean and how its readings spread.
struct Fit {
    std::array<Lab, kFaceCount> mean{};
    std::array<Weights, kFaceCount> weights{};
};

// Fits each group's colour to the stickers in it that `counted` allows. Each part's spread
// is the group's own drawn towards that of all the stickers counted (nine readings are few,
// and one odd sticker among them would otherwise widen its colour a lot).
Fit fitGroups(const std::array<Lab, kFaceletCount>& lab, const Letters& group,
              const std::array<bool, kFaceletCount>& counted) {
    Fit fit;
    std::array<int, kFaceCount> members{};
    for (std::size_t i = 0; i < kFaceletCount; ++i) {
        if (counted[i]) {
            const auto g = static_cast<std::size_t>(group[i]);
            fit.mean[g].l += lab[i].l;
            fit.mean[g].a += lab[i].a;
            fit.mean[g].b += lab[i].b;
            ++members[g];
        }
    }
    for (std::size_t g = 0; g < kFaceCount; ++g) {
        const double n = std::max(members[g], 1);
        fit.mean[g] = {fit.mean[g].l / n, fit.mean[g].a / n, fit.mean[g].b / n};
    }
    std::array<Difference, kFaceCount> own{};
    Difference all{};
    int total = 0;
    for (std::size_t i = 0; i < kFaceletCount; ++i) {
        if (!counted[i]) {
            continue;
        }
        const auto g = static_cast<std::size_t>(group[i]);
        const Difference d = colourDifferenceParts(lab[i], fit.mean[g]);
        const Difference squared{d.lightness * d.lightness, d.chroma * d.chroma, d.hue * d.hue};
        own[g].lightness += squared.lightness;
        own[g].chroma += squared.chroma;
        own[g].hue += squared.hue;
        all.lightness += squared.lightness;
        all.chroma += squared.chroma;
        all.hue += squared.hue;
        ++total;
    }
    for (std::size_t g = 0; g < kFaceCount; ++g) {
        const auto spread = [&](double mine, double everyone) {
            const double pooled = everyone / std::max(total, 1);
            const double v = (mine + kPooledReadings * pooled) / (members[g] + kPooledReadings);
            return std::max(v, kLeastSpread * kLeastSpread);
        };
        const double l = spread(own[g].lightness, all.lightness);
        const double c = spread(own[g].chroma, all.chroma);
        const double h = spread(own[g].hue, all.hue);
        fit.weights[g] = {0.5 / l, 0.5 / c, 0.5 / h, 0.5 * std::log(l * c * h)};
    }
    return fit;
}

// Each sticker's cost in each group: its negative log-likelihood there, at most `most`.
Costs measure(const std::array<Lab, kFaceletCount>& lab, const Fit& fit, double most) {
    Costs cost{};
    for (std::size_t i = 0; i < kFaceletCount; ++i) {
        for (std::size_t g = 0; g < kFaceCount; ++g) {
            cost[i][g] =
                std::min(fit.weights[g].cost(colourDifferenceParts(lab[i], fit.mean[g])), most);
        }
    }
    return cost;
}

// The cost of each way of matching the six centres with the six groups, one to one, least
// first.
struct CentreMatch {
    double cost = 0;
    Matching group{};
};

// The matchings that cost at most `width` more than the least, least first.
std::vector<CentreMatch> centreMatches(const Costs& cost, double width) {
    std::array<CentreMatch, 720> all{};
    std::size_t count = 0;
    double least = std::numeric_limits<double>::infinity();
    Matching group = {0, 1, 2, 3, 4, 5};
    do {
        CentreMatch& match = all[count++];
        match.group = group;
        for (std::size_t side = 0; side < kFaceCount; ++side) {
            match.cost += cost[side * 9 + 4][static_cast<std::size_t>(group[side])];
        }
        least = std::min(least, match.cost);
    } while (std::next_permutation(group.begin(), group.end()));
    std::vector<CentreMatch> matches;
    for (std::size_t k = 0; k < count; ++k) {
        if (all[k].cost <= least + width) {
            matches.push_back(all[k]);
        }
    }
    std::sort(matches.begin(), matches.end(),
              [](const CentreMatch& x, const CentreMatch& y) { return x.cost < y.cost; });
    return matches;
}

// The groups the stickers fall into: seeded by the centres, each round puts every centre
// into the group that suits it (one centre a group, so a centre that was only a poor seed
// still ends among its own colour), balances the other stickers eight to a group, and
// refits the groups, until nothing changes. The first round weighs the parts of a
// difference as CIEDE2000 does, lightness at half; later rounds by the spreads found.
Letters groupStickers(const std::array<Lab, kFaceletCount>& lab, Fit& fit) {
    for (std::size_t side = 0; side < kFaceCount; ++side) {
        fit.mean[side] = lab[side * 9 + 4];
    }
    fit.weights.fill({1.0 / (kLightnessWeight * kLightnessWeight), 1.0, 1.0, 0.0});
    std::array<bool, kFaceletCount> all{};
    all.fill(true);
    Letters group{};
    for (int round = 0; round < kMostRounds; ++round) {
        const Costs cost = measure(lab, fit, std::numeric_limits<double>::infinity());
        const Letters next = balancedAssignment(cost, centreMatches(cost, 0.0).front().group);
        if (round > 0 && next == group) {
            break;
        }
        group = next;
        fit = fitGroups(lab, group, all);
    }
    return group;
}

// The reachable cubes within kSureMargin of the best under any plausible matching of
// centres to groups, each matching naming the groups' colours and adding its centres'
// cost; best first. `unclear` is set when some matching found no cube or too many. `shown`
// is set to the pieces that fit the colours best under any of those matchings, reachable or
// not.
std::vector<Candidate> bestCubesOfMatches(const Costs& cost, bool& unclear, Candidate& shown) {
    std::vector<Candidate> near;
    unclear = false;
    shown.cost = std::numeric_limits<double>::infinity();
    const std::vector<CentreMatch> matches = centreMatches(cost, kSureMargin);
    if (matches.size() > kMostMatchings) {
        // The centres' colours are too alike to say which group each one names.
        unclear = true;
        return near;
    }
    // Each matching's cubes cost at least its centres plus the least of each slot alone:
    // the matchings are searched least first by that, and those that cannot come within the
    // margin of a cube already found are not searched at all.
    struct MatchSearch {
        CentreMatch match;
        CornerSearch corners;
        EdgeSearch edges;

        MatchSearch(const CentreMatch& m, const Costs& byLetter)
            : match(m), corners(kCornerPlaces, kCornerColours, byLetter),
              edges(kEdgePlaces, kEdgeColours, byLetter) {}
        double least() const { return match.cost + corners.floor() + edges.floor(); }
    };
    std::vector<std::unique_ptr<MatchSearch>> searches;
    for (const CentreMatch& match : matches) {
        Costs byLetter{};
        for (std::size_t i = 0; i < kFaceletCount; ++i) {
            for (std::size_t side = 0; side < kFaceCount; ++side) {
                byLetter[i][side] = cost[i][static_cast<std::size_t>(match.group[side])];
            }
        }
        searches.push_back(std::make_unique<MatchSearch>(match, byLetter));
    }
    std::stable_sort(searches.begin(), searches.end(),
                     [](const auto& x, const auto& y) { return x->least() < y->least(); });
    for (const auto& search : searches) {
        const CentreMatch& match = search->match;
        if (!near.empty() && search->least() >= near.front().cost + kSureMargin) {
            break;
        }
        Candidate pieces;
        std::vector<Candidate> found = bestCubes(search->corners, search->edges, pieces);
        pieces.cost += match.cost;
        pieces.group = match.group;
        if (pieces.cost < shown.cost) {
            shown = pieces;
        }
        unclear = unclear || found.empty();
        for (Candidate& candidate : found) {
            candidate.cost += match.cost;
            candidate.group = match.group;
            near.push_back(candidate);
        }
        std::sort(near.begin(), near.end(),
                  [](const Candidate& x, const Candidate& y) { return x.cost < y.cost; });
    }
    if (!near.empty()) {
        const double best = near.front().cost;
        std::erase_if(near, [best](const Candidate& c) { return c.cost >= best + kSureMargin; });
    }
    return near;
}

// The stickers whose colour is nearly as close to another group's, for a reading that
// found no cube; at least the two least clear.
std::vector<int> unclearStickers(const Costs& cost, const Letters& group) {
    std::array<std::pair<double, int>, kFaceletCount> clearness{};
    for (std::size_t i = 0; i < kFaceletCount; ++i) {
        const auto own = static_cast<std::size_t>(group[i]);
        double next = std::numeric_limits<double>::infinity();
        for (std::size_t g = 0; g < kFaceCount; ++g) {
            if (g != own) {
                next = std::min(next, cost[i][g]);
            }
        }
        clearness[i] = {isCentre(i) ? next + kOutlierCost : next - cost[i][own],
                        static_cast<int>(i)};
    }
    std::sort(clearness.begin(), clearness.end());
    std::vector<int> doubtful;
    for (std::size_t k = 0; k < clearness.size(); ++k) {
        if (clearness[k].first < kSureMargin || k < 2) {
            doubtful.push_back(clearness[k].second);
        }
    }
    std::sort(doubtful.begin(), doubtful.end());
    return doubtful;
}

} // namespace

ColourReading readColours(const StickerColours& stickers) {
    std::array<Lab, kFaceletCount> lab{};
    for (std::size_t i = 0; i < kFaceletCount; ++i) {
        lab[i] = toLab(stickers[i]);
    }
    Fit fit;
    Letters group = groupStickers(lab, fit);
    Costs cost = measure(lab, fit, kOutlierCost);
    bool unclear = false;
    Candidate shown;
    std::vector<Candidate> near = bestCubesOfMatches(cost, unclear, shown);

    // A sticker that reads as another colour altogether pulls its group's mean and spread.
    // Each near cube says which stickers are odd under it: the colours are fitted again
    // without them, once per near cube, and the cube whose own fit explains all 54 colours
    // clearly best is weighed again under that fit. Near cubes that explain them about
    // equally well stay in doubt.
    if (!near.empty() && !unclear && near.size() <= kMostRefits) {
        std::vector<Letters> groups(near.size());
        std::vector<std::array<bool, kFaceletCount>> counted(near.size());
        bool odd = false;
        for (std::size_t k = 0; k < near.size(); ++k) {
            for (std::size_t i = 0; i < kFaceletCount; ++i) {
                groups[k][i] = static_cast<int>(near[k].groupAt(i));
                counted[k][i] = cost[i][static_cast<std::size_t>(groups[k][i])] < kOutlierCost;
                odd = odd || !counted[k][i];
            }
        }
        // With no odd sticker under any of them, a refit would change nothing.
        std::vector<std::pair<double, Costs>> refits;
        for (std::size_t k = 0; odd && k < near.size(); ++k) {
            const Costs refitted =
                measure(lab, fitGroups(lab, groups[k], counted[k]), kOutlierCost);
            double total = 0;
            for (std::size_t i = 0; i < kFaceletCount; ++i) {
                total += refitted[i][static_cast<std::size_t>(groups[k][i])];
            }
            refits.emplace_back(total, refitted);
        }
        std::size_t best = 0;
        bool clear = odd;
        for (std::size_t k = 1; k < refits.size(); ++k) {
            best = refits[k].first < refits[best].first ? k : best;
        }
        for (std::size_t k = 0; k < refits.size(); ++k) {
            clear = clear && (k == best || refits[k].first >= refits[best].first + kSureMargin);
        }
        if (clear) {
            cost = refits[best].second;
            group = groups[best];
            near = bestCubesOfMatches(cost, unclear, shown);
        }
    }

    // One sticker that plainly shows another colour (glare, a smudge, a badly printed
    // sticker) is a misreading the cube's rules put right: with nine stickers a colour it
    // can only be the colour that is short, on the piece where that makes a real piece. A
    // near cube that reads it as what it shows must then misread some other sticker too.
    // So when the best cube reads every sticker but that one as it looks, and every other
    // near cube misreads at least two, the best is the reading. Two colours swapped on one
    // piece make no reachable cube, and keep nine of each colour, so any reachable cube
    // reads at least two of their stickers as other than they look: still refused.
    if (!unclear && near.size() > 1) {
        const auto misread = [&](const Candidate& candidate, double gap) {
            int count = 0;
            for (std::size_t i = 0; i < kFaceletCount; ++i) {
                count += misfit(cost, candidate, i) >= gap ? 1 : 0;
            }
            return count;
        };
        const int plain = misread(near.front(), kSureMargin);
        const bool fewMisread =
            plain >= 1 && plain <= kMostMisread && misread(near.front(), kAsItLooks) == plain;
        if (fewMisread && std::all_of(near.begin() + 1, near.end(), [&](const Candidate& c) {
                return misread(c, kMisreadGap) > plain;
            })) {
            near.resize(1);
        }
    }

    ColourReading reading;
    Letters letter{};
    if (!near.empty() && !unclear) {
        letter = near.front().letter;
        std::array<bool, kFaceletCount> doubt{};
        for (std::size_t i = 0; i < kFaceletCount; ++i) {
            for (const Candidate& other : near) {
                doubt[i] = doubt[i] || other.letter[i] != letter[i];
            }
        }
        // Pieces that fit the colours clearly better than any reachable cube, with a piece
        // flipped or twisted in place or two pieces exchanged, say that the cube in the hands
        // is not one face turns reach (a piece put back wrongly, stickers moved): the
        // reachable cube nearest to it is then no reading at all. The stickers where the two
        // differ are in doubt.
        if (near.front().cost >= shown.cost + kSureMargin) {
            for (std::size_t i = 0; i < kFaceletCount; ++i) {
                doubt[i] = doubt[i] || near.front().groupAt(i) != shown.groupAt(i);
            }
        }
        // One odd sticker is a misreading the cube's rules can put right; two on one piece
        // (each plainly another colour, or each clearly closer to another) are more likely a
        // piece put together wrongly (a sticker moved, a piece reassembled the wrong way
        // round), which no reading should paper over.
        const auto oddStickers = [&](const auto& places) {
            for (const auto& piece : places) {
                int odd = 0;
                for (int place : piece) {
                    const auto p = static_cast<std::size_t>(place);
                    odd += cost[p][near.front().groupAt(p)] >= kOutlierCost ||
                                   misfit(cost, near.front(), p) >= kMisreadGap
                               ? 1
                               : 0;
                }
                for (int place : piece) {
                    doubt[static_cast<std::size_t>(place)] =
                        doubt[static_cast<std::size_t>(place)] || odd >= 2;
                }
            }
        };
        oddStickers(kCornerPlaces);
        oddStickers(kEdgePlaces);
        for (std::size_t i = 0; i < kFaceletCount; ++i) {
            if (doubt[i]) {
                reading.doubtful.push_back(static_cast<int>(i));
            }
        }
    } else {
        // No reachable cube fits, or too many do: stickers are named by the centre of their
        // group.
        const Matching centreGroup = centreMatches(cost, 0.0).front().group;
        for (std::size_t i = 0; i < kFaceletCount; ++i) {
            for (std::size_t side = 0; side < kFaceCount; ++side) {
                if (centreGroup[side] == group[i]) {
                    letter[i] = static_cast<int>(side);
                }
            }
        }
        reading.doubtful = unclearStickers(cost, group);
    }
    reading.best = lettersOf(letter);
    if (reading.doubtful.empty()) {
        reading.facelets = reading.best;
    }

    std::array<std::array<int, 3>, kFaceCount> total{};
    for (std::size_t i = 0; i < kFaceletCount; ++i) {
        auto& t = total[static_cast<std::size_t>(letter[i])];
        t[0] += stickers[i].r;
        t[1] += stickers[i].g;
        t[2] += stickers[i].b;
    }
    for (std::size_t side = 0; side < kFaceCount; ++side) {
        reading.faceColours[side] = {static_cast<std::uint8_t>(total[side][0] / 9),
                                     static_cast<std::uint8_t>(total[side][1] / 9),
                                     static_cast<std::uint8_t>(total[side][2] / 9)};
    }
    return reading;
}

} // namespace cw
