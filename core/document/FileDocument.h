#pragma once
// What a document read from a model file keeps besides its contents, ".mdl" section tree and
// ".seg" segment alike: where docking reports its progress and warnings, and the bounding box
// the file stores. The report's tolerance and counts are filled here for both formats.

#include <array>

#include "core/document/Document.h"
#include "core/document/Progress.h"
#include "core/document/Warnings.h"

namespace mk {

class FileDocument : public Document {
 public:
  /// Either may be null: the CLI and the tests pass no progress bar, and a document that is
  /// only read needs no warnings.
  explicit FileDocument(ProgressBar* progress_bar, WarningSink* warnings = nullptr)
      : progressBar(progress_bar), warningSink(warnings) {}
  // A document owns its parts through pointers that a copy would share.
  FileDocument(const FileDocument&) = delete;
  FileDocument& operator=(const FileDocument&) = delete;

  using Document::Dock;
  DockStatistics Dock(double tolerance, DockReport* report) final;
  long double GetBound(int index) const final;

  ProgressBar* progressBar = nullptr;
  WarningSink* warningSink = nullptr;
  std::array<double, 3> BoundMin{};
  std::array<double, 3> BoundMax{};

 protected:
  /// The format's own docking. With a report it fills the entries and the suggested tolerance.
  virtual DockStatistics DockContents(double tolerance, DockReport* report) = 0;
};

}  // namespace mk
