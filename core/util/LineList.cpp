#include "core/util/LineList.h"

#include "core/util/Errors.h"
#include "core/util/FileIo.h"

namespace mk {

LineList LineList::FromFileText(FileText bytes) {
  LineList list;
  list.bytes_ = std::make_unique<FileText>(std::move(bytes));
  const FileText& text = *list.bytes_;
  const std::size_t end = std::min(text.find('\0'), text.size());
  // One pass to count the line ends: a big model has millions of lines, and growing the list by
  // doubling would copy it again and again and hold up to twice its size for a moment.
  const char* const data = text.data();
  std::size_t breaks = 0;
  for (std::size_t i = 0; i < end; ++i)
    if (data[i] == '\n' || (data[i] == '\r' && (i + 1 == end || data[i + 1] != '\n'))) ++breaks;
  list.lines_.reserve(breaks + 1);
  std::size_t pos = 0;
  while (pos < end) {
    std::size_t stop = pos;
    while (stop < end && data[stop] != '\r' && data[stop] != '\n') ++stop;
    list.lines_.emplace_back(data + pos, stop - pos);
    pos = stop;
    if (pos < end && text[pos] == '\r') ++pos;
    if (pos < end && text[pos] == '\n') ++pos;
  }
  return list;
}

LineList LineList::FromFile(const std::string& file_name) {
  return FromFileText(ReadWholeFile(file_name));
}

std::string_view LineList::Get(std::size_t index) const {
  if (index >= lines_.size()) throw ListIndexError(static_cast<std::int64_t>(index));
  return lines_[index];
}

LineWriter::LineWriter(ByteSink sink) : sink_(std::move(sink)) {
  text_.reserve(kPieceSize + 4096);
}

void LineWriter::Take(LineWriter& other) {
  if (sink_) {
    Flush();
    if (!other.text_.empty()) sink_(other.text_);
    count_ += other.count_;
  } else {
    Append(other);
  }
  other.text_.clear();
  other.count_ = 0;
}

void LineWriter::Flush() {
  if (!sink_ || text_.empty()) return;
  sink_(text_);
  text_.clear();
}

std::vector<std::string> LineWriter::Lines() const {
  std::vector<std::string> lines;
  std::size_t pos = 0;
  while (pos < text_.size()) {
    const std::size_t stop = text_.find("\r\n", pos);
    lines.emplace_back(text_.substr(pos, stop - pos));
    pos = stop + 2;
  }
  return lines;
}

}  // namespace mk
