// The insert chooser "Einfügen eines neuen Objekts": asks "Was soll eingefügt werden?" and
// creates the chosen element with a new, hidden frame at the end of the frame list. The
// main window then lets the user draw the frame's rectangle (Einfuegemodus 1 -> 2 -> 0)
// and opens the new element's properties dialog.
// While it is open the rest of the program takes no input (application-modal); it is
// hidden, never destroyed; the title-bar button acts as "Abbruch".
#pragma once

#include <QDialog>
#include <array>

#include "core/programmzustand.h"

class QLabel;
class QPushButton;

class frmEinfuegen : public QDialog {
  Q_OBJECT
 public:
  frmEinfuegen(Programmzustand& s, QWidget* eltern = nullptr);

  // Shows the chooser.
  void zeigen();

  // A choice: 1 "Einfache Textzeile", 3 "Bilddatei", 4 "Linienobjekt". Hides the chooser,
  // creates the element and its frame and leaves the page waiting for the rectangle:
  // Einfuegemodus = 1, selection hidden, crosshair pointer.
  void Button_Click(int index);
  // "Abbruch": hides the chooser; nothing is created.
  void Abbruch_Click();

  QLabel* Label1;                        // "Was soll eingefügt werden?"
  std::array<QPushButton*, 5> Button{};  // 1, 3 and 4; there is no button 2
  QPushButton* Abbruch;

 public slots:
  void reject() override;

 private:
  Programmzustand& s_;
};
