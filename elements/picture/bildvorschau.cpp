#include "elements/picture/bildvorschau.h"

#include <QImage>
#include <QPainter>

#include "platform/bildsteuerung.h"

Bildvorschau::Bildvorschau(Bildsteuerung* steuerung, QWidget* eltern)
    : QFrame(eltern), steuerung_(steuerung) {
  setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  setBackgroundRole(QPalette::Base);
  setAutoFillBackground(true);
}

void Bildvorschau::setzeSteuerung(Bildsteuerung* steuerung) {
  steuerung_ = steuerung;
  skaliert_ = QPixmap();
  update();
}

void Bildvorschau::setzeHinweis(const QString& text) {
  if (hinweis_ == text) return;
  hinweis_ = text;
  update();
}

QSize Bildvorschau::sizeHint() const { return QSize(200, 200); }

QRect Bildvorschau::bildRechteck() const {
  if (!steuerung_ || !steuerung_->hatBitmap()) return {};
  const int w = steuerung_->BitmapWidth();
  const int h = steuerung_->BitmapHeight();
  const QRect flaeche = contentsRect();
  if (w <= 0 || h <= 0 || flaeche.isEmpty()) return {};
  QSize ziel(w, h);
  ziel.scale(flaeche.size(), Qt::KeepAspectRatio);
  if (ziel.isEmpty()) ziel = ziel.expandedTo(QSize(1, 1));
  return QRect(flaeche.x() + (flaeche.width() - ziel.width()) / 2,
               flaeche.y() + (flaeche.height() - ziel.height()) / 2, ziel.width(), ziel.height());
}

void Bildvorschau::paintEvent(QPaintEvent* ereignis) {
  QFrame::paintEvent(ereignis);
  QPainter maler(this);
  const QRect ziel = bildRechteck();
  if (ziel.isEmpty()) {
    skaliert_ = QPixmap();
    if (!hinweis_.isEmpty()) {
      maler.setPen(palette().color(QPalette::PlaceholderText));
      maler.drawText(contentsRect().adjusted(6, 6, -6, -6), Qt::AlignCenter | Qt::TextWordWrap,
                     hinweis_);
    }
    return;
  }
  // Scaling a large photo on every paint would make the dialog sluggish: keep the scaled
  // copy while the bitmap and the size stay the same. It is scaled to the device pixels of
  // the screen the dialog is on, so that a high-density screen shows the picture sharp.
  const QImage bild = steuerung_->bild();
  if (bild.isNull()) return;
  const double verhaeltnis = devicePixelRatioF();
  const QSize geraet = (QSizeF(ziel.size()) * verhaeltnis).toSize();
  if (skaliert_.isNull() || skaliert_.size() != geraet || skaliertSchluessel_ != bild.cacheKey()) {
    skaliert_ =
        QPixmap::fromImage(bild.scaled(geraet, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    skaliertSchluessel_ = bild.cacheKey();
  }
  skaliert_.setDevicePixelRatio(verhaeltnis);
  maler.drawPixmap(ziel.topLeft(), skaliert_);
}
