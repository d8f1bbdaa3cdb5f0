#include "core/view/ProjectionView.h"

#include <cmath>
#include <limits>


namespace mk {
namespace {

/// Pixel coordinates stay well inside 32 bits, also after the origin is added.
constexpr long double kPixelLimit = 1.0e9L;

long double ClampPixel(long double value) {
  if (value > kPixelLimit) return kPixelLimit;
  if (value < -kPixelLimit) return -kPixelLimit;
  return value;
}

}  // namespace

int ToPixelInt(long double value) { return static_cast<int>(ClampPixel(value)); }

namespace {

/// ToPixelInt of a whole number, once per point drawn. Truncating a long double switches the x87
/// rounding mode twice, and a long double passed through a double stalls on the store between
/// the two units; a whole number within the clamp rounds to itself, and lrint stores it as an
/// integer in one instruction (inline where math errors need not set errno, see CMakeLists.txt).
int WholeToPixelInt(long double whole) {
  return static_cast<int>(std::lrint(ClampPixel(whole)));
}

}  // namespace

long double RoundHalfEven(long double value) {
  // Nothing here changes the rounding mode, so the current one rounds halves to even; rint is
  // one instruction, where floor and fmod were library calls for every point drawn.
  return std::rint(value);
}

void ProjectionView::SetCanvas(Canvas* canvas, int width, int height) {
  canvas_ = canvas;
  width_ = width;
  height_ = height;
  Rescale();
}

void ProjectionView::SetRange(long double h_min, long double v_max, long double h_max,
                       long double v_min) {
  const ViewEdges edges = WidenedEdges(h_min, v_max, h_max, v_min);
  left_ = edges.left;
  top_ = edges.top;
  right_ = edges.right;
  bottom_ = edges.bottom;
  Rescale();
}

void ProjectionView::SetFrame(const std::optional<ViewFrame>& frame) {
  frame_ = frame;
  Rescale();
}

void ProjectionView::Rescale() {
  const ViewFrame frame = frame_ && width_ > 0 && height_ > 0
                              ? *frame_
                              : FitFrame({left_, top_, right_, bottom_}, width_, height_);
  scale_ = frame.scale;
  origin_x_ = frame.origin_x;
  origin_y_ = frame.origin_y;
}

void ProjectionView::Project(long double x, long double y, long double z) {
  const PlanePoint p = PlanePointOf(direction_, x, y, z);
  projected_h_ = static_cast<double>(p.h);
  projected_v_ = static_cast<double>(p.v);
}

void ProjectionView::MoveTo3D(long double x, long double y, long double z) {
  if (labels_only_) return;
  Project(x, y, z);
  MoveTo2D(projected_h_, projected_v_);
}

void ProjectionView::LineTo3D(long double x, long double y, long double z) {
  if (labels_only_) return;
  Project(x, y, z);
  LineTo2D(projected_h_, projected_v_);
}

void ProjectionView::TextOut3D(std::string_view text, long double x, long double y, long double z) {
  Project(x, y, z);
  TextOut2D(text, projected_h_, projected_v_);
}

bool ProjectionView::PixelOf(long double h, long double v, PixelPoint& pixel) const {
  const long double column = RoundHalfEven(h * scale_);
  const long double row = RoundHalfEven(-v * scale_);
  if (std::isnan(column) || std::isnan(row)) return false;
  pixel.x = WholeToPixelInt(ClampPixel(column) + origin_x_);
  pixel.y = WholeToPixelInt(ClampPixel(row) + origin_y_);
  return true;
}

bool ProjectionView::MeasuresLabels() const {
  return CanDraw() && canvas_->MeasureLabel("0", kLabelFontPoints).has_value();
}

Canvas* ProjectionView::UseCanvas(Canvas* canvas) {
  Canvas* before = canvas_;
  canvas_ = canvas;
  return before;
}

void ProjectionView::MoveTo2D(long double h, long double v) {
  if (!CanDraw() || labels_only_) return;
  PixelPoint p;
  pen_placed_ = PixelOf(h, v, p);
  if (pen_placed_) canvas_->MoveTo(p.x, p.y);
}

void ProjectionView::LineTo2D(long double h, long double v) {
  if (!CanDraw() || labels_only_) return;
  PixelPoint p;
  if (!PixelOf(h, v, p)) {
    pen_placed_ = false;
    return;
  }
  if (pen_placed_) {
    canvas_->LineTo(p.x, p.y);
  } else {
    canvas_->MoveTo(p.x, p.y);
    pen_placed_ = true;
  }
}

void ProjectionView::TextOut2D(std::string_view text, long double h, long double v) {
  if (!CanDraw()) return;
  PixelPoint p;
  if (!PixelOf(h, v, p)) return;
  if (labels_only_) {
    canvas_->TextOut(p.x, p.y, text, kLabelColour, kLabelFontPoints);
    return;
  }
  const PixelPoint pen = canvas_->PenPos();
  canvas_->TextOut(p.x, p.y, text, kLabelColour, kLabelFontPoints);
  canvas_->MoveTo(pen.x, pen.y);
}

void ProjectionView::SetPenColor(Rgb colour) {
  if (canvas_) canvas_->SetPenColor(colour);
}

void ProjectionView::Clear(Rgb colour) {
  if (!CanDraw()) return;
  canvas_->FillRect(0, 0, width_, height_, colour);
}

void ProjectionView::DrawGrid(long double step) {
  if (!CanDraw()) return;
  SetPenColor(kGridColour);
  // The spacing test also bounds the loops: the range spans at most the image in pixels, so
  // there are at most a few hundred lines, and the running value always moves on.
  const long double spacing = step * scale_;
  const bool grid = std::isfinite(spacing) && spacing >= kMinGridSpacingPixels &&
                    std::isfinite(left_) && std::isfinite(right_) && std::isfinite(top_) &&
                    std::isfinite(bottom_);
  if (grid) {
    auto vertical = [this](long double h) {
      MoveTo2D(h, top_);
      LineTo2D(h, bottom_);
    };
    auto horizontal = [this](long double v) {
      MoveTo2D(left_, v);
      LineTo2D(right_, v);
    };
    long double h = 0;
    do {
      vertical(h);
      h += step;
    } while (h <= right_);
    h = 0;
    do {
      vertical(h);
      h -= step;
    } while (h >= left_);
    long double v = 0;
    do {
      horizontal(v);
      v -= step;
    } while (v >= bottom_);
    v = 0;
    do {
      horizontal(v);
      v += step;
    } while (v <= top_);
  }
  SetPenColor(kVerticalAxisColour);
  MoveTo2D(0, top_);
  LineTo2D(0, bottom_);
  SetPenColor(kHorizontalAxisColour);
  MoveTo2D(left_, 0);
  LineTo2D(right_, 0);
}

}  // namespace mk
