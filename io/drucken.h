// Printing one page: the page redraw into the print control, kept for the preview or
// printed at once as one job.
#pragma once

#include "core/programmzustand.h"

// Draws the current page, filled with the current address, into the print control.
// With the preview switch off the page is printed at once. Returns false when drawing or
// printing failed; the user has then been told why.
bool DruckeSeite(Programmzustand& s);
