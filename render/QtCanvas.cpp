#include "render/QtCanvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QLineF>
#include <QString>
#include <QFontMetricsF>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace mk {
namespace {

/// Coordinates beyond this are clipped before they reach the rasteriser.
constexpr int kSafeCoordinate = 1 << 20;

bool IsFar(QPoint p) {
  return std::abs(p.x()) > kSafeCoordinate || std::abs(p.y()) > kSafeCoordinate;
}

}  // namespace

QColor ToQColor(Rgb colour) {
  return QColor(static_cast<int>((colour >> 16) & 0xFFu), static_cast<int>((colour >> 8) & 0xFFu),
                static_cast<int>(colour & 0xFFu));
}

QtCanvas::QtCanvas(QImage* image) : image_(image) { BindRows(); }

void QtCanvas::BindRows() {
  rows_ = PixelRows();
  if (image_ == nullptr || image_->isNull()) return;
  const QImage::Format format = image_->format();
  if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 &&
      format != QImage::Format_ARGB32_Premultiplied)
    return;
  rows_.first = reinterpret_cast<std::uint32_t*>(image_->bits());
  rows_.stride = image_->bytesPerLine() / 4;
  rows_.width = image_->width();
  rows_.height = image_->height();
}

QtCanvas::~QtCanvas() { End(); }

void QtCanvas::SetImage(QImage* image) {
  End();
  image_ = image;
  BindRows();
}

void QtCanvas::End() {
  FlushPolyline();
  if (painter_) {
    painter_->end();
    painter_.reset();
  }
}

QPainter* QtCanvas::Painter() {
  if (!painter_) {
    if (!image_ || image_->isNull()) return nullptr;
    painter_ = std::make_unique<QPainter>(image_);
    font_points_ = -1;  // a new painter starts with the default font
    label_state_kept_ = false;
    // Zero width is Qt's one-pixel cosmetic pen, the fast path for thin lines.
    painter_->setPen(QPen(ToQColor(pen_colour_), 0));
    painter_->setBrush(Qt::NoBrush);
  }
  return painter_.get();
}

void QtCanvas::FlushPolyline() {
  if (polyline_.size() >= 2) {
    if (QPainter* painter = Painter()) painter->drawPolyline(polyline_);
  }
  polyline_.clear();
}

void QtCanvas::SetPenColor(Rgb colour) {
  if (colour == pen_colour_ && painter_) return;
  FlushPolyline();
  pen_colour_ = colour;
  if (painter_) painter_->setPen(QPen(ToQColor(colour), 0));
  label_state_kept_ = false;
}

void QtCanvas::MoveTo(int x, int y) {
  if (PenPos() == PixelPoint{x, y}) return;  // a label's pen restore keeps the polyline going
  FlushPolyline();
  SetPen(x, y);
}

void QtCanvas::LineTo(int x, int y) {
  const PixelPoint pen = PenPos();
  const QPoint from(pen.x, pen.y);
  const QPoint to(x, y);
  SetPen(x, y);
  if (rows_.first != nullptr) {
    // Opaque, so the pixel of a 32-bit image with alpha is the colour at full alpha.
    DrawPixelLine(rows_, {from.x(), from.y()}, {x, y}, 0xFF000000u | (pen_colour_ & 0xFFFFFFu));
    return;
  }
  if (IsFar(from) || IsFar(to)) {
    FlushPolyline();
    DrawFarLine(from, to);
    return;
  }
  if (polyline_.isEmpty()) polyline_.append(from);
  polyline_.append(to);
}

void QtCanvas::DrawFarLine(QPoint from, QPoint to) {
  QPainter* painter = Painter();
  if (!painter) return;
  double ax = from.x(), ay = from.y(), bx = to.x(), by = to.y();
  const QRectF area = QRectF(image_->rect()).adjusted(-2, -2, 2, 2);
  if (ClipSegment(ax, ay, bx, by, area.left(), area.top(), area.right(), area.bottom()))
    painter->drawLine(QLineF(ax, ay, bx, by));
}

