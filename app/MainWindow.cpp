#include "app/MainWindow.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFile>
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

std::string ToFileName(const QString& name) { return QFile::encodeName(name).toStdString(); }

QIcon ButtonIcon(const char* theme_name, const char* resource) {
  return QIcon::fromTheme(QString::fromLatin1(theme_name),
                          QIcon(QString::fromLatin1(resource)));
}

/// Fonts that carry Japanese glyphs on the usual desktops, the toolkit's default after them.
QFont InterfaceFont(const QFont& base) {
  QFont font = base;
  font.setFamilies({QStringLiteral("Noto Sans CJK JP"), QStringLiteral("Noto Sans JP"),
                    QStringLiteral("Source Han Sans JP"), QStringLiteral("Yu Gothic UI"),
                    QStringLiteral("Meiryo UI"), QStringLiteral("Hiragino Sans"), base.family()});
  // The panel's controls stand at fixed places; 12 pixels keeps the Japanese label in its room.
  font.setPixelSize(12);
  return font;
}

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

void MainWindow::BuildWindow() {
  report_texts_.japanese = IsJapaneseLocale(locale_);
  setFont(InterfaceFont(font()));
  client_ = new QWidget(this);
  client_->setObjectName(QStringLiteral("ClientArea"));
  client_->installEventFilter(this);
  setCentralWidget(client_);

  PanelTop = new QFrame(client_);
  PanelTop->setObjectName(QStringLiteral("PanelTop"));
  PanelTop->setFrameStyle(QFrame::Panel | QFrame::Sunken);

  auto speed_button = [this](const char* name, const QString& hint, const QIcon& icon, int x) {
    auto* button = new QToolButton(PanelTop);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(x, 8, 25, 25);
    button->setToolTip(hint);
    button->setIcon(icon);
    button->setAutoRaise(true);
    return button;
  };
  sbtnOpen = speed_button("sbtnOpen", QStringLiteral("ファイルを開く"),
                          ButtonIcon("document-open", ":/mirrorknit/icons/open.xpm"), 8);
  sbtnSave = speed_button("sbtnSave", QStringLiteral("上書き保存"),
                          ButtonIcon("document-save", ":/mirrorknit/icons/save.xpm"), 32);
  sbtnSaveAs = speed_button("sbtnSaveAs", QStringLiteral("名前を付けて保存"),
                            ButtonIcon("document-save-as", ":/mirrorknit/icons/saveas.xpm"), 56);
  sbtnSave->setEnabled(false);
  sbtnSaveAs->setEnabled(false);

  comboDir = new QComboBox(PanelTop);
  comboDir->setObjectName(QStringLiteral("comboDir"));
  comboDir->setGeometry(96, 8, 81, 22);
  comboDir->addItems({QStringLiteral("前"), QStringLiteral("左"), QStringLiteral("上")});

  LabelGosa = new QLabel(QStringLiteral("X=0平面に対する誤差(&G)"), PanelTop);
  LabelGosa->setObjectName(QStringLiteral("LabelGosa"));
  LabelGosa->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  LabelGosa->setGeometry(180, 9, 140, 20);

  edGosa = new ToleranceBox(locale_, PanelTop);
  edGosa->setText(QStringLiteral("0"));
  edGosa->setObjectName(QStringLiteral("edGosa"));
  edGosa->setGeometry(328, 9, 89, 21);
  LabelGosa->setBuddy(edGosa);

  chkDisplayCpid = new QCheckBox(QStringLiteral("CPID表示"), PanelTop);
  chkDisplayCpid->setObjectName(QStringLiteral("chkDisplayCpid"));
  chkDisplayCpid->setGeometry(424, 8, 97, 22);

  Memo = new QPlainTextEdit(PanelTop);
  Memo->setObjectName(QStringLiteral("Memo"));
  Memo->setGeometry(8, 40, 505, 49);
  Memo->setReadOnly(true);

  ImageSrc = new ImageBox(client_);
  ImageSrc->setObjectName(QStringLiteral("ImageSrc"));
  ImageSD = new ImageBox(client_);
  ImageSD->setObjectName(QStringLiteral("ImageSD"));

  StatusBar = new QStatusBar(this);
  StatusBar->setObjectName(QStringLiteral("StatusBar"));
  StatusBar->setSizeGripEnabled(false);
  // A permanent label rather than showMessage(): menu hovers clear temporary messages.
  status_text_ = new StatusLine(StatusBar);
  status_text_->setObjectName(QStringLiteral("StatusText"));
  StatusBar->addWidget(status_text_, 1);
  setStatusBar(StatusBar);

  auto menu = [this](const char* name, const QString& title) {
    QMenu* m = menuBar()->addMenu(title);
    m->setObjectName(QString::fromLatin1(name));
    return m;
  };
  auto item = [this](QMenu* m, const char* name, const QString& text, void (MainWindow::*slot)()) {
    QAction* a = m->addAction(text);
    a->setObjectName(QString::fromLatin1(name));
    connect(a, &QAction::triggered, this, slot);
    return a;
  };
  mnFile = menu("mnFile", QStringLiteral("ファイル(&F)"));
  mnOpen = item(mnFile, "mnOpen", QStringLiteral("開く(&O)"), &MainWindow::sbtnOpenClick);
  mnOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  mnSave = item(mnFile, "mnSave", QStringLiteral("上書き保存(&S)"), &MainWindow::sbtnSaveClick);
  mnSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  mnSaveAs = item(mnFile, "mnSaveAs", QStringLiteral("名前を付けて保存(&A)"),
                  &MainWindow::sbtnSaveAsClick);
  mnFile->addSeparator();
  mnRecent = mnFile->addMenu(report_texts_.RecentMenu());
  mnRecent->setObjectName(QStringLiteral("mnRecent"));
  mnFile->addSeparator();
  mnExit = item(mnFile, "mnExit", QStringLiteral("終了(&X)"), &MainWindow::mnExitClick);
  mnView = menu("mnView", QStringLiteral("表示(&V)"));
  mnViewMae = item(mnView, "mnViewMae", QStringLiteral("前(&F)"), &MainWindow::mnViewMaeClick);
  mnViewHidari =
      item(mnView, "mnViewHidari", QStringLiteral("左(&L)"), &MainWindow::mnViewHidariClick);
  mnViewUe = item(mnView, "mnViewUe", QStringLiteral("上(&T)"), &MainWindow::mnViewUeClick);
  mnHelp = menu("mnHelp", QStringLiteral("ヘルプ(&H)"));
  mnAbout =
      item(mnHelp, "mnAbout", QStringLiteral("Mirrorknitについて(&A)"), &MainWindow::mnAboutClick);

  connect(sbtnOpen, &QToolButton::clicked, this, &MainWindow::sbtnOpenClick);
  connect(sbtnSave, &QToolButton::clicked, this, &MainWindow::sbtnSaveClick);
  connect(sbtnSaveAs, &QToolButton::clicked, this, &MainWindow::sbtnSaveAsClick);
  connect(comboDir, &QComboBox::activated, this, &MainWindow::comboDirChange);
  connect(chkDisplayCpid, &QCheckBox::clicked, this, &MainWindow::chkDisplayCpidClick);

  drop_accept_ = new FileDropAcceptor(this);
  drop_accept_->setObjectName(QStringLiteral("DropAccept"));
  drop_accept_->SetEnabled(true);
  connect(drop_accept_, &FileDropAcceptor::OnDropped, this, &MainWindow::DropAcceptDropped);

  BuildReportAndViewTools();
  BuildCommands();
  // The panel's controls keep their places; narrower, the id switch would be cut off.
  setMinimumSize(540, 400);
  RestoreWindowState(*this);
}

