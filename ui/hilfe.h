// Help: the help window with the program's HTML help pages, the maker's web page, a mail to
// the maker and the update page of this version, each opened by the desktop.
//
// The main window keeps one Hilfe object and connects the menu "&Hilfe" to it:
// "&Inhalt" and the toolbar key "Hilfe" to mnuHelpContents_Click, "Zur QX-Homepage" to
// mnuHelpQX_Click, "Mail an den Autor" to mnuHelpHotline_Click and "Programm aktualisieren"
// to mnuupdate_Click.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <QWidget>
#include <functional>

#include "core/programmzustand.h"

class QPushButton;
class QTextBrowser;

namespace hilfe {
// The maker's web site, mail address and the folder of the update pages.
inline const QString Homepage = QStringLiteral("https://www.qx-marvolant.de/");
inline const QString Mailadresse = QStringLiteral("mailto:autor@qx-marvolant.de");
inline const QString Updateordner = QStringLiteral("https://www.qx-marvolant.de/update/");
}  // namespace hilfe

// The update page of a version: the version without its first "." followed by ".htm"
// ("7.16" gives "716.htm").
QString UpdateSeite(const QString& version);

// A window that shows the help pages and follows their links: links between the pages stay
// in the window, web and mail links go to the desktop. Escape closes it.
class Hilfefenster : public QWidget {
  Q_OBJECT
 public:
  Hilfefenster(const QString& titel, QWidget* eltern = nullptr);
  // Shows a page (a local HTML file).
  void seiteZeigen(const QString& datei);
  QTextBrowser* browser() const { return browser_; }
  // Opens an address outside the help (web, mail); set by Hilfe.
  std::function<void(const QUrl&)> aussenOeffnen;

 private:
  void verweisFolgen(const QUrl& verweis);
  QTextBrowser* browser_;
  QPushButton* zurueck_;
  QPushButton* vor_;
  QPushButton* inhalt_;
  QString startseite_;
};

class Hilfe : public QObject {
  Q_OBJECT
 public:
  // hauptfenster: parent of the help window and of message boxes.
  Hilfe(Programmzustand& s, QWidget* hauptfenster);

  // Folders searched for "index.html", in order: "hilfe" in the start-up folder, "data/hilfe"
  // next to the program and above it (a build folder inside the source tree) and the source
  // tree's help folder.
  QStringList suchorte;
  // Opens a web or mail address with the desktop (QDesktopServices::openUrl by default);
  // tests replace it. False when nothing could open it.
  std::function<bool(const QUrl&)> oeffnen;

  // The help file: the first "index.html" of the search folders; empty when there is none.
  QString Hilfedatei() const;

  // Help contents: the help window with the first page, or, without a help file, the
  // message that the application has none.
  void mnuHelpContents_Click();
  void mnuHelpQX_Click();
  void mnuHelpHotline_Click();
  void mnuupdate_Click();

  // The address that "Programm aktualisieren" opens.
  QUrl Updateadresse() const;
  // The help window (null until the help was first shown).
  Hilfefenster* fenster() const { return fenster_; }

 private:
  void adresseOeffnen(const QUrl& adresse);
  Programmzustand& s_;
  QWidget* hauptfenster_;
  Hilfefenster* fenster_ = nullptr;
};
