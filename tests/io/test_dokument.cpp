#include <sys/stat.h>

#include <QDir>
#include <QStringEncoder>
#include <functional>

#include "core/seite_zeichnen.h"
#include "dateitest.h"
#include "io/dokument.h"
#include "io/layout.h"
#include "platform/textdatei.h"

namespace {

// Lines of the start document's file: header 0-8, "Rahmen" 9, count 10, then the records.
constexpr int F = 31;
constexpr int S = 30;
int rahmenZeile(int i, int feld) { return 11 + 10 * (i - 1) + feld; }
int schriftZeile(int j, int feld) { return 13 + 10 * F + 27 * (j - 1) + feld; }
constexpr int kBildAbschnitt = 13 + 10 * F + 27 * S;  // "Bild"; then its count, "Linie", ...

std::optional<double> zahl(const Variante& v) { return varianteZahl(v); }

void erwarteGleich(const ClassRahmen& a, const ClassRahmen& b, int i) {
  EXPECT_EQ(a.Breite, b.Breite) << i;
  EXPECT_EQ(a.Hoehe, b.Hoehe) << i;
  EXPECT_EQ(zahl(a.Objektnummer), zahl(b.Objektnummer)) << i;
  EXPECT_EQ(a.Objekttyp, b.Objekttyp) << i;
  EXPECT_EQ(a.Sichtbar, b.Sichtbar) << i;
  EXPECT_EQ(a.Proportional, b.Proportional) << i;
  EXPECT_EQ(a.Verankert, b.Verankert) << i;
  EXPECT_EQ(a.x, b.x) << i;
  EXPECT_EQ(a.y, b.y) << i;
  EXPECT_EQ(a.z, b.z) << i;
}

// A text element with its size as a plain number, so that the stored text "12" equals the
// number 12.
ClassSchrift mitZahlGroesse(ClassSchrift t) {
  if (auto v = varianteZahl(t.FontSize)) t.FontSize = *v;
  return t;
}

// Every stored member of the document in b equals that of a; every frame has Data 0.
void erwarteGleichesDokument(const Programmzustand& a, const Programmzustand& b) {
  ASSERT_EQ(a.AnzahlRahmen, b.AnzahlRahmen);
  ASSERT_EQ(a.AnzahlSchriften, b.AnzahlSchriften);
  ASSERT_EQ(a.AnzahlBilder, b.AnzahlBilder);
  ASSERT_EQ(a.AnzahlLinien, b.AnzahlLinien);
  ASSERT_EQ(a.AnzahlRTF, b.AnzahlRTF);
  for (int i = 1; i <= a.AnzahlRahmen; ++i) {
    erwarteGleich(*a.Rahmenliste[i], *b.Rahmenliste[i], i);
    EXPECT_EQ(b.Rahmenliste[i]->Data, 0) << i;
  }
  for (int i = 1; i <= a.AnzahlSchriften; ++i)
    EXPECT_TRUE(mitZahlGroesse(*a.Schriften[i]) == mitZahlGroesse(*b.Schriften[i])) << i;
  for (int i = 1; i <= a.AnzahlBilder; ++i) EXPECT_TRUE(*a.Bilder[i] == *b.Bilder[i]) << i;
  for (int i = 1; i <= a.AnzahlLinien; ++i) EXPECT_TRUE(*a.Linien[i] == *b.Linien[i]) << i;
  for (int i = 1; i <= a.AnzahlRTF; ++i) EXPECT_EQ(a.RTFDateien[i], b.RTFDateien[i]) << i;
}

struct DokumentTest : DateiTest {
  // Loads a file into a fresh state started in the same folder.
  std::unique_ptr<Programmzustand> laden(const QString& datei) {
    auto neu = std::make_unique<Programmzustand>();
    neu->fenster = &fenster;
    Main(*neu, ordner.path());
    EXPECT_TRUE(DokumentOeffnen(*neu, datei));
    return neu;
  }

