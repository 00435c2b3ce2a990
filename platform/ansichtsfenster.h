// The scrolling viewport around the page view, and the widget that shows a picture
// surface in it. Sizes are given and read in twips (15 twips per screen pixel).
#pragma once

#include <QScrollArea>
#include <QSizeF>
#include <QWidget>

class Bildflaeche;

class Ansichtsfenster : public QScrollArea {
  Q_OBJECT

 public:
  explicit Ansichtsfenster(QWidget* eltern = nullptr);

  // The content widget; the viewport takes it over (a previous one is deleted).
  void setzeInhalt(QWidget* inhalt);
  QWidget* inhalt() const { return widget(); }

  // Sets the content's size in twips, rounded to whole pixels, and returns the size it
  // took in twips. Negative or non-finite sizes count as 0.
  QSizeF setzeInhaltsgroesse(double breiteTwips, double hoeheTwips);
  QSizeF inhaltsgroesse() const;

  // Size of the viewport control itself in twips.
  double Width() const;
  double Height() const;
  void setWidth(double twips);
  void setHeight(double twips);
};

// Shows the pixels of a picture surface at its top-left corner; the surface stays the
// caller's. Call update() after drawing on the surface.
class Flaechenanzeige : public QWidget {
  Q_OBJECT

 public:
  explicit Flaechenanzeige(Bildflaeche* flaeche = nullptr, QWidget* eltern = nullptr);
  void setzeFlaeche(Bildflaeche* flaeche);
  Bildflaeche* flaeche() const { return flaeche_; }

 protected:
  void paintEvent(QPaintEvent* ereignis) override;

 private:
  Bildflaeche* flaeche_;
};
