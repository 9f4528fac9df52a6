// The large tables' sections, sizes and file, and readying them once per process: from the
// table file in the user's cache folder when it is there and sound, else built on every core
// and written there for later runs.
#include <algorithm>
#include <chrono>
#include <iostream>
#include <mutex>
#include <stdexcept>

#include "solver/core/symmetry.h"
#include "solver/core/table_cache.h"
#include "solver/core/threads.h"
#include "solver/two_phase/large_tables.h"

namespace cw::two_phase {
namespace {

// Changes whenever the tables' layout or content changes, so that an older file is rebuilt.
constexpr std::uint32_t kFormatVersion = 3;

struct Store {
    std::once_flag once;
    LargeTables tables;
    bool loaded = false;
};

Store& store() {
    static Store kStore;
    return kStore;
}

void buildWithProgress(LargeTables& tables, std::ostream& notes) {
    notes << "cubewright-solve: building the large tables for short solutions:" << std::flush;
    const auto start = std::chrono::steady_clock::now();
    buildLargeTables(tables, everyCore(), notes);
    const auto seconds =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start);
    notes << ", done in " << seconds.count() << " s" << std::endl;
}

// The format of tables already sized.
table_cache::FileFormat formatOf(LargeTables& sized) {
    table_cache::FileFormat format{"short", kFormatVersion, {}};
    for (const std::span<std::uint8_t> section : sized.sections()) {
        format.sectionBytes.push_back(section.size());
    }
    return format;
}

} // namespace

std::vector<std::span<std::uint8_t>> LargeTables::sections() {
    const auto bytesOf = [](auto& table) {
        return std::span<std::uint8_t>(reinterpret_cast<std::uint8_t*>(table.data()),
                                       table.size() * sizeof(table[0]));
    };
    return {bytesOf(twistMove),
            bytesOf(flipMove),
            bytesOf(upEdgesMove),
            bytesOf(downEdgesMove),
            bytesOf(sliceEdgesMove),
            bytesOf(cornerMove),
            bytesOf(udEdgeMove),
            bytesOf(udEdgesOfHalves),
            bytesOf(flipSliceClassSym),
            bytesOf(flipSliceRep),
            bytesOf(twistConj),
            bytesOf(flipSliceClassMove),
            bytesOf(cornerClassSym),
            bytesOf(cornerRep),
            bytesOf(udEdgeConj),
            bytesOf(phase1Depth.storage()),
            bytesOf(flipSliceClassDepth.storage()),
            bytesOf(phase2Depth.storage()),
            bytesOf(cornerSliceDepth.storage())};
}

std::size_t LargeTables::bytes() const {
    std::size_t total = 0;
    for (const std::span<std::uint8_t> section : const_cast<LargeTables*>(this)->sections()) {
        total += section.size();
    }
    return total;
}

void sizeLargeTables(LargeTables& t) {
    const auto moves = [](int count, int moveCount) {
        return static_cast<std::size_t>(count) * static_cast<std::size_t>(moveCount);
    };
    t.twistMove.assign(moves(kTwistCount, kMoveCount), 0);
    t.flipMove.assign(moves(kFlipCount, kMoveCount), 0);
    t.upEdgesMove.assign(moves(kEdgeSetCount, kMoveCount), 0);
    t.downEdgesMove.assign(moves(kEdgeSetCount, kMoveCount), 0);
    t.sliceEdgesMove.assign(moves(kEdgeSetCount, kMoveCount), 0);
    t.cornerMove.assign(moves(kPermutation8, kMoveCount), 0);
    t.udEdgeMove.assign(moves(kPermutation8, kPhase2MoveCount), 0);
    t.udEdgesOfHalves.assign(moves(kEdgeSetCount, kSlicePermCount), 0);
    t.flipSliceClassSym.assign(kFlipSliceCount, 0);
    t.flipSliceRep.assign(kFlipSliceClassCount, 0);
    t.twistConj.assign(moves(kTwistCount, kUdSymmetryCount), 0);
    t.flipSliceClassMove.assign(moves(kFlipSliceClassCount, kMoveCount), 0);
    t.cornerClassSym.assign(kPermutation8, 0);
    t.cornerRep.assign(kCornerClassCount, 0);
    t.udEdgeConj.assign(moves(kPermutation8, kUdSymmetryCount), 0);
    t.phase1Depth.resize(kPhase1Entries);
    t.flipSliceClassDepth.resize(kFlipSliceClassCount);
    t.phase2Depth.resize(kPhase2Entries);
    t.cornerSliceDepth.resize(std::size_t{kPermutation8} * kSlicePermCount);
}

std::filesystem::path defaultLargeTableFile() {
    const std::filesystem::path folder = table_cache::defaultFolder();
    return folder.empty() ? folder : folder / "short-solver.tables";
}

table_cache::FileFormat largeTableFormat() {
    LargeTables sized;
    sizeLargeTables(sized);
    return formatOf(sized);
}

bool loadOrBuildLargeTables(LargeTables& tables, const std::filesystem::path& file,
                            std::ostream& notes, const std::function<void(LargeTables&)>& build) {
    sizeLargeTables(tables);
    const std::vector<std::span<std::uint8_t>> sections = tables.sections();
    // The tables are built where they are, into the storage the sections name, which the
    // cache then writes from; a build that moved a table would leave the sections behind.
    const auto buildInto = [&] {
        build(tables);
        const std::vector<std::span<std::uint8_t>> built = tables.sections();
        for (std::size_t i = 0; i < sections.size(); ++i) {
            if (built[i].data() != sections[i].data() || built[i].size() != sections[i].size()) {
                throw std::logic_error("the large tables were not built in place");
            }
        }
    };
    return table_cache::loadOrBuild(file, formatOf(tables), sections, buildInto, notes) ==
           table_cache::LoadStatus::loaded;
}

bool prepareLargeTables(const std::filesystem::path& file, std::ostream& notes) {
    Store& s = store();
    std::call_once(s.once, [&] {
        s.loaded = loadOrBuildLargeTables(s.tables, file, notes, [&notes](LargeTables& tables) {
            buildWithProgress(tables, notes);
        });
    });
    return s.loaded;
}

const LargeTables& largeTables() {
    prepareLargeTables(defaultLargeTableFile(), std::cerr);
    return store().tables;
}

} // namespace cw::two_phase
