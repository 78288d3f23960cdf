// The engine's pseudo-random generator: a 32-bit linear congruential
// generator (seed x 134775813 + 1) used for sample values. Its state is one
// process-wide seed, seeded once at start-up; tests set RandSeed directly to
// get a fixed sequence.
#pragma once

#include <cstdint>

namespace sextant {

// The generator state.
extern std::uint32_t RandSeed;

// One step (RandSeed := RandSeed x 134775813 + 1, mod 2^32), then the high
// 32 bits of the 64-bit product RandSeed x N: an integer in 0..N-1 for N >= 1.
// N <= 0 still steps the generator and gives 0.
std::int32_t Random(std::int32_t N);

// Seeds from the high-resolution counter (KelPlatform().HighResCounter, or
// the steady clock when the host installed none): the counter's low half XOR
// its high half XOR Random(2147483647). Runs once at start-up.
void KelRandomize();

}  // namespace sextant
