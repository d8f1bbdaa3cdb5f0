// The window's dock report, markers, linked views, recent files and the question before a second
// docking, driven through object names. The report is made by hand here: a stand-in for the
// workflow hands it to the window, as it hands over a model that looks docked.

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>
#include <memory>

#include "GuiTestSupport.h"
#include "app/ImageBox.h"
#include "app/MainWindow.h"
#include "app/MarkerLegend.h"
#include "app/ProgressDialog.h"
#include "app/RecentFiles.h"
#include "app/ReportPanel.h"
#include "app/ViewNavigator.h"
#include "core/document/PointFinder.h"

using mk::MainWindow;
using mk::testing::Find;
using mk::testing::PixelsOf;
using mk::testing::ReadAll;
using mk::testing::WhenModal;

namespace {

const QLocale kEnglish(QLocale::English, QLocale::UnitedKingdom);
const QLocale kJapanese(QLocale::Japanese, QLocale::Japan);
const QString kHooks = QStringLiteral(MK_SOURCE_DIR "/examples/hooks.mdl");
const char* const kDockedReason = "points are mirrored in pairs across X=0";

mk::ReportPlace Place(std::int32_t id, long double x, long double y, long double z) {
  return {0, id, x, y, z};
}

/// A report for the hooks example with one entry of each kind the markers and the panel show.
mk::DockReport HandMadeReport() {
  mk::DockReport report;
  report.tolerance = 0.4;
  report.snapped = {{Place(1, 0, 6, 0), 0.2, 0.2}, {Place(4, 0, -4, 0), -0.1, 0.1}};
  report.near_misses = {{Place(7, 0.5, 5, 5), mk::NearMissKind::Point, 0.5}};
  report.attachments = {{Place(13, 6, 0, 4), mk::AttachmentProblem::MissingTarget, 99}};
  report.splines = {{0, 0, 1, 4, mk::SplineFate::ClosedThroughBothEnds}};
  report.corrections = {{Place(9, 4, 5, 4), mk::CorrectionKind::Hook, 9, 10}};
  return report;
}

/// The workflow with the given report put into the opened model.
mk::ModelOpener OpenerWithReport(mk::DockReport report) {
  return [report](const std::string& file, mk::FileKind kind, double tolerance, mk::ProgressBar* progress,
                  mk::WarningSink* warnings, const mk::DockOptions& options) {
    mk::OpenedModel model =
        mk::ReadAndDock(file, kind, tolerance, progress, warnings, mk::WithReference::Yes, options);
    model.report = report;
    return model;
  };
}

/// The workflow as it is for a model whose look says docked: the question decides.
mk::OpenedModel OpenLookingDocked(const std::string& file, mk::FileKind kind, double tolerance,
                                  mk::ProgressBar* progress, mk::WarningSink* warnings,
                                  const mk::DockOptions& options) {
  mk::DockedLook look{true, kDockedReason, mk::DockedLook::Sign::MirroredPairs, 1000};
  if (options.ask_before_redocking && !options.ask_before_redocking(look))
    return mk::ReadModel(file, kind, progress, warnings, mk::WithReference::Yes);
  return mk::ReadAndDock(file, kind, tolerance, progress, warnings, mk::WithReference::Yes);
}

QPoint PixelOfModelPoint(const mk::ProjectionView& view, long double x, long double y, long double z) {
  const mk::PlanePoint at = mk::PlanePointOf(view.Direction(), x, y, z);
  mk::PixelPoint pixel;
  view.PixelOf(at.h, at.v, pixel);
  return {pixel.x, pixel.y};
}

QTreeWidgetItem* GroupStartingWith(QTreeWidget* tree, const QString& start) {
  for (int i = 0; i < tree->topLevelItemCount(); ++i)
    if (tree->topLevelItem(i)->text(0).startsWith(start)) return tree->topLevelItem(i);
  return nullptr;
}

void Click(QTreeWidget* tree, QTreeWidgetItem* item) {
  tree->scrollToItem(item);
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
}

void Wheel(QWidget* image, QPoint at, int delta) {
  QWheelEvent wheel(at, image->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(image, &wheel);
}

}  // namespace

class ReportAndViewsTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir settings_dir_;
  std::unique_ptr<QTemporaryDir> work_;

