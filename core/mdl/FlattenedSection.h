#pragma once
// Materials, patches, actions and choreographies: their own text lines are kept, their nested
// sections are dropped when the model is docked.

#include "core/mdl/Section.h"

namespace mk {

class FlattenedSection : public Section {
 public:
  using Section::Section;

 protected:
  void DockSubtree(TreeDocking& docking) override;
};

}  // namespace mk