void MainWindow::BuildCommands() {
  mnSave->setEnabled(false);
  mnSaveAs->setEnabled(false);
  mnSaveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  mnExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
  mnDockAgain = new QAction(report_texts_.DockAgainMenu(), this);
  mnDockAgain->setObjectName(QStringLiteral("mnDockAgain"));
  mnDockAgain->setShortcut(QKeySequence(Qt::Key_F5));
  mnDockAgain->setEnabled(false);
  mnFile->insertAction(mnSave, mnDockAgain);
  connect(mnDockAgain, &QAction::triggered, this, &MainWindow::mnDockAgainClick);
  connect(edGosa, &ToleranceBox::DockAgainRequested, this, &MainWindow::mnDockAgainClick);
  connect(report_panel_, &ReportPanel::UseTolerance, this, [this](double tolerance) {
    edGosa->setText(QString::number(tolerance, 'g', 6));
    mnDockAgainClick();
  });

  direction_group_ = new QActionGroup(this);
  for (QAction* direction : {mnViewMae, mnViewHidari, mnViewUe}) {
    direction->setCheckable(true);
    direction_group_->addAction(direction);
  }
  mnViewMae->setChecked(true);
  // Home fits the views wherever the focus is; the read-only memo and the combo box would
  // otherwise take the key for themselves.
  for (QWidget* widget : std::initializer_list<QWidget*>{Memo, comboDir, chkDisplayCpid})
    widget->installEventFilter(this);
  for (QWidget* image : std::initializer_list<QWidget*>{ImageSrc, ImageSD})
    image->setFocusPolicy(Qt::ClickFocus);
}

