#include "platform/bildsteuerung.h"

#include <Magick++.h>
#undef Intensity  // an old ImageMagick alias macro, which would rename a member

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QPainter>
#include <QRect>
#include <QTemporaryDir>
#include <QtGlobal>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>
#include <random>
#include <stdexcept>

#include "platform/einheiten.h"
#include "platform/metadatei.h"
#include "platform/metadatei_protokoll.h"
#include "platform/speicher.h"
#include "platform/zahlen.h"

using MagickCore::Quantum;

namespace {

// Larger files are refused before anything is decoded: no letterhead picture comes near.
constexpr qint64 kGroessteDatei = 64LL * 1024 * 1024;

constexpr MagickCore::MagickSizeType kMiB = 1024ULL * 1024ULL;

// The most pixels a file may decode to before it is scaled down (a JPEG is decoded at a
// reduced size where that suffices; an 8-bit bitmap file of the largest size holds about as
// many pixels). The limits are on pixels, not on the shape: a side may be as long as the
// pixel count allows, so that a narrow panorama shows like a square picture.
constexpr int64_t kGroessteDekodierung = 64'000'000;

// The only coders the process may use: the three bitmap formats, the device-independent
// bitmaps that bitmap files carry inside them and the plain canvases the decoders build on.
// Metafiles never reach ImageMagick (the helper program draws them). No delegate (external
// program) may run at all, and no "@file" list is read.
constexpr const char* kSicherheitsregeln =
    "<policymap>"
    "<policy domain=\"delegate\" rights=\"none\" pattern=\"*\"/>"
    "<policy domain=\"coder\" rights=\"none\" pattern=\"*\"/>"
    "<policy domain=\"coder\" rights=\"read|write\" "
    "pattern=\"{BMP,BMP2,BMP3,DIB,JPEG,JPG,PCX,XC,CANVAS}\"/>"
    "<policy domain=\"path\" rights=\"none\" pattern=\"@*\"/>"
    "</policymap>";

// ImageMagick takes the resource limits of the system's policy.xml as maxima that the
// program cannot raise, and Debian's limits width and height to 16,000 pixels: a valid
// 17000 x 40 bitmap would fail to decode. A policy file of the program's own, read before
// the system's (ImageMagick takes the first value it finds), lets the sides be as long as
// the area limit allows; every other limit below is the program's own and stricter. The
// file is read once while ImageMagick starts, then removed, and the environment is left
// as it was. It comes after the folders the user named in MAGICK_CONFIGURE_PATH, so that a
// policy of the user's own still decides.
void magickMitEigenenSeitengrenzenStarten() {
  QTemporaryDir ordner;
  QFile regeln(ordner.filePath(QStringLiteral("policy.xml")));
  const bool geschrieben =
      ordner.isValid() && regeln.open(QIODevice::WriteOnly) &&
      regeln.write(QStringLiteral("<policymap>"
                                  "<policy domain=\"resource\" name=\"width\" value=\"%1\"/>"
                                  "<policy domain=\"resource\" name=\"height\" value=\"%1\"/>"
                                  "</policymap>")
                       .arg(kGroessteDekodierung)
                       .toUtf8()) > 0;
  regeln.close();
  const QByteArray vorher = qgetenv("MAGICK_CONFIGURE_PATH");
  const bool hatteVorher = qEnvironmentVariableIsSet("MAGICK_CONFIGURE_PATH");
  if (geschrieben)
    qputenv("MAGICK_CONFIGURE_PATH", hatteVorher ? vorher + ':' + QFile::encodeName(ordner.path())
                                                 : QFile::encodeName(ordner.path()));
  Magick::InitializeMagick(nullptr);
  if (hatteVorher)
    qputenv("MAGICK_CONFIGURE_PATH", vorher);
  else
    qunsetenv("MAGICK_CONFIGURE_PATH");
}

// Starts ImageMagick once for the process, with limits that keep a hostile or broken
// picture from taking the machine: memory, memory map, disk cache and area (width and
// height only as far as the area allows), and one thread so that results never depend on
// scheduling.
void magickVorbereiten() {
  static std::once_flag einmal;
  std::call_once(einmal, [] {
    magickMitEigenenSeitengrenzenStarten();
    Magick::ResourceLimits::memory(256 * kMiB);
    Magick::ResourceLimits::map(512 * kMiB);
    Magick::ResourceLimits::disk(1024 * kMiB);
    Magick::ResourceLimits::width(kGroessteDekodierung);
    Magick::ResourceLimits::height(kGroessteDekodierung);
    Magick::ResourceLimits::area(kGroessteDekodierung);
    Magick::ResourceLimits::thread(1);
    MagickCore::ExceptionInfo* ausnahme = MagickCore::AcquireExceptionInfo();
    if (MagickCore::SetMagickSecurityPolicy(kSicherheitsregeln, ausnahme) ==
        MagickCore::MagickFalse) {
      qWarning("Bildsteuerung: ImageMagick-Sicherheitsregeln nicht gesetzt");
    }
    MagickCore::DestroyExceptionInfo(ausnahme);
    if (MagickCore::GetMagickResourceLimit(MagickCore::WidthResource) <
        MagickCore::MagickSizeType(kGroessteDekodierung))
      qWarning("Bildsteuerung: Seitengrenze des Systems gilt, sehr breite Bilder fehlen");
  });
}

// Pixel order of a Format_RGB32 word in memory.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
constexpr const char* kQtAbbildung = "BGRA";
constexpr const char* kQtAbbildungOhneAlpha = "BGRP";
#else
constexpr const char* kQtAbbildung = "ARGB";
constexpr const char* kQtAbbildungOhneAlpha = "PRGB";
#endif

// A colour value red + 256 * green + 65536 * blue as a Magick colour.
Magick::ColorRGB magickFarbe(int32_t farbe) {
  const auto u = static_cast<uint32_t>(farbe);
  return Magick::ColorRGB((u & 0xFF) / 255.0, ((u >> 8) & 0xFF) / 255.0,
                          ((u >> 16) & 0xFF) / 255.0);
}

// Gives the image pixels of its own (not shared with a copy) before an effect changes them
// in place. Where ImageMagick's memory limits do not allow that, this throws, and the effect
// is skipped: some of ImageMagick's in-place operations (brightness and contrast among them)
// stop the program with an assertion when they cannot get their pixels.
void eigenePixel(Magick::Image& bild) {
  bild.modifyImage();
  if (MagickCore::SetImageStorageClass(bild.image(), MagickCore::DirectClass) ==
      MagickCore::MagickFalse)
    throw std::runtime_error("kein Speicher für die Bildpunkte");
}

// Transparent parts are laid onto white; the bitmap has no alpha afterwards.
void aufWeissLegen(Magick::Image& bild) {
  if (!bild.matte()) return;
  eigenePixel(bild);
  bild.backgroundColor(Magick::ColorRGB(1.0, 1.0, 1.0));
  bild.alphaChannel(MagickCore::RemoveAlphaChannel);
  bild.matte(false);
}

// Whether ImageMagick may still take pixels for a bitmap of that size, in memory, in a
// memory-mapped file or on disk. Creating an image from pixels in memory ends the program
// with an assertion when it cannot get them, so that is asked first.
bool platzFuer(size_t breite, size_t hoehe) {
  const auto bytes = MagickCore::MagickSizeType(breite) * hoehe * sizeof(MagickCore::PixelPacket);
  for (const auto art :
       {MagickCore::MemoryResource, MagickCore::MapResource, MagickCore::DiskResource}) {
    const auto grenze = MagickCore::GetMagickResourceLimit(art);
    const auto belegt = MagickCore::GetMagickResource(art);
    if (belegt <= grenze && bytes <= grenze - belegt) return true;
  }
  return false;
}

// Works on the pixels of the bitmap as one block. The image is made unique first so
// that a shared copy (the state before the effect) keeps its pixels.
template <class Funktion>
void anPixeln(Magick::Image& bild, Funktion funktion) {
  eigenePixel(bild);
  const size_t breite = bild.columns();
  const size_t hoehe = bild.rows();
  Magick::Pixels sicht(bild);
  MagickCore::PixelPacket* pixel = sicht.get(0, 0, breite, hoehe);
  if (!pixel) return;
  funktion(pixel, breite, hoehe);
  sicht.sync();
}

MagickCore::Quantum alsQuantum(double v) {
  return static_cast<MagickCore::Quantum>(std::clamp(std::round(v), 0.0, double(QuantumRange)));
}

// The factor (at most 1) by which a bitmap of breite x hoehe pixels is scaled so that it is
// no larger than the target needs (both sides at least the target's, or the one that
// reaches it where the proportions differ) and no larger than the pixel budget. A side is
// never scaled below one pixel, so a very narrow bitmap keeps its long side within the
// budget on its own.
double faktorFuer(double breite, double hoehe, const QSize& ziel) {
  return metadatei::massstabFuer(breite, hoehe, ziel.isEmpty() ? 0 : ziel.width(),
                                 ziel.isEmpty() ? 0 : ziel.height(),
                                 double(Bildsteuerung::kGroesstePixelzahl));
}

// ImageMagick's scaling takes working rows of about 200 bytes for each column of the
// bitmap, outside its memory limits: a picture of 64 million by one pixels took 11 GB. A
// bitmap wider than kBreiteAmStueck (it then has at most 64 rows within the decoding
// budget) is scaled in strips of kStreifenbreite columns.
constexpr size_t kBreiteAmStueck = size_t(1) << 20;
constexpr size_t kStreifenbreite = 16384;

// Scales the bitmap by the same factor in both directions; each new pixel is the mean of
// the pixels it covers.
void skalieren(Magick::Image& bild, double faktor) {
  const auto seite = [faktor](size_t n) {
    return std::max<size_t>(1, static_cast<size_t>(std::llround(double(n) * faktor)));
  };
  const size_t breite = bild.columns();
  const size_t hoehe = bild.rows();
  Magick::Geometry groesse(seite(breite), seite(hoehe));
  if (groesse.width() == breite && groesse.height() == hoehe) return;
  groesse.aspect(true);
  if (breite <= kBreiteAmStueck) {
    bild.scale(groesse);
    return;
  }
  // Each strip goes to the columns between its edges scaled, so the strips meet.
  std::vector<Magick::Image> streifenListe;
  const auto neueSpalte = [&](size_t x) { return x * groesse.width() / breite; };
  for (size_t x = 0; x < breite; x += kStreifenbreite) {
    const size_t ende = std::min(breite, x + kStreifenbreite);
    const size_t links = neueSpalte(x);
    const size_t rechts = neueSpalte(ende);
    if (rechts == links) continue;
    // Read from the shared pixels (cropping copies much more than the strip).
    const MagickCore::PixelPacket* pixel =
        bild.getConstPixels(static_cast<ssize_t>(x), 0, ende - x, hoehe);
    if (!pixel) throw std::runtime_error("Streifen nicht lesbar");
    static_assert(sizeof(MagickCore::Quantum) == sizeof(uint16_t));
#ifdef MAGICK_PIXEL_BGRA
    Magick::Image streifen(ende - x, hoehe, "BGRO", MagickCore::ShortPixel, pixel);
#else
    Magick::Image streifen(ende - x, hoehe, "RGBO", MagickCore::ShortPixel, pixel);
#endif
    streifen.matte(bild.matte());
    Magick::Geometry teil(rechts - links, groesse.height());
    teil.aspect(true);
    streifen.scale(teil);
    streifenListe.push_back(std::move(streifen));
  }
  Magick::appendImages(&bild, streifenListe.begin(), streifenListe.end(), false);
}

// A bitmap file whose alpha is zero everywhere meant none: programs that do not know the
// alpha channel write their 32-bit pictures so. Such a picture is opaque, as other viewers
// show it, and not wholly transparent.
void leeresAlphaIgnorieren(Magick::Image& bild) {
  if (!bild.matte()) return;
  const size_t breite = bild.columns();
  const size_t hoehe = bild.rows();
  for (size_t y = 0; y < hoehe; ++y) {
    const MagickCore::PixelPacket* zeile =
        bild.getConstPixels(0, static_cast<ssize_t>(y), breite, 1);
    if (!zeile) return;
    for (size_t x = 0; x < breite; ++x)
      if (zeile[x].opacity != TransparentOpacity) return;
  }
  bild.matte(false);
}

// Reads a little-endian number of a file header.
uint32_t le32(const QByteArray& d, qsizetype i) {
  return static_cast<uint8_t>(d[i]) | static_cast<uint8_t>(d[i + 1]) << 8 |
         static_cast<uint8_t>(d[i + 2]) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(d[i + 3])) << 24;
}
void setzeLe32(QByteArray& d, int i, uint32_t v) {
  for (int k = 0; k < 4; ++k) d[i + k] = static_cast<char>((v >> (8 * k)) & 0xFF);
}

