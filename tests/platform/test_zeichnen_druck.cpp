// The print control: pages recorded at the printer's resolution land on the PDF paper
// where they land on a picture surface; each print job writes its pages into a PDF file of
// its own; failures are reported, never taken for success.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cmath>

#include "gemeinsam/voller_datentraeger.h"
#include "platform/bildflaeche.h"
#include "platform/drucksteuerung.h"
#include "platform/gdi.h"
#include "platform/zahlen.h"

namespace {

struct Kasten {
  double l, o, r, u;  // twips from the paper's top-left corner
  int32_t farbe;
};

// Red near the top left, green in the middle, blue near the bottom right of A4.
const Kasten KAESTEN[] = {{1440, 1440, 2880, 2160, 0x0000FF},
                          {5760, 7200, 8640, 10080, 0x00FF00},
                          {10000, 15000, 11000, 16000, 0xFF0000}};

int px(double twips, double tpp) { return static_cast<int>(zahlen::nint(twips / tpp)); }

// Draws the boxes through the device context, as the renderers do on either surface.
void zeichneKaesten(Zeichenflaeche& z, const std::vector<Kasten>& kaesten) {
  for (const Kasten& k : kaesten) {
    if (auto* b = dynamic_cast<Bildflaeche*>(&z)) {
      b->ForeColor = k.farbe;
      b->FillColor = k.farbe;
      b->FillStyle = 0;
    } else if (auto* d = dynamic_cast<Drucksteuerung*>(&z)) {
      d->PenColor = k.farbe;
      d->BrushColor = k.farbe;
      d->BrushStyle = 0;
    }
    const double x = z.twipsProPixelX();
    const double y = z.twipsProPixelY();
    Rectangle(z.hdc(), px(k.l, x), px(k.o, y), px(k.r, x), px(k.u, y));
  }
}

// Bounding box of the pixels that are clearly of the given pure colour.
QRect flaecheVon(const QImage& bild, int32_t farbe) {
  const int r = farbe & 0xFF, g = (farbe >> 8) & 0xFF, b = (farbe >> 16) & 0xFF;
  QRect ergebnis;
  for (int y = 0; y < bild.height(); ++y) {
    for (int x = 0; x < bild.width(); ++x) {
      const QRgb p = bild.pixel(x, y);
      if (std::abs(qRed(p) - r) < 60 && std::abs(qGreen(p) - g) < 60 && std::abs(qBlue(p) - b) < 60)
        ergebnis |= QRect(x, y, 1, 1);
    }
  }
  return ergebnis;
}

void erwarteNahe(const QRect& a, const QRect& b, int toleranz, const char* was) {
  EXPECT_NEAR(a.left(), b.left(), toleranz) << was;
  EXPECT_NEAR(a.top(), b.top(), toleranz) << was;
  EXPECT_NEAR(a.right(), b.right(), toleranz) << was;
  EXPECT_NEAR(a.bottom(), b.bottom(), toleranz) << was;
}

// The pages of a PDF file as images at 96 dpi (empty when pdftoppm is missing).
std::vector<QImage> pdfSeiten(const QString& pdf) {
  std::vector<QImage> seiten;
  if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty()) return seiten;
  QTemporaryDir ordner;
  const QString praefix = ordner.filePath(QStringLiteral("seite"));
  QProcess::execute(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("96"),
                                                 QStringLiteral("-png"), pdf, praefix});
  const QStringList dateien =
      QDir(ordner.path()).entryList({QStringLiteral("seite*.png")}, QDir::Files, QDir::Name);
  for (const QString& d : dateien) seiten.push_back(QImage(ordner.filePath(d)));
  return seiten;
}

bool pdftoppmDa() { return !QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty(); }

// A printer with A4 paper only, in place of the machine's print queues: it refuses every
// other page size, as a queue without that paper does. It prints into a PDF file.
class NurA4Drucker : public QPrinter {
 public:
  explicit NurA4Drucker(const QString& pdf) : QPrinter(QPrinter::HighResolution) {
    setOutputFormat(QPrinter::PdfFormat);
    setOutputFileName(pdf);
  }
  bool setPageSize(const QPageSize& groesse) override {
    return groesse.id() == QPageSize::A4 && QPrinter::setPageSize(groesse);
  }
};