void QtCanvas::TextOut(int x, int y, std::string_view text, Rgb font_colour, int font_points) {
  FlushPolyline();
  QPainter* painter = Painter();
  if (!painter || IsFar(QPoint(x, y)) || !UseLabelFont(font_points)) return;
  const bool keep_state = rows_.first != nullptr;
  const QPen line_pen = keep_state ? QPen() : painter->pen();
  if (!label_state_kept_ || font_colour != label_colour_ || brush_colour_ != label_background_) {
    painter->setPen(ToQColor(font_colour));
    painter->setBackgroundMode(Qt::OpaqueMode);
    painter->setBackground(ToQColor(brush_colour_));
    label_state_kept_ = keep_state;
    label_colour_ = font_colour;
    label_background_ = brush_colour_;
  }
  const QPoint baseline(x, y + font_ascent_);
  if (glyphs_ && glyphs_->Covers(text)) {
    glyphs_->Draw(*painter, baseline, text, ToQColor(brush_colour_));
  } else {
    painter->drawText(baseline,
                      QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  }
  if (!keep_state) {
    painter->setBackgroundMode(Qt::TransparentMode);
    painter->setPen(line_pen);
  }
}

bool QtCanvas::UseLabelFont(int font_points) {
  QPainter* painter = Painter();
  if (!painter) return false;
  if (font_points == font_points_) return true;
  // Labels come by the hundred thousand in one size: the font is set up once per size.
  QFont font = painter->font();
  font.setPointSize(font_points);
  painter->setFont(font);
  glyphs_ = std::make_unique<LabelGlyphs>(painter->font(), image_);
  font_ascent_ = QFontMetrics(font, image_).ascent();
  const QFontMetricsF exact(font, image_);
  font_ascent_exact_ = exact.ascent();
  font_descent_exact_ = exact.descent();
  ink_left_ = ink_overhang_ = ink_top_ = ink_bottom_ = 0;
  measured_.fill(false);
  font_points_ = font_points;
  return true;
}

void QtCanvas::MeasureCharacter(unsigned char code) {
  // Measured on first use: a view's labels use a dozen characters, and measuring all of ASCII
  // for every redraw cost more than a few milliseconds. The ink bounds then take in the
  // characters met so far, which include every character of the label being measured.
  const QFontMetricsF exact(painter_->font(), image_);
  const QChar c(static_cast<char16_t>(code));
  advances_[code] = exact.horizontalAdvance(c);
  const QRectF ink = exact.boundingRect(c);
  ink_left_ = std::min(ink_left_, ink.left());
  ink_overhang_ = std::max(ink_overhang_, ink.right() - advances_[code]);
  ink_top_ = std::min(ink_top_, ink.top());
  ink_bottom_ = std::max(ink_bottom_, ink.bottom());
  measured_[code] = true;
}

std::optional<LabelExtent> QtCanvas::MeasureLabel(std::string_view text, int font_points) {
  if (!UseLabelFont(font_points)) return std::nullopt;
  double width = 0;
  for (const char c : text) {
    const auto code = static_cast<unsigned char>(c);
    if (code >= advances_.size()) return std::nullopt;
    if (!measured_[code]) MeasureCharacter(code);
    width += advances_[code];
  }
  // The background box relative to the corner: from the baseline up by the ascent and down by
  // the descent. Its edges may fall between pixels, so what it surely paints is taken a pixel
  // inside them; the ink may overhang it, and smoothing reaches a pixel further.
  const double top = font_ascent_ - font_ascent_exact_;
  const double bottom = font_ascent_ + font_descent_exact_;
  constexpr double kEdge = 1.0;
  LabelExtent extent;
  extent.covered = {static_cast<int>(std::ceil(kEdge)), static_cast<int>(std::ceil(top + kEdge)),
                    static_cast<int>(std::floor(width - kEdge)),
                    static_cast<int>(std::floor(bottom - kEdge))};
  extent.reached = {static_cast<int>(std::floor(ink_left_ - kEdge)),
                    static_cast<int>(std::floor(std::min(top, font_ascent_ + ink_top_) - kEdge)),
                    static_cast<int>(std::ceil(width + ink_overhang_ + kEdge)),
                    static_cast<int>(std::ceil(std::max(bottom, font_ascent_ + ink_bottom_) + kEdge))};
  return extent;
}

void QtCanvas::FillRect(int left, int top, int right, int bottom, Rgb colour) {
  FlushPolyline();
  brush_colour_ = colour;
  if (QPainter* painter = Painter())
    painter->fillRect(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)), ToQColor(colour));
}

}  // namespace mk
