// cubewright-solve --optimal's steps around the optimal search: memory check, table load or
// build with progress, progress lines while searching, and the Ctrl-C flag.
#include "tools/optimal_solve.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <mutex>
#include <sstream>
#include <vector>

#include "solver/core/threads.h"
#include "solver/optimal/pattern_table.h"
#include "solver/optimal/quick_first.h"
#include "solver/optimal/table_file.h"
#include "solver/two_phase/two_phase.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace cw::tools {
namespace {

std::atomic<bool> interrupted{false};

extern "C" void onInterrupt(int) {
    interrupted.store(true);
}

void note(const std::string& text) {
    std::fprintf(stderr, "cubewright-solve: %s\n", text.c_str());
    std::fflush(stderr);
}

/// "12.3 M", "840 k": a count of positions, short.
std::string shortCount(std::uint64_t count) {
    char text[32];
    if (count >= 10'000'000) {
        std::snprintf(text, sizeof text, "%.0f M", static_cast<double>(count) / 1e6);
    } else if (count >= 10'000) {
        std::snprintf(text, sizeof text, "%.0f k", static_cast<double>(count) / 1e3);
    } else {
        std::snprintf(text, sizeof text, "%llu", static_cast<unsigned long long>(count));
    }
    return text;
}

void reportLength(const optimal::LengthReport& report) {
    if (!report.finished) {
        note("searching for solutions of " + std::to_string(report.length) + " face turns");
        return;
    }
    char took[32];
    std::snprintf(took, sizeof took, "%.2f", report.seconds);
    note("none of " + std::to_string(report.length) + " face turns (proven in " + took + " s, " +
         shortCount(report.nodes) + " positions)");
}

} // namespace

std::function<std::optional<std::vector<int>>(int)>
twoPhaseTry(const CubieCube& cube, std::chrono::steady_clock::time_point deadline,
            const std::atomic<bool>* stop) {
    return [cube, deadline, stop](int length) -> std::optional<std::vector<int>> {
        two_phase::SearchLimits limits;
        limits.tables = two_phase::TableSize::large;
        limits.targetLength = length;
        limits.shorterNodes = kTwoPhaseTryPositions;
        limits.stop = stop;
        if (deadline != std::chrono::steady_clock::time_point::max()) {
            // Not past the caller's deadline either (the two-phase search always takes the
            // millisecond or so its first solution needs).
            limits.budget = std::max(std::chrono::milliseconds(1),
                                     std::chrono::duration_cast<std::chrono::milliseconds>(
                                         deadline - std::chrono::steady_clock::now()));
        }
        const two_phase::Solution found = two_phase::solvePieces(cube, limits);
        if (two_phase::faceTurnCount(found) > length) {
            return std::nullopt;
        }
        std::vector<int> moves;
        for (const FaceTurn& turn : found) {
            moves.push_back(core::moveOf(core::sideOf(turn.face), turn.quarterTurns));
        }
        return moves;
    };
}

namespace {

template <typename Table>
class TableSolver final : public OptimalSolver {
public:
    optimal::OptimalSolution solve(const CubieCube& cube,
                                   optimal::SearchSettings settings) const override {
        settings.onLength = reportLength;
        settings.tryLength = twoPhaseTry(cube, settings.deadline, settings.stop);
        // The first solution, which the search tries to beat: the small two-phase search's.
        return optimal::solveOptimal(cube, table_, settings, two_phase::solvePieces(cube));
    }

