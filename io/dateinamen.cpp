#include "io/dateinamen.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

QString dateiImOrdner(const QString& ordner, const QString& name) {
  const QDir dir(ordner);
  const QString genau = dir.filePath(name);
  if (QFileInfo::exists(genau)) return genau;
  // Search the folder of the name (a name may carry a subfolder) for another spelling.
  const QFileInfo info(genau);
  const QDir elternordner = info.absoluteDir();
  if (elternordner.exists()) {
    const QStringList eintraege =
        elternordner.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& eintrag : eintraege) {
      if (eintrag.compare(info.fileName(), Qt::CaseInsensitive) == 0)
        return elternordner.filePath(eintrag);
    }
  }
  return genau;
}

QString gespeichertenPfadFinden(const QString& gespeichert, const QStringList& ordner) {
  if (gespeichert.trimmed().isEmpty()) return QString();
  QString pfad = gespeichert;
  pfad.replace(QLatin1Char('\\'), QLatin1Char('/'));
  static const QRegularExpression laufwerk(QStringLiteral("^[A-Za-z]:"));
  const bool hatteLaufwerk = laufwerk.match(pfad).hasMatch();
  pfad.remove(laufwerk);

  if (!hatteLaufwerk) {
    const QFileInfo direkt(pfad);
    if (direkt.isFile()) return direkt.absoluteFilePath();
    if (direkt.isAbsolute()) {
      const QString gefunden = dateiImOrdner(direkt.absolutePath(), direkt.fileName());
      if (QFileInfo(gefunden).isFile()) return gefunden;
    }
  }
  const QString name = QFileInfo(pfad).fileName();
  if (name.isEmpty()) return QString();
  for (const QString& o : ordner) {
    if (o.isEmpty()) continue;
    const QString gefunden = dateiImOrdner(o, name);
    if (QFileInfo(gefunden).isFile()) return gefunden;
  }
  return QString();
}

QString temporaererOrdner() {
  for (const char* variable : {"TEMP", "TMP"}) {
    const QString wert = qEnvironmentVariable(variable);
    if (!wert.isEmpty() && QFileInfo(wert).isDir()) return wert;
  }
  return QDir::tempPath();
}