// OS/2 2.x bitmaps have an information header of 16 to 64 bytes, which ImageMagick misreads
// (its palette comes out wrong, or the file is refused). Its first 40 bytes mean what those of
// a Windows bitmap mean, so it is rewritten to the Windows header; the palette of four bytes
// per colour and the pixels stay. The two OS/2 codings that Windows uses the same numbers for
// otherwise (Huffman and 24-bit run lengths) are refused. Other bitmaps are returned as they
// are; an empty result refuses the file.
QByteArray os2KopfAngleichen(const QByteArray& datei) {
  constexpr int kDateikopf = 14;
  constexpr int kWindowsKopf = 40;
  if (datei.size() < kDateikopf + 16) return datei;
  const uint32_t kopf = le32(datei, kDateikopf);
  if (kopf < 16 || kopf > 64 || kopf == 40 || kopf == 52 || kopf == 56) return datei;
  if (datei.size() < kDateikopf + static_cast<qsizetype>(kopf)) return {};
  QByteArray info = datei.mid(kDateikopf, std::min<int>(kopf, kWindowsKopf));
  info.resize(kWindowsKopf, '\0');
  setzeLe32(info, 0, kWindowsKopf);
  const uint32_t kodierung = le32(info, 16);
  if (kodierung == 3 || kodierung == 4) return {};
  const uint32_t pixelAnfang = le32(datei, 10);
  if (pixelAnfang < kDateikopf + kopf) return {};
  const uint32_t neuerAnfang = pixelAnfang - kopf + kWindowsKopf;
  // Without a colour count the palette holds as many colours as fit before the pixels.
  const uint32_t bits = static_cast<uint8_t>(info[14]) | static_cast<uint8_t>(info[15]) << 8;
  if (le32(info, 32) == 0 && bits >= 1 && bits <= 8)
    setzeLe32(info, 32,
              std::min<uint32_t>(1u << bits, (neuerAnfang - kDateikopf - kWindowsKopf) / 4));
  QByteArray neu = datei.left(kDateikopf) + info + datei.mid(kDateikopf + kopf);
  setzeLe32(neu, 2, static_cast<uint32_t>(neu.size()));
  setzeLe32(neu, 10, neuerAnfang);
  return neu;
}

