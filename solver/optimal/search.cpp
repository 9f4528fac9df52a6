// Iterative-deepening search for the shortest solution. Each length is searched to the end
// as a list of two-move beginnings that the threads take in order, each thread several at a
// time; the first beginning (in that order) with a solution gives the answer, so neither the
// number of threads nor how a thread takes turns between its beginnings changes it.
// The bounds only ever rule out positions that no solution of the length passes through, so
// a tighter bound (such as the inverse's) changes how much is searched, never the answer.
#include "solver/optimal/search.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <limits>
#include <span>

#include "solver/core/symmetry.h"
#include "solver/core/threads.h"
#include "solver/optimal/inverse.h"

namespace cw::optimal {
namespace {

using core::alongAxis;
using core::axisMove;
using core::kAxisCount;
using core::kMoveCount;
using core::mayFollow;
using Clock = std::chrono::steady_clock;

/// The deepest search; no cube needs more than 20 face turns.
constexpr int kMostMoves = 32;

/// Beginnings this long are handed out to the threads: up to 243 of them, enough for the
/// threads to finish close together.
constexpr int kBeginningLength = 2;

/// How many beginnings a thread searches at once, taking turns: while one waits for the
/// table entries it has asked for, the others work.
constexpr std::size_t kLanes = 4;

/// How many positions a thread visits between looks at the clock and the stop flag.
constexpr std::uint64_t kCheckEvery = std::uint64_t{1} << 14;

/// How far below `remaining` a child's own bound may be for its inverse still to be looked
/// up: the inverse's bound is seldom far above the cube's, and its lookups cost as much.
constexpr int kInverseSlack = 1;

/// The cube's coordinates along each of the three axes, and for each axis at most how many
/// moves its table says it needs: the table's own value, or, where the search had no need
/// to look it up, its parent's plus one (a move changes a table's own value by at most one;
/// a lookup left out never rules a position out, so a table whose values may move by more,
/// as the packed one's do about its cut, only loses a chance to), or what a table read as no
/// more than the moves left without looking further (see askTogether()). And the cube's
/// inverse, to bound it by as well, with its bounds along the axes as last looked up (its
/// parent's where it was not): those whose bit is set in `inverseExact` are the inverse's
/// own, the others only set the order of its next lookups.
struct Node {
    std::array<PhaseOneCoordinates, kAxisCount> axes{};
    std::array<std::uint8_t, kAxisCount> most{};
    PackedCube inverse{};
    std::array<std::uint8_t, kAxisCount> inverseDepths{};
    std::uint8_t inverseExact = 0;
};

/// What every thread reads: the table, the move tables and the start.
template <typename Table>
struct Context {
    const Table& table;
    const MoveTables& moves = moveTables();
    const InverseMoves& inverse = InverseMoves::get();
    std::array<std::array<std::uint8_t, kMoveCount>, kAxisCount> axisMoves{};
    /// For each move, the axes (bit a for axis a) along which the table reads the move alone
    /// as solved. Put in front of a cube, such a move (or its undoing, as the two are solved
    /// or not together) leaves what the table reads along those axes as it was: the table
    /// keeps twists and flips by place and which pieces are in which places, and the move
    /// changes none of them there.
    std::array<std::uint8_t, kMoveCount> homeAxes{};
    CubieCube start;
    Node root{};
    bool inverseBounds = true;

