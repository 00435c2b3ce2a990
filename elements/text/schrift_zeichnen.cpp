#include "elements/text/schrift_zeichnen.h"

#include <QLinearGradient>
#include <QPolygonF>
#include <QString>
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "elements/text/schriftarten.h"
#include "elements/text/seriendruck.h"
#include "platform/bildflaeche.h"
#include "platform/drucksteuerung.h"
#include "platform/einheiten.h"
#include "platform/gdi.h"
#include "platform/zahlen.h"

namespace {

// Where a text of the given extent starts along one side of its frame (units): alignment 0
// at the frame's start, 1 centred, 2 at its end; any other value at 0 on the page.
double ausrichten(int16_t art, double anfang, double laenge, double ausdehnung) {
  switch (art) {
    case 0:
      return anfang;
    case 1:
      return zahlen::nint(anfang + laenge / 2.0 - ausdehnung / 2);
    case 2:
      return zahlen::nint(anfang + laenge - ausdehnung);
    default:
      return 0;
  }
}

using zahlen::nint;

// Rotations and shadows take pi as 3.1415, so that positions match documents drawn before.
constexpr double bogenProGrad = 3.1415 / 180.0;
// Size of a text that has no usable size of its own, in points.
constexpr double ersatzgroesse = 10;
// The largest character height a text is drawn with, in device pixels.
constexpr double groessteZeichenhoehe = 16384;
// Beyond every surface, in device pixels: the region outside a gradient reaches that far.
constexpr int ausserhalb = 1 << 24;

int32_t ganz(double v) { return zahlen::int32Begrenzt(v); }

// Colour components of an RGB value (red + 256 * green + 65536 * blue) as floating values.
struct Farbanteile {
  float rot;
  float gruen;
  float blau;
};

Farbanteile anteile(int32_t farbe) {
  return {static_cast<float>(farbe & 255), static_cast<float>((farbe >> 8) & 255),
          static_cast<float>((farbe >> 16) & 255)};
}

// The colour that lies i steps from `von` in steps of `schritt`.
int32_t stufenfarbe(const Farbanteile& von, const Farbanteile& schritt, int i) {
  auto teil = [i](float a, float d) {
    return std::clamp(static_cast<int>(nint(a + static_cast<double>(d) * i)), 0, 255);
  };
  return RGB(teil(von.rot, schritt.rot), teil(von.gruen, schritt.gruen),
             teil(von.blau, schritt.blau));
}

// Per-step difference from `von` to `bis` over `stufen` steps.
Farbanteile stufenschritt(const Farbanteile& von, const Farbanteile& bis, int stufen) {
  auto d = [stufen](float a, float b) {
    return static_cast<float>((static_cast<double>(b) - a) / stufen);
  };
  return {d(von.rot, bis.rot), d(von.gruen, bis.gruen), d(von.blau, bis.blau)};
}

// The angle with which placement and gradient work: 0 to 360 degrees. Angles outside that
// range (only a document can hold them) are brought into it, so that the text still turns
// about its centre.
int16_t arbeitswinkel(int16_t winkel) {
  if (winkel >= 0 && winkel <= 360) return winkel;
  return static_cast<int16_t>(((winkel % 360) + 360) % 360);
}

// The size a text is drawn with: the element's size in points, 10 when it holds no
// positive number.
double zeichengroesse(const Variante& fontSize) {
  const std::optional<double> wert = varianteZahl(fontSize);
  if (!wert || !std::isfinite(*wert) || *wert <= 0) return ersatzgroesse;
  return *wert;
}

// One call of the renderer: the prepared text, its extent and position, and the target.
class Textausgabe {
 public:
  Textausgabe(Programmzustand& s, Zeichenflaeche& ziel, Bildflaeche* bild, Drucksteuerung* druck,
              const ClassSchrift& schrift)
      : s_(s), ziel_(ziel), bild_(bild), druck_(druck), schrift_(schrift) {
    // A picture surface's device context works in the surface's own pixels; on the print
    // control the redraw hands over its twips per pixel in the program state.
    tppX_ = ziel.twipsProPixelX();
    tppY_ = ziel.twipsProPixelY();
    if (druck_) {
      if (s.TwipsProPixelX > 0) tppX_ = s.TwipsProPixelX;
      if (s.TwipsProPixelY > 0) tppY_ = s.TwipsProPixelY;
    }
    stufen_ = s.Verlaufsstufen > 0 ? s.Verlaufsstufen : 100;
  }

