#include "app/ToleranceBox.h"

#include <QKeyEvent>
#include <QRegularExpression>
#include <QValidator>
#include <cmath>

#include "core/util/Errors.h"
#include "core/util/NumberText.h"

namespace mk {
namespace {

/// Accepts whole numbers and the beginnings of numbers, so that typing "1e-" on the way to
/// "1e-3" is not refused; anything that can never become a number is.
class ToleranceValidator : public QValidator {
 public:
  ToleranceValidator(const QLocale& locale, QObject* parent) : QValidator(parent), locale_(locale) {
    const QString point = QRegularExpression::escape(locale.decimalPoint());
    partial_ = QRegularExpression(QStringLiteral("^\\s*[+-]?\\d*(?:(?:\\.|%1)\\d*)?"
                                                 "(?:[eE][+-]?\\d*)?\\s*$")
                                      .arg(point));
  }

  State validate(QString& input, int& /*position*/) const override {
    if (ToleranceBox::Read(input, locale_)) return Acceptable;
    return partial_.match(input).hasMatch() ? Intermediate : Invalid;
  }

 private:
  QLocale locale_;
  QRegularExpression partial_;
};

}  // namespace

ToleranceBox::ToleranceBox(const QLocale& locale, QWidget* parent)
    : QLineEdit(parent), locale_(locale) {
  setValidator(new ToleranceValidator(locale, this));
  // returnPressed comes only with acceptable input.
  connect(this, &QLineEdit::returnPressed, this, &ToleranceBox::DockAgainRequested);
}

std::optional<double> ToleranceBox::Read(const QString& text, const QLocale& locale) {
  const QString trimmed = text.trimmed();
  if (trimmed.isEmpty()) return std::nullopt;
  QLocale user = locale;
  // "1,5" must not read as 15 where the comma groups thousands.
  user.setNumberOptions(QLocale::RejectGroupSeparator);
  bool ok = false;
  const double value = user.toDouble(trimmed, &ok);
  if (ok && std::isfinite(value)) return value;
  try {
    return StrToFloat(trimmed.toStdString());
  } catch (const ConversionError&) {
    return std::nullopt;
  }
}

std::optional<QString> ToleranceBox::StoredText() const {
  const QString trimmed = text().trimmed();
  if (!Read(trimmed, locale_)) return std::nullopt;
  try {
    StrToFloat(trimmed.toStdString());
    return trimmed;  // the file notation already: kept as typed
  } catch (const ConversionError&) {
    QString stored = trimmed;
    return stored.replace(locale_.decimalPoint(), QStringLiteral("."));
  }
}

bool ToleranceBox::event(QEvent* event) {
  // Home fits the views wherever the focus is; the box gives the key up to the window.
  if (event->type() == QEvent::ShortcutOverride &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Home) {
    event->ignore();
    return true;
  }
  return QLineEdit::event(event);
}

}  // namespace mk
