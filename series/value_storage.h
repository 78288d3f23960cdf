// The storage of one value list: a growable array of doubles on malloc and
// realloc. Doubles need no constructor and can be moved bytewise, so growing
// a large block lets the C library remap its pages (mremap) instead of
// copying them and faulting in a fresh block, which is most of what loading
// millions of points would otherwise cost. The interface is the small part
// of std::vector that the value lists use.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace sextant {

class TValueStorage {
 public:
  TValueStorage() = default;
  ~TValueStorage() { std::free(FData); }
  TValueStorage(const TValueStorage&) = delete;
  TValueStorage& operator=(const TValueStorage&) = delete;
  TValueStorage(TValueStorage&& Other) noexcept
      : FData(std::exchange(Other.FData, nullptr)),
        FSize(std::exchange(Other.FSize, 0)),
        FCapacity(std::exchange(Other.FCapacity, 0)) {}
  TValueStorage& operator=(TValueStorage&& Other) noexcept {
    if (this != &Other) {
      std::free(FData);
      FData = std::exchange(Other.FData, nullptr);
      FSize = std::exchange(Other.FSize, 0);
      FCapacity = std::exchange(Other.FCapacity, 0);
    }
    return *this;
  }

  std::size_t size() const { return FSize; }
  std::size_t capacity() const { return FCapacity; }
  bool empty() const { return FSize == 0; }
  double* data() { return FData; }
  const double* data() const { return FData; }
  double& operator[](std::size_t Index) { return FData[Index]; }
  double operator[](std::size_t Index) const { return FData[Index]; }

  // Makes room for at least Length values; never shrinks. Raises
  // std::bad_alloc (the values unchanged) when memory runs out.
  void reserve(std::size_t Length) {
    if (Length <= FCapacity) return;
    if (Length > static_cast<std::size_t>(-1) / sizeof(double)) throw std::bad_alloc();
    void* grown = std::realloc(FData, Length * sizeof(double));
    if (!grown) throw std::bad_alloc();
    FData = static_cast<double*>(grown);
    FCapacity = Length;
  }

  // Appends one value; the caller has made room (size() < capacity()).
  void push_back_unchecked(double Value) { FData[FSize++] = Value; }

  // Inserts Value at Index (0..size()); the caller has made room.
  void insert_unchecked(std::size_t Index, double Value) {
    std::memmove(FData + Index + 1, FData + Index, (FSize - Index) * sizeof(double));
    FData[Index] = Value;
    ++FSize;
  }

  // Removes the values First..Last-1.
  void erase(std::size_t First, std::size_t Last) {
    std::memmove(FData + First, FData + Last, (FSize - Last) * sizeof(double));
    FSize -= Last - First;
  }

  // Size 0 and the memory given back.
  void release() {
    std::free(FData);
    FData = nullptr;
    FSize = 0;
    FCapacity = 0;
  }

 private:
  double* FData = nullptr;
  std::size_t FSize = 0;
  std::size_t FCapacity = 0;
};

}  // namespace sextant
