#pragma once
// A document's picture as a PNG file, drawn exactly as the program's image shows it.

#include <string>

#include "core/document/Document.h"

namespace mk {

struct RenderOptions {
  int direction = 0;
  int width = 400;
  int height = 300;
  bool ids = false;
  bool source = false;
};

/// Draws `drawn` into an image of the given size exactly as the program's image would show it, with the
/// range taken from `bounds_document` (the docked document), and saves it as PNG. Throws FileError.
void RenderDocumentToPng(const Document& bounds_document, const Document& drawn,
                         const RenderOptions& options, const std::string& png_file);

}  // namespace mk
