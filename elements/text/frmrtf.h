// The letter text editor "Brieftext": a rich text box with a toolbar for files, clipboard,
// emphasis and paragraph alignment, boxes for font name and size, a text-colour swatch and a
// chooser that inserts merge fields.
//
// The editor's box holds the letter text for the whole run: the main window creates the
// editor once (after the font table has been filled) and calls BriefLaden() at start-up;
// zeigen() opens it for the element RTFDateien(AktuellesRTF). OK saves the letter to that
// element's file, keeps it in BrieftextRTF, redraws the page and asks the main window for
// the print preview (Fenster::VorschauZeigen). Abbruch (or closing the window) stores
// nothing. The window is hidden, never destroyed, and keeps the main window from input
// while it is shown.
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>
#include <functional>
#include <map>

#include "core/programmzustand.h"
#include "elements/farbwahl.h"

class QAction;
class QComboBox;
class QPushButton;
class QToolBar;
class QToolButton;
class RichTextBox;

// The text-colour swatch: shows a colour, reports a click.
class BrieffarbFeld : public Klickfeld {
  Q_OBJECT
 public:
  explicit BrieffarbFeld(QWidget* eltern = nullptr);
  QColor farbe() const { return farbe_; }
  void setzeFarbe(const QColor& farbe);
  QSize sizeHint() const override { return {40, 22}; }

 protected:
  void paintEvent(QPaintEvent* ereignis) override;

 private:
  QColor farbe_ = Qt::black;
};

class frmRTF : public QWidget {
  Q_OBJECT

 public:
  // Builds the form and fills its lists (the font box from the font table, which must be
  // filled by then).
  frmRTF(Programmzustand& s, QWidget* eltern = nullptr);

  // Opens the editor on the current letter element: resets the chooser, font and size,
  // reloads the letter from the element's file and shows the window application-modal.
  // A file that exists but cannot be read (no permission, a folder, not text) gives a
  // message naming it and an empty letter, and OK then refuses to save over it.
  void zeigen();

  // Start-up: loads RTFDateien(1) (or "RTF1.rtf") from the start-up folder into the box
  // without showing the editor and keeps the box's rich text in BrieftextRTF. A missing or
  // unreadable file gives an empty letter, without a message (opening the editor tells).
  void BriefLaden();

  // The path of a letter element's file: a plain name lives in the start-up folder (found
  // whatever its letter case); a path stored on Windows ("C:\Briefe\a.rtf") is looked up
  // as it stands and in the start-up folder.
  QString briefdatei(int element) const;

  // Dialogs the tests replace. dateiWaehlen(titel, filter, speichern) returns the chosen
  // path, or an empty text when the user cancelled. farbeWaehlen(start) returns the chosen
  // colour, or an invalid colour when the user cancelled.
  std::function<QString(const QString& titel, const QString& filter, bool speichern)> dateiWaehlen;
  std::function<QColor(const QColor& start)> farbeWaehlen;

  // Controls.
  RichTextBox* RTF() const { return rtf_; }
  QToolBar* Toolbar1() const { return toolbar1_; }
  QAction* aktion(const QString& schluessel) const;  // toolbar button by key ("Fett")
  QToolButton* knopf(const QString& schluessel) const;
  QComboBox* Combo1() const { return combo1_; }
  QComboBox* Combo2() const { return combo2_; }
  QComboBox* Combo3() const { return combo3_; }
  BrieffarbFeld* PicFarbe() const { return picFarbe_; }
  QPushButton* ButtOk() const { return buttOk_; }
  QPushButton* ButtAbbruch() const { return buttAbbruch_; }

 public slots:
  void ButtOk_Click();
  void ButtAbbruch_Click();
  void Combo1_Change(const QString& text);
  void Combo1_Click();
  void Combo2_Change(const QString& text);
  void Combo2_Click();
  void Combo3_Click(int index);
  void PicFarbe_Click();
  void RTF_SelChange();
  void Toolbar1_ButtonClick(const QString& schluessel);

 protected:
  void closeEvent(QCloseEvent* ereignis) override;

 private:
  void Form_Load();
  void Form_Activate();
  void bauen();
  void briefdateiLaden(int element, bool imEditor);
  QString standardDateiWaehlen(const QString& titel, const QString& filter, bool speichern);

  Programmzustand& s_;
  RichTextBox* rtf_ = nullptr;
  QToolBar* toolbar1_ = nullptr;
  std::map<QString, QAction*> aktionen_;
  QComboBox* combo1_ = nullptr;
  QComboBox* combo2_ = nullptr;
  QComboBox* combo3_ = nullptr;
  BrieffarbFeld* picFarbe_ = nullptr;
  QPushButton* buttOk_ = nullptr;
  QPushButton* buttAbbruch_ = nullptr;
  QString unlesbar_;  // the letter file that exists but could not be read when loaded
};
