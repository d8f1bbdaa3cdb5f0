#pragma once
// The ".mdl" section tree: a section is a header line, a body of text lines and nested sections,
// and an end line. Section is the generic container every section class derives from.

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/document/FileDocument.h"
#include "core/document/ToleranceSuggestion.h"

namespace mk {

/// What the docking of a tree carries from section to section.
struct TreeDocking {
  TreeDocking(double snap_tolerance, DockReport* wanted_report)
      : tolerance(snap_tolerance), report(wanted_report), advisor(snap_tolerance) {}
  double tolerance;
  /// The counts of the last mesh that had splines.
  DockStatistics statistics;
  /// Null when no report is wanted.
  DockReport* report;
  /// The meshes met so far, in file order: the next mesh's number in the report.
  std::int32_t meshes = 0;
  ToleranceAdvisor advisor;
};

class Section : public FileDocument {
 public:
  /// Deeper nesting is refused: every tree walk is recursive, and real models nest a few levels.
  static constexpr int kMaxNesting = 1000;

  /// One body entry: a text line, or an owned child section (with empty text).
  struct Entry {
    std::string text;
    std::unique_ptr<Section> child;
  };

  using FileDocument::FileDocument;
  ~Section() override;

  std::size_t LoadFromLines(const LineList& lines, std::size_t index) override;
  void SaveToLines(LineWriter& lines) const override;
  void Draw(View3D& view, PointIds ids) const override;
  void VisitPoints(PointVisitor& visitor) const final;
  /// Looks for the model bounds in the subtree; fills min and max and answers true when found.
  virtual bool FindBounds(std::array<double, 3>& min, std::array<double, 3>& max) const;

  std::string SectionName;
  std::vector<Entry> Entries;

 protected:
  /// Docks the tree; the counts are those of the last mesh that had splines.
  DockStatistics DockContents(double tolerance, DockReport* report) final;
  /// Docks this section and its children; a mesh with splines stores its counts.
  virtual void DockSubtree(TreeDocking& docking);
  /// Visits the points of this section and its children; every mesh met counts one up.
  virtual void VisitSubtree(PointVisitor& visitor, std::int32_t& mesh) const;
  /// Stores one body entry as it is read. Sections that interpret their body override this.
  virtual void AddEntry(std::string_view text, std::unique_ptr<Section> child);
  /// Destroys every child section, last first; their entries go, text lines stay.
  void FreeChildren();
  void SaveFrame(LineWriter& lines, bool with_body) const;

 private:
  int nesting_ = 0;
};

/// The section class for a nested header line (trimmed), chosen case-insensitively.
std::unique_ptr<Section> CreateSection(std::string_view header, ProgressBar* progress_bar,
                                        WarningSink* warnings);

/// Equality ignoring the case of the letters A to Z only, byte by byte.
bool SameTextIgnoringCase(std::string_view a, std::string_view b);

}  // namespace mk
