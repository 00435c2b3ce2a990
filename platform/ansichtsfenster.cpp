#include "platform/ansichtsfenster.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "platform/bildflaeche.h"
#include "platform/einheiten.h"
#include "platform/zahlen.h"

namespace {

int pixelAus(double twips) {
  if (!std::isfinite(twips) || twips <= 0) return 0;
  return static_cast<int>(
      std::min(zahlen::nint(einheiten::pixelAusTwips(twips)), double(QWIDGETSIZE_MAX)));
}

}  // namespace

Ansichtsfenster::Ansichtsfenster(QWidget* eltern) : QScrollArea(eltern) {
  setWidgetResizable(false);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  setBackgroundRole(QPalette::Dark);
}

void Ansichtsfenster::setzeInhalt(QWidget* inhalt) {
  const QSize groesse = widget() ? widget()->size() : QSize();
  delete takeWidget();
  if (!inhalt) return;
  if (groesse.isValid()) inhalt->resize(groesse);
  setWidget(inhalt);
}

QSizeF Ansichtsfenster::setzeInhaltsgroesse(double breiteTwips, double hoeheTwips) {
  const QSize pixel(pixelAus(breiteTwips), pixelAus(hoeheTwips));
  if (QWidget* w = widget()) {
    w->resize(pixel);
  }
  return QSizeF(einheiten::twipsAusPixel(pixel.width()), einheiten::twipsAusPixel(pixel.height()));
}

QSizeF Ansichtsfenster::inhaltsgroesse() const {
  const QSize pixel = widget() ? widget()->size() : QSize(0, 0);
  return QSizeF(einheiten::twipsAusPixel(pixel.width()), einheiten::twipsAusPixel(pixel.height()));
}

double Ansichtsfenster::Width() const { return einheiten::twipsAusPixel(width()); }
double Ansichtsfenster::Height() const { return einheiten::twipsAusPixel(height()); }
void Ansichtsfenster::setWidth(double twips) { resize(pixelAus(twips), height()); }
void Ansichtsfenster::setHeight(double twips) { resize(width(), pixelAus(twips)); }

Flaechenanzeige::Flaechenanzeige(Bildflaeche* flaeche, QWidget* eltern)
    : QWidget(eltern), flaeche_(flaeche) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void Flaechenanzeige::setzeFlaeche(Bildflaeche* flaeche) {
  flaeche_ = flaeche;
  update();
}

void Flaechenanzeige::paintEvent(QPaintEvent* ereignis) {
  QPainter maler(this);
  maler.fillRect(ereignis->rect(), palette().color(QPalette::Dark));
  if (flaeche_) maler.drawImage(0, 0, flaeche_->bild());
}

Pixelverhaeltnisfolger::Pixelverhaeltnisfolger(QWidget* anzeige,
                                               std::function<std::vector<Bildflaeche*>()> flaechen,
                                               std::function<void()> neuZeichnen)
    : QObject(anzeige),
      anzeige_(anzeige),
      flaechen_(std::move(flaechen)),
      neuZeichnen_(std::move(neuZeichnen)) {
  anzeige->installEventFilter(this);
}

bool Pixelverhaeltnisfolger::weichtAb() const {
  const double verhaeltnis = anzeige_->devicePixelRatioF();
  for (const Bildflaeche* f : flaechen_())
    if (f && f->pixelverhaeltnis() != verhaeltnis) return true;
  return false;
}

void Pixelverhaeltnisfolger::anpassen() {
  angefragt_ = false;
  if (!anzeige_->isVisible() || !weichtAb()) return;
  const double verhaeltnis = anzeige_->devicePixelRatioF();
  for (Bildflaeche* f : flaechen_())
    if (f) f->setzePixelverhaeltnis(verhaeltnis);
  if (neuZeichnen_) neuZeichnen_();
  anzeige_->update();
}

bool Pixelverhaeltnisfolger::eventFilter(QObject* objekt, QEvent* ereignis) {
  switch (ereignis->type()) {
    case QEvent::Show:
    case QEvent::ScreenChangeInternal:
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    case QEvent::DevicePixelRatioChange:
#endif
    // A paint comes with every change of the ratio, also where no event of its own tells.
    case QEvent::Paint:
      if (!angefragt_ && weichtAb()) {
        angefragt_ = true;
        QTimer::singleShot(0, this, [this] { anpassen(); });
      }
      break;
    default:
      break;
  }
  return QObject::eventFilter(objekt, ereignis);
}
