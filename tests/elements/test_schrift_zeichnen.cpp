// The text renderer on picture surfaces and on the print control: pixels at known places.
// With QX_TESTBILDER naming a folder, the rendered pictures are saved there to be looked at.
#include <gtest/gtest.h>

#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <QtEndian>
#include <cmath>
#include <functional>
#include <map>

#include "core/programmzustand.h"
#include "elements/text/schrift_zeichnen.h"
#include "gemeinsam/testfenster.h"
#include "platform/bildflaeche.h"
#include "platform/drucksteuerung.h"

namespace {

constexpr int32_t ROT = RGB(255, 0, 0), BLAU = RGB(0, 0, 255), GRUEN = RGB(0, 200, 0);
using Pruefung = std::function<bool(QRgb)>;
bool tinte(QRgb p) { return qRed(p) < 160 || qGreen(p) < 160 || qBlue(p) < 160; }
bool dunkel(QRgb p) { return qRed(p) < 90 && qGreen(p) < 90 && qBlue(p) < 90; }
bool gruen(QRgb p) { return qGreen(p) > 120 && qRed(p) < 90 && qBlue(p) < 90; }
bool farbig(QRgb p) { return qGreen(p) < 90 && (qRed(p) > 120 || qBlue(p) > 120); }

// Bounding box of the pixels that pass the test, and the mean red minus blue of the red or
// blue pixels in a part of the picture.
QRect umriss(const QImage& b, const Pruefung& p) {
  QRect r;
  for (int y = 0; y < b.height(); ++y)
    for (int x = 0; x < b.width(); ++x)
      if (p(b.pixel(x, y))) r |= QRect(x, y, 1, 1);
  return r;
}
double rotMinusBlau(const QImage& b, QRect teil) {
  double summe = 0;
  int n = 0;
  teil &= b.rect();
  for (int y = teil.top(); y <= teil.bottom(); ++y)
    for (int x = teil.left(); x <= teil.right(); ++x)
      if (farbig(b.pixel(x, y))) summe += qRed(b.pixel(x, y)) - qBlue(b.pixel(x, y)), ++n;
  return n ? summe / n : 0;
}
QPointF mitte(const QRect& r) { return QRectF(r).center(); }
// How many pixels pass the test, and how much ink the picture holds (darkness summed).
int anzahl(const QImage& b, const Pruefung& p) {
  int n = 0;
  for (int y = 0; y < b.height(); ++y)
    for (int x = 0; x < b.width(); ++x) n += p(b.pixel(x, y));
  return n;
}
double tinteSumme(const QImage& b) {
  double summe = 0;
  for (int y = 0; y < b.height(); ++y)
    for (int x = 0; x < b.width(); ++x)
      summe += 765 - qRed(b.pixel(x, y)) - qGreen(b.pixel(x, y)) - qBlue(b.pixel(x, y));
  return summe;
}

// A copy of a TrueType font whose family is named `familie`: a new name table (family,
// style, full and PostScript name; Windows, Unicode, US English) is appended and the table
// directory points to it.
QByteArray umbenannt(QByteArray ttf, const QString& familie) {
  const QList<std::pair<quint16, QString>> namen = {
      {1, familie}, {2, QStringLiteral("Regular")}, {4, familie}, {6, QStringLiteral("Lang")}};
  auto wort = [](QByteArray& b, quint16 w) { b.append(char(w >> 8)).append(char(w & 255)); };
  QByteArray tabelle, texte;
  wort(tabelle, 0);
  wort(tabelle, quint16(namen.size()));
  wort(tabelle, quint16(6 + 12 * namen.size()));
  for (const auto& [id, text] : namen) {
    QByteArray utf16;
    for (QChar c : text) wort(utf16, c.unicode());
    for (quint16 w :
         {quint16(3), quint16(1), quint16(0x409), id, quint16(utf16.size()), quint16(texte.size())})
      wort(tabelle, w);
    texte.append(utf16);
  }
  tabelle.append(texte);
  while (ttf.size() % 4) ttf.append('\0');
  const quint32 ort = quint32(ttf.size());
  const int tabellen = qFromBigEndian<quint16>(ttf.constData() + 4);
  for (int i = 0; i < tabellen; ++i) {
    char* eintrag = ttf.data() + 12 + 16 * i;
    if (QByteArrayView(eintrag, 4) != "name") continue;
    qToBigEndian(ort, eintrag + 8);
    qToBigEndian(quint32(tabelle.size()), eintrag + 12);
  }
  return ttf + tabelle;
}

struct TextZeichnen : ::testing::Test {
  Programmzustand s;
  TestFenster fenster;
  int nummer = 0;
  ClassSchrift e;
  ClassRahmen r;

