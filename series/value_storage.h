// The storage of one value list: a growable array of doubles on malloc and
// realloc, with room at both ends. Doubles need no constructor and can be
// moved bytewise, so growing a large block lets the C library remap its
// pages (mremap) instead of copying them and faulting in a fresh block,
// which is most of what loading millions of points would otherwise cost.
//
// Inserting or erasing moves the shorter side: values before the index move
// down into the room at the front, or the values after it move up into the
// room at the back. Prepending into front room moves nothing, and the front
// room grows with the values (see reserve_front), so that adding points in
// descending order costs as little as appending. The interface is the small
// part of std::vector that the value lists use, plus the two rooms.
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
  ~TValueStorage() { std::free(FBlock); }
  TValueStorage(const TValueStorage&) = delete;
  TValueStorage& operator=(const TValueStorage&) = delete;
  TValueStorage(TValueStorage&& Other) noexcept
      : FBlock(std::exchange(Other.FBlock, nullptr)),
        FFront(std::exchange(Other.FFront, 0)),
        FSize(std::exchange(Other.FSize, 0)),
        FLength(std::exchange(Other.FLength, 0)) {}
  TValueStorage& operator=(TValueStorage&& Other) noexcept {
    if (this != &Other) {
      std::free(FBlock);
      FBlock = std::exchange(Other.FBlock, nullptr);
      FFront = std::exchange(Other.FFront, 0);
      FSize = std::exchange(Other.FSize, 0);
      FLength = std::exchange(Other.FLength, 0);
    }
    return *this;
  }

  std::size_t size() const { return FSize; }
  // The length of the block: front room, values and back room.
  std::size_t capacity() const { return FLength; }
  std::size_t front_room() const { return FFront; }
  std::size_t back_room() const { return FLength - FFront - FSize; }
  bool empty() const { return FSize == 0; }
  double* data() { return FBlock + FFront; }
  const double* data() const { return FBlock + FFront; }
  double& operator[](std::size_t Index) { return data()[Index]; }
  double operator[](std::size_t Index) const { return data()[Index]; }

  // Makes room for at least Length values from the first value on (the
  // front room stays); never shrinks. Raises std::bad_alloc (the values
  // unchanged) when memory runs out.
  void reserve(std::size_t Length) {
    if (Length <= FLength - FFront) return;
    if (Length > static_cast<std::size_t>(-1) / sizeof(double) - FFront) throw std::bad_alloc();
    const std::size_t length = FFront + Length;
    void* grown = std::realloc(FBlock, length * sizeof(double));
    if (!grown) throw std::bad_alloc();
    FBlock = static_cast<double*>(grown);
    FLength = length;
  }

  // Makes the front room at least Room values, moving the values once into
  // a new block (the back room stays). Raises std::bad_alloc (the values
  // unchanged) when memory runs out.
  void reserve_front(std::size_t Room) {
    if (Room <= FFront) return;
    const std::size_t extra = Room - FFront;
    if (extra > static_cast<std::size_t>(-1) / sizeof(double) - FLength) throw std::bad_alloc();
    const std::size_t length = FLength + extra;
    auto* block = static_cast<double*>(std::malloc(length * sizeof(double)));
    if (!block) throw std::bad_alloc();
    if (FSize > 0) std::memcpy(block + Room, data(), FSize * sizeof(double));
    std::free(FBlock);
    FBlock = block;
    FFront = Room;
    FLength = length;
  }

  // Whether inserting at Index moves the values before it (into the front
  // room) rather than those after it: the shorter side moves.
  bool inserts_at_front(std::size_t Index) const { return Index < FSize - Index; }

  // The first free place after the values, and the step that takes N
  // values written there in (the caller has made room: back_room() >= N).
  double* end_unchecked() { return data() + FSize; }
  void appended_unchecked(std::size_t N) { FSize += N; }

  // Appends one value; the caller has made room (back_room() > 0).
  void push_back_unchecked(double Value) { data()[FSize++] = Value; }

  // Inserts Value at Index (0..size()). The caller has made room on the side
  // that moves: front_room() > 0 when inserts_at_front(Index), else
  // back_room() > 0.
  void insert_unchecked(std::size_t Index, double Value) {
    if (inserts_at_front(Index)) {
      double* first = data();
      std::memmove(first - 1, first, Index * sizeof(double));
      --FFront;
    } else {
      double* at = data() + Index;
      std::memmove(at + 1, at, (FSize - Index) * sizeof(double));
    }
    data()[Index] = Value;
    ++FSize;
  }

  // Removes the values First..Last-1; the shorter side moves, and the room
  // it leaves stays with the block.
  void erase(std::size_t First, std::size_t Last) {
    const std::size_t n = Last - First;
    double* values = data();
    if (First < FSize - Last) {
      std::memmove(values + n, values, First * sizeof(double));
      FFront += n;
    } else {
      std::memmove(values + First, values + Last, (FSize - Last) * sizeof(double));
    }
    FSize -= n;
  }

  // Moves the values to the start of the block: the front room becomes
  // back room.
  void reclaim_front() {
    if (FFront == 0) return;
    std::memmove(FBlock, data(), FSize * sizeof(double));
    FFront = 0;
  }

  // Size 0 and the memory given back.
  void release() {
    std::free(FBlock);
    FBlock = nullptr;
    FFront = 0;
    FSize = 0;
    FLength = 0;
  }

 private:
  double* FBlock = nullptr;  // the allocation; the values start at FFront
  std::size_t FFront = 0;
  std::size_t FSize = 0;
  std::size_t FLength = 0;
};

}  // namespace sextant
