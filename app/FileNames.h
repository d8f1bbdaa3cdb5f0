#pragma once
// The core takes file names as bytes in the system's own encoding for names: UTF-8 on Windows
// (where it calls the wide-character API) and the file system's bytes elsewhere.

#include <QString>
#include <string>

namespace mk {

/// The core's name for a file the user chose.
std::string ToFileName(const QString& name);
/// A name from the core, for the window.
QString FromFileName(const std::string& name);
/// A message from the core, which may hold file names.
QString FromCoreText(const char* text);

}  // namespace mk