    Context(const Table& t, const CubieCube& cube, bool byInverse = true)
        : table(t), start(cube), inverseBounds(byInverse) {
        root.inverse = packed(core::inverseOf(cube));
        for (int a = 0; a < kAxisCount; ++a) {
            root.inverseDepths[static_cast<std::size_t>(a)] =
                static_cast<std::uint8_t>(table.depth(inverse.along(root.inverse, a)));
        }
        root.inverseExact = (1U << kAxisCount) - 1;
        for (int a = 0; a < kAxisCount; ++a) {
            const auto ai = static_cast<std::size_t>(a);
            root.axes[ai] = phaseOneCoordinates(alongAxis(cube, a));
            root.most[ai] = static_cast<std::uint8_t>(table.depth(root.axes[ai]));
            for (int m = 0; m < kMoveCount; ++m) {
                const auto mi = static_cast<std::size_t>(m);
                axisMoves[ai][mi] = static_cast<std::uint8_t>(axisMove(a, m));
                if (readsSolved(phaseOneCoordinates(alongAxis(core::moveCube(m), a)))) {
                    homeAxes[mi] = static_cast<std::uint8_t>(homeAxes[mi] | 1U << a);
                }
            }
        }
    }

    /// Whether the table reads these coordinates as the solved cube's: by its entry where
    /// it has entries, as the bound of a table that stands another in below some depth may
    /// read 0 for more than that.
    bool readsSolved(const PhaseOneCoordinates& at) const {
        if constexpr (requires { table.indexOf(at); }) {
            return table.indexOf(at) == table.indexOf(PhaseOneCoordinates{});
        } else {
            return table.depth(at) == 0;
        }
    }

    /// The most moves any axis's table asks for, and one more when all three ask for the
    /// same number and the table allows it: a cube that many moves from solved would have to
    /// bring each axis one move nearer home at every move, so the cube one move before
    /// solved would still be a move from home along every axis. Where a turn of a face
    /// leaves a solved cube at home along its own axis (as it does twists, flips and
    /// middle-slice edges), that cube is home along the last move's axis already. A turn of
    /// the up face moves edges into other slices, so the huge table takes the most moves
    /// alone.
    static int bound(const std::array<std::uint8_t, kAxisCount>& most) {
        const int highest = std::max({most[0], most[1], most[2]});
        const bool agree = highest > 0 && most[0] == most[1] && most[1] == most[2];
        return highest + (Table::kOwnAxisTurnsStayHome && agree ? 1 : 0);
    }
};

/// A position's children: the moves that may follow its last one, and later the cubes they
/// leave, of which an Expansion keeps those `remaining` moves may still solve.
struct Frame {
    std::array<Node, kMoveCount> next;
    std::array<std::uint8_t, kMoveCount> moves;
    std::size_t count = 0;
    /// The next child to go into, and the depth of the position whose children these are.
    std::size_t at = 0;
    int depth = 0;
};

/// Finds the moves that may follow `last` and leave a cube that `remaining` moves may solve,
/// in order, with the cubes they leave. The bounds go axis by axis over all the moves at once,
/// so that their lookups, each a miss in a table of gigabytes, overlap. The axis whose bound is
/// tightest goes first, as it turns the most moves away, and each later axis is asked only
/// about the moves the axes before it let through. An axis with room to spare lets every move
/// through without a lookup as long as one more move cannot use the room up, and on the last
/// move only solved coordinates will do. Then the same for the children's inverses.
///
/// Each axis's lookups are asked for and read in two steps: advance() returns between them,
/// so that the caller can work on another position while the entries come in from memory,
/// which is what a position mostly waits for.
template <typename Table>
class Expansion {
public:
    void start(const Context<Table>& context, const Node& node, int last, int remaining,
               Frame& out) {
        context_ = &context;
        node_ = &node;
        out_ = &out;
        remaining_ = remaining;
        count_ = 0;
        for (int m = 0; m < kMoveCount; ++m) {
            if (mayFollow(m, last)) {
                out.moves[count_++] = static_cast<std::uint8_t>(m);
            }
        }
        order_ = {0, 1, 2};
        std::sort(order_.begin(), order_.end(),
                  [&node](std::size_t a, std::size_t b) { return node.most[a] > node.most[b]; });
        step_ = 0;
        waiting_ = false;
    }

