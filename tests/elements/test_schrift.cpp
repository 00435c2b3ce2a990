// Merge fields, the font table and the geometry of rotation and shadow.
#include <gtest/gtest.h>

#include <QDate>
#include <QRegularExpression>
#include <cmath>

#include "core/programmzustand.h"
#include "elements/text/schrift_zeichnen.h"
#include "elements/text/schriftarten.h"
#include "elements/text/seriendruck.h"
#include "gemeinsam/testfenster.h"

namespace {

struct Seriendruck : ::testing::Test {
  Programmzustand s;
  TestFenster fenster;
  void SetUp() override {
    s.fenster = &fenster;
    for (int i = 1; i <= 30; ++i) fenster.felder[i] = QStringLiteral("F%1").arg(i);
  }
};

std::vector<Schriftfamilie> familien(std::initializer_list<const char*> namen) {
  std::vector<Schriftfamilie> liste;
  for (const char* n : namen) liste.push_back({QString::fromUtf8(n), false, ANSI_CHARSET, true});
  return liste;
}

}  // namespace

TEST(Feldnummer, LiestZweiZeichenAlsZahlVonEinsBisDreissig) {
  EXPECT_EQ(Feldnummer(u"03"), 3);
  EXPECT_EQ(Feldnummer(u"3x"), 3);
  EXPECT_EQ(Feldnummer(u" 7"), 7);
  EXPECT_EQ(Feldnummer(u"30"), 30);
  EXPECT_EQ(Feldnummer(u".6"), 1);  // 0.6 to the nearest whole number
  for (const char16_t* leer : {u"00", u"31", u"xx", u"-1", u"x7", u"99", u""})
    EXPECT_FALSE(Feldnummer(leer).has_value()) << QString::fromUtf16(leer).toStdString();
}

TEST_F(Seriendruck, FeldWirdDurchSeitenfeldOderLeerenTextErsetzt) {
  EXPECT_EQ(FelderEinsetzen(s, QStringLiteral("a#Feld03b")), QStringLiteral("aF3b"));
  EXPECT_EQ(FelderEinsetzen(s, QStringLiteral("a#Feld3xb")), QStringLiteral("aF3b"));
  for (const char* zwei : {"00", "31", "xx", "-1"})
    EXPECT_EQ(FelderEinsetzen(s, QStringLiteral("a#Feld%1b").arg(QLatin1String(zwei))),
              QStringLiteral("ab"))
        << zwei;
  EXPECT_EQ(FelderEinsetzen(s, QStringLiteral("#Feld01 und #Feld21")),
            QStringLiteral("F1 und F21"));
  // Fewer than two characters after the mark: nothing changes, also not earlier fields.
  EXPECT_EQ(FelderEinsetzen(s, QStringLiteral("Text #Feld1")), QStringLiteral("Text #Feld1"));
  EXPECT_EQ(FelderEinsetzen(s, QStringLiteral("#Feld")), QStringLiteral("#Feld"));
  EXPECT_EQ(FelderEinsetzen(s, QStringLiteral("#feld01")), QStringLiteral("#feld01"));
}

TEST_F(Seriendruck, EingesetzteFelderWerdenWeiterErsetztHoechstens99Mal) {
  fenster.felder[2] = QStringLiteral("[#Feld03]");
  EXPECT_EQ(FelderEinsetzen(s, QStringLiteral("#Feld02")), QStringLiteral("[F3]"));

  // A field that names itself expands 99 times and then stops, one mark left.
  fenster.felder[1] = QStringLiteral("#Feld01");
  EXPECT_EQ(FelderEinsetzen(s, QStringLiteral("X#Feld01Y")), QStringLiteral("X#Feld01Y"));
  fenster.felder[1] = QStringLiteral("a#Feld01");
  EXPECT_EQ(FelderEinsetzen(s, QStringLiteral("#Feld01")),
            QString(99, QLatin1Char('a')) + QStringLiteral("#Feld01"));
}

TEST_F(Seriendruck, NurDasErsteDatumWirdErsetzt) {
  const QString heute = QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"));
  EXPECT_EQ(DatumText(), heute);
  EXPECT_TRUE(
      QRegularExpression(QStringLiteral("^\\d\\d\\.\\d\\d\\.\\d{4}$")).match(heute).hasMatch());
  EXPECT_EQ(FelderEinsetzen(s, QStringLiteral("Am #Datum, nicht #Datum")),
            QStringLiteral("Am ") + heute + QStringLiteral(", nicht #Datum"));
  // A date field that a side-panel field brings in is not replaced.
  fenster.felder[4] = QStringLiteral("#Datum");
  EXPECT_EQ(FelderEinsetzen(s, QStringLiteral("#Datum #Feld04")),
            heute + QStringLiteral(" #Datum"));
}

