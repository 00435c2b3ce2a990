// The search dialog "Datensuche": a search term, the field to search in (ten options,
// "Firma" first and chosen at the start) and the buttons "Suchen" and "Abbruch".
// It is shown without modality (the main window stays usable), hidden and never destroyed by
// its buttons or by closing, so it keeps the option and the term for the next time.
// "Suchen" hides it and runs AdresseSuchen on the data control.
#pragma once

#include <QDialog>
#include <array>

class Datensteuerung;
class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
struct Programmzustand;

class frmSuchen : public QDialog {
  Q_OBJECT
 public:
  frmSuchen(Datensteuerung& steuerung, Programmzustand& s, QWidget* eltern = nullptr);

  // The chosen option, 1 ("Firma") to 10 ("Gruppe").
  int gewaehlteOption() const;

  // "Abbruch": hides the dialog.
  void Command1_Click();
  // "Suchen": hides the dialog and searches.
  void Command2_Click();

  QLabel* Label1;
  QLineEdit* Text1;
  std::array<QRadioButton*, 11> Option{};  // 1..10; slot 0 unused
  QPushButton* Command1;                   // "Abbruch"
  QPushButton* Command2;                   // "Suchen"

 signals:
  // A search ran; gefunden tells whether a record was found.
  void gesucht(bool gefunden);

 private:
  Datensteuerung& steuerung_;
  Programmzustand& s_;
  QButtonGroup* gruppe_;
};
