// The imaging control: loading the four picture formats from files written here, refusing
// everything else, the direction of each image effect, and painting into a surface.
#include <Magick++.h>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <functional>
#include <utility>
#include <vector>

#include "gemeinsam/metadatei.h"
#include "platform/bildflaeche.h"
#include "platform/bildsteuerung.h"
#include "platform/gdi.h"

namespace {

// --- Files written by hand -------------------------------------------------------------

class Bytes {
 public:
  Bytes& b(int v) {
    d_.append(static_cast<char>(v & 0xFF));
    return *this;
  }
  Bytes& w(int v) { return b(v).b(v >> 8); }
  Bytes& dw(uint32_t v) { return w(static_cast<int>(v & 0xFFFF)).w(static_cast<int>(v >> 16)); }
  QByteArray& daten() { return d_; }

 private:
  QByteArray d_;
};

// A Windows metafile of 1 x 0.5 inch (1440 x 720 units at 1440 per inch): a white
// rectangle over the whole picture and a red one over its left half, both without outline.
QByteArray metafile(bool platzierbar) {
  Bytes rec;
  rec.dw(8).w(0x02FA).w(5).w(0).w(0).dw(0);      // CreatePenIndirect: no pen
  rec.dw(4).w(0x012D).w(0);                      // SelectObject 0
  rec.dw(7).w(0x02FC).w(0).dw(0x00FFFFFF).w(0);  // CreateBrushIndirect: white
  rec.dw(4).w(0x012D).w(1);                      // SelectObject 1
  rec.dw(7).w(0x041B).w(720).w(1440).w(0).w(0);  // Rectangle 0, 0, 1440, 720
  rec.dw(7).w(0x02FC).w(0).dw(0x000000FF).w(0);  // CreateBrushIndirect: red
  rec.dw(4).w(0x012D).w(2);                      // SelectObject 2
  rec.dw(7).w(0x041B).w(720).w(720).w(0).w(0);   // Rectangle 0, 0, 720, 720
  return metadatei::mitKopf(1440, 720, rec.daten(), 8, 3, platzierbar);
}

// Run-length coding of one PCX plane line.
void pcxZeile(Bytes& aus, const QByteArray& zeile) {
  for (int i = 0; i < zeile.size();) {
    const char v = zeile[i];
    int n = 1;
    while (i + n < zeile.size() && zeile[i + n] == v && n < 63) ++n;
    if (n > 1 || (static_cast<uint8_t>(v) & 0xC0) == 0xC0) aus.b(0xC0 | n);
    aus.b(v);
    i += n;
  }
}

// A ZSoft PCX file of the picture: 24 bits in three planes, or 8 bits with the 256-colour
// palette at the end (the picture then may use at most 256 colours).
QByteArray pcx(const QImage& bild, bool palette) {
  const int breite = bild.width();
  const int zeilenBytes = (breite + 1) / 2 * 2;
  Bytes aus;
  aus.b(0x0A).b(5).b(1).b(8).w(0).w(0).w(breite - 1).w(bild.height() - 1).w(72).w(72);
  for (int i = 0; i < 48; ++i) aus.b(0);
  aus.b(0).b(palette ? 1 : 3).w(zeilenBytes).w(1).w(0).w(0);
  for (int i = 74; i < 128; ++i) aus.b(0);
  QVector<QRgb> farben;
  for (int y = 0; y < bild.height(); ++y) {
    if (palette) {
      QByteArray zeile(zeilenBytes, '\0');
      for (int x = 0; x < breite; ++x) {
        const QRgb c = bild.pixel(x, y) | 0xFF000000u;
        int index = farben.indexOf(c);
        if (index < 0) {
          index = farben.size();
          farben.append(c);
        }
        zeile[x] = static_cast<char>(index);
      }
      pcxZeile(aus, zeile);
    } else {
      for (int kanal = 0; kanal < 3; ++kanal) {
        QByteArray zeile(zeilenBytes, '\0');
        for (int x = 0; x < breite; ++x) {
          const QRgb c = bild.pixel(x, y);
          zeile[x] = static_cast<char>(kanal == 0 ? qRed(c) : kanal == 1 ? qGreen(c) : qBlue(c));
        }
        pcxZeile(aus, zeile);
      }
    }
  }
  if (palette) {
    aus.b(0x0C);
    for (int i = 0; i < 256; ++i) {
      const QRgb c = i < farben.size() ? farben[i] : 0;
      aus.b(qRed(c)).b(qGreen(c)).b(qBlue(c));
    }
  }
  return aus.daten();
}

// A PCX of one bit in one plane, as scanned signatures are saved, with a palette of zeros
// in its header: 11 x 3 pixels, white where x + y is even.
QByteArray pcxEinBit() {
  Bytes aus;
  aus.b(0x0A).b(5).b(1).b(1).w(0).w(0).w(10).w(2).w(72).w(72);
  for (int i = 0; i < 48; ++i) aus.b(0);
  aus.b(0).b(1).w(2).w(1).w(0).w(0);
  for (int i = 74; i < 128; ++i) aus.b(0);
  for (int y = 0; y < 3; ++y) {
    QByteArray zeile(2, '\0');
    for (int x = 0; x < 11; ++x)
      if ((x + y) % 2 == 0) zeile[x / 8] = static_cast<char>(zeile[x / 8] | 0x80 >> (x % 8));
    pcxZeile(aus, zeile);
  }
  return aus.daten();
}

QByteArray kodiert(const QImage& bild, const char* format) {
  QByteArray daten;
  QBuffer puffer(&daten);
  puffer.open(QIODevice::WriteOnly);
  EXPECT_TRUE(bild.save(&puffer, format));
  return daten;
}

// A 32-bit bitmap with an alpha mask (version 4 header) of 2 x 1 pixels, opaque blue and
// black, with the two given alpha values.
QByteArray bmp32(int alphaLinks, int alphaRechts) {
  Bytes bmp;
  bmp.b('B').b('M').dw(14 + 108 + 8).w(0).w(0).dw(14 + 108);
  bmp.dw(108).dw(2).dw(1).w(1).w(32).dw(3).dw(8).dw(2835).dw(2835).dw(0).dw(0);
  bmp.dw(0x00FF0000).dw(0x0000FF00).dw(0x000000FF).dw(0xFF000000).dw(0x73524742);
  for (int i = 0; i < 12; ++i) bmp.dw(0);
  bmp.b(255).b(0).b(0).b(alphaLinks);  // blue (bytes: blue, green, red, alpha)
  bmp.b(0).b(0).b(0).b(alphaRechts);   // black
  return bmp.daten();
}

// An OS/2 2.x bitmap of 4 x 2 pixels with 8 bits and an information header of the given
// length (16 to 64 bytes); its palette has four bytes per colour. Top row: red, green,
// blue, white; bottom row: blue, white, red, green.
QByteArray os2Bitmap(int kopflaenge) {
  const uint32_t farben[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
  Bytes info;
  info.dw(kopflaenge).dw(4).dw(2).w(1).w(8);
  if (kopflaenge >= 40) info.dw(0).dw(8).dw(2835).dw(2835).dw(4).dw(4);
  while (info.daten().size() < kopflaenge) info.b(0);
  Bytes palette;
  for (uint32_t f : farben) palette.b(f & 0xFF).b((f >> 8) & 0xFF).b(f >> 16).b(0);
  const int anfang = 14 + kopflaenge + palette.daten().size();
  Bytes datei;
  datei.b('B').b('M').dw(anfang + 8).w(0).w(0).dw(anfang);
  datei.daten() += info.daten() + palette.daten();
  datei.b(2).b(3).b(0).b(1);  // rows bottom up
  datei.b(0).b(1).b(2).b(3);
  return datei.daten();
}

// The JPEG with an Exif segment in front that holds only the orientation tag.
QByteArray mitAusrichtung(const QByteArray& jpeg, int ausrichtung) {
  Bytes tiff;
  tiff.b('I').b('I').w(42).dw(8);  // little-endian TIFF, first directory at 8
  tiff.w(1).w(0x0112).w(3).dw(1).w(ausrichtung).w(0).dw(0);  // one entry: Orientation
  QByteArray app1("\xFF\xE1", 2);
  const int laenge = 2 + 6 + static_cast<int>(tiff.daten().size());
  app1.append(static_cast<char>(laenge >> 8)).append(static_cast<char>(laenge & 0xFF));
  app1.append("Exif\0\0", 6).append(tiff.daten());
  return jpeg.left(2) + app1 + jpeg.mid(2);
}

// --- Test pictures ---------------------------------------------------------------------

// 40 x 20: red top left, green top right, blue bottom left, grey bottom right.
QImage vierFelder() {
  QImage bild(40, 20, QImage::Format_RGB32);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x)
      bild.setPixel(x, y,
                    y < 10 ? (x < 20 ? qRgb(255, 0, 0) : qRgb(0, 255, 0))
                           : (x < 20 ? qRgb(0, 0, 255) : qRgb(128, 128, 128)));
  return bild;
}

QImage einfarbig(int breite, int hoehe, QRgb farbe) {
  QImage bild(breite, hoehe, QImage::Format_RGB32);
  bild.fill(farbe);
  return bild;
}

// Left half one grey, right half another: an edge for contrast and sharpness.
QImage kante(int links, int rechts) {
  QImage bild(40, 20, QImage::Format_RGB32);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x)
      bild.setPixel(x, y, x < 20 ? qRgb(links, links, links) : qRgb(rechts, rechts, rechts));
  return bild;
}

