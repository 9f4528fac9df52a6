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

template <TableSize kSize>
table_cache::LoadStatus loadOrBuild(SymmetricPatternTable<kSize>& table,
                                    const std::filesystem::path& file, unsigned jobs,
                                    std::ostream& notes, const BuildHooks& hooks) {
    using Table = SymmetricPatternTable<kSize>;
    // The kind names the table, so that no table ever reads another's file.
    const table_cache::FileFormat format{kSize == TableSize::medium  ? "optimal-medium"
                                         : kSize == TableSize::large ? "optimal-sorted-slice"
                                                                     : "optimal-edge-slices",
                                         kFormatVersion,
                                         {std::uint64_t{Table::kBytes}}};
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
            table.build(jobs, Table::kDeepest, hooks.progress);
        },
        notes);
}

table_cache::LoadStatus loadOrBuild(PackedHugePatternTable& table,
                                    const std::filesystem::path& file, unsigned jobs,
                                    std::ostream& notes, const BuildHooks& hooks) {
    const table_cache::FileFormat format{"optimal-edge-slices-packed",
                                         kFormatVersion,
                                         {std::uint64_t{PackedHugePatternTable::kBytes}}};
    const std::span<std::uint8_t> sections[] = {table.bytes()};
    const core::Beside classes(&PackedHugePatternTable::prepareClasses);
    return table_cache::loadOrBuild(
        file, format, sections,
        [&] {
            if (hooks.starting) {
                hooks.starting();
            }
            table.build(jobs, PackedHugePatternTable::kCut, hooks.progress);
        },
        notes);
}

template table_cache::LoadStatus loadOrBuild(MediumPatternTable&, const std::filesystem::path&,
                                             unsigned, std::ostream&, const BuildHooks&);
template table_cache::LoadStatus loadOrBuild(LargePatternTable&, const std::filesystem::path&,
                                             unsigned, std::ostream&, const BuildHooks&);
template table_cache::LoadStatus loadOrBuild(HugePatternTable&, const std::filesystem::path&,
                                             unsigned, std::ostream&, const BuildHooks&);

} // namespace cw::optimal
