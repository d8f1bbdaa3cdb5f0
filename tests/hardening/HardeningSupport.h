#pragma once
// Helpers of the hardening tests: run a whole document through load, save, dock, save and draw,
// and keep attach_err.txt out of the source tree.

#include <memory>
#include <string>

#include "core/util/Errors.h"
#include "core/util/LineList.h"
#include "core/document/Warnings.h"
#include "core/workflow/Workflow.h"
#include "core/view/View3D.h"
#include "support/Files.h"

namespace mk::test {

class CountingView : public View3D {
 public:
  void MoveTo3D(long double, long double, long double) override { ++moves; }
  void LineTo3D(long double, long double, long double) override { ++lines; }
  void TextOut3D(std::string_view, long double, long double, long double) override { ++texts; }
  long moves = 0, lines = 0, texts = 0;
};

struct Outcome {
  bool failed = false;
  std::string message;  ///< English text of the error, when failed
  std::string saved_before;
  std::string saved_after;
  WarningList warnings;
};

/// What the workflow does with an opened file, stopping at the first typed error.
inline Outcome RunWholeDocument(FileKind kind, const std::string& bytes, double tolerance = 0.4) {
  Outcome outcome;
  auto document = CreateDocument(kind, nullptr, &outcome.warnings);
  try {
    document->LoadFromLines(LineList::FromText(bytes), 0);
    LineWriter before;
    document->SaveToLines(before);
    outcome.saved_before = before.Bytes();
    CountingView view;
    document->Draw(view, PointIds::Hidden);
    document->Dock(tolerance);
    LineWriter after;
    document->SaveToLines(after);
    outcome.saved_after = after.Bytes();
    document->Draw(view, PointIds::Hidden);
  } catch (const Error& e) {
    outcome.failed = true;
    outcome.message = e.what();
  }
  return outcome;
}

}  // namespace mk::test
