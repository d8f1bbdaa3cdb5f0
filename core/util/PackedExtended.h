#pragma once
// An extended real stored in the bytes its value takes. The x87 long double holds 10 bytes of
// value in 16 bytes of storage and aligns every record holding it to 16 bytes; a segment holds
// millions of points of three coordinates each, so the padding alone would be tens of megabytes.
// Values go in and out through memcpy, bit for bit, NaN payloads and signed zeros included.

#include <bit>
#include <cstddef>
#include <cstring>
#include <limits>

namespace mk {

class PackedExtended {
 public:
  PackedExtended() : PackedExtended(0.0L) {}
  PackedExtended(long double value) { Store(value); }  // NOLINT: stands in for a long double
  PackedExtended& operator=(long double value) {
    Store(value);
    return *this;
  }
  operator long double() const {  // NOLINT: reads like the long double it holds
    long double value = 0;
    std::memcpy(&value, bytes_, kBytes);
    return value;
  }

 private:
  // The x87 format keeps its sign, exponent and 64-bit mantissa in the first 10 bytes of a
  // little-endian long double; any other format is kept whole.
  static constexpr std::size_t kBytes = std::numeric_limits<long double>::digits == 64 &&
                                                std::endian::native == std::endian::little &&
                                                sizeof(long double) >= 10
                                            ? 10
                                            : sizeof(long double);

  void Store(long double value) { std::memcpy(bytes_, &value, kBytes); }

  unsigned char bytes_[kBytes];
};

}  // namespace mk
