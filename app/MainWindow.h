#pragma once
// MainWindow: the main window. Opens a half model, docks it, shows the half and the whole side by
// side, and saves the whole over the opened file or under a new name.

#include <QLocale>
#include <QMainWindow>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "render/QtCanvas.h"
#include "core/document/Document.h"
#include "core/document/Warnings.h"
#include "core/document/DocumentView.h"
#include "core/view/ProjectionView.h"
#include "core/workflow/Workflow.h"
#include "render/MarkerLayer.h"
#include "app/DocumentSession.h"
#include "app/Language.h"

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QActionGroup;
class QMenu;
class QPlainTextEdit;
class QStatusBar;
class QToolButton;

namespace mk {

class Error;
class ImageBox;
class FileDropAcceptor;
class AboutBox;
class ProgressDialog;
class ReportPanel;
class MarkerLegend;
class ViewNavigator;
class RecentFilesMenu;
class StatusLine;
class ToleranceBox;

inline constexpr const char* kProgramCaption = "Mirrorknit Ver" MK_VERSION;
inline constexpr const char* kVersionText = "Ver" MK_VERSION;

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
  const Document* WorkingDocument() const { return session_.Working(); }
  const Document* ReferenceDocument() const { return session_.Reference(); }
  /// The counts of the last docking, as the memo shows them.
  const DockStatistics& Statistics() const { return session_.Statistics(); }
  /// The report of the last docking (empty when the model was left undocked).
  const DockReport& Report() const { return session_.Report(); }
  /// False when the user chose to leave a model that looks docked as it was read.
  bool ModelDocked() const { return session_.Docked(); }
  ReportPanel* ReportBox() const { return report_panel_; }
  MarkerLegend* Legend() const { return legend_; }
  ViewNavigator* Navigator() const { return navigator_; }
  RecentFilesMenu* RecentFiles() const { return recent_; }
  const ProjectionView& DockedView() const { return docked_view_; }
  const ProjectionView& SourceView() const { return source_view_; }
  void SetModelOpener(ModelOpener opener) { session_.SetOpener(std::move(opener)); }

  /// Steps after the open dialog: remembers the folder, opens, docks and reports.
  void OpenChosenFile(const QString& file_name);
  /// Docks the opened file again with the tolerance in the box.
  void DockAgain();
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
  void mnViewFitClick();
  void mnDockAgainClick();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
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
  /// Shortcuts, the direction group and the dock again command.
  void BuildCommands();
  /// The report panel, the markers' legend, the fit and report commands and the recent files.
  void BuildReportAndViewTools();
  /// Shows what the docking reported: markers, legend and panel (opened for seam faults).
  void ShowReport();
  /// The fit of the docked view for the current document, direction and size.
  ViewFrame DockedFit() const;
  /// Hands both views the navigator's frame (or their own fit while nothing is open).
  void ApplySharedFrame();
  /// A view change that starts from the fit: a new direction or a new document.
  void ResetNavigation();

  /// Opens, parses and docks the current file; false when a file check refused it.
  bool OpenAndDock();
  /// Reads through the session (open or dock again) and shows the outcome.
  void ReadIntoSession(bool again);
  /// Shows what the session now holds: views, report, memo, save buttons and title.
  void ShowSession();
  /// Forgets the documents and empties what showed them; after a refused or failed open.
  void ForgetDocuments();
  void FreeDocuments();
  /// The tolerance box as a number: the user's notation first, then the file notation with ".".
  double Tolerance() const;
  /// The range the views frame: the docked bounds, or the points of a model shown as read.
  ViewRange CurrentRange() const;
  /// Makes the model's folder the current one when the current folder cannot be written, so
  /// that the docking's "attach_err.txt" can be written; answers that folder, or nothing when
  /// the current folder stays.
  QString WorkInAWritableFolder();
  void UpdateSaveCommands();
  void UpdateTitle();
  /// A view command after an error: the error no longer describes what is shown.
  void ClearStaleError();
  void RedrawViews();
  void RedrawViewsGuarded();
  void Resize_virtual_screen();
  void ShowStatus(const QString& text);
  QString WarningsText() const;
  /// An error's message with its context: the file and, for a reading error, the line.
  QString ErrorText(const Error& error) const;
  /// Runs an event handler and shows any error in a message box; the handler's work ends there.
  template <typename Work>
  void Guarded(Work&& work);
  void ReportError(const QString& text);

  QLocale locale_;
  StatusTexts texts_;
  QString open_dialog_dir_;
  QString current_file_name_;
  QString save_target_name_;
  /// The last tolerance text that was a number, as the settings keep it.
  QString stored_tolerance_;
  /// Said once the window shows: a tolerance in the settings that was no number.
  QString start_note_;
  /// The file being read while an error can arise, for the error's context.
  QString reading_file_;

  DocumentSession session_;
  std::vector<Marker> markers_;
  ReportTexts report_texts_;
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
  ToleranceBox* edGosa = nullptr;
  QCheckBox* chkDisplayCpid = nullptr;
  QPlainTextEdit* Memo = nullptr;
  ImageBox* ImageSrc = nullptr;
  ImageBox* ImageSD = nullptr;
  QStatusBar* StatusBar = nullptr;
  StatusLine* status_text_ = nullptr;
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
  QMenu* mnRecent = nullptr;
  QAction* mnViewFit = nullptr;
  QAction* mnDockAgain = nullptr;
  QActionGroup* direction_group_ = nullptr;
  QAction* mnViewReport = nullptr;
  QWidget* view_tools_ = nullptr;
  ReportPanel* report_panel_ = nullptr;
  MarkerLegend* legend_ = nullptr;
  ViewNavigator* navigator_ = nullptr;
  RecentFilesMenu* recent_ = nullptr;
  FileDropAcceptor* drop_accept_ = nullptr;
  ProgressDialog* frmMatu_ = nullptr;
  AboutBox* frmAbout_ = nullptr;
  bool shown_ = false;
  bool error_in_status_ = false;
};

}  // namespace mk
