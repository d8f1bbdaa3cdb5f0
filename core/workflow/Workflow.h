#pragma once
// The document workflow shared by the desktop program and the CLI: which document class a file
// gets, reading and docking it, and saving with a backup. The memory policy of a docking (freed
// line pages taken over by the mirror) is decided here, so callers never see it.

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "core/document/DockReport.h"
#include "core/document/Document.h"
#include "core/document/Progress.h"
#include "core/document/Warnings.h"

namespace mk {

enum class FileKind { Other, Segment, Model };

/// The extension of the name's last path component, dot included; empty when it has no ".".
std::string_view ExtensionOf(std::string_view file_name);
/// Segment for ".seg", Model for ".mdl" (ASCII letters compared without case), Other otherwise.
FileKind FileKindOf(std::string_view file_name);

/// A new, empty document of the class for the file kind; none for Other.
std::unique_ptr<Document> CreateDocument(FileKind kind, ProgressBar* progress_bar,
                                         WarningSink* warnings);

/// The documents made of one file: the working one (docked when asked) and, when asked, the
/// reference one, parsed from the same lines and never docked.
struct OpenedModel {
  std::unique_ptr<Document> working;
  std::unique_ptr<Document> reference;
  DockStatistics statistics;
  /// False when docking was declined (see DockOptions::ask_before_redocking).
  bool docked = false;
  /// Filled when DockOptions::with_report asks for it.
  DockReport report;
};

enum class WithReference { No, Yes };

/// Why a model read looks docked already; empty when it does not.
struct DockedLook {
  enum class Sign {
    /// Points have their exact mirror image at one id offset.
    MirroredPairs,
    /// The box is symmetrical across X=0 with many points on each side.
    SymmetricBox,
  };
  bool looks_docked = false;
  /// A sentence for the user, in English, such as "points are mirrored in pairs across X=0".
  std::string reason;
  /// What gave it away, for callers that word the reason themselves.
  Sign sign = Sign::MirroredPairs;
  /// For MirroredPairs: how far the ids of one half lie above the other's.
  std::int64_t id_offset = 0;
};
/// Tells whether the document, as read, looks like the output of a docking. Points closer to the
/// plane than the tolerance (those the docking snaps onto it) count on neither side.
DockedLook LooksDocked(const Document& document, double tolerance = 0);

struct DockOptions {
  /// Collect the dock report in OpenedModel::report.
  bool with_report = false;
  /// Asked when the model looks docked already: answers true to dock it anyway. Without it the
  /// model is docked without asking.
  std::function<bool(const DockedLook&)> ask_before_redocking;
};

/// Reads the file once and parses it into the documents; warnings go to the working one only.
/// The progress bar is set to 1 once the documents exist. Throws for a kind of Other.
OpenedModel ReadModel(const std::string& file_name, FileKind kind, ProgressBar* progress_bar,
                      WarningSink* warnings, WithReference reference);
/// ReadModel, then docks the working document.
OpenedModel ReadAndDock(const std::string& file_name, FileKind kind, double tolerance,
                        ProgressBar* progress_bar, WarningSink* warnings,
                        WithReference reference, const DockOptions& options = {});

/// What a save over the opened file does with the ".bak" beside it.
enum class Backup {
  /// Copy the opened file to the backup, replacing an older one.
  Take,
  /// Leave an existing backup alone (take one only when there is none). For a second save of the
  /// same document, and for a model that was docked already: the file on the disk is then a
  /// docked model, and copying it over the backup would lose the half model kept there.
  KeepExisting,
};

/// Saves the working document under target_name and returns the name written (the target with
/// the default extension of the current file's kind added when it has none). A target equal to
/// the current file name (ASCII case ignored) is first copied to that name with ".bak" appended,
/// as the backup rule says. Throws FileError; a failed backup stops the save before anything is
/// written.
std::string WriteDocument(const Document& document, const std::string& current_file_name,
                          const std::string& target_name, Backup backup = Backup::Take);

}  // namespace mk
