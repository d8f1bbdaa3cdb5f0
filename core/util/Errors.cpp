#include "core/util/Errors.h"

#include <utility>

namespace mk {

const char* Error::what() const noexcept { return english_.c_str(); }

void Error::CacheEnglish() { english_ = Message(Language::English); }

ConversionError::ConversionError(Kind kind, std::string word)
    : KindedError(kind), word_(std::move(word)) {
  CacheEnglish();
}

namespace {

/// A word as a message quotes it: a hostile file can hold a word of many megabytes, which no
/// message box should have to lay out. The cut avoids the middle of a UTF-8 sequence.
std::string Quoted(const std::string& word) {
  constexpr std::size_t kMaxQuoted = 64;
  std::size_t cut = word.size();
  if (cut > kMaxQuoted) {
    cut = kMaxQuoted;
    while (cut > 0 && (static_cast<unsigned char>(word[cut]) & 0xC0u) == 0x80u) --cut;
  }
  // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) about "'" + a std::string.
  std::string quoted(1, '\'');
  quoted.append(word, 0, cut);
  if (cut < word.size()) quoted += "...";
  quoted += '\'';
  return quoted;
}

}  // namespace

std::string ConversionError::Message(Language language) const {
  const bool ja = language == Language::Japanese;
  const std::string quoted = Quoted(word_);
  if (kind() == Kind::Integer)
    return ja ? quoted + " は整数ではありません" : quoted + " is not a valid integer value";
  return ja ? quoted + " は浮動小数点数ではありません" : quoted + " is not a valid floating point value";
}

ListIndexError::ListIndexError(std::int64_t index) : index_(index) { CacheEnglish(); }

std::string ListIndexError::Message(Language language) const {
  const std::string n = std::to_string(index_);
  return language == Language::Japanese ? "ﾘｽﾄのｲﾝﾃﾞｯｸｽが範囲を超えています (" + n + ")"
                                        : "List index out of bounds (" + n + ")";
}

FileError::FileError(Kind kind, std::string file_name, std::string reason)
    : KindedError(kind), file_name_(std::move(file_name)), reason_(std::move(reason)) {
  CacheEnglish();
}

std::string FileError::Message(Language language) const {
  const bool ja = language == Language::Japanese;
  std::string text;
  switch (kind()) {
    case Kind::Open:
      text = ja ? "ﾌｧｲﾙ " + file_name_ + " は開けません" : "Cannot open file " + file_name_;
      break;
    case Kind::Create:
      text = ja ? "ﾌｧｲﾙ " + file_name_ + " を作成できません" : "Cannot create file " + file_name_;
      break;
    case Kind::Write:
      text = ja ? "ﾌｧｲﾙ " + file_name_ + " に書き込めません" : "Cannot write file " + file_name_;
      break;
  }
  if (!reason_.empty()) text += " (" + reason_ + ")";
  return text;
}

FormatError::FormatError(Kind kind, std::int64_t line_index, std::string detail)
    : KindedError(kind), line_index_(line_index), detail_(std::move(detail)) {
  CacheEnglish();
}

std::string FormatError::Message(Language language) const {
  const bool ja = language == Language::Japanese;
  if (kind() == Kind::NestingTooDeep) {
    const std::string n = std::to_string(line_index_);
    return ja ? "セクションの入れ子が深すぎます (" + n + ")"
              : "Sections are nested too deeply (line " + n + ")";
  }
  // The other faults are found at a line: the caller puts it, and the file's name, in front.
  const std::string d = Quoted(detail_);
  switch (kind()) {
    case Kind::TagNeverClosed:
      return (ja ? "タグ " + d + " が閉じていません" : "The tag " + d + " is never closed");
    case Kind::CloserMismatch:
      return (ja ? "閉じタグ " + d + " が開いているタグと合いません"
                         : "The closing tag " + d + " does not match the open tag");
    case Kind::UnknownPointForm:
      return (ja ? "制御点の行の形式が不明です: " + d
                         : "A control point line of unknown form: " + d);
    case Kind::UnknownPatchForm:
      return (ja ? "パッチの行の形式が不明です: " + d : "A patch line of unknown form: " + d);
    case Kind::DuplicateId:
      return (ja ? "cpid " + d + " が重複しています" : "The cpid " + d + " occurs twice");
    case Kind::NotANumber:
      return (ja ? d + " は数ではありません" : d + " is not a number");
    case Kind::HugeCount:
      return (ja ? "数が大きすぎます: " + d : "A count too large: " + d);
    case Kind::NestingTooDeep:
      break;
  }
  return d;
}

}  // namespace mk
