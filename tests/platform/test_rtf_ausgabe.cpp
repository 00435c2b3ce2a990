// Rich text laid out on the print control: inside its margins on the printed page,
// continued on further pages and after page breaks, every line printed and the output
// ending whatever the margins.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextDocument>

#include "platform/drucksteuerung.h"
#include "platform/rtf_ausgabe.h"

namespace {

constexpr double kBreite = 11907;  // A4 in twips
constexpr double kHoehe = 16840;

// Bounding box of the pixels darker than light grey.
QRect tinte(const QImage& bild) {
  const QImage grau = bild.convertToFormat(QImage::Format_Grayscale8);
  QRect r;
  for (int y = 0; y < grau.height(); ++y) {
    const uchar* zeile = grau.constScanLine(y);
    for (int x = 0; x < grau.width(); ++x) {
      if (zeile[x] < 160) r |= QRect(x, y, 1, 1);
    }
  }
  return r;
}

// The rectangle inside the margins in pixels of an image at `dpi`.
QRectF innen(const Drucksteuerung& d, double dpi) {
  const double s = dpi / 1440.0;
  return QRectF(d.MarginLeft * s, d.MarginTop * s,
                (d.PaperWidth - d.MarginRight - d.MarginLeft) * s,
                (d.PaperHeight - d.MarginBottom - d.MarginTop) * s);
}

void raender(Drucksteuerung& d, double links, double oben, double rechts, double unten) {
  d.PaperWidth = kBreite;
  d.PaperHeight = kHoehe;
  d.MarginLeft = links;
  d.MarginTop = oben;
  d.MarginRight = rechts;
  d.MarginBottom = unten;
}

QByteArray zeilen(int anzahl) {
  QByteArray rtf = "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 ";
  for (int i = 1; i <= anzahl; ++i) rtf += "Zeile " + QByteArray::number(i) + "\\par ";
  return rtf + "}";
}

// The letter as the held document of the print control.
void brief(Drucksteuerung& d, const QByteArray& rtf) {
  d.StartDoc();
  d.setTextRTF(rtf);
  d.EndDoc();
}

// A letter: a long paragraph that must wrap, a right-aligned bold line, a large line.
const QByteArray kBrief =
    "{\\rtf1\\ansi{\\fonttbl{\\f0 Times New Roman;}{\\f1 Arial;}}\\f0\\fs24 "
    "Sehr geehrte Damen und Herren, dies ist ein langer Absatz, der in dem schmalen Rahmen "
    "mehrfach umbrochen werden muss, damit er die R\\'e4nder einh\\'e4lt. "
    "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW\\par"
    "\\pard\\qr\\b\\f1 Rechtsb\\'fcndig fett\\par"
    "\\pard\\b0\\fs48 Gro\\'df\\par}";

TEST(RtfAusgabe, LetterLandsInsideItsMarginsOnThePdfPage) {
  const QString pdftoppm = QStandardPaths::findExecutable("pdftoppm");
  if (pdftoppm.isEmpty()) GTEST_SKIP() << "pdftoppm fehlt";
  QTemporaryDir ordner;
  Drucksteuerung d;
  raender(d, 2000, 4000, kBreite - 2000 - 5000, kHoehe - 4000 - 6000);  // 5000 x 6000 twips
  brief(d, kBrief);
  ASSERT_EQ(d.seitenzahl(), 1);
  d.setzePdfDatei(ordner.filePath("brief.pdf"));
  ASSERT_TRUE(d.PrintDoc()) << d.fehler().toStdString();

  QProcess p;
  p.start(pdftoppm, {"-r", "72", "-gray", ordner.filePath("brief.pdf"), ordner.filePath("s")});
  ASSERT_TRUE(p.waitForFinished(60000));
  const QImage seite(ordner.filePath("s-1.pgm"));
  ASSERT_FALSE(seite.isNull());
  EXPECT_NEAR(seite.width(), kBreite / 20, 1);
  const QRect t = tinte(seite);
  const QRectF r = innen(d, 72);  // 100,200 - 350,500 at 72 dpi
  ASSERT_FALSE(t.isEmpty());
  EXPECT_GE(t.left(), r.left());
  EXPECT_GE(t.top(), r.top());
  EXPECT_LE(t.right(), r.right());
  EXPECT_LE(t.bottom(), r.bottom());
  // The text starts at the top-left corner and reaches the right margin.
  EXPECT_LE(t.left(), r.left() + 4);
  EXPECT_LE(t.top(), r.top() + 12);
  EXPECT_GE(t.right(), r.right() - 6) << "the right-aligned line ends at the margin";
  EXPECT_GE(t.height(), 80) << "the long paragraph wrapped onto several lines";
}

// The output lays the letter's paragraphs out itself: a page of them looks as Qt's own
// document layout draws it, pixel for pixel, in a wide and in a narrow frame (spacing,
// indents, alignment, tab stops, line breaks, mixed sizes, right-to-left text).
TEST(RtfAusgabe, ParagraphsLookAsQtLaysThemOut) {
  const QByteArray rtf =
      "{\\rtf1\\ansi{\\fonttbl{\\f0 Times New Roman;}{\\f1 Arial;}}\\f0\\fs24 Ein langer Absatz, "
      "der umbrochen werden muss, damit er die R\\'e4nder einh\\'e4lt. WWWWWWWWWWWWWWWWWWWWWW\\par"
      "\\pard\\qr\\b\\f1 Rechtsb\\'fcndig fett\\par\\pard\\b0\\fs48 Gro\\'df\\par"
      "\\pard\\sb400\\sa200\\li720\\ri360\\fi-360\\qj\\fs20 Eingezogen im Blocksatz, mit Abstand "
      "davor und danach, lang genug, um umzubrechen.\\par\\pard\\sb100\\qc\\fs28 Zentriert\\line "
      "zweite\\par\\pard\\par\\pard\\tx2000\\tqr\\tx6000 a\\tab b\\tab c\\par\\pard\\fs12 klein"
      "\\fs72 gross\\fs24 mittel\\par\\pard\\sa600 danach\\par\\pard\\sb200\\fi720 davor und "
      "erster Zeileneinzug\\par\\pard \\u1513?\\u1500?\\u1493?\\u1501? world\\par}";
  for (const double breite : {7000.0, 300.0}) {
    Drucksteuerung d;
    raender(d, 1440, 1440, kBreite - 1440 - breite, 0);
    d.PaperHeight = 100000;
    brief(d, rtf);
    ASSERT_EQ(d.seitenzahl(), 1);
    Drucksteuerung qt;
    raender(qt, 0, 0, 0, 0);
    qt.PaperHeight = d.PaperHeight;
    qt.StartDoc();
    QPainter* maler = qt.hdc()->zeichnenBeginnen();
    maler->scale(1 / qt.twipsProPixelX(), 1 / qt.twipsProPixelY());
    maler->translate(1440, 1440);
    const auto doc = rtfDokument(rtf);
    doc->setTextWidth(breite);
    doc->drawContents(maler, QRectF(0, 0, breite, d.PaperHeight));
    qt.EndDoc();
    EXPECT_TRUE(d.seiteAlsBild(0, 48) == qt.seiteAlsBild(0, 48)) << breite;
  }
}

TEST(RtfAusgabe, LongTextContinuesOnFurtherPages) {
  Drucksteuerung d;
  raender(d, 1440, 1440, 1440, kHoehe - 1440 - 3000);  // 3000 twips high: about 10 lines
  brief(d, zeilen(40));
  ASSERT_GE(d.seitenzahl(), 3);
  ASSERT_LE(d.seitenzahl(), 6);
  const QRectF r = innen(d, 72);
  int mitTinte = 0;
  for (int i = 0; i < d.seitenzahl(); ++i) {
    const QImage bild = d.seiteAlsBild(i, 72);
    EXPECT_NEAR(bild.height(), kHoehe / 20, 1) << "each page keeps the paper";
    const QRect t = tinte(bild);
    if (t.isEmpty()) continue;
    ++mitTinte;
    EXPECT_GE(t.top(), r.top()) << "page " << i;
    EXPECT_LE(t.bottom(), r.bottom()) << "page " << i;
    EXPECT_GE(t.left(), r.left()) << "page " << i;
    EXPECT_LE(t.left(), r.left() + 4) << "each page starts at the left margin";
    EXPECT_LE(t.top(), r.top() + 10) << "each page starts at the top margin";
  }
  EXPECT_EQ(mitTinte, d.seitenzahl()) << "no page without text";

  // Text that fits makes no further page; text drawn before stays on the first page.
  Drucksteuerung kurz;
  raender(kurz, 1440, 1440, 1440, 1440);
  brief(kurz, zeilen(3));
  EXPECT_EQ(kurz.seitenzahl(), 1);
}

// The text of each page of the held document printed into a PDF file.
QStringList pdfSeitentexte(Drucksteuerung& d) {
  QTemporaryDir ordner;
  d.setzePdfDatei(ordner.filePath("brief.pdf"));
  if (!d.PrintDoc()) return {d.fehler()};
  QProcess p;
  p.start("pdftotext", {ordner.filePath("brief.pdf"), "-"});
  p.waitForFinished(60000);
  QStringList seiten = QString::fromUtf8(p.readAllStandardOutput()).split('\f');
  if (!seiten.isEmpty() && seiten.last().trimmed().isEmpty()) seiten.removeLast();
  for (QString& s : seiten) s = s.simplified();
  return seiten;
}

// Lines taller than the rectangle and a rectangle lower than any line: every line is
// printed, a line too tall alone on its page; the lines after it go on as usual.
TEST(RtfAusgabe, EveryLineIsPrinted) {
  if (QStandardPaths::findExecutable("pdftotext").isEmpty()) GTEST_SKIP() << "pdftotext fehlt";
  struct Fall {
    double hoehe;  // twips
    QByteArray rtf;
    QStringList seiten;
  } faelle[] = {
      {1134,  // 20 mm
       "{\\rtf1\\fs24 Vorher\\par\\fs144 Riesig\\par\\fs24 Nachher\\par Schluss\\par}",
       {"Vorher", "Riesig", "Nachher Schluss"}},
      {170, zeilen(3), {"Zeile 1", "Zeile 2", "Zeile 3"}},  // 3 mm
  };
  for (const Fall& f : faelle) {
    Drucksteuerung d;
    raender(d, 1440, 1440, 1440, kHoehe - 1440 - f.hoehe);
    brief(d, f.rtf);
    EXPECT_EQ(pdfSeitentexte(d).join(" | ").toStdString(), f.seiten.join(" | ").toStdString())
        << f.rtf.constData();
  }

  // A line too tall shows its letters from their top at the top of the rectangle: whole
  // when they fit (a 72-pt line in 20 mm), else cut at its bottom (200 pt in 10 mm), never
  // only the empty space above them.
  struct Gross {
    double hoehe;
    QByteArray rtf;
    bool ganz;
  } grosse[] = {{1134, "{\\rtf1\\fs144 WWW\\par}", true}, {567, "{\\rtf1\\fs400 W\\par}", false}};
  for (const Gross& g : grosse) {
    Drucksteuerung d;
    raender(d, 1440, 1440, 1440, kHoehe - 1440 - g.hoehe);
    brief(d, g.rtf);
    ASSERT_EQ(d.seitenzahl(), 1);
    const QRect t = tinte(d.seiteAlsBild(0, 72));
    const QRectF r = innen(d, 72);
    ASSERT_FALSE(t.isEmpty()) << g.rtf.constData();
    EXPECT_LE(t.top(), r.top() + 2) << g.rtf.constData();
    EXPECT_LE(t.bottom(), r.bottom());
    if (!g.ganz) {
      EXPECT_GE(t.bottom(), r.bottom() - 2);
    }
  }
}

// A letter frame reaching past the paper's edge (a portrait layout turned landscape): the
// text is laid out on the part of the frame on the paper; no line runs off the sheet.
TEST(RtfAusgabe, FrameBeyondThePaperLosesNoLine) {
  if (QStandardPaths::findExecutable("pdftotext").isEmpty()) GTEST_SKIP() << "pdftotext fehlt";
  QByteArray woerter = "{\\rtf1\\fs24 ";
  QStringList erwartet;
  for (int i = 1; i <= 40; ++i) {
    woerter += "Wort" + QByteArray::number(i) + " ";
    erwartet << QStringLiteral("Wort%1").arg(i);
  }
  struct Fall {
    double links, oben, rechts, unten;
    QByteArray rtf;
    QStringList woerter;
  } faelle[] = {
      {1440, kHoehe - 3000, 1440, -6000, zeilen(20), {}},            // past the bottom
      {kBreite - 3000, 1440, -6000, 1440, woerter + "}", erwartet},  // past the right
  };
  for (int i = 1; i <= 20; ++i) faelle[0].woerter << QStringLiteral("Zeile %1").arg(i);
  for (const Fall& f : faelle) {
    Drucksteuerung d;
    raender(d, f.links, f.oben, f.rechts, f.unten);
    brief(d, f.rtf);
    const QString text = pdfSeitentexte(d).join(' ');
    for (const QString& wort : f.woerter)
      EXPECT_TRUE(text.contains(wort + ' ') || text.endsWith(wort)) << wort.toStdString();
  }
}

// A letter frame wholly off the paper, on any side or just touching its edge: the output
// says so and puts nothing on the page, nor a further page.
TEST(RtfAusgabe, FrameOffThePaperPrintsNothing) {
  struct Fall {
    double links, oben, rechts, unten;
  } faelle[] = {
      {1440, kHoehe + 1000, 1440, -5000},        // below
      {1440, kHoehe, 1440, -3000},               // from the bottom edge down
      {kBreite + 500, 1440, -4000, 1440},        // right
      {-6000, 1440, kBreite + 1000, 1440},       // left
      {1440, -9000, 1440, kHoehe + 2000},        // above
      {-9000, -9000, kBreite + 10, kHoehe + 10}  // above and left, overlapping neither edge
  };
  for (const Fall& f : faelle) {
    Drucksteuerung d;
    raender(d, f.links, f.oben, f.rechts, f.unten);
    d.StartDoc();
    EXPECT_EQ(d.setTextRTF(zeilen(60)), Satzergebnis::Ausserhalb) << f.links << " " << f.oben;
    d.EndDoc();
    EXPECT_TRUE(d.textAusserhalb());
    ASSERT_EQ(d.seitenzahl(), 1);
    EXPECT_TRUE(tinte(d.seiteAlsBild(0, 72)).isEmpty()) << f.links << " " << f.oben;
  }
}

// Zwischendurch is asked at each further page: when it says stop, the output ends there,
// with the pages drawn so far.
TEST(RtfAusgabe, ZwischendurchStopsTheOutput) {
  Drucksteuerung d;
  raender(d, 1440, 1440, 1440, kHoehe - 1440 - 300);  // one line a page
  d.Zwischendurch = [&d] { return d.seitenzahl() < 3; };
  d.StartDoc();
  EXPECT_EQ(d.setTextRTF(zeilen(30)), Satzergebnis::Abgebrochen);
  d.EndDoc();
  EXPECT_EQ(d.seitenzahl(), 3);
  EXPECT_FALSE(d.textAusserhalb());
}

// Letters past the range of Qt's text coordinates (2^25 twips, some 2,000 pages of 12-pt
// text): 14,000 lines of 120 pt in one paragraph of line breaks, and 1,100 paragraphs or
// pages with 22 inches of space after each. The output ends, with every line printed once
// and in order.
TEST(RtfAusgabe, LetterPastTheLayoutRangeEnds) {
  if (QStandardPaths::findExecutable("pdftotext").isEmpty()) GTEST_SKIP() << "pdftotext fehlt";
  struct Fall {
    const char* trenner;
    int zeilen;
  } faelle[] = {{"\\line ", 14000}, {"\\par ", 1100}, {"\\page ", 1100}};
  for (const Fall& f : faelle) {
    QStringList erwartet;
    for (int i = 1; i <= f.zeilen; ++i) erwartet << QStringLiteral("Z%1").arg(i);
    Drucksteuerung d;
    raender(d, 1440, 1440, 1440, 1440);
    d.PaperHeight = 144000;  // 100 inches: 50 lines a page
    brief(d, "{\\rtf1\\fs240\\sa31680 " + erwartet.join(QLatin1String(f.trenner)).toLatin1() + "}");
    EXPECT_EQ(pdfSeitentexte(d).join(' '), erwartet.join(' ')) << f.trenner;
  }
}

TEST(RtfAusgabe, DegenerateRectanglesEnd) {
  struct Fall {
    double links, oben, rechts, unten;
    int seitenMin, seitenMax;
  } faelle[] = {
      {6000, 1440, 8000, 1440, 1, 20},                  // width negative: minimal width
      {1440, 9000, 1440, 9000, 1, 20},                  // height negative: minimal height
      {1440, 1440, 1440, kHoehe - 1440 - 100, 30, 30},  // lower than a line: one a page
      {-3000, -3000, -3000, -3000, 1, 2},               // beyond the paper on every side
      {std::nan(""), 0, std::nan(""), 0, 1, 2},         // not a number
  };
  for (const Fall& f : faelle) {
    Drucksteuerung d;
    raender(d, f.links, f.oben, f.rechts, f.unten);
    brief(d, zeilen(30));
    EXPECT_GE(d.seitenzahl(), f.seitenMin) << f.links << " " << f.oben;
    EXPECT_LE(d.seitenzahl(), f.seitenMax) << f.links << " " << f.oben;
  }

  // Narrow: every line stays inside its rectangle, long words break.
  Drucksteuerung schmal;
  raender(schmal, 3000, 3000, kBreite - 3000 - 300, 3000);
  brief(schmal, "{\\rtf1\\fs24 WWWWWWWWWWWW}");
  const QRect t = tinte(schmal.seiteAlsBild(0, 72));
  ASSERT_FALSE(t.isEmpty());
  EXPECT_GE(t.left(), 150);
  EXPECT_LE(t.right(), 165);
  EXPECT_GT(t.height(), 30) << "the word broke onto several lines";

  // Without a started document nothing is drawn and nothing breaks.
  Drucksteuerung ohne;
  raender(ohne, 1440, 1440, 1440, 1440);
  rtfAusgeben(ohne, zeilen(100));
  EXPECT_EQ(ohne.seitenzahl(), 0);
}

}  // namespace
