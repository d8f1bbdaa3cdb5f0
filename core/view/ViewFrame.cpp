#include "core/view/ViewFrame.h"

#include <cmath>

#include "core/view/ProjectionView.h"

namespace mk {

ViewEdges WidenedEdges(long double h_min, long double v_max, long double h_max, long double v_min) {
  ViewEdges edges;
  edges.left = h_min < 0 ? h_min * 1.1L : -0.1L;
  edges.top = v_max > 0 ? v_max * 1.1L : 0.1L;
  edges.right = h_max > 0 ? h_max * 1.1L : 0.1L;
  edges.bottom = v_min < 0 ? v_min * 1.1L : -0.1L;
  return edges;
}

ViewFrame FitFrame(const ViewEdges& edges, int width, int height) {
  // Nothing can be shown on an image without pixels; the view draws nothing until it has some.
  if (width <= 0 || height <= 0) return {};
  const long double h_extent = std::fabs(edges.left) + std::fabs(edges.right);
  const long double v_extent = std::fabs(edges.top) + std::fabs(edges.bottom);
  const long double w = width;
  const long double h = height;
  ViewFrame frame;
  frame.scale = w / h >= h_extent / v_extent ? h / v_extent : w / h_extent;
  if (!std::isfinite(frame.scale)) frame.scale = 0;
  // The origin divides the image as 0 divides the edges, along both sides, whichever side fits.
  const long double ox = RoundHalfEven(std::fabs(edges.left) / h_extent * w);
  const long double oy = RoundHalfEven(std::fabs(edges.top) / v_extent * h);
  frame.origin_x = std::isnan(ox) ? 0 : ToPixelInt(ox);
  frame.origin_y = std::isnan(oy) ? 0 : ToPixelInt(oy);
  return frame;
}

PlanePoint PlanePointAt(const ViewFrame& frame, long double column, long double row) {
  if (frame.scale == 0 || !std::isfinite(frame.scale)) return {};
  return {(column - frame.origin_x) / frame.scale, (frame.origin_y - row) / frame.scale};
}

ViewEdges VisibleEdges(const ViewFrame& frame, int width, int height) {
  const PlanePoint top_left = PlanePointAt(frame, 0, 0);
  const PlanePoint bottom_right = PlanePointAt(frame, width, height);
  return {top_left.h, top_left.v, bottom_right.h, bottom_right.v};
}

}  // namespace mk
