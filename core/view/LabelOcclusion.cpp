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
    const Columns columns(box.left, box.right);
    for (int y = box.top; y < box.bottom; ++y) {
      const std::uint64_t* row = Row(y);
      if ((row[columns.first] & columns.first_mask) != columns.first_mask) return false;
      for (std::size_t w = columns.first + 1; w < columns.last; ++w)
        if (row[w] != ~std::uint64_t{0}) return false;
      if (columns.last != columns.first && (row[columns.last] & columns.last_mask) != columns.last_mask)
        return false;
    }
    return true;
  }

  void Set(const PixelBox& box) {
    const Columns columns(box.left, box.right);
    for (int y = box.top; y < box.bottom; ++y) {
      std::uint64_t* row = Row(y);
      row[columns.first] |= columns.first_mask;
      for (std::size_t w = columns.first + 1; w < columns.last; ++w) row[w] = ~std::uint64_t{0};
      if (columns.last != columns.first) row[columns.last] |= columns.last_mask;
    }
  }

 private:
  /// The words and bits of the columns left to right - 1, the same in every row: most labels
  /// are checked on every row of their box, so the masks are worked out once per box.
  struct Columns {
    Columns(int left, int right)
        : first(static_cast<std::size_t>(left) / 64),
          last(static_cast<std::size_t>(right - 1) / 64),
          first_mask(~std::uint64_t{0} << (left % 64)),
          last_mask(~std::uint64_t{0} >> (63 - (right - 1) % 64)) {
      if (first == last) first_mask &= last_mask;
    }
    std::size_t first;
    std::size_t last;
    std::uint64_t first_mask;
    std::uint64_t last_mask;
  };

  std::uint64_t* Row(int y) { return bits_.data() + static_cast<std::size_t>(y) * words_per_row_; }
  const std::uint64_t* Row(int y) const {
    return bits_.data() + static_cast<std::size_t>(y) * words_per_row_;
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
