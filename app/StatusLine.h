#pragma once
// StatusLine: the status bar's text. A long text (a model with many attachment cycles names
// each) is elided to the room there is, so the window never grows to fit it; the whole text is
// the tooltip.

#include <QLabel>

namespace mk {

class StatusLine : public QLabel {
  Q_OBJECT

 public:
  explicit StatusLine(QWidget* parent);

  /// The whole text, however much of it shows.
  QString FullText() const { return full_; }
  void SetFullText(const QString& text);

  QSize minimumSizeHint() const override;
  QSize sizeHint() const override;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Elide();

  QString full_;
};

}  // namespace mk
