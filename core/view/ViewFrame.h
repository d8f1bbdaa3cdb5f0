#pragma once
// The arithmetic between a projection plane and the pixels of an image: which model area a view
// fits, the scale and origin that fit it, and which plane point a pixel shows.

namespace mk {

/// The edges of a plane area in model units: left < right, bottom < top.
struct ViewEdges {
  long double left = -100.0L;
  long double top = 100.0L;
  long double right = 100.0L;
  long double bottom = -100.0L;
};

/// Scale and origin of a projection: column = origin_x + h * scale, row = origin_y - v * scale.
struct ViewFrame {
  long double scale = 0.0L;
  int origin_x = 0;
  int origin_y = 0;
  friend bool operator==(const ViewFrame&, const ViewFrame&) = default;
};

/// A point of the projection plane in model units (h to the right, v upwards).
struct PlanePoint {
  long double h = 0.0L;
  long double v = 0.0L;
};

/// Where a model point falls on the plane of a view direction: 0 front (x, y), 1 left (z, y),
/// any other top (x, z). Inline: every point of a redraw comes through here.
inline PlanePoint PlanePointOf(int direction, long double x, long double y, long double z) {
  if (direction == 0) return {x, y};
  if (direction == 1) return {z, y};
  return {x, z};
}

/// The area a view fits for a model's extents: widened by 10 %, a side that does not reach past 0
/// gets 0.1.
ViewEdges WidenedEdges(long double h_min, long double v_max, long double h_max, long double v_min);

/// The frame that shows the edges whole in an image of width x height; scale 0 for an image
/// without pixels.
ViewFrame FitFrame(const ViewEdges& edges, int width, int height);

/// The plane point at a pixel position (whole numbers are pixel centres); the frame's origin
/// for a frame of scale 0, which shows nothing.
PlanePoint PlanePointAt(const ViewFrame& frame, long double column, long double row);

/// The plane area an image of width x height shows through the frame.
ViewEdges VisibleEdges(const ViewFrame& frame, int width, int height);

}  // namespace mk
