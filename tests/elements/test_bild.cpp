// The picture element's display: stored paths, painting into the frame on screen and on
// the print control, the cache of processed bitmaps, and pictures that cannot be loaded.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <cstdio>

#include "core/programmzustand.h"
#include "elements/picture/bild_darstellen.h"
#include "elements/shape/linie_zeichnen.h"
#include "gemeinsam/metadatei.h"
#include "platform/bildflaeche.h"
#include "platform/bildsteuerung.h"
#include "platform/drucksteuerung.h"
#include "platform/metadatei.h"

namespace {

constexpr QRgb kWeiss = 0xFFFFFFFF, kRot = 0xFFFF0000, kBlau = 0xFF0000FF;

bool aehnlich(QRgb a, QRgb b) {
  return std::abs(qRed(a) - qRed(b)) <= 24 && std::abs(qGreen(a) - qGreen(b)) <= 24 &&
         std::abs(qBlue(a) - qBlue(b)) <= 24;
}

// A 40 x 20 bitmap, left half and right half in two colours.
bool schreibeBmp(const QString& pfad, QRgb links = kRot, QRgb rechts = kBlau) {
  QImage bild(40, 20, QImage::Format_RGB32);
  for (int x = 0; x < 40; ++x)
    for (int y = 0; y < 20; ++y) bild.setPixel(x, y, x < 20 ? links : rechts);
  return bild.save(pfad, "BMP");
}

void mtimeVerschieben(const QString& pfad, int sekunden) {
  QFile datei(pfad);
  ASSERT_TRUE(datei.open(QIODevice::ReadWrite));
  ASSERT_TRUE(datei.setFileTime(QDateTime::currentDateTime().addSecs(sekunden),
                                QFileDevice::FileModificationTime));
}

ClassRahmen feld(int32_t x, int32_t y, int32_t breite, int32_t hoehe) {
  ClassRahmen r;
  r.x = x;
  r.y = y;
  r.Breite = breite;
  r.Hoehe = hoehe;
  return r;
}

// x.bmp in the start-up folder, shown in the frame (100, 100) - (500, 300) units: pixels
// 38..189 across and 38..113 down on a white page view at 15 twips per pixel.
struct BildTest : ::testing::Test {
  QTemporaryDir ordner;
  Programmzustand s;
  Bildsteuerung steuerung;
  Bildflaeche flaeche{300 * 15, 200 * 15, 15};
  ClassBild bild;
  ClassRahmen rahmen = feld(100, 100, 400, 200);

