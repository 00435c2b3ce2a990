// Selection, zoom, hit test and applying a drag to the selected frame.
#pragma once

#include <QPointF>
#include <QRectF>
#include <QString>
#include <array>

#include "core/programmzustand.h"

// What the selection marker shows for the selected frame: the rectangle, the eight
// handles (numbered clockwise from the top-left corner), the properties button and the
// state of the font boxes. Computed here, shown by the main window.
struct Markierung {
  QRectF rechteck;                     // twips on the page surface
  std::array<QPointF, 9> ziehpunkt;    // 1..8: top-left corner of each 100 x 100 handle
  std::array<bool, 9> ziehpunktSichtbar{};
  QString knopfBild;                   // empty: leave the button as it is
  QString knopfText;
  bool schriftboxenAktiv = false;      // font, style and size boxes
  int stilIndex = 0;                   // 0 Standard, 1 Fett, 2 Kursiv, 3 Kursiv Fett
  QString schriftname;
  QString schriftgroesse;              // the size as text
};

// The selection rectangle of frame i at the current zoom (twips).
QRectF RahmenRechteck(const Programmzustand& s, int i);
// The marker for the selected frame; the rectangle is the one the window holds now.
Markierung MarkierungBerechnen(const Programmzustand& s, const QRectF& rechteck);

// Takes the selection rectangle over into the selected frame (units), keeps its corner on
// the page and snaps to the grid magnet or to whole millimetres.
void ZiehenUebernehmen(Programmzustand& s);

// Applies Zoom to the page view: content size, page surface, selection, redraw.
// A zoom that is not finite or lies outside 10 to 1000 % is not applied (false).
bool ZoomAnwenden(Programmzustand& s);

// Sets the current index of the selected frame's kind to the frame's element.
void AktuellesElementSetzen(Programmzustand& s);

// Hit test for a click at (x, y) twips on the page surface: selects the next visible frame
// under the point after the selected one, cycling through overlapping frames.
void RahmenTreffer(Programmzustand& s, double x, double y);
