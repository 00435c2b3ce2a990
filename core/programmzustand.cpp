#include "core/programmzustand.h"

#include "platform/bildflaeche.h"
#include "platform/bildsteuerung.h"
#include "platform/drucksteuerung.h"

Programmzustand::Programmzustand()
    : fenster(&keinFenster),
      PictureSeite(std::make_unique<Bildflaeche>()),
      Lead2(std::make_unique<Bildflaeche>()),
      VSPrinter1(std::make_unique<Drucksteuerung>()),
      Lead(std::make_unique<Bildsteuerung>()) {}

Programmzustand::~Programmzustand() = default;
