// The program as a modeller meets it: the half model never lost to a second save, a model shown
// as read, long status texts, the tolerance box and its settings, docking again, the window's
// room and its commands.

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <memory>

#include "GuiTestSupport.h"
#include "app/ImageBox.h"
#include "app/MainWindow.h"
#include "app/ReportPanel.h"
#include "app/StatusLine.h"
#include "app/ToleranceBox.h"
#include "app/WindowState.h"
#include "core/view/ProjectionView.h"

using mk::MainWindow;
using mk::testing::CloseNextMessageBox;
using mk::testing::Find;
using mk::testing::PixelsOf;
using mk::testing::ReadAll;
using mk::testing::WhenModal;
using mk::testing::WriteAll;

namespace {

const QLocale kEnglish(QLocale::English, QLocale::UnitedKingdom);
const QLocale kGerman(QLocale::German, QLocale::Germany);
const QString kExamples = QStringLiteral(MK_SOURCE_DIR "/examples/");

/// Answers the next message box with the button, or closes whatever else comes up.
void AnswerNextBox(QMessageBox::StandardButton answer) {
  WhenModal([answer](QWidget* modal) {
    if (auto* box = qobject_cast<QMessageBox*>(modal); box && box->button(answer))
      box->button(answer)->click();
    else
      modal->close();
  });
}

}  // namespace

class ModellerTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir settings_dir_;
  std::unique_ptr<QTemporaryDir> work_;

  std::unique_ptr<MainWindow> MakeWindow(const QLocale& locale = kEnglish, bool keep_size = false) {
    auto window = std::make_unique<MainWindow>(QString(), locale);
    if (!keep_size) window->resize(900, 600);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get())) qWarning("window not exposed");
    QCoreApplication::processEvents();
    return window;
  }

  QString CopyOfExample(const QString& name) {
    const QString path = work_->filePath(name);
    QFile::remove(path);
    if (!QFile::copy(kExamples + name, path)) qWarning("copy failed");
    QFile(path).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return path;
  }

  QString SettingsFile() const {
    return settings_dir_.filePath(QStringLiteral("Velmora/Halvo100.conf"));
  }

  static QImage DockedPicture(MainWindow& window) {
    return Find<mk::ImageBox>(&window, "ImageSD")->Bitmap().copy();
  }

 private slots:
  void initTestCase() { mk::testing::KeepSettingsIn(settings_dir_); }

  void init() {
    QFile::remove(SettingsFile());
    mk::testing::EnterFreshFolder(work_);
  }

  void cleanup() { mk::testing::LeaveFolder(work_); }

  // ---- the half model is never lost ----

  void savingTwiceKeepsTheHalfModelInTheBackup() {
    const QString file = CopyOfExample(QStringLiteral("ring.mdl"));
    const QByteArray half = ReadAll(file);
    auto window = MakeWindow();
    window->OpenChosenFile(file);
    QVERIFY(window->ModelDocked());
    auto* save = Find<QAction>(window.get(), "mnSave");
    save->trigger();
    const QByteArray whole = ReadAll(file);
    QVERIFY(whole != half);
    save->trigger();
    QCOMPARE(ReadAll(file + QStringLiteral(".bak")), half);
    QCOMPARE(ReadAll(file), whole);
    // Docking again works from the model as opened, kept in the backup, not from the saved whole.
    auto read = std::make_shared<std::string>();
    window->SetModelOpener([read](const std::string& name, mk::FileKind kind, double tolerance,
                                  mk::ProgressBar* progress, mk::WarningSink* warnings,
                                  const mk::DockOptions&) {
      *read = name;
      return mk::ReadAndDock(name, kind, tolerance, progress, warnings, mk::WithReference::Yes);
    });
    Find<QAction>(window.get(), "mnDockAgain")->trigger();
    QCOMPARE(QString::fromStdString(*read), file + QStringLiteral(".bak"));
    QVERIFY(window->ModelDocked());
    save->trigger();
    QCOMPARE(ReadAll(file + QStringLiteral(".bak")), half);
    QCOMPARE(ReadAll(file), whole);
  }

  void reopeningTheSavedWholeKeepsTheBackup() {
    const QString file = CopyOfExample(QStringLiteral("ring.mdl"));
    const QByteArray half = ReadAll(file);
    auto window = MakeWindow();
    window->OpenChosenFile(file);
    Find<QAction>(window.get(), "mnSave")->trigger();
    // The whole model, opened again and docked anyway, must not push the half out of the backup.
    AnswerNextBox(QMessageBox::Yes);
    window->OpenChosenFile(file);
    Find<QAction>(window.get(), "mnSave")->trigger();
    QCOMPARE(ReadAll(file + QStringLiteral(".bak")), half);
  }

  // ---- what the views show ----

  void modelLeftUndockedIsShownAsRead() {
    const QString file = CopyOfExample(QStringLiteral("ring.mdl"));
    auto window = MakeWindow();
    window->OpenChosenFile(file);
    const QString whole = work_->filePath(QStringLiteral("whole.mdl"));
    window->SaveAsTo(whole);
    AnswerNextBox(QMessageBox::No);
    window->OpenChosenFile(whole);
    QVERIFY(!window->ModelDocked());
    const int drawn = PixelsOf(DockedPicture(*window), mk::kModelColour);
    QVERIFY2(drawn > 200, qPrintable(QString::number(drawn)));
    Find<QAction>(window.get(), "mnViewFit")->trigger();
    QVERIFY(PixelsOf(DockedPicture(*window), mk::kModelColour) > 200);
    QVERIFY(PixelsOf(Find<mk::ImageBox>(window.get(), "ImageSrc")->Bitmap(), mk::kModelColour) >
            200);
  }

  void failedOpenLeavesNothingThatLooksCurrent() {
    const QString file = CopyOfExample(QStringLiteral("ring.mdl"));
    const QString broken = work_->filePath(QStringLiteral("broken.mdl"));
    WriteAll(broken,
             "[MODELFILE]\n[MODEL]\n[MESH]\nSplines=1\nCPs=1\n0 0 1\n2x8 0 "
             "0\n0\n0\n[ENDMESH]\n[ENDMODEL]\n[ENDMODELFILE]\n");
    auto window = MakeWindow();
    window->OpenChosenFile(file);
    QVERIFY(Find<QAction>(window.get(), "mnSave")->isEnabled());
    auto message = CloseNextMessageBox();
    window->OpenChosenFile(broken);
    // The error names the file and the line around the program's own message.
    QCOMPARE(*message,
             QStringLiteral("broken.mdl, line 7: '2x8' is not a valid floating point value"));
    QCOMPARE(window->StatusText(), *message);
    QVERIFY(!window->WorkingDocument());
    QVERIFY(Find<QPlainTextEdit>(window.get(), "Memo")->toPlainText().isEmpty());
    QCOMPARE(PixelsOf(DockedPicture(*window), mk::kModelColour), 0);
    QVERIFY(!Find<QAction>(window.get(), "mnSave")->isEnabled());
    QVERIFY(!Find<QToolButton>(window.get(), "sbtnSave")->isEnabled());
    QCOMPARE(window->windowTitle(), QString::fromLatin1(mk::kProgramCaption));
    // A view command afterwards clears the stale error.
    Find<QAction>(window.get(), "mnViewHidari")->trigger();
    QCOMPARE(window->StatusText(), QString());
  }

  void longStatusTextNeverWidensTheWindow() {
    auto window = MakeWindow();
    const QSize before = window->size();
    auto* status = Find<mk::StatusLine>(window.get(), "StatusText");
    const QString long_text = QStringLiteral("attachments lead round in a cycle: ") +
                              QStringLiteral("CP 1 -> CP 2 -> CP 3, ").repeated(300);
    status->SetFullText(long_text);
    QCoreApplication::processEvents();
    QCOMPARE(window->size(), before);
    QVERIFY(window->minimumSizeHint().width() < 1000);
    QVERIFY(status->text().size() < long_text.size());
    QCOMPARE(status->toolTip(), long_text);
    QCOMPARE(status->FullText(), long_text);
  }

  // ---- the tolerance box ----

  void toleranceBoxRefusesWhatCanBeNoNumber() {
    auto window = MakeWindow(kGerman);
    auto* box = Find<mk::ToleranceBox>(window.get(), "edGosa");
    box->clear();
    QTest::keyClicks(box, QStringLiteral("abc"));
    QCOMPARE(box->text(), QString());
    QTest::keyClicks(box, QStringLiteral("0,8"));
    QCOMPARE(box->text(), QStringLiteral("0,8"));
    QCOMPARE(*box->Value(), 0.8);
    box->clear();
    QTest::keyClicks(box, QStringLiteral("1e-3"));
    QCOMPARE(*box->Value(), 0.001);
  }

  void toleranceIsStoredSoThatAnyLocaleReadsIt() {
    {
      auto german = MakeWindow(kGerman);
      auto* box = Find<QLineEdit>(german.get(), "edGosa");
      box->setText(QStringLiteral("0,8"));
    }
    QCOMPARE(QSettings(SettingsFile(), QSettings::IniFormat)
                 .value(QStringLiteral("Main/Gosax"))
                 .toString(),
             QStringLiteral("0.8"));
    auto english = MakeWindow(kEnglish);
    QCOMPARE(*Find<mk::ToleranceBox>(english.get(), "edGosa")->Value(), 0.8);
    // A word in the box at exit leaves the last number in the settings.
    Find<QLineEdit>(english.get(), "edGosa")->setText(QStringLiteral("abc"));
    english.reset();
    QCOMPARE(QSettings(SettingsFile(), QSettings::IniFormat)
                 .value(QStringLiteral("Main/Gosax"))
                 .toString(),
             QStringLiteral("0.8"));
  }

  void badToleranceInTheSettingsFallsBackWithANote() {
    {
      QSettings settings(SettingsFile(), QSettings::IniFormat);
      settings.setValue(QStringLiteral("Main/Gosax"), QStringLiteral("0,8"));
    }
    auto window = MakeWindow(kEnglish);
    QCOMPARE(Find<QLineEdit>(window.get(), "edGosa")->text(), QStringLiteral("0.4"));
    QCOMPARE(window->StatusText(),
             QStringLiteral("The tolerance '0,8' in the settings is not a number; 0.4 is used"));
    // The default opens files again.
    window->OpenChosenFile(CopyOfExample(QStringLiteral("ring.mdl")));
    QVERIFY(window->ModelDocked());
  }

  // ---- docking again ----

  void enterInTheToleranceBoxDocksAgain() {
    const QString file = CopyOfExample(QStringLiteral("seam.mdl"));
    auto window = MakeWindow();
    window->OpenChosenFile(file);
    const double first = window->Report().tolerance;
    auto* box = Find<mk::ToleranceBox>(window.get(), "edGosa");
    box->setText(QStringLiteral("0.45"));
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(window->Report().tolerance, 0.45);
    QVERIFY(first != 0.45);
    QCOMPARE(window->StatusText(), QStringLiteral("Mirrorknitted ") + file);
  }

  void suggestedToleranceIsOneClickAway() {
    const QString file = QStringLiteral(MK_SOURCE_DIR "/tests/data/report/every_entry.mdl");
    const QString copy = work_->filePath(QStringLiteral("every_entry.mdl"));
    QVERIFY(QFile::copy(file, copy));
    auto window = MakeWindow();
    window->OpenChosenFile(copy);
    QVERIFY(window->Report().suggested_tolerance);
    const double suggested = *window->Report().suggested_tolerance;
    auto* button = window->ReportBox()->UseSuggestedButton();
    QVERIFY(window->ReportBox()->isVisible());
    QVERIFY(button->isVisible());
    QVERIFY(button->text().startsWith(QStringLiteral("Use ")));
    button->click();
    QCOMPARE(window->Report().tolerance, suggested);
    QVERIFY(!button->isVisible());
  }

  // ---- room to work and the commands ----

  void reportPanelLeavesTheControlsAndTheViewsRoom() {
    auto window = MakeWindow(kEnglish, true);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(window->frameGeometry().width() <= screen.width());
    QVERIFY(window->width() >= std::min(mk::kDefaultWindowWidth, screen.width() * 9 / 10) - 1);
    window->OpenChosenFile(CopyOfExample(QStringLiteral("seam.mdl")));
    QVERIFY(window->ReportBox()->isVisible());
    QCoreApplication::processEvents();
    for (const char* name : {"edGosa", "chkDisplayCpid"}) {
      QWidget* control = Find<QWidget>(window.get(), name);
      const QRect shown = control->visibleRegion().boundingRect();
      QVERIFY2(shown.size() == control->size(), name);
    }
    for (const char* name : {"ImageSrc", "ImageSD"})
      QVERIFY2(Find<QWidget>(window.get(), name)->width() >= 250, name);
  }

  void homeFitsWhicheverControlHasTheFocus() {
    auto window = MakeWindow();
    window->OpenChosenFile(CopyOfExample(QStringLiteral("ring.mdl")));
    auto* image = Find<QWidget>(window.get(), "ImageSD");
    const QPoint centre = image->rect().center();
    QWheelEvent wheel(centre, image->mapToGlobal(centre), QPoint(), QPoint(0, 240), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(image, &wheel);
    const QImage zoomed = DockedPicture(*window);
    auto* box = Find<QLineEdit>(window.get(), "edGosa");
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Home);
    QVERIFY(DockedPicture(*window) != zoomed);
    // A click gives a view the focus.
    QTest::mouseClick(image, Qt::LeftButton, {}, centre);
    QCOMPARE(QApplication::focusWidget(), image);
  }

  void commandsShowTheirStateAndKeys() {
    auto window = MakeWindow();
    QVERIFY(!Find<QAction>(window.get(), "mnSave")->isEnabled());
    QCOMPARE(Find<QAction>(window.get(), "mnSaveAs")->shortcut(),
             QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    QCOMPARE(Find<QAction>(window.get(), "mnExit")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    QCOMPARE(Find<QAction>(window.get(), "mnDockAgain")->shortcut(), QKeySequence(Qt::Key_F5));
    auto* top = Find<QAction>(window.get(), "mnViewUe");
    QVERIFY(Find<QAction>(window.get(), "mnViewMae")->isChecked());
    top->trigger();
    QVERIFY(top->isChecked());
    QVERIFY(!Find<QAction>(window.get(), "mnViewMae")->isChecked());
    // The combo box and the menu agree.
    auto* combo = Find<QComboBox>(window.get(), "comboDir");
    combo->setCurrentIndex(1);
    emit combo->activated(1);
    QVERIFY(Find<QAction>(window.get(), "mnViewHidari")->isChecked());
    const QString file = CopyOfExample(QStringLiteral("ring.mdl"));
    window->OpenChosenFile(file);
    QCOMPARE(window->windowTitle(),
             QString::fromLatin1(mk::kProgramCaption) + QStringLiteral(" - ring.mdl"));
    QVERIFY(Find<QAction>(window.get(), "mnSave")->isEnabled());
  }

  void windowStateIsRememberedBetweenSessions() {
    {
      auto window = MakeWindow();
      window->resize(700, 500);
      window->ReportBox()->show();
      QCoreApplication::processEvents();
      window->close();
    }
    auto again = MakeWindow(kEnglish, true);
    QCOMPARE(again->size(), QSize(700, 500));
    QVERIFY(again->ReportBox()->isVisible());
  }
};

QTEST_MAIN(ModellerTest)
#include "ModellerTest.moc"
