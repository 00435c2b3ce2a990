// The text renderer: draws one text element into its frame on a picture surface or on the
// print control, with merge fields, a rotated font, character spacing, alignment in the
// frame, a block or graded shadow and a colour gradient.
#pragma once

#include <QPointF>
#include <QStringView>
#include <cstdint>

#include "core/programmzustand.h"

class Zeichenflaeche;

// Draws the text element in the frame on the target. The target is a picture surface
// (page view, export picture, dialog sample) or the print control; which one is told by
// its type. Sets Zoomfaktor to 1 while printing or drawing a dialog sample. An element
// without a face name gets "Arial" at size "20" and keeps them. Leaves no clip region and
// no font of its own behind on the target.
void SchriftZeichnen(Programmzustand& s, Zeichenflaeche& ziel, ClassSchrift& schrift,
                     const ClassRahmen& rahmen);

// The shift of a text's reference corner, in tenths of a millimetre at the drawing scale,
// that makes a text of W x H twips rotated by a degrees about that corner keep the centre
// of the unrotated text. Clamped to the 16-bit range.
int16_t DrehVersatzX(double W, double H, int16_t a);
int16_t DrehVersatzY(double W, double H, int16_t a);

// Direction of a text's shadow in degrees: 90 + shadowAngle + angle, less 360 once when
// above 360. With angle 0, shadowAngle 0 points right, 90 up, 180 left, 270 down.
double Schattenrichtung(int16_t shadowAngle, int16_t angle);
// Offset of the shadow in tenths of a millimetre for a text H twips high at the drawing
// scale: shadowDeep percent of the text's height, in the shadow's direction.
QPointF Schattenversatz(double H, int16_t shadowDeep, double zoomfaktor, int16_t shadowAngle,
                        int16_t angle);

// One coordinate (welche "x", anything else: y) of the point (dx, dy) of an unrotated text
// turned by a degrees counter-clockwise (y growing downwards) about its reference corner.
double DrehEckpunkt(double dx, double dy, int32_t a, QStringView welche);
