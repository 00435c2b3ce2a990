// A main window for tests: it records what the program asked of it and answers message
// boxes with a preset answer.
#pragma once

#include <QStringList>
#include <array>
#include <vector>

#include "core/fenster.h"

class TestFenster : public Fenster {
 public:
  int Meldung(const QString& text, const QString& titel, Knoepfe knoepfe,
              Symbol symbol) override;
  QString Text1(int i) const override;
  void setzeText1(int i, const QString& text) override;
  QRectF Rahmen() const override { return rahmen; }
  void setzeRahmen(const QRectF& r) override { rahmen = r; }
  void MarkierungZeigen() override { ++markierungen; }
  QSizeF setzeInhaltsgroesse(double b, double h) override;
  void seiteGezeichnet() override { ++gezeichnet; }
  void DialogZeigen(Dialog d) override { dialoge.push_back(d); }

  // Answer given to every message box (1 OK, 2 cancel).
  int antwort = 1;
  std::vector<Meldungseintrag> meldungen;
  std::array<QString, 31> felder;
  QRectF rahmen;
  int markierungen = 0;
  int gezeichnet = 0;
  std::vector<Dialog> dialoge;
  QSizeF inhalt;
};