    /// Goes on until the children are known and in the frame (true), or until it has asked
    /// for entries that may not have arrived yet (false: call again, after other work).
    bool advance() {
        if (waiting_) {
            const bool read = step_ < kAxisCount
                                  ? readOwn(order_[step_])
                                  : sieve_.read(context_->table, out_->next, remaining_);
            if (!read) {
                return false;
            }
            waiting_ = false;
            ++step_;
        }
        for (; step_ < kAxisCount; ++step_) {
            if (askOwn(order_[step_])) {
                waiting_ = true;
                return false;
            }
        }
        if (step_ == kAxisCount) {
            keepBound();
            // On the last move the coordinates at home decide; no inverse is needed after it.
            if (remaining_ == 0 || !context_->inverseBounds) {
                out_->count = count_;
                return true;
            }
            startInverse();
        }
        while (sieve_.axesLeft()) {
            if (sieve_.ask(context_->inverse, context_->table, out_->next, remaining_)) {
                waiting_ = true;
                return false;
            }
            ++step_;
        }
        out_->count = sieve_.keep(out_->next, out_->moves, remaining_);
        return true;
    }

    /// advance() until done.
    void finish() {
        while (!advance()) {
        }
    }

private:
    // The children's coordinates along axis `a`, and their bounds along it where those are
    // known without a lookup; true when a lookup was asked for instead.
    bool askOwn(std::size_t a) {
        const Context<Table>& c = *context_;
        const Node& node = *node_;
        std::array<Node, kMoveCount>& next = out_->next;
        const std::array<std::uint8_t, kMoveCount>& kept = out_->moves;
        if (count_ == 0) {
            return false;
        }
        for (std::size_t i = 0; i < count_; ++i) {
            next[i].axes[a] = c.moves.after(node.axes[a], c.axisMoves[a][kept[i]]);
        }
        if (node.most[a] + 1 < remaining_) {
            for (std::size_t i = 0; i < count_; ++i) {
                next[i].most[a] = static_cast<std::uint8_t>(node.most[a] + 1);
            }
            return false;
        }
        if (remaining_ == 0) {
            std::array<int, kMoveCount> depths{};
            for (std::size_t i = 0; i < count_; ++i) {
                depths[i] = next[i].axes[a] == PhaseOneCoordinates{} ? 0 : 1;
            }
            keepWithin(a, depths);
            return false;
        }
        askTogether(
            c.table, count_, [&](std::size_t i) { return next[i].axes[a]; }, asked_, remaining_);
        return true;
    }

    // Reads what askOwn() asked for; false when more is on its way.
    bool readOwn(std::size_t a) {
        if (!readAsked(context_->table, asked_, depths_)) {
            return false;
        }
        keepWithin(a, depths_);
        return true;
    }

    void keepWithin(std::size_t a, const std::array<int, kMoveCount>& depths) {
        std::array<Node, kMoveCount>& next = out_->next;
        std::array<std::uint8_t, kMoveCount>& kept = out_->moves;
        std::size_t stay = 0;
        for (std::size_t i = 0; i < count_; ++i) {
            if (depths[i] <= remaining_) {
                next[i].most[a] = static_cast<std::uint8_t>(depths[i]);
                next[stay] = next[i];
                kept[stay++] = kept[i];
            }
        }
        count_ = stay;
    }

    // An axis let through without a lookup is below `remaining`, so this asks only about
    // bounds that were looked up.
    void keepBound() {
        std::array<Node, kMoveCount>& next = out_->next;
        std::array<std::uint8_t, kMoveCount>& kept = out_->moves;
        std::size_t stay = 0;
        for (std::size_t i = 0; i < count_; ++i) {
            if (Context<Table>::bound(next[i].most) <= remaining_) {
                next[stay] = next[i];
                kept[stay++] = kept[i];
            }
        }
        count_ = stay;
    }

