#pragma once
// The small legend in the corner of the docked view: each marker kind's shape and colour, with
// its name and how many the view shows. It floats over the picture and is hidden when there are
// no markers; the picture's own pixels are never touched.

#include <QWidget>
#include <array>

#include "app/Language.h"
#include "render/MarkerLayer.h"

namespace mk {

class MarkerLegend : public QWidget {
  Q_OBJECT

 public:
  MarkerLegend(const ReportTexts& texts, QWidget* parent);

  /// Counts the markers by kind, resizes to the kinds present and shows itself when any is.
  void SetMarkers(const std::vector<Marker>& markers);
  /// The lines shown, one per kind present: name and count.
  QStringList Lines() const;
  /// Keeps the legend in the lower left corner of the view it floats over.
  void PlaceInCorner();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString Name(MarkerKind kind) const;

  ReportTexts texts_;
  std::array<int, std::size(kMarkerKinds)> counts_{};
};

}  // namespace mk
