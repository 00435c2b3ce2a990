// The line/shape renderer on a white picture surface and on the print control: bar and
// line thickness, the shadow direction and length, gradient bands, every form at known
// pixels, and the neutral pen and brush it leaves behind.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <ostream>
#include <vector>

#include "core/programmzustand.h"
#include "elements/shape/linie_zeichnen.h"
#include "platform/bildflaeche.h"
#include "platform/drucksteuerung.h"

namespace {

constexpr int32_t kRot = RGB(255, 0, 0);
constexpr int32_t kBlau = RGB(0, 0, 255);
constexpr int32_t kGruen = RGB(0, 160, 0);
constexpr QRgb kWeiss = 0xFFFFFFFF;

QRgb argb(int32_t farbe) { return qRgb(farbe & 255, (farbe >> 8) & 255, (farbe >> 16) & 255); }

ClassLinie neueLinie(int16_t form, int16_t staerke = 20) {
  ClassLinie l;
  l.Form = form;
  l.Staerke = staerke;
  l.ShadowAngle = 45;
  l.ShadowColor1 = RGB(192, 192, 192);
  return l;
}

ClassRahmen rahmen(int32_t x, int32_t y, int32_t breite, int32_t hoehe) {
  ClassRahmen r;
  r.Objekttyp = QStringLiteral("Linie");
  r.x = x;
  r.y = y;
  r.Breite = breite;
  r.Hoehe = hoehe;
  r.Sichtbar = true;
  return r;
}

// A white page view of 300 x 240 pixels at 15 twips per pixel, zoom 100 %.
struct LinieTest : ::testing::Test {
  Programmzustand s;
  Bildflaeche flaeche{300 * 15, 240 * 15, 15};

  void SetUp() override {
    s.TwipsProEinheit = 5.67;
    s.Verlaufsstufen = 100;
    s.TwipsProPixelX = 15;
    s.TwipsProPixelY = 15;
    s.Zoomfaktor = 1;
    flaeche.Cls();
  }

  QImage zeichne(const ClassLinie& l, const ClassRahmen& r) {
    LinieZeichnen(s, flaeche, l, r);
    return flaeche.bild().convertToFormat(QImage::Format_RGB32);
  }

