// The page redraw: the whole page, every time, onto the page view, the export picture or
// the print control, chosen by Druckmodus and Exportmodus.
#pragma once

#include <exception>

#include "core/programmzustand.h"

// Draws the whole page: guide zones and grid (page view only), the address fields into
// texts 21 to 30, every visible frame level by level in z order, frame outlines, and when
// printing the merged letter text inside frame 31. Never runs inside itself.
// A redraw that fails (a frame or element missing from its list, no memory) leaves the
// frames and texts as they were. On the page view it throws nothing: the failure is said
// once in a message shown after the redraw. Printing and export get the exception and
// report it themselves with Seitenfehler.
void SeiteZeichnen(Programmzustand& s);

// The message for a failed redraw: "Die Seite konnte nicht gezeichnet werden: " and why.
QString Seitenfehler(const std::exception& fehler);

// The placeholder of a letter-text frame on the page view.
void BrieftextPlatzhalter(Programmzustand& s, const ClassRahmen& rahmen);
