#include "core/util/FieldSplitter.h"

namespace mk {
namespace {

std::size_t FindSeparator(std::string_view separator, std::string_view text) {
  if (separator.empty()) return std::string_view::npos;
  return text.find(separator);
}

}  // namespace

std::string_view BeforeSeparator(std::string_view separator, std::string_view text) {
  const std::size_t pos = FindSeparator(separator, text);
  return pos == std::string_view::npos ? text : text.substr(0, pos);
}

std::string_view AfterSeparator(std::string_view separator, std::string_view text) {
  const std::size_t pos = FindSeparator(separator, text);
  return pos == std::string_view::npos ? std::string_view() : text.substr(pos + 1);
}

std::string_view TrimControls(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && static_cast<unsigned char>(text[begin]) <= 32) ++begin;
  while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 32) --end;
  return text.substr(begin, end - begin);
}

void FieldSplitter::SetText(std::string_view text) {
  source_ = text;
  rest_ = text;
  field_count_ = 0;
}

std::string_view FieldSplitter::NextField() {
  if (rest_.empty()) return {};
  const std::string_view field = BeforeSeparator(Separator, rest_);
  rest_ = TrimControls(AfterSeparator(Separator, rest_));
  ++field_count_;
  return field;
}

}  // namespace mk
