// Fuzz target for the facelet string: any bytes go to the loader. A rejected string gets a
// one-line message and leaves the cube alone; an accepted one reads back unchanged and the
// solver solves it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "cube/facelet_string.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace cw;
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    Cube cube;
    const FaceletArray before = cube.facelets;
    const std::string message = loadFaceletString(cube, text);
    if (!message.empty()) {
        fuzz::check(cube.facelets == before, "a rejected string changed the cube");
        for (char c : message) {
            fuzz::check(c >= 0x20 && c < 0x7f, "the message is not one line of plain text");
        }
        return 0;
    }
    fuzz::check(faceletString(cube) == text, "an accepted string does not read back");
    fuzz::solveReachableCube(cube);
    return 0;
}
