#pragma once
// A ".mdl" file in the angle-tag dialect (<MODELFILE> … </MODELFILE>), the dialect current
// versions of the modelling product save. It docks each <MODEL> on its own and writes back
// every byte it did not change.

#include "core/document/FileDocument.h"
#include "core/tagged/TaggedModel.h"

namespace mk {

/// True when the text's first line marks the angle-tag dialect.
bool IsTaggedDialect(const LineList& lines);

class TaggedDocument : public FileDocument {
 public:
  using FileDocument::FileDocument;
  /// The file as read, with docking's changes once docked.
  const tagged::TaggedFile& File() const { return file_; }

  /// Reads from index to the end of the lines: what follows </MODELFILE> is kept as it is.
  std::size_t LoadFromLines(const LineList& lines, std::size_t index) override;
  /// The bytes as read, with docking's changes where it made them.
  void SaveToLines(LineWriter& lines) const override;
  /// Every model's splines; a point's id is drawn where it sits (through its stack or hook).
  void Draw(View3D& view, PointIds ids) const override;
  /// VisitedPoint::mesh is the <MODEL>, counted from 0.
  void VisitPoints(PointVisitor& visitor) const override;

 protected:
  DockStatistics DockContents(double tolerance, DockReport* report) override;

 private:
  /// Lists points without a target in "attach_err.txt" and warns of cycles, as after every read
  /// and docking of a ".mdl" file.
  void CheckTargets() const;
  void FindBox();

  tagged::TaggedFile file_;
};

}  // namespace mk
