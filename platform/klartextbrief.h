// A letter of plain text read into a document the way the rich-text reader reads the same
// characters, so that it shows as it will after it has been saved as rich text and read
// again: a line end or a paragraph separator ends a paragraph, a vertical tab is a line
// break within it, a form feed ends the paragraph and the next one starts a new page (at
// the end an empty one); objects, the document's own markers and non-characters are no
// text. Other control characters stay, as the writer keeps them too.
#pragma once

#include <QString>

class QTextCursor;
class QTextDocument;

// Replaces the content of `ziel` by the text.
void klartextLesen(const QString& text, QTextDocument& ziel);

// Inserts the text at the cursor, replacing its selection, in the cursor's format.
void klartextEinfuegen(QTextCursor& cursor, const QString& text);
