// The page redraw on the page view: grid, guide zones, frames in z order, outlines, and
// the letter-text placeholder.
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "core/auswahl.h"
#include "core/programmzustand.h"
#include "core/rahmenfolge.h"
#include "core/seite_zeichnen.h"
#include "core/start.h"
#include "gemeinsam/testfenster.h"
#include "platform/bildflaeche.h"

namespace {
struct SeiteTest : ::testing::Test {
  QTemporaryDir ordner;
  Programmzustand s;
  TestFenster fenster;
  void SetUp() override {
    Main(s, ordner.path());
    s.fenster = &fenster;
    s.Seite->Hoehe = 2970;
    // Nothing but what a case puts on the page.
    for (int i = 1; i <= 31; ++i) s.rahmen(i).Sichtbar = false;
    s.RasterAnzeigen = 0;
    ASSERT_TRUE(ZoomAnwenden(s));
  }
  // Pixel at a point given in units (zoom 100, 15 twips per pixel).
  QColor bei(double x, double y) {
    const QImage& bild = s.PictureSeite->bild();
    return bild.pixelColor(static_cast<int>(x * 5.67 / 15), static_cast<int>(y * 5.67 / 15));
  }
  int neueLinie(int form, int32_t farbe, int x, int y, int b, int h) {
    s.Linien.resize(s.AnzahlLinien + 2);
    s.AnzahlLinien += 1;
    NeueLinie(s, s.AnzahlLinien);
    ClassLinie& l = s.linie(s.AnzahlLinien);
    l.Form = static_cast<int16_t>(form);
    l.Fuellung = true;
    l.Color1 = l.Color2 = farbe;
    NeuerRahmen(s, s.AnzahlRahmen + 1, QStringLiteral("Linie"), s.AnzahlLinien);
    ClassRahmen& r = s.rahmen(s.AnzahlRahmen);
    r.x = x;
    r.y = y;
    r.Breite = b;
    r.Hoehe = h;
    return s.AnzahlRahmen;
  }
};
}  // namespace

TEST_F(SeiteTest, RasterBeginntEinenAbstandVomRand) {
  s.RasterAnzeigen = -1;
  s.RasterY = 10000;  // no horizontal lines in the way
  SeiteZeichnen(s);
  const QImage& bild = s.PictureSeite->bild();
  // 100 units = 567 twips = 37.8 pixels: the first vertical line lies in column 37 or 38.
  auto graueSpalte = [&](int x) {
    int grau = 0;
    for (int y = 0; y < 200; ++y)
      if (bild.pixelColor(x, y) == QColor(192, 192, 192)) ++grau;
    return grau;
  };
  EXPECT_GT(graueSpalte(37) + graueSpalte(38), 40);
  EXPECT_EQ(graueSpalte(0), 0);
  EXPECT_EQ(graueSpalte(20), 0);
  // The line is dotted: not every pixel of it is grey.
  EXPECT_LT(graueSpalte(37) + graueSpalte(38), 200);
  // RasterAnzeigen 1 draws no grid.
  s.RasterAnzeigen = 1;
  SeiteZeichnen(s);
  EXPECT_EQ(graueSpalte(37) + graueSpalte(38), 0);
  // A spacing below one unit draws nothing on its axis and never hangs.
  s.RasterAnzeigen = -1;
  s.RasterX = 0;
  s.RasterY = -5;
  SeiteZeichnen(s);
  EXPECT_EQ(graueSpalte(37) + graueSpalte(38), 0);
}

TEST_F(SeiteTest, LetzteRasterlinieLiegtAufDerFlaeche) {
  // On an A4 page with a 10 mm grid the last vertical line lies at the page's right edge,
  // which rounds onto the pixel just past the surface at some zooms (793.8 of 794 at 100 %).
  s.Seite->Breite = 2100;
  s.RasterAnzeigen = -1;
  s.RasterX = 100;
  s.RasterY = 10000;
  for (const double zoom : {50.0, 75.0, 100.0, 150.0, 200.0, 333.0}) {
    s.Zoom = zoom;
    ASSERT_TRUE(ZoomAnwenden(s));
    const QImage& bild = s.PictureSeite->bild();
    int grau = 0;
    for (int y = 0; y < bild.height(); ++y)
      if (bild.pixelColor(bild.width() - 1, y) == QColor(192, 192, 192)) ++grau;
    EXPECT_GT(grau, bild.height() / 3) << zoom;
  }
}

