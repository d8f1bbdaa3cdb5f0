#include "model/AM_nodata.h"

namespace mk {

void Mnodata::Dock(double /*tolerance*/) { FreeChildren(); }

}  // namespace mk
