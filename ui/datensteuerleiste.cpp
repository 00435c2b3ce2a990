#include "ui/datensteuerleiste.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

#include "platform/datensteuerung.h"

namespace {

QToolButton* knopf(QWidget* eltern, const QString& text, const QString& tipp, const QString& name) {
  auto* k = new QToolButton(eltern);
  k->setText(text);
  k->setToolTip(tipp);
  k->setAccessibleName(tipp);
  k->setObjectName(name);
  k->setAutoRaise(false);
  k->setFocusPolicy(Qt::NoFocus);  // focus stays in the field being edited
  return k;
}

}  // namespace

Datensteuerleiste::Datensteuerleiste(Datensteuerung* steuerung, QWidget* eltern)
    : QWidget(eltern), steuerung_(steuerung) {
  erster_ = knopf(this, QStringLiteral("|<"), QStringLiteral("Erster Datensatz"),
                  QStringLiteral("ersterKnopf"));
  voriger_ = knopf(this, QStringLiteral("<"), QStringLiteral("Vorheriger Datensatz"),
                   QStringLiteral("vorigerKnopf"));
  naechster_ = knopf(this, QStringLiteral(">"), QStringLiteral("Nächster Datensatz"),
                     QStringLiteral("naechsterKnopf"));
  letzter_ = knopf(this, QStringLiteral(">|"), QStringLiteral("Letzter Datensatz"),
                   QStringLiteral("letzterKnopf"));
  caption_ = new QLabel(this);
  caption_->setObjectName(QStringLiteral("caption"));
  caption_->setTextFormat(Qt::PlainText);
  caption_->setFrameShape(QFrame::Panel);
  caption_->setFrameShadow(QFrame::Sunken);
  caption_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);

  auto* reihe = new QHBoxLayout(this);
  reihe->setContentsMargins(0, 0, 0, 0);
  reihe->setSpacing(0);
  reihe->addWidget(erster_);
  reihe->addWidget(voriger_);
  reihe->addWidget(caption_, 1);
  reihe->addWidget(naechster_);
  reihe->addWidget(letzter_);

  if (!steuerung_) {
    zustandZeigen();
    return;
  }
  connect(erster_, &QToolButton::clicked, this, [this] { nachBewegung(steuerung_->MoveFirst()); });
  // On the first or last record the control is not moved off the records.
  connect(voriger_, &QToolButton::clicked, this, [this] {
    if (steuerung_->AbsolutePosition() == 0) return nachBewegung(steuerung_->MoveFirst());
    bool ok = steuerung_->MovePrevious();
    if (ok && steuerung_->BOF()) ok = steuerung_->MoveFirst();
    nachBewegung(ok);
  });
  connect(naechster_, &QToolButton::clicked, this, [this] {
    const int stelle = steuerung_->AbsolutePosition();
    if (stelle >= 0 && stelle == steuerung_->RecordCount() - 1)
      return nachBewegung(steuerung_->MoveLast());
    bool ok = steuerung_->MoveNext();
    if (ok && steuerung_->Eof()) ok = steuerung_->MoveLast();
    nachBewegung(ok);
  });
  connect(letzter_, &QToolButton::clicked, this, [this] { nachBewegung(steuerung_->MoveLast()); });
  connect(steuerung_, &Datensteuerung::captionGeaendert, caption_, &QLabel::setText);
  connect(steuerung_, &Datensteuerung::datensatzGewechselt, this,
          &Datensteuerleiste::zustandZeigen);
  zustandZeigen();
}

void Datensteuerleiste::setzeMeldung(std::function<void(const QString&)> meldung) {
  meldung_ = std::move(meldung);
}

void Datensteuerleiste::nachBewegung(bool ok) {
  if (!ok && steuerung_->offen() && meldung_) meldung_(steuerung_->fehler());
}

void Datensteuerleiste::zustandZeigen() {
  const bool offen = steuerung_ && steuerung_->offen();
  for (QToolButton* k : {erster_, voriger_, naechster_, letzter_}) k->setEnabled(offen);
  caption_->setText(steuerung_ ? steuerung_->Caption() : QString());
}