bool aehnlich(QRgb a, QRgb b, int toleranz) {
  return std::abs(qRed(a) - qRed(b)) <= toleranz && std::abs(qGreen(a) - qGreen(b)) <= toleranz &&
         std::abs(qBlue(a) - qBlue(b)) <= toleranz;
}

QImage nachEffekt(const QImage& quelle, const std::function<void(Bildsteuerung&)>& effekt) {
  Bildsteuerung s;
  s.setzeBild(quelle);
  effekt(s);
  EXPECT_EQ(s.bild().width(), s.BitmapWidth());
  EXPECT_EQ(s.bild().height(), s.BitmapHeight());
  return s.bild();
}

class BildsteuerungDatei : public ::testing::Test {
 protected:
  QString schreibe(const QString& name, const QByteArray& daten) {
    const QString pfad = ordner_.filePath(name);
    QFile f(pfad);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(daten);
    return pfad;
  }
  QTemporaryDir ordner_;
};

}  // namespace

// --- Loading -------------------------------------------------------------------------------

TEST_F(BildsteuerungDatei, LaedtDieVierFormateInIhrerGroesse) {
  Bildsteuerung s;
  const QImage felder = vierFelder();

  ASSERT_TRUE(s.Load(schreibe("felder.bmp", kodiert(felder, "BMP"))));
  EXPECT_EQ(s.BitmapWidth(), 40);
  EXPECT_EQ(s.BitmapHeight(), 20);
  EXPECT_EQ(s.bild().pixel(3, 3), qRgb(255, 0, 0));
  EXPECT_EQ(s.bild().pixel(36, 16), qRgb(128, 128, 128));

  ASSERT_TRUE(s.Load(schreibe("felder.jpg", kodiert(felder, "JPG"))));
  EXPECT_EQ(s.BitmapWidth(), 40);
  EXPECT_EQ(s.BitmapHeight(), 20);
  EXPECT_TRUE(aehnlich(s.bild().pixel(5, 4), qRgb(255, 0, 0), 24));
  EXPECT_TRUE(aehnlich(s.bild().pixel(34, 15), qRgb(128, 128, 128), 24));

  // An odd width: the lines of the file are padded to an even number of bytes.
  QImage schmal = felder.copy(0, 0, 39, 20);
  schmal.setPixel(38, 0, qRgb(1, 2, 3));
  for (bool palette : {false, true}) {
    SCOPED_TRACE(palette ? "PCX 8 Bit" : "PCX 24 Bit");
    ASSERT_TRUE(s.Load(schreibe("felder.pcx", pcx(schmal, palette))));
    EXPECT_EQ(s.BitmapWidth(), 39);
    EXPECT_EQ(s.BitmapHeight(), 20);
    EXPECT_EQ(s.bild().pixel(3, 3), qRgb(255, 0, 0));
    EXPECT_EQ(s.bild().pixel(30, 3), qRgb(0, 255, 0));
    EXPECT_EQ(s.bild().pixel(3, 15), qRgb(0, 0, 255));
    EXPECT_EQ(s.bild().pixel(38, 0), qRgb(1, 2, 3));
  }

  // Grey and palette pictures come out as colour bitmaps that every effect can work on.
  QImage grau(16, 8, QImage::Format_Grayscale8);
  grau.fill(90);
  ASSERT_TRUE(s.Load(schreibe("grau.jpg", kodiert(grau, "JPG"))));
  EXPECT_TRUE(aehnlich(s.bild().pixel(4, 4), qRgb(90, 90, 90), 2));
  const QImage palette = felder.convertToFormat(QImage::Format_Indexed8);
  ASSERT_TRUE(s.Load(schreibe("palette.bmp", kodiert(palette, "BMP"))));
  EXPECT_EQ(s.bild().pixel(30, 3), qRgb(0, 255, 0));
  s.Mosaic(10);
  EXPECT_EQ(s.bild().pixel(39, 0), qRgb(0, 255, 0));
  QImage zweifarbig(10, 10, QImage::Format_Mono);
  zweifarbig.fill(0);
  zweifarbig.setPixel(9, 9, 1);
  ASSERT_TRUE(s.Load(schreibe("mono.bmp", kodiert(zweifarbig, "BMP"))));
  EXPECT_EQ(s.bild().pixel(0, 0), zweifarbig.pixel(0, 0) | 0xFF000000u);
  EXPECT_EQ(s.bild().pixel(9, 9), zweifarbig.pixel(9, 9) | 0xFF000000u);
  EXPECT_NE(s.bild().pixel(0, 0), s.bild().pixel(9, 9));
  s.Grayscale();
  EXPECT_EQ(s.BitmapWidth(), 10);

  // The metafile is drawn at 96 dpi: one inch by half an inch.
  ASSERT_TRUE(s.Load(schreibe("rechteck.wmf", metafile(true))));
  EXPECT_EQ(s.BitmapWidth(), 96);
  EXPECT_EQ(s.BitmapHeight(), 48);
  EXPECT_TRUE(aehnlich(s.bild().pixel(20, 24), qRgb(255, 0, 0), 8));
  EXPECT_TRUE(aehnlich(s.bild().pixel(75, 24), qRgb(255, 255, 255), 8));
}

TEST_F(BildsteuerungDatei, MetafileOhnePlatzierungskopfWirdGelesen) {
  Bildsteuerung s;
  ASSERT_TRUE(s.Load(schreibe("rechteck.wmf", metafile(false))));
  EXPECT_GT(s.BitmapWidth(), 0);
  EXPECT_GT(s.BitmapHeight(), 0);
  EXPECT_NEAR(double(s.BitmapHeight()) / s.BitmapWidth(), 0.5, 0.05);
}

// The pixel limits are on the area: a long narrow bitmap or JPEG shows at its full size,
// one of more than 64 megapixels (a 1-bit bitmap of 8200 x 8200) is refused.
TEST_F(BildsteuerungDatei, SehrBreiteBilderInnerhalbDerPixelgrenze) {
  const QRgb rot = qRgb(255, 0, 0);
  const QRgb blau = qRgb(0, 0, 255);
  QImage breit(17000, 40, QImage::Format_RGB32);
  breit.fill(rot);
  for (int y = 0; y < breit.height(); ++y)
    for (int x = 16000; x < breit.width(); ++x) breit.setPixel(x, y, blau);
  Bildsteuerung s;
  ASSERT_TRUE(s.Load(schreibe("breit.bmp", kodiert(breit, "BMP"))));
  EXPECT_EQ(QSize(s.BitmapWidth(), s.BitmapHeight()), QSize(17000, 40));
  EXPECT_EQ(s.bild().pixel(100, 20), rot);
  EXPECT_EQ(s.bild().pixel(16500, 20), blau);
  ASSERT_TRUE(s.Load(schreibe("breit.jpg", kodiert(breit.scaled(17000, 200), "JPG"))));
  EXPECT_EQ(QSize(s.BitmapWidth(), s.BitmapHeight()), QSize(17000, 200));

  Bytes riesig;
  const uint32_t zeile = (8200 / 8 + 3) / 4 * 4;
  riesig.b('B').b('M').dw(62 + zeile * 8200).w(0).w(0).dw(62);
  riesig.dw(40).dw(8200).dw(8200).w(1).w(1).dw(0).dw(zeile * 8200).dw(2835).dw(2835).dw(2).dw(0);
  riesig.dw(0).dw(0x00FFFFFF);
  riesig.daten().append(QByteArray(zeile * 8200, '\x55'));
  EXPECT_FALSE(s.Load(schreibe("riesig.bmp", riesig.daten())));
  EXPECT_FALSE(s.hatBitmap());
  EXPECT_TRUE(s.fehlergrund().contains(QStringLiteral("8.200 × 8.200")))
      << s.fehlergrund().toStdString();
}

