#pragma once
// Helpers of the ".mdl" tests: documents read from text, and the shared test helpers (folders,
// files, recording view and bar) under the names these tests use.

#include <filesystem>
#include <memory>
#include <string>

#include "core/document/Document.h"
#include "core/util/LineList.h"
#include "core/document/Progress.h"
#include "core/workflow/Workflow.h"
#include "support/Files.h"
#include "support/Recording.h"

namespace mk::mdltest {

// The shared helpers under the names these tests have always used.
using test::Crlf;
using test::RecordingBar;
using test::RecordingView;
/// The current folder for the test's lifetime, holding "attach_err.txt".
using WorkingFolder = test::ScratchDirectory;
inline std::string ReadAll(const std::filesystem::path& path) { return test::ReadFile(path); }

/// A ".mdl" document read from text; the lines stay alive beside it.
struct LoadedDocument {
  LineList lines;
  std::unique_ptr<Document> doc;

  std::string Save() const {
    LineWriter out;
    doc->SaveToLines(out);
    return out.Bytes();
  }
};

inline LoadedDocument Load(const std::string& text, ProgressBar* bar = nullptr,
                     WarningSink* warnings = nullptr) {
  LoadedDocument d{LineList::FromText(text), CreateDocument(FileKind::Model, bar, warnings)};
  d.doc->LoadFromLines(d.lines, 0);
  return d;
}

}  // namespace mk::mdltest
