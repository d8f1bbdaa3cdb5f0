#include "app/FileNames.h"

#include <QFile>

namespace mk {

#ifdef _WIN32

std::string ToFileName(const QString& name) { return name.toUtf8().toStdString(); }

QString FromFileName(const std::string& name) { return QString::fromStdString(name); }

QString FromCoreText(const char* text) { return QString::fromUtf8(text); }

#else

std::string ToFileName(const QString& name) { return QFile::encodeName(name).toStdString(); }

QString FromFileName(const std::string& name) {
  return QFile::decodeName(QByteArray::fromStdString(name));
}

QString FromCoreText(const char* text) { return QString::fromLocal8Bit(text); }

#endif

}  // namespace mk
