#include "app/Language.h"

namespace mk {

bool IsJapaneseLocale(const QLocale& locale) { return locale.language() == QLocale::Japanese; }

QString StatusTexts::FileMissing() const {
  return japanese ? QStringLiteral("Error:ファイルが存在しません！！")
                  : QStringLiteral("Error:File not found!!");
}

QString StatusTexts::WrongExtension() const {
  return japanese ? QStringLiteral("Error:ファイル名の拡張子が違います！！")
                  : QStringLiteral("Error:filename Extension!!");
}

QString StatusTexts::Docked(const QString& name) const {
  return japanese ? name + QStringLiteral(" をMirrorknitしました。")
                  : QStringLiteral("Mirrorknitted ") + name;
}

QString StatusTexts::Opened(const QString& name) const {
  return japanese ? name + QStringLiteral(" を読み込みました") : QStringLiteral("Opend ") + name;
}

QString StatusTexts::SavedOver(const QString& target) const {
  return japanese ? target + QStringLiteral("へ上書き保存しました")
                  : QStringLiteral("Saved as ") + target;
}

QString StatusTexts::SavedAs(const QString& target) const {
  return japanese ? target + QStringLiteral("へ保存しました") : QStringLiteral("Saved ") + target;
}

QString StatusTexts::NothingToSave() const {
  return japanese ? QStringLiteral("Error:このファイルは開かれていないので保存しません！！")
                  : QStringLiteral("Error:this file was not opened, nothing saved!!");
}

}  // namespace mk
