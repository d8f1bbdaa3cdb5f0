#pragma once
// The document workflow shared by the desktop program and the CLI: which document class a file
// gets, reading and docking it, the statistics lines, and saving with a backup.

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "model/AM_common.h"
#include "model/Progress.h"
#include "model/Warnings.h"

namespace mk {

enum FileKind : int { kOtherFile = 0, kSegmentFile = 4, kModelFile = 5 };

/// The extension of the name's last path component, dot included; empty when it has no ".".
std::string_view ExtensionOf(std::string_view file_name);
/// 4 for ".seg", 5 for ".mdl" (ASCII letters compared without case), 0 otherwise.
int FileKindOf(std::string_view file_name);

/// A new, empty document of the class for the file kind (4 or 5); none for any other kind.
std::unique_ptr<Mamcommon> CreateDocument(int kind, ProgressBar* progress_bar,
                                          WarningSink* warnings);

/// The counts shown after a docking: the ".mdl" counters, or the segment's own figures.
struct DockStatistics {
  std::int32_t cp_before = 0;
  std::int32_t cp_after = 0;
  std::int32_t splines_before = 0;
  std::int32_t splines_after = 0;
};
DockStatistics StatisticsOf(const Mamcommon& docked_document);
/// "Number of cp=B+D->A" and "Number of spline=B+D->A".
std::array<std::string, 2> StatisticsLines(const DockStatistics& statistics);

/// Saves the working document under target_name and returns the name written (the target with
/// the default extension of the current file's kind added when it has none). A target equal to
/// the current file name (ASCII case ignored) is first copied to that name with ".bak" appended.
/// Throws FileError; a failed backup stops the save before anything is written.
std::string WriteDocument(const Mamcommon& document, const std::string& current_file_name,
                          const std::string& target_name);

}  // namespace mk