// Scaling down a picture of 16 million by one pixels takes memory for the picture, not
// gigabytes for ImageMagick's working rows: it loads in a process allowed 600 MB more.
TEST_F(BildsteuerungDatei, SehrBreitesBildMitBegrenztemSpeicher) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer's own memory does not fit a data limit";
#endif
  constexpr uint32_t kBreite = 16'000'000;
  Bytes bmp;  // 1 bit: the left half black, the right half white
  bmp.b('B').b('M').dw(62 + kBreite / 8).w(0).w(0).dw(62);
  bmp.dw(40).dw(kBreite).dw(1).w(1).w(1).dw(0).dw(kBreite / 8).dw(2835).dw(2835).dw(2).dw(0);
  bmp.dw(0).dw(0x00FFFFFF);
  bmp.daten().append(QByteArray(kBreite / 16, '\0') + QByteArray(kBreite / 16, '\xFF'));
  const QString pfad = schreibe("breit.bmp", bmp.daten());
  const auto ladenMitGrenze = [&] {
    QFile status(QStringLiteral("/proc/self/status"));
    long long daten = 0;
    if (status.open(QIODevice::ReadOnly))
      for (const QByteArray& zeile : status.readAll().split('\n'))
        if (zeile.startsWith("VmData:")) daten = zeile.mid(7).trimmed().split(' ')[0].toLongLong();
    const rlim_t grenze = rlim_t(daten) * 1024 + 600ULL * 1024 * 1024;
    const rlimit r{grenze, grenze};
    setrlimit(RLIMIT_DATA, &r);
    Bildsteuerung s;
    return s.Load(pfad) && s.BitmapWidth() == int(kBreite / 2) &&
           s.bild().pixel(100, 0) == qRgb(0, 0, 0) &&
           s.bild().pixel(int(kBreite / 2) - 100, 0) == qRgb(255, 255, 255);
  };
  EXPECT_EXIT(std::_Exit(ladenMitGrenze() ? 0 : 1), ::testing::ExitedWithCode(0), "");
}

