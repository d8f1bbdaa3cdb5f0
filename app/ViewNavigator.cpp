#include "app/ViewNavigator.h"

#include <QMouseEvent>
#include <QToolTip>
#include <QWheelEvent>
#include <QWidget>
#include <cmath>

namespace mk {

ViewNavigator::ViewNavigator(QWidget* source_image, QWidget* docked_image, const ReportTexts& texts,
                             QObject* parent)
    : QObject(parent), source_image_(source_image), docked_image_(docked_image), texts_(texts) {
  for (QWidget* image : {source_image_, docked_image_}) {
    image->installEventFilter(this);
    image->setMouseTracking(true);
  }
}

void ViewNavigator::SetDocuments(const Document* source, const Document* docked, int direction) {
  source_ = source;
  docked_ = docked;
  direction_ = direction;
  source_finder_.reset();
  docked_finder_.reset();
  zoom_.Fit();
}

ViewFrame ViewNavigator::Frame() const {
  const ViewFrame fit = fit_ ? fit_() : ViewFrame{};
  return zoom_.FrameFor(fit, docked_image_->width(), docked_image_->height());
}

void ViewNavigator::FitToWindow() {
  zoom_.Fit();
  emit Changed();
}

void ViewNavigator::ZoomAt(QPoint pixel, double factor) {
  if (!fit_) return;
  zoom_.ZoomAt(fit_(), docked_image_->width(), docked_image_->height(), pixel.x(), pixel.y(), factor);
  emit Changed();
}

void ViewNavigator::CentreOn(long double x, long double y, long double z) {
  if (!fit_) return;
  zoom_.CentreOn(fit_(), docked_image_->width(), docked_image_->height(),
                 PlanePointOf(direction_, x, y, z));
  emit Changed();
}

bool ViewNavigator::CentreOnPoint(int mesh, int id) {
  const PointFinder* finder = FinderFor(docked_image_);
  if (!finder) return false;
  const std::optional<VisitedPoint> point = finder->WithId(mesh, id);
  if (!point) return false;
  CentreOn(point->x, point->y, point->z);
  return true;
}

const PointFinder* ViewNavigator::FinderFor(QWidget* image) {
  const bool docked = image == docked_image_;
  std::unique_ptr<PointFinder>& finder = docked ? docked_finder_ : source_finder_;
  const Document* document = docked ? docked_ : source_;
  if (!document) return nullptr;
  if (!finder) finder = std::make_unique<PointFinder>(*document, direction_);
  return finder.get();
}

void ViewNavigator::Hover(QWidget* image, QPoint pixel) {
  QString text;
  const ViewFrame frame = Frame();
  if (frame.scale > 0) {
    if (const PointFinder* finder = FinderFor(image)) {
      const PlanePoint at = PlanePointAt(frame, pixel.x(), pixel.y());
      if (const auto point = finder->Nearest(at, kHoverRadius / frame.scale))
        text = texts_.Hover(point->mesh, point->id, point->x, point->y, point->z);
    }
  }
  if (text == hover_text_ && image == hover_image_) return;
  if (hover_image_ && hover_image_ != image) hover_image_->setToolTip(QString());
  hover_text_ = text;
  hover_image_ = image;
  image->setToolTip(text);
  if (text.isEmpty())
    QToolTip::hideText();
  else
    QToolTip::showText(image->mapToGlobal(pixel), text, image);
}

bool ViewNavigator::eventFilter(QObject* watched, QEvent* event) {
  auto* image = qobject_cast<QWidget*>(watched);
  if (image != source_image_ && image != docked_image_) return QObject::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::Wheel: {
      const auto* wheel = static_cast<QWheelEvent*>(event);
      const int steps = wheel->angleDelta().y();
      if (steps != 0) ZoomAt(wheel->position().toPoint(), std::pow(kWheelStepFactor, steps / 120.0));
      return true;
    }
    case QEvent::MouseButtonPress: {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() != Qt::LeftButton) break;
      dragging_ = true;
      drag_from_ = mouse->position().toPoint();
      image->setCursor(Qt::ClosedHandCursor);
      return true;
    }
    case QEvent::MouseMove: {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      const QPoint at = mouse->position().toPoint();
      if (dragging_ && (mouse->buttons() & Qt::LeftButton)) {
        const QPoint moved = at - drag_from_;
        drag_from_ = at;
        if (!moved.isNull() && fit_) {
          zoom_.PanBy(fit_(), docked_image_->width(), docked_image_->height(), moved.x(), moved.y());
          emit Changed();
        }
        return true;
      }
      Hover(image, at);
      break;
    }
    case QEvent::MouseButtonRelease:
      if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && dragging_) {
        dragging_ = false;
        image->unsetCursor();
        return true;
      }
      break;
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace mk
