#pragma once
// A section whose header the reader does not know: carried unchanged until the document is
// docked, and left out of a docked model.

#include "core/mdl/Section.h"

namespace mk {

class UnknownSection : public Section {
 public:
  using Section::Section;
  void DockSubtree(TreeDocking& docking) override;
  void SaveToLines(LineWriter& lines) const override;

  bool Docked = false;
};

}  // namespace mk
