// Helpers shared by the fuzz targets: a reader that turns the fuzzer's bytes
// into typed choices, and a check that aborts with a message (so that both
// libFuzzer and the regression replay report the failing input).
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace sextant {

[[noreturn]] inline void FuzzFail(const char* file, int line, const char* condition, const std::string& detail) {
  std::fprintf(stderr, "%s:%d: check failed: %s\n  %s\n", file, line, condition, detail.c_str());
  std::fflush(stderr);
  std::abort();
}

// Checks Condition; Detail (a std::string expression) is built only on failure.
#define FUZZ_CHECK(Condition, Detail)                                      \
  do {                                                                     \
    if (!(Condition)) ::sextant::FuzzFail(__FILE__, __LINE__, #Condition, (Detail)); \
  } while (0)

// Reads the input front to back; past the end every read gives zeros, so a
// target never runs out of choices.
class TFuzzInput {
 public:
  TFuzzInput(const std::uint8_t* data, std::size_t size) : FData(data), FSize(size) {}

  bool Empty() const { return FPos >= FSize; }
  std::size_t Remaining() const { return FSize - FPos; }

  std::uint8_t Byte() { return FPos < FSize ? FData[FPos++] : 0; }

  std::uint64_t U64() {
    std::uint64_t v = 0;
    for (int i = 0; i < 8; ++i) v = (v << 8) | Byte();
    return v;
  }

  std::uint32_t U32() {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = (v << 8) | Byte();
    return v;
  }

  // An integer in Lo..Hi (inclusive; Hi - Lo below 2^32).
  int IntIn(int Lo, int Hi) {
    const std::uint64_t span = static_cast<std::uint64_t>(static_cast<std::int64_t>(Hi) - Lo) + 1;
    return static_cast<int>(Lo + static_cast<std::int64_t>(U32() % span));
  }

  // A small integer in Lo..Hi from one byte (Hi - Lo below 256).
  int SmallIn(int Lo, int Hi) { return Lo + Byte() % (Hi - Lo + 1); }

  // Any double, NaN and infinities included, from 8 bytes.
  double RawDouble() {
    const std::uint64_t bits = U64();
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
  }

  // The rest of the input (at most MaxLength bytes) as text.
  std::string Text(std::size_t MaxLength) {
    const std::size_t n = Remaining() < MaxLength ? Remaining() : MaxLength;
    std::string s(reinterpret_cast<const char*>(FData + FPos), n);
    FPos += n;
    return s;
  }

 private:
  const std::uint8_t* FData;
  std::size_t FSize;
  std::size_t FPos = 0;
};

// Equality of doubles that treats every NaN as equal to every NaN.
inline bool FuzzSameDouble(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

inline std::string FuzzShow(double v) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.17g", v);
  return buf;
}

}  // namespace sextant

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size);