  QString T;
  double W = 0;  // extent in twips at the drawing scale
  double H = 0;
  double X = 0;  // reference corner, tenths of a millimetre
  double Y = 0;

  // The target's current position at a point of the page (tenths of a millimetre).
  void positionSetzen(double u, double v) {
    ziel_.CurrentX = einheiten::twipsAusEinheiten(u * s_.Zoomfaktor);
    ziel_.CurrentY = einheiten::twipsAusEinheiten(v * s_.Zoomfaktor);
  }

  // The point (surface pixels) at which a copy of the text at (u, v) starts; the device
  // context rounds it to its device pixels.
  QPointF geraetepunkt(double u, double v) const {
    return {einheiten::twipsAusEinheiten(u * s_.Zoomfaktor) / tppX_,
            einheiten::twipsAusEinheiten(v * s_.Zoomfaktor) / tppY_};
  }

  // One copy of the text at (u, v) in the colour.
  void kopie(double u, double v, int32_t farbe) {
    positionSetzen(u, v);
    if (bild_) {
      bild_->ForeColor = farbe;
      bild_->Print(T);
    } else {
      druck_->TextColor = farbe;
      TextOutA(druck_->hdc(), ganz(druck_->CurrentX / tppX_), ganz(druck_->CurrentY / tppY_), T,
               static_cast<int>(T.size()));
    }
  }

  void schatten() {
    const QPointF versatz = Schattenversatz(H, schrift_.ShadowDeep, s_.Zoomfaktor,
                                            schrift_.ShadowAngle, schrift_.Angle);
    s_.Schattenwinkel = Schattenrichtung(schrift_.ShadowAngle, schrift_.Angle);
    const double dx = versatz.x();
    const double dy = versatz.y();
    if (schrift_.ShadowType == 1) {
      kopie(X + dx, Y + dy, schrift_.ShadowColor1);
      return;
    }
    // Graded: from the far end in nearly ShadowColor2 up to the text in ShadowColor1, the
    // copies drawn as one shape.
    const Farbanteile fern = anteile(schrift_.ShadowColor2);
    const Farbanteile schritt = stufenschritt(fern, anteile(schrift_.ShadowColor1), stufen_);
    std::vector<Textkopie> kopien;
    for (int i = 1; i <= stufen_; ++i) {
      const double u = X + dx - dx / stufen_ * i;
      const double v = Y + dy - dy / stufen_ * i;
      kopien.push_back({geraetepunkt(u, v), farbeAusRgb(stufenfarbe(fern, schritt, i))});
    }
    ziel_.hdc()->schreibeTextKopien(T, kopien);
  }

