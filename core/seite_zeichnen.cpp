#include "core/seite_zeichnen.h"

#include <algorithm>
#include <new>
#include <numeric>
#include <utility>

#include "core/brieftext.h"
#include "elements/picture/bild_darstellen.h"
#include "elements/shape/linie_zeichnen.h"
#include "elements/text/schrift_zeichnen.h"
#include "platform/bildflaeche.h"
#include "platform/bildsteuerung.h"
#include "platform/drucksteuerung.h"
#include "platform/einheiten.h"
#include "platform/zahlen.h"

namespace {
// The guide zones of the page view: margins, the address window and the fold and punch marks.
void hilfsbereicheZeichnen(Programmzustand& s, Bildflaeche& p) {
  const ClassSeite& seite = *s.Seite;
  const double m = s.Zoomfaktor * einheiten::kTwipsProEinheit;
  auto kasten = [&](double l, double o, double r, double u) {
    p.Line(l * m, o * m, r * m, u * m, p.ForeColor, true, true);
  };
  p.FillColor = RGB(222, 222, 222);
  p.ForeColor = RGB(222, 222, 222);
  p.FillStyle = 0;
  kasten(0, 0, seite.RandLinks, seite.Hoehe);
  kasten(static_cast<double>(seite.Breite) - seite.RandRechts, 0, seite.Breite, seite.Hoehe);
  kasten(0, 0, seite.Breite, seite.RandOben);
  kasten(0, static_cast<double>(seite.Hoehe) - seite.RandUnten, seite.Breite, seite.Hoehe);
  p.ForeColor = RGB(255, 255, 192);
  kasten(200, 450, 1050, 850);
  p.ForeColor = RGB(255, 255, 255);
  p.FillColor = RGB(255, 255, 255);
  kasten(0, 1045, 50, 1055);
  kasten(0, 1475, 50, 1485);
  kasten(0, 2095, 50, 2105);
  p.FillColor = RGB(255, 255, 255);
}

// The dotted grid, one spacing in from the edges. A spacing below one unit draws no lines
// on its axis. Only lines on the surface are drawn, and one per pixel row or column: the
// line at the page edge, which rounds onto the pixel just past the surface (793.8 pixels
// on a surface 794 wide), is drawn on the last pixel; lines that round onto a row or column
// already drawn are skipped, so a fine grid costs no more than the pixels it covers.
void rasterZeichnen(Programmzustand& s, Bildflaeche& p) {
  const ClassSeite& seite = *s.Seite;
  const double zf = s.Zoomfaktor;
  auto achse = [zf](double abstand, double seitenmass, double tpp, double flaeche, auto linie) {
    if (!(abstand >= 1)) return;
    const int pixel = zahlen::int32Begrenzt(flaeche / tpp);
    const double schritt = abstand * zf;
    int vorige = -1;
    for (double g = schritt; g <= seitenmass * zf; g += schritt) {
      int px = zahlen::int32Begrenzt(einheiten::twipsAusEinheiten(g) / tpp);
      if (px > pixel) break;
      px = std::min(px, pixel - 1);
      if (px == vorige) continue;
      vorige = px;
      linie(px * tpp);
    }
  };
  p.DrawStyle = 2;
  achse(s.RasterY, seite.Hoehe, p.twipsProPixelY(), p.Height(), [&](double y) {
    p.Line(0, y, einheiten::twipsAusEinheiten(seite.Breite) * zf, y, p.ForeColor);
  });
  achse(s.RasterX, seite.Breite, p.twipsProPixelX(), p.Width(), [&](double x) {
    p.Line(x, 0, x, einheiten::twipsAusEinheiten(seite.Hoehe * zf), p.ForeColor);
  });
  p.DrawStyle = 0;
}

// The merged letter laid out inside frame 31 on the print control.
void brieftextDrucken(Programmzustand& s) {
  if (s.AnzahlRahmen < AnzahlFesteRahmen) return;
  const ClassRahmen& l = s.rahmen(AnzahlFesteRahmen);
  Drucksteuerung& d = *s.VSPrinter1;
  d.MarginTop = einheiten::twipsAusEinheiten(l.y);
  d.MarginLeft = einheiten::twipsAusEinheiten(l.x);
  d.MarginRight = einheiten::twipsAusEinheiten(static_cast<double>(s.Seite->Breite) -
                                               (static_cast<double>(l.x) + l.Breite));
  d.MarginBottom = einheiten::twipsAusEinheiten(static_cast<double>(s.Seite->Hoehe) -
                                                (static_cast<double>(l.y) + l.Hoehe));
  // The letter is read once for a whole run; each address is merged into a copy.
  d.setTextRTF(s.BrieftextRTF.toLatin1(),
               [&s](QTextDocument& brief) { FelderMischen(s, brief); });
}

template <typename T>
T* element(std::vector<std::shared_ptr<T>>& liste, int anzahl, int n) {
  if (n < 1 || n > anzahl || n >= static_cast<int>(liste.size())) return nullptr;
  return liste[n].get();
}

struct Wiedereintrittssperre {
  explicit Wiedereintrittssperre(bool& f) : flag(f) { flag = true; }
  ~Wiedereintrittssperre() { flag = false; }
  bool& flag;
};

// The page is never drawn as a dialog's sample (cleared, at scale 1), even when a redraw
// comes while a properties dialog is open.
struct OhneMustermodus {
  explicit OhneMustermodus(double& m) : modus(m), vorher(m) { modus = 0; }
  ~OhneMustermodus() { modus = vorher; }
  double& modus;
  double vorher;
};
// The frames and text elements as they were before a redraw, put back when it fails. The
// redraw writes into them: the side panel's address texts into texts 21 to 30, the frames
// it shows or hides, the default font of a text without one. Pictures and lines it only reads.
template <typename T>
class Vorher {
 public:
  explicit Vorher(const std::vector<std::shared_ptr<T>>& liste) {
    for (const auto& eintrag : liste)
      if (eintrag) werte_.emplace_back(eintrag, *eintrag);
  }
  void zuruecksetzen() {
    for (auto& [eintrag, wert] : werte_) *eintrag = wert;
  }

