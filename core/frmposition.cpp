#include "core/frmposition.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>
#include <cmath>

#include "core/auswahl.h"
#include "core/seite_zeichnen.h"
#include "platform/knopfzeile.h"
#include "platform/zahlen.h"

namespace {

// A number as the boxes show it: 15 significant digits, so that a limit computed from the
// page (210 - 80.3) reads 129.7 and not 129.70000000000002; user's number format.
QString zahlText(double v) {
  if (std::isfinite(v) && v != 0) v = QString::number(v, 'g', 15).toDouble();
  return zahlen::schreibeLokal(v);
}

}  // namespace

frmPosition::frmPosition(Programmzustand& s, QWidget* eltern) : QDialog(eltern), s_(s) {
  setObjectName(QStringLiteral("frmPosition"));
  setWindowTitle(QStringLiteral("Rahmen positionieren"));
  setWindowModality(Qt::NonModal);
  setAttribute(Qt::WA_DeleteOnClose, false);

  static const char* const kBeschriftung[] = {nullptr, "X-Position - Abstand von links",
                                              "Y-Position - Abstand von oben", "Breite des Rahmens",
                                              "Höhe des Rahmens"};
  auto* raster = new QGridLayout;
  for (int i = 1; i <= 4; ++i) {
    auto* b = new QLineEdit(this);
    b->setObjectName(QStringLiteral("Text%1").arg(i));
    b->setMaximumWidth(100);
    b->setAlignment(Qt::AlignRight);
    boxen_[i] = b;
    auto* beschriftung = new QLabel(QString::fromUtf8(kBeschriftung[i]), this);
    beschriftung->setBuddy(b);
    raster->addWidget(beschriftung, i - 1, 0);
    raster->addWidget(b, i - 1, 1);
    raster->addWidget(new QLabel(QStringLiteral("mm"), this), i - 1, 2);
    b->installEventFilter(this);
    // textEdited comes just before textChanged when the user types.
    connect(b, &QLineEdit::textEdited, this, [this] { tippt_ = true; });
    connect(b, &QLineEdit::textChanged, this, [this, i] { Text_Change(i); });
  }
  Text1 = boxen_[1];
  Text2 = boxen_[2];
  Text3 = boxen_[3];
  Text4 = boxen_[4];
  raster->setColumnStretch(0, 1);

  Check1 = new QCheckBox(QStringLiteral("Seitenverhältnis beibehalten"), this);
  Check1->setObjectName(QStringLiteral("Check1"));
  Check2 = new QCheckBox(QStringLiteral("Rahmen verankern (sperren)"), this);
  Check2->setObjectName(QStringLiteral("Check2"));

  auto* knoepfe = knopfzeile(this, {&Command1, QStringLiteral("Ok"), "Command1"},
                             {&Command2, QStringLiteral("Abbruch"), "Command2"});

  auto* spalte = new QVBoxLayout(this);
  spalte->addLayout(raster);
  spalte->addSpacing(6);
  spalte->addWidget(Check1);
  spalte->addWidget(Check2);
  spalte->addStretch(1);
  spalte->addLayout(knoepfe);

  connect(Command1, &QPushButton::clicked, this, &frmPosition::Command1_Click);
  connect(Command2, &QPushButton::clicked, this, &frmPosition::Command2_Click);
  resize(400, 250);
}

void frmPosition::zeigen() {
  Form_Activate();
  show();
  raise();
  activateWindow();
}

void frmPosition::Form_Activate() {
  if (s_.AktuellerRahmen < 1 || s_.AktuellerRahmen > s_.AnzahlRahmen) return;
  const ClassRahmen& r = s_.rahmen(s_.AktuellerRahmen);
  schreibe(1, r.x / 10.0);
  schreibe(2, r.y / 10.0);
  schreibe(3, r.Breite / 10.0);
  schreibe(4, r.Hoehe / 10.0);
  Check1->setChecked(r.Proportional);
  Check2->setChecked(r.Verankert);
}

double frmPosition::wert(int i) const {
  // The boxes are filled in the user's number format, so they are read in it first:
  // reading only the leading number would cut "13,8" under a decimal comma to 13.
  const QString text = box(i)->text();
  if (const auto lokal = zahlen::leseLokal(text)) return *lokal;
  return zahlen::Val(text);
}

void frmPosition::schreibe(int i, double v) { box(i)->setText(zahlText(v)); }

