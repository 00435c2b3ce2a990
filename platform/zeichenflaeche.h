// What every drawing surface offers the renderers: a device context, a current position
// in twips, its own font (face and size) and the width of a text in that font.
// The picture surface (Bildflaeche) and the print control (Drucksteuerung) derive from it
// and add their own named drawing properties.
#pragma once

#include <QRect>
#include <QString>

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

  // The surface's own font. Setting either selects it into the device context.
  virtual QString fontname() const = 0;
  virtual void setFontname(const QString& name) = 0;
  virtual double FontSize() const = 0;
  virtual void setFontSize(double punkte) = 0;

  // Width of a text in twips in the surface's own font.
  virtual double TextWidth(const QString& text) = 0;

  // Pen, brush and text colour for the device context, from the surface's properties.
  virtual StiftUndPinsel stiftUndPinsel() const = 0;
};
