// The main window: the page in its scrolling viewport with the selection marker, the four
// side panels with the 30 fields that feed the text elements and the address records, the
// toolbars, the menus, the status bar and the timer that redraws after typing.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <memory>

#include "core/fenster.h"
#include "ui/export.h"

struct Programmzustand;
class Ansichtsfenster;
class Seitenansicht;
class Datensteuerung;
class Datensteuerleiste;
class frmSuchen;
class frmVorschau;
class frmRTF;
class frmBild;
class frmSchrift;
class frmlinie;
class frmSeite;
class frmEinfuegen;
class frmPosition;
class frmDrucken;
class frmInfo;
class Hilfe;
class RichTextBox;
class QTemporaryDir;
class QAction;
class QActionGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QStackedWidget;
class QTimer;
class QToolBar;
class QToolButton;

class frmMain : public QMainWindow, public Fenster {
  Q_OBJECT
 public:
  // Builds the window, 800 x 600 pixels centred on the screen. Sets s.fenster to this
  // window; the destructor sets it back. Showing it the first time runs its load handler
  // (fonts, letter text, font boxes, the template); once it is laid out the zoom is fitted
  // to the page width and the address database is opened.
  explicit frmMain(Programmzustand& s, QWidget* eltern = nullptr);
  ~frmMain() override;

  // --- Fenster -----------------------------------------------------------------------
  int Meldung(const QString& text, const QString& titel, Knoepfe knoepfe, Symbol symbol) override;
  void MeldungDanach(const QString& text) override;
  QString Text1(int i) const override;
  void setzeText1(int i, const QString& text) override;
  QRectF Rahmen() const override;
  void setzeRahmen(const QRectF& rechteck) override;
  void MarkierungZeigen() override;
  QSizeF setzeInhaltsgroesse(double breiteTwips, double hoeheTwips) override;
  void seiteGezeichnet() override;
  void DialogZeigen(Dialog dialog) override;
  void VorschauZeigen() override;
  void AuswahlVerbergen() override;
  void FadenkreuzZeigen(bool an) override;

  // --- Controls ----------------------------------------------------------------------
  Seitenansicht* PictureSeite() const { return seite_; }
  Ansichtsfenster* VSView() const { return vsview_; }
  QLineEdit* feld(int i) const { return text1_.at(i); }
  QLineEdit* TextDatensatznummer() const { return textDatensatznummer_; }
  Datensteuerung* Data1() const { return data1_.get(); }
  Datensteuerleiste* Data1Leiste() const { return data1Leiste_; }
  QComboBox* Combo1() const { return combo1_; }
  QComboBox* Combo2() const { return combo2_; }
  QComboBox* Combo3() const { return combo3_; }
  QMenu* PopSchrift() const { return popSchrift_; }
  QStackedWidget* Frame1() const { return frame1_; }
  QTimer* Timer1() const { return timer1_; }
  // Panel 1..4 of the status bar.
  QString statusText(int panel) const;
  // The letter text box: the box of the letter editor, which holds the letter for the whole
  // run (null until the load handler has run).
  RichTextBox* Brieftext() const;

  // Number of page redraws shown so far.
  int anzahlGezeichnet() const { return gezeichnet_; }

  // Hooks for tests. When set, message boxes are answered by meldungsAntwort instead of
  // being shown, and the end of the program calls programmEnde instead of quitting the
  // event loop.
  std::function<int(const QString& text, const QString& titel, Knoepfe, Symbol)> meldungsAntwort;
  std::function<void()> programmEnde;

  // The file dialog of "Öffnen", "Speichern" and "Speichern unter": (title, filter, save)
  // gives the chosen path, or an empty text when the user cancelled. A QFileDialog by
  // default; tests replace it.
  std::function<QString(const QString& titel, const QString& filter, bool speichern)> dateiDialog;
  // The save dialog of the picture export ("als Bild speichern"); tests replace it.
  DateinamenWahl bildDialog;

