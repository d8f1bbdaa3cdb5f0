#include "core/mdl/ModelSection.h"

#include <cmath>
#include <string>

#include "core/util/NumberText.h"
#include "core/util/FieldSplitter.h"

namespace mk {

void ModelSection::DockSubtree(TreeDocking& docking) {
  Section::DockSubtree(docking);
  for (Entry& entry : Entries) {
    FieldSplitter fields;
    fields.Separator = "=";
    fields.SetText(entry.text);
    if (!SameTextIgnoringCase(fields.NextField(), "Bounds")) continue;

    BoundMin = {};
    BoundMax = {};
    fields.Separator = " ";
    for (int corner = 0; corner < 8; ++corner) {
      const double x = StrToFloat(fields.NextField());
      BoundMax[0] = std::fmax(BoundMax[0], std::fabs(x));
      for (std::size_t axis = 1; axis < 3; ++axis) {
        const double v = StrToFloat(fields.NextField());
        if (v > BoundMax[axis])
          BoundMax[axis] = v;
        else if (v < BoundMin[axis])
          BoundMin[axis] = v;
      }
    }
    const double big_x = BoundMax[0];
    BoundMin[0] = -big_x;

    std::string text = "Bounds=";
    auto corner = [&text](double cx, double cy, double cz) {
      for (double v : {cx, cy, cz}) {
        AppendFloat(text, v);
        text += ' ';
      }
    };
    corner(big_x, BoundMax[1], BoundMax[2]);
    corner(big_x, BoundMax[1], BoundMin[2]);
    corner(big_x, BoundMin[1], BoundMin[2]);
    corner(big_x, BoundMin[1], BoundMax[2]);
    corner(-big_x, BoundMax[1], BoundMax[2]);
    corner(-big_x, BoundMax[1], BoundMin[2]);
    corner(-big_x, BoundMin[1], BoundMin[2]);
    corner(-big_x, BoundMin[1], BoundMax[2]);
    entry.text = std::move(text);
    return;  // a second bounds line is left as it was
  }
}

bool ModelSection::FindBounds(std::array<double, 3>& min, std::array<double, 3>& max) const {
  // min and max may be this section's own bounds (Section::Dock passes them), so read first.
  const std::array<double, 3> low{-BoundMax[0], BoundMin[1], BoundMin[2]};
  const std::array<double, 3> high = BoundMax;
  min = low;
  max = high;
  return true;
}

}  // namespace mk
