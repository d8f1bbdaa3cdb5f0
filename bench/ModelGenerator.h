#pragma once
// Large, valid half models for benchmarks and tests: splines of a few points with hooks and ratios,
// stacked and dangling attachments, points on and near the plane, shared ids and closed splines.
// The same seed always gives the same text.

#include <cstdint>
#include <string>
#include <vector>

#include "core/workflow/Workflow.h"

namespace mk::bench {

/// The text of a model of about `points` control points, ".mdl" or ".seg" by kind.
std::string GenerateModelText(long long points, FileKind kind, unsigned seed);

struct ModelWithGaps {
  std::string text;
  /// The docked ids of the planted spline ends, rising.
  std::vector<std::int32_t> gap_ids;
};

/// A model like the above whose only near misses at the tolerance 0.4 are `gaps` free spline
/// ends planted 0.41 to 1.19 from the plane, spread over the model (fewer when it is too small).
/// To make that exact, the body keeps 2.7 or more from the plane, ids are not shared (docked ids
/// are then positions), spline ends hold no hook ratio and nothing is attached to a planted end.
ModelWithGaps GenerateModelWithGaps(long long points, FileKind kind, unsigned seed, int gaps);

}  // namespace mk::bench
