// Fuzz target for the solver: each input byte is one quarter turn (face from the byte's
// upper bits, direction from its lowest) applied to a solved cube, which is then solved.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace cw;
    Cube cube;
    setSolvedStickers(cube);
    for (std::size_t i = 0; i < size; ++i) {
        cube.turn((data[i] >> 1) % kFaceCount, (data[i] & 1) != 0);
    }
    fuzz::solveReachableCube(cube);
    return 0;
}
