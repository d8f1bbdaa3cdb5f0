#pragma once
// The reader of the angle-tag dialect: one pass over the lines with a stack of open tags. Only
// what docking changes is parsed; a fault in the frame or in those parts stops the reading with
// a FormatError naming the line.

#include <string_view>

#include "core/tagged/TaggedModel.h"

namespace mk::tagged {

/// The first line that marks the dialect.
inline constexpr std::string_view kFirstLine = "<MODELFILE>";

/// Reads the bytes of a whole file (up to a NUL byte, as line lists end the text).
TaggedFile ReadTaggedFile(std::string_view bytes);

/// The 0-based number of the line at the offset, for messages.
std::int64_t LineNumberAt(std::string_view text, std::uint64_t offset);

}  // namespace mk::tagged
