#pragma once
// The "[MODEL]" section: rewrites its bounds line as the symmetrical box of the docked model.

#include <array>

#include "core/mdl/Section.h"

namespace mk {

class ModelSection : public Section {
 public:
  using Section::Section;

  /// Docks the children, then turns the first "Bounds=" line into the box of the whole model.
  void DockSubtree(TreeDocking& docking) override;
  /// The section's own bounds, symmetrical in x; answers true whether or not a bounds line was read.
  bool FindBounds(std::array<double, 3>& min, std::array<double, 3>& max) const override;
};

}  // namespace mk
