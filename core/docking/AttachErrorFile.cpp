#include "core/docking/AttachErrorFile.h"

#include "core/util/Errors.h"
#include "core/util/FileIo.h"
#include "core/util/LineList.h"
#include "core/util/NumberText.h"

namespace mk {

bool WriteAttachErrorFile(std::int32_t point_count, const std::vector<MissingAttachTarget>& missing) {
  if (missing.empty()) return true;
  LineWriter report;
  report.Add("\xE3\x82\xA2\xE3\x82\xBF\xE3\x83\x83\xE3\x83\x81\xE5\x85\x88\xE3\x81\x8C\xE7\x84\xA1\xE3\x81\x84");
  report.Text() += "num_of_cp=";
  AppendInt(report.Text(), point_count);
  report.EndLine();
  for (const MissingAttachTarget& m : missing) {
    std::string& text = report.Text();
    text += "cpid=";
    AppendInt(text, m.cpid);
    text += " at_cpid=";
    AppendInt(text, m.at_cpid);
    report.EndLine();
  }
  try {
    WriteFileAtomically(kAttachErrorFileName, report.Bytes());
  } catch (const FileError&) {
    return false;
  }
  return true;
}

}  // namespace mk
