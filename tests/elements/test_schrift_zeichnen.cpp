// The text renderer on picture surfaces and on the print control: pixels at known places.
#include <gtest/gtest.h>

#include <QImage>
#include <functional>

#include "core/programmzustand.h"
#include "elements/text/schrift_zeichnen.h"
#include "elements/text/schriftarten.h"
#include "gemeinsam/testfenster.h"
#include "platform/bildflaeche.h"
#include "platform/drucksteuerung.h"

namespace {

constexpr int32_t ROT = RGB(255, 0, 0);
constexpr int32_t BLAU = RGB(0, 0, 255);
constexpr int32_t GRUEN = RGB(0, 200, 0);

// Tenths of a millimetre to pixels of a surface with 15 twips per pixel.
double px(double einheiten, double zoom = 1) { return einheiten * 5.67 * zoom / 15; }

using Pruefung = std::function<bool(QRgb)>;

bool tinte(QRgb p) { return qRed(p) < 160 || qGreen(p) < 160 || qBlue(p) < 160; }
bool dunkel(QRgb p) { return qRed(p) < 90 && qGreen(p) < 90 && qBlue(p) < 90; }
bool gruen(QRgb p) { return qGreen(p) > 120 && qRed(p) < 90 && qBlue(p) < 90; }
bool rotOderBlau(QRgb p) { return qGreen(p) < 90 && (qRed(p) > 120 || qBlue(p) > 120); }

// Bounding box of the pixels that pass the test (invalid when there are none).
QRect umriss(const QImage& bild, const Pruefung& pruefung) {
  QRect r;
  for (int y = 0; y < bild.height(); ++y)
    for (int x = 0; x < bild.width(); ++x)
      if (pruefung(bild.pixel(x, y))) r |= QRect(x, y, 1, 1);
  return r;
}

int anzahl(const QImage& bild, const Pruefung& pruefung, const QRect& bereich) {
  int n = 0;
  const QRect r = bereich.intersected(bild.rect());
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x)
      if (pruefung(bild.pixel(x, y))) ++n;
  return n;
}

// Mean red minus mean blue of the coloured pixels in a part of the picture.
double rotUeberBlau(const QImage& bild, const QRect& bereich) {
  double summe = 0;
  int n = 0;
  const QRect r = bereich.intersected(bild.rect());
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) {
      const QRgb p = bild.pixel(x, y);
      if (!rotOderBlau(p)) continue;
      summe += qRed(p) - qBlue(p);
      ++n;
    }
  return n ? summe / n : 0;
}

QPointF mitte(const QRect& r) { return QRectF(r).center(); }

// With QX_TESTBILDER set to a folder, the rendered pictures are saved there to be looked at.
void ablegen(const QImage& bild, const QString& name) {
  const QString ordner = qEnvironmentVariable("QX_TESTBILDER");
  if (!ordner.isEmpty()) bild.save(ordner + QLatin1Char('/') + name + QStringLiteral(".png"));
}

struct TextZeichnen : ::testing::Test {
  Programmzustand s;
  TestFenster fenster;
  int nummer = 0;

  void SetUp() override {
    s.fenster = &fenster;
    s.Zoomfaktor = 1;
    s.TwipsProEinheit = 5.67;
    s.TwipsProPixelX = 15;
    s.TwipsProPixelY = 15;
    s.Verlaufsstufen = 100;
    SchriftartenErmitteln(s);
  }

  static ClassSchrift text(const QString& t, int16_t groesse = 20) {
    ClassSchrift e;
    e.Sichtbar = true;
    e.Textstring = t;
    e.fontname = QStringLiteral("Arial");
    e.FontSize = groesse;
    e.ShadowAngle = 45;
    e.ShadowColor1 = RGB(192, 192, 192);
    return e;
  }

  static ClassRahmen rahmen(int32_t x, int32_t y, int32_t breite, int32_t hoehe) {
    ClassRahmen r;
    r.Objekttyp = QStringLiteral("Schrift");
    r.x = x;
    r.y = y;
    r.Breite = breite;
    r.Hoehe = hoehe;
    r.Sichtbar = true;
    return r;
  }

