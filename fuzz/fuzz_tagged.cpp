// The angle-tag ".mdl" reader, docking and writer on arbitrary bytes behind the dialect's first
// line: whatever reads must dock, and whatever is saved must read back to the same bytes.

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/tagged/TaggedDocument.h"
#include "fuzz/FuzzDocument.h"

namespace {

std::string SaveOf(const mk::Document& document) {
  mk::LineWriter lines;
  document.SaveToLines(lines);
  return lines.Bytes();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  mk::fuzz::EnterScratchDirectory();
  std::string text(reinterpret_cast<const char*>(data), size);
  if (text.rfind("<MODELFILE>", 0) != 0) text = "<MODELFILE>\r\n" + text;
  mk::WarningList warnings;
  mk::TaggedDocument document(nullptr, &warnings);
  std::string saved;
  try {
    document.LoadFromLines(mk::LineList::FromText(text), 0);
    const mk::PointIds ids = (size % 2) != 0 ? mk::PointIds::Shown : mk::PointIds::Hidden;
    mk::fuzz::DrawViews(document, document, ids);
    mk::DockReport report;
    document.Dock(size % 3 == 0 ? 0.4 : 1e-5, &report);
    mk::fuzz::DrawViews(document, document, ids);
    saved = SaveOf(document);
  } catch (const mk::Error&) {
    return 0;  // typed errors are the expected outcome of bad files
  }
  // A docked file the program cannot read back is lost work: an error here is a finding.
  mk::TaggedDocument again(nullptr, nullptr);
  again.LoadFromLines(mk::LineList::FromText(saved), 0);
  if (SaveOf(again) != saved) __builtin_trap();
  return 0;
}
