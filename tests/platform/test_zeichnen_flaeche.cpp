// The picture surface's own drawing: lines in styles and widths, boxes, text output with
// the current position, its fonts and saving as a bitmap.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTemporaryDir>
#include <cmath>
#include <cstdlib>

#include "platform/bildflaeche.h"
#include "platform/gdi.h"
#include "platform/speicher.h"

namespace {

QRgb farbe(Bildflaeche& f, int x, int y) { return f.bild().pixel(x, y) & 0xFFFFFF; }
constexpr QRgb W = 0xFFFFFF;
constexpr QRgb S = 0x000000;

QRect tinte(Bildflaeche& f) {
  const QImage& b = f.bild();
  QRect r;
  for (int y = 0; y < b.height(); ++y)
    for (int x = 0; x < b.width(); ++x)
      if ((b.pixel(x, y) & 0xFFFFFF) != W) r |= QRect(x, y, 1, 1);
  return r;
}

}  // namespace

TEST(Bildflaeche, GroesseInTwipsUndLoeschen) {
  Bildflaeche f(1500, 750);
  EXPECT_EQ(f.bild().size(), QSize(100, 50));
  EXPECT_DOUBLE_EQ(f.Width(), 1500);
  EXPECT_DOUBLE_EQ(f.Height(), 750);
  // Sizes are whole pixels.
  f.setzeGroesse(1000, 2000);
  EXPECT_EQ(f.bild().size(), QSize(67, 133));
  EXPECT_DOUBLE_EQ(f.Width(), 1005);

  f.BackColor = 0x00FF00;
  f.CurrentX = 100;
  f.CurrentY = 200;
  f.Cls();
  EXPECT_EQ(f.CurrentX, 0);
  EXPECT_EQ(f.CurrentY, 0);
  EXPECT_EQ(farbe(f, 10, 10), 0x00FF00u);
  EXPECT_EQ(farbe(f, 66, 132), 0x00FF00u);

  // Growing keeps the drawing and gives the new area the background colour.
  f.Line(0, 0, 150, 150, 0xFF, true, true);
  f.BackColor = 0xFFFFFF;
  f.setWidth(3000);
  EXPECT_EQ(f.bild().width(), 200);
  EXPECT_EQ(farbe(f, 5, 5), 0xFF0000u);
  EXPECT_EQ(farbe(f, 50, 50), 0x00FF00u);
  EXPECT_EQ(farbe(f, 150, 50), W);

  // An image handed out earlier keeps its pixels when the surface draws on.
  const QImage kopie = f.bild();
  f.Line(0, 1200, 3000, 1200, 0);
  HRGN alles = CreateRectRgn(0, 0, 200, 200);
  SelectClipRgn(f.hdc(), alles);
  DeleteObject(alles);
  f.Line(0, 1500, 3000, 1500, 0, true, true);
  SelectClipRgn(f.hdc(), 0);
  EXPECT_EQ(farbe(f, 120, 80), S);
  EXPECT_EQ(farbe(f, 120, 100), S);
  EXPECT_EQ(kopie.pixel(120, 80) & 0xFFFFFF, W);
  EXPECT_EQ(kopie.pixel(120, 100) & 0xFFFFFF, W);
}

