// The page widget of the main window (PictureSeite): shows the page surface, the selection
// rectangle (Rahmen) and its eight drag handles (Ziehpunkt 1..8), and turns the mouse and
// the Delete key into editing of the selected frame.
//
// All geometry is in twips of the page surface. Dragging only moves the selection
// rectangle; when the button is released the rectangle is taken over into the frame
// (ZiehenUebernehmen), which keeps it on the page and snaps it.
#pragma once

#include <QPointF>
#include <QPointer>
#include <QRectF>
#include <QWidget>
#include <array>

struct Programmzustand;
class Seitenansicht;

// One drag handle: a small square of 100 x 100 twips that keeps the mouse while its
// button is held. Numbered clockwise from the top-left corner.
class Ziehpunkt : public QWidget {
  Q_OBJECT
 public:
  Ziehpunkt(int index, Seitenansicht* seite);
  int index() const { return index_; }

 protected:
  void paintEvent(QPaintEvent* ereignis) override;
  void mousePressEvent(QMouseEvent* ereignis) override;
  void mouseMoveEvent(QMouseEvent* ereignis) override;
  void mouseReleaseEvent(QMouseEvent* ereignis) override;

 private:
  int index_;
  Seitenansicht* seite_;
};

class Seitenansicht : public QWidget {
  Q_OBJECT
 public:
  explicit Seitenansicht(Programmzustand& s, QWidget* eltern = nullptr);

  // The selection rectangle in twips, and whether it is shown.
  QRectF Rahmen() const { return rahmen_; }
  void setzeRahmen(const QRectF& rechteck);
  bool rahmenSichtbar() const { return rahmenSichtbar_; }
  void setzeRahmenSichtbar(bool sichtbar);

  // Handle i (1..8): its top-left corner in twips and whether it is shown.
  void setzeZiehpunkt(int i, const QPointF& linksObenTwips, bool sichtbar);
  Ziehpunkt* ziehpunkt(int i) const { return ziehpunkte_.at(i); }

  // The visible part of the scrolling viewport. While a button is held the positions the
  // handlers work with are kept inside it, give or take one handle's size (the pointer
  // itself is never moved).
  void setzeSichtbereich(QWidget* bereich) { sichtbereich_ = bereich; }

  // Twips per pixel of the page surface.
  double twipsProPixelX() const;
  double twipsProPixelY() const;

  // A length on the page surface as the status bar shows it: centimetres, cut to two
  // decimals, in the user's locale.
  static QString zentimeterText(double twips, double zoom);

  // Handlers of the handles; Ziehpunkt forwards its mouse events here (coordinates in
  // twips of the handle).
  void Ziehpunkt_MouseDown(int Index, Qt::MouseButton Button, double X, double Y);
  void Ziehpunkt_MouseMove(int Index, Qt::MouseButtons Buttons, double X, double Y);
  void Ziehpunkt_MouseUp(int Index, Qt::MouseButton Button, double X, double Y);

  // Keeps a position (in the coordinates of widget w) inside the visible viewport while
  // the mouse is held.
  QPointF begrenzt(const QWidget* w, const QPointF& lokal) const;

 signals:
  // A status bar panel (1..4) gets a new text.
  void statusText(int panel, const QString& text);
  // The right button was released on the page: the frame popup menu is wanted here.
  void kontextmenue(const QPoint& global);

 protected:
  void paintEvent(QPaintEvent* ereignis) override;
  void mousePressEvent(QMouseEvent* ereignis) override;
  void mouseMoveEvent(QMouseEvent* ereignis) override;
  void mouseReleaseEvent(QMouseEvent* ereignis) override;
  void keyPressEvent(QKeyEvent* ereignis) override;

 private:
  void PictureSeite_MouseDown(Qt::MouseButton Button, double X, double Y);
  void PictureSeite_MouseMove(Qt::MouseButtons Buttons, double X, double Y);
  void PictureSeite_MouseUp(Qt::MouseButton Button, const QPoint& global, double X, double Y);

  void CursorBegrenzen() { begrenzt_ = true; }
  void CursorFreigeben() { begrenzt_ = false; }
  bool rechteckVerankert() const;
  // Finishes a move of the selection (or the drawing of a new frame) that is under way.
  void ziehenBeenden();
  void groesseMelden();
  // Keeps the mouse position and the frame's edges at a press that starts to resize it.
  void startMerken(double X, double Y);
  QRect pixelRechteck(const QRectF& twips) const;

  Programmzustand& s_;
  QRectF rahmen_;
  bool rahmenSichtbar_ = true;
  std::array<Ziehpunkt*, 9> ziehpunkte_{};
  QPointer<QWidget> sichtbereich_;
  bool begrenzt_ = false;
  // A left press on the page that may still end as a plain click (hit test).
  bool klickOffen_ = false;
  // A left press on a handle whose release still has to be applied.
  bool ziehpunktGedrueckt_ = false;
};
