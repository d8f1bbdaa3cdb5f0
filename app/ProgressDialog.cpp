#include "app/ProgressDialog.h"

#include <QGuiApplication>
#include <QProgressBar>
#include <QScreen>

namespace mk {

ProgressDialog::ProgressDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::CustomizeWindowHint) {
  setObjectName(QStringLiteral("frmMatu"));
  setWindowTitle(QStringLiteral("ドッキング中"));
  setModal(false);
  setFixedSize(265, 32);
  Bar = new QProgressBar(this);
  Bar->setObjectName(QStringLiteral("Bar"));
  Bar->setGeometry(8, 8, 249, 16);
  Bar->setRange(0, 100);
  Bar->setTextVisible(false);
}

void ProgressDialog::Start() {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame = geometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
  show();
  raise();
  Bar->setMaximum(10);
  Bar->setMinimum(0);
  SetPosition(0);
  repaint();
}

void ProgressDialog::SetPosition(int position) {
  Bar->setValue(position);
  if (isVisible()) Bar->repaint();
}

int ProgressDialog::Position() const { return Bar->value(); }

}  // namespace mk
