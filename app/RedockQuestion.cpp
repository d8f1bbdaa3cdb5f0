#include "app/RedockQuestion.h"

#include <QMessageBox>

namespace mk {

bool AskToDockAgain(QWidget* parent, const DockedLook& look, const ReportTexts& texts) {
  QMessageBox box(QMessageBox::Question, QStringLiteral("Mirrorknit"),
                  texts.RedockQuestion(look),
                  QMessageBox::Yes | QMessageBox::No, parent);
  box.setObjectName(QStringLiteral("RedockBox"));
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

}  // namespace mk
