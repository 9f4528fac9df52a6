// The process-wide linear congruential generator behind rand and srand.
#include "cube/random.h"

#include <ctime>

namespace cw {

namespace {
std::uint32_t gState = 1;
}

void srand(std::uint32_t seed) {
    gState = seed;
}

int rand() {
    // Unsigned arithmetic wraps modulo 2^32, which is exactly the rule.
    gState = gState * 214013u + 2531011u;
    return static_cast<int>((gState >> 16) & 32767u);
}

void seedFromClock() {
    srand(static_cast<std::uint32_t>(std::time(nullptr)));
}

} // namespace cw
