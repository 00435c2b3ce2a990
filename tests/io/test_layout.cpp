#include <QDir>

#include "core/seite_zeichnen.h"
#include "dateitest.h"
#include "io/dokument.h"
#include "io/layout.h"
#include "platform/textdatei.h"

namespace {

// The program started in a folder holding copies of the shipped data files, with the
// template loaded and the sender's fields typed in.
struct LayoutTest : DateiTest {
  void SetUp() override {
    DateiTest::SetUp();
    const QDir daten(datenordner());
    for (const QString& name : daten.entryList(QDir::Files))
      ASSERT_TRUE(QFile::copy(daten.filePath(name), pfad(name))) << name.toStdString();
    s.Ladeauftrag = QStringLiteral("neu");
    ASSERT_TRUE(LadeDokument(s));
    ASSERT_TRUE(fenster.meldungen.empty());
  }

  bool layout(int n) {
    s.Ladeauftrag = s.Startverzeichnis + QStringLiteral("Layout%1.lay").arg(n);
    return LadeLayout(s);
  }

  // A layout file of the given lines in the start-up folder; returns its path.
  QString layoutDatei(const QStringList& zeilen) {
    const QString p = pfad(QStringLiteral("Eigenes.lay"));
    EXPECT_TRUE(textdatei::schreiben(p, zeilen));
    return p;
  }
};

struct Geometrie {
  int32_t x, y, breite, hoehe;
  int16_t winkel, ah, av;
  bool operator==(const Geometrie&) const = default;
};

std::vector<Geometrie> absenderGeometrie(Programmzustand& s) {
  std::vector<Geometrie> g;
  for (int i = 1; i <= 20; ++i) {
    const ClassRahmen& r = s.rahmen(i);
    const ClassSchrift& t = s.schrift(i);
    g.push_back({r.x, r.y, r.Breite, r.Hoehe, t.Angle, t.AusrichtungH, t.AusrichtungV});
  }
  return g;
}

bool zIstPermutation(Programmzustand& s) {
  std::vector<int> z;
  for (int i = 1; i <= s.AnzahlRahmen; ++i) z.push_back(s.rahmen(i).z);
  std::sort(z.begin(), z.end());
  for (int i = 0; i < static_cast<int>(z.size()); ++i)
    if (z[i] != i + 1) return false;
  return true;
}

}  // namespace

TEST_F(LayoutTest, VorlageIstEinBriefkopf) {
  EXPECT_EQ(s.AnzahlRahmen, 31);
  EXPECT_EQ(s.AnzahlSchriften, 30);
  EXPECT_EQ(s.AnzahlBilder, 0);
  EXPECT_EQ(s.AnzahlLinien, 0);
  EXPECT_EQ(s.AnzahlRTF, 1);
  EXPECT_EQ(s.RTFDateien[1], QStringLiteral("RTF1.rtf"));
  EXPECT_EQ(fenster.felder[1], QStringLiteral("Muster GmbH"));
  EXPECT_EQ(fenster.felder[3], QStringLiteral("Musterstraße 1"));
  EXPECT_EQ(fenster.felder[11], QStringLiteral("Musterbank Musterstadt"));
  for (int i = 1; i <= 30; ++i) {
    const ClassRahmen& r = s.rahmen(i);
    const ClassSchrift& t = s.schrift(i);
    EXPECT_EQ(r.Objekttyp, QStringLiteral("Schrift")) << i;
    EXPECT_EQ(r.nummer(), i) << i;
    EXPECT_TRUE(t.fontname == QLatin1String("Arial") ||
                t.fontname == QLatin1String("Times New Roman"))
        << i;
    const double groesse = varianteZahl(t.FontSize).value_or(0);
    EXPECT_TRUE(groesse >= 8 && groesse <= 20) << i;
    // Everything lies on an A4 page.
    EXPECT_GE(r.x, 0) << i;
    EXPECT_LE(r.x + r.Breite, 2100) << i;
    EXPECT_LE(r.y + r.Hoehe, 2970) << i;
    if (i <= 20) {
      EXPECT_FALSE(fenster.felder[i].isEmpty()) << i;
    } else {
      EXPECT_TRUE(t.Textstring.isEmpty()) << i;
    }
    // The recipient's address inside the address window.
    if (i > 20 && i <= 28) {
      EXPECT_GE(r.x, 200) << i;
      EXPECT_LE(r.x + r.Breite, 1050) << i;
      EXPECT_GE(r.y, 450) << i;
      EXPECT_LE(r.y + r.Hoehe, 850) << i;
    }
  }
  // The letter body below the address window.
  const ClassRahmen& brief = s.rahmen(31);
  EXPECT_EQ(brief.Objekttyp, QStringLiteral("RTF"));
  EXPECT_EQ(brief.nummer(), 1);
  EXPECT_EQ(brief.x, 200);
  EXPECT_EQ(brief.y, 1000);
  EXPECT_EQ(brief.Breite, 1700);
  EXPECT_EQ(brief.Hoehe, 1600);
  EXPECT_TRUE(brief.Sichtbar);
  EXPECT_TRUE(zIstPermutation(s));
}