  static int tinteInSpalte(const QImage& bild, int x) {
    int n = 0;
    for (int y = 0; y < bild.height(); ++y) n += bild.pixel(x, y) != kWeiss;
    return n;
  }
  static int tinteInZeile(const QImage& bild, int y) {
    int n = 0;
    for (int x = 0; x < bild.width(); ++x) n += bild.pixel(x, y) != kWeiss;
    return n;
  }
  static bool ganzWeiss(const QImage& bild) {
    for (int y = 0; y < bild.height(); ++y)
      for (int x = 0; x < bild.width(); ++x)
        if (bild.pixel(x, y) != kWeiss) return false;
    return true;
  }
};

// Frame (100, 100) - (700, 500) units: pixels 38..265 across, 38..189 down.
const ClassRahmen kRahmen = rahmen(100, 100, 600, 400);

TEST_F(LinieTest, BalkenUndLinienStaerken) {
  // Staerke 50: hy = 142 \ 15 = 9, the middle bar is 18 pixels high, an edge band 9.
  QImage bild = zeichne(neueLinie(1, 50), kRahmen);
  EXPECT_EQ(tinteInSpalte(bild, 150), 18);
  flaeche.Cls();
  bild = zeichne(neueLinie(5, 50), kRahmen);
  EXPECT_EQ(tinteInSpalte(bild, 150), 9);
  EXPECT_EQ(tinteInZeile(bild, 150), 9);

  // Staerke 1: hy = 0.5. Wherever the frame lies, the bar covers one or two rows, never
  // none (an integral middle would round both edges onto the same row).
  for (int32_t y = 480; y < 520; ++y) {
    flaeche.Cls();
    bild = zeichne(neueLinie(1, 1), rahmen(100, y, 400, 0));
    const int zeilen = tinteInSpalte(bild, 100);
    EXPECT_GE(zeilen, 1) << "y " << y;
    EXPECT_LE(zeilen, 2) << "y " << y;
  }
  // A band of the thinnest line whose inner edge rounds onto the frame's edge keeps one
  // pixel, on the inside: the frame's right edge lies at 265.36, its bottom at 189.38.
  flaeche.Cls();
  bild = zeichne(neueLinie(7, 1), rahmen(100, 100, 602, 401));
  EXPECT_NE(bild.pixel(150, 188), kWeiss);
  EXPECT_EQ(bild.pixel(150, 189), kWeiss);
  EXPECT_NE(bild.pixel(264, 113), kWeiss);
  EXPECT_EQ(bild.pixel(265, 113), kWeiss);
  // Edge bands of the thinnest line stay inside the frame.
  for (int16_t form : {6, 7, 9, 10}) {
    flaeche.Cls();
    bild = zeichne(neueLinie(form, 1), kRahmen);
    EXPECT_EQ(tinteInSpalte(bild, 150) + tinteInZeile(bild, 113), 2) << "form " << form;
    EXPECT_EQ(bild.pixel(150, 189), kWeiss) << "form " << form;
    EXPECT_EQ(bild.pixel(265, 113), kWeiss) << "form " << form;
  }

  // Staerke 2 on 15 twips per pixel: 11.34 / 15 rounds down to 0, drawn 1 pixel wide.
  flaeche.Cls();
  bild = zeichne(neueLinie(3, 2), rahmen(100, 100, 400, 400));
  EXPECT_EQ(tinteInZeile(bild, 113), 1);
  // Staerke 50: 283.5 / 15 gives a pen of 18 pixels.
  flaeche.Cls();
  bild = zeichne(neueLinie(3, 50), rahmen(100, 100, 400, 400));
  EXPECT_GE(tinteInZeile(bild, 113), 18);
}

// ShadowAngle + 90 + Angle, less 360 once when above 360.
struct Schattenfall {
  int16_t shadowAngle;
  int16_t angle;
  double winkel;
  int dx;  // expected direction of the offset: -1, 0, 1
  int dy;
};

class SchattenWinkel : public LinieTest, public ::testing::WithParamInterface<Schattenfall> {};

TEST_P(SchattenWinkel, BlockschattenLiegtInRichtung) {
  const Schattenfall f = GetParam();
  ClassLinie l = neueLinie(16);
  l.Fuellung = true;
  l.Color2 = kGruen;
  l.ShadowType = 1;
  l.ShadowDeep = 45;  // 450 twips = 30 pixels
  l.ShadowColor1 = kRot;
  l.ShadowAngle = f.shadowAngle;
  l.Angle = f.angle;
  // Frame 200 x 200 units in the middle: pixels 113..189 both ways, centre 151.
  const QImage bild = zeichne(l, rahmen(300, 300, 200, 200));
  EXPECT_DOUBLE_EQ(s.Schattenwinkel, f.winkel);
  // 50 pixels from the centre along the expected direction lies in the shadow only.
  const int x = 151 + 50 * f.dx;
  const int y = 151 + 50 * f.dy;
  EXPECT_EQ(bild.pixel(x, y), argb(kRot)) << x << "," << y;
  // The opposite side stays white.
  EXPECT_EQ(bild.pixel(151 - 50 * f.dx, 151 - 50 * f.dy), kWeiss);
  EXPECT_EQ(bild.pixel(151, 151), argb(kGruen));
}

INSTANTIATE_TEST_SUITE_P(
    Winkel, SchattenWinkel,
    ::testing::Values(Schattenfall{0, 0, 90, 1, 0}, Schattenfall{90, 0, 180, 0, -1},
                      Schattenfall{180, 0, 270, -1, 0}, Schattenfall{270, 0, 360, 0, 1},
                      Schattenfall{315, 0, 45, 1, 1}, Schattenfall{45, 0, 135, 1, -1},
                      Schattenfall{0, 180, 270, -1, 0}));

TEST_F(LinieTest, SchattenwinkelWirdNurEinmalGekuerzt) {
  ClassLinie l = neueLinie(16);
  l.ShadowType = 1;
  l.ShadowDeep = 45;
  l.ShadowColor1 = kRot;
  l.ShadowAngle = 359;
  l.Angle = 400;
  const QImage einmal = zeichne(l, rahmen(300, 300, 200, 200));
  EXPECT_DOUBLE_EQ(s.Schattenwinkel, 489);
  // 489 points where 129 does: ShadowAngle 39.
  flaeche.Cls();
  l.ShadowAngle = 39;
  l.Angle = 0;
  const QImage gleich = zeichne(l, rahmen(300, 300, 200, 200));
  EXPECT_DOUBLE_EQ(s.Schattenwinkel, 129);
  EXPECT_EQ(einmal, gleich);
}

TEST_F(LinieTest, SchattenlaengeHaengtNichtVomZoomAb) {
  // ShadowDeep 100: 1000 twips to the right at zoom 200 as at zoom 100.
  ClassLinie l = neueLinie(16, 2);
  l.Fuellung = true;
  l.Color2 = kGruen;
  l.ShadowType = 1;
  l.ShadowDeep = 100;
  l.ShadowAngle = 0;
  l.ShadowColor1 = kRot;
  s.Zoomfaktor = 2;
  // Figure 76..113 pixels across; its shadow 142..180.
  const QImage bild = zeichne(l, rahmen(100, 100, 50, 50));
  EXPECT_EQ(bild.pixel(95, 95), argb(kGruen));
  EXPECT_EQ(bild.pixel(130, 95), kWeiss);
  EXPECT_EQ(bild.pixel(165, 95), argb(kRot));
  EXPECT_EQ(bild.pixel(195, 95), kWeiss);
}

TEST_F(LinieTest, SchattenNurMitTiefeUndAbgestuftOhneTyp1) {
  ClassLinie l = neueLinie(16);
  l.Fuellung = true;
  l.Color2 = kGruen;
  l.ShadowAngle = 270;  // straight down
  l.ShadowColor1 = kRot;
  l.ShadowColor2 = kBlau;
  const ClassRahmen r = rahmen(300, 100, 200, 200);  // pixels 113..189 across, 38..113 down
  for (int16_t tiefe : {0, -5}) {
    flaeche.Cls();
    l.ShadowDeep = tiefe;
    EXPECT_EQ(zeichne(l, r).pixel(151, 130), kWeiss);
  }
  // ShadowType 0: 100 copies from ShadowColor2 far out to ShadowColor1 near the figure.
  flaeche.Cls();
  l.ShadowType = 0;
  l.ShadowDeep = 60;  // 40 pixels down
  const QImage bild = zeichne(l, r);
  const QColor fern(bild.pixel(151, 155));
  const QColor nah(bild.pixel(151, 118));
  EXPECT_GT(fern.blue(), 230);
  EXPECT_LT(fern.red(), 25);
  EXPECT_GT(nah.red(), 200);
  EXPECT_LT(nah.blue(), 60);
  EXPECT_EQ(bild.pixel(151, 160), kWeiss);
}

TEST_F(LinieTest, Farbverlaeufe) {
  // Form 1, left to right: Color1 at the left end, Color2 at the right end of the bar.
  ClassLinie l = neueLinie(1, 50);
  l.Color1 = kRot;
  l.Color2 = kBlau;
  l.ColorCircle = 1;
  QImage bild = zeichne(l, kRahmen);
  QColor links(bild.pixel(40, 113)), rechts(bild.pixel(263, 113));
  EXPECT_GT(links.red(), 240);
  EXPECT_LT(links.blue(), 15);
  EXPECT_GT(rechts.blue(), 240);
  EXPECT_LT(rechts.red(), 15);
  // Constant across the thickness.
  EXPECT_EQ(bild.pixel(150, 106), bild.pixel(150, 121));

  // Form 1, top to bottom: the bands run across the bar's 18 rows.
  flaeche.Cls();
  l.ColorCircle = 2;
  bild = zeichne(l, kRahmen);
  const QColor oben(bild.pixel(150, 105)), unten(bild.pixel(150, 121));
  EXPECT_GT(oben.red(), 200);
  EXPECT_GT(unten.blue(), 200);
  EXPECT_EQ(bild.pixel(40, 105), bild.pixel(260, 105));  // constant along the bar

  // Form 2, top to bottom: Color1 at the top end, Color2 at the bottom end.
  flaeche.Cls();
  l.Form = 2;
  bild = zeichne(l, kRahmen);
  const QColor kopf(bild.pixel(151, 40)), fuss(bild.pixel(151, 187));
  EXPECT_GT(kopf.red(), 240);
  EXPECT_GT(fuss.blue(), 240);

  // Form 2, left to right: bands across the bar's thickness.
  flaeche.Cls();
  l.ColorCircle = 1;
  bild = zeichne(l, kRahmen);
  EXPECT_GT(QColor(bild.pixel(143, 113)).red(), 200);
  EXPECT_GT(QColor(bild.pixel(159, 113)).blue(), 200);

  // No clip region is left selected: a later plain figure draws everywhere.
  flaeche.Cls();
  bild = zeichne(neueLinie(16), rahmen(0, 0, 790, 630));
  EXPECT_NE(bild.pixel(299, 120), kWeiss);
}

TEST_F(LinieTest, GeschlosseneFormenGefuelltUndUmrandet) {
  ClassLinie l = neueLinie(16);
  l.Color1 = RGB(0, 0, 0);
  l.Color2 = kGruen;
  QImage bild = zeichne(l, kRahmen);
  EXPECT_EQ(bild.pixel(151, 113), kWeiss);
  EXPECT_EQ(bild.pixel(151, 38), qRgb(0, 0, 0));

  flaeche.Cls();
  l.Fuellung = true;
  bild = zeichne(l, kRahmen);
  EXPECT_EQ(bild.pixel(151, 113), argb(kGruen));
  EXPECT_EQ(bild.pixel(151, 38), qRgb(0, 0, 0));

  // Fuellung means nothing to a bar.
  flaeche.Cls();
  ClassLinie balken = neueLinie(1, 50);
  balken.Fuellung = true;
  balken.Color2 = kGruen;
  EXPECT_EQ(zeichne(balken, kRahmen).pixel(150, 113), qRgb(0, 0, 0));

  // A gradient on an outlined figure colours the outline only, on a filled one the inside.
  l.Color1 = kRot;
  l.Color2 = kBlau;
  l.ColorCircle = 1;
  l.Fuellung = false;
  flaeche.Cls();
  bild = zeichne(l, kRahmen);
  EXPECT_EQ(bild.pixel(151, 113), kWeiss);
  EXPECT_GT(QColor(bild.pixel(39, 113)).red(), 230);
  EXPECT_GT(QColor(bild.pixel(264, 113)).blue(), 230);
  l.Fuellung = true;
  flaeche.Cls();
  bild = zeichne(l, kRahmen);
  const QColor mitte(bild.pixel(151, 113));
  EXPECT_GT(mitte.red(), 80);
  EXPECT_GT(mitte.blue(), 80);
}

TEST_F(LinieTest, UngueltigeFormUndFarbverlauf3) {
  for (int16_t form : {0, 19, -1}) {
    ClassLinie l = neueLinie(form);
    l.ShadowDeep = 30;
    l.ShadowType = 1;
    l.ShadowColor1 = kRot;
    flaeche.Cls();
    EXPECT_TRUE(ganzWeiss(zeichne(l, kRahmen))) << "form " << form;
  }
  // ColorCircle 3: the shadow and no figure.
  ClassLinie l = neueLinie(16);
  l.Fuellung = true;
  l.Color2 = kGruen;
  l.ColorCircle = 3;
  l.ShadowDeep = 45;
  l.ShadowType = 1;
  l.ShadowAngle = 0;
  l.ShadowColor1 = kRot;
  flaeche.Cls();
  const QImage bild = zeichne(l, rahmen(300, 300, 200, 200));
  EXPECT_EQ(bild.pixel(125, 151), kWeiss);
  EXPECT_EQ(bild.pixel(191, 151), argb(kRot));
}

// One element of every kind of call, to look at what the surface holds afterwards.
std::vector<ClassLinie> allerleiLinien() {
  std::vector<ClassLinie> v;
  for (int16_t form = 0; form <= 19; ++form) {
    ClassLinie l = neueLinie(form, 30);
    l.Fuellung = form % 2 == 0;
    l.Color1 = kRot;
    l.Color2 = kBlau;
    l.ColorCircle = static_cast<int16_t>(form % 4);
    l.ShadowDeep = static_cast<int16_t>(form % 3 == 0 ? 0 : 20);
    l.ShadowType = static_cast<int16_t>(form % 2);
    v.push_back(l);
  }
  return v;
}

TEST_F(LinieTest, NeutralerStiftDanach) {
  for (const ClassLinie& l : allerleiLinien()) {
    flaeche.DrawWidth = 9;
    flaeche.DrawStyle = 2;
    flaeche.FillColor = kGruen;
    flaeche.FillStyle = 0;
    LinieZeichnen(s, flaeche, l, kRahmen);
    EXPECT_EQ(flaeche.FillStyle, 1) << "form " << l.Form;
    EXPECT_EQ(flaeche.FillColor, 0);
    EXPECT_EQ(flaeche.DrawStyle, 0);
    EXPECT_EQ(flaeche.DrawWidth, 1);
  }
  Drucksteuerung druck;
  druck.StartDoc();
  s.Druckmodus = -1;
  s.TwipsProPixelX = s.TwipsProPixelY = 2.4;
  for (const ClassLinie& l : allerleiLinien()) {
    druck.PenWidth = 99;
    druck.PenStyle = 2;
    druck.BrushColor = kGruen;
    druck.BrushStyle = 0;
    LinieZeichnen(s, druck, l, kRahmen);
    EXPECT_EQ(druck.BrushStyle, 1) << "form " << l.Form;
    EXPECT_EQ(druck.BrushColor, 0);
    EXPECT_EQ(druck.PenStyle, 0);
    EXPECT_EQ(druck.PenWidth, 1);
  }
  druck.EndDoc();
}

TEST_F(LinieTest, MusterWirdLeerBegonnenUndInMassstab1) {
  s.Mustermodus = -1;
  s.Zoomfaktor = 2;
  flaeche.Line(0, 3300, 4400, 3300, 0);
  ASSERT_EQ(flaeche.bild().pixel(100, 220), qRgb(0, 0, 0));
  ClassLinie l = neueLinie(16);
  l.Fuellung = true;
  l.Color2 = kGruen;
  const QImage bild = zeichne(l, kRahmen);
  EXPECT_DOUBLE_EQ(s.Zeichenmassstab, 5.67);
  EXPECT_EQ(bild.pixel(100, 220), kWeiss);  // the earlier line was cleared away
  EXPECT_EQ(bild.pixel(151, 113), argb(kGruen));
  EXPECT_EQ(bild.pixel(280, 113), kWeiss);
}

// Every form in the frame (100, 100) - (700, 500) units, Staerke 20 (bands 3 pixels, pen
// 7 pixels), black on white: points that must be ink and points that must stay white.
struct Formfall {
  int16_t form;
  std::vector<QPoint> tinte;
  std::vector<QPoint> weiss;
};

void PrintTo(const Formfall& f, std::ostream* os) { *os << "Form " << f.form; }

class Formen : public LinieTest, public ::testing::WithParamInterface<Formfall> {};

TEST_P(Formen, TintePunkteUndWeissePunkte) {
  const Formfall& f = GetParam();
  const QImage bild = zeichne(neueLinie(f.form), kRahmen);
  for (const QPoint& p : f.tinte) EXPECT_EQ(bild.pixel(p), qRgb(0, 0, 0)) << p.x() << "," << p.y();
  for (const QPoint& p : f.weiss) EXPECT_EQ(bild.pixel(p), kWeiss) << p.x() << "," << p.y();
  EXPECT_EQ(bild.pixel(20, 20), kWeiss);
  EXPECT_EQ(bild.pixel(285, 220), kWeiss);
}

// Named places: the middle of each edge band, the centre and inner corners of the frame.
const QPoint kOben(151, 39), kUnten(151, 187), kLinks(39, 113), kRechts(263, 113), kMitte(151, 113),
    kInnenOL(60, 60), kInnenUR(245, 170);

INSTANTIATE_TEST_SUITE_P(
    Alle18, Formen,
    ::testing::Values(
        Formfall{1, {kMitte, {40, 112}, {263, 114}}, {{151, 108}, {151, 118}, kOben}},
        Formfall{2, {kMitte, {150, 40}, {152, 187}}, {{146, 113}, {156, 113}, kLinks}},
        Formfall{3, {kMitte, {40, 40}, {262, 187}}, {kInnenUR, {60, 170}}},
        Formfall{4, {kMitte, {40, 187}, {262, 40}}, {kInnenOL, kInnenUR}},
        Formfall{5, {kOben, kLinks, {38, 38}}, {kUnten, kRechts, kMitte}},
        Formfall{6, {kUnten, kLinks}, {kOben, kRechts, kMitte}},
        Formfall{7, {kUnten, kRechts, {264, 188}}, {kOben, kLinks, kMitte}},
        Formfall{8, {kOben, kRechts}, {kUnten, kLinks, kMitte}},
        Formfall{9, {kOben, kUnten}, {kLinks, kRechts, kMitte}},
        Formfall{10, {kLinks, kRechts}, {kOben, kUnten, kMitte}},
        Formfall{11, {kMitte, {151, 60}, {60, 113}}, {kInnenOL, kInnenUR, {100, 39}}},
        Formfall{12, {{151, 189}, {151, 40}}, {{151, 150}, kInnenOL, {245, 60}}},
        Formfall{13, {{38, 113}, {151, 75}}, {{100, 113}, {245, 60}, {245, 170}}},
        Formfall{14, {{151, 38}, {151, 187}}, {{151, 90}, {60, 170}, {245, 170}}},
        Formfall{15, {{265, 113}, {151, 75}}, {{200, 113}, kInnenOL, {60, 170}}},
        Formfall{16, {{151, 38}, {151, 189}, {38, 113}, {265, 113}}, {kMitte, {20, 113}}},
        Formfall{17, {{208, 75}, {94, 151}}, {kMitte, kInnenOL, kInnenUR}},
        Formfall{18, {{151, 39}, {39, 113}, {264, 113}}, {kMitte, {45, 45}, {258, 182}}}));

TEST_F(LinieTest, DrucksteuerungZeichnetAmGleichenOrt) {
  // The same filled rectangle on the print control at 600 dpi, seen at 96 dpi.
  ClassLinie l = neueLinie(16, 2);
  l.Fuellung = true;
  l.Color2 = kGruen;
  l.Color1 = kRot;
  Drucksteuerung druck;
  druck.StartDoc();
  s.Druckmodus = -1;
  s.TwipsProPixelX = s.TwipsProPixelY = 2.4;
  LinieZeichnen(s, druck, l, kRahmen);
  ClassLinie diagonale = neueLinie(3, 20);
  LinieZeichnen(s, druck, diagonale, rahmen(100, 1000, 400, 400));
  druck.EndDoc();
  const QImage seite = druck.seiteAlsBild(0, 96).convertToFormat(QImage::Format_RGB32);
  ASSERT_FALSE(seite.isNull());
  EXPECT_EQ(seite.pixel(151, 113), argb(kGruen));
  EXPECT_EQ(seite.pixel(36, 113), kWeiss);
  EXPECT_EQ(seite.pixel(267, 113), kWeiss);
  EXPECT_EQ(seite.pixel(151, 36), kWeiss);
  EXPECT_EQ(seite.pixel(151, 191), kWeiss);
  EXPECT_NE(seite.pixel(151, 38), kWeiss);
  EXPECT_NE(seite.pixel(151, 40), argb(kRot));  // the outline is thin: 1 mm of 0.2
  // The diagonal's pen is 47 device pixels (112.8 twips): about 7 pixels at 96 dpi.
  const int breite = tinteInZeile(seite, 454);
  EXPECT_GE(breite, 6);
  EXPECT_LE(breite, 13);
}

}  // namespace
