#include "core/view/LabelPasses.h"

namespace mk {

LabelSurvey::LabelSurvey(Canvas& target, int width, int height)
    : PenTrackingCanvas(target.PenPos()), target_(target), occlusion_(width, height) {}

void LabelSurvey::TextOut(int x, int y, std::string_view text, Rgb /*font_colour*/,
                          int font_points) {
  occlusion_.Add({x, y}, target_.MeasureLabel(text, font_points));
}

void HiddenLabelFilter::TextOut(int x, int y, std::string_view text, Rgb font_colour,
                                int font_points) {
  // A label the survey did not see (a model drawn differently the second time) is written.
  const bool shown = next_label_ >= visible_.size() || visible_[next_label_];
  ++next_label_;
  if (shown) {
    target_.TextOut(x, y, text, font_colour, font_points);
  } else {
    target_.BreakLine();
  }
}

}  // namespace mk
