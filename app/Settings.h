#pragma once
// The program's persistent values: the open dialog's folder, the tolerance text, the control
// point id switch and the recently opened files. Read once at start, written once at exit.

#include <QString>
#include <QStringList>

namespace mk {

struct MainSettings {
  QString openDialogDir;
  QString gosa = QStringLiteral("0.4");
  bool displayCpid = false;
  /// Most recent first, at most kMaxRecentFiles.
  QStringList recentFiles;
};

inline constexpr int kMaxRecentFiles = 8;

/// Where the settings live (the registry key or the ".conf" file's folder and name).
inline constexpr const char* kSettingsOrganisation = "Velmora";
inline constexpr const char* kSettingsApplication = "Halvo100";

/// Reads the group "Main"; a missing value gives its default. Value names match without case.
MainSettings LoadMainSettings();
/// Writes the values (the tolerance under "Gosax", the switch as "1" or "0", the recent files as
/// "Recent1" to "Recent8", each one name, so that no name needs quoting).
void SaveMainSettings(const MainSettings& settings);

/// "DisplayCpid" as stored: a decimal or "0x" hexadecimal integer, true when not zero; anything
/// else is false.
bool ParseDisplayCpid(const QString& text);

}  // namespace mk
