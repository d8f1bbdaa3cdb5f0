#pragma once
// A drawing held back before it reaches the canvas, so that labels that later labels will cover
// entirely can be left out. Writing text is by far the slowest part of a redraw with ids, and in
// a crowded view most labels end up wholly under others: the picture stays the same without them.

#include <cstdint>
#include <string>
#include <vector>

#include "core/view/PenTrackingCanvas.h"
#include "core/view/LabelOcclusion.h"

namespace mk {

class RecordedDrawing : public PenTrackingCanvas {
 public:
  /// Records calls meant for target, an image of the given size, which answers label measures
  /// and gives the starting pen.
  RecordedDrawing(Canvas& target, int width, int height);

  void SetPenColor(Rgb colour) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void TextOut(int x, int y, std::string_view text, Rgb font_colour, int font_points) override;
  void FillRect(int left, int top, int right, int bottom, Rgb colour) override;
  void BreakLine() override;
  std::optional<LabelExtent> MeasureLabel(std::string_view text, int font_points) override {
    return target_.MeasureLabel(text, font_points);
  }

  /// Plays the calls into the target in order. Labels of which nothing would be seen are left
  /// out, ending the run of lines as they would have.
  void ReplayWithoutHiddenLabels() const;

 private:
  enum class Kind : std::uint8_t { Move, Line, Label, BreakLine, Colour, Fill };
  struct Call {
    Kind kind;
    int x;
    int y;
  };
  struct Label {
    std::size_t text_begin;
    std::size_t text_size;
    Rgb colour;
    int font_points;
  };
  struct Fill {
    PixelBox box;
    Rgb colour;
  };

  Canvas& target_;
  std::vector<Call> calls_;
  std::vector<Label> labels_;
  std::string label_text_;
  std::vector<Rgb> colours_;
  std::vector<Fill> fills_;
  LabelOcclusion occlusion_;
};

}  // namespace mk
