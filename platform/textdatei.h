// Line-based text files as the document, layout and settings files are kept: Windows-1252
// with CR LF line ends, so that the files of existing users load unchanged.
//
// Reading takes what editors make of such a file as well: UTF-8 (with a byte-order mark,
// or valid UTF-8 holding multi-byte sequences), UTF-16 with a byte-order mark, and LF,
// CR-only or CR CR LF line ends. Only regular files are read, and only up to a size limit,
// so that a device or a pipe picked by mistake cannot read without end. Writing goes
// through QSaveFile (Schreibdatei), so a save that fails or is interrupted leaves the old
// file as it was.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QSaveFile>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

#include "platform/windows1252.h"

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

// A file written whole or not at all. The bytes go into a new file beside it (QSaveFile),
// which takes the file's place, with the old file's rights (or those of a new file), only
// when festschreiben succeeds. A failed write, a failed festschreiben, or an object
// destroyed before festschreiben leaves the old file as it was and no other file behind.
// Every file the program saves is written through it; writers that want a device
// (QImage::save, QPdfWriter) write into the object itself, in order (it does not seek).
class Schreibdatei : public QIODevice {
 public:
  explicit Schreibdatei(const QString& pfad);
  ~Schreibdatei() override;

  // Makes the new file. False, with grund(), when it cannot be made there.
  bool oeffnen();
  // Puts what was written in the file's place. False, the old file kept, when this or any
  // write before failed; grund() says why.
  bool festschreiben();
  // Why writing failed, as the messages give it (taken from the system's error number):
  // "Der Datenträger ist voll." for a full disk, a German sentence for an exhausted disk
  // quota, otherwise the system's own text. Empty while nothing failed.
  QString grund() const { return grund_; }

  bool isSequential() const override { return true; }

 protected:
  qint64 readData(char* daten, qint64 laenge) override;
  qint64 writeData(const char* daten, qint64 laenge) override;

 private:
  // Keeps the reason of the first failure: `fehlernummer` is errno as the failed call left it.
  void fehlgeschlagen(int fehlernummer);
  QSaveFile datei_;
  bool fehler_ = false;
  QString grund_;
};

// Writes the lines (see kodieren) as a whole file (Schreibdatei). False when the file could
// not be written, with the reason in *fehler; the old file is then left untouched.
bool schreiben(const QString& pfad, const QStringList& zeilen, QString* fehler = nullptr);

// Writes bytes as a whole file (Schreibdatei): all of them, or none and the old file left
// as it was. False with the reason in *fehler.
bool bytesSchreiben(const QString& pfad, QByteArrayView bytes, QString* fehler = nullptr);

// A message about a file: the German sentence, then the system's text as a detail on a
// line of its own (when there is one).
QString meldung(const QString& satz, const QString& detail);

// The name of a file as messages quote it: „/pfad/name“.
QString zitiert(const QString& pfad);

// The message for a file that could not be read: "Die Datei „…“ kann nicht geöffnet
// werden.", the reason, and the system's text as a detail.
QString nichtLesbar(const QString& pfad, const QString& grund, const QString& detail);

}  // namespace textdatei
