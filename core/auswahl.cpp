#include "core/auswahl.h"

#include <cmath>

#include "core/seite_zeichnen.h"
#include "platform/bildflaeche.h"
#include "platform/zahlen.h"

namespace {
// Twips of a unit value at the current zoom. The selection rectangle keeps them in double
// precision: read back from single precision, a 12.3 mm wide frame would show 1.22 cm in
// the status bar at many zooms.
double inTwips(const Programmzustand& s, double wert) {
  return s.Zoom / 100.0 * wert * s.TwipsProEinheit;
}

// The same in single precision, as the hit test compares the pointer's position.
float inTwipsEinfach(const Programmzustand& s, double wert) {
  return static_cast<float>(inTwips(s, wert));
}

// Units of a twip value at the current zoom: nearest whole number, halves to even.
int32_t inEinheiten(const Programmzustand& s, double twips) {
  return zahlen::int32Begrenzt(twips / (s.Zoom / 100.0) / s.TwipsProEinheit);
}
}  // namespace

QRectF RahmenRechteck(const Programmzustand& s, int i) {
  const ClassRahmen& r = *s.Rahmenliste.at(i);
  return QRectF(inTwips(s, r.x), inTwips(s, r.y), inTwips(s, r.Breite), inTwips(s, r.Hoehe));
}

void AktuellesElementSetzen(Programmzustand& s) {
  if (s.AktuellerRahmen < 1 || s.AktuellerRahmen > s.AnzahlRahmen) return;
  const ClassRahmen& r = s.rahmen(s.AktuellerRahmen);
  const int n = r.nummer();
  if (r.Objekttyp == QLatin1String("Schrift"))
    s.AktuelleSchrift = n;
  else if (r.Objekttyp == QLatin1String("Bild"))
    s.AktuellesBild = n;
  else if (r.Objekttyp == QLatin1String("RTF"))
    s.AktuellesRTF = n;
  else if (r.Objekttyp == QLatin1String("Linie"))
    s.AktuelleLinie = n;
}

Markierung MarkierungBerechnen(const Programmzustand& s, const QRectF& rechteck) {
  Markierung m;
  m.rechteck = rechteck;
  const double L = rechteck.left(), T = rechteck.top();
  const double W = rechteck.width(), H = rechteck.height();
  m.ziehpunkt[1] = {L - 100, T - 100};
  m.ziehpunkt[2] = {L + W / 2 - 50, T - 100};
  m.ziehpunkt[3] = {L + W, T - 100};
  m.ziehpunkt[4] = {L + W, T + H / 2 - 50};
  m.ziehpunkt[5] = {L + W, T + H};
  m.ziehpunkt[6] = {L + W / 2 - 50, T + H};
  m.ziehpunkt[7] = {L - 100, T + H};
  m.ziehpunkt[8] = {L - 100, T + H / 2 - 50};

  if (s.AktuellerRahmen < 1 || s.AktuellerRahmen > s.AnzahlRahmen) return m;
  const ClassRahmen& r = *s.Rahmenliste.at(s.AktuellerRahmen);
  for (int i = 1; i <= 8; ++i) m.ziehpunktSichtbar[i] = !(r.Proportional && i % 2 == 0);

  const QString& typ = r.Objekttyp;
  if (typ == QLatin1String("Schrift")) {
    m.knopfBild = QStringLiteral("Text");
    m.knopfText = QStringLiteral("Schriftart");
  } else if (typ == QLatin1String("Bild")) {
    m.knopfBild = QStringLiteral("Bilder");
    m.knopfText = QStringLiteral("Bild");
  } else if (typ == QLatin1String("Linie")) {
    m.knopfBild = QStringLiteral("Linie");
    m.knopfText = QStringLiteral("Linie");
  } else if (typ == QLatin1String("RTF")) {
    m.knopfBild = QStringLiteral("Brief");
    m.knopfText = QStringLiteral("Brief");
  }

  m.schriftboxenAktiv = typ == QLatin1String("Schrift");
  if (m.schriftboxenAktiv && s.AktuelleSchrift >= 1 && s.AktuelleSchrift <= s.AnzahlSchriften &&
      s.Schriften.at(s.AktuelleSchrift)) {
    const ClassSchrift& t = *s.Schriften.at(s.AktuelleSchrift);
    if (t.Bold && t.Italic)
      m.stilIndex = 3;
    else if (t.Bold)
      m.stilIndex = 1;
    else if (t.Italic)
      m.stilIndex = 2;
    else
      m.stilIndex = 0;
    m.schriftname = t.fontname;
    if (auto groesse = varianteZahl(t.FontSize))
      m.schriftgroesse = zahlen::schreibeLokal(*groesse);
    else
      m.schriftgroesse = varianteText(t.FontSize);
  }
  return m;
}

