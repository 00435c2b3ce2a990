#include "io/drucken.h"

#include <algorithm>
#include <exception>

#include "core/seite_zeichnen.h"
#include "platform/drucksteuerung.h"
#include "platform/einheiten.h"

namespace {
// Puts the print mode and the twips per pixel back however the drawing of a page ends.
struct Druckzustand {
  explicit Druckzustand(Programmzustand& s)
      : s(s), tppX(s.TwipsProPixelX), tppY(s.TwipsProPixelY) {}
  ~Druckzustand() {
    s.TwipsProPixelX = tppX;
    s.TwipsProPixelY = tppY;
    s.Druckmodus = 0;
  }
  Programmzustand& s;
  double tppX;
  double tppY;
};

// One document of one page (and the pages its letter text runs on to): the page redraw in
// print mode. Returns the message of a failure, or an empty text.
QString seiteAusgeben(Programmzustand& s, Drucksteuerung& d) {
  Druckzustand zurueck(s);
  const bool angenommen = d.StartDoc();
  QString meldung;
  if (!angenommen) {
    meldung = d.fehler();
  } else {
    d.MarginLeft = 0;
    d.PaperWidth = einheiten::twipsAusEinheiten(s.Seite->Breite);
    d.PaperHeight = einheiten::twipsAusEinheiten(s.Seite->Hoehe);
    d.MarginTop = 0;
    s.Druckmodus = -1;
    s.TwipsProPixelX = d.twipsProPixelX();
    s.TwipsProPixelY = d.twipsProPixelY();
    try {
      SeiteZeichnen(s);
    } catch (const std::exception& fehler) {
      meldung = Seitenfehler(fehler);
    }
  }
  // A page goes onto the output with its first drawing: a failure shows when it ends.
  if (!d.EndDoc() && meldung.isEmpty()) meldung = d.fehler();
  return meldung;
}
}  // namespace

bool DruckeSeite(Programmzustand& s) {
  Drucksteuerung& d = *s.VSPrinter1;
  const bool sofortDrucken = !d.Preview;
  // A page printed on its own is a run of its own.
  const bool eigenerLauf = sofortDrucken && !d.laufOffen();
  if (eigenerLauf) d.LaufBeginnen();
  const int vorher = d.laufSeiten();
  QString meldung;
  // Each copy is drawn anew, straight after the one before.
  const int exemplare = sofortDrucken ? std::max<int>(1, d.Copies) : 1;
  for (int k = 0; k < exemplare && meldung.isEmpty(); ++k) meldung = seiteAusgeben(s, d);
  if (!meldung.isEmpty() && sofortDrucken) d.SeitenVerwerfen(d.laufSeiten() - vorher);
  if (eigenerLauf && !d.LaufBeenden() && meldung.isEmpty()) meldung = d.fehler();
  if (!meldung.isEmpty()) {
    s.fenster->Meldung(meldung, QString(), Knoepfe::Ok, Symbol::Ausrufezeichen);
    return false;
  }
  // A run over several pages says it once, when it ends.
  if ((eigenerLauf || !sofortDrucken) && d.textAusserhalb())
    s.fenster->Meldung(BrieftextAusserhalb(!sofortDrucken), QString(), Knoepfe::Ok,
                       Symbol::Ausrufezeichen);
  return true;
}

QString BrieftextAusserhalb(bool vorschau) {
  return vorschau
             ? QStringLiteral("Der Brieftext liegt außerhalb des Papiers und wird nicht gedruckt.")
             : QStringLiteral(
                   "Der Brieftext liegt außerhalb des Papiers und wurde nicht gedruckt.");
}
