// Line-based text files as the document, layout and settings files are kept: Windows-1252
// with CR LF line ends, so that the files of existing users load unchanged.
//
// Reading takes a UTF-8 file as well (with a byte-order mark, or valid UTF-8 holding
// multi-byte sequences), and LF-only line ends. Writing goes through QSaveFile, so a save
// that fails or is interrupted leaves the old file as it was.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

namespace textdatei {

// The text in Windows-1252; empty when it holds a character that code page cannot hold.
// The five bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for
// the control characters of the same number, as Windows maps them.
std::optional<QByteArray> alsWindows1252(QStringView text);
// Bytes in Windows-1252 as text.
QString ausWindows1252(QByteArrayView bytes);

// True when the bytes are valid UTF-8 and hold at least one multi-byte sequence.
bool istMehrbyteUtf8(QByteArrayView bytes);

// The text of a file: UTF-8 after a byte-order mark (which is dropped), UTF-8 when the
// bytes are valid UTF-8 with multi-byte sequences, otherwise Windows-1252.
QString dekodieren(QByteArrayView bytes);

// The lines of a text. CR LF and LF end a line; a line end after the last line adds no
// empty line ("a\r\nb\r\n" and "a\nb" both give "a", "b").
QStringList zeilenTeilen(QStringView text);

// A value as one line: CR LF, CR and LF inside it become one blank each.
QString einzeilig(QString wert);

// The bytes of a file holding these lines, each ending with CR LF (line breaks inside a
// value become blanks). Windows-1252 whenever every character fits and the bytes cannot be
// mistaken for UTF-8 on reading; otherwise UTF-8 with a byte-order mark, so that no
// character is lost and the file reads back exactly.
QByteArray kodieren(const QStringList& zeilen);

struct Leseergebnis {
  bool ok = false;
  bool fehlt = false;  // the file does not exist
  QString fehler;      // why it could not be read (German)
  QStringList zeilen;
};

// Reads a whole text file into its lines. Files larger than maxGroesse bytes are refused.
Leseergebnis lesen(const QString& pfad, qint64 maxGroesse = 64 * 1024 * 1024);

// Writes the lines (see kodieren) through QSaveFile. False with a German reason when the
// file could not be written; the old file is then left untouched.
bool schreiben(const QString& pfad, const QStringList& zeilen, QString* fehler = nullptr);

}  // namespace textdatei
