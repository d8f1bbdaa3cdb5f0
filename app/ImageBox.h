#pragma once
// One of the two pictures of the main window: a widget showing its own bitmap.

#include <QImage>
#include <QWidget>

namespace mk {

class ImageBox : public QWidget {
  Q_OBJECT

 public:
  explicit ImageBox(QWidget* parent = nullptr);

  /// Replaces the bitmap by a new one of the given size (null when a side is 0).
  QImage* NewBitmap(QSize size);
  const QImage& Bitmap() const { return bitmap_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage bitmap_;
};

}  // namespace mk
