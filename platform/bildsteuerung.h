// The imaging control: loads a picture file (BMP, JPEG, PCX, WMF), applies image effects
// to its bitmap and paints the bitmap stretched into a rectangle of a device context.
// Built on Magick++; files are read by the program and decoded from memory with the format
// fixed from an allow-list, so a crafted file can never make the decoder run a command or
// read another file.
#pragma once

#include <QImage>
#include <QString>
#include <cstdint>

#include "platform/gdi.h"

class Bildsteuerung {
 public:
  Bildsteuerung();
  ~Bildsteuerung();

  // Loads the file into the bitmap. A file that is missing or cannot be decoded leaves
  // no bitmap (never the previous one) and returns false.
  bool Load(const QString& pfad, int a = 0, int b = 0, int c = 1);

  // Effects on the bitmap; without a bitmap they do nothing.
  void Rotate(int32_t hundertstelGrad, bool vergroessern, int32_t farbe);
  void Intensity(int wert);   // -1000..1000
  void Contrast(int wert);    // -1000..1000
  void Saturation(int wert);  // -1000..1000
  void Hue(int wert);         // -3600..3600, tenths of a degree
  void Sharpen(int wert);     // -1000..1000; negative blurs, 0 leaves the bitmap
  void AddNoise(int bereich, int kanal);  // 1..1000
  void Mosaic(int zellgroesse);           // 1..100
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

  // Paints the bitmap stretched into the rectangle (twips of the device context's surface).
  void Paint(HDC dc, float links, float oben, float breite, float hoehe);

  // The bitmap as an image (empty without a bitmap), and setting it directly (for a
  // cached result of the same file and effects).
  QImage bild() const;
  void setzeBild(const QImage& bild);
  void leeren();

 private:
  QImage bild_;
};
