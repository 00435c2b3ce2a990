// The picture element's display: loading through stored paths, painting into the frame,
// the cache of processed bitmaps, and pictures that cannot be loaded.
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
#include "platform/bildflaeche.h"
#include "platform/bildsteuerung.h"
#include "platform/drucksteuerung.h"

namespace {

constexpr QRgb kWeiss = 0xFFFFFFFF;

bool aehnlich(QRgb a, QRgb b, int toleranz = 24) {
  return std::abs(qRed(a) - qRed(b)) <= toleranz && std::abs(qGreen(a) - qGreen(b)) <= toleranz &&
         std::abs(qBlue(a) - qBlue(b)) <= toleranz;
}

// A 40 x 20 bitmap: left half red, right half blue (or other colours).
bool schreibeBmp(const QString& pfad, QRgb links = qRgb(255, 0, 0), QRgb rechts = qRgb(0, 0, 255)) {
  QImage bild(40, 20, QImage::Format_RGB32);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x) bild.setPixel(x, y, x < 20 ? links : rechts);
  return bild.save(pfad, "BMP");
}

struct BildTest : ::testing::Test {
  QTemporaryDir ordner;
  Programmzustand s;
  Bildsteuerung steuerung;
  Bildflaeche flaeche{300 * 15, 200 * 15, 15};
  ClassBild bild;
  ClassRahmen rahmen;

  void SetUp() override {
    ASSERT_TRUE(ordner.isValid());
    bildZwischenspeicherLeeren();
    s.Startverzeichnis = ordner.path() + QLatin1Char('/');
    s.TwipsProEinheit = 5.67;
    s.TwipsProPixelX = s.TwipsProPixelY = 15;
    s.Zoomfaktor = 1;
    flaeche.Cls();
    ASSERT_TRUE(schreibeBmp(pfad("x.bmp")));
    bild.Effekt = QStringLiteral("0");
    bild.File = pfad("x.bmp");
    // Frame (100, 100) - (500, 300) units: pixels 38..189 across, 38..113 down.
    rahmen.Objekttyp = QStringLiteral("Bild");
    rahmen.x = 100;
    rahmen.y = 100;
    rahmen.Breite = 400;
    rahmen.Hoehe = 200;
  }

  QString pfad(const QString& name) const { return ordner.filePath(name); }

  QImage malen() {
    BildMalen(s, bild, steuerung, flaeche, rahmen);
    return flaeche.bild().convertToFormat(QImage::Format_RGB32);
  }
};

TEST_F(BildTest, OhneDateiBleibtDieSteuerungUnberuehrt) {
  QImage vorher(8, 8, QImage::Format_RGB32);
  vorher.fill(Qt::green);
  steuerung.setzeBild(vorher);
  steuerung.Visible = false;
  bild.File.clear();
  const int geladen = bildLadevorgaenge();
  BildDarstellen(s, bild, steuerung);
  EXPECT_FALSE(steuerung.Visible);
  EXPECT_EQ(steuerung.bild(), vorher);
  EXPECT_EQ(bildLadevorgaenge(), geladen);
  // Nor is anything painted into the frame.
  steuerung.Visible = true;
  const QImage seite = malen();
  EXPECT_EQ(seite.pixel(60, 75), kWeiss);
}

