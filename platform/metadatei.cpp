#include "platform/metadatei.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <cstring>
#include <utility>

#include "platform/metadatei_protokoll.h"

namespace metadatei {

namespace {

// The helper gets its processor time; the clock ends it only when the machine gives it far
// less than that, so a busy machine still draws every metafile an idle one draws.
constexpr int kWartezeitMs = 10 * 1000 * kRechenzeitSekunden;
int& wartezeit() {
  static int ms = kWartezeitMs;
  return ms;
}

uint32_t le32(const QByteArray& d, qsizetype i) {
  return static_cast<uint8_t>(d[i]) | static_cast<uint8_t>(d[i + 1]) << 8 |
         static_cast<uint8_t>(d[i + 2]) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(d[i + 3])) << 24;
}

Ergebnis abgelehnt(const QString& grund, bool voruebergehend = false) {
  Ergebnis e;
  e.grund = grund;
  e.voruebergehend = voruebergehend;
  return e;
}

}  // namespace

int setzeWartezeitMs(int ms) { return std::exchange(wartezeit(), ms); }

QString helferPfad() {
  const QString daneben =
      QCoreApplication::applicationDirPath() + QLatin1Char('/') + QLatin1String(kHelfer);
  if (QFileInfo(daneben).isExecutable()) return daneben;
#ifdef QX_METADATEI_HELFER
  // Tests and benchmarks run from folders of their own in the build.
  if (QFileInfo(QStringLiteral(QX_METADATEI_HELFER)).isExecutable())
    return QStringLiteral(QX_METADATEI_HELFER);
#endif
  return daneben;
}

int64_t datensatzzahl(const QByteArray& d) {
  constexpr qsizetype kPlatzierbarerKopf = 22;
  constexpr qsizetype kKopf = 18;  // nine words
  qsizetype pos = (d.size() >= 4 && le32(d, 0) == 0x9AC6CDD7u ? kPlatzierbarerKopf : 0) + kKopf;
  int64_t anzahl = 0;
  while (pos + 6 <= d.size()) {
    const int64_t worte = le32(d, pos);
    if (static_cast<uint8_t>(d[pos + 4]) == 0 && static_cast<uint8_t>(d[pos + 5]) == 0)
      return anzahl;  // end of file
    if (worte < 3 || worte * 2 > d.size() - pos) return -1;
    ++anzahl;
    pos += worte * 2;
  }
  return anzahl;
}

Ergebnis zeichnen(const QByteArray& daten, const QSize& ziel, int64_t groesstePixelzahl) {
  const int64_t anzahl = datensatzzahl(daten);
  if (anzahl > kGroessteDatensatzzahl)
    return abgelehnt(QStringLiteral("Sie enthält %1 Zeichenbefehle, zu viele, um sie ohne lange "
                                    "Wartezeit zu zeichnen.")
                         .arg(QLocale(QLocale::German).toString(qlonglong(anzahl))));

  QProcess helfer;
  helfer.setProgram(helferPfad());
  helfer.setArguments({QString::number(ziel.isEmpty() ? 0 : ziel.width()),
                       QString::number(ziel.isEmpty() ? 0 : ziel.height()),
                       QString::number(groesstePixelzahl)});
  helfer.setStandardErrorFile(QProcess::nullDevice());
  helfer.start();
  if (!helfer.waitForStarted(kWartezeitMs)) {
    qWarning("Bildsteuerung: %s nicht gestartet: %s", kHelfer, qPrintable(helfer.errorString()));
    return abgelehnt(QStringLiteral("Das Hilfsprogramm „%1“, das Metadateien zeichnet, "
                                    "lässt sich nicht starten.")
                         .arg(QLatin1String(kHelfer)),
                     true);
  }
  helfer.write(daten);
  helfer.closeWriteChannel();
  if (!helfer.waitForFinished(wartezeit())) {
    helfer.kill();
    helfer.waitForFinished(-1);
    return abgelehnt(QStringLiteral("Der Rechner war zu beschäftigt, um sie in %1 Sekunden zu "
                                    "zeichnen; beim nächsten Zeichnen wird es erneut versucht.")
                         .arg(wartezeit() / 1000.0, 0, 'g', 3),
                     true);
  }
  if (helfer.exitStatus() == QProcess::NormalExit) {
    switch (helfer.exitCode()) {
      case kGezeichnet:
        break;
      case kZeitAbgelaufen:
        return abgelehnt(QStringLiteral("Sie zu zeichnen braucht mehr als %1 Sekunden Rechenzeit.")
                             .arg(kRechenzeitSekunden));
      case kKeinSpeicher:
        return abgelehnt(QStringLiteral("Sie zu zeichnen braucht mehr als %1 MB Speicher.")
                             .arg(kAdressraum / (1024 * 1024)));
      default:
        return {};
    }
  } else {
    return {};  // the renderer crashed on it
  }

  const QByteArray aus = helfer.readAllStandardOutput();
  Antwort antwort;
  if (aus.size() < qsizetype(sizeof antwort)) return {};
  std::memcpy(&antwort, aus.constData(), sizeof antwort);
  const qsizetype pixel = qsizetype(antwort.breite) * antwort.hoehe;
  if (antwort.breite == 0 || antwort.hoehe == 0 || !(antwort.natuerlicheBreite >= 1) ||
      pixel > groesstePixelzahl ||
      aus.size() != qsizetype(sizeof antwort) + pixel * 4)
    return {};
  QImage bild(int(antwort.breite), int(antwort.hoehe), QImage::Format_RGB32);
  if (bild.isNull()) return {};
  const char* quelle = aus.constData() + sizeof antwort;
  for (int y = 0; y < bild.height(); ++y)
    std::memcpy(bild.scanLine(y), quelle + qsizetype(y) * bild.width() * 4,
                size_t(bild.width()) * 4);
  Ergebnis e;
  e.bild = bild;
  e.natuerlicheBreite = antwort.natuerlicheBreite;
  return e;
}

}  // namespace metadatei