TEST(Schriftarten, DreiFamilienMitEndmarke) {
  Programmzustand s;
  SchriftartenEintragen(s, familien({"A", "B", "C"}));
  EXPECT_EQ(s.AnzahlSchriftarten, 3);
  EXPECT_EQ(s.Schriftarten[0].Name, QString());
  EXPECT_EQ(s.Schriftarten[1].Name, QStringLiteral("A"));
  EXPECT_EQ(s.Schriftarten[2].Name, QStringLiteral("B"));
  EXPECT_EQ(s.Schriftarten[3].Name, QStringLiteral("C"));
  EXPECT_EQ(s.Schriftarten[4].Name, QStringLiteral("-1"));
  EXPECT_EQ(SchriftartenListe(s), QStringList({"A", "B", "C"}));
}

TEST(Schriftarten, DoppelteNamenLeerzeichenUndGrossschreibung) {
  Programmzustand s;
  SchriftartenEintragen(s, familien({"Alpha", "  Alpha ", "alpha", "Beta", "", "-1"}));
  // Blanks around a name are ignored; letter case is not; an empty name and the end mark
  // as a name count as known.
  EXPECT_EQ(s.AnzahlSchriftarten, 3);
  EXPECT_EQ(SchriftartenListe(s), QStringList({"Alpha", "alpha", "Beta"}));

  // The face name ends at a NUL character.
  LogFont lf;
  lf.lfFaceName = QStringLiteral("Gamma");
  lf.lfFaceName += QChar(0);
  lf.lfFaceName += QStringLiteral("Rest");
  lf.lfPitchAndFamily = VARIABLE_PITCH;
  TextMetrik tm;
  tm.tmPitchAndFamily = 0x27;
  EXPECT_EQ(SchriftartGefunden(s, lf, tm, 4, 0), 1);
  EXPECT_EQ(s.Schriftarten[4].Name, QStringLiteral("Gamma"));
  EXPECT_EQ(s.Schriftarten[4].Pitch, 0x07);
  EXPECT_EQ(s.Schriftarten[5].Name, QStringLiteral("-1"));
}

TEST(Schriftarten, EndmarkeAmNamensanfangUndFesteBreite) {
  Programmzustand s;
  std::vector<Schriftfamilie> liste = familien({"A", "Mono", "-1x", "D"});
  liste[1].festeBreite = true;
  SchriftartenEintragen(s, liste);
  EXPECT_EQ(s.AnzahlSchriftarten, 4);
  EXPECT_EQ(s.Schriftarten[2].Name, QStringLiteral("Mono"));  // stored, not listed
  EXPECT_EQ(SchriftartenListe(s), QStringList({"A"}));        // "-1x" ends the list
}

TEST(Schriftarten, TausendUndMehrFamilienOhneEndmarke) {
  Programmzustand s;
  std::vector<Schriftfamilie> liste;
  for (int i = 1; i <= 1001; ++i) liste.push_back({QStringLiteral("F%1").arg(i), false, 0, true});
  SchriftartenEintragen(s, liste);
  EXPECT_EQ(s.AnzahlSchriftarten, 1000);
  EXPECT_EQ(s.Schriftarten[1000].Name, QStringLiteral("F1000"));
  for (const SchriftartEintrag& e : s.Schriftarten) EXPECT_NE(e.Name, QStringLiteral("-1"));
  const QStringList gelistet = SchriftartenListe(s);
  EXPECT_EQ(gelistet.size(), 999);  // the lists read up to entry 999
  EXPECT_EQ(gelistet.last(), QStringLiteral("F999"));
}

TEST(Schriftarten, ZeichensatzFuerDenRenderer) {
  Programmzustand s;
  std::vector<Schriftfamilie> liste = familien({"Latin", "Symbolic", "Kyrillisch"});
  liste[1].zeichensatz = SYMBOL_CHARSET;
  liste[2].zeichensatz = 204;
  SchriftartenEintragen(s, liste);
  EXPECT_EQ(SchriftartZeichensatz(s, QStringLiteral(" Symbolic ")), SYMBOL_CHARSET);
  EXPECT_EQ(SchriftartZeichensatz(s, QStringLiteral("Kyrillisch")), 204);
  EXPECT_EQ(SchriftartZeichensatz(s, QStringLiteral("symbolic")), ANSI_CHARSET);
  EXPECT_EQ(SchriftartZeichensatz(s, QStringLiteral("Unbekannt")), ANSI_CHARSET);
}

