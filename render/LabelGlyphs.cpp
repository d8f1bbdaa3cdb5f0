#include "render/LabelGlyphs.h"

#include <QFontMetricsF>
#include <QRectF>
#include <QString>
#include <QTextLayout>
#include <string>

namespace mk {
namespace {

/// The glyph runs of the text laid out as drawText lays out a line.
QList<QGlyphRun> LaidOut(const QString& text, const QFont& font, QPaintDevice* device) {
  QTextLayout layout(text, font, device);
  layout.beginLayout();
  layout.createLine();
  layout.endLayout();
  return layout.glyphRuns();
}

}  // namespace

LabelGlyphs::LabelGlyphs(const QFont& font, QPaintDevice* device) {
  const QList<QGlyphRun> runs =
      LaidOut(QString::fromLatin1(kCharacters.data(), kCharacters.size()), font, device);
  if (runs.size() != 1 ||
      runs[0].glyphIndexes().size() != static_cast<qsizetype>(kCharacters.size()))
    return;
  raw_font_ = runs[0].rawFont();
  const QFontMetricsF metrics(font, device);
  ascent_ = metrics.ascent();
  descent_ = metrics.descent();
  for (std::size_t k = 0; k < kCharacters.size(); ++k) {
    const auto code = static_cast<unsigned char>(kCharacters[k]);
    known_[code] = true;
    glyph_[code] = runs[0].glyphIndexes()[static_cast<qsizetype>(k)];
    advance_[code] = metrics.horizontalAdvance(QChar(static_cast<char16_t>(code)));
  }
  usable_ = LaysOutByAdvances(font, device);
}

bool LabelGlyphs::LaysOutByAdvances(const QFont& font, QPaintDevice* device) const {
  // Every ordered pair of the characters, each pair once: a font with kerning or ligatures
  // among them moves or merges some glyph of this line.
  std::string line;
  for (const char a : kCharacters)
    for (const char b : kCharacters) {
      line += a;
      line += b;
    }
  const QList<QGlyphRun> runs =
      LaidOut(QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size())), font, device);
  if (runs.size() != 1) return false;
  const QList<quint32> indexes = runs[0].glyphIndexes();
  const QList<QPointF> positions = runs[0].positions();
  if (indexes.size() != static_cast<qsizetype>(line.size()) || positions.size() != indexes.size())
    return false;
  double x = positions[0].x();
  const double y = positions[0].y();
  for (std::size_t k = 0; k < line.size(); ++k) {
    const auto code = static_cast<unsigned char>(line[k]);
    const auto at = static_cast<qsizetype>(k);
    if (indexes[at] != glyph_[code] || positions[at].x() != x || positions[at].y() != y)
      return false;
    x += advance_[code];
  }
  return true;
}

bool LabelGlyphs::Covers(std::string_view text) const {
  if (!usable_ || text.empty()) return false;
  for (const char c : text) {
    const auto code = static_cast<unsigned char>(c);
    if (code >= known_.size() || !known_[code]) return false;
  }
  return true;
}

void LabelGlyphs::Draw(QPainter& painter, QPointF baseline, std::string_view text,
                       const QColor& background) {
  indexes_.clear();
  positions_.clear();
  double width = 0;
  for (const char c : text) {
    const auto code = static_cast<unsigned char>(c);
    indexes_.push_back(glyph_[code]);
    positions_.push_back(QPointF(width, 0));
    width += advance_[code];
  }
  // The box drawText fills behind a line in opaque mode: from the ascent above the baseline to
  // the descent below it, as wide as the advances.
  painter.fillRect(QRectF(baseline.x(), baseline.y() - ascent_, width, ascent_ + descent_),
                   background);
  QGlyphRun run;
  run.setRawFont(raw_font_);
  run.setGlyphIndexes(indexes_);
  run.setPositions(positions_);
  painter.drawGlyphRun(baseline, run);
}

}  // namespace mk
