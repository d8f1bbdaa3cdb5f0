#pragma once
// What the angle-tag dialect's reader keeps of a file: the file's bytes, and for each <MODEL> the
// parts that docking changes (control points, splines, patches, normals, the id lists of groups
// and bones), each with the place of its lines in the bytes. Everything else is never parsed
// and is written back as it was read.

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/util/FileIo.h"
#include "core/util/LargeMemory.h"

namespace mk::tagged {

inline constexpr std::uint32_t kNoPoint = std::numeric_limits<std::uint32_t>::max();
inline constexpr std::uint64_t kNoOffset = std::numeric_limits<std::uint64_t>::max();

/// Flag bits the program interprets; every other bit is carried unchanged.
inline constexpr std::uint32_t kClosedBit = 0x4;       // on the last point: the spline is a loop
inline constexpr std::uint32_t kHookBit = 0x10;        // the line has the hook form
inline constexpr std::uint32_t kHookTargetBit = 0x8000;

/// The three forms of a control point line.
enum class PointForm : std::uint8_t {
  Positioned,  ///< "flags 0 id x y z bias bias"
  Attached,    ///< "flags 1 id target bias bias": sits on the target (a stack)
  Hook,        ///< "flags 1 id ratio target": sits at ratio from the target to the point after it
};

/// How a written line gives its x.
enum class XText : std::uint8_t { AsRead, Zero, Negated };

struct TaggedPoint {
  /// The line the point was read from (for a mirrored copy: its source's line), as an offset
  /// into the file's bytes and a length; unchanged fields are written from it as read.
  std::uint64_t line = 0;
  std::uint32_t length = 0;
  std::uint32_t flags = 0;
  std::int32_t id = 0;
  /// The target's id (attached points and hooks).
  std::int32_t target = 0;
  /// The target's index in the model's points; kNoPoint when no point bears the id.
  std::uint32_t target_index = kNoPoint;
  /// The point after this one on its spline; for the last point of a loop, the first.
  std::uint32_t next = kNoPoint;
  double ratio = 0;
  double x = 0, y = 0, z = 0;
  PointForm form = PointForm::Positioned;
  /// The form of the line the fields come from.
  PointForm line_form = PointForm::Positioned;
  XText x_text = XText::AsRead;
  /// The line must be composed from the fields (else it is written as read).
  bool composed = false;
  bool ratio_changed = false;
};

/// A spline: a run of the model's chain of point indices.
struct TaggedSpline {
  std::uint32_t begin = 0;
  std::uint32_t count = 0;
  /// The bytes of its point lines, line ends included; empty for a spline without points.
  std::uint64_t lines_begin = kNoOffset;
  std::uint64_t lines_end = kNoOffset;
};

struct TaggedPatch {
  std::uint64_t line = 0;
  std::uint64_t line_number = 0;  // for messages
  std::uint32_t length = 0;
  std::uint32_t corners = 0;  // 3, 4 or 5
  std::int32_t id[5] = {};
  std::uint32_t normal[5] = {};
};

/// The lines between an opening and a closing tag, and where the closing line starts.
struct LineRun {
  std::vector<std::uint64_t> lines;
  std::vector<std::uint32_t> lengths;
  std::uint64_t closer = kNoOffset;
};

/// A list of ids in a group or a bone: one id per line, or "id weight".
struct IdList {
  enum class Kind : std::uint8_t { Group, Bone, WeightedBone };
  Kind kind = Kind::Group;
  LineRun run;
  std::vector<std::int32_t> ids;
  /// Docking's additions: the line whose id was mirrored, and the mirror's id.
  std::vector<std::pair<std::uint32_t, std::int32_t>> added;
};

/// A patch docking adds: the mirror of a patch, its corners already in their new order.
struct MirroredPatch {
  std::uint32_t source = 0;
  std::int32_t id[5] = {};
  std::uint32_t normal[5] = {};
};

/// A section that names control points but has no mirror we know of.
struct KeptSection {
  std::string tag;
  std::int64_t first_line = 0;
  std::int32_t count = 0;
};

struct TaggedModel {
  std::int64_t line = 0;  // of the <MODEL> tag, for messages
  LargeVector<TaggedPoint> points;
  /// The points of every spline, spline after spline, each in spline order.
  LargeVector<std::uint32_t> chain;
  std::vector<TaggedSpline> splines;
  /// Where new splines go: after the last spline's closing line.
  std::uint64_t splines_end = kNoOffset;
  std::vector<TaggedPatch> patches;
  std::uint64_t patches_closer = kNoOffset;
  LineRun normals;
  std::vector<IdList> id_lists;
  std::vector<KeptSection> kept;

  /// Set once docked: the writer then writes the splines from the points and adds what follows.
  bool docked = false;
  std::vector<MirroredPatch> new_patches;
  /// The normals docking appends, as indexes of the normals they mirror.
  std::vector<std::uint32_t> new_normals;
};

struct TaggedFile {
  FileText text;
  /// The line end of the first line: lines docking adds use it.
  std::string eol = "\r\n";
  std::vector<TaggedModel> models;
  /// The "FileInfoPos=" line, and the offset of the <FileInfo> line its number named when read;
  /// kNoOffset when there is none or the number named no such line (a stale value is kept).
  std::uint64_t file_info_pos_line = kNoOffset;
  std::uint32_t file_info_pos_length = 0;
  std::uint64_t file_info_line = kNoOffset;

  std::string_view Line(std::uint64_t offset, std::uint32_t length) const {
    return std::string_view(text.data() + offset, length);
  }
};

}  // namespace mk::tagged
