#pragma once
// The "[MODEL]" section: rewrites its bounds line as the symmetrical box of the docked model.

#include "model/AM_super.h"

namespace mk {

class Mmodel : public Mamsuper {
 public:
  using Mamsuper::Mamsuper;
};

}  // namespace mk
