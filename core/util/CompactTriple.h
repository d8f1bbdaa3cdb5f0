#pragma once
// Three reals that are almost always zero: lines 3 and 4 of a control point block are normally the
// single word "0", and a model holds millions of points. The values live on the heap only when one
// of them is not zero, so the common point carries a single word instead of three reals. That
// word also holds one flag of the owner's, in the pointer's spare low bit: a segment point has
// no room left for it. The heap block may keep the values in a smaller form (Storage) that
// converts to and from Real exactly.

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace mk {

/// Whether a value needs no storage: +0 only, as -0 must come back as read.
inline bool IsPositiveZero(double value) { return value == 0 && !std::signbit(value); }

template <class Real, class Storage = Real>
class CompactTriple {
 public:
  using Values = std::array<Real, 3>;

  CompactTriple() = default;
  CompactTriple(const Values& values) { Assign(values); }  // NOLINT: reads like the array it holds
  CompactTriple(const CompactTriple& other) : bits_(other.bits_ & kFlagBit) {
    if (const Block* v = other.Stored()) Own(new Block(*v));
  }
  CompactTriple(CompactTriple&& other) noexcept : bits_(other.bits_) { other.bits_ = 0; }
  ~CompactTriple() { delete Stored(); }

  CompactTriple& operator=(const CompactTriple& other) {
    // Held storage never holds three +0 (Assign sees to that), so the other's form is copied
    // as it is, without testing the values again.
    if (this == &other) return *this;
    const Block* theirs = other.Stored();
    if (theirs == nullptr) {
      delete Stored();
      bits_ = other.bits_;
    } else if (Block* mine = Stored()) {
      *mine = *theirs;
      SetFlag(other.Flag());
    } else {
      Block* copy = new Block(*theirs);
      bits_ = other.bits_ & kFlagBit;
      Own(copy);
    }
    return *this;
  }
  CompactTriple& operator=(CompactTriple&& other) noexcept {
    if (this != &other) {
      delete Stored();
      bits_ = other.bits_;
      other.bits_ = 0;
    }
    return *this;
  }
  /// Sets the values; the flag stays.
  CompactTriple& operator=(const Values& values) {
    Assign(values);
    return *this;
  }

  Real operator[](std::size_t k) const { return Stored() ? Real((*Stored())[k]) : Real(); }
  Values Get() const {
    const Block* stored = Stored();
    if (stored == nullptr) return Values{};
    return {Real((*stored)[0]), Real((*stored)[1]), Real((*stored)[2])};
  }
  /// True when no storage is held; every value is then +0.
  bool IsCompact() const { return Stored() == nullptr; }

  bool Flag() const { return (bits_ & kFlagBit) != 0; }
  void SetFlag(bool on) { bits_ = (bits_ & ~kFlagBit) | (on ? kFlagBit : 0); }

  friend bool operator==(const CompactTriple& a, const CompactTriple& b) { return a.Get() == b.Get(); }
  friend bool operator==(const CompactTriple& a, const Values& b) { return a.Get() == b; }

 private:
  using Block = std::array<Storage, 3>;
  static constexpr std::uintptr_t kFlagBit = 1;
  // Blocks come from plain new, aligned for any object, whatever Storage's own alignment.
  static_assert(__STDCPP_DEFAULT_NEW_ALIGNMENT__ >= 2, "the low bit of the pointer holds the flag");

  Block* Stored() const { return reinterpret_cast<Block*>(bits_ & ~kFlagBit); }
  void Own(Block* values) { bits_ = reinterpret_cast<std::uintptr_t>(values) | (bits_ & kFlagBit); }
  static Block ToBlock(const Values& values) { return {values[0], values[1], values[2]}; }

  void Assign(const Values& values) {
    // Only +0 may go without storage: a -0 read from a file must come back as it was read.
    bool zero = true;
    for (const Real& v : values)
      if (!IsPositiveZero(v)) zero = false;
    if (zero) {
      delete Stored();
      Own(nullptr);
    } else if (Block* stored = Stored()) {
      *stored = ToBlock(values);
    } else {
      Own(new Block(ToBlock(values)));
    }
  }

  std::uintptr_t bits_ = 0;
};

}  // namespace mk
