#include "app/MainWindow.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QGuiApplication>
#include <QIcon>
#include <QKeySequence>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <QShowEvent>
#include <QStatusBar>
#include <QToolButton>
#include <cmath>
#include <exception>
#include <utility>

#include "app/FileDrop.h"
#include "app/FileNames.h"
#include "app/ImageBox.h"
#include "app/MarkerLegend.h"
#include "app/RecentFiles.h"
#include "app/RedockQuestion.h"
#include "app/ReportPanel.h"
#include "app/ViewNavigator.h"
#include "app/Settings.h"
#include "app/StatusLine.h"
#include "app/ToleranceBox.h"
#include "app/WindowState.h"
#include "app/AboutBox.h"
#include "app/ProgressDialog.h"
#include "core/util/Errors.h"
#include "core/util/NumberText.h"
#include "core/workflow/ErrorPlace.h"
#include "core/workflow/Workflow.h"

static void InitIconResources() { Q_INIT_RESOURCE(icons); }

namespace mk {
namespace {

constexpr int kPanelHeight = 97;
const char* const kFileFilter = "AniMas ModelFile(seg,mdl) (*.seg *.mdl)";

}  // namespace

MainWindow::MainWindow(const QString& first_argument, const QLocale& locale, QWidget* parent)
    : QMainWindow(parent), locale_(locale) {
  InitIconResources();
  setObjectName(QStringLiteral("frmMain"));
  BuildWindow();
  FormCreate(first_argument);
  frmMatu_ = new ProgressDialog(this);
  frmAbout_ = new AboutBox(this);
}

MainWindow::~MainWindow() { FormDestroy(); }

// ---- start, show, resize and end ----

void MainWindow::FormCreate(const QString& first_argument) {
  LoadSettings();
  texts_.japanese = IsJapaneseLocale(locale_);
  if (!texts_.japanese) ApplyEnglishTexts();
  if (!first_argument.isEmpty()) current_file_name_ = QFileInfo(first_argument).absoluteFilePath();
  comboDir->setCurrentIndex(0);
  for (ProjectionView* view : {&docked_view_, &source_view_}) {
    view->SetRange(-100, 100, 100, -100);
    view->SetDirection(kFrontView);
  }
  UpdateTitle();
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!event->spontaneous() && !shown_) {
    shown_ = true;
    FormShow();
  }
}

void MainWindow::FormShow() {
  ShowStatus(start_note_.isEmpty() ? QString::fromLatin1(kVersionText) : start_note_);
  // The file named on the command line is opened once the window is on screen, so that the
  // progress dialog and any error appear over it.
  if (!current_file_name_.isEmpty()) {
    QMetaObject::invokeMethod(
        this, [this] { Guarded([this] { OpenAndDock(); }); }, Qt::QueuedConnection);
  }
}

