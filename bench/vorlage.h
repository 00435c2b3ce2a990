// Shared by the benchmarks: a window whose side-panel fields the benchmark fills, and the
// shipped files copied into a temporary start-up folder with the template loaded there, as
// at the program's start.
#pragma once

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>

#include "core/programmzustand.h"
#include "core/start.h"
#include "elements/text/schriftarten.h"
#include "io/dokument.h"

class Feldfenster : public KeinFenster {
 public:
  QString Text1(int i) const override { return felder.value(i); }
  QMap<int, QString> felder;
};

inline void vorlageLaden(const QTemporaryDir& ordner, Programmzustand& s, Fenster& fenster) {
  const QDir daten(QStringLiteral(QX_QUELLE "/data"));
  for (const QString& name : daten.entryList(QDir::Files))
    QFile::copy(daten.filePath(name), QDir(ordner.path()).filePath(name));
  Main(s, ordner.path());
  s.fenster = &fenster;
  SchriftartenErmitteln(s);
  s.Ladeauftrag = QStringLiteral("neu");
  LadeDokument(s);
}
