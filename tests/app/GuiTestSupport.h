#pragma once
// What the window tests share: files in and out, components by object name, and answering the
// modal dialogs that exec() would otherwise wait on.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <QtTest>
#include <functional>
#include <initializer_list>
#include <memory>

namespace mk::testing {

inline QByteArray ReadAll(const QString& name) {
  QFile file(name);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

inline void WriteAll(const QString& name, const QByteArray& bytes) {
  QFile file(name);
  QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(bytes);
}

template <typename T>
T* Find(QWidget* window, const char* name) {
  return window->findChild<T*>(QString::fromLatin1(name));
}

/// Runs the action on the next modal dialog once it is up (a message box, a file dialog, the
/// about box), since exec() does not return until someone closes it.
inline void WhenModal(std::function<void(QWidget*)> action) {
  auto* timer = new QTimer;
  timer->setInterval(20);
  QObject::connect(timer, &QTimer::timeout, [timer, action] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      timer->stop();
      timer->deleteLater();
      action(modal);
    }
  });
  timer->start();
}

/// Closes the next message box and hands back its text.
inline std::shared_ptr<QString> CloseNextMessageBox() {
  auto text = std::make_shared<QString>(QStringLiteral("<no message box>"));
  WhenModal([text](QWidget* modal) {
    if (auto* box = qobject_cast<QMessageBox*>(modal)) *text = box->text();
    modal->close();
  });
  return text;
}

/// How many pixels of the image have the colour (as 0xRRGGBB).
inline int PixelsOf(const QImage& image, unsigned colour) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if ((image.pixel(x, y) & 0xFFFFFFu) == colour) ++count;
  return count;
}

/// Sends every settings store of the program into the folder, for the whole test case.
inline void KeepSettingsIn(const QTemporaryDir& folder) {
  QVERIFY(folder.isValid());
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.path());
}

/// A new empty working folder, made the current one: docking may write its attach report there.
inline void EnterFreshFolder(std::unique_ptr<QTemporaryDir>& work) {
  work = std::make_unique<QTemporaryDir>();
  QVERIFY(work->isValid());
  QVERIFY(QDir::setCurrent(work->path()));
}

inline void LeaveFolder(std::unique_ptr<QTemporaryDir>& work) {
  QDir::setCurrent(QDir::tempPath());
  work.reset();
}

/// A component's text in both interface languages.
struct InterfaceText {
  const char* component;
  const char* japanese;
  const char* english;
};

/// The columns japanese, component and expected, with rows "ja NAME" and "en NAME" per text.
inline void AddInterfaceTextRows(std::initializer_list<InterfaceText> rows) {
  QTest::addColumn<bool>("japanese");
  QTest::addColumn<QString>("component");
  QTest::addColumn<QString>("expected");
  for (const InterfaceText& row : rows) {
    QTest::addRow("ja %s", row.component) << true << row.component << QString::fromUtf8(row.japanese);
    QTest::addRow("en %s", row.component) << false << row.component << QString::fromUtf8(row.english);
  }
}

}  // namespace mk::testing
