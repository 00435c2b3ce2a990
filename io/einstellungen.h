// The settings file "qx.ini" in the start-up folder: view settings, page, grid, export zoom
// and a few program strings, one "key = value" line each.
#pragma once

#include <QString>

#include "core/programmzustand.h"

// Reads the settings file; keys it lacks keep their values, and so do lines whose value
// does not fit (a page larger than the largest paper, for one). A file that exists but
// cannot be read is reported, changes nothing and sets EinstellungenUnlesbar. Ends with
// MagnetX = RasterX and MagnetY = RasterY.
void LadeEinstellungen(Programmzustand& s);
// Writes the settings file (through a temporary file). False after a message when it
// could not be written.
bool SpeichereEinstellungen(Programmzustand& s);

// Splits one line of the settings file at its first "=" into IniSchluessel (trimmed, lower
// case) and IniWert (trimmed); Textzeile holds the line. False when the line has no "=".
bool LeseIniZeile(Programmzustand& s, const QString& zeile);