// The picture's orientation tag, 1 (upright) to 8; 0 without one or with a number outside
// that range, which ImageMagick takes from the file unchecked.
int ausrichtung(const Magick::Image& bild) {
  static_assert(sizeof(MagickCore::OrientationType) == sizeof(int));
  int wert = 0;
  std::memcpy(&wert, &bild.constImage()->orientation, sizeof wert);
  return wert >= MagickCore::TopLeftOrientation && wert <= MagickCore::LeftBottomOrientation ? wert
                                                                                             : 0;
}

// Orientation tags 5 to 8 turn the picture by a quarter: its width is the stored height.
bool querGespeichert(int lage) { return lage >= MagickCore::LeftTopOrientation; }

// Readers ignore a bitmap file's size field, and writers get it wrong now and then;
// ImageMagick refuses a file whose field is larger than the file. The field is made to
// say the truth.
QByteArray dateigroesseEintragen(QByteArray datei) {
  if (datei.size() >= 6) setzeLe32(datei, 2, static_cast<uint32_t>(datei.size()));
  return datei;
}

// A PCX of one bit in one plane is black and white: a set bit is white, as PC Paintbrush
// wrote it and every other reader shows it, whatever the header's palette says.
// ImageMagick reads the bits the other way round.
bool einfarbigesPcx(const QByteArray& kopf) {
  return kopf.size() >= 128 && kopf[3] == 1 && kopf[65] == 1;
}

}  // namespace

