// The page and its surfaces on a high-density screen: this program runs with twice as many
// device pixels per logical pixel, as on a laptop at 200 % scaling.
#include <gtest/gtest.h>

#include <QImage>
#include <QPushButton>
#include <QTest>
#include <cmath>

#include "core/dialogauswahl.h"
#include "core/programmzustand.h"
#include "core/seite_zeichnen.h"
#include "elements/text/frmschrift.h"
#include "elements/text/schrift_zeichnen.h"
#include "hauptfenster_test.h"
#include "platform/ansichtsfenster.h"
#include "platform/bildflaeche.h"

namespace {

// Set before the test main creates the application, which reads it once.
const bool kDoppelteDichte = qputenv("QT_SCALE_FACTOR", "2");

using hauptfenstertest::Hauptfenster;
using hauptfenstertest::warteBis;

bool dunkel(QRgb p) { return qGray(p) < 128; }

// Pixels of column x within four device pixels of row y that fulfil the test.
template <typename Test>
int zaehleUm(const QImage& bild, QPoint p, Test test) {
  int n = 0;
  for (int y = p.y() - 4; y <= p.y() + 4; ++y) n += test(bild.pixel(p.x(), y));
  return n;
}

class Pixeldichte : public Hauptfenster {
 protected:
  void SetUp() override {
    Hauptfenster::SetUp();
    ASSERT_TRUE(kDoppelteDichte);
    starten();
    zoom(100);
    vorlageAusblenden();
  }
  Bildflaeche& flaeche() const { return *s->PictureSeite; }
};

TEST_F(Pixeldichte, SeiteHaeltDoppeltSovielePixelUndKlicksTreffenWieZuvor) {
  ASSERT_EQ(seite()->devicePixelRatioF(), 2.0);
  ASSERT_TRUE(warteBis([&] { return flaeche().bild().devicePixelRatio() == 2.0; }));
  EXPECT_EQ(flaeche().pixelgroesse(), seite()->size());
  EXPECT_EQ(flaeche().bild().size(), 2 * seite()->size());

  const int a = neuerRahmen(300, 2200, 500, 200);
  const int b = neuerRahmen(900, 2200, 500, 200);
  waehle(a);
  QTest::mouseClick(seite(), Qt::LeftButton, {}, pixel(1100, 2300));
  EXPECT_EQ(s->AktuellerRahmen, b);
  QTest::mouseClick(seite(), Qt::LeftButton, {}, pixel(400, 2300));
  EXPECT_EQ(s->AktuellerRahmen, a);

  // A surface left at another ratio (as after a move from another screen) takes the page's
  // again with the next paint, and the page is drawn anew.
  flaeche().setzePixelverhaeltnis(1);
  ASSERT_EQ(flaeche().bild().devicePixelRatio(), 1.0);
  seite()->update();
  EXPECT_TRUE(warteBis([&] { return flaeche().bild().devicePixelRatio() == 2.0; }));
}

TEST_F(Pixeldichte, EinPixelBleibtEinLogischesPixel) {
  // The outline of a rectangle drawn with the thinnest pen, the bar of the thinnest line and
  // the dotted grid: one logical pixel each, two device pixels.
  const int umriss = neuerRahmen(300, 1020, 600, 200);
  s->linie(s->rahmen(umriss).nummer()).Form = 16;
  const int balken = neuerRahmen(300, 1500, 600, 200);
  s->linie(s->rahmen(balken).nummer()).Form = 1;
  for (int n : {umriss, balken}) {
    ClassLinie& l = s->linie(s->rahmen(n).nummer());
    l.Staerke = 0;
    l.Color1 = RGB(0, 0, 0);
  }
  s->RasterAnzeigen = -1;
  s->RasterX = 100;
  s->RasterY = 100;
  SeiteZeichnen(*s);
  const QImage bild = flaeche().bild();
  ASSERT_EQ(bild.devicePixelRatio(), 2.0);

  EXPECT_EQ(zaehleUm(bild, 2 * pixel(600, 1020), dunkel), 2);
  EXPECT_EQ(zaehleUm(bild, 2 * pixel(600, 1600), dunkel), 2);
  // The first horizontal grid line at logical column 18, where a dot of it lies (the dots
  // are on the even columns).
  const auto grau = [](QRgb p) { return qGray(p) > 150 && qGray(p) < 230; };
  const QPoint gitter(2 * 18, 2 * pixel(0, 100).y());
  EXPECT_EQ(zaehleUm(bild, gitter, grau), 2);
  EXPECT_EQ(zaehleUm(bild, gitter + QPoint(1, 0), grau), 2);
  EXPECT_EQ(zaehleUm(bild, gitter + QPoint(2, 0), grau), 0);
}

TEST_F(Pixeldichte, TextWieBeiDoppeltemZoomNurFeiner) {
  // The same frame on a surface of ratio 2 at 100 % and on a plain one at 200 %, once plain
  // and once with a graded shadow and a gradient (drawn as copies of the text).
  ClassRahmen rahmen;
  rahmen.x = 50;
  rahmen.y = 40;
  rahmen.Breite = 700;
  rahmen.Hoehe = 200;
  for (const bool mitEffekten : {false, true}) {
    ClassSchrift schrift = s->schrift(1);
    schrift.Textstring = QStringLiteral("Hamburg 1234 Wg");
    schrift.fontname = QStringLiteral("Arial");
    schrift.FontSize = QStringLiteral("12");
    schrift.Color1 = RGB(0, 0, 0);
    schrift.Sichtbar = true;
    schrift.ShadowDeep = mitEffekten ? 40 : 0;
    schrift.ShadowType = 2;
    schrift.ShadowColor1 = RGB(0, 0, 160);
    schrift.ShadowColor2 = RGB(255, 255, 255);
    schrift.ColorCircle = mitEffekten ? 1 : 0;
    schrift.Color2 = RGB(200, 0, 0);

    Bildflaeche dicht(9000, 3000);
    dicht.setzePixelverhaeltnis(2);
    Bildflaeche gross(18000, 6000);
    s->Zoomfaktor = 1;
    SchriftZeichnen(*s, dicht, schrift, rahmen);
    s->Zoomfaktor = 2;
    SchriftZeichnen(*s, gross, schrift, rahmen);

    const QImage a = dicht.bild().convertToFormat(QImage::Format_RGB32);
    const QImage b = gross.bild().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(a.size(), b.size());
    // Pixels that are clearly ink in one of them, and those where the two differ clearly
    // (the text's own position rounds to a logical pixel on the one, to a device pixel on
    // the other).
    int tinte = 0;
    int abweichend = 0;
    for (int y = 0; y < a.height(); ++y) {
      for (int x = 0; x < a.width(); ++x) {
        const QRgb p = a.pixel(x, y);
        const QRgb q = b.pixel(x, y);
        if (qGray(p) < 200 || qGray(q) < 200) ++tinte;
        if (std::abs(qGray(p) - qGray(q)) > 96) ++abweichend;
      }
    }
    ASSERT_GT(tinte, 2000) << mitEffekten;
    EXPECT_LT(abweichend, tinte / 100) << mitEffekten << ": " << abweichend << " of " << tinte;
  }
}

TEST_F(Pixeldichte, MusterDesSchriftdialogsInDerDichteDesBildschirms) {
  waehle(1);
  EigenschaftenZeigen(*s);
  frmSchrift* dialog = w->Schriftdialog();
  ASSERT_TRUE(dialog);
  Bildflaeche* muster = dialog->musterAnzeige(1)->flaeche();
  EXPECT_TRUE(warteBis([&] { return muster->pixelverhaeltnis() == 2.0; }));
  // Drawn again at that density: the sample's word shows.
  const QImage bild = muster->bild();
  EXPECT_EQ(bild.size(), 2 * muster->pixelgroesse());
  int tinte = 0;
  for (int y = 0; y < bild.height(); ++y)
    for (int x = 0; x < bild.width(); ++x) tinte += dunkel(bild.pixel(x, y));
  EXPECT_GT(tinte, 1000);
  QTest::mouseClick(dialog->CommandAbbruch(), Qt::LeftButton);
}

TEST(PixeldichteBudget, GrosseFlaecheBleibtImBudget) {
  // A4 at 400 % takes the ratio asked for; a surface that the budget holds at ratio 1 but
  // not at 2 the largest ratio it holds.
  EXPECT_EQ(Bildflaeche::verhaeltnisImBudget(QSize(3175, 4490), 2), 2.0);
  const double r = Bildflaeche::verhaeltnisImBudget(QSize(9000, 9000), 2);
  const auto pixel = [](double verhaeltnis) {
    const qint64 seite = std::lround(9000 * verhaeltnis);
    return seite * seite;
  };
  EXPECT_LE(pixel(r), Bildflaeche::kPixelbudget);
  EXPECT_GT(pixel(r + 0.01), Bildflaeche::kPixelbudget);
  EXPECT_EQ(Bildflaeche::verhaeltnisImBudget(QSize(20000, 20000), 2), 1.0);
}

}  // namespace
