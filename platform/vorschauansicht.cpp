#include "platform/vorschauansicht.h"

#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "platform/drucksteuerung.h"

namespace {

// The content widget: grey ground with the pages on it; painting is done by the view.
class Seitenstapel : public QWidget {
 public:
  explicit Seitenstapel(QWidget* eltern) : QWidget(eltern) {
    setAttribute(Qt::WA_OpaquePaintEvent);
  }
};

constexpr double ZOOM_MIN = 0.1;
constexpr double ZOOM_MAX = 8.0;

}  // namespace

Vorschauansicht::Vorschauansicht(QWidget* eltern) : QScrollArea(eltern) {
  auto* stapel = new Seitenstapel(this);
  stapel->installEventFilter(this);
  setWidget(stapel);
  setWidgetResizable(false);
  setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  setBackgroundRole(QPalette::Dark);
  setFocusPolicy(Qt::StrongFocus);
  neuAnordnen();
}

void Vorschauansicht::setzeDrucksteuerung(const Drucksteuerung* drucksteuerung) {
  drucksteuerung_ = drucksteuerung;
  aktualisieren();
}

void Vorschauansicht::aktualisieren() {
  bilder_.clear();
  gezeigteNummer_ = drucksteuerung_ ? drucksteuerung_->dokumentNummer() : -1;
  if (drucksteuerung_) {
    const double dpi = 96.0 * zoom_ * devicePixelRatioF();
    for (int i = 0; i < drucksteuerung_->seitenzahl(); ++i) {
      QImage bild = drucksteuerung_->seiteAlsBild(i, dpi);
      bild.setDevicePixelRatio(devicePixelRatioF());
      bilder_.push_back(std::move(bild));
    }
  }
  neuAnordnen();
}

void Vorschauansicht::setzeZoom(double faktor) {
  if (!std::isfinite(faktor)) return;
  faktor = std::clamp(faktor, ZOOM_MIN, ZOOM_MAX);
  if (faktor == zoom_) return;
  zoom_ = faktor;
  aktualisieren();
}

const QImage& Vorschauansicht::seitenbild(int index) const {
  static const QImage leer;
  return index >= 0 && index < seitenzahl() ? bilder_[index] : leer;
}

QRect Vorschauansicht::seitenrechteck(int index) const {
  return index >= 0 && index < static_cast<int>(rechtecke_.size()) ? rechtecke_[index] : QRect();
}

void Vorschauansicht::neuAnordnen() {
  rechtecke_.clear();
  int breite = 0;
  int y = ABSTAND;
  for (const QImage& bild : bilder_) {
    const QSize groesse = (QSizeF(bild.size()) / bild.devicePixelRatio()).toSize();
    rechtecke_.emplace_back(QPoint(ABSTAND, y), groesse);
    y += groesse.height() + ABSTAND;
    breite = std::max(breite, groesse.width());
  }
  // Pages narrower than the widest are centred.
  for (QRect& r : rechtecke_) r.moveLeft(ABSTAND + (breite - r.width()) / 2);
  widget()->resize(breite + 2 * ABSTAND, std::max(y, 2 * ABSTAND));
  widget()->update();
}

bool Vorschauansicht::eventFilter(QObject* objekt, QEvent* ereignis) {
  if (objekt == widget() && ereignis->type() == QEvent::Paint) {
    if (drucksteuerung_ && drucksteuerung_->dokumentNummer() != gezeigteNummer_) {
      aktualisieren();
    }
    QPainter maler(widget());
    const QRect bereich = static_cast<QPaintEvent*>(ereignis)->rect();
    maler.fillRect(bereich, palette().color(QPalette::Dark));
    for (size_t i = 0; i < bilder_.size(); ++i) {
      const QRect& r = rechtecke_[i];
      if (!r.adjusted(0, 0, 4, 4).intersects(bereich)) continue;
      maler.fillRect(r.translated(3, 3), QColor(0, 0, 0, 90));
      maler.drawImage(r.topLeft(), bilder_[i]);
    }
    return true;
  }
  return QScrollArea::eventFilter(objekt, ereignis);
}

void Vorschauansicht::keyPressEvent(QKeyEvent* ereignis) {
  switch (ereignis->key()) {
    case Qt::Key_Plus:
      setzeZoom(zoom_ * 1.25);
      break;
    case Qt::Key_Minus:
      setzeZoom(zoom_ / 1.25);
      break;
    case Qt::Key_0:
      setzeZoom(1.0);
      break;
    default:
      QScrollArea::keyPressEvent(ereignis);
  }
}

void Vorschauansicht::wheelEvent(QWheelEvent* ereignis) {
  if (ereignis->modifiers() & Qt::ControlModifier) {
    const int schritte = ereignis->angleDelta().y() / 120;
    if (schritte != 0) setzeZoom(zoom_ * std::pow(1.25, schritte));
    ereignis->accept();
    return;
  }
  QScrollArea::wheelEvent(ereignis);
}
