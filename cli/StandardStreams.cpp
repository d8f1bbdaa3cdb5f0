#include "cli/StandardStreams.h"

#include <atomic>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <system_error>

#include "core/util/FileIo.h"
#include "core/util/LineList.h"
#include "core/util/Utf8Path.h"

#ifdef _WIN32
#include <process.h>
#define MK_PROCESS_ID _getpid()
#else
#include <unistd.h>
#define MK_PROCESS_ID getpid()
#endif

namespace mk::cli {
namespace {

std::istream* standard_input = &std::cin;

bool StartsWith(const std::string& text, std::string_view start) {
  return text.compare(0, start.size(), start) == 0;
}

}  // namespace

void SetStandardInput(std::istream* in) { standard_input = in ? in : &std::cin; }

StandardInputFile::StandardInputFile() {
  std::string bytes{std::istreambuf_iterator<char>(*standard_input),
                    std::istreambuf_iterator<char>()};
  const bool model = StartsWith(bytes, "[MODELFILE]") || StartsWith(bytes, "<MODELFILE>");
  static std::atomic<int> count{0};
  const std::filesystem::path folder = std::filesystem::temp_directory_path();
  name_ = Utf8FromPath(folder / ("mirrorknit-stdin-" + std::to_string(MK_PROCESS_ID) + "-" +
                                 std::to_string(count++) + (model ? ".mdl" : ".seg")));
  WriteFileAtomically(name_, bytes);
}

StandardInputFile::~StandardInputFile() {
  std::error_code ignored;
  std::filesystem::remove(PathFromUtf8(name_), ignored);
}

void WriteDocumentTo(const Document& document, std::ostream& out) {
  LineWriter lines([&out](std::string_view piece) {
    out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
  });
  document.SaveToLines(lines);
  lines.Flush();
  out.flush();
}

}  // namespace mk::cli
