#pragma once
// Large, valid half models for benchmarks and tests: splines of a few points with hooks and ratios,
// stacked and dangling attachments, points on and near the plane, shared ids and closed splines.
// The same seed always gives the same text.

#include <string>

namespace mk::bench {

/// The text of a model of about `points` control points, ".mdl" for kind 5, ".seg" for kind 4.
std::string GenerateModelText(long long points, int kind, unsigned seed);

}  // namespace mk::bench
