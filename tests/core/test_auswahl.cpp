// Selection marker, drag apply with snapping, zoom and hit test on the program state.
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>

#include "core/auswahl.h"
#include "core/programmzustand.h"
#include "core/start.h"
#include "gemeinsam/testfenster.h"

namespace {
struct AuswahlTest : ::testing::Test {
  QTemporaryDir ordner;
  Programmzustand s;
  TestFenster fenster;
  void SetUp() override {
    Main(s, ordner.path());
    s.fenster = &fenster;
  }
  // Adds a frame of kind typ for element nummer at (x, y) with the given size.
  int neuerRahmen(const QString& typ, int nummer, int x, int y, int b, int h) {
    NeuerRahmen(s, s.AnzahlRahmen + 1, typ, nummer);
    ClassRahmen& r = s.rahmen(s.AnzahlRahmen);
    r.x = x;
    r.y = y;
    r.Breite = b;
    r.Hoehe = h;
    return s.AnzahlRahmen;
  }
  // Puts the selection rectangle where a drag in units would leave it (zoom 100).
  void ziehen(double x, double y, double b, double h) {
    const double u = 5.67 * s.Zoom / 100;
    fenster.rahmen = QRectF(x * u, y * u, b * u, h * u);
  }
  ClassRahmen& auswahl() { return s.rahmen(s.AktuellerRahmen); }
};
}  // namespace

TEST_F(AuswahlTest, MarkierungBei200ProzentUndAmSeitenrand) {
  s.Zoom = 200;
  s.AktuellerRahmen = 1;
  s.rahmen(1).x = s.rahmen(1).y = 100;
  const QRectF r = RahmenRechteck(s, 1);
  EXPECT_NEAR(r.left(), 1134, 1e-3);
  EXPECT_NEAR(r.top(), 1134, 1e-3);
  EXPECT_NEAR(r.width(), 5670, 1e-3);
  EXPECT_NEAR(r.height(), 2268, 1e-3);
  const Markierung m = MarkierungBerechnen(s, r);
  EXPECT_EQ(m.ziehpunkt[1], QPointF(1034, 1034));
  EXPECT_EQ(m.ziehpunkt[2], QPointF(1134 + 2835 - 50, 1034));
  EXPECT_EQ(m.ziehpunkt[5], QPointF(1134 + 5670, 1134 + 2268));
  EXPECT_EQ(m.ziehpunkt[8], QPointF(1034, 1134 + 1134 - 50));
  for (int i = 1; i <= 8; ++i) EXPECT_TRUE(m.ziehpunktSichtbar[i]);

  const Markierung ecke = MarkierungBerechnen(s, QRectF(0, 0, 500, 200));
  EXPECT_EQ(ecke.ziehpunkt[1].x(), -100);
  EXPECT_EQ(ecke.ziehpunkt[7].x(), -100);
  EXPECT_EQ(ecke.ziehpunkt[8].x(), -100);
  EXPECT_EQ(ecke.ziehpunkt[3].y(), -100);
}

TEST_F(AuswahlTest, MarkierungFolgtDerArtDesRahmens) {
  s.Bilder.resize(2);
  NeuesBild(s, 1);
  s.AnzahlBilder = 1;
  const int bild = neuerRahmen("Bild", 1, 100, 100, 300, 200);
  s.rahmen(bild).Proportional = true;
  s.AktuellerRahmen = bild;
  Markierung m = MarkierungBerechnen(s, RahmenRechteck(s, bild));
  EXPECT_EQ(m.knopfText, QStringLiteral("Bild"));
  EXPECT_EQ(m.knopfBild, QStringLiteral("Bilder"));
  EXPECT_FALSE(m.schriftboxenAktiv);
  for (int i = 1; i <= 8; ++i) EXPECT_EQ(m.ziehpunktSichtbar[i], i % 2 == 1) << i;

  // A text frame afterwards shows all eight handles and its font.
  s.AktuellerRahmen = 3;
  s.AktuelleSchrift = 3;
  s.schrift(3).Bold = s.schrift(3).Italic = true;
  s.schrift(3).FontSize = static_cast<int16_t>(11);
  m = MarkierungBerechnen(s, RahmenRechteck(s, 3));
  for (int i = 1; i <= 8; ++i) EXPECT_TRUE(m.ziehpunktSichtbar[i]);
  EXPECT_EQ(m.knopfText, QStringLiteral("Schriftart"));
  EXPECT_TRUE(m.schriftboxenAktiv);
  EXPECT_EQ(m.stilIndex, 3);
  EXPECT_EQ(m.schriftgroesse, QStringLiteral("11"));
  EXPECT_EQ(m.schriftname, QStringLiteral("Arial"));

  s.Linien.resize(2);
  NeueLinie(s, 1);
  s.AnzahlLinien = 1;
  s.AktuellerRahmen = neuerRahmen("Linie", 1, 0, 0, 100, 100);
  m = MarkierungBerechnen(s, RahmenRechteck(s, s.AktuellerRahmen));
  EXPECT_EQ(m.knopfText, QStringLiteral("Linie"));
  EXPECT_FALSE(m.schriftboxenAktiv);

  s.AktuellerRahmen = neuerRahmen("Fremd", 1, 0, 0, 100, 100);
  m = MarkierungBerechnen(s, RahmenRechteck(s, s.AktuellerRahmen));
  EXPECT_TRUE(m.knopfText.isEmpty());
  EXPECT_FALSE(m.schriftboxenAktiv);
}

