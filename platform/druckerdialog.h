// The printer dialog of the print control: the user picks a printer queue or a PDF file for
// the following print jobs.
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class Drucksteuerung;

// The print queues a dialog offers, and the one the machine prints to by default.
struct Druckerliste {
  QStringList namen;
  QString standard;
};

// The machine's print queues.
Druckerliste rechnerDrucker();

// "Drucker auswählen": one entry per queue and a last one for a PDF file, whose name is
// typed or looked for with "Durchsuchen …". A PDF file given to it is the entry chosen at
// the start; else the given queue, else the default one.
class Druckerdialog : public QDialog {
  Q_OBJECT
 public:
  Druckerdialog(const Druckerliste& liste, const QString& drucker, const QString& pdf,
                QWidget* eltern = nullptr);

  // The chosen queue, or empty when the PDF file is chosen.
  QString drucker() const;
  // The chosen PDF file as an absolute path, or empty when a queue is chosen. A leading
  // "~" stands for the home folder; a name without an ending gets ".pdf".
  QString pdfDatei() const;

  // OK: a PDF file must be named, not be a folder and lie in a folder that exists and
  // takes a new file; else the dialog says so and stays open.
  void accept() override;

  QComboBox* Auswahl;
  QLineEdit* Datei;
  QPushButton* Durchsuchen;
  QLabel* Hinweis;
  QPushButton* Ok;

 private:
  bool pdfGewaehlt() const;
  void auswahlGeaendert();
  void dateiSuchen();
};

// Shows the printer dialog for the control with the machine's queues (or the given ones).
// On OK the chosen PDF file or queue becomes the control's output. A named PDF file stays
// chosen until the user picks a queue. True on OK.
bool druckerWaehlen(QWidget* eltern, Drucksteuerung& drucksteuerung);
bool druckerWaehlenAus(QWidget* eltern, Drucksteuerung& drucksteuerung, const Druckerliste& liste);
