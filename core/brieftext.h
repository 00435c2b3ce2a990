// The letter text's merge for printing: today's date for every "#Datum" and the text of a
// side-panel field for every "#Feld" followed by a field number, on a copy of the letter.
#pragma once

#include <QByteArray>
#include <QTextDocument>

#include "core/programmzustand.h"

// Merges the fields into the document in place: every "#Datum" (letter case ignored) becomes
// today's date; every "#Feld" whose two following characters name a field from 1 to 30
// becomes that side-panel field's text ("#Feld7" before a line or paragraph break or at the
// end of the letter names field 7), which is searched again in turn (FeldmarkenErsetzen:
// each field's expansion nests at most 99 deep, so fields that name each other end); any
// other "#Feld" stays as it is. The replaced text keeps the formatting of the merge field.
void FelderMischen(const Programmzustand& s, QTextDocument& brief);
