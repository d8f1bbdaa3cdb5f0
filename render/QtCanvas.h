#pragma once
// The view canvas of the program: a QPainter on an image's bitmap.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <array>
#include <memory>
#include <optional>

#include "core/view/PenTrackingCanvas.h"
#include "core/view/PixelLines.h"
#include "render/LabelGlyphs.h"

namespace mk {

QColor ToQColor(Rgb colour);

/// Draws on a QImage that it does not own. Lines go straight into the bitmap of a 32-bit image
/// (a model redraw is hundreds of thousands of lines, and QPainter's general rasteriser would
/// dominate it); on other images consecutive LineTo calls are gathered into one polyline and
/// painted together on a move, a colour change, a text, a fill and at End().
class QtCanvas : public PenTrackingCanvas {
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
  void BreakLine() override { FlushPolyline(); }
  /// Known for labels of ASCII characters.
  std::optional<LabelExtent> MeasureLabel(std::string_view text, int font_points) override;

 private:
  QPainter* Painter();
  void FlushPolyline();
  /// Draws a line with an end far outside the image: clipped first, since the rasteriser's fixed
  /// point coordinates cannot take such values.
  void DrawFarLine(QPoint from, QPoint to);

  /// Binds the rows of a 32-bit image for direct drawing; other images leave them empty.
  void BindRows();
  /// Gives the painter the label font of that size; false without a painter.
  bool UseLabelFont(int font_points);
  /// Adds one ASCII character of the label font to the measures; needs the painter.
  void MeasureCharacter(unsigned char code);

  QImage* image_ = nullptr;
  PixelRows rows_;
  std::unique_ptr<QPainter> painter_;
  QPolygon polyline_;
  Rgb pen_colour_ = 0;
  Rgb brush_colour_ = 0xFFFFFFu;
  std::unique_ptr<LabelGlyphs> glyphs_;  // of the label font, set with it
  int font_points_ = -1;  // the size the painter's font has, -1 before the first label
  int font_ascent_ = 0;
  // When lines go straight into the bitmap the painter writes only labels and fills, so the
  // label pen and background can stay set from one label to the next; true while they are.
  bool label_state_kept_ = false;
  Rgb label_colour_ = 0;
  Rgb label_background_ = 0;
  // The label font's measures, for MeasureLabel: the background box that drawText fills runs
  // from the baseline up by the ascent and down by the descent, as wide as the advances.
  double font_ascent_exact_ = 0;
  double font_descent_exact_ = 0;
  std::array<double, 128> advances_{};  // of ASCII characters, where measured_
  std::array<bool, 128> measured_{};
  // How far the ink of any glyph measured so far reaches from its pen position and baseline.
  double ink_left_ = 0;
  double ink_overhang_ = 0;  // beyond the advance
  double ink_top_ = 0;
  double ink_bottom_ = 0;

};

}  // namespace mk
