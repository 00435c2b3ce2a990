// Stacking order, deleting frames with their elements, and the dialog dispatch.
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "core/dialogauswahl.h"
#include "core/programmzustand.h"
#include "core/rahmenfolge.h"
#include "core/start.h"
#include "gemeinsam/testfenster.h"

namespace {
struct FolgeTest : ::testing::Test {
  QTemporaryDir ordner;
  Programmzustand s;
  TestFenster fenster;
  void SetUp() override {
    Main(s, ordner.path());
    s.fenster = &fenster;
  }
  std::vector<int> ebenen() {
    std::vector<int> z;
    for (int i = 1; i <= s.AnzahlRahmen; ++i) z.push_back(s.rahmen(i).z);
    return z;
  }
  // A fresh document of n frames with the levels given.
  void nurRahmen(std::vector<int> z) {
    s.AnzahlRahmen = static_cast<int>(z.size());
    for (int i = 1; i <= s.AnzahlRahmen; ++i) s.rahmen(i).z = static_cast<int16_t>(z[i - 1]);
  }
  int neueSchrift(const QString& text) {
    s.Schriften.resize(s.Schriften.size() + 1);
    s.AnzahlSchriften += 1;
    NeueSchrift(s, s.AnzahlSchriften);
    s.schrift(s.AnzahlSchriften).Textstring = text;
    NeuerRahmen(s, s.AnzahlRahmen + 1, QStringLiteral("Schrift"), s.AnzahlSchriften);
    return s.AnzahlRahmen;
  }
  bool istPermutation() {
    std::vector<int> z = ebenen();
    std::sort(z.begin(), z.end());
    for (size_t i = 0; i < z.size(); ++i)
      if (z[i] != static_cast<int>(i) + 1) return false;
    return true;
  }
};
}  // namespace

TEST_F(FolgeTest, EinsVorUndZurueckTauschenEbenen) {
  nurRahmen({1, 2, 3});
  s.AktuellerRahmen = 1;
  RahmenEinsVor(s);
  EXPECT_EQ(ebenen(), (std::vector<int>{2, 1, 3}));
  RahmenEinsVor(s);
  EXPECT_EQ(ebenen(), (std::vector<int>{3, 1, 2}));
  const int gezeichnet = fenster.gezeichnet;
  RahmenEinsVor(s);
  EXPECT_EQ(ebenen(), (std::vector<int>{3, 1, 2}));
  EXPECT_EQ(fenster.gezeichnet, gezeichnet);  // nothing happened, nothing redrawn
  RahmenEinsZurueck(s);
  EXPECT_EQ(ebenen(), (std::vector<int>{2, 1, 3}));
}

TEST_F(FolgeTest, GanzNachVorneUndHinten) {
  nurRahmen({1, 2, 3, 4, 5});
  s.AktuellerRahmen = 3;
  RahmenGanzHinten(s);
  EXPECT_EQ(ebenen(), (std::vector<int>{2, 3, 1, 4, 5}));
  RahmenGanzVorne(s);
  EXPECT_EQ(ebenen(), (std::vector<int>{1, 2, 5, 3, 4}));
  // Already in front: levels stay, the page is still redrawn.
  const int gezeichnet = fenster.gezeichnet;
  RahmenGanzVorne(s);
  EXPECT_EQ(ebenen(), (std::vector<int>{1, 2, 5, 3, 4}));
  EXPECT_EQ(fenster.gezeichnet, gezeichnet + 1);
}

TEST_F(FolgeTest, FesteRahmenBleibenAuchMitVoreingestellterAntwort) {
  s.AktuellerRahmen = 31;
  s.Antwort = 9999;
  RahmenLoeschen(s);
  ASSERT_EQ(fenster.meldungen.size(), 1u);
  EXPECT_EQ(fenster.meldungen[0].text,
            QStringLiteral("Sie können nur die eingefügte Rahmen löschen"));
  EXPECT_EQ(fenster.meldungen[0].knoepfe, Knoepfe::Ok);
  EXPECT_EQ(s.AnzahlRahmen, 31);
  // The preset was meant for that deletion only: the next one asks.
  const int f = neueSchrift("neu");
  s.AktuellerRahmen = f;
  fenster.antwort = 2;
  RahmenLoeschen(s);
  ASSERT_EQ(fenster.meldungen.size(), 2u);
  EXPECT_EQ(fenster.meldungen[1].text, QStringLiteral("Diesen Rahmen löschen?"));
  EXPECT_EQ(fenster.meldungen[1].knoepfe, Knoepfe::OkAbbrechen);
  EXPECT_EQ(s.AnzahlRahmen, 32);  // cancelled: unchanged
}

