#pragma once
// Which labels of a redraw can be seen at all. Labels are written on an opaque background, each
// over what came before, so in a crowded view most of them end up wholly under later labels.
// Finding those first lets the redraw skip them and still give the same picture.

#include <cstdint>
#include <optional>
#include <vector>

#include "core/view/Canvas.h"

namespace mk {

class LabelOcclusion {
 public:
  LabelOcclusion(int width, int height);

  /// Adds the next label in drawing order; one without an extent is always drawn.
  void Add(PixelPoint corner, const std::optional<LabelExtent>& extent);
  std::size_t Count() const { return labels_.size(); }

  /// For every label added, in order: false when none of its pixels would survive the labels
  /// after it, or none lies on the image.
  std::vector<bool> VisibleLabels() const;

 private:
  struct Label {
    PixelPoint corner;
    std::optional<LabelExtent> extent;
  };

  int width_;
  int height_;
  std::vector<Label> labels_;
};

}  // namespace mk
