// The page redraw: the whole page, every time, onto the page view, the export picture or
// the print control, chosen by Druckmodus and Exportmodus.
#pragma once

#include "core/programmzustand.h"

// Draws the whole page: guide zones and grid (page view only), the address fields into
// texts 21 to 30, every visible frame level by level in z order, frame outlines, and when
// printing the merged letter text inside frame 31. Never runs inside itself.
void SeiteZeichnen(Programmzustand& s);

// The placeholder of a letter-text frame on the page view.
void BrieftextPlatzhalter(Programmzustand& s, const ClassRahmen& rahmen);
