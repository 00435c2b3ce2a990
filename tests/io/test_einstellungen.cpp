#include <sys/stat.h>

#include <QStringEncoder>

#include "dateitest.h"
#include "io/einstellungen.h"

namespace {

struct EinstellungenTest : DateiTest {
  // Writes qx.ini and reads it into the running state.
  void ini(const QByteArray& inhalt) {
    dateiSchreiben(pfad(QStringLiteral("qx.ini")), inhalt);
    LadeEinstellungen(s);
  }

  void werteSetzen() {
    s.Spracheinstellung = QStringLiteral("Deutsch");
    s.MagnetAn = -1;
    s.MagnetX = 12.5;
    s.MagnetY = 80;
    s.MmGenau = -1;
    s.AlleRahmenAnzeigen = 0;
    s.HilfsbereicheAnzeigen = -1;
    s.Seite->Hoehe = 2970;
    s.Seite->RandLinks = 250;
    s.Seite->RandRechts = 200;
    s.Seite->RandOben = 170;
    s.Seite->RandUnten = 150;
    s.Seite->Papier = QStringLiteral("DIN A4");
    s.Seite->Querformat = true;
    s.RasterX = 12.5;
    s.RasterY = 80;
    s.Exportzoom = 3;
  }
};

}  // namespace

TEST_F(EinstellungenTest, GeschriebenerTextStimmtAufsByte) {
  werteSetzen();
  ASSERT_TRUE(SpeichereEinstellungen(s));
  const QByteArray erwartet = crlf({
      "Version = 7.16",
      "Startdatei = ",
      "Sprache = Deutsch",
      "Gitter an = -1",
      "Gitter x =  12.5",
      "Gitter y =  80",
      "MM Genau = -1",
      "Rahmen anzeigen =  0",
      "Hilfsbereiche = -1",
      "Seitenbreite =  2100",
      "Seitenh\xF6he =  2970",
      "Seitenrand links =  250",
      "Seitenrand rechts =  200",
      "Seitenrand oben =  170",
      "Seitenrand unten =  150",
      "Papierart  = DIN A4",
      "Querformat = -1",
      "Rasterbreite =  12.5",
      "Rasterh\xF6he =  80",
      "Programmname = QX Marvolant",
      "ZoomExport =  3",
  });
  EXPECT_EQ(dateiInhalt(pfad(QStringLiteral("qx.ini"))), erwartet);
}

TEST_F(EinstellungenTest, RundlaufUnterDeutschemGebietsschema) {
  LocaleWechsel deutsch(QLocale(QLocale::German, QLocale::Germany));
  werteSetzen();
  s.Startdokument = QStringLiteral("Brief = Vorlage.qxm");
  s.Programmtitel = QStringLiteral("Mein Briefkopf");
  ASSERT_TRUE(SpeichereEinstellungen(s));
  EXPECT_TRUE(dateiInhalt(pfad(QStringLiteral("qx.ini"))).contains("Rasterbreite =  12.5\r\n"));

  Programmzustand neu;
  Main(neu, ordner.path());
  EXPECT_EQ(neu.Startdokument, QStringLiteral("Brief = Vorlage.qxm"));
  EXPECT_EQ(neu.Spracheinstellung, QStringLiteral("Deutsch"));
  EXPECT_EQ(neu.MagnetAn, -1);
  EXPECT_EQ(neu.MmGenau, -1);
  EXPECT_EQ(neu.AlleRahmenAnzeigen, 0);
  EXPECT_EQ(neu.HilfsbereicheAnzeigen, -1);
  EXPECT_EQ(neu.Seite->Breite, 2100);
  EXPECT_EQ(neu.Seite->Hoehe, 2970);
  EXPECT_EQ(neu.Seite->RandLinks, 250);
  EXPECT_EQ(neu.Seite->RandRechts, 200);
  EXPECT_EQ(neu.Seite->RandOben, 170);
  EXPECT_EQ(neu.Seite->RandUnten, 150);
  EXPECT_EQ(neu.Seite->Papier, QStringLiteral("DIN A4"));
  EXPECT_TRUE(neu.Seite->Querformat);
  EXPECT_EQ(neu.RasterX, 12.5);
  EXPECT_EQ(neu.RasterY, 80);
  EXPECT_EQ(neu.Programmtitel, QStringLiteral("Mein Briefkopf"));
  EXPECT_EQ(neu.Exportzoom, 3);
  // The magnet follows the grid, whatever the file says about it.
  EXPECT_EQ(neu.MagnetX, 12.5);
  EXPECT_EQ(neu.MagnetY, 80);
}

