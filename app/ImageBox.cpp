#include "app/ImageBox.h"

#include <QPainter>

namespace mk {

ImageBox::ImageBox(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

QImage* ImageBox::NewBitmap(QSize size) {
  if (size.width() > 0 && size.height() > 0)
    bitmap_ = QImage(size, QImage::Format_RGB32);
  else
    bitmap_ = QImage();
  return &bitmap_;
}

void ImageBox::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  if (bitmap_.isNull()) {
    painter.fillRect(rect(), Qt::black);
    return;
  }
  painter.drawImage(0, 0, bitmap_);
  // The bitmap lags the widget for a moment while the window is being resized.
  if (bitmap_.width() < width()) painter.fillRect(bitmap_.width(), 0, width(), height(), Qt::black);
  if (bitmap_.height() < height()) painter.fillRect(0, bitmap_.height(), width(), height(), Qt::black);
}

}  // namespace mk
