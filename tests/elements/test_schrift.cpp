// Merge fields, the font table and the geometry of rotation and shadow.
#include <gtest/gtest.h>

#include <QDate>

#include "core/programmzustand.h"
#include "elements/text/schrift_zeichnen.h"
#include "elements/text/schriftarten.h"
#include "elements/text/seriendruck.h"
#include "gemeinsam/testfenster.h"

namespace {
std::vector<Schriftfamilie> familien(QStringList namen) {
  std::vector<Schriftfamilie> liste;
  for (const QString& n : namen) liste.push_back({n, false, ANSI_CHARSET, true});
  return liste;
}
}  // namespace

TEST(Seriendruck, FelderUndDatum) {
  Programmzustand s;
  TestFenster fenster;
  s.fenster = &fenster;
  for (int i = 1; i <= 30; ++i) fenster.felder[i] = QStringLiteral("F%1").arg(i);
  auto merge = [&](const char* t) { return FelderEinsetzen(s, QString::fromUtf8(t)); };

  EXPECT_EQ(merge("a#Feld03b"), "aF3b");
  EXPECT_EQ(merge("a#Feld3xb"), "aF3b");
  EXPECT_EQ(merge("#Feld.6"), "F1");  // 0.6 to the nearest whole number
  for (const char* leer : {"a#Feld00b", "a#Feld31b", "a#Feldxxb", "a#Feld-1b"})
    EXPECT_EQ(merge(leer), "ab") << leer;
  EXPECT_EQ(merge("Text #Feld1"), "Text #Feld1");  // fewer than two characters follow
  EXPECT_EQ(merge("#feld01"), "#feld01");

  // Inserted texts are merged in turn; a field naming itself stops after 99 passes.
  fenster.felder[2] = QStringLiteral("[#Feld03]");
  EXPECT_EQ(merge("#Feld02"), "[F3]");
  fenster.felder[1] = QStringLiteral("#Feld01");
  EXPECT_EQ(merge("X#Feld01Y"), "X#Feld01Y");
  fenster.felder[1] = QStringLiteral("a#Feld01");
  EXPECT_EQ(merge("#Feld01"), QString(99, QLatin1Char('a')) + "#Feld01");
  // The bound is each field's own: the fields after a self-referring one are merged.
  EXPECT_EQ(merge("#Feld01 #Feld03"), QString(99, QLatin1Char('a')) + "#Feld01 F3");
  // A field that names itself twice would double with every level: the merge stops
  // lengthening the text at its bound and still merges what follows.
  fenster.felder[1] = QStringLiteral("#Feld01#Feld01");
  const QString flut = merge("#Feld01|#Feld03");
  EXPECT_LE(flut.size(), 7 + kFeldZuwachsGrenze);
  EXPECT_TRUE(flut.endsWith("|F3"));

  // Only the first date field of a text element.
  const QString heute = QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"));
  EXPECT_EQ(DatumText(), heute);
  EXPECT_EQ(merge("Am #Datum, nicht #Datum"), "Am " + heute + ", nicht #Datum");
}

TEST(Schriftarten, EintraegeEndmarkeUndListe) {
  Programmzustand s;
  SchriftartenEintragen(s, familien({"A", "B", "C"}));
  EXPECT_EQ(s.AnzahlSchriftarten, 3);
  const QStringList namen = {"", "A", "B", "C", "-1", ""};
  for (int i = 0; i < namen.size(); ++i) EXPECT_EQ(s.Schriftarten[i].Name, namen[i]) << i;

  // Blanks around a name do not make a new face, letter case does; a fixed-pitch face is
  // stored but not listed; a name beginning with "-1" ends the list.
  std::vector<Schriftfamilie> liste =
      familien({"Alpha", "  Alpha ", "alpha", "Mono", "Kyr", "-1x", "Omega"});
  liste[3].festeBreite = true;
  liste[4].zeichensatz = 204;
  SchriftartenEintragen(s, liste);
  EXPECT_EQ(s.AnzahlSchriftarten, 6);
  EXPECT_EQ(s.Schriftarten[3].Name, "Mono");
  EXPECT_EQ(SchriftartenListe(s), QStringList({"Alpha", "alpha", "Kyr"}));
  EXPECT_EQ(SchriftartZeichensatz(s, QStringLiteral(" Kyr ")), 204);
  EXPECT_EQ(SchriftartZeichensatz(s, QStringLiteral("kyr")), ANSI_CHARSET);

  // More than 1000 families: entries 1 to 1000, no end mark; the lists read up to 999.
  liste.clear();
  for (int i = 1; i <= 1001; ++i) liste.push_back({QStringLiteral("F%1").arg(i), false, 0, true});
  SchriftartenEintragen(s, liste);
  EXPECT_EQ(s.Schriftarten[1000].Name, "F1000");
  for (const SchriftartEintrag& e : s.Schriftarten) EXPECT_NE(e.Name, "-1");
  EXPECT_EQ(SchriftartenListe(s).size(), 999);
}

