#include "model/Warnings.h"

namespace mk {

std::string DockWarning::Message(Language language) const {
  const bool ja = language == Language::Japanese;
  if (kind == Kind::AttachReportUnwritable)
    return ja ? "警告: " + file + " を書き込めません" : "Warning: cannot write " + file;
  std::string list;
  for (std::size_t i = 0; i < ids.size(); ++i) {
    if (i) list += ", ";
    list += std::to_string(ids[i]);
  }
  return ja ? "警告: アタッチが循環しています (cpid " + list + ")"
            : "Warning: attachments form a cycle (cpid " + list + ")";
}

}  // namespace mk
