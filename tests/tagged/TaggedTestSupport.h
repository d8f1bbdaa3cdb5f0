#pragma once
// Angle-tag documents for tests: loaded from text, saved to text, docked with a report, and the
// public-domain sample models next to the source tree.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/document/DockReport.h"
#include "core/tagged/TaggedDocument.h"
#include "core/util/LineList.h"
#include "support/Files.h"

namespace mk::test {

inline std::unique_ptr<TaggedDocument> LoadTagged(const std::string& text,
                                                  WarningSink* warnings = nullptr) {
  auto document = std::make_unique<TaggedDocument>(nullptr, warnings);
  document->LoadFromLines(LineList::FromText(text), 0);
  return document;
}

inline std::string SaveTagged(const Document& document) {
  LineWriter lines;
  document.SaveToLines(lines);
  return lines.Bytes();
}

/// The folder of the public-domain sample models, beside the source tree; empty when absent.
inline std::filesystem::path SampleModels() {
  const std::filesystem::path dir = std::filesystem::path(MK_SOURCE_DIR) / ".." / "shared" / "models";
  return std::filesystem::is_directory(dir) ? dir : std::filesystem::path();
}

inline std::vector<std::filesystem::path> SampleModelFiles() {
  std::vector<std::filesystem::path> files;
  const std::filesystem::path dir = SampleModels();
  if (dir.empty()) return files;
  for (const auto& entry : std::filesystem::directory_iterator(dir))
    if (entry.path().extension() == ".mdl") files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

#define MK_SKIP_WITHOUT_SAMPLE_MODELS()                                                    \
  if (::mk::test::SampleModels().empty())                                                  \
  GTEST_SKIP() << "the public-domain sample models (../shared/models beside the source "   \
                  "tree) are not there"

/// A small model file: the frame every real file has, around the given mesh and model parts.
inline std::string TaggedFileText(const std::vector<std::string>& mesh,
                                  const std::vector<std::string>& after_mesh = {}) {
  std::vector<std::string> lines = {"<MODELFILE>", "ProductVersion=17", "Release= PC",
                                    "<OBJECTS>", "<MODEL>", "<MESH>"};
  lines.insert(lines.end(), mesh.begin(), mesh.end());
  lines.push_back("</MESH>");
  lines.insert(lines.end(), after_mesh.begin(), after_mesh.end());
  lines.insert(lines.end(), {"<FileInfo>", "CreatedBy=test", "</FileInfo>", "</MODEL>",
                             "</OBJECTS>", "FileInfoPos=0", "</MODELFILE>"});
  return Crlf(lines);
}

/// The lines of a text, without their ends.
inline std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> lines;
  const LineList list = LineList::FromText(text);
  for (std::size_t i = 0; i < list.Count(); ++i) lines.emplace_back(list.Get(i));
  return lines;
}

/// The lines between the opening and closing line of the first section of that tag.
inline std::vector<std::string> Section(const std::string& text, const std::string& tag) {
  std::vector<std::string> body;
  bool inside = false;
  for (const std::string& line : LinesOf(text)) {
    if (line == "</" + tag + ">") break;
    if (inside) body.push_back(line);
    if (line == "<" + tag + ">") inside = true;
  }
  return body;
}

}  // namespace mk::test
