#pragma once
// Shared body of the document fuzz targets: load, save, dock, save again, draw.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/util/Errors.h"
#include "core/util/LineList.h"
#include "core/workflow/Workflow.h"
#include "core/document/DocumentView.h"
#include "core/view/Canvas.h"
#include "core/view/ProjectionView.h"

namespace mk::fuzz {

/// A small image that keeps only the pen: the projection, clamping and grid run in full.
class NullCanvas : public Canvas {
 public:
  void SetPenColor(Rgb) override {}
  void MoveTo(int x, int y) override { pen_ = {x, y}; }
  void LineTo(int x, int y) override { pen_ = {x, y}; }
  void TextOut(int, int, std::string_view, Rgb, int) override {}
  void FillRect(int, int, int, int, Rgb) override {}
  PixelPoint PenPos() const override { return pen_; }

 private:
  PixelPoint pen_;
};

/// Both views of the program, every direction, from the working document's bounds.
inline void DrawViews(const Document& working, const Document& drawn, PointIds ids) {
  NullCanvas canvas;
  ProjectionView view;
  view.SetCanvas(&canvas, 64, 48);
  for (int direction = 0; direction <= 2; ++direction)
    RedrawView(view, direction, RangeForDirection(working, direction), drawn, ids);
}

/// attach_err.txt goes to the current directory: keep it on a memory file system.
inline void EnterScratchDirectory() {
  static bool done = false;
  if (done) return;
  done = true;
  std::error_code ec;
  std::filesystem::path dir = "/dev/shm/mirrorknit-fuzz";
  std::filesystem::create_directories(dir, ec);
  if (ec) dir = std::filesystem::temp_directory_path();
  std::filesystem::current_path(dir, ec);
}

/// Opens saved bytes as the program would and saves them again, undocked.
inline std::string Reread(FileKind kind, const std::string& saved) {
  WarningList warnings;
  auto document = CreateDocument(kind, nullptr, &warnings);
  document->LoadFromLines(LineList::FromText(saved), 0);
  LineWriter again;
  document->SaveToLines(again);
  return again.Bytes();
}

inline void FuzzDocument(FileKind kind, const std::uint8_t* data, std::size_t size) {
  EnterScratchDirectory();
  const LineList lines =
      LineList::FromText(std::string(reinterpret_cast<const char*>(data), size));
  WarningList warnings;
  auto document = CreateDocument(kind, nullptr, &warnings);
  if (!document) return;
  std::string saved;
  try {
    document->LoadFromLines(lines, 0);
    LineWriter before;
    document->SaveToLines(before);
    // Ids drawn in every other run, as with the check box.
    const PointIds ids = (size % 2) != 0 ? PointIds::Shown : PointIds::Hidden;
    DrawViews(*document, *document, ids);
    document->Dock(0.4);
    LineWriter after;
    document->SaveToLines(after);
    DrawViews(*document, *document, ids);
    for (int i = -1; i <= 6; ++i) (void)document->GetBound(i);
    saved = after.Bytes();
  } catch (const Error&) {
    // Typed errors are the expected outcome of bad files.
    return;
  }
  // What was saved must open again: a docked file the program cannot read back is lost work.
  // An error here escapes and counts as a finding. Re-reading may still change words (the reader
  // trims the blank that ends a written "Bounds=" line, and flag words beyond the range that the
  // big-number text carries exactly change on every save), but never the lines.
  const std::string once = Reread(kind, saved);
  const std::string twice = Reread(kind, once);
  if (LineList::FromText(twice).Count() != LineList::FromText(once).Count()) __builtin_trap();
}

}  // namespace mk::fuzz
