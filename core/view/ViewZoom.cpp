#include "core/view/ViewZoom.h"

#include <algorithm>
#include <cmath>

#include "core/view/ProjectionView.h"

namespace mk {
namespace {

bool Shows(const ViewFrame& fit) { return fit.scale > 0 && std::isfinite(fit.scale); }

}  // namespace

void ViewZoom::Fit() {
  fit_ = true;
  factor_ = 1.0L;
  centre_ = {};
}

bool ViewZoom::LeaveFit(const ViewFrame& fit, int width, int height) {
  if (!Shows(fit)) return false;
  if (fit_) {
    centre_ = PlanePointAt(fit, width / 2.0L, height / 2.0L);
    factor_ = 1.0L;
    fit_ = false;
  }
  return true;
}

ViewFrame ViewZoom::FrameFor(const ViewFrame& fit, int width, int height) const {
  if (fit_ || !Shows(fit)) return fit;
  ViewFrame frame;
  frame.scale = fit.scale * factor_;
  const long double ox = RoundHalfEven(width / 2.0L - centre_.h * frame.scale);
  const long double oy = RoundHalfEven(height / 2.0L + centre_.v * frame.scale);
  frame.origin_x = std::isfinite(ox) ? ToPixelInt(ox) : fit.origin_x;
  frame.origin_y = std::isfinite(oy) ? ToPixelInt(oy) : fit.origin_y;
  return frame;
}

void ViewZoom::ZoomAt(const ViewFrame& fit, int width, int height, long double column,
                      long double row, long double factor) {
  if (!LeaveFit(fit, width, height) || !(factor > 0) || !std::isfinite(factor)) return;
  // The point under the cursor is taken from the unrounded state, so that the half pixel the
  // rounded origin may be off never adds up over many steps.
  const long double old_scale = fit.scale * factor_;
  const PlanePoint held{centre_.h + (column - width / 2.0L) / old_scale,
                        centre_.v + (height / 2.0L - row) / old_scale};
  factor_ = std::clamp(factor_ * factor, kMinFactor, kMaxFactor);
  const long double scale = fit.scale * factor_;
  centre_.h = held.h + (width / 2.0L - column) / scale;
  centre_.v = held.v + (row - height / 2.0L) / scale;
}

void ViewZoom::PanBy(const ViewFrame& fit, int width, int height, long double dx, long double dy) {
  if (!LeaveFit(fit, width, height) || !std::isfinite(dx) || !std::isfinite(dy)) return;
  const long double scale = fit.scale * factor_;
  centre_.h -= dx / scale;
  centre_.v += dy / scale;
}

void ViewZoom::CentreOn(const ViewFrame& fit, int width, int height, PlanePoint point) {
  if (!LeaveFit(fit, width, height) || !std::isfinite(point.h) || !std::isfinite(point.v)) return;
  centre_ = point;
}

}  // namespace mk
