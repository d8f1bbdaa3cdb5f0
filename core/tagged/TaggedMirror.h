#pragma once
// Docking of one angle-tag model: the plane snap, the mirror of every spline by the rules of the
// bracket dialect (an end on the plane is continued through by the image, both ends close a
// loop, no end gives a twin), then what this dialect adds: existing ids kept, new ids above the
// highest, mirrored patches and normals, groups and bones given the mirrored ids.

#include "core/document/DockStatistics.h"
#include "core/tagged/TaggedModel.h"

namespace mk::tagged {

class TaggedReport;

/// Docks the model in place; report may be null. Returns its counts (zeros for a model without
/// splines, which is left as it is).
DockStatistics DockModel(TaggedModel& model, double tolerance, TaggedReport* report);

}  // namespace mk::tagged
