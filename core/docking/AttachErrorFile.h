#pragma once
// "attach_err.txt": the list of attached points whose target no point bears. Every ".mdl"
// dialect writes the same file, so a modeller reads one list whatever the file's dialect.

#include <cstdint>
#include <vector>

namespace mk {

/// One attached point without a target, as the list names it.
struct MissingAttachTarget {
  std::int32_t cpid = 0;
  std::int32_t at_cpid = 0;
};

/// The name the list is written under, in the current directory.
inline constexpr const char* kAttachErrorFileName = "attach_err.txt";

/// Writes the list when it names any point, replacing an older one; an empty list writes
/// nothing. Answers false when the file could not be written: the list is advice, not part of
/// the model, so the caller warns and goes on.
bool WriteAttachErrorFile(std::int32_t point_count, const std::vector<MissingAttachTarget>& missing);

}  // namespace mk
