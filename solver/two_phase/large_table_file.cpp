// The large tables' sections, sizes and file, and readying them once per process: from the
// table file in the user's cache folder when it is there and sound, else built on every core
// and written there for later runs.
#include <algorithm>
#include <chrono>
#include <iostream>
#include <mutex>
#include <stdexcept>
#include <tuple>
#include <type_traits>
#include <utility>

#include "solver/core/symmetry.h"
#include "solver/core/table_cache.h"
#include "solver/core/threads.h"
#include "solver/two_phase/large_tables.h"

namespace cw::two_phase {
namespace {

// Changes whenever the tables' layout or content changes, so that an older file is rebuilt.
constexpr std::uint32_t kFormatVersion = 3;

// One table of the file and its number of entries.
template <auto Table>
struct Section {
    static constexpr auto table = Table;
    std::size_t entries;
};

constexpr std::size_t times(int count, int perValue) {
    return static_cast<std::size_t>(count) * static_cast<std::size_t>(perValue);
}

// Every table of the file, in the file's order: the tables are sized, the file's sections
// named and its format described from this list alone.
constexpr std::tuple kSections{
    Section<&LargeTables::twistMove>{times(kTwistCount, kMoveCount)},
    Section<&LargeTables::flipMove>{times(kFlipCount, kMoveCount)},
    Section<&LargeTables::upEdgesMove>{times(kEdgeSetCount, kMoveCount)},
    Section<&LargeTables::downEdgesMove>{times(kEdgeSetCount, kMoveCount)},
    Section<&LargeTables::sliceEdgesMove>{times(kEdgeSetCount, kMoveCount)},
    Section<&LargeTables::cornerMove>{times(kPermutation8, kMoveCount)},
    Section<&LargeTables::udEdgeMove>{times(kPermutation8, kPhase2MoveCount)},
    Section<&LargeTables::udEdgesOfHalves>{times(kEdgeSetCount, kSlicePermCount)},
    Section<&LargeTables::flipSliceClassSym>{times(kFlipSliceCount, 1)},
    Section<&LargeTables::flipSliceRep>{times(kFlipSliceClassCount, 1)},
    Section<&LargeTables::twistConj>{times(kTwistCount, kUdSymmetryCount)},
    Section<&LargeTables::flipSliceClassMove>{times(kFlipSliceClassCount, kMoveCount)},
    Section<&LargeTables::cornerClassSym>{times(kPermutation8, 1)},
    Section<&LargeTables::cornerRep>{times(kCornerClassCount, 1)},
    Section<&LargeTables::udEdgeConj>{times(kPermutation8, kUdSymmetryCount)},
    Section<&LargeTables::phase1Depth>{kPhase1Entries},
    Section<&LargeTables::flipSliceClassDepth>{times(kFlipSliceClassCount, 1)},
    Section<&LargeTables::phase2Depth>{kPhase2Entries},
    Section<&LargeTables::cornerSliceDepth>{times(kPermutation8, kSlicePermCount)},
};

void forEachSection(const auto& visit) {
    std::apply([&visit](const auto&... section) { (visit(section), ...); }, kSections);
}

// The bytes a table keeps: a move or symmetry table's own, a depth table's packed ones.
template <typename Values>
Values& storageOf(Values& values) {
    return values;
}
LargePageVector<std::uint8_t>& storageOf(DepthTable& depths) {
    return depths.storage();
}

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

} // namespace

std::vector<std::span<std::uint8_t>> LargeTables::sections() {
    std::vector<std::span<std::uint8_t>> all;
    forEachSection([this, &all](auto section) {
        auto& table = this->*section.table;
        all.emplace_back(reinterpret_cast<std::uint8_t*>(storageOf(table).data()),
                         storageOf(table).size() * sizeof(storageOf(table)[0]));
    });
    return all;
}

std::vector<std::span<const std::uint8_t>> LargeTables::sections() const {
    std::vector<std::span<const std::uint8_t>> all;
    for (const std::span<std::uint8_t> section : const_cast<LargeTables*>(this)->sections()) {
        all.emplace_back(section);
    }
    return all;
}

std::size_t LargeTables::bytes() const {
    std::size_t total = 0;
    for (const std::span<const std::uint8_t> section : sections()) {
        total += section.size();
    }
    return total;
}

void sizeLargeTables(LargeTables& t) {
    forEachSection([&t](auto section) {
        auto& table = t.*section.table;
        if constexpr (std::is_same_v<std::remove_reference_t<decltype(table)>, DepthTable>) {
            table.resize(section.entries);
        } else {
            table.assign(section.entries, 0);
        }
    });
}

std::filesystem::path defaultLargeTableFile() {
    const std::filesystem::path folder = table_cache::defaultFolder();
    return folder.empty() ? folder : folder / "short-solver.tables";
}

table_cache::FileFormat largeTableFormat() {
    table_cache::FileFormat format{"short", kFormatVersion, {}};
    forEachSection([&format](auto section) {
        using Table =
            std::remove_reference_t<decltype(std::declval<LargeTables&>().*section.table)>;
        if constexpr (std::is_same_v<Table, DepthTable>) {
            format.sectionBytes.push_back((section.entries + 1) / 2);
        } else {
            format.sectionBytes.push_back(section.entries * sizeof(typename Table::value_type));
        }
    });
    return format;
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
    return table_cache::loadOrBuild(file, largeTableFormat(), sections, buildInto, notes) ==
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
