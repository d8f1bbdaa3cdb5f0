#pragma once
// A few reals that are almost always +0: a hook's ratio and lines 3 and 4 of a control point
// block are zero in nearly every point of a model, and a model holds millions of points. The
// values live on the heap only once one of them is set to anything but +0, so the common point
// carries a single pointer instead of them all.

#include <array>
#include <cmath>
#include <cstddef>
#include <memory>

namespace mk {

template <std::size_t N>
class RareReals {
 public:
  RareReals() = default;
  RareReals(const RareReals& other) : values_(CopyOf(other)) {}
  RareReals& operator=(const RareReals& other) {
    if (this != &other) values_ = CopyOf(other);
    return *this;
  }
  RareReals(RareReals&&) noexcept = default;
  RareReals& operator=(RareReals&&) noexcept = default;

  double Get(std::size_t k) const { return values_ ? (*values_)[k] : 0.0; }
  /// Only +0 may go without storage: a -0 read from a file must come back as it was read.
  void Set(std::size_t k, double value) {
    if (!values_) {
      if (value == 0 && !std::signbit(value)) return;
      values_ = std::make_unique<Values>();  // the others +0
    }
    (*values_)[k] = value;
  }
  /// True when no storage is held; every value is then +0.
  bool IsCompact() const { return values_ == nullptr; }

 private:
  using Values = std::array<double, N>;
  static std::unique_ptr<Values> CopyOf(const RareReals& other) {
    return other.values_ ? std::make_unique<Values>(*other.values_) : nullptr;
  }
  std::unique_ptr<Values> values_;
};

}  // namespace mk
