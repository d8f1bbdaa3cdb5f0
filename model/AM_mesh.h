#pragma once
// The "[MESH]" section: splines of control points and the docking pipeline.

#include "model/AM_super.h"

namespace mk {

class Mmesh : public Mamsuper {
 public:
  using Mamsuper::Mamsuper;
};

}  // namespace mk