 private:
  std::vector<std::pair<std::shared_ptr<T>, T>> werte_;
};

void ganzeSeiteZeichnen(Programmzustand& s) {
  s.Zoomfaktor = s.Zoom / 100.0;
  if (s.Exportmodus != 0) s.Zoomfaktor = s.Exportzoom;
  const bool drucken = s.Druckmodus != 0;
  const bool exportieren = !drucken && s.Exportmodus != 0;
  const bool bildschirm = !drucken && !exportieren;
  Bildflaeche& seite = *s.PictureSeite;

  if (bildschirm) {
    seite.Cls();
    seite.DrawWidth = 1;
    seite.DrawStyle = 0;
    seite.DrawMode = 13;
    if (s.HilfsbereicheAnzeigen != 0) hilfsbereicheZeichnen(s, seite);
    seite.ForeColor = RGB(192, 192, 192);
    if (s.RasterAnzeigen == -1) rasterZeichnen(s, seite);
  }
  if (exportieren) {
    s.Lead2->setzeGroesse(einheiten::twipsAusEinheiten(s.Seite->Breite) * s.Exportzoom,
                          einheiten::twipsAusEinheiten(s.Seite->Hoehe) * s.Exportzoom);
  }

  // The address fields of the side panel go into texts 21 to 30.
  for (int n = 21; n <= 30 && n <= s.AnzahlSchriften && n <= s.AnzahlRahmen; ++n) {
    const QString text = s.fenster->Text1(n);
    s.schrift(n).Textstring = text;
    if (!text.isEmpty()) s.rahmen(n).Sichtbar = true;
  }

  Zeichenflaeche& ziel = drucken ? static_cast<Zeichenflaeche&>(*s.VSPrinter1)
                                 : exportieren ? static_cast<Zeichenflaeche&>(*s.Lead2)
                                               : static_cast<Zeichenflaeche&>(seite);

  // Frames in increasing level, equal levels in list order.
  std::vector<int> folge(s.AnzahlRahmen);
  std::iota(folge.begin(), folge.end(), 1);
  std::stable_sort(folge.begin(), folge.end(),
                   [&](int a, int b) { return s.rahmen(a).z < s.rahmen(b).z; });
  for (int k : folge) {
    ClassRahmen& f = s.rahmen(k);
    if (!f.Sichtbar) continue;
    const int n = f.nummer();
    if (f.Objekttyp == QLatin1String("Schrift")) {
      ClassSchrift* schrift = element(s.Schriften, s.AnzahlSchriften, n);
      if (!schrift) continue;
      if (schrift->Textstring.isEmpty()) {
        f.Sichtbar = false;
        continue;
      }
      SchriftZeichnen(s, ziel, *schrift, f);
    } else if (f.Objekttyp == QLatin1String("Bild")) {
      if (ClassBild* bild = element(s.Bilder, s.AnzahlBilder, n)) BildMalen(s, *bild, *s.Lead, ziel, f);
    } else if (f.Objekttyp == QLatin1String("Linie")) {
      if (drucken) s.Zoomfaktor = 1;
      if (ClassLinie* linie = element(s.Linien, s.AnzahlLinien, n)) LinieZeichnen(s, ziel, *linie, f);
    } else if (f.Objekttyp == QLatin1String("RTF")) {
      if (bildschirm) BrieftextPlatzhalter(s, f);
    }
  }

  // Outlines of every visible frame, over all frames, on the page view.
  if (!drucken && s.AlleRahmenAnzeigen != 0) {
    seite.ForeColor = 0;
    seite.FillStyle = 1;
    const double m = s.Zoomfaktor * einheiten::kTwipsProEinheit;
    for (int k = 1; k <= s.AnzahlRahmen; ++k) {
      const ClassRahmen& f = s.rahmen(k);
      if (!f.Sichtbar) continue;
      seite.Line(f.x * m, f.y * m, (static_cast<double>(f.x) + f.Breite) * m,
                 (static_cast<double>(f.y) + f.Hoehe) * m, RGB(92, 92, 92), true);
    }
  }

  if (drucken) brieftextDrucken(s);
  if (bildschirm || s.AlleRahmenAnzeigen != 0) s.fenster->seiteGezeichnet();
}
}  // namespace