  // Adds a picture frame, two line frames and a second letter element, with every member
  // set away from its default.
  void jedeElementart() {
    s.Bilder.resize(2);
    s.Bilder[1] = std::make_shared<ClassBild>();
    ClassBild& b = *s.Bilder[1];
    b.File_Name = QStringLiteral("Logo.bmp");
    b.File_Path = QStringLiteral("C:\\Bilder");
    b.File_Dir = QStringLiteral("c:");
    b.EffektTrapez = -1500;
    b.EffektMosaik = 12;
    b.EffektPixel = 1000;
    b.Effekt = QStringLiteral("0");
    b.Schaerfe = -1000;
    b.Farbverschiebung = 3600;
    b.Farbintensitaet = -250;
    b.Kontrast = 1000;
    b.Helligkeit = -1000;
    b.File = QStringLiteral("C:\\Bilder\\Logo.bmp");
    b.Rotate = 36000;
    b.Invert = true;
    b.Gray = true;
    s.AnzahlBilder = 1;

    s.Linien.resize(3);
    for (int i = 1; i <= 2; ++i) {
      s.Linien[i] = std::make_shared<ClassLinie>();
      ClassLinie& l = *s.Linien[i];
      l.Fuellung = i == 1;
      l.Staerke = static_cast<int16_t>(25 * i);
      l.widht = 12.5f;
      l.y = -0.1f;
      l.x = 1e6f * i;
      l.ColorCircle = 2;
      l.Height = 3.4e38f;
      l.ShadowWay = 3;
      l.ShadowType = 1;
      l.ShadowDeep = 100;
      l.ShadowAngle = 359;
      l.ShadowColor2 = RGB(1, 2, 3);
      l.ShadowColor1 = RGB(255, 255, 255);
      l.Angle = -45;
      l.Form = static_cast<int16_t>(17 + i);
      l.Color2 = RGB(0, 255, 0);
      l.Color1 = -2147483647 - 1;
    }
    s.AnzahlLinien = 2;

    s.RTFDateien.resize(3);
    s.RTFDateien[2] = QStringLiteral("Anlage.rtf");
    s.AnzahlRTF = 2;

    ClassSchrift& t = s.schrift(3);
    t.Sichtbar = false;
    t.AusrichtungV = 2;
    t.AusrichtungH = 1;
    t.Data = -7;
    t.Textstring = QStringLiteral("  Grüße aus Köln, #Feld22 €  ");
    t.ColorCircle = 1;
    t.z = 4;
    t.Height = -1;
    t.widht = 2147483647;
    t.Top = -2147483647 - 1;
    t.x = 5;
    t.Color2 = RGB(12, 34, 56);
    t.Color1 = RGB(255, 0, 0);
    t.Strike = t.Bold = t.Italic = t.Underline = true;
    t.FontSize = QStringLiteral("14");
    t.fontname = QStringLiteral("Times New Roman");
    t.CharSpace = -5;
    t.Angle = 360;
    t.ShadowAngle = 270;
    t.ShadowWay = 1;
    t.ShadowType = 2;
    t.ShadowDeep = 100;
    t.ShadowColor2 = RGB(9, 9, 9);
    t.ShadowColor1 = RGB(8, 8, 8);
    s.schrift(4).FontSize = 10.5;

    NeuerRahmen(s, 32, QStringLiteral("Bild"), 1);
    NeuerRahmen(s, 33, QStringLiteral("Linie"), 1);
    NeuerRahmen(s, 34, QStringLiteral("Linie"), 2);
    NeuerRahmen(s, 35, QStringLiteral("RTF"), 2);
    s.rahmen(32).Proportional = true;
    s.rahmen(33).Verankert = true;
    s.rahmen(34).Sichtbar = false;
    s.rahmen(35).x = -300;
    s.rahmen(35).Breite = 0;
    std::swap(s.rahmen(1).z, s.rahmen(34).z);
  }
};

}  // namespace

// The redraw at the end of every load hides text frames whose text is empty; the documents
// compared are therefore both taken after a redraw.

TEST_F(DokumentTest, StartdokumentRundlauf) {
  SeiteZeichnen(s);
  s.AktuelleDatei = pfad(QStringLiteral("start.qxm"));
  ASSERT_TRUE(SpeichereDokument(s));
  EXPECT_EQ(textdatei::lesen(s.AktuelleDatei).zeilen.size(), 20 + 10 * 31 + 27 * 30 + 1);
  const auto neu = laden(s.AktuelleDatei);
  erwarteGleichesDokument(s, *neu);
  EXPECT_TRUE(fenster.meldungen.empty());
}

TEST_F(DokumentTest, JedeElementartRundlaufUnterJedemGebietsschema) {
  jedeElementart();
  SeiteZeichnen(s);
  for (const QLocale& locale : {QLocale(QLocale::C), QLocale(QLocale::German, QLocale::Germany)}) {
    LocaleWechsel wechsel(locale);
    s.AktuelleDatei = pfad(QStringLiteral("alles.qxm"));
    ASSERT_TRUE(SpeichereDokument(s));
    const auto neu = laden(s.AktuelleDatei);
    erwarteGleichesDokument(s, *neu);
    EXPECT_EQ(neu->Bilder.size(), 2u);
    EXPECT_EQ(neu->Linien.size(), 3u);
  }
  EXPECT_TRUE(fenster.meldungen.empty());
}

TEST_F(DokumentTest, EinfacheZahlenMitDezimalkommaLadenUeberall) {
  jedeElementart();
  s.AktuelleDatei = pfad(QStringLiteral("komma.qxm"));
  {
    LocaleWechsel deutsch(QLocale(QLocale::German, QLocale::Germany));
    ASSERT_TRUE(SpeichereDokument(s));
  }
  const QStringList zeilen = textdatei::lesen(s.AktuelleDatei).zeilen;
  EXPECT_TRUE(zeilen.contains(QStringLiteral("12,5")));
  EXPECT_TRUE(zeilen.contains(QStringLiteral("-0,1")));
  // Read under the C locale of the test.
  const auto neu = laden(s.AktuelleDatei);
  EXPECT_EQ(neu->linie(1).widht, 12.5f);
  EXPECT_EQ(neu->linie(1).y, -0.1f);
  EXPECT_EQ(neu->linie(2).x, 2e6f);
}

