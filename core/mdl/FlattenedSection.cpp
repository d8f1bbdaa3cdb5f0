#include "core/mdl/FlattenedSection.h"

namespace mk {

void FlattenedSection::DockSubtree(double /*tolerance*/, DockStatistics& /*statistics*/) { FreeChildren(); }

}  // namespace mk
