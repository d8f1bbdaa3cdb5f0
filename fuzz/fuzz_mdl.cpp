#include "fuzz/FuzzDocument.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  mk::fuzz::FuzzDocument(mk::FileKind::Model, data, size);
  return 0;
}
