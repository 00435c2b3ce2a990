// Controls shared by the text dialog and the line/shape dialog: the palette of 48 fixed
// colours, the colour indicator, a box that can be marked (shadow type, shadow direction),
// the ring of eight shadow direction boxes, the colour dialog, and the two groups of
// controls that both dialogs carry with the same behaviour: the colour page (text or line
// colour, gradient colour, gradient mode) and the shadow page (direction, length, type,
// two shadow colours).
//
// The groups edit the members of a working copy through pointers handed to them with
// binden(); every change ends with the redraw callback of the dialog.
#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "platform/gdi.h"

class QLabel;
class QLineEdit;
class QPainter;
class QPushButton;
class QRadioButton;
class QSlider;
class QVBoxLayout;

// Colours are RGB values red + 256 * green + 65536 * blue (farbeAusRgb of platform/gdi.h
// turns them into a QColor).
int32_t rgbAusFarbe(const QColor& farbe);

// The colour dialog "Farbe wählen" with the full dialog and custom colours, starting from
// `start`. Empty when the user cancels.
std::optional<int32_t> FarbeWaehlen(int32_t start, QWidget* eltern);

// 48 colour swatches of 17 x 17 pixels in 8 rows of 6 at a pitch of 16 pixels. A click on a
// swatch reports its colour.
class Farbpalette : public QWidget {
  Q_OBJECT
 public:
  static constexpr int Zeilen = 8;
  static constexpr int Spalten = 6;
  static constexpr int Anzahl = Zeilen * Spalten;
  static constexpr int Feld = 17;
  static constexpr int Abstand = 16;

  // The colours, row by row from the top, each row from the left.
  static const std::array<int32_t, Anzahl>& Farben();

  explicit Farbpalette(QWidget* eltern = nullptr);

  // Swatch i (0 to 47, row by row): its colour, its rectangle and its centre in pixels of
  // this widget.
  int32_t farbe(int i) const;
  QRect feldRechteck(int i) const;
  QPoint feldMitte(int i) const { return feldRechteck(i).center(); }
  // The swatch under a point, or -1.
  int feldBei(const QPoint& punkt) const;

  QSize sizeHint() const override;

 signals:
  void farbeGewaehlt(int32_t farbe);

 protected:
  void paintEvent(QPaintEvent* ereignis) override;
  void mousePressEvent(QMouseEvent* ereignis) override;
  void mouseReleaseEvent(QMouseEvent* ereignis) override;

 private:
  int gedrueckt_ = -1;
};

// A small box filled with a colour: shows one colour member of the working copy.
class Farbanzeige : public QWidget {
  Q_OBJECT
 public:
  explicit Farbanzeige(QWidget* eltern = nullptr);
  void setzeFarbe(int32_t rgb);
  int32_t farbe() const { return farbe_; }

 protected:
  void paintEvent(QPaintEvent* ereignis) override;

 private:
  int32_t farbe_ = 0;
};

// A box that reports a click: the left button pressed and released on it.
class Klickfeld : public QWidget {
  Q_OBJECT
 public:
  using QWidget::QWidget;

 signals:
  void geklickt();

 protected:
  void mousePressEvent(QMouseEvent* ereignis) override;
  void mouseReleaseEvent(QMouseEvent* ereignis) override;

 private:
  bool gedrueckt_ = false;
};

// A box with a background colour (the selected one in MarkierFarbe, the others in
// NormalFarbe) and a symbol painted on it.
class Markierfeld : public Klickfeld {
  Q_OBJECT
 public:
  using Symbol = std::function<void(QPainter& maler, const QRect& flaeche)>;

  explicit Markierfeld(Symbol symbol = {}, QWidget* eltern = nullptr);
  void setzeHintergrund(int32_t rgb);
  int32_t hintergrund() const { return hintergrund_; }

 protected:
  void paintEvent(QPaintEvent* ereignis) override;

 private:
  Symbol symbol_;
  int32_t hintergrund_ = 0xC0C0C0;
};

// Eight direction boxes on the ring of a 3 x 3 grid (boxes of 17 pixels at a pitch of 24):
// top row box 8 (135 degrees), 1 (90), 2 (45); middle row 7 (180), centre, 3 (0); bottom
// row 6 (225), 5 (270), 4 (315). The centre holds a box without function, or nothing.
class Richtungswahl : public QWidget {
  Q_OBJECT
 public:
  static constexpr int Feld = 17;
  static constexpr int Abstand = 24;

