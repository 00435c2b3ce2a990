#include "ui/frmsuchen.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/knopfzeile.h"
#include "ui/adressen.h"

frmSuchen::frmSuchen(Datensteuerung& steuerung, Programmzustand& s, QWidget* eltern)
    : QDialog(eltern), steuerung_(steuerung), s_(s) {
  setWindowTitle(QStringLiteral("Datensuche"));
  setObjectName(QStringLiteral("frmSuchen"));
  setModal(false);
  setAttribute(Qt::WA_DeleteOnClose, false);

  Label1 = new QLabel(QStringLiteral("Suchbegriff"), this);
  Text1 = new QLineEdit(this);
  Text1->setObjectName(QStringLiteral("Text1"));
  Label1->setBuddy(Text1);

  auto* rahmen = new QGroupBox(this);
  auto* raster = new QGridLayout(rahmen);
  gruppe_ = new QButtonGroup(this);
  gruppe_->setExclusive(true);
  for (int i = 1; i <= 10; ++i) {
    QString text = Suchfeld(i);
    Option[i] = new QRadioButton(text, rahmen);
    Option[i]->setObjectName(QStringLiteral("Option%1").arg(i));
    gruppe_->addButton(Option[i], i);
    // Two columns: "Firma" .. "Straße" left, "PLZ" .. "Gruppe" right.
    raster->addWidget(Option[i], (i - 1) % 5, (i - 1) / 5);
  }
  Option[1]->setChecked(true);

  auto* begriff = new QHBoxLayout;
  begriff->addWidget(Label1);
  begriff->addWidget(Text1, 1);
  auto* knoepfe = knopfzeile(this, {&Command2, QStringLiteral("Suchen"), "Command2"},
                             {&Command1, QStringLiteral("Abbruch"), "Command1"});
  auto* spalte = new QVBoxLayout(this);
  spalte->addLayout(begriff);
  spalte->addWidget(rahmen);
  spalte->addLayout(knoepfe);

  // Option1 comes first in the tab order, then the options, the term and the buttons.
  QWidget* vorher = Option[1];
  for (int i = 2; i <= 10; ++i) {
    setTabOrder(vorher, Option[i]);
    vorher = Option[i];
  }
  setTabOrder(vorher, Text1);
  setTabOrder(Text1, Command2);
  setTabOrder(Command2, Command1);
  Option[1]->setFocus();

  connect(Command1, &QPushButton::clicked, this, &frmSuchen::Command1_Click);
  connect(Command2, &QPushButton::clicked, this, &frmSuchen::Command2_Click);
}

int frmSuchen::gewaehlteOption() const {
  const int id = gruppe_->checkedId();
  return id >= 1 && id <= 10 ? id : 1;
}

void frmSuchen::Command1_Click() { hide(); }

void frmSuchen::Command2_Click() {
  const int option = gewaehlteOption();
  const QString begriff = Text1->text();
  hide();
  const bool gefunden = AdresseSuchen(steuerung_, s_, option, begriff);
  emit gesucht(gefunden);
}