void ZiehenUebernehmen(Programmzustand& s) {
  if (s.AktuellerRahmen < 1 || s.AktuellerRahmen > s.AnzahlRahmen) return;
  if (!(s.Zoom > 0) || !std::isfinite(s.Zoom)) return;
  ClassRahmen& r = s.rahmen(s.AktuellerRahmen);
  QRectF rechteck = s.fenster->Rahmen();

  // Position, kept on the page against the size the frame had before this drag.
  int32_t x = inEinheiten(s, rechteck.left());
  if (x < 0) x = 0;
  if (static_cast<int64_t>(x) + r.Breite > s.Seite->Breite) x = s.Seite->Breite - r.Breite;
  int32_t y = inEinheiten(s, rechteck.top());
  if (y < 0) y = 0;
  if (static_cast<int64_t>(y) + r.Hoehe > s.Seite->Hoehe) y = s.Seite->Hoehe - r.Hoehe;
  r.x = x;
  r.y = y;
  r.Breite = inEinheiten(s, rechteck.width());
  r.Hoehe = inEinheiten(s, rechteck.height());

  auto setzeLinks = [&] { rechteck.moveLeft(inTwips(s, r.x)); };
  auto setzeOben = [&] { rechteck.moveTop(inTwips(s, r.y)); };
  auto setzeBreite = [&] { rechteck.setWidth(inTwips(s, r.Breite)); };
  auto setzeHoehe = [&] { rechteck.setHeight(inTwips(s, r.Hoehe)); };

  // Snaps a value down to a multiple of the spacing. A spacing whose nearest whole number
  // is below 1 does not snap. A size that would become 0 becomes one spacing, so that a
  // frame never becomes too small to be clicked.
  auto rasten = [](int32_t& wert, double abstand, bool istGroesse) {
    const double ganz = zahlen::nint(abstand);
    if (!(ganz >= 1)) return false;
    const auto quotient = zahlen::ganzDiv(wert, ganz);
    if (!quotient) return false;
    double neu = zahlen::Int(*quotient * abstand);
    if (istGroesse && neu == 0) neu = zahlen::Int(abstand);
    wert = zahlen::int32Begrenzt(neu);
    return true;
  };

  if (s.MagnetAn == -1) {
    if (rasten(r.x, s.MagnetX, false)) setzeLinks();
    if (rasten(r.y, s.MagnetY, false)) setzeOben();
    if (!r.Proportional) {
      if (rasten(r.Breite, s.MagnetX, true)) setzeBreite();
      if (rasten(r.Hoehe, s.MagnetY, true)) setzeHoehe();
    }
  } else if (s.MmGenau == -1) {
    auto millimeter = [](int32_t& wert, bool istGroesse) {
      wert = (wert / 10) * 10;  // integer division toward zero
      if (istGroesse && wert == 0) wert = 10;
    };
    millimeter(r.x, false);
    setzeLinks();
    millimeter(r.y, false);
    setzeOben();
    millimeter(r.Breite, true);
    setzeBreite();
    millimeter(r.Hoehe, true);
    setzeHoehe();
  }
  s.fenster->setzeRahmen(rechteck);
}

bool ZoomAnwenden(Programmzustand& s) {
  if (!std::isfinite(s.Zoom) || s.Zoom < 10 || s.Zoom > 1000) return false;
  const double u = s.TwipsProEinheit;
  // A zoom at which the page surface would exceed its pixel budget is lowered to the
  // largest whole percentage that fits.
  const double hoechster = Bildflaeche::groessterMassstab(s.Seite->Breite * u, s.Seite->Hoehe * u,
                                                          s.PictureSeite->twipsProPixelX());
  if (s.Zoom > hoechster * 100) s.Zoom = std::max(1.0, std::floor(hoechster * 100));
  const double f = s.Zoom / 100.0;
  const QSizeF inhalt =
      s.fenster->setzeInhaltsgroesse(s.Seite->Breite * u * f, s.Seite->Hoehe * u * f);
  s.PictureSeite->setzeGroesse(inhalt.width(), inhalt.height());
  if (s.AktuellerRahmen >= 1 && s.AktuellerRahmen <= s.AnzahlRahmen)
    s.fenster->setzeRahmen(RahmenRechteck(s, s.AktuellerRahmen));
  s.fenster->MarkierungZeigen();
  SeiteZeichnen(s);
  return true;
}

void RahmenTreffer(Programmzustand& s, double X, double Y) {
  const float x = static_cast<float>(X);
  const float y = static_cast<float>(Y);
  int k = s.AktuellerRahmen + 1;
  // Every frame but the selected one is visited at most once, in index order after it.
  for (int besucht = 0; besucht < s.AnzahlRahmen; ++besucht) {
    if (k > s.AnzahlRahmen) k = 1;
    if (k == s.AktuellerRahmen) return;
    const ClassRahmen& r = s.rahmen(k);
    if (r.Sichtbar && inTwipsEinfach(s, r.x) < x &&
        inTwipsEinfach(s, static_cast<double>(r.x) + r.Breite) > x && inTwipsEinfach(s, r.y) < y &&
        inTwipsEinfach(s, static_cast<double>(r.y) + r.Hoehe) > y) {
      s.AktuellerRahmen = k;
      AktuellesElementSetzen(s);
      s.fenster->setzeRahmen(RahmenRechteck(s, k));
      s.fenster->MarkierungZeigen();
      return;
    }
    ++k;
  }
}