QString Seitenfehler(const std::exception& fehler) {
  const QString grund = dynamic_cast<const std::bad_alloc*>(&fehler)
                            ? QStringLiteral("Der Arbeitsspeicher reicht nicht aus.")
                            : QString::fromUtf8(fehler.what());
  return QStringLiteral("Die Seite konnte nicht gezeichnet werden: %1").arg(grund);
}

void SeiteZeichnen(Programmzustand& s) {
  if (s.SeiteWirdGezeichnet) return;
  Wiedereintrittssperre sperre(s.SeiteWirdGezeichnet);
  OhneMustermodus seiteNichtMuster(s.Mustermodus);
  const bool bildschirm = s.Druckmodus == 0 && s.Exportmodus == 0;
  Vorher<ClassRahmen> rahmen(s.Rahmenliste);
  Vorher<ClassSchrift> schriften(s.Schriften);
  try {
    ganzeSeiteZeichnen(s);
  } catch (const std::exception& fehler) {
    rahmen.zuruecksetzen();
    schriften.zuruecksetzen();
    if (!bildschirm) throw;
    // The message waits until the redraw has returned: a message box runs an event loop,
    // in which the page would be drawn again.
    if (!s.SeitenfehlerGemeldet) s.fenster->MeldungDanach(Seitenfehler(fehler));
    s.SeitenfehlerGemeldet = true;
    return;
  }
  if (bildschirm) s.SeitenfehlerGemeldet = false;
}

void BrieftextPlatzhalter(Programmzustand& s, const ClassRahmen& rahmen) {
  Bildflaeche& p = *s.PictureSeite;
  s.Zeichenmassstab = s.Zoomfaktor * einheiten::kTwipsProEinheit;
  const double m = s.Zeichenmassstab;
  p.ForeColor = RGB(255, 255, 192);
  p.Line(rahmen.x * m, rahmen.y * m, (static_cast<double>(rahmen.x) + rahmen.Breite) * m,
         (static_cast<double>(rahmen.y) + rahmen.Hoehe) * m, p.ForeColor, true, true);
  p.CurrentX = rahmen.x * m;
  p.CurrentY = rahmen.y * m;
  p.setFontname(QStringLiteral("Arial"));
  p.setFontSize(10);
  p.setFontBold(false);
  p.setFontItalic(false);
  p.setFontStrikethru(false);
  p.setFontUnderline(false);
  p.ForeColor = RGB(192, 192, 192);
  p.FontTransparent = true;
  p.Print(QStringLiteral("Brieftext (Anzeige unter Vorschau)"));
}