TEST_F(BildTest, BildWirdInDenRahmenGestreckt) {
  const QImage seite = malen();
  ASSERT_TRUE(steuerung.hatBitmap());
  EXPECT_TRUE(steuerung.Visible);
  EXPECT_EQ(steuerung.Left, 0);
  EXPECT_EQ(steuerung.Width, 0);
  EXPECT_TRUE(aehnlich(seite.pixel(60, 75), qRgb(255, 0, 0)));
  EXPECT_TRUE(aehnlich(seite.pixel(170, 75), qRgb(0, 0, 255)));
  EXPECT_TRUE(aehnlich(seite.pixel(40, 40), qRgb(255, 0, 0)));
  EXPECT_EQ(seite.pixel(30, 75), kWeiss);
  EXPECT_EQ(seite.pixel(200, 75), kWeiss);
  EXPECT_EQ(seite.pixel(100, 125), kWeiss);

  // At zoom 200 the frame covers twice the pixels.
  flaeche.Cls();
  s.Zoomfaktor = 2;
  const QImage doppelt = malen();
  EXPECT_TRUE(aehnlich(doppelt.pixel(250, 150), qRgb(0, 0, 255)));
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
  EXPECT_TRUE(aehnlich(seite.pixel(60, 75), qRgb(255, 0, 0)));
  EXPECT_TRUE(aehnlich(seite.pixel(170, 75), qRgb(0, 0, 255)));
  EXPECT_EQ(seite.pixel(200, 75), kWeiss);
}

TEST_F(BildTest, GespeicherteWindowsPfadeWerdenGefunden) {
  // In the start-up folder, whatever the letter case of the stored name.
  for (const char* gespeichert : {"C:\\Briefe\\x.bmp", "C:\\Briefe\\X.BMP", "x.bmp"}) {
    steuerung.leeren();
    bild.File = QString::fromLatin1(gespeichert);
    BildDarstellen(s, bild, steuerung);
    EXPECT_TRUE(steuerung.hatBitmap()) << gespeichert;
    EXPECT_EQ(steuerung.BitmapWidth(), 40) << gespeichert;
  }
  // The document's folder comes before the start-up folder.
  ASSERT_TRUE(QDir(ordner.path()).mkdir(QStringLiteral("dokumente")));
  ASSERT_TRUE(schreibeBmp(pfad("dokumente/x.bmp"), qRgb(0, 255, 0), qRgb(0, 255, 0)));
  s.AktuelleDatei = pfad("dokumente/brief.qxm");
  bild.File = QStringLiteral("C:\\Briefe\\x.bmp");
  BildDarstellen(s, bild, steuerung);
  ASSERT_TRUE(steuerung.hatBitmap());
  EXPECT_TRUE(aehnlich(steuerung.bild().pixel(5, 5), qRgb(0, 255, 0)));
}

TEST_F(BildTest, ZwischenspeicherVermeidetNeuesDekodieren) {
  const int anfang = bildLadevorgaenge();
  BildDarstellen(s, bild, steuerung);
  const QImage erstes = steuerung.bild();
  ASSERT_FALSE(erstes.isNull());
  EXPECT_EQ(bildLadevorgaenge(), anfang + 1);

  // Unchanged file and effects: same pixels, no decode. Display-only fields do not count.
  steuerung.leeren();
  bild.Effekt = QStringLiteral("7");
  bild.File_Name = QStringLiteral("x.bmp");
  bild.File_Path = QStringLiteral("C:\\Briefe");
  bild.File_Dir = QStringLiteral("c:");
  BildDarstellen(s, bild, steuerung);
  EXPECT_EQ(bildLadevorgaenge(), anfang + 1);
  EXPECT_EQ(steuerung.bild(), erstes);
  // The same file under another stored spelling is the same picture.
  bild.File = QStringLiteral("C:\\Briefe\\x.bmp");
  BildDarstellen(s, bild, steuerung);
  EXPECT_EQ(bildLadevorgaenge(), anfang + 1);

  // A changed effect is processed afresh; going back finds the first result again.
  bild.Invert = true;
  BildDarstellen(s, bild, steuerung);
  EXPECT_EQ(bildLadevorgaenge(), anfang + 2);
  EXPECT_TRUE(aehnlich(steuerung.bild().pixel(5, 5), qRgb(0, 255, 255)));
  bild.Invert = false;
  BildDarstellen(s, bild, steuerung);
  EXPECT_EQ(bildLadevorgaenge(), anfang + 2);
  EXPECT_EQ(steuerung.bild(), erstes);

  // A file touched on disk is loaded again; one rewritten shows its new content.
  QFile datei(pfad("x.bmp"));
  ASSERT_TRUE(datei.open(QIODevice::ReadWrite));
  ASSERT_TRUE(datei.setFileTime(QDateTime::currentDateTime().addSecs(60),
                                QFileDevice::FileModificationTime));
  datei.close();
  BildDarstellen(s, bild, steuerung);
  EXPECT_EQ(bildLadevorgaenge(), anfang + 3);
  // Saved over in place a minute later.
  ASSERT_TRUE(schreibeBmp(pfad("x.bmp"), qRgb(255, 255, 0), qRgb(255, 255, 0)));
  ASSERT_TRUE(datei.open(QIODevice::ReadWrite));
  ASSERT_TRUE(datei.setFileTime(QDateTime::currentDateTime().addSecs(120),
                                QFileDevice::FileModificationTime));
  datei.close();
  BildDarstellen(s, bild, steuerung);
  EXPECT_EQ(bildLadevorgaenge(), anfang + 4);
  EXPECT_TRUE(aehnlich(steuerung.bild().pixel(5, 5), qRgb(255, 255, 0)));
  // Replaced by another file of the same size renamed onto it, at once.
  ASSERT_TRUE(schreibeBmp(pfad("neu.bmp"), qRgb(0, 0, 0), qRgb(0, 0, 0)));
  ASSERT_EQ(std::rename(QFile::encodeName(pfad("neu.bmp")).constData(),
                        QFile::encodeName(pfad("x.bmp")).constData()),
            0);
  BildDarstellen(s, bild, steuerung);
  EXPECT_EQ(bildLadevorgaenge(), anfang + 5);
  EXPECT_TRUE(aehnlich(steuerung.bild().pixel(5, 5), qRgb(0, 0, 0)));
}

