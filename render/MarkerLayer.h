#pragma once
// The marker layer of the docked view: what the dock report says about the seam, drawn over the
// model after it, each kind in its own colour and shape (the shape tells the kinds apart for
// readers who cannot tell the colours). With no markers nothing is drawn, so the model's own
// picture stays exactly as it was.

#include <vector>

#include "core/document/DockReport.h"
#include "core/view/Canvas.h"
#include "core/view/ProjectionView.h"

namespace mk {

enum class MarkerKind {
  /// A point docking moved onto the plane: a square.
  Snapped,
  /// A point or spline end left just off the plane: a cross.
  NearMiss,
  /// An attachment docking could not resolve (missing target or cycle): a diamond.
  UnresolvedAttachment,
};

inline constexpr MarkerKind kMarkerKinds[] = {MarkerKind::Snapped, MarkerKind::NearMiss,
                                              MarkerKind::UnresolvedAttachment};

struct Marker {
  MarkerKind kind = MarkerKind::Snapped;
  long double x = 0, y = 0, z = 0;
};

Rgb MarkerColour(MarkerKind kind);
/// Half the width of a marker in pixels.
inline constexpr int kMarkerRadius = 4;

/// The markers of a report, in the order the kinds are listed above.
std::vector<Marker> MarkersOf(const DockReport& report);

/// Draws the markers at the view's projection of their places on the canvas the view draws on.
void DrawMarkers(const ProjectionView& view, Canvas& canvas, const std::vector<Marker>& markers);

}  // namespace mk
