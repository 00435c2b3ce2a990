// What every drawing surface offers the renderers: a device context, a current position
// in twips, its own font (face and size) and the width of a text in that font.
// The picture surface (Bildflaeche) and the print control (Drucksteuerung) derive from it
// and add their own named drawing properties.
#pragma once

#include <QRect>
#include <QString>
#include <algorithm>
#include <cmath>

#include "platform/gdi.h"

class Zeichenflaeche {
 public:
  virtual ~Zeichenflaeche() = default;

  // The device context; valid for the life of the surface.
  virtual HDC hdc() = 0;

  // Twips per device pixel of this surface.
  virtual double twipsProPixelX() const = 0;
  virtual double twipsProPixelY() const = 0;

  // The surface in device pixels of its device context: the part of the device context's
  // plane that can show (the picture, the page).
  virtual QRect geraeteflaeche() const = 0;

  // Current position in twips from the surface's top-left corner.
  double CurrentX = 0;
  double CurrentY = 0;

  // The surface's own font. Setting either selects it into the device context. A size that
  // is no positive number is ignored; a larger one than 2048 points gives 2048.
  QString fontname() const { return schriftname_; }
  void setFontname(const QString& name) {
    schriftname_ = name;
    schriftWaehlen();
  }
  double FontSize() const { return schriftgroesse_; }
  void setFontSize(double punkte) {
    if (!std::isfinite(punkte) || punkte <= 0) return;
    schriftgroesse_ = std::min(punkte, 2048.0);
    schriftWaehlen();
  }

  // Width of a text in twips in the surface's own font.
  virtual double TextWidth(const QString& text) = 0;

  // Pen, brush and text colour for the device context, from the surface's properties.
  virtual StiftUndPinsel stiftUndPinsel() const = 0;

 protected:
  // Selects the surface's own font, as the properties describe it, into the device context.
  virtual void schriftWaehlen() = 0;

  QString schriftname_ = QStringLiteral("Arial");
  double schriftgroesse_ = 10;
};
