#pragma once
// TfrmAbout: the about box with the program name and version.

#include <QDialog>

class QLabel;

namespace mk {

class TfrmAbout : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmAbout(QWidget* parent = nullptr);

  QLabel* label_info;
};

}  // namespace mk
