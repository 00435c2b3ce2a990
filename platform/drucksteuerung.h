// The print and preview control. With the preview switch on it holds one document of
// pages drawn into it, recorded as QPictures, for the preview window; with the switch off,
// inside a print run, every page is drawn straight into the run's output (a printer or a
// PDF file). Pages are drawn in device pixels of a fixed printer resolution (AUFLOESUNG
// dots per inch), so that the device twips per pixel and the device context mean for the
// renderers what they mean on a printer.
#pragma once

#include <QByteArray>
#include <QPicture>
#include <QPrinter>
#include <QSizeF>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/rtf_ausgabe.h"
#include "platform/zeichenflaeche.h"

class QTextDocument;

class Drucksteuerung : public Zeichenflaeche {
 public:
  static constexpr int AUFLOESUNG = 600;

  Drucksteuerung();
  ~Drucksteuerung() override;

  HDC hdc() override;
  // Device twips per pixel (twips per inch / AUFLOESUNG).
  double twipsProPixelX() const override;
  double twipsProPixelY() const override;
  // The page of PaperWidth x PaperHeight.
  QRect geraeteflaeche() const override;

  // Preview switch: while on, a finished document is held and shown in the preview.
  bool Preview = true;

  // Starts a new document with one page, and ends it. With the preview switch on the
  // document replaces the held one; with it off inside a print run the page goes into the
  // run's output instead, and the held document stays. StartDoc is false when the run has
  // no output to take the page (fehler() says why); nothing is drawn then. Into the output
  // a page goes at its first drawing call, or empty when it ends: the paper size set
  // before anything is drawn on a page is that page's paper, the first page's too.
  // EndDoc is false when a page of the document could not be put out (fehler() says why).
  bool StartDoc();
  bool EndDoc();
  // Starts a further page of the current document (used when text overflows).
  void NewPage();

  // Prints the held document as a run of its own: each page with its Copies copies before
  // the next page. False when it failed; fehler() then says why, in German.
  bool PrintDoc();
  int16_t Copies = 1;

  // A print run: one output for every page drawn while it is open with the preview switch
  // off. The output is opened with the first page. A PDF file is written beside the named
  // one and replaces it only when the run ends, so a run replaces the file of an earlier
  // run (it never appends) and the previous file stays whole until the new one is done.
  void LaufBeginnen();
  // Ends the run and finishes its output with the pages drawn so far. A run without pages
  // leaves the output as it was. False when the output could not be finished.
  bool LaufBeenden();
  bool laufOffen() const;
  // Pages the open (or the last) run has put out so far, copies and overflow included.
  int laufSeiten() const;
  // Takes the last `anzahl` pages of the open run back, because drawing them failed, and
  // ends the run's further pages: in a PDF file they do not appear. (On paper they may
  // already be printed.)
  void SeitenVerwerfen(int anzahl);

  // Page size in twips (the paper of the document page; landscape when wider than high).
  double PaperWidth = 11907;
  double PaperHeight = 16840;
  // Margins in twips for the rich-text output; one below 0 counts as none.
  double MarginLeft = 0;
  double MarginTop = 0;
  double MarginRight = 0;
  double MarginBottom = 0;
  // Rich-text output: lays the text out inside the margins on the current page and
  // continues on further pages when it does not fit or comes to a page break; a line
  // taller than the margins allow is printed on a page of its own, clipped. Margins that
  // lie wholly off the paper print nothing and add no page. The text is read once and
  // kept for as long as the same rich text comes again; `vorher` changes it before the
  // layout (the letter merge of each address), and its changes are taken back after.
  Satzergebnis setTextRTF(const QByteArray& rtf,
                          const std::function<void(QTextDocument&)>& vorher = {});
  // Whether a rich-text output found its margins wholly off the paper: one of the open
  // (or the last) print run, else one since the held document was started.
  bool textAusserhalb() const;
  // Called while a long rich-text output runs: at each further page and at least every
  // tenth of a second of its layout, so that windows stay alive. False stops the output
  // there; the pages drawn so far stay.
  std::function<bool()> Zwischendurch;

  // Drawing properties used by the renderers while printing.
  int32_t PenColor = 0;
  double PenWidth = 1;   // twips
  int16_t PenStyle = 0;  // 0 solid, 1 dash, 2 dot
  int32_t BrushColor = 0;
  int16_t BrushStyle = 1;  // 0 solid, 1 transparent
  int32_t TextColor = 0;

  double TextWidth(const QString& text) override;
  StiftUndPinsel stiftUndPinsel() const override;

  // The held document. dokumentNummer() changes whenever a held document is started or
  // ended, so that a view can tell that it shows an old one.
  int seitenzahl() const;
  int dokumentNummer() const;
  // Paper size of a held page in twips, as it was when the page was finished.
  QSizeF seitengroesse(int index) const;
  const QPicture& seite(int index) const;  // 0-based
  // A page drawn into an image at the given resolution (for the preview and for tests).
  QImage seiteAlsBild(int index, double dpi) const;

  // The printer. When a PDF file is named (setzePdfDatei or the environment variable
  // QX_DRUCKDATEI), print runs go into that file instead; an empty name chooses the
  // printer. setzeDrucker chooses the print queue of that name instead of any PDF file;
  // without a chosen queue the machine's default queue prints.
  QPrinter& drucker();
  void setzePdfDatei(const QString& pfad);
  QString pdfDatei() const;
  void setzeDrucker(const QString& name);
  QString druckerName() const;
  // The PDF file named last: the chosen one, else the one chosen before a queue was.
  QString letztePdfDatei() const;
  QString fehler() const;
  // Whether a print run can write the PDF file `pfad`: the file it writes first, beside
  // the named one, can be made there.
  static bool pdfDateiSchreibbar(const QString& pfad);

 protected:
  // The printer a run without a PDF file prints on: drucker() set to the chosen queue, else
  // to the machine's default one. Null, with fehler() saying why, when there is none. (A
  // test puts in a printer of its own here.)
  virtual QPrinter* laufdrucker();

 private:
  bool seiteBeginnen();
  // Puts the page that waits for its first drawing on the run's output (the printer starts
  // a page); false when there is none waiting or the output refused it.
  bool ausstehendeSeiteAusgeben();
  void seiteBeenden();
  bool direkt() const;
  bool ausgabeBereit();
  bool ausgabeWaehlen();
  bool ausgabeSeite(QSizeF papier);
  // Sets the output's paper; false when a printer refuses it (fehler() names it).
  bool papierSetzen(QSizeF papier);
  bool ausgabeOeffnen(QSizeF papier);
  void malerAnfangszustand(QPainter& maler);
  QFont eigeneSchrift() const;
  void schriftWaehlen() override;
  struct Intern;
  std::unique_ptr<Intern> d_;
};
