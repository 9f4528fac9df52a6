// Fuzz target for the facelet string: any bytes go to the loader. A rejected string gets a
// one-line message and leaves the cube alone; an accepted one reads back unchanged, from
// the stickers and from its pieces, and the solver solves it.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "cube/facelet_string.h"
#include "fuzz/fuzz_support.h"

extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t maxSize);

namespace {

std::string_view asText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace cw;
    const std::string_view text = asText(data, size);

    Cube cube;
    const FaceletArray before = cube.facelets;
    const std::string message = loadFaceletString(cube, text);
    if (!message.empty()) {
        fuzz::check(cube.facelets == before, "a rejected string changed the cube");
        fuzz::check(fuzz::isPrintableLine(message), "the message is not one line of plain text");
        return 0;
    }
    fuzz::check(faceletString(cube) == text, "an accepted string does not read back");
    fuzz::check(faceletString(readFaceletString(text).pieces) == text,
                "an accepted string's pieces do not write it back");
    fuzz::solveReachableCube(cube);
    return 0;
}

// Byte-level mutations almost never turn one valid cube into another, so half the time a
// valid string is given a face turn instead; that keeps the solver busy with fresh cubes
// that came in through the loader.
extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size,
                                               std::size_t maxSize, unsigned int seed) {
    using namespace cw;
    if ((seed & 1) != 0 && maxSize >= static_cast<std::size_t>(kFaceletCount)) {
        Cube cube;
        if (loadFaceletString(cube, asText(data, size)).empty()) {
            cube.turn(static_cast<int>((seed >> 1) % kFaceCount), ((seed >> 4) & 1) != 0);
            const std::string turned = faceletString(cube);
            std::memcpy(data, turned.data(), turned.size());
            return turned.size();
        }
    }
    return LLVMFuzzerMutate(data, size, maxSize);
}
