#include "core/mdl/UnknownSection.h"

namespace mk {

void UnknownSection::DockSubtree(TreeDocking& /*docking*/) { Docked = true; }

void UnknownSection::SaveToLines(LineWriter& lines) const {
  if (!Docked) Section::SaveToLines(lines);
}

}  // namespace mk
