#pragma once
// Words and numbers of the angle-tag ".mdl" dialect. Its lines are fields separated by exactly one
// blank; its reals are written as the modelling product writes them: at most 6 significant
// digits, three-digit exponents ("1.5e-005"), integral values without a point.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace mk::tagged {

/// The words of one line, cut at single blanks, with where each starts in the line. Lines hold
/// at most a few dozen words that the reader looks at; the rest stay in the last word's tail.
struct Words {
  static constexpr std::size_t kMax = 16;
  std::array<std::string_view, kMax> word;
  std::array<std::size_t, kMax> start{};
  std::size_t count = 0;
  /// True when the line held more than kMax words.
  bool more = false;

  /// The line from word i to its end.
  std::string_view From(std::string_view line, std::size_t i) const { return line.substr(start[i]); }
};

/// Cuts a line at single blanks; two blanks in a row make an empty word.
Words SplitWords(std::string_view line);

/// Decimal digits only, within the range; false otherwise.
bool ParseUnsigned(std::string_view text, std::uint32_t& value);
/// An optional "-" and decimal digits, within the signed 32-bit range; false otherwise.
bool ParseSigned(std::string_view text, std::int32_t& value);
/// A real as the files write them; false for anything else ("nan", "inf", ".", key times).
bool ParseReal(std::string_view text, double& value);

void AppendUnsigned(std::string& out, std::uint32_t value);
/// The product's way: %g with 6 significant digits and an exponent of at least three digits.
void AppendProductReal(std::string& out, double value);
/// The same number text with the sign changed: a mirrored coordinate loses no digit. A zero is
/// written "0" either way.
void AppendNegated(std::string& out, std::string_view number);

}  // namespace mk::tagged