TEST_F(AuswahlTest, ZiehenHaeltDieEckeAufDerSeite) {
  s.Seite->Breite = 2100;
  s.Seite->Hoehe = 2970;
  s.AktuellerRahmen = 1;
  ziehen(-40, -10, 500, 200);
  ZiehenUebernehmen(s);
  EXPECT_EQ(auswahl().x, 0);
  EXPECT_EQ(auswahl().y, 0);

  ziehen(1800, 100, 500, 200);
  ZiehenUebernehmen(s);
  EXPECT_EQ(auswahl().x, 1600);

  // Wider than the page: the right-edge rule wins and x becomes negative.
  auswahl().Breite = 2500;
  ziehen(300, 100, 2500, 200);
  ZiehenUebernehmen(s);
  EXPECT_EQ(auswahl().x, -400);

  // Resizing past the page edge keeps the larger width (checked against the old size).
  auswahl().x = 1000;
  auswahl().Breite = 500;
  ziehen(1000, 100, 1500, 200);
  ZiehenUebernehmen(s);
  EXPECT_EQ(auswahl().x, 1000);
  EXPECT_EQ(auswahl().Breite, 1500);
}

TEST_F(AuswahlTest, RastermagnetUndGanzeMillimeter) {
  s.AktuellerRahmen = 1;
  s.MagnetAn = -1;
  s.MagnetX = 100;
  s.MagnetY = 50;
  ziehen(257, 138, 480, 230);
  ZiehenUebernehmen(s);
  EXPECT_EQ(auswahl().x, 200);
  EXPECT_EQ(auswahl().y, 100);
  EXPECT_EQ(auswahl().Breite, 400);
  EXPECT_EQ(auswahl().Hoehe, 200);
  EXPECT_NEAR(fenster.rahmen.left(), 200 * 5.67, 1e-3);
  EXPECT_NEAR(fenster.rahmen.width(), 400 * 5.67, 1e-3);

  auswahl().Proportional = true;
  ziehen(257, 138, 480, 230);
  ZiehenUebernehmen(s);
  EXPECT_EQ(auswahl().x, 200);
  EXPECT_EQ(auswahl().Breite, 480);
  EXPECT_EQ(auswahl().Hoehe, 230);
  auswahl().Proportional = false;

  // A size the magnet would make 0 becomes one spacing.
  ziehen(257, 138, 80, 30);
  ZiehenUebernehmen(s);
  EXPECT_EQ(auswahl().Breite, 100);
  EXPECT_EQ(auswahl().Hoehe, 50);

  // A fractional spacing divides by its nearest whole number.
  s.MagnetX = 2.5;
  ziehen(9, 100, 480, 230);
  ZiehenUebernehmen(s);
  EXPECT_EQ(auswahl().x, 10);

  // A spacing below 1 does not snap its axis.
  s.MagnetX = 0.4;
  ziehen(257, 138, 483, 230);
  ZiehenUebernehmen(s);
  EXPECT_EQ(auswahl().x, 257);
  EXPECT_EQ(auswahl().Breite, 483);
  EXPECT_EQ(auswahl().y, 100);

  // Magnet and whole millimetres: only the magnet applies.
  s.MagnetX = 100;
  s.MmGenau = -1;
  ziehen(257, 138, 480, 230);
  ZiehenUebernehmen(s);
  EXPECT_EQ(auswahl().x, 200);

  s.MagnetAn = 0;
  ziehen(257, 138, 483, 229);
  ZiehenUebernehmen(s);
  EXPECT_EQ(auswahl().x, 250);
  EXPECT_EQ(auswahl().y, 130);
  EXPECT_EQ(auswahl().Breite, 480);
  EXPECT_EQ(auswahl().Hoehe, 220);
  ziehen(257, 138, 5, 9);
  ZiehenUebernehmen(s);
  EXPECT_EQ(auswahl().Breite, 10);
  EXPECT_EQ(auswahl().Hoehe, 10);
}