    Table& table() { return table_; }
    const Table& table() const { return table_; }

private:
    Table table_;
};

// The small table: built in a moment, never written to disk.
std::unique_ptr<OptimalSolver> openSmall() {
    return std::make_unique<TableSolver<optimal::SmallPatternTable>>();
}

// Why the table cannot be used with `free` bytes of free memory, naming the next smaller
// table; nothing when it can.
template <typename Table>
std::optional<std::string> refusal(std::optional<std::uint64_t> free, const char* smaller) {
    if (!Table::kAddressable) {
        return "--optimal needs " + byteSize(Table::kMemoryBytes) +
               " of memory for this table, more than this build can address (--table-size " +
               smaller + " needs less)";
    }
    if (free && *free < Table::kMemoryBytes) {
        return "--optimal needs " + byteSize(Table::kMemoryBytes) +
               " of free memory for its table, and this machine has " + byteSize(*free) +
               " free (--table-size " + smaller + " needs less, and searches more slowly)";
    }
    return std::nullopt;
}

// Loads the table from the cache folder, or builds it there with a progress line.
template <typename Table>
std::unique_ptr<TableSolver<Table>> loadTable(unsigned jobs) {
    auto solver = std::make_unique<TableSolver<Table>>();
    const std::filesystem::path file = optimal::defaultTableFile(Table::kTableSize);
    const auto start = std::chrono::steady_clock::now();
    optimal::BuildHooks hooks;
    hooks.starting = [&file] {
        note("building the optimal solver's table: " + byteSize(Table::kBytes) +
             " in memory and on disk, made once and kept in " +
             (file.empty() ? std::string("memory only") : file.string()));
    };
    int shown = -1;
    hooks.progress = [&shown, start](std::uint64_t filled) {
        const auto percent = static_cast<int>(100 * static_cast<double>(filled) /
                                              static_cast<double>(Table::kEntries));
        if (percent != shown) {
            shown = percent;
            const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
            std::fprintf(stderr, "\rcubewright-solve: building: %3d %% (%.0f s)", percent,
                         took.count());
            std::fflush(stderr);
        }
    };
    {
        // The search starts from the small two-phase search's solution, whose tables take a
        // moment to work out: that goes on beside the load.
        const core::Beside firstSolution(&two_phase::prepareTables);
        optimal::loadOrBuild(solver->table(), file, jobs, std::cerr, hooks);
    }
    if (shown >= 0) {
        std::fputs("\n", stderr);
    }
    return solver;
}

std::unique_ptr<OptimalSolver> openMedium(unsigned jobs) {
    return loadTable<optimal::MediumPatternTable>(jobs);
}

// How long the medium table is tried before the large one is loaded: about half the time
// the large one takes to load, so that a cube it does not prove pays little for the try.
constexpr std::chrono::milliseconds kMediumFirst{150};

// The packed table (the default) or the large one, which take a third of a second or more
// to load, or the huge one, which takes a second or more. A cube a few turns from solved is
// proven on the medium table, a twentieth of the large one's size, in a fraction of that: so
// when the cache folder holds both, the medium table is tried for a moment first, and the
// larger one is loaded only when that is not enough, which costs every other cube that
// moment more. The solution is the same on either table: the search returns the first
// solution of the shortest length in its order of moves, and a table only says which
// branches cannot hold one. The packed table reads the medium one below its cut, so it is
// given this one's.
template <typename Table>
class MediumFirstSolver final : public OptimalSolver {
public:
    MediumFirstSolver(unsigned jobs,
                      std::unique_ptr<TableSolver<optimal::MediumPatternTable>> medium)
        : jobs_(jobs), medium_(std::move(medium)) {}

    optimal::OptimalSolution solve(const CubieCube& cube,
                                   optimal::SearchSettings settings) const override {
        if (!medium_ || fullLoaded_.load()) {
            return fullTable().solve(cube, settings);
        }
        settings.onLength = reportLength;
        settings.tryLength = twoPhaseTry(cube, settings.deadline, settings.stop);
        const auto full = [this]() -> const Table& { return fullTable().table(); };
        return optimal::solveQuickFirst(cube, medium_->table(), full, settings,
                                        two_phase::solvePieces(cube), kMediumFirst);
    }

private:
    const TableSolver<Table>& fullTable() const {
        std::call_once(loaded_, [this] {
            // Ctrl-C ends the program while the table loads, as it does before any search.
            const auto previous = std::signal(SIGINT, SIG_DFL);
            full_ = loadTable<Table>(jobs_);
            if constexpr (requires { full_->table().lookBelowIn(medium_->table()); }) {
                full_->table().lookBelowIn(medium_->table());
            }
            std::signal(SIGINT, previous);
            fullLoaded_.store(true);
        });
        return *full_;
    }

