// Merge fields of texts: "#Datum" stands for today's date and "#Feld" followed by two
// characters for the text of a side-panel field (1 to 30). The text elements merge their
// own text when drawn; the page redraw merges the letter text with the same pieces.
#pragma once

#include <QString>
#include <QStringView>
#include <optional>

struct Programmzustand;

// Today's date as a merge field gives it: dd.MM.yyyy.
QString DatumText();

// The field number that the two characters after "#Feld" name: their leading number,
// taken to the nearest whole number; empty unless it lies from 1 to 30.
std::optional<int> Feldnummer(QStringView zweiZeichen);

// A text element's merge: the first "#Datum" becomes today's date (later ones stay), then
// each "#Feld" with two characters after it becomes the text of that side-panel field, or
// nothing for a number outside 1 to 30. Inserted field texts are merged in turn; the loop
// stops after 99 passes so that a field that names itself cannot run forever.
QString FelderEinsetzen(const Programmzustand& s, const QString& text);
