// Picture and word-processor export of the page: both render the page into the export
// picture Lead2 through the page redraw in export mode, at the export zoom, without the
// grid and the guide zones of the page view.
#pragma once

#include <QString>
#include <QUrl>
#include <functional>
#include <memory>

#include "core/programmzustand.h"

class QImage;
class QTemporaryDir;
class QWidget;

// Asks the user for a file name to save under (dialog title, proposed name, filter such as
// "BMP-Bilddatei (*.bmp)"). Empty when the user cancelled.
using DateinamenWahl =
    std::function<QString(const QString& titel, const QString& vorschlag, const QString& filter)>;

// The program's save dialog (a QFileDialog), parented to the given window.
DateinamenWahl speicherdialog(QWidget* eltern);

// The export zoom the picture is rendered at: Exportzoom when it lies from 1 to 10, else 2
// (also when no settings file and no page dialog have set it yet, which leaves it 0).
double wirksamerExportzoom(double exportzoom);

// Renders the page into s.Lead2: cleared, Exportmodus -1, the redraw, Exportmodus 0 again
// (also when the redraw fails), the page view redrawn afterwards. False with a German reason
// in fehler when the redraw failed.
bool SeiteExportieren(Programmzustand& s, QString* fehler = nullptr);

// Menu "als Bild speichern": asks for the file ("Bild speichern", "QXMarvolant.bmp",
// "BMP-Bilddatei (*.bmp)") and saves the rendered page there as a Windows bitmap. Nothing
// happens on cancel; a failure is told to the user. True when a file was written.
bool mnuBildSpeichern_Click(Programmzustand& s, const DateinamenWahl& dateiname);

// Menu "in Word exportieren": hands the page to the desktop's word processor as a new text
// document in which the page is a full-page picture behind the text, the text area starts
// below the letterhead and holds the line "Texteingabe".
//
// The main window keeps one object for the whole run: the documents are written into a
// per-user temporary folder that must outlive the call, because the word processor reads the
// file after we have handed it over; the folder is removed when the object is destroyed.
class WordExport {
 public:
  explicit WordExport(Programmzustand& s);
  ~WordExport();
  WordExport(const WordExport&) = delete;
  WordExport& operator=(const WordExport&) = delete;

  // Opens a file with the desktop's application for its type (QDesktopServices::openUrl by
  // default); tests replace it. False when no application took the file.
  std::function<bool(const QUrl&)> oeffnen;

  // Runs the export. On failure the user reads "Keine Wordverbindung möglich:  " and the
  // reason, and no document of the failed export is left in the folder. True on success.
  bool mnuWord_Click();

  // The folder of the documents ("" until the first export created it) and the last
  // document handed over.
  QString ordner() const;
  QString letzteDatei() const { return letzteDatei_; }

 private:
  bool fehler(const QString& grund);
  Programmzustand& s_;
  std::unique_ptr<QTemporaryDir> ordner_;
  int nummer_ = 0;
  QString letzteDatei_;
};

// Writes a flat OpenDocument text (.fodt): the page picture (PNG) anchored to the top-left
// corner of page 1 with the page's size, behind the text; page margins 2 cm left, 4 cm top,
// 2 cm right, 2 cm bottom; 14 empty paragraphs, then "Texteingabe". Page size in tenths of a
// millimetre. False with a German reason when the file could not be written.
bool schreibeTextdokument(const QString& pfad, const QImage& seite, double breite, double hoehe,
                          QString* fehler = nullptr);
