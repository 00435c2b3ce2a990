// Printing a page: the letter merged on a copy and laid into frame 31, one page per job,
// the program state put back however the print ends; and the letter merge itself.
#include <gtest/gtest.h>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>

#include "core/brieftext.h"
#include "core/programmzustand.h"
#include "core/start.h"
#include "elements/text/schriftarten.h"
#include "elements/text/seriendruck.h"
#include "gemeinsam/testfenster.h"
#include "io/dokument.h"
#include "io/drucken.h"
#include "platform/drucksteuerung.h"

namespace {
QString pdfText(const QString& pdf, int seite) {
  QProcess p;
  p.start(QStringLiteral("pdftotext"),
          {QStringLiteral("-f"), QString::number(seite), QStringLiteral("-l"),
           QString::number(seite), QStringLiteral("-layout"), pdf, QStringLiteral("-")});
  p.waitForFinished(30000);
  return QString::fromUtf8(p.readAllStandardOutput());
}

int pdfSeiten(const QString& pdf) {
  QProcess p;
  p.start(QStringLiteral("pdfinfo"), {pdf});
  p.waitForFinished(30000);
  const QString info = QString::fromUtf8(p.readAllStandardOutput());
  const auto treffer = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
  return treffer.hasMatch() ? treffer.captured(1).toInt() : 0;
}

// Bounding box (points) of the first word equal to `wort` on page 1.
QRectF wortBox(const QString& pdf, const QString& wort) {
  QProcess p;
  p.start(QStringLiteral("pdftotext"),
          {QStringLiteral("-bbox"), QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
           QStringLiteral("1"), pdf, QStringLiteral("-")});
  p.waitForFinished(30000);
  const QString html = QString::fromUtf8(p.readAllStandardOutput());
  const QRegularExpression wortZeile(
      QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                     "yMax=\"([\\d.]+)\">([^<]*)</word>"));
  auto it = wortZeile.globalMatch(html);
  while (it.hasNext()) {
    const auto m = it.next();
    if (m.captured(5).contains(wort))
      return QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                    QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()));
  }
  return QRectF();
}

struct DruckTest : ::testing::Test {
  QTemporaryDir ordner;
  Programmzustand s;
  TestFenster fenster;
  QString pdf;
  void SetUp() override {
    const QDir daten(QStringLiteral(QX_QUELLE "/data"));
    for (const QString& name : daten.entryList(QDir::Files))
      QFile::copy(daten.filePath(name), QDir(ordner.path()).filePath(name));
    Main(s, ordner.path());
    s.fenster = &fenster;
    SchriftartenErmitteln(s);
    s.Ladeauftrag = QStringLiteral("neu");
    ASSERT_TRUE(LadeDokument(s));
    pdf = QDir(ordner.path()).filePath(QStringLiteral("druck.pdf"));
    s.VSPrinter1->setzePdfDatei(pdf);
    s.BrieftextRTF = QStringLiteral(
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Times New Roman;}}\\f0\\fs24 "
        "Sehr geehrte #Feld05, heute ist der #Datum.\\par}");
  }
};
}  // namespace