TEST(Bildflaeche, LinienUndKaesten) {
  Bildflaeche f(1500, 1500);
  f.Cls();
  // A solid line leaves out its end point and moves the current position there.
  f.Line(150, 150, 750, 150, 0);
  EXPECT_EQ(farbe(f, 10, 10), S);
  EXPECT_EQ(farbe(f, 49, 10), S);
  EXPECT_EQ(farbe(f, 50, 10), W);
  EXPECT_DOUBLE_EQ(f.CurrentX, 750);
  EXPECT_DOUBLE_EQ(f.CurrentY, 150);

  // A filled box in the line colour includes both corners.
  f.Cls();
  f.Line(300, 300, 600, 450, 0x0000FF, true, true);
  EXPECT_EQ(tinte(f), QRect(20, 20, 21, 11));
  EXPECT_EQ(farbe(f, 30, 25), 0xFF0000u);

  // An outlined box filled by FillStyle and FillColor.
  f.Cls();
  f.FillStyle = 0;
  f.FillColor = 0x00FF00;
  f.Line(300, 300, 600, 600, 0, true);
  EXPECT_EQ(farbe(f, 20, 20), S);
  EXPECT_EQ(farbe(f, 40, 30), S);
  EXPECT_EQ(farbe(f, 30, 30), 0x00FF00u);
  EXPECT_EQ(tinte(f), QRect(20, 20, 21, 21));
  f.FillStyle = 1;
  f.Cls();
  f.Line(300, 300, 600, 600, 0, true);
  EXPECT_EQ(farbe(f, 30, 30), W);

  // A wide line is solid and round-ended whatever the style.
  f.Cls();
  f.DrawWidth = 5;
  f.DrawStyle = 2;
  f.Line(300, 750, 1200, 750, 0);
  for (int x = 20; x <= 80; ++x) EXPECT_EQ(farbe(f, x, 50), S) << x;
  EXPECT_EQ(farbe(f, 50, 48), S);
  EXPECT_EQ(farbe(f, 50, 52), S);
  EXPECT_EQ(farbe(f, 50, 53), W);
  EXPECT_EQ(farbe(f, 18, 50), S);
  EXPECT_EQ(farbe(f, 18, 48), W);
}

TEST(Bildflaeche, GepunkteteRasterlinie) {
  Bildflaeche f(1500, 1500);
  f.Cls();
  f.DrawStyle = 2;
  f.DrawWidth = 1;
  f.Line(0, 300, 1500, 300, 0xC0C0C0);
  f.Line(450, 0, 450, 1500, 0xC0C0C0);
  for (int x = 0; x < 100; ++x) {
    if (x == 30) continue;
    EXPECT_EQ(farbe(f, x, 20), x % 2 == 0 ? 0xC0C0C0u : W) << x;
  }
  for (int y = 0; y < 100; ++y) {
    if (y == 20) continue;
    EXPECT_EQ(farbe(f, 30, y), y % 2 == 0 ? 0xC0C0C0u : W) << y;
  }
  EXPECT_EQ(farbe(f, 30, 19), W);
  EXPECT_EQ(farbe(f, 30, 21), W);
  // Back to solid.
  f.DrawStyle = 0;
  f.Line(0, 600, 1500, 600, 0);
  EXPECT_EQ(farbe(f, 41, 40), S);
}

TEST(Bildflaeche, RiesigeMasseBleibenImBudget) {
  // A line reaching billions of pixels beyond the surface: only its visible part is walked,
  // on the same pixels as a short line of the same slope, the dots counted from its start.
  Bildflaeche f(1500, 750);
  f.Cls();
  f.Line(-3.0e10, -3.0e10, 3.0e10, 3.0e10, 0);
  f.DrawStyle = 2;
  f.Line(-3.0e10 - 15, 300, 3.0e10, 300, 0);
  for (int i = 0; i < 50; ++i) {
    EXPECT_EQ(farbe(f, i, i), S) << i;
    if (i != 20) {
      EXPECT_EQ(farbe(f, i, 20), i % 2 == 1 ? S : W) << i;
    }
  }
  EXPECT_EQ(farbe(f, 1, 0), W);

  // At the largest scale a surface of any shape rounds to whole pixels within the budget.
  for (const QSizeF twips : {QSizeF(11907, 16840), QSizeF(283500, 283500), QSizeF(1500, 1.0e8)}) {
    const double m = Bildflaeche::groessterMassstab(twips.width(), twips.height(), 15);
    const auto pixel = [&](double t) { return std::llround(t * m / 15); };
    EXPECT_LE(pixel(twips.width()) * pixel(twips.height()), Bildflaeche::kPixelbudget);
    EXPECT_GT(pixel(twips.width() * 1.01) * pixel(twips.height() * 1.01),
              Bildflaeche::kPixelbudget);
  }
}