Bildsteuerung::Bildsteuerung() { magickVorbereiten(); }
Bildsteuerung::~Bildsteuerung() = default;

QString Bildsteuerung::formatAusInhalt(const QByteArray& kopf) {
  const auto b = [&](int i) { return i < kopf.size() ? static_cast<uint8_t>(kopf[i]) : -1; };
  if (b(0) == 'B' && b(1) == 'M') return QStringLiteral("BMP");
  if (b(0) == 0xFF && b(1) == 0xD8 && b(2) == 0xFF) return QStringLiteral("JPEG");
  // ZSoft Paintbrush: manufacturer 10, a known version, run-length encoding, and a
  // plausible bit depth, in a header of 128 bytes.
  if (kopf.size() >= 128 && b(0) == 0x0A && (b(1) == 0 || (b(1) >= 2 && b(1) <= 5)) && b(2) == 1 &&
      (b(3) == 1 || b(3) == 2 || b(3) == 4 || b(3) == 8))
    return QStringLiteral("PCX");
  // Windows metafile: with the placeable (Aldus) header, or a bare memory or disk
  // metafile whose header is nine words long.
  if (b(0) == 0xD7 && b(1) == 0xCD && b(2) == 0xC6 && b(3) == 0x9A) return QStringLiteral("WMF");
  if ((b(0) == 1 || b(0) == 2) && b(1) == 0 && b(2) == 9 && b(3) == 0) return QStringLiteral("WMF");
  return {};
}

void Bildsteuerung::leeren(const QString& grund) {
  grund_ = grund;
  voruebergehend_ = false;
  magick_.reset();
  magickNachholen_ = false;
  bild_ = QImage();
  bildAktuell_ = false;
  massstab_ = 1.0;
}

void Bildsteuerung::setzeZielgroesse(const QSize& pixel) {
  ziel_ = pixel.isEmpty() ? QSize() : pixel;
}

bool Bildsteuerung::magickBereit() {
  if (magick_) return true;
  if (!magickNachholen_) return false;
  // A bitmap given as an image becomes a Magick image only when an effect needs it. Where
  // that fails the image stays the bitmap, and the effect is skipped.
  const auto breite = static_cast<size_t>(bild_.width());
  const auto hoehe = static_cast<size_t>(bild_.height());
  if (!platzFuer(breite, hoehe)) {
    qWarning("Bildsteuerung: kein Speicher, um das Bild zu bearbeiten");
    return false;
  }
  try {
    auto neu = std::make_unique<Magick::Image>();
    neu->quiet(true);
    neu->read(breite, hoehe, kQtAbbildungOhneAlpha, MagickCore::CharPixel, bild_.constBits());
    neu->classType(MagickCore::DirectClass);
    magick_ = std::move(neu);
    magickNachholen_ = false;
    return true;
  } catch (const std::exception& fehler) {
    qWarning("Bildsteuerung: Bild nicht übernommen: %s", fehler.what());
    return false;
  }
}

bool Bildsteuerung::Load(const QString& pfad, int, int, int) {
  leeren();
  const QFileInfo info(pfad);
  if (pfad.isEmpty() || !info.isFile() || info.size() > kGroessteDatei) return false;
  QFile datei(pfad);
  if (!datei.open(QIODevice::ReadOnly)) return false;
  const QByteArray daten = datei.read(kGroessteDatei + 1);
  if (daten.size() > kGroessteDatei) return false;
  return ladeDaten(daten);
}

