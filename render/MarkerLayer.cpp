#include "render/MarkerLayer.h"

namespace mk {
namespace {

void Outline(Canvas& canvas, PixelPoint c, const PixelPoint (&corners)[4], int r) {
  canvas.MoveTo(c.x + corners[3].x * r, c.y + corners[3].y * r);
  for (const PixelPoint& corner : corners) canvas.LineTo(c.x + corner.x * r, c.y + corner.y * r);
}

void DrawShape(Canvas& canvas, MarkerKind kind, PixelPoint c) {
  constexpr int r = kMarkerRadius;
  static constexpr PixelPoint kSquare[4] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
  static constexpr PixelPoint kDiamond[4] = {{0, -1}, {1, 0}, {0, 1}, {-1, 0}};
  switch (kind) {
    case MarkerKind::Snapped:
      // Two rings: one pixel lines vanish against the white model.
      Outline(canvas, c, kSquare, r);
      Outline(canvas, c, kSquare, r - 1);
      break;
    case MarkerKind::NearMiss:
      for (int shift : {-1, 0, 1}) {
        canvas.MoveTo(c.x - r + shift, c.y - r);
        canvas.LineTo(c.x + r + shift, c.y + r);
        canvas.MoveTo(c.x - r + shift, c.y + r);
        canvas.LineTo(c.x + r + shift, c.y - r);
      }
      break;
    case MarkerKind::UnresolvedAttachment:
      Outline(canvas, c, kDiamond, r + 1);
      Outline(canvas, c, kDiamond, r);
      break;
  }
}

}  // namespace

Rgb MarkerColour(MarkerKind kind) {
  switch (kind) {
    case MarkerKind::Snapped:
      return MakeRgb(0, 200, 255);
    case MarkerKind::NearMiss:
      return MakeRgb(255, 160, 0);
    case MarkerKind::UnresolvedAttachment:
      return MakeRgb(255, 64, 255);
  }
  return kModelColour;
}

std::vector<Marker> MarkersOf(const DockReport& report) {
  std::vector<Marker> markers;
  markers.reserve(report.snapped.size() + report.near_misses.size() + report.attachments.size());
  auto add = [&markers](MarkerKind kind, const ReportPlace& place) {
    markers.push_back({kind, place.x, place.y, place.z});
  };
  for (const SnappedPoint& p : report.snapped) add(MarkerKind::Snapped, p.place);
  for (const NearMiss& p : report.near_misses) add(MarkerKind::NearMiss, p.place);
  for (const AttachmentIssue& p : report.attachments) add(MarkerKind::UnresolvedAttachment, p.place);
  return markers;
}

void DrawMarkers(const ProjectionView& view, Canvas& canvas, const std::vector<Marker>& markers) {
  if (view.Width() <= 0 || view.Height() <= 0 || view.Scale() == 0) return;
  const int margin = 2 * kMarkerRadius;
  for (MarkerKind kind : kMarkerKinds) {
    canvas.SetPenColor(MarkerColour(kind));
    for (const Marker& marker : markers) {
      if (marker.kind != kind) continue;
      const PlanePoint at = PlanePointOf(view.Direction(), marker.x, marker.y, marker.z);
      PixelPoint pixel;
      if (!view.PixelOf(at.h, at.v, pixel)) continue;
      // Markers far off the picture would only cost clipping.
      if (pixel.x < -margin || pixel.y < -margin || pixel.x > view.Width() + margin ||
          pixel.y > view.Height() + margin)
        continue;
      DrawShape(canvas, kind, pixel);
    }
  }
}

}  // namespace mk