class DrucksteuerungAmDrucker : public Drucksteuerung {
 public:
  explicit DrucksteuerungAmDrucker(QPrinter& drucker) : drucker_(drucker) {
    setzePdfDatei(QString());
  }

 protected:
  QPrinter* laufdrucker() override { return &drucker_; }

 private:
  QPrinter& drucker_;
};

}  // namespace

TEST(Drucksteuerung, GeraetewerteUndSeitenverwaltung) {
  Drucksteuerung d;
  EXPECT_DOUBLE_EQ(d.twipsProPixelX(), 2.4);
  EXPECT_DOUBLE_EQ(d.twipsProPixelY(), 2.4);
  EXPECT_EQ(GetDeviceCaps(d.hdc(), LOGPIXELSX), 600);
  EXPECT_EQ(GetDeviceCaps(d.hdc(), LOGPIXELSY), 600);
  // Outside a document the drawing calls draw nothing.
  EXPECT_FALSE(Rectangle(d.hdc(), 0, 0, 10, 10));

  d.StartDoc();
  ASSERT_NE(d.hdc()->zeichnenBeginnen(), nullptr);
  EXPECT_TRUE(d.hdc()->zeichnenBeginnen()->isActive());
  EXPECT_TRUE(Rectangle(d.hdc(), 0, 0, 10, 10));
  d.NewPage();
  EXPECT_TRUE(d.hdc()->zeichnenBeginnen()->isActive());
  zeichneKaesten(d, {KAESTEN[1]});
  // A clip region recorded on the page holds when the page is replayed: only the left
  // half of the blue box is drawn.
  HRGN links = CreateRectRgn(0, 0, px(10500, 2.4), px(20000, 2.4));
  SelectClipRgn(d.hdc(), links);
  zeichneKaesten(d, {KAESTEN[2]});
  SelectClipRgn(d.hdc(), 0);
  DeleteObject(links);
  d.EndDoc();
  EXPECT_FALSE(Rectangle(d.hdc(), 0, 0, 10, 10));
  ASSERT_EQ(d.seitenzahl(), 2);
  // The first page holds only the small box, the second the green one.
  const QImage s1 = d.seiteAlsBild(0, 96);
  const QImage s2 = d.seiteAlsBild(1, 96);
  EXPECT_EQ(s1.size(), QSize(794, 1123));
  EXPECT_TRUE(flaecheVon(s1, 0x00FF00).isEmpty());
  EXPECT_FALSE(flaecheVon(s2, 0x00FF00).isEmpty());
  const QRect blau = flaecheVon(s2, 0xFF0000);
  EXPECT_NEAR(blau.left(), 667, 1);
  EXPECT_NEAR(blau.right(), 699, 1);

  // A new document drops the held one.
  const int nummer = d.dokumentNummer();
  d.StartDoc();
  d.EndDoc();
  EXPECT_EQ(d.seitenzahl(), 1);
  EXPECT_NE(d.dokumentNummer(), nummer);

  // Fonts: the control's own font in points at its resolution, text width in twips.
  d.setFontname(QStringLiteral("Liberation Sans"));
  d.setFontSize(12);
  EXPECT_EQ(d.hdc()->schrift().pixelSize(), 100);
  EXPECT_NEAR(d.TextWidth(QStringLiteral("HHHH")), 4 * 0.722 * 12 * 20, 30);
  // Pen width in twips gives device pixels; under one pixel is one pixel.
  d.PenWidth = 24;
  EXPECT_EQ(d.stiftUndPinsel().stiftBreite, 10);
  d.PenWidth = 1;
  EXPECT_EQ(d.stiftUndPinsel().stiftBreite, 1);
}

