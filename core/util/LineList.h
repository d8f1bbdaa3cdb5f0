#pragma once
// Text line lists: the form in which every model file is read and written.
// Lines are byte strings in whatever code page the file uses; nothing converts or inspects them.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/util/FileIo.h"

namespace mk {

/// The lines of one loaded text. Lines end at CR LF, a lone CR or a lone LF; a NUL byte ends the text.
/// The lines are views into one buffer that the list owns, so a list may be moved freely.
class LineList {
 public:
  LineList() = default;
  /// Splits the bytes into lines.
  static LineList FromText(std::string_view bytes) { return FromFileText(FileText(bytes)); }
  /// The same without a copy, for bytes read by ReadWholeFile.
  static LineList FromFileText(FileText bytes);
  /// Reads a whole file; throws FileError when it is missing, not a regular file or unreadable.
  static LineList FromFile(const std::string& file_name);

  std::size_t Count() const {
    const std::size_t starts = starts_.empty() ? wide_starts_.size() : starts_.size();
    return starts == 0 ? 0 : starts - 1;
  }
  /// The line at index; throws ListIndexError with the index when it lies past the end.
  std::string_view Get(std::size_t index) const;
  /// The bytes that end the line at index as the text has them: CR LF, LF, CR, or nothing for a
  /// last line without an end. Formats that write every byte back as read need them.
  std::string_view LineEnd(std::size_t index) const;

 private:
  template <class Offset>
  static void IndexLines(const char* data, std::size_t end, std::size_t breaks,
                         LargeVector<Offset>& starts);

  std::unique_ptr<FileText> bytes_;
  // Where each line begins, and after the last one where the text ends; a line ends where the
  // next begins, less its line end. A file holds a line for every few words, so the index is
  // kept at 4 bytes a line where the text allows it: a view of the text per line would take
  // twice the file's size again while the model is read. Texts of 4 GiB and more take the
  // wide form.
  LargeVector<std::uint32_t> starts_;
  LargeVector<std::uint64_t> wide_starts_;
};

/// An output line list: lines are appended to one buffer, each followed by CR LF.
class LineWriter {
 public:
  LineWriter() = default;
  /// A writer that hands its text on to sink whenever about a megabyte has gathered, so that a
  /// save never holds the whole file; Flush hands on the rest. Bytes and Lines then only see
  /// what has not been handed on yet.
  explicit LineWriter(ByteSink sink);

  void Add(std::string_view line) {
    text_.append(line);
    EndLine();
  }
  /// For writers that build a line in place: append to Text(), then call EndLine().
  std::string& Text() { return text_; }
  void EndLine() {
    text_.append("\r\n", 2);
    ++count_;
    if (sink_ && text_.size() >= kPieceSize) Flush();
  }
  /// Adds bytes as they stand, line ends included: for text written back exactly as it was read.
  void AddBytes(std::string_view bytes) {
    text_.append(bytes);
    if (sink_ && text_.size() >= kPieceSize) Flush();
  }
  /// Adds the lines of another writer that has no sink.
  void Append(const LineWriter& other) {
    text_.append(other.text_);
    count_ += other.count_;
    if (sink_ && text_.size() >= kPieceSize) Flush();
  }
  /// Adds the lines of another writer that has no sink and empties it, keeping its room for
  /// more: with a sink they go on whole, without a copy.
  void Take(LineWriter& other);
  void Flush();
  std::size_t Count() const { return count_; }
  const std::string& Bytes() const { return text_; }
  /// The lines written so far, without their line ends (for tests and tools).
  std::vector<std::string> Lines() const;

 private:
  static constexpr std::size_t kPieceSize = std::size_t{1} << 20;

  ByteSink sink_;
  std::string text_;
  std::size_t count_ = 0;
};

}  // namespace mk
