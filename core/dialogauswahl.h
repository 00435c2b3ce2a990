// Opening the properties dialog of the selected frame, keeping a text frame's visibility in
// step with its text, and ending the program.
#pragma once

#include <QString>

#include "core/programmzustand.h"

void EigenschaftenZeigen(Programmzustand& s);
void TextRahmenSichtbar(Programmzustand& s, const QString& text);
// Writes the settings file, unless the start could not read it. The caller then closes the
// windows and ends the event loop.
void ProgrammBeenden(Programmzustand& s);