TEST(Drucksteuerung, VorschauBildStimmtMitBildflaecheUeberein) {
  Bildflaeche b(11907, 16840);
  b.Cls();
  std::vector<Kasten> alle(std::begin(KAESTEN), std::end(KAESTEN));
  zeichneKaesten(b, alle);
  Drucksteuerung d;
  d.StartDoc();
  zeichneKaesten(d, alle);
  d.EndDoc();
  const QImage vorschau = d.seiteAlsBild(0, 96);
  for (const Kasten& k : alle) {
    const QRect soll = flaecheVon(b.bild(), k.farbe);
    ASSERT_FALSE(soll.isEmpty());
    erwarteNahe(flaecheVon(vorschau, k.farbe), soll, 1, "Vorschau");
  }
}

TEST(Drucksteuerung, SeiteLandetImPdfWieAufDerBildflaeche) {
  if (!pdftoppmDa()) GTEST_SKIP() << "pdftoppm fehlt";
  QTemporaryDir ordner;
  const QString pdf = ordner.filePath(QStringLiteral("druck.pdf"));
  std::vector<Kasten> alle(std::begin(KAESTEN), std::end(KAESTEN));

  Bildflaeche b(11907, 16840);
  b.Cls();
  zeichneKaesten(b, alle);
  b.setFontname(QStringLiteral("Liberation Sans"));
  b.setFontSize(24);
  b.ForeColor = 0;
  b.CurrentX = 1440;
  b.CurrentY = 12000;
  b.Print(QStringLiteral("Marvolant"));

  Drucksteuerung d;
  d.setzePdfDatei(pdf);
  d.StartDoc();
  zeichneKaesten(d, alle);
  d.setFontname(QStringLiteral("Liberation Sans"));
  d.setFontSize(24);
  d.TextColor = 0;
  TextOutA(d.hdc(), px(1440, 2.4), px(12000, 2.4), QStringLiteral("Marvolant"), 9);
  d.EndDoc();
  ASSERT_TRUE(d.PrintDoc()) << d.fehler().toStdString();
  EXPECT_TRUE(d.fehler().isEmpty());

  const std::vector<QImage> seiten = pdfSeiten(pdf);
  ASSERT_EQ(seiten.size(), 1u);
  const QImage& seite = seiten[0];
  EXPECT_NEAR(seite.width(), 794, 1);
  EXPECT_NEAR(seite.height(), 1123, 1);
  for (const Kasten& k : alle) {
    erwarteNahe(flaecheVon(seite, k.farbe), flaecheVon(b.bild(), k.farbe), 2, "PDF");
  }
  // The text's ink lies where the surface puts it.
  const QRect textSoll = flaecheVon(b.bild(), 0).intersected(QRect(0, 700, 794, 200));
  const QRect textIst = flaecheVon(seite, 0).intersected(QRect(0, 700, 794, 200));
  ASSERT_FALSE(textSoll.isEmpty());
  erwarteNahe(textIst, textSoll, 3, "Text");
}

