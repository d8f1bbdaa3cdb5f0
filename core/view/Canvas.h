#pragma once
// The drawing surface a view paints on: the few pen, brush and text operations of an image's
// bitmap. The program implements it with a QPainter on a QImage; tests record the calls.

#include <cstdint>
#include <optional>
#include <string_view>

namespace mk {

/// A 24-bit colour as 0xRRGGBB.
using Rgb = std::uint32_t;

constexpr Rgb MakeRgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
  return ((r & 0xFFu) << 16) | ((g & 0xFFu) << 8) | (b & 0xFFu);
}

struct PixelPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

/// Pixels from (left, top) up to but not including (right, bottom).
struct PixelBox {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

/// Where a label's pixels lie, relative to the top-left corner it is written at: its opaque
/// background surely paints every pixel of `covered`, and nothing of it reaches beyond `reached`.
struct LabelExtent {
  PixelBox covered;
  PixelBox reached;
};

class Canvas {
 public:
  virtual ~Canvas() = default;
  virtual void SetPenColor(Rgb colour) = 0;
  /// Moves the pen without drawing.
  virtual void MoveTo(int x, int y) = 0;
  /// Draws from the pen position to (x, y) in the pen colour; the pen ends at (x, y).
  virtual void LineTo(int x, int y) = 0;
  /// Writes text with its top-left corner at (x, y) on the brush colour; the pen does not move.
  virtual void TextOut(int x, int y, std::string_view text, Rgb font_colour, int font_points) = 0;
  /// Fills the rectangle from (left, top) up to but not including (right, bottom).
  virtual void FillRect(int left, int top, int right, int bottom, Rgb colour) = 0;
  virtual PixelPoint PenPos() const = 0;
  /// Ends the run of lines drawn so far, as writing a label does, without writing anything.
  virtual void BreakLine() {}
  /// The extent of a label as TextOut would write it; none when the canvas cannot tell, and
  /// then views draw every label.
  virtual std::optional<LabelExtent> MeasureLabel(std::string_view /*text*/, int /*font_points*/) {
    return std::nullopt;
  }
};

}  // namespace mk
