// The preview window "Seitenvorschau": shows the page held by the print control, prints it
// with "Drucken" as often as pressed and hides itself with "Schließen". While it is shown
// the main window takes no input.
#pragma once

#include <QWidget>

#include "core/programmzustand.h"

class QPushButton;
class Vorschauansicht;

class frmVorschau : public QWidget {
  Q_OBJECT
 public:
  frmVorschau(Programmzustand& s, QWidget* eltern = nullptr);

  // Shows the window (application-modal) with the document the print control holds now,
  // fitted into the screen's available area.
  void zeigen();
  Vorschauansicht* ansicht() const { return ansicht_; }

 signals:
  // The window was closed; the main window redraws its page.
  void geschlossen();

 public slots:
  void CommandDrucken_Click();
  void CommandOK_Click();

 protected:
  void closeEvent(QCloseEvent* ereignis) override;
  void resizeEvent(QResizeEvent* ereignis) override;

 private:
  void Form_Activate();
  // Fits the window with its title bar into the screen's available area: 800 x 900 pixels
  // where there is room, centred at the first showing; later the user's size and place.
  void anBildschirmAnpassen();
  Programmzustand& s_;
  bool platziert_ = false;
  Vorschauansicht* ansicht_;
  QPushButton* drucken_;
  QPushButton* schliessen_;
};