  void SetUp() override {
    s.fenster = &fenster;
    s.Zoomfaktor = 1;
    s.TwipsProPixelX = s.TwipsProPixelY = 15;
    s.Verlaufsstufen = 100;
    e.Sichtbar = true;
    e.Textstring = QStringLiteral("Hallo Welt");
    e.fontname = QStringLiteral("Arial");
    e.FontSize = int16_t(20);
    e.ShadowAngle = 45;
    e.ShadowColor1 = RGB(192, 192, 192);
    rahmen(100, 100, 600, 200);
  }
  void rahmen(int32_t x, int32_t y, int32_t breite, int32_t hoehe) {
    r.x = x, r.y = y, r.Breite = breite, r.Hoehe = hoehe;
  }
  // The frame in pixels of a surface with 15 twips per pixel.
  QRect rahmenPixel() const {
    const double f = 5.67 / 15;
    return QRectF(r.x * f, r.y * f, r.Breite * f, r.Hoehe * f).toAlignedRect();
  }
  QImage ablegen(const QImage& bild) {
    const QString ordner = qEnvironmentVariable("QX_TESTBILDER");
    const QString name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    if (!ordner.isEmpty())
      bild.save(QStringLiteral("%1/%2_%3.png").arg(ordner, name).arg(++nummer));
    return bild;
  }
  // The element drawn on a white picture surface of 1200 x 800 units (15 twips per pixel).
  QImage zeichne() {
    Bildflaeche flaeche(1200 * 5.67, 800 * 5.67, 15);
    SchriftZeichnen(s, flaeche, e, r);
    return ablegen(flaeche.bild().copy());
  }
  // The element printed on a page of the print control, the page seen at 96 dpi.
  QImage drucke() {
    Drucksteuerung druck;
    druckeIn(druck);
    return ablegen(druck.seiteAlsBild(0, 96));
  }
  // The element printed as the one page of the print control's document.
  void druckeIn(Drucksteuerung& druck) {
    druck.StartDoc();
    s.Druckmodus = -1;
    s.TwipsProPixelX = s.TwipsProPixelY = 1440.0 / Drucksteuerung::AUFLOESUNG;
    SchriftZeichnen(s, druck, e, r);
    druck.EndDoc();
    s.Druckmodus = 0;
    s.TwipsProPixelX = s.TwipsProPixelY = 15;
  }
};

}  // namespace

TEST_F(TextZeichnen, TextImRahmenUndAusrichtung) {
  e.Color1 = ROT;
  QImage bild = zeichne();
  ASSERT_TRUE(umriss(bild, [](QRgb p) { return qRed(p) > 200 && qGreen(p) < 60; }).isValid());
  QRect t = umriss(bild, tinte);
  EXPECT_TRUE(rahmenPixel().contains(t));  // and nothing outside the frame
  EXPECT_NEAR(t.left(), rahmenPixel().left(), 3);

  // Left, centre, right; top, centre, bottom (the text's cell is aligned, not its ink).
  e.Textstring = QStringLiteral("HHHHH");
  e.Color1 = 0;
  rahmen(200, 150, 800, 400);
  const QRect f = rahmenPixel();
  for (int16_t h = 0; h <= 2; ++h) {
    e.AusrichtungH = e.AusrichtungV = h;
    t = umriss(zeichne(), dunkel);
    const double erwartetX[] = {f.left() + 2.0, mitte(f).x() - t.width() / 2.0,
                                f.right() - 2.0 - t.width()};
    const double erwartetY[] = {f.top() + 5.0, mitte(f).y() - t.height() / 2.0 + 2,
                                f.bottom() - 6.0 - t.height()};
    EXPECT_NEAR(t.left(), erwartetX[h], 3) << h;
    EXPECT_NEAR(t.top(), erwartetY[h], 4) << h;
  }
}

TEST_F(TextZeichnen, BlockschattenRechtsDaneben) {
  e.Textstring = QStringLiteral("HHH");
  e.ShadowDeep = 50;
  e.ShadowAngle = 0;
  e.ShadowType = 1;
  e.ShadowColor1 = GRUEN;
  const QImage bild = zeichne();
  const double versatz = s.TextAusdehnungY / 100 * 50 / 15;  // pixels
  const QRect schrift = umriss(bild, dunkel), schatten = umriss(bild, gruen);
  ASSERT_TRUE(schatten.isValid());
  EXPECT_NEAR(schatten.right() - schrift.right(), versatz, 2);
  EXPECT_NEAR(schatten.top(), schrift.top(), 1);
  EXPECT_NEAR(schatten.bottom(), schrift.bottom(), 1);
}

