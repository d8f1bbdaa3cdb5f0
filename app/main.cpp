// The desktop program: one main window; the first argument names a file to open at start.
// --screenshot FILE (not shown in any help) saves a picture of the window after the start-up open
// and quits; the documentation's picture is made that way.

#include <QApplication>
#include <QStringList>
#include <QTimer>

#include "app/uMain.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Mirrorknit"));
  QStringList arguments = QApplication::arguments();
  arguments.removeFirst();
  QString screenshot;
  const qsizetype at = arguments.indexOf(QStringLiteral("--screenshot"));
  if (at >= 0 && at + 1 < arguments.size()) {
    screenshot = arguments.at(at + 1);
    arguments.remove(at, 2);
  }
  mk::TfrmMain window(arguments.value(0));
  window.show();
  if (!screenshot.isEmpty()) {
    QTimer::singleShot(1500, &window, [&window, screenshot] {
      window.grab().save(screenshot);
      QApplication::quit();
    });
  }
  return QApplication::exec();
}
