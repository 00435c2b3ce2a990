#include "io/druckfortschritt.h"

#include <QCoreApplication>
#include <QProgressDialog>
#include <utility>

#include "platform/drucksteuerung.h"

Druckfortschritt::Druckfortschritt(Drucksteuerung& drucker, QWidget* eltern, QString text)
    : drucker_(drucker), eltern_(eltern), text_(std::move(text)) {
  uhr_.start();
  vorher_ = std::exchange(drucker_.Zwischendurch, [this] { return zwischendurch(); });
}

Druckfortschritt::~Druckfortschritt() { drucker_.Zwischendurch = std::move(vorher_); }

void Druckfortschritt::zeigen(const QString& text, int wert, int bis) {
  if (!fenster_) {
    fenster_ = std::make_unique<QProgressDialog>(eltern_);
    fenster_->setObjectName(QStringLiteral("Druckfortschritt"));
    fenster_->setWindowTitle(QStringLiteral("Drucken"));
    fenster_->setCancelButtonText(QStringLiteral("Abbruch"));
    fenster_->setWindowModality(Qt::ApplicationModal);
    fenster_->setAutoClose(false);
    fenster_->setAutoReset(false);
    fenster_->setMinimumDuration(0);
    fenster_->setMinimumWidth(320);
    fenster_->show();
  }
  fenster_->setRange(0, bis);
  fenster_->setLabelText(text);
  fenster_->setValue(wert);
}

bool Druckfortschritt::weiter() {
  QCoreApplication::processEvents();
  return !abgebrochen();
}

bool Druckfortschritt::abgebrochen() const { return fenster_ && fenster_->wasCanceled(); }

bool Druckfortschritt::zwischendurch() {
  if (!fenster_) {
    // Until the window shows, the other windows take no input: they are only drawn.
    if (uhr_.elapsed() < 1000) {
      QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
      return true;
    }
    zeigen(text_, 0, 0);
  }
  return weiter();
}
