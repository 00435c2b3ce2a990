// The line/shape renderer: one line or shape element drawn into its frame on a surface,
// with its shadow (a block copy or 100 graded copies) and its colour gradient (101 clipped
// passes), and the geometry of the 18 forms.
#pragma once

#include "core/programmzustand.h"
#include "platform/zeichenflaeche.h"

// Draws the element into its frame on the surface. A picture surface (Bildflaeche) is
// driven through ForeColor / DrawWidth / DrawStyle / FillColor / FillStyle, the print
// control (Drucksteuerung) through PenColor / PenWidth / PenStyle / BrushColor /
// BrushStyle. Sets Zeichenmassstab, VersatzX, VersatzY, Schattenwinkel and Clipbereich of
// the state. Afterwards the surface has a transparent fill, fill colour 0, a solid line
// style and line width 1.
void LinieZeichnen(Programmzustand& s, Zeichenflaeche& ziel, const ClassLinie& linie,
                   const ClassRahmen& rahmen);

// Draws the figure of the element once with the pen and brush the surface has now,
// moved by VersatzX / VersatzY twips, at Zeichenmassstab twips per unit. Forms other than
// 1 to 18 draw nothing.
void LinienformZeichnen(Programmzustand& s, Zeichenflaeche& ziel, const ClassLinie& linie,
                        const ClassRahmen& rahmen);
