// Picture and word-processor export of the page: both render the page into the export
// picture Lead2 through the page redraw in export mode, at the export zoom, without the
// grid and the guide zones of the page view.
#pragma once

#include <QDateTime>
#include <QString>
#include <QUrl>
#include <functional>

#include "core/programmzustand.h"

class QImage;
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

// The per-user folder of the word-processor documents: "Export" in the application's data
// folder (~/.local/share/<organisation>/<application>/Export on Linux).
QString exportordner();

// Removes from the folder the documents of earlier exports (by their name) last changed more
// than a week before jetzt; every other file is left alone.
void entferneAlteExporte(const QString& ordner,
                         const QDateTime& jetzt = QDateTime::currentDateTime());

// Menu "in Word exportieren": hands the page to the desktop's word processor as a new,
// untitled text document in which the page is a full-page picture behind the text, the text
// area starts below the letterhead and holds the line "Texteingabe".
//
// The document is written as an OpenDocument text template: a word processor opens a template
// as a new document, so what the user types is saved under a name the user chooses, never into
// our file. The templates live in a per-user folder that outlives the program, because the
// word processor may read the file long after we handed it over; those older than a week are
// removed when the object is made (the main window makes its one object at program start).
class WordExport {
 public:
  explicit WordExport(Programmzustand& s, const QString& ordner = exportordner());
  WordExport(const WordExport&) = delete;
  WordExport& operator=(const WordExport&) = delete;

  // Opens a file with the desktop's application for its type (QDesktopServices::openUrl by
  // default, after asking xdg-mime whether there is one); tests replace it. False when no
  // application took the file.
  std::function<bool(const QUrl&)> oeffnen;

  // Runs the export. On failure the user reads "Keine Wordverbindung möglich:  " and the
  // reason. A template that nothing opened stays in the folder and the message names it;
  // after any other failure no document of the export is left. True on success.
  bool mnuWord_Click();

  // The folder of the documents and the last document handed over.
  QString ordner() const { return ordner_; }
  QString letzteDatei() const { return letzteDatei_; }

 private:
  bool fehler(const QString& grund);
  Programmzustand& s_;
  QString ordner_;
  QString letzteDatei_;
};

// Writes an OpenDocument text template (.ott): the page picture (PNG) anchored to the
// top-left corner of page 1 with the page's size, behind the text; page margins 2 cm left,
// 4 cm top, 2 cm right, 2 cm bottom; 14 empty paragraphs, then "Texteingabe". Page size in
// tenths of a millimetre. Written atomically; false with a German reason when the file could
// not be written.
bool schreibeTextvorlage(const QString& pfad, const QImage& seite, double breite, double hoehe,
                         QString* fehler = nullptr);
