#pragma once
// The File menu's recently opened files: the last eight, most recent first. A file that is gone
// stays in the list but greyed, since it may sit on a drive that is only not mounted now.

#include <QObject>
#include <QString>
#include <QStringList>

#include "app/Language.h"

class QMenu;

namespace mk {

/// The list after opening file_name: it comes first, once, and the oldest beyond eight go.
QStringList WithRecentFile(QStringList files, const QString& file_name);

class RecentFilesMenu : public QObject {
  Q_OBJECT

 public:
  RecentFilesMenu(QMenu* menu, const ReportTexts& texts, QObject* parent);

  const QStringList& Files() const { return files_; }
  void SetFiles(const QStringList& files);
  void Add(const QString& file_name);
  /// Makes the items anew, greying those whose file is gone; also done each time the menu opens.
  void Rebuild();

 signals:
  void FileChosen(const QString& file_name);

 private:
  QMenu* menu_;
  ReportTexts texts_;
  QStringList files_;
};

}  // namespace mk