TEST(Schriftarten, SystemFuehrtArialAlsEigenenEintrag) {
  Programmzustand s;
  SchriftartenErmitteln(s);
  const QStringList liste = SchriftartenListe(s);
  EXPECT_EQ(liste.count("Arial"), 1);  // fonts-liberation answers for it
  EXPECT_TRUE(liste.contains("Times New Roman"));
  EXPECT_TRUE(liste.contains("Liberation Sans"));
  EXPECT_FALSE(liste.contains("Courier New"));  // fixed pitch like the face it resolves to
  // Plain family names in one order, the Windows names among them; no generic names.
  QStringList tabelle;
  for (int i = 1; i <= s.AnzahlSchriftarten; ++i) tabelle.append(s.Schriftarten[i].Name);
  EXPECT_TRUE(tabelle.contains("Courier New"));
  for (const QString& name : tabelle) EXPECT_FALSE(name.contains('[')) << name.toStdString();
  for (const char* gattung : {"Serif", "Sans Serif", "Monospace"})
    EXPECT_FALSE(tabelle.contains(gattung)) << gattung;
  QStringList sortiert = tabelle;
  sortiert.sort(Qt::CaseInsensitive);
  EXPECT_EQ(tabelle, sortiert);
}

TEST(Schriftarten, FamilienEinmalUnterIhremNamenSortiert) {
  std::vector<Schriftfamilie> liste = familien(
      {"Nimbus Sans [urw]", "Zeta", "Serif", "Nimbus Sans [UKWN]", "Arial", "Sans Serif", "beta"});
  liste[0].festeBreite = true;  // the first copy of a family stands for it
  FamilienOrdnen(liste);
  QStringList namen;
  for (const Schriftfamilie& f : liste) namen.append(f.name);
  EXPECT_EQ(namen, QStringList({"Arial", "beta", "Nimbus Sans", "Zeta"}));
  EXPECT_TRUE(liste[2].festeBreite);
}

TEST(Drehung, VersatzEckpunkteUndSchatten) {
  EXPECT_EQ(DrehVersatzX(1000, 300, 0), 0);
  EXPECT_EQ(DrehVersatzY(1000, 300, 0), 0);
  EXPECT_EQ(DrehVersatzX(1000, 300, 90), 62);   // (W - H) / 2 / 5.67
  EXPECT_EQ(DrehVersatzY(1000, 300, 90), 115);  // (W + H) / 2 / 5.67
  EXPECT_EQ(DrehVersatzY(1000, 300, 270), -62);
  // Wider than 16 bits of twips: computed whole, the result held in 16 bits.
  EXPECT_EQ(DrehVersatzX(40000, 400, 180), 7055);
  EXPECT_EQ(DrehVersatzY(40000, 400, 90), 3563);
  EXPECT_EQ(DrehVersatzX(1e9, 400, 180), 32767);
  EXPECT_NEAR(DrehEckpunkt(1000, 0, 90, u"y"), -1000, 0.1);
  EXPECT_NEAR(DrehEckpunkt(0, 300, 90, u"x"), 300, 0.1);

  // ShadowDeep 50 on a text 400 twips high: 200 / 5.67 units; 0 right, 90 up, ...
  const double L = 200 / 5.67;
  const std::pair<double, double> richtung[] = {{L, 0}, {0, -L}, {-L, 0}, {0, L}};
  for (int i = 0; i < 4; ++i) {
    const QPointF v = Schattenversatz(400, 50, 1, static_cast<int16_t>(90 * i), 0);
    EXPECT_NEAR(v.x(), richtung[i].first, 0.05) << i;
    EXPECT_NEAR(v.y(), richtung[i].second, 0.05) << i;
  }
  EXPECT_EQ(Schattenrichtung(315, 60), 105);
}
