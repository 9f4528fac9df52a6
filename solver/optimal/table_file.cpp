// Keeps the optimal solver's pattern table in the user's cache folder through the shared
// table cache, which checks a file before it is trusted and writes it atomically.
#include "solver/optimal/table_file.h"

#include <span>
#include <string>

#include "solver/core/threads.h"

namespace cw::optimal {
namespace {

// Changes whenever the tables' layout or contents change.
constexpr std::uint32_t kFormatVersion = 1;

} // namespace

std::filesystem::path defaultTableFile(TableSize size) {
    const std::filesystem::path folder = table_cache::defaultFolder();
    if (folder.empty()) {
        return folder;
    }
    return folder / (size == TableSize::medium   ? "optimal-medium.tables"
                     : size == TableSize::huge   ? "optimal-huge.tables"
                     : size == TableSize::packed ? "optimal-packed.tables"
                                                 : "optimal.tables");
}

namespace {

// One table's file under its kind, which names the table so that no table ever reads
// another's file; `build` fills the table when the file will not do.
template <typename Table, typename Build>
table_cache::LoadStatus loadOrBuildKind(Table& table, const char* kind,
                                        const std::filesystem::path& file, std::ostream& notes,
                                        const BuildHooks& hooks, const Build& build) {
    const table_cache::FileFormat format{kind, kFormatVersion, {std::uint64_t{Table::kBytes}}};
    const std::span<std::uint8_t> sections[] = {table.bytes()};
    // Lookups need the classes: worked out while the file is read, and done before this
    // returns.
    const core::Beside classes(&Table::prepareClasses);
    return table_cache::loadOrBuild(
        file, format, sections,
        [&] {
            if (hooks.starting) {
                hooks.starting();
            }
            build();
        },
        notes);
}

} // namespace

template <TableSize kSize>
table_cache::LoadStatus loadOrBuild(SymmetricPatternTable<kSize>& table,
                                    const std::filesystem::path& file, unsigned jobs,
                                    std::ostream& notes, const BuildHooks& hooks) {
    const char* const kind = kSize == TableSize::medium  ? "optimal-medium"
                             : kSize == TableSize::large ? "optimal-sorted-slice"
                                                         : "optimal-edge-slices";
    return loadOrBuildKind(table, kind, file, notes, hooks, [&] {
        table.build(jobs, SymmetricPatternTable<kSize>::kDeepest, hooks.progress);
    });
}

table_cache::LoadStatus loadOrBuild(PackedHugePatternTable& table,
                                    const std::filesystem::path& file, unsigned jobs,
                                    std::ostream& notes, const BuildHooks& hooks) {
    return loadOrBuildKind(table, "optimal-edge-slices-packed", file, notes, hooks, [&] {
        table.build(jobs, PackedHugePatternTable::kCut, hooks.progress);
    });
}

template table_cache::LoadStatus loadOrBuild(MediumPatternTable&, const std::filesystem::path&,
                                             unsigned, std::ostream&, const BuildHooks&);
template table_cache::LoadStatus loadOrBuild(LargePatternTable&, const std::filesystem::path&,
                                             unsigned, std::ostream&, const BuildHooks&);
template table_cache::LoadStatus loadOrBuild(HugePatternTable&, const std::filesystem::path&,
                                             unsigned, std::ostream&, const BuildHooks&);

} // namespace cw::optimal
