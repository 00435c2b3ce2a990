#include "core/rahmenfolge.h"

void RahmenGanzVorne(Programmzustand&) {}
void RahmenGanzHinten(Programmzustand&) {}
void RahmenEinsVor(Programmzustand&) {}
void RahmenEinsZurueck(Programmzustand&) {}
void RahmenLoeschen(Programmzustand&) {}
