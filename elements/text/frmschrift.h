// The properties dialog of a text element, "Einstellen der Schrift". It copies the current
// text element Schriften(AktuelleSchrift) into the working copy MusterSchrift when shown,
// every control edits the working copy and redraws the word "Muster" in the sample of the
// page shown, OK writes the copy back and redraws the page, "Abbruch" drops it.
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
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QTabWidget;

class frmSchrift : public Musterdialog {
  Q_OBJECT
 public:
  frmSchrift(Programmzustand& s, QWidget* eltern = nullptr);
  ~frmSchrift() override;

  // Opens the dialog for the current text element: first tab, working copy loaded, sample
  // drawn, controls set from the copy; the main window is kept from input until it closes.
  // Does nothing when AktuelleSchrift names no text element.
  void zeigen();

  // --- Controls ------------------------------------------------------------------------
  // Tabs "Font", "Farbe", "Schatten", "Winkel und Abstände"; page i (1 to 4) is Frame1(i)
  // with its sample PicMusterSchrift(i) shown by musterAnzeige(i).
  QTabWidget* TabStripSchrift() const { return tabStrip_; }
  Bildflaeche* PicMusterSchrift(int i) const { return muster_.at(i).get(); }

  QLineEdit* Schrifttext() const { return schrifttext_; }
  QCheckBox* Check1() const { return check1_; }
  QCheckBox* Check3() const { return check3_; }
  QCheckBox* Check4() const { return check4_; }
  QComboBox* Combo1() const { return combo1_; }
  QComboBox* Combo2() const { return combo2_; }
  QComboBox* Combo3() const { return combo3_; }

  QSlider* SliderAngle() const { return sliderAngle_; }
  QLineEdit* MaskEdBoxAngle() const { return maskEdBoxAngle_; }
  QSlider* SliderSpace() const { return sliderSpace_; }
  QLineEdit* MaskEdBoxSpace() const { return maskEdBoxSpace_; }
  // 1 "Linksbündig", 2 "zentriert", 3 "rechtbündig"; 4 "oben", 5 "zentriert", 6 "unten".
  QRadioButton* OptAus(int i) const { return optAus_.at(i); }

  QPushButton* CommandOK() const { return commandOK_; }
  QPushButton* CommandAbbruch() const { return commandAbbruch_; }

  // --- Handlers ------------------------------------------------------------------------
  void CommandOK_Click();
  void CommandAbbruch_Click();
  // Redraws the sample of the page shown.
  void MusterZeichnen();

 protected:
  void abbrechen() override { CommandAbbruch_Click(); }

 private:
  void bauen();
  QWidget* baueFontseite();
  QWidget* baueWinkelseite();
  void Form_Load();
  void Form_Activate();

  void Check_Click(int i);
  void Combo1_Click();
  void Combo2_Click();
  void Combo3_Click(int index);
  void Combo3_Change(const QString& text);
  void SliderAngle_Change(int wert);
  void MaskEdBoxAngle_Change();
  void SliderSpace_Change(int wert);
  void MaskEdBoxSpace_Change();
  void OptAus_Click(int i);
  void TabStripSchrift_Click(int index);

  bool geladen_ = false;
  // While the controls are set from the working copy, the sample is drawn once at the end.
  bool zeichnenAufgeschoben_ = false;


  QLineEdit* schrifttext_ = nullptr;
  QCheckBox* check1_ = nullptr;
  QCheckBox* check3_ = nullptr;
  QCheckBox* check4_ = nullptr;
  QComboBox* combo1_ = nullptr;
  QComboBox* combo2_ = nullptr;
  QComboBox* combo3_ = nullptr;
  QSlider* sliderAngle_ = nullptr;
  QLineEdit* maskEdBoxAngle_ = nullptr;
  QSlider* sliderSpace_ = nullptr;
  QLineEdit* maskEdBoxSpace_ = nullptr;
  std::array<QRadioButton*, 7> optAus_{};
  QPushButton* commandOK_ = nullptr;
  QPushButton* commandAbbruch_ = nullptr;
};