// A metafile is drawn by the helper within bounds of records, memory and processor time:
// a chart of 3,000 records with its bars, lines and labels; a picture whose header claims
// millions of pixels a side, at no more than the pixel budget; a pen far wider than the
// picture, drawn within the budget or refused with its reason. Too many records are refused
// before anything is drawn, with their number. The control goes on loading afterwards.
TEST_F(BildsteuerungDatei, MetafileInnerhalbSeinerGrenzen) {
  Bildsteuerung s;
  ASSERT_TRUE(s.Load(schreibe("diagramm.wmf", metadatei::diagramm(3000))));
  EXPECT_EQ(QSize(s.BitmapWidth(), s.BitmapHeight()), QSize(576, 384));
  const QImage diagramm = s.bild();
  EXPECT_TRUE(aehnlich(diagramm.pixel(25, 335), qRgb(0xE0, 0x50, 0x30), 8));  // first bar
  int tinte = 0;  // the first bar's label
  for (int y = 350; y < 366; ++y)
    for (int x = 18; x < 34; ++x) tinte += qGray(diagramm.pixel(x, y)) < 128;
  EXPECT_GT(tinte, 10);

  for (int stift : {0, 32767}) {
    SCOPED_TRACE(stift);
    if (s.Load(schreibe("riesig.wmf", metadatei::riesig(stift)))) {
      EXPECT_LE(qint64(s.BitmapWidth()) * s.BitmapHeight(), Bildsteuerung::kGroesstePixelzahl);
      EXPECT_EQ(s.BitmapWidth(), s.BitmapHeight());
    } else {
      EXPECT_EQ(stift, 32767);
      EXPECT_FALSE(s.fehlergrund().isEmpty());
    }
  }

  // So narrow that sides rounded to the nearest pixel would pass the budget.
  metadatei::Worte linie;
  linie.dw(5).w(0x0213).w(32642).w(254);  // LineTo
  ASSERT_TRUE(s.Load(
      schreibe("schmal.wmf", metadatei::mitKopf(254, 32642, linie.daten(), 5, 1, true, 1))));
  EXPECT_LE(qint64(s.BitmapWidth()) * s.BitmapHeight(), Bildsteuerung::kGroesstePixelzahl);

  EXPECT_FALSE(s.Load(schreibe("viele.wmf", metadatei::linien(100'000))));
  EXPECT_FALSE(s.hatBitmap());
  EXPECT_TRUE(s.fehlergrund().contains(QStringLiteral("100.002"))) << s.fehlergrund().toStdString();
  ASSERT_TRUE(s.Load(schreibe("linien.wmf", metadatei::linien(2000))));
  EXPECT_EQ(QSize(s.BitmapWidth(), s.BitmapHeight()), QSize(96, 96));
  EXPECT_TRUE(s.fehlergrund().isEmpty());
  // An embedded bitmap is drawn too.
  ASSERT_TRUE(s.Load(schreibe("bitmaps.wmf", metadatei::bitmaps(110, 120))));
  EXPECT_EQ(s.bild().pixel(48, 48), qRgb(255, 0, 0));
}

// Clip art as it is drawn: a filled ellipse (first inch of 4 x 1, red), a text of
// characters beyond ASCII in 36-point Arial (second inch), a chord cut off the top-left
// quarter of a circle (third inch), filled on the side of the curve, and a rectangle with
// corners rounded by half its size (fourth inch).
TEST_F(BildsteuerungDatei, MetafileMitEllipseSehneUndUmlauten) {
  metadatei::Worte r;
  r.dw(7).w(0x02FC).w(0).dw(0x0000FF).w(0);         // CreateBrushIndirect: red
  r.dw(4).w(0x012D).w(0);                           // SelectObject
  r.dw(7).w(0x0418).w(1340).w(1340).w(100).w(100);  // Ellipse
  // Chord: end (left), start (top), then the box.
  r.dw(11).w(0x0830).w(720).w(2980).w(100).w(3600).w(1340).w(4220).w(100).w(2980);
  r.dw(9).w(0x061C).w(620).w(620).w(1340).w(5660).w(100).w(4420);  // RoundRect
  r.dw(3 + 9 + 16).w(0x02FB).w(-720).w(0).w(0).w(0).w(400).w(0).w(0).w(0).w(0);
  const char name[32] = "Arial";
  for (int i = 0; i < 32; i += 2)
    r.w(static_cast<uint8_t>(name[i]) | static_cast<uint8_t>(name[i + 1]) << 8);
  r.dw(4).w(0x012D).w(1);                // SelectObject font
  r.dw(3 + 1 + 2 + 2).w(0x0521).w(3);    // TextOut of three characters
  r.w(0xD6C4).w(0x00DF).w(300).w(1500);  // Ä Ö ß (Windows-1252), y, x
  Bildsteuerung s;
  ASSERT_TRUE(s.Load(schreibe("umlaute.wmf", metadatei::mitKopf(5760, 1440, r.daten(), 28, 2))));
  const QImage bild = s.bild();
  EXPECT_TRUE(aehnlich(bild.pixel(48, 48), qRgb(255, 0, 0), 8));
  EXPECT_TRUE(aehnlich(bild.pixel(213, 25), qRgb(255, 0, 0), 8));
  EXPECT_EQ(bild.pixel(232, 42), qRgb(255, 255, 255));
  EXPECT_TRUE(aehnlich(bild.pixel(335, 48), qRgb(255, 0, 0), 8));
  EXPECT_EQ(bild.pixel(297, 9), qRgb(255, 255, 255));
  int tinte = 0;
  for (int y = 0; y < 96; ++y)
    for (int x = 96; x < 192; ++x) tinte += qGray(bild.pixel(x, y)) < 128;
  EXPECT_GT(tinte, 200);
}

// What LibreOffice writes around every shape, on a picture of 2 x 1 inch: red 36-point text
// on its baseline at the bottom edge, set up before a SaveDC; then a saved state's wide blue
// pen deleted while saved and its slot taken by a new pen before the state is restored and
// draws a line across.
TEST_F(BildsteuerungDatei, MetafileStelltGespeicherteZustaendeWiederHer) {
  metadatei::Worte r;
  r.dw(5).w(0x0209).dw(0x0000FF);                   // SetTextColor red
  r.dw(4).w(0x012E).w(24);                          // SetTextAlign TA_BASELINE
  r.dw(8).w(0x02FA).w(0).w(100).w(0).dw(0xFF0000);  // 0: CreatePenIndirect, blue
  r.dw(4).w(0x012D).w(0);
  r.dw(3 + 9 + 16).w(0x02FB).w(-720).w(0).w(0).w(0).w(400).w(0).w(0).w(0).w(0);  // 1: font
  const char name[32] = "Arial";
  for (int i = 0; i < 32; i += 2)
    r.w(static_cast<uint8_t>(name[i]) | static_cast<uint8_t>(name[i + 1]) << 8);
  r.dw(4).w(0x012D).w(1);
  r.dw(3).w(0x001E);                                            // SaveDC
  r.dw(3 + 1 + 1 + 2).w(0x0521).w(2).w(0x4848).w(1440).w(100);  // TextOut "HH"
  r.dw(8).w(0x02FA).w(0).w(20).w(0).dw(0x00FF00);               // 2: CreatePenIndirect, green
  r.dw(4).w(0x012D).w(2);
  r.dw(4).w(0x01F0).w(0);                                           // DeleteObject 0
  r.dw(8).w(0x02FA).w(0).w(20).w(0).dw(0x0000FF);                   // 0: CreatePenIndirect, red
  r.dw(4).w(0x0127).w(0xFFFF);                                      // RestoreDC -1
  r.dw(5).w(0x0214).w(360).w(1440).dw(5).w(0x0213).w(360).w(2880);  // MoveTo, LineTo
  Bildsteuerung s;
  ASSERT_TRUE(s.Load(schreibe("zustand.wmf", metadatei::mitKopf(2880, 1440, r.daten(), 28, 3))));
  const QImage bild = s.bild();
  int rot = 0;
  for (int y = 48; y < 96; ++y)
    for (int x = 0; x < 96; ++x) rot += aehnlich(bild.pixel(x, y), qRgb(255, 0, 0), 60);
  EXPECT_GT(rot, 100);
  EXPECT_EQ(bild.pixel(150, 24), qRgb(0, 0, 255));
}

// A placeable metafile that sets MM_ANISOTROPIC, as Inkscape writes, keeps the scale of its
// header; a bare one that sets it is as large as its window in twips. Both: 2 x 1 inch,
// red on the left half.
TEST_F(BildsteuerungDatei, MetafileImModusAnisotrop) {
  metadatei::Worte r;
  r.dw(4).w(0x0103).w(8);                    // SetMapMode MM_ANISOTROPIC
  r.dw(7).w(0x02FC).w(0).dw(0x0000FF).w(0);  // CreateBrushIndirect red
  r.dw(4).w(0x012D).w(0);
  r.dw(7).w(0x041B).w(1440).w(1440).w(0).w(0);  // Rectangle
  Bildsteuerung s;
  for (bool platzierbar : {true, false}) {
    SCOPED_TRACE(platzierbar);
    ASSERT_TRUE(s.Load(
        schreibe("anisotrop.wmf", metadatei::mitKopf(2880, 1440, r.daten(), 7, 1, platzierbar))));
    EXPECT_EQ(QSize(s.BitmapWidth(), s.BitmapHeight()), QSize(192, 96));
    EXPECT_EQ(s.bild().pixel(40, 60), qRgb(255, 0, 0));
    EXPECT_EQ(s.bild().pixel(150, 60), qRgb(255, 255, 255));
  }
}

// A square hatched up from left to right (HS_BDIAGONAL): the ink runs up to the right.
TEST_F(BildsteuerungDatei, MetafileSchraffurInIhrerRichtung) {
  metadatei::Worte r;
  r.dw(7).w(0x02FC).w(2).dw(0).w(3);  // CreateBrushIndirect: hatched, black, HS_BDIAGONAL
  r.dw(4).w(0x012D).w(0);
  r.dw(7).w(0x041B).w(1440).w(1440).w(0).w(0);  // Rectangle
  Bildsteuerung s;
  ASSERT_TRUE(s.Load(schreibe("schraffur.wmf", metadatei::mitKopf(1440, 1440, r.daten(), 7))));
  const auto tinte = [&](int x, int y) { return qGray(s.bild().pixel(x, y)) < 128; };
  int aufwaerts = 0;
  int abwaerts = 0;
  for (int y = 10; y < 86; ++y)
    for (int x = 10; x < 86; ++x)
      if (tinte(x, y)) {
        aufwaerts += tinte(x + 1, y - 1);
        abwaerts += tinte(x + 1, y + 1);
      }
  EXPECT_GT(aufwaerts, 200);
  EXPECT_EQ(abwaerts, 0);
}

// Every refused content is tried after a good picture: the control must drop it.
struct Verweigert {
  const char* name;
  QByteArray inhalt;
};
void PrintTo(const Verweigert& v, std::ostream* aus) { *aus << v.name; }

class BildsteuerungVerweigert : public BildsteuerungDatei,
                                public ::testing::WithParamInterface<Verweigert> {};

TEST_P(BildsteuerungVerweigert, LaedtNichtUndVergisstDasVorigeBild) {
  Bildsteuerung s;
  ASSERT_TRUE(s.Load(schreibe("gut.bmp", kodiert(vierFelder(), "BMP"))));
  ASSERT_TRUE(s.hatBitmap());

  EXPECT_FALSE(s.Load(schreibe(GetParam().name, GetParam().inhalt)));
  EXPECT_FALSE(s.hatBitmap());
  EXPECT_EQ(s.BitmapWidth(), 0);
  EXPECT_EQ(s.BitmapHeight(), 0);
  EXPECT_TRUE(s.bild().isNull());
  // Effects and painting on no bitmap do nothing.
  s.Rotate(4500, true, 0xFFFFFF);
  s.Invert();
  s.Mosaic(4);
  EXPECT_FALSE(s.hatBitmap());
}

INSTANTIATE_TEST_SUITE_P(
    Inhalte, BildsteuerungVerweigert,
    ::testing::Values(
        Verweigert{"mvg.bmp",
                   "push graphic-context\nviewbox 0 0 64 64\n"
                   "image over 0,0 64,64 'text:/etc/passwd'\npop graphic-context\n"},
        Verweigert{"mvg_mit_bm.bmp",
                   "BMpush graphic-context\nviewbox 0 0 64 64\n"
                   "image over 0,0 64,64 'text:/etc/passwd'\npop graphic-context\n"},
        Verweigert{"svg.jpg",
                   "<?xml version=\"1.0\"?><svg xmlns=\"http://www.w3.org/2000/svg\" "
                   "xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"64\" height=\"64\">"
                   "<image xlink:href=\"text:/etc/passwd\" width=\"64\" height=\"64\"/></svg>"},
        Verweigert{"msl.pcx",
                   "msl:<?xml version=\"1.0\"?><image><read filename=\"/etc/passwd\"/>"
                   "<write filename=\"/tmp/qx_msl_probe.png\"/></image>"},
        Verweigert{"png.bmp", kodiert(vierFelder(), "PNG")},
        Verweigert{"gif.wmf", QByteArray("GIF89a\x02\0\x02\0\x80\0\0\0\0\0\xFF\xFF\xFF,\0\0\0\0"
                                         "\x02\0\x02\0\0\x02\x02\x84\x51\0;",
                                         35)},
        Verweigert{"logo.cmp", QByteArray("LEAD\x01\x00\x28\x00\x00\x00\x10\x00", 12)},
        Verweigert{"leer.bmp", QByteArray()},
        Verweigert{"ungepackt.pcx", QByteArray("\x0A\x05\x00\x08", 4) + QByteArray(200, '\0')},
        Verweigert{"kaputt.bmp", QByteArray("BM") + QByteArray(60, '\x7F')},
        Verweigert{"kaputt.jpg", QByteArray("\xFF\xD8\xFF\xE0", 4) + QByteArray(200, '\x11')},
        Verweigert{"kaputt.wmf", QByteArray("\xD7\xCD\xC6\x9A", 4) + QByteArray(40, '\0')}),
    [](const ::testing::TestParamInfo<Verweigert>& info) {
      std::string name = info.param.name;
      std::replace_if(
          name.begin(), name.end(), [](unsigned char c) { return !std::isalnum(c); }, '_');
      return name;
    });

TEST_F(BildsteuerungDatei, FehlendeUndUebergrosseDateienWerdenNichtGelesen) {
  Bildsteuerung s;
  const QString gut = schreibe("gut.bmp", kodiert(vierFelder(), "BMP"));

  ASSERT_TRUE(s.Load(gut));
  EXPECT_FALSE(s.Load(ordner_.filePath("fehlt.bmp")));
  EXPECT_FALSE(s.hatBitmap());

  ASSERT_TRUE(s.Load(gut));
  EXPECT_FALSE(s.Load(ordner_.path()));  // a folder
  EXPECT_FALSE(s.hatBitmap());

  ASSERT_TRUE(s.Load(gut));
  EXPECT_FALSE(s.Load(QString()));
  EXPECT_FALSE(s.hatBitmap());

  // A bitmap header in front of 65 MB (a sparse file): refused before decoding.
  const QString gross = schreibe("gross.bmp", kodiert(vierFelder(), "BMP"));
  {
    QFile f(gross);
    ASSERT_TRUE(f.resize(65LL * 1024 * 1024));
  }
  ASSERT_TRUE(s.Load(gut));
  EXPECT_FALSE(s.Load(gross));
  EXPECT_FALSE(s.hatBitmap());

  EXPECT_FALSE(QFile::exists("/tmp/qx_msl_probe.png"));
}

// Beyond the format check, ImageMagick itself refuses script and text coders and every
// external program once the control has started it.
TEST_F(BildsteuerungDatei, ImageMagickVerweigertSkriptformate) {
  Bildsteuerung s;
  const QString mvg =
      schreibe("bild.mvg", "push graphic-context\nviewbox 0 0 8 8\npop graphic-context\n");
  const QString text = schreibe("notiz.txt", "geheim\n");
  for (const QString& name : {"mvg:" + mvg, "text:" + text, "msl:" + text, "svg:" + text,
                              "ephemeral:" + text, "@" + text}) {
    SCOPED_TRACE(name.toStdString());
    Magick::Image bild;
    EXPECT_THROW(bild.read(name.toStdString()), Magick::Exception);
  }
  EXPECT_TRUE(QFile::exists(text));
}

// The program lifts the system's limit on the sides of a picture, but not a limit of the
// user's own policy (MAGICK_CONFIGURE_PATH), and leaves that variable as it was. Checked
// in a new process, in which ImageMagick starts afresh.
TEST(BildsteuerungStart, RegelnDesBenutzersGelten) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  QTemporaryDir ordner;
  QFile regeln(ordner.filePath(QStringLiteral("policy.xml")));
  ASSERT_TRUE(regeln.open(QIODevice::WriteOnly));
  regeln.write(
      "<policymap><policy domain=\"resource\" name=\"width\" value=\"5000\"/></policymap>");
  regeln.close();
  const QByteArray pfad = QFile::encodeName(ordner.path());
  qputenv("MAGICK_CONFIGURE_PATH", pfad);
  const auto starten = [&] {
    Bildsteuerung s;
    return MagickCore::GetMagickResourceLimit(MagickCore::WidthResource) == 5000 &&
           MagickCore::GetMagickResourceLimit(MagickCore::HeightResource) > 16000 &&
           qgetenv("MAGICK_CONFIGURE_PATH") == pfad;
  };
  EXPECT_EXIT(std::_Exit(starten() ? 0 : 1), ::testing::ExitedWithCode(0), "");
  qunsetenv("MAGICK_CONFIGURE_PATH");
}

// --- Effects -------------------------------------------------------------------------------

TEST(Bildsteuerung, HelligkeitUndKontrast) {
  const QImage grau = kante(80, 180);
  const QImage heller = nachEffekt(grau, [](Bildsteuerung& s) { s.Intensity(300); });
  const QImage dunkler = nachEffekt(grau, [](Bildsteuerung& s) { s.Intensity(-300); });
  EXPECT_GT(qRed(heller.pixel(5, 5)), 80 + 50);
  EXPECT_LT(qRed(dunkler.pixel(5, 5)), 80 - 50);
  EXPECT_GT(qRed(heller.pixel(35, 5)), 180);
  EXPECT_EQ(nachEffekt(grau, [](Bildsteuerung& s) { s.Intensity(1000); }).pixel(5, 5),
            qRgb(255, 255, 255));
  EXPECT_EQ(nachEffekt(grau, [](Bildsteuerung& s) { s.Intensity(-1000); }).pixel(35, 5),
            qRgb(0, 0, 0));

  const QImage mehr = nachEffekt(grau, [](Bildsteuerung& s) { s.Contrast(500); });
  EXPECT_LT(qRed(mehr.pixel(5, 5)), 80 - 20);
  EXPECT_GT(qRed(mehr.pixel(35, 5)), 180 + 20);
  const QImage weniger = nachEffekt(grau, [](Bildsteuerung& s) { s.Contrast(-500); });
  EXPECT_GT(qRed(weniger.pixel(5, 5)), 80 + 10);
  EXPECT_LT(qRed(weniger.pixel(35, 5)), 180 - 10);
  const QImage flach = nachEffekt(grau, [](Bildsteuerung& s) { s.Contrast(-1000); });
  EXPECT_TRUE(aehnlich(flach.pixel(5, 5), flach.pixel(35, 5), 1));

  // 0 leaves every effect's bitmap as it was.
  const QImage felder = vierFelder();
  EXPECT_EQ(nachEffekt(felder,
                       [](Bildsteuerung& s) {
                         s.Intensity(0);
                         s.Contrast(0);
                         s.Saturation(0);
                         s.Hue(0);
                         s.Sharpen(0);
                         s.Rotate(0, true, 0xFFFFFF);
                         s.Mosaic(1);
                         s.Shear(0, true, 0xFFFFFF);
                       }),
            felder);
}

TEST(Bildsteuerung, FarbintensitaetUndFarbverschiebung) {
  const QImage blass = einfarbig(8, 8, qRgb(200, 100, 100));
  const QImage grau = nachEffekt(blass, [](Bildsteuerung& s) { s.Saturation(-1000); });
  EXPECT_NEAR(qRed(grau.pixel(2, 2)), qGreen(grau.pixel(2, 2)), 1);
  EXPECT_NEAR(qGreen(grau.pixel(2, 2)), qBlue(grau.pixel(2, 2)), 1);
  const QImage kraeftig = nachEffekt(blass, [](Bildsteuerung& s) { s.Saturation(500); });
  EXPECT_GT(qRed(kraeftig.pixel(2, 2)) - qGreen(kraeftig.pixel(2, 2)), 100 + 30);

  const QImage rot = einfarbig(8, 8, qRgb(255, 0, 0));
  EXPECT_TRUE(aehnlich(nachEffekt(rot, [](Bildsteuerung& s) { s.Hue(1200); }).pixel(1, 1),
                       qRgb(0, 255, 0), 3));
  EXPECT_TRUE(aehnlich(nachEffekt(rot, [](Bildsteuerung& s) { s.Hue(-1200); }).pixel(1, 1),
                       qRgb(0, 0, 255), 3));
  EXPECT_TRUE(aehnlich(nachEffekt(rot, [](Bildsteuerung& s) { s.Hue(3600); }).pixel(1, 1),
                       qRgb(255, 0, 0), 1));
}

TEST(Bildsteuerung, SchaerfeUndWeichzeichnen) {
  const QImage grau = kante(100, 160);
  const QImage scharf = nachEffekt(grau, [](Bildsteuerung& s) { s.Sharpen(600); });
  EXPECT_LT(qRed(scharf.pixel(19, 10)), 100 - 5);  // overshoot on both sides of the edge
  EXPECT_GT(qRed(scharf.pixel(20, 10)), 160 + 5);
  EXPECT_EQ(scharf.pixel(5, 10), grau.pixel(5, 10));  // far from the edge nothing changes

  const QImage weich = nachEffekt(grau, [](Bildsteuerung& s) { s.Sharpen(-600); });
  EXPECT_GT(qRed(weich.pixel(19, 10)), 100 + 5);
  EXPECT_LT(qRed(weich.pixel(20, 10)), 160 - 5);
}

TEST(Bildsteuerung, RauschenIstBeiGleichenEinstellungenGleich) {
  const QImage grau = einfarbig(40, 20, qRgb(128, 128, 128));
  const QImage a = nachEffekt(grau, [](Bildsteuerung& s) { s.AddNoise(500, 0); });
  const QImage b = nachEffekt(grau, [](Bildsteuerung& s) { s.AddNoise(500, 0); });
  EXPECT_EQ(a, b);

  int veraendert = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x) veraendert += a.pixel(x, y) != grau.pixel(x, y);
  EXPECT_GT(veraendert, 800 * 4 / 10);  // about half of the pixels
  EXPECT_LT(veraendert, 800 * 6 / 10);

  const QImage alle = nachEffekt(grau, [](Bildsteuerung& s) { s.AddNoise(1000, 0); });
  int gleich = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x) gleich += alle.pixel(x, y) == grau.pixel(x, y);
  EXPECT_LT(gleich, 5);

  // Channel 1 touches red only.
  const QImage nurRot = nachEffekt(grau, [](Bildsteuerung& s) { s.AddNoise(1000, 1); });
  bool rotAnders = false;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x) {
      EXPECT_EQ(qGreen(nurRot.pixel(x, y)), 128);
      EXPECT_EQ(qBlue(nurRot.pixel(x, y)), 128);
      rotAnders = rotAnders || qRed(nurRot.pixel(x, y)) != 128;
    }
  EXPECT_TRUE(rotAnders);
}

