#include "core/dialogauswahl.h"

#include "io/einstellungen.h"

void EigenschaftenZeigen(Programmzustand&) {}
void TextRahmenSichtbar(Programmzustand&, const QString&) {}
void ProgrammBeenden(Programmzustand& s) { SpeichereEinstellungen(s); }
