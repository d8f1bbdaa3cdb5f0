#pragma once
// "-" for a file name: a model read from standard input, or a docked model written to standard
// output, so that mirrorknit-cli fits in a pipe.

#include <istream>
#include <ostream>
#include <string>

#include "core/document/Document.h"

namespace mk::cli {

/// Where "-" as INPUT reads from: std::cin unless a test hands another stream.
void SetStandardInput(std::istream* in);

/// Standard input copied to a temporary file whose extension follows its content (".mdl" for a
/// "[MODELFILE]" or "<MODELFILE>" start, else ".seg"), so that the workflow reads it like any
/// file. The file is removed when the object goes.
class StandardInputFile {
 public:
  StandardInputFile();
  ~StandardInputFile();
  StandardInputFile(const StandardInputFile&) = delete;
  StandardInputFile& operator=(const StandardInputFile&) = delete;
  const std::string& Name() const { return name_; }

 private:
  std::string name_;
};

/// Writes the document's text to the stream, as a save would write it to a file.
void WriteDocumentTo(const Document& document, std::ostream& out);

}  // namespace mk::cli
