// The desktop program: one main window; the first argument names a file to open at start.

#include <QApplication>
#include <QCommandLineParser>
#include <QStringList>
#include <QTimer>

#include "app/MainWindow.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Mirrorknit"));
  QApplication::setApplicationVersion(QStringLiteral("5.03"));

  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral(
      "Mirror a half model (.mdl, .seg) across the plane X=0 and dock the two halves."));
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument(QStringLiteral("file"),
                               QStringLiteral("A model file to open and dock at start."),
                               QStringLiteral("[file]"));
  // Saves a picture of the window after the start-up open and quits (documentation pictures).
  QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                QStringLiteral("Save a picture of the window and quit."),
                                QStringLiteral("png"));
  screenshot.setFlags(QCommandLineOption::HiddenFromHelp);
  parser.addOption(screenshot);
  parser.process(application);

  mk::MainWindow window(parser.positionalArguments().value(0));
  window.show();
  if (parser.isSet(screenshot)) {
    const QString file = parser.value(screenshot);
    QTimer::singleShot(1500, &window, [&window, file] {
      window.grab().save(file);
      QApplication::quit();
    });
  }
  return QApplication::exec();
}
