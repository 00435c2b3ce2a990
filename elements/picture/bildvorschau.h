// A preview that shows an imaging control's bitmap fitted into its area, keeping the
// picture's proportions and centring it. Without a bitmap it shows an optional hint text.
// The control stays the caller's; call update() after it was loaded or processed.
#pragma once

#include <QFrame>
#include <QPixmap>
#include <QString>

class Bildsteuerung;

class Bildvorschau : public QFrame {
  Q_OBJECT

 public:
  explicit Bildvorschau(Bildsteuerung* steuerung = nullptr, QWidget* eltern = nullptr);

  void setzeSteuerung(Bildsteuerung* steuerung);
  Bildsteuerung* steuerung() const { return steuerung_; }

  // Text shown in the middle while the control holds no bitmap (empty: nothing).
  void setzeHinweis(const QString& text);
  QString hinweis() const { return hinweis_; }

  // Where the bitmap is drawn inside the widget: the largest rectangle of the bitmap's
  // proportions that fits the content area, centred. Empty without a bitmap.
  QRect bildRechteck() const;

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* ereignis) override;

 private:
  Bildsteuerung* steuerung_;
  QString hinweis_;
  // The bitmap scaled to the last drawn size, reused while neither changes.
  QPixmap skaliert_;
  qint64 skaliertSchluessel_ = 0;
};
