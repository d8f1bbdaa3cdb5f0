#include "app/MarkerLegend.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include "render/QtCanvas.h"

namespace mk {
namespace {

constexpr int kPadding = 4;
constexpr int kSwatch = 2 * kMarkerRadius + 3;

std::size_t IndexOf(MarkerKind kind) { return static_cast<std::size_t>(kind); }

}  // namespace

MarkerLegend::MarkerLegend(const ReportTexts& texts, QWidget* parent)
    : QWidget(parent), texts_(texts) {
  setObjectName(QStringLiteral("MarkerLegend"));
  setAttribute(Qt::WA_TransparentForMouseEvents);
  hide();
}

QString MarkerLegend::Name(MarkerKind kind) const {
  switch (kind) {
    case MarkerKind::Snapped:
      return texts_.SnappedLegend();
    case MarkerKind::NearMiss:
      return texts_.NearMissLegend();
    case MarkerKind::UnresolvedAttachment:
      return texts_.AttachmentLegend();
  }
  return {};
}

QStringList MarkerLegend::Lines() const {
  QStringList lines;
  for (MarkerKind kind : kMarkerKinds)
    if (const int count = counts_[IndexOf(kind)]; count > 0)
      lines << QStringLiteral("%1 (%2)").arg(Name(kind)).arg(count);
  return lines;
}

void MarkerLegend::SetMarkers(const std::vector<Marker>& markers) {
  counts_.fill(0);
  for (const Marker& marker : markers) ++counts_[IndexOf(marker.kind)];
  const QStringList lines = Lines();
  if (lines.isEmpty()) {
    hide();
    return;
  }
  const QFontMetrics metrics(font());
  int text_width = 0;
  for (const QString& line : lines) text_width = std::max(text_width, metrics.horizontalAdvance(line));
  const int row = std::max(kSwatch, metrics.height());
  resize(3 * kPadding + kSwatch + text_width, 2 * kPadding + row * static_cast<int>(lines.size()));
  PlaceInCorner();
  show();
  raise();
  update();
}

void MarkerLegend::PlaceInCorner() {
  if (parentWidget()) move(kPadding, parentWidget()->height() - height() - kPadding);
}

void MarkerLegend::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.fillRect(rect(), QColor(32, 32, 32, 220));
  const QFontMetrics metrics(font());
  const int row = std::max(kSwatch, metrics.height());
  int y = kPadding;
  for (MarkerKind kind : kMarkerKinds) {
    const int count = counts_[IndexOf(kind)];
    if (count == 0) continue;
    // The swatch is drawn by the marker layer itself, so it is the very shape of the view.
    QImage swatch(kSwatch, kSwatch, QImage::Format_ARGB32_Premultiplied);
    swatch.fill(Qt::transparent);
    {
      QtCanvas canvas(&swatch);
      ProjectionView view;
      view.SetCanvas(&canvas, kSwatch, kSwatch);
      view.SetFrame(ViewFrame{1, kSwatch / 2, kSwatch / 2});
      DrawMarkers(view, canvas, {Marker{kind, 0, 0, 0}});
      canvas.End();
    }
    painter.drawImage(kPadding, y + (row - kSwatch) / 2, swatch);
    painter.setPen(Qt::white);
    painter.drawText(QRect(2 * kPadding + kSwatch, y, width(), row), Qt::AlignVCenter,
                     QStringLiteral("%1 (%2)").arg(Name(kind)).arg(count));
    y += row;
  }
}

}  // namespace mk