  // The direction of box k (1 to 8) in degrees.
  static int Winkel(int k);
  // The box of the sector that holds a shadow angle: each sector of 45 degrees takes the
  // direction at its lower edge (below 45 box 3, below 90 box 2, ..., below 360 box 4).
  // 0 for 360 and above.
  static int Sektor(double winkel);

  // zentrumTip: tool tip of the centre box; empty: no centre box.
  explicit Richtungswahl(const QString& zentrumTip, QWidget* eltern = nullptr);

  Markierfeld* feld(int k) const { return felder_.at(k); }
  Markierfeld* zentrum() const { return zentrum_; }
  // All eight boxes in one colour.
  void alleFaerben(int32_t rgb);

 signals:
  void geklickt(int k);

 private:
  std::array<Markierfeld*, 9> felder_{};
  Markierfeld* zentrum_ = nullptr;
};

// A palette with its caption above it and, below it, the indicator of the chosen colour
// and the button "Mehr..." for the colour dialog.
class Farbgruppe : public QWidget {
  Q_OBJECT
 public:
  Farbgruppe(const QString& titel, const QString& tip, QWidget* eltern = nullptr);
  Farbpalette* palette() const { return palette_; }
  QPushButton* mehr() const { return mehr_; }
  Farbanzeige* anzeige() const { return anzeige_; }

 private:
  Farbpalette* palette_;
  QPushButton* mehr_;
  Farbanzeige* anzeige_;
};

// What a control group needs of its dialog.
struct Dialogumgebung {
  std::function<void()> neuZeichnen;                                // redraws the sample
  std::function<std::optional<int32_t>(int32_t start)> farbdialog;  // empty: cancelled
  int32_t markierFarbe = 0xC0FFC0;
  int32_t normalFarbe = 0xC0C0C0;
};

// What the colour page and the shadow page share: the dialog they work for, its redraw, and
// the way a colour member takes a colour from a palette or from the colour dialog.
class Farbseite : public QWidget {
 protected:
  using QWidget::QWidget;
  // Sends the palette clicks and the "Mehr..." presses of a colour group to two handlers of
  // the page.
  template <class Seite>
  void verbinden(Farbgruppe* gruppe, void (Seite::*farbe)(int32_t), void (Seite::*mehr)());
  void zeichnen();
  // Stores a colour in the member, redraws and shows the member in the indicator.
  void farbeSetzen(int32_t* farbe, int32_t neu, Farbanzeige* anzeige);
  // "Mehr...": the colour dialog, starting from the member. A chosen colour is stored, after
  // `gewaehlt` has run, and the sample redrawn; the indicator shows the member either way.
  // False, doing nothing, when no member is bound or the dialog offers no colour dialog.
  bool farbeWaehlen(int32_t* farbe, Farbanzeige* anzeige,
                    const std::function<void()>& gewaehlt = {});
  const Dialogumgebung* u_ = nullptr;
};

// The colour page's controls: the element colour (`Color1`), the gradient colour
// (`Color2`) and the gradient mode (`ColorCircle`).
class Farbbedienung : public Farbseite {
  Q_OBJECT
 public:
  struct Werte {
    int32_t* Color1 = nullptr;
    int32_t* Color2 = nullptr;
    int16_t* ColorCircle = nullptr;
  };
  struct Texte {
    QString titel1;  // caption of the first palette
    QString titel2;  // caption of the second palette
    // "Mehr..." of the gradient colour finally switches "kein Farbverlauf" to
    // "Farbverlauf links/rechts", whatever the colour dialog answered.
    bool mehr2SchaltetVerlaufEin = false;
  };

  Farbbedienung(const Texte& texte, QWidget* eltern = nullptr);

  // Points the controls at the members they edit.
  void binden(const Werte& werte, const Dialogumgebung* umgebung);
  // Sets the controls from the members. The gradient option buttons run their handler,
  // so that the member holds the mode the dialog shows.
  void laden();

