#pragma once
// A canvas that remembers what was drawn on it, for checks of the view arithmetic.

#include <string>
#include <string_view>
#include <vector>

#include "core/view/Canvas.h"

namespace mk::testing {

struct Segment {
  PixelPoint from;
  PixelPoint to;
  Rgb colour = 0;
};

struct Label {
  PixelPoint at;
  std::string text;
  Rgb colour = 0;
  int points = 0;
  Rgb background = 0;
};

struct Fill {
  int left = 0, top = 0, right = 0, bottom = 0;
  Rgb colour = 0;
};

class RecordingCanvas : public Canvas {
 public:
  void SetPenColor(Rgb colour) override {
    pen_colour = colour;
    ++calls;
  }
  void MoveTo(int x, int y) override {
    pen = {x, y};
    moves.push_back(pen);
    ++calls;
  }
  void LineTo(int x, int y) override {
    segments.push_back({pen, {x, y}, pen_colour});
    pen = {x, y};
    ++calls;
  }
  void TextOut(int x, int y, std::string_view text, Rgb font_colour, int font_points) override {
    labels.push_back({{x, y}, std::string(text), font_colour, font_points, brush});
    ++calls;
  }
  void FillRect(int left, int top, int right, int bottom, Rgb colour) override {
    fills.push_back({left, top, right, bottom, colour});
    brush = colour;
    ++calls;
  }
  PixelPoint PenPos() const override { return pen; }

  std::vector<Segment> SegmentsIn(Rgb colour) const {
    std::vector<Segment> out;
    for (const Segment& s : segments)
      if (s.colour == colour) out.push_back(s);
    return out;
  }

  PixelPoint pen;
  Rgb pen_colour = 0;
  Rgb brush = 0xFFFFFF;
  std::vector<PixelPoint> moves;
  std::vector<Segment> segments;
  std::vector<Label> labels;
  std::vector<Fill> fills;
  int calls = 0;
};

}  // namespace mk::testing
