#pragma once
// Three reals that are almost always zero: lines 3 and 4 of a control point block are normally the
// single word "0", and a model holds millions of points. The values live on the heap only when one
// of them is not zero, so the common point carries a null pointer instead of three reals.

#include <array>
#include <cmath>
#include <cstddef>
#include <memory>

namespace mk {

template <class Real>
class CompactTriple {
 public:
  using Values = std::array<Real, 3>;

  CompactTriple() = default;
  CompactTriple(const Values& values) { Assign(values); }  // NOLINT: reads like the array it holds
  CompactTriple(const CompactTriple& other) {
    if (other.values_) values_ = std::make_unique<Values>(*other.values_);
  }
  CompactTriple(CompactTriple&&) noexcept = default;
  CompactTriple& operator=(const CompactTriple& other) {
    if (this != &other) values_ = other.values_ ? std::make_unique<Values>(*other.values_) : nullptr;
    return *this;
  }
  CompactTriple& operator=(CompactTriple&&) noexcept = default;
  CompactTriple& operator=(const Values& values) {
    Assign(values);
    return *this;
  }

  Real operator[](std::size_t k) const { return values_ ? (*values_)[k] : Real(0); }
  Values Get() const { return values_ ? *values_ : Values{}; }
  /// True when no storage is held; every value is then +0.
  bool IsCompact() const { return values_ == nullptr; }

  friend bool operator==(const CompactTriple& a, const CompactTriple& b) { return a.Get() == b.Get(); }
  friend bool operator==(const CompactTriple& a, const Values& b) { return a.Get() == b; }

 private:
  void Assign(const Values& values) {
    // Only +0 may go without storage: a -0 read from a file must come back as it was read.
    bool zero = true;
    for (Real v : values)
      if (!(v == 0) || std::signbit(v)) zero = false;
    if (zero) {
      values_.reset();
    } else if (values_) {
      *values_ = values;
    } else {
      values_ = std::make_unique<Values>(values);
    }
  }

  std::unique_ptr<Values> values_;
};

}  // namespace mk