TEST(Bildsteuerung, MosaikFuelltZellenMitIhremMittel) {
  QImage verlauf(40, 20, QImage::Format_RGB32);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x) verlauf.setPixel(x, y, qRgb(x * 6, y * 12, 50));

  const QImage m = nachEffekt(verlauf, [](Bildsteuerung& s) { s.Mosaic(4); });
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x)
      ASSERT_EQ(m.pixel(x, y), m.pixel(x / 4 * 4, y / 4 * 4)) << x << "," << y;
  // Cell 0,0: x 0..3 gives red 0, 6, 12, 18 (mean 9); y 0..3 gives green 0..36 (mean 18).
  EXPECT_EQ(m.pixel(0, 0), qRgb(9, 18, 50));
  EXPECT_NE(m.pixel(0, 0), m.pixel(4, 0));

  // 40 = 6 * 6 + 4: the last column of cells is four pixels wide.
  const QImage r = nachEffekt(verlauf, [](Bildsteuerung& s) { s.Mosaic(6); });
  EXPECT_EQ(r.pixel(36, 0), r.pixel(39, 5));
  EXPECT_NE(r.pixel(35, 0), r.pixel(36, 0));
  EXPECT_EQ(qRed(r.pixel(36, 0)), (36 + 37 + 38 + 39) * 6 / 4);
  EXPECT_EQ(qGreen(r.pixel(0, 18)), (18 + 19) * 12 / 2);
}

