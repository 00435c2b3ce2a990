// Shared by the benchmarks: the shipped files copied into a temporary start-up folder and
// the template loaded there, as at the program's start.
#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "core/programmzustand.h"
#include "core/start.h"
#include "elements/text/schriftarten.h"
#include "io/dokument.h"

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