TEST_F(SeiteTest, ZoomSinktBisDieSeiteInsPixelbudgetPasst) {
  // A page of 5 m by 5 m at 100 % would take 18900 x 18900 pixels.
  s.Seite->Breite = s.Seite->Hoehe = ClassSeite::GroesstesMass;
  s.Zoom = 100;
  ASSERT_TRUE(ZoomAnwenden(s));
  EXPECT_LT(s.Zoom, 100);
  EXPECT_GE(s.Zoom, 10);
  const QSize pixel = s.PictureSeite->bild().size();
  EXPECT_LE(qint64{pixel.width()} * pixel.height(), Bildflaeche::kPixelbudget);
  // The view and the surface show the page at the lowered zoom.
  EXPECT_NEAR(fenster.inhalt.width(), ClassSeite::GroesstesMass * 5.67 * s.Zoom / 100, 15);
  EXPECT_NEAR(s.PictureSeite->Width(), fenster.inhalt.width(), 15);
}

TEST_F(SeiteTest, Hilfsbereiche) {
  s.Seite->RandLinks = s.Seite->RandOben = 200;
  s.HilfsbereicheAnzeigen = 1;
  SeiteZeichnen(s);
  EXPECT_EQ(bei(100, 1000), QColor(222, 222, 222));   // left margin
  EXPECT_EQ(bei(1000, 100), QColor(222, 222, 222));   // top margin
  EXPECT_EQ(bei(600, 600), QColor(255, 255, 192));    // address window
  EXPECT_EQ(bei(25, 1050), QColor(255, 255, 255));    // fold mark over the margin
  EXPECT_EQ(bei(1000, 1000), QColor(255, 255, 255));  // page
  s.HilfsbereicheAnzeigen = 0;
  SeiteZeichnen(s);
  EXPECT_EQ(bei(600, 600), QColor(255, 255, 255));
}

TEST_F(SeiteTest, HoehererRahmenUeberdecktTieferen) {
  const int rot = neueLinie(16, RGB(255, 0, 0), 300, 300, 400, 400);
  neueLinie(16, RGB(0, 0, 255), 500, 500, 400, 400);
  SeiteZeichnen(s);
  EXPECT_EQ(bei(600, 600), QColor(0, 0, 255));
  EXPECT_EQ(bei(400, 400), QColor(255, 0, 0));
  s.AktuellerRahmen = rot;
  RahmenGanzVorne(s);
  EXPECT_EQ(bei(600, 600), QColor(255, 0, 0));
}

TEST_F(SeiteTest, LeererTextWirdVerstecktUndNichtUmrandet) {
  s.AlleRahmenAnzeigen = -1;
  s.rahmen(5).Sichtbar = true;  // text 5 is empty
  s.rahmen(6).Sichtbar = true;
  s.schrift(6).Textstring = QStringLiteral("Muster");
  SeiteZeichnen(s);
  EXPECT_FALSE(s.rahmen(5).Sichtbar);
  EXPECT_TRUE(s.rahmen(6).Sichtbar);
  // Frame 6 spans (350, 350) - (850, 550); its outline is dark grey, frame 5's is absent.
  const QImage& bild = s.PictureSeite->bild();
  auto umriss = [&](int einheitenX, int einheitenY) {
    const int y = static_cast<int>(einheitenY * 5.67 / 15);
    const int x = static_cast<int>(einheitenX * 5.67 / 15);
    for (int dy = -1; dy <= 1; ++dy)
      if (bild.pixelColor(x, y + dy) == QColor(92, 92, 92)) return true;
    return false;
  };
  EXPECT_TRUE(umriss(600, 350));
  EXPECT_FALSE(umriss(500, 300));  // top edge of frame 5 at y = 300
}

