#pragma once
// The few process-wide values of the program: the statistics counters that the mesh docking sets
// and the workflow reads, and the control point id switch of the views.

#include <cstdint>

namespace mk {

inline std::int32_t CpCountBefore = 0;
inline std::int32_t CpCountAfter = 0;
inline std::int32_t SplineCountBefore = 0;
inline std::int32_t SplineCountAfter = 0;

/// True when ".mdl" documents write every control point's id beside it.
inline bool ShowCpNumbers = false;

}  // namespace mk