TEST_F(DokumentTest, KleinesDokumentAufsByte) {
  s.Rahmenliste.assign(3, nullptr);
  s.Schriften.assign(2, nullptr);
  s.Bilder.assign(2, nullptr);
  s.Linien.assign(2, nullptr);
  s.RTFDateien = {QString(), QStringLiteral("RTF1.rtf")};
  s.AnzahlRahmen = 2;
  s.AnzahlSchriften = s.AnzahlBilder = s.AnzahlLinien = s.AnzahlRTF = 1;

  s.Rahmenliste[1] = std::make_shared<ClassRahmen>();
  ClassRahmen& r1 = s.rahmen(1);
  r1.Breite = 500;
  r1.Hoehe = 200;
  r1.Objektnummer = 1.0;
  r1.Objekttyp = QStringLiteral("Schrift");
  r1.Sichtbar = true;
  r1.Verankert = true;
  r1.x = 100;
  r1.y = -50;
  r1.z = 2;
  s.Rahmenliste[2] = std::make_shared<ClassRahmen>();
  ClassRahmen& r2 = s.rahmen(2);
  r2.Breite = 1700;
  r2.Hoehe = 10;
  r2.Objektnummer = 1.0;
  r2.Objekttyp = QStringLiteral("Linie");
  r2.Proportional = true;
  r2.x = 200;
  r2.y = 2800;
  r2.z = 1;

  s.Schriften[1] = std::make_shared<ClassSchrift>();
  ClassSchrift& t = s.schrift(1);
  t.Angle = 90;
  t.AusrichtungH = 1;
  t.AusrichtungV = 2;
  t.Bold = true;
  t.CharSpace = -5;
  t.Color1 = 255;
  t.Color2 = 16777215;
  t.ColorCircle = 1;
  t.Data = 1;
  t.fontname = QStringLiteral("Times New Roman");
  t.FontSize = static_cast<int16_t>(12);
  t.ShadowAngle = 45;
  t.ShadowColor1 = 12632256;
  t.ShadowDeep = 10;
  t.ShadowType = 2;
  t.Textstring = QStringLiteral("Grüße aus Köln");
  t.Top = 7;
  t.Underline = true;
  t.widht = 8;
  t.x = 9;
  t.z = 3;
  t.Sichtbar = true;

  s.Bilder[1] = std::make_shared<ClassBild>();
  ClassBild& b = s.bild(1);
  b.Effekt = QStringLiteral("0");
  b.EffektMosaik = 5;
  b.EffektPixel = 100;
  b.EffektTrapez = -1500;
  b.Farbintensitaet = 200;
  b.Farbverschiebung = -3600;
  b.File = QStringLiteral("C:\\Bilder\\Logo.bmp");
  b.File_Dir = QStringLiteral("c:");
  b.File_Name = QStringLiteral("Logo.bmp");
  b.File_Path = QStringLiteral("C:\\Bilder");
  b.Gray = true;
  b.Helligkeit = -1000;
  b.Kontrast = 1000;
  b.Rotate = 36000;
  b.Schaerfe = 50;

  s.Linien[1] = std::make_shared<ClassLinie>();
  ClassLinie& l = s.linie(1);
  l.Color2 = 65280;
  l.ColorCircle = 2;
  l.Form = 18;
  l.Fuellung = true;
  l.Height = 12.5f;
  l.ShadowAngle = 270;
  l.ShadowColor1 = 12632256;
  l.ShadowColor2 = 255;
  l.ShadowDeep = 100;
  l.ShadowType = 1;
  l.Staerke = 50;
  l.widht = 0.5f;
  l.x = -3;
  l.y = 1e6f;

  s.AktuelleDatei = pfad(QStringLiteral("klein.qxm"));
  ASSERT_TRUE(SpeichereDokument(s));
  const QByteArray erwartet = crlf({
      "QX Datenfile",
      "QX Marvolant",
      "Version 4.00",
      "Reserve",
      "Reserve",
      "Reserve",
      "Reserve",
      "Reserve",
      "Reserve",
      // frames
      "Rahmen",
      "2",
      "500",
      "200",
      "1",
      "Schrift",
      "-1",
      "0",
      "-1",
      "100",
      "-50",
      "2",
      "1700",
      "10",
      "1",
      "Linie",
      "0",
      "-1",
      "0",
      "200",
      "2800",
      "1",
      // text
      "Schrift",
      "1",
      "90",
      "1",
      "2",
      "-1",
      "-5",
      "255",
      "16777215",
      "1",
      "1",
      "Times New Roman",
      "12",
      "0",
      "0",
      "45",
      "12632256",
      "0",
      "10",
      "2",
      "0",
      "0",
      "Gr\xFC\xDF"
      "e aus K\xF6ln",
      "7",
      "-1",
      "8",
      "9",
      "3",
      "-1",
      // picture
      "Bild",
      "1",
      "0",
      "5",
      "100",
      "-1500",
      "200",
      "-3600",
      "C:\\Bilder\\Logo.bmp",
      "c:",
      "Logo.bmp",
      "C:\\Bilder",
      "-1",
      "-1000",
      "0",
      "1000",
      "36000",
      "50",
      // line/shape
      "Linie",
      "1",
      "0",
      "0",
      "65280",
      "2",
      "18",
      "-1",
      "12.5",
      "270",
      "12632256",
      "255",
      "100",
      "1",
      "0",
      "50",
      "0.5",
      "-3",
      "1000000",
      // letter
      "RTF",
      "1",
      "RTF1.rtf",
      "-1",
  });
  const QByteArray datei = dateiInhalt(s.AktuelleDatei);
  EXPECT_EQ(datei, erwartet);
  EXPECT_EQ(datei.count("\r\n"), 20 + 10 * 2 + 27 + 16 + 17 + 1);
}

