#pragma once
// ProjectionView: the projection of model points onto one image from the front, the left or the top,
// scaled to fit the model's range with a margin, with a grid, the two axes and labels.

#include <cstdint>
#include <optional>
#include <string_view>

#include "core/view/Canvas.h"
#include "core/view/View3D.h"
#include "core/view/ViewFrame.h"

namespace mk {

inline constexpr Rgb kBackgroundColour = MakeRgb(0, 0, 0);
inline constexpr Rgb kGridColour = MakeRgb(128, 128, 128);
inline constexpr Rgb kVerticalAxisColour = MakeRgb(0, 255, 0);
inline constexpr Rgb kHorizontalAxisColour = MakeRgb(255, 0, 0);
inline constexpr Rgb kModelColour = MakeRgb(255, 255, 255);
inline constexpr Rgb kLabelColour = MakeRgb(0, 128, 0);
inline constexpr int kLabelFontPoints = 9;
/// Model units between grid lines.
inline constexpr long double kGridStep = 10.0L;
/// Grid lines closer than this many pixels are left out; they would only fill the picture grey
/// and cost a redraw of one line per pixel (or far more) for a huge model.
inline constexpr long double kMinGridSpacingPixels = 2.0L;

/// 0 front, 1 left, 2 top; any other value acts as top.
enum ViewDirection : int { kFrontView = 0, kLeftView = 1, kTopView = 2 };

/// Rounds to the nearest integer, halves to the even neighbour, independent of the FPU mode.
long double RoundHalfEven(long double value);
/// A pixel coordinate clamped to a range the canvas can take, also after an origin is added.
int ToPixelInt(long double value);

class ProjectionView : public View3D {
 public:
  ProjectionView() = default;

  /// Binds the view to a canvas of the given size (not owned), then rescales.
  void SetCanvas(Canvas* canvas, int width, int height);
  void SetDirection(int direction) { direction_ = direction; }
  /// The edges are the arguments widened by 10 %; a side that does not reach past 0 gets 0.1.
  void SetRange(long double h_min, long double v_max, long double h_max, long double v_min);
  void Rescale();
  /// A frame given here replaces the fit of the range (which still bounds the grid), so that
  /// several views can show one zoomed place; none returns to the fit.
  void SetFrame(const std::optional<ViewFrame>& frame);
  /// Stores the 2-D coordinates of (x, y, z) for the direction.
  void Project(long double x, long double y, long double z);

  void MoveTo3D(long double x, long double y, long double z) override;
  void LineTo3D(long double x, long double y, long double z) override;
  void TextOut3D(std::string_view text, long double x, long double y, long double z) override;

  void MoveTo2D(long double h, long double v);
  void LineTo2D(long double h, long double v);
  /// Writes a label whose top-left corner is at (h, v); the pen stays where it was.
  void TextOut2D(std::string_view text, long double h, long double v);
  void SetPenColor(Rgb colour);
  void Clear(Rgb colour);
  /// Grey lines every step units across the range, then the green vertical and red horizontal axis.
  void DrawGrid(long double step);

  /// True when the canvas can tell where labels reach (see LabelPasses).
  bool MeasuresLabels() const;
  Canvas* CurrentCanvas() const { return canvas_; }
  /// Draws on another canvas of the same size from now on, without rescaling; gives the one
  /// before.
  Canvas* UseCanvas(Canvas* canvas);

  /// While on, moves and lines are skipped and only labels reach the canvas: for a pass that
  /// only notes where the labels go. The pen is left where it was.
  void SetLabelsOnly(bool on) { labels_only_ = on; }

  /// The pixel of a 2-D point; false when a coordinate is not a number (nothing is drawn there).
  /// Infinite and huge values are clamped to a range the canvas can take.
  bool PixelOf(long double h, long double v, PixelPoint& pixel) const;

  long double LeftEdge() const { return left_; }
  long double TopEdge() const { return top_; }
  long double RightEdge() const { return right_; }
  long double BottomEdge() const { return bottom_; }
  long double Scale() const { return scale_; }
  int OriginX() const { return origin_x_; }
  int OriginY() const { return origin_y_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  int Direction() const { return direction_; }
  ViewFrame Frame() const { return {scale_, origin_x_, origin_y_}; }
  ViewEdges Edges() const { return {left_, top_, right_, bottom_}; }
  double ProjectedH() const { return projected_h_; }
  double ProjectedV() const { return projected_v_; }

 private:
  /// False without a canvas or for an image with no pixels: then nothing is drawn.
  bool CanDraw() const { return canvas_ != nullptr && width_ > 0 && height_ > 0; }

  Canvas* canvas_ = nullptr;
  long double left_ = -100.0L;
  long double top_ = 100.0L;
  long double right_ = 100.0L;
  long double bottom_ = -100.0L;
  std::int32_t width_ = 100;
  std::int32_t height_ = 100;
  long double scale_ = 0.0L;
  std::int32_t origin_x_ = 0;
  std::int32_t origin_y_ = 0;
  double projected_h_ = 0.0;
  double projected_v_ = 0.0;
  std::optional<ViewFrame> frame_;
  std::int32_t direction_ = kFrontView;
  /// False after a move or line to a point that is not a number: the next line starts afresh there.
  bool pen_placed_ = true;
  bool labels_only_ = false;
};

}  // namespace mk
