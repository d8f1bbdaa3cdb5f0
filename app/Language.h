#pragma once
// The interface language, chosen once at start, and every status message in both languages.

#include <QLocale>
#include <QString>

namespace mk {

/// The interface is Japanese for a Japanese locale and English for every other.
bool IsJapaneseLocale(const QLocale& locale);

/// Status line texts; name is the full file name.
struct StatusTexts {
  bool japanese = true;

  QString FileMissing() const;
  QString WrongExtension() const;
  QString Docked(const QString& name) const;
  QString Opened(const QString& name) const;
  QString SavedOver(const QString& target) const;
  QString SavedAs(const QString& target) const;
  /// Save after an open that was refused or failed: nothing docked belongs to the current name.
  QString NothingToSave() const;
};

}  // namespace mk
