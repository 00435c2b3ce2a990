#include "platform/textdatei.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <cerrno>

namespace textdatei {

namespace {

const QByteArray kBom("\xEF\xBB\xBF", 3);

}  // namespace

bool istMehrbyteUtf8(QByteArrayView bytes) {
  bool mehrbyte = false;
  for (char b : bytes) {
    if (static_cast<unsigned char>(b) >= 0x80) {
      mehrbyte = true;
      break;
    }
  }
  if (!mehrbyte) return false;
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString text = decoder.decode(bytes);
  return !decoder.hasError();
}

QString dekodieren(QByteArrayView bytes) {
  if (bytes.startsWith(QByteArrayView(kBom))) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    return decoder.decode(bytes.sliced(3));
  }
  // UTF-16, as some editors save "Unicode" text. The mark tells the byte order.
  const bool le = bytes.startsWith("\xFF\xFE");
  if (le || bytes.startsWith("\xFE\xFF")) {
    QStringDecoder decoder(le ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
                           QStringDecoder::Flag::Stateless);
    return decoder.decode(bytes.sliced(2));
  }
  if (istMehrbyteUtf8(bytes)) return QString::fromUtf8(bytes);
  return ausWindows1252(bytes);
}

QStringList zeilenTeilen(QStringView text) {
  QStringList zeilen;
  const qsizetype n = text.size();
  auto ist = [&](qsizetype i, char c) { return i < n && text[i] == QLatin1Char(c); };
  qsizetype anfang = 0;
  qsizetype i = 0;
  while (i < n) {
    qsizetype laenge = 0;  // of the line end at i
    if (ist(i, '\n'))
      laenge = 1;
    else if (ist(i, '\r'))
      laenge = ist(i + 1, '\n') ? 2 : ist(i + 1, '\r') && ist(i + 2, '\n') ? 3 : 1;
    if (laenge == 0) {
      ++i;
      continue;
    }
    zeilen.append(text.sliced(anfang, i - anfang).toString());
    i += laenge;
    anfang = i;
  }
  if (anfang < n) zeilen.append(text.sliced(anfang).toString());
  return zeilen;
}

QString einzeilig(QString wert) {
  if (!wert.contains(QLatin1Char('\r')) && !wert.contains(QLatin1Char('\n'))) return wert;
  wert.replace(QLatin1String("\r\n"), QLatin1String(" "));
  wert.replace(QLatin1Char('\r'), QLatin1Char(' '));
  wert.replace(QLatin1Char('\n'), QLatin1Char(' '));
  return wert;
}

QByteArray kodieren(const QStringList& zeilen) {
  QString text;
  for (const QString& zeile : zeilen) {
    text += einzeilig(zeile);
    text += QLatin1String("\r\n");
  }
  // The classic format is Windows-1252. A character that code page cannot hold would be
  // lost there, so such a file is written as UTF-8 with a byte-order mark instead, which
  // this program reads back exactly (older versions of the program cannot read it). The
  // same holds for Windows-1252 bytes that happen to form valid UTF-8 ("Ã¼"): the reader
  // would take them for UTF-8, so they are written as UTF-8 with a mark as well.
  if (auto bytes = alsWindows1252(text); bytes && !istMehrbyteUtf8(*bytes)) return *bytes;
  return kBom + text.toUtf8();
}

Bytes bytesLesen(const QString& pfad, qint64 maxGroesse) {
  Bytes ergebnis;
  const QFileInfo info(pfad);
  if (!info.exists()) {
    ergebnis.fehlt = true;
    ergebnis.fehler = QStringLiteral("Sie wurde nicht gefunden.");
    return ergebnis;
  }
  // Checked before opening: opening a pipe waits for a writer, and a device never ends.
  if (info.isDir()) {
    ergebnis.fehler = QStringLiteral("Sie ist ein Ordner, keine Datei.");
    return ergebnis;
  }
  if (!info.isFile()) {
    ergebnis.fehler =
        QStringLiteral("Sie ist keine gewöhnliche Datei, sondern ein Gerät oder eine Pipe.");
    return ergebnis;
  }
  auto zuGross = [&] {
    ergebnis.fehler = QStringLiteral("Sie ist zu groß (mehr als %L1 Bytes).").arg(maxGroesse);
    return ergebnis;
  };
  if (info.size() > maxGroesse) return zuGross();
  QFile datei(pfad);
  if (!datei.open(QIODevice::ReadOnly) || datei.isSequential()) {
    ergebnis.detail = datei.errorString();
    return ergebnis;
  }
  // Bounded, for a file that grows while it is read.
  QByteArray daten = datei.read(maxGroesse + 1);
  if (datei.error() != QFileDevice::NoError) {
    ergebnis.fehler = QStringLiteral("Beim Lesen ist ein Fehler aufgetreten.");
    ergebnis.detail = datei.errorString();
    return ergebnis;
  }
  if (daten.size() > maxGroesse) return zuGross();
  ergebnis.daten = std::move(daten);
  ergebnis.ok = true;
  return ergebnis;
}

