#pragma once
// AboutBox: the about box with the program name and version.

#include <QDialog>

class QLabel;

namespace mk {

class AboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit AboutBox(QWidget* parent = nullptr);

  QLabel* label_info;
};

}  // namespace mk