TEST_F(TextZeichnen, GrosserTextMitLangemSchattenAufDerDruckseite) {
  // A 450-pt text centred on the page with a graded shadow of 100, and with the longest
  // shadow a document holds: the recorded page shows the text, and the shadow where it
  // falls on the page.
  e.Textstring = QStringLiteral("Briefkopf");
  e.FontSize = int16_t(450);
  e.AusrichtungH = e.AusrichtungV = 1;
  e.Color1 = BLAU;
  e.ShadowType = 2;
  e.ShadowColor1 = e.ShadowColor2 = GRUEN;
  e.ShadowAngle = 225;
  rahmen(0, 0, 2100, 2970);
  for (int16_t tiefe : {int16_t(100), int16_t(32767)}) {
    e.ShadowDeep = tiefe;
    const QImage seite = drucke();
    EXPECT_GT(anzahl(seite, farbig), 20000) << tiefe;  // the text
    if (tiefe == 100) {
      EXPECT_GT(anzahl(seite, gruen), 20000);  // its shadow
    }
  }
}

TEST_F(TextZeichnen, GedrehterGrosserVerlaufNurSoweitDieSeiteReicht) {
  // A turned 500-pt text with a gradient, its bands reaching far beyond the page: the
  // regions that divide it into bands are held (and recorded with the page) only as far as
  // the page reaches, a rectangle or two per row of the page.
  e.Textstring = QStringLiteral("Briefkopf");
  e.FontSize = int16_t(500);
  e.Angle = 45;
  e.ColorCircle = 1;
  e.Color1 = ROT;
  e.Color2 = BLAU;
  e.AusrichtungH = e.AusrichtungV = 1;
  rahmen(0, 0, 2100, 2970);
  Drucksteuerung druck;
  druckeIn(druck);
  const int zeilen = static_cast<int>(druck.PaperHeight * Drucksteuerung::AUFLOESUNG / 1440);
  // Two regions of at most two rectangles per row, 16 bytes each.
  EXPECT_LT(druck.seite(0).size(), 2 * 2 * 16 * zeilen + 100000);
  EXPECT_GT(anzahl(ablegen(druck.seiteAlsBild(0, 24)), farbig), 1000);
}

TEST_F(TextZeichnen, FarbverlaufLaengsQuerUndGedreht) {
  e.Textstring = QStringLiteral("HHHHHH");
  e.FontSize = int16_t(40);
  e.Color1 = ROT;
  e.Color2 = BLAU;
  e.AusrichtungH = e.AusrichtungV = 1;
  rahmen(300, 50, 800, 700);
  // Along: red on the left, blue on the right; across (2 and 3 alike): top to bottom;
  // turned by 90 degrees, along runs from the bottom up.
  for (auto [kreis, winkel] : {std::pair{1, 0}, std::pair{2, 0}, std::pair{1, 90}}) {
    e.ColorCircle = static_cast<int16_t>(kreis);
    e.Angle = static_cast<int16_t>(winkel);
    const QImage bild = zeichne();
    const QRect t = umriss(bild, farbig);
    const bool quer = (kreis == 1) == (winkel == 90);
    const QRect anfang = quer ? QRect(t.left(), t.top(), t.width(), t.height() / 8)
                              : QRect(t.left(), t.top(), t.width() / 8, t.height());
    const QRect ende = quer ? anfang.translated(0, t.height() - anfang.height())
                            : anfang.translated(t.width() - anfang.width(), 0);
    const double vorn = rotMinusBlau(bild, winkel ? ende : anfang);
    const double hinten = rotMinusBlau(bild, winkel ? anfang : ende);
    EXPECT_GT(vorn, 120) << kreis << " " << winkel;
    EXPECT_LT(hinten, -120) << kreis << " " << winkel;
    if (kreis == 2) {
      e.ColorCircle = 3;
      EXPECT_EQ(zeichne(), bild);
    }
  }
  // A turned text's bands run along its baseline: the fully inked pixels at one distance
  // from the baseline share their shade from the first letter to the last.
  e.Textstring = QStringLiteral("HHHHHHHHHHHH");
  e.FontSize = int16_t(20);
  e.ColorCircle = 2;
  e.Angle = 17;
  const QImage bild = zeichne();
  const double c = std::cos(17 * 3.1415 / 180), sn = std::sin(17 * 3.1415 / 180);
  std::map<int, std::pair<int, int>> roetenJeAbstand;  // least and most red
  for (int y = 0; y < bild.height(); ++y)
    for (int x = 0; x < bild.width(); ++x) {
      const QRgb p = bild.pixel(x, y);
      if (qGreen(p) != 0 || qRed(p) + qBlue(p) != 255) continue;
      const int abstand = int(std::floor(2 * (x * sn + y * c)));  // half pixels
      auto& [wenig, viel] = roetenJeAbstand.try_emplace(abstand, 255, 0).first->second;
      wenig = std::min(wenig, qRed(p));
      viel = std::max(viel, qRed(p));
    }
  ASSERT_GT(roetenJeAbstand.size(), 10u);
  for (const auto& [abstand, roete] : roetenJeAbstand)
    EXPECT_LE(roete.second - roete.first, 10) << abstand;
}

