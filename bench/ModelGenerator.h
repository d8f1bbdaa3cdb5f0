#pragma once
// Large, valid half models for benchmarks and tests: splines of a few points with hooks and ratios,
// stacked and dangling attachments, points on and near the plane, shared ids and closed splines.
// The same seed always gives the same text.

#include <string>

#include "core/workflow/Workflow.h"

namespace mk::bench {

/// The text of a model of about `points` control points, ".mdl" or ".seg" by kind.
std::string GenerateModelText(long long points, FileKind kind, unsigned seed);

}  // namespace mk::bench
