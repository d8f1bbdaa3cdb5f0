#pragma once
// MainWindow: the main window. Opens a half model, docks it, shows the half and the whole side by
// side, and saves the whole over the opened file or under a new name.

#include <QLocale>
#include <QMainWindow>
#include <QString>
#include <memory>

#include "render/QtCanvas.h"
#include "core/document/Document.h"
#include "core/document/Warnings.h"
#include "core/document/DocumentView.h"
#include "core/view/ProjectionView.h"
#include "app/Language.h"

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QStatusBar;
class QToolButton;

namespace mk {

class ImageBox;
class FileDropAcceptor;
class AboutBox;
class ProgressDialog;

inline constexpr const char* kProgramCaption = "Mirrorknit Ver5.03";
inline constexpr const char* kVersionText = "Ver5.03";

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  /// first_argument: the first command-line argument (opened once the window is shown);
  /// locale: decides the interface language and how the tolerance is read.
  explicit MainWindow(const QString& first_argument = QString(),
                    const QLocale& locale = QLocale::system(), QWidget* parent = nullptr);
  ~MainWindow() override;

  bool Japanese() const { return texts_.japanese; }
  const QString& CurrentFileName() const { return current_file_name_; }
  const QString& SaveTargetName() const { return save_target_name_; }
  QString StatusText() const;
  ProgressDialog* ProgressBox() const { return frmMatu_; }
  AboutBox* AboutWindow() const { return frmAbout_; }
  FileDropAcceptor* DropAccept() const { return drop_accept_; }
  const Document* WorkingDocument() const { return working_.get(); }
  const Document* ReferenceDocument() const { return reference_.get(); }
  /// The counts of the last docking, as the memo shows them.
  const DockStatistics& Statistics() const { return statistics_; }

  /// Steps after the open dialog: remembers the folder, opens, docks and reports.
  void OpenChosenFile(const QString& file_name);
  /// The Save As steps after the dialog.
  void SaveAsTo(const QString& target_name);

 public slots:
  void sbtnOpenClick();
  void sbtnSaveClick();
  void sbtnSaveAsClick();
  void DropAcceptDropped(QObject* sender);
  void comboDirChange(int index);
  void mnViewMaeClick();
  void mnViewHidariClick();
  void mnViewUeClick();
  void chkDisplayCpidClick();
  void mnAboutClick();
  void mnExitClick();

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildWindow();
  void FormCreate(const QString& first_argument);
  void FormShow();
  void FormResize();
  void FormDestroy();
  void LoadSettings();
  void SaveSettings();
  void ApplyEnglishTexts();

  /// Opens, parses and docks the current file; false when a file check refused it.
  bool OpenAndDock();
  void FreeDocuments();
  /// The tolerance box as a number: the user's notation first, then the file notation with ".".
  double Tolerance() const;
  void RedrawViews();
  void Resize_virtual_screen();
  void ShowStatus(const QString& text);
  QString WarningsText() const;
  /// Runs an event handler and shows any error in a message box; the handler's work ends there.
  template <typename Work>
  void Guarded(Work&& work);
  void ReportError(const QString& text);

  QLocale locale_;
  StatusTexts texts_;
  QString open_dialog_dir_;
  QString current_file_name_;
  QString save_target_name_;
  /// The file whose docked document is held; empty when none is, or the last open failed.
  QString docked_file_name_;

  std::unique_ptr<Document> working_;
  std::unique_ptr<Document> reference_;
  DockStatistics statistics_;
  WarningList warnings_;
  ProjectionView docked_view_;
  ProjectionView source_view_;
  QtCanvas docked_canvas_;
  QtCanvas source_canvas_;

  QWidget* client_ = nullptr;
  QFrame* PanelTop = nullptr;
  QToolButton* sbtnOpen = nullptr;
  QToolButton* sbtnSave = nullptr;
  QToolButton* sbtnSaveAs = nullptr;
  QComboBox* comboDir = nullptr;
  QLabel* LabelGosa = nullptr;
  QLineEdit* edGosa = nullptr;
  QCheckBox* chkDisplayCpid = nullptr;
  QPlainTextEdit* Memo = nullptr;
  ImageBox* ImageSrc = nullptr;
  ImageBox* ImageSD = nullptr;
  QStatusBar* StatusBar = nullptr;
  QLabel* status_text_ = nullptr;
  QMenu* mnFile = nullptr;
  QAction* mnOpen = nullptr;
  QAction* mnSave = nullptr;
  QAction* mnSaveAs = nullptr;
  QAction* mnExit = nullptr;
  QMenu* mnView = nullptr;
  QAction* mnViewMae = nullptr;
  QAction* mnViewHidari = nullptr;
  QAction* mnViewUe = nullptr;
  QMenu* mnHelp = nullptr;
  QAction* mnAbout = nullptr;
  FileDropAcceptor* drop_accept_ = nullptr;
  ProgressDialog* frmMatu_ = nullptr;
  AboutBox* frmAbout_ = nullptr;
  bool shown_ = false;
};

}  // namespace mk
