#pragma once
// What a docking did, entry by entry: the points it moved onto the plane, the points it left just
// off it, what became of every spline, the attachments it repaired and those it could not. The
// report file, the check command and the program's markers all read this one record.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/docking/CorrectionRecord.h"
#include "core/document/DockStatistics.h"

namespace mk {

/// Where an entry sits in the docked model, in model units; markers and centring use it: the
/// position the views draw the point at (through its attachment or along its hook).
/// Ids are those of the docked file; mesh is the 0-based mesh of a ".mdl" file (0 for ".seg"),
/// counting the "[MESH]" sections docking keeps, in file order.
struct ReportPlace {
  std::int32_t mesh = 0;
  std::int32_t id = 0;
  long double x = 0, y = 0, z = 0;
};

/// A point nearer the plane than the tolerance, moved onto it.
struct SnappedPoint {
  ReportPlace place;
  double old_x = 0;
  /// How far it moved: |old_x|.
  double moved = 0;
};

enum class NearMissKind {
  /// A control point with tolerance <= |x| < 3 x tolerance.
  Point,
  /// The end of a spline in that band: its mirror image will not meet it, leaving a gap.
  SplineEnd,
};

/// A point that was not snapped but lies so close to the plane that it was probably meant to.
struct NearMiss {
  ReportPlace place;
  NearMissKind kind = NearMissKind::Point;
  /// The distance from the plane, |x|.
  double distance = 0;
};

enum class SplineFate {
  /// The whole spline lies on the plane (or it is empty); both halves share it and it gets no
  /// image.
  OnPlane,
  /// Its first end was on the plane: the image runs into it from the other half.
  ExtendedThroughFirstEnd,
  /// Its last end was on the plane: the image continues it from there.
  ExtendedThroughLastEnd,
  /// Both ends were on the plane: the image continues it and closes it.
  ClosedThroughBothEnds,
  /// Neither end touched the plane: the image is a separate spline.
  Twinned,
  /// It was a closed loop already; its image is a separate closed loop.
  AlreadyClosed,
};

/// One spline of the model as read, in file order.
struct SplineOutcome {
  std::int32_t mesh = 0;
  /// 0-based position of the spline in its mesh or segment.
  std::int32_t index = 0;
  /// Docked ids of its first and last point as read; 0 for an empty spline.
  std::int32_t first_id = 0;
  std::int32_t last_id = 0;
  SplineFate fate = SplineFate::Twinned;
};

/// A hook turned round by the mirror, or a mirrored copy of a plane point hung on its original.
struct CorrectionEntry {
  /// The point whose attachment changed: the hook retargeted, or the plane point's copy.
  ReportPlace place;
  CorrectionKind kind = CorrectionKind::Hook;
  /// Its target before and after; 0 for a copy that had none.
  std::int32_t old_target = 0;
  std::int32_t new_target = 0;
};

enum class AttachmentProblem {
  /// The target id names no point ("attach_err.txt" lists these too).
  MissingTarget,
  /// Following the attachments leads round in a circle.
  Cycle,
};

struct AttachmentIssue {
  ReportPlace place;
  AttachmentProblem problem = AttachmentProblem::MissingTarget;
  /// The target id as the docked file has it (renumbering negates an id that names no point).
  std::int32_t target = 0;
};

/// A section that names control points but has no mirror the program knows (an angle-tag
/// model's decal stamps, hair guides, poses and muscles, spline shortcuts): docking keeps it as
/// it was, so it serves the original half only and the modeller redoes it for the other.
struct KeptSection {
  std::int32_t mesh = 0;
  /// The section's tag, such as "STAMPS".
  std::string section;
  /// 1-based line of its first occurrence in the file as read, and how often it occurs.
  std::int64_t line = 0;
  std::int32_t count = 0;
};

struct DockReport {
  double tolerance = 0;
  DockStatistics counts;
  std::vector<SnappedPoint> snapped;
  std::vector<NearMiss> near_misses;
  std::vector<SplineOutcome> splines;
  std::vector<CorrectionEntry> corrections;
  std::vector<AttachmentIssue> attachments;
  /// Listed "kept for the original half only".
  std::vector<KeptSection> kept_for_original_half;
  /// The smallest tolerance that takes in the spline ends clustered at the seam and no point of
  /// the clear body; none when the ends show no such cluster.
  std::optional<double> suggested_tolerance;

  /// A seam fault: a near miss or an attachment that docking could not resolve.
  bool HasSeamFaults() const { return !near_misses.empty() || !attachments.empty(); }
};

}  // namespace mk
