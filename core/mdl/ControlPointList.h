#pragma once
// The flat view of every control point of one mesh that the whole-mesh docking stages work on:
// plane snap, renumbering, hook correction and attach resolution. The view never owns points.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/mdl/ControlPoint.h"
#include "core/mdl/Spline.h"
#include "core/document/Warnings.h"
#include "core/util/LargeMemory.h"

namespace mk {

/// A correction as the dock report tells it: the point changed and its target before and after
/// (0 for a point that had none).
struct CorrectionNote {
  const ControlPoint* point = nullptr;
  CorrectionKind kind = CorrectionKind::Hook;
  std::int32_t old_target = 0;
  std::int32_t new_target = 0;
};

/// The attached points a resolution could not settle, in view order.
struct AttachFindings {
  std::vector<const ControlPoint*> missing;
  /// Every point of every cycle, each cycle from its first point in view order.
  std::vector<const ControlPoint*> in_cycles;
};

class ControlPointList {
 public:
  /// The points of every spline, splines in list order, each spline's points in chain order.
  explicit ControlPointList(const std::vector<std::unique_ptr<Spline>>& splines,
                   WarningSink* warnings = nullptr);
  ~ControlPointList();
  ControlPointList(const ControlPointList&) = delete;
  ControlPointList& operator=(const ControlPointList&) = delete;

  std::int32_t CpCount() const { return static_cast<std::int32_t>(points_.size()); }
  ControlPoint* At(std::size_t position) const { return points_[position]; }

  void SnapAllToPlane(double tolerance);
  /// Gives every point the id of its 1-based position and remaps at_cpid; returns CpCount.
  std::int32_t Renumber();

  /// Lookups answer the first match in view order. They are served from indexes built at the
  /// first lookup and kept right by the view's own changes; a caller that changes ids or
  /// attachments of the points behind the view's back must call InvalidateLookups.
  ControlPoint* FindById(std::int32_t id);
  ControlPoint* FindAttachedTo(std::int32_t id);
  ControlPoint* FindAttachChainEnd(std::int32_t id);
  ControlPoint* FindRatiolessInAttachChain(std::int32_t id);
  void FlipRatiosInAttachChain(std::int32_t id);
  void InvalidateLookups();

  /// Applies the records; notes, when given, receive every change made.
  void ApplyCorrections(const CorrectionList& records, std::vector<CorrectionNote>* notes = nullptr);
  /// Finds every attached point's target anew, writes "attach_err.txt" for the missing ones and
  /// reports all attachment cycles in one warning; findings, when given, receive both.
  void ResolveAttachments(AttachFindings* findings = nullptr);
  void ReportAttachErrors();

 private:
  class Lookups;
  Lookups& Index();
  std::size_t RatiolessInAttachChain(std::int32_t id);
  /// Writes "attach_err.txt" listing the points at these positions, when there are any.
  void WriteAttachReport(const std::vector<std::size_t>& missing);
  /// The positions of the points in cycles among the points with a target, given in view order;
  /// each must bear its position in view_slot.
  std::vector<std::size_t> FindAttachCycles(const std::vector<std::size_t>& with_target);

  LargeVector<ControlPoint*> points_;
  WarningSink* warnings_ = nullptr;
  std::unique_ptr<Lookups> lookups_;
};

}  // namespace mk
