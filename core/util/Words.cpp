#include "core/util/Words.h"

#include "core/util/NumberText.h"

namespace mk {

std::string_view NthWord(std::string_view text, int n) {
  for (int i = 0; i < n; ++i) {
    const std::size_t blank = text.find(' ');
    if (blank == std::string_view::npos) break;
    text.remove_prefix(blank + 1);
  }
  const std::size_t blank = text.find(' ');
  return blank == std::string_view::npos ? text : text.substr(0, blank);
}

int WordCount(std::string_view text) {
  int count = 1;
  for (char c : text)
    if (c == ' ') ++count;
  return count;
}

std::int32_t ParseFlagWord(std::string_view text) {
  if (text.size() <= 9) return StrToInt(text);
  const auto v = static_cast<std::uint32_t>(StrToInt(text.substr(1)));
  return static_cast<std::int32_t>((v - 147483648u) | 0x80000000u);
}

std::string FormatFlagWord(std::int32_t n) {
  if (n >= 0) return IntToStr(n);
  const std::uint32_t low = static_cast<std::uint32_t>(n) & 0x7FFFFFFFu;
  return "21" + IntToStr(static_cast<std::int32_t>((low + 47483648u) & 0x3FFFFFFu));
}

}  // namespace mk