TEST(Schriftarten, SystemKenntArialAlsEigenenEintrag) {
  Programmzustand s;
  SchriftartenErmitteln(s);
  ASSERT_GT(s.AnzahlSchriftarten, 0);
  const QStringList liste = SchriftartenListe(s);
  // fonts-liberation answers for the Windows faces.
  EXPECT_TRUE(liste.contains(QStringLiteral("Liberation Sans")));
  EXPECT_TRUE(liste.contains(QStringLiteral("Arial")));
  EXPECT_TRUE(liste.contains(QStringLiteral("Times New Roman")));
  EXPECT_FALSE(liste.contains(QStringLiteral("Liberation Mono")));  // fixed pitch
  EXPECT_FALSE(liste.contains(QStringLiteral("Courier New")));
  EXPECT_EQ(liste.count(QStringLiteral("Arial")), 1);
}

TEST(Drehung, VersatzBeiNullUndNeunzigGrad) {
  EXPECT_EQ(DrehVersatzX(1000, 300, 0), 0);
  EXPECT_EQ(DrehVersatzY(1000, 300, 0), 0);
  // 90 degrees: X by (W - H) / 2, Y by (W + H) / 2, in tenths of a millimetre.
  EXPECT_EQ(DrehVersatzX(1000, 300, 90), 62);   // 350 / 5.67
  EXPECT_EQ(DrehVersatzY(1000, 300, 90), 115);  // 650 / 5.67
  EXPECT_EQ(DrehVersatzX(1000, 300, 180), 176);
  EXPECT_EQ(DrehVersatzY(1000, 300, 180), 53);
  EXPECT_EQ(DrehVersatzX(1000, 300, 270), 115);
  EXPECT_EQ(DrehVersatzY(1000, 300, 270), -62);
  EXPECT_EQ(DrehVersatzX(1000, 300, 360), 0);
}

TEST(Drehung, BreiteTexteUeberlaufenNicht) {
  // 40000 twips is beyond 16 bits; the shift itself fits.
  EXPECT_EQ(DrehVersatzX(40000, 400, 180), 7055);
  EXPECT_EQ(DrehVersatzY(40000, 400, 90), 3563);
  EXPECT_EQ(DrehVersatzX(40000, 400, 0), 0);
  // A shift beyond 16 bits is held at the range's end.
  EXPECT_EQ(DrehVersatzX(1e9, 400, 180), 32767);
  EXPECT_EQ(DrehVersatzY(1e9, 400, 270), -32768);
}

TEST(Drehung, Eckpunkte) {
  EXPECT_NEAR(DrehEckpunkt(1000, 0, 90, u"x"), 0, 0.1);
  EXPECT_NEAR(DrehEckpunkt(1000, 0, 90, u"y"), -1000, 0.1);
  EXPECT_NEAR(DrehEckpunkt(0, 300, 90, u"x"), 300, 0.1);
  EXPECT_NEAR(DrehEckpunkt(0, 300, 90, u"y"), 0, 0.1);
  EXPECT_NEAR(DrehEckpunkt(1000, 300, 0, u"x"), 1000, 1e-9);
  EXPECT_NEAR(DrehEckpunkt(1000, 300, 0, u"Y"), 300, 1e-9);
}

TEST(Schatten, RichtungUndLaenge) {
  // ShadowDeep 50 on a text 400 twips high at zoom 1: 200 / 5.67 tenths of a millimetre.
  const double L = 200 / 5.67;
  struct Fall {
    int16_t winkel;
    double dx, dy;
  };
  for (const Fall& f : {Fall{0, L, 0}, Fall{90, 0, -L}, Fall{180, -L, 0}, Fall{270, 0, L}}) {
    const QPointF v = Schattenversatz(400, 50, 1, f.winkel, 0);
    EXPECT_NEAR(v.x(), f.dx, 0.05) << f.winkel;
    EXPECT_NEAR(v.y(), f.dy, 0.05) << f.winkel;
  }
  EXPECT_NEAR(Schattenversatz(400, 50, 2, 0, 0).x(), L / 2, 0.05);
  EXPECT_EQ(Schattenrichtung(315, 60), 105);
  EXPECT_EQ(Schattenrichtung(270, 0), 360);
  EXPECT_EQ(Schattenrichtung(45, 0), 135);
}
