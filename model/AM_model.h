#pragma once
// The "[MODEL]" section: rewrites its bounds line as the symmetrical box of the docked model.

#include <array>

#include "model/AM_super.h"

namespace mk {

class Mmodel : public Mamsuper {
 public:
  using Mamsuper::Mamsuper;

  /// Docks the children, then turns the first "Bounds=" line into the box of the whole model.
  void Dock(double tolerance) override;
  /// The section's own bounds, symmetrical in x; answers true whether or not a bounds line was read.
  bool FindBounds(std::array<double, 3>& min, std::array<double, 3>& max) const override;
};

}  // namespace mk
