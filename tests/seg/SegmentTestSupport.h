#pragma once
// Helpers of the segment tests: text in and out, a recording view and progress bar, and a plain
// reference docking (quadratic renumbering, linear-scan attachment) to hold the fast one against.

#include <memory>
#include <string>
#include <vector>

#include "core/util/LineList.h"
#include "core/document/Progress.h"
#include "core/seg/SegmentDocument.h"
#include "core/view/View3D.h"

namespace mk::test {

/// Lines joined with CR LF, the last one included.
inline std::string Crlf(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

inline std::unique_ptr<SegmentDocument> LoadSegment(const std::string& text) {
  auto segment = std::make_unique<SegmentDocument>(nullptr);
  segment->LoadFromLines(LineList::FromText(text), 0);
  return segment;
}

inline std::string Saved(const Document& document) {
  LineWriter out;
  document.SaveToLines(out);
  return out.Bytes();
}

/// The six header lines with the given box and spline count line.
inline std::vector<std::string> Header(const std::string& box, const std::string& count) {
  return {"SCUL 1 0 2 0 0 0", "3", box, "0 0 0", "text one", "text two", count};
}

struct RecordingView : View3D {
  struct Call {
    char op;  // 'M', 'L' or 'T'
    long double x, y, z;
    bool operator==(const Call&) const = default;
  };
  std::vector<Call> calls;
  void MoveTo3D(long double x, long double y, long double z) override {
    calls.push_back({'M', x, y, z});
  }
  void LineTo3D(long double x, long double y, long double z) override {
    calls.push_back({'L', x, y, z});
  }
  void TextOut3D(std::string_view, long double x, long double y, long double z) override {
    calls.push_back({'T', x, y, z});
  }
};

struct RecordingBar : ProgressBar {
  std::vector<int> positions;
  void SetPosition(int position) override { positions.push_back(position); }
};

/// Every point resolved by scanning the collection, anchors left to the point's own walk.
inline void ReferenceResolve(SegmentDocument& segment) {
  std::vector<SegmentControlPoint*> points;
  segment.CollectCps(points);
  for (std::size_t s = 0; s < segment.SplineCount(); ++s)
    segment.SplineAt(s).ResolveAttachments(points);
}

/// Renumbering exactly as stated: every id in turn replaced by -(i+1) in every point.
inline std::int32_t ReferenceRenumber(SegmentDocument& segment) {
  if (segment.SplineCount() == 0) return 0;
  std::vector<SegmentControlPoint*> points;
  segment.CollectCps(points);
  for (std::size_t i = 0; i < points.size(); ++i) {
    const std::int32_t a = points[i]->cpid;
    for (SegmentControlPoint* p : points) p->ReplaceId(a, -static_cast<std::int32_t>(i + 1));
  }
  for (SegmentControlPoint* p : points) p->NegateIds();
  return static_cast<std::int32_t>(points.size());
}

/// The docking sequence on the reference parts; the segment must have been resolved with
/// ReferenceResolve after loading.
inline void ReferenceDock(SegmentDocument& segment, double tolerance) {
  if (segment.SplineCount() == 0) return;
  segment.SnapAllToPlane(tolerance);
  const std::int32_t n = ReferenceRenumber(segment);
  segment.MirrorSplines(n);
  ReferenceResolve(segment);
  segment.ExtendBounds(segment.BoundMin, segment.BoundMax);
}

}  // namespace mk::test