TEST_F(DokumentTest, NurWindows1252BleibtKlassischSonstUtf8MitBom) {
  s.AktuelleDatei = pfad(QStringLiteral("text.qxm"));
  s.schrift(1).Textstring = QStringLiteral("Müller & Söhne – „Qualität“ für 5 €");
  ASSERT_TRUE(SpeichereDokument(s));
  QByteArray datei = dateiInhalt(s.AktuelleDatei);
  EXPECT_FALSE(datei.startsWith("\xEF\xBB\xBF"));
  EXPECT_TRUE(datei.contains("M\xFCller & S\xF6hne \x96 \x84Qualit\xE4t\x93 f\xFCr 5 \x80\r\n"));

  // A character Windows-1252 cannot hold is not lost: the file becomes UTF-8 with a mark.
  s.schrift(2).Textstring = QStringLiteral("Łódź");
  ASSERT_TRUE(SpeichereDokument(s));
  datei = dateiInhalt(s.AktuelleDatei);
  EXPECT_TRUE(datei.startsWith("\xEF\xBB\xBFQX Datenfile\r\n"));
  const auto neu = laden(s.AktuelleDatei);
  EXPECT_EQ(neu->schrift(1).Textstring, s.schrift(1).Textstring);
  EXPECT_EQ(neu->schrift(2).Textstring, QStringLiteral("Łódź"));
  EXPECT_EQ(fenster.felder[2], QStringLiteral("Łódź"));
}

TEST_F(DokumentTest, ZeilenumbruchImTextHaeltDieDateiLadbar) {
  s.AktuelleDatei = pfad(QStringLiteral("umbruch.qxm"));
  s.schrift(5).Textstring = QStringLiteral("Zeile eins\r\nZeile zwei\nZeile drei");
  s.RTFDateien[1] = QStringLiteral("Brief\n.rtf");
  ASSERT_TRUE(SpeichereDokument(s));
  EXPECT_EQ(textdatei::lesen(s.AktuelleDatei).zeilen.size(), 1141);
  const auto neu = laden(s.AktuelleDatei);
  EXPECT_EQ(neu->schrift(5).Textstring, QStringLiteral("Zeile eins Zeile zwei Zeile drei"));
  EXPECT_EQ(neu->RTFDateien[1], QStringLiteral("Brief .rtf"));
}

TEST_F(DokumentTest, FremdeZeilenendenUtf16UndLeererTextLaden) {
  s.AktuelleDatei = pfad(QStringLiteral("lf.qxm"));
  s.schrift(1).Textstring = QStringLiteral("Größe");
  SeiteZeichnen(s);
  ASSERT_TRUE(SpeichereDokument(s));
  const QByteArray gespeichert = dateiInhalt(s.AktuelleDatei);
  // An empty text is an empty line.
  EXPECT_TRUE(gespeichert.contains("\r\n0\r\n\r\n0\r\n0\r\n0\r\n0\r\n0\r\n-1\r\n"));
  // What editors make of the file: other line ends, "Unicode" (UTF-16) in either byte order.
  const QString text = textdatei::dekodieren(gespeichert);
  auto utf16 = [&](QStringEncoder::Encoding kodierung) {
    QStringEncoder encoder(kodierung, QStringEncoder::Flag::WriteBom);
    return QByteArray(encoder.encode(text));
  };
  const QByteArray varianten[] = {
      QByteArray(gespeichert).replace("\r\n", "\n"),
      QByteArray(gespeichert).replace("\r\n", "\r"),
      QByteArray(gespeichert).replace("\r\n", "\r\r\n"),
      utf16(QStringEncoder::Utf16LE),
      utf16(QStringEncoder::Utf16BE),
  };
  for (const QByteArray& inhalt : varianten) {
    dateiSchreiben(s.AktuelleDatei, inhalt);
    const auto neu = laden(s.AktuelleDatei);
    erwarteGleichesDokument(s, *neu);
    EXPECT_EQ(neu->schrift(1).Textstring, QStringLiteral("Größe"));
    EXPECT_EQ(neu->schrift(2).Textstring, QString());
  }
}

