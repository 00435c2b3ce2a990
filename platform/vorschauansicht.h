// The preview of the print control: shows the pages of the held document one below the
// other at a readable size, scrollable. Ctrl with the mouse wheel or the keys + and -
// change the scale; 0 goes back to real size.
#pragma once

#include <QImage>
#include <QScrollArea>
#include <vector>

class Drucksteuerung;

class Vorschauansicht : public QScrollArea {
  Q_OBJECT

 public:
  static constexpr int ABSTAND = 16;  // pixels around and between the pages

  explicit Vorschauansicht(QWidget* eltern = nullptr);

  // The print control whose document is shown; it stays the caller's.
  void setzeDrucksteuerung(const Drucksteuerung* drucksteuerung);
  // Renders the held pages anew. The view also does so by itself when it is painted
  // and the control holds another document than the one it shows.
  void aktualisieren();

  // Scale: 1 shows the paper at its real size on a 96-dpi screen.
  double zoom() const { return zoom_; }
  void setzeZoom(double faktor);

  int seitenzahl() const { return static_cast<int>(bilder_.size()); }
  const QImage& seitenbild(int index) const;
  // Where page index lies in the content widget (pixels).
  QRect seitenrechteck(int index) const;

 protected:
  void keyPressEvent(QKeyEvent* ereignis) override;
  void wheelEvent(QWheelEvent* ereignis) override;
  bool eventFilter(QObject* objekt, QEvent* ereignis) override;

 private:
  void neuAnordnen();
  const Drucksteuerung* drucksteuerung_ = nullptr;
  int gezeigteNummer_ = -1;
  double zoom_ = 1.0;
  std::vector<QImage> bilder_;
  std::vector<QRect> rechtecke_;
};
