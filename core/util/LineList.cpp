#include "core/util/LineList.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "core/util/Errors.h"
#include "core/util/FileIo.h"

namespace mk {

template <class Offset>
void LineList::IndexLines(const char* data, std::size_t end, std::size_t breaks,
                          LargeVector<Offset>& starts) {
  starts.reserve(breaks + 2);
  std::size_t pos = 0;
  while (pos < end) {
    starts.push_back(static_cast<Offset>(pos));
    std::size_t stop = pos;
    while (stop < end && data[stop] != '\r' && data[stop] != '\n') ++stop;
    pos = stop;
    if (pos < end && data[pos] == '\r') ++pos;
    if (pos < end && data[pos] == '\n') ++pos;
  }
  starts.push_back(static_cast<Offset>(pos));
}

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
  if (end <= std::numeric_limits<std::uint32_t>::max())
    IndexLines(data, end, breaks, list.starts_);
  else
    IndexLines(data, end, breaks, list.wide_starts_);
  return list;
}

LineList LineList::FromFile(const std::string& file_name) {
  return FromFileText(ReadWholeFile(file_name));
}

std::string_view LineList::Get(std::size_t index) const {
  if (index >= Count()) throw ListIndexError(static_cast<std::int64_t>(index));
  std::size_t begin = 0;
  std::size_t stop = 0;
  if (!starts_.empty()) {
    begin = starts_[index];
    stop = starts_[index + 1];
  } else {
    begin = static_cast<std::size_t>(wide_starts_[index]);
    stop = static_cast<std::size_t>(wide_starts_[index + 1]);
  }
  // No line holds a CR or an LF, so what the range ends with is its line end: LF, CR or CR LF.
  const char* const data = bytes_->data();
  if (stop > begin && data[stop - 1] == '\n') --stop;
  if (stop > begin && data[stop - 1] == '\r') --stop;
  return {data + begin, stop - begin};
}

std::string_view LineList::LineEnd(std::size_t index) const {
  if (index >= Count()) throw ListIndexError(static_cast<std::int64_t>(index));
  const std::size_t stop = !starts_.empty() ? std::size_t{starts_[index + 1]}
                                            : static_cast<std::size_t>(wide_starts_[index + 1]);
  const std::string_view line = Get(index);
  const char* const data = bytes_->data();
  const std::size_t end = static_cast<std::size_t>(line.data() + line.size() - data);
  return {data + end, stop - end};
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
