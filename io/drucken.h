// Printing one page: the page redraw into the print control, kept for the preview or
// printed at once.
#pragma once

#include <QString>

#include "core/programmzustand.h"

// Draws the current page, filled with the current address, into the print control.
// With the preview switch on the page becomes the held document for the preview. With it
// off the page is printed at once, in the control's number of copies: into the open print
// run, or else as a run of its own. Returns false when drawing or printing failed; the
// user has then been told why, and the failed page is not part of a PDF file. A letter
// frame wholly off the paper prints the page without the letter text: the preview and a
// page printed on its own tell the user so (an open run tells once, when it ends).
bool DruckeSeite(Programmzustand& s);

// The message that the letter text lies off the paper, for the preview or the print.
QString BrieftextAusserhalb(bool vorschau);