void MainWindow::BuildReportAndViewTools() {
  report_panel_ = new ReportPanel(report_texts_, this);
  report_panel_->setObjectName(QStringLiteral("ReportPanel"));
  // Below the views, the panel takes height instead of the views' width, and never covers the
  // tolerance box or the id switch.
  addDockWidget(Qt::BottomDockWidgetArea, report_panel_);
  // The window keeps its layout until the user asks for the panel or a docking finds a fault.
  report_panel_->hide();
  legend_ = new MarkerLegend(report_texts_, ImageSD);

  navigator_ = new ViewNavigator(ImageSrc, ImageSD, report_texts_, this);
  navigator_->SetFitSource([this] { return DockedFit(); });
  connect(navigator_, &ViewNavigator::Changed, this, [this] { Guarded([this] { RedrawViews(); }); });
  connect(report_panel_, &ReportPanel::PlaceChosen, navigator_,
          [this](double x, double y, double z) { navigator_->CentreOn(x, y, z); });
  connect(report_panel_, &ReportPanel::PointChosen, navigator_,
          [this](int mesh, int id) { navigator_->CentreOnPoint(mesh, id); });

  mnView->addSeparator();
  mnViewFit = mnView->addAction(report_texts_.FitMenu());
  mnViewFit->setObjectName(QStringLiteral("mnViewFit"));
  mnViewFit->setShortcut(QKeySequence(Qt::Key_Home));
  mnViewFit->setIconText(report_texts_.FitButton());
  connect(mnViewFit, &QAction::triggered, this, &MainWindow::mnViewFitClick);
  mnViewReport = report_panel_->toggleViewAction();
  mnViewReport->setObjectName(QStringLiteral("mnViewReport"));
  mnViewReport->setText(report_texts_.ReportMenu());
  mnViewReport->setIconText(report_texts_.ReportButton());
  mnView->addAction(mnViewReport);

  // The view's buttons sit in the menu bar's corner, no taller than the bar, so the panel and
  // the pictures keep their places.
  const int bar_height = menuBar()->sizeHint().height();
  view_tools_ = new QWidget(menuBar());
  view_tools_->setObjectName(QStringLiteral("ViewTools"));
  auto* row = new QHBoxLayout(view_tools_);
  row->setContentsMargins(0, 0, 2, 0);
  row->setSpacing(2);
  for (QAction* action : {mnViewFit, mnViewReport}) {
    auto* button = new QToolButton(view_tools_);
    button->setObjectName(action == mnViewFit ? QStringLiteral("sbtnFit")
                                              : QStringLiteral("sbtnReport"));
    button->setDefaultAction(action);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setAutoRaise(true);
    button->setToolTip(QString(action->text()).remove(QLatin1Char('&')));
    button->setMaximumHeight(std::max(1, bar_height - 2));
    row->addWidget(button);
  }
  menuBar()->setCornerWidget(view_tools_, Qt::TopRightCorner);

  recent_ = new RecentFilesMenu(mnRecent, report_texts_, this);
  connect(recent_, &RecentFilesMenu::FileChosen, this, &MainWindow::OpenChosenFile);
}

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

void MainWindow::ApplyEnglishTexts() {
  const std::pair<QMenu*, const char*> menus[] = {
      {mnFile, "&File"}, {mnView, "&View"}, {mnHelp, "&Help"}};
  for (const auto& [menu, title] : menus) menu->setTitle(QString::fromLatin1(title));
  const std::pair<QAction*, const char*> commands[] = {
      {mnOpen, "&Open.."}, {mnSave, "&Save"},     {mnSaveAs, "&Save As.."},
      {mnExit, "E&xit"},   {mnViewMae, "&Front"}, {mnViewHidari, "&Left"},
      {mnViewUe, "&Top"},  {mnAbout, "&About.."}};
  for (const auto& [command, text] : commands) command->setText(QString::fromLatin1(text));
  const std::pair<QToolButton*, const char*> buttons[] = {
      {sbtnOpen, "Open"}, {sbtnSave, "Save"}, {sbtnSaveAs, "Save As"}};
  for (const auto& [button, hint] : buttons) button->setToolTip(QString::fromLatin1(hint));
  comboDir->clear();
  comboDir->addItems({QStringLiteral("Front"), QStringLiteral("Left"), QStringLiteral("Top")});
  LabelGosa->setText(QStringLiteral("Correct Plane X=0(&G)"));
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
  const QString attach_folder = ChooseAttachReportFolder();
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

QString MainWindow::ChooseAttachReportFolder() const {
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
    ShowStatus(QString::fromLocal8Bit(e.what()));
    error_in_status_ = true;
    ReportError(QString::fromLocal8Bit(e.what()));
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
  if (Report().HasSeamFaults()) report_panel_->show();
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
