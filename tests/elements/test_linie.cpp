// The line/shape renderer on a white picture surface and on the print control: thickness,
// shadow direction and length, gradient bands, every form at known pixels, and the neutral
// pen and brush it leaves behind.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <ostream>
#include <vector>

#include "core/programmzustand.h"
#include "elements/shape/linie_zeichnen.h"
#include "gemeinsam/fallnamen.h"
#include "platform/bildflaeche.h"
#include "platform/drucksteuerung.h"

namespace {

constexpr int32_t kRot = RGB(255, 0, 0), kBlau = RGB(0, 0, 255), kGruen = RGB(0, 160, 0);
constexpr QRgb kWeiss = 0xFFFFFFFF, kSchwarz = 0xFF000000;

QRgb argb(int32_t c) { return qRgb(c & 255, (c >> 8) & 255, (c >> 16) & 255); }

ClassRahmen rahmen(int32_t x, int32_t y, int32_t breite, int32_t hoehe) {
  ClassRahmen r;
  r.x = x;
  r.y = y;
  r.Breite = breite;
  r.Hoehe = hoehe;
  return r;
}
// (100, 100) - (700, 500) units: pixels 38..265 across, 38..189 down at 15 twips per pixel.
const ClassRahmen kRahmen = rahmen(100, 100, 600, 400);
// (300, 300) - (500, 500) units: pixels 113..189 both ways, centre 151.
const ClassRahmen kQuadrat = rahmen(300, 300, 200, 200);

// A filled green rectangle with a red block shadow of 450 twips (30 pixels).
ClassLinie blockschatten(int16_t winkel, int16_t angle = 0) {
  return {.Fuellung = true,
          .Staerke = 20,
          .ShadowType = 1,
          .ShadowDeep = 45,
          .ShadowAngle = winkel,
          .ShadowColor1 = kRot,
          .Angle = angle,
          .Form = 16,
          .Color2 = kGruen};
}

// A page view of 300 x 240 pixels at 15 twips per pixel, zoom 100 %.
struct LinieTest : ::testing::Test {
  Programmzustand s;
  Bildflaeche flaeche{300 * 15, 240 * 15, 15};

