#include "io/einstellungen.h"

void LadeEinstellungen(Programmzustand& s) {
  s.MagnetX = s.RasterX;
  s.MagnetY = s.RasterY;
}

bool SpeichereEinstellungen(Programmzustand&) { return false; }
