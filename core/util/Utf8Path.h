#pragma once
// File names travel through the program as UTF-8 strings. On Windows a narrow name would pass
// through the active code page and lose every character outside it, so the names reach the
// system through these, as wide characters there and unchanged bytes elsewhere.

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace mk {

/// The path that a UTF-8 file name names.
std::filesystem::path PathFromUtf8(std::string_view utf8);
/// A path's name as UTF-8.
std::string Utf8FromPath(const std::filesystem::path& path);

/// Opens an existing file for reading its bytes; null with errno set when it cannot.
std::FILE* OpenForReading(const std::string& utf8);
/// Creates a new file for writing bytes, failing (null, errno EEXIST) when the name exists.
std::FILE* CreateNewFile(const std::string& utf8);

}  // namespace mk