TEST(Bildsteuerung, DrehenVergroessertDieBitmap) {
  // 90 degrees counter-clockwise: the top-left red field goes to the bottom left.
  const QImage quer =
      nachEffekt(vierFelder(), [](Bildsteuerung& s) { s.Rotate(9000, true, 0xFFFFFF); });
  ASSERT_EQ(quer.size(), QSize(20, 40));
  EXPECT_EQ(quer.pixel(3, 36), qRgb(255, 0, 0));
  EXPECT_EQ(quer.pixel(3, 3), qRgb(0, 255, 0));
  EXPECT_EQ(quer.pixel(16, 36), qRgb(0, 0, 255));

  // 45 degrees: both sides grow to about (40 + 20) / sqrt 2, the corners are white.
  const QImage schraeg =
      nachEffekt(vierFelder(), [](Bildsteuerung& s) { s.Rotate(4500, true, 0xFFFFFF); });
  EXPECT_NEAR(schraeg.width(), 43, 2);
  EXPECT_NEAR(schraeg.height(), 43, 2);
  EXPECT_EQ(schraeg.pixel(0, 0), qRgb(255, 255, 255));
  EXPECT_EQ(schraeg.pixel(schraeg.width() - 1, schraeg.height() - 1), qRgb(255, 255, 255));
  EXPECT_TRUE(
      aehnlich(schraeg.pixel(schraeg.width() / 2, schraeg.height() / 2 - 8), qRgb(0, 255, 0), 40) ||
      aehnlich(schraeg.pixel(schraeg.width() / 2, schraeg.height() / 2 - 8), qRgb(255, 0, 0), 40));

  // A whole turn changes nothing; without growing, the size stays.
  const QImage voll =
      nachEffekt(vierFelder(), [](Bildsteuerung& s) { s.Rotate(36000, true, 0xFFFFFF); });
  EXPECT_EQ(voll, vierFelder());
  const QImage gleich =
      nachEffekt(vierFelder(), [](Bildsteuerung& s) { s.Rotate(3000, false, 0xFFFFFF); });
  EXPECT_EQ(gleich.size(), QSize(40, 20));
  // The colour fills the uncovered corners.
  const QImage blau =
      nachEffekt(vierFelder(), [](Bildsteuerung& s) { s.Rotate(4500, true, 0xFF0000); });
  EXPECT_EQ(blau.pixel(0, 0), qRgb(0, 0, 255));
}

TEST(Bildsteuerung, ScherenVergroessertInEinerRichtung) {
  const QImage felder = vierFelder();
  // 15 degrees: 20 * tan 15° = 5.4 more columns, or 40 * tan 15° = 10.7 more rows.
  const QImage h = nachEffekt(felder, [](Bildsteuerung& s) { s.Shear(1500, true, 0xFFFFFF); });
  EXPECT_NEAR(h.width(), 45, 1);
  EXPECT_EQ(h.height(), 20);
  const QImage v = nachEffekt(felder, [](Bildsteuerung& s) { s.Shear(1500, false, 0xFFFFFF); });
  EXPECT_EQ(v.width(), 40);
  EXPECT_NEAR(v.height(), 31, 1);

  // Lower rows move to the right: the top-left and bottom-right corners are uncovered.
  EXPECT_EQ(h.pixel(h.width() - 1, 0), qRgb(255, 255, 255));
  EXPECT_EQ(h.pixel(2, 0), qRgb(255, 0, 0));
  EXPECT_EQ(h.pixel(0, 19), qRgb(255, 255, 255));
  // Right-hand columns move down: the top-right and bottom-left corners are uncovered.
  EXPECT_EQ(v.pixel(39, 0), qRgb(255, 255, 255));
  EXPECT_EQ(v.pixel(0, v.height() - 1), qRgb(255, 255, 255));
  EXPECT_EQ(v.pixel(0, 0), qRgb(255, 0, 0));

  const QImage weit = nachEffekt(felder, [](Bildsteuerung& s) { s.Shear(4500, true, 0xFFFFFF); });
  EXPECT_NEAR(weit.width(), 60, 1);
}