  // The text in Color1 with the colour gradient over it. Each copy of the gradient pass
  // shows from its region's leading edge on and the next region starts one step further,
  // so the text ends in bands: band i, between i - 1 and i steps from the start edge,
  // shows colour i; the first band is one step away from Color1, the last is Color2.
  // Beyond the regions the text keeps Color1. The text is drawn twice, with complementary
  // clips: in Color1 outside the regions, and filled with the bands (a gradient brush
  // with hard steps) inside them, so that every edge is that of one copy.
  void textMitVerlauf() {
    positionSetzen(X, Y);
    HDC dc = ziel_.hdc();
    const double cx = ziel_.CurrentX;
    const double cy = ziel_.CurrentY;
    // Italic letters lean out of their box: widen the area by an "i".
    const double k = schrift_.Italic ? ziel_.TextWidth(QStringLiteral("i")) : 0;
    const int16_t a = arbeitswinkel(schrift_.Angle);
    const bool laengs = schrift_.ColorCircle == 1;

    // The start edge of the first region and the way across all steps, in device pixels.
    QPointF anfang, weg;
    HRGN bereich = 0;
    if (a > 0) {
      // The text box turned with the text; the regions are that box moved on step by
      // step, so that together they cover the box and 99 steps beyond its far edge.
      const double Wi = W + k;
      auto ecke = [&](double u, double v) {
        return QPointF(nint((cx + DrehEckpunkt(u, v, a, u"x")) / tppX_),
                       nint((cy + DrehEckpunkt(u, v, a, u"y")) / tppY_));
      };
      std::array<QPointF, 4> ecken = {ecke(0, 0), ecke(Wi, 0), ecke(Wi, H), ecke(0, H)};
      // A polygon region holds the pixels whose top-left corner lies inside; the brush is
      // taken at the pixels' centres.
      anfang = ecken[0] + QPointF(0.5, 0.5);
      weg = (laengs ? ecken[1] : ecken[3]) - ecken[0];
      // The bands run along the regions' leading edge, whose direction the rounded
      // corners give; only the way across that edge counts.
      const QPointF kante = (laengs ? ecken[3] : ecken[1]) - ecken[0];
      const double laenge = std::hypot(kante.x(), kante.y());
      if (laenge > 0) {
        const QPointF normale(-kante.y() / laenge, kante.x() / laenge);
        weg = normale * QPointF::dotProduct(weg, normale);
      }
      const QPointF rest = weg * (stufen_ - 1) / stufen_;
      for (size_t j : laengs ? std::array<size_t, 2>{1, 2} : std::array<size_t, 2>{2, 3})
        ecken[j] += rest;
      // A region holds a rectangle for every row it spans, and each one costs when it is
      // built, recorded and played: the regions of a big text reach far beyond the
      // surface, and only the part on it (and a little around) can show.
      QPolygonF vieleck(QList<QPointF>(ecken.begin(), ecken.end()));
      const QRectF grenze = QRectF(ziel_.geraeteflaeche()).adjusted(-2, -2, 2, 2);
      if (!grenze.contains(vieleck.boundingRect()))
        vieleck = vieleck.intersected(QPolygonF(grenze));
      std::vector<POINT> punkte;
      for (const QPointF& p : vieleck) punkte.push_back({ganz(p.x()), ganz(p.y())});
      bereich = punkte.size() >= 3
                    ? CreatePolygonRgn(punkte.data(), static_cast<int>(punkte.size()), ALTERNATE)
                    : CreateRectRgn(0, 0, 0, 0);
    } else {
      // The regions share the far edges; the first holds all others.
      const double links = cx / tppX_;
      const double oben = cy / tppY_;
      const double unten = oben + H / tppY_;
      const double rechts = (cx + W + k) / tppX_;
      anfang = QPointF(links, oben);
      weg = laengs ? QPointF(rechts - links, 0) : QPointF(0, unten - oben);
      bereich = CreateRectRgn(ganz(links), ganz(oben), ganz(rechts), ganz(unten));
    }

    // The bands: colour i from i - 1 to i steps, the last one on beyond the far edge.
    QLinearGradient baender(anfang, anfang + weg);
    const Farbanteile start = anteile(schrift_.Color1);
    const Farbanteile schritt = stufenschritt(start, anteile(schrift_.Color2), stufen_);
    constexpr double sprung = 1e-9;  // a hard step between two bands
    for (int i = 1; i <= stufen_; ++i) {
      const QColor farbe = farbeAusRgb(stufenfarbe(start, schritt, i));
      baender.setColorAt(static_cast<double>(i - 1) / stufen_, farbe);
      baender.setColorAt(std::max(0.0, static_cast<double>(i) / stufen_ - sprung), farbe);
    }

    const HRGN aussen = CreateRectRgn(0, 0, 0, 0);
    const HRGN alles = CreateRectRgn(-ausserhalb, -ausserhalb, ausserhalb, ausserhalb);
    CombineRgn(aussen, alles, bereich, RGN_DIFF);
    DeleteObject(alles);
    SelectClipRgn(dc, aussen);
    kopie(X, Y, schrift_.Color1);
    DeleteObject(aussen);

    s_.Clipbereich = bereich;
    SelectClipRgn(dc, bereich);
    dc->setzeTextpinsel(QBrush(baender));
    kopie(X, Y, schrift_.Color2);
    dc->setzeTextpinsel(std::nullopt);
    SelectClipRgn(dc, 0);
    DeleteObject(s_.Clipbereich);
    s_.Clipbereich = 0;
  }