bool Bildsteuerung::ladeDaten(const QByteArray& inhalt) {
  GrosseBloeckeImHeap();
  leeren();
  const QString format = formatAusInhalt(inhalt);
  if (format.isEmpty()) return false;
  if (format == QLatin1String("WMF")) return metadateiLaden(inhalt);
  const QByteArray daten =
      format == QLatin1String("BMP") ? dateigroesseEintragen(os2KopfAngleichen(inhalt)) : inhalt;
  if (daten.isEmpty()) return false;
  try {
    const Magick::Blob blob(daten.constData(), static_cast<size_t>(daten.size()));
    const auto neuesBild = [&] {
      auto bild = std::make_unique<Magick::Image>();
      bild->quiet(true);  // warnings of a decoder do not fail the load
      // The format is fixed before reading, so ImageMagick never guesses it from the data.
      bild->magick(format.toStdString());
      return bild;
    };
    // The size from the header decides how large the picture is decoded: a JPEG at the
    // smallest of its reduced sizes that is still large enough, any other format whole,
    // and a picture too large for that not at all.
    const auto kopf = neuesBild();
    kopf->ping(blob);
    const double breite = double(kopf->columns());
    const double hoehe = double(kopf->rows());
    if (breite == 0 || hoehe == 0) return false;
    const bool quer = querGespeichert(ausrichtung(*kopf));
    const double faktor =
        quer ? faktorFuer(hoehe, breite, ziel_) : faktorFuer(breite, hoehe, ziel_);
    const bool jpeg = format == QLatin1String("JPEG");
    const double kleinsterTeil = jpeg ? 1.0 / 64 : 1.0;  // libjpeg decodes down to 1/8
    if (breite * hoehe * std::max(faktor * faktor, kleinsterTeil) > double(kGroessteDekodierung)) {
      const QLocale deutsch(QLocale::German);
      grund_ = QStringLiteral(
                   "Mit %1 × %2 Bildpunkten ist sie zu groß; gelesen werden Bilder bis %3 "
                   "Millionen Bildpunkte.")
                   .arg(deutsch.toString(qlonglong(breite)), deutsch.toString(qlonglong(hoehe)))
                   .arg(kGroessteDekodierung / 1'000'000);
      return false;
    }
    auto bild = neuesBild();
    if (jpeg && faktor < 1.0)
      bild->defineValue("jpeg", "size",
                        QStringLiteral("%1x%2")
                            .arg(std::ceil(breite * faktor))
                            .arg(std::ceil(hoehe * faktor))
                            .toStdString());
    bild->read(blob);
    if (bild->columns() == 0 || bild->rows() == 0) return false;
    if (format == QLatin1String("PCX") && einfarbigesPcx(daten)) bild->negate(false);
    if (bild->colorSpace() != MagickCore::sRGBColorspace &&
        bild->colorSpace() != MagickCore::RGBColorspace)
      bild->colorSpace(MagickCore::sRGBColorspace);
    // Cameras store a portrait as it left the sensor and say in a tag how to turn it.
    if (ausrichtung(*bild) > MagickCore::TopLeftOrientation) {
      bild->autoOrient();
      bild->orientation(MagickCore::TopLeftOrientation);
    }
    if (format == QLatin1String("BMP")) leeresAlphaIgnorieren(*bild);
    aufWeissLegen(*bild);
    bild->page(Magick::Geometry(0, 0, 0, 0));
    // Fitted to the target; when only decoding, the bitmap stays as large as it was decoded
    // (for a JPEG, the reduced size the target asked for), so that a larger target later
    // can still use it.
    skalieren(*bild, faktorFuer(double(bild->columns()), double(bild->rows()),
                                nurDekodieren_ ? QSize() : ziel_));
    bild->classType(MagickCore::DirectClass);
    massstab_ = double(bild->columns()) / (quer ? hoehe : breite);
    magick_ = std::move(bild);
    return true;
  } catch (const std::exception& fehler) {
    qWarning("Bildsteuerung: Bild nicht lesbar: %s", fehler.what());
    leeren();
    return false;
  }
}

bool Bildsteuerung::metadateiLaden(const QByteArray& daten) {
  const metadatei::Ergebnis ergebnis = metadatei::zeichnen(daten, ziel_, kGroesstePixelzahl);
  if (ergebnis.bild.isNull()) {
    grund_ = ergebnis.grund;
    voruebergehend_ = ergebnis.voruebergehend;
    return false;
  }
  setzeBild(ergebnis.bild);
  massstab_ = ergebnis.bild.width() / ergebnis.natuerlicheBreite;
  return true;
}

Bildsteuerung::Dekodiert Bildsteuerung::dekodieren(const QString& pfad, const QSize& ziel) {
  Bildsteuerung steuerung;
  steuerung.setzeZielgroesse(ziel);
  steuerung.nurDekodieren_ = true;
  Dekodiert ergebnis;
  if (steuerung.Load(pfad)) {
    ergebnis.bild = steuerung.bild();
    ergebnis.massstab = steuerung.massstab();
  }
  ergebnis.grund = steuerung.fehlergrund();
  ergebnis.voruebergehend = steuerung.voruebergehend_;
  return ergebnis;
}

bool Bildsteuerung::reichtFuer(const Dekodiert& dekodiert, const QSize& ziel) {
  if (dekodiert.bild.isNull() || dekodiert.massstab >= 1.0 || dekodiert.massstab <= 0) return true;
  const double breite = dekodiert.bild.width() / dekodiert.massstab;
  const double hoehe = dekodiert.bild.height() / dekodiert.massstab;
  const double faktor = faktorFuer(breite, hoehe, ziel);
  // A pixel of rounding either way does not call for decoding again.
  return dekodiert.bild.width() + 1 >= breite * faktor &&
         dekodiert.bild.height() + 1 >= hoehe * faktor;
}

