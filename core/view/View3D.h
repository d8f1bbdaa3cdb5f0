#pragma once
// What a document needs of a view to draw itself: three pen operations in model coordinates.
// ProjectionView implements it on an image; tests implement it with a recorder.

#include <string_view>

namespace mk {

class View3D {
 public:
  virtual ~View3D() = default;
  /// Moves the pen to the projection of (x, y, z) without drawing.
  virtual void MoveTo3D(long double x, long double y, long double z) = 0;
  /// Draws a line in the current pen colour from the pen to the projection of (x, y, z).
  virtual void LineTo3D(long double x, long double y, long double z) = 0;
  /// Writes a label at the projection of (x, y, z); the pen stays where it was.
  virtual void TextOut3D(std::string_view text, long double x, long double y, long double z) = 0;
};

}  // namespace mk
