// The solve page's WebAssembly entry points: C functions that take UTF-8 strings and
// return JSON, called from the page and its solving worker through the module's cwrap.
#include <cstdint>
#include <string>

#include "tools/solve_page/solve_page.h"

namespace {

// The last result, kept until the next call so that the script can copy it out.
std::string lastResult;

const char* give(std::string json) {
    lastResult = std::move(json);
    return lastResult.c_str();
}

} // namespace

extern "C" {

const char* cw_check(const char* facelets) {
    return give(cw::solve_page::toJson(cw::solve_page::checkFacelets(facelets)));
}

const char* cw_solve(const char* facelets, int layerByLayer) {
    const auto method =
        layerByLayer != 0 ? cw::solve_page::Method::kLayerByLayer : cw::solve_page::Method::kShort;
    return give(cw::solve_page::toJson(cw::solve_page::solve(facelets, method)));
}

const char* cw_apply_moves(const char* moves) {
    return give(cw::solve_page::toJson(cw::solve_page::applyMoves(moves)));
}

// The seed comes in two 32-bit halves: a JavaScript number holds only 53 bits exactly.
const char* cw_random(std::uint32_t seedHigh, std::uint32_t seedLow) {
    const std::uint64_t seed = std::uint64_t{seedHigh} << 32 | seedLow;
    return give(cw::solve_page::toJson(cw::solve_page::randomCube(seed)));
}

// 54 colours in the facelet order, "rrggbb" each, run together.
const char* cw_read_colours(const char* colours) {
    return give(cw::solve_page::toJson(cw::solve_page::readScan(colours)));
}

void cw_prepare() {
    cw::solve_page::prepare();
}

} // extern "C"
