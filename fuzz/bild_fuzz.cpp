// Fuzz target for the imaging control's decoders (BMP, JPEG, PCX, WMF from memory). Besides
// never crashing, aborting or hanging: a picture that loads has a bitmap within the pixel
// limit and the target size asked for, and effects and the conversion to an image work on it.
#include <cstdint>
#include <cstdlib>

#include "platform/bildsteuerung.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t groesse) {
  const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(daten),
                                                   static_cast<qsizetype>(groesse));
  Bildsteuerung s;
  s.setzeZielgroesse(QSize(256, 256));
  if (!s.ladeDaten(bytes)) {
    if (s.hatBitmap()) std::abort();  // a refused picture leaves no bitmap
    return 0;
  }
  const int64_t breite = s.BitmapWidth();
  const int64_t hoehe = s.BitmapHeight();
  if (breite <= 0 || hoehe <= 0 || breite * hoehe > Bildsteuerung::kGroesstePixelzahl)
    std::abort();
  // Scaled down only as far as one side still reaches the target.
  if (breite < 256 && hoehe < 256 && s.massstab() < 1.0) std::abort();
  s.Rotate(3000, true, 0xFFFFFF);
  s.Contrast(500);
  s.Mosaic(3);
  const QImage bild = s.bild();
  if (bild.width() != s.BitmapWidth() || bild.height() != s.BitmapHeight()) std::abort();
  return 0;
}