TEST_F(DokumentTest, GeraetOderPipeWirdNichtGelesen) {
  SeiteZeichnen(s);
  const QStringList vorher = dokumentdatei::zeilen(s);
  ASSERT_EQ(::mkfifo(QFile::encodeName(pfad(QStringLiteral("pipe.qxm"))).constData(), 0600), 0);
  for (const QString& geraet : {pfad(QStringLiteral("pipe.qxm")), QStringLiteral("/dev/zero")}) {
    fenster.meldungen.clear();
    EXPECT_FALSE(DokumentOeffnen(s, geraet));
    s.Ladeauftrag = geraet;
    EXPECT_FALSE(LadeLayout(s));
    ASSERT_EQ(fenster.meldungen.size(), 2u) << geraet.toStdString();
    EXPECT_TRUE(fenster.meldungen[0].text.startsWith(
        QStringLiteral("Die Datei „%1“ ").arg(QDir::toNativeSeparators(geraet))))
        << fenster.meldungen[0].text.toStdString();
    EXPECT_EQ(dokumentdatei::zeilen(s), vorher);
  }
}

TEST_F(DokumentTest, PfadNachDemLaden) {
  // An opened file stays the current document: "Speichern" writes it, not "neu.qxm".
  s.AktuelleDatei = pfad(QStringLiteral("brief.qxm"));
  ASSERT_TRUE(SpeichereDokument(s));
  s.AktuelleDatei.clear();
  s.schrift(1).Textstring = QStringLiteral("geändert");
  ASSERT_TRUE(DokumentOeffnen(s, pfad(QStringLiteral("brief.qxm"))));
  EXPECT_EQ(s.AktuelleDatei, pfad(QStringLiteral("brief.qxm")));
  EXPECT_EQ(s.schrift(1).Textstring, QString());
  EXPECT_TRUE(s.Ladeauftrag.isEmpty());
  s.schrift(1).Textstring = QStringLiteral("gespeichert");
  ASSERT_TRUE(SpeichereDokument(s));
  EXPECT_TRUE(dateiInhalt(pfad(QStringLiteral("brief.qxm"))).contains("\r\ngespeichert\r\n"));

  // An empty request loads AktuelleDatei; the name is found ignoring letter case.
  s.AktuelleDatei = pfad(QStringLiteral("BRIEF.QXM"));
  s.schrift(1).Textstring.clear();
  ASSERT_TRUE(LadeDokument(s));
  EXPECT_EQ(s.schrift(1).Textstring, QStringLiteral("gespeichert"));
  EXPECT_EQ(s.AktuelleDatei, pfad(QStringLiteral("brief.qxm")));

  // Only the template makes the document untitled.
  ASSERT_TRUE(
      QFile::copy(datenordner() + QStringLiteral("neu.lay"), pfad(QStringLiteral("NEU.LAY"))));
  s.Ladeauftrag = QStringLiteral("neu");
  ASSERT_TRUE(LadeDokument(s));
  EXPECT_EQ(s.AktuelleDatei, QDir::current().absoluteFilePath(QStringLiteral("neu.qxm")));
  EXPECT_TRUE(s.Ladeauftrag.isEmpty());
  EXPECT_TRUE(fenster.meldungen.empty());
}

