#include "core/document/DocumentView.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "core/document/DrawingPipe.h"
#include "core/util/SecondCore.h"
#include "core/view/LabelPasses.h"

namespace mk {

ViewRange RangeForDirection(const Document& d, int direction) {
  switch (direction) {
    case kFrontView:
      return {d.GetBound(0), d.GetBound(4), d.GetBound(3), d.GetBound(1)};
    case kLeftView:
      return {d.GetBound(2), d.GetBound(4), d.GetBound(5), d.GetBound(1)};
    default:
      return {d.GetBound(0), d.GetBound(5), d.GetBound(3), d.GetBound(2)};
  }
}

namespace {

class PointBox : public PointVisitor {
 public:
  void Visit(const VisitedPoint& p) override {
    const long double at[3] = {p.x, p.y, p.z};
    for (int axis = 0; axis < 3; ++axis) {
      min_[axis] = seen_ ? std::min(min_[axis], at[axis]) : at[axis];
      max_[axis] = seen_ ? std::max(max_[axis], at[axis]) : at[axis];
    }
    seen_ = true;
  }
  ViewRange For(int direction) const {
    switch (direction) {
      case kFrontView:
        return {min_[0], max_[1], max_[0], min_[1]};
      case kLeftView:
        return {min_[2], max_[1], max_[2], min_[1]};
      default:
        return {min_[0], max_[2], max_[0], min_[2]};
    }
  }

 private:
  bool seen_ = false;
  long double min_[3] = {0, 0, 0};
  long double max_[3] = {0, 0, 0};
};

}  // namespace

ViewRange RangeOfPoints(const Document& document, int direction) {
  PointBox box;
  document.VisitPoints(box);
  return box.For(direction);
}

void RedrawView(ProjectionView& view, int direction, const ViewRange& range, const Document& drawn,
                PointIds ids) {
  view.SetDirection(direction);
  view.SetRange(range.h_min, range.v_max, range.h_max, range.v_min);
  view.Clear(kBackgroundColour);
  view.DrawGrid(kGridStep);
  view.SetPenColor(kModelColour);
  if (ids == PointIds::Shown && view.MeasuresLabels()) {
    // Labels that later ones hide entirely are found before anything reaches the canvas. The
    // first pass meets only the labels, so the second starts from the view state both began with.
    Canvas& target = *view.CurrentCanvas();
    LabelSurvey survey(target, view.Width(), view.Height());
    view.UseCanvas(&survey);
    view.SetLabelsOnly(true);
    drawn.Draw(view, ids);
    view.SetLabelsOnly(false);
    std::vector<bool> visible = survey.VisibleLabels();
    // In a big view the second walk projects the model on this core while the other sets the
    // pixels.
    std::optional<DrawingPipe> pipe;
    if (WorthASecondCore(visible.size())) pipe.emplace(target);
    HiddenLabelFilter filter(pipe ? static_cast<Canvas&>(*pipe) : target, std::move(visible));
    view.UseCanvas(&filter);
    drawn.Draw(view, ids);
    if (pipe) pipe->Finish();
    view.UseCanvas(&target);
    return;
  }
  drawn.Draw(view, ids);
}

}  // namespace mk
