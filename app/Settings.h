#pragma once
// The program's three persistent values: the open dialog's folder, the tolerance text and the
// control point id switch. Read once at start, written once at exit.

#include <QString>

namespace mk {

struct MainSettings {
  QString openDialogDir;
  QString gosa = QStringLiteral("0.4");
  bool displayCpid = false;
};

/// Reads the group "Main"; a missing value gives its default. Value names match without case.
MainSettings LoadMainSettings();
/// Writes the three values (the tolerance under "Gosax", the switch as "1" or "0").
void SaveMainSettings(const MainSettings& settings);

/// "DisplayCpid" as stored: a decimal or "0x" hexadecimal integer, true when not zero; anything
/// else is false.
bool ParseDisplayCpid(const QString& text);

}  // namespace mk