TEST_F(SeiteTest, AdressfelderMachenIhreRahmenSichtbar) {
  fenster.felder[24] = QStringLiteral("Müller");
  // A redraw while a properties dialog is open still draws the page, not a sample.
  s.Mustermodus = -1;
  SeiteZeichnen(s);
  EXPECT_EQ(s.Mustermodus, -1);
  EXPECT_EQ(s.schrift(24).Textstring, QStringLiteral("Müller"));
  EXPECT_TRUE(s.rahmen(24).Sichtbar);
  // The text is drawn inside its frame (1250, 1250) - (1750, 1450) in black.
  const QImage& bild = s.PictureSeite->bild();
  int schwarz = 0;
  for (int y = 0; y < bild.height(); ++y)
    for (int x = 0; x < bild.width(); ++x)
      if (qGray(bild.pixel(x, y)) < 100) {
        ++schwarz;
        EXPECT_GE(x, static_cast<int>(1250 * 5.67 / 15) - 1);
        EXPECT_LE(x, static_cast<int>(1750 * 5.67 / 15) + 1);
        EXPECT_GE(y, static_cast<int>(1250 * 5.67 / 15) - 1);
        EXPECT_LE(y, static_cast<int>(1450 * 5.67 / 15) + 1);
      }
  EXPECT_GT(schwarz, 20);
}

TEST_F(SeiteTest, BrieftextPlatzhalter) {
  s.rahmen(31).Sichtbar = true;  // (1600, 1600), 500 x 200
  SeiteZeichnen(s);
  EXPECT_EQ(bei(1900, 1750), QColor(255, 255, 192));
  // Its label starts at the frame's corner in light grey.
  const QImage& bild = s.PictureSeite->bild();
  int grau = 0;
  const int x0 = static_cast<int>(1600 * 5.67 / 15), y0 = static_cast<int>(1600 * 5.67 / 15);
  for (int y = y0; y < y0 + 20; ++y)
    for (int x = x0; x < x0 + 100; ++x)
      if (qRed(bild.pixel(x, y)) < 240 && qBlue(bild.pixel(x, y)) > 150) ++grau;
  EXPECT_GT(grau, 10);
}

// A frame count beyond the list, as a broken document gives it: the redraw of the page view
// throws nothing, says so once however often it fails, and leaves frames and texts as they
// were; printing gets the failure itself.
TEST_F(SeiteTest, FehlgeschlageneSeiteMeldetSichEinmalUndLaesstDasDokument) {
  fenster.felder[24] = QStringLiteral("Müller");
  const ClassSchrift text = s.schrift(24);
  const int anzahl = s.AnzahlRahmen;
  s.AnzahlRahmen = anzahl + 5;
  EXPECT_NO_THROW(SeiteZeichnen(s));
  EXPECT_NO_THROW(SeiteZeichnen(s));
  ASSERT_EQ(fenster.meldungen.size(), 1u);
  EXPECT_TRUE(fenster.meldungen[0].text.startsWith(
      QStringLiteral("Die Seite konnte nicht gezeichnet werden: Rahmen ")))
      << fenster.meldungen[0].text.toStdString();
  EXPECT_EQ(s.schrift(24), text);
  EXPECT_FALSE(s.rahmen(24).Sichtbar);
  EXPECT_FALSE(s.SeiteWirdGezeichnet);

  s.Druckmodus = -1;
  EXPECT_THROW(SeiteZeichnen(s), std::out_of_range);
  s.Druckmodus = 0;
  EXPECT_EQ(s.schrift(24), text);

  // Once a redraw succeeds, the next failure is said again.
  s.AnzahlRahmen = anzahl;
  SeiteZeichnen(s);
  EXPECT_EQ(s.schrift(24).Textstring, QStringLiteral("Müller"));
  s.AnzahlRahmen = anzahl + 5;
  SeiteZeichnen(s);
  EXPECT_EQ(fenster.meldungen.size(), 2u);
  // Lack of memory is said in German too.
  EXPECT_FALSE(Seitenfehler(std::bad_alloc()).contains(QStringLiteral("bad_alloc")));
}