  void SetUp() override {
    s.TwipsProEinheit = 5.67;
    s.Verlaufsstufen = 100;
    s.TwipsProPixelX = s.TwipsProPixelY = 15;
    s.Zoomfaktor = 1;
  }
  // The element drawn alone on a white surface.
  QImage zeichne(const ClassLinie& l, const ClassRahmen& r = kRahmen) {
    flaeche.Cls();
    LinieZeichnen(s, flaeche, l, r);
    return flaeche.bild().convertToFormat(QImage::Format_RGB32);
  }
  static int tinte(const QImage& bild, const QRect& bereich) {
    int n = 0;
    for (int y = bereich.top(); y <= bereich.bottom(); ++y)
      for (int x = bereich.left(); x <= bereich.right(); ++x) n += bild.pixel(x, y) != kWeiss;
    return n;
  }
  static int spalte(const QImage& b, int x) { return tinte(b, QRect(x, 0, 1, b.height())); }
  static int zeile(const QImage& b, int y) { return tinte(b, QRect(0, y, b.width(), 1)); }
};

TEST_F(LinieTest, StaerkeVonBalkenBaendernUndLinien) {
  // Staerke 50: hy = 142 \ 15 = 9: the middle bar is 18 pixels high, an edge band 9.
  EXPECT_EQ(spalte(zeichne({.Staerke = 50, .Form = 1}), 150), 18);
  const QImage ecke = zeichne({.Staerke = 50, .Form = 5});
  EXPECT_EQ(spalte(ecke, 150), 9);
  EXPECT_EQ(zeile(ecke, 150), 9);
  // Staerke 1: hy = 0.5; wherever the line lies it covers one or two rows, never none.
  for (int32_t y = 480; y < 520; ++y) {
    const int zeilen = spalte(zeichne({.Staerke = 1, .Form = 1}, rahmen(100, y, 400, 0)), 100);
    EXPECT_TRUE(zeilen == 1 || zeilen == 2) << "y " << y << ": " << zeilen;
  }
  // A thin band whose inner edge rounds onto the frame edge keeps one pixel, inside the
  // frame (right edge at 265.36, bottom at 189.38 pixels).
  const QImage band = zeichne({.Staerke = 1, .Form = 7}, rahmen(100, 100, 602, 401));
  EXPECT_NE(band.pixel(150, 188), kWeiss);
  EXPECT_EQ(band.pixel(150, 189), kWeiss);
  EXPECT_NE(band.pixel(264, 113), kWeiss);
  EXPECT_EQ(band.pixel(265, 113), kWeiss);
  // Diagonal, Staerke 2: 11.34 / 15 gives 0, drawn 1 pixel wide; Staerke 50: 18 pixels.
  EXPECT_EQ(zeile(zeichne({.Staerke = 2, .Form = 3}, rahmen(100, 100, 400, 400)), 113), 1);
  EXPECT_GE(zeile(zeichne({.Staerke = 50, .Form = 3}, rahmen(100, 100, 400, 400)), 113), 18);
}

// ShadowAngle + 90 + Angle, less 360 once when above 360; the expected direction of the
// shadow in pixels (right and down positive).
struct Schattenfall {
  int16_t shadowAngle, angle;
  double winkel;
  int dx, dy;
};

class SchattenWinkel : public LinieTest, public ::testing::WithParamInterface<Schattenfall> {};

TEST_P(SchattenWinkel, BlockschattenLiegtInDieserRichtung) {
  const Schattenfall f = GetParam();
  const QImage bild = zeichne(blockschatten(f.shadowAngle, f.angle), kQuadrat);
  EXPECT_DOUBLE_EQ(s.Schattenwinkel, f.winkel);
  EXPECT_EQ(bild.pixel(151 + 50 * f.dx, 151 + 50 * f.dy), argb(kRot));
  EXPECT_EQ(bild.pixel(151 - 50 * f.dx, 151 - 50 * f.dy), kWeiss);
  EXPECT_EQ(bild.pixel(151, 151), argb(kGruen));
}

INSTANTIATE_TEST_SUITE_P(
    Winkel, SchattenWinkel,
    ::testing::Values(Schattenfall{0, 0, 90, 1, 0}, Schattenfall{90, 0, 180, 0, -1},
                      Schattenfall{270, 0, 360, 0, 1},  // 360 stays
                      Schattenfall{315, 0, 45, 1, 1}, Schattenfall{0, 180, 270, -1, 0},
                      // 849 - 360 = 489, pointing where 129 points
                      Schattenfall{359, 400, 489, 1, -1}),
    benannt([](const Schattenfall& f) {
      return "Schatten" + std::to_string(f.shadowAngle) + "_Winkel" + std::to_string(f.angle);
    }));

TEST_F(LinieTest, SchattenlaengeUndAbgestufterSchatten) {
  // ShadowDeep 100 at zoom 200: 1000 twips, not 2000. Figure 76..113, shadow 142..180.
  s.Zoomfaktor = 2;
  ClassLinie l = blockschatten(0);
  l.Staerke = 2;
  l.ShadowDeep = 100;
  QImage bild = zeichne(l, rahmen(100, 100, 50, 50));
  EXPECT_EQ(bild.pixel(95, 95), argb(kGruen));
  EXPECT_EQ(bild.pixel(130, 95), kWeiss);
  EXPECT_EQ(bild.pixel(165, 95), argb(kRot));
  EXPECT_EQ(bild.pixel(195, 95), kWeiss);
  s.Zoomfaktor = 1;

  // ShadowDeep 0 or below: no shadow.
  l = blockschatten(270);
  for (int16_t tiefe : {0, -5}) {
    l.ShadowDeep = tiefe;
    EXPECT_EQ(zeichne(l, kQuadrat).pixel(151, 200), kWeiss);
  }
  // ShadowType 0: 100 copies from ShadowColor2 far out to ShadowColor1 at the figure.
  l.ShadowType = 0;
  l.ShadowDeep = 60;  // 40 pixels down from the frame 38..113
  l.ShadowColor2 = kBlau;
  bild = zeichne(l, rahmen(300, 100, 200, 200));
  const QColor fern(bild.pixel(151, 155)), nah(bild.pixel(151, 118));
  EXPECT_TRUE(fern.blue() > 230 && fern.red() < 25) << fern.name().toStdString();
  EXPECT_TRUE(nah.red() > 200 && nah.blue() < 60) << nah.name().toStdString();
  EXPECT_EQ(bild.pixel(151, 160), kWeiss);
}

TEST_F(LinieTest, FarbverlaufInBaendern) {
  const auto rot = [](QRgb p) { return qRed(p) > 200 && qBlue(p) < 55; };
  const auto blau = [](QRgb p) { return qBlue(p) > 200 && qRed(p) < 55; };
  ClassLinie l{.Staerke = 50, .ColorCircle = 1, .Form = 1, .Color2 = kBlau, .Color1 = kRot};
  // Form 1 (rows 104..121), left to right, the same across the thickness.
  QImage bild = zeichne(l);
  EXPECT_TRUE(rot(bild.pixel(40, 113)) && blau(bild.pixel(263, 113)));
  EXPECT_EQ(bild.pixel(150, 104), bild.pixel(150, 121));
  // Form 1, top to bottom: the bands run across the bar's thickness.
  l.ColorCircle = 2;
  bild = zeichne(l);
  EXPECT_TRUE(rot(bild.pixel(150, 105)) && blau(bild.pixel(150, 121)));
  EXPECT_EQ(bild.pixel(40, 105), bild.pixel(260, 105));
  // Form 2 (columns 142..159), top to bottom, and left to right across its thickness.
  l.Form = 2;
  bild = zeichne(l);
  EXPECT_TRUE(rot(bild.pixel(151, 40)) && blau(bild.pixel(151, 187)));
  l.ColorCircle = 1;
  bild = zeichne(l);
  EXPECT_TRUE(rot(bild.pixel(143, 113)) && blau(bild.pixel(159, 113)));
  // No clip region is left behind: a later figure draws up to the surface's edge.
  EXPECT_NE(zeichne({.Staerke = 20, .Form = 16}, rahmen(0, 0, 790, 630)).pixel(299, 120), kWeiss);
}

TEST_F(LinieTest, VerlaufInEinerFarbeWieOhneVerlauf) {
  // Every form, filled and outlined, both ways: a gradient from a colour to itself draws
  // exactly the plain figure (the passes are aliased and cover each band once).
  for (int16_t form = 1; form <= 18; ++form)
    for (bool fuellung : {true, false}) {
      ClassLinie l{
          .Fuellung = fuellung, .Staerke = 30, .Form = form, .Color2 = kRot, .Color1 = kRot};
      const QImage schlicht = zeichne(l);
      for (int16_t kreis : {int16_t(1), int16_t(2)}) {
        l.ColorCircle = kreis;
        EXPECT_TRUE(zeichne(l) == schlicht) << form << " " << fuellung << " " << kreis;
      }
    }
}

TEST_F(LinieTest, GeschlosseneFormenGefuelltOderUmrandet) {
  ClassLinie l{.Staerke = 20, .Form = 16, .Color2 = kGruen};
  EXPECT_EQ(zeichne(l).pixel(151, 113), kWeiss);
  EXPECT_EQ(zeichne(l).pixel(151, 38), kSchwarz);
  l.Fuellung = true;
  EXPECT_EQ(zeichne(l).pixel(151, 113), argb(kGruen));
  EXPECT_EQ(zeichne(l).pixel(151, 38), kSchwarz);
  // Fuellung means nothing to a bar.
  EXPECT_EQ(zeichne({.Fuellung = true, .Staerke = 50, .Form = 1, .Color2 = kGruen}).pixel(150, 113),
            kSchwarz);
  // A gradient colours only the outline of an outlined figure, the inside of a filled one.
  l = {.Staerke = 20, .ColorCircle = 1, .Form = 16, .Color2 = kBlau, .Color1 = kRot};
  QImage bild = zeichne(l);
  EXPECT_EQ(bild.pixel(151, 113), kWeiss);
  EXPECT_GT(qRed(bild.pixel(39, 113)), 230);
  EXPECT_GT(qBlue(bild.pixel(264, 113)), 230);
  l.Fuellung = true;
  bild = zeichne(l);
  EXPECT_TRUE(qRed(bild.pixel(151, 113)) > 80 && qBlue(bild.pixel(151, 113)) > 80);
}

TEST_F(LinieTest, UngueltigeFormUndNurSchatten) {
  // Forms outside 1..18 draw nothing, not even their shadow.
  for (int16_t form : {0, 19, -1}) {
    ClassLinie l = blockschatten(0);
    l.Form = form;
    EXPECT_EQ(tinte(zeichne(l), QRect(0, 0, 300, 240)), 0) << "form " << form;
  }
  // ColorCircle 3: the shadow, 30 pixels to the right, and no figure.
  ClassLinie l = blockschatten(0);
  l.ColorCircle = 3;
  const QImage bild = zeichne(l, kQuadrat);
  EXPECT_EQ(bild.pixel(125, 151), kWeiss);
  EXPECT_EQ(bild.pixel(191, 151), argb(kRot));
}

TEST_F(LinieTest, NeutralerStiftUndPinselDanach) {
  std::vector<ClassLinie> linien;
  for (int16_t form = 0; form <= 19; ++form)
    linien.push_back({.Fuellung = form % 2 == 0,
                      .Staerke = 30,
                      .ColorCircle = static_cast<int16_t>(form % 4),
                      .ShadowType = static_cast<int16_t>(form % 2),
                      .ShadowDeep = static_cast<int16_t>(form % 3 ? 20 : 0),
                      .Form = form,
                      .Color2 = kBlau,
                      .Color1 = kRot});
  for (const ClassLinie& l : linien) {
    flaeche.DrawWidth = 9;
    flaeche.DrawStyle = 2;
    flaeche.FillColor = kGruen;
    flaeche.FillStyle = 0;
    LinieZeichnen(s, flaeche, l, kRahmen);
    EXPECT_TRUE(flaeche.FillStyle == 1 && flaeche.FillColor == 0 && flaeche.DrawStyle == 0 &&
                flaeche.DrawWidth == 1)
        << "form " << l.Form;
  }
  Drucksteuerung druck;
  druck.StartDoc();
  s.Druckmodus = -1;
  s.TwipsProPixelX = s.TwipsProPixelY = 2.4;
  for (const ClassLinie& l : linien) {
    druck.PenWidth = 99;
    druck.PenStyle = 2;
    druck.BrushColor = kGruen;
    druck.BrushStyle = 0;
    LinieZeichnen(s, druck, l, kRahmen);
    EXPECT_TRUE(druck.BrushStyle == 1 && druck.BrushColor == 0 && druck.PenStyle == 0 &&
                druck.PenWidth == 1)
        << "form " << l.Form;
  }
  druck.EndDoc();
}

TEST_F(LinieTest, MusterBeginntLeerInMassstab1) {
  s.Mustermodus = -1;
  s.Zoomfaktor = 2;
  flaeche.Line(0, 3300, 4400, 3300, 0);
  LinieZeichnen(s, flaeche, blockschatten(0), kRahmen);
  const QImage bild = flaeche.bild().convertToFormat(QImage::Format_RGB32);
  EXPECT_DOUBLE_EQ(s.Zeichenmassstab, 5.67);
  EXPECT_EQ(bild.pixel(100, 220), kWeiss);  // the earlier line was cleared away
  EXPECT_EQ(bild.pixel(151, 113), argb(kGruen));
  EXPECT_EQ(bild.pixel(151, 210), kWeiss);  // scale 1, not 2
}

// Every form in kRahmen, Staerke 20 (bands 3 pixels, bars 6, pen 7), black on white.
struct Formfall {
  int16_t form;
  std::vector<QPoint> tinte, weiss;
};
void PrintTo(const Formfall& f, std::ostream* os) { *os << "Form " << f.form; }

class Formen : public LinieTest, public ::testing::WithParamInterface<Formfall> {};

TEST_P(Formen, TinteUndWeissAnBekanntenStellen) {
  const Formfall& f = GetParam();
  const QImage bild = zeichne({.Staerke = 20, .Form = f.form});
  for (const QPoint& p : f.tinte) EXPECT_EQ(bild.pixel(p), kSchwarz) << p.x() << "," << p.y();
  for (const QPoint& p : f.weiss) EXPECT_EQ(bild.pixel(p), kWeiss) << p.x() << "," << p.y();
  EXPECT_EQ(bild.pixel(20, 20), kWeiss);
  EXPECT_EQ(bild.pixel(285, 220), kWeiss);
}

// The middle of each edge band, the centre and two inner corners of the frame.
const QPoint O(151, 39), U(151, 187), L(39, 113), R(263, 113), M(151, 113), OL(60, 60),
    UR(245, 170);

INSTANTIATE_TEST_SUITE_P(
    Alle18, Formen,
    ::testing::Values(Formfall{1, {M, {40, 112}, {263, 114}}, {{151, 108}, {151, 118}, O}},
                      Formfall{2, {M, {150, 40}, {152, 187}}, {{146, 113}, {156, 113}, L}},
                      Formfall{3, {M, {40, 40}, {262, 187}}, {UR, {60, 170}}},
                      Formfall{4, {M, {40, 187}, {262, 40}}, {OL, UR}},
                      Formfall{5, {O, L, {38, 38}}, {U, R, M}}, Formfall{6, {U, L}, {O, R, M}},
                      Formfall{7, {U, R, {264, 188}}, {O, L, M}}, Formfall{8, {O, R}, {U, L, M}},
                      Formfall{9, {O, U}, {L, R, M}}, Formfall{10, {L, R}, {O, U, M}},
                      Formfall{11, {M, {151, 60}, {60, 113}}, {OL, UR, {100, 39}}},
                      Formfall{12, {{151, 189}, {151, 40}}, {{151, 150}, OL, {245, 60}}},
                      Formfall{13, {{38, 113}, {151, 75}}, {{100, 113}, {245, 60}, {245, 170}}},
                      Formfall{14, {{151, 38}, {151, 187}}, {{151, 90}, {60, 170}, UR}},
                      Formfall{15, {{265, 113}, {151, 75}}, {{200, 113}, OL, {60, 170}}},
                      Formfall{16, {{151, 38}, {151, 189}, {38, 113}, {265, 113}}, {M}},
                      Formfall{17, {{208, 75}, {94, 151}}, {M, OL, UR}},
                      Formfall{18, {{151, 39}, L, {264, 113}}, {M, {45, 45}, {258, 182}}}),
    benannt([](const Formfall& f) { return "Form" + std::to_string(f.form); }));

TEST_F(LinieTest, AufDerDrucksteuerungAmGleichenOrt) {
  // At 600 dpi (2.4 twips per pixel), seen at 96 dpi: the same place as on the page view.
  Drucksteuerung druck;
  druck.StartDoc();
  s.Druckmodus = -1;
  s.TwipsProPixelX = s.TwipsProPixelY = 2.4;
  LinieZeichnen(s, druck,
                {.Fuellung = true, .Staerke = 2, .Form = 16, .Color2 = kGruen, .Color1 = kRot},
                kRahmen);
  LinieZeichnen(s, druck, {.Staerke = 20, .Form = 3}, rahmen(100, 1000, 400, 400));
  druck.EndDoc();
  const QImage seite = druck.seiteAlsBild(0, 96).convertToFormat(QImage::Format_RGB32);
  ASSERT_FALSE(seite.isNull());
  EXPECT_EQ(seite.pixel(151, 113), argb(kGruen));
  for (const QPoint& p : {QPoint(36, 113), QPoint(267, 113), QPoint(151, 36), QPoint(151, 191)})
    EXPECT_EQ(seite.pixel(p), kWeiss) << p.x() << "," << p.y();
  EXPECT_NE(seite.pixel(151, 38), kWeiss);
  // The diagonal's pen is 47 device pixels (112.8 twips): about 7 pixels at 96 dpi.
  const int breite = zeile(seite, 454);
  EXPECT_TRUE(breite >= 6 && breite <= 13) << breite;
}

}  // namespace
