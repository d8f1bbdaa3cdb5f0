#pragma once
// How a document fills a projection view: the range its bounds give a direction, and a redraw.

#include "core/document/Document.h"
#include "core/view/ProjectionView.h"

namespace mk {

/// The four range values for a direction, read from a document's bounds.
struct ViewRange {
  long double h_min = 0, v_max = 0, h_max = 0, v_min = 0;
};
ViewRange RangeForDirection(const Document& bounds_document, int direction);
/// The range the document's points span in a direction. A document answers its bounds once it is
/// docked; one shown as read is framed by its points.
ViewRange RangeOfPoints(const Document& document, int direction);

/// One view's share of a redraw: direction and range set, background, grid, white pen, then the
/// document draws itself.
void RedrawView(ProjectionView& view, int direction, const ViewRange& range, const Document& drawn,
                PointIds ids);

}  // namespace mk
