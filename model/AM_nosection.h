#pragma once
// A section whose header the reader does not know: carried unchanged until the document is
// docked, and left out of a docked model.

#include "model/AM_super.h"

namespace mk {

class Mnosection : public Mamsuper {
 public:
  using Mamsuper::Mamsuper;
  void Dock(double tolerance) override;
  void SaveToLines(LineWriter& lines) const override;

  bool Docked = false;
};

}  // namespace mk
