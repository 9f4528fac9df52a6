// The optimal solver's pattern table on disk: its file format, where it is kept, and the
// load-or-build step with its progress. Used by cubewright-solve --optimal and the benchmark.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>

#include "solver/core/table_cache.h"
#include "solver/optimal/pattern_table.h"

namespace cw::optimal {

/// The file of the medium, large, packed or huge table in the user's cache folder; empty when
/// there is no cache folder.
std::filesystem::path defaultTableFile(TableSize size = TableSize::packed);

/// What to do around a build.
struct BuildHooks {
    /// Called once before a build starts (not when the file loads).
    std::function<void()> starting;
    /// Called now and then during a build with the entries filled so far.
    std::function<void(std::uint64_t filled)> progress;
};

/// Loads `table` from `file` or, when the file is missing or damaged, builds it on `jobs`
/// threads and writes it there (an empty `file` builds and writes nothing). Notes about a
/// damaged or unwritable file go to `notes`. Returns what loading found.
template <TableSize kSize>
table_cache::LoadStatus loadOrBuild(SymmetricPatternTable<kSize>& table,
                                    const std::filesystem::path& file, unsigned jobs,
                                    std::ostream& notes, const BuildHooks& hooks = {});

extern template table_cache::LoadStatus loadOrBuild(MediumPatternTable&,
                                                    const std::filesystem::path&, unsigned,
                                                    std::ostream&, const BuildHooks&);
extern template table_cache::LoadStatus loadOrBuild(LargePatternTable&,
                                                    const std::filesystem::path&, unsigned,
                                                    std::ostream&, const BuildHooks&);
extern template table_cache::LoadStatus loadOrBuild(HugePatternTable&, const std::filesystem::path&,
                                                    unsigned, std::ostream&, const BuildHooks&);

/// The same for the packed table, which reads the medium table below its cut: give it that
/// with lookBelowIn() before looking anything up.
table_cache::LoadStatus loadOrBuild(PackedHugePatternTable& table,
                                    const std::filesystem::path& file, unsigned jobs,
                                    std::ostream& notes, const BuildHooks& hooks = {});

} // namespace cw::optimal
