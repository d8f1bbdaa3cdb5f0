#include "app/StatusLine.h"

#include <QFontMetrics>
#include <QResizeEvent>
#include <algorithm>

namespace mk {

StatusLine::StatusLine(QWidget* parent) : QLabel(parent) {
  setTextFormat(Qt::PlainText);
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void StatusLine::SetFullText(const QString& text) {
  full_ = text;
  Elide();
}

QSize StatusLine::minimumSizeHint() const { return {0, QLabel::minimumSizeHint().height()}; }

QSize StatusLine::sizeHint() const { return {0, QLabel::sizeHint().height()}; }

void StatusLine::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  Elide();
}

void StatusLine::Elide() {
  // Line breaks in a warning would make the bar taller; the tooltip keeps them.
  QString one_line = full_;
  one_line.replace(QLatin1Char('\n'), QLatin1Char(' '));
  const QString shown = fontMetrics().elidedText(one_line, Qt::ElideRight, std::max(0, width()));
  setText(shown);
  setToolTip(shown == full_ ? QString() : full_);
}

}  // namespace mk
