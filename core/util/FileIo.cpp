#include "core/util/FileIo.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <system_error>

#include "core/util/Errors.h"
#include "core/util/Utf8Path.h"

#ifdef _WIN32
#include <io.h>
#define MK_FSYNC(fd) _commit(fd)
#define MK_FILENO(f) _fileno(f)
#else
#include <unistd.h>
#define MK_FSYNC(fd) fsync(fd)
#define MK_FILENO(f) fileno(f)
#endif

namespace mk {
namespace {

namespace fs = std::filesystem;

long long g_disk_full_after = -1;
SaveStep g_failing_step = SaveStep::Flush;
int g_fail_at_pass = 0;

/// The test hook of SimulateFailureAt: true when this pass of the step is the one to fail.
bool SimulatedFailure(SaveStep step) {
  if (g_fail_at_pass <= 0 || step != g_failing_step || --g_fail_at_pass > 0) return false;
  errno = EIO;
  return true;
}

struct FileCloser {
  void operator()(std::FILE* f) const {
    if (f) std::fclose(f);
  }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

std::string ErrnoText(int err) { return err ? std::strerror(err) : std::string(); }

/// A temporary file in the target's folder, removed unless committed.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::string& target, const std::string& error_name)
      : target_(target), error_name_(error_name) {
    std::random_device rd;
    for (int attempt = 0; attempt < 16 && !file_; ++attempt) {
      path_ = target + ".tmp" + std::to_string(rd() % 1000000u);
      file_.reset(CreateNewFile(path_));
    }
    if (!file_) throw FileError(FileError::Kind::Create, error_name_, ErrnoText(errno));
  }
  ~TemporaryFile() {
    if (!committed_) {
      file_.reset();
      std::error_code ignored;
      fs::remove(PathFromUtf8(path_), ignored);
    }
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  void Write(const char* data, std::size_t size) {
    if (g_disk_full_after >= 0) {
      if (static_cast<long long>(size) > g_disk_full_after) {
        throw FileError(FileError::Kind::Write, error_name_, ErrnoText(ENOSPC));
      }
      g_disk_full_after -= static_cast<long long>(size);
    }
    if (size && std::fwrite(data, 1, size, file_.get()) != size)
      throw FileError(FileError::Kind::Write, error_name_, ErrnoText(errno));
  }

  void Commit() {
    Finish();
    Replace();
  }

  /// Puts every byte on the disk; the target is not touched yet.
  void Finish() {
    if (std::fflush(file_.get()) != 0 || SimulatedFailure(SaveStep::Flush) ||
        MK_FSYNC(MK_FILENO(file_.get())) != 0 || SimulatedFailure(SaveStep::Sync))
      throw FileError(FileError::Kind::Write, error_name_, ErrnoText(errno));
    if (std::fclose(file_.release()) != 0 || SimulatedFailure(SaveStep::Close))
      throw FileError(FileError::Kind::Write, error_name_, ErrnoText(errno));
  }

  /// Renames the finished file over the target.
  void Replace() {
    std::error_code ec;
    // Keep the permissions of the file being replaced.
    const auto old = fs::status(PathFromUtf8(target_), ec);
    if (!ec && fs::exists(old)) fs::permissions(PathFromUtf8(path_), old.permissions(), ec);
    ec.clear();
    if (SimulatedFailure(SaveStep::Rename))
      ec = std::make_error_code(std::errc::io_error);
    else
      fs::rename(PathFromUtf8(path_), PathFromUtf8(target_), ec);
    if (ec) throw FileError(FileError::Kind::Create, error_name_, ec.message());
    committed_ = true;
  }

 private:
  std::string target_;
  std::string error_name_;
  std::string path_;
  FilePtr file_;
  bool committed_ = false;
};

/// Refuses to replace a folder or a device: only a regular file or a new name may be written.
void CheckWritableTarget(const std::string& target, const std::string& error_name) {
  std::error_code ec;
  const auto status = fs::status(PathFromUtf8(target), ec);
  if (!ec && fs::exists(status) && !fs::is_regular_file(status))
    throw FileError(FileError::Kind::Create, error_name, "not a regular file");
}

}  // namespace

bool IsRegularFile(const std::string& file_name) {
  std::error_code ec;
  return fs::is_regular_file(PathFromUtf8(file_name), ec);
}

FileText ReadWholeFile(const std::string& file_name) {
  if (!IsRegularFile(file_name)) throw FileError(FileError::Kind::Open, file_name);
  FilePtr file(OpenForReading(file_name));
  if (!file) throw FileError(FileError::Kind::Open, file_name, ErrnoText(errno));
  // Sized once from the file's length and read straight into place; a file that grows meanwhile
  // is read on to its end, one that shrinks is cut to what was read.
  FileText bytes;
  std::error_code size_error;
  const auto expected = fs::file_size(PathFromUtf8(file_name), size_error);
  std::size_t have = 0;
  if (!size_error) {
    bytes.reserve(static_cast<std::size_t>(expected));
    bytes.resize(static_cast<std::size_t>(expected));
  }
  for (;;) {
    const std::size_t got = std::fread(bytes.data() + have, 1, bytes.size() - have, file.get());
    have += got;
    if (have < bytes.size()) break;
    // Full: look for more before growing, so that a file of the expected size (the normal case)
    // is never held in a buffer twice its size.
    char probe[65536];
    const std::size_t more = std::fread(probe, 1, sizeof probe, file.get());
    if (more == 0) break;
    bytes.append(probe, more);
    have += more;
  }
  bytes.resize(have);
  if (std::ferror(file.get())) throw FileError(FileError::Kind::Open, file_name, ErrnoText(errno));
  return bytes;
}

void WriteFileAtomically(const std::string& file_name, std::string_view bytes) {
  WriteFileAtomically(file_name, [bytes](const ByteSink& sink) { sink(bytes); });
}

void WriteFileAtomically(const std::string& file_name, const ByteSource& source) {
  CheckWritableTarget(file_name, file_name);
  TemporaryFile temp(file_name, file_name);
  source([&temp](std::string_view piece) { temp.Write(piece.data(), piece.size()); });
  temp.Commit();
}

namespace {

/// The finished copy of source in a temporary file beside destination, not yet renamed.
std::unique_ptr<TemporaryFile> PrepareCopy(const std::string& source,
                                           const std::string& destination) {
  std::error_code ec;
  std::string expanded = Utf8FromPath(fs::absolute(PathFromUtf8(destination), ec));
  if (ec) expanded = destination;

  if (!IsRegularFile(source)) throw FileError(FileError::Kind::Open, source);
  FilePtr in(OpenForReading(source));
  if (!in) throw FileError(FileError::Kind::Open, source, ErrnoText(errno));

  CheckWritableTarget(expanded, expanded);
  auto out = std::make_unique<TemporaryFile>(expanded, expanded);
  char buffer[8192];
  for (;;) {
    const std::size_t got = std::fread(buffer, 1, sizeof buffer, in.get());
    out->Write(buffer, got);
    if (got < sizeof buffer) break;
  }
  if (std::ferror(in.get())) throw FileError(FileError::Kind::Open, source, ErrnoText(errno));
  out->Finish();
  return out;
}

}  // namespace

void CopyWholeFile(const std::string& source, const std::string& destination) {
  PrepareCopy(source, destination)->Replace();
}

void WriteFileWithBackup(const std::string& file_name, std::string_view bytes,
                         const std::string& backup_source, const std::string& backup_name) {
  WriteFileWithBackup(
      file_name, [bytes](const ByteSink& sink) { sink(bytes); }, backup_source, backup_name);
}

void WriteFileWithBackup(const std::string& file_name, const ByteSource& source,
                         const std::string& backup_source, const std::string& backup_name) {
  const auto backup = PrepareCopy(backup_source, backup_name);
  CheckWritableTarget(file_name, file_name);
  TemporaryFile temp(file_name, file_name);
  source([&temp](std::string_view piece) { temp.Write(piece.data(), piece.size()); });
  temp.Finish();
  // Both files are complete on the disk: only the two renames are left.
  backup->Replace();
  temp.Replace();
}

void SimulateDiskFullAfter(long long bytes) { g_disk_full_after = bytes; }

void SimulateFailureAt(SaveStep step, int nth) {
  g_failing_step = step;
  g_fail_at_pass = nth;
}

}  // namespace mk