  // The element drawn in the frame on a white picture surface of 1200 x 800 units.
  QImage zeichne(ClassSchrift e, const ClassRahmen& r) {
    Bildflaeche flaeche(1200 * 5.67, 800 * 5.67, 15);
    SchriftZeichnen(s, flaeche, e, r);
    const QImage bild = flaeche.bild().copy();
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    ablegen(bild,
            QStringLiteral("%1_%2_%3")
                .arg(QString::fromUtf8(info->name()).replace(QLatin1Char('/'), QLatin1Char('_')))
                .arg(++nummer)
                .arg(e.Textstring.left(8)));
    return bild;
  }

  // The element printed on one page of the print control, the page seen at 96 dpi.
  QImage drucke(ClassSchrift e, const ClassRahmen& r) {
    Drucksteuerung druck;
    druck.StartDoc();
    s.Druckmodus = -1;
    s.TwipsProPixelX = s.TwipsProPixelY = 1440.0 / Drucksteuerung::AUFLOESUNG;
    SchriftZeichnen(s, druck, e, r);
    druck.EndDoc();
    s.TwipsProPixelX = s.TwipsProPixelY = 15;
    EXPECT_EQ(druck.seitenzahl(), 1);
    const QImage bild = druck.seiteAlsBild(0, 96);
    ablegen(bild, QStringLiteral("Druckseite_%1").arg(++nummer));
    return bild;
  }

  static QRect rahmenPixel(const ClassRahmen& r, double zoom = 1) {
    return QRectF(QPointF(px(r.x, zoom), px(r.y, zoom)),
                  QPointF(px(r.x + r.Breite, zoom), px(r.y + r.Hoehe, zoom)))
        .toAlignedRect();
  }
};

}  // namespace

TEST_F(TextZeichnen, FarbigerTextLiegtImRahmenUndNichtsDaneben) {
  ClassSchrift e = text(QStringLiteral("Hallo Welt"));
  e.Color1 = ROT;
  const ClassRahmen r = rahmen(100, 100, 600, 200);
  const QImage bild = zeichne(e, r);
  const QRect rot = umriss(bild, [](QRgb p) { return qRed(p) > 200 && qGreen(p) < 60; });
  ASSERT_TRUE(rot.isValid());
  const QRect alles = umriss(bild, tinte);
  EXPECT_TRUE(rahmenPixel(r).contains(alles)) << alles.x() << "," << alles.y();
  EXPECT_NEAR(alles.left(), px(100), 3);
  EXPECT_GE(alles.top(), px(100) - 1);
  EXPECT_LE(alles.top(), px(100) + 10);

  // At zoom 2 the text starts twice as far from the corner and is twice as high.
  s.Zoomfaktor = 2;
  const QRect gross = umriss(zeichne(e, r), tinte);
  EXPECT_NEAR(gross.left() - px(100, 2), 2 * (alles.left() - px(100)), 2);
  EXPECT_NEAR(gross.height(), 2 * alles.height(), 3);
}

struct Ausrichtung : TextZeichnen, ::testing::WithParamInterface<std::tuple<int, int>> {};

TEST_P(Ausrichtung, TextSitztAmRichtigenRandDesRahmens) {
  const auto [h, v] = GetParam();
  ClassSchrift e = text(QStringLiteral("HHHHH"));
  e.AusrichtungH = static_cast<int16_t>(h);
  e.AusrichtungV = static_cast<int16_t>(v);
  const ClassRahmen r = rahmen(200, 150, 800, 400);
  const QRect f = rahmenPixel(r);
  const QRect t = umriss(zeichne(e, r), dunkel);
  ASSERT_TRUE(t.isValid());
  switch (h) {
    case 0:
      EXPECT_NEAR(t.left(), f.left(), 4);
      break;
    case 1:
      EXPECT_NEAR(mitte(t).x(), mitte(f).x(), 3);
      break;
    case 2:
      EXPECT_NEAR(t.right(), f.right(), 4);
      break;
  }
  // Vertically the text's cell (ascent and descent) is aligned, not its ink.
  switch (v) {
    case 0:
      EXPECT_NEAR(t.top() - f.top(), 5, 5);
      break;
    case 1:
      EXPECT_NEAR(mitte(t).y(), mitte(f).y(), 5);
      break;
    case 2:
      EXPECT_NEAR(f.bottom() - t.bottom(), 6, 5);
      break;
  }
}