bool Bildsteuerung::uebernehmen(const Dekodiert& dekodiert) {
  if (dekodiert.bild.isNull()) {
    leeren(dekodiert.grund);
    return false;
  }
  setzeBild(dekodiert.bild);
  massstab_ = dekodiert.massstab;
  const double faktor =
      faktorFuer(double(dekodiert.bild.width()), double(dekodiert.bild.height()), ziel_);
  if (faktor >= 1.0) return true;
  // Where the memory limits allow no scaling the picture stays larger than the target.
  const double breiteVorher = dekodiert.bild.width();
  if (wirke([faktor](Magick::Image& bild) { skalieren(bild, faktor); }))
    massstab_ *= double(magick_->columns()) / breiteVorher;
  return true;
}

bool Bildsteuerung::hatBitmap() const { return magick_ != nullptr || magickNachholen_; }

int Bildsteuerung::BitmapWidth() const {
  if (magickNachholen_) return bild_.width();
  return magick_ ? static_cast<int>(magick_->columns()) : 0;
}

int Bildsteuerung::BitmapHeight() const {
  if (magickNachholen_) return bild_.height();
  return magick_ ? static_cast<int>(magick_->rows()) : 0;
}

bool Bildsteuerung::wirke(const std::function<void(Magick::Image&)>& effekt) {
  if (!magickBereit()) return false;
  // A reference to the same pixels; every change below copies them first, so the
  // bitmap stays as it was when the effect fails half-way.
  Magick::Image arbeit = *magick_;
  const auto schritt = [&](const std::function<void(Magick::Image&)>& f) {
    try {
      f(arbeit);
    } catch (const Magick::Warning&) {
      // Done; ImageMagick only remarks on it.
    } catch (const std::exception& fehler) {
      qWarning("Bildsteuerung: Bildeffekt fehlgeschlagen: %s", fehler.what());
      return false;
    }
    return true;
  };
  if (!schritt(effekt)) return false;
  if (!schritt([](Magick::Image& bild) {
        aufWeissLegen(bild);
        bild.page(Magick::Geometry(0, 0, 0, 0));
      }))
    return false;
  if (arbeit.columns() == 0 || arbeit.rows() == 0) return false;
  *magick_ = arbeit;
  bildAktuell_ = false;
  return true;
}

void Bildsteuerung::wirkeWachsend(const std::function<QSizeF(double, double)>& groesseNachher,
                                  const std::function<void(Magick::Image&)>& effekt) {
  // How much smaller the picture's content became: the factors of both scalings.
  double verkleinert = 1.0;
  const auto skalierenUndMerken = [&](Magick::Image& bild, double faktor) {
    const double vorher = double(bild.columns());
    skalieren(bild, faktor);
    verkleinert *= double(bild.columns()) / vorher;
  };
  const bool gewirkt = wirke([&](Magick::Image& bild) {
    verkleinert = 1.0;
    const QSizeF nachher = groesseNachher(double(bild.columns()), double(bild.rows()));
    skalierenUndMerken(bild, faktorFuer(nachher.width(), nachher.height(), QSize()));
    effekt(bild);
    skalierenUndMerken(bild, faktorFuer(double(bild.columns()), double(bild.rows()), ziel_));
  });
  if (gewirkt) massstab_ *= verkleinert;
}

// Positive angles turn the picture counter-clockwise as seen, like every angle of the
// program; ImageMagick turns clockwise for positive degrees, hence the sign. With
// vergroessern the bitmap grows to hold the whole turned picture; otherwise the middle
// of the turned picture is cut to the old size. Uncovered corners take the colour.
void Bildsteuerung::Rotate(int32_t hundertstelGrad, bool vergroessern, int32_t farbe) {
  if (hundertstelGrad == 0) return;
  const double grad = -std::fmod(static_cast<double>(hundertstelGrad), 36000.0) / 100.0;
  const double c = std::abs(std::cos(grad * M_PI / 180.0));
  const double s = std::abs(std::sin(grad * M_PI / 180.0));
  wirkeWachsend(
      [&](double b, double h) { return QSizeF(b * c + h * s, b * s + h * c); },
      [&](Magick::Image& bild) {
        const size_t breite = bild.columns();
        const size_t hoehe = bild.rows();
        bild.backgroundColor(magickFarbe(farbe));
        bild.rotate(grad);
        if (!vergroessern && (bild.columns() != breite || bild.rows() != hoehe)) {
          bild.page(Magick::Geometry(0, 0, 0, 0));
          const auto x = (static_cast<ssize_t>(bild.columns()) - static_cast<ssize_t>(breite)) / 2;
          const auto y = (static_cast<ssize_t>(bild.rows()) - static_cast<ssize_t>(hoehe)) / 2;
          bild.crop(
              Magick::Geometry(breite, hoehe, std::max<ssize_t>(x, 0), std::max<ssize_t>(y, 0)));
        }
      });
}

