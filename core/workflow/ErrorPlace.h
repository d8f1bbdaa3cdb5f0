#pragma once
// Where in a file a reading error arose, for the message around the error's own text. Errors
// found at a line carry it (FormatError); a number that is no number carries only its word, and
// its line is found again once the read has failed.

#include <cstdint>
#include <string>

#include "core/util/Errors.h"

namespace mk {

/// The 1-based line of the file at which the error arose; 0 when it cannot be told. A word that
/// is no number is placed at the first line holding it as a whole field (fields are separated
/// by blanks, "=" and ","), which is where the reader, going from the top, met it.
std::int64_t LineOfError(const std::string& file_name, const Error& error);

/// "file, line N: message" with the English message, or "file: message" without a line (and
/// for an error of the file itself).
std::string PlacedMessage(const std::string& file_name, const Error& error);

}  // namespace mk
