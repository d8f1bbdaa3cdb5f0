#pragma once
// A redraw with ids in two passes over the model, so that labels that later labels will cover
// entirely can be left out. Writing text is by far the slowest part of such a redraw, and in a
// crowded view most labels end up wholly under others: the picture stays the same without them.
// The first pass only measures where each label would go; the second draws for real. Drawing
// the model twice costs less than holding a whole drawing back: a million calls kept in memory
// cost their pages and their copying more than walking the model again.

#include <cstddef>
#include <utility>
#include <vector>

#include "core/view/Canvas.h"
#include "core/view/LabelOcclusion.h"
#include "core/view/PenTrackingCanvas.h"

namespace mk {

/// The first pass: paints nothing, notes every label with the extent the target gives it.
class LabelSurvey : public PenTrackingCanvas {
 public:
  /// target, an image of the given size, answers the measures and gives the starting pen.
  LabelSurvey(Canvas& target, int width, int height);

  void SetPenColor(Rgb) override {}
  void MoveTo(int x, int y) override { SetPen(x, y); }
  void LineTo(int x, int y) override { SetPen(x, y); }
  void TextOut(int x, int y, std::string_view text, Rgb font_colour, int font_points) override;
  void FillRect(int, int, int, int, Rgb) override {}
  std::optional<LabelExtent> MeasureLabel(std::string_view text, int font_points) override {
    return target_.MeasureLabel(text, font_points);
  }

  /// For every label met, in order: whether any of its pixels would be seen.
  std::vector<bool> VisibleLabels() const { return occlusion_.VisibleLabels(); }

 private:
  Canvas& target_;
  LabelOcclusion occlusion_;
};

/// The second pass: passes every call on to the target but the labels found hidden, which end
/// the run of lines as writing them would have.
class HiddenLabelFilter : public Canvas {
 public:
  HiddenLabelFilter(Canvas& target, std::vector<bool> visible)
      : target_(target), visible_(std::move(visible)) {}

  void SetPenColor(Rgb colour) override { target_.SetPenColor(colour); }
  void MoveTo(int x, int y) override { target_.MoveTo(x, y); }
  void LineTo(int x, int y) override { target_.LineTo(x, y); }
  void TextOut(int x, int y, std::string_view text, Rgb font_colour, int font_points) override;
  void FillRect(int left, int top, int right, int bottom, Rgb colour) override {
    target_.FillRect(left, top, right, bottom, colour);
  }
  PixelPoint PenPos() const override { return target_.PenPos(); }
  void BreakLine() override { target_.BreakLine(); }
  std::optional<LabelExtent> MeasureLabel(std::string_view text, int font_points) override {
    return target_.MeasureLabel(text, font_points);
  }

 private:
  Canvas& target_;
  std::vector<bool> visible_;
  std::size_t next_label_ = 0;
};

}  // namespace mk