TEST_F(LayoutTest, VorlageWirdByteGleichGespeichert) {
  const QByteArray original = dateiInhalt(datenordner() + QStringLiteral("neu.lay"));
  EXPECT_FALSE(original.startsWith("\xEF\xBB\xBF"));
  EXPECT_TRUE(
      original.contains("Musterstra\xDF"
                        "e 1\r\n"));
  EXPECT_EQ(original.count("\n"), original.count("\r\n"));
  // The redraw after loading hid the address frames, whose fields are empty; the file
  // shows frames 21 to 27.
  for (int i = 21; i <= 27; ++i) s.rahmen(i).Sichtbar = true;
  s.AktuelleDatei = pfad(QStringLiteral("kopie.qxm"));
  ASSERT_TRUE(SpeichereDokument(s));
  EXPECT_EQ(dateiInhalt(s.AktuelleDatei), original);
}

TEST_F(LayoutTest, JedeVorlageLaedtOhneMeldung) {
  std::vector<std::vector<Geometrie>> stile;
  for (int n = 1; n <= 5; ++n) {
    ASSERT_TRUE(layout(n)) << n;
    EXPECT_TRUE(fenster.meldungen.empty()) << n;
    EXPECT_TRUE(s.Ladeauftrag.isEmpty());
    EXPECT_TRUE(zIstPermutation(s)) << n;
    stile.push_back(absenderGeometrie(s));
    // Each preset is a whole document file as well.
    Programmzustand dokument;
    dokument.fenster = &fenster;
    Main(dokument, ordner.path());
    EXPECT_TRUE(DokumentOeffnen(dokument, pfad(QStringLiteral("Layout%1.lay").arg(n)))) << n;
    EXPECT_EQ(dokument.AnzahlRahmen, 31);
    EXPECT_EQ(dokument.AnzahlSchriften, 30);
  }
  EXPECT_TRUE(fenster.meldungen.empty());
  // Five clearly different styles.
  for (std::size_t a = 0; a < stile.size(); ++a)
    for (std::size_t b = a + 1; b < stile.size(); ++b) {
      int verschieden = 0;
      for (int i = 0; i < 20; ++i) verschieden += !(stile[a][i] == stile[b][i]);
      EXPECT_GE(verschieden, 5) << a + 1 << " " << b + 1;
    }
  // The vertical name.
  ASSERT_TRUE(layout(4));
  EXPECT_EQ(s.schrift(1).Angle, 90);
}