TEST_F(AuswahlTest, ZoomSetztInhaltUndVerweigertUnbrauchbareWerte) {
  s.Seite->Breite = 2100;
  s.Seite->Hoehe = 2970;
  s.Zoom = 150;
  EXPECT_TRUE(ZoomAnwenden(s));
  EXPECT_NEAR(fenster.inhalt.width(), 17860.5, 1e-6);
  EXPECT_NEAR(fenster.inhalt.height(), 25259.85, 1e-6);
  EXPECT_EQ(fenster.markierungen, 1);
  for (double zoom : {5.0, 1001.0, std::nan(""), static_cast<double>(INFINITY)}) {
    s.Zoom = zoom;
    EXPECT_FALSE(ZoomAnwenden(s)) << zoom;
  }
  EXPECT_EQ(fenster.markierungen, 1);
}

TEST_F(AuswahlTest, TrefferWechseltDurchUeberlappendeRahmen) {
  for (int i = 32; i <= 34; ++i) neuerRahmen("Schrift", 1, 0, 2900, 10, 10);
  const int a = neuerRahmen("Schrift", 1, 1000, 2400, 400, 400);  // frame 35
  const int b = neuerRahmen("Schrift", 2, 1200, 2600, 400, 400);  // frame 36
  ASSERT_EQ(a, 35);
  ASSERT_EQ(b, 36);
  const double u = 5.67;
  s.AktuellerRahmen = a;
  RahmenTreffer(s, 1300 * u, 2700 * u);
  EXPECT_EQ(s.AktuellerRahmen, 36);
  EXPECT_EQ(s.AktuelleSchrift, 2);
  RahmenTreffer(s, 1300 * u, 2700 * u);
  EXPECT_EQ(s.AktuellerRahmen, 35);

  // Inside the selected frame alone: nothing changes and the marker is not refreshed.
  const int vorher = fenster.markierungen;
  RahmenTreffer(s, 1050 * u, 2450 * u);
  EXPECT_EQ(s.AktuellerRahmen, 35);
  EXPECT_EQ(fenster.markierungen, vorher);

  // Exactly on the left edge of frame 36 misses it.
  RahmenTreffer(s, static_cast<float>(1200 * u), 2700 * u);
  EXPECT_EQ(s.AktuellerRahmen, 35);

  // A hidden frame is skipped.
  s.rahmen(36).Sichtbar = false;
  RahmenTreffer(s, 1300 * u, 2700 * u);
  EXPECT_EQ(s.AktuellerRahmen, 35);
}

TEST_F(AuswahlTest, TrefferSetztDenIndexDerArtUndEndetImmer) {
  s.Bilder.resize(3);
  NeuesBild(s, 1);
  NeuesBild(s, 2);
  s.AnzahlBilder = 2;
  neuerRahmen("Bild", 2, 2000, 2800, 50, 50);
  s.AktuelleSchrift = 4;
  RahmenTreffer(s, 2020 * 5.67, 2820 * 5.67);
  EXPECT_EQ(s.AktuellesBild, 2);
  EXPECT_EQ(s.AktuelleSchrift, 4);
  // A selection outside the list still ends the search.
  s.AktuellerRahmen = 0;
  RahmenTreffer(s, -5, -5);
  EXPECT_EQ(s.AktuellerRahmen, 0);
}