void MainWindow::closeEvent(QCloseEvent* event) {
  SaveWindowState(*this);
  QMainWindow::closeEvent(event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == client_ && event->type() == QEvent::Resize) FormResize();
  if (event->type() == QEvent::ShortcutOverride && watched != client_ &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Home) {
    event->ignore();  // the Fit shortcut takes it
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::FormResize() {
  Resize_virtual_screen();
  Guarded([this] { RedrawViews(); });
}

void MainWindow::FormDestroy() {
  SaveSettings();
  FreeDocuments();
}

void MainWindow::LoadSettings() {
  const MainSettings s = LoadMainSettings();
  open_dialog_dir_ = s.openDialogDir;
  // A tolerance that is no number would refuse every open; the default takes its place.
  stored_tolerance_ = s.gosa;
  if (!ToleranceBox::Read(s.gosa, locale_)) {
    stored_tolerance_ = MainSettings().gosa;
    start_note_ = StatusTexts{IsJapaneseLocale(locale_)}.ToleranceReset(s.gosa, stored_tolerance_);
  }
  edGosa->setText(stored_tolerance_);
  chkDisplayCpid->setChecked(s.displayCpid);
  recent_->SetFiles(s.recentFiles);
}

void MainWindow::SaveSettings() {
  MainSettings s;
  s.openDialogDir = open_dialog_dir_;
  // Only a number is written: a word would break every later start.
  if (const std::optional<QString> text = edGosa->StoredText()) stored_tolerance_ = *text;
  s.gosa = stored_tolerance_;
  s.displayCpid = chkDisplayCpid->isChecked();
  s.recentFiles = recent_->Files();
  SaveMainSettings(s);
}

// ---- the document workflow ----

void MainWindow::FreeDocuments() {
  navigator_->SetDocuments(nullptr, nullptr, comboDir->currentIndex());
  session_.Clear();
}

void MainWindow::ForgetDocuments() {
  FreeDocuments();
  markers_.clear();
  legend_->SetMarkers(markers_);
  report_panel_->Clear();
  Memo->clear();
  Resize_virtual_screen();  // empty views, grid only
  UpdateSaveCommands();
  UpdateTitle();
}

bool MainWindow::OpenAndDock() {
  const QFileInfo info(current_file_name_);
  const bool missing = !info.exists() || info.isDir();
  if (missing || (FileKindOf(ToFileName(current_file_name_)) == FileKind::Other)) {
    frmMatu_->hide();
    // The views no longer show a model that the status line would not name.
    ForgetDocuments();
    ShowStatus(missing ? texts_.FileMissing() : texts_.WrongExtension());
    return false;
  }
  ReadIntoSession(false);
  return session_.Docked();
}

void MainWindow::DockAgain() {
  if (session_.FileName().isEmpty()) return;
  current_file_name_ = session_.FileName();
  Guarded([this] {
    ReadIntoSession(true);
  });
}

void MainWindow::ReadIntoSession(bool again) {
  frmMatu_->Start();
  const QString file_name = again ? session_.FileName() : current_file_name_;
  warnings_.warnings.clear();
  // A failed read leaves nothing behind that looks current.
  struct ForgetOnError {
    MainWindow* window;
    bool done = false;
    ~ForgetOnError() {
      if (!done) window->ForgetDocuments();
    }
  } forget{this};
  navigator_->SetDocuments(nullptr, nullptr, comboDir->currentIndex());
  // A tolerance that is no number stops the open before the file is read.
  const double tolerance = Tolerance();
  mk::DockOptions options;
  options.with_report = true;
  options.ask_before_redocking = [this](const DockedLook& look) {
    // The progress dialog stays on top and would cover the question.
    frmMatu_->hide();
    const bool dock = AskToDockAgain(this, look, report_texts_);
    if (dock) frmMatu_->show();
    return dock;
  };
  const QString attach_folder = WorkInAWritableFolder();
  reading_file_ = file_name;
  if (again)
    session_.DockAgain(tolerance, frmMatu_, &warnings_, options);
  else
    session_.Open(file_name, tolerance, frmMatu_, &warnings_, options);
  reading_file_.clear();
  forget.done = true;
  ShowSession();
  recent_->Add(file_name);
  if (!session_.Docked()) {
    ShowStatus(texts_.LeftUndocked(file_name));
    return;
  }
  QString status = texts_.Docked(file_name) + WarningsText();
  const QString attach_report = attach_folder + QStringLiteral("/attach_err.txt");
  if (!attach_folder.isEmpty() && !Report().attachments.empty() && QFileInfo::exists(attach_report))
    status += QStringLiteral("  ") + texts_.AttachReportAt(QDir::toNativeSeparators(attach_report));
  ShowStatus(status);
}

void MainWindow::ShowSession() {
  // A new model starts from the fit; the markers are set before the views are drawn.
  navigator_->SetDocuments(session_.Reference(), session_.Working(), comboDir->currentIndex());
  ShowReport();
  RedrawViews();
  frmMatu_->hide();
  Memo->clear();
  if (session_.Docked())
    for (const std::string& line : StatisticsLines(Statistics()))
      Memo->appendPlainText(QString::fromStdString(line));
  UpdateSaveCommands();
  UpdateTitle();
}

QString MainWindow::WorkInAWritableFolder() {
  if (QFileInfo(QDir::currentPath()).isWritable()) return QString();
  // Started from a desktop menu, the program may sit in a folder it cannot write; the list
  // then goes beside the model, where the user looks for it.
  const QString folder = QFileInfo(current_file_name_).absolutePath();
  QDir::setCurrent(folder);
  return folder;
}

void MainWindow::UpdateSaveCommands() {
  // A model shown as read is not saved: saving would only copy the file.
  const bool can_save = session_.CanSave();
  for (QToolButton* button : {sbtnSave, sbtnSaveAs}) button->setEnabled(can_save);
  for (QAction* action : {mnSave, mnSaveAs}) action->setEnabled(can_save);
  mnDockAgain->setEnabled(!session_.FileName().isEmpty());
}

void MainWindow::UpdateTitle() {
  const QString caption = QString::fromLatin1(kProgramCaption);
  const QString name = session_.FileName();
  setWindowTitle(name.isEmpty() ? caption
                                : caption + QStringLiteral(" - ") + QFileInfo(name).fileName());
}

double MainWindow::Tolerance() const {
  if (const std::optional<double> value = edGosa->Value()) return *value;
  // Raises the conversion error with the text as typed.
  return StrToFloat(edGosa->text().trimmed().toStdString());
}

QString MainWindow::WarningsText() const {
  QString text;
  const Language language = texts_.japanese ? Language::Japanese : Language::English;
  for (const DockWarning& warning : warnings_.warnings)
    text += QStringLiteral("  ") + QString::fromUtf8(warning.Message(language));
  return text;
}

void MainWindow::sbtnOpenClick() {
  QFileDialog dialog(this, QString(), open_dialog_dir_, QString::fromLatin1(kFileFilter));
  dialog.setObjectName(QStringLiteral("OpenDialog"));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  OpenChosenFile(dialog.selectedFiles().constFirst());
}

void MainWindow::OpenChosenFile(const QString& file_name) {
  const QFileInfo info(file_name);
  open_dialog_dir_ = QDir::toNativeSeparators(info.absolutePath() + QLatin1Char('/'));
  current_file_name_ = info.absoluteFilePath();
  Guarded([this] {
    // A refused file keeps its error message in view rather than the read message.
    if (OpenAndDock()) ShowStatus(texts_.Opened(current_file_name_) + WarningsText());
  });
}

void MainWindow::DropAcceptDropped(QObject* /*sender*/) {
  if (drop_accept_->Files().isEmpty()) return;
  current_file_name_ = QFileInfo(drop_accept_->Files().constFirst()).absoluteFilePath();
  Guarded([this] { OpenAndDock(); });
}

void MainWindow::mnDockAgainClick() { DockAgain(); }

void MainWindow::sbtnSaveClick() {
  if (!session_.Working()) {
    if (!current_file_name_.isEmpty()) ShowStatus(texts_.NothingToSave());
    return;
  }
  if (!session_.Docked()) {
    ShowStatus(texts_.NotDockedNothingToSave());
    return;
  }
  // After a refused or failed open the documents are not those of the current name: writing them
  // there (or writing a half-read document at all) would overwrite the user's file with
  // something else.
  if (session_.FileName() != current_file_name_) {
    ShowStatus(texts_.NothingToSave());
    return;
  }
  Guarded([this] {
    save_target_name_ = session_.SaveOver();
    ShowStatus(texts_.SavedOver(save_target_name_));
  });
}

void MainWindow::sbtnSaveAsClick() {
  if (!session_.Working()) return;
  if (!session_.Docked()) {
    ShowStatus(texts_.NotDockedNothingToSave());
    return;
  }
  QFileDialog dialog(this, QString(), QString(), QString::fromLatin1(kFileFilter));
  dialog.setObjectName(QStringLiteral("SaveDialog"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.selectFile(session_.FileName());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  SaveAsTo(dialog.selectedFiles().constFirst());
}

void MainWindow::SaveAsTo(const QString& target_name) {
  if (!session_.CanSave()) return;
  Guarded([this, &target_name] {
    // The backup and the default extension follow the file the document came from.
    save_target_name_ = session_.SaveAs(target_name);
    ShowStatus(texts_.SavedAs(save_target_name_));
  });
}

void MainWindow::ShowStatus(const QString& text) {
  status_text_->SetFullText(text);
  error_in_status_ = false;
}

void MainWindow::ClearStaleError() {
  if (error_in_status_) ShowStatus(QString());
}

QString MainWindow::StatusText() const { return status_text_->FullText(); }

QString MainWindow::ErrorText(const Error& error) const {
  const Language language = texts_.japanese ? Language::Japanese : Language::English;
  const QString message = QString::fromUtf8(error.Message(language));
  if (reading_file_.isEmpty() || dynamic_cast<const FileError*>(&error)) return message;
  const QString name = QFileInfo(reading_file_).fileName();
  const std::int64_t line = LineOfError(ToFileName(reading_file_), error);
  return line > 0 ? texts_.AtLine(name, line, message) : texts_.InFile(name, message);
}

template <typename Work>
void MainWindow::Guarded(Work&& work) {
  try {
    work();
  } catch (const Error& e) {
    if (frmMatu_) frmMatu_->hide();
    const QString text = ErrorText(e);
    reading_file_.clear();
    ShowStatus(text);
    error_in_status_ = true;
    ReportError(text);
  } catch (const std::exception& e) {
    if (frmMatu_) frmMatu_->hide();
    reading_file_.clear();
    ShowStatus(FromCoreText(e.what()));
    error_in_status_ = true;
    ReportError(FromCoreText(e.what()));
  }
}

void MainWindow::ReportError(const QString& text) {
  QMessageBox box(QMessageBox::Critical, QStringLiteral("Mirrorknit"), text, QMessageBox::Ok,
                  this);
  box.setObjectName(QStringLiteral("ErrorBox"));
  box.exec();
}

// ---- views ----

void MainWindow::ShowReport() {
  markers_ = MarkersOf(Report());
  legend_->SetMarkers(markers_);
  report_panel_->Show(Report());
  if (Report().HasSeamFaults() && report_panel_->isHidden()) {
    report_panel_->show();
    // A quarter of the window: the views keep the most of it.
    resizeDocks({report_panel_}, {std::max(120, height() / 4)}, Qt::Vertical);
  }
}

ViewFrame MainWindow::DockedFit() const {
  if (!session_.Working()) return {};
  const ViewRange range = CurrentRange();
  return FitFrame(WidenedEdges(range.h_min, range.v_max, range.h_max, range.v_min),
                  ImageSD->width(), ImageSD->height());
}

ViewRange MainWindow::CurrentRange() const {
  const int direction = comboDir->currentIndex();
  // Only a docking finds the bounds; a model shown as read is framed by its points.
  return session_.Docked() ? RangeForDirection(*session_.Working(), direction)
                           : RangeOfPoints(*session_.Working(), direction);
}

void MainWindow::ApplySharedFrame() {
  std::optional<ViewFrame> frame;
  if (session_.Working() && session_.Reference()) frame = navigator_->Frame();
  docked_view_.SetFrame(frame);
  source_view_.SetFrame(frame);
}

void MainWindow::ResetNavigation() {
  ClearStaleError();
  const QList<QAction*> directions = direction_group_->actions();
  if (comboDir->currentIndex() >= 0 && comboDir->currentIndex() < directions.size())
    directions[comboDir->currentIndex()]->setChecked(true);
  navigator_->SetDocuments(session_.Reference(), session_.Working(), comboDir->currentIndex());
  RedrawViews();
}

void MainWindow::RedrawViews() {
  const Document* working = session_.Working();
  const Document* reference = session_.Reference();
  if (!working || !reference) return;
  const int direction = comboDir->currentIndex();
  const ViewRange range = CurrentRange();
  const PointIds ids = chkDisplayCpid->isChecked() ? PointIds::Shown : PointIds::Hidden;
  // One frame for both: the source view may be a pixel narrower, and must not fit on its own.
  ApplySharedFrame();
  RedrawView(docked_view_, direction, range, *working, ids);
  DrawMarkers(docked_view_, docked_canvas_, markers_);
  docked_canvas_.End();
  RedrawView(source_view_, direction, range, *reference, ids);
  source_canvas_.End();
  ImageSD->update();
  ImageSrc->update();
}

void MainWindow::Resize_virtual_screen() {
  const int width = client_->width();
  const int height = std::max(0, client_->height() - kPanelHeight);
  PanelTop->setGeometry(0, 0, width, kPanelHeight);
  const int source_width = width / 2;
  ImageSrc->setGeometry(0, kPanelHeight, source_width, height);
  ImageSD->setGeometry(source_width, kPanelHeight, width - source_width, height);
  struct Pane {
    ImageBox* image;
    QtCanvas* canvas;
    ProjectionView* view;
  };
  if (legend_) legend_->PlaceInCorner();
  if (navigator_) ApplySharedFrame();
  for (const Pane& pane : {Pane{ImageSD, &docked_canvas_, &docked_view_},
                           Pane{ImageSrc, &source_canvas_, &source_view_}}) {
    pane.canvas->SetImage(pane.image->NewBitmap(pane.image->size()));
    pane.view->SetCanvas(pane.canvas, pane.image->width(), pane.image->height());
    pane.view->Clear(kBackgroundColour);
    pane.view->DrawGrid(kGridStep);
    pane.canvas->End();
    pane.image->update();
  }
}

// ---- commands ----

// A new direction shows another plane: the zoom and offset of the last one mean nothing there.
void MainWindow::comboDirChange(int /*index*/) { Guarded([this] { ResetNavigation(); }); }

void MainWindow::mnViewMaeClick() {
  comboDir->setCurrentIndex(0);
  Guarded([this] { ResetNavigation(); });
}

void MainWindow::mnViewHidariClick() {
  comboDir->setCurrentIndex(1);
  Guarded([this] { ResetNavigation(); });
}

void MainWindow::mnViewUeClick() {
  comboDir->setCurrentIndex(2);
  Guarded([this] { ResetNavigation(); });
}

void MainWindow::mnViewFitClick() {
  ClearStaleError();
  navigator_->FitToWindow();
}

void MainWindow::RedrawViewsGuarded() {
  Guarded([this] { RedrawViews(); });
}

void MainWindow::chkDisplayCpidClick() {
  ClearStaleError();
  Guarded([this] { RedrawViews(); });
}

void MainWindow::mnAboutClick() {
  frmAbout_->label_info->setText(QString::fromLatin1(kProgramCaption));
  frmAbout_->exec();
}

void MainWindow::mnExitClick() { close(); }

}  // namespace mk
