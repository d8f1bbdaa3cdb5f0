#include "model/Workflow.h"

#include "model/AM_super.h"
#include "model/FileIo.h"
#include "model/Globals.h"
#include "model/LineList.h"
#include "segment/AM4_seg.h"

namespace mk {

std::string_view ExtensionOf(std::string_view file_name) {
#ifdef _WIN32
  const std::size_t slash = file_name.find_last_of("/\\:");
#else
  const std::size_t slash = file_name.find_last_of('/');
#endif
  const std::string_view last =
      slash == std::string_view::npos ? file_name : file_name.substr(slash + 1);
  const std::size_t dot = last.find_last_of('.');
  return dot == std::string_view::npos ? std::string_view() : last.substr(dot);
}

int FileKindOf(std::string_view file_name) {
  const std::string_view extension = ExtensionOf(file_name);
  if (SameTextIgnoringCase(extension, ".seg")) return kSegmentFile;
  if (SameTextIgnoringCase(extension, ".mdl")) return kModelFile;
  return kOtherFile;
}

std::unique_ptr<Mamcommon> CreateDocument(int kind, ProgressBar* progress_bar,
                                          WarningSink* warnings) {
  if (kind == kSegmentFile) return std::make_unique<Msegment>(progress_bar, warnings);
  if (kind == kModelFile) return std::make_unique<Mamsuper>(progress_bar, warnings);
  return nullptr;
}

DockStatistics StatisticsOf(const Mamcommon& docked_document) {
  // A segment keeps its own figures and leaves the ".mdl" counters alone.
  if (const auto* segment = dynamic_cast<const Msegment*>(&docked_document))
    return {segment->cpCountBefore, segment->cpCountAfter, segment->splineCountBefore,
            segment->splineCountAfter};
  return {CpCountBefore, CpCountAfter, SplineCountBefore, SplineCountAfter};
}

std::array<std::string, 2> StatisticsLines(const DockStatistics& s) {
  // The differences are taken in 64 bits: counters near the 32-bit limits must not overflow.
  auto line = [](const char* label, std::int32_t before, std::int32_t after) {
    return std::string(label) + std::to_string(before) + "+" +
           std::to_string(std::int64_t{after} - before) + "->" + std::to_string(after);
  };
  return {line("Number of cp=", s.cp_before, s.cp_after),
          line("Number of spline=", s.splines_before, s.splines_after)};
}

std::string WriteDocument(const Mamcommon& document, const std::string& current_file_name,
                          const std::string& target_name) {
  std::string save_target = target_name;
  const bool backup = SameTextIgnoringCase(current_file_name, target_name);
  if (ExtensionOf(save_target).empty()) {
    const int kind = FileKindOf(current_file_name);
    if (kind == kSegmentFile) save_target += ".seg";
    if (kind == kModelFile) save_target += ".mdl";
  }
  // The text goes to the disk as it is made: a docked model is twice the size of the file read.
  const ByteSource text = [&document](const ByteSink& sink) {
    LineWriter lines(sink);
    document.SaveToLines(lines);
    lines.Flush();
  };
  // The backup is copied first, but an older backup is only replaced once the new model is
  // complete on the disk too: a failed save loses neither.
  if (backup)
    WriteFileWithBackup(save_target, text, current_file_name, current_file_name + ".bak");
  else
    WriteFileAtomically(save_target, text);
  return save_target;
}

}  // namespace mk
