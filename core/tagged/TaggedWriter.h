#pragma once
// The writer of the angle-tag dialect. A file that was not docked is written byte for byte as it
// was read. A docked one is the same bytes with the splines written from their points (points
// docking left alone keep their line as read), the new splines, patches, normals and list
// entries added before the closing tags, and "FileInfoPos=" following its <FileInfo> line.

#include "core/tagged/TaggedModel.h"
#include "core/util/LineList.h"

namespace mk::tagged {

void WriteTaggedFile(const TaggedFile& file, LineWriter& lines);

}  // namespace mk::tagged