  // --- Handlers ----------------------------------------------------------------------
  // Load handler; runs once, when the window is first shown.
  void Form_Load();
  // Fits the zoom to the page width (menu "&Seitenbreite"; also once after the window was
  // first laid out).
  void Seitenbreite();
  void GanzeSeite();
  void ZoomSetzen(double prozent);
  // Side-panel switch: 1 "Name", 2 "Bank", 3 "Layout", 4 "Adresse".
  void PanelZeigen(int index);
  void Text1_Change(int i);
  void Text1_GotFocus(int i);
  void Timer1_Timer();
  void Command4_Click(int index);
  // " Suchen" on the "Adresse" panel: the search dialog, without modality.
  void Command1_Click();
  frmSuchen* Suchdialog() const { return suchen_; }
  frmVorschau* Vorschaufenster() const { return vorschau_; }

  // Toolbar1 by key: "Neu", "Öffnen", "Speichern", "Vorschau", "Drucken", "Hilfe",
  // "Eigenschaft", "Einfügen".
  void Toolbar1_ButtonClick(const QString& schluessel);
  // Toolbar2 by index: 1..4 the side panels ("Layout" also takes the layout snapshot), 5 the
  // letter editor.
  void Toolbar2_ButtonClick(int index);
  // "Öffnen": the open dialog, then the chosen document. A file that cannot be loaded leaves
  // the document and its name as they were.
  void mnuFileOpen_Click();
  // "Speichern": an existing named document is saved at once; an untitled one (the template)
  // or one whose file is gone asks for a name first.
  void mnuFileSave_Click();
  // "Speichern unter": always asks for the name. A failed save keeps the old name.
  void mnuFileSaveAs_Click();
  // "Zurücksetzen" on the "Layout" panel: the document as it was when the panel was opened.
  void cmdzuruecksetzen_Click();
  // The letter editor on letter element 1 ("Brief" in the panel toolbar and the menu).
  void BriefZeigen();
  // The page dialog ("Seite einrichten..." and "Raster").
  void SeiteEinrichten();
  // The print dialog ("Drucken...").
  void DruckdialogZeigen();
  // The toolbar's "Drucken": the page with the current address straight to the printer,
  // after storing address edits still pending in the side panel.
  void DirektDrucken();
  // The insert chooser, the position dialog and the about box.
  void EinfuegenZeigen();
  void PositionierenZeigen();
  void InfoZeigen();

  // The file of the layout snapshot ("test.qxm" in a temporary folder of this run, made when
  // the "Layout" panel is first opened; empty before).
  QString Schnappschussdatei() const;

  // The dialogs; each is made on first use (the letter editor by the load handler) and kept
  // hidden between uses. Null until then.
  frmRTF* Briefeditor() const { return briefeditor_; }
  frmBild* Bilddialog() const { return bild_; }
  frmSchrift* Schriftdialog() const { return schrift_; }
  frmlinie* Liniendialog() const { return linie_; }
  frmSeite* Seitendialog() const { return seitendialog_; }
  frmEinfuegen* Einfuegedialog() const { return einfuegen_; }
  frmPosition* Positionsdialog() const { return position_; }
  frmDrucken* Druckdialog() const { return drucken_; }
  frmInfo* Infodialog() const { return info_; }
  Hilfe* hilfe() const { return hilfe_; }
  WordExport* wordExport() const { return word_.get(); }

 protected:
  void showEvent(QShowEvent* ereignis) override;
  void closeEvent(QCloseEvent* ereignis) override;
  bool event(QEvent* ereignis) override;
  bool eventFilter(QObject* objekt, QEvent* ereignis) override;

