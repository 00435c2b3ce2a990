#include "elements/text/schriftboxen.h"

#include <QComboBox>

#include "elements/text/schriftarten.h"
#include "platform/zahlen.h"

void schriftboxenFuellen(const Programmzustand& s, QComboBox* name, QComboBox* stil,
                         QComboBox* groesse) {
  name->clear();
  name->addItems(SchriftartenListe(s));
  stil->clear();
  stil->addItems({QStringLiteral("Standard"), QStringLiteral("Fett"), QStringLiteral("Kursiv"),
                  QStringLiteral("Kursiv Fett")});
  groesse->clear();
  for (int punkte = 8; punkte <= 72; punkte += 2) groesse->addItem(QString::number(punkte));
}

void stilSetzen(ClassSchrift& t, const QString& stil) {
  // "Standard" and "Kursiv" are not bold; "Standard" and "Fett" are not italic.
  t.Bold = stil != QLatin1String("Standard") && stil != QLatin1String("Kursiv");
  t.Italic = stil != QLatin1String("Standard") && stil != QLatin1String("Fett");
}

int groessenEintrag(const QComboBox& groesse, double punkte) {
  for (int i = 0; i < groesse.count(); ++i)
    if (zahlen::Val(groesse.itemText(i)) == punkte) return i;
  return -1;
}
