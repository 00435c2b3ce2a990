// The position dialog "Rahmen positionieren": position and size of the selected frame in
// millimetres, and its flags "keep proportions" and "anchored".
// The boxes always hold the written-back form of their number (an emptied box shows "0");
// leaving a box keeps the frame inside the page; OK checks all four again and writes them
// into the frame that is selected at that moment, in whole 1/10 mm.
// The boxes are read in the user's number format, other text by its leading number with
// "." as the decimal point. OK raises a width or height below 10 mm to 10 mm without a
// message; only the page limit may then cut it below that.
// The main window stays usable while the dialog is open. It is hidden, never destroyed;
// the title-bar button acts as "Abbruch".
#pragma once

#include <QDialog>
#include <array>

#include "core/programmzustand.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

class frmPosition : public QDialog {
  Q_OBJECT
 public:
  frmPosition(Programmzustand& s, QWidget* eltern = nullptr);

  // Fills the boxes from the selected frame and shows the dialog.
  void zeigen();

  // "Ok": checks the four values against the page, raises a width or height below 10 mm
  // to 10 mm, writes them into the selected frame, hides the dialog, shows the selection
  // and redraws the page.
  void Command1_Click();
  // "Abbruch": hides the dialog; nothing is written.
  void Command2_Click();

  QLineEdit* Text1;       // x, mm
  QLineEdit* Text2;       // y, mm
  QLineEdit* Text3;       // width, mm
  QLineEdit* Text4;       // height, mm
  QCheckBox* Check1;      // "Seitenverhältnis beibehalten"
  QCheckBox* Check2;      // "Rahmen verankern (sperren)"
  QPushButton* Command1;  // "Ok"
  QPushButton* Command2;  // "Abbruch"

 public slots:
  void reject() override;

 protected:
  bool eventFilter(QObject* objekt, QEvent* ereignis) override;

 private:
  void Form_Activate();
  // The Change rule of box i (1..4): settles its text on the written-back form of its number.
  void Text_Change(int i);
  // Leaving box i.
  void Text_LostFocus(int i);

  QLineEdit* box(int i) const { return boxen_[i]; }
  // The number of box i by its reading rule.
  double wert(int i) const;
  // Writes v into box i (and lets the box settle).
  void schreibe(int i, double v);
  // Rewrites box i as its number and returns that number.
  double neuSchreiben(int i);

  Programmzustand& s_;
  std::array<QLineEdit*, 5> boxen_{};
  bool setztText_ = false;
  bool tippt_ = false;  // the change under way comes from the user's typing
};
