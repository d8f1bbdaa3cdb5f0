#include "app/RecentFiles.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

#include "app/Settings.h"

namespace mk {

QStringList WithRecentFile(QStringList files, const QString& file_name) {
  files.removeAll(file_name);
  files.prepend(file_name);
  while (files.size() > kMaxRecentFiles) files.removeLast();
  return files;
}

RecentFilesMenu::RecentFilesMenu(QMenu* menu, const ReportTexts& texts, QObject* parent)
    : QObject(parent), menu_(menu), texts_(texts) {
  connect(menu_, &QMenu::aboutToShow, this, &RecentFilesMenu::Rebuild);
  Rebuild();
}

void RecentFilesMenu::SetFiles(const QStringList& files) {
  files_.clear();
  for (auto it = files.crbegin(); it != files.crend(); ++it) files_ = WithRecentFile(files_, *it);
  Rebuild();
}

void RecentFilesMenu::Add(const QString& file_name) {
  files_ = WithRecentFile(files_, file_name);
  Rebuild();
}

void RecentFilesMenu::Rebuild() {
  menu_->clear();
  if (files_.isEmpty()) {
    QAction* none = menu_->addAction(texts_.NoRecentFiles());
    none->setObjectName(QStringLiteral("mnRecentNone"));
    none->setEnabled(false);
    return;
  }
  for (int i = 0; i < files_.size(); ++i) {
    const QString& file = files_[i];
    // "&1" gives the first eight their number as the access key; "&" in a name is doubled.
    QString label = QDir::toNativeSeparators(file);
    label.replace(QLatin1Char('&'), QStringLiteral("&&"));
    QAction* item = menu_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(label));
    item->setObjectName(QStringLiteral("mnRecent%1").arg(i + 1));
    const QFileInfo info(file);
    const bool present = info.exists() && !info.isDir();
    item->setEnabled(present);
    if (!present) item->setToolTip(texts_.RecentFileMissing());
    // Opening rebuilds this menu, which must not delete the item while it is still signalling.
    connect(item, &QAction::triggered, this, [this, file] {
      QMetaObject::invokeMethod(this, [this, file] { emit FileChosen(file); }, Qt::QueuedConnection);
    });
  }
}

}  // namespace mk
