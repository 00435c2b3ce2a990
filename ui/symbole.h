// The pictures of the toolbars, the layout buttons and the window: small drawings made with
// QPainter, so the program ships no image files for them.
#pragma once

#include <QIcon>
#include <QString>

// The picture with the given key: "Neu", "Öffnen", "Speichern", "Vorschau", "Drucken",
// "Hilfe", "Einfügen", "Text", "Bilder", "Linie", "Brief", "Name", "Bank", "Layout",
// "Adresse", "Layout1" to "Layout5" and "Programm". An unknown key gives an empty icon.
QIcon symbol(const QString& schluessel);
