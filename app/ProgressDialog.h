#pragma once
// ProgressDialog: the small progress dialog shown while a file is read and docked.

#include <QDialog>

#include "core/document/Progress.h"

class QProgressBar;

namespace mk {

class ProgressDialog : public QDialog, public ProgressBar {
  Q_OBJECT

 public:
  explicit ProgressDialog(QWidget* parent = nullptr);

  /// Shows the dialog without blocking and sets the bar to 0 of 0..10.
  void Start();
  /// Moves the bar and paints it at once: docking runs on the interface thread, so the event
  /// loop would otherwise show only the last position.
  void SetPosition(int position) override;
  int Position() const;

  QProgressBar* Bar;
};

}  // namespace mk