double frmPosition::neuSchreiben(int i) {
  schreibe(i, wert(i));
  return wert(i);
}

void frmPosition::Text_Change(int i) {
  const bool vomBenutzer = tippt_;
  tippt_ = false;
  if (setztText_) return;
  // A decimal number being typed ("12." on the way to "12.5") is left as the user has it
  // until the box is left; rewriting it at once would swallow the decimal mark and turn
  // "12.5" into "125". Everything else settles on its number at every keystroke.
  static const QRegularExpression imEntstehen(QStringLiteral("^-?\\d+[.,]\\d*$"));
  if (vomBenutzer && imEntstehen.match(box(i)->text()).hasMatch()) return;
  setztText_ = true;
  // Each replacement would count as a further change; the text settles on the written-back
  // form of its number, normally after one step.
  for (int runde = 0; runde < 4; ++runde) {
    QLineEdit* b = box(i);
    if (b->text().isEmpty()) b->setText(QStringLiteral("0"));
    const QString form = zahlText(wert(i));
    if (form == b->text()) break;
    b->setText(form);
  }
  setztText_ = false;
}

void frmPosition::Text_LostFocus(int i) {
  const double W = s_.Seite->Breite / 10.0;
  const double H = s_.Seite->Hoehe / 10.0;
  double v = neuSchreiben(i);
  switch (i) {
    case 1:
      if (v < 0) schreibe(1, v = 0);
      if (v + wert(3) > W) schreibe(1, W - wert(3));
      break;
    case 2:
      if (v < 0) schreibe(2, v = 0);
      if (v + wert(4) > H) schreibe(2, H - wert(4));
      break;
    case 3:
      if (v < 10) schreibe(3, v = 10);
      if (wert(1) + v > W) schreibe(3, W - wert(1));
      break;
    case 4:
      if (v < 10) schreibe(4, v = 10);
      if (wert(2) + v > H) schreibe(4, H - wert(2));
      break;
    default:
      break;
  }
}

bool frmPosition::eventFilter(QObject* objekt, QEvent* ereignis) {
  if (ereignis->type() == QEvent::FocusOut && isVisible()) {
    // Only focus moving inside the dialog counts as leaving a box; another window becoming
    // active or a context menu opening leaves the box as it is.
    const Qt::FocusReason grund = static_cast<QFocusEvent*>(ereignis)->reason();
    if (grund != Qt::ActiveWindowFocusReason && grund != Qt::PopupFocusReason) {
      for (int i = 1; i <= 4; ++i)
        if (objekt == boxen_[i]) Text_LostFocus(i);
    }
  }
  return QDialog::eventFilter(objekt, ereignis);
}

void frmPosition::Command1_Click() {
  const double W = s_.Seite->Breite / 10.0;
  const double H = s_.Seite->Hoehe / 10.0;

  // Page limit first, then the page's top-left corner: a frame larger than the page ends
  // at 0, never at a negative position.
  if (neuSchreiben(1) + wert(3) > W) schreibe(1, W - wert(3));
  if (wert(1) < 0) schreibe(1, 0);
  if (neuSchreiben(2) + wert(4) > H) schreibe(2, H - wert(4));
  if (wert(2) < 0) schreibe(2, 0);
  if (neuSchreiben(3) < 10) schreibe(3, 10);
  if (wert(1) + wert(3) > W) schreibe(3, W - wert(1));
  if (neuSchreiben(4) < 10) schreibe(4, 10);
  if (wert(2) + wert(4) > H) schreibe(4, H - wert(2));

  hide();
  if (s_.AktuellerRahmen < 1 || s_.AktuellerRahmen > s_.AnzahlRahmen) return;
  ClassRahmen& r = s_.rahmen(s_.AktuellerRahmen);
  auto zehntel = [this](int i) { return zahlen::int32Begrenzt(zahlen::nint(wert(i) * 10)); };
  r.x = zehntel(1);
  r.y = zehntel(2);
  r.Breite = zehntel(3);
  r.Hoehe = zehntel(4);
  r.Proportional = Check1->isChecked();
  r.Verankert = Check2->isChecked();

  s_.fenster->setzeRahmen(RahmenRechteck(s_, s_.AktuellerRahmen));
  s_.fenster->MarkierungZeigen();
  SeiteZeichnen(s_);
}

void frmPosition::Command2_Click() { hide(); }

void frmPosition::reject() { Command2_Click(); }
