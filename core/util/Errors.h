#pragma once
// The few typed errors of the core. Each carries the program's own message text in both interface
// languages; what() gives the English one (the CLI's language).

#include <cstdint>
#include <exception>
#include <string>

namespace mk {

enum class Language { Japanese, English };

class Error : public std::exception {
 public:
  /// The message as the user reads it in the given interface language.
  virtual std::string Message(Language language) const = 0;
  const char* what() const noexcept override;

 protected:
  /// Derived constructors call this once their fields are set.
  void CacheEnglish();

 private:
  std::string english_;
};

/// An error with a few kinds that callers and messages tell apart.
template <typename KindEnum>
class KindedError : public Error {
 public:
  using Kind = KindEnum;
  Kind kind() const { return kind_; }

 protected:
  explicit KindedError(Kind kind) : kind_(kind) {}

 private:
  Kind kind_;
};

enum class NumberKind { Integer, Real };

/// A word that should be an integer or a real and is not.
class ConversionError : public KindedError<NumberKind> {
 public:
  ConversionError(Kind kind, std::string word);
  std::string Message(Language language) const override;
  const std::string& word() const { return word_; }

 private:
  std::string word_;
};

/// A read past the end of a line list.
class ListIndexError : public Error {
 public:
  explicit ListIndexError(std::int64_t index);
  std::string Message(Language language) const override;
  std::int64_t index() const { return index_; }

 private:
  std::int64_t index_;
};

enum class FileAction { Open, Create, Write };

/// A file that cannot be opened, created, read or written.
class FileError : public KindedError<FileAction> {
 public:
  FileError(Kind kind, std::string file_name, std::string reason = {});
  std::string Message(Language language) const override;
  const std::string& file_name() const { return file_name_; }

 private:
  std::string file_name_;
  std::string reason_;
};

enum class FormatFault {
  NestingTooDeep,
  // The angle-tag ".mdl" dialect; detail names the tag, word or id.
  TagNeverClosed,
  CloserMismatch,
  UnknownPointForm,
  UnknownPatchForm,
  DuplicateId,
  NotANumber,
  HugeCount,
};

/// A file that is well formed line by line but beyond what the program accepts
/// (for instance sections nested deeper than the reader's limit), or one that breaks the rules
/// of its format at a line.
class FormatError : public KindedError<FormatFault> {
 public:
  FormatError(Kind kind, std::int64_t line_index, std::string detail = {});
  std::string Message(Language language) const override;
  std::int64_t line_index() const { return line_index_; }
  const std::string& detail() const { return detail_; }

 private:
  std::int64_t line_index_;
  std::string detail_;
};

}  // namespace mk
