// The text layer: splitting, words and number conversions on arbitrary bytes.

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/util/Words.h"
#include "core/util/Errors.h"
#include "core/util/LineList.h"
#include "core/util/NumberText.h"
#include "core/util/FieldSplitter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const mk::LineList lines = mk::LineList::FromText(text);
  for (std::size_t i = 0; i < lines.Count() && i < 64; ++i) {
    const std::string_view line = lines.Get(i);
    mk::FieldSplitter splitter;
    splitter.Separator = (i % 2) ? " " : "=";
    splitter.SetText(line);
    for (int field = 0; field < 32 && splitter.RestLength() > 0; ++field) {
      const std::string_view word = splitter.NextField();
      try {
        const double real = mk::StrToFloat(word);
        // Whatever is written must read back as the same 15-digit value.
        const std::string written = mk::FloatToStr(real);
        if (mk::FloatToStr(mk::StrToFloat(written)) != written) __builtin_trap();
      } catch (const mk::ConversionError&) {
      }
      try {
        (void)mk::StrToExtended(word);
      } catch (const mk::ConversionError&) {
      }
      try {
        const std::int32_t flags = mk::ParseFlagWord(word);
        (void)mk::FormatFlagWord(flags);
        if (mk::StrToInt(mk::IntToStr(flags)) != flags) __builtin_trap();
      } catch (const mk::ConversionError&) {
      }
    }
    (void)mk::WordCount(line);
    for (int n = -1; n < 8; ++n) (void)mk::NthWord(line, n);
  }
  return 0;
}
