#pragma once
// Zoom and pan on top of a view's fit. At rest a view fits its model; once the user zooms, drags
// or centres a point, the view keeps a zoom factor and the plane point at the middle of the image,
// so that a resize or a redraw shows the same place. The program's two views share one of these
// and therefore always stand at the same scale and offset.

#include "core/view/ViewFrame.h"

namespace mk {

class ViewZoom {
 public:
  /// Beyond these the grid thins out to nothing or a pixel spans less than a double can tell.
  static constexpr long double kMinFactor = 1.0L / 64;
  static constexpr long double kMaxFactor = 1 << 20;

  /// True while the view shows its fit; every change below leaves the fit.
  bool IsFit() const { return fit_; }
  /// The scale against the fit's scale: 1 at the fit, 2 twice as large.
  long double Factor() const { return fit_ ? 1.0L : factor_; }
  /// The plane point shown at the middle of the image; meaningful only away from the fit.
  PlanePoint Centre() const { return centre_; }

  /// Back to the fit.
  void Fit();
  /// The frame for an image of width x height whose fit is the given frame.
  ViewFrame FrameFor(const ViewFrame& fit, int width, int height) const;

  /// Multiplies the factor (within its limits), keeping the plane point under the pixel where it is.
  void ZoomAt(const ViewFrame& fit, int width, int height, long double column, long double row,
              long double factor);
  /// Moves the picture by the pixel distance, as a drag of the mouse does.
  void PanBy(const ViewFrame& fit, int width, int height, long double dx, long double dy);
  /// Puts the plane point at the middle of the image, keeping the factor.
  void CentreOn(const ViewFrame& fit, int width, int height, PlanePoint point);

 private:
  /// Takes the fit's factor and middle as the state to change; false when the fit shows nothing.
  bool LeaveFit(const ViewFrame& fit, int width, int height);

  bool fit_ = true;
  long double factor_ = 1.0L;
  PlanePoint centre_;
};

}  // namespace mk