TEST_F(DokumentTest, ListengroessenUndIndizesNachDemLaden) {
  s.AktuelleDatei = pfad(QStringLiteral("start.qxm"));
  s.schrift(7).Textstring = QStringLiteral("Sieben");
  ASSERT_TRUE(SpeichereDokument(s));
  // Frame 1 of the file shows text 7.
  QStringList zeilen = textdatei::lesen(s.AktuelleDatei).zeilen;
  // No pictures and no lines: each section is its name and a count of 0.
  EXPECT_EQ(zeilen.mid(kBildAbschnitt, 4), QStringList({"Bild", "0", "Linie", "0"}));
  zeilen[rahmenZeile(1, 2)] = QStringLiteral("7");
  ASSERT_TRUE(textdatei::schreiben(s.AktuelleDatei, zeilen));

  // The document in memory is larger: 40 frames, 35 texts, 3 pictures.
  jedeElementart();
  s.Schriften.resize(36);
  for (int i = 31; i <= 35; ++i) NeueSchrift(s, i);
  s.AnzahlSchriften = 35;
  for (int i = 36; i <= 40; ++i) NeuerRahmen(s, i, QStringLiteral("Schrift"), i - 5);
  s.Bilder.resize(4);
  for (int i = 2; i <= 3; ++i) NeuesBild(s, i);
  s.AnzahlBilder = 3;
  s.AktuellerRahmen = 33;
  s.AktuelleLinie = 1;
  s.AktuellesBild = 3;
  ASSERT_TRUE(LadeDokument(s));

  EXPECT_EQ(s.AnzahlRahmen, 31);
  EXPECT_EQ(s.Rahmenliste.size(), 41u);  // the frame list never shrinks
  EXPECT_EQ(s.AnzahlSchriften, 30);
  EXPECT_EQ(s.Schriften.size(), 31u);  // the text list takes the file's size
  EXPECT_EQ(s.AnzahlBilder, 0);
  EXPECT_EQ(s.Bilder.size(), 4u);  // no pictures in the file: the list keeps its size
  EXPECT_EQ(s.AnzahlLinien, 0);
  EXPECT_EQ(s.Linien.size(), 3u);
  EXPECT_EQ(s.AnzahlRTF, 1);
  EXPECT_EQ(s.RTFDateien.size(), 2u);

  EXPECT_EQ(s.AktuellerRahmen, 1);
  EXPECT_EQ(s.AktuelleSchrift, 7);  // follows frame 1
  EXPECT_EQ(s.AktuellesRTF, 1);
  EXPECT_EQ(s.AktuellesBild, 0);
  EXPECT_EQ(s.AktuelleLinie, 0);
  EXPECT_EQ(fenster.felder[7], QStringLiteral("Sieben"));
  EXPECT_GE(fenster.markierungen, 1);
  EXPECT_GE(fenster.gezeichnet, 1);
}

TEST_F(DokumentTest, ZEbenenWerdenNeuDurchnummeriert) {
  s.AktuelleDatei = pfad(QStringLiteral("z.qxm"));
  ASSERT_TRUE(SpeichereDokument(s));
  QStringList zeilen = textdatei::lesen(s.AktuelleDatei).zeilen;
  // Levels with gaps, ties and negative values.
  std::vector<int> z(F + 1);
  for (int i = 1; i <= F; ++i) {
    z[i] = (i % 4) * 1000 - 2000;
    zeilen[rahmenZeile(i, 9)] = QString::number(z[i]);
  }
  ASSERT_TRUE(textdatei::schreiben(s.AktuelleDatei, zeilen));
  ASSERT_TRUE(LadeDokument(s));
  std::vector<int> folge(F);
  for (int i = 1; i <= F; ++i) folge[i - 1] = i;
  std::stable_sort(folge.begin(), folge.end(), [&](int a, int b) { return z[a] < z[b]; });
  for (int ebene = 1; ebene <= F; ++ebene)
    EXPECT_EQ(s.rahmen(folge[ebene - 1]).z, ebene) << folge[ebene - 1];
}

TEST_F(DokumentTest, UnbekannteRahmenartIstErlaubt) {
  s.AktuelleDatei = pfad(QStringLiteral("art.qxm"));
  ASSERT_TRUE(SpeichereDokument(s));
  QStringList zeilen = textdatei::lesen(s.AktuelleDatei).zeilen;
  zeilen[rahmenZeile(20, 3)] = QStringLiteral("Tabelle");
  zeilen[rahmenZeile(20, 2)] = QStringLiteral("99");
  ASSERT_TRUE(textdatei::schreiben(s.AktuelleDatei, zeilen));
  ASSERT_TRUE(LadeDokument(s));
  EXPECT_EQ(s.rahmen(20).Objekttyp, QStringLiteral("Tabelle"));
  EXPECT_TRUE(fenster.meldungen.empty());
}

TEST_F(DokumentTest, SpeicherfehlerWirdGemeldet) {
  ASSERT_TRUE(QDir(ordner.path()).mkdir(QStringLiteral("ordner.qxm")));
  s.AktuelleDatei = pfad(QStringLiteral("ordner.qxm"));
  EXPECT_FALSE(SpeichereDokument(s));
  ASSERT_EQ(fenster.meldungen.size(), 1u);
  // A German sentence naming the file; the system's own text only below it, as a detail.
  const QStringList absaetze = fenster.meldungen[0].text.split(QStringLiteral("\n\n"));
  ASSERT_EQ(absaetze.size(), 2);
  EXPECT_EQ(absaetze[0], QStringLiteral("Die Datei „%1“ konnte nicht gespeichert werden.")
                             .arg(QDir::toNativeSeparators(s.AktuelleDatei)));
  EXPECT_TRUE(QFileInfo(s.AktuelleDatei).isDir());
}

// ---- Files that are refused --------------------------------------------------------------

