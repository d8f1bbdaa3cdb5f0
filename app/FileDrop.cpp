#include "app/FileDrop.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>
#include <stdexcept>

namespace mk {
namespace {

QStringList LocalFilesOf(const QMimeData* mime) {
  QStringList names;
  if (!mime || !mime->hasUrls()) return names;
  const QList<QUrl> urls = mime->urls();
  for (const QUrl& url : urls)
    if (url.isLocalFile()) names.append(url.toLocalFile());
  return names;
}

}  // namespace

FileDropAcceptor::FileDropAcceptor(QWidget* owner) : QObject(owner), owner_(owner) {
  if (!owner) throw std::invalid_argument("FileDropAcceptor needs an owner window");
  owner_->installEventFilter(this);
}

FileDropAcceptor::~FileDropAcceptor() {
  enabled_ = false;
  // During the owner's own destruction it is no longer a widget worth touching.
  if (owner_ && parent() == owner_) owner_->removeEventFilter(this);
}

void FileDropAcceptor::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  owner_->setAcceptDrops(enabled);
}

bool FileDropAcceptor::eventFilter(QObject* watched, QEvent* event) {
  if (watched != owner_ || !enabled_) return QObject::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::DragEnter: {
      auto* drag = static_cast<QDragEnterEvent*>(event);
      if (LocalFilesOf(drag->mimeData()).isEmpty()) return false;
      drag->acceptProposedAction();
      return true;
    }
    case QEvent::DragMove: {
      auto* drag = static_cast<QDragMoveEvent*>(event);
      if (LocalFilesOf(drag->mimeData()).isEmpty()) return false;
      drag->acceptProposedAction();
      return true;
    }
    case QEvent::Drop: {
      auto* drop = static_cast<QDropEvent*>(event);
      const QStringList names = LocalFilesOf(drop->mimeData());
      if (names.isEmpty()) return false;
      drop->acceptProposedAction();
      // Opening a model can take a while and shows a dialog; the desktop's drag must have
      // finished by then, so the names are handled from the event queue.
      QMetaObject::invokeMethod(
          this, [this, names] { HandleDrop(names); }, Qt::QueuedConnection);
      return true;
    }
    default:
      return QObject::eventFilter(watched, event);
  }
}

void FileDropAcceptor::HandleDrop(const QStringList& names) {
  files_ = names;
  emit OnDropped(this);
}

}  // namespace mk
