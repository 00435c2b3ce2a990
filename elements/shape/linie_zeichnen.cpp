#include "elements/shape/linie_zeichnen.h"

#include <array>
#include <cmath>
#include <cstdint>

#include "platform/bildflaeche.h"
#include "platform/drucksteuerung.h"
#include "platform/einheiten.h"
#include "platform/gdi.h"
#include "platform/zahlen.h"

namespace {

// A thickness (tenths of a millimetre, times 10) in twips: Staerke * 10 * kStaerkeFaktor.
// The product is taken in this order, with a tenth of the twips per unit, so that the pixel
// widths rounded from it stay what they have always been.
constexpr double kStaerkeFaktor = einheiten::kTwipsProEinheit / 10.0;
// Pi as the program has always used it for shadow directions.
constexpr double kPi = 3.1415;

int32_t ganz(double v) { return zahlen::int32Begrenzt(v); }

bool istGeschlossen(int16_t form) { return form > 11; }

// The named drawing properties of the two kinds of surface, by their role. A surface of
// another kind has none: only the GDI calls reach it.
class Stift {
 public:
  explicit Stift(Zeichenflaeche& ziel)
      : bild_(dynamic_cast<Bildflaeche*>(&ziel)), druck_(dynamic_cast<Drucksteuerung*>(&ziel)) {}

  Bildflaeche* bild() const { return bild_; }
  Drucksteuerung* druck() const { return druck_; }

  void setzeLinienfarbe(int32_t farbe) {
    if (druck_) druck_->PenColor = farbe;
    if (bild_) bild_->ForeColor = farbe;
  }
  int32_t linienfarbe() const {
    if (druck_) return druck_->PenColor;
    if (bild_) return bild_->ForeColor;
    return 0;
  }
  void setzeFuellfarbe(int32_t farbe) {
    if (druck_) druck_->BrushColor = farbe;
    if (bild_) bild_->FillColor = farbe;
  }
  void setzeFuellstil(int16_t stil) {
    if (druck_) druck_->BrushStyle = stil;
    if (bild_) bild_->FillStyle = stil;
  }
  void setzeLinienstil(int16_t stil) {
    if (druck_) druck_->PenStyle = stil;
    if (bild_) bild_->DrawStyle = stil;
  }
  // Pen width of a drawn line in device pixels; the print control takes it in twips.
  void setzeBreite(int16_t pixel, double twipsProPixel) {
    if (druck_) druck_->PenWidth = twipsProPixel * pixel;
    if (bild_) bild_->DrawWidth = pixel;
  }
  // The one-unit pen that outlines the bars.
  void setzeDuennsteBreite() {
    if (druck_) druck_->PenWidth = 1;
    if (bild_) bild_->DrawWidth = 1;
  }
  // Line colour, and the fill colour taken from the line colour as the surface holds it.
  void setzeFarbe(int32_t farbe) {
    setzeLinienfarbe(farbe);
    setzeFuellfarbe(linienfarbe());
  }

 private:
  Bildflaeche* bild_;
  Drucksteuerung* druck_;
};

// Colour components as single-precision values, for the steps of a gradient.
struct Anteile {
  float rot = 0;
  float gruen = 0;
  float blau = 0;
};

Anteile anteile(int32_t farbe) {
  const auto teil = [farbe](double teiler) {
    return static_cast<float>(static_cast<int64_t>(std::floor(farbe / teiler)) & 255);
  };
  return {teil(1), teil(256), teil(65536)};
}

// The 100-step gradient from one colour to another: start components and the difference
// of one step, both in single precision.
struct Verlauf {
  Anteile start;
  Anteile schritt;

  Verlauf(int32_t von, int32_t nach) : start(anteile(von)) {
    const Anteile ziel = anteile(nach);
    schritt.rot = static_cast<float>((static_cast<double>(ziel.rot) - start.rot) / 100.0);
    schritt.gruen = static_cast<float>((static_cast<double>(ziel.gruen) - start.gruen) / 100.0);
    schritt.blau = static_cast<float>((static_cast<double>(ziel.blau) - start.blau) / 100.0);
  }

