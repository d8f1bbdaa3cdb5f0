#pragma once
// A canvas that writes down what a view draws, for the page to replay on an HTML canvas: the
// pictures come from the same view arithmetic as the program's, only the pixels are set by the
// browser.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/view/PenTrackingCanvas.h"

namespace mk::web {

/// The drawing operations as the page reads them: a code, then its integer arguments.
enum class DrawOp : std::int32_t {
  PenColour = 1,  ///< colour
  MoveTo = 2,     ///< x, y
  LineTo = 3,     ///< x, y
  Text = 4,       ///< x, y, index into Texts(), font colour, font points
  FillRect = 5,   ///< left, top, right, bottom, colour
};

class RecordingCanvas : public PenTrackingCanvas {
 public:
  void SetPenColor(Rgb colour) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void TextOut(int x, int y, std::string_view text, Rgb font_colour, int font_points) override;
  void FillRect(int left, int top, int right, int bottom, Rgb colour) override;

  const std::vector<std::int32_t>& Operations() const { return operations_; }
  const std::vector<std::string>& Texts() const { return texts_; }

 private:
  void Add(DrawOp op, std::initializer_list<std::int64_t> arguments);

  std::vector<std::int32_t> operations_;
  std::vector<std::string> texts_;
};

}  // namespace mk::web
