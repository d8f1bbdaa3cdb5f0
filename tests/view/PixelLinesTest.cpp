// One-pixel lines into a bitmap: both ends drawn, one pixel per step along the major axis, every
// pixel close to the ideal line, and ends anywhere in the integer range clipped, not wrapped.

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <random>
#include <vector>

#include "core/view/PixelLines.h"

namespace mk {
namespace {

constexpr std::uint32_t kInk = 0xFFFFFFFFu;

class Bitmap {
 public:
  // A margin of pixels around the rows catches any write outside them.
  Bitmap(int width, int height)
      : width_(width), height_(height), stride_(width + 2 * kMargin),
        pixels_(static_cast<std::size_t>(stride_ * (height + 2 * kMargin)), 0u) {}

  PixelRows Rows() {
    return {pixels_.data() + kMargin * stride_ + kMargin, stride_, width_, height_};
  }
  bool At(int x, int y) const {
    return pixels_[static_cast<std::size_t>((y + kMargin) * stride_ + x + kMargin)] == kInk;
  }
  int Count() const {
    int n = 0;
    for (std::uint32_t p : pixels_) n += p == kInk ? 1 : 0;
    return n;
  }
  bool MarginClean() const {
    for (int y = -kMargin; y < height_ + kMargin; ++y)
      for (int x = -kMargin; x < width_ + kMargin; ++x)
        if ((x < 0 || y < 0 || x >= width_ || y >= height_) && At(x, y)) return false;
    return true;
  }

 private:
  static constexpr int kMargin = 4;
  int width_;
  int height_;
  std::ptrdiff_t stride_;
  std::vector<std::uint32_t> pixels_;
};

/// Distance of the pixel centre from the infinite line through a and b.
double Distance(PixelPoint a, PixelPoint b, int x, int y) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double length = std::hypot(dx, dy);
  if (length == 0) return std::hypot(x - a.x, y - a.y);
  return std::fabs(dy * (x - a.x) - dx * (y - a.y)) / length;
}

TEST(PixelLines, InsideLinesHaveBothEndsAndOnePixelPerMajorStep) {
  std::mt19937 rng(5);
  std::uniform_int_distribution<int> coordinate(0, 39);
  for (int round = 0; round < 2000; ++round) {
    Bitmap bitmap(40, 30);
    const PixelPoint a{coordinate(rng), coordinate(rng) % 30};
    const PixelPoint b{coordinate(rng), coordinate(rng) % 30};
    DrawPixelLine(bitmap.Rows(), a, b, kInk);
    ASSERT_TRUE(bitmap.At(a.x, a.y) && bitmap.At(b.x, b.y)) << round;
    const int major = std::max(std::abs(b.x - a.x), std::abs(b.y - a.y));
    ASSERT_EQ(bitmap.Count(), major + 1) << round;
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 40; ++x)
        if (bitmap.At(x, y)) {
          ASSERT_LE(Distance(a, b, x, y), 0.75) << round;
        }
  }
}

TEST(PixelLines, FarEndsAreClippedToTheBitmap) {
  Bitmap bitmap(100, 50);
  DrawPixelLine(bitmap.Rows(), {INT_MIN / 2, 20}, {INT_MAX / 2, 20}, kInk);
  EXPECT_TRUE(bitmap.At(0, 20));
  EXPECT_TRUE(bitmap.At(99, 20));
  EXPECT_EQ(bitmap.Count(), 100);
  // A steep far line crosses the bitmap near where the ideal line does.
  Bitmap steep(100, 50);
  const PixelPoint a{-1000000, -2000000}, b{1000100, 2000100};
  DrawPixelLine(steep.Rows(), a, b, kInk);
  EXPECT_GT(steep.Count(), 0);
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 100; ++x)
      if (steep.At(x, y)) {
        EXPECT_LE(Distance(a, b, x, y), 1.5);
      }
  EXPECT_TRUE(steep.MarginClean());
}

TEST(PixelLines, RandomLinesNeverWriteOutside) {
  std::mt19937 rng(9);
  std::uniform_int_distribution<int> wide(-200, 260);
  Bitmap bitmap(60, 40);
  for (int round = 0; round < 5000; ++round)
    DrawPixelLine(bitmap.Rows(), {wide(rng), wide(rng)}, {wide(rng), wide(rng)}, kInk);
  EXPECT_TRUE(bitmap.MarginClean());
}

TEST(PixelLines, LinesThatMissAndEmptyBitmapsDrawNothing) {
  Bitmap bitmap(20, 20);
  DrawPixelLine(bitmap.Rows(), {-5, -1}, {30, -1}, kInk);
  DrawPixelLine(bitmap.Rows(), {-10, 5}, {5, -10}, kInk);  // passes the corner outside
  EXPECT_EQ(bitmap.Count(), 0);
  DrawPixelLine(PixelRows{}, {0, 0}, {5, 5}, kInk);
  DrawPixelLine(bitmap.Rows(), {7, 7}, {7, 7}, kInk);
  EXPECT_EQ(bitmap.Count(), 1);
}

TEST(PixelLines, HalfwayErrorPicksTheSamePixelsEveryTime) {
  // The pictures are compared byte for byte across versions, so the pixels at the ties count.
  Bitmap flat(8, 8);
  DrawPixelLine(flat.Rows(), {0, 0}, {5, 2}, kInk);
  for (const PixelPoint p : {PixelPoint{0, 0}, PixelPoint{1, 0}, PixelPoint{2, 1}, PixelPoint{3, 1},
                             PixelPoint{4, 2}, PixelPoint{5, 2}})
    EXPECT_TRUE(flat.At(p.x, p.y)) << p.x << "," << p.y;
  EXPECT_EQ(flat.Count(), 6);
}

TEST(PixelLines, SteepLinesAreFlatLinesTransposed) {
  std::mt19937 rng(13);
  std::uniform_int_distribution<int> coordinate(0, 31);
  for (int round = 0; round < 2000; ++round) {
    const PixelPoint a{coordinate(rng), coordinate(rng)};
    const PixelPoint b{coordinate(rng), coordinate(rng)};
    Bitmap line(32, 32), transposed(32, 32);
    DrawPixelLine(line.Rows(), a, b, kInk);
    DrawPixelLine(transposed.Rows(), {a.y, a.x}, {b.y, b.x}, kInk);
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) ASSERT_EQ(line.At(x, y), transposed.At(y, x)) << round;
  }
}

}  // namespace
}  // namespace mk
