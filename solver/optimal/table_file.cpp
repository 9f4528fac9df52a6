// Keeps the optimal solver's pattern table in the user's cache folder through the shared
// table cache, which checks a file before it is trusted and writes it atomically.
#include "solver/optimal/table_file.h"

#include <span>
#include <string>
#include <system_error>
#include <thread>

namespace cw::optimal {
namespace {

// Changes whenever the tables' layout or contents change.
constexpr std::uint32_t kFormatVersion = 1;

// Runs `work` on a thread of its own until the guard goes, or at once on this thread when no
// thread can be started.
class Beside {
public:
    template <typename Work>
    explicit Beside(Work work) {
        try {
            thread_ = std::thread(work);
        } catch (const std::system_error&) {
            work();
        }
    }
    Beside(const Beside&) = delete;
    Beside& operator=(const Beside&) = delete;
    ~Beside() {
        if (thread_.joinable()) {
            thread_.join();
        }
    }

private:
    std::thread thread_;
};

} // namespace

std::filesystem::path defaultTableFile(bool sliceOrder) {
    const std::filesystem::path folder = table_cache::defaultFolder();
    if (folder.empty()) {
        return folder;
    }
    return folder / (sliceOrder ? "optimal.tables" : "optimal-small.tables");
}

template <bool kSliceOrder>
table_cache::LoadStatus loadOrBuild(SymmetricPatternTable<kSliceOrder>& table,
                                    const std::filesystem::path& file, unsigned jobs,
                                    std::ostream& notes, const BuildHooks& hooks) {
    using Table = SymmetricPatternTable<kSliceOrder>;
    // The kind names the table, so that the small and the large one never read each other.
    const table_cache::FileFormat format{kSliceOrder ? "optimal-sorted-slice" : "optimal",
                                         kFormatVersion,
                                         {std::uint64_t{Table::kBytes}}};
    const std::span<std::uint8_t> sections[] = {table.bytes()};
    // Lookups need the classes, which take seconds to work out, as reading the file does:
    // both at once, and both done before this returns.
    const Beside classes(&Table::prepareClasses);
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

template table_cache::LoadStatus loadOrBuild(PatternTable&, const std::filesystem::path&, unsigned,
                                             std::ostream&, const BuildHooks&);
template table_cache::LoadStatus loadOrBuild(LargePatternTable&, const std::filesystem::path&,
                                             unsigned, std::ostream&, const BuildHooks&);

} // namespace cw::optimal
