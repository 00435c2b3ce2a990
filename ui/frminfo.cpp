#include "ui/frminfo.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/symbole.h"

frmInfo::frmInfo(Programmzustand& s, QWidget* eltern) : ModalerDialog(eltern), s_(s) {
  setWindowTitle(QStringLiteral("Info"));
  setObjectName(QStringLiteral("frmInfo"));

  auto* bildchen = new QLabel(this);
  bildchen->setPixmap(symbol(QStringLiteral("Programm")).pixmap(48, 48));
  Label1 = new QLabel(QStringLiteral("QX Marvolant"), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  QFont gross = Label1->font();
  gross.setPointSizeF(gross.pointSizeF() * 1.3);
  gross.setBold(true);
  Label1->setFont(gross);
  Command1 = new QPushButton(QStringLiteral("Ok"), this);
  Command1->setObjectName(QStringLiteral("Command1"));
  Command1->setDefault(true);

  auto* oben = new QHBoxLayout;
  oben->addWidget(bildchen);
  oben->addSpacing(12);
  oben->addWidget(Label1, 1);
  auto* unten = new QHBoxLayout;
  unten->addStretch(1);
  unten->addWidget(Command1);
  auto* spalte = new QVBoxLayout(this);
  spalte->addLayout(oben);
  spalte->addStretch(1);
  spalte->addLayout(unten);
  resize(340, 140);

  connect(Command1, &QPushButton::clicked, this, &frmInfo::Command1_Click);
}

void frmInfo::Form_Load() {
  Label1->setText(s_.Programmtitel + QStringLiteral(" Version ") + s_.Programmversion);
}

void frmInfo::zeigen() {
  Form_Load();
  show();
  raise();
  activateWindow();
  Command1->setFocus();
}

void frmInfo::Command1_Click() { close(); }
