// The desktop program: one main window; the first argument names a file to open at start.

#include <QApplication>
#include <QCommandLineParser>
#include <QStringList>
#include <QTimer>
#include <cstring>
#include <memory>

#include "app/MainWindow.h"
#include "app/QtTranslations.h"

namespace {

void DescribeOptions(QCommandLineParser& parser, QCommandLineOption& screenshot) {
  parser.setApplicationDescription(QStringLiteral(
      "Mirror a half model (.mdl, .seg) across the plane X=0 and dock the two halves."));
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument(QStringLiteral("file"),
                               QStringLiteral("A model file to open and dock at start."),
                               QStringLiteral("[file]"));
  screenshot.setFlags(QCommandLineOption::HiddenFromHelp);
  parser.addOption(screenshot);
}

/// --help and --version answer without a window system: a terminal on a server has none.
bool AsksOnlyForText(int argc, char* argv[]) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--") == 0) return false;
    for (const char* option : {"-h", "--help", "-?", "--help-all", "-v", "--version"})
      if (std::strcmp(argv[i], option) == 0) return true;
  }
  return false;
}

void NameTheProgram() {
  QCoreApplication::setApplicationName(QStringLiteral("Mirrorknit"));
  QCoreApplication::setApplicationVersion(QStringLiteral(MK_VERSION));
}

}  // namespace

int main(int argc, char* argv[]) {
  // Saves a picture of the window after the start-up open and quits (documentation pictures).
  QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                QStringLiteral("Save a picture of the window and quit."),
                                QStringLiteral("png"));
  if (AsksOnlyForText(argc, argv)) {
    QCoreApplication text_only(argc, argv);
    NameTheProgram();
    QCommandLineParser parser;
    DescribeOptions(parser, screenshot);
    parser.process(text_only);  // prints and exits
    return 0;
  }
  QApplication application(argc, argv);
  NameTheProgram();
  QCommandLineParser parser;
  DescribeOptions(parser, screenshot);
  parser.process(application);
  mk::InstallQtTranslations(application, QLocale::system());

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
