// The print dialog "Drucken": prints the page as a form letter, once for the current address
// or once per address of a range, of one category or of the whole address table, in a chosen
// number of copies, after the user has picked a printer if he likes.
//
// The main window hands over its address data control (setzeDatensteuerung) and shows the
// dialog with zeigen(). While it is shown no other window takes input; "Drucken", "Abbruch",
// Escape and the title-bar close button all hide it again (closing behaves as "Abbruch") and
// emit geschlossen(), after which the main window redraws its page. The dialog is hidden, never
// destroyed, so the copies, the option and the range keep the user's last entries.
//
// One "Drucken" is one print run of the print control: all its pages go into one output. A
// run over more than one address shows its progress in a modal window whose "Abbruch" ends
// the run after the page being printed; a long letter text shows it too, and keeps it
// taking "Abbruch" while its pages are printed. A letter frame wholly off the paper prints
// each page without the letter text, and the run says so once.
#pragma once

#include <QPointer>
#include <functional>
#include <memory>

#include "core/programmzustand.h"
#include "platform/datensteuerung.h"
#include "platform/modalerdialog.h"

class Druckfortschritt;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class frmDrucken : public ModalerDialog {
  Q_OBJECT
 public:
  frmDrucken(Programmzustand& s, QWidget* eltern = nullptr);
  ~frmDrucken() override;

  // The address data control whose records the range, category and whole-table runs walk.
  // May be null or closed: those runs then print nothing and say so.
  void setzeDatensteuerung(Datensteuerung* daten);
  Datensteuerung* datensteuerung() const { return daten_; }

  // Shows the dialog application-modal with the entries of its last use.
  void zeigen();

  // "Drucken": prints, then hides the dialog. Bad input (too many copies) or address edits
  // that cannot be stored keep it open with a message.
  void CommandDrucken_Click();
  // "Abbruch": hides the dialog without printing.
  void CommandAbbruch_Click();
  // "Drucker wählen": the printer dialog of the print control; the dialog stays open.
  void CommandEinstellen_Click();

  // The category of the current record, compared with "Kategorie". The main window's
  // side-panel field 30 shows the record's "Gruppe" after every move, so the default reads
  // s.fenster->Text1(30); tests whose window does not follow the data control read the field
  // from the data control instead.
  std::function<QString()> kategorieDesDatensatzes;
  // The printer dialog (platform/druckerdialog.h by default).
  std::function<bool(QWidget* eltern, Drucksteuerung& drucksteuerung)> druckerDialog;

  QGroupBox* Frame1;
  QLabel* Label1;
  QLineEdit* Text1;  // copies
  QGroupBox* Frame2;
  QRadioButton* Option1;  // current address
  QRadioButton* Option2;  // range
  QLabel* Label4;
  QLineEdit* Text2;  // from
  QLabel* Label3;
  QLineEdit* Text3;       // to
  QRadioButton* Option3;  // one category
  QLabel* Label2;
  QLineEdit* Text4;       // category
  QRadioButton* Option4;  // all addresses
  QPushButton* CommandEinstellen;
  QPushButton* CommandDrucken;
  QPushButton* CommandAbbruch;

 private:
  // The run chosen by the options. The runs over the addresses return false when they
  // stopped early at a page or a move that failed (the user has been told).
  void druckeAuswahl();
  bool druckeBereich(int n);
  bool druckeKategorie(int n);
  bool druckeAlle(int n);
  // A move of the data control; false (after telling the user) when it failed.
  bool bewegt(bool ok);
  // Progress of a run over more than one address, before address `adresse` of `adressen`
  // is printed as page `seite`: shown in a modal progress window ("Seite i von n") whose
  // "Abbruch" ends the run. Processes the window events; false when cancelled.
  bool weiter(int adresse, int adressen, int seite);

  Programmzustand& s_;
  QPointer<Datensteuerung> daten_;
  std::unique_ptr<Druckfortschritt> fortschritt_;
};