TEST(Bildflaeche, PrintSchreibtMitGewaehlterSchrift) {
  Bildflaeche f(3000, 3000);
  f.Cls();
  f.setFontname(QStringLiteral("Liberation Sans"));
  f.setFontSize(15);  // 20 pixels at 96 dpi
  EXPECT_EQ(f.hdc()->schrift().pixelSize(), 20);
  EXPECT_EQ(f.fontname(), QStringLiteral("Liberation Sans"));
  EXPECT_DOUBLE_EQ(f.FontSize(), 15);

  const double breite = f.TextWidth(QStringLiteral("HHHH"));
  const double hoehe = f.TextHeight(QStringLiteral("HHHH"));
  EXPECT_NEAR(breite / 15, 4 * 14.4, 4);
  EXPECT_NEAR(hoehe / 15, 23, 2);
  EXPECT_EQ(std::fmod(breite, 15), 0);  // whole pixels

  f.ForeColor = 0x0000FF;
  f.CurrentX = 300;
  f.CurrentY = 450;
  f.Print(QStringLiteral("HHHH"));
  EXPECT_DOUBLE_EQ(f.CurrentX, 0);
  EXPECT_DOUBLE_EQ(f.CurrentY, 450 + hoehe);
  const QRect r = tinte(f);
  EXPECT_GE(r.left(), 20);
  EXPECT_LE(r.left(), 22);
  EXPECT_GE(r.top(), 30);
  EXPECT_LE(r.bottom(), 30 + hoehe / 15);
  EXPECT_NEAR(r.width(), breite / 15, 4);
  EXPECT_EQ(farbe(f, r.left() + 1, r.center().y()), 0xFF0000u);

  // A GDI font selected after the surface's own font rules Print: rotation applies.
  f.Cls();
  LogFont lf;
  lf.lfHeight = -20;
  lf.lfEscapement = 900;
  lf.lfFaceName = QStringLiteral("Liberation Sans");
  HFONT gedreht = CreateFontIndirectA(lf);
  HFONT alt = SelectObject(f.hdc(), gedreht);
  f.CurrentX = 600;
  f.CurrentY = 1500;
  f.Print(QStringLiteral("HHHH"));
  const QRect q = tinte(f);
  EXPECT_GT(q.height(), q.width());
  EXPECT_LE(q.bottom(), 100);
  EXPECT_GE(q.left(), 40);
  // Setting the surface's font selects it again: no rotation.
  f.setFontSize(15);
  EXPECT_EQ(f.hdc()->drehung(), 0);
  SelectObject(f.hdc(), alt);
  DeleteObject(gedreht);

  // Emphasis of the surface's own font.
  f.setFontBold(true);
  f.setFontItalic(true);
  f.setFontUnderline(true);
  f.setFontStrikethru(true);
  EXPECT_TRUE(f.hdc()->schrift().bold());
  EXPECT_TRUE(f.hdc()->schrift().italic());
  EXPECT_TRUE(f.hdc()->schrift().underline());
  EXPECT_TRUE(f.hdc()->schrift().strikeOut());
  EXPECT_TRUE(f.FontBold() && f.FontItalic() && f.FontUnderline() && f.FontStrikethru());
  f.setFontBold(false);
  const double normal = f.TextWidth(QStringLiteral("abcdef"));
  f.setFontBold(true);
  EXPECT_GT(f.TextWidth(QStringLiteral("abcdef")), normal);
}

