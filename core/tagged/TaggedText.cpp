#include "core/tagged/TaggedText.h"

#include <charconv>
#include <cstdio>

#include "core/util/Errors.h"
#include "core/util/NumberText.h"

namespace mk::tagged {

Words SplitWords(std::string_view line) {
  Words words;
  std::size_t pos = 0;
  for (;;) {
    if (words.count == Words::kMax) {
      words.more = true;
      return words;
    }
    const std::size_t blank = line.find(' ', pos);
    words.start[words.count] = pos;
    words.word[words.count++] = line.substr(pos, blank == std::string_view::npos ? blank : blank - pos);
    if (blank == std::string_view::npos) return words;
    pos = blank + 1;
  }
}

bool ParseUnsigned(std::string_view text, std::uint32_t& value) {
  if (text.empty() || text.front() < '0' || text.front() > '9') return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

bool ParseSigned(std::string_view text, std::int32_t& value) {
  if (text.empty() || text.front() == '+') return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

bool ParseReal(std::string_view text, double& value) {
  // Cheap refusals first: the dialect's "." and key times such as 1:40:0 are common words.
  if (text.empty() || text == "." || text.find(':') != std::string_view::npos) return false;
  try {
    value = StrToFloat(text);
  } catch (const ConversionError&) {
    return false;
  }
  return true;
}

void AppendUnsigned(std::string& out, std::uint32_t value) {
  char digits[16];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  out.append(digits, result.ptr);
}

void AppendProductReal(std::string& out, double value) {
  if (value == 0) {
    out += '0';
    return;
  }
  char text[40];
  const int length = std::snprintf(text, sizeof text, "%.6g", value);
  const std::string_view written(text, static_cast<std::size_t>(length));
  const std::size_t e = written.find('e');
  if (e == std::string_view::npos) {
    out.append(written);
    return;
  }
  // The C library writes at least two exponent digits, the product three.
  out.append(written.substr(0, e + 2));  // mantissa, "e" and the exponent's sign
  const std::string_view digits = written.substr(e + 2);
  for (std::size_t n = digits.size(); n < 3; ++n) out += '0';
  out.append(digits);
}

void AppendNegated(std::string& out, std::string_view number) {
  const std::string_view magnitude = number.substr(!number.empty() && number.front() == '-' ? 1 : 0);
  bool zero = true;
  for (const char c : magnitude) {
    if (c == 'e' || c == 'E') break;
    if (c >= '1' && c <= '9') zero = false;
  }
  if (zero) {
    out += '0';
    return;
  }
  if (magnitude.size() == number.size()) out += '-';
  out.append(magnitude);
}

}  // namespace mk::tagged
