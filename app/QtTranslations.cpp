#include "app/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "app/Language.h"

namespace mk {

bool InstallQtTranslations(QCoreApplication& application, const QLocale& locale) {
  // Only the two interface languages: a German system gets the English interface, and German
  // buttons beside English texts would be a mix of both.
  if (!IsJapaneseLocale(locale)) return false;
  auto* translator = new QTranslator(&application);
  if (!translator->load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}

}  // namespace mk
