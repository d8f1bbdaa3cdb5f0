// The drawing pipe hands a redraw's calls to the second core: the target must get every call,
// in order, with the same answers on the way, and an error of the target must come back.

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/document/DrawingPipe.h"

namespace mk {
namespace {

/// Writes every call down as text; throws at call number `fail_at` when asked to.
class LoggingCanvas : public Canvas {
 public:
  explicit LoggingCanvas(std::size_t fail_at = 0) : fail_at_(fail_at) {}
  void SetPenColor(Rgb colour) override { Log("pen " + std::to_string(colour)); }
  void MoveTo(int x, int y) override {
    pen_ = {x, y};
    Log("move " + Point(x, y));
  }
  void LineTo(int x, int y) override {
    pen_ = {x, y};
    Log("line " + Point(x, y));
  }
  void TextOut(int x, int y, std::string_view text, Rgb colour, int points) override {
    Log("text " + Point(x, y) + " " + std::string(text) + " " + std::to_string(colour) + " " +
        std::to_string(points));
  }
  void FillRect(int left, int top, int right, int bottom, Rgb colour) override {
    Log("fill " + Point(left, top) + " " + Point(right, bottom) + " " + std::to_string(colour));
  }
  void BreakLine() override { Log("break"); }
  PixelPoint PenPos() const override { return pen_; }

  std::vector<std::string> log;

 private:
  static std::string Point(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }
  void Log(std::string entry) {
    if (fail_at_ != 0 && log.size() + 1 == fail_at_) throw std::runtime_error("canvas failed");
    log.push_back(std::move(entry));
  }

  std::size_t fail_at_;
  PixelPoint pen_{7, 9};
};

/// Many batches' worth of every kind of call, with the pen asked after each one.
std::vector<PixelPoint> Draw(Canvas& canvas, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<PixelPoint> pens{canvas.PenPos()};
  for (int i = 0; i < 60000; ++i) {
    const int x = static_cast<int>(random() % 2000) - 500;
    const int y = static_cast<int>(random() % 2000) - 500;
    switch (random() % 6) {
      case 0: canvas.SetPenColor(random() & 0xFFFFFFu); break;
      case 1: canvas.MoveTo(x, y); break;
      case 2: canvas.LineTo(x, y); break;
      case 3: canvas.TextOut(x, y, std::to_string(random() % 3000000), 0x008000u, 8); break;
      case 4: canvas.FillRect(x, y, x + 5, y + 3, random() & 0xFFFFFFu); break;
      default: canvas.BreakLine(); break;
    }
    pens.push_back(canvas.PenPos());
  }
  return pens;
}

TEST(DrawingPipe, TheTargetGetsEveryCallInOrderAndThePenAnswersAsItWould) {
  LoggingCanvas direct;
  const std::vector<PixelPoint> direct_pens = Draw(direct, 3);
  LoggingCanvas target;
  DrawingPipe pipe(target);
  const std::vector<PixelPoint> piped_pens = Draw(pipe, 3);
  pipe.Finish();
  EXPECT_EQ(target.log, direct.log);
  EXPECT_EQ(piped_pens, direct_pens);
  pipe.LineTo(1, 2);  // after Finish, straight to the target
  EXPECT_EQ(target.log.back(), "line 1,2");
}

TEST(DrawingPipe, AnErrorOfTheTargetComesBackFromFinishAndStopsNothingElse) {
  LoggingCanvas target(20000);
  DrawingPipe pipe(target);
  Draw(pipe, 4);  // must not wait for a drawing thread that has stopped
  EXPECT_THROW(pipe.Finish(), std::runtime_error);
  EXPECT_EQ(target.log.size(), 19999u);
}

TEST(DrawingPipe, ADestroyedPipeHasDrawnEverything) {
  LoggingCanvas target;
  {
    DrawingPipe pipe(target);
    pipe.MoveTo(1, 1);
    pipe.LineTo(2, 2);
  }
  EXPECT_EQ(target.log, (std::vector<std::string>{"move 1,1", "line 2,2"}));
}

}  // namespace
}  // namespace mk
