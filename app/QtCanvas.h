#pragma once
// The view canvas of the program: a QPainter on an image's bitmap.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <memory>

#include "view/Canvas.h"

namespace mk {

QColor ToQColor(Rgb colour);

/// Draws on a QImage that it does not own. Consecutive LineTo calls are gathered into one
/// polyline and painted together (a model redraw is tens of thousands of short lines, and one
/// QPainter call per line would dominate the redraw); the pending polyline is painted on a move,
/// a colour change, a text, a fill and at End().
class QtCanvas : public Canvas {
 public:
  explicit QtCanvas(QImage* image = nullptr);
  ~QtCanvas() override;
  QtCanvas(const QtCanvas&) = delete;
  QtCanvas& operator=(const QtCanvas&) = delete;

  /// Finishes painting on the current image and binds another one (or none).
  void SetImage(QImage* image);
  /// Paints what is pending and releases the painter, so the image can be shown or saved.
  void End();

  void SetPenColor(Rgb colour) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void TextOut(int x, int y, std::string_view text, Rgb font_colour, int font_points) override;
  void FillRect(int left, int top, int right, int bottom, Rgb colour) override;
  PixelPoint PenPos() const override { return pen_pos_; }

 private:
  QPainter* Painter();
  void FlushPolyline();
  /// Draws a line with an end far outside the image: clipped first, since the rasteriser's fixed
  /// point coordinates cannot take such values.
  void DrawFarLine(QPoint from, QPoint to);

  QImage* image_ = nullptr;
  std::unique_ptr<QPainter> painter_;
  QPolygon polyline_;
  Rgb pen_colour_ = 0;
  Rgb brush_colour_ = 0xFFFFFFu;
  PixelPoint pen_pos_;
};

}  // namespace mk
