// PodVector: a growable array of plain records, the storage of the
// cadastral model. Unlike std::vector it grows through growBlock(), which
// for large arrays moves the pages rather than copying them where the system
// allows (mremap on Linux), so growing never holds the old and the new array
// in memory at once; and it asks for the pages ahead of its end a stretch at
// a time (readyForWriting), instead of taking a page fault for each.
#ifndef VORLANE_MODEL_POD_VECTOR_H_
#define VORLANE_MODEL_POD_VECTOR_H_

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <span>
#include <type_traits>

#include "platform/memory.h"

namespace vorlane {

template <typename T>
class PodVector {
  static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>,
                "PodVector holds plain records only");

 public:
  PodVector() = default;
  PodVector(const PodVector&) = delete;
  PodVector& operator=(const PodVector&) = delete;
  PodVector(PodVector&& other) noexcept
      : data_(other.data_), size_(other.size_), capacity_(other.capacity_), ready_(other.ready_) {
    other.data_ = nullptr;
    other.size_ = other.capacity_ = other.ready_ = 0;
  }
  PodVector& operator=(PodVector&& other) noexcept {
    if (this != &other) {
      freeBlock(data_, capacity_ * sizeof(T));
      data_ = other.data_;
      size_ = other.size_;
      capacity_ = other.capacity_;
      ready_ = other.ready_;
      other.data_ = nullptr;
      other.size_ = other.capacity_ = other.ready_ = 0;
    }
    return *this;
  }
  ~PodVector() { freeBlock(data_, capacity_ * sizeof(T)); }

  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  T* data() { return data_; }
  const T* data() const { return data_; }
  T* begin() { return data_; }
  T* end() { return data_ + size_; }
  const T* begin() const { return data_; }
  const T* end() const { return data_ + size_; }
  T& operator[](size_t i) { return data_[i]; }
  const T& operator[](size_t i) const { return data_[i]; }
  T& back() { return data_[size_ - 1]; }
  operator std::span<T>() { return {data_, size_}; }
  operator std::span<const T>() const { return {data_, size_}; }

  void push_back(const T& value) {
    if (size_ == ready_) prepare(size_ + 1);
    data_[size_++] = value;
  }

  // Appends "count" copies of "value".
  void append(size_t count, const T& value) {
    if (ready_ - size_ < count) prepare(size_ + count);
    for (size_t i = 0; i < count; ++i) data_[size_ + i] = value;
    size_ += count;
  }

  // Appends a copy of "items", which may lie in this vector.
  void append(const T* items, size_t count) {
    if (ready_ - size_ < count) {
      // Where "items" lies in this vector, it moves with it.
      const auto from = reinterpret_cast<std::uintptr_t>(items);
      const auto start = reinterpret_cast<std::uintptr_t>(data_);
      const bool inside = from >= start && from < start + size_ * sizeof(T);
      const size_t offset = inside ? (from - start) / sizeof(T) : 0;
      prepare(size_ + count);
      if (inside) items = data_ + offset;
    }
    std::memmove(data_ + size_, items, count * sizeof(T));
    size_ += count;
  }

  // Appends "count" elements of zero bytes; the new pages of a large array
  // are left to the system until they are written.
  // REQUIRES: zero bytes make a valid T.
  void appendZeros(size_t count) {
    if (capacity_ == 0 && count >= 16) {
      if (count > SIZE_MAX / sizeof(T)) throw std::bad_alloc();
      data_ = static_cast<T*>(zeroedBlock(count * sizeof(T)));
      if (data_ == nullptr) throw std::bad_alloc();
      size_ = capacity_ = ready_ = count;
      return;
    }
    if (ready_ - size_ < count) prepare(size_ + count);
    std::memset(static_cast<void*>(data_ + size_), 0, count * sizeof(T));
    size_ += count;
  }

  // Lets the system take back the memory of elements [first, first +
  // count) where it can: for an array read a last time, before it is freed.
  // Their values are unspecified afterwards.
  void release(size_t first, size_t count) {
    releasePages(data_, capacity_ * sizeof(T), first * sizeof(T), (first + count) * sizeof(T));
  }

  // Shrinks to "count" elements. REQUIRES: count <= size().
  void truncate(size_t count) { size_ = count; }
  // Empties the vector and gives its memory back.
  void clear() {
    freeBlock(data_, capacity_ * sizeof(T));
    data_ = nullptr;
    size_ = capacity_ = ready_ = 0;
  }
  void reserve(size_t count) {
    if (count > capacity_) reallocate(count);
  }

 private:
  // Makes the first "needed" elements writable without a page fault.
  void prepare(size_t needed) {
    if (needed > capacity_) grow(needed);
    const size_t readyBytes =
        readyForWriting(data_, capacity_ * sizeof(T), ready_ * sizeof(T), needed * sizeof(T));
    ready_ = readyBytes / sizeof(T);
  }
  void grow(size_t needed) {
    size_t next = capacity_ < 16 ? 16 : capacity_ * 2;
    if (next < needed) next = needed;
    reallocate(next);
  }
  void reallocate(size_t capacity) {
    if (capacity > SIZE_MAX / sizeof(T)) throw std::bad_alloc();
    void* moved = growBlock(data_, capacity_ * sizeof(T), capacity * sizeof(T));
    if (moved == nullptr) throw std::bad_alloc();
    data_ = static_cast<T*>(moved);
    capacity_ = capacity;
  }

  T* data_ = nullptr;
  size_t size_ = 0;
  size_t capacity_ = 0;
  // The elements before this one have their pages: size_ <= ready_ <= capacity_.
  size_t ready_ = 0;
};

}  // namespace vorlane

#endif  // VORLANE_MODEL_POD_VECTOR_H_
