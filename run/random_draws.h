// How the run draws its random numbers from the machine's 64-bit Mersenne Twister. The engine's
// outputs are fixed by the standard; the standard library's distributions are not, and differ
// between libraries (the command line's and the page's). Drawn here by hand, a seed gives the
// same numbers wherever the run is built, and anything that mirrors these few lines can draw
// them too (the test that runs the algorithm's Python program does).

#pragma once

#include <cstdint>
#include <random>

namespace tortuval::run {

// A real number in [0, 1): the engine's 53 highest bits.
inline double DrawUnit(std::mt19937_64& engine) {
  return static_cast<double>(engine() >> 11) * 0x1.0p-53;
}

// A whole number from 0 to count - 1 (count ≥ 1), every one as likely: the outputs below
// 2^64 mod count are drawn again, so that the remainder is even.
inline std::uint64_t DrawWhole(std::mt19937_64& engine, std::uint64_t count) {
  const std::uint64_t skipped = (0 - count) % count;
  std::uint64_t drawn = engine();
  while (drawn < skipped) drawn = engine();
  return drawn % count;
}

}  // namespace tortuval::run
