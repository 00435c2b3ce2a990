// The properties dialog of a line/shape element, "Einstellen der Linie". It copies the
// current element Linien(AktuelleLinie) into the working copy MusterLinie when shown, every
// control edits the working copy and redraws the sample of the page shown, "Ok" copies all
// fields back and redraws the page, "Abbruch" keeps the element and redraws the page.
// While it is open the main window takes no input.
#pragma once

#include <QDialog>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "elements/farbwahl.h"

struct Programmzustand;
class Bildflaeche;
class Flaechenanzeige;
class QCheckBox;
class QPushButton;
class QRadioButton;
class QSlider;
class QTabWidget;

// One box of the shape chooser, 375 x 375 twips: a sunken border around a picture surface
// that holds the icon of its form. A click reports itself.
class Formfeld : public QWidget {
  Q_OBJECT
 public:
  static constexpr int Rand = 2;        // pixels of border on every side
  static constexpr double Innen = 315;  // twips inside the border

  explicit Formfeld(QWidget* eltern = nullptr);
  ~Formfeld() override;
  Bildflaeche& flaeche() const { return *flaeche_; }
  // Background colour; setting it clears the box (the icon must be drawn again).
  void setzeHintergrund(int32_t rgb);
  int32_t hintergrund() const;

 signals:
  void geklickt();

 protected:
  void paintEvent(QPaintEvent* ereignis) override;
  void mousePressEvent(QMouseEvent* ereignis) override;
  void mouseReleaseEvent(QMouseEvent* ereignis) override;

 private:
  std::unique_ptr<Bildflaeche> flaeche_;
  bool gedrueckt_ = false;
};

class frmlinie : public QDialog {
  Q_OBJECT
 public:
  static constexpr double MusterBreite = 3135;
  static constexpr double MusterHoehe = 975;
  static constexpr int AnzahlFormfelder = 30;
  static constexpr int AnzahlFormen = 18;

  frmlinie(Programmzustand& s, QWidget* eltern = nullptr);
  ~frmlinie() override;

  // Opens the dialog for the current line element: first tab, working copy loaded,
  // controls and shape boxes set, icons and sample drawn; the main window is kept from
  // input until it closes. Does nothing when AktuelleLinie names no line element.
  void zeigen();

  // The colour dialog of the "Mehr..." buttons: given the start colour, returns the chosen
  // colour or nothing when cancelled. Defaults to FarbeWaehlen; tests replace it.
  std::function<std::optional<int32_t>(int32_t start)> farbdialog;

  // --- Controls ------------------------------------------------------------------------
  // Tabs "Farbe", "Schatten", "Form"; page i (1 to 3) is Frame1(i) with its sample
  // PicMusterLinie(i) shown by musterAnzeige(i).
  QTabWidget* TabStripLinie() const { return tabStrip_; }
  QWidget* Frame1(int i) const { return frame1_.at(i); }
  Bildflaeche* PicMusterLinie(int i) const { return muster_.at(i).get(); }
  Flaechenanzeige* musterAnzeige(int i) const { return anzeige_.at(i); }

  QSlider* SliderHeight() const { return sliderHeight_; }
  QCheckBox* CheckFuellen() const { return checkFuellen_; }
  QCheckBox* Check6() const { return check6_; }
  Farbbedienung* farbseite() const { return farbe_; }
  QRadioButton* OptVerlauf(int i) const { return farbe_->OptVerlauf(i); }
  Farbpalette* Schriftfarbe() const { return farbe_->Schriftfarbe(); }
  Farbpalette* Farbverlauf() const { return farbe_->Farbverlauf(); }
  QPushButton* ComMehr1() const { return farbe_->ComMehr1(); }
  QPushButton* ComMehr2() const { return farbe_->ComMehr2(); }

  Schattenbedienung* schattenseite() const { return schatten_; }
  Markierfeld* PicSchattRich(int k) const { return schatten_->PicSchattRich(k); }
  Markierfeld* Picture56() const { return schatten_->richtung()->zentrum(); }
  QLineEdit* TextSchattRich() const { return schatten_->TextSchattRich(); }
  QSlider* SliderSchatten() const { return schatten_->SliderSchatten(); }
  Markierfeld* PicSchattTyp(int k) const { return schatten_->PicSchattTyp(k); }
  Farbpalette* PicSchattFarb1() const { return schatten_->PicSchattFarb1(); }
  Farbpalette* PicSchattFarb2() const { return schatten_->PicSchattFarb2(); }
  QPushButton* CommandMehr1() const { return schatten_->CommandMehr1(); }
  QPushButton* CommandMehr2() const { return schatten_->CommandMehr2(); }

  // Shape1 to Shape4: Color1, Color2, ShadowColor1, ShadowColor2 of the working copy.
  Farbanzeige* Shape(int i) const;

  // Shape chooser boxes 1 to 30; boxes 1 to 18 carry the icons of the forms.
  Formfeld* Linienform(int k) const { return linienform_.at(k); }

  QPushButton* Command3() const { return command3_; }  // "Ok"
  QPushButton* Command1() const { return command1_; }  // "Abbruch"

  // --- Handlers ------------------------------------------------------------------------
  void Command3_Click();
  void Command1_Click();
  // Redraws the sample of the page shown.
  void MusterLinieZeichnen();
  // Draws the icons of the 18 forms into their boxes.
  void LinienformSymboleZeichnen();

 protected:
  // Escape and the title bar's close button act as "Abbruch".
  void reject() override;

 private:
  void bauen();
  QWidget* baueFarbseite();
  QWidget* baueFormseite();
  QWidget* seiteMitMuster(int i, QWidget* inhalt);
  void Form_Activate();

  void SliderHeight_Change(int wert);
  void CheckFuellen_Click();
  void Linienform_Click(int k);
  void TabStripLinie_Click(int index);

  Programmzustand& s_;
  Dialogumgebung umgebung_;
  bool zeichnenAufgeschoben_ = false;

  QTabWidget* tabStrip_ = nullptr;
  std::array<QWidget*, 4> frame1_{};
  std::array<std::unique_ptr<Bildflaeche>, 4> muster_;
  std::array<Flaechenanzeige*, 4> anzeige_{};

  QSlider* sliderHeight_ = nullptr;
  QCheckBox* checkFuellen_ = nullptr;
  QCheckBox* check6_ = nullptr;
  Farbbedienung* farbe_ = nullptr;
  Schattenbedienung* schatten_ = nullptr;
  std::array<Formfeld*, AnzahlFormfelder + 1> linienform_{};
  QPushButton* command3_ = nullptr;
  QPushButton* command1_ = nullptr;
};
