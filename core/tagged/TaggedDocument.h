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

  std::size_t LoadFromLines(const LineList& lines, std::size_t index) override;
  void SaveToLines(LineWriter& lines) const override;
  void Draw(View3D& view, PointIds ids) const override;
  void VisitPoints(PointVisitor& visitor) const override;

  const tagged::TaggedFile& File() const { return file_; }

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
