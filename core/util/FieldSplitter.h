#pragma once
// The field splitter of every ".mdl" reader. Its exact rules decide which model lines are accepted.

#include <string_view>

namespace mk {

/// The text before the first occurrence of the separator; the whole text when it does not occur.
std::string_view BeforeSeparator(std::string_view separator, std::string_view text);
/// The text behind the first character of the first occurrence of the separator (for a longer
/// separator its remaining characters stay in front); empty when the separator does not occur.
std::string_view AfterSeparator(std::string_view separator, std::string_view text);
/// The text without leading and trailing characters of code 32 and below.
std::string_view TrimControls(std::string_view text);

/// Splits a text into fields. After each split the rest is trimmed, so runs of blanks between
/// later fields separate like one blank, while the first field sees the text untrimmed.
/// The text is referenced, not copied: it must outlive the splitter's use.
class FieldSplitter {
 public:
  std::string_view Separator = ".";

  void SetText(std::string_view text);
  /// The next field; the empty text once the rest is used up.
  std::string_view NextField();
  int RestLength() const { return static_cast<int>(rest_.size()); }
  int FieldCount() const { return field_count_; }
  std::string_view Source() const { return source_; }
  std::string_view Rest() const { return rest_; }

 private:
  std::string_view source_;
  std::string_view rest_;
  int field_count_ = 0;
};

}  // namespace mk