namespace {

struct Kaputt {
  const char* name;
  std::function<void(QStringList&)> aendern;
  const char* grund;  // part of the message
};

void PrintTo(const Kaputt& k, std::ostream* os) { *os << k.name; }

struct KaputteDatei : DokumentTest, ::testing::WithParamInterface<Kaputt> {};

void entfernen(QStringList& z, int ab, int anzahl) { z.remove(ab, anzahl); }

const Kaputt kKaputt[] = {
    {"abgeschnitten", [](QStringList& z) { z = z.mid(0, 600); }, "unvollständig"},
    {"ohneSchlusszeile", [](QStringList& z) { z.removeLast(); }, "vorzeitig"},
    {"falscheSchlusszeile", [](QStringList& z) { z.last() = QStringLiteral("0"); }, "Schlusszeile"},
    {"keineZahl", [](QStringList& z) { z[rahmenZeile(3, 7)] = QStringLiteral("abc"); },
     "„abc“ ist keine Zahl"},
    {"leereZahl", [](QStringList& z) { z[rahmenZeile(3, 0)] = QString(); }, "keine Zahl"},
    {"zahlMitText", [](QStringList& z) { z[schriftZeile(2, 0)] = QStringLiteral("12 Grad"); },
     "keine Zahl"},
    {"unendlich", [](QStringList& z) { z[schriftZeile(2, 5)] = QStringLiteral("1e999"); },
     "keine Zahl"},
    {"ueber16Bit", [](QStringList& z) { z[rahmenZeile(2, 9)] = QStringLiteral("40000"); },
     "außerhalb"},
    {"ueber32Bit", [](QStringList& z) { z[rahmenZeile(2, 0)] = QStringLiteral("2147483648"); },
     "außerhalb"},
    {"schriftgroesseText", [](QStringList& z) { z[schriftZeile(4, 10)] = QStringLiteral("zwölf"); },
     "keine Zahl"},
    {"schriftgroesseNull", [](QStringList& z) { z[schriftZeile(4, 10)] = QStringLiteral("0"); },
     "außerhalb"},
    {"negativeAnzahl", [](QStringList& z) { z[kBildAbschnitt + 1] = QStringLiteral("-1"); },
     "negativ"},
    {"anzahlZuGross", [](QStringList& z) { z[kBildAbschnitt + 5] = QStringLiteral("5"); },
     "größer"},
    {"rahmenanzahlZuGross", [](QStringList& z) { z[10] = QStringLiteral("200"); }, "größer"},
    {"anzahlRiesig", [](QStringList& z) { z[kBildAbschnitt + 3] = QStringLiteral("1e300"); },
     "außerhalb"},
    {"wenigerAls31Rahmen",
     [](QStringList& z) {
       entfernen(z, rahmenZeile(31, 0), 10);
       z[10] = QStringLiteral("30");
     },
     "30 Rahmen"},
    {"wenigerAls30Texte",
     [](QStringList& z) {
       entfernen(z, schriftZeile(30, 0), 27);
       z[12 + 10 * F] = QStringLiteral("29");
       z[rahmenZeile(30, 2)] = QStringLiteral("1");
     },
     "29 Textelemente"},
    {"keinBrieftext",
     [](QStringList& z) {
       entfernen(z, kBildAbschnitt + 6, 1);
       z[kBildAbschnitt + 5] = QStringLiteral("0");
       z[rahmenZeile(31, 3)] = QStringLiteral("Etwas");
     },
     "kein Brieftext"},
    {"schriftnummerZuGross", [](QStringList& z) { z[rahmenZeile(5, 2)] = QStringLiteral("31"); },
     "Rahmen 5 verweist"},
    {"schriftnummerNull", [](QStringList& z) { z[rahmenZeile(5, 2)] = QStringLiteral("0"); },
     "Rahmen 5 verweist"},
    {"nummerLeer", [](QStringList& z) { z[rahmenZeile(1, 2)] = QString(); }, "Rahmen 1 verweist"},
    {"rtfNummer", [](QStringList& z) { z[rahmenZeile(31, 2)] = QStringLiteral("2"); },
     "Rahmen 31 verweist"},
    {"bildOhneBild", [](QStringList& z) { z[rahmenZeile(8, 3)] = QStringLiteral("Bild"); },
     "Rahmen 8 verweist"},
    {"abschnittFalsch", [](QStringList& z) { z[kBildAbschnitt] = QStringLiteral("Bilder"); },
     "Abschnitt „Bild“"},
};

}  // namespace

