// Document files (".qxm"): the frames and the four element lists as line-based text, one
// value per line. The template "neu.lay" and the layout presets use the same format.
#pragma once

#include <optional>

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "core/programmzustand.h"

// Writes the whole document to AktuelleDatei (through a temporary file, so a failed save
// leaves the old file intact). False after a German message when it could not be written.
bool SpeichereDokument(Programmzustand& s);

// Replaces the document by a file and redraws.
//   Ladeauftrag "neu":   the template "neu.lay" in the start-up folder; the document then
//                        is untitled ("neu.qxm" in the current folder).
//   Ladeauftrag a path:  that file; it becomes AktuelleDatei once it has loaded.
//   Ladeauftrag empty:   the file in AktuelleDatei.
// The whole file is read and checked before anything is replaced: a file that is not a
// sound document is refused with a German message, and the document, the current indices
// and AktuelleDatei stay exactly as they were. Ladeauftrag is cleared either way. False when
// the file was refused.
bool LadeDokument(Programmzustand& s);

// Opens a document file (Ladeauftrag = pfad, then LadeDokument).
bool DokumentOeffnen(Programmzustand& s, const QString& pfad);

// The reading and writing underneath, shared with the layout files.
namespace dokumentdatei {

// The lists of a document as a file holds them (index 0 is element 1).
struct Inhalt {
  std::vector<std::shared_ptr<ClassRahmen>> rahmen;
  std::vector<std::shared_ptr<ClassSchrift>> schriften;
  std::vector<std::shared_ptr<ClassBild>> bilder;
  std::vector<std::shared_ptr<ClassLinie>> linien;
  QStringList rtf;
};

enum class Umfang {
  Dokument,  // the whole file, checked as a document the program can work with
  Layout,    // the header, the frames and the texts only, without minimum counts
};

struct Ergebnis {
  bool ok = false;
  bool falschesFormat = false;  // the first line is not "QX Datenfile"
  QString grund;                // why the file is refused (German)
  Inhalt inhalt;
};

// Reads and checks the lines of a document file.
Ergebnis lesen(const QStringList& zeilen, Umfang umfang);

// The lines of the document file of the current document.
QStringList zeilen(const Programmzustand& s);

// Gives frames 1 to AnzahlRahmen the levels 1 to AnzahlRahmen in the order of their z
// (equal levels in list order).
void zEbenenNeuNummerieren(Programmzustand& s);

// The path of an untitled document: "neu.qxm" in the current folder.
QString unbenannterPfad();

// The message for a refused file: "Die Datei <pfad> ist keine gültige
// QX-Marvolant-Datei: <grund>".
void ungueltigMelden(Programmzustand& s, const QString& pfad, const QString& grund);
// The message for a file that cannot be read (missing, unreadable): a German sentence
// naming the file and the reason, the system's text (if any) as a detail.
void nichtLesbarMelden(Programmzustand& s, const QString& pfad, bool fehlt, const QString& grund,
                       const QString& detail = QString());
// The classic message for a file of another kind: "Falsches Datenformat".
void falschesFormatMelden(Programmzustand& s);

// Reads and checks a document or layout file. A file that cannot be read or is refused
// gives std::nullopt after the user was told why.
std::optional<Inhalt> ladenUndPruefen(Programmzustand& s, const QString& pfad, Umfang umfang);

// The end of every load, refused or not: the request is done, the marker and the page
// show the document. Returns ok.
bool abschliessen(Programmzustand& s, bool ok);

}  // namespace dokumentdatei
