// The scrolling viewport around the page view, and the widget that shows a picture
// surface in it. Sizes are given and read in twips (15 twips per screen pixel).
#pragma once

#include <QScrollArea>
#include <QSizeF>
#include <QWidget>
#include <functional>
#include <vector>

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

// Keeps the picture surfaces a widget shows at the device pixel ratio of the screen the
// widget is on. When the widget is shown, moves to a screen of another ratio or its screen's
// ratio changes, every surface asked for another ratio takes the widget's, and `neuZeichnen`
// draws them again: after the event, never inside a paint or a redraw under way. The
// follower belongs to the widget (its parent) and lives as long as it.
class Pixelverhaeltnisfolger : public QObject {
  Q_OBJECT

 public:
  Pixelverhaeltnisfolger(QWidget* anzeige, std::function<std::vector<Bildflaeche*>()> flaechen,
                         std::function<void()> neuZeichnen);

 protected:
  bool eventFilter(QObject* objekt, QEvent* ereignis) override;

 private:
  bool weichtAb() const;
  // Brings the surfaces to the widget's ratio, if it differs, and has them drawn again.
  void anpassen();

  QWidget* anzeige_;
  std::function<std::vector<Bildflaeche*>()> flaechen_;
  std::function<void()> neuZeichnen_;
  bool angefragt_ = false;
};
