// Windows metafiles for the imaging control: drawn by the helper program qxmetadatei (libwmf's
// own renderer) in a process of its own, which gets the file's bytes and hands back the
// bitmap. The program itself never parses the drawing of a metafile; it only counts its
// records first, so that a file of very many is refused without starting anything.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <cstdint>

namespace metadatei {

struct Ergebnis {
  QImage bild;                   // Format_RGB32; null when the file was not drawn
  double natuerlicheBreite = 0;  // the picture's width at 96 dpi, in pixels
  // Why the file was not drawn, as a sentence for the user; empty where there is no more to
  // say than that it cannot be read.
  QString grund;
  // Not drawn for a reason that is not the file's (the machine too busy, the helper
  // missing): the next attempt may draw it, so the refusal is not to be remembered.
  bool voruebergehend = false;
};

// Draws the metafile at 96 dpi, scaled down as far as the target allows (both sides at
// least the target's, or one of them where the proportions differ; an empty target: none)
// and into the pixel budget.
Ergebnis zeichnen(const QByteArray& daten, const QSize& ziel, int64_t groesstePixelzahl);

// The number of records after the headers up to the end record; -1 for a file whose records
// do not fit it.
int64_t datensatzzahl(const QByteArray& daten);

// The helper program: beside the program, else where the build put it.
QString helferPfad();

// The longest the program waits for the helper on the clock, in milliseconds; a test
// shortens it to see what a busy machine does. Returns the time it replaces.
int setzeWartezeitMs(int ms);

}  // namespace metadatei