  std::unique_ptr<MainWindow> MakeWindow(const QLocale& locale = kEnglish, QSize size = {801, 560}) {
    auto window = std::make_unique<MainWindow>(QString(), locale);
    window->resize(size);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get())) qWarning("window not exposed");
    QCoreApplication::processEvents();
    return window;
  }

  QString CopyOfHooks(const QString& name = QStringLiteral("hooks.mdl")) {
    const QString path = work_->filePath(name);
    QFile::remove(path);
    if (!QFile::copy(kHooks, path)) qWarning("copy failed");
    return path;
  }

  static QImage Picture(MainWindow& window, const char* image) {
    return Find<mk::ImageBox>(&window, image)->Bitmap().copy();
  }

  static void CompareFrames(const MainWindow& window) {
    QCOMPARE(window.SourceView().Frame(), window.DockedView().Frame());
  }

 private slots:
  void initTestCase() { mk::testing::KeepSettingsIn(settings_dir_); }

  void init() {
    QFile::remove(settings_dir_.filePath(QStringLiteral("Velmora/Halvo100.conf")));
    mk::testing::EnterFreshFolder(work_);
  }

  void cleanup() { mk::testing::LeaveFolder(work_); }

  // ---- texts and layout ----

  void newTextsInBothLanguages_data() {
    mk::testing::AddInterfaceTextRows({
        {"mnRecent", "最近使ったファイル(&R)", "&Recent Files"},
        {"mnRecentNone", "（なし）", "(none)"},
        {"mnViewFit", "全体表示(&W)", "Fit to &Window"},
        {"mnViewReport", "ドッキング報告(&R)", "Dock &Report"},
        {"sbtnFit", "全体", "Fit"},
        {"sbtnReport", "報告", "Report"},
        {"ReportPanel", "ドッキング報告", "Dock Report"},
    });
  }

  void newTextsInBothLanguages() {
    QFETCH(bool, japanese);
    QFETCH(QString, component);
    QFETCH(QString, expected);
    auto window = MakeWindow(japanese ? kJapanese : kEnglish);
    QObject* object = window->findChild<QObject*>(component);
    QVERIFY2(object, qPrintable(component));
    QString actual;
    if (auto* menu = qobject_cast<QMenu*>(object)) actual = menu->title();
    else if (auto* action = qobject_cast<QAction*>(object)) actual = action->text();
    else if (auto* button = qobject_cast<QToolButton*>(object)) actual = button->text();
    else if (auto* panel = qobject_cast<QDockWidget*>(object)) actual = panel->windowTitle();
    QCOMPARE(actual, expected);
  }

  void viewToolsLeaveTheLayoutAlone() {
    auto window = MakeWindow(kEnglish, {520, 378});
    QMenuBar* bar = window->menuBar();
    const int with_tools = bar->sizeHint().height();
    QWidget* tools = bar->cornerWidget(Qt::TopRightCorner);
    QCOMPARE(tools->objectName(), QStringLiteral("ViewTools"));
    bar->setCornerWidget(nullptr, Qt::TopRightCorner);
    QCOMPARE(bar->sizeHint().height(), with_tools);
    // Until the user asks for it, the panel takes no room from the pictures.
    QVERIFY(window->ReportBox()->isHidden());
    QCOMPARE(window->centralWidget()->width(), window->width());
    QCOMPARE(Find<QAction>(window.get(), "mnViewFit")->shortcut(), QKeySequence(Qt::Key_Home));
  }

  // ---- markers and the report panel ----

  void markersAppearInTheDockedPictureOnly() {
    const QString file = CopyOfHooks();
    auto plain = MakeWindow();
    plain->SetModelOpener(OpenerWithReport({}));
    plain->OpenChosenFile(file);
    const QImage without = Picture(*plain, "ImageSD");
    QVERIFY(!plain->Legend()->isVisible());

    auto window = MakeWindow();
    window->SetModelOpener(OpenerWithReport(HandMadeReport()));
    window->OpenChosenFile(file);
    // The panel opened for the near miss; put away, the views are as wide as in the plain window.
    Find<QAction>(window.get(), "mnViewReport")->trigger();
    QCoreApplication::processEvents();
    const QImage docked = Picture(*window, "ImageSD");
    const QImage source = Picture(*window, "ImageSrc");
    for (mk::MarkerKind kind : mk::kMarkerKinds) {
      const mk::Rgb colour = mk::MarkerColour(kind);
      QVERIFY2(PixelsOf(docked, colour) >= 10, qPrintable(QString::number(colour, 16)));
      QCOMPARE(PixelsOf(source, colour), 0);
      QCOMPARE(PixelsOf(without, colour), 0);
    }
    // Away from the markers the model's pixels are those of a picture without them.
    const QPoint snapped = PixelOfModelPoint(window->DockedView(), 0, 6, 0);
    QCOMPARE(docked.pixel(snapped.x() + 4, snapped.y()) & 0xFFFFFFu, mk::MarkerColour(mk::MarkerKind::Snapped));
    int changed = 0;
    for (int y = 0; y < docked.height(); ++y)
      for (int x = 0; x < docked.width(); ++x)
        if (docked.pixel(x, y) != without.pixel(x, y)) ++changed;
    QVERIFY(changed > 0 && changed < 4 * 11 * 11);

    mk::MarkerLegend* legend = window->Legend();
    QVERIFY(legend->isVisible());
    QCOMPARE(legend->parentWidget(), Find<QWidget>(window.get(), "ImageSD"));
    QCOMPARE(legend->Lines(), QStringList({QStringLiteral("Snapped onto the plane (2)"),
                                           QStringLiteral("Near miss (1)"),
                                           QStringLiteral("Unresolved attachment (1)")}));

    // An empty report leaves the picture exactly as it was.
    window->SetModelOpener(OpenerWithReport({}));
    window->OpenChosenFile(file);
    QCOMPARE(Picture(*window, "ImageSD"), without);
    QVERIFY(!legend->isVisible());
  }

  void reportPanelGroupsTheEntriesWithCounts() {
    const QString file = CopyOfHooks();
    auto window = MakeWindow();
    window->SetModelOpener(OpenerWithReport(HandMadeReport()));
    window->OpenChosenFile(file);
    // A near miss is a seam fault: the panel opens by itself.
    mk::ReportPanel* panel = window->ReportBox();
    QVERIFY(panel->isVisible());
    QVERIFY(Find<QAction>(window.get(), "mnViewReport")->isChecked());
    auto* tree = Find<QTreeWidget>(window.get(), "ReportTree");
    QStringList groups;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) groups << tree->topLevelItem(i)->text(0);
    QCOMPARE(groups, QStringList({"Near misses (1)", "Unresolved attachments (1)", "Snapped points (2)",
                                  "Corrections (1)", "Splines (1)"}));
    QCOMPARE(tree->topLevelItem(0)->child(0)->text(0), QStringLiteral("CP 7  0.5 from the plane"));
    QCOMPARE(tree->topLevelItem(1)->child(0)->text(0), QStringLiteral("CP 13  target 99 does not exist"));
    QCOMPARE(tree->topLevelItem(2)->child(1)->text(0), QStringLiteral("CP 4  x -0.1 → 0 (moved 0.1)"));
    QCOMPARE(tree->topLevelItem(4)->child(0)->text(0),
             QStringLiteral("spline 0  CP 1–4  closed through both ends"));

    // The panel can be put away and brought back from the View menu.
    Find<QAction>(window.get(), "mnViewReport")->trigger();
    QVERIFY(panel->isHidden());
    Find<QAction>(window.get(), "mnViewReport")->trigger();
    QVERIFY(panel->isVisible());

    // Without faults the panel keeps the state the user left it in.
    Find<QAction>(window.get(), "mnViewReport")->trigger();
    mk::DockReport quiet;
    quiet.snapped = HandMadeReport().snapped;
    window->SetModelOpener(OpenerWithReport(quiet));
    window->OpenChosenFile(file);
    QVERIFY(panel->isHidden());
    QCOMPARE(tree->topLevelItemCount(), 1);
  }

  void choosingAnEntryCentresBothViewsOnIt_data() {
    QTest::addColumn<QString>("group");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<double>("z");
    QTest::newRow("near miss") << "Near misses" << 0.5 << 5.0 << 5.0;
    QTest::newRow("attachment") << "Unresolved" << 6.0 << 0.0 << 4.0;
    QTest::newRow("snapped") << "Snapped" << 0.0 << 6.0 << 0.0;
    // A spline leads to its first point, found by its id in the docked model.
    QTest::newRow("spline") << "Splines" << 0.0 << 6.0 << 0.0;
  }

  void choosingAnEntryCentresBothViewsOnIt() {
    QFETCH(QString, group);
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(double, z);
    auto window = MakeWindow();
    window->SetModelOpener(OpenerWithReport(HandMadeReport()));
    window->OpenChosenFile(CopyOfHooks());
    // Zoomed in first: the centring keeps the zoom.
    auto* docked = Find<mk::ImageBox>(window.get(), "ImageSD");
    Wheel(docked, QPoint(10, 10), 240);
    const long double scale = window->DockedView().Scale();
    auto* tree = Find<QTreeWidget>(window.get(), "ReportTree");
    QTreeWidgetItem* entries = GroupStartingWith(tree, group);
    QVERIFY(entries);
    entries->setExpanded(true);
    Click(tree, entries->child(0));
    CompareFrames(*window);
    QCOMPARE(window->DockedView().Scale(), scale);
    for (const mk::ProjectionView* view : {&window->DockedView(), &window->SourceView()}) {
      const QPoint at = PixelOfModelPoint(*view, x, y, z);
      QVERIFY2(std::abs(at.x() - docked->width() / 2) <= 1, qPrintable(QString::number(at.x())));
      QVERIFY2(std::abs(at.y() - docked->height() / 2) <= 1, qPrintable(QString::number(at.y())));
    }
  }

  // ---- zoom, pan, fit and hover ----

  void zoomPanAndFitKeepBothViewsAtOneScale_data() {
    QTest::addColumn<QSize>("size");
    QTest::newRow("even width") << QSize(800, 560);
    // The source view is a pixel narrower; it must not fit on its own.
    QTest::newRow("odd width") << QSize(801, 500);
  }

  void zoomPanAndFitKeepBothViewsAtOneScale() {
    QFETCH(QSize, size);
    auto window = MakeWindow(kEnglish, size);
    window->OpenChosenFile(CopyOfHooks());
    auto* docked = Find<mk::ImageBox>(window.get(), "ImageSD");
    auto* source = Find<mk::ImageBox>(window.get(), "ImageSrc");
    const mk::ViewFrame fit = window->DockedView().Frame();
    const QImage fitted = Picture(*window, "ImageSD");
    CompareFrames(*window);

    // The wheel zooms around the cursor: the model point under it stays there.
    const QPoint cursor(docked->width() / 3, docked->height() / 4);
    const mk::PlanePoint under = mk::PlanePointAt(fit, cursor.x(), cursor.y());
    Wheel(docked, cursor, 120);
    CompareFrames(*window);
    QVERIFY(std::abs(static_cast<double>(window->DockedView().Scale() / fit.scale) - 1.25) < 1e-12);
    const mk::PlanePoint still = mk::PlanePointAt(window->DockedView().Frame(), cursor.x(), cursor.y());
    QVERIFY(std::abs(static_cast<double>(still.h - under.h)) * static_cast<double>(fit.scale) < 1);
    QVERIFY(std::abs(static_cast<double>(still.v - under.v)) * static_cast<double>(fit.scale) < 1);
    QVERIFY(Picture(*window, "ImageSD") != fitted);
    // Zooming out from the source view moves both as well.
    Wheel(source, cursor, -240);
    CompareFrames(*window);
    QVERIFY(window->DockedView().Scale() < fit.scale);

    // A drag in either view moves both pictures by the mouse's way.
    const mk::ViewFrame before = window->DockedView().Frame();
    QTest::mousePress(source, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(source, QPoint(130, 90));
    QTest::mouseMove(source, QPoint(150, 80));
    QTest::mouseRelease(source, Qt::LeftButton, {}, QPoint(150, 80));
    CompareFrames(*window);
    QCOMPARE(window->DockedView().Frame().origin_x - before.origin_x, 50);
    QCOMPARE(window->DockedView().Frame().origin_y - before.origin_y, -20);

    // Home, as the View menu's Fit, is the first picture again.
    docked->setFocus();
    QTest::keyClick(docked, Qt::Key_Home);
    QCOMPARE(window->DockedView().Frame(), fit);
    CompareFrames(*window);
    QCOMPARE(Picture(*window, "ImageSD"), fitted);
    Wheel(docked, cursor, 120);
    Find<QToolButton>(window.get(), "sbtnFit")->click();
    QCOMPARE(window->DockedView().Frame(), fit);

    // A new direction starts from its fit.
    Wheel(docked, cursor, 120);
    Find<QAction>(window.get(), "mnViewUe")->trigger();
    QVERIFY(window->Navigator()->Zoom().IsFit());
    CompareFrames(*window);
  }

  void hoverShowsTheIdAndCoordinates() {
    auto window = MakeWindow();
    window->OpenChosenFile(CopyOfHooks());
    auto* docked = Find<mk::ImageBox>(window.get(), "ImageSD");
    auto* source = Find<mk::ImageBox>(window.get(), "ImageSrc");
    // Point 16 of the file lies at (3, -3, 6) and keeps its place in the docked model.
    const mk::PointFinder finder(*window->WorkingDocument(), mk::kFrontView);
    const auto point = finder.Nearest({3, -3}, 0.01L);
    QVERIFY(point);
    const QPoint at = PixelOfModelPoint(window->DockedView(), 3, -3, 6);
    QTest::mouseMove(docked, at + QPoint(2, -1));
    const QString expected = QStringLiteral("CP %1  (3, -3, 6)").arg(point->id);
    QCOMPARE(window->Navigator()->HoverText(), expected);
    QCOMPARE(docked->toolTip(), expected);
    // The source view shows the file as read, with its own ids.
    QTest::mouseMove(source, at);
    QCOMPARE(source->toolTip(), QStringLiteral("CP 16  (3, -3, 6)"));
    QVERIFY(docked->toolTip().isEmpty());
    QTest::mouseMove(source, QPoint(2, 2));
    QVERIFY(source->toolTip().isEmpty());
  }

  // ---- recent files ----

  void recentFilesListUpdatesAndSurvivesARestart() {
    QStringList files;
    for (int i = 1; i <= 9; ++i) files << CopyOfHooks(QStringLiteral("m%1.mdl").arg(i));
    {
      auto window = MakeWindow();
      QVERIFY(Find<QAction>(window.get(), "mnRecentNone"));
      for (const QString& file : files) window->OpenChosenFile(file);
      window->OpenChosenFile(files[3]);
      QStringList expected = {files[3], files[8], files[7], files[6], files[5], files[4], files[2], files[1]};
      QCOMPARE(window->RecentFiles()->Files(), expected);
      QVERIFY(Find<QAction>(window.get(), "mnRecent1")->text().endsWith(QStringLiteral("m4.mdl")));
      QVERIFY(!Find<QAction>(window.get(), "mnRecent9"));
    }
    QVERIFY(QFile::remove(files[8]));
    auto again = MakeWindow();
    QCOMPARE(again->RecentFiles()->Files().size(), 8);
    QCOMPARE(again->RecentFiles()->Files().value(0), files[3]);
    // A file that is gone stays, greyed; opening the menu checks again.
    auto* menu = Find<QMenu>(again.get(), "mnRecent");
    emit menu->aboutToShow();
    QVERIFY(!Find<QAction>(again.get(), "mnRecent2")->isEnabled());
    QVERIFY(Find<QAction>(again.get(), "mnRecent3")->isEnabled());
    Find<QAction>(again.get(), "mnRecent3")->trigger();
    QTRY_COMPARE(again->CurrentFileName(), files[7]);
    QCOMPARE(again->RecentFiles()->Files().value(0), files[7]);
  }

  void recentListTakesEachFileOnce() {
    using mk::WithRecentFile;
    QCOMPARE(WithRecentFile({}, QStringLiteral("a")), QStringList({"a"}));
    QCOMPARE(WithRecentFile({"a", "b", "c"}, QStringLiteral("c")), QStringList({"c", "a", "b"}));
    QCOMPARE(WithRecentFile({"1", "2", "3", "4", "5", "6", "7", "8"}, QStringLiteral("9")),
             QStringList({"9", "1", "2", "3", "4", "5", "6", "7"}));
  }

  // ---- the question before a second docking ----

  void modelThatLooksDockedIsDockedOnlyWhenTheUserSaysSo_data() {
    QTest::addColumn<bool>("japanese");
    QTest::addColumn<bool>("yes");
    QTest::newRow("en no") << false << false;
    QTest::newRow("en yes") << false << true;
    QTest::newRow("ja no") << true << false;
  }

  void modelThatLooksDockedIsDockedOnlyWhenTheUserSaysSo() {
    QFETCH(bool, japanese);
    QFETCH(bool, yes);
    const QString file = CopyOfHooks();
    const QByteArray bytes = ReadAll(file);
    auto window = MakeWindow(japanese ? kJapanese : kEnglish);
    window->SetModelOpener(OpenLookingDocked);
    auto question = std::make_shared<QString>();
    auto name = std::make_shared<QString>();
    WhenModal([question, name, yes](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      if (!box) {
        modal->close();
        return;
      }
      *question = box->text();
      *name = box->objectName();
      box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
    });
    window->OpenChosenFile(file);
    QCOMPARE(*name, QStringLiteral("RedockBox"));
    // The reason in the interface language, with the ids' offset.
    const QString reason = japanese ? QStringLiteral("点がX=0をはさんで対になっていて")
                                    : QString::fromLatin1(kDockedReason);
    QVERIFY2(question->contains(reason), qPrintable(*question));
    QVERIFY2(question->contains(QStringLiteral("1000")) || !japanese, qPrintable(*question));
    QVERIFY(window->ProgressBox()->isHidden());
    QCOMPARE(window->ModelDocked(), yes);
    if (yes) {
      QCOMPARE(window->StatusText(), QStringLiteral("Opend ") + file);
      QVERIFY(!Find<QPlainTextEdit>(window.get(), "Memo")->toPlainText().isEmpty());
      return;
    }
    QCOMPARE(window->StatusText(),
             japanese ? file + QStringLiteral(" はドッキングせず、読み込んだまま表示しています（保存しません）")
                      : QStringLiteral("Not docked: ") + file + QStringLiteral(" is shown as read, nothing saved"));
    QVERIFY(Find<QPlainTextEdit>(window.get(), "Memo")->toPlainText().isEmpty());
    QVERIFY(!Find<QToolButton>(window.get(), "sbtnSave")->isEnabled());
    QVERIFY(!Find<QToolButton>(window.get(), "sbtnSaveAs")->isEnabled());
    // The model shown is the file as read, and nothing writes it.
    QVERIFY(window->WorkingDocument());
    mk::LineWriter lines;
    window->WorkingDocument()->SaveToLines(lines);
    mk::LineWriter read;
    window->ReferenceDocument()->SaveToLines(read);
    QCOMPARE(lines.Bytes(), read.Bytes());
    QVERIFY(!Find<QAction>(window.get(), "mnSave")->isEnabled());
    // Should a save come through anyway, it refuses in words.
    Find<QAction>(window.get(), "mnSave")->setEnabled(true);
    Find<QAction>(window.get(), "mnSave")->trigger();
    QCOMPARE(window->StatusText(), japanese ? QStringLiteral("Error:ドッキングしていないので保存しません！！")
                                            : QStringLiteral("Error:this model is not docked, nothing saved!!"));
    window->SaveAsTo(work_->filePath(QStringLiteral("copy.mdl")));
    QVERIFY(!QFile::exists(work_->filePath(QStringLiteral("copy.mdl"))));
    QCOMPARE(ReadAll(file), bytes);
    QVERIFY(!QFile::exists(file + QStringLiteral(".bak")));
  }

  void dockedFileFromTheWorkflowAsksFirst() {
    // The real look check: a file the program docked, opened again.
    auto window = MakeWindow();
    window->OpenChosenFile(CopyOfHooks());
    const QString docked_file = work_->filePath(QStringLiteral("whole.mdl"));
    window->SaveAsTo(docked_file);
    {
      auto again = mk::ReadModel(docked_file.toStdString(), mk::FileKind::Model, nullptr, nullptr,
                                 mk::WithReference::No);
      if (!mk::LooksDocked(*again.working).looks_docked) QSKIP("this build's look check never says docked");
    }
    auto asked = std::make_shared<bool>(false);
    WhenModal([asked](QWidget* modal) {
      if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        *asked = box->objectName() == QLatin1String("RedockBox");
        box->button(QMessageBox::No)->click();
      } else {
        modal->close();
      }
    });
    window->OpenChosenFile(docked_file);
    QVERIFY(*asked);
    QVERIFY(!window->ModelDocked());
  }
};

QTEST_MAIN(ReportAndViewsTest)
#include "ReportAndViewsTest.moc"
