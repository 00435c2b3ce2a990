// Rich-text output on the print control: lays a letter out inside the margins of the
// current page, continuing on further pages when it does not fit and after a page break.
// Every line is printed: a line taller than the margins allow gets a page of its own,
// clipped at the bottom margin; margins reaching past the paper stop at its edge.
#pragma once

#include <QByteArray>
#include <memory>

class Drucksteuerung;
class QTextDocument;

void rtfAusgeben(Drucksteuerung& drucker, const QByteArray& rtf);

// The steps of rtfAusgeben, so that a letter printed for many addresses is read once:
// the rich text read into a document measured in twips (plain text when it is no rich
// text), a copy of such a document, and the output of one.
std::unique_ptr<QTextDocument> rtfDokument(const QByteArray& rtf);
std::unique_ptr<QTextDocument> dokumentKopie(const QTextDocument& dokument);
void dokumentAusgeben(Drucksteuerung& drucker, QTextDocument& dokument);
