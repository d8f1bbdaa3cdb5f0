#pragma once
// A view and a progress bar that remember what a document did with them.

#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "core/document/Progress.h"
#include "core/view/View3D.h"

namespace mk::test {

/// Records every drawing call with its exact coordinates; labels are kept beside the calls.
struct RecordingView : View3D {
  struct Call {
    char op;  // 'M', 'L' or 'T'
    long double x, y, z;
    bool operator==(const Call&) const = default;
  };
  std::vector<Call> calls;
  std::vector<std::string> labels;  ///< the text of each 'T' call, in order

  void MoveTo3D(long double x, long double y, long double z) override {
    calls.push_back({'M', x, y, z});
  }
  void LineTo3D(long double x, long double y, long double z) override {
    calls.push_back({'L', x, y, z});
  }
  void TextOut3D(std::string_view text, long double x, long double y, long double z) override {
    calls.push_back({'T', x, y, z});
    labels.emplace_back(text);
  }

  /// The calls as short texts, "M 1 2 3" or "T<label> 1 2 3", the coordinates as doubles.
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    std::size_t label = 0;
    for (const Call& call : calls) {
      std::ostringstream s;
      s << call.op;
      if (call.op == 'T') s << labels[label++];
      s << " " << static_cast<double>(call.x) << " " << static_cast<double>(call.y) << " "
        << static_cast<double>(call.z);
      texts.push_back(s.str());
    }
    return texts;
  }
  void Clear() {
    calls.clear();
    labels.clear();
  }
};

struct RecordingBar : ProgressBar {
  std::vector<int> positions;
  void SetPosition(int position) override { positions.push_back(position); }
};

}  // namespace mk::test