INSTANTIATE_TEST_SUITE_P(HundV, Ausrichtung,
                         ::testing::Combine(::testing::Values(0, 1, 2),
                                            ::testing::Values(0, 1, 2)));

TEST_F(TextZeichnen, ZeichenabstandVerschiebtDenAnfangNicht) {
  ClassSchrift e = text(QStringLiteral("HHHHH"));
  e.AusrichtungH = 2;
  const ClassRahmen r = rahmen(100, 100, 500, 200);
  const QRect ohne = umriss(zeichne(e, r), dunkel);
  e.CharSpace = 10;
  const QRect mit = umriss(zeichne(e, r), dunkel);
  // Measured without the spacing: the start stays, the end passes the frame's edge.
  EXPECT_EQ(mit.left(), ohne.left());
  EXPECT_NEAR(mit.right() - ohne.right(), 4 * 10, 2);
}

TEST_F(TextZeichnen, BlockschattenRechtsUndVerlaufschatten) {
  ClassSchrift e = text(QStringLiteral("HHH"), 30);
  e.ShadowDeep = 50;
  e.ShadowAngle = 0;
  e.ShadowType = 1;
  e.ShadowColor1 = GRUEN;
  const ClassRahmen r = rahmen(100, 100, 800, 300);
  QImage bild = zeichne(e, r);
  const double versatz = px(s.TextAusdehnungY / 100 * 50 / 5.67);
  const QRect schrift = umriss(bild, dunkel);
  const QRect schatten = umriss(bild, gruen);
  ASSERT_TRUE(schatten.isValid());
  EXPECT_NEAR(schatten.right() - schrift.right(), versatz, 2);
  EXPECT_NEAR(schatten.top(), schrift.top(), 1);
  EXPECT_NEAR(schatten.bottom(), schrift.bottom(), 1);

  // A graded shadow of one colour is a solid smear from the far end to the text: the gap
  // between two letters' right stems is filled along the whole offset.
  e.ShadowType = 2;
  e.ShadowColor2 = GRUEN;
  bild = zeichne(e, r);
  const QRect smear = umriss(bild, gruen);
  EXPECT_NEAR(smear.right() - schrift.right(), versatz, 2);
  const int zeile = mitte(schrift).y();
  const QRect luecke(schrift.right() + 1, zeile, static_cast<int>(versatz) - 2, 1);
  EXPECT_EQ(anzahl(bild, gruen, luecke), luecke.width());
}

TEST_F(TextZeichnen, VerlaufLaengsUndQuer) {
  ClassSchrift e = text(QStringLiteral("MMMMMM"), 40);
  e.Bold = true;
  e.Color1 = ROT;
  e.Color2 = BLAU;
  e.ColorCircle = 1;
  const ClassRahmen r = rahmen(50, 50, 1100, 400);
  QImage bild = zeichne(e, r);
  QRect t = umriss(bild, rotOderBlau);
  ASSERT_TRUE(t.isValid());
  const int zehntel = t.width() / 10;
  EXPECT_GT(rotUeberBlau(bild, QRect(t.left(), t.top(), zehntel, t.height())), 150);
  EXPECT_LT(rotUeberBlau(bild, QRect(t.right() - zehntel, t.top(), zehntel, t.height())), -150);
  EXPECT_NEAR(rotUeberBlau(bild, QRect(t.center().x() - 2, t.top(), 5, t.height())), 0, 40);

  // Any value above 1 runs from top to bottom.
  e.Textstring = QStringLiteral("HHHHHH");
  e.ColorCircle = 2;
  bild = zeichne(e, r);
  t = umriss(bild, rotOderBlau);
  const int streifen = t.height() / 6;
  EXPECT_GT(rotUeberBlau(bild, QRect(t.left(), t.top(), t.width(), streifen)), 120);
  EXPECT_LT(rotUeberBlau(bild, QRect(t.left(), t.bottom() - streifen, t.width(), streifen)), -120);
  e.ColorCircle = 3;
  EXPECT_EQ(zeichne(e, r), bild);

  // None at 0 or below: the text keeps Color1.
  for (int16_t keiner : {int16_t(0), int16_t(-1)}) {
    e.ColorCircle = keiner;
    EXPECT_EQ(anzahl(
                  zeichne(e, r), [](QRgb p) { return qBlue(p) > 120 && qRed(p) < 90; },
                  QRect(0, 0, 10000, 10000)),
              0);
  }
}

