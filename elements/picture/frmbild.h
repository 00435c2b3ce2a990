// The picture dialog "Bilder und Grafiken": the user picks the picture file in a drive,
// folder and file browser, sets corrections and effects with sliders, check boxes and the
// rotation box, and watches a preview on each of the three pages. The dialog edits the
// working copy MusterBild and writes it into Bilder(AktuellesBild) on "Ok". The only change
// to the document before that is the frame height, which follows the proportions of a
// chosen picture at once.
//
// The dialog is closed on "Ok" and "Abbruch" (and the title-bar button, which counts as
// "Abbruch"); every zeigen() starts its controls afresh in the program's current folder.
// "Abbruch" leaves element and frame as they were, frame height included; only the frame
// of a new picture that never had a file is deleted, without a question.
// While it is open the main window takes no input (application modal, shown with show()).
#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <functional>
#include <memory>

#include "core/programmzustand.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSlider;
class QTabWidget;
class Bildsteuerung;
class Bildvorschau;

class frmBild : public QDialog {
  Q_OBJECT

 public:
  frmBild(Programmzustand& s, QWidget* eltern);
  ~frmBild() override;

  // Opens the dialog on its first page for the current picture element.
  void zeigen();

  // Called after the dialog closed by "Ok", "Abbruch" or the title bar, when the document
  // changes of closing are done. The main window may set it (e.g. to take the focus back).
  std::function<void()> geschlossen;

  // --- Controls, under the names the dialog's code uses --------------------------------
  QTabWidget* TabStripSchrift = nullptr;  // pages 0..2 are Frame1(1..3)
  std::array<QWidget*, 4> Frame1{};       // 1..3
  QComboBox* Drive1 = nullptr;            // roots, mount points and the home folder
  QListWidget* Dir1 = nullptr;            // ".." and the subfolders of Dir1Pfad()
  QListWidget* File1 = nullptr;           // the picture files of File1Pfad()
  QLabel* LabelFormate = nullptr;
  std::array<QSlider*, 10> Slider1{};                   // 0..9
  QSlider* Slider2 = nullptr;                           // rotation in whole degrees
  QSlider* Slider3 = nullptr;                           // shear in degrees
  QLineEdit* Text1 = nullptr;                           // rotation in degrees, as typed
  QCheckBox* Check1 = nullptr;                          // "Graustufen"
  QCheckBox* Check2 = nullptr;                          // "Invertiert"
  QPushButton* Command3 = nullptr;                      // "Ok"
  QPushButton* Command1 = nullptr;                      // "Abbruch"
  std::array<std::unique_ptr<Bildsteuerung>, 4> Lead1;  // 1..3: one imaging control per page
  std::array<Bildvorschau*, 4> Vorschau{};              // 1..3: shows Lead1(k)

  // The folder shown by the folder list and the folder whose files the file list shows.
  QString Dir1Pfad() const { return dirPfad_; }
  QString File1Pfad() const { return filePfad_; }

  // Events of the dialog, also reachable for the main window and tests.
  void Command3_Click();  // Ok
  void Command1_Click();  // Abbruch

  // Factor between a slider's value and the stored field (stored = value * factor);
  // 0 for the sliders without a field.
  static int sliderFaktor(int index);

 protected:
  void reject() override;  // Escape and the title-bar button: "Abbruch"

 private:
  void aufbauen();
  QWidget* seiteBilddatei();
  QWidget* seiteKorrekturen();
  QWidget* seiteEffekte();
  QSlider* neuerSchieber(int von, int bis);
  QLabel* wertAnzeige(QSlider* schieber);

  void Form_Load();
  void Form_Activate();
  void steuerelementeZuruecksetzen();

  void File1_Click();
  void Dir1_Change();
  void Drive1_Change();
  void Slider1_Change(int index);
  void Slider2_Change();
  void Slider3_Change();
  void Text1_Change();
  void Check1_Click();
  void Check2_Click();
  void TabStrip_Click();

  // Reloads and processes MusterBild in the preview of the selected page.
  void BildVorschau();
  int seitenIndex() const;  // 1..3

  // Browser helpers: fill the lists for a folder, and choose the drive entry that holds it.
  bool ordnerAnzeigen(const QString& pfad);
  void dateienAnzeigen(const QString& pfad);
  void laufwerkeFuellen();
  void laufwerkWaehlen(const QString& pfad);

  // Hides the dialog and gives the main window its input back.
  void schliessen();

  Programmzustand& s_;
  // The frame as the dialog found it: "Abbruch" gives it back its height.
  std::shared_ptr<ClassRahmen> rahmenBeimOeffnen_;
  int32_t hoeheBeimOeffnen_ = 0;
  QString dirPfad_;
  QString filePfad_;
  QLabel* ordnerAnzeige_ = nullptr;
  // True while the dialog sets its own controls: their handlers for the user stay quiet.
  bool setztAusCode_ = false;
  // The file list's current entry is the element's own file, marked but not yet chosen.
  bool nurMarkiert_ = false;
};
