#include "platform/modalerdialog.h"

#include <QCloseEvent>

ModalerDialog::ModalerDialog(QWidget* eltern) : QDialog(eltern) {
  setWindowModality(Qt::ApplicationModal);
  setAttribute(Qt::WA_DeleteOnClose, false);
}

void ModalerDialog::reject() { close(); }

void ModalerDialog::schliessen() {
  hide();
  emit geschlossen();
}

void ModalerDialog::closeEvent(QCloseEvent* ereignis) {
  ereignis->ignore();
  if (isVisible()) schliessen();
}