 private:
  Programmzustand& s_;
  Zeichenflaeche& ziel_;
  Bildflaeche* bild_;
  Drucksteuerung* druck_;
  const ClassSchrift& schrift_;
  double tppX_ = einheiten::kTwipsProPixel;
  double tppY_ = einheiten::kTwipsProPixel;
  int stufen_ = 100;
};

}  // namespace

double Schattenrichtung(int16_t shadowAngle, int16_t angle) {
  double d = 90.0 + shadowAngle + angle;
  if (d > 360) d -= 360;
  return d;
}

QPointF Schattenversatz(double H, int16_t shadowDeep, double zoomfaktor, int16_t shadowAngle,
                        int16_t angle) {
  const double L = einheiten::einheitenAusTwips(H / 100.0 * shadowDeep / zoomfaktor);
  const double d = Schattenrichtung(shadowAngle, angle) * bogenProGrad;
  return {std::sin(d) * L, std::cos(d) * L};
}

int16_t DrehVersatzX(double W, double H, int16_t a) {
  const double quer = std::fabs(W / 2 * std::cos(a * bogenProGrad));
  const double hoch = H / 2 * std::sin(a * bogenProGrad);
  const double t = (a <= 90 || a >= 270) ? nint(W / 2 - quer - hoch) : nint(W / 2 + quer - hoch);
  return zahlen::int16Begrenzt(einheiten::einheitenAusTwips(t));
}

int16_t DrehVersatzY(double W, double H, int16_t a) {
  const double quer = std::fabs(W / 2 * std::sin(a * bogenProGrad));
  const double hoch = H / 2 * std::cos(a * bogenProGrad);
  const double t = a <= 180 ? nint(H / 2 + quer - hoch) : nint(H / 2 - quer - hoch);
  return zahlen::int16Begrenzt(einheiten::einheitenAusTwips(t));
}

double DrehEckpunkt(double dx, double dy, int32_t a, QStringView welche) {
  const double c = std::cos(a * bogenProGrad);
  const double sn = std::sin(a * bogenProGrad);
  if (welche == u"x") return dy > 0 ? dx * c + dy * sn : dx * c - dy * sn;
  return dy * c - dx * sn;
}

