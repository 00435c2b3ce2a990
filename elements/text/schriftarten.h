// The font table: the installed font families, one entry per face name, filled once while the
// main window loads. Entry 0 stays empty, faces are stored from entry 1 upward in the order
// they are reported, and the entry after the last face holds the end mark "-1" (none after
// entry 1000, the last one). The font lists and the text renderer read it.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

#include "core/programmzustand.h"
#include "platform/gdi.h"

// One installed family as the enumeration reports it.
struct Schriftfamilie {
  QString name;
  bool festeBreite = false;  // fixed pitch
  uint8_t zeichensatz = ANSI_CHARSET;
  bool skalierbar = true;  // an outline face
};

// Called once per reported family with its logical font and text metrics: stores the face
// unless an entry of the same trimmed name (exact comparison) exists. Always returns 1, so
// that the enumeration runs to its end; faces beyond the thousandth are dropped.
int SchriftartGefunden(Programmzustand& s, const LogFont& logFont, const TextMetrik& metrik,
                       int typ, intptr_t wert);

// Fills the font table afresh from the given families, in their order, through
// SchriftartGefunden.
void SchriftartenEintragen(Programmzustand& s, const std::vector<Schriftfamilie>& familien);

// Brings reported families into the order of the font lists: each under its own name (a
// foundry Qt appends in brackets dropped), once, without Qt's generic names "Serif",
// "Sans Serif" and "Monospace", sorted by name regardless of letter case.
void FamilienOrdnen(std::vector<Schriftfamilie>& familien);

// The families of the system (QFontDatabase) with "Arial", "Times New Roman" and
// "Courier New" where fontconfig resolves them to another installed face, in the order of
// FamilienOrdnen.
std::vector<Schriftfamilie> Systemschriftfamilien();

// Fills the font table with the families of the system.
void SchriftartenErmitteln(Programmzustand& s);

// The font lists' reading of the table: entries from 1 upward until an entry whose name
// begins with "-1" (or up to entry 999), the trimmed name of each variable-pitch face.
QStringList SchriftartenListe(const Programmzustand& s);

// The character set of a face for the renderer: that of the first entry, from entry 0 up,
// whose trimmed name equals the trimmed face name; the search stops at the end mark and
// after entry 1000. A face not in the table gives 0.
uint8_t SchriftartZeichensatz(const Programmzustand& s, const QString& fontname);

// A text without the blanks at both ends (blanks only, as names are compared).
QString ohneRandleerzeichen(const QString& text);
