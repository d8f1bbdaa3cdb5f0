// The main window driven through its components' object names, as a user would drive it.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QtTest>
#include <functional>
#include <memory>
#include <unistd.h>

#include "app/FileDrop.h"
#include "GuiTestSupport.h"
#include "app/ImageBox.h"
#include "app/Settings.h"
#include "app/AboutBox.h"
#include "app/MainWindow.h"
#include "app/ProgressDialog.h"
#include "core/util/FileIo.h"
#include "core/util/LineList.h"
#include "core/workflow/Workflow.h"

using mk::MainWindow;
using mk::testing::CloseNextMessageBox;
using mk::testing::Find;
using mk::testing::ReadAll;
using mk::testing::WhenModal;
using mk::testing::WriteAll;

namespace {

const QLocale kEnglish(QLocale::English, QLocale::UnitedKingdom);
const QLocale kJapanese(QLocale::Japanese, QLocale::Japan);
const QLocale kGerman(QLocale::German, QLocale::Germany);

/// A half model: bounds for the views and one spline of three points, the ends near the plane.
const char* const kHalfModel =
    "[MODELFILE]\r\n"
    "[MODEL]\r\n"
    "Bounds=0 0 0 30 0 0 30 40 0 0 40 20 0 0 20 30 0 20 30 40 20 0 40 0\r\n"
    "[MESH]\r\n"
    "Version=2\r\n"
    "Splines=1\r\n"
    "CPs=3\r\n"
    "0 0 11\r\n0 0 0\r\n0\r\n0\r\n"
    "0 0 12\r\n20 20 5\r\n0\r\n0\r\n"
    "0 0 13\r\n0.2 35 0\r\n0\r\n0\r\n"
    "[ENDMESH]\r\n"
    "[ENDMODEL]\r\n"
    "[ENDMODELFILE]\r\n";

/// Types the name into a file dialog's name box and presses its accept button.
void TypeIntoFileDialog(QFileDialog* dialog, const QString& name) {
  auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  QVERIFY(edit);
  edit->setText(name);
  dialog->selectFile(name);
  // done() rather than accept(): accept() may open a nested confirmation box of its own (for
  // instance while the dialog's file model is still loading on a busy machine), and nothing
  // would close that one.
  static_cast<QDialog*>(dialog)->done(QDialog::Accepted);
}

QString SavedBytesOf(const mk::Document& document) {
  mk::LineWriter lines;
  document.SaveToLines(lines);
  return QString::fromStdString(lines.Bytes());
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir settings_dir_;
  std::unique_ptr<QTemporaryDir> work_;

  std::unique_ptr<MainWindow> MakeWindow(const QLocale& locale = kEnglish) {
    auto window = std::make_unique<MainWindow>(QString(), locale);
    window->resize(640, 480);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get())) qWarning("window not exposed");
    QCoreApplication::processEvents();
    return window;
  }

  QString ModelFile(const QString& name, const char* text = kHalfModel) {
    const QString path = work_->filePath(name);
    WriteAll(path, QByteArray(text));
    return path;
  }

  QString SettingsFile() const { return settings_dir_.filePath(QStringLiteral("Velmora/Halvo100.conf")); }

  QImage DockedPicture(MainWindow& window) {
    return Find<mk::ImageBox>(&window, "ImageSD")->Bitmap().copy();
  }

 private slots:
  void initTestCase() { mk::testing::KeepSettingsIn(settings_dir_); }

  void init() {
    QFile::remove(SettingsFile());
    mk::testing::EnterFreshFolder(work_);
  }

  void cleanup() {
    mk::SimulateDiskFullAfter(-1);
    mk::testing::LeaveFolder(work_);
  }

  // ---- language ----

  void interfaceTexts_data() {
    mk::testing::AddInterfaceTextRows({
        {"mnFile", "ファイル(&F)", "&File"},
        {"mnOpen", "開く(&O)", "&Open.."},
        {"mnSave", "上書き保存(&S)", "&Save"},
        {"mnSaveAs", "名前を付けて保存(&A)", "&Save As.."},
        {"mnExit", "終了(&X)", "E&xit"},
        {"mnView", "表示(&V)", "&View"},
        {"mnViewMae", "前(&F)", "&Front"},
        {"mnViewHidari", "左(&L)", "&Left"},
        {"mnViewUe", "上(&T)", "&Top"},
        {"mnHelp", "ヘルプ(&H)", "&Help"},
        {"mnAbout", "Mirrorknitについて(&A)", "&About.."},
        {"sbtnOpen", "ファイルを開く", "Open"},
        {"sbtnSave", "上書き保存", "Save"},
        {"sbtnSaveAs", "名前を付けて保存", "Save As"},
        {"comboDir", "前|左|上", "Front|Left|Top"},
        {"LabelGosa", "X=0平面に対する誤差(&G)", "Correct Plane X=0(&G)"},
        {"chkDisplayCpid", "CPID表示", "CPID表示"},
        {"Bar", "ドッキング中", "ドッキング中"},
        {"frmMain", "Mirrorknit Ver5.03", "Mirrorknit Ver5.03"},
    });
  }

  void interfaceTexts() {
    QFETCH(bool, japanese);
    QFETCH(QString, component);
    QFETCH(QString, expected);
    auto window = MakeWindow(japanese ? kJapanese : kEnglish);
    QCOMPARE(window->Japanese(), japanese);
    QString actual;
    QObject* object = window->findChild<QObject*>(component);
    if (component == QLatin1String("frmMain")) object = window.get();
    QVERIFY2(object, qPrintable(component));
    if (auto* menu = qobject_cast<QMenu*>(object)) actual = menu->title();
    else if (auto* action = qobject_cast<QAction*>(object)) actual = action->text();
    else if (auto* button = qobject_cast<QToolButton*>(object)) actual = button->toolTip();
    else if (auto* label = qobject_cast<QLabel*>(object)) actual = label->text();
    else if (auto* check = qobject_cast<QCheckBox*>(object)) actual = check->text();
    else if (auto* bar = qobject_cast<QProgressBar*>(object)) actual = bar->window()->windowTitle();
    else if (auto* combo = qobject_cast<QComboBox*>(object)) {
      QStringList items;
      for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
      actual = items.join(QLatin1Char('|'));
      QCOMPARE(combo->currentIndex(), 0);
    } else actual = window->windowTitle();
    QCOMPARE(actual, expected);
  }

  void layoutHasEveryComponent() {
    auto window = MakeWindow();
    for (const char* name : {"PanelTop", "sbtnOpen", "sbtnSave", "sbtnSaveAs", "comboDir", "LabelGosa",
                             "edGosa", "chkDisplayCpid", "Memo", "ImageSrc", "ImageSD", "StatusBar"})
      QVERIFY2(window->findChild<QWidget*>(QString::fromLatin1(name)), name);
    QCOMPARE(Find<QAction>(window.get(), "mnOpen")->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
    QCOMPARE(Find<QAction>(window.get(), "mnSave")->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
    QVERIFY(!Find<QToolButton>(window.get(), "sbtnSave")->isEnabled());
    QVERIFY(!Find<QToolButton>(window.get(), "sbtnSaveAs")->isEnabled());
    // Nothing to save yet: the menu's commands are off like the buttons.
    QVERIFY(!Find<QAction>(window.get(), "mnSave")->isEnabled());
    QVERIFY(!Find<QToolButton>(window.get(), "sbtnOpen")->icon().isNull());
    QCOMPARE(window->StatusText(), QStringLiteral("Ver5.03"));
    QVERIFY(window->ProgressBox()->isHidden());
  }

  // ---- settings ----

  void settingsDefaults() {
    auto window = MakeWindow();
    QCOMPARE(Find<QLineEdit>(window.get(), "edGosa")->text(), QStringLiteral("0.4"));
    QVERIFY(!Find<QCheckBox>(window.get(), "chkDisplayCpid")->isChecked());
  }

  void settingsWrittenAtExitAndReadAtStart() {
    {
      auto window = MakeWindow();
      Find<QLineEdit>(window.get(), "edGosa")->setText(QStringLiteral("1.5"));
      Find<QCheckBox>(window.get(), "chkDisplayCpid")->click();
      // Nothing is written while the program runs.
      QVERIFY(!QFile::exists(SettingsFile()));
    }
    QVERIFY(QFile::exists(SettingsFile()));
    {
      QSettings stored(SettingsFile(), QSettings::IniFormat);
      QCOMPARE(stored.value(QStringLiteral("Main/Gosax")).toString(), QStringLiteral("1.5"));
      QCOMPARE(stored.value(QStringLiteral("Main/DisplayCpid")).toString(), QStringLiteral("1"));
      QVERIFY(stored.contains(QStringLiteral("Main/OpenDialogDir")));
    }
    auto again = MakeWindow();
    QCOMPARE(Find<QLineEdit>(again.get(), "edGosa")->text(), QStringLiteral("1.5"));
    QVERIFY(Find<QCheckBox>(again.get(), "chkDisplayCpid")->isChecked());
  }

  void settingsNamesMatchWithoutCase() {
    QDir().mkpath(QFileInfo(SettingsFile()).path());
    WriteAll(SettingsFile(), "[Main]\ngosax=2.25\nDISPLAYCPID=0x10\nopendialogdir=/somewhere/\n");
    {
      auto window = MakeWindow();
      QCOMPARE(Find<QLineEdit>(window.get(), "edGosa")->text(), QStringLiteral("2.25"));
      QVERIFY(Find<QCheckBox>(window.get(), "chkDisplayCpid")->isChecked());
      Find<QLineEdit>(window.get(), "edGosa")->setText(QStringLiteral("3"));
    }
    // One spelling of each name is left, so the next start cannot read a stale copy.
    QSettings stored(SettingsFile(), QSettings::IniFormat);
    stored.beginGroup(QStringLiteral("Main"));
    QCOMPARE(stored.childKeys().size(), 3);
    QCOMPARE(stored.value(QStringLiteral("Gosax")).toString(), QStringLiteral("3"));
    QCOMPARE(stored.value(QStringLiteral("OpenDialogDir")).toString(), QStringLiteral("/somewhere/"));
  }

  void displayCpidValues_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("on");
    QTest::newRow("one") << "1" << true;
    QTest::newRow("zero") << "0" << false;
    QTest::newRow("negative") << "-3" << true;
    QTest::newRow("hex") << "0x1A" << true;
    QTest::newRow("hex zero") << "0x0" << false;
    QTest::newRow("word") << "yes" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("bare prefix") << "0x" << false;
  }

  void displayCpidValues() {
    QFETCH(QString, text);
    QFETCH(bool, on);
    QCOMPARE(mk::ParseDisplayCpid(text), on);
  }

  // ---- opening and docking ----

  void openFromTheDialogDocksAndReports() {
    const QString file = ModelFile(QStringLiteral("half.mdl"));
    auto window = MakeWindow();
    WhenModal([file](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      if (!dialog) {
        modal->close();
        return;
      }
      QCOMPARE(dialog->objectName(), QStringLiteral("OpenDialog"));
      TypeIntoFileDialog(dialog, file);
    });
    Find<QToolButton>(window.get(), "sbtnOpen")->click();
    QCOMPARE(window->CurrentFileName(), file);
    QCOMPARE(window->StatusText(), QStringLiteral("Opend ") + file);
    QVERIFY(window->WorkingDocument());
    const auto lines = mk::StatisticsLines(window->Statistics());
    QCOMPARE(Find<QPlainTextEdit>(window.get(), "Memo")->toPlainText(),
             QString::fromStdString(lines[0] + "\n" + lines[1]));
    QVERIFY(Find<QToolButton>(window.get(), "sbtnSave")->isEnabled());
    QVERIFY(Find<QToolButton>(window.get(), "sbtnSaveAs")->isEnabled());
    QVERIFY(window->ProgressBox()->isHidden());
    QCOMPARE(window->ProgressBox()->Bar->maximum(), 10);
    QVERIFY(window->ProgressBox()->Position() >= 1);
    // Both pictures show something white: the half on the left, the whole on the right.
    for (const char* image : {"ImageSrc", "ImageSD"}) {
      const QImage& bitmap = Find<mk::ImageBox>(window.get(), image)->Bitmap();
      int white = 0;
      for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x)
          if ((bitmap.pixel(x, y) & 0xFFFFFFu) == 0xFFFFFFu) ++white;
      QVERIFY2(white > 20, image);
    }
    // The folder is remembered for the next start.
    window.reset();
    QSettings stored(SettingsFile(), QSettings::IniFormat);
    QCOMPARE(stored.value(QStringLiteral("Main/OpenDialogDir")).toString(),
             QDir::toNativeSeparators(work_->path() + QLatin1Char('/')));
  }

  void progressDialogFollowsTheDocking() {
    const QString file = ModelFile(QStringLiteral("half.mdl"));
    auto window = MakeWindow();
    mk::ProgressDialog* dialog = window->ProgressBox();
    QList<int> positions;
    bool always_visible = true;
    connect(dialog->Bar, &QProgressBar::valueChanged, this, [&](int value) {
      positions << value;
      always_visible = always_visible && dialog->isVisible();
    });
    window->OpenChosenFile(file);
    QVERIFY2(positions.size() >= 2, qPrintable(QString::number(positions.size())));
    QCOMPARE(positions.value(0), 0);
    QCOMPARE(positions.value(1), 1);
    for (qsizetype i = 1; i < positions.size(); ++i) QVERIFY(positions[i] > positions[i - 1]);
    QVERIFY(positions.last() <= 10);
    QVERIFY(always_visible);
    QCOMPARE(dialog->Bar->minimum(), 0);
    QCOMPARE(dialog->Bar->maximum(), 10);
    QVERIFY(dialog->isHidden());
    QVERIFY(dialog->windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(!dialog->isModal());
  }

  void japaneseMessages() {
    const QString file = ModelFile(QStringLiteral("half.mdl"));
    auto window = MakeWindow(kJapanese);
    window->OpenChosenFile(file);
    QCOMPARE(window->StatusText(), file + QStringLiteral(" を読み込みました"));
    Find<QAction>(window.get(), "mnSave")->trigger();
    QCOMPARE(window->StatusText(), file + QStringLiteral("へ上書き保存しました"));
    window->SaveAsTo(work_->filePath(QStringLiteral("b.mdl")));
    QCOMPARE(window->StatusText(), work_->filePath(QStringLiteral("b.mdl")) + QStringLiteral("へ保存しました"));
    window->OpenChosenFile(work_->filePath(QStringLiteral("gone.mdl")));
    QCOMPARE(window->StatusText(), QStringLiteral("Error:ファイルが存在しません！！"));
    window->OpenChosenFile(ModelFile(QStringLiteral("part.md")));
    QCOMPARE(window->StatusText(), QStringLiteral("Error:ファイル名の拡張子が違います！！"));
  }

  void fileChecks_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("create");
    QTest::addColumn<QString>("status");
    QTest::newRow("missing") << "gone.mdl" << false << "Error:File not found!!";
    QTest::newRow("upper case") << "PART.MDL" << true << "Opend %1";
    QTest::newRow("mixed case") << "part.Mdl" << true << "Opend %1";
    QTest::newRow("short extension") << "part.md" << true << "Error:filename Extension!!";
    QTest::newRow("double extension") << "part.mdl.txt" << true << "Error:filename Extension!!";
    QTest::newRow("no extension") << "part" << true << "Error:filename Extension!!";
    QTest::newRow("folder") << "folder.mdl" << false << "Error:File not found!!";
  }

  void fileChecks() {
    QFETCH(QString, name);
    QFETCH(bool, create);
    QFETCH(QString, status);
    const QString path = create ? ModelFile(name) : work_->filePath(name);
    if (name == QLatin1String("folder.mdl")) QVERIFY(QDir().mkpath(path));
    auto window = MakeWindow();
    window->OpenChosenFile(path);
    QCOMPARE(window->StatusText(), status.contains(QLatin1String("%1")) ? status.arg(path) : status);
    QCOMPARE(window->WorkingDocument() != nullptr, status.startsWith(QLatin1String("Opend")));
    QVERIFY(window->ProgressBox()->isHidden());
  }

  void refusedOpenForgetsTheEarlierModelAndRefusesSave() {
    const QString file = ModelFile(QStringLiteral("half.mdl"));
    const QString wrong = ModelFile(QStringLiteral("other.md"));
    auto window = MakeWindow();
    window->OpenChosenFile(file);
    const QImage picture = DockedPicture(*window);
    window->OpenChosenFile(work_->filePath(QStringLiteral("gone.mdl")));
    QCOMPARE(window->StatusText(), QStringLiteral("Error:File not found!!"));
    // Nothing is left that would pass for the refused file's model.
    QVERIFY(!window->WorkingDocument());
    QVERIFY(Find<QPlainTextEdit>(window.get(), "Memo")->toPlainText().isEmpty());
    QVERIFY(DockedPicture(*window) != picture);
    QVERIFY(!Find<QToolButton>(window.get(), "sbtnSave")->isEnabled());
    // The current name is now the refused file: Save must not put anything there.
    window->OpenChosenFile(wrong);
    const QByteArray wrong_bytes = ReadAll(wrong);
    Find<QAction>(window.get(), "mnSave")->setEnabled(true);
    Find<QAction>(window.get(), "mnSave")->trigger();
    QCOMPARE(window->StatusText(), QStringLiteral("Error:this file was not opened, nothing saved!!"));
    QCOMPARE(ReadAll(wrong), wrong_bytes);
    QVERIFY(!QFile::exists(wrong + QStringLiteral(".bak")));
    QVERIFY(!QFile::exists(file + QStringLiteral(".bak")));
  }

  void dropOfThreeFilesOpensTheFirst() {
    const QStringList files = {ModelFile(QStringLiteral("a.mdl")), ModelFile(QStringLiteral("b.mdl")),
                               ModelFile(QStringLiteral("c.mdl"))};
    auto window = MakeWindow();
    QSignalSpy dropped(window->DropAccept(), &mk::FileDropAcceptor::OnDropped);
    QMimeData mime;
    QList<QUrl> urls;
    for (const QString& f : files) urls << QUrl::fromLocalFile(f);
    mime.setUrls(urls);
    const QPointF where(window->width() / 2.0, window->height() / 2.0);
    QDragEnterEvent enter(where.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(where, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.get(), &drop);
    QVERIFY(drop.isAccepted());
    // Handled from the event queue, after the drop event has returned.
    QCOMPARE(dropped.count(), 0);
    QTRY_COMPARE(dropped.count(), 1);
    QCOMPARE(window->DropAccept()->Files(), files);
    QCOMPARE(window->CurrentFileName(), files[0]);
    QCOMPARE(window->StatusText(), QStringLiteral("Mirrorknitted ") + files[0]);
  }

  void dropWithoutLocalFilesIsNotOffered() {
    auto window = MakeWindow();
    QMimeData mime;
    mime.setUrls({QUrl(QStringLiteral("https://example.invalid/x.mdl"))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    enter.setAccepted(false);
    QCoreApplication::sendEvent(window.get(), &enter);
    QVERIFY(!enter.isAccepted());
    window->DropAccept()->SetEnabled(false);
    QVERIFY(!window->acceptDrops());
  }

  void toleranceInTheUsersNotation_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("error");
    QTest::newRow("english point") << kEnglish << "0.4" << "";
    QTest::newRow("german comma") << kGerman << "0,4" << "";
    QTest::newRow("german point") << kGerman << "0.4" << "";
    QTest::newRow("blanks") << kEnglish << " 0.4 " << "";
    QTest::newRow("word") << kEnglish << "abc" << "'abc' is not a valid floating point value";
    QTest::newRow("empty") << kEnglish << "" << "'' is not a valid floating point value";
    QTest::newRow("infinity") << kEnglish << "inf" << "'inf' is not a valid floating point value";
    QTest::newRow("japanese") << kJapanese << "x" << "'x' は浮動小数点数ではありません";
  }

  void toleranceInTheUsersNotation() {
    QFETCH(QLocale, locale);
    QFETCH(QString, text);
    QFETCH(QString, error);
    const QString file = ModelFile(QStringLiteral("half.mdl"));
    auto window = MakeWindow(locale);
    Find<QLineEdit>(window.get(), "edGosa")->setText(text);
    const QString before = window->StatusText();
    auto message = error.isEmpty() ? nullptr : CloseNextMessageBox();
    window->OpenChosenFile(file);
    if (error.isEmpty()) {
      QVERIFY(window->StatusText().endsWith(file));
      return;
    }
    QCOMPARE(*message, error);
    // The open stops before the file is read: no documents, no dialog left; the status line
    // keeps the error until the next command.
    QCOMPARE(window->StatusText(), error);
    Q_UNUSED(before);
    QVERIFY(window->ProgressBox()->isHidden());
    QVERIFY(!window->WorkingDocument());
    QVERIFY(Find<QPlainTextEdit>(window.get(), "Memo")->toPlainText().isEmpty());
    // A Save now would write an undocked model over the user's file.
    Find<QAction>(window.get(), "mnSave")->trigger();
    QVERIFY(!QFile::exists(file + QStringLiteral(".bak")));
    QCOMPARE(ReadAll(file), QByteArray(kHalfModel));
  }

  void unreadableFileShowsTheErrorAndHidesTheProgress() {
    const QString file = ModelFile(QStringLiteral("broken.mdl"), "[MODELFILE]\r\n[MESH]\r\nCPs=1\r\n");
    auto window = MakeWindow();
    auto message = CloseNextMessageBox();
    window->OpenChosenFile(file);
    QVERIFY2(message->contains(QStringLiteral("List index")), qPrintable(*message));
    QVERIFY(message->startsWith(QStringLiteral("broken.mdl: ")));
    QVERIFY(window->ProgressBox()->isHidden());
    QCOMPARE(window->StatusText(), *message);
  }

  // ---- saving ----

  void saveMakesABackupAndWritesTheDocument() {
    const QString file = ModelFile(QStringLiteral("x.mdl"));
    WriteAll(file + QStringLiteral(".bak"), "an older backup");
    auto window = MakeWindow();
    window->OpenChosenFile(file);
    Find<QToolButton>(window.get(), "sbtnSave")->click();
    QCOMPARE(window->StatusText(), QStringLiteral("Saved as ") + file);
    QCOMPARE(window->SaveTargetName(), file);
    QCOMPARE(ReadAll(file + QStringLiteral(".bak")), QByteArray(kHalfModel));
    QCOMPARE(QString::fromLatin1(ReadAll(file)), SavedBytesOf(*window->WorkingDocument()));
  }

  void saveAsWithoutExtensionAddsIt() {
    const QString file = ModelFile(QStringLiteral("x.mdl"));
    auto window = MakeWindow();
    window->OpenChosenFile(file);
    const QString target = work_->filePath(QStringLiteral("y"));
    WhenModal([target](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      if (!dialog) {
        modal->close();
        return;
      }
      QCOMPARE(dialog->objectName(), QStringLiteral("SaveDialog"));
      QCOMPARE(QFileInfo(dialog->selectedFiles().value(0)).fileName(), QStringLiteral("x.mdl"));
      TypeIntoFileDialog(dialog, target);
    });
    Find<QToolButton>(window.get(), "sbtnSaveAs")->click();
    QCOMPARE(window->StatusText(), QStringLiteral("Saved ") + target + QStringLiteral(".mdl"));
    QCOMPARE(QString::fromLatin1(ReadAll(target + QStringLiteral(".mdl"))),
             SavedBytesOf(*window->WorkingDocument()));
    QVERIFY(!QFile::exists(target));
    QVERIFY(!QFile::exists(file + QStringLiteral(".bak")));
    QCOMPARE(ReadAll(file), QByteArray(kHalfModel));
  }

  void saveAsToTheOpenedNameInAnotherCaseMakesTheBackup() {
    const QString file = ModelFile(QStringLiteral("x.mdl"));
    auto window = MakeWindow();
    window->OpenChosenFile(file);
    window->SaveAsTo(work_->filePath(QStringLiteral("X.MDL")));
    QCOMPARE(ReadAll(file + QStringLiteral(".bak")), QByteArray(kHalfModel));
  }

  void segmentFileSavedAsANameWithoutExtensionGetsSeg() {
    const QString file = work_->filePath(QStringLiteral("x.seg"));
    QVERIFY(QFile::copy(QStringLiteral(MK_SOURCE_DIR "/examples/ring.seg"), file));
    const QByteArray original = ReadAll(file);
    auto window = MakeWindow();
    window->OpenChosenFile(file);
    QCOMPARE(window->StatusText(), QStringLiteral("Opend ") + file);
    window->SaveAsTo(work_->filePath(QStringLiteral("y")));
    const QString target = work_->filePath(QStringLiteral("y.seg"));
    QCOMPARE(window->StatusText(), QStringLiteral("Saved ") + target);
    QCOMPARE(QString::fromLatin1(ReadAll(target)), SavedBytesOf(*window->WorkingDocument()));
    QVERIFY(!QFile::exists(file + QStringLiteral(".bak")));
    QCOMPARE(ReadAll(file), original);
  }

  void withoutADocumentSaveDoesNothing() {
    auto window = MakeWindow();
    Find<QAction>(window.get(), "mnSave")->trigger();
    Find<QAction>(window.get(), "mnSaveAs")->trigger();  // no dialog may come up
    QCOMPARE(window->StatusText(), QStringLiteral("Ver5.03"));
    QVERIFY(!QApplication::activeModalWidget());
  }

  void failedSaveShowsTheErrorAndLeavesTheFiles() {
    const QString file = ModelFile(QStringLiteral("x.mdl"));
    auto window = MakeWindow();
    window->OpenChosenFile(file);
    const QString status = window->StatusText();

    // A target in a folder that does not exist cannot be created.
    auto message = CloseNextMessageBox();
    window->SaveAsTo(work_->filePath(QStringLiteral("nofolder/y.mdl")));
    QVERIFY2(message->startsWith(QStringLiteral("Cannot create file")), qPrintable(*message));
    QCOMPARE(window->StatusText(), *message);

    // A full disk while saving over the opened file: the file keeps its bytes.
    mk::SimulateDiskFullAfter(10);
    message = CloseNextMessageBox();
    Find<QToolButton>(window.get(), "sbtnSave")->click();
    QVERIFY2(message->startsWith(QStringLiteral("Cannot")), qPrintable(*message));
    QCOMPARE(ReadAll(file), QByteArray(kHalfModel));
    QCOMPARE(window->StatusText(), *message);
    mk::SimulateDiskFullAfter(-1);
    Q_UNUSED(status);

    // A read-only folder (permissions do not bind the superuser, who skips this part).
    if (geteuid() != 0) {
      QFile::remove(file + QStringLiteral(".bak"));
      QVERIFY(QFile::setPermissions(work_->path(), QFile::ReadOwner | QFile::ExeOwner));
      message = CloseNextMessageBox();
      Find<QToolButton>(window.get(), "sbtnSave")->click();
      QFile::setPermissions(work_->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
      QVERIFY2(message->startsWith(QStringLiteral("Cannot")), qPrintable(*message));
      QCOMPARE(ReadAll(file), QByteArray(kHalfModel));
      QVERIFY(!QFile::exists(file + QStringLiteral(".bak")));
    }
  }

  // ---- views ----

  void menuAndComboGiveTheSameView() {
    const QString file = ModelFile(QStringLiteral("half.mdl"));
    auto window = MakeWindow();
    window->OpenChosenFile(file);
    const QImage front = DockedPicture(*window);
    Find<QAction>(window.get(), "mnViewUe")->trigger();
    QCOMPARE(Find<QComboBox>(window.get(), "comboDir")->currentIndex(), 2);
    const QImage top_by_menu = DockedPicture(*window);
    QVERIFY(top_by_menu != front);
    Find<QAction>(window.get(), "mnViewMae")->trigger();
    QCOMPARE(DockedPicture(*window), front);
    auto* combo = Find<QComboBox>(window.get(), "comboDir");
    combo->setCurrentIndex(2);
    emit combo->activated(2);
    QCOMPARE(DockedPicture(*window), top_by_menu);
    Find<QAction>(window.get(), "mnViewHidari")->trigger();
    QCOMPARE(combo->currentIndex(), 1);
    QVERIFY(DockedPicture(*window) != front);
  }

  void idSwitchRedraws() {
    const QString file = ModelFile(QStringLiteral("half.mdl"));
    auto window = MakeWindow();
    window->OpenChosenFile(file);
    const QImage without = DockedPicture(*window);
    Find<QCheckBox>(window.get(), "chkDisplayCpid")->click();
    const QImage with = DockedPicture(*window);
    QVERIFY(with != without);
    Find<QCheckBox>(window.get(), "chkDisplayCpid")->click();
    QCOMPARE(DockedPicture(*window), without);
  }

  void resizeGivesEachImageABitmapOfItsSize_data() {
    QTest::addColumn<QSize>("size");
    QTest::newRow("wide") << QSize(900, 500);
    QTest::newRow("odd width") << QSize(641, 400);
    QTest::newRow("tiny") << QSize(120, 110);
  }

  void resizeGivesEachImageABitmapOfItsSize() {
    QFETCH(QSize, size);
    auto window = MakeWindow();
    window->resize(size);
    QCoreApplication::processEvents();
    auto* source = Find<mk::ImageBox>(window.get(), "ImageSrc");
    auto* docked = Find<mk::ImageBox>(window.get(), "ImageSD");
    const int client = window->centralWidget()->width();
    QCOMPARE(source->width(), client / 2);
    QCOMPARE(source->width() + docked->width(), client);
    for (mk::ImageBox* image : {source, docked}) {
      if (image->height() > 0) QCOMPARE(image->Bitmap().size(), image->size());
      else QVERIFY(image->Bitmap().isNull());
    }
    // Without a document each image shows the empty grid: the axes cross on black.
    if (docked->height() > 0)
      QCOMPARE(docked->Bitmap().pixel(1, 1) & 0xFFFFFFu, 0u);
  }

  void aboutBoxShowsTheVersion() {
    auto window = MakeWindow();
    auto text = std::make_shared<QString>();
    WhenModal([text](QWidget* modal) {
      if (auto* about = qobject_cast<mk::AboutBox*>(modal)) *text = about->label_info->text();
      modal->close();
    });
    Find<QAction>(window.get(), "mnAbout")->trigger();
    QCOMPARE(*text, QStringLiteral("Mirrorknit Ver5.03"));
    QCOMPARE(window->AboutWindow()->windowTitle(), QStringLiteral("Mirrorknit"));
  }

  void exitClosesTheWindow() {
    auto window = MakeWindow();
    Find<QAction>(window.get(), "mnExit")->trigger();
    QVERIFY(!window->isVisible());
  }

  void firstArgumentIsOpenedAtStart() {
    const QString file = ModelFile(QStringLiteral("start.mdl"));
    MainWindow window(file, kEnglish);
    QCOMPARE(window.CurrentFileName(), file);
    window.show();
    QTRY_COMPARE(window.StatusText(), QStringLiteral("Mirrorknitted ") + file);
    QVERIFY(window.WorkingDocument());
  }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
