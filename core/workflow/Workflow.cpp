#include "core/workflow/Workflow.h"

#include "core/mdl/Section.h"
#include "core/util/FileIo.h"
#include "core/util/LineList.h"
#include "core/seg/SegmentDocument.h"
#include "core/tagged/TaggedDocument.h"

namespace mk {

std::string_view ExtensionOf(std::string_view file_name) {
#ifdef _WIN32
  const std::size_t slash = file_name.find_last_of("/\\:");
#else
  const std::size_t slash = file_name.find_last_of('/');
#endif
  const std::string_view last =
      slash == std::string_view::npos ? file_name : file_name.substr(slash + 1);
  const std::size_t dot = last.find_last_of('.');
  return dot == std::string_view::npos ? std::string_view() : last.substr(dot);
}

FileKind FileKindOf(std::string_view file_name) {
  const std::string_view extension = ExtensionOf(file_name);
  if (SameTextIgnoringCase(extension, ".seg")) return FileKind::Segment;
  if (SameTextIgnoringCase(extension, ".mdl")) return FileKind::Model;
  return FileKind::Other;
}

std::unique_ptr<Document> CreateDocument(FileKind kind, ProgressBar* progress_bar,
                                         WarningSink* warnings) {
  if (kind == FileKind::Segment) return std::make_unique<SegmentDocument>(progress_bar, warnings);
  if (kind == FileKind::Model) return std::make_unique<Section>(progress_bar, warnings);
  return nullptr;
}

namespace {

OpenedModel ParseModel(const std::string& file_name, FileKind kind, ProgressBar* progress_bar,
                       WarningSink* warnings, WithReference reference) {
  OpenedModel model;
  model.working = CreateDocument(kind, progress_bar, warnings);
  if (reference == WithReference::Yes)
    model.reference = CreateDocument(kind, progress_bar, nullptr);
  if (!model.working) throw FileError(FileError::Kind::Open, file_name);
  Advance(progress_bar, 1);
  // One read of the file; both documents parse the same lines, which are freed before docking.
  const LineList lines = LineList::FromFile(file_name);
  // A ".mdl" file is in one of two dialects, told apart by its first line.
  if (kind == FileKind::Model && IsTaggedDialect(lines)) {
    model.working = std::make_unique<TaggedDocument>(progress_bar, warnings);
    if (model.reference) model.reference = std::make_unique<TaggedDocument>(progress_bar, nullptr);
  }
  model.working->LoadFromLines(lines, 0);
  if (model.reference) model.reference->LoadFromLines(lines, 0);
  return model;
}

}  // namespace

OpenedModel ReadModel(const std::string& file_name, FileKind kind, ProgressBar* progress_bar,
                      WarningSink* warnings, WithReference reference) {
  return ParseModel(file_name, kind, progress_bar, warnings, reference);
}

OpenedModel ReadAndDock(const std::string& file_name, FileKind kind, double tolerance,
                        ProgressBar* progress_bar, WarningSink* warnings,
                        WithReference reference, const DockOptions& options) {
  OpenedModel model = ParseModel(file_name, kind, progress_bar, warnings, reference);
  if (options.ask_before_redocking) {
    const DockedLook look = LooksDocked(*model.working, tolerance);
    if (look.looks_docked && !options.ask_before_redocking(look)) return model;
  }
  model.statistics = model.working->Dock(tolerance, options.with_report ? &model.report : nullptr);
  model.docked = true;
  return model;
}

std::string WriteDocument(const Document& document, const std::string& current_file_name,
                          const std::string& target_name, Backup backup_rule) {
  std::string save_target = target_name;
  const std::string backup_name = current_file_name + ".bak";
  const bool backup = SameTextIgnoringCase(current_file_name, target_name) &&
                      !(backup_rule == Backup::KeepExisting && IsRegularFile(backup_name));
  if (ExtensionOf(save_target).empty()) {
    const FileKind kind = FileKindOf(current_file_name);
    if (kind == FileKind::Segment) save_target += ".seg";
    if (kind == FileKind::Model) save_target += ".mdl";
  }
  // The text goes to the disk as it is made: a docked model is twice the size of the file read.
  const ByteSource text = [&document](const ByteSink& sink) {
    LineWriter lines(sink);
    document.SaveToLines(lines);
    lines.Flush();
  };
  // The backup is copied first, but an older backup is only replaced once the new model is
  // complete on the disk too: a failed save never loses the opened model.
  if (backup)
    WriteFileWithBackup(save_target, text, current_file_name, backup_name);
  else
    WriteFileAtomically(save_target, text);
  return save_target;
}

}  // namespace mk
