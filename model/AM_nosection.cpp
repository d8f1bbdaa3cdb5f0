#include "model/AM_nosection.h"

namespace mk {

void Mnosection::Dock(double /*tolerance*/) { Docked = true; }

void Mnosection::SaveToLines(LineWriter& lines) const {
  if (!Docked) Mamsuper::SaveToLines(lines);
}

}  // namespace mk