Leseergebnis lesen(const QString& pfad, qint64 maxGroesse) {
  Bytes datei = bytesLesen(pfad, maxGroesse);
  Leseergebnis ergebnis;
  ergebnis.ok = datei.ok;
  ergebnis.fehlt = datei.fehlt;
  ergebnis.fehler = std::move(datei.fehler);
  ergebnis.detail = std::move(datei.detail);
  if (datei.ok) ergebnis.zeilen = zeilenTeilen(dekodieren(datei.daten));
  return ergebnis;
}

Schreibdatei::Schreibdatei(const QString& pfad) : datei_(pfad) {}

// Unfinished: QSaveFile drops the new file.
Schreibdatei::~Schreibdatei() = default;

bool Schreibdatei::oeffnen() {
  errno = 0;
  if (datei_.open(QIODevice::WriteOnly)) return QIODevice::open(QIODevice::WriteOnly);
  fehlgeschlagen(errno);
  return false;
}

qint64 Schreibdatei::readData(char*, qint64) { return -1; }

qint64 Schreibdatei::writeData(const char* daten, qint64 laenge) {
  if (fehler_) return -1;
  // A short write (a disk that fills up) is carried on until the system refuses, so that
  // the error number says why.
  for (qint64 geschrieben = 0; geschrieben < laenge;) {
    errno = 0;
    const qint64 n = datei_.write(daten + geschrieben, laenge - geschrieben);
    if (n <= 0) {
      fehlgeschlagen(errno);
      return -1;
    }
    geschrieben += n;
  }
  return laenge;
}

bool Schreibdatei::festschreiben() {
  if (!fehler_) {
    // Qt commits a file even when the rest of its write buffer could not be written, so
    // the buffer is written and checked first.
    errno = 0;
    if (!datei_.flush() || datei_.error() != QFileDevice::NoError) fehlgeschlagen(errno);
  }
  if (fehler_) {
    datei_.cancelWriting();  // the new file goes with the object
    close();
    return false;
  }
  errno = 0;
  const bool ok = datei_.commit();
  if (!ok) fehlgeschlagen(errno);
  close();
  return ok;
}

void Schreibdatei::fehlgeschlagen(int fehlernummer) {
  if (fehler_) return;
  fehler_ = true;
  if (fehlernummer == ENOSPC) {
    grund_ = QStringLiteral("Der Datenträger ist voll.");
#ifdef EDQUOT
  } else if (fehlernummer == EDQUOT) {
    grund_ = QStringLiteral("Ihr Speicherkontingent auf dem Datenträger ist aufgebraucht.");
#endif
  } else {
    grund_ = datei_.errorString();
  }
  setErrorString(grund_);
}

bool schreiben(const QString& pfad, const QStringList& zeilen, QString* fehler) {
  return bytesSchreiben(pfad, kodieren(zeilen), fehler);
}

bool bytesSchreiben(const QString& pfad, QByteArrayView bytes, QString* fehler) {
  Schreibdatei datei(pfad);
  if (datei.oeffnen() && datei.write(bytes.data(), bytes.size()) == bytes.size() &&
      datei.festschreiben())
    return true;
  if (fehler) *fehler = datei.grund();
  return false;
}

QString meldung(const QString& satz, const QString& detail) {
  if (detail.isEmpty()) return satz;
  return satz + QStringLiteral("\n\nMeldung des Systems: ") + detail;
}

QString zitiert(const QString& pfad) {
  return QStringLiteral("„") + QDir::toNativeSeparators(pfad) + QStringLiteral("“");
}

QString nichtLesbar(const QString& pfad, const QString& grund, const QString& detail) {
  return meldung(QStringLiteral("Die Datei %1 kann nicht geöffnet werden. %2")
                     .arg(zitiert(pfad), grund)
                     .trimmed(),
                 detail);
}

}  // namespace textdatei
