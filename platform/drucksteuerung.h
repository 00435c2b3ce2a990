// The print and preview control: it holds one document of pages drawn into it, shows it
// in a preview and prints it through QPrinter (a real printer or a PDF file).
// Pages are recorded as QPictures in device pixels of a fixed printer resolution
// (AUFLOESUNG dots per inch), so that the device twips per pixel and the device context
// mean for the renderers what they mean on a printer.
#pragma once

#include <QByteArray>
#include <QPicture>
#include <QPrinter>
#include <QSizeF>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/zeichenflaeche.h"

class Drucksteuerung : public Zeichenflaeche {
 public:
  static constexpr int AUFLOESUNG = 600;

  Drucksteuerung();
  ~Drucksteuerung() override;

  HDC hdc() override;
  // Device twips per pixel (1440 / AUFLOESUNG).
  double twipsProPixelX() const override;
  double twipsProPixelY() const override;

  // Preview switch: while on, a finished document is held and shown in the preview.
  bool Preview = true;

  // Starts a new document (dropping the held one) with one page, and ends it.
  void StartDoc();
  void EndDoc();
  // Starts a further page of the current document (used when text overflows).
  void NewPage();

  // Prints the held document: Copies copies of it, to the chosen printer or PDF file.
  // False when it failed; fehler() then says why, in German.
  bool PrintDoc();
  int16_t Copies = 1;

  // Page size in twips (the paper of the document page; landscape when wider than high).
  double PaperWidth = 11907;
  double PaperHeight = 16840;
  // Margins in twips for the rich-text output.
  double MarginLeft = 0;
  double MarginTop = 0;
  double MarginRight = 0;
  double MarginBottom = 0;
  // Rich-text output: lays the text out inside the margins on the current page and
  // continues on further pages when it does not fit.
  void setTextRTF(const QByteArray& rtf);

  // Drawing properties used by the renderers while printing.
  int32_t PenColor = 0;
  double PenWidth = 1;   // twips
  int16_t PenStyle = 0;  // 0 solid, 1 dash, 2 dot
  int32_t BrushColor = 0;
  int16_t BrushStyle = 1;  // 0 solid, 1 transparent
  int32_t TextColor = 0;

  QString fontname() const override;
  void setFontname(const QString& name) override;
  double FontSize() const override;
  void setFontSize(double punkte) override;
  double TextWidth(const QString& text) override;
  StiftUndPinsel stiftUndPinsel() const override;

  // The held document. dokumentNummer() changes whenever a document is started or ended,
  // so that a view can tell that it shows an old one.
  int seitenzahl() const;
  int dokumentNummer() const;
  // Paper size of a held page in twips, as it was when the page was finished.
  QSizeF seitengroesse(int index) const;
  const QPicture& seite(int index) const;  // 0-based
  // A page drawn into an image at the given resolution (for the preview and for tests).
  QImage seiteAlsBild(int index, double dpi) const;

  // The printer. When a PDF file is named (setzePdfDatei or the environment variable
  // QX_DRUCKDATEI), every print job of this run goes into that file: each job adds its
  // pages after those already there, and the file is rewritten whole through a temporary
  // file, so it is complete after every job.
  QPrinter& drucker();
  void setzePdfDatei(const QString& pfad);
  QString pdfDatei() const;
  QString fehler() const;

 private:
  void seiteBeginnen();
  void seiteBeenden();
  bool druckeInPdf(const QString& pfad, int kopien);
  QFont eigeneSchrift() const;
  void schriftWaehlen();
  struct Intern;
  std::unique_ptr<Intern> d_;
};
