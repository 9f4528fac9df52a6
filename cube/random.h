// The program's one pseudo-random generator: a linear congruential generator with the
// C library's rand/srand interface. Reproducible scrambles rest on its exact sequence,
// so it never defers to the platform's own rand. The scrambler and the background
// tumble draw from it; nothing else does. Each thread has its own state; the program
// has one thread.
#pragma once

#include <cstdint>

namespace cw {

/// The largest value rand() returns.
inline constexpr int kRandMax = 32767;

/// Sets the calling thread's generator state. Before any call on a thread the state is 1.
void srand(std::uint32_t seed);

/// Advances the state (state * 214013 + 2531011 mod 2^32) and returns
/// (state >> 16) & 32767.
int rand();

/// Seeds the generator with the current calendar time in whole seconds.
void seedFromClock();

} // namespace cw
