#include "series/kel_random.h"

#include <chrono>

#include "platform/platform_services.h"

namespace sextant {

namespace {

std::uint64_t KelHighResCounter() {
  const auto& counter = KelPlatform().HighResCounter;
  if (counter) return counter();
  return static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
}

}  // namespace

std::uint32_t RandSeed = 0;

namespace {
// The start-up seeding: the generator's state is set when the engine is
// loaded, before any chart exists.
[[maybe_unused]] const bool KelRandomSeeded = (KelRandomize(), true);
}  // namespace

std::int32_t Random(std::int32_t N) {
  RandSeed = RandSeed * 134775813u + 1u;  // unsigned: wraps mod 2^32
  if (N <= 0) return 0;
  return static_cast<std::int32_t>((static_cast<std::uint64_t>(RandSeed) * static_cast<std::uint64_t>(N)) >> 32);
}

void KelRandomize() {
  const std::uint64_t counter = KelHighResCounter();
  const auto low = static_cast<std::uint32_t>(counter);
  const auto high = static_cast<std::uint32_t>(counter >> 32);
  const auto r = static_cast<std::uint32_t>(Random(2147483647));
  RandSeed = low ^ high ^ r;
}

}  // namespace sextant