TEST(Bildsteuerung, InvertierenUndGraustufen) {
  QImage bunt = vierFelder();
  bunt.setPixel(0, 0, qRgb(10, 100, 200));
  const QImage neg = nachEffekt(bunt, [](Bildsteuerung& s) { s.Invert(); });
  EXPECT_EQ(neg.pixel(0, 0), qRgb(245, 155, 55));
  EXPECT_EQ(neg.pixel(30, 15), qRgb(127, 127, 127));

  const QImage grau = nachEffekt(bunt, [](Bildsteuerung& s) { s.Grayscale(); });
  const int luma = qRound(0.299 * 10 + 0.587 * 100 + 0.114 * 200);
  EXPECT_TRUE(aehnlich(grau.pixel(0, 0), qRgb(luma, luma, luma), 1));
  EXPECT_TRUE(aehnlich(grau.pixel(30, 5), qRgb(150, 150, 150), 1));  // green
  EXPECT_TRUE(aehnlich(grau.pixel(5, 15), qRgb(29, 29, 29), 1));     // blue
}

TEST(Bildsteuerung, BildUebernehmenUndZurueckgeben) {
  Bildsteuerung s;
  EXPECT_TRUE(s.bild().isNull());
  s.setzeBild(vierFelder());
  EXPECT_EQ(s.bild(), vierFelder());
  EXPECT_EQ(s.bild().format(), QImage::Format_RGB32);

  // Transparent parts become white; effects continue on the taken picture.
  QImage durchsichtig(6, 4, QImage::Format_ARGB32);
  durchsichtig.fill(Qt::transparent);
  durchsichtig.setPixel(1, 1, qRgba(0, 0, 0, 255));
  s.setzeBild(durchsichtig);
  EXPECT_EQ(s.bild().pixel(4, 3), qRgb(255, 255, 255));
  EXPECT_EQ(s.bild().pixel(1, 1), qRgb(0, 0, 0));
  EXPECT_TRUE(s.hatBitmap());
  EXPECT_EQ(s.BitmapWidth(), 6);
  EXPECT_EQ(s.BitmapHeight(), 4);
  s.Invert();
  EXPECT_EQ(s.bild().pixel(1, 1), qRgb(255, 255, 255));
  EXPECT_EQ(s.bild().pixel(4, 3), qRgb(0, 0, 0));

  s.setzeBild(QImage());
  EXPECT_FALSE(s.hatBitmap());
}

TEST_F(BildsteuerungDatei, TransparenzEinerDateiWirdWeiss) {
  Bildsteuerung s;
  ASSERT_TRUE(s.Load(schreibe("alpha.bmp", bmp32(255, 0))));
  ASSERT_EQ(s.BitmapWidth(), 2);
  EXPECT_EQ(s.bild().pixel(0, 0), qRgb(0, 0, 255));
  EXPECT_EQ(s.bild().pixel(1, 0), qRgb(255, 255, 255));
}

// Pictures that other viewers show right: a JPEG turned by its orientation tag, an OS/2 2.x
// bitmap with its palette of four bytes per colour, and a 32-bit bitmap whose alpha is zero
// everywhere (written so by programs that know no alpha), which is opaque.
TEST_F(BildsteuerungDatei, BilderWieAndereBetrachterSieZeigen) {
  Bildsteuerung s;
  // 6: the stored rows are the picture's right-hand column; turned clockwise, 20 x 40.
  ASSERT_TRUE(s.Load(schreibe("hoch.jpg", mitAusrichtung(kodiert(vierFelder(), "JPG"), 6))));
  ASSERT_EQ(QSize(s.BitmapWidth(), s.BitmapHeight()), QSize(20, 40));
  EXPECT_TRUE(aehnlich(s.bild().pixel(15, 5), qRgb(255, 0, 0), 24));
  EXPECT_TRUE(aehnlich(s.bild().pixel(5, 5), qRgb(0, 0, 255), 24));
  EXPECT_TRUE(aehnlich(s.bild().pixel(15, 35), qRgb(0, 255, 0), 24));
  EXPECT_TRUE(aehnlich(s.bild().pixel(5, 35), qRgb(128, 128, 128), 24));
  // The upright picture's width reaches a target of 20 x 10: not scaled down.
  s.setzeZielgroesse(QSize(20, 10));
  ASSERT_TRUE(s.Load(ordner_.filePath("hoch.jpg")));
  EXPECT_EQ(QSize(s.BitmapWidth(), s.BitmapHeight()), QSize(20, 40));
  s.setzeZielgroesse(QSize());

  for (int kopf : {64, 16}) {
    SCOPED_TRACE(kopf);
    ASSERT_TRUE(s.Load(schreibe("os2.bmp", os2Bitmap(kopf))));
    ASSERT_EQ(QSize(s.BitmapWidth(), s.BitmapHeight()), QSize(4, 2));
    const QRgb farben[] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 255, 255)};
    for (int x = 0; x < 4; ++x) {
      EXPECT_EQ(s.bild().pixel(x, 0), farben[x]) << x;
      EXPECT_EQ(s.bild().pixel(x, 1), farben[(x + 2) % 4]) << x;
    }
  }

  ASSERT_TRUE(s.Load(schreibe("ohne_alpha.bmp", bmp32(0, 0))));
  EXPECT_EQ(s.bild().pixel(0, 0), qRgb(0, 0, 255));
  EXPECT_EQ(s.bild().pixel(1, 0), qRgb(0, 0, 0));

  // A set bit of a one-bit PCX is white: black ink on white paper.
  ASSERT_TRUE(s.Load(schreibe("unterschrift.pcx", pcxEinBit())));
  ASSERT_EQ(QSize(s.BitmapWidth(), s.BitmapHeight()), QSize(11, 3));
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 11; ++x)
      EXPECT_EQ(s.bild().pixel(x, y), (x + y) % 2 ? qRgb(0, 0, 0) : qRgb(255, 255, 255)) << x;

  // A bitmap file whose size field says more than the file holds reads as Qt reads it.
  QByteArray falscheGroesse = kodiert(vierFelder(), "BMP");
  falscheGroesse[3] = static_cast<char>(falscheGroesse[3] + 4);
  ASSERT_TRUE(s.Load(schreibe("groesse.bmp", falscheGroesse)));
  EXPECT_EQ(s.bild(), QImage::fromData(falscheGroesse).convertToFormat(QImage::Format_RGB32));
}

// --- Pixel budget --------------------------------------------------------------------------

// A picture larger than the target is scaled down as far as the target allows, in the same
// proportion both ways; rotation and shear that grow the bitmap past it are followed by
// scaling down again; the mosaic's cells shrink with the picture.
TEST(Bildsteuerung, BitmapBleibtInDerZielgroesse) {
  QImage verlauf(400, 200, QImage::Format_RGB32);
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 400; ++x) verlauf.setPixel(x, y, qRgb(x * 255 / 400, y * 255 / 200, 50));
  Bildsteuerung s;
  s.setzeZielgroesse(QSize(100, 100));
  ASSERT_TRUE(s.ladeDaten(kodiert(verlauf, "BMP")));
  EXPECT_EQ(QSize(s.BitmapWidth(), s.BitmapHeight()), QSize(200, 100));
  EXPECT_DOUBLE_EQ(s.massstab(), 0.5);

  Bildsteuerung mosaik;
  mosaik.setzeZielgroesse(QSize(100, 100));
  ASSERT_TRUE(mosaik.ladeDaten(kodiert(verlauf, "BMP")));
  mosaik.Mosaic(8);  // 8 pixels of the file are 4 of the bitmap
  const QImage m = mosaik.bild();
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 200; ++x)
      ASSERT_EQ(m.pixel(x, y), m.pixel(x / 4 * 4, y / 4 * 4)) << x << "," << y;
  EXPECT_NE(m.pixel(0, 0), m.pixel(4, 0));

  s.Rotate(9000, true, 0xFFFFFF);  // 100 x 200: the width reaches the target, no scaling
  EXPECT_EQ(QSize(s.BitmapWidth(), s.BitmapHeight()), QSize(100, 200));
  s.Rotate(-9000, true, 0xFFFFFF);
  s.Rotate(4500, true, 0xFFFFFF);  // about 212 x 212, back to 100 x 100
  EXPECT_NEAR(s.BitmapWidth(), 100, 1);
  EXPECT_NEAR(s.BitmapHeight(), 100, 1);
  EXPECT_NEAR(s.massstab(), 0.5 * 100 / 212.1, 0.005);
  s.Shear(4500, false, 0xFFFFFF);  // twice as tall: the width still only reaches the target
  EXPECT_NEAR(s.BitmapWidth(), 100, 1);
  EXPECT_NEAR(s.BitmapHeight(), 200, 2);

  // Without a target, a bitmap that would grow past the pixel limit is made smaller first.
  Bildsteuerung ohneZiel;
  ohneZiel.setzeBild(einfarbig(3000, 2000, qRgb(0, 128, 0)));
  ohneZiel.Rotate(4500, true, 0xFFFFFF);
  EXPECT_LE(int64_t(ohneZiel.BitmapWidth()) * ohneZiel.BitmapHeight(),
            Bildsteuerung::kGroesstePixelzahl);
  EXPECT_GT(int64_t(ohneZiel.BitmapWidth()) * ohneZiel.BitmapHeight(),
            Bildsteuerung::kGroesstePixelzahl * 9 / 10);
  EXPECT_EQ(ohneZiel.bild().pixel(ohneZiel.BitmapWidth() / 2, ohneZiel.BitmapHeight() / 2),
            qRgb(0, 128, 0));
}

