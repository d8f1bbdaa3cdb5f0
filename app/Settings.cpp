#include "app/Settings.h"

#include <QSettings>
#include <QStringList>
#include <QVariant>

namespace mk {
namespace {

const QString kOrganisation = QString::fromLatin1(kSettingsOrganisation);
const QString kApplication = QString::fromLatin1(kSettingsApplication);
const QString kGroup = QStringLiteral("Main");

/// Opens the group for the life of the object and closes it on every way out.
class MainGroup {
 public:
  MainGroup() : settings_(kOrganisation, kApplication) { settings_.beginGroup(kGroup); }
  ~MainGroup() { settings_.endGroup(); }
  MainGroup(const MainGroup&) = delete;
  MainGroup& operator=(const MainGroup&) = delete;

  /// The stored key that names the value, in whatever case it was written. Qt's INI files keep
  /// keys case-sensitive, while the names have always matched without case.
  QString FindKey(const QString& name) {
    const QStringList keys = settings_.childKeys();
    for (const QString& key : keys)
      if (key.compare(name, Qt::CaseInsensitive) == 0) return key;
    return {};
  }

  QString Read(const QString& name, const QString& fallback) {
    const QString key = FindKey(name);
    if (key.isEmpty()) return fallback;
    return settings_.value(key).toString();
  }

  /// Replaces the value, spelling included, so a differently spelt copy cannot shadow it later.
  void Write(const QString& name, const QString& value) {
    for (const QString& key : settings_.childKeys())
      if (key.compare(name, Qt::CaseInsensitive) == 0 && key != name) settings_.remove(key);
    settings_.setValue(name, value);
  }

  void Remove(const QString& name) {
    for (const QString& key : settings_.childKeys())
      if (key.compare(name, Qt::CaseInsensitive) == 0) settings_.remove(key);
  }

  void Sync() { settings_.sync(); }

 private:
  QSettings settings_;
};

QString RecentKey(int number) { return QStringLiteral("Recent%1").arg(number); }

}  // namespace

bool ParseDisplayCpid(const QString& text) {
  bool ok = false;
  qlonglong value = 0;
  if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
    value = text.mid(2).toLongLong(&ok, 16);
  else
    value = text.toLongLong(&ok, 10);
  return ok && value != 0;
}

MainSettings LoadMainSettings() {
  MainGroup group;
  MainSettings s;
  s.openDialogDir = group.Read(QStringLiteral("OpenDialogDir"), QString());
  s.gosa = group.Read(QStringLiteral("GosaX"), QStringLiteral("0.4"));
  s.displayCpid = ParseDisplayCpid(group.Read(QStringLiteral("DisplayCpid"), QString()));
  for (int i = 1; i <= kMaxRecentFiles; ++i) {
    const QString name = group.Read(RecentKey(i), QString());
    if (!name.isEmpty() && !s.recentFiles.contains(name)) s.recentFiles << name;
  }
  return s;
}

void SaveMainSettings(const MainSettings& s) {
  MainGroup group;
  group.Write(QStringLiteral("OpenDialogDir"), s.openDialogDir);
  group.Write(QStringLiteral("Gosax"), s.gosa);
  group.Write(QStringLiteral("DisplayCpid"), s.displayCpid ? QStringLiteral("1") : QStringLiteral("0"));
  // Keys past the list's end go, so a shorter list is not filled up by older names.
  for (int i = 1; i <= kMaxRecentFiles; ++i) {
    if (i <= s.recentFiles.size())
      group.Write(RecentKey(i), s.recentFiles[i - 1]);
    else
      group.Remove(RecentKey(i));
  }
  group.Sync();
}

}  // namespace mk
