#include "core/workflow/ErrorPlace.h"

#include <string_view>

#include "core/util/LineList.h"

namespace mk {
namespace {

bool HoldsField(std::string_view line, std::string_view word) {
  constexpr std::string_view kSeparators = " \t=,";
  std::size_t at = 0;
  while ((at = line.find(word, at)) != std::string_view::npos) {
    const bool starts = at == 0 || kSeparators.find(line[at - 1]) != std::string_view::npos;
    const std::size_t end = at + word.size();
    const bool ends = end == line.size() || kSeparators.find(line[end]) != std::string_view::npos;
    if (starts && ends) return true;
    ++at;
  }
  return false;
}

}  // namespace

std::int64_t LineOfError(const std::string& file_name, const Error& error) {
  if (const auto* format = dynamic_cast<const FormatError*>(&error))
    return format->line_index() >= 0 ? format->line_index() + 1 : 0;
  const auto* conversion = dynamic_cast<const ConversionError*>(&error);
  if (!conversion) return 0;
  try {
    const LineList lines = LineList::FromFile(file_name);
    const std::string_view word = conversion->word();
    for (std::size_t i = 0; i < lines.Count(); ++i) {
      // An empty word is an empty field: a line with nothing in it, or nothing after "=".
      const std::string_view line = lines.Get(i);
      if (word.empty() ? (line.empty() || line.back() == '=') : HoldsField(line, word))
        return static_cast<std::int64_t>(i) + 1;
    }
  } catch (const Error&) {
    // The file went away since: the message stands without its line.
  }
  return 0;
}

std::string PlacedMessage(const std::string& file_name, const Error& error) {
  const std::int64_t line =
      dynamic_cast<const FileError*>(&error) ? 0 : LineOfError(file_name, error);
  if (line == 0) return file_name + ": " + error.what();
  return file_name + ", line " + std::to_string(line) + ": " + error.what();
}

}  // namespace mk
