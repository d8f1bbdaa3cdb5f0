#include "app/DocumentSession.h"

#include <QFileInfo>

#include "app/FileNames.h"

namespace mk {
namespace {

bool SameFile(const QString& a, const QString& b) {
  // The workflow's rule for the backup: the same name, ASCII case ignored.
  return a.compare(b, Qt::CaseInsensitive) == 0;
}

}  // namespace

void DocumentSession::Clear() {
  working_.reset();
  reference_.reset();
  statistics_ = DockStatistics();
  report_ = DockReport();
  docked_ = false;
  file_name_.clear();
  opened_copy_.clear();
  backup_taken_ = false;
  looked_docked_ = false;
}

void DocumentSession::Open(const QString& file_name, double tolerance, ProgressBar* progress,
                           WarningSink* warnings, const DockOptions& options) {
  Clear();
  Read(file_name, tolerance, progress, warnings, options);
  file_name_ = file_name;
  opened_copy_ = file_name;
}

bool DocumentSession::DockAgain(double tolerance, ProgressBar* progress, WarningSink* warnings,
                                const DockOptions& options) {
  if (file_name_.isEmpty()) return false;
  const QString file_name = file_name_;
  const QString opened_copy = opened_copy_;
  const bool backup_taken = backup_taken_;
  Clear();
  file_name_ = file_name;
  opened_copy_ = opened_copy;
  backup_taken_ = backup_taken;
  Read(opened_copy, tolerance, progress, warnings, options);
  return true;
}

void DocumentSession::Read(const QString& read_from, double tolerance, ProgressBar* progress,
                           WarningSink* warnings, const DockOptions& options) {
  const std::string name = ToFileName(read_from);
  // The kind follows the opened file's name: the backup's ".bak" says nothing of its format.
  const FileKind kind = FileKindOf(ToFileName(file_name_.isEmpty() ? read_from : file_name_));
  DockOptions asked = options;
  asked.ask_before_redocking = [this, &options](const DockedLook& look) {
    looked_docked_ = true;
    return options.ask_before_redocking ? options.ask_before_redocking(look) : true;
  };
  OpenedModel model =
      opener_ ? opener_(name, kind, tolerance, progress, warnings, asked)
              : ReadAndDock(name, kind, tolerance, progress, warnings, WithReference::Yes, asked);
  working_ = std::move(model.working);
  reference_ = std::move(model.reference);
  statistics_ = model.statistics;
  report_ = std::move(model.report);
  docked_ = model.docked;
}

QString DocumentSession::SaveOver() { return Write(file_name_); }

QString DocumentSession::SaveAs(const QString& target_name) { return Write(target_name); }

QString DocumentSession::Write(const QString& target_name) {
  // A model that looked docked when opened may replace an earlier save of this file, whose
  // backup holds the half model.
  const Backup backup = backup_taken_ || looked_docked_ ? Backup::KeepExisting : Backup::Take;
  const bool over_opened = SameFile(target_name, file_name_);
  const bool backup_there = QFileInfo(file_name_ + QStringLiteral(".bak")).isFile();
  const QString written = FromFileName(
      WriteDocument(*working_, ToFileName(file_name_), ToFileName(target_name), backup));
  if (over_opened) {
    // The file on the disk is no longer the one opened; the backup holds that now, unless an
    // older backup was kept in its place.
    if (backup == Backup::Take || !backup_there) opened_copy_ = file_name_ + QStringLiteral(".bak");
    backup_taken_ = true;
  }
  return written;
}

}  // namespace mk
