#include "core/document/Warnings.h"

namespace mk {

std::string DockWarning::Message(Language language) const {
  const bool ja = language == Language::Japanese;
  if (kind == Kind::AttachReportUnwritable)
    return ja ? "警告: " + file + " を書き込めません" : "Warning: cannot write " + file;
  // A broken file can hold thousands of cycles: name the first ids and count the rest.
  constexpr std::size_t kShown = 20;
  std::string list;
  for (std::size_t i = 0; i < ids.size() && i < kShown; ++i) {
    if (i) list += ", ";
    list += std::to_string(ids[i]);
  }
  if (ids.size() > kShown) {
    const std::string more = std::to_string(ids.size() - kShown);
    list += ja ? " ほか " + more + " 個" : " and " + more + " more";
  }
  return ja ? "警告: アタッチが循環しています (cpid " + list + ")"
            : "Warning: attachments form a cycle (cpid " + list + ")";
}

}  // namespace mk