TEST_F(TextZeichnen, GedrehterTextBleibtUmSeineMitte) {
  ClassSchrift e = text(QStringLiteral("Hallo Welt"), 24);
  e.AusrichtungH = 1;
  e.AusrichtungV = 1;
  const ClassRahmen r = rahmen(300, 100, 600, 600);
  const QRect gerade = umriss(zeichne(e, r), tinte);
  e.Angle = 90;
  const QRect gedreht = umriss(zeichne(e, r), tinte);
  ASSERT_TRUE(gedreht.isValid());
  EXPECT_GT(gedreht.height(), 2 * gedreht.width());
  EXPECT_NEAR(gedreht.height(), gerade.width(), 3);
  EXPECT_NEAR(mitte(gedreht).x(), mitte(gerade).x(), 5);
  EXPECT_NEAR(mitte(gedreht).y(), mitte(gerade).y(), 5);

  // A gradient along the turned baseline runs from the bottom up.
  e.Color1 = ROT;
  e.Color2 = BLAU;
  e.ColorCircle = 1;
  const QImage bild = zeichne(e, r);
  const QRect t = umriss(bild, rotOderBlau);
  const int zehntel = t.height() / 10;
  EXPECT_GT(rotUeberBlau(bild, QRect(t.left(), t.bottom() - zehntel, t.width(), zehntel)), 150);
  EXPECT_LT(rotUeberBlau(bild, QRect(t.left(), t.top(), t.width(), zehntel)), -150);
}

TEST_F(TextZeichnen, UnsichtbarerTextNurImMuster) {
  ClassSchrift e = text(QStringLiteral("Hallo"));
  e.Sichtbar = false;
  e.ShadowDeep = 40;
  e.ShadowType = 1;  // in light grey, which the ink test passes over
  e.ColorCircle = 1;
  e.Color2 = BLAU;
  e.AusrichtungH = 2;
  const ClassRahmen r = rahmen(200, 200, 600, 300);
  EXPECT_FALSE(umriss(zeichne(e, r), tinte).isValid());

  // The dialog's sample shows it, centred in the frame whatever the alignment, at scale 1.
  s.Mustermodus = -1;
  s.Zoomfaktor = 2;
  const QRect t = umriss(zeichne(e, r), tinte);
  EXPECT_EQ(s.Zoomfaktor, 1);
  ASSERT_TRUE(t.isValid());
  EXPECT_NEAR(mitte(t).x(), mitte(rahmenPixel(r)).x(), 4);
  EXPECT_NEAR(mitte(t).y(), mitte(rahmenPixel(r)).y(), 6);
}

