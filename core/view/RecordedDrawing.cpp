#include "core/view/RecordedDrawing.h"

namespace mk {

RecordedDrawing::RecordedDrawing(Canvas& target, int width, int height)
    : PenTrackingCanvas(target.PenPos()), target_(target), occlusion_(width, height) {}

void RecordedDrawing::SetPenColor(Rgb colour) {
  calls_.push_back({Kind::Colour, static_cast<int>(colours_.size()), 0});
  colours_.push_back(colour);
}

void RecordedDrawing::MoveTo(int x, int y) {
  calls_.push_back({Kind::Move, x, y});
  SetPen(x, y);
}

void RecordedDrawing::LineTo(int x, int y) {
  calls_.push_back({Kind::Line, x, y});
  SetPen(x, y);
}

void RecordedDrawing::TextOut(int x, int y, std::string_view text, Rgb font_colour,
                              int font_points) {
  calls_.push_back({Kind::Label, x, y});
  labels_.push_back({label_text_.size(), text.size(), font_colour, font_points});
  label_text_.append(text);
  occlusion_.Add({x, y}, target_.MeasureLabel(text, font_points));
}

void RecordedDrawing::FillRect(int left, int top, int right, int bottom, Rgb colour) {
  calls_.push_back({Kind::Fill, static_cast<int>(fills_.size()), 0});
  fills_.push_back({{left, top, right, bottom}, colour});
}

void RecordedDrawing::BreakLine() { calls_.push_back({Kind::BreakLine, 0, 0}); }

void RecordedDrawing::ReplayWithoutHiddenLabels() const {
  const std::vector<bool> visible = occlusion_.VisibleLabels();
  std::size_t label = 0;
  for (const Call& call : calls_) {
    switch (call.kind) {
      case Kind::Move:
        target_.MoveTo(call.x, call.y);
        break;
      case Kind::Line:
        target_.LineTo(call.x, call.y);
        break;
      case Kind::Label: {
        const Label& l = labels_[label];
        if (visible[label])
          target_.TextOut(call.x, call.y,
                          std::string_view(label_text_).substr(l.text_begin, l.text_size),
                          l.colour, l.font_points);
        else
          target_.BreakLine();
        ++label;
        break;
      }
      case Kind::BreakLine:
        target_.BreakLine();
        break;
      case Kind::Colour:
        target_.SetPenColor(colours_[static_cast<std::size_t>(call.x)]);
        break;
      case Kind::Fill: {
        const Fill& f = fills_[static_cast<std::size_t>(call.x)];
        target_.FillRect(f.box.left, f.box.top, f.box.right, f.box.bottom, f.colour);
        break;
      }
    }
  }
}

}  // namespace mk