  int32_t farbe(int i) const {
    const float stufe = static_cast<float>(i);
    const auto teil = [stufe](float anfang, float differenz) {
      const float wert = anfang + differenz * stufe;
      return static_cast<int32_t>(zahlen::int16Begrenzt(static_cast<double>(wert)));
    };
    return teil(start.rot, schritt.rot) + 256 * teil(start.gruen, schritt.gruen) +
           65536 * teil(start.blau, schritt.blau);
  }
};

// Half the line thickness in device pixels: the thickness in twips, halved, divided as
// whole numbers by the twips per pixel. Less than a whole pixel counts as half a pixel.
double halbeStaerke(const Programmzustand& s, int16_t staerke, double twipsProPixel) {
  const double halb = (staerke * 10.0 / 2.0) * kStaerkeFaktor * s.Zoomfaktor;
  double ergebnis = 0;
  if (const auto q = zahlen::ganzDiv(halb, twipsProPixel)) {
    ergebnis = *q;
  } else if (std::isfinite(halb) && std::isfinite(twipsProPixel) && twipsProPixel != 0) {
    // A device finer than two pixels per twip: the divisor would round to 0.
    ergebnis = std::trunc(halb / twipsProPixel);
  }
  return ergebnis == 0 ? 0.5 : ergebnis;
}

// The inner edge of a bar or band: when it rounds onto the outer edge, the bar would cover
// no pixel at all, so it is taken one pixel further in the given direction.
int32_t mindestensEinPixel(int32_t aussen, int32_t innen, int32_t richtung) {
  return innen == aussen ? aussen + richtung : innen;
}

// Clip rectangle of one pass of a gradient, in device pixels.
struct Clip {
  double links, oben, rechts, unten;
};

Clip verlaufsClip(const Programmzustand& s, const ClassLinie& linie, const ClassRahmen& r, int i) {
  const double z = s.Zeichenmassstab;
  const double tx = s.TwipsProPixelX;
  const double ty = s.TwipsProPixelY;
  const double dicke = linie.Staerke * 10.0 * kStaerkeFaktor * s.Zoomfaktor;
  const double h = (linie.Staerke * 10.0 / 2.0) * kStaerkeFaktor * s.Zoomfaktor;
  const double x = r.x, y = r.y, b = r.Breite, hoehe = r.Hoehe;
  const double stufe = i;

  if (linie.ColorCircle == 1) {
    if (linie.Form == 1)
      return {x * z / tx + (b * z / tx) / 100 * stufe, ((y + hoehe / 2) * z - h) / ty,
              (x + b) * z / tx + 1, ((y + hoehe / 2) * z + h) / ty + 1};
    if (linie.Form == 2)
      return {((x + b / 2) * z - h) / tx + (dicke / tx) / 100 * stufe, y * z / ty,
              ((x + b / 2) * z + h) / tx + 1, (y + hoehe) * z / ty + 1};
    return {x * z / tx + (b * z / tx) / 100 * stufe - dicke / tx, y * z / ty - dicke / ty,
            (x + b) * z / tx + 1 + dicke / tx, (y + hoehe) * z / ty + 1 + dicke / ty};
  }
  if (linie.Form == 1)
    return {x * z / tx, ((y + hoehe / 2) * z - h) / ty + (dicke / ty) / 100 * stufe,
            (x + b) * z / tx + 1, ((y + hoehe / 2) * z + h) / ty + 1};
  if (linie.Form == 2)
    return {((x + b / 2) * z - h) / tx, y * z / ty + (hoehe * z / ty) / 100 * stufe,
            ((x + b / 2) * z + h) / tx + 1, (y + hoehe) * z / ty + 1};
  return {x * z / tx - dicke / tx, y * z / ty + (hoehe * z / ty) / 100 * stufe - dicke / ty,
          (x + b) * z / tx + 1 + dicke / tx, (y + hoehe) * z / ty + 1 + dicke / ty};
}

}  // namespace

