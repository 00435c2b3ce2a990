#include "io/drucken.h"

#include <exception>

#include "core/seite_zeichnen.h"
#include "platform/drucksteuerung.h"

namespace {
// Puts the print mode, the twips per pixel and the preview switch back however the print
// ends.
struct Druckzustand {
  explicit Druckzustand(Programmzustand& s)
      : s(s), tppX(s.TwipsProPixelX), tppY(s.TwipsProPixelY), vorschau(s.VSPrinter1->Preview) {}
  ~Druckzustand() {
    s.TwipsProPixelX = tppX;
    s.TwipsProPixelY = tppY;
    s.Druckmodus = 0;
    s.VSPrinter1->Preview = vorschau;
  }
  Programmzustand& s;
  double tppX;
  double tppY;
  bool vorschau;
};
}  // namespace

bool DruckeSeite(Programmzustand& s) {
  Drucksteuerung& d = *s.VSPrinter1;
  QString meldung;
  {
    Druckzustand zurueck(s);
    const bool sofortDrucken = !d.Preview;
    d.Preview = true;

    d.StartDoc();
    d.MarginLeft = 0;
    d.PaperWidth = s.Seite->Breite * 5.67;
    d.PaperHeight = s.Seite->Hoehe * 5.67;
    d.MarginTop = 0;

    s.Druckmodus = -1;
    s.TwipsProPixelX = d.twipsProPixelX();
    s.TwipsProPixelY = d.twipsProPixelY();
    bool gezeichnet = true;
    try {
      SeiteZeichnen(s);
    } catch (const std::exception& fehler) {
      gezeichnet = false;
      meldung = QStringLiteral("Die Seite konnte nicht gezeichnet werden: %1")
                    .arg(QString::fromLocal8Bit(fehler.what()));
    }
    s.TwipsProPixelX = zurueck.tppX;
    s.TwipsProPixelY = zurueck.tppY;
    s.Druckmodus = 0;
    d.EndDoc();

    if (gezeichnet && sofortDrucken) {
      if (!d.PrintDoc()) meldung = d.fehler();
    }
    // Printing at once leaves the switch off, as it was found.
  }
  if (!meldung.isEmpty()) {
    s.fenster->Meldung(meldung, QString(), Knoepfe::Ok, Symbol::Ausrufezeichen);
    return false;
  }
  return true;
}
