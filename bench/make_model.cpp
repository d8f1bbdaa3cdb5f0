// Writes a large, valid half model for benchmarks (see ModelGenerator.h and
// TaggedModelGenerator.h).
//
// Usage: make_model POINTS OUTPUT.mdl|OUTPUT.seg [SEED] [--tagged]
// --tagged writes a ".mdl" file in the angle-tag dialect instead of the bracket one.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/ModelGenerator.h"
#include "bench/TaggedModelGenerator.h"
#include "core/util/Errors.h"
#include "core/util/FileIo.h"
#include "core/workflow/Workflow.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: make_model POINTS OUTPUT.mdl|OUTPUT.seg [SEED] [--tagged]\n");
    return 2;
  }
  const long long total = std::atoll(argv[1]);
  const std::string output = argv[2];
  const unsigned seed = argc > 3 ? static_cast<unsigned>(std::atoll(argv[3])) : 1u;
  const bool tagged = argc > 4 && std::string(argv[4]) == "--tagged";
  const mk::FileKind kind = mk::FileKindOf(output);
  if (kind == mk::FileKind::Other) {
    std::fprintf(stderr, "make_model: the output must end in .mdl or .seg\n");
    return 2;
  }
  try {
    if (tagged && kind != mk::FileKind::Model) {
      std::fprintf(stderr, "make_model: --tagged needs an output ending in .mdl\n");
      return 2;
    }
    mk::WriteFileAtomically(output, tagged ? mk::bench::GenerateTaggedModelText(total, seed)
                                           : mk::bench::GenerateModelText(total, kind, seed));
  } catch (const mk::Error& e) {
    std::fprintf(stderr, "make_model: %s\n", e.what());
    return 1;
  }
  return 0;
}