void LinieZeichnen(Programmzustand& s, Zeichenflaeche& ziel, const ClassLinie& linie,
                   const ClassRahmen& rahmen) {
  Stift stift(ziel);
  const int16_t form = linie.Form;

  // Scale: a dialog sample is drawn from empty at scale 1.
  if (s.Mustermodus != 0) {
    if (stift.bild()) stift.bild()->Cls();
    s.Zeichenmassstab = s.TwipsProEinheit;
  } else {
    s.Zeichenmassstab = s.Zoomfaktor * einheiten::kTwipsProEinheit;
  }

  // Neutral start.
  if (stift.druck()) stift.druck()->PenStyle = 0;
  if (stift.bild()) {
    stift.bild()->FillStyle = 1;
    stift.bild()->FillColor = 0;
    stift.bild()->DrawStyle = 0;
    stift.bild()->DrawWidth = 1;
  }

  // Line width: the pen draws diagonals and closed figures; bars are filled rectangles
  // outlined with a one-pixel pen. The width follows the page view's zoom, also for a
  // sample.
  if (form == 3 || form == 4 || form > 11) {
    double pixel =
        zahlen::Int(linie.Staerke * 10 * kStaerkeFaktor * s.Zoomfaktor / s.TwipsProPixelX);
    if (!std::isfinite(pixel) || pixel < 1) pixel = 1;  // never thinner than a pixel
    stift.setzeBreite(zahlen::int16Begrenzt(pixel), s.TwipsProPixelX);
  } else {
    stift.setzeDuennsteBreite();
  }

  // Fill for the form; the style chosen here stays for the shadow and the gradient.
  if (istGeschlossen(form) && !linie.Fuellung) {
    stift.setzeFuellstil(1);
    stift.setzeFuellfarbe(linie.Color1);
    stift.setzeLinienfarbe(linie.Color1);
    stift.setzeLinienstil(0);
  } else if (form == 3 || form == 4) {
    stift.setzeFuellstil(1);
    stift.setzeFuellfarbe(0);
  } else {
    stift.setzeFuellstil(0);
    stift.setzeFuellfarbe(linie.Color2);
  }

  // Shadow: the figure offset by ShadowDeep * 10 twips, whatever the zoom.
  const double tiefe = linie.ShadowDeep * 10.0;
  if (tiefe > 0) {
    double winkel = static_cast<double>(linie.ShadowAngle) + 90 + linie.Angle;
    if (winkel > 360) winkel -= 360;
    s.Schattenwinkel = winkel;
    const double dx = std::sin(winkel * kPi / 180) * tiefe;
    const double dy = std::cos(winkel * kPi / 180) * tiefe;
    if (linie.ShadowType == 1) {
      stift.setzeLinienfarbe(linie.ShadowColor1);
      stift.setzeFuellfarbe(linie.ShadowColor1);
      s.VersatzX = dx;
      s.VersatzY = dy;
      LinienformZeichnen(s, ziel, linie, rahmen);
    } else {
      // Graded: from ShadowColor2 far out to ShadowColor1 right under the figure.
      const Verlauf verlauf(linie.ShadowColor2, linie.ShadowColor1);
      for (int i = 1; i <= 100; ++i) {
        s.VersatzX = dx - dx / 100 * i;
        s.VersatzY = dy - dy / 100 * i;
        stift.setzeFarbe(verlauf.farbe(i));
        LinienformZeichnen(s, ziel, linie, rahmen);
      }
    }
  }

  // The figure.
  if (linie.ColorCircle > 0) {
    if (linie.ColorCircle <= 2) {
      // 101 passes, each clipped from its own leading edge to the far edge of the area,
      // so that 101 bands from Color1 to Color2 stay visible. Each pass is drawn only
      // where no later one paints over it: the same pixels, each painted once.
      const Verlauf verlauf(linie.Color1, linie.Color2);
      std::array<HRGN, 101> baender{};
      const HRGN spaeter = CreateRectRgn(0, 0, 0, 0);
      for (int i = 100; i >= 0; --i) {
        const Clip c = verlaufsClip(s, linie, rahmen, i);
        const HRGN bereich =
            CreateRectRgn(ganz(c.links), ganz(c.oben), ganz(c.rechts), ganz(c.unten));
        baender[i] = CreateRectRgn(0, 0, 0, 0);
        CombineRgn(baender[i], bereich, spaeter, RGN_DIFF);
        CombineRgn(spaeter, spaeter, bereich, RGN_OR);
        DeleteObject(bereich);
      }
      DeleteObject(spaeter);
      for (int i = 0; i <= 100; ++i) {
        stift.setzeFarbe(verlauf.farbe(i));
        s.Clipbereich = baender[i];
        if (SelectClipRgn(ziel.hdc(), s.Clipbereich) != NULLREGION) {
          s.VersatzX = 0;
          s.VersatzY = 0;
          LinienformZeichnen(s, ziel, linie, rahmen);
        }
        DeleteObject(s.Clipbereich);
      }
      SelectClipRgn(ziel.hdc(), 0);
    }
    // Above 2: only the shadow is drawn.
  } else {
    stift.setzeFarbe(linie.Color1);
    if (istGeschlossen(form) && linie.Fuellung) {
      stift.setzeFuellstil(0);
      stift.setzeFuellfarbe(linie.Color2);
    }
    s.VersatzX = 0;
    s.VersatzY = 0;
    LinienformZeichnen(s, ziel, linie, rahmen);
  }

  // Neutral end.
  if (stift.druck()) {
    stift.druck()->BrushStyle = 1;
    stift.druck()->BrushColor = 0;
    stift.druck()->PenStyle = 0;
    stift.druck()->PenWidth = 1;
  }
  if (stift.bild()) {
    stift.bild()->FillStyle = 1;
    stift.bild()->FillColor = 0;
    stift.bild()->DrawStyle = 0;
    stift.bild()->DrawWidth = 1;
  }
}

