#pragma once
// Materials, patches, actions and choreographies: their own text lines are kept, their nested
// sections are dropped when the model is docked.

#include "model/AM_super.h"

namespace mk {

class Mnodata : public Mamsuper {
 public:
  using Mamsuper::Mamsuper;
  void Dock(double tolerance) override;
};

}  // namespace mk
