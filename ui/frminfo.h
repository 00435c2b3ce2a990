// The about box "Info": the program's title and version and the button "Ok".
// Shown application-modal, so the main window takes no input while it is open; closing it
// in any way ("Ok", Escape, the title-bar close button) hides it, which gives the input back,
// and emits geschlossen(), after which the main window redraws its page.
#pragma once

#include "core/programmzustand.h"
#include "platform/modalerdialog.h"

class QLabel;
class QPushButton;

class frmInfo : public ModalerDialog {
  Q_OBJECT
 public:
  frmInfo(Programmzustand& s, QWidget* eltern = nullptr);

  // Fills the title line anew and shows the box.
  void zeigen();
  // "Ok": closes the box.
  void Command1_Click();

  QLabel* Label1;
  QPushButton* Command1;

 private:
  void Form_Load();
  Programmzustand& s_;
};