void LinienformZeichnen(Programmzustand& s, Zeichenflaeche& ziel, const ClassLinie& linie,
                        const ClassRahmen& rahmen) {
  const int16_t form = linie.Form;
  if (form < 1 || form > 18) return;

  const double z = s.Zeichenmassstab;
  const double vx = s.VersatzX;
  const double vy = s.VersatzY;
  const double tx = s.TwipsProPixelX;
  const double ty = s.TwipsProPixelY;
  const double hx = halbeStaerke(s, linie.Staerke, tx);
  const double hy = halbeStaerke(s, linie.Staerke, ty);
  const double x = rahmen.x, y = rahmen.y, b = rahmen.Breite, h = rahmen.Hoehe;

  // Device pixels of a page coordinate (units), unrounded and rounded.
  const auto fx = [&](double u) { return (u * z + vx) / tx; };
  const auto fy = [&](double u) { return (u * z + vy) / ty; };
  const auto px = [&](double u) { return ganz(fx(u)); };
  const auto py = [&](double u) { return ganz(fy(u)); };

  const auto rechteck = [&](int32_t l, int32_t o, int32_t r, int32_t u) {
    Rectangle(ziel.hdc(), l, o, r, u);
  };
  // Middle bars of forms 1, 2 and 11, hy (hx) to both sides of the middle line.
  const auto querbalken = [&] {
    const double mitte = fy(y + h / 2);
    const int32_t oben = ganz(mitte - hy);
    rechteck(px(x), oben, px(x + b), mindestensEinPixel(oben, ganz(mitte + hy), 1));
  };
  const auto laengsbalken = [&] {
    const double mitte = fx(x + b / 2);
    const int32_t links = ganz(mitte - hx);
    rechteck(links, py(y), mindestensEinPixel(links, ganz(mitte + hx), 1), py(y + h));
  };
  // Edge bands, inside the frame.
  const auto bandOben = [&] {
    const int32_t aussen = py(y);
    rechteck(px(x), aussen, px(x + b), mindestensEinPixel(aussen, ganz(fy(y) + hy), 1));
  };
  const auto bandUnten = [&] {
    const int32_t aussen = py(y + h);
    rechteck(px(x), aussen, px(x + b), mindestensEinPixel(aussen, ganz(fy(y + h) - hy), -1));
  };
  const auto bandLinks = [&] {
    const int32_t aussen = px(x);
    rechteck(aussen, py(y), mindestensEinPixel(aussen, ganz(fx(x) + hx), 1), py(y + h));
  };
  const auto bandRechts = [&] {
    const int32_t aussen = px(x + b);
    rechteck(aussen, py(y), mindestensEinPixel(aussen, ganz(fx(x + b) - hx), -1), py(y + h));
  };
  const auto vieleck = [&](std::initializer_list<std::pair<double, double>> ecken) {
    POINT punkte[4];
    int n = 0;
    for (const auto& [ex, ey] : ecken) punkte[n++] = {px(ex), py(ey)};
    Polygon(ziel.hdc(), punkte, n);
  };

  switch (form) {
    case 1:
      querbalken();
      break;
    case 2:
      laengsbalken();
      break;
    case 3:
      vieleck({{x, y}, {x + b, y + h}});
      break;
    case 4:
      vieleck({{x, y + h}, {x + b, y}});
      break;
    case 5:
      bandOben();
      bandLinks();
      break;
    case 6:
      bandUnten();
      bandLinks();
      break;
    case 7:
      bandUnten();
      bandRechts();
      break;
    case 8:
      bandOben();
      bandRechts();
      break;
    case 9:
      bandOben();
      bandUnten();
      break;
    case 10:
      bandRechts();
      bandLinks();
      break;
    case 11:
      querbalken();
      laengsbalken();
      break;
    case 12:
      vieleck({{x, y + h}, {x + b, y + h}, {x + b / 2, y}});
      break;
    case 13:
      vieleck({{x, y}, {x + b, y + h / 2}, {x, y + h}});
      break;
    case 14:
      vieleck({{x, y}, {x + b, y}, {x + b / 2, y + h}});
      break;
    case 15:
      vieleck({{x + b, y}, {x + b, y + h}, {x, y + h / 2}});
      break;
    case 16:
      vieleck({{x, y}, {x + b, y}, {x + b, y + h}, {x, y + h}});
      break;
    case 17:
      vieleck({{x + b / 2, y}, {x + b, y + h / 2}, {x + b / 2, y + h}, {x, y + h / 2}});
      break;
    case 18:
      Ellipse(ziel.hdc(), px(x), py(y), px(x + b), py(y + h));
      break;
    default:
      break;
  }
}
