#include "core/mdl/FlattenedSection.h"

namespace mk {

void FlattenedSection::DockSubtree(TreeDocking& /*docking*/) { FreeChildren(); }

}  // namespace mk