TEST(Drucksteuerung, JederDruckErsetztDieDateiUndQuerformat) {
  if (!pdftoppmDa()) GTEST_SKIP() << "pdftoppm fehlt";
  QTemporaryDir ordner;
  const QString pdf = ordner.filePath(QStringLiteral("serie.pdf"));
  Drucksteuerung d;
  d.setzePdfDatei(pdf);
  d.StartDoc();
  zeichneKaesten(d, {KAESTEN[0]});
  d.EndDoc();
  ASSERT_TRUE(d.PrintDoc()) << d.fehler().toStdString();
  EXPECT_EQ(pdfSeiten(pdf).size(), 1u);
  // A new file is readable by others as any file the user makes (here with the usual mask),
  // not private as the temporary file it was written into; a replaced file keeps its rights.
  const mode_t maske = ::umask(022);
  ASSERT_TRUE(d.PrintDoc());
  ::umask(maske);
  EXPECT_TRUE(QFileInfo(pdf).permissions() & QFileDevice::ReadOther);
  ASSERT_TRUE(QFile::setPermissions(
      pdf, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup));

  // The second job replaces the file; a landscape page gets landscape paper, and the box
  // still lands at its twips from the top-left corner.
  d.PaperWidth = 16840;
  d.PaperHeight = 11907;
  d.StartDoc();
  zeichneKaesten(d, {{14400, 1440, 15840, 2880, 0x00FF00}});
  d.EndDoc();
  ASSERT_TRUE(d.PrintDoc()) << d.fehler().toStdString();
  std::vector<QImage> seiten = pdfSeiten(pdf);
  ASSERT_EQ(seiten.size(), 1u);
  EXPECT_TRUE(flaecheVon(seiten[0], 0x0000FF).isEmpty());
  EXPECT_GT(seiten[0].width(), seiten[0].height());
  erwarteNahe(flaecheVon(seiten[0], 0x00FF00), QRect(QPoint(960, 96), QPoint(1055, 191)), 2,
              "quer");

  // Copies repeat the held page.
  d.Copies = 2;
  ASSERT_TRUE(d.PrintDoc());
  seiten = pdfSeiten(pdf);
  ASSERT_EQ(seiten.size(), 2u);
  EXPECT_FALSE(flaecheVon(seiten[1], 0x00FF00).isEmpty());
  EXPECT_EQ(QFileInfo(pdf).permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther),
            QFileDevice::ReadGroup);
  // No temporary files are left beside the PDF.
  EXPECT_EQ(QDir(ordner.path()).entryList(QDir::Files), QStringList{QStringLiteral("serie.pdf")});
}

TEST(Drucksteuerung, FehlschlaegeWerdenGemeldet) {
  Drucksteuerung d;
  d.setzePdfDatei(QDir::tempPath() + QStringLiteral("/gibt-es-nicht-4711/a/druck.pdf"));
  // Nothing held yet.
  EXPECT_FALSE(d.PrintDoc());
  EXPECT_FALSE(d.fehler().isEmpty());

  d.StartDoc();
  zeichneKaesten(d, {KAESTEN[0]});
  d.EndDoc();
  EXPECT_FALSE(d.PrintDoc());
  EXPECT_TRUE(d.fehler().contains(QStringLiteral("konnte nicht geschrieben werden")))
      << d.fehler().toStdString();
  EXPECT_TRUE(d.fehler().contains(QStringLiteral("druck.pdf")));

  // A failed job does not count as printed: the next job into a good file has one page.
  if (pdftoppmDa()) {
    QTemporaryDir ordner;
    const QString pdf = ordner.filePath(QStringLiteral("gut.pdf"));
    d.setzePdfDatei(pdf);
    ASSERT_TRUE(d.PrintDoc());
    EXPECT_EQ(pdfSeiten(pdf).size(), 1u);
  }

  // No printer and no PDF file.
  if (QPrinterInfo::availablePrinters().isEmpty() && QPrinterInfo::defaultPrinterName().isEmpty()) {
    d.setzePdfDatei(QString());
    EXPECT_FALSE(d.PrintDoc());
    EXPECT_EQ(d.fehler(),
              QStringLiteral(
                  "Kein Drucker verfügbar. Bitte wählen Sie einen Drucker oder eine PDF-Datei."));
  }

  // A chosen queue that is not there (any more) is named.
  d.setzeDrucker(QStringLiteral("gibt-es-nicht-4711"));
  EXPECT_FALSE(d.PrintDoc());
  EXPECT_TRUE(d.fehler().contains(QStringLiteral("„gibt-es-nicht-4711“ ist nicht verfügbar")))
      << d.fehler().toStdString();
}