  void SetUp() override {
    bildZwischenspeicherLeeren();
    s.Startverzeichnis = ordner.path() + QLatin1Char('/');
    s.TwipsProEinheit = 5.67;
    s.TwipsProPixelX = s.TwipsProPixelY = 15;
    s.Zoomfaktor = 1;
    ASSERT_TRUE(schreibeBmp(pfad("x.bmp")));
    bild.Effekt = QStringLiteral("0");
    bild.File = pfad("x.bmp");
  }
  QString pfad(const QString& name) const { return ordner.filePath(name); }
  QImage malen() {
    flaeche.Cls();
    BildMalen(s, bild, steuerung, flaeche, rahmen);
    return flaeche.bild().convertToFormat(QImage::Format_RGB32);
  }
  QRgb bildpunkt() const { return steuerung.bild().pixel(5, 5); }
};

TEST_F(BildTest, WirdInDenRahmenGestreckt) {
  const QImage seite = malen();
  ASSERT_TRUE(steuerung.hatBitmap());
  EXPECT_TRUE(steuerung.Visible);
  EXPECT_TRUE(steuerung.Left == 0 && steuerung.Top == 0 && steuerung.Width == 0 &&
              steuerung.Height == 0);
  EXPECT_TRUE(aehnlich(seite.pixel(40, 40), kRot));
  EXPECT_TRUE(aehnlich(seite.pixel(60, 75), kRot));
  EXPECT_TRUE(aehnlich(seite.pixel(170, 75), kBlau));
  for (const QPoint& p : {QPoint(30, 75), QPoint(200, 75), QPoint(100, 125)})
    EXPECT_EQ(seite.pixel(p), kWeiss) << p.x() << "," << p.y();
}

TEST_F(BildTest, BeimDruckenInMassstab1) {
  Drucksteuerung druck;
  druck.StartDoc();
  s.Druckmodus = -1;
  s.Zoomfaktor = 2;
  s.TwipsProPixelX = s.TwipsProPixelY = 2.4;
  BildMalen(s, bild, steuerung, druck, rahmen);
  druck.EndDoc();
  EXPECT_EQ(s.Zoomfaktor, 1);
  const QImage seite = druck.seiteAlsBild(0, 96).convertToFormat(QImage::Format_RGB32);
  EXPECT_TRUE(aehnlich(seite.pixel(60, 75), kRot));
  EXPECT_TRUE(aehnlich(seite.pixel(170, 75), kBlau));
  EXPECT_EQ(seite.pixel(200, 75), kWeiss);
}

// A frame 206.2 mm wide is 4871.5 pixels wide on paper at 600 dpi: its picture is made at
// least that wide.
TEST_F(BildTest, ZielgroesseDecktDenGedrucktenRahmen) {
  s.Druckmodus = -1;
  bild.File.clear();
  BildMalen(s, bild, steuerung, flaeche, feld(0, 0, 2062, 10));
  EXPECT_GE(steuerung.zielgroesse().width(), 4872);
}

TEST_F(BildTest, GespeicherteWindowsPfadeWerdenGefunden) {
  for (const char* gespeichert : {"C:\\Briefe\\x.bmp", "C:\\Briefe\\X.BMP", "x.bmp"}) {
    steuerung.leeren();
    bild.File = QString::fromLatin1(gespeichert);
    BildDarstellen(s, bild, steuerung);
    EXPECT_EQ(steuerung.BitmapWidth(), 40) << gespeichert;
  }
  // The document's folder comes before the start-up folder.
  ASSERT_TRUE(QDir(ordner.path()).mkdir(QStringLiteral("briefe")));
  ASSERT_TRUE(schreibeBmp(pfad("briefe/x.bmp"), qRgb(0, 255, 0), qRgb(0, 255, 0)));
  s.AktuelleDatei = pfad("briefe/brief.qxm");
  BildDarstellen(s, bild, steuerung);
  EXPECT_TRUE(aehnlich(bildpunkt(), qRgb(0, 255, 0)));
}

TEST_F(BildTest, UnveraendertAusDemZwischenspeicher) {
  const int anfang = bildLadevorgaenge();
  BildDarstellen(s, bild, steuerung);
  const QImage erstes = steuerung.bild();
  ASSERT_FALSE(erstes.isNull());
  // Same file and effects, another spelling of the path, other display fields: no decode.
  steuerung.leeren();
  bild.Effekt = QStringLiteral("7");
  bild.File_Name = QStringLiteral("x.bmp");
  bild.File_Path = QStringLiteral("C:\\Briefe");
  bild.File = QStringLiteral("C:\\Briefe\\x.bmp");
  BildDarstellen(s, bild, steuerung);
  EXPECT_EQ(bildLadevorgaenge(), anfang + 1);
  EXPECT_EQ(steuerung.bild(), erstes);
  // A changed effect is processed afresh; going back finds the first result again.
  bild.Invert = true;
  BildDarstellen(s, bild, steuerung);
  EXPECT_TRUE(aehnlich(bildpunkt(), qRgb(0, 255, 255)));
  bild.Invert = false;
  BildDarstellen(s, bild, steuerung);
  EXPECT_EQ(bildLadevorgaenge(), anfang + 2);
  EXPECT_EQ(steuerung.bild(), erstes);
  // Touched on disk: loaded again. Saved over, or replaced at once by renaming a file of the
  // same size onto it: the new content shows.
  mtimeVerschieben(pfad("x.bmp"), 60);
  BildDarstellen(s, bild, steuerung);
  EXPECT_EQ(bildLadevorgaenge(), anfang + 3);
  ASSERT_TRUE(schreibeBmp(pfad("x.bmp"), qRgb(255, 255, 0), qRgb(255, 255, 0)));
  mtimeVerschieben(pfad("x.bmp"), 120);
  BildDarstellen(s, bild, steuerung);
  EXPECT_TRUE(aehnlich(bildpunkt(), qRgb(255, 255, 0)));
  ASSERT_TRUE(schreibeBmp(pfad("neu.bmp"), qRgb(0, 0, 0), qRgb(0, 0, 0)));
  ASSERT_EQ(std::rename(QFile::encodeName(pfad("neu.bmp")).constData(),
                        QFile::encodeName(pfad("x.bmp")).constData()),
            0);
  BildDarstellen(s, bild, steuerung);
  EXPECT_TRUE(aehnlich(bildpunkt(), qRgb(0, 0, 0)));
  EXPECT_EQ(bildLadevorgaenge(), anfang + 5);

  // The cache holds 64 pictures: after 64 others the first is processed anew.
  for (int i = 1; i <= 64; ++i) {
    bild.Helligkeit = static_cast<int16_t>(i * 10);
    BildDarstellen(s, bild, steuerung);
  }
  BildDarstellen(s, bild, steuerung);
  EXPECT_EQ(bildLadevorgaenge(), anfang + 69);
  bild.Helligkeit = 0;
  BildDarstellen(s, bild, steuerung);
  EXPECT_EQ(bildLadevorgaenge(), anfang + 70);
}

// One control draws every picture of the page: a redraw of a page of 20 pictures takes
// each from the cache, none is processed again, and at another zoom none is decoded again.
TEST_F(BildTest, SeiteMitVielenBildernAusDemZwischenspeicher) {
  const auto seiteMalen = [&] {
    for (int i = 0; i < 20; ++i) {
      bild.File = pfad(QStringLiteral("b%1.bmp").arg(i));
      malen();
    }
  };
  for (int i = 0; i < 20; ++i) ASSERT_TRUE(schreibeBmp(pfad(QStringLiteral("b%1.bmp").arg(i))));
  const int dekodiert = bildDekodierungen();
  seiteMalen();
  const int bearbeitet = bildLadevorgaenge();
  seiteMalen();
  EXPECT_EQ(bildLadevorgaenge(), bearbeitet);
  s.Zoomfaktor = 4;
  seiteMalen();
  EXPECT_EQ(bildLadevorgaenge(), bearbeitet + 20);
  EXPECT_EQ(bildDekodierungen(), dekodiert + 20);
}

TEST_F(BildTest, OhneOderMitUnladbarerDateiNichts) {
  // Empty File: the control is left as it was, nothing is loaded or painted.
  QImage vorher(8, 8, QImage::Format_RGB32);
  vorher.fill(Qt::green);
  steuerung.setzeBild(vorher);
  steuerung.Visible = false;
  bild.File.clear();
  const int geladen = bildLadevorgaenge();
  EXPECT_EQ(malen().pixel(60, 75), kWeiss);
  EXPECT_FALSE(steuerung.Visible);
  EXPECT_EQ(steuerung.bild(), vorher);
  EXPECT_EQ(bildLadevorgaenge(), geladen);

  // A good picture, then a missing file: no bitmap, the frame stays empty.
  bild.File = pfad("x.bmp");
  ASSERT_TRUE(aehnlich(malen().pixel(60, 75), kRot));
  bild.File = pfad("fehlt.bmp");
  EXPECT_EQ(malen().pixel(60, 75), kWeiss);
  EXPECT_FALSE(steuerung.hatBitmap());
  EXPECT_TRUE(steuerung.Visible);
  // A file that is no picture: the same, and it is not decoded again on the next redraw.
  QFile kaputt(pfad("kaputt.bmp"));
  ASSERT_TRUE(kaputt.open(QIODevice::WriteOnly));
  kaputt.write("BM das ist kein Bild");
  kaputt.close();
  bild.File = pfad("x.bmp");
  malen();
  bild.File = kaputt.fileName();
  const int vorKaputt = bildLadevorgaenge();
  EXPECT_EQ(malen().pixel(60, 75), kWeiss);
  EXPECT_FALSE(steuerung.hatBitmap());
  malen();
  EXPECT_EQ(bildLadevorgaenge(), vorKaputt + 1);
}

// Each zoom, the print and a changed effect process the picture afresh for their size, but
// from the bitmap decoded once. A metafile too big to draw leaves its frame empty at once,
// and is not decoded again either.
TEST_F(BildTest, JedeDateiWirdEinmalDekodiert) {
  const int dekodiert = bildDekodierungen();
  const int bearbeitet = bildLadevorgaenge();
  for (int zoom : {1, 2}) {
    s.Zoomfaktor = zoom;
    malen();
  }
  s.Druckmodus = -1;
  malen();
  s.Druckmodus = 0;
  s.Zoomfaktor = 1;
  bild.Invert = true;
  EXPECT_TRUE(aehnlich(malen().pixel(60, 75), qRgb(0, 255, 255)));
  EXPECT_EQ(bildDekodierungen(), dekodiert + 1);
  EXPECT_EQ(bildLadevorgaenge(), bearbeitet + 4);

  QFile viele(pfad("viele.wmf"));
  ASSERT_TRUE(viele.open(QIODevice::WriteOnly));
  viele.write(metadatei::linien(100000));
  viele.close();
  bild.File = viele.fileName();
  EXPECT_EQ(malen().pixel(60, 75), kWeiss);
  EXPECT_FALSE(steuerung.hatBitmap());
  s.Zoomfaktor = 2;
  malen();
  EXPECT_EQ(bildDekodierungen(), dekodiert + 2);
}

// A photo is decoded as large as the frame needs on the screen (a quarter of a 1600 x 1200
// JPEG for a frame of 151 pixels), kept for smaller zooms, and decoded again only where a
// larger size is needed (printing); the larger one then serves every zoom.
TEST_F(BildTest, FotoWirdInDerGezeigtenGroesseDekodiert) {
  QImage foto(1600, 1200, QImage::Format_RGB32);
  foto.fill(qRgb(200, 30, 30));
  ASSERT_TRUE(foto.save(pfad("foto.jpg"), "JPG", 90));
  EXPECT_EQ(Bildsteuerung::dekodieren(pfad("foto.jpg"), QSize(302, 227)).bild.width(), 400);
  bild.File = pfad("foto.jpg");
  const int dekodiert = bildDekodierungen();
  EXPECT_TRUE(aehnlich(malen().pixel(60, 75), qRgb(200, 30, 30)));
  s.Zoomfaktor = 0.5;
  malen();
  EXPECT_EQ(bildDekodierungen(), dekodiert + 1);
  s.Druckmodus = -1;
  malen();
  EXPECT_EQ(bildDekodierungen(), dekodiert + 2);
  EXPECT_GE(steuerung.BitmapWidth(), 945);
  s.Druckmodus = 0;
  s.Zoomfaktor = 2;
  malen();
  EXPECT_EQ(bildDekodierungen(), dekodiert + 2);
}

// A metafile the machine was too busy to draw in time leaves its frame empty with the reason,
// but is not remembered as refused: the next redraw draws it.
TEST_F(BildTest, BeschaeftigterRechnerIstKeinFehlerDerDatei) {
  QFile datei(pfad("linien.wmf"));
  ASSERT_TRUE(datei.open(QIODevice::WriteOnly));
  datei.write(metadatei::linien(100));
  datei.close();
  bild.File = datei.fileName();
  const int vorher = metadatei::setzeWartezeitMs(0);
  malen();
  metadatei::setzeWartezeitMs(vorher);
  EXPECT_FALSE(steuerung.hatBitmap());
  EXPECT_FALSE(steuerung.fehlergrund().isEmpty());
  malen();
  EXPECT_TRUE(steuerung.hatBitmap());
}

TEST_F(BildTest, EffekteMitIhrenWerten) {
  // A quarter turn grows the bitmap to hold the turned picture; a positive shear widens
  // it, a negative one makes it taller; negative noise and mosaic are skipped.
  bild.Rotate = 9000;
  BildDarstellen(s, bild, steuerung);
  EXPECT_TRUE(steuerung.BitmapWidth() == 20 && steuerung.BitmapHeight() == 40);
  bild.Rotate = 0;
  bild.EffektTrapez = 1500;
  BildDarstellen(s, bild, steuerung);
  EXPECT_TRUE(steuerung.BitmapWidth() > 40 && steuerung.BitmapHeight() == 20);
  bild.EffektTrapez = -1500;
  BildDarstellen(s, bild, steuerung);
  EXPECT_TRUE(steuerung.BitmapWidth() == 40 && steuerung.BitmapHeight() > 20);
  const QString datei = bild.File;
  bild = ClassBild();
  bild.File = datei;
  bild.EffektMosaik = bild.EffektPixel = -5;
  bild.Gray = true;
  BildDarstellen(s, bild, steuerung);
  EXPECT_TRUE(qRed(bildpunkt()) == qGreen(bildpunkt()) &&
              qGreen(bildpunkt()) == qBlue(bildpunkt()));
  EXPECT_EQ(steuerung.bild().pixel(5, 5), steuerung.bild().pixel(15, 15));
}

// A 36-megapixel photo in a frame of 40 x 30 mm, turned by 30 degrees, brightened and with
// the contrast at its most, as documents that crashed the program hold it: the picture is
// decoded within the pixel budget, processed no larger than the frame's printed size at
// 600 dpi (945 x 709 pixels, rounded up to a step), and drawn. Every further effect on it works as
// well.
TEST_F(BildTest, GrossesFotoWirdFuerDenRahmenVerkleinert) {
  QImage foto(6000, 6000, QImage::Format_RGB32);
  foto.fill(qRgb(40, 120, 200));
  ASSERT_TRUE(foto.save(pfad("gross.jpg"), "JPG", 80));
  bild.File = pfad("gross.jpg");
  bild.Rotate = 3000;
  bild.Helligkeit = 200;  // 40, 120, 200 -> 91, 171, 251
  bild.Kontrast = 1000;   // -> 0, 255, 255
  rahmen = feld(100, 100, 400, 300);
  const QImage seite = malen();
  if (const QString aus = qEnvironmentVariable("QX_TESTBILDER"); !aus.isEmpty())
    seite.save(QDir(aus).filePath(QStringLiteral("grosses_foto.png")));
  ASSERT_TRUE(steuerung.hatBitmap());
  // The page view works at twice the frame's 151 screen pixels, paper at 600 dpi.
  EXPECT_GE(steuerung.BitmapWidth(), 302);
  EXPECT_LT(steuerung.BitmapWidth(), 945);
  EXPECT_EQ(steuerung.BitmapWidth(), steuerung.BitmapHeight());
  EXPECT_EQ(seite.pixel(113, 95), qRgb(0, 255, 255));
  EXPECT_EQ(seite.pixel(40, 40), kWeiss);  // a corner uncovered by the turn
  s.Druckmodus = -1;
  malen();
  s.Druckmodus = 0;
  ASSERT_TRUE(steuerung.hatBitmap());
  EXPECT_GE(steuerung.BitmapWidth(), 945);
  EXPECT_LE(steuerung.BitmapWidth(), 1024);

  bild.Schaerfe = 300;
  bild.Farbintensitaet = 500;
  bild.Farbverschiebung = 900;
  bild.EffektPixel = 100;
  bild.EffektMosaik = 20;
  bild.EffektTrapez = -2000;
  bild.Invert = bild.Gray = true;
  malen();
  ASSERT_TRUE(steuerung.hatBitmap());
  EXPECT_LE(steuerung.BitmapWidth(), 1024);
}

// A page with the 18 forms (gradients, shadows) and a picture, as the redraw draws them.
// With QX_TESTBILDER naming a folder the page is saved there to be looked at.
TEST_F(BildTest, SeiteMitAllenFormenUndEinemBild) {
  Bildflaeche seite(2100 * 5.67, 2970 * 5.67, 15);
  seite.Cls();
  for (int16_t form = 1; form <= 18; ++form) {
    const ClassLinie l{.Fuellung = form % 2 == 0,
                       .Staerke = static_cast<int16_t>(10 + 2 * form),
                       .ColorCircle = static_cast<int16_t>(form % 3),
                       .ShadowType = static_cast<int16_t>(form % 2 == 0 ? 1 : 2),
                       .ShadowDeep = static_cast<int16_t>(form % 4 == 0 ? 0 : 15),
                       .ShadowAngle = static_cast<int16_t>(20 * form),
                       .ShadowColor2 = RGB(255, 255, 255),
                       .ShadowColor1 = RGB(160, 160, 160),
                       .Form = form,
                       .Color2 = RGB(0, 0, 200),
                       .Color1 = RGB(200, 0, 0)};
    LinieZeichnen(s, seite, l,
                  feld(150 + ((form - 1) % 3) * 650, 150 + ((form - 1) / 3) * 400, 450, 250));
  }
  bild.Rotate = 1500;
  bild.EffektTrapez = 1000;
  BildMalen(s, bild, steuerung, seite, feld(150, 2600, 800, 300));
  const QImage ergebnis = seite.bild().convertToFormat(QImage::Format_RGB32);
  if (const QString aus = qEnvironmentVariable("QX_TESTBILDER"); !aus.isEmpty())
    ergebnis.save(QDir(aus).filePath(QStringLiteral("linien_und_bild.png")));
  // Form 16 (filled, gradient left to right); the picture's frame; the page's edge.
  EXPECT_GT(qRed(ergebnis.pixel(80, 860)), qBlue(ergebnis.pixel(80, 860)));
  EXPECT_GT(qBlue(ergebnis.pixel(200, 860)), qRed(ergebnis.pixel(200, 860)));
  EXPECT_NE(ergebnis.pixel(200, 1040), kWeiss);
  EXPECT_EQ(ergebnis.pixel(780, 1100), kWeiss);
}

}  // namespace
