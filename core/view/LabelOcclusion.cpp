#include "core/view/LabelOcclusion.h"

#include <algorithm>

namespace mk {
namespace {

/// One bit per pixel, set where a later label's background surely paints.
class CoverMask {
 public:
  CoverMask(int width, int height)
      : width_(width),
        height_(height),
        words_per_row_((static_cast<std::size_t>(width) + 63) / 64),
        bits_(words_per_row_ * static_cast<std::size_t>(height)) {}

  /// The box clipped to the image; false when nothing of it is left.
  bool Clip(PixelBox& box) const {
    box.left = std::max(box.left, 0);
    box.top = std::max(box.top, 0);
    box.right = std::min(box.right, width_);
    box.bottom = std::min(box.bottom, height_);
    return box.left < box.right && box.top < box.bottom;
  }

  bool AllSet(const PixelBox& box) const {
    for (int y = box.top; y < box.bottom; ++y)
      if (!RowSpan(y, box.left, box.right, [](std::uint64_t& word, std::uint64_t mask) {
            return (word & mask) == mask;
          }))
        return false;
    return true;
  }

  void Set(const PixelBox& box) {
    for (int y = box.top; y < box.bottom; ++y)
      RowSpan(y, box.left, box.right, [](std::uint64_t& word, std::uint64_t mask) {
        word |= mask;
        return true;
      });
  }

 private:
  /// Applies the operation to the words of row y between the columns; stops at the first false.
  template <typename Operation>
  bool RowSpan(int y, int left, int right, Operation operation) {
    std::uint64_t* row = bits_.data() + static_cast<std::size_t>(y) * words_per_row_;
    int x = left;
    while (x < right) {
      const int bit = x % 64;
      const int span = std::min(64 - bit, right - x);
      const std::uint64_t mask =
          (span == 64 ? ~std::uint64_t{0} : ((std::uint64_t{1} << span) - 1)) << bit;
      if (!operation(row[x / 64], mask)) return false;
      x += span;
    }
    return true;
  }
  template <typename Operation>
  bool RowSpan(int y, int left, int right, Operation operation) const {
    return const_cast<CoverMask*>(this)->RowSpan(y, left, right, operation);
  }

  int width_;
  int height_;
  std::size_t words_per_row_;
  std::vector<std::uint64_t> bits_;
};

PixelBox Moved(const PixelBox& box, PixelPoint by) {
  return {box.left + by.x, box.top + by.y, box.right + by.x, box.bottom + by.y};
}

}  // namespace

LabelOcclusion::LabelOcclusion(int width, int height)
    : width_(std::max(width, 0)), height_(std::max(height, 0)) {}

void LabelOcclusion::Add(PixelPoint corner, const std::optional<LabelExtent>& extent) {
  labels_.push_back({corner, extent});
}

std::vector<bool> LabelOcclusion::VisibleLabels() const {
  std::vector<bool> visible(labels_.size(), true);
  CoverMask covered(width_, height_);
  // The last label is on top: walk back, each label seeing only what comes after it.
  for (std::size_t i = labels_.size(); i-- > 0;) {
    const Label& label = labels_[i];
    if (!label.extent) continue;
    PixelBox reached = Moved(label.extent->reached, label.corner);
    if (!covered.Clip(reached) || covered.AllSet(reached)) {
      visible[i] = false;
      continue;
    }
    PixelBox painted = Moved(label.extent->covered, label.corner);
    if (covered.Clip(painted)) covered.Set(painted);
  }
  return visible;
}

}  // namespace mk
