#pragma once
// Large, valid half models in the angle-tag ".mdl" dialect for benchmarks and tests: a surface
// of rows of positioned points from the plane outwards, crossed by column splines of points
// stacked on them, with patches, normals, hooks, a group and a bone listing every point, as the
// modelling product saves a character. The same seed always gives the same text.

#include <string>

namespace mk::bench {

/// The CR LF text of a half model of about `points` control points.
std::string GenerateTaggedModelText(long long points, unsigned seed);

}  // namespace mk::bench
