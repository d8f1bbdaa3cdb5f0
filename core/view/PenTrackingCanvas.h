#pragma once
// A canvas that keeps the pen position itself, for canvases whose moves and lines set the pen
// as they go: PenPos then needs nothing of theirs.

#include "core/view/Canvas.h"

namespace mk {

class PenTrackingCanvas : public Canvas {
 public:
  PixelPoint PenPos() const final { return pen_; }

 protected:
  explicit PenTrackingCanvas(PixelPoint start = {}) : pen_(start) {}
  void SetPen(int x, int y) { pen_ = {x, y}; }

 private:
  PixelPoint pen_;
};

}  // namespace mk