TEST_F(LayoutTest, NurAbsenderrahmenUndIhreLageAendernSich) {
  for (int i = 1; i <= 30; ++i) fenster.felder[i] = QStringLiteral("Feld %1").arg(i);
  for (int i = 1; i <= 30; ++i) s.schrift(i).Textstring = fenster.felder[i];
  s.schrift(2).Color1 = RGB(1, 2, 3);
  s.schrift(2).Bold = true;
  SeiteZeichnen(s);
  const QStringList vorher = dokumentdatei::zeilen(s);

  ASSERT_TRUE(layout(4));
  const QStringList nachher = dokumentdatei::zeilen(s);
  ASSERT_EQ(nachher.size(), vorher.size());
  // Frames 21 to 31 and texts 21 to 30 stay, line for line.
  for (int zeile = 11 + 10 * 20; zeile < 11 + 10 * 31; ++zeile)
    EXPECT_EQ(nachher[zeile], vorher[zeile]) << zeile;
  const int texte = 13 + 10 * 31;
  for (int zeile = texte + 27 * 20; zeile < nachher.size(); ++zeile)
    EXPECT_EQ(nachher[zeile], vorher[zeile]) << zeile;
  // Wording, font and colours of the sender texts stay; the fields are untouched.
  for (int i = 1; i <= 20; ++i) {
    EXPECT_EQ(s.schrift(i).Textstring, QStringLiteral("Feld %1").arg(i));
    EXPECT_EQ(fenster.felder[i], QStringLiteral("Feld %1").arg(i));
  }
  EXPECT_EQ(s.schrift(2).Color1, RGB(1, 2, 3));
  EXPECT_TRUE(s.schrift(2).Bold);
  EXPECT_EQ(s.schrift(1).fontname, QStringLiteral("Arial"));
  EXPECT_EQ(s.schrift(1).Angle, 90);
  EXPECT_EQ(s.AnzahlRahmen, 31);
  EXPECT_EQ(s.AktuelleDatei, QDir::current().absoluteFilePath(QStringLiteral("neu.qxm")));
}

TEST_F(LayoutTest, ZweimalWieEinmal) {
  ASSERT_TRUE(layout(3));
  const QStringList einmal = dokumentdatei::zeilen(s);
  ASSERT_TRUE(layout(3));
  EXPECT_EQ(dokumentdatei::zeilen(s), einmal);
}

TEST_F(LayoutTest, WenigerDatensaetzeAendernNurDiese) {
  QStringList z = {"QX Datenfile", "", "", "", "", "", "", "", "", "Rahmen", "5"};
  for (int i = 1; i <= 5; ++i)
    z << "300"
      << "40" << QString::number(i) << "Schrift"
      << "-1"
      << "0"
      << "0" << QString::number(1000 + i) << QString::number(2000 + i) << "1";
  z << "Schrift"
    << "0";  // the file ends after the texts
  const auto vorher = absenderGeometrie(s);
  s.Ladeauftrag = layoutDatei(z);
  ASSERT_TRUE(LadeLayout(s));
  const auto nachher = absenderGeometrie(s);
  for (int i = 1; i <= 5; ++i) {
    EXPECT_EQ(s.rahmen(i).x, 1000 + i);
    EXPECT_EQ(s.rahmen(i).y, 2000 + i);
  }
  for (int i = 5; i < 20; ++i) EXPECT_TRUE(nachher[i] == vorher[i]) << i + 1;
  // Frames 1 to 5 all came with level 1: the levels are 1..31 again, in the file's order
  // first, then the others as they were.
  EXPECT_TRUE(zIstPermutation(s));
  for (int i = 1; i <= 5; ++i) EXPECT_EQ(s.rahmen(i).z, i);
  EXPECT_EQ(s.rahmen(6).z, 6);
}

TEST_F(LayoutTest, VorlageMitFehlendemElementWirdAbgelehnt) {
  QStringList z = textdatei::lesen(pfad(QStringLiteral("Layout2.lay"))).zeilen;
  // Frame 3 of the preset shows line element 1, which the document lacks.
  z[11 + 10 * 2 + 3] = QStringLiteral("Linie");
  z[11 + 10 * 2 + 2] = QStringLiteral("1");
  const QStringList vorher = dokumentdatei::zeilen(s);
  s.Ladeauftrag = layoutDatei(z);
  EXPECT_FALSE(LadeLayout(s));
  ASSERT_EQ(fenster.meldungen.size(), 1u);
  EXPECT_TRUE(fenster.meldungen[0].text.startsWith(
      QStringLiteral("Die Datei %1 ist keine gültige QX-Marvolant-Datei: ")
          .arg(QDir::toNativeSeparators(pfad(QStringLiteral("Eigenes.lay"))))));
  EXPECT_TRUE(fenster.meldungen[0].text.contains(QStringLiteral("Rahmen 3 verweist")));
  EXPECT_EQ(dokumentdatei::zeilen(s), vorher);
  EXPECT_TRUE(s.Ladeauftrag.isEmpty());

  // A record for frame 21 or later is not applied, so its element is not checked.
  z = textdatei::lesen(pfad(QStringLiteral("Layout2.lay"))).zeilen;
  z[11 + 10 * 24 + 3] = QStringLiteral("Bild");
  s.Ladeauftrag = layoutDatei(z);
  EXPECT_TRUE(LadeLayout(s));
}

