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

#include "elements/musterdialog.h"

struct Programmzustand;
class Bildflaeche;
class Flaechenanzeige;
class QCheckBox;
class QPushButton;
class QRadioButton;
class QSlider;
class QTabWidget;

// One box of the shape chooser, 375 x 375 twips: a sunken border around a picture surface
// that holds the icon of its form.
class Formfeld : public Klickfeld {
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

 protected:
  void paintEvent(QPaintEvent* ereignis) override;

 private:
  std::unique_ptr<Bildflaeche> flaeche_;
};

class frmlinie : public Musterdialog {
  Q_OBJECT
 public:
  static constexpr int AnzahlFormfelder = 30;
  static constexpr int AnzahlFormen = 18;

  frmlinie(Programmzustand& s, QWidget* eltern = nullptr);
  ~frmlinie() override;

  // Opens the dialog for the current line element: first tab, working copy loaded,
  // controls and shape boxes set, icons and sample drawn; the main window is kept from
  // input until it closes. Does nothing when AktuelleLinie names no line element.
  void zeigen();

  // --- Controls ------------------------------------------------------------------------
  // Tabs "Farbe", "Schatten", "Form"; page i (1 to 3) is Frame1(i) with its sample
  // PicMusterLinie(i) shown by musterAnzeige(i).
  QTabWidget* TabStripLinie() const { return tabStrip_; }
  Bildflaeche* PicMusterLinie(int i) const { return muster_.at(i).get(); }

  QSlider* SliderHeight() const { return sliderHeight_; }
  QCheckBox* CheckFuellen() const { return checkFuellen_; }
  QCheckBox* Check6() const { return check6_; }
  // The centre of the shadow direction boxes.
  Markierfeld* Picture56() const { return schatten_->richtung()->zentrum(); }

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
  void abbrechen() override { Command1_Click(); }

 private:
  void bauen();
  QWidget* baueFarbseite();
  QWidget* baueFormseite();
  void Form_Activate();

  void SliderHeight_Change(int wert);
  void CheckFuellen_Click();
  void Linienform_Click(int k);
  void TabStripLinie_Click(int index);

  bool zeichnenAufgeschoben_ = false;


  QSlider* sliderHeight_ = nullptr;
  QCheckBox* checkFuellen_ = nullptr;
  QCheckBox* check6_ = nullptr;
  std::array<Formfeld*, AnzahlFormfelder + 1> linienform_{};
  QPushButton* command3_ = nullptr;
  QPushButton* command1_ = nullptr;
};