    // Only children whose own bound comes near `remaining` have their inverse looked up,
    // first along the axis whose bound was the tightest for the parent's inverse. A move puts
    // its undoing in front of the inverse, so along the move's homeAxes the parent's value is
    // the child's, and no lookup is needed.
    void startInverse() {
        const Context<Table>& c = *context_;
        const Node& node = *node_;
        std::array<Node, kMoveCount>& next = out_->next;
        const std::array<std::uint8_t, kMoveCount>& kept = out_->moves;
        std::uint32_t probe = 0;
        for (std::size_t i = 0; i < count_; ++i) {
            next[i].inverse = c.inverse.before(node.inverse, InverseMoves::undo(kept[i]));
            next[i].inverseDepths = node.inverseDepths;
            next[i].inverseExact = node.inverseExact & c.homeAxes[kept[i]];
            if (Context<Table>::bound(next[i].most) + kInverseSlack >= remaining_) {
                probe |= std::uint32_t{1} << i;
            }
        }
        std::array<std::size_t, kAxisCount> order{0, 1, 2};
        std::sort(order.begin(), order.end(), [&node](std::size_t a, std::size_t b) {
            return node.inverseDepths[a] > node.inverseDepths[b];
        });
        sieve_.start(count_, probe, order);
    }

    const Context<Table>* context_ = nullptr;
    const Node* node_ = nullptr;
    Frame* out_ = nullptr;
    int remaining_ = 0;
    std::size_t count_ = 0;
    std::array<std::size_t, kAxisCount> order_{};
    // The axes done: the cube's three, then the inverse's (so past kAxisCount once the
    // inverse's lookups have begun); and whether the current one waits for its entries.
    std::size_t step_ = 0;
    bool waiting_ = false;
    AskedDepths<kMoveCount> asked_;
    std::array<int, kMoveCount> depths_{};
    InverseSieve<Table, Node, kMoveCount> sieve_;
};

/// Whether `moves` (0..17) played on `cube` solve it.
bool solvedBy(const CubieCube& cube, std::span<const int> moves) {
    CubieCube played = cube;
    for (const int move : moves) {
        played = core::multiply(played, core::moveCube(move));
    }
    return played == CubieCube{};
}

struct Beginning {
    std::array<int, kBeginningLength> moves{};
    int count = 0;
    Node node{};
};

/// What the threads share while they search one length.
struct Shared {
    Clock::time_point deadline;
    const std::atomic<bool>* stop = nullptr;
    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> firstFound{std::numeric_limits<std::size_t>::max()};
    std::atomic<bool> interrupted{false};
    std::atomic<std::uint64_t> nodes{0};

    /// Notes whether the deadline has passed or the stop flag is set; true when either is.
    bool giveUpNow() {
        if (Clock::now() >= deadline ||
            (stop != nullptr && stop->load(std::memory_order_relaxed))) {
            interrupted = true;
        }
        return interrupted.load(std::memory_order_relaxed);
    }
};

/// One beginning's search, depth first, with its own stack: a thread keeps several at once
/// and switches between them whenever one has asked for table entries (see Expansion), so
/// that one waits for memory while the others work.
template <typename Table>
class Lane {
public:
    Lane(const Context<Table>& context, Shared& shared) : context_(context), shared_(shared) {}

    bool busy() const { return busy_; }
    std::size_t index() const { return index_; }
    std::uint64_t nodes() const { return nodes_; }

    /// Takes on the moves after `beginning` that make a solution of `length` in all, the
    /// beginning being number `index` in the search's order.
    void begin(const Beginning& beginning, std::size_t index, int length) {
        index_ = index;
        length_ = length;
        abandoned_ = false;
        busy_ = true;
        found_ = false;
        top_ = 0;
        expanding_ = false;
        for (int i = 0; i < beginning.count; ++i) {
            path_[static_cast<std::size_t>(i)] = beginning.moves[static_cast<std::size_t>(i)];
        }
        const int last = beginning.count == 0
                             ? -1
                             : beginning.moves[static_cast<std::size_t>(beginning.count - 1)];
        root_ = beginning.node;
        if (enter(root_, beginning.count, last)) {
            found_ = true;
            busy_ = false;
        } else if (!expanding_) {
            busy_ = false;
        }
    }