    unsigned jobs_;
    std::unique_ptr<TableSolver<optimal::MediumPatternTable>> medium_;
    mutable std::once_flag loaded_;
    mutable std::unique_ptr<TableSolver<Table>> full_;
    mutable std::atomic<bool> fullLoaded_{false};
};

// The packed table, which reads the medium one below its cut: so the medium table comes
// first (built first when missing, in seconds to a minute) and is tried for a moment first.
std::unique_ptr<OptimalSolver> openPacked(unsigned jobs) {
    return std::make_unique<MediumFirstSolver<optimal::PackedHugePatternTable>>(
        jobs, loadTable<optimal::MediumPatternTable>(jobs));
}

// The large or the huge table, with the medium one tried first once both are on disk.
template <optimal::TableSize kSize>
std::unique_ptr<OptimalSolver> openWithMedium(unsigned jobs) {
    const std::filesystem::path full = optimal::defaultTableFile(kSize);
    const std::filesystem::path medium = optimal::defaultTableFile(optimal::TableSize::medium);
    std::error_code missing;
    if (full.empty() || !std::filesystem::exists(full, missing)) {
        // The first run builds the table, and the medium one after it (a few seconds more)
        // for the runs after.
        std::unique_ptr<OptimalSolver> built =
            loadTable<optimal::SymmetricPatternTable<kSize>>(jobs);
        if (!full.empty() && !std::filesystem::exists(medium, missing)) {
            loadTable<optimal::MediumPatternTable>(jobs);
        }
        return built;
    }
    return std::make_unique<MediumFirstSolver<optimal::SymmetricPatternTable<kSize>>>(
        jobs, std::filesystem::exists(medium, missing)
                  ? loadTable<optimal::MediumPatternTable>(jobs)
                  : nullptr);
}

} // namespace

std::optional<std::uint64_t> availableMemory() {
#ifdef _WIN32
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (GlobalMemoryStatusEx(&status) == 0) {
        return std::nullopt;
    }
    return status.ullAvailPhys;
#else
    std::ifstream info("/proc/meminfo");
    std::string line;
    while (std::getline(info, line)) {
        std::istringstream fields(line);
        std::string name;
        std::uint64_t kilobytes = 0;
        if (fields >> name >> kilobytes && name == "MemAvailable:") {
            return kilobytes * 1024;
        }
    }
    return std::nullopt;
#endif
}

std::string byteSize(std::uint64_t bytes) {
    char text[32];
    if (bytes >= (std::uint64_t{1} << 30)) {
        std::snprintf(text, sizeof text, "%.1f GB",
                      static_cast<double>(bytes) / static_cast<double>(std::uint64_t{1} << 30));
    } else {
        std::snprintf(text, sizeof text, "%llu MB",
                      static_cast<unsigned long long>((bytes + (1u << 20) - 1) >> 20));
    }
    return text;
}

std::optional<std::string> memoryRefusal(optimal::TableSize tables,
                                         std::optional<std::uint64_t> free) {
    switch (tables) {
    case optimal::TableSize::small:
        break;
    case optimal::TableSize::medium:
        return refusal<optimal::MediumPatternTable>(free, "small");
    case optimal::TableSize::large:
        return refusal<optimal::LargePatternTable>(free, "medium");
    case optimal::TableSize::packed:
        return refusal<optimal::PackedHugePatternTable>(free, "large");
    case optimal::TableSize::huge:
        return refusal<optimal::HugePatternTable>(free, "packed");
    }
    return std::nullopt;
}

std::unique_ptr<OptimalSolver> OptimalSolver::open(optimal::TableSize tables, unsigned jobs,
                                                   std::string& error) {
    if (std::optional<std::string> why = memoryRefusal(tables, availableMemory())) {
        error = std::move(*why);
        return nullptr;
    }
    switch (tables) {
    case optimal::TableSize::small:
        return openSmall();
    case optimal::TableSize::medium:
        return openMedium(jobs);
    case optimal::TableSize::huge:
        return openWithMedium<optimal::TableSize::huge>(jobs);
    case optimal::TableSize::packed:
        return openPacked(jobs);
    case optimal::TableSize::large:
        break;
    }
    return openWithMedium<optimal::TableSize::large>(jobs);
}

std::string optimalText(const optimal::OptimalSolution& solution) {
    std::string text = two_phase::formatSolution(solution.moves);
    if (!text.empty()) {
        text += ' ';
    }
    const int length = two_phase::faceTurnCount(solution.moves);
    // Appended piece by piece: GCC 12 warns falsely about "(" + std::string here.
    text += '(';
    text += std::to_string(length);
    text += length == 1 ? " face turn, " : " face turns, ";
    if (solution.optimal()) {
        text += "optimal)";
    } else {
        text += "at least ";
        text += std::to_string(solution.provenLength);
        text += ')';
    }
    return text;
}

const std::atomic<bool>& catchInterrupt() {
    std::signal(SIGINT, onInterrupt);
    return interrupted;
}

} // namespace cw::tools
