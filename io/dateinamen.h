// File names as the program meets them: one spelling per file, resolved against a folder
// with a case-insensitive fallback (Linux tells "RTF1.rtf" from "rtf1.RTF"), and paths that
// documents written on Windows stored ("C:\Briefe\logo.bmp") mapped onto this system.
#pragma once

#include <QString>
#include <QStringList>

// The path of `name` in `ordner`: the exact spelling when such a file exists, else the
// first entry of the folder whose name equals it ignoring letter case, else the exact
// spelling (for creating the file).
QString dateiImOrdner(const QString& ordner, const QString& name);

// Finds a stored picture or letter path on this system: "\" becomes "/", a drive letter
// is dropped; the path as it stands, then its file name in each of the given folders,
// each with the case-insensitive fallback. Empty when no file is found.
QString gespeichertenPfadFinden(const QString& gespeichert, const QStringList& ordner);

// The per-user temporary folder: TEMP, else TMP, else the system's.
QString temporaererOrdner();