TEST_F(EinstellungenTest, SchluesselUndWerteWerdenLeseIniZeileGemaessGetrennt) {
  EXPECT_TRUE(LeseIniZeile(s, QStringLiteral("Papierart  = A4")));
  EXPECT_EQ(s.IniSchluessel, QStringLiteral("papierart"));
  EXPECT_EQ(s.IniWert, QStringLiteral("A4"));
  EXPECT_EQ(s.Textzeile, QStringLiteral("Papierart  = A4"));
  EXPECT_TRUE(LeseIniZeile(s, QStringLiteral("  SEITENHÖHE=  2970  ")));
  EXPECT_EQ(s.IniSchluessel, QStringLiteral("seitenhöhe"));
  EXPECT_EQ(s.IniWert, QStringLiteral("2970"));
  EXPECT_TRUE(LeseIniZeile(s, QStringLiteral("Programmname = a=b")));
  EXPECT_EQ(s.IniWert, QStringLiteral("a=b"));
  EXPECT_FALSE(LeseIniZeile(s, QStringLiteral("ohne Gleichheitszeichen")));
}

TEST_F(EinstellungenTest, KantenfaelleDesLesens) {
  ini(crlf({
      "PAPIERART    =   A5",
      "unbekannt = 17",
      "Startdatei = ",
      "Seitenbreite = ",  // empty number: skipped
      "Zeile ohne Gleichheitszeichen",
      "Rasterbreite =  50",
      "Rasterbreite =  60",  // a later line wins
      "Rasterhöhe =  80",    // (UTF-8 in an otherwise ASCII file)
      "Gitter x = 7",
      "Querformat = 5",
      "MM Genau = x",
  }));
  EXPECT_EQ(s.Seite->Papier, QStringLiteral("A5"));
  EXPECT_EQ(s.Startdokument, QString());
  EXPECT_EQ(s.Seite->Breite, 2100);
  EXPECT_EQ(s.RasterX, 60);
  EXPECT_EQ(s.RasterY, 80);
  EXPECT_EQ(s.MagnetX, 60);
  EXPECT_EQ(s.MagnetY, 80);
  EXPECT_TRUE(s.Seite->Querformat);
  EXPECT_EQ(s.MmGenau, 0);
}

TEST_F(EinstellungenTest, UngueltigeWerteErreichenZeichnenNie) {
  for (const char* zeile :
       {"Rasterbreite = 0", "Rasterbreite = 0.5", "Rasterbreite = -100", "Rasterbreite = nan",
        "Rasterbreite = inf", "Rasterbreite = 1e999", "Seitenbreite = 0", "Seitenbreite = -2100",
        "Seitenbreite = 3000000000", "Seitenbreite = 2000000000", "Seitenbreite = 50001",
        "Seitenhöhe = 0", "Seitenhöhe = 100000", "Gitter an = 1e300"}) {
    Programmzustand t;
    t.fenster = &fenster;
    Main(t, ordner.path());
    dateiSchreiben(pfad(QStringLiteral("qx.ini")), QByteArray(zeile) + "\r\n");
    LadeEinstellungen(t);
    EXPECT_EQ(t.RasterX, 100) << zeile;
    EXPECT_EQ(t.MagnetX, 100) << zeile;
    EXPECT_EQ(t.Seite->Breite, 2100) << zeile;
    EXPECT_EQ(t.Seite->Hoehe, 2980) << zeile;
    EXPECT_EQ(t.MagnetAn, 0) << zeile;
  }
  // The smallest allowed spacing is one unit; the largest page is 5 m.
  ini("Rasterhöhe = 1\r\nSeitenhöhe = 50000\r\n");
  EXPECT_EQ(s.RasterY, 1);
  EXPECT_EQ(s.Seite->Hoehe, 50000);
  // Faulty lines are skipped without a word: the start must not stop for a message.
  EXPECT_TRUE(fenster.meldungen.empty());
}