TEST_F(LayoutTest, KaputteOderFehlendeVorlageAendertNichts) {
  const QStringList vorher = dokumentdatei::zeilen(s);
  const QStringList gut = textdatei::lesen(pfad(QStringLiteral("Layout1.lay"))).zeilen;
  const struct {
    QStringList zeilen;
    const char* meldung;
  } faelle[] = {
      {gut.mid(0, 400), "unvollständig"},  // cut within the texts
      {QStringList(gut).replaceInStrings(QStringLiteral("QX Datenfile"), QStringLiteral("QX")),
       "Falsches Datenformat"},
  };
  for (const auto& f : faelle) {
    fenster.meldungen.clear();
    s.Ladeauftrag = layoutDatei(f.zeilen);
    EXPECT_FALSE(LadeLayout(s));
    ASSERT_EQ(fenster.meldungen.size(), 1u);
    EXPECT_TRUE(fenster.meldungen[0].text.contains(QString::fromUtf8(f.meldung)))
        << fenster.meldungen[0].text.toStdString();
    EXPECT_EQ(dokumentdatei::zeilen(s), vorher);
  }
  // A field of a frame record that is not a number.
  QStringList z = gut;
  z[11 + 7] = QStringLiteral("links");
  fenster.meldungen.clear();
  s.Ladeauftrag = layoutDatei(z);
  EXPECT_FALSE(LadeLayout(s));
  EXPECT_EQ(dokumentdatei::zeilen(s), vorher);

  fenster.meldungen.clear();
  const int markierungen = fenster.markierungen;
  EXPECT_FALSE(layout(6));
  ASSERT_EQ(fenster.meldungen.size(), 1u);
  EXPECT_EQ(fenster.meldungen[0].text,
            QStringLiteral("Die Datei %1 wurde nicht gefunden.")
                .arg(QDir::toNativeSeparators(pfad(QStringLiteral("Layout6.lay")))));
  EXPECT_EQ(fenster.meldungen[0].titel, QStringLiteral("Warnung!"));
  EXPECT_EQ(dokumentdatei::zeilen(s), vorher);
  EXPECT_TRUE(s.Ladeauftrag.isEmpty());
  EXPECT_EQ(fenster.markierungen, markierungen + 1);
}

TEST_F(LayoutTest, VorlagenDateinameOhneRuecksichtAufGrossschreibung) {
  ASSERT_TRUE(
      QFile::rename(pfad(QStringLiteral("Layout5.lay")), pfad(QStringLiteral("LAYOUT5.LAY"))));
  EXPECT_TRUE(layout(5));
  EXPECT_TRUE(fenster.meldungen.empty());
}

TEST(Beispielbrief, NutztSeriendruckfelderInTimesNewRoman12) {
  const QByteArray rtf = dateiInhalt(datenordner() + QStringLiteral("RTF1.rtf"));
  ASSERT_FALSE(rtf.isEmpty());
  EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252"));
  for (const char* teil : {"#Datum", "#Feld22", "#Feld23", "#Feld24", "Times New Roman", "\\fs24",
                           "f\\'fcr", "Gr\\'fc\\'dfen"})
    EXPECT_TRUE(rtf.contains(teil)) << teil;
  // Pure ASCII: every character beyond it is written as \'xx.
  for (char c : rtf) EXPECT_LT(static_cast<unsigned char>(c), 0x80);
  EXPECT_TRUE(rtf.trimmed().endsWith('}'));
}