TEST_F(TextZeichnen, SchriftOhneNamenUndUnbrauchbareGroesse) {
  const ClassRahmen r = rahmen(100, 100, 600, 200);
  ClassSchrift e = text(QStringLiteral("Hallo"));
  e.fontname.clear();
  const QImage ohneName = zeichne(e, r);
  // The element keeps the face it was given.
  Bildflaeche flaeche(1200 * 5.67, 800 * 5.67, 15);
  SchriftZeichnen(s, flaeche, e, r);
  EXPECT_EQ(e.fontname, QStringLiteral("Arial"));
  EXPECT_EQ(e.FontSize, Variante(QStringLiteral("20")));
  EXPECT_EQ(ohneName, zeichne(text(QStringLiteral("Hallo"), 20), r));

  // No number, 0 or less: drawn at 10 points; the element keeps its value.
  const QImage zehn = zeichne(text(QStringLiteral("Hallo"), 10), r);
  for (const Variante& groesse :
       {Variante(QStringLiteral("abc")), Variante(int16_t(0)), Variante(-5.0), Variante()}) {
    ClassSchrift f = text(QStringLiteral("Hallo"));
    f.FontSize = groesse;
    EXPECT_EQ(zeichne(f, r), zehn);
  }
}

TEST_F(TextZeichnen, FelderUndAufraeumen) {
  fenster.felder[3] = QStringLiteral("Bonn");
  const ClassRahmen r = rahmen(100, 100, 900, 300);
  EXPECT_EQ(zeichne(text(QStringLiteral("#Feld03")), r), zeichne(text(QStringLiteral("Bonn")), r));

  // Shadow, gradient and rotation leave no object and no clip region behind, and the
  // surface's own font is selected again.
  ClassSchrift e = text(QStringLiteral("Hallo"));
  e.ShadowDeep = 30;
  e.ShadowType = 2;
  e.ColorCircle = 2;
  e.Italic = true;
  e.Angle = 30;
  Bildflaeche flaeche(1200 * 5.67, 800 * 5.67, 15);
  const int vorher = lebendeGdiObjekte();
  SchriftZeichnen(s, flaeche, e, r);
  e.Angle = 0;
  SchriftZeichnen(s, flaeche, e, r);
  EXPECT_EQ(lebendeGdiObjekte(), vorher);
  EXPECT_FALSE(flaeche.hdc()->hatClip());
  EXPECT_EQ(flaeche.hdc()->drehung(), 0);
  EXPECT_EQ(s.Clipbereich, HRGN(0));
}

TEST_F(TextZeichnen, DruckseiteZeigtDenTextAnDerselbenStelle) {
  ClassSchrift e = text(QStringLiteral("Hallo Welt"), 24);
  e.Color1 = ROT;
  e.Color2 = BLAU;
  e.ColorCircle = 1;
  e.ShadowDeep = 30;
  e.ShadowType = 1;
  e.ShadowColor1 = GRUEN;
  e.AusrichtungH = 1;
  const ClassRahmen r = rahmen(150, 200, 900, 300);
  const QImage bildschirm = zeichne(e, r);
  s.Zoomfaktor = 3;  // printing draws at scale 1 whatever the view's zoom
  const QImage papier = drucke(e, r);
  EXPECT_EQ(s.Zoomfaktor, 1);
  for (const Pruefung& art : {Pruefung(rotOderBlau), Pruefung(gruen)}) {
    const QRect a = umriss(bildschirm, art);
    const QRect b = umriss(papier, art);
    ASSERT_TRUE(b.isValid());
    EXPECT_NEAR(b.left(), a.left(), 2);
    EXPECT_NEAR(b.top(), a.top(), 2);
    EXPECT_NEAR(b.right(), a.right(), 2);
    EXPECT_NEAR(b.bottom(), a.bottom(), 2);
  }

  // An italic text's gradient area is wider by an "i" on paper as on screen, so a short
  // text ends in the same shade on both.
  e.Textstring = QStringLiteral("ii");
  e.FontSize = int16_t(72);
  e.Italic = true;
  e.ShadowDeep = 0;
  s.Druckmodus = 0;
  const QImage kursivSchirm = zeichne(e, r);
  const QImage kursivPapier = drucke(e, r);
  const QRect t = umriss(kursivSchirm, rotOderBlau);
  const QRect rechts(t.right() - t.width() / 5, t.top(), t.width() / 5 + 1, t.height());
  EXPECT_LT(rotUeberBlau(kursivSchirm, rechts), 0);
  EXPECT_NEAR(rotUeberBlau(kursivPapier, rechts), rotUeberBlau(kursivSchirm, rechts), 30);
}
