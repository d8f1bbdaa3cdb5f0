#pragma once
// File access of the core: whole-file reads, saves that never leave a half-written file, and the
// byte copy that makes a backup.

#include <functional>
#include <string>
#include <string_view>

#include "core/util/LargeMemory.h"

namespace mk {

/// The bytes of a file read whole; a model file may be hundreds of megabytes.
using FileText = std::basic_string<char, std::char_traits<char>, LargeAllocator<char>>;

/// True when the name (UTF-8) names an existing regular file; false for a folder, a device or
/// a missing name.
bool IsRegularFile(const std::string& file_name);

/// The whole content of a regular file. Throws FileError (open) when the name is missing, names a
/// folder or a device, or cannot be read.
FileText ReadWholeFile(const std::string& file_name);

/// Takes bytes in pieces, in order.
using ByteSink = std::function<void(std::string_view)>;
/// Produces a file's bytes by handing them to the sink, in as many pieces as it likes.
using ByteSource = std::function<void(const ByteSink&)>;

/// Writes bytes to a temporary file beside the target and renames it over the target, so that a
/// failed or interrupted save leaves the target as it was. Throws FileError (create or write).
void WriteFileAtomically(const std::string& file_name, std::string_view bytes);
/// The same for bytes that are written as they are made, so that a big model is never held
/// twice. An exception from the source leaves the target as it was, too.
void WriteFileAtomically(const std::string& file_name, const ByteSource& source);

/// Copies the source file byte for byte to the destination (8 KiB at a time), through a temporary
/// file and a rename so that an existing destination survives a failed copy. Throws FileError:
/// open with the source name, create or write with the expanded destination name.
void CopyWholeFile(const std::string& source, const std::string& destination);

/// Saves bytes under file_name (as WriteFileAtomically) after a byte copy of backup_source to
/// backup_name (as CopyWholeFile). Both are written in full before either replaces anything, so
/// a failure while writing leaves the target and an older backup exactly as they were. The backup
/// is put in place first: should the last step, the target's rename, fail, the target is still
/// as it was and the backup holds a copy of it (the older backup is gone then, never the model).
void WriteFileWithBackup(const std::string& file_name, std::string_view bytes,
                         const std::string& backup_source, const std::string& backup_name);
void WriteFileWithBackup(const std::string& file_name, const ByteSource& source,
                         const std::string& backup_source, const std::string& backup_name);

/// Test hook: when set, the next writes of WriteFileAtomically and CopyWholeFile fail after this
/// many bytes, as on a full disk. Negative switches it off.
void SimulateDiskFullAfter(long long bytes);

/// The steps of a save after its bytes are handed over, where the disk or the folder can still
/// refuse: flushing the buffer, syncing to the disk, closing, and renaming over the target.
enum class SaveStep { Flush, Sync, Close, Rename };
/// Test hook: when nth > 0, the given step fails (with EIO) the nth time any save, copy or backup
/// reaches it from now on, as a failing disk would make it; 0 switches it off. A save with a
/// backup reaches each step twice, the backup's copy first.
void SimulateFailureAt(SaveStep step, int nth);

}  // namespace mk
