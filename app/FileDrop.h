#pragma once
// FileDropAcceptor: lets the user drop files from the desktop onto a window. The drop is read after the
// drop event has returned, so the desktop's drag operation is never kept waiting on the handler.

#include <QObject>
#include <QStringList>

class QWidget;

namespace mk {

class FileDropAcceptor : public QObject {
  Q_OBJECT

 public:
  /// owner: the window that accepts the drops; must not be null (throws std::invalid_argument).
  explicit FileDropAcceptor(QWidget* owner);
  ~FileDropAcceptor() override;

  bool Enabled() const { return enabled_; }
  /// Turns acceptance on or off; when off the window is not offered any drop.
  void SetEnabled(bool enabled);
  /// The full names of the local files of the last drop, in the order the desktop gave them.
  const QStringList& Files() const { return files_; }

  /// Reads the names of a drop and announces it.
  virtual void HandleDrop(const QStringList& names);

 signals:
  /// Once per drop, after Files() holds its names.
  void OnDropped(QObject* sender);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* owner_;
  bool enabled_ = false;
  QStringList files_;
};

}  // namespace mk
