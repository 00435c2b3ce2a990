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

#include "elements/farbwahl.h"

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

class frmSchrift : public QDialog {
  Q_OBJECT
 public:
  // Size of each sample picture in twips.
  static constexpr double MusterBreite = 3135;
  static constexpr double MusterHoehe = 975;

  frmSchrift(Programmzustand& s, QWidget* eltern = nullptr);
  ~frmSchrift() override;

  // Opens the dialog for the current text element: first tab, working copy loaded, sample
  // drawn, controls set from the copy; the main window is kept from input until it closes.
  // Does nothing when AktuelleSchrift names no text element.
  void zeigen();

  // The colour dialog of the "Mehr..." buttons: given the start colour, returns the chosen
  // colour or nothing when cancelled. Defaults to FarbeWaehlen; tests replace it.
  std::function<std::optional<int32_t>(int32_t start)> farbdialog;

  // --- Controls ------------------------------------------------------------------------
  // Tabs "Font", "Farbe", "Schatten", "Winkel und Abstände"; page i (1 to 4) is Frame1(i)
  // with its sample PicMusterSchrift(i) shown by musterAnzeige(i).
  QTabWidget* TabStripSchrift() const { return tabStrip_; }
  QWidget* Frame1(int i) const { return frame1_.at(i); }
  Bildflaeche* PicMusterSchrift(int i) const { return muster_.at(i).get(); }
  Flaechenanzeige* musterAnzeige(int i) const { return anzeige_.at(i); }

  QLineEdit* Schrifttext() const { return schrifttext_; }
  QCheckBox* Check1() const { return check1_; }
  QCheckBox* Check3() const { return check3_; }
  QCheckBox* Check4() const { return check4_; }
  QComboBox* Combo1() const { return combo1_; }
  QComboBox* Combo2() const { return combo2_; }
  QComboBox* Combo3() const { return combo3_; }

  Farbbedienung* farbseite() const { return farbe_; }
  Farbpalette* Schriftfarbe() const { return farbe_->Schriftfarbe(); }
  Farbpalette* Farbverlauf() const { return farbe_->Farbverlauf(); }
  QPushButton* ComMehr1() const { return farbe_->ComMehr1(); }
  QPushButton* ComMehr2() const { return farbe_->ComMehr2(); }
  QRadioButton* OptVerlauf(int i) const { return farbe_->OptVerlauf(i); }

  Schattenbedienung* schattenseite() const { return schatten_; }
  Markierfeld* PicSchattRich(int k) const { return schatten_->PicSchattRich(k); }
  QLineEdit* TextSchattRich() const { return schatten_->TextSchattRich(); }
  QSlider* SliderSchatten() const { return schatten_->SliderSchatten(); }
  Markierfeld* PicSchattTyp(int k) const { return schatten_->PicSchattTyp(k); }
  Farbpalette* PicSchattFarb1() const { return schatten_->PicSchattFarb1(); }
  Farbpalette* PicSchattFarb2() const { return schatten_->PicSchattFarb2(); }
  QPushButton* CommandMehr1() const { return schatten_->CommandMehr1(); }
  QPushButton* CommandMehr2() const { return schatten_->CommandMehr2(); }

  // Shape1 to Shape4: Color1, Color2, ShadowColor1, ShadowColor2 of the working copy.
  Farbanzeige* Shape(int i) const;

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
  // Escape and the title bar's close button act as "Abbruch".
  void reject() override;

 private:
  void bauen();
  QWidget* baueFontseite();
  QWidget* baueWinkelseite();
  QWidget* seiteMitMuster(int i, QWidget* inhalt);
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

  Programmzustand& s_;
  Dialogumgebung umgebung_;
  bool geladen_ = false;
  // While the controls are set from the working copy, the sample is drawn once at the end.
  bool zeichnenAufgeschoben_ = false;

  QTabWidget* tabStrip_ = nullptr;
  std::array<QWidget*, 5> frame1_{};
  std::array<std::unique_ptr<Bildflaeche>, 5> muster_;
  std::array<Flaechenanzeige*, 5> anzeige_{};

  QLineEdit* schrifttext_ = nullptr;
  QCheckBox* check1_ = nullptr;
  QCheckBox* check3_ = nullptr;
  QCheckBox* check4_ = nullptr;
  QComboBox* combo1_ = nullptr;
  QComboBox* combo2_ = nullptr;
  QComboBox* combo3_ = nullptr;
  Farbbedienung* farbe_ = nullptr;
  Schattenbedienung* schatten_ = nullptr;
  QSlider* sliderAngle_ = nullptr;
  QLineEdit* maskEdBoxAngle_ = nullptr;
  QSlider* sliderSpace_ = nullptr;
  QLineEdit* maskEdBoxSpace_ = nullptr;
  std::array<QRadioButton*, 7> optAus_{};
  QPushButton* commandOK_ = nullptr;
  QPushButton* commandAbbruch_ = nullptr;
};