TEST_F(BildTest, ZwischenspeicherIstBegrenzt) {
  // 17 different pictures, then the first again: it was dropped and is decoded anew,
  // while the most recent one is still kept.
  const int anfang = bildLadevorgaenge();
  for (int i = 0; i <= 16; ++i) {
    bild.Helligkeit = static_cast<int16_t>(i * 10);
    BildDarstellen(s, bild, steuerung);
  }
  EXPECT_EQ(bildLadevorgaenge(), anfang + 17);
  BildDarstellen(s, bild, steuerung);
  EXPECT_EQ(bildLadevorgaenge(), anfang + 17);
  bild.Helligkeit = 0;
  BildDarstellen(s, bild, steuerung);
  EXPECT_EQ(bildLadevorgaenge(), anfang + 18);
}

TEST_F(BildTest, UnladbaresBildZeichntNichts) {
  // A good picture first, then a missing file: the frame stays empty.
  ASSERT_TRUE(aehnlich(malen().pixel(60, 75), qRgb(255, 0, 0)));
  flaeche.Cls();
  bild.File = pfad("fehlt.bmp");
  QImage seite = malen();
  EXPECT_FALSE(steuerung.hatBitmap());
  EXPECT_TRUE(steuerung.Visible);
  EXPECT_EQ(seite.pixel(60, 75), kWeiss);

  // A file that is no picture: no bitmap either, and it is not decoded on every redraw.
  QFile kaputt(pfad("kaputt.bmp"));
  ASSERT_TRUE(kaputt.open(QIODevice::WriteOnly));
  kaputt.write("BM das ist kein Bild");
  kaputt.close();
  bild.File = pfad("x.bmp");
  malen();
  flaeche.Cls();
  bild.File = kaputt.fileName();
  const int vorher = bildLadevorgaenge();
  seite = malen();
  EXPECT_FALSE(steuerung.hatBitmap());
  EXPECT_EQ(seite.pixel(60, 75), kWeiss);
  malen();
  EXPECT_EQ(bildLadevorgaenge(), vorher + 1);
}

