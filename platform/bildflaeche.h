// A picture surface in twips over a QImage: the page view, the export picture and the
// samples of the dialogs draw here. The property names are those the renderers use.
//
// Drawing works in logical pixels (twipsProPixel, the device context's coordinates, pen
// widths). A surface that a window shows on a high-density screen holds more device pixels
// per logical pixel (its pixel ratio): text and pictures are drawn at that density and the
// pixel rules keep their meaning in logical pixels.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>
#include <cstdint>
#include <memory>

#include "platform/einheiten.h"
#include "platform/zeichenflaeche.h"

class Bildflaeche : public Zeichenflaeche {
 public:
  // A surface of the given size in twips; twips per pixel default to the screen's
  // (15 at 96 dpi).
  explicit Bildflaeche(double breiteTwips = 0, double hoeheTwips = 0,
                       double twipsProPixel = einheiten::kTwipsProPixel);
  ~Bildflaeche() override;

  HDC hdc() override;
  double twipsProPixelX() const override { return tppX_; }
  double twipsProPixelY() const override { return tppY_; }
  QRect geraeteflaeche() const override;

  // No surface holds more pixels than this: 512 MiB of 32-bit pixels, which still holds
  // the largest standard paper at ten times the screen size.
  static constexpr qint64 kPixelbudget = 128LL * 1024 * 1024;
  // The largest scale at which a surface of the given size in twips (at scale 1) stays
  // within the pixel budget, whatever the rounding to whole pixels.
  static double groessterMassstab(double breiteTwips, double hoeheTwips, double twipsProPixel);
  // The pixel ratio at which a surface of the given size in logical pixels holds its image:
  // the one asked for where the pixel budget holds it, else the largest one it holds, but
  // never below 1.
  static double verhaeltnisImBudget(QSize pixel, double gewuenscht);

  // Size in twips; setting it resizes the image (its content is kept where it fits and
  // new area takes the background colour). A size beyond the pixel budget is scaled down,
  // keeping its proportions, until it fits.
  double Width() const;
  double Height() const;
  void setWidth(double twips);
  void setHeight(double twips);
  void setzeGroesse(double breiteTwips, double hoeheTwips);

  // Colours are RGB values red + 256 * green + 65536 * blue.
  int32_t BackColor = 0xFFFFFF;
  int32_t ForeColor = 0;  // line and text colour
  int32_t FillColor = 0;
  int16_t FillStyle = 1;  // 0 solid, 1 transparent
  int16_t DrawStyle = 0;  // 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot
  int16_t DrawWidth = 1;  // pixels
  int16_t DrawMode = 13;  // 13: copy pen (the only mode the program uses)
  bool FontTransparent = true;

  // Clears the image to BackColor and sets the current position to 0, 0.
  void Cls();

  // Line (x1, y1)-(x2, y2), colour: a line in DrawWidth and DrawStyle; the current position
  // moves to (x2, y2). With box, the rectangle with those corners; with gefuellt the box
  // is filled with the line colour (VB's "BF"), otherwise filled by FillStyle/FillColor.
  void Line(double x1, double y1, double x2, double y2, int32_t farbe, bool box = false,
            bool gefuellt = false);

  // Writes a text at the current position with the font selected in the device context
  // (so a rotated GDI font and the character extra apply), in ForeColor. Afterwards the
  // current position goes to the start of the next line (CurrentX 0, CurrentY + height).
  void Print(const QString& text);

  // Size of a text in twips in the surface's own font.
  double TextWidth(const QString& text) override;
  double TextHeight(const QString& text);

  bool FontBold() const;
  void setFontBold(bool an);
  bool FontItalic() const;
  void setFontItalic(bool an);
  bool FontUnderline() const;
  void setFontUnderline(bool an);
  bool FontStrikethru() const;
  void setFontStrikethru(bool an);

  StiftUndPinsel stiftUndPinsel() const override;

  // Device pixels per logical pixel that the surface is asked to hold (the ratio of the
  // screen it is shown on; 1 for a picture that is not shown). The image then holds that
  // many device pixels each way per logical pixel, or fewer where the pixel budget does not
  // hold them (never fewer than one); its devicePixelRatio tells. The content is kept,
  // scaled, until the surface is drawn again. Ratios below 1 count as 1.
  void setzePixelverhaeltnis(double verhaeltnis);
  double pixelverhaeltnis() const;
  // The size in logical pixels.
  QSize pixelgroesse() const;

  // The pixels. Drawing is finished before the image is returned.
  const QImage& bild();
  // Saves the picture as a Windows bitmap (BMP) file, through a temporary file so that
  // a failed save leaves an existing file untouched. False on failure.
  bool speichereBmp(const QString& pfad, QString* fehler = nullptr);

 private:
  // The painter on the image is active while the surface draws; it is ended before the
  // image is resized, saved or handed out, and begun again by the next drawing call.
  void malenBeginnen();
  void malenBeenden();
  void linieZiehen(QPoint a, QPoint b, const QColor& farbe, bool mitEndpunkt);
  QFont eigeneSchrift() const;
  void schriftWaehlen() override;
  // Sets a style flag of the surface's own font and selects the font.
  void merkmalSetzen(bool& merkmal, bool an);
  struct Intern;
  std::unique_ptr<Intern> d_;
  double tppX_;
  double tppY_;
};
