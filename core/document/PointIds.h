#pragma once
// The one drawing option of documents.

namespace mk {

/// Whether a drawing writes every control point's id beside it (".mdl" documents only).
enum class PointIds { Hidden, Shown };

}  // namespace mk