// Brightness: every channel is shifted by wert / 1000 of the full scale; -1000 makes the
// picture black, 1000 white.
void Bildsteuerung::Intensity(int wert) {
  if (wert == 0) return;
  const double prozent = std::clamp(wert, -1000, 1000) / 10.0;
  wirke([&](Magick::Image& bild) {
    eigenePixel(bild);
    bild.brightnessContrast(prozent, 0.0);
  });
}

// Contrast: the slope of the tone curve through middle grey is tan(45° * (1 + wert / 1000));
// -1000 gives a flat grey, 1000 a hard black-and-white threshold at middle grey.
void Bildsteuerung::Contrast(int wert) {
  if (wert == 0) return;
  const double prozent = std::clamp(wert, -1000, 1000) / 10.0;
  wirke([&](Magick::Image& bild) {
    eigenePixel(bild);
    bild.brightnessContrast(0.0, prozent);
  });
}

// Saturation in the HSL model, multiplied by 1 + wert / 1000: -1000 leaves grey,
// 1000 doubles the saturation (saturated colours stay as they are).
void Bildsteuerung::Saturation(int wert) {
  if (wert == 0) return;
  const double prozent = 100.0 + std::clamp(wert, -1000, 1000) / 10.0;
  wirke([&](Magick::Image& bild) {
    eigenePixel(bild);
    bild.modulate(100.0, prozent, 100.0);
  });
}

// Hue: the colour wheel turns by wert / 10 degrees, positive from red towards yellow and
// green (red turned by 120 degrees is green). A whole turn leaves the colours.
void Bildsteuerung::Hue(int wert) {
  const int zehntel = ((wert % 3600) + 3600) % 3600;
  if (zehntel == 0) return;
  // ImageMagick's hue percentage: 100 is no change, each further 200 is a whole turn.
  const double prozent = 100.0 + zehntel / 3600.0 * 200.0;
  wirke([&](Magick::Image& bild) {
    eigenePixel(bild);
    bild.modulate(100.0, 100.0, prozent);
  });
}

// Sharpness: positive values sharpen with an unsharp mask of radius about three pixels
// (sigma 1) whose strength grows to 300 % at 1000; negative values blur with a Gaussian
// of sigma up to 4 pixels at -1000.
void Bildsteuerung::Sharpen(int wert) {
  if (wert == 0) return;
  const double staerke = std::clamp(wert, -1000, 1000) / 1000.0;
  wirke([&](Magick::Image& bild) {
    if (staerke > 0)
      bild.unsharpmask(0.0, 1.0, 3.0 * staerke, 0.0);
    else
      bild.blur(0.0, -4.0 * staerke);
  });
}

// Noise: bereich / 1000 of the pixels (tenths of a percent, 1000 = all) are replaced by
// random values. Channel 0 replaces all three colour channels, 1, 2 and 3 only red,
// green or blue. The generator is seeded from the settings and the bitmap's size, so the
// same picture with the same settings shows the same pixels on every redraw.
void Bildsteuerung::AddNoise(int bereich, int kanal) {
  bereich = std::clamp(bereich, 0, 1000);
  if (bereich == 0) return;
  wirke([&](Magick::Image& bild) {
    anPixeln(bild, [&](MagickCore::PixelPacket* pixel, size_t breite, size_t hoehe) {
      std::mt19937 zufall(0x51C3u ^ (static_cast<uint32_t>(bereich) << 4) ^
                          (static_cast<uint32_t>(kanal) << 16) ^
                          static_cast<uint32_t>(breite * 7919u + hoehe));
      const auto zufallsWert = [&] {
        return static_cast<MagickCore::Quantum>((zufall() >> 8) % (QuantumRange + 1u));
      };
      for (size_t i = 0; i < breite * hoehe; ++i) {
        if (zufall() % 1000u >= static_cast<uint32_t>(bereich)) continue;
        MagickCore::PixelPacket& p = pixel[i];
        if (kanal == 0 || kanal == 1) p.red = zufallsWert();
        if (kanal == 0 || kanal == 2) p.green = zufallsWert();
        if (kanal == 0 || kanal == 3) p.blue = zufallsWert();
      }
    });
  });
}

// Mosaic: cells of n x n pixels of the picture file from the top-left corner, each filled
// with the average colour of its pixels; the cells at the right and bottom edge may be
// narrower. On a bitmap scaled down the cells shrink with it, so that the picture shows as
// many cells whatever its bitmap's size. 1 (and less) leaves the bitmap.
void Bildsteuerung::Mosaic(int zellgroesse) {
  if (zellgroesse <= 1) return;
  const double n = zellgroesse * massstab_;
  if (n <= 1.0) return;
  // The k-th cell boundary, in bitmap pixels.
  const auto grenze = [n](size_t k) { return static_cast<size_t>(std::llround(double(k) * n)); };
  wirke([&](Magick::Image& bild) {
    anPixeln(bild, [&](MagickCore::PixelPacket* pixel, size_t breite, size_t hoehe) {
      for (size_t j = 0; grenze(j) < hoehe; ++j) {
        const size_t y0 = grenze(j);
        const size_t y1 = std::min(hoehe, grenze(j + 1));
        for (size_t i = 0; grenze(i) < breite; ++i) {
          const size_t x0 = grenze(i);
          const size_t x1 = std::min(breite, grenze(i + 1));
          uint64_t r = 0, g = 0, b = 0;
          for (size_t y = y0; y < y1; ++y)
            for (size_t x = x0; x < x1; ++x) {
              const auto& p = pixel[y * breite + x];
              r += p.red;
              g += p.green;
              b += p.blue;
            }
          const double anzahl = double((y1 - y0) * (x1 - x0));
          const auto mr = alsQuantum(r / anzahl);
          const auto mg = alsQuantum(g / anzahl);
          const auto mb = alsQuantum(b / anzahl);
          for (size_t y = y0; y < y1; ++y)
            for (size_t x = x0; x < x1; ++x) {
              auto& p = pixel[y * breite + x];
              p.red = mr;
              p.green = mg;
              p.blue = mb;
            }
        }
      }
    });
  });
}

