#pragma once
// Labels of digits written as runs of glyphs looked up once per font. A redraw with ids writes
// thousands of labels, and QPainter::drawText lays out and shapes every one of them anew; for
// numbers that work always gives the same glyphs at the same advances, so it is done once.

#include <QColor>
#include <QFont>
#include <QGlyphRun>
#include <QList>
#include <QPainter>
#include <QPointF>
#include <QRawFont>
#include <array>
#include <string_view>

namespace mk {

class LabelGlyphs {
 public:
  /// Looks up the digits and the minus sign in the font as it is drawn on the device.
  LabelGlyphs(const QFont& font, QPaintDevice* device);

  /// True when Draw writes the text as drawText would: every character is one of those looked
  /// up, and the font lays them out by their advances alone (no kerning, no ligatures).
  bool Covers(std::string_view text) const;

  /// Writes the text with the painter's pen, its baseline starting at baseline, on the box of
  /// background that drawText paints in opaque mode.
  void Draw(QPainter& painter, QPointF baseline, std::string_view text, const QColor& background);

 private:
  /// True when the font's layout of every pair of the characters is their advances end to end.
  bool LaysOutByAdvances(const QFont& font, QPaintDevice* device) const;

  static constexpr std::string_view kCharacters = "0123456789-";

  bool usable_ = false;
  QRawFont raw_font_;
  std::array<bool, 128> known_{};
  std::array<quint32, 128> glyph_{};
  std::array<double, 128> advance_{};
  double ascent_ = 0;
  double descent_ = 0;
  QList<quint32> indexes_;
  QList<QPointF> positions_;
};

}  // namespace mk
