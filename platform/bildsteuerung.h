// The imaging control: loads a picture file (BMP, JPEG, PCX, WMF), applies image effects
// to its bitmap and paints the bitmap stretched into a rectangle of a device context.
// Built on Magick++; files are read by the program and decoded from memory with the format
// fixed from an allow-list, so a crafted file can never make the decoder run a command or
// read another file. Metafiles are drawn by a helper program in a process of its own
// (platform/metadatei.h), at the size the drawing needs.
//
// The bitmap is kept within a pixel budget: a picture larger than the drawing needs (the
// target size, a frame's printed size at 600 dpi) is scaled down as it is decoded, and again
// after an effect that grows the bitmap. Nothing is ever scaled up, and the scaling is the
// same in both directions, so the proportions stay. No bitmap exceeds kGroesstePixelzahl;
// its shape does not matter.
//
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/gdi.h"

// ImageMagick 6 defines a macro "Intensity" (an old alias) that would rename the member
// of that name; code that includes Magick++ includes it before this header.
#ifdef Intensity
#undef Intensity
#endif

namespace Magick {
class Image;
}

class Bildsteuerung {
 public:
  Bildsteuerung();
  ~Bildsteuerung();
  Bildsteuerung(const Bildsteuerung&) = delete;
  Bildsteuerung& operator=(const Bildsteuerung&) = delete;

  // The largest bitmap in pixels the drawing needs; empty: only kGroesstePixelzahl limits
  // the bitmap. A picture is scaled down only as far as both sides stay at least as long as
  // the target's (or one of them, where the proportions differ). Takes effect at the next
  // Load.
  void setzeZielgroesse(const QSize& pixel);
  QSize zielgroesse() const { return ziel_; }
  // No bitmap ever holds more pixels: at 8 bytes a pixel, the bitmap, its working copy and
  // what an effect makes of them stay within ImageMagick's memory limit (256 MiB).
  static constexpr int64_t kGroesstePixelzahl = 8'000'000;

  // Loads the file into the bitmap. A file that is missing or cannot be decoded leaves
  // no bitmap (never the previous one) and returns false. The three trailing arguments
  // are accepted for the callers' sake and have no effect. A JPEG is turned upright as its
  // orientation tag says.
  bool Load(const QString& pfad, int a = 0, int b = 0, int c = 1);
  // The same from bytes already in memory (the content decides the format).
  bool ladeDaten(const QByteArray& daten);
  // Why the last Load refused its picture, as a sentence for the user, where there is more
  // to say than that it cannot be read (a picture too large, a metafile whose drawing would
  // take too long); empty otherwise.
  QString fehlergrund() const { return grund_; }

  // A picture file as decoded, before it is fitted to a target: the bitmap within the
  // pixel budget, its pixels per pixel of the file, and for a refused file no bitmap and
  // the reason (fehlergrund). A control takes it over for any target size it is large
  // enough for (reichtFuer) without decoding the file again. voruebergehend: refused for a
  // reason that was not the file's (a busy machine); the next attempt may succeed.
  struct Dekodiert {
    QImage bild;
    double massstab = 1.0;
    QString grund;
    bool voruebergehend = false;
  };
  // Decodes the file as large as the target needs: a JPEG at the smallest of its reduced
  // sizes that is large enough, a metafile drawn at the target's size, any other format
  // whole; within the pixel budget in each case.
  static Dekodiert dekodieren(const QString& pfad, const QSize& ziel = {});
  // Whether the decoded picture holds as many pixels as the target needs.
  static bool reichtFuer(const Dekodiert& dekodiert, const QSize& ziel);
  // The decoded picture as the bitmap, scaled down to the target size as Load scales a
  // picture it decodes. Without a bitmap in it the control is left without one (with its
  // reason) and false is returned.
  bool uebernehmen(const Dekodiert& dekodiert);

  // Effects on the bitmap; without a bitmap they do nothing. An effect that fails, or that
  // the memory limits do not allow, is skipped and leaves the bitmap as it was.
  void Rotate(int32_t hundertstelGrad, bool vergroessern, int32_t farbe);
  void Intensity(int wert);               // -1000..1000
  void Contrast(int wert);                // -1000..1000
  void Saturation(int wert);              // -1000..1000
  void Hue(int wert);                     // -3600..3600, tenths of a degree
  void Sharpen(int wert);                 // -1000..1000; negative blurs, 0 leaves the bitmap
  void AddNoise(int bereich, int kanal);  // 1..1000
  void Mosaic(int zellgroesse);           // 1..100, in pixels of the picture file
  void Shear(int hundertstelGrad, bool horizontal, int32_t farbe);
  void Invert();
  void Grayscale();

  bool Visible = true;
  double Left = 0;
  double Top = 0;
  double Width = 0;
  double Height = 0;

  bool hatBitmap() const;
  int BitmapWidth() const;
  int BitmapHeight() const;
  // Bitmap pixels per pixel of the loaded picture: below 1 once the bitmap was scaled down.
  double massstab() const { return massstab_; }

  // Paints the bitmap stretched into the rectangle (twips of the device context's surface).
  void Paint(HDC dc, float links, float oben, float breite, float hoehe);

  // The bitmap as an image (Format_RGB32; empty without a bitmap), and setting it directly
  // (for a cached result of the same file and effects). Transparency is flattened onto white.
  QImage bild() const;
  void setzeBild(const QImage& bild);
  // No bitmap; grund is what fehlergrund() says afterwards.
  void leeren(const QString& grund = {});

  // The decoder chosen for a file's first bytes: "BMP", "JPEG", "PCX" or "WMF"; empty
  // for every other content (the picture is then refused).
  static QString formatAusInhalt(const QByteArray& kopf);

 private:
  // Runs the effect on a copy of the bitmap and keeps the result only when it succeeded.
  bool wirke(const std::function<void(Magick::Image&)>& effekt);
  // Rotation and shear: the bitmap is first made small enough that the grown result (its
  // size from groesseNachher) stays within the limits, and the result is then brought
  // within the target size.
  void wirkeWachsend(const std::function<QSizeF(double, double)>& groesseNachher,
                     const std::function<void(Magick::Image&)>& effekt);

  bool metadateiLaden(const QByteArray& daten);

  QSize ziel_;
  double massstab_ = 1.0;
  QString grund_;
  bool voruebergehend_ = false;
  bool nurDekodieren_ = false;

  std::unique_ptr<Magick::Image> magick_;  // null: no bitmap, unless magickNachholen_
  // The bitmap was given as an image (bild_) and becomes a Magick image when first needed.
  bool magickNachholen_ = false;
  bool magickBereit();
  mutable QImage bild_;  // converted bitmap, kept until the next change
  mutable bool bildAktuell_ = false;
};