 private:
  // Builds the side panels into frame1_; returns the width they need.
  int bauePanels();
  void baueToolbars();
  void baueMenues();
  void baueStatusleiste();
  void Form_Activate();
  void nachErstemZeigen();
  void adressenOeffnen();
  void datensatzGewechselt();
  void schriftboxenFuellen();
  void kontextmenueZeigen(const QPoint& global);
  // Gives side-panel field i the focus as choosing it does.
  void feldFokussieren(int i);
  // Toggles a view flag as the bitwise complement of its whole-number value.
  static double umschalten(double flag);
  void verankernUmschalten();
  // Marks "verankern" and "Verankern" when the selected frame is anchored.
  void verankertMarkieren();
  double seitenbreiteZoom() const;
  QString standardDateiDialog(const QString& titel, const QString& filter, bool speichern);
  // Saves under a name the user chooses; nothing on cancel.
  void speichernUnter();
  // A dialog that keeps the window from input: when it is hidden, the page is redrawn.
  void nachSchliessenZeichnen(QWidget* dialog);
  // Such a dialog, made on first use as a child of the window.
  template <typename T>
  T* blockierenderDialog(T*& dialog) {
    if (!dialog) {
      dialog = new T(s_, this);
      nachSchliessenZeichnen(dialog);
    }
    return dialog;
  }
  void briefeditorZeigen();
  // Help contents ("Hilfe" in the toolbar, "&Inhalt" in the menu).
  void hilfeZeigen();
  // A window of its own (no dialog, which Qt centres by itself) opens over this window.
  void mittigPlatzieren(QWidget* fenster);

  Programmzustand& s_;

  Ansichtsfenster* vsview_ = nullptr;
  Seitenansicht* seite_ = nullptr;
  QStackedWidget* frame1_ = nullptr;
  std::array<QLineEdit*, 31> text1_{};
  std::array<QPushButton*, 6> command4_{};
  QPushButton* cmdzuruecksetzen_ = nullptr;
  std::unique_ptr<Datensteuerung> data1_;
  Datensteuerleiste* data1Leiste_ = nullptr;
  QLineEdit* textDatensatznummer_ = nullptr;
  QPushButton* cmdadd_ = nullptr;
  QPushButton* cmddelete_ = nullptr;
  QPushButton* command1_ = nullptr;
  frmSuchen* suchen_ = nullptr;
  frmVorschau* vorschau_ = nullptr;
  frmRTF* briefeditor_ = nullptr;
  frmBild* bild_ = nullptr;
  frmSchrift* schrift_ = nullptr;
  frmlinie* linie_ = nullptr;
  frmSeite* seitendialog_ = nullptr;
  frmEinfuegen* einfuegen_ = nullptr;
  frmPosition* position_ = nullptr;
  frmDrucken* drucken_ = nullptr;
  frmInfo* info_ = nullptr;
  Hilfe* hilfe_ = nullptr;
  std::unique_ptr<WordExport> word_;
  // The folder of the layout snapshot, for this run only.
  std::unique_ptr<QTemporaryDir> schnappschussOrdner_;
  bool schnappschussGespeichert_ = false;

  QToolBar* toolbar1_ = nullptr;
  QToolBar* toolbar2_ = nullptr;
  QToolBar* toolbar3_ = nullptr;
  QAction* eigenschaft_ = nullptr;
  QComboBox* combo1_ = nullptr;
  QComboBox* combo2_ = nullptr;
  QComboBox* combo3_ = nullptr;

  QAction* mnuGitterlinienansicht_ = nullptr;
  QAction* mnuHilfsbereiche_ = nullptr;
  QAction* mnuRahmensichtbar_ = nullptr;
  QAction* mmummgenau_ = nullptr;
  QAction* mnuRahmenMagnet_ = nullptr;
  QAction* mnuverankert_ = nullptr;
  QAction* mnuVerankern_ = nullptr;
  QMenu* popSchrift_ = nullptr;

  std::array<QLabel*, 5> status_{};
  QTimer* timer1_ = nullptr;

  int gezeichnet_ = 0;
  bool geladen_ = false;
  bool gezeigt_ = false;
  bool beendet_ = false;
};
