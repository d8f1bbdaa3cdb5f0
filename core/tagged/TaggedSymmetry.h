#pragma once
// How symmetric a model as read is about X=0, for the check that refuses to dock a whole model
// again. Real whole models are exact mirrors off the plane, but their points on the plane lie
// about 1e-6 of the model's size off it, on either side: those count as on the plane.

#include <cstddef>

#include "core/tagged/TaggedModel.h"

namespace mk::tagged {

struct Symmetry {
  /// Points with their own position further from the plane than a millionth-scale band.
  std::size_t off_plane = 0;
  std::size_t below = 0;
  /// Those whose mirror image is the position of another such point.
  std::size_t mirrored = 0;
};

/// Counts over the positioned points of every model of the file.
Symmetry SymmetryOf(const TaggedFile& file);

}  // namespace mk::tagged
