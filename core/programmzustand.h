// The program state: the document (page, frame list, element lists with their counts and
// current indices), the view settings, the output switches, the working copies of the
// dialogs and the shared scratch values, under the names every part of the program uses.
// One object holds all of it; the program has one, tests build a fresh one per case.
#pragma once

#include <QString>
#include <array>
#include <memory>
#include <stdexcept>
#include <vector>

#include "core/fenster.h"
#include "core/klassen.h"
#include "platform/gdi.h"

class Bildflaeche;
class Drucksteuerung;
class Bildsteuerung;

// One entry of the font table.
struct SchriftartEintrag {
  QString Name;  // trimmed face name
  uint8_t Pitch = 0;
  LogFont logFont;
  TextMetrik textMetrik;
};

constexpr int AnzahlFeldtexte = 30;
constexpr int AnzahlFesteRahmen = 31;

struct Programmzustand {
  Programmzustand();
  ~Programmzustand();
  Programmzustand(const Programmzustand&) = delete;
  Programmzustand& operator=(const Programmzustand&) = delete;

  // The main window, or a window that does nothing.
  Fenster* fenster;
  KeinFenster keinFenster;

  // --- Document -------------------------------------------------------------------
  std::shared_ptr<ClassSeite> Seite;
  // Lists with lower bound 0; slot 0 is never used. size() - 1 is the upper bound.
  std::vector<std::shared_ptr<ClassRahmen>> Rahmenliste;
  std::vector<std::shared_ptr<ClassSchrift>> Schriften;
  std::vector<std::shared_ptr<ClassBild>> Bilder;
  std::vector<std::shared_ptr<ClassLinie>> Linien;
  std::vector<QString> RTFDateien;
  int AnzahlRahmen = 0;
  int AnzahlSchriften = 0;
  int AnzahlBilder = 0;
  int AnzahlLinien = 0;
  int AnzahlRTF = 0;
  int AktuellerRahmen = 0;
  int AktuelleSchrift = 0;
  int AktuellesBild = 0;
  int AktuelleLinie = 0;
  int AktuellesRTF = 0;

  // --- View settings --------------------------------------------------------------
  double Zoom = 0;
  double Zoomfaktor = 0;
  double Exportzoom = 0;
  double RasterAnzeigen = 0;
  double RasterX = 0;
  double RasterY = 0;
  double HilfsbereicheAnzeigen = 0;
  double AlleRahmenAnzeigen = 0;
  double MagnetAn = 0;
  double MagnetX = 0;
  double MagnetY = 0;
  double MmGenau = 0;

  // --- Output switches (-1 on, 0 off) --------------------------------------------
  double Druckmodus = 0;
  double Exportmodus = 0;
  double Mustermodus = 0;

  // --- Constants and screen values ------------------------------------------------
  double TwipsProEinheit = 0;
  int32_t Verlaufsstufen = 0;
  double TwipsProPixelX = 0;
  double TwipsProPixelY = 0;
  double BildschirmBreite = 0;
  double BildschirmHoehe = 0;
  double MarkierFarbe = 0;
  double NormalFarbe = 0;

  // --- Program and files ----------------------------------------------------------
  QString Programmtitel;
  QString Programmversion;
  QString Startverzeichnis;  // always ends with "/"
  QString AktuelleDatei;
  QString Ladeauftrag;
  QString Startdokument;
  QString Spracheinstellung;
  QString BrieftextRTF;  // the letter text as rich text
  QString LetzteSuche;
  // The settings file exists but could not be read at the start: the end of the program
  // leaves it as it is instead of writing the settings over it.
  bool EinstellungenUnlesbar = false;

  // --- Working copies of the dialogs ----------------------------------------------
  std::shared_ptr<ClassSchrift> MusterSchrift;
  std::shared_ptr<ClassLinie> MusterLinie;
  std::shared_ptr<ClassBild> MusterBild;
  std::shared_ptr<ClassSeite> MusterSeite;
  std::shared_ptr<ClassRahmen> MusterRahmen;

  // --- Mouse and insert state of the main window ---------------------------------
  double Ziehmodus = 0;
  double Einfuegemodus = 0;
  double MausStartX = 0;
  double MausStartY = 0;
  double MausAltX = 0;
  double MausAltY = 0;
  double StartLinks = 0;
  double StartOben = 0;
  double StartRechts = 0;
  double StartUnten = 0;
  double TextGeaendert = 0;

  // --- Shared scratch values ------------------------------------------------------
  double Antwort = 0;
  double Zaehler = 0;
  double VersatzX = 0;
  double VersatzY = 0;
  double Zeichenmassstab = 0;
  double Schattenwinkel = 0;
  double TextAusdehnungX = 0;
  double TextAusdehnungY = 0;
  QString Textzeile;
  QString IniSchluessel;
  QString IniWert;
  HRGN Clipbereich = 0;

  // --- Font table: entries 0 to 1000 ----------------------------------------------
  std::array<SchriftartEintrag, 1001> Schriftarten;
  int AnzahlSchriftarten = 0;

  // --- Surfaces and controls that live for the whole run --------------------------
  // The page view (frmMain.PictureSeite), the export picture (frmMain.Lead2), the print
  // control (frmVorschau.VSPrinter1) and the imaging control of the page (frmMain.Lead).
  std::unique_ptr<Bildflaeche> PictureSeite;
  std::unique_ptr<Bildflaeche> Lead2;
  std::unique_ptr<Drucksteuerung> VSPrinter1;
  std::unique_ptr<Bildsteuerung> Lead;

  // True while the page redraw runs; a redraw requested meanwhile is not started.
  bool SeiteWirdGezeichnet = false;
  // True from a failed redraw of the page view until one succeeds: the failure is reported
  // once, not at every redraw that fails in the same way.
  bool SeitenfehlerGemeldet = false;

  // --- Helpers --------------------------------------------------------------------
  // The frame / element in a slot. A slot outside its list or empty throws
  // std::out_of_range with a German text naming it; the page redraw reports such a failure
  // and leaves the document as it was (SeiteZeichnen).
  ClassRahmen& rahmen(int i) { return eintrag(Rahmenliste, i, "Rahmen"); }
  ClassSchrift& schrift(int i) { return eintrag(Schriften, i, "Schrift"); }
  ClassBild& bild(int i) { return eintrag(Bilder, i, "Bild"); }
  ClassLinie& linie(int i) { return eintrag(Linien, i, "Linie"); }
  // Whether slot i is one of the list's counted elements and holds one.
  bool hatRahmen(int i) const { return belegt(Rahmenliste, i, AnzahlRahmen); }
  bool hatSchrift(int i) const { return belegt(Schriften, i, AnzahlSchriften); }
  bool hatLinie(int i) const { return belegt(Linien, i, AnzahlLinien); }
  // A path in the start-up folder.
  QString imStartverzeichnis(const QString& name) const { return Startverzeichnis + name; }

 private:
  template <class T>
  static bool belegt(const std::vector<std::shared_ptr<T>>& liste, int i, int anzahl) {
    return i >= 1 && i <= anzahl && i < static_cast<int>(liste.size()) && liste[i];
  }
  template <class T>
  static T& eintrag(const std::vector<std::shared_ptr<T>>& liste, int i, const char* art) {
    if (i < 0 || i >= static_cast<int>(liste.size()) || !liste[i])
      throw std::out_of_range(
          QStringLiteral("%1 %2 fehlt in der Liste.").arg(QLatin1String(art)).arg(i).toStdString());
    return *liste[i];
  }
};
