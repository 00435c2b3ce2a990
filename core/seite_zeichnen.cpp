#include "core/seite_zeichnen.h"

void SeiteZeichnen(Programmzustand& s) { s.fenster->seiteGezeichnet(); }

void BrieftextPlatzhalter(Programmzustand&, const ClassRahmen&) {}
