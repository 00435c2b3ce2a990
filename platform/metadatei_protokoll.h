// What the program and its metafile helper (qxmetadatei) agree on. The helper reads the
// metafile's bytes on its standard input and takes three arguments: the target width and
// height in pixels (0 0: no target) and the pixel budget. It writes an Antwort and then the
// bitmap, row by row, one 32-bit word 0xFFRRGGBB a pixel (Qt's RGB32 in this machine's byte
// order), and exits with one of the codes below.
//
// Plain C++ only: the helper links neither Qt nor ImageMagick.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace metadatei {

// The file name of the helper program, beside the program.
inline constexpr const char* kHelfer = "qxmetadatei";

// Metafiles are drawn at the screen's 96 dpi, so an inch of the picture is an inch on the
// page at 100 %.
inline constexpr double kDpi = 96.0;

// Limits the helper sets on itself before it reads a byte. A real metafile draws in a few
// hundredths of a second in under 10 MB (a chart of 3,000 records in 0.03 s), a bitmap of
// the whole pixel budget takes 32 MB, and 100,000 records of bars, lines and text take
// 1.2 s. What takes longer is a pen or a shape many times the picture's size.
inline constexpr uint64_t kAdressraum = 1024ULL * 1024 * 1024;
inline constexpr int kRechenzeitSekunden = 2;
// More records than this are refused before the helper starts.
inline constexpr int64_t kGroessteDatensatzzahl = 100'000;

enum Ende : int {
  kGezeichnet = 0,
  kUnlesbar = 2,        // not a metafile the renderer can read
  kZeitAbgelaufen = 3,  // its processor time ran out
  kKeinSpeicher = 4,    // its memory ran out
};

struct Antwort {
  uint32_t breite = 0;  // the bitmap's size in pixels
  uint32_t hoehe = 0;
  double natuerlicheBreite = 0;  // the picture's size at kDpi, in pixels
  double natuerlicheHoehe = 0;
};

// The factor (at most 1) by which a picture of breite x hoehe pixels is scaled so that it is
// no larger than the target needs (both sides at least the target's, or the one that
// reaches it where the proportions differ) and no larger than the pixel budget. A side is
// never scaled below one pixel, so a very narrow picture keeps its long side within the
// budget on its own. Without a target (0 x 0) only the budget counts.
inline double massstabFuer(double breite, double hoehe, int zielBreite, int zielHoehe,
                           double budget) {
  if (!(breite > 0 && hoehe > 0)) return 1.0;
  double f = 1.0;
  if (zielBreite > 0 && zielHoehe > 0) f = std::max(zielBreite / breite, zielHoehe / hoehe);
  f = std::min({f, std::sqrt(budget / (breite * hoehe)), budget / std::max(breite, hoehe)});
  return std::min(f, 1.0);
}

}  // namespace metadatei
