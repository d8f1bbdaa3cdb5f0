#pragma once
// Qt's own texts (the file dialog, Yes and No, the overwrite question) in the interface's
// language. The program's own texts are chosen in Language.h and never translated.

#include <QLocale>

class QCoreApplication;

namespace mk {

/// Loads Qt's translations for a Japanese interface; false when none are installed (the
/// dialogs then stay English).
bool InstallQtTranslations(QCoreApplication& application, const QLocale& locale);

}  // namespace mk
