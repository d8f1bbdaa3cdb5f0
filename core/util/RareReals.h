#pragma once
// A few reals that are almost always +0: a hook's ratio and lines 3 and 4 of a control point
// block are zero in nearly every point of a model, and a model holds millions of points. The
// values live on the heap only once one of them is set to anything but +0, so the common point
// carries a single pointer instead of them all.
//
// The heap block holds the values up to the highest one ever set and no further, and its length
// sits in the low bits of the pointer: a value beyond the block is +0 without a look at the
// heap. The holder puts the values it sets most often first, the one it asks most often last.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <new>

namespace mk {

template <std::size_t N>
class RareReals {
 public:
  RareReals() = default;
  RareReals(const RareReals& other) : bits_(CopyOf(other)) {}
  RareReals& operator=(const RareReals& other) {
    if (this != &other) {
      const std::uintptr_t copy = CopyOf(other);
      Free();
      bits_ = copy;
    }
    return *this;
  }
  RareReals(RareReals&& other) noexcept : bits_(other.bits_) { other.bits_ = 0; }
  RareReals& operator=(RareReals&& other) noexcept {
    if (this != &other) {
      Free();
      bits_ = other.bits_;
      other.bits_ = 0;
    }
    return *this;
  }
  ~RareReals() { Free(); }

  double Get(std::size_t k) const { return k < Length() ? Values()[k] : 0.0; }
  /// Only +0 may go without storage: a -0 read from a file must come back as it was read.
  void Set(std::size_t k, double value) {
    if (k >= Length()) {
      if (value == 0 && !std::signbit(value)) return;
      Grow(k + 1);
    }
    Values()[k] = value;
  }
  /// True when no storage is held; every value is then +0.
  bool IsCompact() const { return bits_ == 0; }

 private:
  // Plain operator new aligns every block to at least 8 bytes, which leaves the low three bits
  // of its address for the length. (An over-aligned new would round small blocks up in size.)
  static constexpr std::uintptr_t kLengthBits = 7;
  static_assert(__STDCPP_DEFAULT_NEW_ALIGNMENT__ > kLengthBits, "blocks leave three spare bits");
  static_assert(N >= 1 && N <= kLengthBits, "the length must fit in the address's spare bits");

  std::size_t Length() const { return static_cast<std::size_t>(bits_ & kLengthBits); }
  double* Values() const { return reinterpret_cast<double*>(bits_ & ~kLengthBits); }

  static std::uintptr_t Allocate(std::size_t length) {
    void* block = ::operator new(length * sizeof(double));
    return reinterpret_cast<std::uintptr_t>(block) | length;
  }
  void Free() {
    if (bits_ != 0) ::operator delete(Values());
    bits_ = 0;
  }
  /// Makes the block `length` long, keeping the values it held and the rest +0.
  void Grow(std::size_t length) {
    const std::uintptr_t grown = Allocate(length);
    double* to = reinterpret_cast<double*>(grown & ~kLengthBits);
    std::fill(to, to + length, 0.0);
    std::copy(Values(), Values() + Length(), to);
    Free();
    bits_ = grown;
  }
  static std::uintptr_t CopyOf(const RareReals& other) {
    if (other.bits_ == 0) return 0;
    const std::uintptr_t copy = Allocate(other.Length());
    std::copy(other.Values(), other.Values() + other.Length(),
              reinterpret_cast<double*>(copy & ~kLengthBits));
    return copy;
  }

  std::uintptr_t bits_ = 0;  // the block's address and its length; 0 without a block
};

}  // namespace mk
