#pragma once
// Files for tests: a fresh temporary folder per test (optionally the current folder, where the
// attach report goes), whole-file reads and writes, and model text joined with CR LF.

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace mk::test {

/// A fresh temporary folder, removed with everything in it afterwards.
class TempDir {
 public:
  TempDir() {
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() /
            ("mk-test-" + std::to_string(rd()) + "-" + std::to_string(rd()));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  std::string File(const std::string& name) const { return (path_ / name).string(); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

inline void WriteFile(const std::filesystem::path& name, const std::string& bytes) {
  std::ofstream(name, std::ios::binary) << bytes;
}

/// The file's bytes; empty when it cannot be read.
inline std::string ReadFile(const std::filesystem::path& name) {
  std::ifstream in(name, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

/// A temporary folder that is the current folder for the test's lifetime: docking writes its
/// attach report "attach_err.txt" into the current folder, which must not be the source tree.
class ScratchDirectory {
 public:
  ScratchDirectory() : old_(std::filesystem::current_path()) {
    std::filesystem::current_path(dir_.path());
  }
  ~ScratchDirectory() {
    std::error_code ec;
    std::filesystem::current_path(old_, ec);
  }
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  std::string File(const std::string& name) const { return dir_.File(name); }
  const std::filesystem::path& path() const { return dir_.path(); }

  bool HasReport() const { return std::filesystem::exists(dir_.path() / "attach_err.txt"); }
  std::string Report() const { return ReadFile(dir_.path() / "attach_err.txt"); }
  void RemoveReport() const { std::filesystem::remove(dir_.path() / "attach_err.txt"); }

 private:
  TempDir dir_;  // made before the folder is entered, removed after it is left
  std::filesystem::path old_;
};

/// Lines joined with CR LF, the last one included, as model files are written.
inline std::string Crlf(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

}  // namespace mk::test
