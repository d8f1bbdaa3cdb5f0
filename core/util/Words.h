#pragma once
// Word and flag-word helpers shared by the model and segment readers and writers.

#include <cstdint>
#include <string>
#include <string_view>

namespace mk {

/// The n-th word (from 0) of a text cut at single blanks. Two blanks make an empty word between
/// them; an index past the last word gives the last word.
std::string_view NthWord(std::string_view text, int n);
/// The number of blanks in the text plus one.
int WordCount(std::string_view text);

/// Reads a flag word. Texts of ten or more characters stand for values with the top bit set:
/// the first character (the leading 2 of the unsigned value) is dropped and the rest rebased.
std::int32_t ParseFlagWord(std::string_view text);
/// Writes a flag word; negative values (top bit set) as "21" and eight digits of the low bits.
std::string FormatFlagWord(std::int32_t n);

}  // namespace mk