// A page whose paper the printer refuses is not printed on the paper the printer has: the
// print fails with a message that names the paper.
TEST(Drucksteuerung, AbgelehntesPapierWirdGemeldet) {
  QTemporaryDir ordner;
  const QString pdf = ordner.filePath(QStringLiteral("drucker.pdf"));
  NurA4Drucker drucker(pdf);
  DrucksteuerungAmDrucker d(drucker);
  const QSizeF a5(1480 * 5.67, 2100 * 5.67);
  // An A4 page, then an A5 one: the first is printed, the second refused.
  d.StartDoc();
  zeichneKaesten(d, {KAESTEN[0]});
  d.NewPage();
  d.PaperWidth = a5.width();
  d.PaperHeight = a5.height();
  zeichneKaesten(d, {KAESTEN[0]});
  d.EndDoc();
  EXPECT_FALSE(d.PrintDoc());
  EXPECT_TRUE(d.fehler().contains(QStringLiteral("Papier „A5 (148 × 210 mm)“")))
      << d.fehler().toStdString();
  EXPECT_TRUE(QFile::exists(pdf));
  // A document of A5 pages alone prints nothing.
  ASSERT_TRUE(QFile::remove(pdf));
  d.StartDoc();
  zeichneKaesten(d, {KAESTEN[0]});
  d.EndDoc();
  EXPECT_FALSE(d.PrintDoc());
  EXPECT_TRUE(d.fehler().contains(QStringLiteral("„A5 (148 × 210 mm)“")));
  EXPECT_FALSE(QFile::exists(pdf));
}

// A print into a PDF file on a full disk says why and keeps the file printed before; no
// temporary file is left.
TEST(Drucksteuerung, PdfAufVollemDatentraeger) {
  VOLLER_DATENTRAEGER(voll);
  voll.alteDatei(QStringLiteral("druck.pdf"), "alt");
  voll.ganzFuellen();
  Drucksteuerung d;
  d.setzePdfDatei(voll.pfad(QStringLiteral("druck.pdf")));
  d.StartDoc();
  zeichneKaesten(d, {KAESTEN[0]});
  d.EndDoc();
  EXPECT_FALSE(d.PrintDoc());
  EXPECT_TRUE(d.fehler().contains(QStringLiteral("Der Datenträger ist voll.")))
      << d.fehler().toStdString();
  EXPECT_EQ(voll.inhalt(QStringLiteral("druck.pdf")), "alt");
  EXPECT_EQ(voll.dateien(), QStringList({"druck.pdf", "fuellung"}));
}

// Pages taken back at the end of a long run are struck from the file, however long the
// end the PDF writer writes after its page tree (about 110 bytes a page).
TEST(Drucksteuerung, LangerLaufVerliertDieZurueckgenommenenSeiten) {
  const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
  if (pdfinfo.isEmpty()) GTEST_SKIP() << "pdfinfo fehlt";
  QTemporaryDir ordner;
  const QString pdf = ordner.filePath(QStringLiteral("lang.pdf"));
  Drucksteuerung d;
  d.setzePdfDatei(pdf);
  d.Preview = false;
  d.LaufBeginnen();
  for (int i = 0; i < 1000; ++i) {
    d.StartDoc();
    d.EndDoc();
  }
  d.SeitenVerwerfen(2);
  ASSERT_TRUE(d.LaufBeenden()) << d.fehler().toStdString();
  QProcess info;
  info.start(pdfinfo, {pdf});
  ASSERT_TRUE(info.waitForFinished());
  const QString aus = QString::fromUtf8(info.readAllStandardOutput());
  EXPECT_TRUE(aus.contains(QRegularExpression(QStringLiteral("Pages:\\s+998\\n"))))
      << aus.toStdString();
}

TEST(Drucksteuerung, PdfDateiAusUmgebungsvariable) {
  QTemporaryDir ordner;
  const QString pdf = ordner.filePath(QStringLiteral("umgebung.pdf"));
  qputenv("QX_DRUCKDATEI", QFile::encodeName(pdf));
  Drucksteuerung d;
  EXPECT_EQ(d.pdfDatei(), pdf);
  d.StartDoc();
  d.EndDoc();
  EXPECT_TRUE(d.PrintDoc()) << d.fehler().toStdString();
  EXPECT_TRUE(QFile::exists(pdf));
  qunsetenv("QX_DRUCKDATEI");
  // A file chosen by the program itself wins over the variable.
  d.setzePdfDatei(ordner.filePath(QStringLiteral("gewaehlt.pdf")));
  EXPECT_TRUE(d.pdfDatei().endsWith(QStringLiteral("gewaehlt.pdf")));
}
