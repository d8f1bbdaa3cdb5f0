#include "web/src/RecordingCanvas.h"

namespace mk::web {

void RecordingCanvas::Add(DrawOp op, std::initializer_list<std::int64_t> arguments) {
  operations_.push_back(static_cast<std::int32_t>(op));
  // Colours fit in 24 bits and pixels are clamped by the view, so nothing is cut here.
  for (std::int64_t argument : arguments)
    operations_.push_back(static_cast<std::int32_t>(argument));
}

void RecordingCanvas::SetPenColor(Rgb colour) { Add(DrawOp::PenColour, {colour}); }

void RecordingCanvas::MoveTo(int x, int y) {
  Add(DrawOp::MoveTo, {x, y});
  SetPen(x, y);
}

void RecordingCanvas::LineTo(int x, int y) {
  Add(DrawOp::LineTo, {x, y});
  SetPen(x, y);
}

void RecordingCanvas::TextOut(int x, int y, std::string_view text, Rgb font_colour,
                              int font_points) {
  Add(DrawOp::Text, {x, y, static_cast<std::int64_t>(texts_.size()), font_colour, font_points});
  texts_.emplace_back(text);
}

void RecordingCanvas::FillRect(int left, int top, int right, int bottom, Rgb colour) {
  Add(DrawOp::FillRect, {left, top, right, bottom, colour});
}

}  // namespace mk::web
