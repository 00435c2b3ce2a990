#include "io/frmvorschau.h"

#include <QCloseEvent>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

#include "platform/drucksteuerung.h"
#include "platform/vorschauansicht.h"

namespace {

// The window's size where the screen has room for it.
constexpr QSize kWunschgroesse(800, 900);

}  // namespace

frmVorschau::frmVorschau(Programmzustand& s, QWidget* eltern) : QWidget(eltern, Qt::Window), s_(s) {
  setWindowTitle(QStringLiteral("Seitenvorschau"));
  setWindowModality(Qt::ApplicationModal);
  ansicht_ = new Vorschauansicht(this);
  ansicht_->setzeDrucksteuerung(s.VSPrinter1.get());
  drucken_ = new QPushButton(QStringLiteral("Drucken"), this);
  schliessen_ = new QPushButton(QStringLiteral("Schließen"), this);
  // 1335 x 375 twips at 15 twips per pixel.
  drucken_->resize(89, 25);
  schliessen_->resize(89, 25);
  connect(drucken_, &QPushButton::clicked, this, &frmVorschau::CommandDrucken_Click);
  connect(schliessen_, &QPushButton::clicked, this, &frmVorschau::CommandOK_Click);
  resize(kWunschgroesse);
}

void frmVorschau::anBildschirmAnpassen() {
  const QScreen* bildschirm = screen();
  if (!bildschirm) return;
  const QRect frei = bildschirm->availableGeometry();
  // Title bar and frame: known once the window was shown, else those of the main window.
  QSize rand = frameGeometry().size() - size();
  if (rand.isEmpty() && parentWidget()) {
    const QWidget* haupt = parentWidget()->window();
    rand = haupt->frameGeometry().size() - haupt->size();
  }
  rand = rand.expandedTo(QSize(0, 0));

  const QSize groesse = (platziert_ ? size() : kWunschgroesse).boundedTo(frei.size() - rand);
  QRect aussen(platziert_ ? frameGeometry().topLeft() : QPoint(), groesse + rand);
  if (!platziert_) aussen.moveCenter(frei.center());
  // Inside the available area, the top-left corner first.
  aussen.moveRight(std::min(aussen.right(), frei.right()));
  aussen.moveBottom(std::min(aussen.bottom(), frei.bottom()));
  aussen.moveLeft(std::max(aussen.left(), frei.left()));
  aussen.moveTop(std::max(aussen.top(), frei.top()));
  resize(groesse);
  move(aussen.topLeft());
  platziert_ = true;
}

void frmVorschau::zeigen() {
  ansicht_->aktualisieren();
  anBildschirmAnpassen();
  show();
  raise();
  activateWindow();
  Form_Activate();
}

void frmVorschau::Form_Activate() {
  // Layout from the window's size (in pixels here; twips / 15 in the classic form).
  const int w = width();
  const int h = height();
  ansicht_->setGeometry(16, 16, w - 40, h - 87);
  drucken_->move(w - 267, h - 60);
  schliessen_->move(w - 133, h - 60);
}

void frmVorschau::resizeEvent(QResizeEvent* ereignis) {
  QWidget::resizeEvent(ereignis);
  Form_Activate();
}

void frmVorschau::CommandDrucken_Click() {
  Drucksteuerung& d = *s_.VSPrinter1;
  if (!d.PrintDoc())
    s_.fenster->Meldung(d.fehler(), QString(), Knoepfe::Ok, Symbol::Ausrufezeichen);
}

void frmVorschau::CommandOK_Click() { close(); }

void frmVorschau::closeEvent(QCloseEvent* ereignis) {
  // Hidden, not destroyed: the print control keeps its document.
  ereignis->ignore();
  hide();
  emit geschlossen();
}
