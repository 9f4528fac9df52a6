// Which pattern table the optimal search runs on, by the name the command line gives it
// (--table-size small, medium, large, packed or huge): SmallPatternTable, MediumPatternTable,
// LargePatternTable, PackedPatternTable and HugePatternTable in pattern_table.h.
#pragma once

namespace cw::optimal {

enum class TableSize {
    /// 2 MB, built in a moment and never written: for trying the search out and for tests.
    small,
    /// 67 MB, kept in the cache folder as optimal-medium.tables: built in seconds to a
    /// minute, searches far more slowly than the large one.
    medium,
    /// 1.6 GB, kept in the cache folder.
    large,
    /// 4.5 GB, kept in the cache folder: for machines with the memory, the fastest search.
    huge,
    /// 1.9 GB, kept in the cache folder beside the medium table, which it reads as well: the
    /// huge table's bounds from 11 moves up, packed. The default.
    packed,
};

} // namespace cw::optimal
