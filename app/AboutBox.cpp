#include "app/AboutBox.h"

#include <QFrame>
#include <QLabel>
#include <QPalette>
#include <QPushButton>

namespace mk {
namespace {

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, const QColor& colour,
                  int pixels, QRect where) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setAlignment(Qt::AlignCenter);
  QFont font = label->font();
  font.setBold(true);
  font.setPixelSize(pixels);
  label->setFont(font);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
  label->setGeometry(where);
  return label;
}

}  // namespace

AboutBox::AboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("frmAbout"));
  setWindowTitle(QStringLiteral("Mirrorknit"));
  setFixedSize(346, 146);
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, Qt::black);
  palette.setColor(QPalette::WindowText, QColor(0, 255, 0));
  setPalette(palette);

  auto* bevel = new QFrame(this);
  bevel->setObjectName(QStringLiteral("Bevel"));
  bevel->setFrameShape(QFrame::Box);
  bevel->setGeometry(8, 8, 329, 129);

  MakeLabel(this, QStringLiteral("label_maker"), QStringLiteral("Mirrorknit"), Qt::red, 16,
            QRect(24, 14, 294, 22));
  label_info = MakeLabel(this, QStringLiteral("label_info"), QStringLiteral("Mirrorknit Ver1.00"),
                         QColor(0, 255, 0), 21, QRect(24, 38, 294, 26));
  MakeLabel(this, QStringLiteral("label_licence"), QStringLiteral("MIT License"), Qt::yellow, 12,
            QRect(24, 66, 294, 16));
  MakeLabel(this, QStringLiteral("label_contact"),
            QStringLiteral("Report problems: see the project's README"), Qt::yellow, 12,
            QRect(24, 82, 294, 16));

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("btnOK"));
  ok->setGeometry(132, 104, 75, 25);
  ok->setDefault(true);
  ok->setAutoFillBackground(false);
  QPalette button_palette = ok->palette();
  button_palette.setColor(QPalette::ButtonText, Qt::black);
  ok->setPalette(button_palette);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace mk
