// The linear congruential generator behind rand and srand, one state per thread.
#include "cube/random.h"

#include <ctime>

namespace cw {

namespace {
// The program runs on one thread, so for it this is the one generator. The command-line
// tool solves on several, and each seed there must draw the sequence it draws alone.
thread_local std::uint32_t gState = 1;
} // namespace

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
