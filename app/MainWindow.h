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
class ReportPanel;
class MarkerLegend;
class ViewNavigator;
class RecentFilesMenu;

/// How the window reads and docks a file: the workflow's ReadAndDock, with the reference
/// document. Tests put a stand-in here to hand the window reports and looks of their own.
using ModelOpener = std::function<OpenedModel(const std::string& file_name, FileKind kind,
                                              double tolerance, ProgressBar* progress,
                                              WarningSink* warnings, const DockOptions& options)>;

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
  /// The report of the last docking (empty when the model was left undocked).
  const DockReport& Report() const { return report_; }
  /// False when the user chose to leave a model that looks docked as it was read.
  bool ModelDocked() const { return model_docked_; }
  ReportPanel* ReportBox() const { return report_panel_; }
  MarkerLegend* Legend() const { return legend_; }
  ViewNavigator* Navigator() const { return navigator_; }
  RecentFilesMenu* RecentFiles() const { return recent_; }
  const ProjectionView& DockedView() const { return docked_view_; }
  const ProjectionView& SourceView() const { return source_view_; }
  void SetModelOpener(ModelOpener opener) { opener_ = std::move(opener); }

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
  void mnViewFitClick();

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
  DockReport report_;
  std::vector<Marker> markers_;
  bool model_docked_ = false;
  ModelOpener opener_;
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
  QMenu* mnRecent = nullptr;
  QAction* mnViewFit = nullptr;
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
};

}  // namespace mk
