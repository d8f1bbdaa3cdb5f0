#pragma once
// One-pixel lines straight into a 32-bit bitmap. A redraw of a big model is hundreds of thousands
// of lines; a general rasteriser spends most of its time per line and per pixel on what a thin
// opaque line never needs (coverage, blending, dashes).

#include <cstddef>
#include <cstdint>

#include "core/view/Canvas.h"

namespace mk {

/// The rows of a bitmap of 32-bit pixels; stride is the distance between rows in pixels.
struct PixelRows {
  std::uint32_t* first = nullptr;
  std::ptrdiff_t stride = 0;
  int width = 0;
  int height = 0;
};

/// Liang-Barsky clipping of the segment a-b to the rectangle [left, right] x [top, bottom]:
/// moves the ends onto it and answers false when nothing of the segment is inside.
bool ClipSegment(double& ax, double& ay, double& bx, double& by, double left, double top,
                 double right, double bottom);

/// Sets every pixel of the line from a to b, both ends included, that lies inside the bitmap.
/// The ends may lie anywhere in the integer range.
void DrawPixelLine(const PixelRows& rows, PixelPoint a, PixelPoint b, std::uint32_t pixel);

}  // namespace mk
