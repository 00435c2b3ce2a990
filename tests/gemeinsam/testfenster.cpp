#include "testfenster.h"

int TestFenster::Meldung(const QString& text, const QString& titel, Knoepfe knoepfe,
                         Symbol symbol) {
  meldungen.push_back({text, titel, knoepfe, symbol});
  return antwort;
}

QString TestFenster::Text1(int i) const {
  if (i < 1 || i > 30) return QString();
  return felder[i];
}

void TestFenster::setzeText1(int i, const QString& text) {
  if (i >= 1 && i <= 30) felder[i] = text;
}

QSizeF TestFenster::setzeInhaltsgroesse(double b, double h) {
  inhalt = QSizeF(b, h);
  return inhalt;
}