TEST_F(EinstellungenTest, ExportzoomAusserhalbEinsBisZehnGiltAlsZwei) {
  // No settings file: the unset start value becomes 2.
  EXPECT_EQ(s.Exportzoom, 2);
  const struct {
    const char* wert;
    double erwartet;
  } faelle[] = {{"0", 2}, {"11", 2}, {"-3", 2}, {"abc", 2}, {"1", 1}, {"10", 10}, {"2.5", 2.5}};
  for (const auto& f : faelle) {
    s.Exportzoom = 0;
    ini(QByteArray("ZoomExport = ") + f.wert + "\r\n");
    EXPECT_EQ(s.Exportzoom, f.erwartet) << f.wert;
  }
}

TEST_F(EinstellungenTest, KodierungenUndZeilenenden) {
  // UTF-8 without a mark, LF line ends.
  ini("Seitenh\xC3\xB6he = 2500\nRasterh\xC3\xB6he = 40\n");
  EXPECT_EQ(s.Seite->Hoehe, 2500);
  EXPECT_EQ(s.RasterY, 40);
  // UTF-8 with a mark.
  ini("\xEF\xBB\xBFSeitenh\xC3\xB6he = 2400\r\n");
  EXPECT_EQ(s.Seite->Hoehe, 2400);
  // Windows-1252, and a decimal comma.
  ini("Seitenh\xF6he = 2300\r\nRasterbreite = 12,5\r\n");
  EXPECT_EQ(s.Seite->Hoehe, 2300);
  EXPECT_EQ(s.RasterX, 12.5);
  // CR-only line ends, and UTF-16 with its mark, as editors may leave the file.
  ini("Seitenh\xF6he = 2200\rRasterbreite = 20\r");
  EXPECT_EQ(s.Seite->Hoehe, 2200);
  EXPECT_EQ(s.RasterX, 20);
  QStringEncoder utf16(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
  ini(utf16.encode(u"Seitenbreite = 1900\r\n"));
  EXPECT_EQ(s.Seite->Breite, 1900);
  // The file name is found whatever its letter case.
  QFile::remove(pfad(QStringLiteral("qx.ini")));
  dateiSchreiben(pfad(QStringLiteral("QX.INI")), "Seitenbreite = 2000\r\n");
  LadeEinstellungen(s);
  EXPECT_EQ(s.Seite->Breite, 2000);
}

TEST_F(EinstellungenTest, FehlendeOderUnlesbareDateiBehaeltStartwerteSchreibfehlerWirdGemeldet) {
  EXPECT_EQ(s.RasterX, 100);
  EXPECT_EQ(s.Seite->Breite, 2100);
  EXPECT_EQ(s.Seite->Papier, QString());
  EXPECT_TRUE(fenster.meldungen.empty());

  // A settings file that is a pipe or a device is not read (it would never end): the start
  // values stay and the user is told.
  ASSERT_EQ(::mkfifo(QFile::encodeName(pfad(QStringLiteral("qx.ini"))).constData(), 0600), 0);
  s.RasterX = 40;
  LadeEinstellungen(s);
  EXPECT_EQ(s.RasterX, 40);
  ASSERT_EQ(fenster.meldungen.size(), 1u);
  EXPECT_TRUE(fenster.meldungen[0].text.contains(pfad(QStringLiteral("qx.ini"))));

  // A file that cannot be written: a German sentence, the system's text as a detail.
  fenster.meldungen.clear();
  s.Startverzeichnis = pfad(QStringLiteral("gibt/es/nicht/"));
  EXPECT_FALSE(SpeichereEinstellungen(s));
  ASSERT_EQ(fenster.meldungen.size(), 1u);
  EXPECT_TRUE(fenster.meldungen[0].text.startsWith(
      QStringLiteral("Die Einstellungen konnten nicht in der Datei „%1“ gespeichert werden.\n\n")
          .arg(pfad(QStringLiteral("gibt/es/nicht/qx.ini")))))
      << fenster.meldungen[0].text.toStdString();
}