    /// Goes on until it has asked for table entries (still busy) or the beginning is done.
    void step() {
        for (;;) {
            if (expanding_) {
                if (!expansion_.advance()) {
                    return;
                }
                expanding_ = false;
            }
            if (abandoned_ || top_ == 0) {
                busy_ = false;
                return;
            }
            Frame& frame = frames_[top_ - 1];
            if (frame.at == frame.count) {
                --top_;
                continue;
            }
            const std::size_t i = frame.at++;
            path_[static_cast<std::size_t>(frame.depth)] = frame.moves[i];
            if (enter(frame.next[i], frame.depth + 1, frame.moves[i])) {
                found_ = true;
                busy_ = false;
                return;
            }
        }
    }

    /// The solution, once the lane is no longer busy, when the beginning held one (and was
    /// not abandoned before it was found).
    std::optional<std::vector<int>> solution() const {
        if (!found_) {
            return std::nullopt;
        }
        return std::vector<int>(path_.begin(), path_.begin() + length_);
    }

private:
    // A position at `depth` moves: true when it is a solution; otherwise, unless the search
    // of this beginning is over, its children are on their way (expanding_).
    bool enter(const Node& node, int depth, int last) {
        if ((++nodes_ & (kCheckEvery - 1)) == 0) {
            checkIn();
        }
        if (abandoned_) {
            return false;
        }
        const int remaining = length_ - depth;
        if (remaining == 0) {
            return solves(depth);
        }
        Frame& frame = frames_[top_++];
        frame.at = 0;
        frame.depth = depth;
        expansion_.start(context_, node, last, remaining - 1, frame);
        expanding_ = true;
        return false;
    }

    // Coordinates at home along all three axes still leave the corners and edges to be
    // placed, so a candidate is played out on the pieces.
    bool solves(int depth) const {
        return solvedBy(context_.start,
                        std::span<const int>(path_).first(static_cast<std::size_t>(depth)));
    }

    void checkIn() {
        // A solution in an earlier beginning makes this one's result moot.
        abandoned_ =
            shared_.giveUpNow() || shared_.firstFound.load(std::memory_order_relaxed) < index_;
    }

