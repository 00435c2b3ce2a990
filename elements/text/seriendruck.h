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
// nothing for a number outside 1 to 30; a "#Feld" with fewer than two characters after it
// stays. Inserted field texts are merged in turn (FeldmarkenErsetzen).
QString FelderEinsetzen(const Programmzustand& s, const QString& text);

// What a "#Feld" is replaced by: the number of characters it spans from its "#" and the
// text that takes their place.
struct Feldersetzung {
  qsizetype laenge = 0;
  QString text;
};

// A text in which the side-panel fields are merged: a text element's string or the letter.
// Positions count characters from 0.
class Mischtext {
 public:
  virtual ~Mischtext() = default;
  // Position of the first "#Feld" at or after `ab`, or -1.
  virtual qsizetype feldSuchen(qsizetype ab) = 0;
  // The replacement of the "#Feld" at `p`; empty when it stays as it stands.
  virtual std::optional<Feldersetzung> feld(qsizetype p) = 0;
  virtual void ersetzen(qsizetype p, qsizetype laenge, const QString& text) = 0;
};

// How deep the fields inserted by one field may nest, and how much longer all merged
// fields together may make a text: kFeldZuwachsGrenze characters, or for a longer text
// kFeldZuwachsJeZeichen for each of its characters.
inline constexpr int kFeldTiefe = 99;
inline constexpr qsizetype kFeldZuwachsGrenze = 100000;
inline constexpr qsizetype kFeldZuwachsJeZeichen = 16;

// Replaces the fields of `t`, a text of `laenge` characters, from the start to the end. An
// inserted field text is searched again, so a field that names another is merged in turn.
// The expansion of each field of the text may nest kFeldTiefe deep: a field that names
// itself is expanded 99 times and then stays, whatever the other fields of the text do.
// Whatever the fields hold, the merge never lengthens the text by more than its bound
// (an expansion beyond that stays unmade), so that fields naming themselves twice cannot
// flood the memory, while a long letter has all of its fields merged.
void FeldmarkenErsetzen(Mischtext& t, qsizetype laenge);