TEST_F(TextZeichnen, VerlaufInEinerFarbeWieSchlichterText) {
  // A gradient from a colour to itself looks like plain text in that colour, straight and
  // turned.
  e.Textstring = QStringLiteral("Wasser & Öl");
  e.FontSize = int16_t(36);
  e.Color1 = e.Color2 = ROT;
  e.AusrichtungH = e.AusrichtungV = 1;
  auto nichtWeiss = [](QRgb p) { return (p & 0xFFFFFF) != 0xFFFFFF; };
  for (int16_t winkel : {int16_t(0), int16_t(30)}) {
    e.Angle = winkel;
    e.ColorCircle = 0;
    const QImage schlicht = zeichne();
    for (int16_t kreis : {int16_t(1), int16_t(2)}) {
      e.ColorCircle = kreis;
      const QImage verlauf = zeichne();
      EXPECT_NEAR(anzahl(verlauf, nichtWeiss), anzahl(schlicht, nichtWeiss),
                  anzahl(schlicht, nichtWeiss) / 100)
          << winkel << " " << kreis;
      EXPECT_NEAR(tinteSumme(verlauf), tinteSumme(schlicht), tinteSumme(schlicht) / 100);
    }
  }
}

TEST_F(TextZeichnen, GedrehterTextBleibtUmSeineMitte) {
  e.FontSize = int16_t(24);
  e.AusrichtungH = e.AusrichtungV = 1;
  rahmen(300, 100, 600, 600);
  const QRect gerade = umriss(zeichne(), tinte);
  e.Angle = 90;
  const QRect gedreht = umriss(zeichne(), tinte);
  EXPECT_NEAR(gedreht.height(), gerade.width(), 3);
  EXPECT_NEAR(gedreht.width(), gerade.height(), 3);
  EXPECT_NEAR(mitte(gedreht).x(), mitte(gerade).x(), 5);
  EXPECT_NEAR(mitte(gedreht).y(), mitte(gerade).y(), 5);
  // An angle below 0 (only a document can hold one) turns like its counterpart in 0..360.
  e.Angle = 270;
  const QImage dreiviertel = zeichne();
  e.Angle = -90;
  EXPECT_EQ(zeichne(), dreiviertel);
}

TEST_F(TextZeichnen, UnsichtbarNurImMusterUndDortMittig) {
  e.Sichtbar = false;
  e.ShadowDeep = 40;
  e.ShadowType = 1;  // in light grey, which the ink test passes over
  e.ColorCircle = 1;
  e.AusrichtungH = 2;
  EXPECT_FALSE(umriss(zeichne(), tinte).isValid());
  e.Sichtbar = true;
  s.Zoomfaktor = 0;  // no scale: nothing to draw, and no division by it
  EXPECT_FALSE(umriss(zeichne(), tinte).isValid());
  e.Sichtbar = false;
  s.Mustermodus = -1;
  s.Zoomfaktor = 2;
  const QRect t = umriss(zeichne(), tinte);
  EXPECT_EQ(s.Zoomfaktor, 1);
  EXPECT_NEAR(mitte(t).x(), mitte(rahmenPixel()).x(), 4);
  EXPECT_NEAR(mitte(t).y(), mitte(rahmenPixel()).y(), 6);
}

