// The page setup dialog "Seite einrichten": paper format and orientation, paper size,
// margins, header and footer heights, grid spacing and the scale of the picture export.
// It edits the working copy MusterSeite; OK checks the values, carries them into the page
// and the view settings and lays the page view out anew (ZoomAnwenden).
// While it is open the rest of the program takes no input (application-modal); it is
// hidden, never destroyed, by its buttons and by the title-bar button (= "Abbruch").
#pragma once

#include <QDialog>
#include <array>

#include "core/programmzustand.h"

class QComboBox;
class QLineEdit;
class QRadioButton;
class QPushButton;
class QTabWidget;

// The paper formats offered, in list order; the last one keeps the size as typed.
extern const std::array<const char*, 6> kPapierformate;

class frmSeite : public QDialog {
  Q_OBJECT
 public:
  frmSeite(Programmzustand& s, QWidget* eltern = nullptr);

  // Fills the boxes and the working copy from the page and shows the dialog.
  void zeigen();

  // Applies the working copy's format name and orientation to its size and shows the size
  // in the boxes; the size boxes are enabled only for "Benutzerdefiniert".
  void PapierformatSetzen();

  // "Ok": checks the values (a message names the first bad box, the dialog stays open and
  // nothing is taken over), then takes them over and hides the dialog.
  void Command3_Click();
  // "Abbruch": hides the dialog; nothing is taken over.
  void Command1_Click();

  QTabWidget* TabStripSeite;
  QComboBox* ComboPapierformat;
  std::array<QRadioButton*, 2> Option1{};  // 0 "Hochformat", 1 "Querformat"
  QLineEdit* TextBreite;
  QLineEdit* TextHoehe;
  QLineEdit* TextZoomExport;
  QLineEdit* TextOben;
  QLineEdit* TextUnten;
  QLineEdit* TextLinks;
  QLineEdit* TextRechts;
  QLineEdit* TextKopf;
  QLineEdit* TextFuss;
  QLineEdit* Textrasterx;
  QLineEdit* Textrastery;
  // "Maßangaben in Millimeter (mm)" and "Maßangaben in Inch (inch)": offered, no effect.
  std::array<QRadioButton*, 2> OptionEinheit{};
  QPushButton* Command3;  // "Ok"
  QPushButton* Command1;  // "Abbruch"

 public slots:
  // The title-bar button and Escape act as "Abbruch".
  void reject() override;

 private:
  void Form_Load();
  void Form_Activate();
  void ComboPapierformat_Click(int index);
  // Shows a paper name in the format box. A name that is not one of the formats (a settings
  // file may hold any, "A5" say) is shown as an extra entry after them; an empty name shows
  // an empty box.
  void formatZeigen(const QString& name);
  void Option1_Click(int index);
  // Checks the values of the working copy and the grid boxes; false after a message.
  bool pruefen();

  Programmzustand& s_;
};
