#pragma once
// Shared helpers of the ".mdl" docking tests: documents from text, a working folder that holds
// "attach_err.txt", a recording view and a recording progress bar.

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "core/document/Document.h"
#include "core/util/LineList.h"
#include "core/document/Progress.h"
#include "core/workflow/Workflow.h"
#include "core/view/View3D.h"

namespace mk::mdltest {

/// Joins lines with CR LF, as model files are written.
inline std::string Crlf(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) out += line + "\r\n";
  return out;
}

inline std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

/// Runs the test inside a fresh folder, because the attach report goes to the current folder.
class WorkingFolder {
 public:
  WorkingFolder() {
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() / ("mk-mdl-" + std::to_string(rd()) + "-" +
                                                      std::to_string(rd()));
    std::filesystem::create_directories(path_);
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(path_);
  }
  ~WorkingFolder() {
    std::error_code ec;
    std::filesystem::current_path(previous_, ec);
    std::filesystem::remove_all(path_, ec);
  }
  WorkingFolder(const WorkingFolder&) = delete;
  WorkingFolder& operator=(const WorkingFolder&) = delete;

  bool HasReport() const { return std::filesystem::exists(path_ / "attach_err.txt"); }
  std::string Report() const { return ReadAll(path_ / "attach_err.txt"); }
  void RemoveReport() const { std::filesystem::remove(path_ / "attach_err.txt"); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
  std::filesystem::path previous_;
};

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

/// Records what a document draws, one text per call.
class RecordingView : public View3D {
 public:
  void MoveTo3D(long double x, long double y, long double z) override { Add("M", x, y, z); }
  void LineTo3D(long double x, long double y, long double z) override { Add("L", x, y, z); }
  void TextOut3D(std::string_view text, long double x, long double y, long double z) override {
    std::string tag = "T";  // not "T" + text: GCC 12 warns falsely (-Wrestrict) on that form
    tag += text;
    Add(tag, x, y, z);
  }
  std::vector<std::string> calls;

 private:
  void Add(const std::string& what, long double x, long double y, long double z) {
    std::ostringstream s;
    s << what << " " << static_cast<double>(x) << " " << static_cast<double>(y) << " "
      << static_cast<double>(z);
    calls.push_back(s.str());
  }
};

class RecordingBar : public ProgressBar {
 public:
  void SetPosition(int position) override { positions.push_back(position); }
  std::vector<int> positions;
};

}  // namespace mk::mdltest