// Shear by an angle in 1/100 degree; the bitmap grows by height * tan(angle) in width
// (horizontal) or by width * tan(angle) in height (vertical); the uncovered triangles
// take the colour. Horizontally, positive angles move the lower rows to the right;
// vertically, they move the right-hand columns down. Angles are kept below 89 degrees.
void Bildsteuerung::Shear(int hundertstelGrad, bool horizontal, int32_t farbe) {
  const double grad = std::clamp(hundertstelGrad, -8900, 8900) / 100.0;
  if (grad == 0) return;
  const double t = std::abs(std::tan(grad * M_PI / 180.0));
  wirkeWachsend(
      [&](double b, double h) { return horizontal ? QSizeF(b + h * t, h) : QSizeF(b, h + b * t); },
      [&](Magick::Image& bild) {
        bild.backgroundColor(magickFarbe(farbe));
        if (horizontal)
          bild.shear(-grad, 0.0);
        else
          bild.shear(0.0, grad);
      });
}

void Bildsteuerung::Invert() {
  wirke([](Magick::Image& bild) {
    eigenePixel(bild);
    bild.negate(false);
  });
}

// Grey by luma: 0.299 red + 0.587 green + 0.114 blue.
void Bildsteuerung::Grayscale() {
  wirke([](Magick::Image& bild) {
    anPixeln(bild, [](MagickCore::PixelPacket* pixel, size_t breite, size_t hoehe) {
      for (size_t i = 0; i < breite * hoehe; ++i) {
        auto& p = pixel[i];
        const auto grau = alsQuantum(0.299 * p.red + 0.587 * p.green + 0.114 * p.blue);
        p.red = p.green = p.blue = grau;
      }
    });
  });
}

QImage Bildsteuerung::bild() const {
  if (bildAktuell_) return bild_;
  if (!magick_) return {};
  const size_t breite = magick_->columns();
  const size_t hoehe = magick_->rows();
  QImage ergebnis(static_cast<int>(breite), static_cast<int>(hoehe), QImage::Format_RGB32);
  if (ergebnis.isNull()) return {};
  try {
    // The Magick image is shared, not changed: exporting only reads its pixels.
    Magick::Image quelle = *magick_;
    quelle.write(0, 0, breite, hoehe, kQtAbbildung, MagickCore::CharPixel, ergebnis.bits());
  } catch (const Magick::Warning&) {
  } catch (const std::exception& fehler) {
    qWarning("Bildsteuerung: Bitmap nicht lesbar: %s", fehler.what());
    return {};
  }
  bild_ = ergebnis;
  bildAktuell_ = true;
  return bild_;
}

void Bildsteuerung::setzeBild(const QImage& bild) {
  leeren();
  if (bild.isNull()) return;
  QImage rgb;
  if (bild.hasAlphaChannel()) {
    rgb = QImage(bild.size(), QImage::Format_RGB32);
    rgb.fill(Qt::white);
    QPainter maler(&rgb);
    maler.drawImage(0, 0, bild);
  } else {
    rgb = bild.convertToFormat(QImage::Format_RGB32);
  }
  bild_ = rgb;
  bildAktuell_ = true;
  magickNachholen_ = true;
}

void Bildsteuerung::Paint(HDC dc, float links, float oben, float breite, float hoehe) {
  if (!dc || !hatBitmap()) return;
  QPainter* maler = dc->zeichnenBeginnen();
  if (!maler || !maler->isActive()) return;
  const QImage quelle = bild();
  if (quelle.isNull()) return;
  // Twips to device pixels; the edges are rounded so that neighbouring rectangles meet.
  const double sx = dc->dpiX() / einheiten::kTwipsProZoll;
  const double sy = dc->dpiY() / einheiten::kTwipsProZoll;
  const double l = zahlen::nint(links * sx);
  const double o = zahlen::nint(oben * sy);
  const double r = zahlen::nint((double(links) + breite) * sx);
  const double u = zahlen::nint((double(oben) + hoehe) * sy);
  if (!(r > l && u > o)) return;
  maler->save();
  // The device context's clip region is the only clip, as for its other drawing calls.
  if (dc->hatClip())
    maler->setClipRegion(dc->clip());
  else
    maler->setClipping(false);
  maler->setRenderHint(QPainter::SmoothPixmapTransform, true);
  maler->drawImage(QRectF(l, o, r - l, u - o), quelle);
  maler->restore();
}