TEST_F(FolgeTest, LoeschenSchiebtTexteUndVerweiseNach) {
  // Texts 31, 32, 33 in frames 32, 33, 34.
  neueSchrift("a");
  neueSchrift("b");
  neueSchrift("c");
  ASSERT_EQ(s.AnzahlRahmen, 34);
  ASSERT_EQ(s.AnzahlSchriften, 33);
  ClassSchrift* slot32 = s.Schriften[32].get();
  s.AktuellerRahmen = 33;
  s.Antwort = 9999;
  RahmenLoeschen(s);
  EXPECT_TRUE(fenster.meldungen.empty());
  EXPECT_EQ(s.AnzahlSchriften, 32);
  EXPECT_EQ(s.AnzahlRahmen, 33);
  EXPECT_EQ(s.Schriften[32].get(), slot32);  // fields copied, objects stay
  EXPECT_EQ(s.schrift(32).Textstring, QStringLiteral("c"));
  EXPECT_FALSE(s.Schriften[33]);
  EXPECT_EQ(s.rahmen(33).nummer(), 32);
  EXPECT_EQ(s.AktuelleSchrift, 1);
  EXPECT_EQ(s.AktuellerRahmen, 1);
  EXPECT_TRUE(istPermutation());
  EXPECT_EQ(s.Antwort, 1);
}

TEST_F(FolgeTest, EbenenNachDemLoeschen) {
  for (int i = 0; i < 9; ++i) neueSchrift("t");
  ASSERT_EQ(s.AnzahlRahmen, 40);
  // Top frame deleted: no other level changes.
  std::vector<int> vorher = ebenen();
  s.AktuellerRahmen = 40;
  s.Antwort = 9999;
  RahmenLoeschen(s);
  vorher.pop_back();
  EXPECT_EQ(ebenen(), vorher);
  // Frame at level 1 deleted: every other frame drops one level.
  s.rahmen(39).z = 1;
  for (int i = 1; i <= 38; ++i) s.rahmen(i).z = static_cast<int16_t>(i + 1);
  s.AktuellerRahmen = 39;
  s.Antwort = 9999;
  RahmenLoeschen(s);
  for (int i = 1; i <= 38; ++i) EXPECT_EQ(s.rahmen(i).z, i);
}

TEST_F(FolgeTest, AuswahlNachDemLoeschenUndGeteilteElemente) {
  for (int i = 1; i <= 5; ++i) s.rahmen(i).Sichtbar = false;
  s.Bilder.resize(3);
  NeuesBild(s, 1);
  NeuesBild(s, 2);
  s.AnzahlBilder = 2;
  NeuerRahmen(s, 32, QStringLiteral("Bild"), 1);
  NeuerRahmen(s, 33, QStringLiteral("Bild"), 2);
  NeuerRahmen(s, 34, QStringLiteral("Bild"), 2);  // shows the same picture as frame 33
  s.AktuellesBild = 2;
  s.AktuellerRahmen = 34;
  s.Antwort = 9999;
  RahmenLoeschen(s);
  EXPECT_EQ(s.AnzahlBilder, 2);  // still shown by frame 33
  EXPECT_EQ(s.AktuellerRahmen, 6);
  EXPECT_EQ(s.AktuelleSchrift, 6);  // follows the new selection

  // Deleting the frame of the last picture changes no other reference.
  s.AktuellerRahmen = 33;
  s.Antwort = 9999;
  RahmenLoeschen(s);
  EXPECT_EQ(s.AnzahlBilder, 1);
  EXPECT_EQ(s.rahmen(32).nummer(), 1);
}

TEST_F(FolgeTest, EigenschaftenUndTextsichtbarkeit) {
  s.AktuellerRahmen = 5;
  s.rahmen(5).Sichtbar = false;
  EigenschaftenZeigen(s);
  EXPECT_TRUE(s.rahmen(5).Sichtbar);
  ASSERT_EQ(fenster.dialoge.size(), 1u);
  EXPECT_EQ(fenster.dialoge[0], Dialog::Schrift);
  EXPECT_EQ(s.AktuelleSchrift, 5);
  s.AktuellerRahmen = 31;
  EigenschaftenZeigen(s);
  EXPECT_EQ(fenster.dialoge.back(), Dialog::Brieftext);

  s.AktuellerRahmen = 25;
  s.rahmen(25).Sichtbar = true;
  TextRahmenSichtbar(s, QString());
  EXPECT_TRUE(s.rahmen(25).Sichtbar);
  s.AktuellerRahmen = 5;
  TextRahmenSichtbar(s, QString());
  EXPECT_FALSE(s.rahmen(5).Sichtbar);
  TextRahmenSichtbar(s, QStringLiteral("x"));
  EXPECT_TRUE(s.rahmen(5).Sichtbar);
  // A selected line frame is never hidden by typing in a side-panel field.
  s.Linien.resize(2);
  NeueLinie(s, 1);
  s.AnzahlLinien = 1;
  NeuerRahmen(s, 32, QStringLiteral("Linie"), 1);
  s.AktuellerRahmen = 32;
  TextRahmenSichtbar(s, QString());
  EXPECT_TRUE(s.rahmen(32).Sichtbar);
}
