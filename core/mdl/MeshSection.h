#pragma once
// The "[MESH]" section: splines of control points and the docking pipeline.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/mdl/Spline.h"
#include "core/mdl/Section.h"

namespace mk {

class MeshSection : public Section {
 public:
  using Section::Section;
  ~MeshSection() override;

  std::size_t LoadFromLines(const LineList& lines, std::size_t index) override;
  /// Always the canonical form: version, spline count and the splines; other body lines and
  /// nested sections are not written.
  void SaveToLines(LineWriter& lines) const override;
  void Draw(View3D& view, PointIds ids) const override;

  std::int32_t SplineCount() const { return static_cast<std::int32_t>(Splines.size()); }
  Spline& SplineAt(std::size_t position) const { return *Splines[position]; }
  /// Mirrors the splines present now, last first; new splines are appended. fates, when given,
  /// receives the fate of each spline present now, by its position.
  void MirrorSplines(std::int32_t offset, CorrectionList& records, SplineFate* fates = nullptr);

  std::string Version = "2";
  std::vector<std::unique_ptr<Spline>> Splines;

 protected:
  /// The docking pipeline; a mesh without splines leaves statistics as they are.
  void DockSubtree(TreeDocking& docking) override;
  void AddEntry(std::string_view text, std::unique_ptr<Section> child) override;
  /// The points of the splines, where Draw puts them; nested sections are not drawn either.
  void VisitSubtree(PointVisitor& visitor, std::int32_t& mesh) const override;

 private:
  class BodyReader;
  // Reads the body while the section is read, line by line as the lines are met, so that a
  // model of millions of lines needs no list of them. Null outside LoadFromLines.
  BodyReader* reader_ = nullptr;
};

}  // namespace mk
