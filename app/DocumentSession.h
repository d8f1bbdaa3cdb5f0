#pragma once
// DocumentSession: the documents of the opened file and what the program has done with that file
// on the disk: open and dock, dock again with another tolerance, save over it, save as. The
// window shows what the session holds; the session never touches a widget.

#include <QString>
#include <functional>
#include <memory>

#include "core/document/DockReport.h"
#include "core/document/Document.h"
#include "core/workflow/Workflow.h"

namespace mk {

/// How a session reads and docks a file: the workflow's ReadAndDock, with the reference
/// document. Tests put a stand-in here to hand the window reports and looks of their own.
using ModelOpener = std::function<OpenedModel(const std::string& file_name, FileKind kind,
                                              double tolerance, ProgressBar* progress,
                                              WarningSink* warnings, const DockOptions& options)>;

class DocumentSession {
 public:
  void SetOpener(ModelOpener opener) { opener_ = std::move(opener); }

  /// Reads and docks a newly opened file. Whatever happens, the earlier documents are gone
  /// first: after an error nothing is held, and nothing can be saved.
  void Open(const QString& file_name, double tolerance, ProgressBar* progress,
            WarningSink* warnings, const DockOptions& options);
  /// Docks the opened file again, as it was opened: once a save has replaced it on the disk,
  /// from the backup that holds it. False when no file was opened.
  bool DockAgain(double tolerance, ProgressBar* progress, WarningSink* warnings,
                 const DockOptions& options);
  /// Writes the docked model over the opened file; answers the name written. The backup is
  /// taken from the file as it was opened, once: a later save leaves it alone.
  QString SaveOver();
  /// Writes under another name (a backup only when that name is the opened file's).
  QString SaveAs(const QString& target_name);
  void Clear();

  /// A docked model of an opened file is held.
  bool CanSave() const { return working_ && docked_ && !file_name_.isEmpty(); }
  const QString& FileName() const { return file_name_; }
  const Document* Working() const { return working_.get(); }
  const Document* Reference() const { return reference_.get(); }
  const DockStatistics& Statistics() const { return statistics_; }
  const DockReport& Report() const { return report_; }
  bool Docked() const { return docked_; }

 private:
  void Read(const QString& read_from, double tolerance, ProgressBar* progress,
            WarningSink* warnings, const DockOptions& options);
  QString Write(const QString& target_name);

  ModelOpener opener_;
  std::unique_ptr<Document> working_;
  std::unique_ptr<Document> reference_;
  DockStatistics statistics_;
  DockReport report_;
  bool docked_ = false;
  /// The opened file as the user named it.
  QString file_name_;
  /// Where the file as opened is now: the file itself, or its backup once a save replaced it.
  QString opened_copy_;
  /// The backup of this file has been taken in this session (or belongs to an older half model).
  bool backup_taken_ = false;
  bool looked_docked_ = false;
};

}  // namespace mk
