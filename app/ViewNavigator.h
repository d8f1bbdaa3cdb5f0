#pragma once
// The mouse and keyboard on the two views: the wheel zooms around the cursor, a drag moves the
// picture, hovering a point shows its id and coordinates, and Fit returns to the whole model.
// Both views take one frame from here, so they always show the same place at the same scale.

#include <QObject>
#include <QPoint>
#include <QString>
#include <functional>
#include <memory>

#include "app/Language.h"
#include "core/document/PointFinder.h"
#include "core/view/ViewZoom.h"

class QWidget;

namespace mk {

class ViewNavigator : public QObject {
  Q_OBJECT

 public:
  /// A wheel step (120 units) zooms by this factor.
  static constexpr double kWheelStepFactor = 1.25;
  /// Hovering finds points this many pixels from the cursor.
  static constexpr int kHoverRadius = 6;

  ViewNavigator(QWidget* source_image, QWidget* docked_image, const ReportTexts& texts,
                QObject* parent);

  /// The fit of the docked view for its current size; scale 0 while nothing is shown.
  void SetFitSource(std::function<ViewFrame()> fit) { fit_ = std::move(fit); }
  /// The documents the views show now and the direction; back to the fit, lookups start afresh.
  void SetDocuments(const Document* source, const Document* docked, int direction);

  /// The frame both views draw with.
  ViewFrame Frame() const;
  const ViewZoom& Zoom() const { return zoom_; }
  /// The text of the last hover, empty when the mouse was over no point.
  const QString& HoverText() const { return hover_text_; }

  void FitToWindow();
  void ZoomAt(QPoint pixel, double factor);
  void CentreOn(long double x, long double y, long double z);
  /// Centres on the docked model's point; false when it has no such point.
  bool CentreOnPoint(int mesh, int id);

 signals:
  /// The frame changed: the views must be drawn again.
  void Changed();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Hover(QWidget* image, QPoint pixel);
  const PointFinder* FinderFor(QWidget* image);

  QWidget* source_image_;
  QWidget* docked_image_;
  ReportTexts texts_;
  std::function<ViewFrame()> fit_;
  ViewZoom zoom_;
  const Document* source_ = nullptr;
  const Document* docked_ = nullptr;
  int direction_ = 0;
  // Gathered on the first hover or lookup after the documents change.
  std::unique_ptr<PointFinder> source_finder_;
  std::unique_ptr<PointFinder> docked_finder_;
  bool dragging_ = false;
  QPoint drag_from_;
  QString hover_text_;
  QWidget* hover_image_ = nullptr;
};

}  // namespace mk
