#pragma once
// Warnings of a docking run: conditions the user should hear about that do not stop the docking.

#include <cstdint>
#include <string>
#include <vector>

#include "core/util/Errors.h"

namespace mk {

struct DockWarning {
  enum class Kind {
    AttachCycle,             ///< ids: the points whose attachments lead round in a cycle
    AttachReportUnwritable,  ///< file: the attach error report that could not be written
  };
  Kind kind = Kind::AttachCycle;
  std::vector<std::int32_t> ids;
  std::string file;

  std::string Message(Language language) const;
};

class WarningSink {
 public:
  virtual ~WarningSink() = default;
  virtual void Warn(const DockWarning& warning) = 0;
};

/// Collects warnings in order (the workflow's sink).
class WarningList : public WarningSink {
 public:
  void Warn(const DockWarning& warning) override { warnings.push_back(warning); }
  std::vector<DockWarning> warnings;
};

}  // namespace mk