TEST_F(TextZeichnen, ErsatzschriftUndAufraeumen) {
  const QImage arial20 = zeichne();
  e.fontname.clear();
  EXPECT_EQ(zeichne(), arial20);
  EXPECT_EQ(e.fontname, "Arial");
  EXPECT_EQ(e.FontSize, Variante(QStringLiteral("20")));
  // A size that is no number, 0 or less draws at 10 points.
  e.FontSize = int16_t(10);
  const QImage zehn = zeichne();
  for (const Variante& groesse :
       {Variante(QStringLiteral("abc")), Variante(int16_t(0)), Variante(-5.0)}) {
    e.FontSize = groesse;
    EXPECT_EQ(zeichne(), zehn);
  }
  // Shadow, gradient and rotation leave no GDI object, no clip region and no font behind.
  e.ShadowDeep = 30;
  e.ColorCircle = 2;
  e.Italic = true;
  Bildflaeche flaeche(5000, 3000, 15);
  const int vorher = lebendeGdiObjekte();
  for (int16_t winkel : {int16_t(30), int16_t(0)}) {
    e.Angle = winkel;
    SchriftZeichnen(s, flaeche, e, r);
  }
  EXPECT_EQ(lebendeGdiObjekte(), vorher);
  EXPECT_FALSE(flaeche.hdc()->hatClip());
  EXPECT_EQ(flaeche.hdc()->drehung(), 0);
}

TEST_F(TextZeichnen, DruckseiteZeigtDenTextAnDerselbenStelle) {
  e.Color1 = ROT;
  e.Color2 = BLAU;
  e.ColorCircle = 1;
  e.ShadowDeep = 30;
  e.ShadowType = 1;
  e.ShadowColor1 = GRUEN;
  e.AusrichtungH = 1;
  rahmen(150, 200, 900, 300);
  const QImage schirm = zeichne();
  s.Zoomfaktor = 3;  // printing draws at scale 1 whatever the view's zoom
  const QImage papier = drucke();
  EXPECT_EQ(s.Zoomfaktor, 1);
  for (const Pruefung& art : {Pruefung(farbig), Pruefung(gruen)}) {
    const QRect a = umriss(schirm, art), b = umriss(papier, art);
    EXPECT_NEAR(b.left(), a.left(), 2);
    EXPECT_NEAR(b.top(), a.top(), 2);
    EXPECT_NEAR(b.right(), a.right(), 2);
    EXPECT_NEAR(b.bottom(), a.bottom(), 2);
  }
  // The italic allowance widens the gradient by an "i" in pixels on paper as on screen,
  // so a short text ends in the same shade on both.
  e.Textstring = QStringLiteral("ii");
  e.FontSize = int16_t(72);
  e.Italic = true;
  const QImage kursiv = zeichne();
  const QRect t = umriss(kursiv, farbig);
  const QRect ende(t.right() - t.width() / 5, t.top(), t.width() / 5 + 1, t.height());
  EXPECT_LT(rotMinusBlau(kursiv, ende), 0);
  EXPECT_NEAR(rotMinusBlau(drucke(), ende), rotMinusBlau(kursiv, ende), 30);
}

TEST_F(TextZeichnen, LangerFamiliennameZeichnetInSeinerSchrift) {
  const QString lang = QStringLiteral("Monospace Test Family With Forty Letters");
  ASSERT_EQ(lang.size(), 40);
  LogFont lf;
  lf.lfFaceName = lang + QChar(0) + QStringLiteral("Rest");
  EXPECT_EQ(schriftAusLogFont(lf).family(), lang);

  QFile datei(QStringLiteral("/usr/share/fonts/truetype/liberation/LiberationMono-Regular.ttf"));
  if (!datei.open(QIODevice::ReadOnly)) GTEST_SKIP() << "Liberation Mono is not installed";
  // The same font under a short name draws the picture to compare with: the system may
  // hold more than one version of Liberation Mono.
  const QByteArray daten = datei.readAll();
  const QString kurz = QStringLiteral("Kurze Testfamilie");
  const int kurzId = QFontDatabase::addApplicationFontFromData(umbenannt(daten, kurz));
  const int id = QFontDatabase::addApplicationFontFromData(umbenannt(daten, lang));
  ASSERT_GE(kurzId, 0);
  ASSERT_GE(id, 0);
  ASSERT_EQ(QFontDatabase::applicationFontFamilies(id), QStringList(lang));
  e.Textstring = QStringLiteral("iiiiWWWW");
  e.fontname = kurz;
  const QImage vorlage = zeichne();
  e.fontname = lang;
  EXPECT_TRUE(zeichne() == vorlage);
  QFontDatabase::removeApplicationFont(id);
  QFontDatabase::removeApplicationFont(kurzId);
}