TEST_P(KaputteDatei, WirdAbgelehntUndDasDokumentBleibt) {
  // The file: the start document with its own texts, then broken.
  {
    Programmzustand quelle;
    Main(quelle, ordner.path());
    for (int i = 1; i <= 30; ++i) quelle.schrift(i).Textstring = QStringLiteral("Datei %1").arg(i);
    QStringList zeilen = dokumentdatei::zeilen(quelle);
    ASSERT_EQ(zeilen.size(), 1141);
    GetParam().aendern(zeilen);
    ASSERT_TRUE(textdatei::schreiben(pfad(QStringLiteral("kaputt.qxm")), zeilen));
  }
  // The document in memory.
  s.schrift(1).Textstring = QStringLiteral("Vorher");
  s.AktuelleDatei = pfad(QStringLiteral("vorher.qxm"));
  s.AktuellerRahmen = 5;
  s.AktuelleSchrift = 5;
  SeiteZeichnen(s);
  const int gezeichnet = fenster.gezeichnet;
  const QStringList vorher = dokumentdatei::zeilen(s);
  const auto rahmen1 = s.Rahmenliste[1];
  const auto groesse = s.Schriften.size();

  EXPECT_FALSE(DokumentOeffnen(s, pfad(QStringLiteral("kaputt.qxm"))));

  ASSERT_EQ(fenster.meldungen.size(), 1u);
  const auto& m = fenster.meldungen[0];
  EXPECT_TRUE(
      m.text.startsWith(QStringLiteral("Die Datei %1 ist keine gültige QX-Marvolant-Datei: ")
                            .arg(QDir::toNativeSeparators(pfad(QStringLiteral("kaputt.qxm"))))))
      << m.text.toStdString();
  EXPECT_TRUE(m.text.contains(QString::fromUtf8(GetParam().grund))) << m.text.toStdString();
  EXPECT_EQ(m.titel, QStringLiteral("Warnung!"));
  EXPECT_EQ(dokumentdatei::zeilen(s), vorher);
  EXPECT_EQ(s.Rahmenliste[1], rahmen1);
  EXPECT_EQ(s.Schriften.size(), groesse);
  EXPECT_EQ(s.AktuelleDatei, pfad(QStringLiteral("vorher.qxm")));
  EXPECT_EQ(s.AktuellerRahmen, 5);
  EXPECT_EQ(s.AktuelleSchrift, 5);
  EXPECT_TRUE(s.Ladeauftrag.isEmpty());
  EXPECT_EQ(fenster.markierungen, 1);
  EXPECT_EQ(fenster.gezeichnet, gezeichnet + 1);
}

INSTANTIATE_TEST_SUITE_P(Dokument, KaputteDatei, ::testing::ValuesIn(kKaputt),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DokumentTest, FalscheErsteZeileGibtDieKlassischeMeldung) {
  s.AktuelleDatei = pfad(QStringLiteral("gut.qxm"));
  ASSERT_TRUE(SpeichereDokument(s));
  const QByteArray gut = dateiInhalt(s.AktuelleDatei);
  s.schrift(1).Textstring = QStringLiteral("Vorher");
  SeiteZeichnen(s);
  const QStringList vorher = dokumentdatei::zeilen(s);
  const QByteArray varianten[] = {
      QByteArray(gut).replace("QX Datenfile\r\n", "QX Datenfile \r\n"),
      QByteArray(gut).replace("QX Datenfile\r\n", "qx datenfile\r\n"),
      "\r\n" + gut,
      QByteArray(),
  };
  for (const QByteArray& inhalt : varianten) {
    fenster.meldungen.clear();
    dateiSchreiben(pfad(QStringLiteral("falsch.qxm")), inhalt);
    EXPECT_FALSE(DokumentOeffnen(s, pfad(QStringLiteral("falsch.qxm"))));
    ASSERT_EQ(fenster.meldungen.size(), 1u);
    EXPECT_EQ(fenster.meldungen[0].text, QStringLiteral("Falsches Datenformat"));
    EXPECT_EQ(fenster.meldungen[0].titel, QStringLiteral("Warnung!"));
    EXPECT_EQ(fenster.meldungen[0].knoepfe, Knoepfe::OkAbbrechen);
    EXPECT_EQ(dokumentdatei::zeilen(s), vorher);
    EXPECT_EQ(s.AktuelleDatei, pfad(QStringLiteral("gut.qxm")));
  }
}

TEST_F(DokumentTest, FehlendeDateiWirdGemeldet) {
  SeiteZeichnen(s);
  const QStringList vorher = dokumentdatei::zeilen(s);
  s.AktuelleDatei = pfad(QStringLiteral("da.qxm"));
  EXPECT_FALSE(DokumentOeffnen(s, pfad(QStringLiteral("fehlt.qxm"))));
  ASSERT_EQ(fenster.meldungen.size(), 1u);
  EXPECT_EQ(fenster.meldungen[0].text,
            QStringLiteral("Die Datei %1 wurde nicht gefunden.")
                .arg(QDir::toNativeSeparators(pfad(QStringLiteral("fehlt.qxm")))));
  EXPECT_EQ(dokumentdatei::zeilen(s), vorher);
  EXPECT_EQ(s.AktuelleDatei, pfad(QStringLiteral("da.qxm")));

  // Without a template in the start-up folder, "Neu" keeps the document and its path.
  fenster.meldungen.clear();
  s.Ladeauftrag = QStringLiteral("neu");
  EXPECT_FALSE(LadeDokument(s));
  ASSERT_EQ(fenster.meldungen.size(), 1u);
  EXPECT_TRUE(fenster.meldungen[0].text.contains(QStringLiteral("neu.lay wurde nicht gefunden")));
  EXPECT_EQ(s.AktuelleDatei, pfad(QStringLiteral("da.qxm")));
}
