// Rich-text output on the print control: lays a letter out inside the margins of the
// current page (the part of that rectangle on the paper), continuing on further pages when
// it does not fit and after a page break. Every line is printed: a line taller than the
// margins allow gets a page of its own, its letters from their top at the top margin,
// clipped at the bottom margin. Margins that lie wholly off the paper print nothing.
//
// The blocks are laid out one after the other and each is drawn and let go before the
// next, in coordinates that stay small however long the letter is: the output takes time
// in proportion to the letter, a letter of any length ends, and the print control's
// Zwischendurch is called at each further page and while a long layout runs.
#pragma once

#include <QByteArray>
#include <memory>

class Drucksteuerung;
class QTextDocument;

// What became of a rich-text output.
enum class Satzergebnis {
  Gedruckt,     // laid out and drawn (when a document was started)
  Ausserhalb,   // the margins lie wholly off the paper: nothing drawn, no page added
  Abgebrochen,  // Zwischendurch said stop: the pages drawn so far stay
};

Satzergebnis rtfAusgeben(Drucksteuerung& drucker, const QByteArray& rtf);

// The steps of rtfAusgeben, so that a letter printed for many addresses is read once:
// the rich text read into a document measured in twips (plain text when it is no rich
// text), a copy of such a document, and the output of one (which replaces the document's
// own layout by one that lays nothing out).
std::unique_ptr<QTextDocument> rtfDokument(const QByteArray& rtf);
std::unique_ptr<QTextDocument> dokumentKopie(const QTextDocument& dokument);
Satzergebnis dokumentAusgeben(Drucksteuerung& drucker, QTextDocument& dokument);
