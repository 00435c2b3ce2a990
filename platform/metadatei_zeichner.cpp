// qxmetadatei: draws one Windows metafile with libwmf's own renderer into a bitmap in
// memory and hands the bitmap back (see metadatei_protokoll.h). The program starts it for
// every metafile it draws, so that a hostile or broken file can take no more than this
// process is allowed: the limits on its address space and processor time are set first.
#include <dlfcn.h>
#include <ft2build.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>
#include FT_FREETYPE_H

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" {
#include <libwmf/api.h>
#include <libwmf/gd.h>
#include <libwmf/ipa.h>
}

#include "platform/einheiten.h"
#include "platform/metadatei_aufbereitung.h"
#include "platform/metadatei_protokoll.h"

// libwmf hands FreeType each character of a text as a plain (signed) char, so every
// character above 127 (ä, ö, ü, ß, €) arrives as a huge code that no font holds, and is
// left out. These two stand in for FreeType's own for the whole helper: such a code is
// taken back to its byte, which the metafile's text has in Windows-1252, and looked up as
// that character in the face's Unicode table; a symbol face's own table, where the bytes
// are the symbols, is kept.
namespace {

// Unicode of the bytes 0x80 to 0x9F of Windows-1252 (0 where it has none); the bytes from
// 0xA0 on are Latin-1.
constexpr uint16_t kWindows1252[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

FT_UInt glyphSuchen(FT_Face schrift, FT_ULong code) {
  static const auto original =
      reinterpret_cast<FT_UInt (*)(FT_Face, FT_ULong)>(::dlsym(RTLD_NEXT, "FT_Get_Char_Index"));
  if (code < ~FT_ULong(0) - 0x7F || !schrift) return original(schrift, code);
  code &= 0xFF;  // a byte above 127, widened with its sign
  FT_CharMap tabelle = schrift->charmap;
  if (tabelle &&
      (tabelle->encoding == FT_ENCODING_ADOBE_CUSTOM || tabelle->encoding == FT_ENCODING_MS_SYMBOL))
    return original(schrift, code);
  const FT_ULong unicode = code < 0xA0 ? kWindows1252[code - 0x80] : code;
  if (FT_Select_Charmap(schrift, FT_ENCODING_UNICODE) != 0) return original(schrift, code);
  const FT_UInt glyph = original(schrift, unicode);
  if (tabelle) FT_Set_Charmap(schrift, tabelle);
  return glyph;
}

}  // namespace

extern "C" FT_UInt FT_Get_Char_Index(FT_Face schrift, FT_ULong code) {
  return glyphSuchen(schrift, code);
}

extern "C" FT_Error FT_Load_Char(FT_Face schrift, FT_ULong code, FT_Int32 schalter) {
  return FT_Load_Glyph(schrift, glyphSuchen(schrift, code), schalter);
}

namespace {

// libwmf's gd renderer draws the outline of an ellipse but never fills it, and fills the
// wrong side of a chord; its polygons it fills right. Both are therefore drawn as polygons,
// with kEllipsenecken corners for a whole ellipse (at the largest bitmap, an edge lies a
// twentieth of a pixel inside the curve).
constexpr int kEllipsenecken = 360;
void (*polygonZeichnen)(wmfAPI*, wmfPolyLine_t*) = nullptr;
void (*sehneImOriginal)(wmfAPI*, wmfDrawArc_t*) = nullptr;

// The part of the ellipse from angle von to bis (of its parametric form), closed by a
// straight line.
void ellipsenteilZeichnen(wmfAPI* api, const wmfDrawArc_t& bogen, double von, double bis) {
  wmfD_Coord ecken[kEllipsenecken + 1];
  const double mx = (bogen.TL.x + bogen.BR.x) / 2.0;
  const double my = (bogen.TL.y + bogen.BR.y) / 2.0;
  const double rx = (bogen.BR.x - bogen.TL.x) / 2.0;
  const double ry = (bogen.BR.y - bogen.TL.y) / 2.0;
  const int n = std::max(2, int(std::ceil(std::abs(bis - von) / (2.0 * M_PI) * kEllipsenecken)));
  for (int i = 0; i <= n; ++i) {
    const double w = von + (bis - von) * i / n;
    ecken[i] = {float(mx + rx * std::cos(w)), float(my + ry * std::sin(w))};
  }
  // A whole ellipse ends where it began; a part keeps its end point.
  const bool ganz = std::abs(bis - von) >= 2.0 * M_PI;
  wmfPolyLine_t polygon{bogen.dc, ecken, static_cast<U16>(ganz ? n : n + 1)};
  polygonZeichnen(api, &polygon);
}

void ellipseZeichnen(wmfAPI* api, wmfDrawArc_t* ellipse) {
  ellipsenteilZeichnen(api, *ellipse, 0, 2.0 * M_PI);
}

// The player hands a chord's start and end point from the centre, ordered so that the
// curve runs from start to end towards larger angles (clockwise in the device's
// coordinates, y down), as the renderer's own outline does.
void sehneZeichnen(wmfAPI* api, wmfDrawArc_t* sehne) {
  const double rx = (sehne->BR.x - sehne->TL.x) / 2.0;
  const double ry = (sehne->BR.y - sehne->TL.y) / 2.0;
  if (!(rx > 0 && ry > 0)) return sehneImOriginal(api, sehne);
  const double von = std::atan2(sehne->start.y / ry, sehne->start.x / rx);
  double bis = std::atan2(sehne->end.y / ry, sehne->end.x / rx);
  if (bis <= von) bis += 2.0 * M_PI;
  ellipsenteilZeichnen(api, *sehne, von, bis);
}

// Its rounded rectangles it draws with square corners: a rectangle whose corners are
// rounded is drawn as a polygon too, each corner a quarter of the corner ellipse.
void (*rechteckImOriginal)(wmfAPI*, wmfDrawRectangle_t*) = nullptr;

void rechteckZeichnen(wmfAPI* api, wmfDrawRectangle_t* rechteck) {
  const double rx = std::min<double>(rechteck->width, rechteck->BR.x - rechteck->TL.x) / 2.0;
  const double ry = std::min<double>(rechteck->height, rechteck->BR.y - rechteck->TL.y) / 2.0;
  if (!(rx > 0 && ry > 0)) return rechteckImOriginal(api, rechteck);
  constexpr int kJeEcke = kEllipsenecken / 4;
  wmfD_Coord ecken[4 * (kJeEcke + 1)];
  // The corners' centres clockwise from the bottom right, each with its quarter.
  const double mx[4] = {rechteck->BR.x - rx, rechteck->TL.x + rx, rechteck->TL.x + rx,
                        rechteck->BR.x - rx};
  const double my[4] = {rechteck->BR.y - ry, rechteck->BR.y - ry, rechteck->TL.y + ry,
                        rechteck->TL.y + ry};
  int n = 0;
  for (int ecke = 0; ecke < 4; ++ecke)
    for (int i = 0; i <= kJeEcke; ++i) {
      const double w = M_PI / 2.0 * (ecke + double(i) / kJeEcke);
      ecken[n++] = {float(mx[ecke] + rx * std::cos(w)), float(my[ecke] + ry * std::sin(w))};
    }
  wmfPolyLine_t polygon{rechteck->dc, ecken, static_cast<U16>(n)};
  polygonZeichnen(api, &polygon);
}

// Larger input is not read: the program hands over no larger picture file.
constexpr size_t kGroessteEingabe = 64UL * 1024 * 1024;
// Device units of libwmf's player for a placeable metafile: points.
constexpr double kPunkteProZoll = 72.0;

void zeitAbgelaufen(int) { ::_exit(metadatei::kZeitAbgelaufen); }

void grenzenSetzen() {
  const rlimit adressraum{metadatei::kAdressraum, metadatei::kAdressraum};
  ::setrlimit(RLIMIT_AS, &adressraum);
  ::signal(SIGXCPU, zeitAbgelaufen);
  const rlimit zeit{metadatei::kRechenzeitSekunden, metadatei::kRechenzeitSekunden + 1};
  ::setrlimit(RLIMIT_CPU, &zeit);
  // Nothing of a crash lands on the disk.
  const rlimit keinAbbild{0, 0};
  ::setrlimit(RLIMIT_CORE, &keinAbbild);
}

bool allesLesen(std::vector<unsigned char>& daten) {
  unsigned char puffer[65536];
  for (;;) {
    const ssize_t n = ::read(STDIN_FILENO, puffer, sizeof puffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    if (daten.size() + size_t(n) > kGroessteEingabe) return false;
    daten.insert(daten.end(), puffer, puffer + n);
  }
}

bool allesSchreiben(const void* daten, size_t laenge) {
  auto* p = static_cast<const unsigned char*>(daten);
  while (laenge > 0) {
    const ssize_t n = ::write(STDOUT_FILENO, p, laenge);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    laenge -= size_t(n);
  }
  return true;
}

int16_t s16(const std::vector<unsigned char>& d, size_t i) {
  return static_cast<int16_t>(d[i] | d[i + 1] << 8);
}

int ende(wmf_error_t fehler) {
  return fehler == wmf_E_InsMem ? metadatei::kKeinSpeicher : metadatei::kUnlesbar;
}

}  // namespace

int main(int argc, char** argv) {
  grenzenSetzen();
  if (argc != 4) return metadatei::kUnlesbar;
  const int zielBreite = std::atoi(argv[1]);
  const int zielHoehe = std::atoi(argv[2]);
  const double budget = std::atof(argv[3]);
  std::vector<unsigned char> daten;
  if (!allesLesen(daten) || daten.size() < 18 || !(budget >= 1)) return metadatei::kUnlesbar;

  wmfAPI* api = nullptr;
  wmfAPI_Options optionen{};
  optionen.function = wmf_gd_function;
  const unsigned long schalter =
      WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
  wmf_error_t fehler = wmf_api_create(&api, schalter, &optionen);
  if (fehler != wmf_E_None) return ende(fehler);
  auto* geraetefunktionen = static_cast<wmfFunctionReference*>(api->function_reference);
  polygonZeichnen = geraetefunktionen->draw_polygon;
  sehneImOriginal = geraetefunktionen->draw_chord;
  rechteckImOriginal = geraetefunktionen->draw_rectangle;
  geraetefunktionen->draw_ellipse = ellipseZeichnen;
  geraetefunktionen->draw_chord = sehneZeichnen;
  geraetefunktionen->draw_rectangle = rechteckZeichnen;
  const metadatei::Aufbereitet aufbereitet = metadatei::aufbereiten(daten);
  if (aufbereitet.daten.empty()) return metadatei::kUnlesbar;
  fehler = wmf_mem_open(api, const_cast<unsigned char*>(aufbereitet.daten.data()),
                        long(aufbereitet.daten.size()));
  wmfD_Rect rahmen{};
  if (fehler == wmf_E_None) fehler = wmf_scan(api, 0, &rahmen);
  if (fehler != wmf_E_None) return ende(fehler);

  // The picture's frame in the player's device units and its size at 96 dpi. A placeable
  // metafile says both in its header (the library keeps the sides in 16 bits, which a box of
  // -32767 to 32767 overflows). A bare one whose window is the picture has no size of its
  // own; its window is taken in twips, the unit of the Windows programs that write such
  // metafiles into their documents. Any other bare one is as large as what it draws.
  double breite = 0;
  double hoehe = 0;
  if (daten.size() >= 22 && daten[0] == 0xD7 && daten[1] == 0xCD && daten[2] == 0xC6 &&
      daten[3] == 0x9A) {
    const int zoll = daten[14] | daten[15] << 8;
    const double einheitenBreite = std::abs(int(s16(daten, 10)) - int(s16(daten, 6)));
    const double einheitenHoehe = std::abs(int(s16(daten, 12)) - int(s16(daten, 8)));
    if (zoll == 0) return metadatei::kUnlesbar;
    rahmen.TL = {0, 0};
    rahmen.BR = {float(einheitenBreite * kPunkteProZoll / zoll),
                 float(einheitenHoehe * kPunkteProZoll / zoll)};
    // In whole pixels, as a bitmap file's size is: drawn at its full size, the bitmap is as
    // large as the picture.
    breite = std::round(einheitenBreite * metadatei::kDpi / zoll);
    hoehe = std::round(einheitenHoehe * metadatei::kDpi / zoll);
  } else if (aufbereitet.fensterIstBild) {
    rahmen.TL = {0, 0};
    rahmen.BR = {float(aufbereitet.fensterBreite), float(aufbereitet.fensterHoehe)};
    breite = std::round(aufbereitet.fensterBreite * metadatei::kDpi / einheiten::kTwipsProZoll);
    hoehe = std::round(aufbereitet.fensterHoehe * metadatei::kDpi / einheiten::kTwipsProZoll);
  } else {
    unsigned int b = 0;
    unsigned int h = 0;
    if (wmf_display_size(api, &b, &h, metadatei::kDpi, metadatei::kDpi) != wmf_E_None)
      return metadatei::kUnlesbar;
    breite = b;
    hoehe = h;
  }
  if (!(breite >= 1 && hoehe >= 1 && rahmen.BR.x > rahmen.TL.x && rahmen.BR.y > rahmen.TL.y))
    return metadatei::kUnlesbar;

  // Drawn straight at the size the program needs, never larger than the budget: the
  // drawing's work and memory grow with the bitmap, not with the picture's nominal size.
  // The sides are rounded to the nearest pixel, or down where that would pass the budget.
  const double f = metadatei::massstabFuer(breite, hoehe, zielBreite, zielHoehe, budget);
  const auto seite = [f](double n, double (*runden)(double)) {
    return static_cast<uint32_t>(std::max(1.0, runden(n * f)));
  };
  metadatei::Antwort antwort{seite(breite, std::round), seite(hoehe, std::round), breite, hoehe};
  if (double(antwort.breite) * antwort.hoehe > budget) {
    antwort.breite = seite(breite, std::floor);
    antwort.hoehe = seite(hoehe, std::floor);
  }
  wmf_gd_t* geraet = WMF_GD_GetData(api);
  geraet->type = wmf_gd_image;
  geraet->bbox = rahmen;
  geraet->width = antwort.breite;
  geraet->height = antwort.hoehe;
  fehler = wmf_play(api, 0, &rahmen);
  if (fehler != wmf_E_None || !geraet->gd_image) return ende(fehler);
  const int* pixel = wmf_gd_image_pixels(geraet->gd_image);
  if (!pixel) return metadatei::kUnlesbar;

  // The renderer's pixels carry a transparency of 7 bits (0 opaque); they are laid onto
  // white, as every picture of the program is.
  if (!allesSchreiben(&antwort, sizeof antwort)) return metadatei::kUnlesbar;
  std::vector<uint32_t> zeile(antwort.breite);
  for (uint32_t y = 0; y < antwort.hoehe; ++y) {
    for (uint32_t x = 0; x < antwort.breite; ++x) {
      const auto p = static_cast<uint32_t>(pixel[size_t(y) * antwort.breite + x]);
      const uint32_t durch = (p >> 24) & 0x7F;
      const auto kanal = [&](int schiebung) {
        const uint32_t c = (p >> schiebung) & 0xFF;
        return (c * (127 - durch) + 255 * durch + 63) / 127;
      };
      zeile[x] = 0xFF000000u | kanal(16) << 16 | kanal(8) << 8 | kanal(0);
    }
    if (!allesSchreiben(zeile.data(), zeile.size() * sizeof(uint32_t))) return metadatei::kUnlesbar;
  }
  return metadatei::kGezeichnet;
}