    const Context<Table>& context_;
    Shared& shared_;
    std::array<Frame, kMostMoves> frames_;
    std::size_t top_ = 0;
    Node root_{};
    Expansion<Table> expansion_;
    bool expanding_ = false;
    std::array<int, kMostMoves> path_{};
    std::size_t index_ = 0;
    int length_ = 0;
    std::uint64_t nodes_ = 0;
    bool abandoned_ = false;
    bool busy_ = false;
    bool found_ = false;
};

/// The beginnings of `length`-move solutions in the order the search takes them, less those
/// the bound rules out.
template <typename Table>
std::vector<Beginning> beginnings(const Context<Table>& context, int length) {
    std::vector<Beginning> out;
    const int count = std::min(length, kBeginningLength);
    const auto extend = [&](const auto& self, const Beginning& from) -> void {
        if (from.count == count) {
            out.push_back(from);
            return;
        }
        const int last =
            from.count == 0 ? -1 : from.moves[static_cast<std::size_t>(from.count - 1)];
        Frame children;
        Expansion<Table> expansion;
        expansion.start(context, from.node, last, length - from.count - 1, children);
        expansion.finish();
        for (std::size_t i = 0; i < children.count; ++i) {
            Beginning next = from;
            next.node = children.next[i];
            next.moves[static_cast<std::size_t>(next.count++)] = children.moves[i];
            self(self, next);
        }
    };
    extend(extend, Beginning{{}, 0, context.root});
    return out;
}

struct LengthResult {
    std::optional<std::vector<int>> moves;
    bool interrupted = false;
    std::uint64_t nodes = 0;
};

template <typename Table>
LengthResult searchLength(const Context<Table>& context, int length,
                          const SearchSettings& settings) {
    Shared shared;
    shared.deadline = settings.deadline;
    shared.stop = settings.stop;
    if (shared.giveUpNow()) {
        return {std::nullopt, true, 0};
    }
    const std::vector<Beginning> starts = beginnings(context, length);
    std::vector<std::optional<std::vector<int>>> found(starts.size());

    const auto work = [&] {
        std::vector<Lane<Table>> lanes(kLanes, Lane<Table>(context, shared));
        // Hands the next beginning not yet taken to `lane`; false when none is left.
        const auto take = [&](Lane<Table>& lane) {
            for (;;) {
                const std::size_t i = shared.next.fetch_add(1);
                if (i >= starts.size() || shared.giveUpNow()) {
                    return false;
                }
                if (i <= shared.firstFound) {
                    lane.begin(starts[i], i, length);
                    return true;
                }
            }
        };
        const auto finished = [&](const Lane<Table>& lane) {
            const std::size_t i = lane.index();
            found[i] = lane.solution();
            if (found[i]) {
                std::size_t first = shared.firstFound;
                while (i < first && !shared.firstFound.compare_exchange_weak(first, i)) {
                }
            }
        };
        bool more = true;
        for (bool anyBusy = true; anyBusy;) {
            anyBusy = false;
            for (Lane<Table>& lane : lanes) {
                while (!lane.busy() && more) {
                    more = take(lane);
                    if (more && !lane.busy()) {
                        finished(lane); // settled by its first position alone
                    }
                }
                if (lane.busy()) {
                    lane.step();
                    if (!lane.busy()) {
                        finished(lane);
                    }
                    anyBusy = anyBusy || lane.busy() || more;
                }
            }
        }
        for (const Lane<Table>& lane : lanes) {
            shared.nodes += lane.nodes();
        }
    };
    core::runOnThreads(settings.jobs, [&work](unsigned) { work(); });

    LengthResult result;
    result.interrupted = shared.interrupted;
    result.nodes = shared.nodes;
    for (std::optional<std::vector<int>>& moves : found) {
        if (moves) {
            result.moves = std::move(moves);
            break;
        }
    }
    return result;
}

/// SearchSettings::tryLength's moves for `length`, when it is asked about that length and its
/// moves solve the cube in no more. Moves that do not solve it are not taken on trust: the
/// search goes on as if none had been found.
std::optional<std::vector<int>> tryLength(const CubieCube& cube, const SearchSettings& settings,
                                          int length) {
    if (!settings.tryLength || length < settings.tryLengthFrom ||
        (settings.stop != nullptr && settings.stop->load()) || Clock::now() >= settings.deadline) {
        return std::nullopt;
    }
    std::optional<std::vector<int>> moves = settings.tryLength(length);
    if (!moves || static_cast<int>(moves->size()) > length) {
        return std::nullopt;
    }
    const bool moves0To17 =
        std::all_of(moves->begin(), moves->end(), [](int m) { return m >= 0 && m < kMoveCount; });
    if (!moves0To17 || !solvedBy(cube, *moves)) {
        return std::nullopt;
    }
    return moves;
}

} // namespace

template <typename Table>
int lowerBound(const CubieCube& cube, const Table& table) {
    const Context<Table> context(table, cube);
    return context.bound(context.root.most);
}

template <typename Table>
SearchOutcome searchOptimal(const CubieCube& cube, const Table& table,
                            const SearchSettings& settings) {
    const Context<Table> context(table, cube, settings.inverseBounds);
    SearchOutcome outcome;
    const int longest = std::min(settings.longest, kMostMoves);
    int length = context.bound(context.root.most);
    for (; length <= longest; ++length) {
        if (settings.onLength) {
            settings.onLength({length, false, 0, 0});
        }
        if (std::optional<std::vector<int>> tried = tryLength(cube, settings, length)) {
            outcome.moves = std::move(tried);
            outcome.provenLength = length;
            outcome.tried = true;
            return outcome;
        }
        const Clock::time_point start = Clock::now();
        LengthResult result = searchLength(context, length, settings);
        outcome.nodes += result.nodes;
        if (result.moves || result.interrupted) {
            // A solution found before the search gave up is still a shortest one: no
            // shorter length has one.
            outcome.moves = std::move(result.moves);
            outcome.provenLength = length;
            outcome.interrupted = result.interrupted;
            return outcome;
        }
        if (settings.onLength) {
            const std::chrono::duration<double> took = Clock::now() - start;
            settings.onLength({length, true, took.count(), result.nodes});
        }
    }
    outcome.provenLength = length;
    return outcome;
}

template <typename Table>
OptimalSolution solveOptimal(const CubieCube& cube, const Table& table, SearchSettings settings,
                             std::vector<FaceTurn> first) {
    OptimalSolution out;
    out.moves = std::move(first);
    settings.longest = std::min(settings.longest, static_cast<int>(out.moves.size()) - 1);
    const SearchOutcome outcome = searchOptimal(cube, table, settings);
    if (outcome.moves) {
        out.moves = faceTurns(*outcome.moves);
    }
    out.provenLength = outcome.provenLength;
    out.interrupted = outcome.interrupted;
    out.nodes = outcome.nodes;
    out.tried = outcome.tried;
    return out;
}

template SearchOutcome searchOptimal(const CubieCube&, const MediumPatternTable&,
                                     const SearchSettings&);
template SearchOutcome searchOptimal(const CubieCube&, const LargePatternTable&,
                                     const SearchSettings&);
template SearchOutcome searchOptimal(const CubieCube&, const HugePatternTable&,
                                     const SearchSettings&);
template SearchOutcome searchOptimal(const CubieCube&, const SmallPatternTable&,
                                     const SearchSettings&);
template OptimalSolution solveOptimal(const CubieCube&, const MediumPatternTable&, SearchSettings,
                                      std::vector<FaceTurn>);
template OptimalSolution solveOptimal(const CubieCube&, const LargePatternTable&, SearchSettings,
                                      std::vector<FaceTurn>);
template OptimalSolution solveOptimal(const CubieCube&, const HugePatternTable&, SearchSettings,
                                      std::vector<FaceTurn>);
template OptimalSolution solveOptimal(const CubieCube&, const SmallPatternTable&, SearchSettings,
                                      std::vector<FaceTurn>);
template int lowerBound(const CubieCube&, const MediumPatternTable&);
template int lowerBound(const CubieCube&, const LargePatternTable&);
template int lowerBound(const CubieCube&, const HugePatternTable&);
template int lowerBound(const CubieCube&, const SmallPatternTable&);
template SearchOutcome searchOptimal(const CubieCube&, const PackedPatternTable<TableSize::medium>&,
                                     const SearchSettings&);
template OptimalSolution solveOptimal(const CubieCube&,
                                      const PackedPatternTable<TableSize::medium>&, SearchSettings,
                                      std::vector<FaceTurn>);
template int lowerBound(const CubieCube&, const PackedPatternTable<TableSize::medium>&);
template SearchOutcome searchOptimal(const CubieCube&, const PackedHugePatternTable&,
                                     const SearchSettings&);
template OptimalSolution solveOptimal(const CubieCube&, const PackedHugePatternTable&,
                                      SearchSettings, std::vector<FaceTurn>);
template int lowerBound(const CubieCube&, const PackedHugePatternTable&);

std::vector<FaceTurn> faceTurns(const std::vector<int>& moves) {
    std::vector<FaceTurn> out;
    out.reserve(moves.size());
    for (const int m : moves) {
        out.push_back({core::cubeFace(core::moveFace(m)), core::moveQuarterTurns(m)});
    }
    return out;
}

} // namespace cw::optimal