TEST_F(BildTest, EffekteWirkenMitIhrenWerten) {
  // Rotation by 90 degrees grows the bitmap to hold the turned picture; 0 turns nothing.
  bild.Rotate = 9000;
  BildDarstellen(s, bild, steuerung);
  EXPECT_EQ(steuerung.BitmapWidth(), 20);
  EXPECT_EQ(steuerung.BitmapHeight(), 40);
  bild.Rotate = 0;
  BildDarstellen(s, bild, steuerung);
  EXPECT_EQ(steuerung.BitmapWidth(), 40);

  // A positive shear widens the picture, a negative one makes it taller.
  bild.EffektTrapez = 1500;
  BildDarstellen(s, bild, steuerung);
  EXPECT_GT(steuerung.BitmapWidth(), 40);
  EXPECT_EQ(steuerung.BitmapHeight(), 20);
  bild.EffektTrapez = -1500;
  BildDarstellen(s, bild, steuerung);
  EXPECT_EQ(steuerung.BitmapWidth(), 40);
  EXPECT_GT(steuerung.BitmapHeight(), 20);

  // Negative noise and mosaic are skipped; grey scale comes last.
  bild.EffektTrapez = 0;
  bild.EffektPixel = -5;
  bild.EffektMosaik = -5;
  bild.Gray = true;
  BildDarstellen(s, bild, steuerung);
  const QRgb p = steuerung.bild().pixel(5, 5);
  EXPECT_EQ(qRed(p), qGreen(p));
  EXPECT_EQ(qGreen(p), qBlue(p));
}

// A whole page: the 18 forms with gradients and shadows, and a picture, drawn as the page
// redraw draws them. With QX_BILDAUSGABE set to a folder the page is saved there as PNG to
// be looked at.
TEST_F(BildTest, SeiteMitAllenFormenUndEinemBild) {
  Bildflaeche seite(2100 * 5.67, 2970 * 5.67, 15);
  seite.Cls();
  for (int16_t form = 1; form <= 18; ++form) {
    ClassLinie l;
    l.Form = form;
    l.Staerke = static_cast<int16_t>(10 + 2 * form);
    l.Color1 = RGB(200, 0, 0);
    l.Color2 = RGB(0, 0, 200);
    l.Fuellung = form % 2 == 0;
    l.ColorCircle = static_cast<int16_t>(form % 3);
    l.ShadowDeep = static_cast<int16_t>(form % 4 == 0 ? 0 : 15);
    l.ShadowType = static_cast<int16_t>(form % 2 == 0 ? 1 : 2);
    l.ShadowAngle = static_cast<int16_t>(20 * form);
    l.ShadowColor1 = RGB(160, 160, 160);
    l.ShadowColor2 = RGB(255, 255, 255);
    ClassRahmen r;
    r.x = 150 + ((form - 1) % 3) * 650;
    r.y = 150 + ((form - 1) / 3) * 400;
    r.Breite = 450;
    r.Hoehe = 250;
    LinieZeichnen(s, seite, l, r);
  }
  rahmen.x = 150;
  rahmen.y = 2600;
  rahmen.Breite = 800;
  rahmen.Hoehe = 300;
  bild.Rotate = 1500;
  bild.EffektTrapez = 1000;
  BildMalen(s, bild, steuerung, seite, rahmen);
  const QImage ergebnis = seite.bild().convertToFormat(QImage::Format_RGB32);
  if (const QString aus = qEnvironmentVariable("QX_BILDAUSGABE"); !aus.isEmpty())
    ergebnis.save(QDir(aus).filePath(QStringLiteral("seite_formen_bild.png")));

  // Form 16 (row 6, column 1): filled, left-to-right gradient, block shadow.
  EXPECT_GT(qRed(ergebnis.pixel(80, 860)), qBlue(ergebnis.pixel(80, 860)));
  EXPECT_GT(qBlue(ergebnis.pixel(200, 860)), qRed(ergebnis.pixel(200, 860)));
  // The picture's frame holds picture colours; outside the page stays white.
  EXPECT_NE(ergebnis.pixel(200, 1040), kWeiss);
  EXPECT_EQ(ergebnis.pixel(780, 1100), kWeiss);
}

}  // namespace
