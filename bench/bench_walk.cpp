#include "bench_walk.h"

#include <cstdio>
#include <map>
#include <memory>

namespace sextant::bench {

namespace {

// A small fixed-seed generator (xorshift64*), the same sequence everywhere.
class TRng {
 public:
  explicit TRng(std::uint64_t Seed) : FState(Seed) {}
  std::uint64_t Next() {
    FState ^= FState >> 12;
    FState ^= FState << 25;
    FState ^= FState >> 27;
    return FState * 0x2545F4914F6CDD1DULL;
  }

 private:
  std::uint64_t FState;
};

void HashBytes(std::uint64_t& Hash, const void* Data, std::size_t Size) {
  const auto* p = static_cast<const unsigned char*>(Data);
  for (std::size_t i = 0; i < Size; ++i) {
    Hash ^= p[i];
    Hash *= 0x100000001B3ULL;
  }
}

}  // namespace

const TWalk& RandomWalk(long N) {
  static std::map<long, std::unique_ptr<TWalk>> cache;
  auto& slot = cache[N];
  if (slot) return *slot;
  slot = std::make_unique<TWalk>();
  TWalk& w = *slot;
  w.X.resize(static_cast<std::size_t>(N));
  w.Y.resize(static_cast<std::size_t>(N));
  w.Null.resize(static_cast<std::size_t>(N));
  TRng rng(0x5EC7A17ULL);
  double y = 500;
  for (long i = 0; i < N; ++i) {
    // Steps of -1 .. +1 in hundredths, like a sampled signal.
    y += static_cast<double>(static_cast<int>(rng.Next() % 201) - 100) * 0.01;
    w.X[static_cast<std::size_t>(i)] = static_cast<double>(i);
    w.Y[static_cast<std::size_t>(i)] = y;
    w.Null[static_cast<std::size_t>(i)] = rng.Next() % 20 == 0;
  }
  return w;
}

std::string WalkChecksum(const TWalk& Walk) {
  std::uint64_t hash = 0xCBF29CE484222325ULL;
  HashBytes(hash, Walk.X.data(), Walk.X.size() * sizeof(double));
  HashBytes(hash, Walk.Y.data(), Walk.Y.size() * sizeof(double));
  HashBytes(hash, Walk.Null.data(), Walk.Null.size());
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

}  // namespace sextant::bench
