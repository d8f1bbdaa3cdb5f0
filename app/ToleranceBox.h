#pragma once
// ToleranceBox: the box where the user types the tolerance of the plane X=0. It takes the user's
// own notation or the file notation with ".", refuses characters that can make no number as they
// are typed, and asks for a new docking on Enter.

#include <QLineEdit>
#include <QLocale>
#include <optional>

namespace mk {

class ToleranceBox : public QLineEdit {
  Q_OBJECT

 public:
  ToleranceBox(const QLocale& locale, QWidget* parent);

  /// The text as a number: the user's notation first, then "."; none when it is no number.
  static std::optional<double> Read(const QString& text, const QLocale& locale);
  std::optional<double> Value() const { return Read(text(), locale_); }
  /// The value as the settings keep it, always with ".", so that the file reads back under any
  /// locale; none while the box holds no number.
  std::optional<QString> StoredText() const;

 signals:
  /// Enter with a readable tolerance: dock the opened file again.
  void DockAgainRequested();

 protected:
  bool event(QEvent* event) override;

 private:
  QLocale locale_;
};

}  // namespace mk