void SchriftZeichnen(Programmzustand& s, Zeichenflaeche& ziel, ClassSchrift& schrift,
                     const ClassRahmen& rahmen) {
  Bildflaeche* bild = dynamic_cast<Bildflaeche*>(&ziel);
  Drucksteuerung* druck = bild ? nullptr : dynamic_cast<Drucksteuerung*>(&ziel);
  if (!bild && !druck) return;
  const bool muster = s.Mustermodus != 0;

  // Printing and dialog samples draw at scale 1.
  if (s.Druckmodus != 0 || muster) s.Zoomfaktor = 1;

  Textausgabe ausgabe(s, ziel, bild, druck, schrift);
  // An invisible element draws as an empty text on the page; the dialog sample shows it.
  ausgabe.T = (muster || schrift.Sichtbar) ? FelderEinsetzen(s, schrift.Textstring) : QString();

  if (schrift.fontname.isEmpty()) {
    schrift.fontname = QStringLiteral("Arial");
    schrift.FontSize = QStringLiteral("20");
  }
  const double zoom = s.Zoomfaktor;
  if (!(zoom > 0) || !std::isfinite(zoom)) return;  // nothing to draw at no scale
  const double groesse = zeichengroesse(schrift.FontSize);

  // The target's own font.
  if (bild) {
    if (muster) bild->Cls();
    bild->setFontname(schrift.fontname);
    bild->setFontSize(groesse * zoom);
  } else {
    druck->setFontname(schrift.fontname);
    druck->setFontSize(groesse);
  }
  HDC dc = ziel.hdc();
  const int dpiX = std::max(1, GetDeviceCaps(dc, LOGPIXELSX));
  const int dpiY = std::max(1, GetDeviceCaps(dc, LOGPIXELSY));

  // The rotated logical font; a negative height asks for that character height.
  LogFont lf;
  lf.lfHeight = ganz(std::max(-groessteZeichenhoehe, -(groesse * zoom * dpiY / 72.0)));
  lf.lfEscapement = lf.lfOrientation = schrift.Angle * 10;
  lf.lfWeight = schrift.Bold ? 800 : 400;
  lf.lfItalic = schrift.Italic ? 255 : 0;
  lf.lfUnderline = schrift.Underline ? 255 : 0;
  lf.lfStrikeOut = schrift.Strike ? 255 : 0;
  lf.lfCharSet = SchriftartZeichensatz(s, schrift.fontname);
  lf.lfFaceName = schrift.fontname;
  const HFONT font = CreateFontIndirectA(lf);
  const HGDIOBJ vorherigeSchrift = SelectObject(dc, font);

  // Measured without the character extra, which only applies when drawing.
  const QString& T = ausgabe.T;
  SIZE ausdehnung;
  GetTextExtentPoint32A(dc, T, static_cast<int>(T.size()), &ausdehnung);
  SetTextCharacterExtra(dc, schrift.CharSpace);
  ausgabe.W = ausdehnung.cx / static_cast<double>(dpiX) * einheiten::kTwipsProZoll;
  ausgabe.H = ausdehnung.cy / static_cast<double>(dpiY) * einheiten::kTwipsProZoll;
  s.TextAusdehnungX = ausgabe.W;
  s.TextAusdehnungY = ausgabe.H;

  // Place the reference corner in the frame.
  const double w = einheiten::einheitenAusTwips(ausgabe.W / zoom);
  const double h = einheiten::einheitenAusTwips(ausgabe.H / zoom);
  double X = ausrichten(schrift.AusrichtungH, rahmen.x, rahmen.Breite, w);
  double Y = ausrichten(schrift.AusrichtungV, rahmen.y, rahmen.Hoehe, h);
  if (muster) {
    X = nint(rahmen.x + rahmen.Breite / 2.0 - einheiten::einheitenAusTwips(ausgabe.W) / 2);
    Y = nint(rahmen.y + rahmen.Hoehe / 2.0 - einheiten::einheitenAusTwips(ausgabe.H) / 2);
  }
  // A rotated text turns about its centre.
  const int16_t a = arbeitswinkel(schrift.Angle);
  X = nint(X + DrehVersatzX(ausgabe.W, ausgabe.H, a) / zoom);
  Y = nint(Y + DrehVersatzY(ausgabe.W, ausgabe.H, a) / zoom);
  ausgabe.X = X;
  ausgabe.Y = Y;

  if (schrift.ShadowDeep > 0) ausgabe.schatten();
  if (schrift.ColorCircle > 0) {
    ausgabe.textMitVerlauf();
  } else {
    ausgabe.kopie(X, Y, schrift.Color1);
  }
  ausgabe.positionSetzen(X, Y);

  SelectObject(dc, vorherigeSchrift);
  DeleteObject(font);
  SelectClipRgn(dc, 0);
}
