// Text in the code pages of letters written on other systems: the code page of a font's
// character set, bytes of a code page (Windows, DOS, Mac, East Asian) as text through Qt's
// converters, the signs of the Symbol font, and the byte-order marks of Unicode files.
#pragma once

#include <QByteArray>
#include <QString>

namespace codepages {

// The code page of a font's character set (RTF's \fcharset); 0 means the document's code
// page.
int zuZeichensatz(int zeichensatz);

// Bytes of a code page as text. Code pages other than 1252 go through Qt's converters;
// one Qt does not know falls back to 1252, so that no text is lost.
QString dekodieren(const QByteArray& bytes, int codepage);

// Bytes as text: raw UTF-8 when `utf8` (bytes that are not valid UTF-8 after all are read
// in the code page rather than shown as replacement marks), else bytes of the code page.
QString dekodieren(const QByteArray& bytes, bool utf8, int codepage);

// A character of the Symbol font: a byte, or the private-use character U+F0hh that word
// processors write for it, as the Unicode sign it stands for. Other characters are
// returned as they are.
char16_t ausSymbolschrift(char16_t zeichen);

// The bytes of a file as a reader takes them. A byte-order mark is removed; text in
// UTF-16 or UTF-32 (with its mark, or RTF in UTF-16 without one) becomes UTF-8. `utf8`:
// the file said its characters are Unicode, so raw bytes of text are UTF-8.
struct Quelle {
  QByteArray bytes;
  bool utf8 = false;
};
Quelle quelle(const QByteArray& daten);

}  // namespace codepages
