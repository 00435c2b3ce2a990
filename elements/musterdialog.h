// What the text dialog and the line/shape dialog share: a tab strip whose pages each carry
// a sample picture of 3135 x 975 twips, the colour and shadow controls with their colour
// dialog, and Escape or the title bar's close button acting as the dialog's cancel.
// While such a dialog is open the main window takes no input.
#pragma once

#include <QDialog>
#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <utility>

#include "elements/farbwahl.h"

struct Programmzustand;
class Bildflaeche;
class Flaechenanzeige;
class QTabWidget;

class Musterdialog : public QDialog {
  Q_OBJECT
 public:
  // Size of each sample picture in twips.
  static constexpr double MusterBreite = 3135;
  static constexpr double MusterHoehe = 975;

  ~Musterdialog() override;

  // The colour dialog of the "Mehr..." buttons: given the start colour, returns the chosen
  // colour or nothing when cancelled. Defaults to FarbeWaehlen; tests replace it.
  std::function<std::optional<int32_t>(int32_t start)> farbdialog;

  // Page i (from 1) and the widget that shows its sample picture.
  QWidget* Frame1(int i) const { return frame1_.at(i); }
  Flaechenanzeige* musterAnzeige(int i) const { return anzeige_.at(i); }

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

 protected:
  Musterdialog(Programmzustand& s, const QString& titel, QWidget* eltern);

  // The dialog's cancel ("Abbruch").
  virtual void abbrechen() = 0;
  void reject() override { abbrechen(); }

  // Page i: its content above a white sample picture in a thin border.
  QWidget* seiteMitMuster(int i, QWidget* inhalt);
  // A page of the tab strip: title, tool tip, content, and the key its tab carries as data
  // (none when null).
  struct Seite {
    const char* titel;
    const char* tip;
    QWidget* inhalt;
    const char* schluessel = nullptr;
  };
  // Lays the dialog out at the element dialogs' size: the tab strip with the pages (page
  // i from 1 as seiteMitMuster(i)), under it the buttons "Ok" (the default) and "Abbruch" at
  // the right. Returns the two buttons.
  std::pair<QPushButton*, QPushButton*> aufbauen(std::initializer_list<Seite> seiten);
  // What each activation starts with: the first page shown (its handler not called), the
  // renderers in sample mode, the marker and normal colours from the program state.
  void aktivierungBeginnen();
  // Shows the dialog in front of the others.
  void vorneZeigen();
  // The number of the page shown (from 1).
  int sichtbareSeite() const;

  Programmzustand& s_;
  Dialogumgebung umgebung_;
  QTabWidget* tabStrip_ = nullptr;
  std::array<QWidget*, 5> frame1_{};
  std::array<std::unique_ptr<Bildflaeche>, 5> muster_;
  std::array<Flaechenanzeige*, 5> anzeige_{};
  Farbbedienung* farbe_ = nullptr;
  Schattenbedienung* schatten_ = nullptr;
};
