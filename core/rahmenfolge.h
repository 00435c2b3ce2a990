// Stacking order of the selected frame, and deleting it with its element.
#pragma once

#include "core/programmzustand.h"

void RahmenGanzVorne(Programmzustand& s);
void RahmenGanzHinten(Programmzustand& s);
void RahmenEinsVor(Programmzustand& s);
void RahmenEinsZurueck(Programmzustand& s);
// Deletes the selected frame and its element after asking (Antwort = 9999 beforehand:
// without asking). The fixed frames 1 to 31 cannot be deleted.
void RahmenLoeschen(Programmzustand& s);
