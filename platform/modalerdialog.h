// A dialog that takes all input while it is shown (application-modal) and is hidden, never
// destroyed, when it closes, so that its entries stay for the next time. Escape, the
// title-bar close button and the dialog's own closing buttons all end in schliessen(), which
// gives the input back to the main window and emits geschlossen(), after which the main
// window redraws its page.
#pragma once

#include <QDialog>

class ModalerDialog : public QDialog {
  Q_OBJECT
 public:
  explicit ModalerDialog(QWidget* eltern = nullptr);

 signals:
  void geschlossen();

 public slots:
  // Escape: as the title-bar close button.
  void reject() override;

 protected:
  // Hides the dialog and emits geschlossen().
  void schliessen();
  void closeEvent(QCloseEvent* ereignis) override;
};
