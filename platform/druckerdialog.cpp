#include "platform/druckerdialog.h"

#include <QPrintDialog>
#include <QPrinter>

#include "platform/drucksteuerung.h"

bool druckerWaehlen(QWidget* eltern, Drucksteuerung& drucksteuerung) {
  QPrinter& drucker = drucksteuerung.drucker();
  const QString pdf = drucksteuerung.pdfDatei();
  if (!pdf.isEmpty()) {
    drucker.setOutputFormat(QPrinter::PdfFormat);
    drucker.setOutputFileName(pdf);
  }
  QPrintDialog dialog(&drucker, eltern);
  dialog.setWindowTitle(QStringLiteral("Drucker auswählen"));
  dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
  dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
  if (dialog.exec() != QDialog::Accepted) return false;
  if (drucker.outputFormat() == QPrinter::PdfFormat && !drucker.outputFileName().isEmpty()) {
    drucksteuerung.setzePdfDatei(drucker.outputFileName());
  } else {
    drucker.setOutputFileName(QString());
    drucksteuerung.setzePdfDatei(QString());
  }
  return true;
}
