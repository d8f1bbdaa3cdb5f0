// The main window's widgets, menus and commands, and their English texts: built once, when the
// window is made. What they do is in MainWindow.cpp.

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QToolButton>
#include <initializer_list>
#include <utility>

#include "app/FileDrop.h"
#include "app/ImageBox.h"
#include "app/MainWindow.h"
#include "app/MarkerLegend.h"
#include "app/RecentFiles.h"
#include "app/ReportPanel.h"
#include "app/StatusLine.h"
#include "app/ToleranceBox.h"
#include "app/ViewNavigator.h"
#include "app/WindowState.h"

namespace mk {
namespace {

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
  connect(navigator_, &ViewNavigator::Changed, this, &MainWindow::RedrawViewsGuarded);
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

}  // namespace mk
