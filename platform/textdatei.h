// Line-based text files as the document, layout and settings files are kept: Windows-1252
// with CR LF line ends, so that the files of existing users load unchanged.
//
// Reading takes what editors make of such a file as well: UTF-8 (with a byte-order mark,
// or valid UTF-8 holding multi-byte sequences), UTF-16 with a byte-order mark, and LF,
// CR-only or CR CR LF line ends. Only regular files are read, and only up to a size limit,
// so that a device or a pipe picked by mistake cannot read without end. Writing goes
// through QSaveFile, so a save that fails or is interrupted leaves the old file as it was.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFileDevice>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

#include "platform/windows1252.h"

class QSaveFile;

namespace textdatei {

// True when the bytes are valid UTF-8 and hold at least one multi-byte sequence.
bool istMehrbyteUtf8(QByteArrayView bytes);

// The text of a file: UTF-8 or UTF-16 (little or big endian) after their byte-order mark
// (which is dropped), UTF-8 when the bytes are valid UTF-8 with multi-byte sequences,
// otherwise Windows-1252.
QString dekodieren(QByteArrayView bytes);

// The lines of a text. CR LF, LF, a lone CR and CR CR LF (CR LF converted once more) each
// end a line; a line end after the last line adds no empty line ("a\r\nb\r\n", "a\rb\r"
// and "a\nb" all give "a", "b").
QStringList zeilenTeilen(QStringView text);

// A value as one line: CR LF, CR and LF inside it become one blank each.
QString einzeilig(QString wert);

// The bytes of a file holding these lines, each ending with CR LF (line breaks inside a
// value become blanks). Windows-1252 whenever every character fits and the bytes cannot be
// mistaken for UTF-8 on reading; otherwise UTF-8 with a byte-order mark, so that no
// character is lost and the file reads back exactly.
QByteArray kodieren(const QStringList& zeilen);

// The largest file read by default: far above any document, layout, settings or letter file.
inline constexpr qint64 kGroessteDatei = 64 * 1024 * 1024;

struct Leseergebnis {
  bool ok = false;
  bool fehlt = false;  // the file does not exist
  QString fehler;      // why it could not be read: a German sentence, or empty when only the
                       // system can tell (detail)
  QString detail;      // the system's own text for the failure, if it gave one
  QStringList zeilen;
};

// The bytes of a regular file of at most maxGroesse bytes. A folder, a device, a pipe, a
// larger file or a failed read gives ok = false with a German reason; the bytes are then
// empty. Nothing is read from a file that is refused.
struct Bytes {
  bool ok = false;
  bool fehlt = false;
  QString fehler;
  QString detail;
  QByteArray daten;
};
Bytes bytesLesen(const QString& pfad, qint64 maxGroesse = kGroessteDatei);

// Reads a whole text file into its lines (see bytesLesen and zeilenTeilen).
Leseergebnis lesen(const QString& pfad, qint64 maxGroesse = kGroessteDatei);

// Writes the lines (see kodieren) through QSaveFile. False when the file could not be
// written, with the reason in *fehler (schreibgrund); the old file is then left untouched.
bool schreiben(const QString& pfad, const QStringList& zeilen, QString* fehler = nullptr);

// Writes bytes as a whole file through QSaveFile: all of them, or none and the old file
// left as it was. False with the reason in *fehler (schreibgrund).
bool bytesSchreiben(const QString& pfad, QByteArrayView bytes, QString* fehler = nullptr);

// Writes all the bytes to an open file. A short write (a disk that fills up) is carried on
// until the system refuses, so that the file's error says why. False when not all went out.
bool ganzSchreiben(QFileDevice& datei, QByteArrayView bytes);

// Commits a save file written so far. Qt commits a file even when the rest of its write
// buffer could not be written, so the buffer is flushed and checked first. On any failure
// the writing is cancelled (the old file stays) and false returned, the reason in *fehler.
bool festschreiben(QSaveFile& datei, QString* fehler = nullptr);

// Why writing a file failed, as the messages give it: "Der Datenträger ist voll." when the
// system reports a full disk, a German sentence for an exhausted disk quota, otherwise the
// system's own text.
QString schreibgrund(const QFileDevice& datei);

// A message about a file: the German sentence, then the system's text as a detail on a
// line of its own (when there is one).
QString meldung(const QString& satz, const QString& detail);

// The name of a file as messages quote it: „/pfad/name“.
QString zitiert(const QString& pfad);

// The message for a file that could not be read: "Die Datei „…“ kann nicht geöffnet
// werden.", the reason, and the system's text as a detail.
QString nichtLesbar(const QString& pfad, const QString& grund, const QString& detail);

}  // namespace textdatei