TEST_F(DruckTest, BriefLandetGemischtInRahmen31) {
  fenster.felder[5] = QStringLiteral("Zauberwort");
  s.VSPrinter1->Preview = false;
  ASSERT_TRUE(DruckeSeite(s)) << (fenster.meldungen.empty()
                                      ? ""
                                      : qPrintable(fenster.meldungen[0].text));
  EXPECT_TRUE(fenster.meldungen.empty());
  EXPECT_EQ(s.Druckmodus, 0);
  EXPECT_EQ(s.TwipsProPixelX, 15);
  EXPECT_EQ(s.TwipsProPixelY, 15);
  EXPECT_FALSE(s.VSPrinter1->Preview);
  ASSERT_EQ(pdfSeiten(pdf), 1);
  const QString text = pdfText(pdf, 1);
  EXPECT_TRUE(text.contains(QStringLiteral("Zauberwort")));
  EXPECT_TRUE(text.contains(QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"))));
  EXPECT_FALSE(text.contains(QStringLiteral("#Feld")));
  EXPECT_FALSE(text.contains(QStringLiteral("#Datum")));
  // The merged word lies inside frame 31 (units * 5.67 twips / 20 = points).
  const ClassRahmen& brief = s.rahmen(31);
  const QRectF rahmen(brief.x * 5.67 / 20, brief.y * 5.67 / 20, brief.Breite * 5.67 / 20,
                      brief.Hoehe * 5.67 / 20);
  const QRectF wort = wortBox(pdf, QStringLiteral("Zauberwort"));
  ASSERT_FALSE(wort.isNull());
  EXPECT_TRUE(rahmen.adjusted(-1, -1, 1, 1).contains(wort)) << wort.x() << " " << wort.y();
  // The letter as stored is not changed by printing.
  EXPECT_TRUE(s.BrieftextRTF.contains(QStringLiteral("#Feld05")));
}

TEST_F(DruckTest, JederEinzeldruckErsetztDieDatei) {
  s.VSPrinter1->Preview = false;
  fenster.felder[5] = QStringLiteral("Erstadresse");
  ASSERT_TRUE(DruckeSeite(s));
  fenster.felder[5] = QStringLiteral("Zweitadresse");
  ASSERT_TRUE(DruckeSeite(s));
  ASSERT_EQ(pdfSeiten(pdf), 1);
  EXPECT_TRUE(pdfText(pdf, 1).contains(QStringLiteral("Zweitadresse")));
  EXPECT_FALSE(pdfText(pdf, 1).contains(QStringLiteral("Erstadresse")));
}

// Each address is merged into the letter as it was read, also after an address whose
// field text broke the letter's paragraphs.
TEST_F(DruckTest, JedeAdresseMischtDenBriefWieGelesen) {
  s.BrieftextRTF = QStringLiteral("{\\rtf1 A #Feld05 B #feld05\\par C\\par}");
  s.VSPrinter1->Preview = true;
  for (const char* feld : {"eins\nzwei", "drei", "vier\r\nf\u00fcnf"}) {
    fenster.felder[5] = QString::fromUtf8(feld);
    ASSERT_TRUE(DruckeSeite(s));
    ASSERT_TRUE(s.VSPrinter1->PrintDoc());
    const QString wert = fenster.felder[5].simplified();
    const QString text = pdfText(pdf, 1).simplified();
    EXPECT_TRUE(text.contains(" A " + wert + " B " + wert + " C ")) << qPrintable(text);
  }
}

TEST_F(DruckTest, LangerBriefWirdGanzAufFolgeseitenGedruckt) {
  // 60 paragraphs of about 330 characters: some 20,000 characters, several pages.
  QString rtf = QStringLiteral("{\\rtf1\\ansi{\\fonttbl{\\f0 Times New Roman;}}\\f0\\fs24 ");
  for (int i = 1; i <= 60; ++i) {
    rtf += QStringLiteral("Absatz%1 ").arg(i, 2, 10, QLatin1Char('0'));
    for (int w = 0; w < 40; ++w) rtf += QStringLiteral("Fülltext ");
    rtf += QStringLiteral("Ende%1\\par ").arg(i, 2, 10, QLatin1Char('0'));
  }
  s.BrieftextRTF = rtf + QStringLiteral("}");
  s.VSPrinter1->Preview = false;
  ASSERT_TRUE(DruckeSeite(s));
  const int seiten = pdfSeiten(pdf);
  ASSERT_GE(seiten, 3);
  QString alles;
  for (int i = 1; i <= seiten; ++i) alles += pdfText(pdf, i);
  int zuletzt = -1;
  for (int i = 1; i <= 60; ++i) {
    for (const char* marke : {"Absatz", "Ende"}) {
      const QString wort =
          QString::fromLatin1(marke) + QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'));
      const int stelle = static_cast<int>(alles.indexOf(wort));
      EXPECT_GT(stelle, zuletzt) << qPrintable(wort);
      zuletzt = std::max(zuletzt, stelle);
    }
  }
  // Each word is printed once: no page draws the lines of another.
  EXPECT_EQ(alles.count(QStringLiteral("Ende60")), 1);
  EXPECT_EQ(alles.count(QStringLiteral("Absatz01")), 1);
}

TEST_F(DruckTest, SeitenumbruchImGemischtenBriefBeginntEineNeueSeite) {
  fenster.felder[5] = QStringLiteral("Zauberwort");
  s.BrieftextRTF = QStringLiteral("{\\rtf1 Eins #Feld05\\page Zwei\\par}");
  s.VSPrinter1->Preview = false;
  ASSERT_TRUE(DruckeSeite(s));
  ASSERT_EQ(pdfSeiten(pdf), 2);
  const QString seite1 = pdfText(pdf, 1).simplified();
  EXPECT_TRUE(seite1.contains(QStringLiteral("Eins Zauberwort"))) << qPrintable(seite1);
  EXPECT_FALSE(seite1.contains(QStringLiteral("Zwei")));
  EXPECT_EQ(pdfText(pdf, 2).simplified().toStdString(), "Zwei");
}

// A letter frame wholly off the paper: the preview, the preview printed and a page printed
// on its own all show the page without the letter text; the preview and the print say so.
TEST_F(DruckTest, BriefrahmenUnterDemPapierDrucktDieSeiteOhneBrief) {
  fenster.felder[5] = QStringLiteral("Zauberwort");
  s.rahmen(AnzahlFesteRahmen).y = s.Seite->Hoehe;
  s.VSPrinter1->Preview = true;
  ASSERT_TRUE(DruckeSeite(s));
  ASSERT_TRUE(s.VSPrinter1->PrintDoc());
  EXPECT_EQ(pdfSeiten(pdf), 1);
  EXPECT_FALSE(pdfText(pdf, 1).contains(QStringLiteral("Zauberwort")));
  s.VSPrinter1->Preview = false;
  ASSERT_TRUE(DruckeSeite(s));
  EXPECT_EQ(pdfSeiten(pdf), 1);
  EXPECT_FALSE(pdfText(pdf, 1).contains(QStringLiteral("Zauberwort")));
  QStringList meldungen;
  for (const auto& m : fenster.meldungen) meldungen << m.text;
  EXPECT_EQ(meldungen,
            (QStringList{"Der Brieftext liegt außerhalb des Papiers und wird nicht gedruckt.",
                         "Der Brieftext liegt außerhalb des Papiers und wurde nicht gedruckt."}));
}

TEST_F(DruckTest, VorschauDrucktNichtsUndFehlerStellenAllesZurueck) {
  s.VSPrinter1->Preview = true;
  ASSERT_TRUE(DruckeSeite(s));
  EXPECT_FALSE(QFile::exists(pdf));
  EXPECT_EQ(s.VSPrinter1->seitenzahl(), 1);
  EXPECT_TRUE(s.VSPrinter1->Preview);

  s.VSPrinter1->setzePdfDatei(QDir(ordner.path()).filePath(QStringLiteral("fehlt/x.pdf")));
  s.VSPrinter1->Preview = false;
  EXPECT_FALSE(DruckeSeite(s));
  ASSERT_EQ(fenster.meldungen.size(), 1u);
  EXPECT_TRUE(fenster.meldungen[0].text.contains(QStringLiteral("nicht geschrieben")));
  EXPECT_EQ(s.Druckmodus, 0);
  EXPECT_EQ(s.TwipsProPixelX, 15);
  EXPECT_FALSE(s.VSPrinter1->Preview);
}

struct Briefmischung : ::testing::Test {
  Programmzustand s;
  TestFenster fenster;
  void SetUp() override { s.fenster = &fenster; }
};

TEST_F(Briefmischung, FelderDatumUndGrenzen) {
  fenster.felder[7] = QStringLiteral("Sieben");
  fenster.felder[21] = QStringLiteral("<#Feld22>");
  fenster.felder[22] = QStringLiteral("<#Feld21>");
  QTextDocument brief;
  QTextCursor c(&brief);
  QTextCharFormat fett;
  fett.setFontWeight(QFont::Bold);
  c.insertText(QStringLiteral("A #Feld07 B #FELD7 C #Feld99 D #Datum E #datum F "));
  c.insertText(QStringLiteral("#Feld07"), fett);
  c.insertText(QStringLiteral(" G #Feldxx H #Feld21 I #Feld07 J #Feld\n#Feld7\n#Feld7") +
               QChar(QChar::LineSeparator) + QStringLiteral("#Feld7"));
  FelderMischen(s, brief);
  const QString text = brief.toPlainText();
  const QString datum = DatumText();
  // "#FELD7 " is seven characters: the blank after the 7 goes with the field.
  EXPECT_TRUE(text.startsWith(QStringLiteral("A Sieben B SiebenC #Feld99 D ") + datum +
                              QStringLiteral(" E ") + datum +
                              QStringLiteral(" F Sieben G #Feldxx H ")))
      << qPrintable(text);
  // A one-digit field before a paragraph or line break and at the very end is merged, the
  // break stays; a field that names itself in turn leaves the fields after it merged.
  EXPECT_TRUE(brief.toRawText().endsWith(
      QStringLiteral(" I Sieben J #Feld\u2029Sieben\u2029Sieben\u2028Sieben")))
      << qPrintable(text);
  // Fields that name each other end: one field's expansion nests 99 deep.
  EXPECT_EQ(text.count(QLatin1Char('<')), 99);
  // The inserted text keeps the merge field's formatting.
  const int pos = static_cast<int>(text.indexOf(QStringLiteral("F Sieben"))) + 3;
  QTextCursor k(&brief);
  k.setPosition(pos);
  EXPECT_EQ(k.charFormat().fontWeight(), QFont::Bold);

  // The nesting bound is one field's: a letter with 120 fields merges every one of them.
  QTextDocument lang;
  QString felder;
  for (int i = 0; i < 120; ++i) felder += QStringLiteral("#Feld07,");
  lang.setPlainText(felder);
  FelderMischen(s, lang);
  EXPECT_EQ(lang.toPlainText().count(QStringLiteral("Sieben,")), 120);
}

// A long letter in one paragraph, 20,000 times a date and three fields: every field is
// merged, those inserted by another field too, also after a field text that breaks the
// paragraph; the letter grows by far more than a short text may.
TEST_F(Briefmischung, LangerBriefWirdGanzGemischt) {
  fenster.felder[21] = QStringLiteral("Musterfirma GmbH");
  fenster.felder[22] = QStringLiteral("<#Feld21>");
  fenster.felder[23] = QStringLiteral("a\r\nb#Feld21");
  QTextDocument brief;
  brief.setPlainText(QStringLiteral("#Datum #feld21 #FELD22 #Feld23 ").repeated(20000));
  FelderMischen(s, brief);
  EXPECT_EQ(
      brief.toPlainText(),
      (DatumText() + " Musterfirma GmbH <Musterfirma GmbH> a\nbMusterfirma GmbH ").repeated(20000));
}