TEST(Bildflaeche, BmpSpeichernUndFehler) {
  QTemporaryDir ordner;
  Bildflaeche f(600, 450);
  f.BackColor = 0xFFFFFF;
  f.Cls();
  f.Line(0, 0, 150, 150, 0x123456, true, true);
  const QString pfad = ordner.filePath(QStringLiteral("seite.bmp"));
  QString fehler;
  ASSERT_TRUE(f.speichereBmp(pfad, &fehler)) << fehler.toStdString();
  QFile datei(pfad);
  ASSERT_TRUE(datei.open(QIODevice::ReadOnly));
  EXPECT_EQ(datei.read(2), QByteArray("BM"));
  datei.close();
  QImage gelesen(pfad);
  ASSERT_EQ(gelesen.size(), QSize(40, 30));
  EXPECT_EQ(gelesen.pixel(5, 5) & 0xFFFFFF, 0x563412u);
  EXPECT_EQ(gelesen.pixel(20, 20) & 0xFFFFFF, W);

  // Drawing goes on after saving.
  f.Line(300, 300, 450, 400, 0, true, true);
  EXPECT_EQ(farbe(f, 25, 22), S);

  // A folder that does not exist: false, a German sentence naming the file with the
  // system's text below it, nothing written.
  const QString falsch = ordner.filePath(QStringLiteral("fehlt/seite.bmp"));
  EXPECT_FALSE(f.speichereBmp(falsch, &fehler));
  EXPECT_TRUE(fehler.startsWith(
      QStringLiteral("Die Bilddatei „%1“ konnte nicht gespeichert werden.\n\n").arg(falsch)))
      << fehler.toStdString();
  EXPECT_FALSE(QFile::exists(falsch));
}

// The earlier file stays as it was when a later save into a read-only folder fails.
TEST(Bildflaeche, BmpSpeichernInGeschuetztenOrdnerLaesstDieAlteDatei) {
  QTemporaryDir ordner;
  Bildflaeche f(600, 450);
  f.BackColor = 0xFFFFFF;
  f.Cls();
  const QString pfad = ordner.filePath(QStringLiteral("seite.bmp"));
  QString fehler;
  ASSERT_TRUE(f.speichereBmp(pfad, &fehler)) << fehler.toStdString();
  f.Line(300, 300, 450, 400, 0, true, true);
  ASSERT_EQ(farbe(f, 25, 22), S);

  QFile::setPermissions(ordner.path(), QFile::ReadOwner | QFile::ExeOwner);
  const bool geschuetzt = !QFileInfo(ordner.path()).isWritable();
  if (geschuetzt) {
    EXPECT_FALSE(f.speichereBmp(pfad, &fehler));
  }
  QFile::setPermissions(ordner.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  if (!geschuetzt) {
    GTEST_SKIP() << "the folder stays writable without its write right (run as root?)";
  }
  EXPECT_EQ(QImage(pfad).pixel(25, 22) & 0xFFFFFF, W);
}

namespace {
// Fills a large ellipse with the address space ending a few megabytes beyond what the
// process holds (less than a thread's stack); exits with 0 when the fill is there.
[[noreturn]] void fuellenOhneAdressraum() {
  alarm(10);
  // Coverage alone, as text is measured for its copies: a format Qt fills in parts.
  QImage bild(2000, 2000, QImage::Format_Alpha8);
  bild.fill(0);
  QPainterPath ellipse;
  ellipse.addEllipse(QRectF(10, 10, 1980, 1980));
  QPainter maler(&bild);
  maler.setRenderHint(QPainter::Antialiasing);
  QFile status(QStringLiteral("/proc/self/statm"));
  status.open(QIODevice::ReadOnly);
  const rlim_t belegt = status.readAll().split(' ').value(0).toULongLong() *
                        static_cast<rlim_t>(sysconf(_SC_PAGESIZE));
  const rlimit grenze{belegt + 4 * 1024 * 1024, RLIM_INFINITY};
  setrlimit(RLIMIT_AS, &grenze);
  maler.fillPath(ellipse, Qt::black);
  maler.end();
  std::_Exit(bild.constScanLine(1000)[1000] == 255 ? 0 : 1);
}
}  // namespace

TEST(Bildflaeche, GrosseFlaecheFuelltOhneNeueThreads) {
  // Qt fills a large area in parts on its thread pool; once the address space is used up
  // no thread can be created for them, and the threads started beforehand do the work
  // instead of the fill waiting for ever.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  ZeichenThreadsBereithalten();
  EXPECT_EXIT(fuellenOhneAdressraum(), ::testing::ExitedWithCode(0), "");
}