  Farbpalette* Schriftfarbe() const { return gruppe1_->palette(); }
  Farbpalette* Farbverlauf() const { return gruppe2_->palette(); }
  QPushButton* ComMehr1() const { return gruppe1_->mehr(); }
  QPushButton* ComMehr2() const { return gruppe2_->mehr(); }
  Farbanzeige* Shape1() const { return gruppe1_->anzeige(); }
  Farbanzeige* Shape2() const { return gruppe2_->anzeige(); }
  // i from 1 to 3: "kein Farbverlauf", "Farbverlauf links/rechts", "Farbverlauf oben/unten".
  QRadioButton* OptVerlauf(int i) const { return optVerlauf_.at(i); }
  // The column of the option buttons, for a dialog that adds controls below them.
  QVBoxLayout* verlaufSpalte() const { return verlaufSpalte_; }

  // Handlers.
  void OptVerlauf_Click(int i);
  void Schriftfarbe_Click(int32_t farbe);
  void Farbverlauf_Click(int32_t farbe);
  void ComMehr1_Click();
  void ComMehr2_Click();

 private:
  Texte texte_;
  Werte w_;
  Farbgruppe* gruppe1_;
  Farbgruppe* gruppe2_;
  std::array<QRadioButton*, 4> optVerlauf_{};
  QVBoxLayout* verlaufSpalte_;
};

// The shadow page's controls: direction boxes with the angle box, the length slider, the
// two shadow type boxes and the two shadow colour palettes.
class Schattenbedienung : public Farbseite {
  Q_OBJECT
 public:
  struct Werte {
    int16_t* ShadowAngle = nullptr;
    int16_t* ShadowDeep = nullptr;
    int16_t* ShadowType = nullptr;
    int32_t* ShadowColor1 = nullptr;
    int32_t* ShadowColor2 = nullptr;
  };
  struct Texte {
    QString staerkeTip;   // tool tip of the length slider
    QString staerkeEnde;  // label at the slider's upper end
    QString zentrumTip;   // tool tip of the centre box; empty: no centre box
    // "Mehr..." of the second shadow colour also selects the graded shadow when the colour
    // dialog was not cancelled.
    bool mehr2WaehltVerlauf = false;
  };

  // Shadow length given to the shadow when a shadow colour is chosen while it has none.
  static constexpr int16_t Anfangslaenge = 10;

  Schattenbedienung(const Texte& texte, QWidget* eltern = nullptr);

  void binden(const Werte& werte, const Dialogumgebung* umgebung);
  // Sets the controls from the members: type boxes, indicators; the angle box and the
  // slider run their handlers (the angle box marks the sector of the angle).
  void laden();

  Markierfeld* PicSchattRich(int k) const { return richtung_->feld(k); }
  Richtungswahl* richtung() const { return richtung_; }
  QLineEdit* TextSchattRich() const { return textSchattRich_; }
  QSlider* SliderSchatten() const { return sliderSchatten_; }
  Markierfeld* PicSchattTyp(int k) const { return typ_.at(k); }
  Farbpalette* PicSchattFarb1() const { return gruppe1_->palette(); }
  Farbpalette* PicSchattFarb2() const { return gruppe2_->palette(); }
  QPushButton* CommandMehr1() const { return gruppe1_->mehr(); }
  QPushButton* CommandMehr2() const { return gruppe2_->mehr(); }
  Farbanzeige* Shape3() const { return gruppe1_->anzeige(); }
  Farbanzeige* Shape4() const { return gruppe2_->anzeige(); }

  // Handlers.
  void PicSchattRich_Click(int k);
  void TextSchattRich_Change();
  void SliderSchatten_Change(int wert);
  void PicSchattTyp_Click(int k);
  void PicSchattFarb1_Click(int32_t farbe);
  void PicSchattFarb2_Click(int32_t farbe);
  void CommandMehr1_Click();
  void CommandMehr2_Click();

 private:
  void typMarkieren(int k);
  void laengeSichern();
  Texte texte_;
  Werte w_;
  Richtungswahl* richtung_;
  QLineEdit* textSchattRich_;
  QSlider* sliderSchatten_;
  std::array<Markierfeld*, 3> typ_{};
  Farbgruppe* gruppe1_;
  Farbgruppe* gruppe2_;
};

// Validators of the number boxes: up to three digits; an optional minus sign and up to two
// digits.
class QValidator;
QValidator* dreiZiffern(QObject* eltern);
QValidator* kleineZahlMitVorzeichen(QObject* eltern);
