#include "core/util/Utf8Path.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#endif

namespace mk {

#ifdef _WIN32

std::filesystem::path PathFromUtf8(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8FromPath(const std::filesystem::path& path) {
  const std::u8string utf8 = path.u8string();
  return std::string(utf8.begin(), utf8.end());
}

std::FILE* OpenForReading(const std::string& utf8) {
  return _wfopen(PathFromUtf8(utf8).c_str(), L"rb");
}

// The C runtime's fopen has no exclusive mode on every Windows, so the file is created with the
// lower-level call and then given a stream.
std::FILE* CreateNewFile(const std::string& utf8) {
  const int descriptor = _wopen(PathFromUtf8(utf8).c_str(),
                                _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
  if (descriptor < 0) return nullptr;
  std::FILE* file = _fdopen(descriptor, "wb");
  if (!file) _close(descriptor);
  return file;
}

#else

// A POSIX name is bytes: kept as they are, so that a name that is not UTF-8 still opens.
std::filesystem::path PathFromUtf8(std::string_view utf8) {
  return std::filesystem::path(std::string(utf8));
}

std::string Utf8FromPath(const std::filesystem::path& path) { return path.string(); }

std::FILE* OpenForReading(const std::string& utf8) { return std::fopen(utf8.c_str(), "rb"); }

std::FILE* CreateNewFile(const std::string& utf8) { return std::fopen(utf8.c_str(), "wbx"); }

#endif

}  // namespace mk
