// Reading rich text (RTF) into a QTextDocument.
//
// The reader understands what letters written by common word processors hold: the font
// and colour tables, character emphasis, size, face and colour, paragraph alignment,
// indents and tab stops, capitals (\caps, \scaps), \'hh bytes in the document's code page
// (\ansicpg, \mac, \pc, \pca) or the font's (\cpg, else that of its \fcharset), decoded by
// Qt's converters (Windows, DOS and Mac code pages, UTF-8, the East Asian ones), \uN
// characters with their fallback bytes, and of a \upr pair the Unicode half (\ud) in place
// of the ANSI half. The bytes of the Symbol font (\fcharset2), and the characters
// U+F020..U+F0FF written for them, are read as the Unicode signs they stand for. Style
// sheets, document information, pictures, headers and every ignorable destination are
// skipped; unknown control words are skipped, never shown as text.
//
// A file that begins with a byte-order mark is read in the encoding it names: UTF-8,
// UTF-16 or UTF-32 (RTF in UTF-16 is also recognised without its mark); its raw
// characters are then Unicode, while \'hh bytes stay in the code page.
//
// Damaged input (unbalanced braces, a truncated file, huge numbers, binary junk, very deep
// nesting) loads as much text as can be recovered and never crashes or hangs: groups are
// kept on an explicit stack and numbers are capped.
//
// Paragraph marks follow the word processors' rule: the document's last paragraph mark is
// the end of the last paragraph, not the start of an empty one. "A\par B\par" reads as the
// two paragraphs A and B, "A\par\par" as A and one empty paragraph. A page break (\page)
// ends its paragraph like \par, and the next paragraph starts a new page (at the end of the
// document an empty one) (its block has
// the page-break policy PageBreak_AlwaysBefore, as a paragraph with \pagebb has); a column
// break (\column) ends a paragraph. A section break (\sect) ends its paragraph and starts a
// new page, as the section's default kind \sbkpage says, unless the properties of the new
// section say it runs on (\sbknone, \sbkcol: a paragraph break only). \u8233, the paragraph
// separator, is a paragraph mark.
// \line is a line break inside the paragraph (U+2028).
#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;
class QTextCursor;

// True when the bytes begin, after blanks and line ends, with "{\rtf".
bool istRtf(const QByteArray& daten);

// Replaces the content of `ziel` by the rich text. False when the bytes are not RTF at
// all; the document is then left empty. Lengths (indents, tab stops) are set in document
// pixels at 96 dots per inch (15 twips per pixel).
bool rtfLesen(const QByteArray& rtf, QTextDocument& ziel);

// Inserts rich text at the cursor, replacing its selection (one undo step). The inserted
// paragraphs keep their alignment; the paragraph into which the last one runs keeps its
// own. False, with nothing changed, when the bytes are not RTF.
bool rtfEinfuegen(QTextCursor& cursor, const QByteArray& rtf);

// Bytes that are not RTF, as text: in the encoding their byte-order mark names, else UTF-8
// when they are valid UTF-8, else Windows-1252 (the code page of letters written on
// Windows). Line ends become "\n".
QString klartext(const QByteArray& bytes);
