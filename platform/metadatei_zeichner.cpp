// qxmetadatei: draws one Windows metafile with libwmf's own renderer into a bitmap in
// memory and hands the bitmap back (see metadatei_protokoll.h). The program starts it for
// every metafile it draws, so that a hostile or broken file can take no more than this
// process is allowed: the limits on its address space and processor time are set first.
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" {
#include <libwmf/api.h>
#include <libwmf/gd.h>
}

#include "platform/metadatei_protokoll.h"

namespace {

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
  fehler = wmf_mem_open(api, daten.data(), long(daten.size()));
  wmfD_Rect rahmen{};
  if (fehler == wmf_E_None) fehler = wmf_scan(api, 0, &rahmen);
  if (fehler != wmf_E_None) return ende(fehler);

  // The picture's frame in the player's device units and its size at 96 dpi. A placeable
  // metafile says both in its header (the library keeps the sides in 16 bits, which a box of
  // -32767 to 32767 overflows); a bare one is as large as what it draws.
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
    breite = einheitenBreite * metadatei::kDpi / zoll;
    hoehe = einheitenHoehe * metadatei::kDpi / zoll;
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
  const double f = metadatei::massstabFuer(breite, hoehe, zielBreite, zielHoehe, budget);
  const auto seite = [f](double n) {
    return static_cast<uint32_t>(std::max(1.0, std::round(n * f)));
  };
  metadatei::Antwort antwort{seite(breite), seite(hoehe), breite, hoehe};
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
