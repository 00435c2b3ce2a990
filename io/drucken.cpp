#include "io/drucken.h"

bool DruckeSeite(Programmzustand&) { return false; }
