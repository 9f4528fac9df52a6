// Fuzz target for the table file reader: any bytes are read as a table file of a small
// format. A file is either trusted whole, or refused with a reason; it never crashes the
// reader, and a refused file never counts as loaded.
#include <cstddef>
#include <cstdint>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "solver/core/table_cache.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace cw;
    // The short solver's kind with four small sections, one of them empty; the seed corpus
    // holds a good file of this format.
    const table_cache::FileFormat format{"short", 2, {8, 3, 0, 17}};
    std::vector<std::vector<std::uint8_t>> storage;
    std::vector<std::span<std::uint8_t>> sections;
    for (const std::uint64_t bytes : format.sectionBytes) {
        storage.emplace_back(bytes);
    }
    for (std::vector<std::uint8_t>& section : storage) {
        sections.emplace_back(section);
    }
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    std::string why;
    const table_cache::LoadStatus status = table_cache::read(in, format, sections, why);
    fuzz::check(status != table_cache::LoadStatus::damaged || !why.empty(),
                "a refused file says why");
    fuzz::check(status != table_cache::LoadStatus::missing || size == 0,
                "only an empty file counts as missing");
    return 0;
}
