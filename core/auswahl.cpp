#include "core/auswahl.h"

QRectF RahmenRechteck(const Programmzustand& s, int i) {
  const ClassRahmen& r = *s.Rahmenliste.at(i);
  const double f = s.Zoom / 100.0;
  const double u = s.TwipsProEinheit;
  return QRectF(f * r.x * u, f * r.y * u, f * r.Breite * u, f * r.Hoehe * u);
}

Markierung MarkierungBerechnen(const Programmzustand&, const QRectF& rechteck) {
  Markierung m;
  m.rechteck = rechteck;
  return m;
}

void ZiehenUebernehmen(Programmzustand&) {}
void ZoomAnwenden(Programmzustand&) {}
void RahmenTreffer(Programmzustand&, double, double) {}
