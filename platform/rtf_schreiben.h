// Writing a QTextDocument (or a part of it) as rich text (RTF).
//
// The output has a font table, a colour table, \fsN in half points, \b \i \ul \strike
// \super \sub \caps \scaps, \ql \qr \qc \qj, indents, spacing and tab stops, and the text in
// Windows-1252 (\'hh for the non-ASCII characters the code page holds, \uN? for the rest).
// Every paragraph ends with \par, the last one too, as word processors write it, or with
// \page before a paragraph that starts a new page. A line break (U+2028 or a vertical tab)
// is written as \line, a form feed as \page; the reader (rtf_lesen.h) reads such a file
// back unchanged, but for these two characters, which come back as the line break U+2028
// and as a paragraph that starts a new page.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QString>

class QTextCharFormat;
class QTextDocument;
class QTextDocumentFragment;

// The character values of a piece of text that rich text carries, with every value the
// format leaves open taken from the document's default font.
struct Zeichenwerte {
  QString schrift;
  double punkte = 12;
  bool fett = false;
  bool kursiv = false;
  bool unterstrichen = false;
  bool durchgestrichen = false;
  int hochtief = 0;  // 1 superscript, -1 subscript
  int gross = 0;     // 1 capitals, 2 small capitals
  QColor farbe;      // invalid: the automatic text colour
  bool operator==(const Zeichenwerte&) const = default;
};
Zeichenwerte zeichenwerte(const QTextCharFormat& format, const QFont& standard);

// The whole document.
QByteArray rtfSchreiben(const QTextDocument& dokument);
// The characters from position `von` up to (not including) `bis`; a paragraph break
// inside the range becomes a paragraph break of the rich text.
QByteArray rtfSchreiben(const QTextDocument& dokument, int von, int bis);
// A fragment (a copied selection); `standard` stands for the values its formats leave
// open (the default font of the document it came from).
QByteArray rtfSchreiben(const QTextDocumentFragment& fragment, const QFont& standard = QFont());
