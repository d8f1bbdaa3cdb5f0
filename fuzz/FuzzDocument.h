#pragma once
// Shared body of the document fuzz targets: load, save, dock, save again, draw.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "model/Errors.h"
#include "model/LineList.h"
#include "model/Workflow.h"
#include "view/View3D.h"

namespace mk::fuzz {

class NullView : public View3D {
 public:
  void MoveTo3D(long double, long double, long double) override {}
  void LineTo3D(long double, long double, long double) override {}
  void TextOut3D(std::string_view, long double, long double, long double) override {}
};

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

inline void FuzzDocument(int kind, const std::uint8_t* data, std::size_t size) {
  EnterScratchDirectory();
  const LineList lines =
      LineList::FromText(std::string(reinterpret_cast<const char*>(data), size));
  WarningList warnings;
  auto document = CreateDocument(kind, nullptr, &warnings);
  if (!document) return;
  try {
    document->LoadFromLines(lines, 0);
    LineWriter before;
    document->SaveToLines(before);
    NullView view;
    document->Draw(view);
    document->Dock(0.4);
    LineWriter after;
    document->SaveToLines(after);
    document->Draw(view);
    for (int i = -1; i <= 6; ++i) (void)document->GetBound(i);
  } catch (const Error&) {
    // Typed errors are the expected outcome of bad files.
  }
}

}  // namespace mk::fuzz