// With ImageMagick's memory used up every effect is skipped and leaves the bitmap as it was.
// None may end the program: some of ImageMagick's in-place operations stop it with an
// assertion when they cannot get their pixels.
TEST(Bildsteuerung, OhneSpeicherWirdJederEffektAusgelassen) {
  const std::vector<std::pair<const char*, std::function<void(Bildsteuerung&)>>> effekte = {
      {"Rotate", [](Bildsteuerung& s) { s.Rotate(3000, true, 0xFFFFFF); }},
      {"Intensity", [](Bildsteuerung& s) { s.Intensity(300); }},
      {"Contrast", [](Bildsteuerung& s) { s.Contrast(300); }},
      {"Saturation", [](Bildsteuerung& s) { s.Saturation(300); }},
      {"Hue", [](Bildsteuerung& s) { s.Hue(300); }},
      {"Sharpen", [](Bildsteuerung& s) { s.Sharpen(300); }},
      {"Blur", [](Bildsteuerung& s) { s.Sharpen(-300); }},
      {"AddNoise", [](Bildsteuerung& s) { s.AddNoise(300, 0); }},
      {"Mosaic", [](Bildsteuerung& s) { s.Mosaic(5); }},
      {"Shear", [](Bildsteuerung& s) { s.Shear(1500, true, 0xFFFFFF); }},
      {"ShearV", [](Bildsteuerung& s) { s.Shear(1500, false, 0xFFFFFF); }},
      {"Invert", [](Bildsteuerung& s) { s.Invert(); }},
      {"Grayscale", [](Bildsteuerung& s) { s.Grayscale(); }},
  };
  const QByteArray datei = kodiert(vierFelder(), "BMP");
  const auto speicher = Magick::ResourceLimits::memory();
  const auto abbildung = Magick::ResourceLimits::map();
  const auto platte = Magick::ResourceLimits::disk();
  const auto grenzen = [](MagickCore::MagickSizeType m, MagickCore::MagickSizeType a,
                          MagickCore::MagickSizeType p) {
    Magick::ResourceLimits::memory(m);
    Magick::ResourceLimits::map(a);
    Magick::ResourceLimits::disk(p);
  };
  for (const auto& [name, effekt] : effekte) {
    SCOPED_TRACE(name);
    Bildsteuerung s;
    ASSERT_TRUE(s.ladeDaten(datei));
    grenzen(1000, 1000, 1000);
    effekt(s);
    grenzen(speicher, abbildung, platte);
    ASSERT_TRUE(s.hatBitmap());
    EXPECT_EQ(s.bild(), vierFelder());
  }
  // Loading fails as any unreadable picture does; a bitmap taken as an image stays when it
  // cannot become a Magick image.
  Bildsteuerung s;
  grenzen(1000, 1000, 1000);
  EXPECT_FALSE(s.ladeDaten(datei));
  EXPECT_FALSE(s.ladeDaten(kodiert(vierFelder(), "JPG")));
  grenzen(speicher, abbildung, platte);
  EXPECT_FALSE(s.hatBitmap());
  s.setzeBild(vierFelder());
  grenzen(1000, 1000, 1000);
  s.Invert();
  grenzen(speicher, abbildung, platte);
  EXPECT_EQ(s.bild(), vierFelder());
  s.Invert();
  EXPECT_EQ(s.bild().pixel(0, 0), qRgb(0, 255, 255));
}

// --- Painting ------------------------------------------------------------------------------

TEST(Bildsteuerung, MaltGestrecktInDasRechteck) {
  Bildflaeche flaeche(200 * 15, 100 * 15);  // 200 x 100 pixels at 15 twips per pixel
  flaeche.Cls();
  Bildsteuerung s;
  QImage zwei(2, 1, QImage::Format_RGB32);
  zwei.setPixel(0, 0, qRgb(255, 0, 0));
  zwei.setPixel(1, 0, qRgb(0, 0, 255));
  s.setzeBild(zwei);

  // Twips 300, 150 with 1500 x 750: pixels 20..119 across, 10..59 down.
  s.Paint(flaeche.hdc(), 300, 150, 1500, 750);
  const QImage bild = flaeche.bild();
  EXPECT_EQ(bild.pixel(20, 10), qRgb(255, 0, 0));
  EXPECT_EQ(bild.pixel(40, 59), qRgb(255, 0, 0));
  EXPECT_EQ(bild.pixel(119, 10), qRgb(0, 0, 255));
  EXPECT_EQ(bild.pixel(100, 59), qRgb(0, 0, 255));
  EXPECT_EQ(bild.pixel(19, 30), qRgb(255, 255, 255));
  EXPECT_EQ(bild.pixel(120, 30), qRgb(255, 255, 255));
  EXPECT_EQ(bild.pixel(50, 9), qRgb(255, 255, 255));
  EXPECT_EQ(bild.pixel(50, 60), qRgb(255, 255, 255));
}

TEST(Bildsteuerung, MaltNurInnerhalbDesClipbereichs) {
  Bildflaeche flaeche(100 * 15, 100 * 15);
  flaeche.Cls();
  Bildsteuerung s;
  s.setzeBild(einfarbig(4, 4, qRgb(0, 128, 0)));
  HDC dc = flaeche.hdc();
  const HRGN region = CreateRectRgn(0, 0, 50, 100);
  SelectClipRgn(dc, region);
  s.Paint(dc, 0, 0, 1500, 1500);
  SelectClipRgn(dc, 0);
  DeleteObject(region);
  const QImage bild = flaeche.bild();
  EXPECT_EQ(bild.pixel(10, 50), qRgb(0, 128, 0));
  EXPECT_EQ(bild.pixel(49, 99), qRgb(0, 128, 0));
  EXPECT_EQ(bild.pixel(50, 50), qRgb(255, 255, 255));
  EXPECT_EQ(bild.pixel(99, 0), qRgb(255, 255, 255));
}

TEST(Bildsteuerung, MaltNichtsOhneMalerOderBitmap) {
  Bildsteuerung s;
  s.setzeBild(einfarbig(4, 4, qRgb(0, 0, 0)));
  Geraetekontext ohneMaler(nullptr, 96, 96);
  s.Paint(&ohneMaler, 0, 0, 1440, 1440);
  s.Paint(nullptr, 0, 0, 1440, 1440);

  Bildflaeche flaeche(50 * 15, 50 * 15);
  flaeche.Cls();
  Bildsteuerung leer;
  leer.Paint(flaeche.hdc(), 0, 0, 750, 750);
  s.Paint(flaeche.hdc(), 0, 0, 0, 750);  // no width
  EXPECT_EQ(flaeche.bild().pixel(10, 10), qRgb(255, 255, 255));
  EXPECT_EQ(flaeche.bild().pixel(0, 0), qRgb(255, 255, 255));
}
