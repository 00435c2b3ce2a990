#include "platform/knopfzeile.h"

#include <QHBoxLayout>
#include <QPushButton>

QHBoxLayout* knopfzeile(QWidget* dialog, const Knopf& ja, const Knopf& nein) {
  auto* zeile = new QHBoxLayout;
  zeile->addStretch(1);
  for (const Knopf* k : {&ja, &nein}) {
    auto* knopf = new QPushButton(k->text, dialog);
    knopf->setObjectName(QLatin1String(k->name));
    zeile->addWidget(knopf);
    *k->ziel = knopf;
  }
  (*ja.ziel)->setDefault(true);
  (*nein.ziel)->setAutoDefault(false);
  return zeile;
}
